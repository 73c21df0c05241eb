#!/usr/bin/env bash
# One short fuzz run: smoke.sh TARGET GROWN_DIR SEED_DIR
# Every seed runs first, then a few seconds of fuzzing (TW_FUZZ_SECONDS,
# default 4). New inputs go to GROWN_DIR, which starts empty each time, so
# the run is the same whatever ran before.
set -euo pipefail
target=$1 grown=$2 seeds=$3
rm -rf "$grown"
mkdir -p "$grown"
exec "$target" -max_total_time="${TW_FUZZ_SECONDS:-4}" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$grown/" "$grown" "$seeds"
