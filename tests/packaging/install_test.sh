#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what lands there: every file in its place
# and valid, the installed programs working from another folder (railscope-cli finds its product
# table under share/railscope), and a CMake project outside the tree using the tbuildstamp package.
# Usage: install_test.sh CMAKE BUILD_DIR CONSUMER_DIR CXX GENERATOR WITH_CONSUMER ICON_SIZES \
#                        BINDIR LIBDIR INCLUDEDIR DATADIR MANDIR VERSION
set -uo pipefail
CMAKE=$1 BUILD=$2 CONSUMER=$3 CXX=$4 GENERATOR=$5 WITH_CONSUMER=$6 ICON_SIZES=$7
BINDIR=$8 LIBDIR=$9 INCLUDEDIR=${10} DATADIR=${11} MANDIR=${12} VERSION=${13}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
PREFIX=$WORK/prefix
ELSEWHERE=$WORK/elsewhere
mkdir -p "$ELSEWHERE"
failures=0
fail() { echo "FAIL $*"; failures=$((failures+1)); }
ok() { echo "ok   $*"; }

for tool in desktop-file-validate appstreamcli man pkg-config; do
  command -v "$tool" > /dev/null || { echo "FAIL $tool is missing: run scripts/install-deps.sh"; exit 1; }
done

if ! "$CMAKE" --install "$BUILD" --prefix "$PREFIX" > "$WORK/install.log" 2>&1; then
  cat "$WORK/install.log"; echo "FAIL cmake --install"; exit 1
fi
ok "cmake --install --prefix"

# --- the files -----------------------------------------------------------------------------
APP=org.railscope.Railscope
expected=(
  "$BINDIR/railscope" "$BINDIR/railscope-cli"
  "$DATADIR/railscope/progdevicelist.csv" "$DATADIR/railscope/help/contexts.txt"
  "$DATADIR/applications/$APP.desktop" "$DATADIR/metainfo/$APP.metainfo.xml"
  "$DATADIR/icons/hicolor/scalable/apps/railscope.svg" "$MANDIR/man1/railscope.1.gz" "$MANDIR/man1/railscope-cli.1.gz"
  "$LIBDIR/libtbuildstamp.so" "$LIBDIR/libtbuildstamp.so.${VERSION%%.*}" "$LIBDIR/libtbuildstamp.so.$VERSION"
  "$INCLUDEDIR/tbuildstamp/BuildStamp.h" "$INCLUDEDIR/tbuildstamp/VersionResource.h"
  "$LIBDIR/cmake/tbuildstamp/tbuildstampConfig.cmake" "$LIBDIR/cmake/tbuildstamp/tbuildstampConfigVersion.cmake"
  "$LIBDIR/cmake/tbuildstamp/tbuildstampTargets.cmake" "$LIBDIR/pkgconfig/tbuildstamp.pc"
)
for size in $ICON_SIZES; do expected+=("$DATADIR/icons/hicolor/${size}x${size}/apps/railscope.png"); done
for f in "${expected[@]}"; do [ -f "$PREFIX/$f" ] || fail "missing $f"; done
for f in "$BINDIR/railscope" "$BINDIR/railscope-cli"; do [ -x "$PREFIX/$f" ] || fail "$f is not executable"; done
# The shipped data lies in share/railscope only, not beside the programs.
[ ! -e "$PREFIX/$BINDIR/progdevicelist.csv" ] || fail "product table beside the installed programs"
# The copyright files and changelogs are the Debian packages' alone.
[ ! -e "$PREFIX/$DATADIR/doc" ] || fail "a plain install has $DATADIR/doc"
for page in $(sed -n 's/^[0-9][0-9]* *\([^ #]*\).*/\1/p' "$PREFIX/$DATADIR/railscope/help/contexts.txt" | sort -u); do
  [ -f "$PREFIX/$DATADIR/railscope/help/$page" ] || fail "help page $page is missing"
done
# Each PNG is drawn at its size (width and height from the PNG header).
for size in $ICON_SIZES; do
  png=$PREFIX/$DATADIR/icons/hicolor/${size}x${size}/apps/railscope.png
  [ -f "$png" ] || continue
  dims=$(od -An -tu1 -j16 -N8 "$png" | awk '{print $1*16777216+$2*65536+$3*256+$4 "x" $5*16777216+$6*65536+$7*256+$8}')
  [ "$dims" = "${size}x${size}" ] || fail "icon ${size}x${size} is $dims"
done
[ "$failures" -eq 0 ] && ok "installed files"

