#!/usr/bin/env bash
# Sets up, builds and starts Velmorra.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
exec "$BUILD/src/velmorra" "$@"
