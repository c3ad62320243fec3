# A linked note changes: the hub rebuilds its contact links.
connect
link n1 ann
# operation
link n1 bob
set n1 Body="Call Ann and Bob"
