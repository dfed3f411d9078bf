#!/usr/bin/env bash
# The layout check against the simulated LocoNet in the program: the example boards with junk on the
# bus and one wrong read-back, one board in no file, one missing from the bus, one of another type
# and one description the board cannot hold; the table before and after --program-differing.
# Usage: audit_bus_test.sh PATH/TO/railscope-cli SOURCE_DIR
set -uo pipefail
. "$(dirname "$0")/common.sh"
: "${SRC:?source dir}"
mkdir "$WORK/layout"
cp "$SRC"/data/examples/layout-*.csv "$WORK/layout/"
echo "not a board file" > "$WORK/layout/notes.csv"
# The first ORB4's sensor board number is more than its SV holds.
sed -i '0,/"sensor_config",12,/s//"sensor_config",300,/' "$WORK/layout/layout-orb4.csv"

# KPX9 2102 is missing, a QXP6 answers at RVN2 1202's number, ORB8 2202 is in no file.
BUS='sim:boards=ORB4@1101/fw2,ORB4@1102/fw2,KPX9@2101/fw2,ORB8@2201/fw2,ORB8@2202/fw2,RVN2@1201/fw2,QXP6@1202/fw2,QXP6@4101/fw2,QXP6@4102/fw2;junk=0.1;readback=26;seed=5'
T=$'\t'
AFTER="1101${T}ORB4${T}Main line ORB4${T}description cannot be held (1 values)
1102${T}ORB4${T}Spare ORB4${T}matches
2101${T}KPX9${T}Station throat panel${T}matches
2102${T}KPX9${T}Fiddle yard panel${T}in a file, not on the bus
2201${T}ORB8${T}Station throat ORB8${T}matches
2202${T}ORB8${T}${T}on the bus, in no file
1201${T}RVN2${T}Branch Line Shuttle${T}matches
1202${T}RVN2${T}Coldwater Station${T}type differs: bus has QXP6
4101${T}QXP6${T}Station throat${T}matches
4102${T}QXP6${T}Goods yard${T}matches
10 boards: 6 match, 1 cannot hold its description, 1 in no file, 1 not on the bus, 1 of another type on the bus"

"$CLI" audit "$WORK/layout" --connect "$BUS" --wait 0.5 --program-differing --csv "$WORK/table.csv" \
  > "$WORK/out" 2> "$WORK/err"
status=$?
# The boards fresh on the bus hold nothing yet: every described board on it differs.
head -n 11 "$WORK/out" > "$WORK/before"
before_ok=1
for serial in 1102 2101 2201 1201 4101 4102; do
  grep -q "^$serial${T}[A-Z0-9]*${T}[^${T}]*${T}[1-9][0-9]* SVs differ\$" "$WORK/before" || before_ok=0
done
[ $status -eq 1 ] && [ $before_ok = 1 ] && grep -q "^1101${T}.*description cannot be held (1 values)\$" "$WORK/before" \
  && [ "$(sed -n 11p "$WORK/out")" = \
       "10 boards: 6 differ, 1 cannot hold its description, 1 in no file, 1 not on the bus, 1 of another type on the bus" ] \
  && echo "ok   audit: the table before programming" || { fail "audit before (status $status)"; cat "$WORK/out"; tail -5 "$WORK/err"; }
[ "$(sed -n '13,$p' "$WORK/out")" = "$AFTER" ] && echo "ok   audit --program-differing: the table after" \
  || { fail "audit after"; sed -n '13,$p' "$WORK/out"; }
grep -qx "Found 9 boards: ORB4 1101, ORB4 1102, KPX9 2101, ORB8 2201, ORB8 2202, RVN2 1201, QXP6 1202, QXP6 4101, QXP6 4102" \
  "$WORK/err" && grep -q "notes.csv is no board file; left out" "$WORK/err" && ! grep -q "Programming ORB4 1101" "$WORK/err" \
  && ! grep -q "progress" "$WORK/out" && echo "ok   audit: progress on standard error" || { fail "audit stderr"; cat "$WORK/err"; }
[ "$(head -n 3 "$WORK/table.csv")" = 'Serial,Type,Name,Status,File
1101,ORB4,"Main line ORB4","description cannot be held (1 values)","'"$WORK"'/layout/layout-orb4.csv"
1102,ORB4,"Spare ORB4","matches","'"$WORK"'/layout/layout-orb4.csv"' ] && [ "$(wc -l < "$WORK/table.csv")" = 11 ] \
  && echo "ok   audit --csv" || { fail "audit --csv"; cat "$WORK/table.csv"; }

# Every board matching its file: status 0.
"$CLI" audit "$WORK/layout/layout-qxp6.csv" --connect 'sim:boards=QXP6@4101/fw2,QXP6@4102/fw2' --wait 0.3 \
  --program-differing > "$WORK/out" 2> "$WORK/err"
status=$?
[ $status -eq 0 ] && [ "$(tail -n 1 "$WORK/out")" = "All 2 boards match their files" ] \
  && echo "ok   audit: all match" || { fail "audit all match (status $status)"; cat "$WORK/out"; tail -3 "$WORK/err"; }

# Bad usage.
for args in "--connect sim" "$WORK/layout --connect sim --csv" "$WORK/layout --connect sim --frobnicate" \
            "$WORK/missing.csv --connect sim"; do
  "$CLI" audit $args > /dev/null 2> "$WORK/err"
  status=$?
  [ $status -eq 2 ] && ! grep -q "Discovering" "$WORK/err" && echo "ok   audit $args: status 2" \
    || { fail "audit $args (status $status)"; cat "$WORK/err"; }
done

finish
