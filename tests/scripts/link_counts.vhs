# Emptying one side of an item's links keeps the other side's count and copies: the attachment
# copies a contact link keeps, the history counts of a mail and of a note, and a note's history
# dropped when no link is left; a colleague's link the user cannot see stays.
store init
user alice
registry set Language EN
registry set path .
new contact ann FullName="Ann Lee" Email1Address=ann@example.com
new appointment a1 Subject="Budget review" Start="2026-12-08 10:00:00" End="2026-12-08 11:00:00"
receive m1 "Plan" "Ann Lee" ann@example.com
attach-file m1 plan.txt "the plan"
new note n1 Body="Call Ann"
connect
# The mail: linked to its two correspondents with its attachment, then to the event without it.
folder Inbox
select m1
button VelmoraShareAndAttach
click cmdMoveFields2
click includeMailAttachment1
click cmdMailtoContact1
expect sql select count(*) from Attachments => 1
tab SSTab1 1
click cmdSearchPlus
type searchWords Budget
click Search
check ListView #1
click OK
click cmdMoveFieldsPlus2
click cmdMailtoEvent
expect sql select att_count from EMailHistory => 3
# Emptying the events: the contact link keeps the copies, and the history counts one link.
click cmdMoveFieldsPlus3
click cmdMailtoEvent
expect statement select bAttachment From NoteTb where OutlookAttachID='${m1}' and bAttachment=True
expect statement update EMailHistory set att_count='2' where entryid = '${m1}'
expect sql select count(*) from Attachments => 1
expect sql select att_count from EMailHistory => 2
close
# The note: linked to Ann and to the event, then its events emptied.
folder Notes
select n1
button VelmoraShareAndAttach
click cmdSearch
type searchWords Ann
click Search
check ListView #1
click OK
click cmdMoveFields2
click cmdNotetoContact
tab SSTabNote 1
click cmdSearchPlus
type searchWords Budget
click Search
check ListView #1
click OK
click cmdMoveFieldsPlus2
click cmdNotetoEvent
expect sql select RefCount from NoteHistory => 2
click cmdMoveFieldsPlus3
click cmdNotetoEvent
expect statement update noteHistory set RefCount='1' where outlooknoteid = '${n1}'
expect sql select RefCount from NoteHistory => 1
# With neither contacts nor events left the note's history row goes.
tab SSTabNote 0
click cmdMoveFields3
click cmdNotetoContact
expect statement delete from NoteHistory where outlooknoteid='${n1}'
expect sql select count(*) from noteTb where Type=4 and MakeDelete=0 => 0
expect sql select count(*) from NoteHistory => 0
close
# A colleague shared the note with a contact this user does not have: it is not listed, yet the
# share option shows it, and attaching the empty list leaves it alone.
exec insert into noteTb (Type, Creator, PrivateAccess, MakeDelete, contactID, OutlookContactID, OutlookAttachID) select 4, 'bob', 0, 0, 'bob_9', 'bob-contact', OutlookAttachID from noteTb where Type=4 limit 1
button VelmoraShareAndAttach
expect control ListViewRight rows=0
expect control checkNoteShare enabled=1 visible=1
expect control checkNoteShare value=1
click checkNoteShare
click cmdNotetoContact
expect sql select count(*) from noteTb where Creator='bob' and MakeDelete=0 => 1
close
terminate
