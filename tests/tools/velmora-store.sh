# velmora-store through the real program: only init creates a store, reading commands open it
# read-only (a read-only file or folder, another writer's lock), every statement that yields rows
# prints them in four formats that keep NULL, '' and bytes apart, and links speak in words.
# Usage: velmora-store.sh HOST STORE REG TIDEWELL (the programs in the build).
. "$(dirname "$0")/check.sh"
store=$2
command -v sqlite3 >/dev/null || { echo "sqlite3 (Debian package sqlite3) is missing"; exit 1; }
unset VELMORA_STORE VELMORA_STORE_CONNECTION VELMORA_LOG_FILE
export HOME="$work" XDG_DATA_HOME="$work/data" XDG_STATE_HOME="$work/state"
cd "$work" || exit 1

expect_same() { [ "$out" = "$1" ] || fail "standard output is not: $1"; }
tab=$(printf '\t')

# --- the command line
run "$store" --help
expect_code 0
expect_out "VELMORA_STORE_CONNECTION"
expect_out "^  VELMORA_STORE$"
run "$store"
expect_code 2
expect_err "no command given: expected init, sql STATEMENT, tables"
run "$store" --db s.db bogus
expect_code 2
expect_err "unknown command 'bogus'"
run "$store" --db a.db --dsn VelmoraOutlook tables
expect_code 2
expect_err "excludes"
run "$store" --format xml tables
expect_code 2
expect_err "xml not in {table,tsv,csv,json}"
run "$store" tables extra
expect_code 2
expect_err "tables: unexpected argument 'extra'"
run "$store" --db "" tables
expect_code 2
expect_err "--db needs a file name"
run "$store" sql
expect_code 2
expect_err "STATEMENT is required"
expect_no_out

# --- a store that does not exist is refused, and nothing is created for it
for command in tables "sql select\ 1" "sql delete\ from\ noteTb" "set-user alice" "links M1"; do
    eval "run \"\$store\" --db typo.db $command"
    expect_code 1
    expect_no_out
    [ "$err" = "velmora-store: no link store at typo.db; create one with \`velmora-store init\`" ] ||
        fail "not the missing-store message"
done
[ ! -e typo.db ] || fail "a read created typo.db"
run "$store" tables
expect_code 1
expect_err "no link store at $work/data/velmora/linkstore.db; create one"
run "$store" init
expect_code 0
expect_out "link store ready: 20 tables"
[ -s "$work/data/velmora/linkstore.db" ] || fail "init made no store in the data folder"

# --- options after the command, --db=FILE, the environment's store
run "$store" init --db=s.db
expect_code 0
run "$store" tables --db s.db --format csv
expect_code 0
expect_out "^table,rows"
expect_out "^noteTb,0"
run "$store" --db s.db tables
[ "$(printf '%s\n' "$out" | wc -l)" -eq 21 ] || fail "not a header and the 20 tables"
expect_out "^CurrentUser${tab}0$"
run env VELMORA_STORE_CONNECTION="Database=$work/s.db" "$store" sql "select 'from s.db'"
expect_out "^from s.db$"
run env VELMORA_STORE="$work/s.db" "$store" set-user "O'Brien"
expect_code 0
expect_same "current user: O'Brien"
run "$store" --db s.db sql "select CurrentUser from CurrentUser"
expect_same "CurrentUser
O'Brien"

