#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs them.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build/bench" -DCMAKE_BUILD_TYPE=Release -DTW_BUILD_TESTS=OFF
"$root/build/bench/bench/tw_bench_load" "${1:-/tmp}"
