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
GAME_BIN="$prefix/bin/tirevane"
GAME_DIR="$WORK/elsewhere"
mkdir "$GAME_DIR"
config="$WORK/xdg/tirevane/System/01/config.conf"
start_display

# 1. Through the intro to the main menu with its red title.
start_game XDG_DATA_HOME="$WORK/xdg" ALSOFT_DRIVERS=null
pointer_to 400 300
press space
sleep 2
pointer_to 790 590
shot "$WORK/menu.png"
[ "$(count_pixels "$WORK/menu.png" 800x90+0+11 'r>0.7 && g<0.3 && b<0.3')" -gt 500 ] ||
  fail "the installed game shows no main menu"

# 2. Options -> Editer difficulte -> Insane rewrites the player's options file.
before="$(cat "$config")"
click_at 400 344
click_at 400 425
click_at 400 395
sleep 2.5
[ "$(cat "$config")" != "$before" ] && grep -q 'Difficulte ] -> 2' "$config" ||
  fail "choosing Insane did not reach $config: $(cat "$config")"
[ -f "$config" ] && [ ! -L "$config" ] || fail "the options file is no longer a real file"

# 3. Escape back to the main menu and out: a clean exit, nothing printed.
for _ in 1 2 3; do
  is_running || break
  pointer_to 400 300
  press Escape
  sleep 1.5
done
wait_exit 10
[ "$EXIT_STATUS" = 0 ] || fail "the installed game exited with $EXIT_STATUS"
[ ! -s "$WORK/game.err" ] || fail "the game printed: $(cat "$WORK/game.err")"
[ -z "$(ls -A "$GAME_DIR")" ] || fail "the game wrote into the folder it was started from"
installed_state >"$WORK/after"
diff -u "$WORK/before" "$WORK/after" || fail "the installation was modified"
echo "installed session passed"
