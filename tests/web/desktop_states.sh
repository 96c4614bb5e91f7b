#!/usr/bin/env bash
# The desktop game's window in the five states the browser session compares
# with (main menu, options, visor menu, a match with a target, game over),
# reached the way the session reaches them, the pointer where it puts it:
# each saved as OUTDIR/STATE.rgb (800x600, 8-bit RGB).
# Usage: desktop_states.sh BINARY SOURCE_DIR OUTDIR
out="$3"
source "$(dirname "$0")/../e2e/lib.sh" "$1" "$2"
mkdir -p "$out"
start_display
prepare_game_dir

# The screenshot the last check looked at.
keep() { convert "$WORK/now.png" -depth 8 "rgb:$out/$1.rgb"; }
to_corner() { pointer_to 790 590; }

start_game SDL_AUDIODRIVER=dummy
skip_intro
to_corner
wait_for "the main menu" 10 main_menu_shown
keep menu

click_at 400 349
to_corner
wait_for "the options screen" 10 menu_shown 120 390
keep options
click_at 400 160
to_corner
wait_for "the visor menu" 10 menu_shown 0 100 200 300 400 500
keep visors
click_at 400 340
wait_for "the main menu after the visor" 10 main_menu_shown

click_at 400 349
wait_for "the options screen" 10 menu_shown 120 390
click_at 400 430
wait_for "the difficulty menu" 10 menu_shown 150 255 360
click_at 400 400
wait_for "the main menu after the difficulty" 10 main_menu_shown

click_at 400 151
to_corner
wait_for "the play menu" 10 menu_shown 255
click_at 400 295
pointer_to 700 60
target_shown() { match_shown && [ -n "$(find_target "$WORK/now.png" 700 60)" ]; }
wait_for "a match with a target" 10 target_shown
keep match
wait_for "the game-over screen" 40 game_over_shown
keep gameover
press a
wait_for "the main menu after game over" 10 main_menu_shown
press Escape
wait_exit 10
echo "desktop states kept in $out"
