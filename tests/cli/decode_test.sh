#!/usr/bin/env bash
# Checks the output contract of `railscope-cli decode` and `railscope-cli frame`.
# Usage: decode_test.sh PATH/TO/railscope-cli SOURCE_DIR
set -uo pipefail
. "$(dirname "$0")/common.sh"

# expect NAME EXPECTED_STATUS EXPECTED_STDOUT_FILE EXPECTED_STDERR_FILE -- command...
check() {
  local name=$1 want_status=$2 want_out=$3 want_err=$4
  shift 5
  "$@" > "$WORK/out" 2> "$WORK/err"
  local status=$?
  if [ "$status" -ne "$want_status" ]; then
    echo "FAIL $name: exit status $status, expected $want_status"; cat "$WORK/err"; failures=$((failures+1)); return
  fi
  if ! cmp -s "$WORK/out" "$want_out"; then
    echo "FAIL $name: standard output differs"; diff "$want_out" "$WORK/out" | head -20; failures=$((failures+1)); return
  fi
  if [ "$want_err" != "-" ] && ! cmp -s "$WORK/err" "$want_err"; then
    echo "FAIL $name: standard error differs"; diff "$want_err" "$WORK/err" | head -20; failures=$((failures+1)); return
  fi
  echo "ok   $name"
}

# --- decode: arguments -------------------------------------------------------
printf '%s\n' \
  'OPC_GPON:83 7C ' \
  'OPC_SENSORREP sensor report:1,11 On' \
  'OPC_SWREQ: Switch request, point number = 2, CLOSED Pressed' \
  'SV Access: Write 1 Byte Dst=1000 Addr=0005 data=8C' \
  'Unknown:83 7D ' > "$WORK/want"
: > "$WORK/noerr"
check decode-args 0 "$WORK/want" "$WORK/noerr" -- \
  "$CLI" decode "83 7C" "B2 05 50 18" "b0  1 30 7e " "E5 10 00 01 02 11 68 03 05 00 11 0C 00 00 00 6B" "83 7D"

printf '%s\n' 'OPC_SENSORREP:B2 05 50 18 ' 'OPC_SVACCESS Type 2:E5 10 00 01 02 11 68 03 05 00 11 0C 00 00 00 6B ' > "$WORK/want"
check decode-raw 0 "$WORK/want" "$WORK/noerr" -- \
  "$CLI" decode --raw "B2 05 50 18" "E5 10 00 01 02 11 68 03 05 00 11 0C 00 00 00 6B"

# Bad input is reported, the rest still decoded, and the status is 1.
printf '%s\n' 'OPC_GPON:83 7C ' 'OPC_GPOFF:82 7D ' > "$WORK/want"
printf '%s\n' 'error: not a LocoNet message: B0' 'error: not a LocoNet message: B0,01' > "$WORK/wanterr"
check decode-bad-input 1 "$WORK/want" "$WORK/wanterr" -- "$CLI" decode "83 7C" "B0" "B0,01" "82 7D"

# --- decode: standard input, CR LF and blank lines ------------------------------
printf '83 7C\r\n\nB2 05 50 18\nnot hex at all!\n   \nA0 0D 7F 2D\n' > "$WORK/in"
printf '%s\n' 'OPC_GPON:83 7C ' 'OPC_SENSORREP sensor report:1,11 On' \
  'OPC_LOCO_SPD throttle speed: slot=13, speed=127' > "$WORK/want"
printf '%s\n' 'error: not a LocoNet message: not hex at all!' > "$WORK/wanterr"
check decode-stdin 1 "$WORK/want" "$WORK/wanterr" -- bash -c "\"$CLI\" decode < \"$WORK/in\""
: > "$WORK/empty0"

# --- decode: endless and huge input ---------------------------------------------
# A stream without line ends stops at the board files' line limit; memory stays bounded.
check decode-endless-line 2 "$WORK/empty0" - -- bash -c "head -c 3000000 /dev/zero | \"$CLI\" decode"
grep -q "a line is longer than 1048576 characters" "$WORK/err" \
  || { echo "FAIL decode-endless-line: message"; failures=$((failures+1)); }
