#!/usr/bin/env bash
# Input as a hurried player gives it: a double click on "Retour", the wheel
# turned over empty space in a match, and fast sweeps of the pointer.
source "$(dirname "$0")/lib.sh"
start_display
prepare_game_dir
start_game SDL_AUDIODRIVER=dummy
skip_intro

# 1. A double click on "Retour": the second click lands during the wait
# that follows the first and must not press "Quitter", which stands under
# it on the main menu.
click_at 400 250
wait_for "the how-to-play page" 10 menu_shown 510
pointer_to 400 550
after_a_look
double_click
wait_for "the main menu after Retour" 10 main_menu_shown
# Still on the main menu, not quitting: "Options" opens.
click_at 400 349
wait_for "the options screen" 10 menu_shown 120 390
press Escape
wait_for "the main menu after the options" 10 main_menu_shown

# 2. A match (Easy): after a hit, wheel turns over empty space leave the
# score as it is.
click_at 400 151
wait_for "the play menu" 10 menu_shown 255
click_at 400 295
wait_for "the match" 10 match_shown
hit_a_target

# Nothing drawn in a column from 40 px above the spot to 120 px below it,
# where a target rising during the check could come from.
empty_at() {
  shot "$WORK/now.png"
  [ "$(count_pixels "$WORK/now.png" 80x160+$(($1 - 40))+$(($2 - 40)) 'r+g+b>0.1')" = 0 ]
}
# The visor centred on the given point: its picture, the outlined white
# cross or over a live target the red wheel, stands there pixel for pixel
# but for its key colour. A target, even a white one, is never taken for it.
visor_at() {
  local picture
  convert "$1" -crop "32x32+$(($2 - 16))+$(($3 - 16))" +repage "$WORK/spot.png"
  for picture in Cursor_Curs01 Cursor_Curs02; do
    convert "$WORK/spot.png" \( "$GAME_DIR/System/01/Menu/$picture.bmp" -transparent yellow \) \
      -composite "$WORK/visor.png"
    [ "$(compare -metric AE "$WORK/spot.png" "$WORK/visor.png" null: 2>&1)" = 0 ] && return 0
  done
  return 1
}
visor_shown_at() {
  shot "$WORK/now.png"
  visor_at "$WORK/now.png" "$1" "$2"
}

spot=""
for candidate in "70 90" "730 90" "70 250" "730 250" "400 90" "230 170" "570 170"; do
  read -r ex ey <<<"$candidate"
  if empty_at "$ex" "$ey"; then spot="$candidate"; break; fi
done
[ -n "$spot" ] || fail "no empty spot for the wheel"
pointer_to "$ex" "$ey"
wait_for "the visor on the empty spot" 5 visor_shown_at "$ex" "$ey"
before="$(score_digest "$WORK/now.png")"
wheel 4 4 5 5 4 5
# The game takes events in order: once it shows the visor moved by this
# later motion, it has handled every wheel turn before it.
pointer_to $((ex + 12)) "$ey"
wait_for "the visor after the wheel turns" 5 visor_shown_at $((ex + 12)) "$ey"
[ "$(score_digest "$WORK/now.png")" = "$before" ] || fail "turning the wheel changed the score"

# 3. Fast sweeps across the field for over a second, a motion every 2 ms
# as a fast gaming mouse reports them, about four times what the frame
# loop passes: the visor must be where the pointer stopped as soon as the
# next frames are drawn, not replay a backlog. (Much faster bursts would
# overflow SDL's own event queue, which then loses motion on its own.)
sweep=()
for i in $(seq 0 599); do
  sweep+=(mousemove --window "$WID" $((40 + (i * 37) % 720)) $((40 + (i * 53) % 480)) sleep 0.002)
done
sweep+=(mousemove --window "$WID" 640 120)
xdotool "${sweep[@]}"
stopped=$(now_ms)
# Raw captures as fast as they come, judged afterwards so the judging does
# not slow the capturing. Each is timed when it is asked for: it shows the
# window as it was then, give or take xwd's start, not when its transfer
# and file are done.
for n in $(seq 0 19); do
  echo "$(( $(now_ms) - stopped ))" >"$WORK/sweep$n.ms"
  xwd -silent -id "$WID" >"$WORK/sweep$n.xwd"
done
caught=""
for n in $(seq 0 19); do
  convert "xwd:$WORK/sweep$n.xwd" "$WORK/sweep$n.png"
  if visor_at "$WORK/sweep$n.png" 640 120; then
    caught="$(cat "$WORK/sweep$n.ms")"
    break
  fi
done
[ -n "$caught" ] || fail "the visor was not where the pointer stopped $(cat "$WORK/sweep19.ms") ms later"
echo "visor at the pointer ${caught} ms after the sweep stopped"
# Two frames are 30 ms, with room for the loaded machine.
[ "$caught" -le 60 ] || fail "the visor reached the pointer only ${caught} ms after it stopped"

press Escape
wait_for "the main menu after the match" 10 main_menu_shown
click_at 400 547
ends_cleanly 10
echo "input session passed"
