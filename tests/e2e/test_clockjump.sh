#!/usr/bin/env bash
# The wall clock set forward past a clock-time alarm while the program runs (libfaketime, its
# offset read from a file that the test changes; the steady clock is left alone) with logind
# present (the recording platform watches sleep): 30 s past the alarm it fires late, 5 minutes
# past it the user is told: first without a tray, so that the notice is a recorded message box,
# then with icewm's tray, where it is a balloon beside the icon that leaves the icon's first click
# to the icon, and last as a StatusNotifier item, where the desktop's notification service shows
# it, or a message box where there is none.
# Usage: test_clockjump.sh PROGRAM
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
program=${1:?usage: $0 PROGRAM}
reg=$(dirname "$program")/tockwell-reg
base='HKCU\Software\Kestrolab\Tockwell'
start_button=(23 21)
faketime_library=$(find /usr/lib -name libfaketime.so.1 -print -quit 2>/dev/null || true)
[[ -n $faketime_library ]] || { echo "e2e: libfaketime is not installed; skipped" >&2; exit 77; }
offset_file=$e2e_tmp/faketime

# arm_alarm_in SECONDS: starts the program on the real clock with a "Domyślne okno" alarm at the
# clock time SECONDS from now (rounded down to the minute), armed from the setup window; that
# moment, in seconds since 1970, is in `due`.
arm_alarm_in() {
    due=$((($(date +%s) + $1) / 60 * 60))
    echo +0 >"$offset_file"
    # The alarm of the run before stays armed in the store; each run arms its own.
    "$reg" delete "$base\\Armed" /f >/dev/null 2>&1 || true
    "$reg" add "$base" /v LastAction /d 'Domyślne okno' /f >/dev/null
    "$reg" add "$base" /v O_ZA /t REG_DWORD /d 1 /f >/dev/null
    "$reg" add "$base\\O_MRU" /ve /d "$(date -d "@$due" +%-H:%-M:0)" /f >/dev/null
    : >"$E2E_CALLS"
    # Under AddressSanitizer the sanitizer's runtime must come first; libfaketime ahead of it is
    # harmless, as neither wraps what the other does.
    ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0 \
        LD_PRELOAD=$faketime_library FAKETIME_TIMESTAMP_FILE=$offset_file FAKETIME_NO_CACHE=1 \
        FAKETIME_DONT_FAKE_MONOTONIC=1 TOCKWELL_TRAY_WAIT_MS=600000 e2e_start_program "$program"
    local setup
    setup=$(e2e_wait_window Tockwell)
    e2e_click "$setup" "${start_button[@]}"
    e2e_wait_call '^InhibitSleep "Tockwell" "Budzik ustawiony" -> yes$'
}

# jump_to MOMENT: sets the program's wall clock to MOMENT (seconds since 1970) from now on.
jump_to() { echo "+$(($1 - $(date +%s)))" >"$offset_file"; }

end_program() {
    kill "$E2E_PROGRAM_PID"
    wait "$E2E_PROGRAM_PID" || true
}

e2e_start_desktop --no-tray
export XDG_CONFIG_HOME=$e2e_tmp/config

e2e_log "30 s past the alarm: it fires late"
arm_alarm_in 240
jump_to $((due + 30))
e2e_wait_call '^KeepAbove$' # the alarm popup
e2e_screenshot clockjump-late
grep '^MessageBox' "$E2E_CALLS" && e2e_fail "told of an alarm that fired"
end_program

