# Copy all refused while both group lists hold as many rows, and the contact and event searches:
# letter case ignored beyond ASCII, and a filter the host refuses ending the search as any other.
store init
user alice
registry set Language EN
exec insert into GroupTb (GroupID, GroupName, Creator, Modules) values ('g1','Sales','alice',3)
exec insert into Group_User (GroupID, loginname, Access) values ('g1','alice',3)
new contact mueller FullName="Jürgen Müller" Email1Address=jm@example.com
new contact muller FullName="Jurgen Muller" Email1Address=ju@example.com
new appointment a1 Subject="Fête d'été" Location="Café Zoë" Start="2026-12-08 10:00:00" End="2026-12-08 11:00:00"
new note n1 Body="Call Jürgen"
connect
# The appointment's share tab: copy all shares the group; pressed again, it is refused.
folder Calendar
select a1
button VelmoraShareAndAttach
expect dialog ShareAppGroup
click cmdMoveFields2
expect control OK enabled=1
click OK
expect control OK enabled=0
click cmdMoveFields2
expect control OK enabled=0
expect sql select GroupID, IsDel from Group_Task => g1|0
# The attach tab: "MÜLLER" finds Müller by Contains and by Equals, not Muller.
tab SSTab1 1
click cmdSearch
choose inBox 1
choose comboVague 0
type searchWords MÜLLER
click Search
expect no-message
expect control ListView Müller
expect control ListView rows=1
choose comboVague 1
type searchWords müller
click Search
expect no-message
expect control ListView rows=1
# A filter the host refuses is reported; Search comes back and "No item found." follows.
fail Items.Restrict the filter is refused
click Search
expect message No item found.
expect control Search enabled=1
fail clear
click Search
check ListView #1
click OK
click cmdMoveFieldsPlus2
click attachEventtoContact
expect sql select count(*) from noteTb where type=1 => 1
close
expect no-dialog
# The note's event search: accented capitals find the appointment; a refused filter as above.
folder Notes
select n1
button VelmoraShareAndAttach
expect dialog AttachNoteToContactAndEvent
tab SSTabNote 1
click cmdSearchPlus
choose inBox 0
choose comboVague 0
type searchWords "FÊTE D'ÉTÉ"
click Search
expect no-message
expect control ListView rows=1
fail Items.Restrict the filter is refused
choose inBox 1
choose comboVague 1
type searchWords "CAFÉ ZOË"
click Search
expect message No item found.
expect control Search enabled=1
fail clear
click Search
expect no-message
expect control ListView rows=1
end
close
expect no-dialog
terminate

# Whatever the scenario did, every link has its history row and every copy its row.
expect consistent
