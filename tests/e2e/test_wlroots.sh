#!/usr/bin/env bash
# A wlroots Wayland session end to end, with the real Linux platform: headless sway (as an
# unprivileged user, which sway requires) with XWayland, a native Wayland client (wev) that logs
# what it receives, and the program in XWayland as a user starts it there. Alarms armed in the
# setup window press keys with a modifier and click at a stored point (beside the setup window,
# which stays shown: there is no tray) through the compositor's
# virtual devices, which reach the native client; "Wygaś monitor" asks sway to turn its output
# off; a sub-action that sway does not allow is explained instead of being done.
# Usage: test_wlroots.sh PROGRAM
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
program=${1:?usage: $0 PROGRAM}
reg=$(dirname "$program")/tockwell-reg
base='HKCU\Software\Kestrolab\Tockwell'
for tool in sway swaymsg wev Xwayland setpriv stdbuf xhost; do
    command -v "$tool" >/dev/null || { echo "e2e: $tool is not installed; skipped" >&2; exit 77; }
done
start_button=(23 21)

# The session's own folder, which the unprivileged compositor writes to.
session=$e2e_tmp/session
runtime=$session/runtime
mkdir -p "$runtime"
chown -R nobody:nogroup "$session"
chmod 700 "$runtime"
chmod 755 "$e2e_tmp" "$session"
cat >"$session/config" <<EOF
xwayland enable
output HEADLESS-1 resolution 1280x800 position 0 0
default_border none
exec sh -c 'xhost +si:localuser:root && echo "\$DISPLAY" > $session/display'
EOF
env -i PATH="$PATH" HOME="$session" XDG_RUNTIME_DIR="$runtime" WLR_BACKENDS=headless \
    WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    setpriv --reuid=nobody --regid=nogroup --clear-groups sway -c "$session/config" \
    >"$e2e_tmp/sway.log" 2>&1 &
e2e_pids+=($!)
e2e_wait_until "sway's Wayland socket" test -S "$runtime/wayland-1"
e2e_wait_until "sway's X display" test -s "$session/display"
export XDG_RUNTIME_DIR=$runtime WAYLAND_DISPLAY=wayland-1 XDG_SESSION_TYPE=wayland \
    XDG_CURRENT_DESKTOP=sway DISPLAY SWAYSOCK
DISPLAY=$(cat "$session/display")
SWAYSOCK=$(echo "$runtime"/sway-ipc.*.sock)
e2e_log "sway on $WAYLAND_DISPLAY, XWayland on $DISPLAY"
export XDG_CONFIG_HOME=$e2e_tmp/config

# A pointer and a keyboard for the seat, which the headless compositor has none of; the test
# clicks with that pointer (XTest's clicks do not reach XWayland's windows).
mkfifo "$e2e_tmp/clicks"
"${E2E_WAYLAND_SEAT:?the wayland_seat helper}" "$(dirname "$program")/tockwell-wayland.so" \
    <"$e2e_tmp/clicks" >"$e2e_tmp/seat.log" 2>&1 &
e2e_pids+=($!)
exec 7>"$e2e_tmp/clicks"
e2e_wait_until "the seat's devices" grep -q '^ready$' "$e2e_tmp/seat.log"
# sway_click WINDOW X Y: a click of the test's pointer at X, Y inside the X11 window WINDOW.
sway_click() {
    # shellcheck disable=SC2034 # set by the geometry's eval
    local WINDOW X Y WIDTH HEIGHT SCREEN clicks
    eval "$(xdotool getwindowgeometry --shell "$1")"
    clicks=$(seat_clicks)
    echo "$((X + $2)) $((Y + $3)) 1280 800" >&7
    e2e_wait_until "the click" seat_clicked_since "$clicks"
}
seat_clicks() { grep -c '^clicked$' "$e2e_tmp/seat.log" || true; }
seat_clicked_since() { (($(seat_clicks) > $1)); }

