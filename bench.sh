#!/usr/bin/env bash
# Builds the benchmarks (an optimised tree of their own, build/bench, nothing but the benchmark
# programs), runs every one of them and writes docs/performance.md: each speed goal of the
# program against its measured figure, then every benchmark's figure. A missed goal is reported,
# never a failure; the script fails only when the benchmarks cannot be built or run.
#   BENCH_MIN_TIME     seconds each repetition of a benchmark runs at least (default 0.05)
#   BENCH_REPETITIONS  repetitions of every benchmark, reported as their mean and spread (default 3)
#   BENCH_JOBS         parallel compile jobs (default: the cores)
set -euo pipefail
cd "$(dirname "$0")"
tree=build/bench
out=$tree/results
min_time=${BENCH_MIN_TIME:-0.05}
repetitions=${BENCH_REPETITIONS:-3}
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
  if ! "$program" --benchmark_min_time="$min_time" --benchmark_repetitions="$repetitions" \
    --benchmark_report_aggregates_only=true --benchmark_out="$out/$name.json" \
    --benchmark_out_format=json >"$out/$name.txt" 2>"$out/$name.log"; then
    failed+=("$name")
  fi
done

python3 - "$out" docs/performance.md "$(nproc)" "$min_time" "$repetitions" <<'EOF'
import glob, json, math, os, sys

results_dir, report, cores, min_time, repetitions = sys.argv[1:6]

# The program's own speed goals, one row each: the goal, what it measures, and its measures, each
# (program, benchmark, what is read, limit). What is read: "cpu" the CPU time of the benchmark's
# thread, "wall" the wall time (a run on several workers, or a process of its own, where the user
# waits for the wall clock), or "counter:NAME" a counter. Limits of times in milliseconds.
GOALS = [
    ("chart inside the tables", "a whole chart with houses, random dates 1800-2200",
     [("astro_chart", "BM_ChartInsideTablesRandomDates", "cpu", 0.010)]),
    ("chart outside the tables", "a whole chart with houses, dates 1000-1600 and 2400-3000",
     [("astro_chart", "BM_ChartOutsideTablesRandomDates", "cpu", 0.030)]),
    ("information panel inside", "the chart information panel, a date inside the tables",
     [("astro_ephemeris", "BM_InfoPanelInsideTables", "cpu", 1.0)]),
    ("information panel outside", "the chart information panel, a date outside the tables",
     [("astro_ephemeris", "BM_InfoPanelOutsideTables", "cpu", 1.0)]),
    ("transit positions per event",
     "positions computed per event found: toward natal points (25), two moving bodies (40)",
     [("forecast_transits", "BM_NatalTransitsOfAYear", "counter:positions_per_event", 25),
      ("forecast_transits", "BM_MovingPairTransitsOfAYear", "counter:positions_per_event", 40)]),
    ("query of 100,000 records", "five conditions over the current archive",
     [("conditions_query", "QueryCurrentArchive/100000", "cpu", 1000.0)]),
    ("rectification 2 days x 20 events on 2 workers", "the score matrix, every method on",
     [("rectification_matrix", "BM_TwoDaysTwentyEventsTwoWorkers", "wall", 1000.0)]),
    ("start-up to the first paint", "the program as a process of its own, a data folder seeded before",
     [("shell_startup", "BM_ProcessStartToFirstPaint", "wall", 100.0)]),
    ("first start of a new data folder", "the same, the folder created and seeded from the shipped data",
     [("shell_startup", "BM_ProcessFirstStartOfANewFolder", "wall", 1000.0)]),
    ("exit with every view open", "one chart and every view its commands open",
     [("shell_exit", "BM_ExitWithEveryViewOpen", "cpu", 300.0)]),
]

TO_MS = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1000.0}
SUFFIXES = ("/iterations:", "/manual_time", "/real_time", "/repeats:")


def base_name(name):
    for suffix in SUFFIXES:
        name = name.split(suffix)[0]
    return name


