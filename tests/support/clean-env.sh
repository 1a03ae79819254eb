#!/usr/bin/env bash
# Runs a test in an environment of its own: usage clean-env.sh [NAME=VALUE...] COMMAND [ARG...].
# Of the caller's environment only what finds the tools and the sanitizers' settings is kept;
# everything else that could change a test's outcome (the Qt platform and scale, the session's
# type and desktop, its display and buses, the locale, the time zone, the program's own
# TOCKWELL_* settings) is dropped. A test that needs one of them sets it itself, as NAME=VALUE
# here or in its script.
set -euo pipefail

kept=(PATH HOME USER LOGNAME TMPDIR ASAN_OPTIONS LSAN_OPTIONS UBSAN_OPTIONS)
environment=(LANG=C.UTF-8)
for name in "${kept[@]}"; do
    [[ -v $name ]] && environment+=("$name=${!name}")
done
exec env -i "${environment[@]}" "$@"
