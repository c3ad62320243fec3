# The scripted host's command line: the three ways to drive it, where its errors go, its exit
# codes, the demo's folder and the prompt at a terminal. Usage: velmora-host.sh HOST ...
. "$(dirname "$0")/check.sh"
host=$1
export HOME="$work" XDG_STATE_HOME="$work/state" VELMORA_LOG_FILE="$work/velmora.log" TZ=UTC
export VELMORA_STORE="$work/store.db" VELMORA_REGISTRY="$work/registry"
expect_out_lacks() { ! printf '%s' "$out" | grep -q -e "$1" || fail "standard output has \"$1\""; }

run "$host" --help
expect_code 0
for variable in VELMORA_STORE VELMORA_STORE_CONNECTION VELMORA_REGISTRY VELMORA_WINDOWS_DIR \
    VELMORA_DATA_DIR TMPDIR TZ LC_TIME "--script FILE" "Exit status"; do
    expect_out "$variable"
done

# Wrong command lines: exit 2, naming the argument, nothing on standard output.
run "$host" notes.vhs
expect_code 2
expect_err 'notes.vhs.*--script'
expect_no_out
run "$host" --demo --script notes.vhs
expect_code 2
expect_err '--demo excludes --script'
run "$host" --script
expect_code 2
expect_err '--script'

# A script that cannot be read: exit 1.
run "$host" --script "$work/missing.vhs"
expect_code 1
expect_err "cannot read $work/missing.vhs: No such file"
expect_no_out
run "$host" --script "$work"
expect_code 1
expect_err "is a folder, not a script"

# The script's output on standard output, its failing line on standard error as FILE:LINE and
# in the log; the run stops there.
printf 'echo hello\n' >"$work/good.vhs"
run "$host" --script="$work/good.vhs"
expect_code 0
expect_out '^hello$'
expect_no_err
printf 'echo fine\n\nbogus words\necho never\n' >"$work/broken.vhs"
run "$host" --script "$work/broken.vhs"
expect_code 2
expect_out '^fine$'
expect_out_lacks 'never'
expect_out_lacks 'error'
expect_err "^$work/broken.vhs:3: error: Unknown command \"bogus\""
grep -q "broken.vhs:3: Unknown command" "$work/velmora.log" || fail "the log lacks the line"
printf '# a failing expectation\nexpect not no-dialog\n' >"$work/expect.vhs"
run "$host" --script "$work/expect.vhs"
expect_code 1
expect_err "^$work/expect.vhs:2: error: expectation failed"

# Standard input from a pipe: no prompt, named <stdin>.
run sh -c 'printf "echo fine\nbogus\necho never\n" | "$0" -' "$host"
expect_code 2
expect_out '^fine$'
expect_out_lacks 'velmora>'
expect_out_lacks 'never'
expect_err '^<stdin>:2: error: Unknown command'

# At a terminal: a prompt, the line after a typo still runs, the exit code tells of the typo,
# and the lines typed are kept for the next session.
printf 'bogus\necho "after the typo"\n\004' >"$work/typed"
run sh -c 'TERM=dumb script -qec "\"$0\" -" /dev/null <"$1"' "$host" "$work/typed"
expect_code 2
expect_out 'velmora> '
expect_out "<stdin>:1: error: Unknown command"
expect_out '^after the typo'
grep -q '^echo "after the typo"$' "$work/state/velmora/host_history" ||
    fail "the history lacks the line typed"

# The demo: in a fresh folder of this user's when VELMORA_STORE is unset, each run its own,
# showing each action; in VELMORA_STORE's folder when it is set.
mkdir "$work/tmp"
run env -u VELMORA_STORE -u VELMORA_REGISTRY TMPDIR="$work/tmp" "$host"
expect_code 0
expect_out '^> select m1$'
expect_out '^== The user closes the host$'
first=$(printf '%s' "$out" | sed -n '1s/^folder: //p')
case "$first" in "$work"/tmp/velmora-demo-*) ;; *) fail "demo folder \"$first\"" ;; esac
[ "$(stat -c %a "$first")" = 700 ] || fail "demo folder $first is open to others"
[ -s "$first/linkstore.db" ] && [ -s "$first/registry" ] || fail "no store or registry in $first"
run env -u VELMORA_STORE -u VELMORA_REGISTRY TMPDIR="$work/tmp" "$host" --demo
expect_code 0
[ "$(ls -d "$work"/tmp/velmora-demo-* | wc -l)" -eq 2 ] || fail "a second demo reused a folder"
[ -s "$first/linkstore.db" ] || fail "a second demo removed the first one's store"
mkdir "$work/mine"
run env -u VELMORA_REGISTRY VELMORA_STORE="$work/mine/demo.db" TMPDIR="$work/mine" "$host" --demo
expect_code 0
expect_out "^store: $work/mine/demo.db$"
[ -s "$work/mine/demo.db" ] && [ -s "$work/mine/registry" ] || fail "the demo left its folder"
! ls -d "$work"/mine/velmora-demo-* >/dev/null 2>&1 || fail "a demo folder beside VELMORA_STORE"
finish
