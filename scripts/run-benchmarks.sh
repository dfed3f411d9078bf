#!/usr/bin/env bash
# Runs every benchmark program built under BUILD/bin (bench_*), each printing its figures and targets.
# A figure that misses its target is shown so, but fails nothing: only a benchmark that does not
# work (exits non-zero) fails the run.
set -uo pipefail
BUILD=${1:-build-release}
status=0
for b in "$BUILD"/bin/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  QT_QPA_PLATFORM=offscreen "$b" || status=1
done
exit $status
