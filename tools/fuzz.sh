#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan, UBSan) and runs one or all of
# them for a while. Findings are saved in build/fuzz/findings/.
# Usage: fuzz.sh [TARGET] [SECONDS]   (TARGET e.g. xml_fuzz; default: all, 60 s each)
# A target passes libFuzzer options of its own in a line "// fuzz.sh: OPTIONS"
# (for example -max_len=262144 where its bounds lie beyond small inputs).
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$ROOT"
target=${1:-all} seconds=${2:-60}

"$ROOT/tools/setup.sh"
[[ -f build/fuzz/build.ninja ]] || cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -- --quiet

mkdir -p build/fuzz/findings
targets=()
if [[ $target == all ]]; then
  for f in fuzz/*_fuzz.cpp; do targets+=("$(basename "${f%.cpp}")"); done
else
  targets=("$target")
fi
for t in "${targets[@]}"; do
  corpus=build/fuzz/corpus/$t
  mkdir -p "$corpus"
  seeds=()
  [[ -d fuzz/seeds/$t ]] && seeds=("fuzz/seeds/$t")
  options=()
  read -ra options <<<"$(sed -n 's|^// fuzz.sh: ||p' "fuzz/$t.cpp" | head -n 1)"
  echo "== $t for ${seconds}s ${options[*]}"
  build/fuzz/bin/"$t" -max_total_time="$seconds" -print_final_stats=1 "${options[@]}" \
    -artifact_prefix=build/fuzz/findings/"$t"- "$corpus" "${seeds[@]}" 2>&1 | tail -n 12
done
