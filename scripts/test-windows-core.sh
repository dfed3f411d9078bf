#!/usr/bin/env bash
# The Windows half of make test-windows-core, once both builds are made: runs the core's tests of
# the MinGW build under Wine, then has the Linux and the Windows build write what they make of the
# example boards (their SVs, SV listings and board files) and requires every byte to be the same.
#   scripts/test-windows-core.sh WINDOWS_BUILD LINUX_BUILD [JOBS]
set -euo pipefail

src=$(cd "$(dirname "$0")/.." && pwd)
windows=$(cd "$1" && pwd)
linux=$(cd "$2" && pwd)
jobs=${3:-2}
run=$src/scripts/wine-run.sh
prefix=$windows/wine
out=$(mktemp -d)

"$run" "$prefix" --start
trap '"$run" "$prefix" --stop; rm -rf "$out"' EXIT

# Now and then Wine fails to start a program at all: it ends at once and prints nothing, not even
# GoogleTest's first line. A test that fails is therefore run up to three times here; a real
# failure fails every time, and the same tests run once each, natively and under the sanitizers.
(cd "$windows" && ctest --output-on-failure -j "$jobs" --timeout 300 --repeat until-pass:3)

"$linux/bin/railscope_example_outputs" "$src/data/examples" "$out/linux"
# Under Wine the build machine's root folder is drive Z:.
"$run" "$prefix" "$windows/bin/railscope_example_outputs.exe" "Z:$src/data/examples" "Z:$out/windows"
if ! diff -r "$out/linux" "$out/windows" > "$out/differences"; then
  head -n 40 "$out/differences"
  echo "The Windows build writes other bytes than the Linux build for the example boards" >&2
  exit 1
fi
echo "The Windows build wrote the same $(find "$out/linux" -type f | wc -l) files as the Linux build, byte for byte"
