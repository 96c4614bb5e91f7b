#!/usr/bin/env bash
# The per-user game folder the installed launcher prepares: real folders,
# linked assets, data files copied once, a read-only installation untouched.
source "$(dirname "$0")/lib.sh"
prefix="$WORK/prefix"
install_into "$prefix"
launcher="$prefix/games/tirevane"
data="$prefix/share/tirevane"
xdg="$WORK/xdg"
game="$xdg/tirevane"
chmod -R a-w "$prefix"
snapshot "$prefix" >"$WORK/before"
mkdir "$WORK/elsewhere"

run() {
  (cd "$WORK/elsewhere" && dry_run "$launcher" XDG_DATA_HOME="$xdg" HOME="$WORK/home") \
    >"$WORK/run.out" 2>&1 || fail "the launcher failed: $(cat "$WORK/run.out")"
}

# Every installed file has its place in the game folder: the two data
# files as real copies, everything else as a link to the installed file,
# inside real (not linked) folders.
check_game_folder() {
  local rel
  while IFS= read -r -d '' rel; do
    if [ -d "$data/$rel" ]; then
      [ -d "$game/$rel" ] && [ ! -L "$game/$rel" ] || fail "$rel is not a real folder"
      [ -w "$game/$rel" ] || fail "$rel is not writable"
    elif [ "$rel" = System/01/config.conf ] || [ "$rel" = System/02/user.saved ]; then
      [ -f "$game/$rel" ] && [ ! -L "$game/$rel" ] || fail "$rel is not a real file"
    else
      [ -L "$game/$rel" ] && [ "$game/$rel" -ef "$data/$rel" ] || fail "$rel is not linked to the installation"
    fi
  done < <(cd "$data" && find . -mindepth 1 -printf '%P\0')
}

# 1. First run from another folder: the game folder is prepared and the
#    dry run names it and the installed program.
run
grep -qx "game folder: $game" "$WORK/run.out" || fail "unexpected output: $(cat "$WORK/run.out")"
grep -qx "game program: $prefix/libexec/tirevane/tirevane" "$WORK/run.out" ||
  fail "unexpected program: $(cat "$WORK/run.out")"
check_game_folder
cmp -s "$game/System/01/config.conf" "$data/System/01/config.conf" || fail "config.conf is not a copy"
cmp -s "$game/System/02/user.saved" "$data/System/02/user.saved" || fail "user.saved is not a copy"
[ "$(stat -c %a "$game/System/01/config.conf")" = 644 ] || fail "config.conf copy is not 0644"
[ -z "$(ls -A "$WORK/elsewhere")" ] || fail "the launcher wrote into its working folder"

# 2. The game's atomic replacement (a temporary beside the file, renamed
#    over it) works there and never reaches the installation.
printf 'visor 3' >"$game/System/01/config.conf.tmp"
mv "$game/System/01/config.conf.tmp" "$game/System/01/config.conf"
printf 'score 42' >"$game/System/02/user.saved"

# 3. A second run keeps the player's data, and repairs missing, replaced and
#    stale links.
rm "$game/System/02/About.bmp"
ln -sfn /nonexistent/About.bmp "$game/System/01/Menu/main.mp3"
rm "$game/System/Sounds/sniper.wav"
run
[ "$(cat "$game/System/01/config.conf")" = 'visor 3' ] || fail "config.conf was overwritten"
[ "$(cat "$game/System/02/user.saved")" = 'score 42' ] || fail "user.saved was overwritten"
check_game_folder

# 4. A data file the player deleted comes back as a fresh copy; a link in
#    place of one or of a folder (older layouts) becomes a real copy.
rm "$game/System/02/user.saved"
rm -r "$game/System/Sounds"
ln -s "$data/System/Sounds" "$game/System/Sounds"
rm "$game/System/01/config.conf"
ln -s "$data/System/01/config.conf" "$game/System/01/config.conf"
run
check_game_folder
cmp -s "$game/System/02/user.saved" "$data/System/02/user.saved" || fail "user.saved was not copied again"

# 5. A file the player put in place of an asset is left alone.
rm "$game/System/02/How_play.bmp"
echo mine >"$game/System/02/How_play.bmp"
run
[ "$(cat "$game/System/02/How_play.bmp")" = mine ] || fail "the player's own file was replaced"
rm "$game/System/02/How_play.bmp"
run
check_game_folder

snapshot "$prefix" >"$WORK/after"
diff -u "$WORK/before" "$WORK/after" || fail "the installation was modified"

