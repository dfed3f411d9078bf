#!/usr/bin/env bash
# Renders Railscope's windows to PNG files (offscreen, no display needed).
set -euo pipefail
BUILD=${1:-build}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT="$BUILD/screenshots"
mkdir -p "$OUT"
QT_QPA_PLATFORM=offscreen "$BUILD/bin/railscope-screenshots" "$OUT" "$ROOT/data/examples"
ls -1 "$OUT"/*.png
