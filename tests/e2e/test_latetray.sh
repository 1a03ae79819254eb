#!/usr/bin/env bash
# A tray that comes late, as at login when the program starts before the panel: the program does
# not say that there is no tray, its icon docks once the tray is there, and a click on it hides
# and shows the setup window. The tray is noticed when it comes (not only when the wait for it
# runs out): a window minimised to the taskbar meanwhile goes into it at once. Then "Po
# uruchomieniu minimalizuj do traya": a start with a tray stays in the tray until the icon is
# clicked. Usage: test_latetray.sh PROGRAM
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
program=${1:?usage: $0 PROGRAM}
reg=$(dirname "$program")/tockwell-reg
base='HKCU\Software\Kestrolab\Tockwell'
minimise_button=(58 21)
tray_wait_ms=15000 # the program's own wait

# end_program ICON: "Zamknij" from the tray menu of ICON; waits until the program has ended.
end_program() {
    e2e_open_tray_menu "$1"
    xdotool key Up Return
    e2e_wait_until "the program to end" bash -c "! kill -0 $E2E_PROGRAM_PID"
    : >"$E2E_CALLS"
}

e2e_log "icewm with its tray starts once the program's window is there"
e2e_start_desktop --no-tray
started=$(e2e_now_ms)
e2e_start_program "$program"
e2e_wait_window Tockwell >/dev/null
e2e_start_icewm
icewm_pid=${e2e_pids[-1]}
icon=$(e2e_wait_tray_icon Tockwell)
e2e_screenshot latetray-docked
# Two places of the icon further apart than a double click may be: the second click is a click
# of its own however quickly it follows the first.
e2e_click "$icon" 5 5
e2e_wait_window_gone Tockwell
e2e_click "$icon" 17 17
e2e_wait_window Tockwell >/dev/null
# The notice would come when the wait runs out: it must not.
left=$((started + tray_wait_ms + 1000 - $(e2e_now_ms)))
((left <= 0)) || sleep "$((left / 1000)).$(printf %03d $((left % 1000)))"
calls=$(grep -v '^ScreenSize ' "$E2E_CALLS" || true) # asked when the setup window is created
[[ -z $calls ]] || e2e_fail "unexpected calls: $calls"

e2e_log "with AutoMinimize and a tray the start stays in the tray"
end_program "$icon"
"$reg" add "$base" /v AutoMinimize /t REG_DWORD /d 1 /f >/dev/null
e2e_start_program "$program"
icon=$(e2e_wait_tray_icon Tockwell)
e2e_screenshot latetray-autominimize
e2e_no_window Tockwell || e2e_fail "the setup window was shown although AutoMinimize is set"
e2e_click "$icon" 8 8
e2e_wait_window Tockwell >/dev/null
calls=$(grep -v '^ScreenSize ' "$E2E_CALLS" || true) # asked when the setup window is created
[[ -z $calls ]] || e2e_fail "unexpected calls: $calls"
end_program "$icon"

e2e_log "the tray is noticed when it comes: the panel gets its tray while the program runs"
"$reg" add "$base" /v AutoMinimize /t REG_DWORD /d 0 /f >/dev/null
kill "$icewm_pid"
e2e_wait_until "icewm to end" bash -c "! kill -0 $icewm_pid"
preferences=$e2e_tmp/home/.icewm/preferences
echo 'TaskBarEnableSystemTray=0' >"$preferences"
HOME=$e2e_tmp/home ICEWM_PRIVCFG=$e2e_tmp/home/.icewm icewm >>"$e2e_tmp/icewm.log" 2>&1 &
icewm_pid=$!
e2e_pids+=("$icewm_pid")
e2e_wait_until "the taskbar" e2e_has_window '"TaskBar"'
e2e_has_window '"SystemTray"' && e2e_fail "icewm has a tray although it was told not to"
# Longer than the test may take: only watching the desktop makes the program notice the tray.
TOCKWELL_TRAY_WAIT_MS=600000 e2e_start_program "$program"
setup=$(e2e_wait_window Tockwell)
e2e_click "$setup" "${minimise_button[@]}"
e2e_wait_until "the setup window on the taskbar" bash -c "xprop -id $setup WM_STATE | grep -q Iconic"
echo 'TaskBarEnableSystemTray=1' >"$preferences"
kill -HUP "$icewm_pid" # icewm restarts with the new preferences, keeping the windows
icon=$(e2e_wait_tray_icon Tockwell)
e2e_wait_until "the minimised setup window to go into the tray" e2e_withdrawn "$setup"
e2e_click "$icon" 8 8
e2e_wait_window Tockwell >/dev/null
calls=$(grep -v '^ScreenSize ' "$E2E_CALLS" || true) # asked when the setup window is created
[[ -z $calls ]] || e2e_fail "unexpected calls: $calls"
e2e_log "passed"