# A long line that is no message is quoted by its start only, with its length.
head -c 200000 /dev/zero | tr '\0' 'x' > "$WORK/long"
printf '\n83 7C\n' >> "$WORK/long"
printf '%s\n' 'OPC_GPON:83 7C ' > "$WORK/want"
check decode-long-bad-line 1 "$WORK/want" - -- bash -c "\"$CLI\" decode < \"$WORK/long\""
if [ "$(wc -c < "$WORK/err")" -lt 200 ] && grep -q "(200000 characters)" "$WORK/err"; then echo "ok   decode-long-bad-line-quoted"
else echo "FAIL decode-long-bad-line-quoted: $(head -c 300 "$WORK/err")"; failures=$((failures+1)); fi

# --- usage errors -----------------------------------------------------------------
: > "$WORK/empty"
check decode-unknown-option 2 "$WORK/empty" - -- "$CLI" decode --frobnicate "83 7C"
grep -q "unknown option '--frobnicate'" "$WORK/err" || { echo "FAIL decode-unknown-option: message"; failures=$((failures+1)); }
check frame-unknown-option 2 "$WORK/empty" - -- "$CLI" frame --frobnicate
check frame-log-missing 2 "$WORK/empty" - -- "$CLI" frame --log
check frame-extra-argument 2 "$WORK/empty" - -- bash -c "\"$CLI\" frame foo < /dev/null"
"$CLI" decode --help > "$WORK/out" && grep -q "Usage: railscope-cli decode" "$WORK/out" \
  && echo "ok   decode-help" || { echo "FAIL decode-help"; failures=$((failures+1)); }
"$CLI" frame --help > "$WORK/out" && grep -q "Usage: railscope-cli frame" "$WORK/out" \
  && echo "ok   frame-help" || { echo "FAIL frame-help"; failures=$((failures+1)); }

# --- frame ---------------------------------------------------------------------------
# Noise, a power-on, a sensor report, a broken message and a bad checksum.
printf '\x00\x12\x83\x7c\xb2\x05\x50\x18\xb2\x05\x83\x7c\x83\x7d' > "$WORK/raw"
printf '%s\n' 'OPC_GPON:83 7C ' 'OPC_SENSORREP sensor report:1,11 On' > "$WORK/want"
check frame-stdin 0 "$WORK/want" "$WORK/noerr" -- bash -c "\"$CLI\" frame --log \"$WORK/rx.log\" < \"$WORK/raw\""
printf '0\r\n12\r\n83\r\n7c\r\nOPC_GPON:83 7C b2\r\n5\r\n50\r\n18\r\nOPC_SENSORREP:B2 05 50 18 b2\r\n5\r\n83\r\nrejected because top bit set in payload bytes7c\r\n83\r\n7d\r\nrejected as invalid' > "$WORK/wantlog"
if cmp -s "$WORK/rx.log" "$WORK/wantlog"; then echo "ok   frame-log"; else
  echo "FAIL frame-log"; od -c "$WORK/rx.log" | head -20; failures=$((failures+1)); fi

# Without --log no file is needed; the same messages come out.
check frame-no-log 0 "$WORK/want" "$WORK/noerr" -- bash -c "\"$CLI\" frame < \"$WORK/raw\""

check frame-unwritable-log 1 "$WORK/empty" - -- bash -c "\"$CLI\" frame --log \"$WORK/no/such/dir/x.log\" < \"$WORK/raw\""

# Every message decode accepts, framed from its bytes, prints the same line.
printf '\xe5\x10\x00\x01\x02\x11\x68\x03\x05\x00\x11\x0c\x00\x00\x00\x6b\xa0\x0d\x7f\x2d' > "$WORK/raw2"
"$CLI" decode "E5 10 00 01 02 11 68 03 05 00 11 0C 00 00 00 6B" "A0 0D 7F 2D" > "$WORK/want"
check frame-matches-decode 0 "$WORK/want" "$WORK/noerr" -- bash -c "\"$CLI\" frame < \"$WORK/raw2\""

if [ "$failures" -ne 0 ]; then echo "$failures failure(s)"; exit 1; fi
echo "all passed"
