#!/usr/bin/env bash
# Sets up, builds and runs every test: the lint (scripts/lint.sh) first, then the whole suite,
# then the same suite built with AddressSanitizer and UndefinedBehaviorSanitizer, then each fuzz
# target for a minute.
# TOCKWELL_TEST_QUICK=1 runs the first part only.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --test
scripts/lint.sh
ctest --preset default
[[ ${TOCKWELL_TEST_QUICK:-0} == 1 ]] && exit 0

cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan

fuzz/run.sh 60
