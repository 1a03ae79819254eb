#!/usr/bin/env bash
# Every benchmark of Tockwell, then one table: each figure, its target and whether it meets it.
# Figures are medians of repeated runs (each benchmark says over how many). The start, memory and
# idle figures stand beside the same figures of the floor (a bare Qt window + tray icon,
# bench/tockwell-floor) measured in the same run, interleaved, each as its median with the least
# and greatest value, and with Tockwell's median as a ratio to the floor's.
#
# Usage: bench/run-all.sh                 the full run, about 35 minutes
#        QUICK=1 bench/run-all.sh         a try in about 2 minutes (fewer and shorter runs)
# Environment (defaults of the full run):
#   STARTS=10 RUNS=5 SHOWN_SECONDS=30 IDLE_SECONDS=60 ARMED_SECONDS=30
#                                                       start and idle (bench/start_idle.sh)
#   TICK_SECONDS=600 TRIALS=200                         tick accuracy (tick_accuracy)
#   ENTRIES=10000                                       setup window creation
#   REUSE="tick_accuracy sound"     reuse these benchmarks' outputs kept from the last run
# The outputs of the benchmarks are kept in build/bench-results/.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
results=$build/bench-results
if [[ ${QUICK:-0} == 1 ]]; then
    : "${STARTS:=3}" "${RUNS:=1}" "${SHOWN_SECONDS:=10}" "${IDLE_SECONDS:=10}" "${ARMED_SECONDS:=10}" "${TICK_SECONDS:=30}"
fi
export STARTS=${STARTS:-10} RUNS=${RUNS:-5} SHOWN_SECONDS=${SHOWN_SECONDS:-30}
export IDLE_SECONDS=${IDLE_SECONDS:-60}
export ARMED_SECONDS=${ARMED_SECONDS:-30}
tick_seconds=${TICK_SECONDS:-600}
trials=${TRIALS:-200}
entries=${ENTRIES:-10000}

cd "$root"
[[ -f $build/build.ninja ]] || cmake --preset default >/dev/null
cmake --build --preset default --target tockwell tockwell-reg tockwell-mapwait tockwell-floor store_bench \
    bench_setupwindow sound_bench tick_accuracy >/dev/null
mkdir -p "$results"

# bench NAME COMMAND...: runs a benchmark, showing its output and keeping it as NAME.txt; with
# NAME in REUSE (e.g. REUSE="tick_accuracy sound"), the output kept from an earlier run is used.
bench() {
    local name=$1
    shift
    if [[ " ${REUSE:-} " == *" $name "* && -s $results/$name.txt ]]; then
        printf '== %s (reused from %s)\n' "$name" "$(date -r "$results/$name.txt" '+%F %R')" >&2
        return
    fi
    printf '== %s\n' "$name" >&2
    "$@" 2>&1 | tee "$results/$name.txt" >&2
}

bench start_idle bench/start_idle.sh "$build"
bench tick_accuracy "$build/bench/tick_accuracy" "$tick_seconds" "$trials"
bench sound "$build/bench/sound_bench"
bench store "$build/bench/store_bench"
QT_QPA_PLATFORM=offscreen bench setupwindow "$build/bench/bench_setupwindow" "$entries"

# pick NAME REGEX: the first group of REGEX (sed -E) in the first matching line of NAME's output.
pick() {
    local value
    value=$(sed -nE "s/.*$2.*/\\1/p" "$results/$1.txt" | head -n1)
    [[ -n $value ]] || { echo "run-all: no \"$2\" in $results/$1.txt" >&2; exit 1; }
    printf '%s' "$value"
}

# sound_pick SECTION LABEL: the milliseconds of LABEL under the heading SECTION of sound_bench.
sound_pick() {
    awk -v section="$1" -v label="$2" '
        index($0, section) == 1 { inside = 1; next }
        /^[^ ]/ { inside = 0 }
        inside && index($0, label) { for (i = 1; i <= NF; i++) if ($(i + 1) == "ms") { print $i; exit } }
    ' "$results/sound.txt"
}

# verdict EXPRESSION: "yes" when the awk expression holds, else "NO".
verdict() { awk "BEGIN { exit !($1) }" && echo yes || echo NO; }

rows=()
# row FIGURE MEASURED TARGET VERDICT [FLOOR RATIO]: FLOOR is the floor's figure, RATIO Tockwell's
# to it; both "—" when not given.
row() { rows+=("$1"$'\t'"$2"$'\t'"${5:-—}"$'\t'"${6:-—}"$'\t'"$3"$'\t'"$4"); }

