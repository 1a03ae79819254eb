#!/usr/bin/env bash
# A click point on a screen drawn at scale 2 (QT_SCALE_FACTOR=2), with the real backend: the
# point picked with the pointer is stored in screen (device) pixels, and the single-click alarm
# clicks exactly there, on a small window of its own (xev) that reports where it was clicked.
# Usage: test_scaled.sh PROGRAM
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
program=${1:?usage: $0 PROGRAM}
reg=$(dirname "$program")/tockwell-reg
base='HKCU\Software\Kestrolab\Tockwell'
command -v xev >/dev/null || { echo "e2e: xev is not installed; skipped" >&2; exit 77; }

# Places in the setup window, in its layout's pixels (doubled on the screen): "Określ punkt" of
# the click panel, and Start.
scale=2
pick_button=(286 187)
start_button=(23 21)
# The point to click: beyond the half of the 1280 × 800 screen, where Qt's logical pixels end.
target=(1000 700)

# click_at WINDOW X Y: clicks at the layout point X, Y of WINDOW.
click_at() { e2e_click "$1" $(($2 * scale)) $(($3 * scale)); }

# wait_box TITLE: waits for a mapped message box whose title begins with TITLE; prints its id.
wait_box() {
    timeout "$E2E_TIMEOUT" xdotool search --sync --onlyvisible --name "^$1" | head -n1 ||
        e2e_fail "no box \"$1\" within ${E2E_TIMEOUT} s"
}

# is_active WINDOW: WINDOW has the input focus.
is_active() { [[ $(xdotool getactivewindow) == "$1" ]]; }

e2e_start_desktop
export XDG_CONFIG_HOME=$e2e_tmp/config
mkdir -p "$XDG_CONFIG_HOME"
# The last values: a single click in three seconds.
"$reg" add "$base" /v LastAction /d 'Inne możliwości' /f >/dev/null
"$reg" add "$base" /v cb_Inne /d 'Zasymuluj pojedyncze kliknięcie myszy' /f >/dev/null
"$reg" add "$base" /v O_ZA /t REG_DWORD /d 2 /f >/dev/null
"$reg" add "$base\\ZA_MRU" /ve /d '0:0:3' /f >/dev/null

# The window the alarm is to click, around the target point.
stdbuf -oL xev -name clicktarget -geometry 80x80+960+660 -event button \
    >"$e2e_tmp/xev.log" 2>&1 &
e2e_pids+=($!)
xevwin=$(e2e_wait_window clicktarget)
xdotool windowmove "$xevwin" 960 660
covers_target() {
    local geometry x y w h
    geometry=$(xwininfo -id "$xevwin")
    x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$geometry")
    y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$geometry")
    w=$(awk '/Width:/ {print $2}' <<<"$geometry")
    h=$(awk '/Height:/ {print $2}' <<<"$geometry")
    ((x < target[0] && target[0] < x + w && y < target[1] && target[1] < y + h))
}
e2e_wait_until "the click target over ${target[*]}" covers_target

# The real backend: no recording platform.
TOCKWELL_UPDATE_LOCATION=http://127.0.0.1:9/ QT_SCALE_FACTOR=$scale "$program" \
    >>"$e2e_tmp/program.log" 2>&1 &
E2E_PROGRAM_PID=$!
e2e_pids+=("$E2E_PROGRAM_PID")
setup=$(e2e_wait_window Tockwell)
e2e_screenshot scaled-setup

e2e_log "picking the point ${target[*]}"
click_at "$setup" "${pick_button[@]}"
box=$(wait_box 'UWAGA !!!')
xdotool mousemove "${target[@]}"
e2e_key "$box" Return
e2e_wait_until "the setup window to have the focus again" is_active "$setup"
# Return in the x field takes the point. A key that comes while the focus is still on its way
# to the field is lost, so it is pressed again when no box has come.
for attempt in 1 2 3; do
    xdotool key Return
    E2E_TIMEOUT=3 e2e_try_until xdotool search --onlyvisible --name '^INFORMACJA' && break
    e2e_log "no box after Return (attempt $attempt)"
done
box=$(wait_box INFORMACJA)
e2e_screenshot scaled-point-taken
e2e_key "$box" Return
e2e_wait_window_gone 'INFORMACJA'

e2e_log "a single click in three seconds"
click_at "$setup" "${start_button[@]}"
stored() { "$reg" query "$base\\Inne_MRU" /v "$1" | grep -q "$2"; }
stored x_SingleClick 0x3e8 || e2e_fail "x not stored as 1000: $("$reg" query "$base\\Inne_MRU")"
stored y_SingleClick 0x2bc || e2e_fail "y not stored as 700: $("$reg" query "$base\\Inne_MRU")"
e2e_wait_until "the click on the target" grep -q ButtonRelease "$e2e_tmp/xev.log"
grep -A2 ButtonPress "$e2e_tmp/xev.log" | grep -q "root:(${target[0]},${target[1]})" ||
    e2e_fail "the click did not land at ${target[*]}: $(cat "$e2e_tmp/xev.log")"
e2e_log "passed"
