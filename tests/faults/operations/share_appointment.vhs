# An appointment shared with a group and attached to a contact found by the contact search.
connect
folder Calendar
# operation
select a1
button VelmoraShareAndAttach
click cmdMoveFields2
click OK
tab SSTab1 1
click cmdSearch
type searchWords Bob
click Search
check ListView #1
click OK
click cmdMoveFieldsPlus2
click attachEventtoContact
close
