#!/usr/bin/env bash
# A GNOME Wayland session end to end, with the real Linux platform: headless mutter with
# XWayland and PipeWire, a native Wayland client (wev) that logs what it receives, and the
# program in XWayland as a user starts it there. Alarms armed in the setup window press keys with
# a modifier and click at a stored point through mutter's remote desktop, turn the monitor off
# through its power-saving mode (on again at the next input) and show the desktop through X11;
# a suspension, which mutter does not allow, is explained instead.
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
# mutter puts a window that it does not give the focus to below the focused one: the setup window
# (474 × 245) goes to the bottom left, where the native client's window (640 × 480 near the
# middle) leaves its Start button free.
setup_position='0 555'
seat=$(realpath "${E2E_WAYLAND_SEAT:?the wayland_seat helper}")

export XDG_RUNTIME_DIR=$e2e_tmp/runtime XDG_CONFIG_HOME=$e2e_tmp/config
mkdir -m 700 "$XDG_RUNTIME_DIR"
wayland_start_bus
# PipeWire carries the screen cast on which mutter places the pointer.
pipewire >"$e2e_tmp/pipewire.log" 2>&1 &
e2e_pids+=($!)
e2e_wait_until "PipeWire's socket" test -S "$XDG_RUNTIME_DIR/pipewire-0"

wayland_session_script "$e2e_tmp/session.sh"
env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY mutter --headless --wayland \
    --virtual-monitor 1280x800 --wayland-display tockwell-mutter -- "$e2e_tmp/session.sh" \
    >"$e2e_tmp/mutter.log" 2>&1 &
e2e_pids+=($!)
wayland_take_display
export WAYLAND_DISPLAY=tockwell-mutter XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=GNOME
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
# The focus back to the native client, as the user would give it: a point of its window (640 ×
# 480, which mutter puts near the middle) beside the setup window. Where it lands in wev's
# window tells where that window is.
# shellcheck disable=SC2046 # the point's two coordinates
set -- $(uncovered 340 130 940 130 340 570 940 570)
presses=$(client_presses)
click "$1" "$2"
e2e_wait_until "the click in wev" client_pressed_since "$presses"
read -r local_x local_y <<<"$(pointer_at_press)"
wev_x=$(($1 - local_x)) wev_y=$(($2 - local_y))
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
