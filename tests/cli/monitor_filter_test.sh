#!/usr/bin/env bash
# `railscope-cli monitor --only/--match` over a file: replay of real LocoNet traffic agree line
# for line with awk filtering the monitor's unfiltered output (and `decode` of the same bytes).
# Usage: monitor_filter_test.sh PATH/TO/railscope-cli SOURCE_DIR
set -uo pipefail
. "$(dirname "$0")/common.sh"
: "${SRC:?source dir}"
same() { # NAME WANT GOT
  if cmp -s "$2" "$3"; then echo "ok   $1 ($(wc -l < "$3") lines)"; else fail "$1"; diff "$2" "$3" | head -10; fi
}

# The corpus's hex column as the bytes a LocoNet interface would deliver, back to back.
grep -v '^#' "$SRC/tests/support/data/loconet-corpus.txt" | cut -f1 | while read -r hex; do
  printf "$(printf '%s' "$hex" | sed 's/\([0-9A-Fa-f][0-9A-Fa-f]\) */\\x\1/g')"
done > "$WORK/corpus.bin"

monitor() { "$CLI" monitor --connect "file:$WORK/corpus.bin" "$@"; }
monitor --raw > "$WORK/all-raw" || fail "monitor --raw"
total=$(tail -n 1 "$WORK/all-raw")
sed '$d' "$WORK/all-raw" > "$WORK/raw"
[ "$(wc -l < "$WORK/raw")" -gt 100 ] || fail "fewer than 100 messages framed from the corpus"
# The decoded text of exactly the messages the monitor framed, by `decode`.
sed 's/^[^:]*://' "$WORK/raw" | "$CLI" decode > "$WORK/decoded" || fail "decode"

# --only: the opcode name is what --raw prints before the colon.
awk -F: '$1 == "OPC_SENSORREP" || $1 == "OPC_SWREQ" || $1 == "OPC_GPON"' "$WORK/raw" > "$WORK/want"
monitor --raw --only OPC_SENSORREP,opc_swreq,OPC_GPON: > "$WORK/got"
[ "$(tail -n 1 "$WORK/got")" = "$total" ] || fail "--only: the count covers every message"
sed -i '$d' "$WORK/got"
same "--only three names" "$WORK/want" "$WORK/got"

awk -F: '$1 == "OPC_SVACCESS Type 2"' "$WORK/raw" > "$WORK/want"
monitor --raw --only "OPC_SVACCESS Type 2" | sed '$d' > "$WORK/got"
same "--only a name with blanks" "$WORK/want" "$WORK/got"

# --match: the printed text, ignoring case.
awk 'index(tolower($0), "point number")' "$WORK/decoded" > "$WORK/want"
monitor --match "POINT Number" | sed '$d' > "$WORK/got"
same "--match decoded text" "$WORK/want" "$WORK/got"

awk 'index(tolower($0), " 7f ")' "$WORK/raw" > "$WORK/want"
monitor --raw --match " 7F " | sed '$d' > "$WORK/got"
same "--match raw text" "$WORK/want" "$WORK/got"

# Both together: the lines that pass both.
paste -d '\t' "$WORK/raw" "$WORK/decoded" | awk -F'\t' '$1 ~ /^OPC_SWREQ:/ && index(tolower($2), "closed") { print $2 }' > "$WORK/want"
monitor --only OPC_SWREQ --match closed | sed '$d' > "$WORK/got"
same "--only and --match" "$WORK/want" "$WORK/got"

# --direction: nothing is written by the monitor, so every line was received.
monitor --raw --direction | sed '$d' > "$WORK/got"
sed 's/^/recv  /' "$WORK/raw" > "$WORK/want"
same "--direction" "$WORK/want" "$WORK/got"

# A name that is not an opcode name is a usage error.
monitor --only OPC_SENSORREP,OPC_NOSUCH > "$WORK/out" 2> "$WORK/err"
status=$?
if [ $status -ne 2 ] || ! grep -q "'OPC_NOSUCH' is not an opcode name" "$WORK/err"; then
  fail "--only with an unknown name (status $status)"; cat "$WORK/err"
else
  echo "ok   --only with an unknown name"
fi

# --log: the same receive log as frame writes; a file that cannot be written is reported (status
# 1), and a write that fails half-way keeps what the file held.
"$CLI" frame --log "$WORK/want.log" < "$WORK/corpus.bin" > /dev/null
monitor --log "$WORK/got.log" > /dev/null && cmp -s "$WORK/want.log" "$WORK/got.log" && echo "ok   --log writes" \
  || fail "--log writes"
monitor --log "$WORK/no/such/folder/rx.log" > "$WORK/out" 2> "$WORK/err"
status=$?
[ $status -eq 1 ] && grep -q "cannot write log file $WORK/no/such/folder/rx.log: No such file or directory" "$WORK/err" \
  && echo "ok   --log to a folder that does not exist" || { fail "--log unwritable (status $status)"; cat "$WORK/err"; }
echo "old log" > "$WORK/rx.log"
( ulimit -f 1; exec "$CLI" monitor --connect "file:$WORK/corpus.bin" --log "$WORK/rx.log" ) > /dev/null 2> "$WORK/err"
status=$?
[ $status -eq 1 ] && [ "$(cat "$WORK/rx.log")" = "old log" ] && grep -q "rx.log: File too large" "$WORK/err" \
  && ! ls -A "$WORK" | grep -q '\.saving-' && echo "ok   --log keeps the old file when the disk is full" \
  || { fail "--log on a full disk (status $status)"; cat "$WORK/err"; }

finish
