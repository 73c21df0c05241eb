#!/usr/bin/env bash
# Builds and runs every test twice: in a normal build, then in a build with
# AddressSanitizer and UndefinedBehaviorSanitizer. Both must pass. Between
# them, each fuzz target runs a few seconds in a clang build of its own.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"

echo "== normal build"
"$root/scripts/build.sh" "$root/build/test" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTW_BUILD_BENCH=OFF
echo "== sanitizer build"
"$root/scripts/build.sh" "$root/build/sanitize" -DCMAKE_BUILD_TYPE=Debug -DTW_SANITIZE=ON \
    -DTW_BUILD_BENCH=OFF

echo "== fuzz build (clang, toolkit-free libraries and fuzz targets)"
"$root/scripts/build.sh" "$root/build/fuzz" -DTW_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo

echo "== tests, normal build"
ctest --test-dir "$root/build/test" --output-on-failure -j2

echo "== fuzz smoke runs"
ctest --test-dir "$root/build/fuzz" --output-on-failure -j2 -L fuzz

echo "== tests, sanitizer build"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$root/build/sanitize" --output-on-failure -j2
