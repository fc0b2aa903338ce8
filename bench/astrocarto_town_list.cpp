// The town list of one body's four angle lines over the whole shipped atlas (goal: under 0.5 s),
// and the list of the towns in a crossing's latitude band.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "astro/chart/chart.h"
#include "astro/chart/chart_calculate.h"
#include "astrocarto/core/ac_lines_list.h"
#include "bench_support.h"
#include "foundation/atlas/towns.h"

namespace {

const TOWNS& Atlas() {
  static const TOWNS towns = [] {
    TOWNS t;
    if (const Status st = t.Load(bench::DataFolder()); !st.ok())
      std::fprintf(stderr, "atlas: error %d\n", st.ErrorCode());
    return t;
  }();
  return towns;
}

// The Sun's ASC, IC, DSC and MC lines with an orb of a degree on each side.
void BM_TownListOfFourLines(benchmark::State& state) {
  (void)bench::Tables();
  Chart chart = bench::MoscowChart(13, 5, 1975, 14, 30);
  (void)ChartCalculate(ChartContext::FromCurrentSettings(), chart, 0);
  const TOWNS& towns = Atlas();
  ACLinesListPage settings;
  const LineMoment moment = ChartLineMoment(chart);
  const double sun = chart.points[0].longitude.Get();
  ACLinesList list;
  for (auto _ : state) {
    list.Reset(ACLinesList::Mode::kLines, static_cast<std::size_t>(towns.Count()) * 4);
    list.FillLines(towns, moment, 0, sun, settings);
    benchmark::DoNotOptimize(list.Count());
  }
  state.counters["towns"] = towns.Count();
  state.counters["listed"] = list.Count();
}
BENCHMARK(BM_TownListOfFourLines)->Unit(benchmark::kMillisecond);

// The towns of a band two degrees wide across Europe.
void BM_TownListOfACrossing(benchmark::State& state) {
  const TOWNS& towns = Atlas();
  Crossing band;
  band.latitude = 50 * 3600;
  band.upper = 51 * 3600;
  band.lower = 49 * 3600;
  ACLinesList list;
  for (auto _ : state) {
    list.Reset(ACLinesList::Mode::kCrossing, static_cast<std::size_t>(towns.Count()));
    list.FillCrossing(towns, band);
    benchmark::DoNotOptimize(list.Count());
  }
  state.counters["listed"] = list.Count();
}
BENCHMARK(BM_TownListOfACrossing)->Unit(benchmark::kMillisecond);

}  // namespace
