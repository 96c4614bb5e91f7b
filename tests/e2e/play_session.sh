#!/usr/bin/env bash
# One whole session as a person plays it: choose a visor, play and leave a
# match after a hit, choose a difficulty, resume the match and let it run
# out, quit. The sound the game played is recorded and checked.
source "$(dirname "$0")/lib.sh"
start_display
prepare_game_dir

green='g>0.7 && r<0.3 && b<0.3'
red='r>0.7 && g<0.3 && b<0.3'
config="$GAME_DIR/System/01/config.conf"
save="$GAME_DIR/System/02/user.saved"

cat >"$WORK/alsoft.conf" <<CONF
[general]
frequency = 44100
channels = stereo
sample-type = int16
[wave]
file = $WORK/sound.wav
CONF

labels_at() {  # screenshot, then rows that must show a green label
  local png="$1"; shift
  for row in "$@"; do
    [ "$(count_pixels "$png" 800x50+0+$((row + 10)) "$green")" -gt 200 ] || return 1
  done
}
no_label_at() {
  local png="$1"; shift
  for row in "$@"; do
    [ "$(count_pixels "$png" 800x50+0+$((row + 10)) "$green")" -lt 20 ] || return 1
  done
}

start_game ALSOFT_DRIVERS=wave ALSOFT_CONF="$WORK/alsoft.conf"
pointer_to 400 300
press space
sleep 2

# Options -> "Editer viseur" -> "Heavy Weapon".
click_at 400 349
click_at 400 160
click_at 400 340
sleep 1.8
[ "$(byte_at "$config" 14)" = 3 ] || fail "the visor was not written as 3"

# "Jouer" offers only "Nouvelle partie".
click_at 400 151
pointer_to 790 590
shot "$WORK/play1.png"
labels_at "$WORK/play1.png" 255 || fail "no Nouvelle partie at row 255"
no_label_at "$WORK/play1.png" 120 390 || fail "a resume item is offered without a saved match"

# A new game (Easy): find live targets and shoot until the score moves.
click_at 400 295
sleep 0.6
px=400; py=300
shot "$WORK/match.png"
before="$(score_digest "$WORK/match.png")"
hit=""
for attempt in $(seq 12); do
  shot "$WORK/match.png"
  taken=$(date +%s%N)
  target="$(find_target "$WORK/match.png" "$px" "$py")"
  [ -n "$target" ] || { sleep 0.2; continue; }
  read -r tx ty <<<"$target"
  # Easy targets rise about 66 pixels a second: aim where it is now.
  rise=$(( ($(date +%s%N) - taken) * 66 / 1000000000 + 5 ))
  px=$tx; py=$((ty - rise))
  [ "$py" -gt 90 ] || continue
  xdotool mousemove --window "$WID" "$px" "$py" click 1
  sleep 0.15
  [ -n "${SCREENSHOT_DIR:-}" ] && [ "$attempt" -le 2 ] && shot "$SCREENSHOT_DIR/match.png"
  shot "$WORK/after.png"
  if [ "$(score_digest "$WORK/after.png")" != "$before" ]; then
    hit=yes
    break
  fi
done
[ -n "$hit" ] || fail "no target could be hit"
press Escape
sleep 1.8
head -c 14 "$save" | grep -q '^\[ ! \] -> True' || fail "the save file does not offer to resume: $(cat -v "$save")"
grep -aq "saved:Visor=3\]" "$save" || fail "visor 3 not saved"
grep -aq "saved:Diff=0\]" "$save" || fail "difficulty 0 not saved"
score="$(grep -ao 'GameScore=[0-9]*' "$save" | cut -d= -f2)"
[ "${score:-0}" -gt 0 ] || fail "the saved score is not above 0: $(cat -v "$save")"
echo "first match left with score $score"

# Options -> "Editer difficulte" -> "Insane".
click_at 400 349
click_at 400 430
click_at 400 400
sleep 1.8
[ "$(last_byte "$config")" = 2 ] || fail "the difficulty was not written as 2"

# "Jouer" now offers "Reprendre partie" above "Nouvelle partie".
click_at 400 151
pointer_to 790 590
shot "$WORK/play2.png"
labels_at "$WORK/play2.png" 120 390 || fail "the play menu does not offer to resume"

# Resume and let the countdown run out (Insane: 15 s), then any key.
click_at 400 160
sleep 17
shot "$WORK/over.png"
[ "$(count_pixels "$WORK/over.png" 600x120+100+240 "$red")" -gt 300 ] || fail "no game-over screen"
press a
sleep 1.8
[ "$(cat "$save")" = "$(printf '[ ! ] -> False\n[\247saved:Visor=3][\247saved:Diff=2][\247saved:GameScore=0]')" ] \
  || fail "unexpected save file after game over: $(cat -v "$save")"

# "Quitter".
pointer_to 790 590
click_at 400 547
wait_exit 10
[ "$EXIT_STATUS" = 0 ] || fail "Quitter exited with status $EXIT_STATUS"

# The recorded sound is not silent.
stats="$(sox "$WORK/sound.wav" -n stat 2>&1)"
rms="$(echo "$stats" | awk '/RMS +amplitude/ {print $3}')"
length="$(echo "$stats" | awk '/Length \(seconds\)/ {print $3}')"
awk -v r="$rms" 'BEGIN { exit !(r > 0.01) }' || fail "the recorded sound is silent (RMS $rms)"
echo "recorded ${length}s of sound, RMS $rms"
[ ! -s "$WORK/game.err" ] || fail "the game printed: $(cat "$WORK/game.err")"
echo "play session passed"
