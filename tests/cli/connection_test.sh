#!/usr/bin/env bash
# Connecting to LocoNet from the command line: the reasons given when a device cannot be opened,
# mistyped options, and `serve` sharing a pseudo-terminal LocoNet (served by `simulate --pty`) with
# several clients: a board is programmed through the served port while another client monitors and
# a third sends junk.
# Usage: connection_test.sh PATH/TO/railscope-cli SOURCE_DIR
set -uo pipefail
. "$(dirname "$0")/common.sh"
: "${SRC:?source dir}"
PIDS=()
cleanup() { for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null; done; wait 2>/dev/null; remove_work; }
trap cleanup EXIT
ok() { echo "ok   $*"; }

# Waits until FILE has a line starting with KEY and prints the rest of it.
first_line() {
  for _ in $(seq 1 100); do
    value=$(sed -n "s/^$2 //p" "$1" | head -n 1)
    [ -n "$value" ] && { echo "$value"; return 0; }
    sleep 0.05
  done
  return 1
}

# expect_error STATUS TEXT COMMAND...: the command exits with STATUS and says TEXT on stderr.
expect_error() {
  local status=$1 text=$2; shift 2
  "$CLI" "$@" > /dev/null 2> "$WORK/err"
  local got=$?
  if [ $got -eq "$status" ] && grep -qF -- "$text" "$WORK/err"; then ok "$*"; else fail "$* (status $got)"; cat "$WORK/err"; fi
}

# --- reasons and unknown options ---------------------------------------------------------------
expect_error 1 "cannot open /dev/railscope-no-such-port: No such file or directory" \
  send --connect /dev/railscope-no-such-port --power on
"$CLI" simulate --tcp 0 > "$WORK/closed.out" 2>/dev/null &
CLOSED_PID=$!
CLOSED=$(first_line "$WORK/closed.out" TCP) || { echo "simulate --tcp did not start"; exit 1; }
kill $CLOSED_PID; wait $CLOSED_PID 2>/dev/null
expect_error 1 "cannot open tcp://$CLOSED: Connection refused" send --connect "tcp://$CLOSED" --power on
expect_error 2 "unknown option '--conect' (did you mean --connect?)" monitor --conect sim
expect_error 2 "unknown option '--rwa'" monitor --connect sim --rwa

# --- serve -------------------------------------------------------------------------------------
cp "$SRC/data/examples/layout-orb4.csv" "$WORK/orb4.csv"
SERIAL=$("$CLI" list "$WORK/orb4.csv" | head -n 1 | cut -f1)
"$CLI" simulate --pty --sim "boards=ORB4@$SERIAL/fw2,QXP6@3000" > "$WORK/sim.out" 2>&1 &
SIM_PID=$!; PIDS+=($SIM_PID)
PTY=$(first_line "$WORK/sim.out" PTY) || { echo "simulate --pty did not start"; exit 1; }
"$CLI" serve --connect "$PTY" --interface locobuffer --baud 57600 --tcp 0 > "$WORK/serve.out" 2> "$WORK/serve.err" &
SERVE_PID=$!; PIDS+=($SERVE_PID)
SERVED=$(first_line "$WORK/serve.out" TCP) || { echo "serve did not start"; cat "$WORK/serve.err"; exit 1; }

"$CLI" monitor --connect "tcp://$SERVED" --raw > "$WORK/monitor.out" 2>&1 &
MONITOR_PID=$!; PIDS+=($MONITOR_PID)
for _ in $(seq 1 100); do grep -q " connected$" "$WORK/serve.err" && break; sleep 0.05; done
exec 3<> "/dev/tcp/${SERVED%:*}/${SERVED##*:}"
printf 'SEND 83 7C\n\001\002\377 junk\n' >&3
if "$CLI" program "$WORK/orb4.csv" --index 0 --connect "tcp://$SERVED" > "$WORK/prog.out" 2> "$WORK/prog.err" \
   && grep -qx "Programming Completed Successfully!" "$WORK/prog.out"; then
  ok "program through the served port"
else
  fail "program through the served port"; tail -n 5 "$WORK/prog.out" "$WORK/prog.err"
fi
exec 3>&-
sleep 0.3
kill -INT $MONITOR_PID; wait $MONITOR_PID 2>/dev/null
# The monitor saw the other client's conversation: every SV write and its reply.
writes=$(grep -c ":E5 10 " "$WORK/monitor.out")
[ "$writes" -gt 200 ] && grep -q "^OPC_GPON:83 7C" "$WORK/monitor.out" \
  && ok "a second client sees every message ($writes SV messages)" \
  || { fail "monitor through the served port saw $writes SV messages"; tail -n 3 "$WORK/monitor.out"; }
grep -q "dropped .*: it sent a line that is not text" "$WORK/serve.err" && ok "junk client dropped" \
  || { fail "junk client not reported as dropped"; cat "$WORK/serve.err"; }

# The served device goes away: reported, and the server runs on.
kill $SIM_PID; wait $SIM_PID 2>/dev/null
for _ in $(seq 1 60); do grep -q "lost the connection to $PTY" "$WORK/serve.err" && break; sleep 0.05; done
grep -q "lost the connection to $PTY: the device went away; opening it again every 2 s" "$WORK/serve.err" && kill -0 $SERVE_PID 2>/dev/null \
  && ok "lost link reported, server running" || { fail "lost link"; cat "$WORK/serve.err"; }
exec 3<> "/dev/tcp/${SERVED%:*}/${SERVED##*:}"
read -r -t 3 greeting <&3
exec 3>&-
[[ "$greeting" == "VERSION Railscope LocoNet server"* ]] && ok "clients still served" || fail "no greeting: '$greeting'"
# A send the server refuses (its connection is gone) is a failure, not "Sent".
if "$CLI" send --connect "tcp://$SERVED" 83 7C > "$WORK/send.out" 2> "$WORK/send.err"; then
  fail "refused send reported as sent: $(cat "$WORK/send.out")"
else
  grep -q "did not put the message on the bus (SENT ERROR)" "$WORK/send.err" && ok "refused send fails" \
    || { fail "refused send: $(cat "$WORK/send.err")"; }
fi

# --- serve's limits: a client beyond them is told why ---------------------------------------------
"$CLI" serve --connect sim --tcp 0 --max-clients 1 > "$WORK/full.out" 2> "$WORK/full.err" &
FULL_PID=$!; PIDS+=($FULL_PID)
FULL=$(first_line "$WORK/full.out" TCP) || { echo "serve --max-clients did not start"; cat "$WORK/full.err"; exit 1; }
exec 4<> "/dev/tcp/${FULL%:*}/${FULL##*:}"
read -r -t 3 greeting <&4
exec 5<> "/dev/tcp/${FULL%:*}/${FULL##*:}"
read -r -t 3 refusal <&5
exec 4>&- 5>&-
[[ "$greeting" == VERSION* ]] && [ "${refusal%$'\r'}" = "ERROR closing the connection: too many clients (at most 1)" ] \
  && ok "serve --max-clients 1 tells the second client why" || fail "serve --max-clients: '$greeting' '$refusal'"

finish
