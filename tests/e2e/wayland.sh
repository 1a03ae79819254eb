# shellcheck shell=bash disable=SC2154 # e2e_tmp is lib.sh's; program, seat, reg, base and start_button the test's
# What the end-to-end tests of Wayland sessions share, sourced after lib.sh: a private session
# bus, the test's own pointer (wayland_seat) that clicks the program's XWayland windows, the
# native client (wev), and the program started with an alarm armed from its setup window.
# The test sets program, reg, base, seat (wayland_seat's path) and start_button; and
# setup_position where the setup window is to be moved, x_follows_pointer as click_in says,
# layout_size where the screen is not 1280 × 800.

# Starts a private session bus in XDG_RUNTIME_DIR.
wayland_start_bus() {
    dbus-daemon --session --nofork --address="unix:path=$XDG_RUNTIME_DIR/bus" \
        --print-address=3 3>"$e2e_tmp/bus-address" >"$e2e_tmp/dbus.log" 2>&1 &
    e2e_pids+=($!)
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$XDG_RUNTIME_DIR/bus
    e2e_wait_until "the session bus" grep -q . "$e2e_tmp/bus-address"
}

# wayland_session_script FILE: a session's first program, which writes down XWayland's display
# (and its authority) and lives as long as the compositor that started it.
wayland_session_script() {
    cat >"$1" <<SESSION
#!/bin/sh
printf 'DISPLAY=%s\nXAUTHORITY=%s\n' "\$DISPLAY" "\$XAUTHORITY" > $e2e_tmp/display.tmp
mv $e2e_tmp/display.tmp $e2e_tmp/display
exec tail --pid=\$PPID -f /dev/null
SESSION
    chmod +x "$1"
}

# Waits for the session script's note and takes XWayland's display from it.
wayland_take_display() {
    e2e_wait_until "XWayland's display" test -s "$e2e_tmp/display"
    DISPLAY=$(sed -n 's/^DISPLAY=//p' "$e2e_tmp/display")
    XAUTHORITY=$(sed -n 's/^XAUTHORITY=//p' "$e2e_tmp/display")
    export DISPLAY XAUTHORITY
    [[ -n $XAUTHORITY ]] || unset XAUTHORITY
}

# wayland_start_seat KIND: the test's pointer and keyboard, made by wayland_seat KIND.
wayland_start_seat() {
    mkfifo "$e2e_tmp/clicks"
    "$seat" "$(dirname "$program")/tockwell-wayland.so" "$1" <"$e2e_tmp/clicks" \
        >"$e2e_tmp/seat.log" 2>&1 &
    e2e_pids+=($!)
    exec 7>"$e2e_tmp/clicks"
    e2e_wait_until "the seat's devices" grep -q '^ready$' "$e2e_tmp/seat.log"
}
seat_clicks() { grep -c '^clicked$' "$e2e_tmp/seat.log" || true; }
seat_clicked_since() { (($(seat_clicks) > $1)); }
# click X Y: a click of the test's pointer at X, Y of the screen (layout_size, 1280 × 800 unless
# the test says otherwise).
click() {
    local clicks
    clicks=$(seat_clicks)
    echo "$1 $2 ${layout_size:-1280 800}" >&7
    e2e_wait_until "the click" seat_clicked_since "$clicks"
}
# click_in WINDOW X Y: a click at X, Y inside the X11 window WINDOW. A compositor may take a
# moment to have a window where XWayland has just put it, and a click before then misses it.
# Where X's pointer follows the compositor's (x_follows_pointer=1: mutter, KWin; sway 1.7 leaves
# it in the middle), a click that did not bring it there is made again, from the screen's empty
# corner, until one lands.
click_in() {
    # shellcheck disable=SC2034 # set by the geometry's eval
    local WINDOW X Y WIDTH HEIGHT SCREEN
    eval "$(xdotool getwindowgeometry --shell "$1")"
    if [[ ${x_follows_pointer:-0} == 1 ]]; then
        e2e_wait_until "a click in the window" click_lands $((X + $2)) $((Y + $3))
    else
        click $((X + $2)) $((Y + $3))
    fi
}
click_lands() {
    # shellcheck disable=SC2034 # set by the location's eval
    local X Y SCREEN WINDOW
    click 1279 799
    click "$1" "$2"
    eval "$(xdotool getmouselocation --shell)"
    ((X == $1 && Y == $2))
}

# Starts the native client, whose log is wev_log.
wayland_start_client() {
    wev_log=$e2e_tmp/wev.log
    stdbuf -oL wev >"$wev_log" 2>&1 &
    e2e_pids+=($!)
    e2e_wait_until "wev's window" grep -q 'activated' "$wev_log"
}

# uncovered X Y...: the first of the points "X Y" that the setup window does not cover.
uncovered() {
    # shellcheck disable=SC2034 # set by the geometry's eval
    local WINDOW X Y WIDTH HEIGHT SCREEN
    eval "$(xdotool getwindowgeometry --shell "$setup")"
    while (($# >= 2)); do
        if (($1 < X || $1 >= X + WIDTH || $2 < Y || $2 >= Y + HEIGHT)); then
            echo "$1 $2"
            return
        fi
        shift 2
    done
    e2e_fail "the setup window covers every point"
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
    # What the run before left armed would come back in this run's window.
    "$reg" delete "$base\\Armed" /f >/dev/null 2>&1 || true
    env -u TOCKWELL_PLATFORM TOCKWELL_UPDATE_LOCATION=http://127.0.0.1:9/ \
        TOCKWELL_TRAY_WAIT_MS=600000 "$program" >>"$e2e_tmp/program.log" 2>&1 &
    E2E_PROGRAM_PID=$!
    e2e_pids+=("$E2E_PROGRAM_PID")
    # This program's window: one of a program just ended may still be listed.
    e2e_wait_until "the setup window" program_window
    setup=$(program_window)
    [[ -z ${setup_position:-} ]] || place_setup
}
# Moves the setup window to setup_position ("X Y"), where the native client does not cover it.
place_setup() {
    # shellcheck disable=SC2086 # the position's two coordinates
    xdotool windowmove "$setup" $setup_position
    # shellcheck disable=SC2086 # the position's two coordinates
    e2e_wait_until "the setup window at $setup_position" setup_at $setup_position
}
setup_at() {
    # shellcheck disable=SC2034 # set by the geometry's eval
    local WINDOW X Y WIDTH HEIGHT SCREEN
    eval "$(xdotool getwindowgeometry --shell "$setup")"
    ((X == $1 && Y == $2))
}
program_window() { xdotool search --onlyvisible --pid "$E2E_PROGRAM_PID" --name '^Tockwell$'; }
end_program() {
    kill "$E2E_PROGRAM_PID"
    wait "$E2E_PROGRAM_PID" || true
}
# The explanation of a refused sub-action is a message box of the program's over its setup window.
explained() { (($(program_window | wc -l) >= 2)); }
# The native client's left-button presses so far, and whether there have been more than $1.
client_presses() { grep -ac 'button: 272 (left), state: 1 (pressed)' "$wev_log" || true; }
client_pressed_since() { (($(client_presses) > $1)); }
