# A mail attached after sending reaches Sent Items after its dialog closed: the rows move from
# its substitute key to its entry ID.
connect
delivery on-deliver
compose c1 Subject=Composed To=ann@example.com
attach-file c1 notes.txt "composed notes"
button VelmoraAttach c1
send c1
pick ListViewLeft #1
click cmdMoveFields1
click includeMailAttachment1
click cmdMailtoContact1
close
# operation
deliver
