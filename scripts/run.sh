#!/usr/bin/env bash
# Builds Tarnwick Editor and starts it with the given files.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build/release" -DCMAKE_BUILD_TYPE=Release \
    -DTW_BUILD_TESTS=OFF -DTW_BUILD_BENCH=OFF
exec "$root/build/release/bin/tarnwick-editor" "$@"
