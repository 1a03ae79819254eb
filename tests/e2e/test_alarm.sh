#!/usr/bin/env bash
# Alarms end to end: a "Komunikat" countdown composed in the setup window goes off with its
# message box; a web-page alarm opens its address; the last values come back after a restart.
# Usage: test_alarm.sh PROGRAM
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
program=${1:?usage: $0 PROGRAM}
reg=$(dirname "$program")/tockwell-reg
base='HKCU\Software\Kestrolab\Tockwell'

# Places in the setup window (its client area is 474 × 245): the groups start at (8, 42) and
# (228, 42).
countdown_radio=(20 125)
countdown_seconds=(158 149)
message_caption=(340 159)
web_field=(330 113)
start_button=(23 21)

e2e_start_desktop
# The message comes from the store (its list's current entry), so that its Polish letters do
# not depend on how xdotool types them.
export XDG_CONFIG_HOME=$e2e_tmp/config
"$reg" add "$base\\Kom_Text_MRU" /ve /d 'Już czas' /f >/dev/null
e2e_start_program "$program"
setup=$(e2e_wait_window Tockwell)
icon=$(e2e_wait_tray_icon Tockwell)

# differs_from PICTURE-SUM WINDOW: WINDOW shows another picture than the one of that checksum.
differs_from() { [[ $(import -window "$2" png:- | md5sum) != "$1" ]]; }

e2e_log "a picture of every action kind"
shown=''
for n in $(seq 1 9); do
    e2e_choose_kind "$setup" "$n"
    # Each kind names itself in the box: its picture differs from the one before (the first may
    # be the kind the window opened with).
    ((n == 1)) || e2e_wait_until "the picture of kind $n" differs_from "$shown" "$setup"
    e2e_wait_still "$setup"
    shown=$(import -window "$setup" png:- | md5sum)
    e2e_screenshot "kind-$n"
done

e2e_log "a message in two seconds"
e2e_choose_kind "$setup" 2
e2e_type_into "$setup" "${message_caption[@]}" 'UWAGA !!!'
e2e_click "$setup" "${countdown_radio[@]}"
e2e_type_into "$setup" "${countdown_seconds[@]}" 2
e2e_screenshot message-composed
e2e_click "$setup" "${start_button[@]}"
started=$(e2e_now_ms)
e2e_wait_window_gone Tockwell
e2e_wait_call '^MessageBox "Już czas" "UWAGA !!!" 0x40030 -> 1$'
waited=$(($(e2e_now_ms) - started))
e2e_log "the message came after $waited ms"
# A busy machine makes it later, never earlier.
((waited >= 1500)) || e2e_fail "the two-second countdown ended after $waited ms"

e2e_log "a web page"
e2e_click "$icon" 8 8
setup=$(e2e_wait_window Tockwell)
e2e_choose_kind "$setup" 7
e2e_type_into "$setup" "${web_field[@]}" www.example.pl
e2e_screenshot web-composed
e2e_click "$setup" "${start_button[@]}"
e2e_wait_call '^ShellOpen "www.example.pl" "" normal$'

e2e_log "the last values after a restart"
e2e_open_tray_menu "$icon"
xdotool key Up Return
e2e_wait_until "the program to end" bash -c "! kill -0 $E2E_PROGRAM_PID"
e2e_start_program "$program"
e2e_wait_window Tockwell >/dev/null
e2e_screenshot restored
# stored SUBKEY TEXT QUERY-OPTIONS...: the store's answer to the query holds TEXT.
stored() {
    local answer
    answer=$("$reg" query "$base$1" "${@:3}") && [[ $answer == *"$2"* ]]
}
stored '' 'Uruchom stronę WWW' /v LastAction || e2e_fail "LastAction not stored"
stored '' 0x2 /v O_ZA || e2e_fail "countdown mode not stored"
stored '\ZA_MRU' 0:0:2 /ve || e2e_fail "countdown entry not stored"
stored '\WWW_MRU' www.example.pl || e2e_fail "web address not stored"
stored '\Kom_Caption_MRU' 'UWAGA !!!' /ve || e2e_fail "message title not stored"
e2e_log "passed"
