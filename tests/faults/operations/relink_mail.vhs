# A mail attached with its attachments loses one contact link in the host: the hub relinks it
# and drops the attachment copies.
connect
folder Inbox
select m1
button VelmoraShareAndAttach
click cmdMoveFields2
click includeMailAttachment1
click cmdMailtoContact1
close
# operation
unlink m1 ann
