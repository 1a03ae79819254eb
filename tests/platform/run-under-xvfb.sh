#!/usr/bin/env bash
# Runs the test command given under an X server of its own (Xvfb) with icewm as the window
# manager and a session bus of its own, and stops them afterwards. Nothing reaches the desktop
# or the input devices of the machine the tests run on.
set -euo pipefail

scratch=$(mktemp -d)
xvfb=
wm=
cleanup() {
    if [[ -n "$wm" ]]; then kill "$wm" 2>/dev/null || true; fi
    if [[ -n "$xvfb" ]]; then kill "$xvfb" 2>/dev/null || true; fi
    rm -rf "$scratch"
}
trap cleanup EXIT

# -noreset: the server stays up between clients instead of resetting when the last one leaves.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$scratch/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do
    [[ -s "$scratch/display" ]] && break
    sleep 0.1
done
[[ -s "$scratch/display" ]] || { echo "Xvfb did not start" >&2; exit 1; }
DISPLAY=":$(head -n1 "$scratch/display")"
export DISPLAY

# icewm with no settings of the user's.
HOME="$scratch" icewm >"$scratch/icewm.log" 2>&1 &
wm=$!
for _ in $(seq 200); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.1
done

xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" || {
    echo "icewm did not start:" >&2
    cat "$scratch/icewm.log" >&2
    exit 1
}

export QT_QPA_PLATFORM=xcb XDG_SESSION_TYPE=x11
unset WAYLAND_DISPLAY
dbus-run-session -- "$@"
