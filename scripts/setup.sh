#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those missing), then configures and builds.
# Sourced by run.sh and test.sh. VELMORRA_SANITIZE=ON builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer (use another VELMORRA_BUILD folder for it).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${VELMORRA_BUILD:-$ROOT/build}"

source "$ROOT/scripts/packages.sh"

cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORRA_SANITIZE="${VELMORRA_SANITIZE:-OFF}" >/dev/null
cmake --build "$BUILD" -j"$(nproc)"
