#!/usr/bin/env bash
# Start-up: the setup window appears, the tray icon is docked, and the icon's clicks and menu
# work. Usage: test_startup.sh PROGRAM
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
program=${1:?usage: $0 PROGRAM}

e2e_start_desktop
e2e_start_program "$program"

setup=$(e2e_wait_window Tockwell)
e2e_log "setup window $setup"
icon=$(e2e_wait_tray_icon Tockwell)
e2e_log "tray icon $icon"
e2e_screenshot startup

# Centred on the screen's work area.
eval "$(xdotool getwindowgeometry --shell "$setup")"
((WIDTH == 474 && HEIGHT == 245)) || e2e_fail "setup window is ${WIDTH}x$HEIGHT"
((X > 300 && X < 500 && Y > 200 && Y < 320)) || e2e_fail "setup window at $X,$Y is not centred"

# Two places of the icon further apart than a double click may be: clicks at one and then the
# other are clicks of their own however quickly they follow each other.
near=(5 5)
far=(17 17)

e2e_log "tray clicks"
e2e_click "$icon" "${near[@]}"
e2e_wait_window_gone Tockwell
e2e_click "$icon" "${far[@]}"
setup=$(e2e_wait_window Tockwell) # a window shown again is a new X window

e2e_log "minimising hides into the tray"
xdotool windowminimize "$setup"
e2e_wait_until "the setup window to leave the taskbar" e2e_withdrawn "$setup"
e2e_click "$icon" "${near[@]}"
setup=$(e2e_wait_window Tockwell)
xprop -id "$setup" _NET_WM_STATE | grep -q HIDDEN && e2e_fail "the setup window came back minimised"

e2e_log "About from the tray menu, closed with Esc"
e2e_open_tray_menu "$icon"
e2e_screenshot tray-menu
xdotool key Up Up Return
about=$(e2e_wait_window 'O programie ...')
e2e_screenshot about
e2e_key "$about" Escape
e2e_wait_window_gone 'O programie ...'

# No platform call so far but the screen's size for the click-point bounds: nothing was opened,
# no message box was shown.
calls=$(grep -v '^ScreenSize ' "$E2E_CALLS" || true)
[[ -z $calls ]] || e2e_fail "unexpected calls: $calls"

e2e_log "Zamknij ends the program"
e2e_open_tray_menu "$icon"
xdotool key Up Return
e2e_wait_until "the program to end" bash -c "! kill -0 $E2E_PROGRAM_PID"
e2e_log "passed"
