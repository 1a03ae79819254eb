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
# shellcheck source=tests/e2e/wayland.sh
source "$(dirname "$0")/wayland.sh"
program=$(realpath "${1:?usage: $0 PROGRAM}")
reg=$(dirname "$program")/tockwell-reg
base='HKCU\Software\Kestrolab\Tockwell'
for tool in kwin_wayland wev Xwayland stdbuf gdbus; do
    command -v "$tool" >/dev/null || { echo "e2e: $tool is not installed; skipped" >&2; exit 77; }
done
start_button=(23 21)
x_follows_pointer=1
seat=$(realpath "${E2E_WAYLAND_SEAT:?the wayland_seat helper}")

export XDG_RUNTIME_DIR=$e2e_tmp/runtime XDG_CACHE_HOME=$e2e_tmp/cache
export XDG_DATA_DIRS=$e2e_tmp/share:/usr/share XDG_CONFIG_HOME=$e2e_tmp/config
mkdir -m 700 "$XDG_RUNTIME_DIR"
wayland_start_bus

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
wayland_session_script "$e2e_tmp/session.sh"
env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY "$e2e_tmp/bin/kwin_wayland" --virtual \
    --xwayland --width 1280 --height 800 --socket tockwell-kwin --no-lockscreen \
    --no-kactivities --exit-with-session "$e2e_tmp/session.sh" >"$e2e_tmp/kwin.log" 2>&1 &
e2e_pids+=($!)
wayland_take_display
export WAYLAND_DISPLAY=tockwell-kwin XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=KDE
e2e_log "KWin on $WAYLAND_DISPLAY, XWayland on $DISPLAY"

# The test's pointer, which clicks the program's buttons and gives the native client the focus.
wayland_start_seat kwin
# The native client: KWin puts its 640 × 480 window in the middle of the output.
wayland_start_client

showing_desktop() {
    gdbus call --session --dest org.kde.KWin --object-path /KWin \
        --method org.freedesktop.DBus.Properties.Get org.kde.KWin showingDesktop
}
desktop_shown() { [[ $(showing_desktop) == '(<true>,)' ]]; }

e2e_log "a key press with Control reaches the native client"
arm_countdown 'Zasymuluj wciśnięcie dowolnego klawisza' Klawisz '[CTRL+C] Kopiuj'
# The focus back to the native client, as the user would give it: a point of its window beside
# the setup window.
# shellcheck disable=SC2046 # the point's two coordinates
click $(uncovered 340 180 940 180 340 620 940 620)
e2e_wait_until "c with Control in wev" grep -aq 'sym: c ' "$wev_log"
grep -aq 'depressed: 00000004: Control' "$wev_log" ||
    e2e_fail "wev saw no Control: $(cat "$wev_log")"
end_program

e2e_log "a character that KWin's layout lacks is explained"
arm_countdown 'Zasymuluj wciśnięcie dowolnego klawisza' Klawisz 'ż'
e2e_wait_until "the explanation" explained
end_program

e2e_log "a click at the stored point reaches the native client there"
"$reg" add "$base\\Inne_MRU" /v y_SingleClick /t REG_DWORD /d 600 /f >/dev/null
presses=$(client_presses)
arm_countdown 'Zasymuluj pojedyncze kliknięcie myszy' x_SingleClick 900 REG_DWORD
# wev's window begins at 320, 160.
e2e_wait_until "the pointer at the point in wev" grep -Eaq 'x, y: 580\.0+, 440\.0+' "$wev_log"
e2e_wait_until "the press in wev" client_pressed_since "$presses"
end_program

e2e_log "the monitor, which KWin cannot switch off here, is explained"
arm_countdown 'Wygaś monitor' '' ''
e2e_wait_until "the explanation" explained
end_program

e2e_log "the desktop is shown through KWin"
[[ $(showing_desktop) == '(<false>,)' ]] || e2e_fail "the desktop was shown before: $(showing_desktop)"
arm_countdown 'Minimalizuj wszystkie okna' '' ''
e2e_wait_until "KWin to show the desktop" desktop_shown
end_program

e2e_log "passed"
