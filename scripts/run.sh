#!/usr/bin/env bash
# Runs Railscope's main job. Until the desktop program exists this is a short demonstration
# of the command-line tool.
set -euo pipefail
BUILD=${1:-build}
CLI="$BUILD/bin/railscope-cli"
echo "== railscope-cli decode: a few LocoNet messages"
"$CLI" decode "83 7C" "B2 05 50 18" "B0 01 30 7E" "E5 10 00 01 02 11 68 03 05 00 11 0C 00 00 00 6B"
echo "== railscope-cli frame: raw bytes with line noise and a damaged message, as the link frames them"
printf '\x00\x12\x83\x7c\xb2\x05\x83\x7c\xa0\x0d\x7f\x2d\xb0\x01\x30\x7f\xbf\x21\x31\x50' | "$CLI" frame
