#!/usr/bin/env bash
# Programs, verifies, reads, discovers and renumbers boards through a real pseudo-terminal, with the
# simulated LocoNet served by `railscope-cli simulate --pty`, some replies corrupted and junk between messages.
# Usage: program_pty_test.sh PATH/TO/railscope-cli SOURCE_DIR
set -uo pipefail
. "$(dirname "$0")/common.sh"
: "${SRC:?source dir}"
SIM_PID=
cleanup() { [ -n "$SIM_PID" ] && kill "$SIM_PID" 2>/dev/null; wait 2>/dev/null; remove_work; }
trap cleanup EXIT

start_sim() {
  "$CLI" simulate --pty --sim "$1" > "$WORK/sim.out" 2> "$WORK/sim.err" &
  SIM_PID=$!
  for _ in $(seq 1 100); do
    PTY=$(sed -n 's/^PTY //p' "$WORK/sim.out" | head -n 1)
    [ -n "$PTY" ] && return 0
    sleep 0.05
  done
  echo "simulator did not start"; cat "$WORK/sim.err"; exit 1
}
stop_sim() { kill "$SIM_PID" 2>/dev/null; wait "$SIM_PID" 2>/dev/null; SIM_PID=; }

cp "$SRC/data/examples/layout-orb4.csv" "$WORK/orb4.csv"
SERIAL=$("$CLI" list "$WORK/orb4.csv" | head -n 1 | cut -f1)

# Program over the pseudo-terminal with faults on the bus; verify finds differences before and none after.
start_sim "boards=ORB4@$SERIAL/fw2,QXP6@3000;corrupt=0.01;junk=0.05;seed=7"
"$CLI" verify "$WORK/orb4.csv" --index 0 --connect "$PTY" > "$WORK/verify.out" 2> "$WORK/verify.err"
status=$?
[ $status -eq 1 ] && tail -n 1 "$WORK/verify.out" | grep -qx "[0-9]* SVs differ" && echo "ok   verify a fresh board over pty" \
  || { fail "verify before programming (status $status)"; tail -3 "$WORK/verify.out"; tail -3 "$WORK/verify.err"; }
if "$CLI" program "$WORK/orb4.csv" --index 0 --connect "$PTY" --interface pr3 > "$WORK/prog.out" 2> "$WORK/prog.err"; then
  grep -qx "Programming Completed Successfully!" "$WORK/prog.out" || fail "program: no success line"
  [ "$(head -n 1 "$WORK/prog.out")" = "Checking Destination board identity....." ] || fail "program: first log line"
  echo "ok   program over pty"
else
  fail "program exited $?"; tail -5 "$WORK/prog.out"; tail -5 "$WORK/prog.err"
fi

if "$CLI" verify "$WORK/orb4.csv" --index 0 --connect "$PTY" > "$WORK/verify.out" 2> "$WORK/verify.err"; then
  [ "$(cat "$WORK/verify.out")" = "Board matches its description" ] && echo "ok   verify the programmed board over pty" \
    || { fail "verify after programming"; cat "$WORK/verify.out"; }
else
  fail "verify after programming exited $?"; tail -3 "$WORK/verify.out"; tail -3 "$WORK/verify.err"
fi

# Read it back to a new file: the SVs calculated from the read board are those of the original.
if "$CLI" read "$WORK/orb4.csv" --index 0 --connect "$PTY" -o "$WORK/read.csv" > "$WORK/read.out" 2>&1; then
  grep -qx "Board data read completed successfully!" "$WORK/read.out" || fail "read: no success line"
  "$CLI" svs "$WORK/orb4.csv" --index 0 --swversion 2 > "$WORK/svs-original"
  "$CLI" svs "$WORK/read.csv" --index 0 --swversion 2 > "$WORK/svs-read"
  cmp -s "$WORK/svs-original" "$WORK/svs-read" && echo "ok   read over pty" || fail "read: SVs differ"
else
  fail "read exited $?"; tail -5 "$WORK/read.out"
fi
stop_sim

# Discovery and renumbering (no faults: the discovery conversation never retries).
start_sim "boards=ORB4@1000,KPX9@2000,QXP6@3000"
"$CLI" discover --connect "$PTY" > "$WORK/disc.out" 2>&1
[ "$(grep -c $'\t' "$WORK/disc.out")" = 3 ] && [ "$(tail -n 1 "$WORK/disc.out")" = "Discovery complete!" ] \
  && echo "ok   discover over pty" || { fail "discover"; cat "$WORK/disc.out"; }
"$CLI" renumber 1000 3000 --connect "$PTY" --wait 1 > "$WORK/dup.out" 2>&1
status=$?
[ $status -eq 1 ] && grep -qx "New number duplicates a board on LocoNet! Choose a different value" "$WORK/dup.out" \
  && echo "ok   duplicate refused" || { fail "duplicate renumber (status $status)"; cat "$WORK/dup.out"; }
"$CLI" renumber 1000 1500 --connect "$PTY" > "$WORK/ren.out" 2>&1
status=$?
[ $status -eq 0 ] && grep -qx "Change Address successful. Relabel board now!" "$WORK/ren.out" \
  && grep -q "^1500"$'\t'"ORB4" "$WORK/ren.out" && echo "ok   renumber" || { fail "renumber (status $status)"; cat "$WORK/ren.out"; }
"$CLI" identify 1500 --connect "$PTY" --wait 1 > "$WORK/id.out" 2>&1 && grep -qx "Identify successful!" "$WORK/id.out" \
  && echo "ok   identify renumbered board (--wait 1)" || { fail "identify"; cat "$WORK/id.out"; }
"$CLI" discover --connect "$PTY" --wait 0 > /dev/null 2> "$WORK/wait.err"
[ $? -eq 2 ] && grep -q -- "--wait needs a number of seconds from 0.1 to 3600, not '0'" "$WORK/wait.err" \
  && echo "ok   --wait 0 refused" || { fail "--wait 0"; cat "$WORK/wait.err"; }
stop_sim

finish
