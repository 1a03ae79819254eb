#!/usr/bin/env bash
# Sets up, builds and starts Tockwell.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
exec build/tockwell
