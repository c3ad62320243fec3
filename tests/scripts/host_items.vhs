# Items as a scenario builds and reads them back: typed values, recipient lists, links to any
# item and their removal, recurrence, and what the add-in asks of the host: the filters it hands
# over, the items it displays, the faults it runs into.
store init
user alice
registry set Language EN
new contact ann FullName="Ann Lee" Email1Address=ann@example.com
new appointment a1 Subject="0012" Start="2026-12-08 10:00:00" End="2026-12-08 11:00:00"
expect item a1 Subject=0012 IsRecurring=False
recur a1 RecurrenceType=1 Interval=2 DayOfWeekMask=2 NoEndDate=true
expect item a1 IsRecurring=True
expect error "Unknown property" new contact bad Nickname=Al
expect error "takes a date" new appointment bad Start=tomorrow
receive m1 "Plan" "Ann Lee" ann@example.com To="Bob Ray <bob@example.com>; carl@example.com" Cc=dora@example.com Bcc="Eve <eve@example.com>"
expect item m1 Recipients=5 Sent=True
connect
folder Inbox
select m1
# A link to an appointment is no contact link: the mail's contact rows follow the contacts only.
link m1 ann
link m1 a1
expect item m1 Links=2
expect sql select count(*) from noteTb where OutlookAttachID='${m1}' => 1
unlink m1 ann
expect item m1 Links=1
expect sql select count(*) from noteTb where OutlookAttachID='${m1}' => 0
# Opening the dialog looks the correspondents up in the host by filters.
trace on
button VelmoraShareAndAttach
trace off
expect filter [Fullname] = "Bob Ray" and ([Email1address] = "bob@example.com" Or [Email2address] = "bob@example.com"  Or [Email3address] = "bob@example.com")
expect no-message
# Opening a chosen contact displays it; a fault on Display is reported and counted.
pick ListViewLeft ${ann}
click cmdMoveFields1
pick ListViewRight ${ann}
click ConProp
expect displayed Ann Lee
fail Item.Display no window can open 1
click ConProp
expect message as15>>*
expect fault-hit Item.Display 1
click ConProp
expect displayed Ann Lee
close
terminate
