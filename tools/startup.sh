#!/usr/bin/env bash
# Start-up time and memory of the bar under Wine, beside an empty window
# program started the same way. For each number of icons a folder gets the
# program, its languages, packages and skins, and a contents file of that many icons
# in 20 groups. startprobe.exe starts a program and reports the time until it
# shows a window; then this script reads the CPU time the program's process
# has used, and 10 seconds after the start its private memory
# (Private_Clean + Private_Dirty of Linux, the memory no other process
# shares); the probe reports the working set Wine gives (Wine leaves the
# private bytes of its own count at 0). Rounds
# take the programs in turn, so they see the same load; the table gives
# medians with the lowest and highest value. Results also go to build/startup/results.txt.
# With --timeline N, one start of the bar with N icons is traced instead
# (Wine's DLL loads and file opens, with their times) and the milliseconds
# from the start to each of the program's own files, to the hook library and
# to the visible bar are listed: where the start-up time goes ("--timeline
# empty" traces the empty program, for the part every program pays).
# Usage: startup.sh [ROUNDS] [ICON COUNTS...]   (defaults: 5 rounds; 100 500 2000 10000)
#        startup.sh --timeline N|empty
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
timeline=
if [[ ${1:-} == --timeline ]]; then
  timeline=${2:?usage: startup.sh --timeline N|empty}
  if [[ $timeline == empty ]]; then set -- 1 100; else set -- 1 "$timeline"; fi
