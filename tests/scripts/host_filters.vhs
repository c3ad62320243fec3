# The mail host as the add-in sees it: quotes and Chinese text in filters, folders, selection.
store init
user "o'neil"
expect sql select CurrentUser from CurrentUser => o'neil
receive m1 "Hi \"there\"" "Ann O'Neil" ann@example.com
receive m2 "季度报告" "李安" li@example.com
expect count Inbox [Subject] = 'Hi "there"' => 1
expect count Inbox [SenderName] = "Ann O'Neil" => 1
expect count Inbox [Subject] = '季度报告' Or [SenderEmailAddress] = 'ann@example.com' => 2
expect count Inbox [subject] = 'HI "THERE"' => 1
mkfolder Inbox Projects mail
new mail m3 in=Inbox/Projects Subject=Plans
expect count Inbox/Projects [Subject] = 'Plans' => 1
folder Inbox/Projects
select m3
show selection
new contact c1 FullName="Bob \"B\" Lee" Email1Address=bob@example.com
expect count Contacts [FullName] = 'Bob "B" Lee' => 1
