# The add-in in the host: connection, command bars, automatic upkeep, the companion's window
# guarding the store, the attach toggle of a compose window, and terminate.
store init
user alice
registry set Language EN
registry set path /opt/velmora
new contact ann FullName="Ann O'Neil" Email1Address=ann@example.com
receive m1 "Offer \"A\"" "Ann O'Neil" ann@example.com
connect
folder Inbox
select m1
link m1 ann
expect sql select Regarding, Creator from noteTb => Offer "A"|alice
expect sql select subject from EMailHistory => Offer "A"
# The companion starts from the install path; while its window is open changes are not followed.
button VelmoraSyncVelmora
expect window Synchronize Outlook - Velmora
set m1 Subject=Changed
expect sql select count(*) from noteTb where Regarding='Changed' => 0
companion close
set m1 Subject=Changed
expect sql select count(*) from noteTb where Regarding='Changed' => 1
# The companion pauses automatic linking through HistoryValue; a selection change resumes it.
registry dword setting/HistoryValue 5
set m1 Subject=Paused
expect sql select count(*) from noteTb where Regarding='Paused' => 0
select m1
expect sql select count(*) from noteTb where Regarding='Paused' => 0
set m1 Subject=Resumed
expect sql select count(*) from noteTb where Regarding='Resumed' => 1
button VelmoraAbout
companion close
# A compose window carries the Attach toggle; without a user it has none.
compose m2 Subject=Draft To=ann@example.com
button VelmoraAttach m2
expect no-message
terminate
expect no-dialog
