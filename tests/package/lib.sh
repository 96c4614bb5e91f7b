# shellcheck shell=bash
# Shared by the package tests. Usage: source lib.sh BUILD_DIR SOURCE_DIR GAME_BIN
set -euo pipefail
BUILD_DIR="$1"
PKG_SOURCE_DIR="$2"
PKG_GAME_BIN="$3"
# Where package_deb leaves the package for the tests that need it.
PACKAGE_OUT="$BUILD_DIR/package-test"

pkg_fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The version the program reports, e.g. 1.0.0.
game_version() {
  "$PKG_GAME_BIN" --version | head -n1 | sed -n 's/^tirevane \([0-9.]*\)$/\1/p'
}

# The one package package_deb made.
the_package() {
  local debs=("$PACKAGE_OUT"/tirevane_*.deb)
  [ "${#debs[@]}" = 1 ] && [ -f "${debs[0]}" ] || pkg_fail "no single package in $PACKAGE_OUT"
  printf '%s\n' "${debs[0]}"
}
