# The session's clock set by the script: a fixed local time, the system's time text in 12- and
# 24-hour forms, and the quick appointment's time list and a composed mail's key that follow it.
timezone Asia/Shanghai
expect error "Unknown time zone" timezone Mars/Olympus_Mons
clock 2026-12-07 14:10:00
timeformat %p %I:%M:%S
store init
user alice
registry set Language EN
new contact ann FullName="Ann Lee" Email1Address=ann@example.com
receive m1 "Plan" "Ann Lee" ann@example.com
connect
folder Inbox
select m1
button VelmoraShareAndAttach
expect control atTime(1) listIndex=27 text="\"02:30 pm\""
close
timeformat %H:%M:%S
button VelmoraShareAndAttach
expect control atTime(1) text="\"14:30\""
close
# A mail composed now is keyed by this local time while it waits in the Outbox.
delivery on-deliver
compose m2 Subject=Offer To=ann@example.com
button VelmoraAttach m2
send m2
click cmdMoveFields2
click cmdMailtoContact1
expect sql select distinct OutlookAttachID from noteTb where Regarding='Offer' => OutlookID202612714100
close
terminate
# In Chinese the afternoon reads 下午.
registry set Language CN
timeformat %p %I:%M:%S
connect
button VelmoraShareAndAttach
expect control atTime(0) text="\"下午 02:30\""
close
terminate
clock real
