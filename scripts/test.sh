#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs the whole
# test suite under them, then builds the Release configuration (the one the demo, the
# benchmarks and users run) and runs the suite again: a result must not depend on the build.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
jobs=$(nproc)

build=build/sanitize
cmake -S . -B "$build" -DLUMIDRAX_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$build" --output-on-failure -j "$jobs" --timeout 600

# The demo's build (build/demo): the same folder scripts/demo.sh uses, so neither builds twice.
# The benchmarks are built too (not run), so they keep compiling against the code and the test
# support they share.
build=build/demo
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DLUMIDRAX_BENCH=ON >/dev/null
cmake --build "$build" -j "$jobs"
ctest --test-dir "$build" --output-on-failure -j "$jobs" --timeout 600
