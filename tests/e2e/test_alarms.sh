#!/usr/bin/env bash
# Several alarms at once: three windows of different kinds, each firing on its own second; two
# clock-time alarms of one second, both firing in the order they were armed; the tray's "Alarmy"
# listing the armed ones soonest first, each shown locked with Stop; the popup's snooze firing
# again with the stored values unchanged.
# Usage: test_alarms.sh PROGRAM
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
program=${1:?usage: $0 PROGRAM}
reg=$(dirname "$program")/tockwell-reg
base='HKCU\Software\Kestrolab\Tockwell'

# Places in the setup window (its client area is 474 × 245).
clock_radio=(21 71)
clock_fields=(38 95 98 95 158 95)
countdown_radio=(20 125)
countdown_minutes=(98 149)
countdown_seconds=(158 149)
web_field=(330 113)
start_button=(23 21)
popup_title="ALARM $(printf '!%.0s' $(seq 50))"
popup_ok=(185 153)

# choose_kind WINDOW N: the N-th kind, with WINDOW brought to the front first (the windows
# overlap).
choose_kind() {
    xdotool windowactivate --sync "$1"
    e2e_choose_kind "$@"
}

# countdown WINDOW SECONDS: a countdown of SECONDS (under a minute).
countdown() {
    e2e_click "$1" "${countdown_radio[@]}"
    e2e_type_into "$1" "${countdown_minutes[@]}" 0
    e2e_type_into "$1" "${countdown_seconds[@]}" "$2"
}

# clock_time WINDOW EPOCH: the clock time of the moment EPOCH.
clock_time() {
    local parts i
    read -ra parts <<<"$(date -d "@$2" '+%-H %-M %-S')"
    e2e_click "$1" "${clock_radio[@]}"
    for i in 0 1 2; do
        e2e_type_into "$1" "${clock_fields[i * 2]}" "${clock_fields[i * 2 + 1]}" "${parts[i]}"
    done
}

# setup_windows: the ids of the program's shown setup windows, one a line.
setup_windows() { xdotool search --onlyvisible --name '^Tockwell$' 2>/dev/null || true; }

# new_window: "Nowy alarm" from the tray; prints the id of the window it shows.
new_window() {
    local before
    before=$(setup_windows)
    e2e_open_tray_menu "$icon"
    xdotool key Down Down Return
    e2e_wait_until "a new setup window" new_window_shown "$before"
    new_window_shown "$before"
}
new_window_shown() {
    local window
    for window in $(setup_windows); do
        grep -qx "$window" <<<"$1" || { echo "$window"; return 0; }
    done
    return 1
}

# start WINDOW: presses Start; prints the moment in ms.
start() {
    xdotool windowactivate --sync "$1"
    e2e_click "$1" "${start_button[@]}"
    e2e_now_ms
}

# fired_after PATTERN START SECONDS: waits for the call; fails when it came before START + SECONDS
# (less half a second: a countdown armed among others takes the nearest tick).
fired_after() {
    e2e_wait_call "$1"
    local waited=$(($(e2e_now_ms) - $2))
    e2e_log "\"$1\" after $waited ms"
    ((waited >= $3 * 1000 - 600)) || e2e_fail "\"$1\" came after $waited ms, before its $3 s"
}

