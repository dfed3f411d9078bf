#!/usr/bin/env bash
# Runs every libFuzzer target in BIN_DIR for SECONDS seconds each, starting from the seed corpus
# under fuzz/corpus/<target>/ (copied, so the repository's corpus stays as it is).
# Any crash, sanitizer report or time-out fails the run.
set -uo pipefail
BIN_DIR=$(cd "${1:?usage: run-fuzzers.sh BIN_DIR [SECONDS]}" && pwd)
SECONDS_EACH=${2:-20}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
passed=0; failed=0
for fuzzer in "$BIN_DIR"/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer")
  corpus="$WORK/$name"; mkdir -p "$corpus"
  if [ -d "$ROOT/fuzz/corpus/$name" ]; then cp -r "$ROOT/fuzz/corpus/$name/." "$corpus/"; fi
  echo "== $name (${SECONDS_EACH}s)"
  if (cd "$WORK" && "$fuzzer" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=0 "$corpus" > "$WORK/$name.log" 2>&1); then
    passed=$((passed+1)); tail -n 2 "$WORK/$name.log"
  else
    failed=$((failed+1)); echo "FAILED: $name"; tail -n 60 "$WORK/$name.log"
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
