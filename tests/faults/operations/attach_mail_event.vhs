# A received mail attached to an event found by the event search, attachments included.
connect
folder Inbox
# operation
select m1
button VelmoraShareAndAttach
tab SSTab1 1
click cmdSearchPlus
type searchWords Budget
click Search
check ListView #1
click OK
click cmdMoveFieldsPlus2
click includeAttachmentForEvent1
click cmdMailtoEvent
close
