#!/usr/bin/env bash
# A desktop without a tray: the setup window still appears and the user is told once that there
# is no tray. Usage: test_notray.sh PROGRAM
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
program=${1:?usage: $0 PROGRAM}

e2e_start_desktop --no-tray
e2e_start_program "$program"
e2e_wait_window Tockwell >/dev/null
e2e_wait_call '^MessageBox ".*traya.*" "INFORMACJA" 0x40 -> 1$'
e2e_screenshot notray
[[ $(grep -c '^MessageBox' "$E2E_CALLS") == 1 ]] || e2e_fail "more than one box: $(cat "$E2E_CALLS")"
[[ -z $(e2e_tray_icon Tockwell) ]] || e2e_fail "a tray icon without a tray"
e2e_log "passed"
