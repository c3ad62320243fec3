# A linked recurring appointment changes: the hub rebuilds its links and history.
connect
recur a1 RecurrenceType=1 Interval=2 DayOfWeekMask=10 NoEndDate=true
link a1 ann
# operation
link a1 bob
set a1 Subject="Budget review (moved)"
