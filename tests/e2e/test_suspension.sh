#!/usr/bin/env bash
# Keyboard and mouse suspension with the real backend never locks the user out: "Podgląd" asks
# first and gives the devices back by itself; after a kill -9 of the program its guard gives
# them back within a second.
# Usage: test_suspension.sh PROGRAM XI_DEVICES
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
program=${1:?usage: $0 PROGRAM XI_DEVICES}
devices=${2:?usage: $0 PROGRAM XI_DEVICES}
reg=$(dirname "$program")/tockwell-reg
base='HKCU\Software\Kestrolab\Tockwell'
preview_button=(418 220)

# wait_box TITLE: waits for a mapped message box whose title begins with TITLE; prints its id.
wait_box() {
    timeout "$E2E_TIMEOUT" xdotool search --sync --onlyvisible --name "^$1" | head -n1 ||
        e2e_fail "no box \"$1\" within ${E2E_TIMEOUT} s"
}

# The states of the X server's own keyboard and mouse, "1" enabled or "0".
device_states() { "$devices" | awk '/Xvfb (keyboard|mouse)/ { printf "%s", $1 }'; }
all_enabled() { [[ $(device_states) == 11 ]]; }
all_suspended() { [[ $(device_states) == 00 ]]; }

# preview_suspension WINDOW: "Podgląd", answered Yes (the default button) with Return.
preview_suspension() {
    e2e_click "$1" "${preview_button[@]}"
    local box
    box=$(wait_box 'UWAGA !!!')
    all_enabled || e2e_fail "the devices went before the question was answered"
    e2e_screenshot suspension-question
    e2e_key "$box" Return
    e2e_wait_until "the devices to be suspended" all_suspended
}

e2e_start_desktop
all_enabled || e2e_fail "the X server's keyboard and mouse are not there: $("$devices")"
export XDG_CONFIG_HOME=$e2e_tmp/config
mkdir -p "$XDG_CONFIG_HOME"
"$reg" add "$base" /v LastAction /d 'Inne możliwości' /f >/dev/null
"$reg" add "$base" /v cb_Inne /d 'Zawieś działanie myszy i klawiatury' /f >/dev/null

# The real backend: no recording platform.
start_program() {
    TOCKWELL_UPDATE_LOCATION=http://127.0.0.1:9/ "$program" >>"$e2e_tmp/program.log" 2>&1 &
    E2E_PROGRAM_PID=$!
    e2e_pids+=("$E2E_PROGRAM_PID")
}
start_program
setup=$(e2e_wait_window Tockwell)

e2e_log "a preview asks, suspends, and gives the devices back after 10 s"
preview_suspension "$setup"
started=$(e2e_now_ms)
E2E_TIMEOUT=20 e2e_wait_until "the devices back after the preview" all_enabled
e2e_log "back after $(($(e2e_now_ms) - started)) ms"

e2e_log "a click on the tray icon gives them back"
icon=$(e2e_wait_tray_icon Tockwell)
preview_suspension "$setup"
e2e_click "$icon" 8 8
e2e_wait_until "the devices back after the tray click" all_enabled
# The click also hid the setup window; "Ustaw nowy czas" shows it again (a second click this
# soon would make a double click, which toggles once).
e2e_wait_until "the setup window hidden by the click" e2e_withdrawn "$setup"
e2e_open_tray_menu "$icon"
xdotool key Down Return
setup=$(e2e_wait_window Tockwell)

e2e_log "so does the program's end (Zamknij in the tray menu)"
preview_suspension "$setup"
e2e_open_tray_menu "$icon"
xdotool key Up Return
e2e_wait_until "the program to end" bash -c "! kill -0 $E2E_PROGRAM_PID"
all_enabled || e2e_fail "the devices stayed away after the program's end"
start_program
setup=$(e2e_wait_window Tockwell)

e2e_log "kill -9 while they are suspended"
preview_suspension "$setup"
kill -9 "$E2E_PROGRAM_PID"
started=$(e2e_now_ms)
E2E_TIMEOUT=1 e2e_wait_until "the devices back within a second of kill -9" all_enabled
e2e_log "back $(($(e2e_now_ms) - started)) ms after the kill"
e2e_log "passed"