# The native client: alone on the workspace, it fills the output.
wev_log=$e2e_tmp/wev.log
stdbuf -oL wev >"$wev_log" 2>&1 &
e2e_pids+=($!)
e2e_wait_until "wev's window" grep -q 'activated' "$wev_log"

# arm_countdown SUBACTION KEY VALUE: starts the program with a three-second countdown of the
# sub-action SUBACTION, its stored parameter KEY set to VALUE, and arms it from the setup window.
arm_countdown() {
    "$reg" add "$base" /v LastAction /d 'Inne możliwości' /f >/dev/null
    "$reg" add "$base" /v cb_Inne /d "$1" /f >/dev/null
    "$reg" add "$base" /v O_ZA /t REG_DWORD /d 2 /f >/dev/null
    "$reg" add "$base\\ZA_MRU" /ve /d '0:0:3' /f >/dev/null
    [[ -z $2 ]] || "$reg" add "$base\\Inne_MRU" /v "$2" ${4:+/t "$4"} /d "$3" /f >/dev/null
    start_program
    sway_click "$setup" "${start_button[@]}"
    # Without a tray the setup window stays (sway has no minimising): the native client takes
    # the focus back, as the user would give it.
    swaymsg '[app_id="wev"] focus' >/dev/null
}
start_program() {
    env -u TOCKWELL_PLATFORM TOCKWELL_UPDATE_LOCATION=http://127.0.0.1:9/ \
        TOCKWELL_TRAY_WAIT_MS=600000 "$program" >>"$e2e_tmp/program.log" 2>&1 &
    E2E_PROGRAM_PID=$!
    e2e_pids+=("$E2E_PROGRAM_PID")
    # This program's window: one of a program just ended may still be listed.
    e2e_wait_until "the setup window" program_window
    setup=$(program_window)
}
program_window() { xdotool search --onlyvisible --pid "$E2E_PROGRAM_PID" --name '^Tockwell$'; }
end_program() {
    kill "$E2E_PROGRAM_PID"
    wait "$E2E_PROGRAM_PID" || true
}

e2e_log "the monitor goes off through the output power protocol"
# Headless sway takes the request and applies it to its output, which its headless back end
# cannot turn off ("Failed to commit output HEADLESS-1"): the log shows that it was asked.
output_lines() { grep -c 'output HEADLESS-1' "$e2e_tmp/sway.log" || true; }
output_asked_since() { (($(output_lines) > $1)); }
before=$(output_lines)
arm_countdown 'Wygaś monitor' '' ''
e2e_wait_until "sway to apply the power request" output_asked_since "$before"
end_program

e2e_log "a key press with Control reaches the native client"
arm_countdown 'Zasymuluj wciśnięcie dowolnego klawisza' Klawisz '[CTRL+C] Kopiuj'
e2e_wait_until "c with Control in wev" grep -q 'sym: c ' "$wev_log"
grep -q 'depressed: 00000004: Control' "$wev_log" || e2e_fail "wev saw no Control: $(cat "$wev_log")"
end_program

e2e_log "a sub-action that sway does not allow is explained"
"$reg" add "$base" /v cb_Inne /d 'Zawieś działanie klawiatury' /f >/dev/null
start_program
sway_click "$setup" "${start_button[@]}"
# The explanation is a message box of the program's over its setup window.
explained() { (($(program_window | wc -l) >= 2)); }
# (Restoring the sub-action at the start tells nothing: Start does.)
e2e_wait_until "the explanation" explained
end_program

e2e_log "a click at the stored point reaches the native client there"
: >"$wev_log"
"$reg" add "$base\\Inne_MRU" /v y_SingleClick /t REG_DWORD /d 650 /f >/dev/null
arm_countdown 'Zasymuluj pojedyncze kliknięcie myszy' x_SingleClick 200 REG_DWORD
e2e_wait_until "the press in wev" grep -q 'button: 272 (left), state: 1 (pressed)' "$wev_log"
grep -Eq 'x, y: 200\.0+, 650\.0+' "$wev_log" || e2e_fail "the pointer went elsewhere: $(cat "$wev_log")"
end_program

e2e_log "passed"
