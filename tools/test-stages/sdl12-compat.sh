#!/usr/bin/env bash
# The unit-test programs of the normal build against sdl12-compat, the other
# SDL 1.2 implementation players may have. Its packages conflict with the
# classic runtime, so they are only unpacked into the build folder (kept as
# a cache) and loaded through LD_LIBRARY_PATH.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cache="$root/build-sdl12compat"
packages=(libsdl1.2-compat libsdl1.2-compat-shim)
libdir="$cache/root/usr/lib/x86_64-linux-gnu/sdl12-compat"

download() {
  (cd "$cache/debs" && apt-get download -q "${packages[@]}" 2>&1 | grep -v '^W: Download is performed unsandboxed' || true)
  for p in "${packages[@]}"; do
    compgen -G "$cache/debs/${p}_*.deb" >/dev/null || return 1
  done
}

mkdir -p "$cache/debs"
if [ ! -e "$libdir/libSDL-1.2.so.0" ]; then
  if ! download; then
    # A fresh system may have no package lists yet.
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -q
    download || { echo "could not download ${packages[*]}" >&2; exit 1; }
  fi
  rm -rf "$cache/root"
  for deb in "$cache"/debs/*.deb; do
    dpkg -x "$deb" "$cache/root"
  done
fi

# Make sure the tests really load sdl12-compat, not the classic library.
for program in "$root"/build/tests/test_*; do
  loaded="$(LD_LIBRARY_PATH="$libdir" ldd "$program" | grep 'libSDL-1.2' || true)"
  case "$loaded" in
    "" | *"$libdir"*) ;;
    *) echo "$(basename "$program") does not load sdl12-compat: $loaded" >&2; exit 1 ;;
  esac
done
echo "SDL 1.2 from $libdir"

# The unit tests and the end-to-end sessions of the real game; the source
# check, the installation and package tests do not depend on which SDL is
# loaded.
cd "$root/build"
LD_LIBRARY_PATH="$libdir" ctest --output-on-failure -j"$jobs" -E '^(install_|package_|clang_tidy)'
