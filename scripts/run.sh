#!/usr/bin/env bash
# Starts Railscope on the simulated LocoNet (with background traffic) and the example board
# files, through a settings file of its own under the build folder: the user's own settings
# are not touched. Without a display it explains how to get one and runs the command-line demo.
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

RUN_DIR="$BUILD/run"
mkdir -p "$RUN_DIR"
RUN_DIR=$(cd "$RUN_DIR" && pwd)
# Copies of the example board files, so that saving in the demo never changes the originals.
declare -A files=()
for type in ORB4 KPX9 ORB8 RVN2 QXP6; do
    lower=$(echo "$type" | tr 'A-Z' 'a-z')
    example="$ROOT/data/examples/layout-$lower.csv"
    if [[ -f "$example" ]]; then
        cp -f "$example" "$RUN_DIR/layout-$lower.csv"
        files[$type]="$RUN_DIR/layout-$lower.csv"
    else
        files[$type]=""
    fi
done
SETTINGS="$RUN_DIR/railscope.ini"
{
    echo "[Connection]"
    echo "ComPort=sim:traffic=on"
    echo "Baud=0"
    echo "Interface=0"
    echo "[Filenames]"
    for type in ORB4 KPX9 ORB8 RVN2 QXP6; do echo "$type=${files[$type]}"; done
} > "$SETTINGS"
echo "Starting Railscope on the simulated LocoNet (settings: $SETTINGS)."
echo "Open \"LocoNet Debug\" / \"Message Display\" to watch the traffic."
RAILSCOPE_SETTINGS="$SETTINGS" exec "$BIN/railscope"
