# What the scripted host lets a scenario see: registry values, the statements the add-in sends
# (and one made to fail), message boxes with their icon and buttons, the attachment files,
# items named by ${NAME}, inverted expectations and commands that must fail.
store init
user alice
registry set Language EN
registry set path .
registry dword setting/HistoryValue 0
expect registry Language EN
expect registry setting/HistoryValue 0
expect registry Missing (none)
expect not registry Language CN
new contact ann FullName="Ann Lee" Email1Address=ann@example.com
receive m1 "Plan" "Ann Lee" ann@example.com
attach-file m1 plan.txt "the plan"
connect
folder Inbox
select m1
# Linking in the host relinks the mail: its contact rows are deleted first, by its entry ID.
trace on
link m1 ann
trace off
expect statement delete from noteTb where outlookattachid ='${m1}'
expect not statement delete from noteTb where outlookattachid ='${m1}'
expect sql select OutlookContactID from noteTb where OutlookAttachID='${m1}' => ${ann}
# While another connection holds the store's write lock, a relink waits 5 s and gives up; once
# the lock is gone the next one goes through.
lock store 6
set m1 Subject="Plan A"
expect sql select count(*) from noteTb where Regarding='Plan A' => 0
sleep 1.5
set m1 Subject="Plan B"
expect sql select count(*) from noteTb where Regarding='Plan B' => 1
# The attachment row cannot be written: the trap names it, and the attach is undone whole: no
# copy stays, the mail keeps the one link it had, and the dialog does not say "Done!".
button VelmoraShareAndAttach
click cmdMoveFields2
click includeMailAttachment1
fail store "from Attachments where ALIAS_INDEX" the disk is full
click cmdMailtoContact1
expect box none ok labelSaveAttachment :the disk is full
expect no-message
expect sql select count(*) from Attachments => 0
expect sql select count(*) from noteTb where OutlookAttachID='${m1}' => 1
expect no-file attachments/${m1}/1_plan.txt
expect control done1 visible=0
# Controls of an array, and commands that must be refused.
expect control atTime(1) ComboBox atTime(1) enabled=1 visible=1
expect not control atTime(0) visible=1
expect error "has no control" click cmdNothing
expect error "Unknown command" bogus words
close
expect not dialog AttachSentMailToContact
terminate
