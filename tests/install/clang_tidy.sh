#!/usr/bin/env bash
# clang-tidy with the committed configuration reports nothing on src/.
# Usage: clang_tidy.sh BUILD_DIR SOURCE_DIR   (exit 77: clang-tidy absent)
set -euo pipefail
build_dir="$1"
source_dir="$2"

tidy=""
for candidate in clang-tidy clang-tidy-14; do
  if command -v "$candidate" >/dev/null; then
    tidy="$candidate"
    break
  fi
done
if [ -z "$tidy" ]; then
  echo "clang-tidy is not installed: skipped"
  exit 77
fi
[ -f "$build_dir/compile_commands.json" ] || { echo "FAIL: no compile_commands.json in $build_dir" >&2; exit 1; }

out="$(mktemp)"
trap 'rm -f "$out"' EXIT
status=0
find "$source_dir/src" -name '*.cpp' -print0 | sort -z |
  xargs -0 -P2 -n4 "$tidy" -p "$build_dir" --quiet --warnings-as-errors='*' >"$out" 2>&1 || status=$?
# Only diagnostics count; clang-tidy also prints how many it suppressed.
if [ "$status" -ne 0 ] || grep -q -E '(warning|error):' "$out"; then
  grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$' "$out" >&2 || true
  echo "FAIL: clang-tidy found issues in src/ (status $status)" >&2
  exit 1
fi
echo "clang-tidy: $(find "$source_dir/src" -name '*.cpp' | wc -l) files clean"
