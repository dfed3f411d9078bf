#!/usr/bin/env bash
# Writes the demo's settings: copies of the example board files (so that saving in the demo never
# changes the originals) and a settings file that loads them and connects to a simulated LocoNet
# holding every board they describe, with the same types and serial numbers, so that programming,
# reading, discovery and renumbering all find their boards. Prints the settings file's path.
# Usage: demo-settings.sh PATH/TO/railscope-cli RUN_DIR
set -euo pipefail
CLI=${1:?railscope-cli}
RUN_DIR=${2:?run folder}
ROOT=$(cd "$(dirname "$0")/.." && pwd)

mkdir -p "$RUN_DIR"
RUN_DIR=$(cd "$RUN_DIR" && pwd)
declare -A files=()
boards=()
for type in ORB4 KPX9 ORB8 RVN2 QXP6; do
    lower=$(echo "$type" | tr 'A-Z' 'a-z')
    example="$ROOT/data/examples/layout-$lower.csv"
    files[$type]=""
    [[ -f "$example" ]] || continue
    copy="$RUN_DIR/layout-$lower.csv"
    cp -f "$example" "$copy"
    files[$type]="$copy"
    # The board file reader knows each record's type from its tag; its list lines start with the
    # serial number and the type, separated by tabs.
    while IFS=$'\t' read -r serial kind _; do
        [[ "$serial" =~ ^[0-9]+$ ]] && boards+=("$kind@$serial")
    done < <("$CLI" list "$copy")
done

device="sim:traffic=on"
if ((${#boards[@]})); then
    device="sim:boards=$(IFS=,; echo "${boards[*]}");traffic=on"
fi
# Values in double quotes: the settings reader would split a bare value at its commas.
quoted() {
    local value=${1//\\/\\\\}
    printf '"%s"' "${value//\"/\\\"}"
}
SETTINGS="$RUN_DIR/railscope.ini"
{
    echo "[Connection]"
    echo "ComPort=$(quoted "$device")"
    echo "Baud=0"
    echo "Interface=0"
    echo "[Filenames]"
    for type in ORB4 KPX9 ORB8 RVN2 QXP6; do echo "$type=$(quoted "${files[$type]}")"; done
} > "$SETTINGS.tmp"
mv -f "$SETTINGS.tmp" "$SETTINGS"
echo "$SETTINGS"
