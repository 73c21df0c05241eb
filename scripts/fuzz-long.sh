#!/usr/bin/env bash
# Long fuzz runs, outside the test command:
#   scripts/fuzz-long.sh SECONDS_PER_TARGET [TARGET...]   (default: every target)
# Builds the clang fuzz tree (TW_FUZZ_BUILD, default build/fuzz), then runs each target for the
# given time on one core, starting from its seeds and from what earlier runs
# grew. The grown corpus and any crashing input stay outside the repository,
# in TW_FUZZ_WORK (default ~/.cache/tarnwick-fuzz). Prints the executions per
# target; exits 1 when a target found a fault.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:?usage: fuzz-long.sh SECONDS_PER_TARGET [TARGET...]}
shift
work=${TW_FUZZ_WORK:-$HOME/.cache/tarnwick-fuzz}
build=${TW_FUZZ_BUILD:-$root/build/fuzz}

"$root/scripts/build.sh" "$build" -DTW_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo || exit 2
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for seeds in "$root"/fuzz/corpus/*/; do targets+=("$(basename "$seeds")"); done
fi

mkdir -p "$work/artifacts"
summary=()
status=0
for t in "${targets[@]}"; do
    mkdir -p "$work/corpus/$t"
    log="$work/$t.log"
    echo "== $t: ${seconds}s, log $log"
    start=$SECONDS
    "$build/bin/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$work/artifacts/$t-" \
        "$work/corpus/$t" "$root/fuzz/corpus/$t" >"$log" 2>&1
    rc=$?
    ran=$((SECONDS - start))
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    units=$(find "$work/corpus/$t" -type f | wc -l)
    result=clean
    if [ $rc -ne 0 ]; then
        result="FOUND (exit $rc): $(grep -m1 -E 'fuzz check failed|ERROR:' "$log")"
        status=1
    fi
    summary+=("$(printf '%-24s %6ss %12s execs %6s corpus  %s' "$t" "$ran" "${execs:-?}" \
        "$units" "$result")")
done
echo "== summary"
printf '%s\n' "${summary[@]}"
exit $status
