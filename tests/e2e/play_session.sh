#!/usr/bin/env bash
# One whole session as a person plays it: choose a visor, play and leave a
# match after a hit, choose a difficulty, resume the match and let it run
# out, quit. The sound the game played is recorded: the music plays, and
# the hit's shot stands out from it.
source "$(dirname "$0")/lib.sh"
start_display
prepare_game_dir

config="$GAME_DIR/System/01/config.conf"
save="$GAME_DIR/System/02/user.saved"
sound="$WORK/sound.raw"

config_byte_is() { [ "$(byte_at "$config" "$1")" = "$2" ]; }
config_ends_with() { [ "$(last_byte "$config")" = "$1" ]; }
save_is() { [ "$(cat "$save")" = "$1" ]; }
save_resumable() { head -c 14 "$save" | grep -q '^\[ ! \] -> True'; }
# The recording so far, in bytes of whole frames: 176400 a second.
recorded() { echo $(( $(stat -c %s "$sound") / 4 * 4 )); }
recorded_past() { [ "$(recorded)" -ge "$1" ]; }
# The RMS level, 0 to 1, of $2 bytes of the recording from byte $1.
level_of() {
  sox -t raw -r 44100 -e signed -b 16 -c 2 "$sound" -n trim "$(($1 / 4))s" "$(($2 / 4))s" stat 2>&1 |
    awk '/RMS +amplitude/ {print $3}'
}

# SDL's disk driver writes what the game plays to a file (raw 16-bit stereo
# at 44100 Hz, as the game asks), one callback period (512 frames, 11 ms)
# at a time: paced near real time so the sounds keep their places.
start_game SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/sound.raw" SDL_DISKAUDIODELAY=11
skip_intro

# Options -> "Editer viseur" -> "Heavy Weapon".
click_at 400 349
wait_for "the options screen" 10 menu_shown 120 390
click_at 400 160
wait_for "the visor menu" 10 menu_shown 0 100 200 300 400 500
[ -n "${SCREENSHOT_DIR:-}" ] && cp "$WORK/now.png" "$SCREENSHOT_DIR/visors.png"
click_at 400 340
wait_for "visor 3 in the options file" 10 config_byte_is 14 3
wait_for "the main menu after the choice" 10 main_menu_shown

# "Jouer" offers only "Nouvelle partie".
click_at 400 151
pointer_to 790 590
wait_for "the play menu" 10 menu_shown 255
no_label_at "$WORK/now.png" 120 390 || fail "a resume item is offered without a saved match"

# A new game (Easy): hit a live target, then leave with Escape.
click_at 400 295
wait_for "the match" 10 match_shown
before_ms=$(now_ms)
before=$(recorded)
hit_a_target
# Where the hit's click falls in the recording, which grows at the clock's
# pace.
after_ms=$(now_ms)
after=$(recorded)
hit=$(( (before + (HIT_MS - before_ms) * (after - before) / (after_ms - before_ms)) / 4 * 4 ))
wait_for "the hit's shot recorded" 10 recorded_past $((hit + 44100))
if [ -n "${SCREENSHOT_DIR:-}" ]; then
  # For the README: a frame with several targets on their way up.
  lively() { shot "$WORK/now.png"; [ "$(count_pixels "$WORK/now.png" 800x440+0+100 'r+g+b>0.1')" -gt 2500 ]; }
  wait_for "a frame with several targets" 10 lively
  cp "$WORK/now.png" "$SCREENSHOT_DIR/match.png"
fi
press Escape
wait_for "a resumable save file" 10 save_resumable
grep -aq "saved:Visor=3\]" "$save" || fail "visor 3 not saved"
grep -aq "saved:Diff=0\]" "$save" || fail "difficulty 0 not saved"
score="$(grep -ao 'GameScore=[0-9]*' "$save" | cut -d= -f2)"
[ "${score:-0}" -gt 0 ] || fail "the saved score is not above 0: $(cat -v "$save")"
echo "first match left with score $score"
wait_for "the main menu after the match" 10 main_menu_shown

# Options -> "Editer difficulte" -> "Insane".
click_at 400 349
wait_for "the options screen" 10 menu_shown 120 390
click_at 400 430
wait_for "the difficulty menu" 10 menu_shown 150 255 360
click_at 400 400
wait_for "difficulty 2 in the options file" 10 config_ends_with 2
wait_for "the main menu after the choice" 10 main_menu_shown

# "Jouer" now offers "Reprendre partie" above "Nouvelle partie".
click_at 400 151
pointer_to 790 590
wait_for "the play menu with resume" 10 menu_shown 120 390

# Resume and let the countdown run out (Insane: 15 s), then any key.
click_at 400 160
wait_for "the resumed match" 10 match_shown
music_from=$(recorded)
wait_for "the game-over screen" 40 game_over_shown
music_to=$(recorded)
press a
wait_for "the save file reset after game over" 10 save_is \
  "$(printf '[ ! ] -> False\n[\247saved:Visor=3][\247saved:Diff=2][\247saved:GameScore=0]')"
wait_for "the main menu after game over" 10 main_menu_shown

# "Quitter".
click_at 400 547
wait_exit 10
[ "$EXIT_STATUS" = 0 ] || fail "Quitter exited with status $EXIT_STATUS"

# The music plays alone through the resumed match, untouched; the quarter
# of a second from the hit's click, its shot over the music, is far louder.
music_rms="$(level_of "$music_from" $((music_to - music_from)))"
shot_rms="$(level_of "$hit" 44100)"
echo "RMS of the music alone $music_rms, with the hit's shot $shot_rms"
awk -v m="$music_rms" 'BEGIN { exit !(m > 0.05) }' || fail "the music is silent (RMS $music_rms)"
awk -v m="$music_rms" -v s="$shot_rms" 'BEGIN { exit !(s > 2 * m) }' ||
  fail "the hit's shot does not stand out from the music (RMS $shot_rms against $music_rms)"
# The disk driver announces itself in two lines on standard error (SDL 1.2
# as a WARNING, SDL2 under sdl12-compat as CRITICAL): only those are allowed.
grep -v -x -e 'WARNING: You are using the SDL disk writer audio driver!' \
  -e " Writing to file \[$WORK/sound.raw\]." \
  -e 'CRITICAL: You are using the SDL disk i/o audio driver!' \
  -e "CRITICAL:  Writing to file \[$WORK/sound.raw\]." "$WORK/game.err" >"$WORK/game.err.own" || true
[ ! -s "$WORK/game.err.own" ] || fail "the game printed: $(cat "$WORK/game.err.own")"
echo "play session passed"
