#!/usr/bin/env bash
# The command-line tool's help fits a terminal of 80 columns: `--help`, the help of every command
# it lists (whoever adds one), and the manual page as man shows it at 80 columns.
# Usage: help_width_test.sh PATH/TO/railscope-cli SOURCE_DIR
set -uo pipefail
. "$(dirname "$0")/common.sh"

# fits NAME FILE: every line of FILE within 80 columns (characters, not bytes).
fits() {
  local long
  long=$(LC_ALL=C.UTF-8 awk 'length($0) > 80 { printf "  %d: %s\n", length($0), $0 }' "$2")
  if [ -n "$long" ]; then
    echo "FAIL $1: lines wider than 80 columns:"; echo "$long"; failures=$((failures+1))
  fi
}

"$CLI" --help > "$WORK/help" || { echo "FAIL railscope-cli --help"; exit 1; }
fits "railscope-cli --help" "$WORK/help"
commands=$(sed -n 's/^  \([a-z][a-z0-9-]*\) .*/\1/p' "$WORK/help")
[ "$(echo "$commands" | wc -w)" -ge 20 ] || { echo "FAIL too few commands listed: $commands"; failures=$((failures+1)); }
for c in $commands; do
  "$CLI" "$c" --help > "$WORK/$c" || { echo "FAIL railscope-cli $c --help"; failures=$((failures+1)); continue; }
  fits "railscope-cli $c --help" "$WORK/$c"
done

command -v man > /dev/null || { echo "FAIL man is missing: run scripts/install-deps.sh"; exit 1; }
"$CLI" --man > "$WORK/railscope-cli.1"
MANWIDTH=80 MAN_KEEP_FORMATTING= man --warnings -l "$WORK/railscope-cli.1" 2> "$WORK/man-errors" |
  sed 's/.\x08//g' > "$WORK/page"
[ -s "$WORK/man-errors" ] && { echo "FAIL man reports:"; cat "$WORK/man-errors"; failures=$((failures+1)); }
fits "the manual page at 80 columns" "$WORK/page"
for section in EXAMPLES "EXIT STATUS" FILES; do
  grep -q "^$section\$" "$WORK/page" || { echo "FAIL the manual page has no $section section"; failures=$((failures+1)); }
done

[ "$failures" -eq 0 ] && echo "ok   help and manual page within 80 columns" || exit 1
