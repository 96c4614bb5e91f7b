#!/usr/bin/env bash
# The start-up, intro and main menu as a player meets them.
source "$(dirname "$0")/lib.sh"
start_display
prepare_game_dir

green='g>0.7 && r<0.3 && b<0.3'
red='r>0.7 && g<0.3 && b<0.3'

# 1. Window, intro skipped by a key, the main menu slides in.
start_game ALSOFT_DRIVERS=null
geometry="$(xdotool getwindowgeometry "$WID")"
echo "$geometry" | grep -q 'Geometry: 800x600' || fail "window is not 800x600: $geometry"
pointer_to 400 300
press space
sleep 2
pointer_to 790 590  # an event makes the menu draw its frame
shot "$WORK/menu.png"
[ "$(count_pixels "$WORK/menu.png" 800x90+0+11 "$red")" -gt 500 ] || fail "no red title at the top"
for row in 111 210 309 408 507; do
  n="$(count_pixels "$WORK/menu.png" 800x70+0+$((row + 5)) "$green")"
  [ "$n" -gt 300 ] || fail "no green label at row $row ($n green pixels)"
done
[ -n "${SCREENSHOT_DIR:-}" ] && cp "$WORK/menu.png" "$SCREENSHOT_DIR/menu.png"

# 2. "Comment jouer" opens its page, "Retour" comes back after the wait.
click_at 400 250
pointer_to 700 40
shot "$WORK/page.png"
[ "$(count_pixels "$WORK/page.png" 800x90+0+11 "$red")" -lt 200 ] || fail "the page still shows the menu title"
[ "$(count_pixels "$WORK/page.png" 800x70+0+515 "$green")" -gt 200 ] || fail "no Retour label on the page"
click_at 400 550
sleep 1.8
pointer_to 790 590
shot "$WORK/back.png"
[ "$(count_pixels "$WORK/back.png" 800x90+0+11 "$red")" -gt 500 ] || fail "Retour did not lead back to the main menu"

# 3. "Quitter" ends the game with status 0 after about 1.5 s.
start=$(date +%s%N)
click_at 400 545
wait_exit 10
elapsed_ms=$(( ($(date +%s%N) - start) / 1000000 ))
[ "$EXIT_STATUS" = 0 ] || fail "Quitter exited with status $EXIT_STATUS"
[ "$elapsed_ms" -ge 1300 ] || fail "Quitter ended after only ${elapsed_ms} ms"
echo "Quitter: exit 0 after ${elapsed_ms} ms"

# 4. Escape on the main menu ends the game too.
start_game ALSOFT_DRIVERS=null
pointer_to 400 300
press space
sleep 1.5
press Escape
wait_exit 10
[ "$EXIT_STATUS" = 0 ] || fail "Escape on the main menu did not exit with 0"

# 5. Escape during the intro ends it without the menu.
start_game ALSOFT_DRIVERS=null
pointer_to 400 300
press Escape
wait_exit 10
[ "$EXIT_STATUS" = 0 ] || fail "Escape during the intro did not exit with 0"
[ ! -s "$WORK/game.err" ] || fail "the game printed: $(cat "$WORK/game.err")"
echo "menu session passed"
