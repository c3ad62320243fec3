// The built-in demo session: what a user does on a fresh install, from the companion program's
// first synchronisation to closing the host.
#pragma once

namespace velmora::app {

inline constexpr const char* demoScript = R"demo(# Velmora demo session
echo == The companion program has synchronised once: the store knows the user
store init
user demo
registry set Language EN
echo == The user's mailbox
new contact ann FullName="Ann Lee" Email1Address=ann@example.com
new contact bob FullName="Bob O'Neil" Email1Address=bob@example.com
receive m1 "Quarterly report" "Ann Lee" ann@example.com To=bob@example.com
attach-file m1 report.final.pdf "the figures"
new appointment a1 Subject="Budget review" Start="2026-12-08 10:00:00" End="2026-12-08 11:00:00"
new note n1 Body="Call Ann about the budget"
new task t1 Subject="Send the final figures"
echo == The host loads the add-in
connect
folder Inbox
select m1
echo == The user links the appointment and the note to Ann in the host: the add-in follows
link a1 ann
link n1 ann
sql select type, Regarding, Creator, PrivateAccess from noteTb order by type, OutlookContactID
sql select eventname, fromdate from CalendarHistory
sql select regarding, RefCount from NoteHistory
echo == "Share&Attach..." on the received mail: its sender and recipients are proposed
folder Inbox
select m1
button VelmoraShareAndAttach
describe ListViewLeft
pick ListViewLeft #1
click cmdMoveFields1
pick ListViewLeft #3
click cmdMoveFields1
click includeMailAttachment1
click cmdMailtoContact1
expect no-message
sql select Regarding, Creator, bAttachment from noteTb where type=2 order by OutlookContactID
sql select subject, att_count from EMailHistory
sql select ATT_NAME, ATT_CONTENT_TYPE from Attachments
close
echo == A new mail sent with "Attach" pressed opens the dialog for it
compose m2 Subject="Next steps" To=bob@example.com
button VelmoraAttach m2
send m2
pick ListViewLeft #1
click cmdMoveFields1
click cmdMailtoContact1
close
sql select Regarding, OutlookAttachID like 'OutlookID%' from noteTb where Regarding='Next steps'
echo == "Sync Velmora..." starts the companion; while its window is open nothing is linked
button VelmoraSyncVelmora
set m1 Subject="Quarterly report (final)"
sql select count(*) from noteTb where Regarding='Quarterly report (final)'
companion close
echo == The user closes the host
terminate
)demo";

} // namespace velmora::app
