# The host loads the add-in.
# operation
connect
folder Inbox
select m1
