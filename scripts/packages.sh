#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the fuzz targets need (only those missing).
# Sourced by setup.sh and fuzz.sh.
set -euo pipefail

PACKAGES=(cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libgl-dev
          libxlsxwriter-dev libzip-dev libsqlite3-dev fonts-wqy-microhei python3-openpyxl poppler-utils
          qt6-translations-l10n fonts-arphic-uming fonts-arphic-ukai
          clang libclang-rt-14-dev)

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
