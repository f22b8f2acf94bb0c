#!/usr/bin/env bash
# Runs a Windows program under wine64 in the project's own tests' Wine prefix, with a
# display: the caller's, or an Xvfb started for this run and stopped after it.
# CMake uses it as the emulator of the win64 build, so ctest runs Windows tests.
# Usage: wine-run.sh PROGRAM.exe [ARGS...]; exits with the program's exit code.
set -uo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
CACHE=${ORV_CACHE_DIR:-$ROOT/.cache}
export WINEPREFIX=${WINEPREFIX:-$CACHE/wineprefix-tests}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# shellcheck source=tools/programs.sh
source "$ROOT/tools/programs.sh"
WINE=$ORV_WINE

if [[ ! -f $WINEPREFIX/.done ]]; then
  echo "wine-run: no Wine prefix at $WINEPREFIX: run tools/setup.sh" >&2
  exit 127
fi

xvfb_pid=
if [[ -z ${DISPLAY:-} ]]; then
  # shellcheck source=tools/xvfb.sh
  source "$ROOT/tools/xvfb.sh"
  xvfb_start || exit 127
  xvfb_pid=$ORV_XVFB_PID
fi

# The first Wine process of a session starts Wine's own background services,
# which inherit its output and would keep a caller waiting on the pipe (ctest
# does). Start them here, detached from our output.
if ! pgrep -u "$(id -u)" -x "wineserver(64)?" >/dev/null 2>&1; then
  "$WINE" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
fi

"$WINE" "$@"
rc=$?

if [[ -n $xvfb_pid ]]; then
  xvfb_stop "$xvfb_pid"
fi
exit $rc