# stored_settings: the store as tockwell-reg exports it, without the armed alarms.
stored_settings() {
    "$reg" export "$base" "$e2e_tmp/settings.reg" /y >/dev/null
    iconv -f UTF-16LE -t UTF-8 "$e2e_tmp/settings.reg" | awk '
        /^\[/ { skip = index($0, "\\Armed") > 0 }
        !skip'
}

# armed_count: how many alarms the store keeps armed; armed_are N: that many.
armed_count() { "$reg" alarms list 2>/dev/null | grep -c . || true; }
armed_are() { (($(armed_count) == $1)); }

e2e_start_desktop
export XDG_CONFIG_HOME=$e2e_tmp/config
# The message comes from the store (its list's current entry), so that its Polish letters do not
# depend on how xdotool types them.
"$reg" add "$base\\Kom_Text_MRU" /ve /d 'Już czas' /f >/dev/null
"$reg" add "$base\\Kom_Caption_MRU" /ve /d 'Spotkanie' /f >/dev/null
"$reg" add "$base\\WWW_MRU" /ve /d 'www.example.pl' /f >/dev/null
export TOCKWELL_SNOOZE_MINUTE_S=1
e2e_start_program "$program"
first=$(e2e_wait_window Tockwell)
icon=$(e2e_wait_tray_icon Tockwell)

e2e_log "three alarms of three kinds in three windows, each on its own second"
choose_kind "$first" 2
countdown "$first" 6
second=$(new_window)
choose_kind "$second" 7
countdown "$second" 4
third=$(new_window)
# Each new window lies a little below and to the right of the one before.
[[ $(xdotool getwindowgeometry "$first" | grep Position) != $(xdotool getwindowgeometry "$third" | grep Position) ]] ||
    e2e_fail "the new windows cover the first"
choose_kind "$third" 1
clock_at=$(($(date +%s) + 10))
clock_time "$third" "$clock_at"
e2e_screenshot three-windows
message_started=$(start "$first")
web_started=$(start "$second")
start "$third" >/dev/null
e2e_wait_until "three armed alarms in the store" armed_are 3
fired_after '^ShellOpen "www.example.pl" "" normal$' "$web_started" 4
fired_after '^MessageBox "Już czas" "Spotkanie" 0x40030 -> 1$' "$message_started" 6
e2e_wait_call '^KeepAbove$'
(($(date +%s) >= clock_at)) || e2e_fail "the clock-time alarm fired before its second"
e2e_screenshot three-fired
e2e_wait_until "every alarm disarmed" armed_are 0
popup=$(e2e_wait_window "$popup_title")
e2e_click "$popup" "${popup_ok[@]}"
e2e_wait_window_gone "$popup_title"

e2e_log "two clock-time alarms of one second both fire, in the order they were armed"
: >"$E2E_CALLS"
one=$(new_window)
choose_kind "$one" 7
e2e_type_into "$one" "${web_field[@]}" www.example.pl/one
two=$(new_window)
choose_kind "$two" 7
e2e_type_into "$two" "${web_field[@]}" www.example.pl/two
same=$(($(date +%s) + 8))
xdotool windowactivate --sync "$one"
clock_time "$one" "$same"
xdotool windowactivate --sync "$two"
clock_time "$two" "$same"
start "$one" >/dev/null
start "$two" >/dev/null
e2e_wait_calls 2 '^ShellOpen "www.example.pl/(one|two)"'
[[ $(grep -Eo 'example.pl/(one|two)' "$E2E_CALLS" | tr '\n' ' ') == 'example.pl/one example.pl/two ' ]] ||
    e2e_fail "not in the order of arming: $(cat "$E2E_CALLS")"

e2e_log "\"Alarmy\" lists the armed alarms soonest first; each line shows its window, locked"
later=$(new_window)
choose_kind "$later" 7
clock_time "$later" $(($(date +%s) + 3600))
start "$later" >/dev/null
sooner=$(new_window)
choose_kind "$sooner" 2
e2e_click "$sooner" "${countdown_radio[@]}"
e2e_type_into "$sooner" "${countdown_minutes[@]}" 30
start "$sooner" >/dev/null
e2e_wait_until "two armed alarms" armed_are 2
e2e_open_tray_menu "$icon"
xdotool key Down Down Down Right
e2e_screenshot alarms-menu
xdotool key Return
shown=$(e2e_wait_window Tockwell)
e2e_screenshot alarm-shown-locked
# Stop sits where Start was: the countdown, the soonest, is disarmed, the other stays.
start "$shown" >/dev/null
e2e_wait_until "the countdown disarmed" armed_are 1
"$reg" alarms list | grep -q 'D ' && e2e_fail "the countdown is still armed"

e2e_log "the popup's snooze fires again after its minutes; the stored values stay"
: >"$E2E_CALLS"
popping=$(new_window)
choose_kind "$popping" 1
countdown "$popping" 2
start "$popping" >/dev/null
popup=$(e2e_wait_window "$popup_title")
stored_before=$(stored_settings)
e2e_click "$popup" 40 40 3
e2e_wait_until "the popup's menu" e2e_untitled_window tockwell "$icon"
xdotool key Down Right Return # "Drzemka", "5 minut"
e2e_wait_window_gone "$popup_title"
snoozed=$(e2e_now_ms)
: >"$E2E_CALLS"
snooze_armed() { "$reg" alarms list | grep -q 'D 0:00:05.*snooze'; }
e2e_wait_until "the snooze armed in the store" snooze_armed
fired_after '^KeepAbove$' "$snoozed" 5
[[ $(stored_settings) == "$stored_before" ]] ||
    e2e_fail "the snooze changed the stored values: $(diff <(echo "$stored_before") <(stored_settings))"
e2e_log "passed"
