#!/usr/bin/env bash
# Without a display the game says so in one line and exits with status 1,
# instead of falling back to SDL's text-mode drivers.
source "$(dirname "$0")/lib.sh"
prepare_game_dir

check_refusal() {  # description, then the environment to run the game with
  local what="$1"; shift
  local status=0
  (cd "$GAME_DIR" && exec env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy "$@" \
    "$GAME_BIN") </dev/null >"$WORK/out" 2>"$WORK/err" || status=$?
  [ "$status" = 1 ] || fail "$what: exit status $status"
  [ ! -s "$WORK/out" ] || fail "$what: wrote to standard output: $(head -c 200 "$WORK/out" | cat -v)"
  [ "$(wc -l <"$WORK/err")" = 1 ] || fail "$what: not one line: $(cat -v "$WORK/err")"
  grep -q '^tirevane: .*display' "$WORK/err" || fail "$what: unclear message: $(cat "$WORK/err")"
}

check_refusal "no DISPLAY"
check_refusal "an unreachable DISPLAY" DISPLAY=:250
echo "no-display session passed"
