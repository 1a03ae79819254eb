#!/usr/bin/env bash
# The key-press sub-action end to end, with the real Linux platform: an alarm with
# "[CTRL+C] Kopiuj" goes off while a small test window (xev) has the focus, and that window
# receives exactly Control down, c down, c up, Control up.
# Usage: test_keypress.sh PROGRAM
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
program=${1:?usage: $0 PROGRAM}
reg=$(dirname "$program")/tockwell-reg
base='HKCU\Software\Kestrolab\Tockwell'
command -v xev >/dev/null || { echo "e2e: xev is not installed; skipped" >&2; exit 77; }

start_button=(23 21)
countdown=5 # seconds from Start: time enough to give the test window the focus
keys_log=$e2e_tmp/keys.log

# key_events: the key events xev has written, one "down KEYSYM" or "up KEYSYM" a line.
key_events() {
    awk '/^KeyPress event/ { what = "down" } /^KeyRelease event/ { what = "up" }
         what && /keysym 0x/ { sub(/.*keysym 0x[0-9a-f]+, /, ""); sub(/\).*/, "");
                               print what, $0; what = "" }' "$keys_log"
}
# has_key_events N: xev has written at least N key events.
has_key_events() { (($(key_events | wc -l) >= $1)); }

e2e_start_desktop
export XDG_CONFIG_HOME=$e2e_tmp/config
mkdir -p "$XDG_CONFIG_HOME"
# The alarm comes from the store as the last values: a countdown with the key-press sub-action.
"$reg" add "$base" /v LastAction /d 'Inne możliwości' /f >/dev/null
"$reg" add "$base" /v cb_Inne /d 'Zasymuluj wciśnięcie dowolnego klawisza' /f >/dev/null
"$reg" add "$base" /v O_ZA /t REG_DWORD /d 2 /f >/dev/null
"$reg" add "$base\\ZA_MRU" /ve /d "0:0:$countdown" /f >/dev/null
"$reg" add "$base\\Inne_MRU" /v Klawisz /d '[CTRL+C] Kopiuj' /f >/dev/null

xev -event keyboard -name tockwell-keys >"$keys_log" 2>&1 &
e2e_pids+=($!)
xev_window=$(e2e_wait_window tockwell-keys)

# The real platform, not the recording one: the key events go to the X server.
env -u TOCKWELL_PLATFORM TOCKWELL_UPDATE_LOCATION=http://127.0.0.1:9/ \
    "$program" >>"$e2e_tmp/program.log" 2>&1 &
program_pid=$!
e2e_pids+=("$program_pid")
setup=$(e2e_wait_window Tockwell)
e2e_wait_tray_icon Tockwell >/dev/null
e2e_screenshot keypress-composed
# The X extensions' libraries (XTest, DPMS, XInput) are loaded at their first use, not at the
# start.
maps=$(cat "/proc/$program_pid/maps") || e2e_fail "the program's memory map cannot be read"
! grep -E 'libXtst|libXext|libXi\.' <<<"$maps" ||
    e2e_fail "the started program has loaded an X extension's library"

e2e_click "$setup" "${start_button[@]}"
started=$(e2e_now_ms)
e2e_wait_window_gone Tockwell
xdotool windowactivate --sync "$xev_window"
e2e_wait_until "the focus on the test window" \
    bash -c "[[ \$(xdotool getwindowfocus) == $xev_window ]]"
focused_after=$(($(e2e_now_ms) - started))
((focused_after < (countdown - 1) * 1000)) ||
    e2e_fail "the test window got the focus only after $focused_after ms"
has_key_events 1 && e2e_fail "key events before the alarm: $(key_events | tr '\n' ,)"

E2E_TIMEOUT=$((countdown + 10)) e2e_wait_until "the alarm's key events" has_key_events 4
# A key of the test's own after them: everything the alarm sent has arrived before it.
xdotool key F12
e2e_wait_until "the test's own key" grep -q 'keysym 0xffc9, F12' "$keys_log"
events=$(key_events | sed '/ F12$/,$d' | tr '\n' ,)
e2e_log "key events: $events"
[[ $events == "down Control_L,down c,up c,up Control_L," ]] ||
    e2e_fail "the alarm sent $events"
grep -q libXtst "/proc/$program_pid/maps" || e2e_fail "the key events did not come through libXtst"
e2e_log "passed"
