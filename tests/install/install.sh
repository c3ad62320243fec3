# The installed tree and the Debian package, made from the build ctest has already built:
# `cmake --install` into a fresh prefix, the installed programs run, their completion sourced in
# bash, then `cpack -G DEB` and the package's dependencies and contents (PACKAGE 0 leaves the
# package out: a sanitizer build is never packaged).
# Usage: install.sh BUILD_DIR VERSION BINDIR DATADIR MANDIR MAN_PAGES(1|0) PACKAGE(1|0)
. "$(dirname "$0")/../tools/check.sh"
build=$1 version=$2 bindir=$3 datadir=$4 mandir=$5 man=$6 package=$7
programs="velmora-host velmora-store velmora-reg Tidewell"
prefix=$work/prefix
export HOME="$work" XDG_STATE_HOME="$work/state" TMPDIR="$work"

expect_file() { [ -f "$1" ] || { last="ls $1" && fail "missing"; }; }

run cmake --install "$build" --prefix "$prefix"
expect_code 0
for program in $programs; do
    expect_file "$prefix/$bindir/$program"
    expect_file "$prefix/$datadir/bash-completion/completions/$program"
    [ "$man" = 1 ] || continue
    page=$prefix/$mandir/man1/$program.1
    expect_file "$page"
    run grep "^\.TH" "$page"
    expect_out "\"$program $version\""
done
for face in 102 103 104; do
    expect_file "$prefix/$datadir/velmora/faces/$face.xpm"
done
expect_file "$prefix/$datadir/doc/velmora/README.md"
expect_file "$prefix/$datadir/doc/velmora/docs/velmora-host.md"

run "$prefix/$bindir/velmora-store" --version
expect_code 0
expect_out "^velmora-store $version$"
# The demo links the companion program installed beside the host.
run "$prefix/$bindir/velmora-host" --demo
expect_code 0
expect_out "started /.*/Tidewell"
companion=$(printf '%s\n' "$out" | sed -n 's/.*started \(\/[^)]*\/Tidewell\).*/\1/p' | head -n 1)
[ ! -e "$companion" ] || [ "$(readlink -f "$companion")" = "$(readlink -f "$prefix/$bindir/Tidewell")" ] ||
    fail "the demo's companion $companion is not the installed Tidewell"

# complete PROGRAM WORD...: what the installed completion offers for the last word, one a line.
complete_words() {
    bash -c '. "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
             eval "$(complete -p "$1" | sed "s/.*-F \([^ ]*\) .*/\1/")"
             printf "%s\n" "${COMPREPLY[@]}"' \
        complete "$prefix/$datadir/bash-completion/completions/$1" "$@"
}
cd "$work" && touch scenario.vhs store.db
run complete_words velmora-store ""
expect_out "^set-user$"
expect_out "^links$"
run complete_words velmora-store --format ""
expect_out "^json$"
run complete_words velmora-store --format=c
expect_out "^csv$"
run complete_words velmora-store --db st
expect_out "^store.db$"
run complete_words velmora-store tables ""
expect_out "^--db$"
run complete_words velmora-store sql ""
expect_no_out
run complete_words velmora-reg ""
expect_out "^export$"
run complete_words velmora-reg import sc
expect_out "^scenario.vhs$"
run complete_words velmora-reg add KEY NAME --d
expect_out "^--dword$"
run complete_words velmora-reg export ""
expect_out "^--utf16$"
run complete_words velmora-host --script sc
expect_out "^scenario.vhs$"
run complete_words velmora-host ""
expect_out "^--demo$"
run complete_words Tidewell ""
expect_out "^about$"
run complete_words Tidewell --seconds ""
expect_no_out

[ "$package" = 1 ] || { finish && exit; }
run cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package"
expect_code 0
deb=$(ls "$work"/package/*.deb 2>/dev/null | head -n 1)
run dpkg-deb --info "$deb"
expect_out "Package: velmora$"
expect_out "Version: $version$"
expect_out "Depends: .*libsqlite3-0"
printf '%s\n' "$out" | grep "Depends:" | grep -q -- "-dev" && fail "a -dev package is a dependency"
run dpkg-deb --contents "$deb"
for program in $programs; do
    expect_out " \./usr/$bindir/$program$"
    expect_out " \./usr/$datadir/bash-completion/completions/$program$"
    [ "$man" = 1 ] && expect_out " \./usr/$mandir/man1/$program\.1$"
done
expect_out " \./usr/$datadir/velmora/faces/104\.xpm$"

# The package's own files, unpacked into a scratch root, run from where they land.
run dpkg-deb -x "$deb" "$work/root"
expect_code 0
run "$work/root/usr/$bindir/velmora-store" --version
expect_code 0
expect_out "^velmora-store $version$"
finish
