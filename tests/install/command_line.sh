#!/usr/bin/env bash
# The real program answers --help, --version and bad usage GNU-style, before
# starting any library: from an empty folder with no display, where starting
# the game itself fails.
source "$(dirname "$0")/lib.sh"
game="$BUILD_DIR/tirevane"
mkdir "$WORK/empty"

# Runs the game with the given arguments in an empty folder; sets STATUS and
# leaves its streams in $WORK/out and $WORK/err.
run() {
  STATUS=0
  (cd "$WORK/empty" && env -i PATH="$PATH" "$@" "$game" "${ARGS[@]}") \
    >"$WORK/out" 2>"$WORK/err" || STATUS=$?
}

# 1. Nothing to answer: the game tries to start and cannot, without a display
#    or, with SDL's dummy display, without its files.
ARGS=()
run
[ "$STATUS" = 1 ] || fail "the game started without a display (status $STATUS)"
ARGS=(--fullscreen)
run SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
[ "$STATUS" = 1 ] && grep -q "is missing" "$WORK/err" || fail "the game started without its files"

# 2. Help and version: stdout, status 0, nothing else, in both places.
for env_vars in "" "SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy"; do
  # shellcheck disable=SC2086 # one word per variable
  ARGS=(--help) && run $env_vars
  [ "$STATUS" = 0 ] || fail "--help exited with $STATUS: $(cat "$WORK/err")"
  [ "$(head -n1 "$WORK/out")" = "Usage : tirevane [--fullscreen]" ] || fail "--help printed: $(cat "$WORK/out")"
  grep -q '^  F11 ' "$WORK/out" || fail "--help does not tell the F11 key"
  [ ! -s "$WORK/err" ] || fail "--help printed on stderr: $(cat "$WORK/err")"
  # shellcheck disable=SC2086
  ARGS=(--fullscreen --version) && run $env_vars
  [ "$STATUS" = 0 ] || fail "--version exited with $STATUS"
  grep -qxE 'tirevane [0-9]+\.[0-9]+\.[0-9]+' <(head -n1 "$WORK/out") || fail "--version printed: $(cat "$WORK/out")"
  [ ! -s "$WORK/err" ] || fail "--version printed on stderr: $(cat "$WORK/err")"
done

# 3. An unknown option or a stray word: the usage on stderr, status 2.
for bad in --plein-ecran -h jouer; do
  ARGS=("$bad") && run SDL_VIDEODRIVER=dummy
  [ "$STATUS" = 2 ] || fail "'$bad' exited with $STATUS"
  [ ! -s "$WORK/out" ] || fail "'$bad' printed on stdout: $(cat "$WORK/out")"
  grep -qx "Usage : tirevane \[--fullscreen\]" "$WORK/err" || fail "'$bad' printed: $(cat "$WORK/err")"
done
[ -z "$(ls -A "$WORK/empty")" ] || fail "the game wrote into its folder"
echo "command line passed"