# ratio A B: "×A/B" to two places, or "—" when B is zero.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "×%.2f", a / b; else print "—" }'; }

# spread PREFIX: "MEDIAN MIN MAX" of the figure that follows the line start PREFIX (an extended
# regular expression) in start_idle's output, given there as "M (min A, max B)".
spread() {
    local value
    value=$(sed -nE "s/^ *$1 ([0-9.]+) \(min ([0-9.]+), max ([0-9.]+)\).*/\1 \2 \3/p" \
        "$results/start_idle.txt" | head -n1)
    [[ -n $value ]] || { echo "run-all: no \"$1\" in $results/start_idle.txt" >&2; exit 1; }
    printf '%s\n' "$value"
}
# shown M MIN MAX [UNIT]: "M UNIT (MIN–MAX)".
shown() { printf '%s%s (%s–%s)' "$1" "${4:+ $4}" "$2" "$3"; }
# per30 VALUE SECONDS: VALUE scaled to 30 s.
per30() { awk -v v="$1" -v s="$2" 'BEGIN { printf "%.2f", v * 30 / s }'; }

read -r start_ms start_min start_max < <(spread 'exec to setup window mapped: median')
read -r floor_start_ms floor_start_min floor_start_max < <(spread 'floor: exec to window mapped: median')
row "exec → setup window mapped ($STARTS starts)" "$(shown "$start_ms" "$start_min" "$start_max" ms)" \
    "≤ the floor + 10 ms" "$(verdict "$start_ms <= $floor_start_ms + 10")" \
    "$(shown "$floor_start_ms" "$floor_start_min" "$floor_start_max" ms)" \
    "$(ratio "$start_ms" "$floor_start_ms")"
read -r pss pss_min pss_max < <(spread 'PSS 5 s after start: median')
read -r floor_pss floor_pss_min floor_pss_max < <(spread 'floor: PSS 5 s after start: median')
others=$(pick start_idle 'PSS 5 s after start: .* ([0-9.]+) other Qt programs running')
pss_verdict=$(verdict "$pss <= $floor_pss + 3")
# Shared with other Qt programs, PSS is less than alone: only a miss is sure then.
[[ $others == 0 || $pss_verdict == NO ]] || pss_verdict="unsure (not alone)"
row "PSS 5 s after start ($RUNS starts)" "$(shown "$pss" "$pss_min" "$pss_max" MB)" \
    "≤ the floor + 3 MB (aim + 2)" "$pss_verdict" \
    "$(shown "$floor_pss" "$floor_pss_min" "$floor_pss_max" MB)" \
    "$(ratio "$pss" "$floor_pss"), +$(awk -v a="$pss" -v b="$floor_pss" 'BEGIN { printf "%.1f", a - b }') MB"

shown_line='idle, window shown, [0-9]+ s:'
spread_of='[0-9.]+ \(min [0-9.]+, max [0-9.]+\)'
for who in '' 'floor: '; do
    read -r cpu cpu_min cpu_max < <(spread "$who$shown_line median CPU")
    read -r x x_min x_max < <(spread "$who$shown_line median CPU $spread_of ms, X server median CPU")
    read -r wake wake_min wake_max < <(spread "$who$shown_line median CPU $spread_of ms, X server median CPU $spread_of ms, median")
    if [[ -z $who ]]; then
        shown_cpu=("$cpu" "$cpu_min" "$cpu_max") shown_x=("$x" "$x_min" "$x_max")
        shown_wake=("$wake" "$wake_min" "$wake_max")
    else
        floor_cpu=("$cpu" "$cpu_min" "$cpu_max") floor_x=("$x" "$x_min" "$x_max")
        floor_wake=("$wake" "$wake_min" "$wake_max")
    fi
done
row "idle, window shown, $SHOWN_SECONDS s: CPU ($RUNS runs)" "$(shown "${shown_cpu[@]}" ms)" \
    "≤ 5 ms per 30 s" "$(verdict "$(per30 "${shown_cpu[0]}" "$SHOWN_SECONDS") <= 5")" \
    "$(shown "${floor_cpu[@]}" ms)" "$(ratio "${shown_cpu[0]}" "${floor_cpu[0]}")"
# The X server works for every client: the program's share is what it spends beyond the floor's.
row "idle, window shown, $SHOWN_SECONDS s: the X server's CPU" "$(shown "${shown_x[@]}" ms)" \
    "the program's share (beyond the floor's) ≤ 2 ms per 30 s" \
    "$(verdict "$(per30 "$(awk -v a="${shown_x[0]}" -v b="${floor_x[0]}" 'BEGIN { print a - b }')" \
        "$SHOWN_SECONDS") <= 2")" \
    "$(shown "${floor_x[@]}" ms)" "$(ratio "${shown_x[0]}" "${floor_x[0]}")"
