#!/usr/bin/env bash
# The demo's settings (scripts/demo-settings.sh, as `make run` writes them): with the device name
# they store, every board of the example board files programs, one reads back, and discovery
# finds them all.
# Usage: demo_bus_test.sh PATH/TO/railscope-cli SOURCE_DIR
set -uo pipefail
. "$(dirname "$0")/common.sh"
: "${SRC:?source dir}"

SETTINGS=$(bash "$SRC/scripts/demo-settings.sh" "$CLI" "$WORK/run") || { echo "demo-settings.sh failed"; exit 1; }
DEVICE=$(sed -n 's/^ComPort="\(.*\)"$/\1/p' "$SETTINGS")
echo "device: $DEVICE"
[[ "$DEVICE" == sim:boards=*";traffic=on" ]] || fail "device name: $DEVICE"

boards=0
for file in "$WORK"/run/layout-*.csv; do
  grep -qF "=\"$file\"" "$SETTINGS" || fail "settings do not load $file"
  count=$("$CLI" list "$file" | wc -l)
  for ((i = 0; i < count; i++)); do
    boards=$((boards+1))
    name="$(basename "$file") board $i"
    if "$CLI" program "$file" --index "$i" --connect "$DEVICE" > "$WORK/prog.out" 2> /dev/null \
        && grep -qx "Programming Completed Successfully!" "$WORK/prog.out"; then
      echo "ok   program $name"
    else
      fail "program $name"; tail -3 "$WORK/prog.out"
    fi
  done
done
[ "$boards" -ge 9 ] || fail "only $boards example boards"

file="$WORK/run/layout-rvn2.csv"
"$CLI" read "$file" --index 1 --connect "$DEVICE" -o "$WORK/read.csv" > "$WORK/read.out" 2>&1 \
  && grep -qx "Board data read completed successfully!" "$WORK/read.out" \
  && echo "ok   read back" || { fail "read"; tail -3 "$WORK/read.out"; }

"$CLI" discover --connect "$DEVICE" > "$WORK/disc.out" 2>&1
[ "$(grep -c $'\t' "$WORK/disc.out")" = "$boards" ] && echo "ok   discover finds $boards boards" \
  || { fail "discover"; cat "$WORK/disc.out"; }

finish
