#!/usr/bin/env bash
# Start and idle figures of Tockwell on a private X server with icewm and its tray:
#   - from exec to the setup window mapped, median (and range) of STARTS starts;
#   - proportional set size (PSS) 5 s after a start;
#   - CPU time and voluntary context switches (wakeups) while idling in the tray, disarmed,
#     for IDLE_SECONDS seconds.
# Usage: bench/start_idle.sh [BUILD_DIR]   (environment: STARTS=10 IDLE_SECONDS=60)
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../tests/e2e/lib.sh"

build=$(cd "${1:-$(dirname "$0")/../build}" && pwd)
program=$build/tockwell
mapwait=$build/bench/tockwell-mapwait
starts=${STARTS:-10}
idle=${IDLE_SECONDS:-60}
export XDG_CONFIG_HOME=$e2e_tmp/config TOCKWELL_PLATFORM=record:$E2E_CALLS
mkdir -p "$XDG_CONFIG_HOME"

# start: starts the program, sets start_ms and pid.
start() {
    read -r start_ms pid window < <("$mapwait" Tockwell 10000 "$program")
    e2e_pids+=("$pid")
    [[ $start_ms != - ]] || e2e_fail "the setup window did not appear"
}

# stop: ends the program started last and waits until it has ended (it is not our child, so
# it may linger as a zombie until its new parent reaps it).
stop() {
    kill "$pid"
    e2e_wait_until "the program to end" ended "$pid"
}
ended() { [[ $(ps -o stat= -p "$1") != [!Z]* ]]; }

# Nanoseconds on a CPU and voluntary context switches, summed over the program's threads.
cpu_ns() { cat /proc/"$pid"/task/*/schedstat | awk '{ sum += $1 } END { print sum }'; }
switches() {
    cat /proc/"$pid"/task/*/status | awk '/^voluntary_ctxt_switches/ { sum += $2 } END { print sum }'
}

e2e_start_desktop

times=()
for ((i = 1; i <= starts; i++)); do
    start
    times+=("$start_ms")
    e2e_log "start $i: $start_ms ms (window $window)"
    stop
done
mapfile -t sorted < <(printf '%s\n' "${times[@]}" | sort -n)
median=$(printf '%s\n' "${sorted[@]}" | awk '{ v[NR] = $1 } END {
    print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }')

start
sleep 5
pss_kb=$(awk '/^Pss:/ { print $2 }' /proc/"$pid"/smaps_rollup)
rss_kb=$(awk '/^Rss:/ { print $2 }' /proc/"$pid"/smaps_rollup)

# Into the tray: a click on the tray icon hides the setup window.
icon=$(e2e_wait_tray_icon Tockwell)
e2e_click "$icon" 8 8
e2e_wait_window_gone Tockwell
sleep 1
cpu_before=$(cpu_ns)
switches_before=$(switches)
sleep "$idle"
cpu_after=$(cpu_ns)
switches_after=$(switches)
stop

e2e_log "threads: CPU ${cpu_before} -> ${cpu_after} ns, switches ${switches_before} -> ${switches_after}"
cpu_ms=$(awk -v a="$cpu_before" -v b="$cpu_after" 'BEGIN { printf "%.2f", (b - a) / 1e6 }')
wakeups=$((switches_after - switches_before))
per_minute=$(awk -v w="$wakeups" -v s="$idle" 'BEGIN { printf "%.1f", w * 60 / s }')

cat <<REPORT
Tockwell start and idle ($(nproc) CPUs, Xvfb + icewm)
  exec to setup window mapped: median ${median} ms over ${starts} starts (min ${sorted[0]}, max ${sorted[-1]})
  PSS 5 s after start:         $((pss_kb / 1024)).$(((pss_kb % 1024) * 10 / 1024)) MB (RSS $((rss_kb / 1024)) MB)
  idle in the tray, ${idle} s:      CPU ${cpu_ms} ms, ${wakeups} voluntary context switches (${per_minute} per minute)
REPORT
