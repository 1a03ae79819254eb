#!/usr/bin/env bash
# The alarm popup on a desktop whose work area does not begin at (0, 0): two screens, the primary
# one on the right, icewm's taskbar at the top. The popup rises from the bottom edge of the
# primary screen's work area (the window manager does not place it elsewhere first), is seen on
# its way at several heights, and ends in that area's bottom-right corner.
# Usage: test_popup_screens.sh PROGRAM
E2E_SCREENS=two
E2E_ICEWM_PREFERENCES='TaskBarAtTop=1'
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
program=${1:?usage: $0 PROGRAM}
reg=$(dirname "$program")/tockwell-reg
base='HKCU\Software\Kestrolab\Tockwell'
popup_title="ALARM $(printf '!%.0s' $(seq 50))"
start_button=(23 21)
ok_button=(185 153)
popup_w=232 popup_h=173
# The popup's column that is read in the screenshots: between its picture and its button, only
# its caption bar, background and frame.
probe_x=145
# How far inside the work area the popup may first be seen in a screenshot: it moves 2 px every
# 10 ms, a screenshot of the column takes a few tens of ms.
first_seen_limit=12

e2e_start_desktop
read -r area_x area_y area_w area_h < <(e2e_primary_work_area)
area_right=$((area_x + area_w)) area_bottom=$((area_y + area_h))
e2e_log "primary work area: $area_x $area_y $area_w $area_h"
((area_x > 0)) || e2e_fail "the primary screen is not on the right"
taskbar=$(xwininfo -root -tree | grep '"TaskBar"' | grep -Eo '\+[0-9]+\+[0-9]+$')
[[ $taskbar == "+$area_x+0" ]] || e2e_fail "the taskbar is not at the top of the primary screen: $taskbar"

export XDG_CONFIG_HOME=$e2e_tmp/config
mkdir -p "$XDG_CONFIG_HOME"
"$reg" add "$base" /v LastAction /d 'Domyślne okno' /f >/dev/null
"$reg" add "$base" /v O_ZA /t REG_DWORD /d 2 /f >/dev/null
"$reg" add "$base\\ZA_MRU" /ve /d 0:0:1 /f >/dev/null
e2e_start_program "$program"
setup=$(e2e_wait_window Tockwell)

column_x=$((area_right - popup_w + probe_x))
# column FILE: the probed column of the screen as one "#RRGGBB" per row.
column() { convert "$1" -depth 8 txt:- | awk 'NR > 1 { print $3 }'; }
import -window root -crop "1x${area_h}+${column_x}+${area_y}" +repage "$e2e_tmp/before.ppm"
desktop=$(column "$e2e_tmp/before.ppm" | tail -n1)

# Where the popup is, as the X server has it, from its first mapping to the end of the slide.
watch_geometry() {
    local window='' state
    until window=$(xdotool search --name "^${popup_title}\$" 2>/dev/null | head -n1) &&
        [[ -n $window ]]; do sleep 0.005; done
    while :; do
        state=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ { x = $4 }
            /Absolute upper-left Y/ { y = $4 } /Map State/ { m = $3 } END { print m, x, y }')
        [[ $state == IsViewable* ]] && echo "${state#IsViewable }"
        [[ $state == "IsViewable $((area_right - popup_w)) $((area_bottom - popup_h))" ]] && return
    done
}
watch_geometry >"$e2e_tmp/geometry.txt" &
watcher=$!
e2e_pids+=("$watcher")

e2e_click "$setup" "${start_button[@]}"
shots=0
deadline=$(($(e2e_now_ms) + 20000))
while kill -0 "$watcher" 2>/dev/null && (($(e2e_now_ms) < deadline)); do
    shots=$((shots + 1))
    import -window root -crop "1x${area_h}+${column_x}+${area_y}" +repage \
        "$e2e_tmp/shot-$(printf %03d $shots).ppm"
done
wait "$watcher" || e2e_fail "the popup did not reach the corner"
popup=$(e2e_wait_window "$popup_title")
e2e_screenshot popup-screens

# The popup's top in a screenshot of the column: the highest row from which on down to the
# bottom edge nothing is desktop; nothing when the bottom row is desktop.
top_in() {
    column "$1" | awk -v desktop="$desktop" -v top="$area_y" '
        { row[NR - 1] = $1 } END {
            for (r = NR - 1; r >= 0 && row[r] != desktop; r--) found = r
            if (found != "") print top + found }'
}
seen=()
for shot in "$e2e_tmp"/shot-*.ppm; do
    top=$(top_in "$shot")
    [[ -n $top ]] && seen+=("$top")
done
e2e_log "$shots screenshots; popup tops seen: ${seen[*]}"
e2e_log "geometry: $(head -n3 "$e2e_tmp/geometry.txt" | paste -sd' ') ... $(tail -n1 "$e2e_tmp/geometry.txt")"

# First seen just inside the bottom edge, and on its way only on the path straight up to the
# corner, right-aligned with the area.
((${#seen[@]} > 0)) || e2e_fail "no screenshot shows the popup"
((seen[0] >= area_bottom - first_seen_limit)) ||
    e2e_fail "first seen at ${seen[0]}, the work area ends at $area_bottom"
awk -v x=$((area_right - popup_w)) -v low=$((area_bottom - popup_h)) -v high=$area_bottom \
    '$1 != x || $2 < low || $2 > high { exit 1 }' "$e2e_tmp/geometry.txt" ||
    e2e_fail "the popup was off its path while sliding: $(paste -sd' ' "$e2e_tmp/geometry.txt")"
# Rising in the screenshots through three heights or more above the end.
previous=$area_bottom distinct=0
for top in "${seen[@]}"; do
    ((top <= previous)) || e2e_fail "the popup went down while sliding in: ${seen[*]}"
    ((top < previous && top > area_bottom - popup_h)) && distinct=$((distinct + 1))
    previous=$top
done
((distinct >= 3)) || e2e_fail "the popup was seen at $distinct heights on its way, 3 expected"
# The end: exactly in the corner of the primary work area.
eval "$(xdotool getwindowgeometry --shell "$popup")"
((X + WIDTH == area_right && Y + HEIGHT == area_bottom)) ||
    e2e_fail "the popup ends at $X,$Y ${WIDTH}x$HEIGHT, the work area's corner is $area_right,$area_bottom"

e2e_click "$popup" "${ok_button[@]}"
e2e_wait_window_gone "$popup_title"
e2e_log "passed"
