#!/usr/bin/env bash
# Runs Railscope's main job. Until the desktop program exists this is a short demonstration
# of the command-line tool.
set -euo pipefail
BUILD=${1:-build}
CLI="$BUILD/bin/railscope-cli"
echo "== railscope-cli decode: a few LocoNet messages"
"$CLI" decode "83 7C" "B2 05 50 18" "B0 01 30 7E" "E5 10 50 01 02 10 00 00 01 02 10 00 00 00 00 00"
