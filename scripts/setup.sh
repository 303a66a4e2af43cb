#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those missing), then configures and builds.
# Sourced by run.sh and test.sh.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${VELMORRA_BUILD:-$ROOT/build}"

PACKAGES=(cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libgl-dev
          libxlsxwriter-dev libzip-dev libsqlite3-dev fonts-wqy-microhei python3-openpyxl poppler-utils
          qt6-translations-l10n fonts-arphic-uming fonts-arphic-ukai)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi

cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j"$(nproc)"
