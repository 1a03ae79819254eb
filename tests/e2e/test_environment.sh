#!/usr/bin/env bash
# The programs an alarm starts get the environment the program was started with: in a Wayland
# session the program runs itself through X11 (XWayland), but a probe program started by a
# "Uruchom program" alarm sees no QT_QPA_PLATFORM. Real backend.
# Usage: test_environment.sh PROGRAM
# shellcheck source=tests/e2e/lib.sh
source "$(dirname "$0")/lib.sh"
program=${1:?usage: $0 PROGRAM}
reg=$(dirname "$program")/tockwell-reg
base='HKCU\Software\Kestrolab\Tockwell'
start_button=(23 21)

e2e_start_desktop
export XDG_CONFIG_HOME=$e2e_tmp/config
mkdir -p "$XDG_CONFIG_HOME"

probe=$e2e_tmp/probe.sh
printf '#!/bin/sh\nenv >"%s.tmp" && mv "%s.tmp" "%s"\n' \
    "$e2e_tmp/env.txt" "$e2e_tmp/env.txt" "$e2e_tmp/env.txt" >"$probe"
chmod +x "$probe"
# The last values: the probe in one second.
"$reg" add "$base" /v LastAction /d 'Uruchom program' /f >/dev/null
"$reg" add "$base" /v O_ZA /t REG_DWORD /d 2 /f >/dev/null
"$reg" add "$base\\ZA_MRU" /ve /d '0:0:1' /f >/dev/null
"$reg" add "$base\\EXE_MRU" /ve /d "$probe" /f >/dev/null

# A Wayland session as the program sees it (no compositor answers there: the program must
# choose X11 to start at all), with no platform chosen by the user.
unset QT_QPA_PLATFORM
XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=tockwell-e2e-none \
    TOCKWELL_UPDATE_LOCATION=http://127.0.0.1:9/ "$program" >>"$e2e_tmp/program.log" 2>&1 &
E2E_PROGRAM_PID=$!
e2e_pids+=("$E2E_PROGRAM_PID")
setup=$(e2e_wait_window Tockwell)
e2e_click "$setup" "${start_button[@]}"
e2e_wait_until "the probe to run" test -s "$e2e_tmp/env.txt"
grep -q '^WAYLAND_DISPLAY=tockwell-e2e-none$' "$e2e_tmp/env.txt" ||
    e2e_fail "the probe did not inherit the program's environment"
if grep '^QT_QPA_PLATFORM=' "$e2e_tmp/env.txt"; then
    e2e_fail "the probe got the program's own Qt platform"
fi
e2e_log "passed"
