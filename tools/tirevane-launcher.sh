#!/usr/bin/env bash
# Installed as games/tirevane. The game opens every file relative to its
# working directory and rewrites two of them, so it runs from a per-user
# game folder: real directories mirroring the installation, its assets as
# symlinks (refreshed at every start, so an upgrade shows at once), and its
# own copies of the options and save files, which are never overwritten.
set -euo pipefail

# Filled in by CMake: where the data and the real executable are, either
# absolute or relative to this script's own folder.
data_dir='@TIREVANE_LAUNCHER_DATA@'
game_bin='@TIREVANE_LAUNCHER_GAME@'
# The files the game rewrites (atomically, by renaming in their folder).
data_files=(System/01/config.conf System/02/user.saved)

die() {
  echo "tirevane: $*" >&2
  exit 1
}

from_here() {
  case "$1" in
    /*) printf '%s\n' "$1" ;;
    *) printf '%s\n' "$here/$1" ;;
  esac
}

is_data_file() {
  local f
  for f in "${data_files[@]}"; do
    [ "$1" = "$f" ] && return 0
  done
  return 1
}

# XDG base directories must be absolute; anything else is ignored.
user_data_home() {
  case "${XDG_DATA_HOME:-}" in
    /*) printf '%s\n' "$XDG_DATA_HOME"; return ;;
  esac
  [ -n "${HOME:-}" ] || die "neither XDG_DATA_HOME nor HOME is set: no place for the game folder"
  printf '%s\n' "$HOME/.local/share"
}

# Replaces whatever symlink is at $2 by one to $1 in a single rename, so a
# game started meanwhile never finds the asset missing.
link_asset() {
  local source="$1" dest="$2" tmp
  [ -L "$dest" ] && [ "$dest" -ef "$source" ] && return 0
  if [ -e "$dest" ] && [ ! -L "$dest" ]; then
    return 0  # a file the player put there is theirs
  fi
  tmp="$(dirname "$dest")/.tirevane-link.$$"
  ln -sfn "$source" "$tmp"
  mv -Tf "$tmp" "$dest"
}

# Copies a data file only when the player has none; the hard link publishes
# the complete copy and fails rather than replace a file that appeared.
copy_data_file() {
  local source="$1" dest="$2" tmp
  if [ -L "$dest" ] && [[ "$(readlink -f "$dest")" == "$data_dir"/* ]]; then
    rm -f "$dest"  # a link into the installation would not be the player's own
  fi
  if [ -e "$dest" ] || [ -L "$dest" ]; then
    return 0
  fi
  tmp="$(dirname "$dest")/.tirevane-copy.$$"
  cp "$source" "$tmp"
  chmod 0644 "$tmp"
  ln -T "$tmp" "$dest" 2>/dev/null || true
  rm -f "$tmp"
}

mirror_installation() {
  local entry kind rel
  while IFS= read -r -d '' entry; do
    kind="${entry%% *}"
    rel="${entry#* }"
    if [ "$kind" = d ]; then
      if [ -L "$game_dir/$rel" ]; then
        rm -f "$game_dir/$rel"  # the game renames files inside: needs a real folder
      fi
      mkdir -p "$game_dir/$rel" || die "cannot create the folder $game_dir/$rel"
    elif is_data_file "$rel"; then
      copy_data_file "$data_dir/$rel" "$game_dir/$rel"
    else
      link_asset "$data_dir/$rel" "$game_dir/$rel"
    fi
  done < <(find "$data_dir" -mindepth 1 \( -type d -o -type f \) -printf '%y %P\0')
}

# Assets dropped by an upgrade leave links to nothing: remove those we made.
remove_stale_links() {
  local link target
  while IFS= read -r -d '' link; do
    target="$(readlink "$link")"
    if [[ "$target" == */tirevane/"${link#"$game_dir"/}" ]]; then
      rm -f "$link"
    fi
  done < <(find "$game_dir" -xtype l -print0)
}

here="$(cd "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")" && pwd)"
data_dir="$(from_here "$data_dir")"
game_bin="$(from_here "$game_bin")"
[ -d "$data_dir/System" ] || die "the game data is missing from $data_dir"
[ -x "$game_bin" ] || die "the game program is missing: $game_bin"
data_dir="$(cd "$data_dir" && pwd -P)"
game_bin="$(readlink -f "$game_bin")"

# Only a game that will open its window needs the player's folder: --help,
# --version and arguments the game rejects are answered by the game itself,
# from here, without creating or touching anything.
for argument in "$@"; do
  if [ "$argument" != --fullscreen ]; then
    exec "$game_bin" "$@"
  fi
done

game_dir="$(user_data_home)/tirevane"
mkdir -p "$game_dir" || die "cannot create the game folder $game_dir"
game_dir="$(cd "$game_dir" && pwd -P)"
case "$game_dir/" in
  "$data_dir"/*) die "the game folder $game_dir lies inside the installation; set XDG_DATA_HOME elsewhere" ;;
esac

mirror_installation
remove_stale_links

if [ -n "${TIREVANE_LAUNCHER_DRY_RUN:-}" ]; then
  printf 'game folder: %s\ngame program: %s\n' "$game_dir" "$game_bin"
  exit 0
fi
cd "$game_dir"
exec "$game_bin" "$@"
