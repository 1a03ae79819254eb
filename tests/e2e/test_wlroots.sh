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
# shellcheck source=tests/e2e/wayland.sh
source "$(dirname "$0")/wayland.sh"
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
seat=${E2E_WAYLAND_SEAT:?the wayland_seat helper}
wayland_start_seat wlroots

# The native client: alone on the workspace, it fills the output.
wayland_start_client

# arm SUBACTION KEY VALUE [TYPE]: arm_countdown, then the focus back to the native client, as
# the user would give it: without a tray the setup window stays (sway has no minimising).
arm() {
    arm_countdown "$@"
    swaymsg '[app_id="wev"] focus' >/dev/null
}

e2e_log "the monitor goes off through the output power protocol"
# Headless sway takes the request and applies it to its output, which its headless back end
# cannot turn off ("Failed to commit output HEADLESS-1"): the log shows that it was asked.
output_lines() { grep -c 'output HEADLESS-1' "$e2e_tmp/sway.log" || true; }
output_asked_since() { (($(output_lines) > $1)); }
before=$(output_lines)
arm 'Wygaś monitor' '' ''
e2e_wait_until "sway to apply the power request" output_asked_since "$before"
end_program

e2e_log "a key press with Control reaches the native client"
arm 'Zasymuluj wciśnięcie dowolnego klawisza' Klawisz '[CTRL+C] Kopiuj'
e2e_wait_until "c with Control in wev" grep -q 'sym: c ' "$wev_log"
grep -q 'depressed: 00000004: Control' "$wev_log" || e2e_fail "wev saw no Control: $(cat "$wev_log")"
end_program

e2e_log "a sub-action that sway does not allow is explained"
"$reg" add "$base" /v cb_Inne /d 'Zawieś działanie klawiatury' /f >/dev/null
start_program
click_in "$setup" "${start_button[@]}"
# (Restoring the sub-action at the start tells nothing: Start does.)
e2e_wait_until "the explanation" explained
end_program

e2e_log "a click at the stored point reaches the native client there"
: >"$wev_log"
"$reg" add "$base\\Inne_MRU" /v y_SingleClick /t REG_DWORD /d 650 /f >/dev/null
arm 'Zasymuluj pojedyncze kliknięcie myszy' x_SingleClick 200 REG_DWORD
e2e_wait_until "the press in wev" grep -q 'button: 272 (left), state: 1 (pressed)' "$wev_log"
grep -Eq 'x, y: 200\.0+, 650\.0+' "$wev_log" || e2e_fail "the pointer went elsewhere: $(cat "$wev_log")"
end_program

e2e_log "passed"