row "idle, window shown, $SHOWN_SECONDS s: voluntary context switches" "$(shown "${shown_wake[@]}")" \
    "≤ 35 per 30 s" "$(verdict "$(per30 "${shown_wake[0]}" "$SHOWN_SECONDS") <= 35")" \
    "$(shown "${floor_wake[@]}")" "$(ratio "${shown_wake[0]}" "${floor_wake[0]}")"

five_line='idle, window shown, five alarms armed, [0-9]+ s:'
read -r five_cpu five_cpu_min five_cpu_max < <(spread "$five_line median CPU")
read -r five_wake five_wake_min five_wake_max < <(spread "$five_line median CPU $spread_of ms, median")
row "idle, window shown, five alarms armed, $SHOWN_SECONDS s: CPU ($RUNS runs)" \
    "$(shown "$five_cpu" "$five_cpu_min" "$five_cpu_max" ms)" "≤ 5 ms per 30 s" \
    "$(verdict "$(per30 "$five_cpu" "$SHOWN_SECONDS") <= 5")" "" ""
row "idle, window shown, five alarms armed, $SHOWN_SECONDS s: voluntary context switches" \
    "$(shown "$five_wake" "$five_wake_min" "$five_wake_max")" "≤ 35 per 30 s (one tick a second in all)" \
    "$(verdict "$(per30 "$five_wake" "$SHOWN_SECONDS") <= 35")" "" ""

tray_line='idle in the tray, disarmed, [0-9]+ s:'
floor_tray_line='floor: idle in the tray, [0-9]+ s:'
read -r idle_cpu idle_cpu_min idle_cpu_max < <(spread "$tray_line median CPU")
read -r idle_wake idle_wake_min idle_wake_max < <(spread "$tray_line median CPU $spread_of ms, median")
read -r fidle_cpu fidle_cpu_min fidle_cpu_max < <(spread "$floor_tray_line median CPU")
read -r fidle_wake fidle_wake_min fidle_wake_max < <(spread "$floor_tray_line median CPU $spread_of ms, median")
row "idle in the tray, disarmed, $IDLE_SECONDS s: CPU ($RUNS runs)" \
    "$(shown "$idle_cpu" "$idle_cpu_min" "$idle_cpu_max" ms)" "≤ 1 ms per 30 s" \
    "$(verdict "$(per30 "$idle_cpu" "$IDLE_SECONDS") <= 1")" \
    "$(shown "$fidle_cpu" "$fidle_cpu_min" "$fidle_cpu_max" ms)" "$(ratio "$idle_cpu" "$fidle_cpu")"
row "idle in the tray, disarmed, $IDLE_SECONDS s: voluntary context switches" \
    "$(shown "$idle_wake" "$idle_wake_min" "$idle_wake_max")" "≤ 2 per 30 s" \
    "$(verdict "$(per30 "$idle_wake" "$IDLE_SECONDS") <= 2")" \
    "$(shown "$fidle_wake" "$fidle_wake_min" "$fidle_wake_max")" "$(ratio "$idle_wake" "$fidle_wake")"
armed_wakeups=$(pick start_idle 'tray, armed, [0-9]+ s: .* median ([0-9.]+) voluntary')
armed_rate=$(pick start_idle ' ([0-9.]+) per second')
armed_min=$(pick start_idle 'per second \(min ([0-9]+), max [0-9]+\)')
armed_max=$(pick start_idle 'per second \(min [0-9]+, max ([0-9]+)\)')
# The tick and nothing more: one a second.
row "idle armed, $ARMED_SECONDS s: voluntary context switches ($RUNS runs)" \
    "$(shown "$armed_wakeups" "$armed_min" "$armed_max") = $armed_rate/s" "1/s (the tick)" \
    "$(verdict "$armed_rate >= 0.97 && $armed_rate <= 1.03")"

without=$(pick tick_accuracy 'wall-clock seconds without a tick: ([0-9]+)')
row "wall-clock seconds without a tick in $tick_seconds s of ticks" "$without" "0" \
    "$(verdict "$without == 0")"