# 6. An upgrade: a new asset gets linked, a dropped one loses its link,
#    the data files stay.
printf 'visor 5' >"$game/System/01/config.conf"
chmod -R u+w "$prefix"
echo new >"$data/System/Sounds/extra.wav"
rm "$data/System/Sounds/simple.wav"
chmod -R a-w "$prefix"
run
[ -L "$game/System/Sounds/extra.wav" ] || fail "a new asset was not linked"
[ ! -e "$game/System/Sounds/simple.wav" ] && [ ! -L "$game/System/Sounds/simple.wav" ] ||
  fail "the link to a dropped asset stayed"
[ "$(cat "$game/System/01/config.conf")" = 'visor 5' ] || fail "an upgrade overwrote config.conf"

# 7. Without XDG_DATA_HOME (or with a relative one, which XDG says to
#    ignore) the folder goes under ~/.local/share; without HOME either,
#    the launcher says so instead of writing somewhere odd.
(cd "$WORK/elsewhere" && dry_run "$launcher" HOME="$WORK/home" XDG_DATA_HOME=relative/dir) >/dev/null ||
  fail "the launcher failed with a relative XDG_DATA_HOME"
[ -f "$WORK/home/.local/share/tirevane/System/01/config.conf" ] || fail "no game folder under ~/.local/share"
[ ! -e "$WORK/elsewhere/relative" ] || fail "a relative XDG_DATA_HOME was used"
if out="$(dry_run "$launcher" 2>&1)"; then fail "the launcher ran without HOME"; fi
echo "$out" | grep -q 'HOME' || fail "no useful message without HOME: $out"

# 8. A game folder that would lie inside the installation is refused.
if out="$(dry_run "$launcher" XDG_DATA_HOME="$prefix/share" 2>&1)"; then
  fail "the launcher accepted the installation as game folder"
fi
echo "$out" | grep -q 'inside the installation' || fail "unclear refusal: $out"

# 9. Started through a link from another bin folder, it still finds the
#    installation.
mkdir "$WORK/bin"
ln -s "$launcher" "$WORK/bin/tirevane"
out="$(dry_run "$WORK/bin/tirevane" XDG_DATA_HOME="$WORK/xdg2")" || fail "the linked launcher failed: $out"
[ "$WORK/xdg2/tirevane/spaceage.ttf" -ef "$data/spaceage.ttf" ] || fail "the linked launcher linked no fonts"
# 10. Arguments reach the game. --help, --version and anything the game
#     rejects are answered without creating the player's folder; only a game
#     that will open its window gets it.
xdg3="$WORK/xdg3"
out="$(env -i PATH="$PATH" HOME="$WORK/home3" XDG_DATA_HOME="$xdg3" "$launcher" --help)" ||
  fail "the launcher's --help failed"
[ "$(echo "$out" | head -n1)" = "Usage : tirevane [--fullscreen]" ] || fail "--help printed: $out"
out="$(env -i PATH="$PATH" HOME="$WORK/home3" XDG_DATA_HOME="$xdg3" "$launcher" --version)" ||
  fail "the launcher's --version failed"
[ "$(echo "$out" | head -n1)" = "tirevane $("$prefix/libexec/tirevane/tirevane" --version | head -n1 | cut -d' ' -f2)" ] ||
  fail "--version printed: $out"
status=0
env -i PATH="$PATH" HOME="$WORK/home3" XDG_DATA_HOME="$xdg3" "$launcher" --fullscreen --fenetre \
  >"$WORK/bad.out" 2>"$WORK/bad.err" || status=$?
[ "$status" = 2 ] || fail "an unknown option exited with $status"
[ ! -s "$WORK/bad.out" ] || fail "an unknown option printed on stdout: $(cat "$WORK/bad.out")"
[ "$(head -n1 "$WORK/bad.err")" = "tirevane : option inconnue « --fenetre »" ] ||
  fail "an unknown option printed: $(cat "$WORK/bad.err")"
[ ! -e "$xdg3" ] && [ ! -e "$WORK/home3" ] || fail "--help, --version or a bad option created the player's folder"
out="$(env -i PATH="$PATH" TIREVANE_LAUNCHER_DRY_RUN=1 XDG_DATA_HOME="$xdg3" "$launcher" --fullscreen)" ||
  fail "--fullscreen failed: $out"
[ -f "$xdg3/tirevane/System/01/config.conf" ] || fail "--fullscreen did not prepare the player's folder"
echo "launcher passed"
