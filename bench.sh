#!/usr/bin/env bash
# Builds the benchmarks (an optimised tree of their own, build/bench, nothing but the benchmark
# programs), runs every one of them and writes docs/performance.md: each speed goal of the
# program against its measured figure, then every benchmark's figure. A missed goal is reported,
# never a failure; the script fails only when the benchmarks cannot be built or run.
#   BENCH_MIN_TIME  seconds each benchmark runs at least (default 0.05: a report, not a study)
#   BENCH_JOBS      parallel compile jobs (default: the cores)
set -euo pipefail
cd "$(dirname "$0")"
tree=build/bench
out=$tree/results
min_time=${BENCH_MIN_TIME:-0.05}
jobs=${BENCH_JOBS:-$(nproc)}

cmake -S . -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELM_WERROR=ON -DVELM_SANITIZE=OFF \
  -DVELM_BUILD_TESTS=OFF -DVELM_BUILD_BENCH=ON >/dev/null
cmake --build "$tree" -j "$jobs" --target benchmarks

export QT_QPA_PLATFORM=offscreen
rm -rf "$out"
mkdir -p "$out"
failed=()
for program in "$tree"/bench/bench_*; do
  name=$(basename "$program")
  echo "bench.sh: $name"
  # The programs' own messages go to a log beside the figures. A program that fails is named
  # at the end; the others still run.
  if ! "$program" --benchmark_min_time="$min_time" --benchmark_out="$out/$name.json" \
    --benchmark_out_format=json >"$out/$name.txt" 2>"$out/$name.log"; then
    failed+=("$name")
  fi
done

python3 - "$out" docs/performance.md "$(nproc)" "$min_time" <<'EOF'
import glob, json, os, sys

results_dir, report, cores, min_time = sys.argv[1:5]

# Every goal: what it is, its limit in milliseconds, and the benchmarks (program, name) whose
# slowest figure is measured against it.
GOALS = [
    ("Transit run, typical (4 planets to the natal planets, a year)", 1000,
     [("forecast_transits", "BM_TransitRunTypical")]),
    ("Transit run, the most events a list holds", 10000,
     [("forecast_transits", "BM_TransitRunThousandEvents")]),
    ("Lunar transits for a month, everything on", 500,
     [("forecast_lunar", "BM_LunarMonthOwnPoints"), ("forecast_lunar", "BM_LunarMonthNatalTargets")]),
    ("14,000 life-point events", 100, [("forecast_lunar", "BM_LifePointEvents")]),
    ("Tremin pass 1, 20 s step over 1.4 days", 2000,
     [("rectification_tremin", "BM_FirstPassLongest20s")]),
    ("Tremin pass 2, 20 events (after pass 1 at 20 s over 1.4 days)", 10000,
     [("rectification_tremin", "BM_SecondPassLongest20s20Events")]),
    ("Rectification matrix, 2 days x 20 events", 1000,
     [("rectification_matrix", "BM_TwoDaysTwentyEvents")]),
    ("Rectification matrix, 2 hours x 10 events", 100,
     [("rectification_matrix", "BM_TwoHoursTenEvents")]),
    ("A 6-vertex configuration, per chart (worst of the hexagram and wreath cases)", 20,
     [("conditions_conf", n) for n in ("HexagramTypical", "HexagramTypicalSystemOrbs",
                                       "HexagramSpreadFound", "HexagramSpreadFails",
                                       "WreathSpreadFails")]),
    ("A five-condition query over 10,000 records", 1000,
     [("conditions_query", "QueryCurrentArchive/10000")]),
    ("Synastry mode 4 over 1,000 charts", 10000,
     [("conditions_synastry", "SynastryEveryPair/1000")]),
    ("Statistics over 100,000 records", 3000,
     [("conditions_statistics", "StatisticsSignAndHouse/100000")]),
    ("Aspect graph: a year, 24 pairs, 1,000 samples", 500,
     [("views_aspect_graph", "BM_AspGraphYear24Pairs3Charts")]),
    ("30 planetary lines", 50, [("astrocarto_lines", "BM_ThirtyLines")]),
    ("Crossings of 30 planetary lines", 100, [("astrocarto_lines", "BM_ThirtyLinesCrossings")]),
    ("Text selection over 5,000 texts", 500, [("conditions_texts", "SelectTextsOfABase/5000")]),
    ("Start-up to the main window with every loader", 1000,
     [("shell_startup", "BM_StartToMainWindow")]),
]

TO_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1000.0}
figures = {}  # (program, name) -> milliseconds
for path in sorted(glob.glob(os.path.join(results_dir, "bench_*.json"))):
    program = os.path.basename(path)[len("bench_"):-len(".json")]
    try:
        with open(path) as f:
            data = json.load(f)
    except (OSError, ValueError):
        continue
    for b in data.get("benchmarks", []):
        if b.get("run_type", "iteration") != "iteration" or "error_occurred" in b:
            continue
        name = b["name"].split("/iterations:")[0]
        figures[(program, name)] = b["real_time"] * TO_MS.get(b.get("time_unit", "ns"), 1e-6)


def show(ms):
    return f"{ms / 1000:.2f} s" if ms >= 1000 else f"{ms:.3g} ms"


lines = [
    "# Performance",
    "",
    "Written by `bench.sh` (do not edit by hand): every benchmark under bench/ built optimised and",
    f"run for at least {min_time} s each on a machine of {cores} cores. The goals are those of a",
    "2-core machine; a figure is the slowest of the benchmarks named beside the goal.",
    "",
    "| Goal | Limit | Measured | Met | Benchmarks |",
    "|---|---|---|---|---|",
]
met = 0
for text, limit, names in GOALS:
    found = [figures[n] for n in names if n in figures]
    if len(found) == len(names):
        worst = max(found)
        ok = worst <= limit
        met += ok
        measured, mark = show(worst), "yes" if ok else "**no**"
    else:
        measured, mark = "not measured", "**no**"
    where = ", ".join(f"{p}/{n}" for p, n in names)
    lines.append(f"| {text} | {show(limit)} | {measured} | {mark} | {where} |")
lines += ["", "## Every benchmark", "", "| Program | Benchmark | Time |", "|---|---|---|"]
for (program, name), ms in sorted(figures.items()):
    lines.append(f"| {program} | {name} | {show(ms)} |")
lines += ["", f"goals met {met} of {len(GOALS)}"]
with open(report, "w") as f:
    f.write("\n".join(lines) + "\n")
print(lines[-1])
EOF

if ((${#failed[@]} > 0)); then
  echo "bench.sh: these benchmark programs failed (see $out/<name>.log): ${failed[*]}" >&2
  exit 1
fi
