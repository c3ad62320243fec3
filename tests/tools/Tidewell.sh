# Tidewell through the real program: its caption from the registry, "HistoryValue" written or
# refused, its streams and exit codes, and a malformed registry file's warning.
. "$(dirname "$0")/check.sh"
reg=$3
tidewell=$4
export HOME="$work" XDG_STATE_HOME="$work/state" VELMORA_REGISTRY="$work/registry" \
    VELMORA_WINDOWS_DIR="$work/windows"
unset VELMORA_LOG VELMORA_LOG_FILE
key='Software\OutLook Sync Velmora'

# Without a registry file the caption is Chinese, as the add-in's default language.
run "$tidewell" --seconds 0
expect_code 0
expect_out "registry $work/registry"
expect_out 'synchronisation window "Velmora－Outlook信息同步" open'
expect_out 'window closed (time is up)'
expect_no_err

# --history writes "HistoryValue", making its key; options may follow the command.
run "$tidewell" about --history=-2 --seconds=0
expect_code 0
expect_out 'HistoryValue set to -2'
expect_out 'about window "Velmora－Outlook信息同步" open'
run "$reg" query "$key\\setting" HistoryValue
expect_out '0xfffffffe (-2)'
run "$reg" add "$key" Language --sz EN
run "$tidewell" --seconds 0
expect_out 'window "Synchronize Outlook - Velmora" open'

# A malformed registry file: the good line still gives English, with one warning naming the
# file and line; a write refuses and leaves the file as it was.
printf '%s\n' '[Software\OutLook Sync Velmora]' '"path"=oops' '"Language"=sz:"EN"' >"$VELMORA_REGISTRY"
cp "$VELMORA_REGISTRY" "$work/before"
run "$tidewell" --seconds 0
expect_code 0
expect_out 'window "Synchronize Outlook - Velmora" open'
expect_err "^Tidewell: warning: $work/registry: line 2: expected \"text\""
run "$tidewell" --history 1 --seconds 0
expect_code 1
expect_err "^Tidewell: Cannot change registry file $work/registry: line 2: "
cmp -s "$VELMORA_REGISTRY" "$work/before" || fail "a refused write changed the registry file"

# Wrong arguments: exit 2, naming the option and the range it takes.
run "$tidewell" --seconds soon
expect_code 2
expect_err '^Tidewell: --seconds: Value soon not in range 0 to 31536000'
expect_no_out
run "$tidewell" --history 2147483648
expect_code 2
expect_err '^Tidewell: --history: .*-2147483648 to 2147483647'
run "$tidewell" sync
expect_code 2
expect_err 'not expected: sync'
run "$tidewell" --help
expect_code 0
expect_out 'VELMORA_REGISTRY'
expect_out 'VELMORA_WINDOWS_DIR'
expect_out 'XDG_RUNTIME_DIR'
finish
