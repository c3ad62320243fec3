# Crash points: the host stops abruptly before each statement and before each file step of four
# workloads in turn (attach, relink, share, re-key); the next start on the same store and folder
# must find every link with its history row and the mail's copies and rows both there or both
# gone. Usage: crash_points.sh HOST ... ; CRASH_WORKLOADS="attach share" runs only those.
. "$(dirname "$0")/check.sh"
host=$1
export HOME="$work" XDG_STATE_HOME="$work/state" TZ=UTC
unset VELMORA_STORE_CONNECTION VELMORA_LOG
dir="$work/run"
export VELMORA_STORE="$dir/store.db" VELMORA_REGISTRY="$dir/registry"

# What every workload starts from: a user, the install path and a group in the store, then two
# contacts and a mail with two attachments from one of them, a note and an appointment.
common() {
    cat <<EOF
store init
user alice
registry set Language EN
registry set path $dir
exec insert into GroupTb (GroupID, GroupName, Creator, Modules) values ('g1','Sales','alice',3)
exec insert into Group_User (GroupID, loginname, Access) values ('g1','alice',3)
EOF
    items
    echo connect
}

# The host keeps its items in memory: a new start makes them again, with the same entry IDs.
items() {
    cat <<EOF
new contact ann FullName="Ann Lee" Email1Address=ann@example.com
new contact bob FullName="Bob Ray" Email1Address=bob@example.com
receive m1 Plan "Ann Lee" ann@example.com To=bob@example.com
attach-file m1 plan.txt "the plan"
attach-file m1 budget.txt "the budget"
new note n1 Body="Call Ann"
new appointment a1 Subject="Budget review" Start="2026-12-08 10:00:00" End="2026-12-08 11:00:00"
EOF
}

# The mail linked to its two correspondents with its attachments, through the attach-mail dialog.
attach_mail() {
    cat <<EOF
folder Inbox
select m1
button VelmoraShareAndAttach
click cmdMoveFields2
click includeMailAttachment1
click cmdMailtoContact1
close
EOF
}

# Each workload: the lines before the crash point, then the workload itself.
setup_attach() { common; }
workload_attach() { attach_mail; }

setup_relink() {
    common
    attach_mail
    cat <<EOF
folder Notes
select n1
button VelmoraShareAndAttach
click cmdSearch
type searchWords Ann
click Search
check ListView #1
click OK
click cmdMoveFields2
click cmdNotetoContact
close
folder Calendar
select a1
button VelmoraShareAndAttach
tab SSTab1 1
click cmdSearch
type searchWords Bob
click Search
check ListView #1
click OK
click cmdMoveFieldsPlus2
click attachEventtoContact
close
EOF
}
# A changed mail is relinked from its own links, without its attachments.
workload_relink() {
    cat <<EOF
set m1 Subject="Plan B"
set n1 Body="Call Ann today"
set a1 Subject="Budget review moved"
EOF
}

setup_share() {
    common
    printf 'folder Calendar\nselect a1\n'
}
workload_share() {
    cat <<EOF
button VelmoraShareAndAttach
click cmdMoveFields2
click OK
close
EOF
}

# A mail sent with Attach down, attached with its attachment under its substitute key; it
# reaches Sent Items with the crash point set, and its rows and folder move to its entry ID.
setup_rekey() {
    common
    cat <<EOF
delivery on-deliver
clock 2026-12-07 09:00:00
compose m2 Subject=Sent To=ann@example.com
attach-file m2 plan.txt "the plan"
attach-file m2 budget.txt "the budget"
button VelmoraAttach m2
send m2
pick ListViewLeft #1
click cmdMoveFields1
click includeMailAttachment1
click cmdMailtoContact1
EOF
}
workload_rekey() { echo deliver; }

# value NAME: the number a line "sql select 'NAME=' || ..." printed.
value() { printf '%s' "$out" | sed -n "s/^ *$1=//p"; }

# The next start: connect tidies up; then every link must have its history row and every copy
# its row, and the mail's contact links that keep attachments, its rows and its one folder of
# two copies are there together or not at all. After an attach, attaching again copies.
check_after() { # check_after WORKLOAD WHAT
    {
        items
        cat <<EOF
connect
expect consistent
sql select 'kept=' || count(*) from noteTb where type=2 and bAttachment=1
sql select 'rows=' || count(*) from Attachments
echo copies:
files attachments
echo end
EOF
        if [ "$1" = attach ]; then
            attach_mail
            printf 'expect sql select count(*) from Attachments => 2\nexpect consistent\n'
        fi
    } >"$work/check.vhs"
    run "$host" --script "$work/check.vhs"
    last="$2, then a new start"
    [ "$code" -eq 0 ] || {
        fail "the next start found the store inconsistent"
        return
    }
    kept=$(value kept)
    rows=$(value rows)
    listed=$(printf '%s\n' "$out" | sed -n '/^copies:$/,/^end$/s/^  //p')
    copies=$(printf '%s' "$listed" | grep -c .)
    folders=$(printf '%s' "$listed" | sed 's|/.*||' | sort -u | grep -c .)
    if [ "$kept" -gt 0 ] && [ "$rows" -eq 2 ] && [ "$copies" -eq 2 ] && [ "$folders" -eq 1 ]; then
        return
    fi
    [ "$kept" -eq 0 ] && [ "$rows" -eq 0 ] && [ "$copies" -eq 0 ] ||
        fail "links keeping attachments $kept, rows $rows, copies $copies in $folders folders"
}

started=$(date +%s)
runs=0
for workload in ${CRASH_WORKLOADS:-attach relink share rekey}; do
    for point in at-statement at-file; do
        n=1
        while :; do
            rm -rf "$dir"
            mkdir -p "$dir"
            {
                "setup_$workload"
                echo "crash $point $n"
                "workload_$workload"
                echo terminate
            } >"$work/crash.vhs"
            run "$host" --script "$work/crash.vhs"
            runs=$((runs + 1))
            if [ "$code" -eq 0 ]; then
                check_after "$workload" "$workload run to its end"
                break
            fi
            if [ "$code" -ne 3 ] || ! printf '%s' "$err" | grep -q '^(crash before'; then
                last="$workload crash $point $n"
                fail "the run did not stop at the crash point"
                break
            fi
            check_after "$workload" "$workload crash $point $n"
            n=$((n + 1))
        done
        echo "$workload $point: $((n - 1)) crash points"
    done
done
echo "$runs runs in $(($(date +%s) - started)) s"
finish
