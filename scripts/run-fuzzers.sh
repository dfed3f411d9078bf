#!/usr/bin/env bash
# Runs every libFuzzer target in BIN_DIR for SECONDS seconds each, starting from the seed corpus
# under fuzz/corpus/<target>/ (copied, so the repository's corpus stays as it is), JOBS targets at
# a time (default 2). Any crash, sanitizer report or time-out fails the run.
set -uo pipefail
BIN_DIR=$(cd "${1:?usage: run-fuzzers.sh BIN_DIR [SECONDS] [JOBS]}" && pwd)
SECONDS_EACH=${2:-20}
JOBS=${3:-2}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

fuzz_one() {
  local fuzzer=$1 name corpus
  name=$(basename "$fuzzer")
  corpus="$WORK/$name"; mkdir -p "$corpus"
  if [ -d "$ROOT/fuzz/corpus/$name" ]; then cp -r "$ROOT/fuzz/corpus/$name/." "$corpus/"; fi
  mkdir -p "$WORK/$name.run"
  # Each target runs in a folder of its own, where a crash leaves its input.
  if (cd "$WORK/$name.run" && "$fuzzer" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=0 "$corpus" > "$WORK/$name.log" 2>&1); then
    echo passed > "$WORK/$name.status"
  else
    echo failed > "$WORK/$name.status"
  fi
}

names=()
for fuzzer in "$BIN_DIR"/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  names+=("$(basename "$fuzzer")")
  while [ "$(jobs -rp | wc -l)" -ge "$JOBS" ]; do wait -n; done
  echo "== $(basename "$fuzzer") (${SECONDS_EACH}s)"
  fuzz_one "$fuzzer" &
done
wait

passed=0; failed=0
for name in "${names[@]}"; do
  if [ "$(cat "$WORK/$name.status" 2>/dev/null)" = passed ]; then
    # libFuzzer's last line: inputs tried, coverage, corpus and inputs a second.
    passed=$((passed+1)); echo "-- $name: $(grep -a 'DONE' "$WORK/$name.log" | tail -n 1)"
  else
    failed=$((failed+1)); echo "FAILED: $name"; tail -n 60 "$WORK/$name.log"
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
