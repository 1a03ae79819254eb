#!/usr/bin/env bash
# Waking for an alarm, end to end on the recording platform: a clock-time alarm started in the
# setup window takes the lock on sleep (after asking whether the computer can be woken), Stop
# gives it back; a countdown takes none; the options dialog shows the wake option ticked; an end
# asked for with SIGTERM gives the lock back as "Zamknij" does.
# Usage: test_wake.sh PROGRAM
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
program=${1:?usage: $0 PROGRAM}
reg=$(dirname "$program")/tockwell-reg
base='HKCU\Software\Kestrolab\Tockwell'
start_button=(23 21) # Stop takes its place while armed
countdown_radio=(20 125)
countdown_seconds=(158 149)

# The last values: the built-in alarm window at a clock time that the test does not reach.
store_clock_alarm() {
    "$reg" add "$base" /v LastAction /d 'Domyślne okno' /f >/dev/null
    "$reg" add "$base" /v O_ZA /t REG_DWORD /d 1 /f >/dev/null
    "$reg" add "$base\\O_MRU" /ve /d "$(date -d '+3 hours' +%-H):17:0" /f >/dev/null
}

e2e_start_desktop
export XDG_CONFIG_HOME=$e2e_tmp/config
store_clock_alarm
e2e_start_program "$program"
setup=$(e2e_wait_window Tockwell)
icon=$(e2e_wait_tray_icon Tockwell)

e2e_log "a clock-time alarm holds the lock on sleep"
e2e_click "$setup" "${start_button[@]}"
e2e_wait_window_gone Tockwell
e2e_wait_call '^WatchSleep -> yes$'
e2e_wait_call '^CanWake -> ok$'
e2e_wait_call '^InhibitSleep "Tockwell" "Budzik ustawiony" -> yes$'

e2e_log "Stop gives it back"
e2e_click "$icon" 8 8
setup=$(e2e_wait_window Tockwell)
e2e_click "$setup" "${start_button[@]}"
e2e_wait_call '^ReleaseSleep$'

e2e_log "a countdown takes no lock"
: >"$E2E_CALLS"
e2e_click "$setup" "${countdown_radio[@]}"
e2e_click "$setup" "${countdown_seconds[@]}"
xdotool key ctrl+a BackSpace type 1
e2e_click "$setup" "${start_button[@]}"
e2e_wait_call '^KeepAbove$' # the alarm popup: the countdown has gone off
popup=$(e2e_wait_window "ALARM $(printf '!%.0s' $(seq 50))")
# above_icon: the popup has slid clear of the tray icon, so that a click on the icon reaches it.
above_icon() {
    # shellcheck disable=SC2034 # set by the geometry's evals
    local WINDOW X Y WIDTH HEIGHT SCREEN bottom
    eval "$(xdotool getwindowgeometry --shell "$popup")"
    bottom=$((Y + HEIGHT))
    eval "$(xdotool getwindowgeometry --shell "$icon")"
    ((bottom <= Y))
}
e2e_wait_until "the popup clear of the tray icon" above_icon
! grep -Eq 'Sleep|Wake' "$E2E_CALLS" || e2e_fail "a countdown touched sleep: $(cat "$E2E_CALLS")"

e2e_log "the option is on in the options dialog"
e2e_open_tray_menu "$icon"
xdotool key Up Up Up Return
e2e_wait_window Opcje >/dev/null
e2e_screenshot options-wake

e2e_log "SIGTERM ends the program as Zamknij does: the lock goes back"
kill "$E2E_PROGRAM_PID"
wait "$E2E_PROGRAM_PID" || e2e_fail "the program ended with status $? on SIGTERM"
store_clock_alarm
: >"$E2E_CALLS"
e2e_start_program "$program"
setup=$(e2e_wait_window Tockwell)
e2e_click "$setup" "${start_button[@]}"
e2e_wait_call '^InhibitSleep "Tockwell" "Budzik ustawiony" -> yes$'
kill -TERM "$E2E_PROGRAM_PID"
wait "$E2E_PROGRAM_PID" || e2e_fail "the program ended with status $? on SIGTERM"
grep -q '^ReleaseSleep$' "$E2E_CALLS" || e2e_fail "the lock was not given back: $(cat "$E2E_CALLS")"
e2e_log "passed"
