#!/usr/bin/env bash
# The start-up, intro and main menu as a player meets them.
source "$(dirname "$0")/lib.sh"
start_display
prepare_game_dir

# 1. Window, intro skipped by a key, the main menu slides in.
start_game SDL_AUDIODRIVER=dummy
geometry="$(xdotool getwindowgeometry "$WID")"
echo "$geometry" | grep -q 'Geometry: 800x600' || fail "window is not 800x600: $geometry"
skip_intro
pointer_to 790 590
wait_for "the main menu with the pointer in the corner" 10 main_menu_shown
for row in 111 210 309 408 507; do
  n="$(count_pixels "$WORK/now.png" 800x70+0+$((row + 5)) "$GREEN")"
  [ "$n" -gt 300 ] || fail "no green label at row $row ($n green pixels)"
done
[ -n "${SCREENSHOT_DIR:-}" ] && cp "$WORK/now.png" "$SCREENSHOT_DIR/menu.png"

# 2. "Comment jouer" opens its page, "Retour" comes back after the wait.
click_at 400 250
pointer_to 700 40
wait_for "the how-to-play page" 10 menu_shown 510
click_at 400 550
wait_for "the main menu after Retour" 10 main_menu_shown

# 3. "Quitter" ends the game with status 0 after about 1.5 s.
pointer_to 400 545
after_a_look
start=$(now_ms)
click
wait_exit 10
elapsed_ms=$(( $(now_ms) - start ))
[ "$EXIT_STATUS" = 0 ] || fail "Quitter exited with status $EXIT_STATUS"
[ "$elapsed_ms" -ge 1300 ] || fail "Quitter ended after only ${elapsed_ms} ms"
echo "Quitter: exit 0 after ${elapsed_ms} ms"

# 4. Escape on the main menu ends the game too. Under a loaded sanitizer
# build a key sent right after the slide-in was seen to go missing on its
# way through X; the menu, still shown, gets another press.
start_game SDL_AUDIODRIVER=dummy
skip_intro
for attempt in 1 2 3; do
  press Escape
  exits_within 5 && break
  wait_for "the main menu still shown after Escape $attempt" 5 main_menu_shown
done
[ -z "$GAME_PID" ] || fail "the game did not exit on Escape at its main menu"
[ "$EXIT_STATUS" = 0 ] || fail "Escape on the main menu did not exit with 0"

# 5. Escape during the intro ends it without the menu. Pressed once the
#    intro shows, so the key cannot reach a window still being set up.
start_game SDL_AUDIODRIVER=dummy
pointer_to 400 300
wait_for "the intro" 10 intro_shown
press Escape
ends_cleanly 10
echo "menu session passed"
