# A task shared with a group.
connect
folder Tasks
# operation
select t1
button VelmoraShareAndAttach
click cmdMoveFields2
click OK