fi
rounds=${1:-5}
shift || true
counts=("$@")
[[ ${#counts[@]} -gt 0 ]] || counts=(100 500 2000 10000)

"$ROOT/tools/setup.sh"
# shellcheck source=tools/programs.sh
source "$ROOT/tools/programs.sh"
[[ -f build/win64/build.ninja ]] || cmake --preset win64 >/dev/null
cmake --build --preset win64 --target ov3 kem3 startprobe emptywindow -- --quiet
bin=$ROOT/build/win64/bin
objcopy=/usr/bin/x86_64-w64-mingw32-objcopy
work=$ROOT/build/startup
rm -rf "$work"
mkdir -p "$work/empty"

# The empty program as ov3.exe ships: without debug sections, a GUI program.
"$objcopy" --strip-debug --subsystem windows "$bin/emptywindow.exe" "$work/empty/emptywindow.exe"

contents() {
  local icons=$1 groups=20
  awk -v icons="$icons" -v groups="$groups" 'BEGIN {
    print "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
    print "<ov3contents>"
    print "<groups>"
    id = 1
    for (g = 0; g < groups; g++) {
      printf "<group title=\"Group %d\"><icons>\n", g + 1
      for (i = g; i < icons; i += groups) {
        printf "<icon id=\"%d\" title=\"Program %d\" type=\"program\"><application filename=\"C:\\\\Programs\\\\tool%d.exe\" parameters=\"\" folder=\"C:\\\\Programs\"/></icon>\n", id, id, id
        id++
      }
      print "</icons></group>"
    }
    print "</groups>"
    print "</ov3contents>"
  }'
}

for n in "${counts[@]}"; do
  dir=$work/icons$n
  mkdir -p "$dir"
  cp "$bin/ov3.exe" "$bin/kem3.dll" "$dir/"
  # Everything the program ships beside it, its skins too.
  for folder in Language Resources Skins; do
    cp -r "$bin/$folder" "$dir/"
  done
  contents "$n" >"$dir/ov3.xml"
done

export WINEPREFIX=${WINEPREFIX:-${ORV_CACHE_DIR:-$ROOT/.cache}/wineprefix}
export WINEDEBUG=-all
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
xvfb_pid=
if [[ -z ${DISPLAY:-} ]]; then
  source "$ROOT/tools/xvfb.sh"
  xvfb_start
  xvfb_pid=$ORV_XVFB_PID
fi
# One wineserver for the whole run, started before the first measurement.
"$ORV_WINESERVER" -p 2>/dev/null || true
"$ORV_WINE" cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
cleanup() {
  "$ORV_WINESERVER" -k 2>/dev/null || true
  if [[ -n $xvfb_pid ]]; then xvfb_stop "$xvfb_pid"; fi
}
trap cleanup EXIT

# The Linux process of a Windows program of our prefix, by its file name: Wine
# names the process by the program's Windows path (the probe's own command
# line names the program too, but not first).
unix_pid() {
  local name=$1 pid first
  for pid in $(pgrep -f "$name" || true); do
    first=$({ tr '\0' '\n' <"/proc/$pid/cmdline"; } 2>/dev/null | head -n 1)
    [[ $first == *"\\$name" ]] || continue
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
      echo "$pid"
      return 0
    fi
  done
  return 1
}

# CPU time (user and system, milliseconds) the Linux process has used so far.
cpu_ms() {
  awk -v hz="$(getconf CLK_TCK)" '{ sub(/.*\) /, ""); print ($12 + $13) * 1000 / hz }' "/proc/$1/stat" 2>/dev/null || echo -
}

# One start: prints "visible_ms cpu_ms_at_visible private_kb working_set_kb"
# ("-" for what could not be read). The wall-clock time depends on what else
# the machine runs; the CPU time the program has used when its window shows
# hardly does (read within 20 ms of the probe seeing the window).
measure() {
  local program=$1 name out pid= private=- cpu=-
  name=$(basename "$program")
  out=$(mktemp)
  "$ORV_WINE" "$bin/startprobe.exe" "Z:${program//\//\\}" 10 >"$out" 2>/dev/null </dev/null &
  local probe=$!
  # The process is looked for while the window is not shown yet, so that its
  # CPU time is read as soon as it is.
  while :; do
    [[ -n $pid ]] || pid=$(unix_pid "$name") || pid=
    if grep -q '^visible_ms' "$out" 2>/dev/null; then
      [[ -n $pid ]] || pid=$(unix_pid "$name") || pid=
      [[ -n $pid ]] && cpu=$(cpu_ms "$pid")
      break
    fi
    kill -0 "$probe" 2>/dev/null || break
    sleep 0.01
  done
  while ! grep -q '^sample' "$out" 2>/dev/null; do
    kill -0 "$probe" 2>/dev/null || break
    sleep 0.05
  done
  if [[ -n $pid ]]; then
    private=$(awk '/^Private_(Clean|Dirty):/ { kb += $2; n++ } END { print n ? kb : "-" }' "/proc/$pid/smaps_rollup" 2>/dev/null || echo -)
  fi
  wait "$probe" || true
  # The probe writes Windows line ends.
  sed -i 's/\r$//' "$out"
  local visible wss
  visible=$(awk '$1 == "visible_ms" { print $2 }' "$out")
  wss=$(awk '$1 == "working_set_kb" { print $2 }' "$out")
  echo "${visible:--} $cpu $private ${wss:--}"
  rm -f "$out"
}

# One traced start: the first time each of our files and libraries is opened,
# in milliseconds from the start, and the visible bar.
if [[ -n $timeline ]]; then
  program=$work/icons$timeline/ov3.exe
  [[ $timeline == empty ]] && program=$work/empty/emptywindow.exe
  measure "$program" >/dev/null
  trace=$work/trace.txt
  out=$(WINEDEBUG=+timestamp,+pid,+loaddll,+file "$ORV_WINE" "$bin/startprobe.exe" "Z:${program//\//\\}" 3 2>"$trace" </dev/null | tr -d '\r')
  start=$(awk '$1 == "start_tick" { print $2 }' <<<"$out")
  visible=$(awk '$1 == "visible_tick" { print $2 }' <<<"$out")
  # Lines read "seconds.milliseconds:pid:tid:trace:channel:..."; the program's
  # process is the one that loads the program.
  pid=$(grep -m1 "loaddll.*$(basename "$program")" "$trace" | cut -d: -f2)
  {
    echo "ms from the start (visible: $((visible - start)))"
    grep "^[0-9.]*:$pid:" "$trace" | grep -E 'Loaded L|NtCreateFile' |
      grep -ioE '^[0-9.]+|(icons[0-9]+|empty)\\\\[^"]*|\\\\[a-z0-9_]+\.(dll|drv)' |
      awk -v start="$start" '/^[0-9.]+$/ { t = int($1 * 1000 + 0.5) - start; next }
                             !seen[$0]++ { printf "%6d  %s\n", t, $0 }'
  } | tee "$work/timeline.txt"
  exit 0
fi

programs=("$work/empty/emptywindow.exe")
for n in "${counts[@]}"; do programs+=("$work/icons$n/ov3.exe"); done
# A first start of each writes its settings and icon cache; it is not counted.
for p in "${programs[@]}"; do measure "$p" >/dev/null; done

declare -A results
for ((r = 1; r <= rounds; r++)); do
  for p in "${programs[@]}"; do
    results[$p]+="$(measure "$p")"$'\n'
  done
  echo "round $r of $rounds done" >&2
done

# median, lowest and highest of one column ("-" left out)
stats() {
  grep -E '^[0-9.]+$' | sort -n | awk '{ v[NR] = $1 } END { if (!NR) { print "-"; exit }
    m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.1f (%.1f-%.1f)", m, v[1], v[NR] }'
}

report=$work/results.txt
{
  printf '%-18s %-24s %-24s %-22s %-22s\n' "program" "visible ms (wall)" "CPU ms at visible" "private MB" "working set MB"
  for p in "${programs[@]}"; do
    label=empty
    [[ $p == */icons*/ov3.exe ]] && label="ov3, $(basename "$(dirname "$p")" | sed 's/icons//') icons"
    rows=${results[$p]}
    printf '%-18s %-24s %-24s %-22s %-22s\n' "$label" \
      "$(awk 'NF { print $1 }' <<<"$rows" | stats)" \
      "$(awk 'NF { print $2 }' <<<"$rows" | stats)" \
      "$(awk 'NF && $3 != "-" { print $3 / 1024 }' <<<"$rows" | stats)" \
      "$(awk 'NF && $4 != "-" { print $4 / 1024 }' <<<"$rows" | stats)"
  done
} | tee "$report"
