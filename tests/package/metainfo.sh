#!/usr/bin/env bash
# The AppStream metainfo validates offline, names the desktop entry that is
# installed, and carries the program's own version as its latest release.
source "$(dirname "$0")/lib.sh"
metainfo="$PKG_SOURCE_DIR/data/io.github.tirevane.Tirevane.metainfo.xml"

out="$(appstreamcli validate --no-net "$metainfo" 2>&1)" || pkg_fail "appstreamcli: $out"
echo "$out" | grep -qE '^[EWI]:' && pkg_fail "appstreamcli reports: $out"

desktop_id="$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$metainfo")"
[ -f "$PKG_SOURCE_DIR/data/$desktop_id" ] || pkg_fail "the metainfo launches '$desktop_id', which is not in data/"
latest="$(sed -n 's|.*<release version="\([^"]*\)".*|\1|p' "$metainfo" | head -n1)"
[ "$latest" = "$(game_version)" ] || pkg_fail "latest release $latest, the program says $(game_version)"
[ "$(grep -c '<caption>' "$metainfo")" = 3 ] || pkg_fail "not one caption per screenshot"
for shot in menu visors match; do
  [ -f "$PKG_SOURCE_DIR/docs/$shot.png" ] || pkg_fail "docs/$shot.png is gone but the metainfo shows it"
  grep -q "<image>https://.*/$shot.png</image>" "$metainfo" || pkg_fail "no https screenshot $shot.png"
done
echo "metainfo passed"
