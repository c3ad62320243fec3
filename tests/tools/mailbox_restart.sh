# The mailbox host across restarts: what the add-in linked in one run is found in the next under
# the same entry IDs, after another mail client marked the mail read and even without the index.
# Usage: mailbox_restart.sh HOST ...
. "$(dirname "$0")/check.sh"
host=$1
export HOME="$work" XDG_STATE_HOME="$work/state" TZ=UTC VELMORA_STORE="$work/store.db"
export VELMORA_REGISTRY="$work/registry"
unset VELMORA_STORE_CONNECTION VELMORA_LOG
mailbox="$work/mailbox"

cat >"$work/first.vhs" <<EOF
store init
user alice
registry set Language EN
registry set path $work
new contact ann FullName="Ann Lee" Email1Address=ann@example.com
receive m1 "Quarterly report" "Ann Lee" ann@example.com
attach-file m1 report.pdf "the figures"
new appointment a1 Subject="Budget review" Start="2026-12-08 10:00:00"
connect
link a1 ann
folder Inbox
select m1
button VelmoraShareAndAttach
pick ListViewLeft #1
click cmdMoveFields1
click includeMailAttachment1
click cmdMailtoContact1
expect no-message
close
expect sql select count(*) from noteTb where OutlookAttachID = '\${m1}' => 1
EOF
run "$host" --mailbox "$mailbox" --script "$work/first.vhs"
expect_code 0

# Another mail client reads and flags the mail: it renames the file to carry the F and S flags.
for file in "$mailbox"/Mail/cur/* "$mailbox"/Mail/new/*; do
    [ -f "$file" ] && mv "$file" "$mailbox/Mail/cur/$(basename "${file%%:2,*}"):2,FS"
done

cat >"$work/second.vhs" <<EOF
connect
name m1 Inbox [Subject] = "Quarterly report"
name ann Contacts [FullName] = "Ann Lee"
name a1 Calendar [Subject] = "Budget review"
expect item m1 UnRead=False Attachments=1
expect item a1 Links=1
expect sql select count(*) from noteTb where OutlookAttachID = '\${m1}' and OutlookContactID = '\${ann}' => 1
expect consistent
set m1 Subject="Quarterly report (final)"
expect sql select count(*) from noteTb where Regarding = 'Quarterly report (final)' => 1
EOF
run "$host" --mailbox "$mailbox" --script "$work/second.vhs"
expect_code 0

# Without its index the mailbox still names every item as before.
rm -f "$mailbox"/.velmora-host.db*
cat >"$work/third.vhs" <<EOF
connect
name m1 Inbox [Subject] = "Quarterly report (final)"
expect sql select count(*) from noteTb where OutlookAttachID = '\${m1}' => 1
name a1 Calendar [Subject] = "Budget review"
expect sql select count(*) from CalendarHistory where taskid = '\${a1}' => 1
EOF
run "$host" --mailbox "$mailbox" --script "$work/third.vhs"
expect_code 0
finish