# (program, benchmark) -> {"cpu": (mean, spread), "wall": (mean, spread), "counter:X": ...}
figures = {}
for path in sorted(glob.glob(os.path.join(results_dir, "bench_*.json"))):
    program = os.path.basename(path)[len("bench_"):-len(".json")]
    try:
        with open(path) as f:
            data = json.load(f)
    except (OSError, ValueError):
        continue
    for b in data.get("benchmarks", []):
        if "error_occurred" in b:
            continue
        aggregate = b.get("aggregate_name", "mean" if b.get("run_type") == "iteration" else None)
        if aggregate not in ("mean", "stddev"):
            continue
        key = (program, base_name(b.get("run_name", b["name"])))
        scale = TO_MS.get(b.get("time_unit", "ns"), 1e-6)
        values = {"cpu": b["cpu_time"] * scale, "wall": b["real_time"] * scale}
        for counter, value in b.items():
            if counter not in ("name", "run_name", "run_type", "aggregate_name", "iterations",
                               "real_time", "cpu_time", "time_unit", "family_index",
                               "per_family_instance_index", "repetitions", "repetition_index",
                               "threads", "aggregate_unit") and isinstance(value, (int, float)):
                values["counter:" + counter] = value
        entry = figures.setdefault(key, {})
        for what, value in values.items():
            mean, spread = entry.get(what, (math.nan, 0.0))
            entry[what] = (value, spread) if aggregate == "mean" else (mean, value)


def show_time(ms):
    if math.isnan(ms):
        return "-"
    if ms >= 1000:
        return f"{ms / 1000:.3g} s"
    if ms < 1:
        return f"{ms * 1000:.3g} µs"
    return f"{ms:.3g} ms"


def show(what, value):
    return f"{value:.3g}" if what.startswith("counter:") else show_time(value)


lines = [
    "# Performance",
    "",
    "Written by `bench.sh` (do not edit by hand): every benchmark under bench/ built optimised, run",
    f"{repetitions} times for at least {min_time} s each on a machine of {cores} cores; a figure is",
    "the mean of the repetitions ± their standard deviation. The goals are the program's own, set",
    "for a 2-core machine. Times are the CPU time of the benchmark's thread, but where the user",
    "waits for the wall clock (a run on two workers, a process of its own): there the wall time.",
    "",
    "| Goal | What | Limit | Measured | Met | Benchmark |",
    "|---|---|---|---|---|---|",
]
met = 0
for goal, what, measures in GOALS:
    limits, measured, marks, where = [], [], [], []
    row_met = True
    for program, name, read, limit in measures:
        value = figures.get((program, name), {}).get(read)
        limits.append(show(read, limit))
        where.append(f"{program}/{name}" + (f" ({read[len('counter:'):]})" if read.startswith("counter:") else ""))
        if value is None or math.isnan(value[0]):
            measured.append("not measured")
            row_met = False
            continue
        measured.append(f"{show(read, value[0])} ± {show(read, value[1])}")
        row_met = row_met and value[0] <= limit
    met += row_met
    mark = "yes" if row_met else "**no**"
    lines.append(f"| {goal} | {what} | {'; '.join(limits)} | {'; '.join(measured)} | {mark} | "
                 f"{', '.join(where)} |")
lines += ["", "## Every benchmark", "",
          "| Program | Benchmark | CPU time | Wall time |", "|---|---|---|---|"]
for (program, name), values in sorted(figures.items()):
    cpu, wall = values.get("cpu", (math.nan, 0)), values.get("wall", (math.nan, 0))
    lines.append(f"| {program} | {name} | {show_time(cpu[0])} ± {show_time(cpu[1])} | "
                 f"{show_time(wall[0])} ± {show_time(wall[1])} |")
lines += ["", f"goals met {met} of {len(GOALS)}"]
with open(report, "w") as f:
    f.write("\n".join(lines) + "\n")
print(lines[-1])
EOF

if ((${#failed[@]} > 0)); then
  echo "bench.sh: these benchmark programs failed (see $out/<name>.log): ${failed[*]}" >&2
  exit 1
fi
