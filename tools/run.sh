#!/usr/bin/env bash
# The run command: sets up what is missing, builds the Windows program and
# starts it under Wine from build/run/ (where it keeps its files).
# With a display it runs there until you close it. Without one (or when asked
# with --screenshot), it runs on Xvfb, saves a screenshot after a few seconds
# and exits.
# Usage: run.sh [--screenshot FILE] [--exit-after SECONDS]
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"

shot= wait_s=5
while [[ $# -gt 0 ]]; do
  case $1 in
    --screenshot) shot=$2; shift 2 ;;
    --exit-after) wait_s=$2; shift 2 ;;
    *) echo "usage: $0 [--screenshot FILE] [--exit-after SECONDS]" >&2; exit 2 ;;
  esac
done

"$ROOT/tools/setup.sh"
# shellcheck source=tools/programs.sh
source "$ROOT/tools/programs.sh"
[[ -f build/win64/build.ninja ]] || cmake --preset win64 >/dev/null
cmake --build --preset win64 --target ov3 kem3 -- --quiet

run_dir=$ROOT/build/run
mkdir -p "$run_dir"
# The build strips the binaries; their debug data go beside them, where a
# debugger reading a crash finds them by the binaries' debug links.
cp -u build/win64/bin/ov3.exe build/win64/bin/kem3.dll "$run_dir/"
cp -u build/win64/bin/ov3.exe.debug build/win64/bin/kem3.dll.debug "$run_dir/"
# The languages and resource packages the build made go beside the program.
# The skins are made anew, so a skin folder the build no longer makes goes too.
rm -rf "$run_dir/Skins"
for folder in Language Resources Skins; do
  mkdir -p "$run_dir/$folder"
  cp -ru build/win64/bin/$folder/* "$run_dir/$folder/"
done

export WINEPREFIX=${WINEPREFIX:-${ORV_CACHE_DIR:-$ROOT/.cache}/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
WINE=$ORV_WINE

if [[ -n ${DISPLAY:-} && -z $shot ]]; then
  cd "$run_dir" && exec "$WINE" ./ov3.exe
fi

shot=${shot:-$ROOT/build/screenshot.png}
xvfb_pid=
if [[ -z ${DISPLAY:-} ]]; then
  source "$ROOT/tools/xvfb.sh"
  xvfb_start
  xvfb_pid=$ORV_XVFB_PID
fi
# Wine's background services inherit the program's output: keep it in a log so
# that nobody waiting on our own output waits for them.
(cd "$run_dir" && exec "$WINE" ./ov3.exe) </dev/null >"$run_dir/wine.log" 2>&1 &
wine_pid=$!
sleep "$wait_s"
mkdir -p "$(dirname "$shot")"
import -window root "$shot"
"$ORV_WINESERVER" -k 2>/dev/null || true
wait "$wine_pid" 2>/dev/null || true
[[ -n $xvfb_pid ]] && xvfb_stop "$xvfb_pid"
echo "screenshot saved to $shot"
