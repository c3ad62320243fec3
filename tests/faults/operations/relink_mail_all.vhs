# A linked mail loses its last contact link in the host: its rows go.
connect
link m1 ann
# operation
unlink m1 ann
