# The Attach toggle of compose windows and the attach-mail dialog opened once a mail is sent:
# the toggle stays with its own window, the dialog keeps the form's own title, every sent mail
# gets its own dialog, and the rows end under the entry ID the mail gets in Sent Items whether
# it arrives before or after the user attaches.
store init
user alice
registry set Language EN
new contact ann FullName="Ann Lee" Email1Address=ann@example.com
new contact bob FullName="Bob Hill" Email1Address=bob@example.com
receive r1 Hello "Bob Hill" bob@example.com
connect
clock 2026-12-07 09:00:00
# Attach pressed on the first of two compose windows arms that window only.
compose m1 Subject=First To=ann@example.com
compose m2 Subject=Second To=bob@example.com
button VelmoraAttach m1
send m2
expect no-dialog
# Reading a received mail opens a window of its own; the first window stays armed.
open r1
send m1
expect dialog caption="\"绑定邮件\""
expect control regarding First
# The host delivered the Outbox with the Outbox event: the mail is in Sent Items already.
expect count "Sent Items" [Subject] = 'First' => 1
pick ListViewLeft #1
click cmdMoveFields1
click cmdMailtoContact1
expect no-message
expect sql select count(*) from noteTb where Regarding='First' and OutlookAttachID not like 'OutlookID%' => 1
expect sql select count(*) from EMailHistory where subject='First' and entryid not like 'OutlookID%' => 1
# A second mail sent with Attach down gets a dialog of its own, in front; it reaches Sent Items
# only when the host delivers.
delivery on-deliver
clock 2026-12-07 09:10:00
compose m3 Subject=Third To=bob@example.com
button VelmoraAttach m3
send m3
expect control regarding Third
expect count Outbox [Subject] = 'Third' => 1
focus 1
expect control regarding First
expect control ListViewRight Ann Lee
focus 2
pick ListViewLeft #1
click cmdMoveFields1
click cmdMailtoContact1
expect sql select OutlookAttachID from noteTb where Regarding='Third' => OutlookID20261279100
deliver
expect sql select count(*) from noteTb where Regarding='Third' and OutlookAttachID not like 'OutlookID%' => 1
# Attaching again once the mail has arrived writes under its entry ID at once.
tab SSTab1 2
click cmdSetApp
expect no-message
expect sql select count(*) from ToEvent where Regarding='Third' and OutlookEmailID not like 'OutlookID%' => 1
expect sql select count(*), max(att_count) from EMailHistory where subject='Third' and entryid not like 'OutlookID%' => 1|2
expect sql select count(*) from (select OutlookAttachID k from noteTb union all select OutlookEmailID from ToEvent union all select entryid from EMailHistory) keys where k like 'OutlookID%' => 0
close
expect control regarding First
terminate
expect no-dialog

# Whatever the scenario did, every link has its history row and every copy its row.
expect consistent
