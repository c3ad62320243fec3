# A new appointment linked to a contact arrives in the Calendar.
connect
# operation
new appointment a2 Subject="Site visit" Start="2026-12-09 10:00:00" End="2026-12-09 11:00:00"
link a2 ann
