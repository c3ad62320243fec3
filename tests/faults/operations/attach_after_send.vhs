# A mail composed with Attach down is sent; its dialog attaches it to a contact before it
# reaches Sent Items, then the host delivers it and the rows follow its new entry ID.
connect
delivery on-deliver
# operation
compose c1 Subject=Composed To=ann@example.com
attach-file c1 notes.txt "composed notes"
button VelmoraAttach c1
send c1
pick ListViewLeft #1
click cmdMoveFields1
click includeMailAttachment1
click cmdMailtoContact1
deliver
close