# --- validity ------------------------------------------------------------------------------
desktop-file-validate "$PREFIX/$DATADIR/applications/$APP.desktop" > "$WORK/out" 2>&1 && [ ! -s "$WORK/out" ] \
  && ok "desktop-file-validate" || { fail "desktop-file-validate"; cat "$WORK/out"; }
appstreamcli validate --no-net "$PREFIX/$DATADIR/metainfo/$APP.metainfo.xml" > "$WORK/out" 2>&1 \
  && ok "appstreamcli validate" || { fail "appstreamcli validate"; cat "$WORK/out"; }
for page in railscope railscope-cli; do
  MANWIDTH=100 man --warnings -l "$PREFIX/$MANDIR/man1/$page.1.gz" > "$WORK/$page.page" 2> "$WORK/err"
  if [ $? -ne 0 ] || [ -s "$WORK/err" ]; then fail "man -l $page"; cat "$WORK/err"; else ok "man -l $page"; fi
done
grep -q "railscope.cli(1)" "$WORK/railscope.page" || fail "railscope's manual page does not point to railscope-cli's"
# The page describes every command the program lists, with its usage line.
commands=$("$PREFIX/$BINDIR/railscope-cli" --help | sed -n 's/^  \([a-z-]*\) .*/\1/p')
[ -n "$commands" ] || fail "no commands in railscope-cli --help"
for c in $commands; do
  usage=$("$PREFIX/$BINDIR/railscope-cli" "$c" --help | head -1)
  grep -qF -- "$usage" "$WORK/railscope-cli.page" || fail "manual page lacks: $usage"
done
ok "manual page lists $(echo $commands | wc -w) commands"

# --- the installed programs, from another folder --------------------------------------------
cd "$ELSEWHERE" || exit 1
out=$("$PREFIX/$BINDIR/railscope-cli" decode "83 7C")
[ "$out" = "OPC_GPON:83 7C " ] && ok "railscope-cli decode" || fail "railscope-cli decode printed '$out'"
# Discovery names the boards from the product table.
"$PREFIX/$BINDIR/railscope-cli" discover --connect sim > "$WORK/out" 2>&1
if grep -qP '^1001\tORB4\tBrenmoor Electronics\tORB4 Signal Controller$' "$WORK/out"; then
  ok "railscope-cli discover finds its product table"
else
  fail "railscope-cli discover"; cat "$WORK/out"
fi
# The desktop program starts and keeps running (stopped after 5 seconds).
QT_QPA_PLATFORM=offscreen RAILSCOPE_SETTINGS=$WORK/settings.ini timeout 5 "$PREFIX/$BINDIR/railscope" nofiles \
  > "$WORK/out" 2>&1
status=$?
[ "$status" -eq 124 ] && ok "railscope starts" || { fail "railscope ended with status $status"; cat "$WORK/out"; }

# --- tbuildstamp for other programs ---------------------------------------------------------
export PKG_CONFIG_PATH=$PREFIX/$LIBDIR/pkgconfig
[ "$(pkg-config --modversion tbuildstamp)" = "$VERSION" ] && ok "pkg-config version" || fail "pkg-config version"
include=$(pkg-config --cflags-only-I tbuildstamp | tr ' ' '\n' | sed -n 's/^-I//p' | head -1)
[ -f "$include/tbuildstamp/BuildStamp.h" ] || fail "pkg-config include folder '$include'"
[[ " $(pkg-config --libs tbuildstamp) " == *" -ltbuildstamp "* ]] || fail "pkg-config --libs"

if [ "$WITH_CONSUMER" = 1 ]; then
  if "$CMAKE" -S "$CONSUMER" -B "$WORK/consumer" -G "$GENERATOR" -DCMAKE_CXX_COMPILER="$CXX" \
       -DCMAKE_PREFIX_PATH="$PREFIX" > "$WORK/consumer.log" 2>&1 &&
     "$CMAKE" --build "$WORK/consumer" >> "$WORK/consumer.log" 2>&1; then
    out=$("$WORK/consumer/stamp_reader")
    [ "$out" = "Stamp Reader|2.5.3.2|2.5.3.2" ] && ok "find_package(tbuildstamp)" || fail "stamp_reader printed '$out'"
    out=$("$WORK/consumer/stamp_reader_pc")
    [ "$out" = "||..." ] && ok "pkg-config tbuildstamp" || fail "stamp_reader_pc printed '$out'"
  else
    fail "the consumer project does not build"; tail -30 "$WORK/consumer.log"
  fi
fi

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
