#!/usr/bin/env bash
# Sets up, builds everything (tests and benchmarks) and runs every test.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
cd "$BUILD"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
