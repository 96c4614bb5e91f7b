#!/usr/bin/env bash
# The package unpacked into a scratch root: its launcher starts the game in
# a virtual X display, prepares the player's folder under a scratch
# XDG_DATA_HOME, reaches the main menu, and "Quitter" ends it cleanly.
source "$(dirname "$0")/lib.sh"
deb="$(the_package)"
source "$PKG_SOURCE_DIR/tests/e2e/lib.sh" "" "$PKG_SOURCE_DIR"
root="$WORK/root"
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x failed"
GAME_BIN="$root/usr/games/tirevane"
GAME_DIR="$WORK/elsewhere"
mkdir "$GAME_DIR"
xdg="$WORK/xdg"
start_display
start_game XDG_DATA_HOME="$xdg" SDL_AUDIODRIVER=dummy
[ -f "$xdg/tirevane/System/01/config.conf" ] || fail "no player's folder under $xdg"
[ "$xdg/tirevane/spaceage.ttf" -ef "$root/usr/share/tirevane/spaceage.ttf" ] ||
  fail "the player's folder does not link the unpacked data"
skip_intro
click_at 400 547
ends_cleanly 10
[ -z "$(ls -A "$GAME_DIR")" ] || fail "the game wrote into the folder it was started from"
echo "package session passed"
