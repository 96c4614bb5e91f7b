#!/usr/bin/env bash
# libFuzzer targets of the persistence code, each for a bounded time. The
# committed seeds are read, never written; what the fuzzer learns stays in
# the build folder's own corpus for the next run.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
build="$root/build-fuzz"
seconds="${FUZZ_SECONDS:-30}"

cmake -S "$root/fuzz" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++-14 -DTIREVANE_WERROR="$werror" >/dev/null
cmake --build "$build" -j"$jobs"

# Every rewrite of a data file is flushed to disk; on tmpfs that costs
# nothing, which makes the fuzzers some fifty times faster.
scratch_base="$build"
[ -d /dev/shm ] && [ -w /dev/shm ] && scratch_base=/dev/shm
scratch="$(mktemp -d "$scratch_base/tirevane-fuzz-XXXXXX")"
trap 'rm -rf "$scratch"' EXIT

export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
status=0
for seeds in "$root"/fuzz/corpus/*/; do
  target="$(basename "$seeds")"
  corpus="$build/corpus/$target"
  mkdir -p "$corpus" "$build/artifacts"
  log="$build/$target.log"
  # The targets change into a private folder at start: paths must be absolute.
  if TMPDIR="$scratch" "$build/$target" -max_total_time="$seconds" -timeout=10 \
      -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" \
      "$corpus" "$seeds" >"$log" 2>&1; then
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
    echo "$target: ${runs:-?} executions, no crash"
  else
    echo "$target: FAILED (log: $log)" >&2
    grep -E 'ERROR|invariant failed|SUMMARY|Test unit written' "$log" >&2 || tail -n 30 "$log" >&2
    status=1
  fi
done
exit "$status"
