# Selection changes and folder switches, and the contact search of the mail dialog.
connect
# operation
folder Inbox
select m1
folder Calendar
select a1
folder Inbox
select m1
button VelmoraShareAndAttach
click CommandSearch
type searchWords Ann
click Search
check ListView #1
click OK
close
