#!/usr/bin/env bash
# Installs what is needed, builds Zelvo and runs every test: once in the normal build, once in a
# build with AddressSanitizer and UndefinedBehaviorSanitizer; then the file runs on several workers
# again in a build with ThreadSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
# Every comparison runs: a test that misses a tool or file the line above installs fails.
export ZELVO_REQUIRE_ORACLES=1

"$root/scripts/build.sh" "$root/build"
(cd "$root/build" && ctest --output-on-failure --parallel "$(nproc)" --timeout 900)

"$root/scripts/build.sh" "$root/build-asan" -DZELVO_SANITIZE=ON
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd "$root/build-asan" && ctest --output-on-failure --parallel "$(nproc)" --timeout 900)

"$root/scripts/build.sh" "$root/build-tsan" -DZELVO_SANITIZE_THREAD=ON
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
(cd "$root/build-tsan" && ctest --output-on-failure --timeout 900 -R 'Workers|Drivers|Batch')
