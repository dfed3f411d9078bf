#!/usr/bin/env bash
# Installs the Debian packages Railscope needs to build, test and run.
# Idempotent: apt-get runs only when a package is missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config ccache
  libgtest-dev libgmock-dev
  clang-14 libclang-rt-14-dev
  qt6-base-dev qt6-serialport-dev libgl-dev
  xvfb xauth
  # the core built for Windows and run under Wine (make test-windows-core); GoogleTest's sources
  googletest g++-mingw-w64-x86-64-posix wine64
  # installing and packaging: icon rendering, the checks of the install test, make package and
  # Debian's check of the packages
  librsvg2-bin desktop-file-utils appstream man-db dpkg-dev lintian
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
