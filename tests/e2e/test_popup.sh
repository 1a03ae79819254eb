#!/usr/bin/env bash
# The alarm popup end to end: a one-second "Domyślne okno" countdown slides the popup into the
# bottom-right corner of the work area (the taskbar at the top, so that the area does not begin
# at the top of the screen); a window opened later stays below it; it beeps twice a second only
# with PlayBeep; OK closes it, and so does a tray click.
# Usage: test_popup.sh PROGRAM
# shellcheck source=tests/e2e/lib.sh
E2E_ICEWM_PREFERENCES='TaskBarAtTop=1'
source "$(dirname "$0")/lib.sh"
program=${1:?usage: $0 PROGRAM}
reg=$(dirname "$program")/tockwell-reg
base='HKCU\Software\Kestrolab\Tockwell'
popup_title="ALARM $(printf '!%.0s' $(seq 50))"
start_button=(23 21)
ok_button=(185 153)

# prepare_store BEEP: the next start restores a one-second countdown of the popup kind, with
# PlayBeep BEEP (1 or 0).
prepare_store() {
    export XDG_CONFIG_HOME=$e2e_tmp/config
    mkdir -p "$XDG_CONFIG_HOME"
    "$reg" add "$base" /v LastAction /d 'Domyślne okno' /f >/dev/null
    "$reg" add "$base" /v O_ZA /t REG_DWORD /d 2 /f >/dev/null
    "$reg" add "$base\\ZA_MRU" /ve /d 0:0:1 /f >/dev/null
    "$reg" add "$base" /v PlayBeep /t REG_DWORD /d "$1" /f >/dev/null
}

# fire_popup SETUP: starts the restored countdown in the setup window SETUP; prints the popup's
# id once it has slid into place.
fire_popup() {
    local popup
    e2e_click "$1" "${start_button[@]}"
    popup=$(e2e_wait_window "$popup_title")
    e2e_wait_until "the popup in the corner of the work area" in_corner "$popup"
    echo "$popup"
}

# in_corner WINDOW: WINDOW's bottom-right corner is the primary work area's.
in_corner() {
    local area_x area_y area_w area_h
    read -r area_x area_y area_w area_h < <(e2e_primary_work_area)
    eval "$(xdotool getwindowgeometry --shell "$1")"
    ((X + WIDTH == area_x + area_w && Y + HEIGHT == area_y + area_h))
}

beeps() { e2e_count_calls '^Beep$'; }
keep_aboves() { e2e_count_calls '^KeepAbove$'; }

# above_through UPPER LOWER N: UPPER is stacked above LOWER until N stay-on-top calls have been
# recorded; once it is not, covered is set and the wait ends.
above_through() {
    stacked_above "$1" "$2" || { covered=1; return 0; }
    (($(keep_aboves) >= $3))
}

# quiet SINCE-BEEPS SINCE-ABOVES: no beep and no stay-on-top call since those counts.
quiet() { (($(beeps) == $1 && $(keep_aboves) == $2)); }

# toplevel WINDOW: the child of the root that holds WINDOW (its frame, for a managed window).
toplevel() {
    local window=$(($1)) parent
    while parent=$(xwininfo -children -id "$window" | awk '/Parent window id/ { print $4 }') &&
        [[ -n $parent ]] && ((parent != root)); do
        window=$((parent))
    done
    echo "$window"
}

# stacked_above UPPER LOWER: the X server stacks UPPER above LOWER (xwininfo lists the root's
# children from the top down). The popup is not managed by the window manager, so the manager's
# own stacking list does not hold it.
stacked_above() {
    local upper lower id i=0 upper_at='' lower_at=''
    upper=$(toplevel "$1") lower=$(toplevel "$2")
    for id in $(xwininfo -root -children | grep -Eo '^ +0x[0-9a-f]+'); do
        ((id == upper)) && upper_at=$i
        ((id == lower)) && lower_at=$i
        i=$((i + 1))
    done
    [[ -n $upper_at && -n $lower_at ]] && ((upper_at < lower_at))
}

e2e_start_desktop
root=$(($(xwininfo -root | awk '/Window id/ { print $4 }')))
command -v xmessage >/dev/null || { echo "e2e: xmessage is not installed; skipped" >&2; exit 77; }

e2e_log "with PlayBeep: the popup slides in, beeps and stays above a new window"
prepare_store 1
e2e_start_program "$program"
setup=$(e2e_wait_window Tockwell)
icon=$(e2e_wait_tray_icon Tockwell)
popup=$(fire_popup "$setup")
e2e_screenshot popup-shown
state=$(xprop -id "$popup" _NET_WM_STATE)
[[ $state == *_NET_WM_STATE_ABOVE* ]] || e2e_fail "the popup is not kept above: $state"
# The taskbar button goes through the platform (tst_x11 checks its effect), recorded here.
e2e_wait_call '^KeepAbove$'

xmessage -geometry +980+560 -title covering 'Okno otwarte po alarmie' >/dev/null 2>&1 &
e2e_pids+=($!)
other=$(e2e_wait_window covering)
xdotool windowactivate "$other" 2>/dev/null || true
e2e_wait_until "the popup above the new window" stacked_above "$popup" "$other"
# It stays there through the next ten times the program keeps it on top.
covered=0
e2e_wait_until "ten more stay-on-top calls" above_through "$popup" "$other" $(($(keep_aboves) + 10))
((covered == 0)) || e2e_fail "the new window came over the popup"
e2e_screenshot popup-above-other

# Four beeps take at least three half seconds, however busy the machine; in that time the
# program keeps the popup on top every 50 ms, never more often.
before=$(beeps) above=$(keep_aboves) started=$(e2e_now_ms)
e2e_wait_calls $((before + 4)) '^Beep$'
elapsed=$(($(e2e_now_ms) - started))
beeped=$(($(beeps) - before)) above=$(($(keep_aboves) - above))
e2e_log "$beeped beeps and $above stay-on-top calls in $elapsed ms"
((elapsed >= 1400)) || e2e_fail "$beeped beeps in $elapsed ms: more than 2 a second"
((above >= 4)) || e2e_fail "$above stay-on-top calls while it beeped 4 times"
((above * 45 <= elapsed + 90)) || e2e_fail "$above stay-on-top calls in $elapsed ms: more than 20 a second"

e2e_click "$popup" "${ok_button[@]}"
e2e_wait_window_gone "$popup_title"
e2e_screenshot popup-closed
e2e_hold_for 1.1 "no beep and no stay-on-top call after the popup closed" quiet "$(beeps)" "$(keep_aboves)"

e2e_log "without PlayBeep: silent; a tray click closes it"
e2e_open_tray_menu "$icon"
xdotool key Up Return
e2e_wait_until "the program to end" bash -c "! kill -0 $E2E_PROGRAM_PID"
: >"$E2E_CALLS"
prepare_store 0
e2e_start_program "$program"
setup=$(e2e_wait_window Tockwell)
icon=$(e2e_wait_tray_icon Tockwell)
fire_popup "$setup" >/dev/null
# 24 stay-on-top calls, 50 ms apart at the least, span more than two half seconds of beeping.
e2e_wait_calls 24 '^KeepAbove$'
(($(beeps) == 0)) || e2e_fail "the popup beeps without PlayBeep"
e2e_click "$icon" 8 8
e2e_wait_window_gone "$popup_title"
e2e_wait_window Tockwell >/dev/null
e2e_log "passed"
