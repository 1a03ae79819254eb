#!/usr/bin/env bash
# Start and idle figures of Tockwell on a private X server with icewm and its tray, each beside
# the same figure of the floor (bench/tockwell-floor: a bare Qt window + tray icon) measured in the
# same run, each program alone:
#   - from exec to the setup window mapped, median (and range) of STARTS starts (the two programs
#     started in turn, so that a busy moment falls on both);
#   - proportional set size (PSS) 5 s after a start, median of RUNS starts;
#   - CPU time and voluntary context switches (wakeups) while idling with the window shown, for
#     SHOWN_SECONDS seconds right after that, median of RUNS runs, and the X server's CPU time
#     meanwhile;
#   - CPU time and voluntary context switches (wakeups) while idling in the tray, disarmed,
#     for IDLE_SECONDS seconds, median of RUNS runs (the floor's window hidden by its tray icon);
#   - the same while idling armed (a one-hour countdown started with the Start button) for
#     ARMED_SECONDS seconds, median of RUNS runs: the tick should be the only wakeup.
# Usage: bench/start_idle.sh [BUILD_DIR]
# Each figure is given as its median with its least and greatest value.
#   (environment: STARTS=10 RUNS=5 SHOWN_SECONDS=30 IDLE_SECONDS=60 ARMED_SECONDS=30,
#   BENCH_LOCALE=pl_PL.UTF-8)
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../tests/e2e/lib.sh"

build=$(cd "${1:-$(dirname "$0")/../build}" && pwd)
program=$build/tockwell
reg=$build/tockwell-reg
mapwait=$build/bench/tockwell-mapwait
floor=$build/bench/tockwell-floor
starts=${STARTS:-10}
runs=${RUNS:-5}
shown=${SHOWN_SECONDS:-30}
idle=${IDLE_SECONDS:-60}
armed=${ARMED_SECONDS:-30}
base='HKCU\Software\Kestrolab\Tockwell'
start_button=(23 21)
export XDG_CONFIG_HOME=$e2e_tmp/config TOCKWELL_PLATFORM=record:$E2E_CALLS
export TOCKWELL_UPDATE_LOCATION=http://127.0.0.1:9/
# The programs run in the users' locale (Polish formats and sorting load what they load).
locale=${BENCH_LOCALE:-pl_PL.UTF-8}
mkdir -p "$XDG_CONFIG_HOME"

# start: starts the program, sets start_ms, pid and window.
start() {
    read -r start_ms pid window < <(LC_ALL=$locale "$mapwait" Tockwell 10000 "$program")
    e2e_pids+=("$pid")
    [[ $start_ms != - ]] || e2e_fail "the setup window did not appear"
}

# start_floor: starts the floor, sets start_ms, pid and window.
start_floor() {
    read -r start_ms pid window < <(LC_ALL=$locale "$mapwait" 'Tockwell floor' 10000 "$floor")
    e2e_pids+=("$pid")
    [[ $start_ms != - ]] || e2e_fail "the floor's window did not appear"
}

# stop: ends the program started last and waits until it has ended (it is not our child, so
# it may linger as a zombie until its new parent reaps it).
stop() {
    kill "$pid"
    e2e_wait_until "the program to end" ended "$pid"
}
ended() { [[ $(ps -o stat= -p "$1") != [!Z]* ]]; }

# snapshot: "TID CPU_NS VOLUNTARY_SWITCHES" of each thread of the program.
snapshot() {
    local task
    for task in /proc/"$pid"/task/*; do
        echo "${task##*/} $(cut -d' ' -f1 "$task/schedstat" 2>/dev/null) $(awk \
            '/^voluntary_ctxt_switches/ { print $2 }' "$task/status" 2>/dev/null)"
    done 2>/dev/null | awk 'NF == 3'
}

# xserver_ns: the CPU time the X server has used so far, in nanoseconds.
xserver_ns() { cut -d' ' -f1 /proc/"$e2e_xserver_pid"/schedstat; }

