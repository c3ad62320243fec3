# host: mailbox
# Other programs change the mailbox folder while the host runs: a synchroniser drops mails into
# the Inbox, a calendar tool writes and rewrites an appointment, a contact arrives. Each reaches
# the host before the next line; a file that cannot be read is named once and nothing else is lost.
store init
user alice
registry set Language EN
connect

mailbox drop mailbox/arrival.eml Inbox
expect count Inbox [Subject] = "季度报告 Quarterly report" => 1
name report Inbox [Subject] = "季度报告 Quarterly report"
expect item report SenderName=李伟 SenderEmailAddress=li.wei@example.com UnRead=True Attachments=1
expect item report Body="请看附件。Please see the attachment."

mailbox drop mailbox/broken.eml Inbox
expect logged it holds no message
expect count Inbox [Subject] = "季度报告 Quarterly report" => 1

mailbox drop mailbox/card.vcf Contacts
name zhang Contacts [FullName] = "Zhang Min"
expect item zhang Email1Address=zhang.min@example.com MobileTelephoneNumber="+86 138 0000 0000" CompanyName="Example Trading"

# The calendar tool's change reaches the add-in too: the linked appointment's history follows.
mailbox drop mailbox/meeting.ics Calendar
name review Calendar [Subject] = "Weekly review"
expect item review Location="Room 4" IsRecurring=True Start="2026-12-07 10:00:00"
link review zhang
expect sql select eventname from CalendarHistory where taskid = '${review}' => Weekly review
mailbox drop mailbox/changed/meeting.ics Calendar
expect item review Subject="Weekly review (moved)" Location="Room 7"
expect count Calendar [Subject] = "Weekly review" => 0
expect sql select eventname from CalendarHistory where taskid = '${review}' => Weekly review (moved)

mailbox drop mailbox/broken.ics Calendar
expect logged broken.ics
expect count Calendar [Subject] = "Weekly review (moved)" => 1

expect consistent
