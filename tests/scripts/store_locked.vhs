# While another program holds the store's write lock the add-in waits a bounded time; a relink
# that still cannot write is logged with its handler and its item, and the links that stood stay.
# Once the lock is gone, the next change relinks as usual.
store init
user alice
registry set Language EN
new contact ann FullName="Ann Lee" Email1Address=ann@example.com
new contact bob FullName="Bob Ray" Email1Address=bob@example.com
receive m1 "Locked mail" "Ann Lee" ann@example.com
connect
link m1 ann
expect sql select count(*) from noteTb where OutlookAttachID='${m1}' => 1
lock store 7
link m1 bob
expect no-message
expect logged colInboxItems_ItemChange: "Locked mail"
expect sql select count(*) from noteTb where OutlookAttachID='${m1}' => 1
sleep 2.5
set m1 Subject="Unlocked mail"
expect sql select count(*) from noteTb where OutlookAttachID='${m1}' => 2
terminate
expect consistent
