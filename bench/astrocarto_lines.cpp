// The planetary lines of a chart at the finest density (12 lines of 18050 samples, each with the
// horizon latitude and the four angles: one evaluation per sample) and their crossings; and the
// lines of all 28 chart bodies and the two nodes shown (30 lines; goals 50 ms, crossings 100 ms).
#include <benchmark/benchmark.h>

#include "astro/chart/chart.h"
#include "astro/chart/chart_calculate.h"
#include "astrocarto/core/ac_lines.h"
#include "bench_support.h"
#include "foundation/config/configuration.h"

namespace {

Chart CastMoscow() {
  (void)bench::Tables();
  Chart chart = bench::MoscowChart(1, 1, 2000, 12, 0);
  (void)ChartCalculate(ChartContext::FromCurrentSettings(), chart, 0);
  return chart;
}

// Sun..Pluto and the nodes at 50 samples per degree; argument: 0 ecliptic lines, 1 with the
// bodies' latitudes.
void BM_LinesCalculate(benchmark::State& state) {
  const Chart chart = CastMoscow();
  const Configuration config;
  ACLines lines;
  lines.Init(1, true, 50, config);
  platform::NullProgress progress;
  for (auto _ : state) {
    const bool done = lines.Calculate(chart, state.range(0) == 1, 0, progress);
    benchmark::DoNotOptimize(done);
  }
  state.SetItemsProcessed(state.iterations() * lines.LineCount() * lines.SampleCount());
}
BENCHMARK(BM_LinesCalculate)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Every crossing of the 12 lines of one chart; argument: the band mode.
void BM_FindCrossings(benchmark::State& state) {
  const Chart chart = CastMoscow();
  const Configuration config;
  ACLines lines;
  lines.Init(1, true, 50, config);
  platform::NullProgress progress;
  (void)lines.Calculate(chart, false, 0, progress);
  AstroCartPage settings;
  settings.crossingLatitudeLimit = 90;
  settings.crossingBand = static_cast<int>(state.range(0));
  for (auto _ : state) {
    lines.FindCrossings(ACLines::kFirstChart, settings);
    benchmark::DoNotOptimize(lines.CrossingCount());
  }
}
BENCHMARK(BM_FindCrossings)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A configuration showing every body 0..29 on the chart display.
Configuration EveryBodyShown() {
  Configuration config;
  for (int i = 0; i < 30; ++i) {
    const cfg::ObjectFlags flags = config.GetObjectFlags(i);
    (void)config.SetObjectFlags(i, true, flags.aspect1, flags.aspect2, flags.orbGroup);
  }
  return config;
}

// The 30 lines (the bodies the display shows and the nodes) at 50 samples per degree.
void BM_ThirtyLines(benchmark::State& state) {
  const Chart chart = CastMoscow();
  ACLines lines;
  lines.Init(2, true, 50, EveryBodyShown());
  platform::NullProgress progress;
  for (auto _ : state) benchmark::DoNotOptimize(lines.Calculate(chart, false, 0, progress));
  state.counters["lines"] = lines.LinesPerChart();
}
BENCHMARK(BM_ThirtyLines)->Unit(benchmark::kMillisecond);

// Every crossing of those 30 lines.
void BM_ThirtyLinesCrossings(benchmark::State& state) {
  const Chart chart = CastMoscow();
  ACLines lines;
  lines.Init(2, true, 50, EveryBodyShown());
  platform::NullProgress progress;
  (void)lines.Calculate(chart, false, 0, progress);
  AstroCartPage settings;
  settings.crossingLatitudeLimit = 90;
  for (auto _ : state) {
    lines.FindCrossings(ACLines::kFirstChart, settings);
    benchmark::DoNotOptimize(lines.CrossingCount());
  }
  state.counters["crossings"] = lines.CrossingCount();
}
BENCHMARK(BM_ThirtyLinesCrossings)->Unit(benchmark::kMillisecond);

}  // namespace
