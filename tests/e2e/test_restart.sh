#!/usr/bin/env bash
# Alarms that outlive the program: the clock-time alarms in the store come back at every start
# and fire on their seconds, after a kill -9 as after a clean quit; a countdown is dropped and
# the start says which; a damaged entry is told and the others still load; tockwell-reg's
# changes reach the running program.
# Usage: test_restart.sh PROGRAM
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
program=${1:?usage: $0 PROGRAM}
reg=$(dirname "$program")/tockwell-reg
base='HKCU\Software\Kestrolab\Tockwell'
web='Uruchom stronę WWW'
quit_button=(450 21)

# The notices are message boxes: without a tray there is no balloon to show them in, and no
# wait for a tray.
e2e_start_desktop --no-tray
export XDG_CONFIG_HOME=$e2e_tmp/config TOCKWELL_TRAY_WAIT_MS=0
mkdir -p "$XDG_CONFIG_HOME"

# start_program: starts the program afresh and waits for its setup window.
start_program() {
    : >"$E2E_CALLS"
    e2e_start_program "$program"
    setup=$(e2e_wait_window Tockwell)
}

# told TEXT...: waits for a message box whose text holds every TEXT (fixed strings).
told() {
    e2e_wait_until "a message box telling: $*" told_now "$@"
}
told_now() {
    local line
    while IFS= read -r line; do
        local all=1 text
        for text in "$@"; do [[ $line == *"$text"* ]] || all=0; done
        ((all)) && return 0
    done < <(grep '^MessageBox ' "$E2E_CALLS")
    return 1
}

# clock_alarms_armed: the store keeps exactly the two clock-time alarms.
clock_alarms_armed() {
    [[ $("$reg" alarms list 2>/dev/null | awk -F'\t' '{ print $2 }' | cut -c1 | tr -d '\n') == GG ]]
}

e2e_log "a start brings the clock-time alarms back, drops the countdown and tells of the damaged entry"
# Far enough ahead for the restarts below, a few seconds apart.
first_at=$(($(date +%s) + 40))
second_at=$((first_at + 3))
"$reg" alarms add --at "$(date -d "@$first_at" +%T)" --kind "$web" --param www.example.pl/one >/dev/null
"$reg" alarms add --at "$(date -d "@$second_at" +%T)" --kind "$web" --param www.example.pl/two >/dev/null
"$reg" alarms add --in 0:10:0 --kind "$web" --param www.example.pl/countdown >/dev/null
"$reg" add "$base\\Armed\\7" /v Mode /d X /f >/dev/null
start_program
told 'Odliczanie „Uruchom stronę WWW: www.example.pl/countdown”' 'Armed\\7'
e2e_wait_until "the countdown dropped from the store" clock_alarms_armed
e2e_screenshot restart-restored
"$reg" alarms list 2>&1 | grep -q 'Armed.7.*damaged' || e2e_fail "the damaged entry went"

e2e_log "tockwell-reg's alarm reaches the running program"
"$reg" alarms add --in 0:0:2 --kind "$web" --param www.example.pl/added >/dev/null
e2e_wait_call '^ShellOpen "www.example.pl/added" "" normal$'

e2e_log "kill -9 with two clock-time alarms and a countdown armed"
"$reg" alarms add --in 0:10:0 --kind "$web" --param www.example.pl/lost >/dev/null
e2e_wait_until "the countdown armed" bash -c "'$reg' alarms list | grep -q lost"
kill -9 "$E2E_PROGRAM_PID"
wait "$E2E_PROGRAM_PID" 2>/dev/null || true
start_program
told 'Odliczanie „Uruchom stronę WWW: www.example.pl/lost”'
e2e_wait_until "the countdown dropped from the store" clock_alarms_armed

e2e_log "a clean quit with two clock-time alarms and a countdown armed"
"$reg" alarms add --in 0:10:0 --kind "$web" --param www.example.pl/quit >/dev/null
e2e_wait_until "the countdown armed" bash -c "'$reg' alarms list | grep -q quit"
# The program has read it when its quit question counts it.
e2e_try_until bash -c "xdotool mousemove --window $setup ${quit_button[*]} click 1; grep -q 'ustawione alarmy: 3' '$E2E_CALLS'" ||
    e2e_fail "no quit question counting three alarms: $(grep MessageBox "$E2E_CALLS")"
told 'ustawione alarmy: 3' 'Alarmy ustawione na godzinę wrócą przy następnym uruchomieniu programu' \
    'odliczania przepadną: „Uruchom stronę WWW: www.example.pl/quit”'
e2e_wait_until "the program to end" e2e_ended "$E2E_PROGRAM_PID"
start_program
told 'Odliczanie „Uruchom stronę WWW: www.example.pl/quit”'

e2e_log "the clock-time alarms fire on their seconds"
E2E_TIMEOUT=60 e2e_wait_call '^ShellOpen "www.example.pl/one" "" normal$'
(($(date +%s) >= first_at)) || e2e_fail "the first alarm fired before its second"
e2e_wait_call '^ShellOpen "www.example.pl/two" "" normal$'
(($(date +%s) >= second_at)) || e2e_fail "the second alarm fired before its second"
e2e_wait_until "both fired alarms gone from the store" bash -c "! '$reg' alarms list 2>/dev/null | grep -q ."
e2e_log "passed"
