#!/usr/bin/env bash
# The README's play command builds (nothing to do after the test build) and
# opens the game's window from the repository; Escape during the intro ends
# it with status 0 without touching the committed data files. Pressed once
# the intro shows, so the key cannot reach a window still being set up.
source "$(dirname "$0")/lib.sh"
start_display
before="$(cat "$SOURCE_DIR/System/01/config.conf" "$SOURCE_DIR/System/02/user.saved" | md5sum)"
GAME_BIN="$SOURCE_DIR/play"
GAME_DIR="$WORK"
start_game SDL_AUDIODRIVER=dummy
pointer_to 400 300
wait_for "the intro" 20 intro_shown
press Escape
wait_exit 60
[ "$EXIT_STATUS" = 0 ] || fail "./play ended with status $EXIT_STATUS: $(cat "$WORK/game.err")"
after="$(cat "$SOURCE_DIR/System/01/config.conf" "$SOURCE_DIR/System/02/user.saved" | md5sum)"
[ "$before" = "$after" ] || fail "the committed data files changed"
echo "play command session passed"
