# Every share-and-attach dialog opened from the explorer and driven as a user would: the mail,
# appointment, contact, task and note dialogs, and the searches they open modally.
store init
user alice
registry set Language EN
exec insert into GroupTb (GroupID, GroupName, Creator, Modules) values ('g1','Sales','alice',3)
exec insert into Group_User (GroupID, loginname, Access) values ('g1','alice',3)
new contact ann FullName="Ann O'Neil" Email1Address=ann@example.com
new contact bob FullName="Bob Lee" Email1Address=bob@example.com
receive m1 "Offer \"A\"" "Ann O'Neil" ann@example.com To=pat@example.com
new appointment a1 Subject="Budget review" Start="2026-12-08 10:00:00" End="2026-12-08 11:00:00"
new task t1 Subject="Send the figures"
new note n1 Body="Call Ann"
connect
# The mail: its sender is proposed; a correspondent without a contact gets one on attaching.
folder Inbox
select m1
button VelmoraShareAndAttach
expect dialog AttachSentMailToContact
click cmdMoveFields2
click cmdMailtoContact1
expect no-message
expect sql select count(*) from noteTb where type=2 => 3
# The event search adds the appointment to the events tab's left list.
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
expect no-dialog
# The appointment: shared with the group, then attached to Bob found by the contact search.
folder Calendar
select a1
button VelmoraShareAndAttach
expect dialog ShareAppGroup
click cmdMoveFields2
click OK
expect sql select GroupID, IsDel from Group_Task => g1|0
tab SSTab1 1
click cmdSearch
type searchWords Bob
click Search
check ListView #1
click OK
click cmdMoveFieldsPlus2
click attachEventtoContact
expect sql select count(*) from noteTb where type=1 => 1
close
# The contact and the task: shared with the group.
folder Contacts
select bob
button VelmoraShareAndAttach
expect dialog ShareContactGroup
click cmdMoveFields2
click OK
expect sql select GroupID from Group_Contact => g1
folder Tasks
select t1
button VelmoraShareAndAttach
expect dialog ShareTaskGroup
click cmdMoveFields2
click OK
expect sql select GroupID from Group_Todo => g1
# The note: attached to Ann, shared; while its dialog is open the companion is not started.
folder Notes
select n1
button VelmoraShareAndAttach
expect dialog AttachNoteToContactAndEvent
button VelmoraSyncVelmora
expect message Please close window of VelmoraOutlook before synchronization.
click cmdSearch
type searchWords Ann
click Search
check ListView #1
click OK
click cmdMoveFields2
click checkNoteShare
click cmdNotetoContact
expect sql select PrivateAccess from noteTb where type=4 => 0
close
expect no-dialog
terminate

# Whatever the scenario did, every link has its history row and every copy its row.
expect consistent
