#!/usr/bin/env bash
# tirevane(6) renders without a warning, documents every option --help
# lists, and carries the program's version.
source "$(dirname "$0")/lib.sh"
page="$PKG_SOURCE_DIR/data/tirevane.6"
gzipped="$BUILD_DIR/tirevane.6.gz"
[ -f "$gzipped" ] || pkg_fail "the build made no $gzipped"
cmp -s <(gzip -dc "$gzipped") "$page" || pkg_fail "$gzipped is not the page in data/"

warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$gzipped" 2>&1 >/dev/null)"
[ -z "$warnings" ] || pkg_fail "man --warnings: $warnings"
rendered="$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$gzipped" 2>/dev/null)"

options="$("$PKG_GAME_BIN" --help | grep -oE '^ +--[a-z-]+' | tr -d ' ')"
[ -n "$options" ] || pkg_fail "--help lists no option"
for option in $options; do
  echo "$rendered" | grep -qE "^ +$option( |\$)" || pkg_fail "the manual page has no entry for $option"
done
echo "$rendered" | grep -q 'F11' || pkg_fail "the manual page does not tell the F11 key"
grep -q "^\.TH TIREVANE 6 .* \"Tirevane $(game_version)\"" "$page" ||
  pkg_fail "the manual page is not for version $(game_version)"
echo "manual page passed"
