#!/usr/bin/env bash
# A GNOME Wayland session end to end, with the real Linux platform: headless mutter with
# XWayland and PipeWire, two monitors of which the primary one is on the right (so that a point
# of a monitor differs from the point of the layout), a native Wayland client (wev) that logs
# what it receives, and the program in XWayland as a user starts it there. Alarms armed in the
# setup window press keys with a modifier and click at a stored point through mutter's remote
# desktop, turn the monitor off through its power-saving mode (on again at the next input) and
# show the desktop through X11; a suspension, which mutter does not allow, is explained instead.
# With E2E_MUTTER_SCALE=2 the primary monitor is at scale 2 in mutter's logical layout (its
# fractional scaling, where a screen cast's pixels are the layout's times the scale).
# Usage: test_mutter.sh PROGRAM
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
# shellcheck source=tests/e2e/wayland.sh
source "$(dirname "$0")/wayland.sh"
program=$(realpath "${1:?usage: $0 PROGRAM}")
reg=$(dirname "$program")/tockwell-reg
base='HKCU\Software\Kestrolab\Tockwell'
for tool in mutter pipewire wev Xwayland stdbuf gdbus; do
    command -v "$tool" >/dev/null || { echo "e2e: $tool is not installed; skipped" >&2; exit 77; }
done
start_button=(23 21)
x_follows_pointer=1
# The monitors: 1024 × 768 on the left, the primary one on its right, 1280 × 800 in the layout
# (at scale 2 a monitor of 2560 × 1600 pixels).
scale=${E2E_MUTTER_SCALE:-1}
primary_mode="$((1280 * scale))x$((800 * scale))"
layout_size='2304 800'
# The logical layout (1) is asked for only with the experiment on, which allows it.
layout_properties='@a{sv} {}'
[[ $scale == 1 ]] || layout_properties="{'layout-mode': <uint32 1>}"
# mutter puts a window that it does not give the focus to below the focused one: the setup window
# (474 × 245) goes to the bottom of the right monitor, away from the native client's window (640
# × 480 near the middle of the monitor that mutter puts it on).
setup_position='1100 550'
seat=$(realpath "${E2E_WAYLAND_SEAT:?the wayland_seat helper}")

export XDG_RUNTIME_DIR=$e2e_tmp/runtime XDG_CONFIG_HOME=$e2e_tmp/config
mkdir -m 700 "$XDG_RUNTIME_DIR"
# mutter's settings from a file of the test's own: the logical layout is an experiment of its.
export GSETTINGS_BACKEND=keyfile
mkdir -p "$XDG_CONFIG_HOME/glib-2.0/settings"
printf '[org/gnome/mutter]\nexperimental-features=%s\n' \
    "$([[ $scale == 1 ]] && echo '@as []' || echo "['scale-monitor-framebuffer']")" \
    >"$XDG_CONFIG_HOME/glib-2.0/settings/keyfile"
wayland_start_bus
# PipeWire carries the screen cast on which mutter places the pointer.
pipewire >"$e2e_tmp/pipewire.log" 2>&1 &
e2e_pids+=($!)
e2e_wait_until "PipeWire's socket" test -S "$XDG_RUNTIME_DIR/pipewire-0"

wayland_session_script "$e2e_tmp/session.sh"
env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY mutter --headless --wayland \
    --virtual-monitor "$primary_mode" --virtual-monitor 1024x768 --wayland-display tockwell-mutter \
    -- "$e2e_tmp/session.sh" >"$e2e_tmp/mutter.log" 2>&1 &
e2e_pids+=($!)
wayland_take_display
export WAYLAND_DISPLAY=tockwell-mutter XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=GNOME
display_config() {
    gdbus call --session --dest org.gnome.Mutter.DisplayConfig \
        --object-path /org/gnome/Mutter/DisplayConfig --method "org.gnome.Mutter.DisplayConfig.$1" \
        "${@:2}"
}
e2e_wait_until "mutter's display configuration" display_config GetCurrentState
serial=$(display_config GetCurrentState | sed -n 's/^(uint32 \([0-9]*\),.*/\1/p')
display_config ApplyMonitorsConfig "$serial" 1 \
    "[(1024, 0, $scale.0, uint32 0, true, [('Meta-0', '$primary_mode@60.000', @a{sv} {})]),
      (0, 0, 1.0, uint32 0, false, [('Meta-1', '1024x768@60.000', @a{sv} {})])]" \
    "$layout_properties" >/dev/null
