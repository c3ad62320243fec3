# "Done!" is the user's word that everything asked was done: a contact the host cannot link (the
# store still records the chosen list), or a step that fails (nothing of it is kept), keeps it
# hidden, and the failure is logged or shown.
store init
user alice
registry set Language EN
new contact ann FullName="Ann Lee" Email1Address=ann@example.com
receive m1 "Plan" "Ann Lee" ann@example.com
new note n1 Body="Call Ann"
connect
folder Inbox
select m1
button VelmoraShareAndAttach
click cmdMoveFields2
fail Links.Add the mail store is read-only
click cmdMailtoContact1
fail clear
expect no-message
expect control done1 visible=0
expect logged linking a chosen contact in the host
expect item m1 Links=0
# Attached again once the host takes the link: the rows are written and the dialog says so.
click shareEmail1
click cmdMailtoContact1
expect control done1 visible=1
expect item m1 Links=2
expect sql select count(*) from noteTb where OutlookAttachID='${m1}' => 2
close
# The note's contact row cannot be written: the step says why, the note keeps no half link.
folder Notes
select n1
button VelmoraShareAndAttach
click cmdSearch
type searchWords Ann
click Search
check ListView #1
click OK
click cmdMoveFields2
fail store "from noteTb where outlookattachId" the disk is full
click cmdNotetoContact
expect box none ok updateNoteTb :the disk is full
expect control doneTab1 visible=0
expect sql select count(*) from noteTb where Type=4 => 0
expect sql select count(*) from NoteHistory => 0
close
terminate
expect consistent
