# A note loses its only contact: its history row goes.
connect
link n1 ann
# operation
unlink n1 ann
