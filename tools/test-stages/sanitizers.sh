#!/usr/bin/env bash
# The suite again in a build with AddressSanitizer (and its leak
# checker) and UndefinedBehaviorSanitizer; the first report stops the test
# program, which fails its tests.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
build="$root/build-asan"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTIREVANE_SANITIZE=address,undefined -DTIREVANE_BENCH=OFF -DTIREVANE_WERROR="$werror" >/dev/null
cmake --build "$build" -j"$jobs"

export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS="suppressions=$root/tools/suppressions/lsan.supp:print_suppressions=0"
cd "$build"
# Not the package tests nor clang-tidy: they read files and sources the
# first stage has read. Of the sessions of the real game, only the one that
# plays a whole game with its sound (the audio thread, the WMA decoder's
# process, both save files): the others drive the same code through X and
# check its timing, which the unit tests, the in-process session and the
# installed session already take through the sanitizers.
ctest --output-on-failure -j"$jobs" -E '^(package_|clang_tidy$|e2e_)'
ctest --output-on-failure -R '^e2e_play_session$'
