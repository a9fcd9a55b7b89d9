#!/usr/bin/env bash
# fuzz/run.sh <folder with the fuzz_* executables> <seconds per target>
# Runs every target for that long on its own corpus (kept in <folder>/../corpus/<target>, started
# from fuzz/seeds/<target>), prints what each did, and exits non-zero when one found something.
set -uo pipefail

if [ $# -ne 2 ]; then
    sed -n '2,4p' "$0"
    exit 2
fi
bin_dir=$(cd "$1" && pwd)
seconds=$2
seeds_dir=$(cd "$(dirname "$0")" && pwd)/seeds
work_dir=$(dirname "$bin_dir")

# Some targets write a file per input; on tmpfs that costs no disk syncs.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    export TMPDIR=/dev/shm
fi

found=0
for target in "$bin_dir"/fuzz_*; do
    [ -x "$target" ] && [ -f "$target" ] || continue
    name=$(basename "$target" | sed 's/^fuzz_//')
    corpus=$work_dir/corpus/$name
    artifacts=$work_dir/artifacts/$name
    log=$work_dir/logs/$name.log
    mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
    seeds=()
    [ -d "$seeds_dir/$name" ] && seeds=("$seeds_dir/$name")

    # A broken invariant aborts; UBSan findings abort too, so every finding leaves an artifact.
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        "$target" -max_total_time="$seconds" -max_len=8192 -timeout=20 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus" "${seeds[@]}" \
        >"$log" 2>&1
    status=$?

    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    [ -z "$runs" ] && runs=$(grep -o '^#[0-9]*' "$log" | tail -n 1 | tr -d '#')
    time=$(grep -o 'Done [0-9]* runs in [0-9]* second' "$log" | grep -o 'in [0-9]*' | tr -d 'in ')
    if [ $status -eq 0 ]; then
        echo "$name: ${runs:-0} executions in ${time:-$seconds} s, nothing found (corpus $corpus)"
    else
        found=1
        artifact=$(ls -t "$artifacts" 2>/dev/null | head -n 1)
        echo "$name: FOUND after ${runs:-?} executions: $artifacts/$artifact (log $log)"
        grep -m 3 -E 'ERROR|invariant broken|runtime error' "$log" | sed 's/^/    /'
    fi
done
exit $found
