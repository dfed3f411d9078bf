#!/usr/bin/env bash
# Starts Railscope on the simulated LocoNet (with background traffic and every board of the
# example board files) and those files, through a settings file of its own under the build
# folder: the user's own settings are not touched. Without a display it explains how to get one
# and runs the command-line demo.
set -euo pipefail
BUILD=${1:-build}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BIN="$BUILD/bin"

cli_demo() {
    local CLI="$BIN/railscope-cli"
    echo "== railscope-cli decode: a few LocoNet messages"
    "$CLI" decode "83 7C" "B2 05 50 18" "B0 01 30 7E" "E5 10 00 01 02 11 68 03 05 00 11 0C 00 00 00 6B"
    echo "== railscope-cli frame: raw bytes with line noise and a damaged message, as the link frames them"
    printf '\x00\x12\x83\x7c\xb2\x05\x83\x7c\xa0\x0d\x7f\x2d\xb0\x01\x30\x7f\xbf\x21\x31\x50' | "$CLI" frame
}

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    cat <<'MSG'
No display found (DISPLAY is not set), so the desktop program cannot open its window.
To run it without a screen, start a virtual one:
    xvfb-run -a make run                 # or:  Xvfb :99 & DISPLAY=:99 make run
and `make screenshots` renders the windows to PNG files without any display.
Running the command-line demonstration instead.
MSG
    cli_demo
    exit 0
fi

# The example board files, and a simulated LocoNet holding every board they describe.
SETTINGS=$(bash "$ROOT/scripts/demo-settings.sh" "$BIN/railscope-cli" "$BUILD/run")
echo "Starting Railscope on the simulated LocoNet (settings: $SETTINGS)."
echo "Open \"LocoNet Debug\" / \"Message Display\" to watch the traffic."
RAILSCOPE_SETTINGS="$SETTINGS" exec "$BIN/railscope"
