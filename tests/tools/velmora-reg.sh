# velmora-reg through the real program: the file it names, each command's streams and exit
# codes, a registry editor's export imported and read back, and warnings about what it was given.
. "$(dirname "$0")/check.sh"
reg=$3
export HOME="$work" XDG_STATE_HOME="$work/state" XDG_CONFIG_HOME="$work/config"
unset VELMORA_REGISTRY VELMORA_LOG VELMORA_LOG_FILE
file="$work/config/velmora/registry"
key='Software\OutLook Sync Velmora'
shown='Software.OutLook Sync Velmora'

# A missing file is an empty registry for reads, and standard error says which file that is.
run "$reg" list
expect_code 0
expect_no_out
expect_err "^velmora-reg: registry file $file does not exist: it reads as an empty registry$"
run "$reg" query "$key" Language
expect_code 1
expect_no_out
expect_err "no key $shown in $file"

# Commands and options in any order; standard output carries only the values.
run "$reg" add "$key" Language --sz EN
expect_code 0
expect_no_out
expect_err "registry file $file does not exist yet: this command creates it"
run "$reg" add --dword=0x10 "$key\\setting" HistoryValue
expect_code 0
run "$reg" --file="$file" query "$key" language
expect_code 0
expect_out '^Language  REG_SZ  EN$'
run "$reg" query "$key\\setting" --file "$file"
expect_out '^HistoryValue  REG_DWORD  0x00000010 (16)$'
run "$reg" list
expect_code 0
expect_out "^\[$shown\]$"
expect_out '^  Language  REG_SZ  EN$'
expect_err "^velmora-reg: registry file $file$"
run "$reg" query "$key" Missing
expect_code 1
expect_no_out
expect_err "no value \"Missing\" under $shown in $file"

# Wrong arguments: exit 2, naming the argument and what was expected.
run "$reg" add "$key" Language
expect_code 2
expect_err 'add needs the value: --sz TEXT or --dword N'
run "$reg" add "$key" HistoryValue --dword 4294967296
expect_code 2
expect_err '--dword needs a 32-bit number.*not "4294967296"'
run "$reg" add "$key" x --sz a --dword 1
expect_code 2
expect_err '--sz excludes --dword'
run "$reg" frobnicate
expect_code 2
expect_err 'not expected: frobnicate'
run "$reg"
expect_code 2
expect_err 'a command is needed: query, add, delete, list, export or import'
run "$reg" query
expect_code 2
expect_err 'KEY is required'
expect_no_out

# delete: a value, then a key with every key below it; what is not there fails.
run "$reg" delete "$key" Language
expect_code 0
run "$reg" delete "$key" Language
expect_code 1
expect_err "Cannot change registry file $file: no value \"Language\" under $shown"
run "$reg" delete Software
expect_code 0
run "$reg" list
expect_no_out

# A key typed with / is used as typed, with a warning that it names one key.
run "$reg" add 'Software/OutLook Sync Velmora' Language --sz CN
expect_code 0
expect_err 'warning: Software/OutLook Sync Velmora: registry key paths separate keys with .*names a key with / in its name'
run "$reg" list
expect_out '^\[Software/OutLook Sync Velmora\]$'
run "$reg" delete 'Software/OutLook Sync Velmora'
expect_code 0

# A registry editor's export, UTF-16LE with CR LF as the editor writes it, imported and read back.
printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_CURRENT_USER\Software\OutLook Sync Velmora]' '"Language"="CN"' \
    '"path"="C:\\Program Files\\Velmora"' '[HKEY_CURRENT_USER\Software\OutLook Sync Velmora\setting]' \
    '"MailTabIndex"=dword:00000002' | iconv -f UTF-8 -t UTF-16LE >"$work/body.reg"
{ printf '\377\376'; cat "$work/body.reg"; } >"$work/export.reg"
run "$reg" import "$work/export.reg"
expect_code 0
expect_no_out
run "$reg" query "$key"
expect_out '^Language  REG_SZ  CN$'
expect_out '^path  REG_SZ  C:\\Program Files\\Velmora$'
run "$reg" query "$key\\setting" MailTabIndex
expect_out '0x00000002 (2)'

# export writes that syntax back; the editor's own encoding on request.
run "$reg" export
expect_code 0
expect_out '^Windows Registry Editor Version 5.00$'
expect_out "^\[HKEY_CURRENT_USER.$shown.setting\]$"
expect_out '^"path"="C:\\\\Program Files\\\\Velmora"$'
"$reg" export --utf16 >"$work/again.reg" 2>/dev/null
[ "$(od -An -tx1 -N2 "$work/again.reg" | tr -d ' ')" = fffe ] || fail "export --utf16 lacks the byte order mark"
run "$reg" delete Software
run "$reg" import "$work/again.reg"
expect_code 0
run "$reg" query "$key" path
expect_out '^path  REG_SZ  C:\\Program Files\\Velmora$'

# An import with a bad line, or another hive, imports nothing and names the line.
cp "$file" "$work/before"
printf '%s\n' 'Windows Registry Editor Version 5.00' '[HKEY_CURRENT_USER\Software\X]' '"a"="1"' \
    '[HKEY_LOCAL_MACHINE\Software\Velmora]' >"$work/machine.reg"
run "$reg" import "$work/machine.reg"
expect_code 1
expect_err "$work/machine.reg: line 4: HKEY_LOCAL_MACHINE is not kept here.*nothing is imported"
cmp -s "$file" "$work/before" || fail "a refused import changed the registry file"
run "$reg" import "$work/missing.reg"
expect_code 1
expect_err "cannot read $work/missing.reg"

# A malformed registry file: reads keep the good lines and warn once; writes leave it alone.
printf '%s\n' '[Software\OutLook Sync Velmora]' '"Language"=sz:"EN"' '"path"=sz:"unterminated' \
    '"HistoryValue"=dword:zz' >"$file"
cp "$file" "$work/before"
run "$reg" list
expect_code 0
expect_out '^  Language  REG_SZ  EN$'
expect_err "warning: $file: line 3: unterminated quoted text (and 1 more malformed line)"
[ "$(printf '%s\n' "$err" | grep -c warning)" -eq 1 ] || fail "not one warning for one read"
run "$reg" add "$key" Language --sz CN
expect_code 1
expect_err "Cannot change registry file $file: line 3: unterminated quoted text"
cmp -s "$file" "$work/before" || fail "a write changed a malformed registry file"
finish
