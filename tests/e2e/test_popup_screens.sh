#!/usr/bin/env bash
# The alarm popup on a desktop whose work area does not begin at (0, 0): two screens, the primary
# one on the right, icewm's taskbar at the top (E2E_TASKBAR=bottom: at the bottom, where the
# popup must not cover it). The popup rises from the bottom edge of the primary screen's work
# area (the window manager does not place it elsewhere first), is seen on its way at several
# heights, and ends in that area's bottom-right corner.
# Usage: test_popup_screens.sh PROGRAM
E2E_SCREENS=two
taskbar_at=${E2E_TASKBAR:-top}
E2E_ICEWM_PREFERENCES="TaskBarAtTop=$([[ $taskbar_at == top ]] && echo 1 || echo 0)"
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
# How far inside the work area the popup's top may be when it is mapped.
first_seen_limit=4

e2e_start_desktop
read -r area_x area_y area_w area_h < <(e2e_primary_work_area)
area_right=$((area_x + area_w)) area_bottom=$((area_y + area_h))
e2e_log "primary work area: $area_x $area_y $area_w $area_h"
((area_x > 0)) || e2e_fail "the primary screen is not on the right"
taskbar=$(xwininfo -root -tree | grep '"TaskBar"' | grep -Eo '\+[0-9]+\+[0-9]+$')
if [[ $taskbar_at == top ]]; then
    [[ $taskbar == "+$area_x+0" ]] || e2e_fail "the taskbar is not at the top of the primary screen: $taskbar"
else
    [[ $taskbar == "+$area_x+$area_bottom" ]] ||
        e2e_fail "the taskbar is not at the bottom of the primary screen: $taskbar"
    ((area_bottom < 800)) || e2e_fail "the taskbar takes nothing from the work area"
fi

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

# Every window the X server creates, moves and maps, reported as it happens: where the popup is
# mapped and each step of its way, however busy the machine is.
stdbuf -oL xev -root -event substructure >"$e2e_tmp/events.txt" 2>/dev/null &
e2e_pids+=("$!")
# The listener is ready once it reports a window made for the purpose.
listener_ready() {
    local probe found=1
    xev -geometry 1x1+0+0 >/dev/null 2>&1 &
    probe=$!
    E2E_TIMEOUT=1 e2e_try_until grep -q CreateNotify "$e2e_tmp/events.txt" && found=0
    kill "$probe" 2>/dev/null
    wait "$probe" 2>/dev/null
    return $found
}
e2e_wait_until "the X event listener" listener_ready

# popup_path ID: the popup's "create X Y", "configure X Y" and "map" events, in order.
popup_path() {
    awk -v id="$1" '
        /^[A-Za-z]+ event,/ { type = $1 }
        index($0, "window " id ",") && type ~ /^(Create|Configure|Map)Notify$/ {
            if (type == "MapNotify") { print "map"; next }
            if (match($0, /\(-?[0-9]+,-?[0-9]+\)/)) {
                split(substr($0, RSTART + 1, RLENGTH - 2), xy, ",")
                print (type == "CreateNotify" ? "create" : "configure"), xy[1], xy[2]
            }
        }' "$e2e_tmp/events.txt"
}
corner="$((area_right - popup_w)) $((area_bottom - popup_h))"
popup_id() { xdotool search --name "^${popup_title}\$" 2>/dev/null | head -n1; }
# at_corner: the popup has reached the corner according to the X server.
at_corner() {
    local id
    id=$(popup_id) && [[ -n $id ]] || return 1
    popup_path "$(printf '0x%x' "$id")" | grep -qx "configure $corner"
}

e2e_click "$setup" "${start_button[@]}"
shots=0
deadline=$(($(e2e_now_ms) + 30000))
until at_corner; do
    (($(e2e_now_ms) < deadline)) || e2e_fail "the popup did not reach the corner"
    shots=$((shots + 1))
    import -window root -crop "1x${area_h}+${column_x}+${area_y}" +repage \
        "$e2e_tmp/shot-$(printf %03d $shots).ppm"
done
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
popup_path "$(printf '0x%x' "$popup")" >"$e2e_tmp/path.txt"
e2e_log "path: $(head -n4 "$e2e_tmp/path.txt" | paste -sd' ') ... $(tail -n1 "$e2e_tmp/path.txt")"

# Mapped just inside the bottom edge (its top at most a few pixels above it), right-aligned with
# the area, and on its way only on the path straight up to the corner.
read -r mapped_x mapped_y < <(awk '$1 == "map" { print x, y; exit } { x = $2; y = $3 }' \
    "$e2e_tmp/path.txt")
[[ -n $mapped_y ]] || e2e_fail "the popup's mapping was not seen: $(paste -sd' ' "$e2e_tmp/path.txt")"
((mapped_x == area_right - popup_w && mapped_y >= area_bottom - first_seen_limit)) ||
    e2e_fail "mapped at $mapped_x,$mapped_y; the work area ends at $area_right,$area_bottom"
awk -v x=$((area_right - popup_w)) -v low=$((area_bottom - popup_h)) -v high=$area_bottom '
    $1 == "map" { mapped = 1; next }
    mapped && ($2 != x || $3 < low || $3 > high) { exit 1 }' "$e2e_tmp/path.txt" ||
    e2e_fail "the popup was off its path while sliding: $(paste -sd' ' "$e2e_tmp/path.txt")"
((${#seen[@]} > 0)) || e2e_fail "no screenshot shows the popup"
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
