#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs them:
#   bench/run.sh [DIR]          the load, editor and search benchmarks (DIR: scratch files, default /tmp)
#   bench/run.sh soak [SEED [STEPS]]   the random editing model for millions of steps
#   bench/run.sh peers [ARGS]   the program beside QScintilla, QPlainTextEdit and vim (long)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build/bench" -DCMAKE_BUILD_TYPE=Release -DTW_BUILD_TESTS=OFF
bin=$root/build/bench/bin
if [ "${1:-}" = peers ]; then
    shift
    exec "$bin/tw_bench_peers" "$@"
fi
if [ "${1:-}" = soak ]; then
    shift
    exec "$bin/tw_editor_soak" "$@"
fi
"$bin/tw_bench_load" "${1:-/tmp}"
"$bin/tw_bench_editor"
"$bin/tw_bench_search" "${1:-/tmp}"
"$bin/tw_bench_open" "${1:-/tmp}"
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$bin/tw_bench_view"
