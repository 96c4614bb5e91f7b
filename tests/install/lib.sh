# shellcheck shell=bash
# Shared helpers of the installation tests: a scratch folder removed on exit
# (read-only parts included) and an installation into a prefix inside it.
# Usage: source lib.sh BUILD_DIR SOURCE_DIR
set -euo pipefail

BUILD_DIR="$1"
export SOURCE_DIR="$2"
WORK="$(mktemp -d /tmp/tirevane-install-XXXXXX)"

cleanup_work() {
  chmod -R u+w "$WORK" 2>/dev/null || true
  if [ -z "${KEEP_WORK:-}" ]; then rm -rf "$WORK"; fi
}
trap cleanup_work EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Installs the build into the prefix $1.
install_into() {
  cmake --install "$BUILD_DIR" --prefix "$1" >"$WORK/install.log" 2>&1 ||
    fail "cmake --install failed: $(cat "$WORK/install.log")"
}

# One line per entry of a tree: type, mode, size, link target and content
# hash, so any write, chmod or new file shows as a difference.
snapshot() {
  (cd "$1" && find . -printf '%y %m %s %p -> %l\n' | sort &&
    find . -type f -print0 | sort -z | xargs -0 md5sum)
}

# Runs the launcher $1 in dry-run mode with the remaining VAR=value pairs
# as its only environment besides PATH.
dry_run() {
  local launcher="$1"
  shift
  env -i PATH="$PATH" TIREVANE_LAUNCHER_DRY_RUN=1 "$@" "$launcher"
}
