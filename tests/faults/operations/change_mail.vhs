# A linked mail changes: the hub rebuilds its contact links.
connect
link m1 ann
link m1 bob
# operation
set m1 Subject="Offer B"
