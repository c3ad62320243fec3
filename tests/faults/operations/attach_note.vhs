# A note attached to a contact, shared, and to an event.
connect
folder Notes
# operation
select n1
button VelmoraShareAndAttach
click cmdSearch
type searchWords Ann
click Search
check ListView #1
click OK
click cmdMoveFields2
click checkNoteShare
click cmdNotetoContact
close
