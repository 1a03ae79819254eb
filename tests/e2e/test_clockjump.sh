#!/usr/bin/env bash
# The wall clock set forward past a clock-time alarm while the program runs (libfaketime, its
# offset read from a file that the test changes; the steady clock is left alone) with logind
# present (the recording platform watches sleep): 30 s past the alarm it fires late, 5 minutes
# past it the user is told. No tray, so that the notice is a recorded message box.
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
    "$reg" add "$base" /v LastAction /d 'Domyślne okno' /f >/dev/null
    "$reg" add "$base" /v O_ZA /t REG_DWORD /d 1 /f >/dev/null
    "$reg" add "$base\\O_MRU" /ve /d "$(date -d "@$due" +%-H:%-M:0)" /f >/dev/null
    : >"$E2E_CALLS"
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
e2e_log "passed"
