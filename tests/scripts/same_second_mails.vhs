# Two mails composed in the same second, each sent with Attach down and linked to its own contact
# in its after-send dialog: each mail's rows follow that mail alone into Sent Items, whether the
# first or the second dialog is finished first and whether it is still open when the mail arrives.
store init
user alice
registry set Language EN
new contact ann FullName="Ann Lee" Email1Address=ann@example.com
new contact bob FullName="Bob Hill" Email1Address=bob@example.com
connect
delivery on-deliver
clock 2026-12-07 09:00:00
compose m1 Subject=First To=ann@example.com
compose m2 Subject=Second To=bob@example.com
button VelmoraAttach m1
button VelmoraAttach m2
send m1
send m2
expect control regarding Second
# The first dialog is finished first; both are closed before the mails arrive.
focus 1
expect control regarding First
pick ListViewLeft ${ann}
click cmdMoveFields1
click cmdMailtoContact1
expect no-message
close
pick ListViewLeft ${bob}
click cmdMoveFields1
click cmdMailtoContact1
expect no-message
expect sql select OutlookAttachID from noteTb where Regarding='First' => OutlookID2026127900
expect sql select OutlookAttachID from noteTb where Regarding='Second' => OutlookID2026127900-2
close
expect no-dialog
deliver
expect sql select OutlookContactID from noteTb where OutlookAttachID='${m1}' => ${ann}
expect sql select OutlookContactID from noteTb where OutlookAttachID='${m2}' => ${bob}
expect sql select count(*), sum(att_count) from EMailHistory where entryid in ('${m1}', '${m2}') => 2|2
expect sql select count(*) from (select OutlookAttachID k from noteTb union all select OutlookEmailID from ToEvent union all select entryid from EMailHistory) keys where k like 'OutlookID%' => 0
# The second dialog is finished first, and both are still open when the mails arrive.
clock 2026-12-07 09:05:00
compose m3 Subject=Third To=ann@example.com
compose m4 Subject=Fourth To=bob@example.com
button VelmoraAttach m3
button VelmoraAttach m4
send m3
send m4
expect control regarding Fourth
pick ListViewLeft ${bob}
click cmdMoveFields1
click cmdMailtoContact1
expect no-message
focus 1
expect control regarding Third
pick ListViewLeft ${ann}
click cmdMoveFields1
click cmdMailtoContact1
expect no-message
deliver
expect sql select OutlookContactID from noteTb where OutlookAttachID='${m3}' => ${ann}
expect sql select OutlookContactID from noteTb where OutlookAttachID='${m4}' => ${bob}
# An event attached once the mail has arrived goes under that mail's entry ID.
tab SSTab1 2
click cmdSetApp
expect no-message
expect sql select count(*) from ToEvent where OutlookEmailID='${m3}' => 1
expect sql select count(*) from ToEvent where OutlookEmailID='${m4}' => 0
expect sql select count(*) from (select OutlookAttachID k from noteTb union all select OutlookEmailID from ToEvent union all select entryid from EMailHistory) keys where k like 'OutlookID%' => 0
terminate
