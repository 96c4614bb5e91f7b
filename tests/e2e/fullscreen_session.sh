#!/usr/bin/env bash
# F11 and --fullscreen with the real display. Under Xvfb both SDL 1.2
# libraries report every switch as done, so nothing is printed; F11 means
# nothing else. Classic SDL covers the display with a window of its own
# and gives the 800x600 window back as it was, which is checked screen by
# screen. sdl12-compat without a window manager keeps drawing at the full
# display's scale after leaving full screen, cropped to the window: there
# only what both share is checked.
source "$(dirname "$0")/lib.sh"
start_display
prepare_game_dir

options_shown() { menu_shown 120 390; }
page_shown() { menu_shown 510; }
# To full screen and back into the window.
switch_twice() {
  press F11
  press F11
}

# 0. Shared: started in full screen, switched back and forth during the
#    intro, Escape still ends the game there, cleanly and silently.
GAME_ARGS=(--fullscreen)
start_game SDL_AUDIODRIVER=dummy
compat=0
grep -q sdl12-compat "/proc/$GAME_PID/maps" && compat=1
press F11
switch_twice
press_to_exit Escape
ended_cleanly
if [ "$compat" = 1 ]; then
  echo "fullscreen session passed (sdl12-compat: the screens after a switch are not checked)"
  exit 0
fi

# 1. Started in full screen; F11 at once brings the window back and does
#    not skip the intro: the menu comes after the whole intro (about 8 s
#    and the slide-in), not within the 4 s a skipped one takes.
GAME_ARGS=(--fullscreen)
start_game SDL_AUDIODRIVER=dummy
started=$(now_ms)
pointer_to 400 300
press F11
wait_for "the main menu after the whole intro" 30 main_menu_shown
elapsed=$(( $(now_ms) - started ))
[ "$elapsed" -ge 7000 ] || fail "the main menu came ${elapsed} ms after F11: the intro was skipped"

# 2. The main menu, the options screen and a page stay open and in place.
switch_twice
wait_for "the main menu after F11" 10 main_menu_shown
click_at 400 349
wait_for "the options screen" 10 options_shown
switch_twice
wait_for "the options screen after F11" 10 options_shown
press_for Escape "the main menu after the options" options_shown main_menu_shown
click_at 400 250
wait_for "the how-to-play page" 10 page_shown
switch_twice
wait_for "the how-to-play page after F11" 10 page_shown
press_for Escape "the main menu after the page" page_shown main_menu_shown

# 3. A match on Easy (5 s) goes on; at its end F11 does not leave the
#    game-over screen, another key does.
click_at 400 151
wait_for "the play menu" 10 menu_shown 255
click_at 400 295
wait_for "the match" 10 match_shown
switch_twice
wait_for "the match after F11" 10 match_shown
wait_for "the game-over screen" 30 game_over_shown
switch_twice
wait_for "the game-over screen after F11" 10 game_over_shown
press_for space "the main menu after the game over" game_over_shown main_menu_shown

# 4. Quitter ends the game cleanly; nothing printed, as every switch worked.
click_at 400 547
ends_cleanly 10
echo "fullscreen session passed"
