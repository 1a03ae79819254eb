#!/bin/bash
# Builds the libFuzzer targets (CMake preset "fuzz", clang) and runs each for SECONDS (default
# 60) on a copy of its committed corpus. Prints one line per target; exits non-zero when a target
# crashed, leaked, ran out of memory or timed out. The input that did it is kept in
# build-fuzz/fuzz-findings/<target>/.
# Usage: fuzz/run.sh [SECONDS]
set -euo pipefail

seconds=${1:-60}
case $seconds in '' | *[!0-9]*) echo "usage: $0 [SECONDS]" >&2; exit 2 ;; esac
source_dir=$(cd "$(dirname "$0")/.." && pwd)
cd "$source_dir"

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

targets=(fuzz_timeentry fuzz_version fuzz_updatefile fuzz_regfile fuzz_windowshape)
work=$(mktemp -d "${TMPDIR:-/tmp}/tockwell-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT
findings=$source_dir/build-fuzz/fuzz-findings

failed=0
for target in "${targets[@]}"; do
    corpus=$work/$target
    mkdir -p "$corpus" "$findings/$target"
    cp -r fuzz/corpus/"$target"/. "$corpus"/
    log=$work/$target.log
    status=0
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        build-fuzz/fuzz/"$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
        -max_len=8192 -print_final_stats=1 -artifact_prefix="$findings/$target/" \
        "$corpus" >"$log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    time=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -n 1)
    if [ "$status" -eq 0 ]; then
        printf '%-20s ok      %10s executions in %s s\n' "$target" "${runs:-?}" "${time:-$seconds}"
    else
        failed=1
        printf '%-20s FAILED  %10s executions (exit %d), input kept in %s\n' "$target" \
            "${runs:-?}" "$status" "$findings/$target/"
        grep -E 'ERROR|property failed|SUMMARY|^ *#[0-9]+ ' "$log" | head -n 30 | sed 's/^/    /'
    fi
done
exit $failed