# --- statements: rows for whatever yields them, a count for the rest
run "$store" --db s.db sql "create table v (k integer, a, b)"
expect_same "0 rows affected"
run "$store" --db s.db sql "insert into v values (1, NULL, ''), (2, 'NULL', x'0A1B'),
    (3, 'tab${tab}in', 'two
lines'), (4, 1.5, 'a,\"b\"'), (5, 42, '王小明')"
expect_same "5 rows affected"
run "$store" --db s.db sql "update v set k=k where k<3"
expect_same "2 rows affected"
run "$store" --db s.db sql "-- a note
select 1 as n"
expect_same "n
1"
for statement in "/* a note */ select 7" "with t(n) as (select 7) select n from t" "values (7)" \
    "select * from (select 7)"; do
    run "$store" --db s.db sql "$statement"
    expect_code 0
    expect_out "^7$"
done
run "$store" --db s.db sql "pragma user_version"
expect_out "^0$"
run "$store" --db s.db sql "selec 1"
expect_code 1
expect_err "syntax error"

# --- formats: NULL, '' and bytes apart; tabs and line breaks cannot split a row
run "$store" --db s.db sql "select a, b from v order by k"
expect_same "a${tab}b
NULL${tab}
NULL${tab}x'0A1B'
tab\\tin${tab}two\\nlines
1.5${tab}a,\"b\"
42${tab}王小明"
run "$store" --db s.db sql "select a, b from v order by k" --format csv
expect_same "$(printf 'a,b\r\nNULL,\r\nNULL,x'"'"'0A1B'"'"'\r\ntab\tin,"two\nlines"\r\n1.5,"a,""b"""\r\n42,王小明\r')"
run "$store" --db s.db --format json sql "select k, a, b from v order by k"
expect_same '[
{"k":1,"a":null,"b":""},
{"k":2,"a":"NULL","b":"0A1B"},
{"k":3,"a":"tab\tin","b":"two\nlines"},
{"k":4,"a":1.5,"b":"a,\"b\""},
{"k":5,"a":42,"b":"王小明"}
]'
run "$store" --db s.db --format json sql "select 1 where 0"
expect_same "[]"
run "$store" --db s.db --format table sql "select k, b from v where k in (2, 5) order by k"
expect_same "k  b
-  -------
2  x'0A1B'
5  王小明"
# On a terminal the table is the default.
out=$(script -qec "'$store' --db s.db sql 'select 12345 as number'" /dev/null | tr -d '\r')
expect_same "number
------
 12345"

# --- links in words, wherever the entry ID stands
run "$store" --db s.db sql "insert into noteTb (OutlookAttachID, OutlookContactID, contactID,
    Attached_ID, type, Regarding, DateCreated, DateEdit, Creator, PrivateAccess, bAttachment)
    values ('M1', 'C1', 'bob_4', 'alice:7', 2, 'Quarterly report', '2026-03-01 10:00:00',
    '2026-03-02 09:00:00', 'alice', 1, 1)"
run "$store" --db s.db sql "insert into noteTb (OutlookAttachID, OutlookContactID, contactID,
    type, Regarding, DateCreated, Creator, MakeDelete)
    values ('N1', 'C1', '-1', 4, 'Call back
about the offer', '2026-03-03 08:00:00', 'bob', 1)"
run "$store" --db s.db sql "insert into ToEvent (OutlookEmailID, OutlookApptID, ContactID, type,
    Regarding, DateCreated, Creator) values ('M1', 'E1', 'alice_9', 1, 'Quarterly report',
    '2026-03-01 10:00:00', 'alice')"
run "$store" --db s.db sql "insert into CalendarHistory (taskid, eventname)
    values ('E1', 'Planning meeting')"
run "$store" --db s.db links M1
expect_code 0
expect_same 'mail M1 (server id alice:7) linked to contact C1 (server id bob_4)
  regarding "Quarterly report"
  created 2026-03-01 10:00:00, changed 2026-03-02 09:00:00, creator alice
  private to its creator, its attachments linked too
mail M1 linked to event "Planning meeting" E1 (server id alice_9)
  regarding "Quarterly report"
  created 2026-03-01 10:00:00, creator alice'
run "$store" --db s.db links C1
expect_out "^mail M1 (server id alice:7) linked to contact C1"
expect_out '^note N1 linked to contact C1 (no server id yet) (removed)$'
expect_out '^  regarding "Call back\\nabout the offer"$'
expect_out "^  visible to every user$"
run "$store" --db s.db links NOPE
expect_code 0
expect_same "no links for NOPE"
expect_no_err

# --- reading never changes the store: no journal switch, no schema, no lock needed
sqlite3 plain.db "pragma journal_mode=delete; create table noteTb (x);" >/dev/null
run "$store" --db plain.db tables
expect_code 0
expect_out "^noteTb${tab}0$"
expect_out "^ToEvent${tab}NULL$"
expect_err "warning: tables: 19 of the link store's tables are missing; \`velmora-store init\`"
[ "$(sqlite3 plain.db 'pragma journal_mode')" = delete ] || fail "a read switched the journal"
[ "$(sqlite3 plain.db "select count(*) from sqlite_master")" -eq 1 ] || fail "a read made tables"

# hold_lock FILE: another writer takes FILE's exclusive lock until release_lock.
hold_lock() {
    rm -f "$work/locked" "$work/release"
    {
        echo "begin exclusive;"
        echo "insert into noteTb default values;"
        echo ".shell touch '$work/locked'"
        while [ ! -e "$work/release" ]; do sleep 0.1; done
        echo "rollback;"
    } | sqlite3 "$1" >/dev/null &
    holder=$!
    tries=0
    while [ ! -e "$work/locked" ] && [ "$tries" -lt 100 ]; do
        sleep 0.1
        tries=$((tries + 1))
    done
}
release_lock() {
    touch "$work/release"
    wait "$holder"
}
hold_lock s.db
run "$store" --db s.db tables
expect_code 0
expect_out "^noteTb${tab}2$"
run "$store" --db s.db sql "select count(*) from noteTb"
expect_code 0
expect_out "^2$"
release_lock
hold_lock plain.db
started=$(date +%s)
run "$store" --db plain.db tables
expect_code 1
expect_err "database is locked: another program holds the link store's lock (waited 5 s)"
[ $(($(date +%s) - started)) -le 8 ] || fail "waited past the busy timeout"
release_lock

# --- a store this user may only read (as an unprivileged user when run as root)
as_reader() {
    if [ "$(id -u)" -eq 0 ]; then
        setpriv --reuid=65534 --regid=65534 --clear-groups "$@"
    else
        "$@"
    fi
}
chmod 755 "$work"
mkdir -m 777 "$work/reader" && mkdir -m 755 "$work/shelf"
"$store" --db shelf/s.db init >/dev/null && "$store" --db shelf/s.db set-user alice >/dev/null
# One store in rollback-journal mode, one in WAL mode: neither is switched to read it.
cp s.db reader/locked-file.db && sqlite3 reader/locked-file.db "pragma journal_mode=delete" >/dev/null
chmod 444 reader/locked-file.db
chmod 444 shelf/s.db && chmod 555 shelf
export XDG_STATE_HOME="$work/reader"
for file in reader/locked-file.db shelf/s.db; do
    run as_reader "$store" --db "$file" tables
    expect_code 0
    expect_out "^CurrentUser${tab}1$"
    expect_no_err
    run as_reader "$store" --db "$file" --format json sql "select CurrentUser from CurrentUser"
    expect_code 0
    run as_reader "$store" --db "$file" set-user bob
    expect_code 1
    expect_err "cannot be written"
done
run as_reader "$store" --db reader/locked-file.db links M1
expect_code 0
expect_out "^mail M1"
chmod 755 shelf
finish
