# A received mail turned into a new appointment from the quick-creation tab.
connect
folder Inbox
# operation
select m1
button VelmoraShareAndAttach
tab SSTab1 2
click cmdSetApp
close
