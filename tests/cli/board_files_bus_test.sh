#!/usr/bin/env bash
# Bounded reading of board files, files that are replaced only when completely written, and
# verify and backup against the simulated LocoNet in the program.
# Usage: board_files_bus_test.sh PATH/TO/railscope-cli SOURCE_DIR
set -uo pipefail
. "$(dirname "$0")/common.sh"
: "${SRC:?source dir}"
cp "$SRC/data/examples/layout-orb4.csv" "$WORK/orb4.csv"

# --- a file without line ends ends quickly with a clear error ---------------------------------
for args in "list /dev/zero" "list --type ORB4 /dev/zero" "describe /dev/zero"; do
  timeout 20 "$CLI" $args > "$WORK/out" 2> "$WORK/err"
  status=$?
  [ $status -eq 2 ] && grep -q "a line is longer than 1048576 characters" "$WORK/err" && [ ! -s "$WORK/out" ] \
    && echo "ok   $args" || { fail "$args (status $status)"; head -c 300 "$WORK/err"; }
done

# --- a write that fails (file-size limit) keeps the old file and says why ---------------------
no_leftovers() { ! ls -A "$WORK" | grep -q '\.saving-'; }
echo "old listing" > "$WORK/listing.txt"
( ulimit -f 1; exec "$CLI" listing "$WORK/orb4.csv" --index 0 -o "$WORK/listing.txt" ) > /dev/null 2> "$WORK/err"
status=$?
[ $status -eq 2 ] && [ "$(cat "$WORK/listing.txt")" = "old listing" ] && grep -q "listing.txt: File too large" "$WORK/err" \
  && no_leftovers && echo "ok   listing -o keeps the old file" || { fail "listing -o (status $status)"; cat "$WORK/err"; }
"$CLI" listing "$WORK/orb4.csv" --index 0 -o "$WORK/listing.txt" && "$CLI" listing "$WORK/orb4.csv" --index 0 \
  | cmp -s - "$WORK/listing.txt" && echo "ok   listing -o writes" || fail "listing -o writes"

echo "old log" > "$WORK/rx.log"
for _ in $(seq 1 300); do printf '\x83\x7c\xb2\x05\x50\x18'; done > "$WORK/bytes"
( ulimit -f 1; exec "$CLI" frame --log "$WORK/rx.log" ) < "$WORK/bytes" > /dev/null 2> "$WORK/err"
status=$?
[ $status -eq 1 ] && [ "$(cat "$WORK/rx.log")" = "old log" ] && grep -q "rx.log: File too large" "$WORK/err" \
  && no_leftovers && echo "ok   frame --log keeps the old file" || { fail "frame --log (status $status)"; cat "$WORK/err"; }
"$CLI" frame --log "$WORK/rx.log" < "$WORK/bytes" > /dev/null && [ "$(head -n 2 "$WORK/rx.log" | tr -d '\r')" = $'83\n7c' ] \
  && [ "$(grep -c 'OPC_SENSORREP' "$WORK/rx.log")" = 300 ] && echo "ok   frame --log writes" || fail "frame --log writes"

# --- verify: a fresh simulated board differs; only the differences and the verdict on stdout --
"$CLI" verify "$WORK/orb4.csv" --index 0 --connect "sim:boards=ORB4@1101" > "$WORK/out" 2> "$WORK/err"
status=$?
count=$(grep -c '^SV [0-9]*: board 0, description [0-9]*$' "$WORK/out")
[ $status -eq 1 ] && [ "$count" -gt 0 ] && [ "$(tail -n 1 "$WORK/out")" = "$count SVs differ" ] \
  && [ "$(wc -l < "$WORK/out")" -eq $((count + 1)) ] && grep -qx "Checking Destination board identity....." "$WORK/err" \
  && echo "ok   verify a fresh board" || { fail "verify (status $status)"; tail -3 "$WORK/out"; tail -3 "$WORK/err"; }

# --- backup of the default simulated bus; existing files are kept without --force --------------
"$CLI" backup --connect sim > "$WORK/out" 2> "$WORK/err"
[ $? -eq 2 ] && grep -q -- "--out FOLDER is required" "$WORK/err" && echo "ok   backup needs --out" || fail "backup usage"
"$CLI" backup --connect sim --out "$WORK/backup" > "$WORK/out" 2> "$WORK/err"
status=$?
[ $status -eq 0 ] && [ "$(cat "$WORK/out")" = "Backed up 5 boards to 5 files in $WORK/backup" ] \
  && [ "$(ls "$WORK/backup" | tr '\n' ' ')" = "kpx9.csv orb4.csv orb8.csv qxp6.csv rvn2.csv " ] \
  && [ "$("$CLI" list "$WORK/backup/orb8.csv" | cut -f1,2)" = $'1003\tORB8' ] \
  && grep -qx "Found 5 boards: ORB4 1001, KPX9 1002, ORB8 1003, RVN2 1004, QXP6 1005" "$WORK/err" \
  && echo "ok   backup" || { fail "backup (status $status)"; cat "$WORK/out"; tail -5 "$WORK/err"; }
echo "mine" > "$WORK/backup/orb4.csv"
# What a backup killed while renaming leaves behind is removed; other files stay.
touch "$WORK/backup/.orb4.csv.saving-0123456789abcdef" "$WORK/backup/.orb4.csv.saving-mine"
"$CLI" backup --connect 'sim:boards=ORB4@1001' --out "$WORK/backup" --wait 1 > "$WORK/out" 2> "$WORK/err"
status=$?
[ $status -eq 1 ] && [ "$(cat "$WORK/backup/orb4.csv")" = "mine" ] && grep -q "orb4.csv exists (give --force" "$WORK/err" \
  && echo "ok   backup keeps existing files" || { fail "backup without --force (status $status)"; cat "$WORK/err"; }
[ "$(ls -A "$WORK/backup" | grep saving)" = ".orb4.csv.saving-mine" ] \
  && grep -q "^Removed $WORK/backup/.orb4.csv.saving-0123456789abcdef, left by a backup that did not finish$" "$WORK/err" \
  && echo "ok   backup removes a stale temporary file" || { fail "stale temporary file"; ls -A "$WORK/backup"; }

# A folder that cannot be written is found out before the bus is asked anything.
"$CLI" backup --connect sim --out /proc/self > "$WORK/out" 2> "$WORK/err"
status=$?
[ $status -eq 1 ] && grep -q "cannot write in the folder /proc/self: " "$WORK/err" && ! grep -q "Discovering" "$WORK/err" \
  && echo "ok   backup checks its folder first" || { fail "backup to /proc/self (status $status)"; cat "$WORK/err"; }
# No file can be written (a file-size limit of 0): the summary says that nothing was saved.
( ulimit -f 0; exec "$CLI" backup --connect 'sim:boards=ORB4@1001,KPX9@1002' --out "$WORK/b2" --wait 1 ) 2>&1 \
  | cat > "$WORK/out"
status=${PIPESTATUS[0]}
[ $status -eq 1 ] && [ "$(tail -n 1 "$WORK/out")" = \
  "Nothing backed up: 2 boards were read, but none of the 2 files could be written in $WORK/b2" ] \
  && echo "ok   backup says when nothing was saved" || { fail "backup summary (status $status)"; tail -3 "$WORK/out"; }

finish
