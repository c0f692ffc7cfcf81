#!/usr/bin/env bash
# Builds the Debian packages with scripts/package.sh and holds them to what an
# integrator needs: these files and no others (the program's as files of their
# own in one folder), stripped binaries with debug files by build ID,
# manual pages that render without warnings and name every option of
# tavlin-check --help, and lintian without an error or a warning.
#   PackageCheck.sh SOURCE_DIR WORK_DIR
set -uo pipefail
work=$(mkdir -p "$2" && cd "$2" && pwd) status=0
fail() { echo "FAIL: $*"; status=1; }
rm -rf "$work" && mkdir -p "$work"
TAVLIN_PACKAGE_BUILD="$work/build" bash "$1/scripts/package.sh" "$work/out" >"$work/log" 2>&1 ||
  { tail -n 40 "$work/log"; exit 1; }
deb=$(ls "$work"/out/tavlin_*.deb) && dpkg-deb -x "$deb" "$work/root" &&
  dpkg-deb -x "$(ls "$work"/out/tavlin-dbgsym_*.ddeb)" "$work/debug" || exit 1
cd "$work/root" || exit 1
expected="opt/tavlin/Tavlin_1280.gif opt/tavlin/Tavlin_800.gif opt/tavlin/libtavlin_webengine.so
opt/tavlin/tavlin opt/tavlin/tavlin-check usr/share/doc/tavlin/changelog.gz usr/share/doc/tavlin/copyright
usr/share/lintian/overrides/tavlin usr/share/man/man1/tavlin-check.1.gz usr/share/man/man1/tavlin.1.gz"
[[ $(find . -type f -printf '%P\n' | LC_ALL=C sort | xargs) == "$(xargs <<<"$expected")" ]] ||
  fail "the package holds $(find . -printf '%P ')"
for binary in opt/tavlin/{tavlin,tavlin-check,libtavlin_webengine.so}; do
  readelf -S "$binary" | grep -q -E '\.(debug_info|symtab)' && fail "$binary is not stripped"
  id=$(readelf -n "$binary" | awk '/Build ID/ { print $3 }')
  [[ -n $id && -f $work/debug/usr/lib/debug/.build-id/${id:0:2}/${id:2}.debug ]] ||
    fail "no debug file for $binary"
done
for page in usr/share/man/man1/*.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [[ -z $warnings ]] || fail "$page: $warnings"
done
for option in $(QT_QPA_PLATFORM=offscreen opt/tavlin/tavlin-check --help 2>/dev/null | grep -o -E -- '--[a-z]+'); do
  zgrep -q -F -- "\\-\\-${option#--}" usr/share/man/man1/tavlin-check.1.gz || fail "tavlin-check(1) lacks $option"
done
command -v lintian >/dev/null && ! lintian --fail-on error,warning "$deb" 2>&1 && fail "lintian"
exit $status
