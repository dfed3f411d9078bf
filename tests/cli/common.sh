# Sourced by the command-line tests after `set -uo pipefail`: the program and the source folder
# from the script's arguments, a work folder removed at exit (a script that must also stop
# processes sets its own trap and calls remove_work), and a count of failures that `finish`
# reports and turns into the exit status.
CLI=${1:?cli binary}
SRC=${2:-}
WORK=$(mktemp -d)
remove_work() { rm -rf "$WORK"; }
trap remove_work EXIT
failures=0
fail() { echo "FAIL $*"; failures=$((failures+1)); }
finish() {
    echo "$((failures == 0 ? 1 : 0)) passed, $failures failed"
    [ "$failures" -eq 0 ]
}
