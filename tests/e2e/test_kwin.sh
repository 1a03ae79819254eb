#!/usr/bin/env bash
# A KDE Plasma Wayland session end to end, with the real Linux platform: headless KWin with
# XWayland, a native Wayland client (wev) that logs what it receives, and the program in XWayland
# as a user starts it there. KWin grants its fake input through the program's own desktop file
# (made here with the built program as its Exec). Alarms armed in the setup window press keys
# with a modifier, click at a stored point and show the desktop through KWin's own means; the
# monitor, which KWin's virtual output cannot switch off, is explained instead.
# Usage: test_kwin.sh PROGRAM
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
program=$(realpath "${1:?usage: $0 PROGRAM}")
reg=$(dirname "$program")/tockwell-reg
base='HKCU\Software\Kestrolab\Tockwell'
for tool in kwin_wayland wev Xwayland stdbuf gdbus; do
    command -v "$tool" >/dev/null || { echo "e2e: $tool is not installed; skipped" >&2; exit 77; }
done
start_button=(23 21)
seat=$(realpath "${E2E_WAYLAND_SEAT:?the wayland_seat helper}")

export XDG_RUNTIME_DIR=$e2e_tmp/runtime XDG_CACHE_HOME=$e2e_tmp/cache
export XDG_DATA_DIRS=$e2e_tmp/share:/usr/share XDG_CONFIG_HOME=$e2e_tmp/config
mkdir -m 700 "$XDG_RUNTIME_DIR"
dbus-daemon --session --nofork --address="unix:path=$XDG_RUNTIME_DIR/bus" \
    --print-address=3 3>"$e2e_tmp/bus-address" >"$e2e_tmp/dbus.log" 2>&1 &
e2e_pids+=($!)
export DBUS_SESSION_BUS_ADDRESS=unix:path=$XDG_RUNTIME_DIR/bus
e2e_wait_until "the session bus" grep -q . "$e2e_tmp/bus-address"

# KWin grants its fake input to the programs whose desktop files list it, matched by path.
applications=$e2e_tmp/share/applications
mkdir -p "$applications"
sed "s|^Exec=.*|Exec=$program|" "$(dirname "$0")/../../assets/desktop/tockwell.desktop" \
    >"$applications/tockwell.desktop"
printf '%s\n' '[Desktop Entry]' 'Type=Application' 'Name=seat' "Exec=$seat" \
    'X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input' >"$applications/wayland-seat.desktop"

# A copy of KWin without its binary's file capability, which root in a container cannot take;
# the session's first program writes down XWayland's display and lives as long as KWin.
mkdir "$e2e_tmp/bin"
cp "$(command -v kwin_wayland)" "$e2e_tmp/bin/kwin_wayland"
cat >"$e2e_tmp/session.sh" <<SESSION
#!/bin/sh
echo "\$DISPLAY" > $e2e_tmp/display.tmp
mv $e2e_tmp/display.tmp $e2e_tmp/display
exec tail --pid=\$PPID -f /dev/null
SESSION
chmod +x "$e2e_tmp/session.sh"
env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY "$e2e_tmp/bin/kwin_wayland" --virtual \
    --xwayland --width 1280 --height 800 --socket tockwell-kwin --no-lockscreen \
    --no-kactivities --exit-with-session "$e2e_tmp/session.sh" >"$e2e_tmp/kwin.log" 2>&1 &
e2e_pids+=($!)
e2e_wait_until "KWin's X display" test -s "$e2e_tmp/display"
export WAYLAND_DISPLAY=tockwell-kwin XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=KDE
DISPLAY=$(cat "$e2e_tmp/display")
export DISPLAY
e2e_log "KWin on $WAYLAND_DISPLAY, XWayland on $DISPLAY"

# The test's pointer, which clicks the program's buttons and gives the native client the focus.
mkfifo "$e2e_tmp/clicks"
"$seat" "$(dirname "$program")/tockwell-wayland.so" kwin <"$e2e_tmp/clicks" \
    >"$e2e_tmp/seat.log" 2>&1 &
e2e_pids+=($!)
exec 7>"$e2e_tmp/clicks"
e2e_wait_until "the seat's devices" grep -q '^ready$' "$e2e_tmp/seat.log"
seat_clicks() { grep -c '^clicked$' "$e2e_tmp/seat.log" || true; }
seat_clicked_since() { (($(seat_clicks) > $1)); }
# click X Y: a click of the test's pointer at X, Y of the screen.
click() {
    local clicks
    clicks=$(seat_clicks)
    echo "$1 $2 1280 800" >&7
    e2e_wait_until "the click" seat_clicked_since "$clicks"
}
# click_in WINDOW X Y: a click at X, Y inside the X11 window WINDOW.
click_in() {
    # shellcheck disable=SC2034 # set by the geometry's eval
    local WINDOW X Y WIDTH HEIGHT SCREEN
    eval "$(xdotool getwindowgeometry --shell "$1")"
    click $((X + $2)) $((Y + $3))
}

