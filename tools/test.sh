#!/usr/bin/env bash
# The test command: sets up what is missing, builds the three targets (native,
# win64, win32; and the benchmarks and fuzz targets, built only) and runs every test: natively, under wine64, and the inspection
# of the 32-bit binaries. Ends with the test runners' summary lines.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"

"$ROOT/tools/setup.sh"
# shellcheck source=tools/programs.sh
source "$ROOT/tools/programs.sh"

configure() {
  # Configure once; later builds re-run CMake by themselves when a list file changes.
  [[ -f build/$1/build.ninja ]] || cmake --preset "$1" >/dev/null
}
# The benchmarks and the fuzz targets are built (not run) so they never rot.
for preset in native win64 win32 bench fuzz; do
  configure "$preset"
  echo "== building $preset"
  cmake --build --preset "$preset" -- --quiet
done

# One display and one wineserver for the whole Windows run: starting them per
# test process would cost seconds each.
xvfb_pid=
if [[ -z ${DISPLAY:-} ]]; then
  source "$ROOT/tools/xvfb.sh"
  xvfb_start
  xvfb_pid=$ORV_XVFB_PID
fi
export WINEPREFIX=${WINEPREFIX:-${ORV_CACHE_DIR:-$ROOT/.cache}/wineprefix-tests}
export WINEDEBUG=-all
# A wineserver left by an earlier run on another display would hand our test
# windows to that display's desktop: start from a fresh one.
"$ORV_WINESERVER" -k 2>/dev/null || true
"$ORV_WINESERVER" -w 2>/dev/null || true
"$ORV_WINESERVER" -p 2>/dev/null || true
# Let Wine start its background services now, away from ctest's output pipes.
"$ORV_WINE" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
cleanup() {
  "$ORV_WINESERVER" -k 2>/dev/null || true
  # An if, not &&: a false test here would become the script's exit status.
  if [[ -n $xvfb_pid ]]; then xvfb_stop "$xvfb_pid"; fi
}
trap cleanup EXIT

summaries=()
status=0
for preset in native win64 win32; do
  echo "== testing $preset"
  log=$(mktemp)
  if ctest --preset "$preset" 2>&1 | tee "$log"; then :; fi
  if ! grep -q '100% tests passed' "$log"; then status=1; fi
  summaries+=("$preset: $(grep -E 'tests passed|No tests were found' "$log" | tail -n 1)")
  rm -f "$log"
done

echo
printf '%s\n' "${summaries[@]}"
exit $status
