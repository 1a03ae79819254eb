#!/usr/bin/env bash
# A desktop without a tray: the setup window still appears at once, and the user is told once
# that there is no tray when the wait for a tray has run out (TOCKWELL_TRAY_WAIT_MS shortens it
# here). With "Po uruchomieniu minimalizuj do traya" the window appears when the wait has run out.
# Usage: test_notray.sh PROGRAM
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
program=${1:?usage: $0 PROGRAM}
reg=$(dirname "$program")/tockwell-reg
base='HKCU\Software\Kestrolab\Tockwell'
export TOCKWELL_TRAY_WAIT_MS=3000
# The wait is a coarse timer, which Qt may end up to 5 % early.
wait_least=$((TOCKWELL_TRAY_WAIT_MS * 95 / 100))
notice='^MessageBox ".*traya.*" "INFORMACJA" 0x40 -> 1$'

e2e_start_desktop --no-tray
started=$(e2e_now_ms)
e2e_start_program "$program"
e2e_wait_window Tockwell >/dev/null
grep -q '^MessageBox' "$E2E_CALLS" 2>/dev/null && e2e_fail "told at once, before the wait ran out"
e2e_wait_call "$notice"
waited=$(($(e2e_now_ms) - started))
((waited >= wait_least)) || e2e_fail "told after $waited ms, before the wait ran out"
e2e_screenshot notray
[[ $(grep -c '^MessageBox' "$E2E_CALLS") == 1 ]] || e2e_fail "more than one box: $(cat "$E2E_CALLS")"
[[ -z $(e2e_tray_icon Tockwell) ]] || e2e_fail "a tray icon without a tray"

e2e_log "with AutoMinimize the window appears when the wait has run out"
kill "$E2E_PROGRAM_PID"
e2e_wait_until "the program to end" bash -c "! kill -0 $E2E_PROGRAM_PID"
: >"$E2E_CALLS"
"$reg" add "$base" /v AutoMinimize /t REG_DWORD /d 1 /f >/dev/null
started=$(e2e_now_ms)
e2e_start_program "$program"
e2e_wait_window Tockwell >/dev/null
waited=$(($(e2e_now_ms) - started))
((waited >= wait_least)) || e2e_fail "the window came after $waited ms, before the wait ran out"
e2e_wait_call "$notice"
e2e_log "passed"
