#!/usr/bin/env bash
# The installed game started by its launcher from an unrelated folder in a
# virtual X display: it shows its menu, saves a changed option into the
# player's folder, quits cleanly, and leaves the installation as it was.
# Usage: installed_session.sh BUILD_DIR SOURCE_DIR
build_dir="$1"
source "$2/tests/e2e/lib.sh" "" "$2"
prefix="$WORK/prefix"
cmake --install "$build_dir" --prefix "$prefix" >"$WORK/install.log" 2>&1 ||
  fail "cmake --install failed: $(cat "$WORK/install.log")"
trap 'chmod -R u+w "$WORK" 2>/dev/null || true; cleanup' EXIT
chmod -R a-w "$prefix"
installed_state() { (cd "$prefix" && find . -printf '%y %m %s %p\n' | sort && find . -type f -exec md5sum {} + | sort); }
installed_state >"$WORK/before"

# lib.sh starts GAME_BIN from GAME_DIR: here the launcher from an empty folder.
GAME_BIN="$prefix/games/tirevane"
GAME_DIR="$WORK/elsewhere"
mkdir "$GAME_DIR"
config="$WORK/xdg/tirevane/System/01/config.conf"
start_display

# 1. Through the intro to the main menu with its red title. The command
#    hands its own process to the game, so signals reach the game itself.
start_game XDG_DATA_HOME="$WORK/xdg" SDL_AUDIODRIVER=dummy
[ "$(readlink "/proc/$GAME_PID/exe")" = "$(readlink -f "$prefix/libexec/tirevane/tirevane")" ] ||
  fail "the tirevane command still runs as $(readlink "/proc/$GAME_PID/exe") instead of the game"
skip_intro

# 2. Options -> Editer difficulte -> Insane rewrites the player's options file.
before="$(cat "$config")"
insane_saved() { [ "$(cat "$config")" != "$before" ] && grep -q 'Difficulte ] -> 2' "$config"; }
click_at 400 349
wait_for "the options screen" 10 menu_shown 120 390
click_at 400 430
wait_for "the difficulty menu" 10 menu_shown 150 255 360
click_at 400 400
wait_for "Insane in $config" 10 insane_saved
[ -f "$config" ] && [ ! -L "$config" ] || fail "the options file is no longer a real file"

# 3. Back on the main menu, Escape ends the game: a clean exit, nothing printed.
wait_for "the main menu after the choice" 10 main_menu_shown
press Escape
ends_cleanly 10
[ -z "$(ls -A "$GAME_DIR")" ] || fail "the game wrote into the folder it was started from"
installed_state >"$WORK/after"
diff -u "$WORK/before" "$WORK/after" || fail "the installation was modified"
echo "installed session passed"