root_is_the_layout() { xwininfo -root | grep -q 'geometry 2304x800'; }
e2e_wait_until "XWayland's root as large as both monitors" root_is_the_layout
e2e_log "mutter on $WAYLAND_DISPLAY, XWayland on $DISPLAY"

# The test's pointer, which clicks the program's buttons and gives the native client the focus.
wayland_start_seat mutter
wayland_start_client

power_save_mode() {
    gdbus call --session --dest org.gnome.Mutter.DisplayConfig \
        --object-path /org/gnome/Mutter/DisplayConfig \
        --method org.freedesktop.DBus.Properties.Get org.gnome.Mutter.DisplayConfig PowerSaveMode
}
power_save_mode_is() { [[ $(power_save_mode) == "(<$1>,)" ]]; }
# The pointer's last whole-pixel position in wev's window before its last press, as "X Y".
pointer_at_press() {
    awk '/x, y: [0-9]+\.000000, [0-9]+\.000000/ { sub(/.*x, y: /, ""); gsub(/\.000000,?/, "");
         at = $0 } /state: 1 \(pressed\)/ { pressed = at } END { print pressed }' "$wev_log"
}

e2e_log "a key press with Control reaches the native client"
arm_countdown 'Zasymuluj wciśnięcie dowolnego klawisza' Klawisz '[CTRL+C] Kopiuj'
# The focus back to the native client, as the user would give it: a click in its window, which is
# near the middle of one of the monitors (mutter puts it where the pointer is). Where the click
# lands in wev's window tells where that window is.
focus_client() {
    local presses
    while (($# >= 2)); do
        presses=$(client_presses)
        click "$1" "$2"
        if e2e_try_until client_pressed_since "$presses"; then
            focused_at="$1 $2"
            return
        fi
        shift 2
    done
    e2e_fail "no click reached wev"
}
E2E_TIMEOUT=2 focus_client 212 164 812 164 1344 130 1944 130
read -r click_x click_y <<<"$focused_at"
read -r local_x local_y <<<"$(pointer_at_press)"
wev_x=$((click_x - local_x)) wev_y=$((click_y - local_y))
e2e_log "wev's window at $wev_x, $wev_y"
e2e_wait_until "c with Control in wev" grep -aq 'sym: c ' "$wev_log"
grep -aq 'depressed: 00000004: Control' "$wev_log" ||
    e2e_fail "wev saw no Control: $(cat "$wev_log")"
end_program

e2e_log "a click at the stored point reaches the native client there"
"$reg" add "$base\\Inne_MRU" /v y_SingleClick /t REG_DWORD /d $((wev_y + 400)) /f >/dev/null
presses=$(client_presses)
arm_countdown 'Zasymuluj pojedyncze kliknięcie myszy' x_SingleClick $((wev_x + 600)) REG_DWORD
e2e_wait_until "the press in wev" client_pressed_since "$presses"
[[ $(pointer_at_press) == '600 400' ]] || e2e_fail "the click went to $(pointer_at_press) of wev"
end_program

e2e_log "the monitor goes off through mutter's power saving, and on at the next input"
power_save_mode_is 0 || e2e_fail "the monitor was off before: $(power_save_mode)"
arm_countdown 'Wygaś monitor' '' ''
e2e_wait_until "mutter to turn the monitor off" power_save_mode_is 3
click 1270 790
e2e_wait_until "mutter to turn the monitor on" power_save_mode_is 0
end_program

e2e_log "the desktop is shown through X11, which mutter honours"
arm_countdown 'Minimalizuj wszystkie okna' '' ''
desktop_shown() { [[ $(xprop -root _NET_SHOWING_DESKTOP) == *'= 1' ]]; }
e2e_wait_until "the desktop shown" desktop_shown
end_program

e2e_log "a suspension, which mutter does not allow, is explained"
arm_countdown 'Zawieś działanie klawiatury' '' ''
e2e_wait_until "the explanation" explained
end_program

e2e_log "passed"
