#!/usr/bin/env bash
# F11 and --fullscreen with the real display, under a window manager. Every
# switch is seen happening: in full screen a window covers the whole
# 1024x768 display (classic SDL maps one of its own, sdl12-compat resizes
# the game's), in the window none does. Under Xvfb both SDL 1.2 libraries
# report every switch as done, so nothing is printed; F11 means nothing
# else, and each screen is back as it was in the 800x600 window.
source "$(dirname "$0")/lib.sh"
start_display
start_window_manager
prepare_game_dir

options_shown() { menu_shown 120 390; }
page_shown() { menu_shown 510; }
full_screen() {
  local w
  for w in $(xwininfo -root -tree | awk '/ 1024x768\+/ {print $1}'); do
    xwininfo -id "$w" | grep -q IsViewable && return 0
  done
  return 1
}
windowed() { ! full_screen; }
# F11, seen taking the game to the state $1; each key is pressed once.
f11_to() {
  press F11
  wait_for "$1 after F11" 10 "$1"
}
switch_twice() {
  f11_to full_screen
  f11_to windowed
}

# 0. Started in full screen, switched back and forth during the intro,
#    Escape still ends the game there, cleanly and silently.
GAME_ARGS=(--fullscreen)
start_game SDL_AUDIODRIVER=dummy
wait_for "full screen at start" 10 full_screen
f11_to windowed
switch_twice
press Escape
ends_cleanly 10

# 1. Started in full screen; F11 at once brings the window back and does
#    not skip the intro: the menu comes after the whole intro (about 8 s
#    and the slide-in), not within the 4 s a skipped one takes.
start_game SDL_AUDIODRIVER=dummy
started=$(now_ms)
pointer_to 400 300
wait_for "full screen at start" 10 full_screen
f11_to windowed
wait_for "the main menu after the whole intro" 60 main_menu_shown
elapsed=$(( $(now_ms) - started ))
[ "$elapsed" -ge 7000 ] || fail "the main menu came ${elapsed} ms after F11: the intro was skipped"

# 2. The main menu, the options screen and a page stay open and in place.
switch_twice
wait_for "the main menu after F11" 10 main_menu_shown
click_at 400 349
wait_for "the options screen" 10 options_shown
switch_twice
wait_for "the options screen after F11" 10 options_shown
press Escape
wait_for "the main menu after the options" 15 main_menu_shown
click_at 400 250
wait_for "the how-to-play page" 10 page_shown
switch_twice
wait_for "the how-to-play page after F11" 10 page_shown
press Escape
wait_for "the main menu after the page" 15 main_menu_shown

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
press space
wait_for "the main menu after the game over" 15 main_menu_shown

# 4. Quitter ends the game cleanly; nothing printed, as every switch worked.
click_at 400 547
ends_cleanly 10
echo "fullscreen session passed"
