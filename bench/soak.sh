#!/usr/bin/env bash
# Soak test (not run by CI): the real program on a private X server with the recording platform,
# armed with a web-page countdown of 1 s that repeats every second, for DURATION seconds.
# Repeat 1 re-arms the countdown to one tick after each firing, so it fires on every tick:
#   - every firing is recorded (a "ShellOpen" line, time-stamped here as it arrives) and on time:
#     one a second, none missing, none more than LATE_MS late against the previous one;
#   - the resident memory (VmRSS) sampled every SAMPLE_SECONDS stays flat: it grows by no more
#     than 1 MB (1024 kB) over the sample at one minute.
# Usage: bench/soak.sh [BUILD_DIR]   (environment: DURATION=3600 SAMPLE_SECONDS=60 LATE_MS=250)
# Exits 0 when every firing came on time and the memory stayed flat, 1 otherwise.
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../tests/e2e/lib.sh"

build=$(cd "${1:-$(dirname "$0")/../build}" && pwd)
program=$build/tockwell
reg=$build/tockwell-reg
duration=${DURATION:-3600}
sample=${SAMPLE_SECONDS:-60}
late_ms=${LATE_MS:-250}
base='HKCU\Software\Kestrolab\Tockwell'
start_button=(23 21)
stamped=$e2e_tmp/firings.log

rss_kb() { awk '/^VmRSS:/ { print $2 }' /proc/"$E2E_PROGRAM_PID"/status; }

e2e_start_desktop
export XDG_CONFIG_HOME=$e2e_tmp/config
"$reg" add "$base" /v LastAction /d 'Uruchom stronę WWW' /f >/dev/null
"$reg" add "$base" /v O_ZA /t REG_DWORD /d 2 /f >/dev/null
"$reg" add "$base" /v Repeat /t REG_DWORD /d 1 /f >/dev/null
"$reg" add "$base" /v Repeat_Time /d 1 /f >/dev/null
"$reg" add "$base\\ZA_MRU" /ve /d 0:0:1 /f >/dev/null
"$reg" add "$base\\WWW_MRU" /ve /d www.example.pl /f >/dev/null

: >"$E2E_CALLS"
# Each recorded firing with the wall-clock time at which it reached the log, in ms.
# (tail ends with this script.)
tail --pid=$$ -n0 -F "$E2E_CALLS" 2>/dev/null | while IFS= read -r line; do
    [[ $line == 'ShellOpen "www.example.pl" '* ]] && e2e_now_ms
done >"$stamped" &
e2e_pids+=($!)

e2e_start_program "$program"
setup=$(e2e_wait_window Tockwell)
sleep 0.5
e2e_click "$setup" "${start_button[@]}"
started=$(e2e_now_ms)
e2e_wait_window_gone Tockwell
e2e_log "armed: a countdown of 1 s repeating every second, for $duration s"

samples=()
for ((elapsed = sample; elapsed <= duration; elapsed += sample)); do
    sleep "$(awk -v ms=$((started + elapsed * 1000 - $(e2e_now_ms))) \
        'BEGIN { printf "%.3f", (ms > 0 ? ms / 1000 : 0) }')"
    kill -0 "$E2E_PROGRAM_PID" 2>/dev/null || e2e_fail "the program ended"
    samples+=("$(rss_kb)")
    e2e_log "after $elapsed s: VmRSS ${samples[-1]} kB, $(wc -l <"$stamped") firings"
done
ended=$(e2e_now_ms)
sleep 0.5 # the last firing's line

# Firings: count, intervals between them, and ticks without one.
read -r count expected min_gap max_gap late < <(awk -v started="$started" -v ended="$ended" \
    -v late_ms="$late_ms" '
    $1 <= ended { n++; if (n > 1) { gap = $1 - prev; if (n == 2 || gap < min) min = gap;
                  if (gap > max) max = gap; if (gap > 1000 + late_ms) late++ } prev = $1 }
    END { printf "%d %d %d %d %d\n", n, int((ended - started) / 1000), min, max, late }' "$stamped")
growth=$((samples[-1] - samples[0]))
peak=$(printf '%s\n' "${samples[@]}" | sort -n | tail -n1)
peak_growth=$((peak - samples[0]))

ok=1
((count >= expected - 1 && late == 0)) || ok=0
((peak_growth <= 1024)) || ok=0
cat <<REPORT
Tockwell soak: countdown of 1 s, repeat 1, $((duration / 60)) min $((duration % 60)) s ($(nproc) CPUs, Xvfb + icewm, recording platform)
  firings recorded:   $count in $((ended - started)) ms from Start (ticks expected: $expected)
  between firings:    min $min_gap ms, max $max_gap ms; more than $((1000 + late_ms)) ms apart: $late
  VmRSS every $sample s: ${samples[*]} kB
  VmRSS growth after the first sample: last $growth kB, peak $peak_growth kB (limit 1024 kB)
  verdict:            $( ((ok)) && echo "on time and flat" || echo "NOT MET")
REPORT
((ok))