late_mean=$(pick tick_accuracy 'lateness: mean ([0-9.-]+) ms')
late_max=$(pick tick_accuracy 'max ([0-9.-]+) ms')
row "tick lateness against its schedule: mean / max" "$late_mean / $late_max ms" "—" ""
phases=$(pick tick_accuracy 'would skip a wall-clock second: [0-9]+ of [0-9]+ \(([0-9.]+ %)\)')
row "start phases at which those ticks would skip a second" "$phases" "—" ""
in_second=$(pick tick_accuracy 'trials, ([0-9]+) in their second')
caught_up=$(pick tick_accuracy '([0-9]+) caught up')
missed=$(pick tick_accuracy '([0-9]+) missed')
early=$(pick tick_accuracy '([0-9]+) early')
alarms_verdict=$(verdict "$in_second == $trials")
[[ $alarms_verdict == yes || $missed$early != 00 ]] ||
    alarms_verdict="NO: $caught_up a tick late, caught up"
row "clock-time alarms fired in their target second" \
    "$in_second of $trials ($caught_up caught up, $missed missed, $early early)" \
    "100 % of 200" "$alarms_verdict"
on_dot_median=$(pick tick_accuracy 'after the start of their second: median ([0-9]+) ms')
on_dot_p99=$(pick tick_accuracy 'after the start of their second: median [0-9]+ ms, 99th percentile ([0-9]+) ms')
on_dot_max=$(pick tick_accuracy 'after the start of their second: .* max ([0-9]+) ms')
row "clock-time alarms: fired after their second began, median / 99th percentile / max" \
    "$on_dot_median / $on_dot_p99 / $on_dot_max ms" "0–10 ms (99th percentile)" \
    "$(verdict "$on_dot_p99 <= 10")"
per_second=$(pick tick_accuracy 'ticks while armed: .*\(([0-9.]+) per second\)')
row "ticks per wall-clock second while a clock-time alarm is armed" "$per_second" "1" \
    "$(verdict "$per_second == 1")"

for sound in 'MP3, 3 minutes' MIDI; do
    open_ms=$(sound_pick "$sound" 'open + length')
    play_ms=$(sound_pick "$sound" 'play to the first buffer')
    row "sound, $sound: open + length (median of 11)" "$open_ms ms" "< 150 ms" \
        "$(verdict "$open_ms < 150")"
    row "sound, $sound: play → first buffer at the sink (median of 11)" "$play_ms ms" "< 100 ms" \
        "$(verdict "$play_ms < 100")"
done
library_ms=$(pick sound 'first sound: loading the sound library +([0-9.]+) ms')
row "sound: loading the sound library at the first sound" "$library_ms ms" "< 150 ms" \
    "$(verdict "$library_ms < 150")"
first_ms=$(pick sound 'first open \+ length of the MP3 \(with the library, loads GStreamer\) +([0-9.]+) ms')
row "sound: first open + length in the process (with the library, loads GStreamer)" "$first_ms ms" \
    "< 150 ms" "$(verdict "$first_ms < 150")"

# store_row LABEL FIGURE TARGET_MS: a line of store_bench.
store_row() {
    local ms
    ms=$(pick store "$1 +([0-9.]+) ms")
    row "store: $2" "$ms ms" "< $3 ms" "$(verdict "$ms < $3")"
}
store_row 'program start, 60 values: open the file, read one value' \
    'open + read one value (60 values; median of 200)' 1
store_row 'program start, 10,000 values: open the file, read one value' \
    'open + read one value (10,000 values)' 1
store_row '10,000 entries: add one already present' 'add an entry present in a 10,000 list' 2
store_row '10,000 entries: add a new one' 'add a new entry to a 10,000 list' 2
store_row '10,000 entries: list all names' 'list a 10,000-entry list (median of 50)' 20
setup_ms=$(pick setupwindow 'median ([0-9.]+) ms')
row "setup window creation, $entries entries in each list (median of 5)" "$setup_ms ms" \
    "< 1000 ms" "$(verdict "$setup_ms < 1000")"

printf '\nTockwell benchmarks, %s, %s CPUs, load average %s\n\n' "$(date '+%F %R')" "$(nproc)" \
    "$(cut -d' ' -f1-3 /proc/loadavg)"
printf '| %s | %s | %s | %s | %s | %s |\n' Figure Tockwell Floor Ratio Target Meets
printf '|---|---|---|---|---|---|\n'
for line in "${rows[@]}"; do
    IFS=$'\t' read -r figure measured floor ratio target meets <<<"$line"
    printf '| %s | %s | %s | %s | %s | %s |\n' "$figure" "$measured" "$floor" "$ratio" "$target" \
        "$meets"
done
