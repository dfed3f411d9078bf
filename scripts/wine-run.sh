#!/usr/bin/env bash
# Runs Windows programs under Wine (Debian's wine64), headless, in the Wine prefix PREFIX, which
# it sets up on first use. ctest runs the MinGW build's tests through it (cmake/mingw-w64.cmake).
#   scripts/wine-run.sh PREFIX PROGRAM.exe [ARGUMENTS...]   runs one program
#   scripts/wine-run.sh PREFIX --start                      starts Wine for a series of programs
#   scripts/wine-run.sh PREFIX --stop                       stops it again
# Wine's own background processes (services.exe and the like) start with the first program of a
# series and inherit its output: ctest, which waits for the end of a test's output, would wait for
# them too. --start starts them without any output and keeps them for the programs that follow
# (until --stop, or a minute after the last one).
set -euo pipefail

prefix=$1
shift
wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo "$(dirname "$wine64")/wineserver")

export WINEPREFIX=$prefix
export WINEDEBUG=-all
# No Mono or Gecko (setting up the prefix would offer to download them), and no menu entries or
# file associations written into the user's desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# No window may open, not even Wine's "updating the configuration" box.
unset DISPLAY WAYLAND_DISPLAY

# The first program sets the prefix up while the others wait (ctest runs them in parallel);
# system.reg appears once Wine has written the new prefix out.
if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$(dirname "$prefix")"
  (
    flock 9
    if [ ! -f "$prefix/system.reg" ]; then
      "$wine64" wineboot --init < /dev/null > /dev/null 2>&1
      "$wineserver" -w
    fi
  ) 9> "$prefix.lock"
fi

case ${1:-} in
  --start)
    # (Fails harmlessly when Wine already runs in this prefix.)
    "$wineserver" -p60 < /dev/null > /dev/null 2>&1 || true
    "$wine64" cmd /c exit < /dev/null > /dev/null 2>&1
    ;;
  --stop)
    "$wineserver" -k 2> /dev/null || true
    ;;
  *)
    exec "$wine64" "$@"
    ;;
esac
