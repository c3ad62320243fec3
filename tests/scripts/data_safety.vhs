# What one opening of a dialog leaves behind never reaches the next; a dialog whose mail could
# not be loaded refuses to attach; relinking a mail or a note keeps exactly the rows it should.
store init
user alice
registry set Language EN
new contact ann FullName="Ann Lee" Email1Address=ann@example.com
new appointment a1 Subject="Budget review" Start="2026-12-08 10:00:00" End="2026-12-08 11:00:00"
receive m1 "First mail" "Ann Lee" ann@example.com
receive m2 "Second mail" "Ann Lee" ann@example.com
receive m3 "Third mail" "Ann Lee" ann@example.com
connect
folder Inbox
# The first opening ticks "Delete mail" and is closed without attaching.
select m1
button VelmoraShareAndAttach
click cmdMoveFields2
click deleteMailForContact1
expect control deleteMailForContact1 value=1
close
# The next opening starts unticked; attaching the second mail keeps it in the Inbox.
select m2
button VelmoraShareAndAttach
expect control deleteMailForContact1 value=0
click cmdMoveFields2
expect control deleteMailForContact1 value=0
click cmdMailtoContact1
expect no-message
expect count Inbox [Subject] = 'Second mail' => 1
close
# A contact link another user made of the mail goes when the mail is relinked without it.
exec insert into noteTb (Type, Creator, PrivateAccess, MakeDelete, contactID, OutlookContactID, OutlookAttachID) select 2, 'bob', 1, 0, 'bob_9', 'bob-contact', OutlookAttachID from noteTb
select m2
button VelmoraShareAndAttach
click cmdMoveFields2
click cmdMailtoContact1
expect sql select count(*) from noteTb where Creator='bob' => 0
# The first mail linked to the event.
close
select m1
button VelmoraShareAndAttach
tab SSTab1 1
click cmdSearchPlus
type searchWords Budget
click Search
check ListView #1
click OK
click cmdMoveFieldsPlus2
click cmdMailtoEvent
expect sql select count(*) from ToEvent where makedelete=0 => 1
close
# The third mail cannot be marked read: the dialog holds no mail and refuses to attach, and the
# first mail keeps its event link.
fail Item.Set.UnRead the mail store is read-only
select m3
button VelmoraShareAndAttach
expect message as2>>the mail store is read-only
fail clear
click cmdMoveFieldsPlus3
click cmdMailtoEvent
expect message The mail could not be loaded. Close this window and open it again.
expect sql select count(*) from ToEvent where makedelete=0 => 1
close
terminate

# Whatever the scenario did, every link has its history row and every copy its row.
expect consistent
