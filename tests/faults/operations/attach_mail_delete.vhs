# A received mail attached to its contacts and deleted from the Inbox.
connect
folder Inbox
# operation
select m1
button VelmoraShareAndAttach
click cmdMoveFields2
click deleteMailForContact1
click cmdMailtoContact1
