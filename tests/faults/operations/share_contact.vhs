# A contact shared with a group.
connect
folder Contacts
# operation
select bob
button VelmoraShareAndAttach
click cmdMoveFields2
click OK
