#!/usr/bin/env python3
"""Runs the XML and text conversion benchmarks side by side and prints each of
our figures against its yardsticks; then the picture comparisons (PNG against
libpng and libspng, resampling against libvips), which time both sides in turn
within each iteration.

Every round runs each benchmark once, in a new random order (Google Benchmark's
random interleaving), so the two sides of a ratio meet the same machine load.
A ratio is taken per round; the table shows the median over the rounds and the
middle half of them (first to third quartile). Throughput is CPU time. The
picture ratios are "times faster than the other" (above 1: ours is faster).

Usage: bench/ratios.py [ROUNDS] [BENCH]   (default 21, build/bench/bin/orv_bench)
"""
import json
import statistics
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
rounds = int(sys.argv[1]) if len(sys.argv) > 1 else 21
bench = sys.argv[2] if len(sys.argv) > 2 else str(ROOT / "build/bench/bin/orv_bench")

PAIRS = [
    ("XmlRead_Orvanel", "XmlRead_Pugixml"),
    ("XmlRead_Orvanel", "XmlRead_Tinyxml2"),
    ("XmlWrite_Orvanel", "XmlWrite_Pugixml"),
    ("XmlWrite_Orvanel", "XmlWrite_Tinyxml2"),
    ("Utf8ToUtf16_Orvanel", "Utf8ToUtf16_Iconv"),
    ("Utf8ToUtf16_Orvanel", "Utf8ToUtf16_IconvNewString"),
    ("Utf16ToUtf8_Orvanel", "Utf16ToUtf8_Iconv"),
    ("Utf16ToUtf8_Orvanel", "Utf16ToUtf8_IconvNewString"),
]


def repetitions(pattern, min_time, *options):
    """Each repetition of the benchmarks the pattern picks, by name (without BM_ and /real_time)."""
    out = subprocess.run(
        [bench, f"--benchmark_filter={pattern}", f"--benchmark_repetitions={rounds}",
         f"--benchmark_min_time={min_time}", "--benchmark_format=json", *options],
        check=True, capture_output=True, text=True).stdout
    runs = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("run_type") == "iteration":
            name = b["run_name"].removeprefix("BM_").removesuffix("/real_time")
            runs.setdefault(name, {})[b["repetition_index"]] = b
    return runs


runs = repetitions("BM_(Xml|Utf8ToUtf16|Utf16ToUtf8|ContentsStartPath)", 0.1,
                   "--benchmark_enable_random_interleaving=true")


def quartiles(values):
    q = statistics.quantiles(values, n=4, method="inclusive")
    return q[0], statistics.median(values), q[2]


def mbps(run):
    return run["bytes_per_second"] / 1e6


print(f"{rounds} rounds")
for name in sorted(runs):
    lo, mid, hi = quartiles([mbps(r) for r in runs[name].values()])
    print(f"  {name:32} {mid:8.0f} MB/s  (quartiles {lo:.0f}-{hi:.0f})")
for ours, theirs in PAIRS:
    if ours not in runs or theirs not in runs:
        continue
    common = sorted(set(runs[ours]) & set(runs[theirs]))
    ratios = [mbps(runs[ours][k]) / mbps(runs[theirs][k]) for k in common]
    lo, mid, hi = quartiles(ratios)
    print(f"  {ours} / {theirs}: {mid:.2f}x  (quartiles {lo:.2f}-{hi:.2f}, range {min(ratios):.2f}-{max(ratios):.2f})")
for name in ("ContentsStartPath", "ContentsStartPathWriting"):
    if name in runs:
        real = [r["real_time"] for r in runs[name].values()]
        cpu = [r["cpu_time"] for r in runs[name].values()]
        print(f"  {name}: {statistics.median(real):.1f} ms real (quartiles {quartiles(real)[0]:.1f}-"
              f"{quartiles(real)[2]:.1f}), {statistics.median(cpu):.1f} ms CPU")

# The picture comparisons: each repetition times ours and the other in turn
# within every iteration and reports the other's time over ours.
pictures = repetitions("^(PngRatio/|BM_RatioVips)", 0.2)
for name, reps in pictures.items():
    reps = list(reps.values())
    ratios = [r.get("other_over_ours", r.get("vips_over_ours")) for r in reps]
    lo, mid, hi = quartiles(ratios)
    line = f"  {name}: {mid:.2f}x  (quartiles {lo:.2f}-{hi:.2f}, range {min(ratios):.2f}-{max(ratios):.2f})"
    if "ours_bytes" in reps[0]:
        line += f", {reps[0]['ours_bytes']:.0f} bytes against {reps[0]['other_bytes']:.0f}"
    print(line)