# measure SECONDS: sets cpu_ms and wakeups to what the program's threads used in SECONDS
# seconds, and x_ms to the X server's CPU time meanwhile. The threads are looked at every second, so that a thread which ends meanwhile still
# counts up to its last look (summing at the two ends only would lose all of it), and a thread
# born meanwhile counts from zero.
measure() {
    local samples=$e2e_tmp/threads
    local deadline=$(($(e2e_now_ms) + $1 * 1000)) left xserver_start
    xserver_start=$(xserver_ns)
    snapshot | sed 's/^/0 /' >"$samples"
    while left=$((deadline - $(e2e_now_ms))) && ((left > 0)); do
        sleep "$(awk -v ms="$left" 'BEGIN { printf "%.3f", (ms < 1000 ? ms : 1000) / 1000 }')"
        snapshot | sed 's/^/1 /' >>"$samples"
    done
    read -r cpu_ms wakeups < <(awk '
        $1 == 0 { first_cpu[$2] = $3; first_sw[$2] = $4 }
        { last_cpu[$2] = $3; last_sw[$2] = $4 }
        END { for (t in last_cpu) { cpu += last_cpu[t] - first_cpu[t]; sw += last_sw[t] - first_sw[t] }
              printf "%.2f %d\n", cpu / 1e6, sw }' "$samples")
    x_ms=$(awk -v a="$xserver_start" -v b="$(xserver_ns)" 'BEGIN { printf "%.2f", (b - a) / 1e6 }')
}

# memory: appends the program's PSS, RSS and private memory in MB and the number of other
# running programs that map Qt Core to the arrays named by the prefix $1 (${1}pss, ${1}rss,
# ${1}uss, ${1}others). PSS divides each shared page among the programs that map it: with other
# Qt programs running it is less than the program's PSS alone, and RSS says more.
memory() {
    local -n pss_=${1}pss rss_=${1}rss uss_=${1}uss others_=${1}others
    others_+=("$({ grep -l libQt6Core /proc/[0-9]*/maps 2>/dev/null || true; } |
        awk -v own="/proc/$pid/maps" '$0 != own { n++ } END { print n + 0 }')")
    pss_+=("$(awk '/^Pss:/ { printf "%.1f", $2 / 1024 }' /proc/"$pid"/smaps_rollup)")
    rss_+=("$(awk '/^Rss:/ { printf "%.1f", $2 / 1024 }' /proc/"$pid"/smaps_rollup)")
    # Private pages: what the program alone holds, whatever else shares its libraries.
    uss_+=("$(awk '/^Private_(Clean|Dirty):/ { kb += $2 } END { printf "%.1f", kb / 1024 }' \
        /proc/"$pid"/smaps_rollup)")
}

# median VALUE...: the median of the numbers.
median() {
    printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END {
        print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# spread VALUE...: "M (min A, max B)": the median with the least and the greatest number.
spread() {
    printf '%s (min %s, max %s)' "$(median "$@")" "$(printf '%s\n' "$@" | sort -g | head -n1)" \
        "$(printf '%s\n' "$@" | sort -g | tail -n1)"
}

# armed_store DIR: a store in DIR whose setup window starts a one-hour web-page countdown.
armed_store() {
    XDG_CONFIG_HOME=$1 "$reg" add "$base" /v LastAction /d 'Uruchom stronę WWW' /f >/dev/null
    XDG_CONFIG_HOME=$1 "$reg" add "$base" /v O_ZA /t REG_DWORD /d 2 /f >/dev/null
    XDG_CONFIG_HOME=$1 "$reg" add "$base\\ZA_MRU" /ve /d 1:0:0 /f >/dev/null
    XDG_CONFIG_HOME=$1 "$reg" add "$base\\WWW_MRU" /ve /d www.example.pl /f >/dev/null
}

# five_alarms_store DIR: a store in DIR with five clock-time alarms kept armed, one to five
# hours ahead: the start arms them all, the first in the shown window.
five_alarms_store() {
    local hour
    for hour in 1 2 3 4 5; do
        XDG_CONFIG_HOME=$1 "$reg" alarms add --at "$(date -d "+$hour hour" +%T)" \
            --kind 'Uruchom stronę WWW' --param www.example.pl >/dev/null
    done
}

e2e_start_desktop

times=() floor_times=()
for ((i = 1; i <= starts; i++)); do
    start
    times+=("$start_ms")
    e2e_log "start $i: $start_ms ms (window $window)"
    stop
    start_floor
    floor_times+=("$start_ms")
    e2e_log "floor start $i: $start_ms ms (window $window)"
    stop
done

pss=() rss=() uss=() others=() shown_cpu=() shown_x=() shown_wakeups=() idle_cpu=()
idle_wakeups=() armed_cpu=() armed_wakeups=() five_cpu=() five_wakeups=()
floor_pss=() floor_rss=() floor_uss=() floor_others=() floor_shown_cpu=() floor_shown_x=()
floor_shown_wakeups=() floor_idle_cpu=() floor_idle_wakeups=()
for ((run = 1; run <= runs; run++)); do
    start_floor
    sleep 5
    memory floor_
    measure "$shown"
    floor_shown_cpu+=("$cpu_ms") floor_shown_x+=("$x_ms") floor_shown_wakeups+=("$wakeups")
    e2e_log "run $run floor: PSS ${floor_pss[-1]} MB, shown: CPU $cpu_ms ms (X $x_ms ms), $wakeups switches in $shown s"
    icon=$(e2e_wait_tray_icon tockwell-floor)
    e2e_click "$icon" 8 8
    e2e_wait_window_gone 'Tockwell floor'
    sleep 1
    measure "$idle"
    floor_idle_cpu+=("$cpu_ms") floor_idle_wakeups+=("$wakeups")
    stop
    e2e_log "run $run floor in the tray: CPU $cpu_ms ms, $wakeups switches in $idle s"

    start
    sleep 5
    memory ''
    measure "$shown"
    shown_cpu+=("$cpu_ms") shown_x+=("$x_ms") shown_wakeups+=("$wakeups")
    e2e_log "run $run shown: CPU $cpu_ms ms (X $x_ms ms), $wakeups switches in $shown s"
    # Into the tray: a click on the tray icon hides the setup window.
    icon=$(e2e_wait_tray_icon Tockwell)
    e2e_click "$icon" 8 8
    e2e_wait_window_gone Tockwell
    sleep 1
    measure "$idle"
    idle_cpu+=("$cpu_ms") idle_wakeups+=("$wakeups")
    stop
    e2e_log "run $run disarmed: PSS ${pss[-1]} MB, CPU $cpu_ms ms, $wakeups switches in $idle s"

    store=$e2e_tmp/armed-$run
    armed_store "$store"
    XDG_CONFIG_HOME=$store start
    sleep 0.5
    e2e_click "$window" "${start_button[@]}"
    e2e_wait_window_gone Tockwell
    sleep 1
    measure "$armed"
    armed_cpu+=("$cpu_ms") armed_wakeups+=("$wakeups")
    stop
    ! grep -q '^ShellOpen' "$E2E_CALLS" || e2e_fail "the one-hour countdown fired"
    e2e_log "run $run armed: CPU $cpu_ms ms, $wakeups switches in $armed s"

    store=$e2e_tmp/five-$run
    five_alarms_store "$store"
    XDG_CONFIG_HOME=$store start
    sleep 5
    measure "$shown"
    five_cpu+=("$cpu_ms") five_wakeups+=("$wakeups")
    stop
    e2e_log "run $run shown with five alarms armed: CPU $cpu_ms ms, $wakeups switches in $shown s"
done

armed_wakeups_median=$(median "${armed_wakeups[@]}")
cat <<REPORT
Tockwell start and idle ($(nproc) CPUs, Xvfb + icewm)
  exec to setup window mapped: median $(spread "${times[@]}") ms over ${starts} starts
  PSS 5 s after start: median $(spread "${pss[@]}") MB over ${runs} starts (RSS $(median "${rss[@]}") MB, private $(median "${uss[@]}") MB; $(median "${others[@]}") other Qt programs running)
  idle, window shown, ${shown} s: median CPU $(spread "${shown_cpu[@]}") ms, X server median CPU $(spread "${shown_x[@]}") ms, median $(spread "${shown_wakeups[@]}") voluntary context switches over ${runs} runs
  idle, window shown, five alarms armed, ${shown} s: median CPU $(spread "${five_cpu[@]}") ms, median $(spread "${five_wakeups[@]}") voluntary context switches over ${runs} runs
  idle in the tray, disarmed, ${idle} s: median CPU $(spread "${idle_cpu[@]}") ms, median $(spread "${idle_wakeups[@]}") voluntary context switches over ${runs} runs
  idle in the tray, armed, ${armed} s: median CPU $(spread "${armed_cpu[@]}") ms, median ${armed_wakeups_median} voluntary context switches over ${runs} runs, $(awk -v w="$armed_wakeups_median" -v s="$armed" 'BEGIN { printf "%.2f", w / s }') per second (min $(printf '%s\n' "${armed_wakeups[@]}" | sort -g | head -n1), max $(printf '%s\n' "${armed_wakeups[@]}" | sort -g | tail -n1))
The floor: a bare Qt window + tray icon (bench/tockwell-floor), in the same run
  floor: exec to window mapped: median $(spread "${floor_times[@]}") ms over ${starts} starts
  floor: PSS 5 s after start: median $(spread "${floor_pss[@]}") MB over ${runs} starts (RSS $(median "${floor_rss[@]}") MB, private $(median "${floor_uss[@]}") MB; $(median "${floor_others[@]}") other Qt programs running)
  floor: idle, window shown, ${shown} s: median CPU $(spread "${floor_shown_cpu[@]}") ms, X server median CPU $(spread "${floor_shown_x[@]}") ms, median $(spread "${floor_shown_wakeups[@]}") voluntary context switches over ${runs} runs
  floor: idle in the tray, ${idle} s: median CPU $(spread "${floor_idle_cpu[@]}") ms, median $(spread "${floor_idle_wakeups[@]}") voluntary context switches over ${runs} runs
REPORT
