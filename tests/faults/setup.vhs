# What every swept operation starts from: a user with a group, two contacts, a received mail
# with two attachments, an appointment, a task and a note, and the add-in connected.
store init
user alice
registry set Language EN
exec insert into GroupTb (GroupID, GroupName, Creator, Modules) values ('g1','Sales','alice',3)
exec insert into Group_User (GroupID, loginname, Access) values ('g1','alice',3)
new contact ann FullName="Ann O'Neil" Email1Address=ann@example.com
new contact bob FullName="Bob Lee" Email1Address=bob@example.com
receive m1 "Offer \"A\"" "Ann O'Neil" ann@example.com To="Bob Lee <bob@example.com>"
attach-file m1 plan.txt "the plan"
attach-file m1 figures.pdf "the figures"
new appointment a1 Subject="Budget review" Start="2026-12-08 10:00:00" End="2026-12-08 11:00:00"
new task t1 Subject="Send the figures"
new note n1 Body="Call Ann"
clock 2026-12-07 09:00:00
