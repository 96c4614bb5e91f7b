#!/usr/bin/env bash
# The game among other windows, under a real window manager (openbox): a
# window moved over the menu and away, a second game refused, the focus
# given away and taken back during a match, and the window closed while
# the match is paused.
source "$(dirname "$0")/lib.sh"
# Wide enough for the other window to stand clear of the game's.
start_display 1280x800
start_window_manager
other_pid=""
trap '[ -n "$other_pid" ] && kill "$other_pid" 2>/dev/null; cleanup' EXIT
xlogo -geometry 200x200+1060+560 >"$WORK/xlogo.log" 2>&1 &
other_pid=$!
OTHER="$(timeout 10 xdotool search --sync --onlyvisible --class xlogo | head -n1)" ||
  fail "the other window did not show: $(cat "$WORK/xlogo.log")"

prepare_game_dir
config="$GAME_DIR/System/01/config.conf"
save="$GAME_DIR/System/02/user.saved"
printf '[ \247Visor ] -> 0\n[ \247Difficulte ] -> 2' >"$config"  # Insane: 15 s to play
printf '[ ! ] -> True\n[\247saved:Visor=0][\247saved:Diff=2][\247saved:GameScore=120]' >"$save"
start_game SDL_AUDIODRIVER=dummy
skip_intro

# What the window shows, taken without moving the pointer: a screen that
# only draws on input must show itself.
main_menu_drawn() { shot "$WORK/now.png" && title_at_top "$WORK/now.png" && labels_at "$WORK/now.png" 111 210 309 408 507; }
paused() {
  shot "$WORK/now.png"
  [ "$(count_pixels "$WORK/now.png" 600x100+100+250 'r>0.65 && r<0.85 && g<0.15 && b>0.55 && b<0.75')" -gt 100 ]
}
# Fails as soon as the check fails within $2 seconds: the wait is what is tested.
holds_for() {
  local what="$1" limit_ms=$(($2 * 1000)) start
  shift 2
  start=$(now_ms)
  while (($(now_ms) - start < limit_ms)); do
    "$@" || fail "$what ended before ${limit_ms} ms"
    sleep 0.1
  done
}
move_other_to() { timeout 5 xdotool windowmove --sync "$OTHER" "$1" "$2" || fail "the other window did not move"; }
activate() { xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowactivate "$1"; }

# 1. Another window moved over the main menu and away: the menu is drawn
#    again where it stood, with no input (the pointer waits outside both).
xdotool mousemove 1270 5
read -r gx gy < <(xdotool getwindowgeometry "$WID" | sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p')
xdotool windowraise "$OTHER"
move_other_to $((gx + 300)) $((gy + 100))
move_other_to 1060 560
wait_for "the main menu drawn again where the other window stood" 5 main_menu_drawn

# 2. A second game on the same data files says so and goes, the first plays on.
second_err="$WORK/second.err"
(cd "$GAME_DIR" && exec timeout 20 env SDL_AUDIODRIVER=dummy "$GAME_BIN") >/dev/null 2>"$second_err" &&
  fail "a second game started on the same data files"
[ "$(wc -l <"$second_err")" = 1 ] && grep -q "already playing" "$second_err" ||
  fail "the second game did not say why in one line: $(cat "$second_err")"
is_running && main_menu_drawn || fail "the first game did not play on"

# 3. The saved match resumed; another window takes the keyboard: paused.
click_at 400 151
wait_for "the play menu" 10 menu_shown 120 390
click_at 400 160
wait_for "the resumed match" 10 match_shown
activate "$OTHER"
wait_for "the pause when another window has the keyboard" 5 paused
shot "$WORK/paused.png"
score_then="$(score_digest "$WORK/paused.png")"

# 4. The pointer leaving the game and coming back over it while the other
#    window keeps the keyboard does not end the pause.
xdotool mousemove --window "$OTHER" 100 100
xdotool mousemove --window "$WID" 400 300
holds_for "the pause with the pointer back over the game" 3 paused

# 5. The click that brings the game back is no shot: aimed where the paused
#    frame shows nothing, a shot would cost 21 points.
spot=""
for candidate in "100 150" "700 150" "100 450" "700 450" "250 450" "550 150"; do
  read -r cx cy <<<"$candidate"
  if [ "$(count_pixels "$WORK/paused.png" 90x90+$((cx - 45))+$((cy - 45)) 'r+g+b>0.05')" = 0 ]; then
    spot="$candidate"
    break
  fi
done
[ -n "$spot" ] || fail "no empty spot to click on in the paused frame"
read -r cx cy <<<"$spot"
xdotool mousemove --window "$WID" "$cx" "$cy"
click
playing() { ! paused && match_shown; }
wait_for "the match playing again after the click" 5 playing
same_score() { shot "$WORK/now.png" && [ "$(score_digest "$WORK/now.png")" = "$score_then" ]; }
holds_for "the score after the click that brought the game back" 1 same_score

# 6. Closing the window during a pause leaves the match with its score, and
#    the main menu is drawn with no input within a second of the 1.5 s that
#    the game holds the last frame after every match.
activate "$OTHER"
wait_for "the pause again" 5 paused
saved_score() { grep -q 'GameScore=120\]' "$save" && grep -q '^\[ ! \] -> True' "$save"; }
wmctrl -i -c "$WID"
closed_at=$(now_ms)
wait_for "the main menu after closing the paused match" 4 main_menu_drawn
took=$((SHOT_MS - closed_at))
echo "main menu drawn $took ms after the close request"
((took <= 2500)) || fail "the main menu came $took ms after the close request"
saved_score || fail "the score was not kept: $(cat "$save")"

# 7. The lock goes with the process, also when it is killed.
activate "$WID"
press Escape
ends_cleanly 10
start_game SDL_AUDIODRIVER=dummy
kill -KILL "$GAME_PID"
wait "$GAME_PID" 2>/dev/null || true
GAME_PID=""
start_game SDL_AUDIODRIVER=dummy
wait_for "the game started again after the first was killed" 10 intro_shown
press Escape
ends_cleanly 10
echo "desktop session passed"