e2e_log "5 minutes past the alarm: the user is told, the alarm stays armed"
arm_alarm_in 240
jump_to $((due + 300))
e2e_wait_call '^MessageBox "Alarm „Domyślne okno” miał zadziałać o godzinie .*przestawiony do przodu.*" "Przegapiony alarm" 0x40 -> 1$'
grep '^KeepAbove$' "$E2E_CALLS" && e2e_fail "an alarm 5 minutes late fired"
grep -q '^ReleaseSleep$' "$E2E_CALLS" && e2e_fail "the alarm was disarmed"
end_program
# shown_windows: "ID WIDTHxHEIGHT" of each shown window of the program.
shown_windows() {
    # shellcheck disable=SC2034 # set by the geometry's eval
    local window WINDOW X Y WIDTH HEIGHT SCREEN
    for window in $(xdotool search --onlyvisible --classname '^tockwell$'); do
        eval "$(xdotool getwindowgeometry --shell "$window")"
        echo "$window ${WIDTH}x$HEIGHT"
    done
}
# notice_shown: a window of the program that is neither its icon nor its setup window is shown.
# (The lists are read whole first: grep -q would end shown_windows early, a failure under pipefail.)
notice_shown() {
    awk 'NF && $2 != "474x245" && $2 != "24x24" { found = 1 } END { exit !found }' \
        <<<"$(shown_windows)"
}
setup_shown() { grep -q " 474x245$" <<<"$(shown_windows)"; }
setup_hidden() { ! setup_shown; }

e2e_log "with a tray: the notice is a balloon, and the first click on the icon shows the window"
e2e_start_icewm
arm_alarm_in 240
icon=$(e2e_wait_tray_icon Tockwell)
e2e_wait_until "the setup window to hide" setup_hidden
jump_to $((due + 300))
e2e_wait_until "the notice" notice_shown
e2e_screenshot clockjump-tray-notice
windows=$(shown_windows)
notice=$(awk '$2 != "474x245" && $2 != "24x24" { print $1 }' <<<"$windows")
# rectangle WINDOW: "LEFT TOP RIGHT BOTTOM" of WINDOW on the screen, the right and bottom outside.
rectangle() {
    # shellcheck disable=SC2034 # set by the geometry's eval
    local WINDOW X Y WIDTH HEIGHT SCREEN
    eval "$(xdotool getwindowgeometry --shell "$1")"
    echo "$X $Y $((X + WIDTH)) $((Y + HEIGHT))"
}
read -r nl nt nr nb < <(rectangle "$notice")
read -r il it ir ib < <(rectangle "$icon")
((nr <= il || ir <= nl || nb <= it || ib <= nt)) ||
    e2e_fail "the notice ($nl,$nt)-($nr,$nb) covers the icon ($il,$it)-($ir,$ib)"
e2e_click "$icon" 5 5 # where Qt's balloon, left alone, covers the icon
e2e_wait_until "the setup window" setup_shown
end_program

# with_status_notifier_host [--notifications]: a stand-in StatusNotifier host from now on.
host_log=$e2e_tmp/status-notifier-host.log
with_status_notifier_host() {
    [[ -z ${host_pid:-} ]] || { kill "$host_pid"; wait "$host_pid" || true; }
    : >"$host_log"
    /usr/bin/python3 "$(dirname "$0")/../support/status-notifier-host.py" "$host_log" "$@" &
    host_pid=$!
    e2e_pids+=("$host_pid")
    e2e_wait_until "the StatusNotifier host" grep -q '^ready$' "$host_log"
}

e2e_log "a StatusNotifier item: the notice goes to the notification service"
with_status_notifier_host --notifications
arm_alarm_in 240
e2e_wait_until "the icon's registration" grep -q '^RegisterItem ' "$host_log"
jump_to $((due + 300))
e2e_wait_until "the notification" grep -q '^Notify Przegapiony alarm | Alarm „Domyślne okno”' "$host_log"
grep '^MessageBox' "$E2E_CALLS" && e2e_fail "a message box besides the notification"
end_program

e2e_log "a StatusNotifier item without a notification service: the notice is a message box"
with_status_notifier_host
arm_alarm_in 240
e2e_wait_until "the icon's registration" grep -q '^RegisterItem ' "$host_log"
jump_to $((due + 300))
e2e_wait_call '^MessageBox "Alarm „Domyślne okno” miał zadziałać o godzinie .*przestawiony do przodu.*" "Przegapiony alarm" 0x40 -> 1$'
end_program
e2e_log "passed"
