# A received mail attached to its sender and recipient, attachments included.
connect
folder Inbox
# operation
select m1
button VelmoraShareAndAttach
click cmdMoveFields2
click includeMailAttachment1
click cmdMailtoContact1
close
