# Shared checks for the programs' command-line tests; sourced by each tests/tools/*.sh.
# run CMD...: runs a command, keeping its exit code in $code, standard output in $out and
# standard error in $err. Then expect_code, expect_out, expect_err, expect_quiet_out check them.
set -u
failures=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run() {
    "$@" >"$work/out" 2>"$work/err" </dev/null
    code=$?
    out=$(cat "$work/out")
    err=$(cat "$work/err")
    last="$*"
}

fail() {
    echo "FAILED: $last: $1"
    echo "  exit code: $code"
    echo "  stdout: $out" | head -20
    echo "  stderr: $err" | head -20
    failures=$((failures + 1))
}

expect_code() { [ "$code" -eq "$1" ] || fail "exit code $code, expected $1"; }
expect_out() { printf '%s' "$out" | grep -q -e "$1" || fail "standard output lacks \"$1\""; }
expect_err() { printf '%s' "$err" | grep -q -e "$1" || fail "standard error lacks \"$1\""; }
expect_no_out() { [ -z "$out" ] || fail "standard output is not empty"; }
expect_no_err() { [ -z "$err" ] || fail "standard error is not empty"; }

# finish: the test's exit code, after a summary line.
finish() {
    if [ "$failures" -ne 0 ]; then
        echo "$failures check(s) failed"
        exit 1
    fi
    echo "every check passed"
}
