#!/usr/bin/env bash
# Where Tockwell's start and memory go beyond the floor (bench/tockwell-floor), in figures that
# the machine's load does not change, each program alone on a private X server with icewm:
#   - the instructions from exec to the window mapped and IDLE_SECONDS of idling after it
#     (callgrind, all threads), by library and, for Tockwell, by step of main();
#   - the resident memory of each mapping (libraries, heap, fonts) 5 s after a start, beside the
#     floor's, where the two differ by 32 kB or more; PSS, RSS and private memory in all.
# Tockwell starts with a store that an earlier start made, as every start after the first.
# Usage: bench/start_breakdown.sh [BUILD_DIR]   (environment: IDLE_SECONDS=3,
#   BENCH_LOCALE=pl_PL.UTF-8; without valgrind only the memory is given)
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/../tests/e2e/lib.sh"

build=$(cd "${1:-$(dirname "$0")/../build}" && pwd)
idle=${IDLE_SECONDS:-3}
locale=${BENCH_LOCALE:-pl_PL.UTF-8}
export XDG_CONFIG_HOME=$e2e_tmp/config TOCKWELL_PLATFORM=record:$E2E_CALLS
export TOCKWELL_UPDATE_LOCATION=http://127.0.0.1:9/
mkdir -p "$XDG_CONFIG_HOME"
programs=("Tockwell $build/tockwell" "Tockwell floor $build/bench/tockwell-floor")

# launch TITLE PROGRAM [WRAPPER...]: starts PROGRAM (under WRAPPER) and waits for its window;
# sets pid (the process started) and mapped_ms.
launch() {
    local title=$1 program=$2
    shift 2
    read -r mapped_ms pid _ < <(LC_ALL=$locale "$build/bench/tockwell-mapwait" "$title" 120000 \
        "$@" "$program")
    e2e_pids+=("$pid")
    [[ $mapped_ms != - ]] || e2e_fail "$title did not map its window"
}

stop() {
    kill "$pid"
    e2e_wait_until "the program to end" e2e_ended "$pid"
}

# mappings PID: "NAME RSS_KB" for each mapped file (its base name), [heap] and anonymous memory.
mappings() {
    awk '/^[0-9a-f]+-[0-9a-f]+ / { name = NF >= 6 ? $6 : "[anonymous]"; sub(".*/", "", name) }
         /^Rss:/ { rss[name] += $2 }
         END { for (n in rss) print n, rss[n] }' /proc/"$1"/smaps | sort
}

# totals PID: "PSS RSS PRIVATE" in MB.
totals() {
    awk '/^Pss:/ { pss = $2 } /^Rss:/ { rss = $2 } /^Private_(Clean|Dirty):/ { own += $2 }
         END { printf "%.1f %.1f %.1f\n", pss / 1024, rss / 1024, own / 1024 }' \
        /proc/"$1"/smaps_rollup
}

# by_library FILE: the instructions of a callgrind profile summed by the library they ran in.
by_library() {
    callgrind_annotate --threshold=100 "$1" 2>/dev/null | awk '
        /^ *[0-9,]+ \(/ && match($0, /\[[^]]*\]$/) {
            n = $1; gsub(",", "", n); lib = substr($0, RSTART + 1, RLENGTH - 2)
            sub(".*/", "", lib); sum[lib] += n }
        END { for (l in sum) if (sum[l] >= 500000) printf "%10.1f M  %s\n", sum[l] / 1e6, l }' |
        sort -rn
}

# steps FILE FUNCTION: what FUNCTION (a part of its name) called that took 1 M instructions or
# more, inclusive.
steps() {
    callgrind_annotate --inclusive=yes --tree=calling --threshold=100 "$1" 2>/dev/null |
        awk -v wanted="$2" '
            /\*  / { inside = index($0, wanted) > 0; next }
            inside && /^ *[0-9,]+ .*>   / {
                n = $1; gsub(",", "", n); name = $0
                sub(/^[^>]*>   /, "", name); sub(/^[^:]*:/, "", name); sub(/\(.*$/, "", name)
                if (n + 0 >= 1e6) printf "%10.1f M  %s\n", n / 1e6, name }' | sort -rn
}

e2e_start_desktop
launch Tockwell "$build/tockwell" # the first start makes the store
stop

echo "Tockwell's start beside the floor's ($(nproc) CPUs, Xvfb + icewm, $locale)"
declare -A rss_of
for entry in "${programs[@]}"; do
    title=${entry% *} program=${entry##* }
    launch "$title" "$program"
    sleep 5
    read -r pss rss own < <(totals "$pid")
    rss_of[$title]=$(mappings "$pid")
    stop
    echo "  $title: PSS $pss MB, RSS $rss MB, private $own MB, 5 s after start"
done
echo "Resident memory by mapping, kB (Tockwell, the floor, the difference; 32 kB or more apart)"
join -a1 -a2 -e0 -o 0,1.2,2.2 <(echo "${rss_of[Tockwell]}") <(echo "${rss_of[Tockwell floor]}") |
    awk '{ d = $2 - $3; if (d >= 32 || d <= -32) print d, $0 }' | sort -rn |
    awk '{ printf "%8d %8d %+8d  %s\n", $3, $4, $1, $2 }'

if ! command -v valgrind >/dev/null; then
    echo "valgrind is not installed: no instruction counts"
    exit 0
fi
for entry in "${programs[@]}"; do
    title=${entry% *} program=${entry##* }
    profile=$e2e_tmp/callgrind.${program##*/}
    launch "$title" "$program" "$(command -v valgrind)" --tool=callgrind --callgrind-out-file="$profile"
    sleep "$idle"
    callgrind_control --dump "$pid" >/dev/null
    stop
    total=$(awk '/^summary:/ { printf "%.1f", $2 / 1e6 }' "$profile.1")
    echo "$title: $total M instructions from exec to the window mapped and ${idle} s after it"
    echo "  by library (0.5 M or more):"
    by_library "$profile.1" | sed 's/^/  /'
    [[ $title == Tockwell ]] || continue
    for step in 'main() [:main [' 'Application [Application::Application(' \
        'SetupWindow [SetupWindow::SetupWindow(' 'TimingGroup [TimingGroup::TimingGroup(' \
        'the first text measured [ClockGroupBox::ClockGroupBox(' \
        'the caption font fitting [fitCaptionFont('; do
        echo "  in ${step%% \[*} (inclusive, 1 M or more):"
        steps "$profile.1" "${step#* \[}" | sed 's/^/  /'
    done
done
