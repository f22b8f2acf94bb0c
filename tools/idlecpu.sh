#!/usr/bin/env bash
# Idle CPU of the bar under Wine: ov3.exe runs from a fresh folder (a copy of
# the build's program, hook library, skins, resources and languages) with the
# default contents and the clock's second hand on or off, is left alone, and
# the CPU time of its process over the measured span is read from
# /proc/PID/stat. Prints each run's share of one core and the median.
# Usage: tools/idlecpu.sh [BIN_DIR] [SECONDHAND yes|no] [SECONDS] [RUNS]
#   BIN_DIR defaults to build/win64/bin; 60 seconds and 3 runs by default.
# Needs DISPLAY (an Xvfb of your own) and the project's Wine prefix.
set -uo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BIN=$(cd "${1:-$ROOT/build/win64/bin}" && pwd)
SECONDHAND=${2:-yes}
SPAN=${3:-60}
RUNS=${4:-3}
SETTLE=${ORV_IDLE_SETTLE:-15}
export WINEPREFIX=${WINEPREFIX:-$ROOT/.cache/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# shellcheck source=tools/programs.sh
source "$ROOT/tools/programs.sh"
[[ -n ${DISPLAY:-} ]] || { echo "idlecpu: no DISPLAY" >&2; exit 2; }
TICKS=$(getconf CLK_TCK)

# utime + stime of a process, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# The Linux process that runs the ov3.exe of folder $1.
find_bar() {
  local p
  for p in /proc/[0-9]*; do
    if { tr '\0' ' ' <"$p/cmdline"; } 2>/dev/null | grep -q "$1.*ov3\.exe"; then
      echo "${p#/proc/}"
      return 0
    fi
  done
  return 1
}

one_run() {
  local dir pid wine_pid t0 t1 c0 c1
  dir=$(mktemp -d /tmp/idlecpu.XXXXXX)
  cp "$BIN/ov3.exe" "$BIN/kem3.dll" "$dir/"
  for sub in Skins Resources Language; do [[ -d $BIN/$sub ]] && cp -r "$BIN/$sub" "$dir/"; done
  cat >"$dir/ov3.xml" <<EOF
<?xml version="1.0" encoding="UTF-8"?>
<ov3contents><modules><analogclock><parameters><secondhand value="$SECONDHAND"/></parameters></analogclock></modules></ov3contents>
EOF
  (cd "$dir" && exec "$ORV_WINE" "$dir/ov3.exe" </dev/null >/dev/null 2>&1) &
  wine_pid=$!
  sleep "$SETTLE"
  pid=$(find_bar "$(basename "$dir")") || { echo "idlecpu: ov3.exe did not start" >&2; kill "$wine_pid" 2>/dev/null; return 1; }
  c0=$(cpu_ticks "$pid")
  t0=$(date +%s.%N)
  sleep "$SPAN"
  c1=$(cpu_ticks "$pid")
  t1=$(date +%s.%N)
  kill "$pid" 2>/dev/null
  wait "$wine_pid" 2>/dev/null
  rm -rf "$dir"
  awk -v c="$((c1 - c0))" -v t0="$t0" -v t1="$t1" -v hz="$TICKS" 'BEGIN { printf "%.3f\n", 100 * c / hz / (t1 - t0) }'
}

results=()
for ((i = 1; i <= RUNS; i++)); do
  r=$(one_run) || exit 1
  echo "run $i: $r % of a core (second hand $SECONDHAND, ${SPAN} s)"
  results+=("$r")
done
printf '%s\n' "${results[@]}" | sort -g | awk '{ v[NR] = $1 } END { printf "median: %.3f %%\n", v[int((NR + 1) / 2)] }'
