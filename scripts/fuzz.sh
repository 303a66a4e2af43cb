#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a given time, all at once, starting from its
# committed seed corpus in fuzz/corpus/<target>.
#
#   scripts/fuzz.sh [seconds per target] [target...]     (default: 60 seconds, every target)
#
# New inputs go to $BUILD/corpus/<target>, never into the committed seeds. A crash is kept as
# $BUILD/crashes/<target>-crash-...; add it to fuzz/corpus/<target>/ once mended, so that every
# later run (CI too) replays it. Exits non-zero when any target crashed.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${VELMORRA_FUZZ_BUILD:-$ROOT/build-fuzz}"
SECONDS_EACH="${1:-60}"
shift || true
TARGETS=("$@")
if ((${#TARGETS[@]} == 0)); then
  TARGETS=(fuzz_mc fuzz_dxf fuzz_ddd fuzz_workbook fuzz_formulasheet fuzz_formula fuzz_number fuzz_settings
           fuzz_oldbase)
fi

source "$ROOT/scripts/packages.sh"

LAUNCHER=()
command -v ccache >/dev/null && LAUNCHER=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CC=clang CXX=clang++ cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORRA_FUZZ=ON \
  "${LAUNCHER[@]}" >/dev/null
cmake --build "$BUILD" --target fuzzers -j"$(nproc)"

mkdir -p "$BUILD/crashes" "$BUILD/logs"
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
# Leaks of a run are not the readers' faults worth stopping for; everything else is.
export ASAN_OPTIONS="detect_leaks=0:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"
pids=()
for t in "${TARGETS[@]}"; do
  seeds="$ROOT/fuzz/corpus/$t"
  work="$BUILD/corpus/$t"
  mkdir -p "$work" "$seeds"
  # Each target gets its own temporary folder: the program cleans its own at start.
  tmp="$(mktemp -d)"
  TMPDIR="$tmp" "$BUILD/fuzz/$t" -max_total_time="$SECONDS_EACH" -timeout=20 -rss_limit_mb=2560 \
    -print_final_stats=1 -artifact_prefix="$BUILD/crashes/$t-" "$work" "$seeds" >"$BUILD/logs/$t.log" 2>&1 &
  pids+=("$!")
done

failed=0
printf '%-20s %12s %8s\n' target executions crashed
for i in "${!TARGETS[@]}"; do
  t="${TARGETS[$i]}"
  status=0
  wait "${pids[$i]}" || status=$?
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$BUILD/logs/$t.log" | tail -1)"
  crashed=no
  if ((status != 0)); then
    crashed=yes
    failed=1
  fi
  printf '%-20s %12s %8s\n' "$t" "${runs:-?}" "$crashed"
  if [ "$crashed" = yes ]; then
    grep -E 'ERROR|SUMMARY|property broken|runtime error|Test unit written' "$BUILD/logs/$t.log" | head -20 || true
  fi
done
exit "$failed"