# The native client: KWin puts its 640 × 480 window in the middle of the output.
wev_log=$e2e_tmp/wev.log
stdbuf -oL wev >"$wev_log" 2>&1 &
e2e_pids+=($!)
e2e_wait_until "wev's window" grep -q 'activated' "$wev_log"
# A point of wev's window that the setup window does not cover.
wev_point() {
    # shellcheck disable=SC2034 # set by the geometry's eval
    local WINDOW X Y WIDTH HEIGHT SCREEN px py
    eval "$(xdotool getwindowgeometry --shell "$setup")"
    for px in 340 940; do
        for py in 180 620; do
            if ((px < X || px >= X + WIDTH || py < Y || py >= Y + HEIGHT)); then
                echo "$px $py"
                return
            fi
        done
    done
    e2e_fail "the setup window covers wev"
}

# arm_countdown SUBACTION KEY VALUE [TYPE]: starts the program with a three-second countdown of
# the sub-action SUBACTION, its stored parameter KEY set to VALUE, and arms it from the setup
# window.
arm_countdown() {
    "$reg" add "$base" /v LastAction /d 'Inne możliwości' /f >/dev/null
    "$reg" add "$base" /v cb_Inne /d "$1" /f >/dev/null
    "$reg" add "$base" /v O_ZA /t REG_DWORD /d 2 /f >/dev/null
    "$reg" add "$base\\ZA_MRU" /ve /d '0:0:3' /f >/dev/null
    [[ -z $2 ]] || "$reg" add "$base\\Inne_MRU" /v "$2" ${4:+/t "$4"} /d "$3" /f >/dev/null
    start_program
    click_in "$setup" "${start_button[@]}"
}
start_program() {
    env -u TOCKWELL_PLATFORM TOCKWELL_UPDATE_LOCATION=http://127.0.0.1:9/ \
        TOCKWELL_TRAY_WAIT_MS=600000 "$program" >>"$e2e_tmp/program.log" 2>&1 &
    E2E_PROGRAM_PID=$!
    e2e_pids+=("$E2E_PROGRAM_PID")
    e2e_wait_until "the setup window" program_window
    setup=$(program_window)
}
program_window() { xdotool search --onlyvisible --pid "$E2E_PROGRAM_PID" --name '^Tockwell$'; }
end_program() {
    kill "$E2E_PROGRAM_PID"
    wait "$E2E_PROGRAM_PID" || true
}
showing_desktop() {
    gdbus call --session --dest org.kde.KWin --object-path /KWin \
        --method org.freedesktop.DBus.Properties.Get org.kde.KWin showingDesktop
}
desktop_shown() { [[ $(showing_desktop) == '(<true>,)' ]]; }

e2e_log "a key press with Control reaches the native client"
arm_countdown 'Zasymuluj wciśnięcie dowolnego klawisza' Klawisz '[CTRL+C] Kopiuj'
# shellcheck disable=SC2046 # the point's two coordinates
click $(wev_point) # the focus back to the native client, as the user would give it
e2e_wait_until "c with Control in wev" grep -aq 'sym: c ' "$wev_log"
grep -aq 'depressed: 00000004: Control' "$wev_log" ||
    e2e_fail "wev saw no Control: $(cat "$wev_log")"
end_program

e2e_log "a click at the stored point reaches the native client there"
"$reg" add "$base\\Inne_MRU" /v y_SingleClick /t REG_DWORD /d 600 /f >/dev/null
arm_countdown 'Zasymuluj pojedyncze kliknięcie myszy' x_SingleClick 900 REG_DWORD
# wev's window begins at 320, 160.
e2e_wait_until "the pointer at the point in wev" grep -Eaq 'x, y: 580\.0+, 440\.0+' "$wev_log"
e2e_wait_until "the press in wev" grep -aq 'button: 272 (left), state: 1 (pressed)' "$wev_log"
end_program

e2e_log "the monitor, which KWin cannot switch off here, is explained"
arm_countdown 'Wygaś monitor' '' ''
explained() { (($(program_window | wc -l) >= 2)); }
e2e_wait_until "the explanation" explained
end_program

e2e_log "the desktop is shown through KWin"
[[ $(showing_desktop) == '(<false>,)' ]] || e2e_fail "the desktop was shown before: $(showing_desktop)"
arm_countdown 'Minimalizuj wszystkie okna' '' ''
e2e_wait_until "KWin to show the desktop" desktop_shown
end_program

e2e_log "passed"
