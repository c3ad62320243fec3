# Every program answers --help and --version on standard output with exit 0, refuses a wrong
# option on standard error with exit 2 naming it. Usage: conventions.sh PROGRAM...
. "$(dirname "$0")/check.sh"
export HOME="$work" XDG_STATE_HOME="$work/state"
for program in "$@"; do
    name=$(basename "$program")
    run "$program" --help
    expect_code 0
    expect_out "Environment:"
    expect_no_err
    run "$program" --version
    expect_code 0
    expect_out "^$name [0-9]"
    run "$program" --no-such-option
    expect_code 2
    expect_err "no-such-option"
    expect_no_out
done
finish
