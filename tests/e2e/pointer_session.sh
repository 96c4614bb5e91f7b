#!/usr/bin/env bash
# The pointer with real X timing: a double click chooses only on the screen
# the player saw, and a screen that comes back shows its cursor where the
# pointer is, where the next click acts.
source "$(dirname "$0")/lib.sh"
start_display
prepare_game_dir
config="$GAME_DIR/System/01/config.conf"
save="$GAME_DIR/System/02/user.saved"
printf '[ ! ] -> True\n[\247saved:Visor=5][\247saved:Diff=1][\247saved:GameScore=120]' >"$save"
data_files() { cat "$config" "$save" | md5sum; }
before="$(data_files)"
start_game SDL_AUDIODRIVER=dummy
skip_intro

double_click_at() {
  pointer_to "$1" "$2"
  after_a_look
  double_click
}
# Events are taken in order: once the cursor is drawn at a place the pointer
# moved to afterwards, the second click has been taken too.
after_the_double_click() {
  pointer_to 780 20
  wait_for "the cursor following the pointer after the double click" 10 cursor_at 780 20
  [ "$(data_files)" = "$before" ] || fail "a double click chose on a screen not yet seen"
}

# 1. "Editer difficulte" (the second click would pick "Insane"), then
#    "Editer viseur" (it would pick "FPS"): each opens its menu, no choice.
for step in "430 difficulty 150 255 360" "160 visor 0 100 200 300 400 500"; do
  read -r row name rows <<<"$step"
  click_at 400 349
  wait_for "the options screen" 10 menu_shown 120 390
  # shellcheck disable=SC2086 # one row a word
  double_click_at 400 "$row" && wait_for "the $name menu" 10 menu_shown $rows
  after_the_double_click
  press Escape
  wait_for "the main menu after the $name menu" 10 main_menu_shown
done

# 2. "Jouer" with a saved match: the play menu offers to resume, no match.
double_click_at 400 151
wait_for "the play menu with Reprendre partie" 10 menu_shown 120 390
after_the_double_click
press Escape
wait_for "the main menu after the play menu" 10 main_menu_shown

# 3. On a page the pointer moves to where "Options" stands on the main
#    menu; Escape brings the main menu back with its cursor there, over the
#    item, before any other input, and a click without moving opens it.
click_at 400 250
wait_for "the how-to-play page" 10 menu_shown 510
pointer_to 400 349
wait_for "the cursor on the page" 10 cursor_at 400 349
press Escape
wait_for "the main menu with its cursor over Options" 10 cursor_at 400 349 over
title_at_top "$WORK/now.png" || fail "the cursor is drawn but the main menu is not"
after_a_look
click
wait_for "the options screen from the click under the cursor" 10 menu_shown 120 390
press Escape
wait_for "the main menu" 10 main_menu_shown
press Escape
ends_cleanly 10
[ "$(data_files)" = "$before" ] || fail "the data files changed"
echo "pointer session passed"
