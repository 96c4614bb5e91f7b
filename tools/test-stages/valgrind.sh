#!/usr/bin/env bash
# valgrind memcheck over the in-process scripted session of the normal
# build: any memory error, or a block definitely or indirectly lost, fails.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
programs=("$root/build/tests/test_session")
if [ ! -x "${programs[0]}" ]; then
  # Until the session test exists, the menus and matches stand in for it.
  programs=("$root/build/tests/test_menu" "$root/build/tests/test_game")
fi

# Outside CTest nothing else ends a program that hangs; the session takes
# about 30 s under valgrind.
limit=600
status=0
for program in "${programs[@]}"; do
  log="$root/build/valgrind-$(basename "$program").log"
  if timeout -k 10 "$limit" env "${test_env[@]}" valgrind --error-exitcode=1 --leak-check=full \
      --errors-for-leak-kinds=definite,indirect --show-leak-kinds=definite,indirect \
      --num-callers=30 --suppressions="$root/tools/suppressions/valgrind.supp" \
      --log-file="$log" "$program" >"$log.out" 2>&1; then
    echo "$(basename "$program"):"
  else
    echo "$(basename "$program"): FAILED (logs: $log, $log.out; the limit is ${limit} s)" >&2
    tail -n 40 "$log.out" >&2
    status=1
  fi
  grep -E 'definitely lost:|indirectly lost:|ERROR SUMMARY:' "$log" | sed 's/^==[0-9]*== */  /'
done
exit "$status"
