// The chart information panel's computations for one chart (what opening the planetary hours view
// or printing the panel costs): the two hours tables, the risings and settings of ten bodies, the
// lunar day and the element-cross indices. No speed goal is set.
#include <benchmark/benchmark.h>

#include "astro/chart/chart.h"
#include "astro/chart/chart_context.h"
#include "foundation/config/configuration.h"
#include "platform/core/recording_dc.h"
#include "views/core/chart_info_panel.h"

namespace {

Chart Moscow() {
  Chart c;
  c.definition.SetKind(kChartNatal);
  Source& s = c.definition.sources[0];
  (void)s.moment.date.SetDate(13, 5, 1975, 'A');
  (void)s.moment.time.SetTime(14, 30, 0);
  (void)s.zone.SetTime(3, 0, '+');
  (void)s.place.SetPlace(55, 45, 'N', 37, 37, 'E', "", "");
  return c;
}

void BM_PanelComputations(benchmark::State& state) {
  const Configuration config;
  const ChartContext ctx(config);
  const Chart chart = Moscow();
  for (auto _ : state) {
    ChartInfoPanel panel;
    panel.SetChart(&chart);
    panel.Compute(ctx);
    benchmark::DoNotOptimize(panel.status);
  }
}
BENCHMARK(BM_PanelComputations)->Unit(benchmark::kMillisecond);

void BM_PlanetaryHoursOnly(benchmark::State& state) {
  const Configuration config;
  const ChartContext ctx(config);
  const Chart chart = Moscow();
  for (auto _ : state) {
    ChartInfoPanel panel;
    panel.SetChart(&chart);
    panel.ComputePlanetaryHours(ctx);
    benchmark::DoNotOptimize(panel.status);
  }
}
BENCHMARK(BM_PlanetaryHoursOnly)->Unit(benchmark::kMillisecond);

void BM_RisingsAndSettings(benchmark::State& state) {
  const Configuration config;
  const ChartContext ctx(config);
  const Chart chart = Moscow();
  for (auto _ : state) {
    ChartInfoPanel panel;
    panel.SetChart(&chart);
    panel.ComputeRiseSetTexts(ctx);
    benchmark::DoNotOptimize(panel.riseSet);
  }
}
BENCHMARK(BM_RisingsAndSettings)->Unit(benchmark::kMillisecond);

void BM_LunarDayAndKarmic(benchmark::State& state) {
  const Configuration config;
  const ChartContext ctx(config);
  const Chart chart = Moscow();
  for (auto _ : state) {
    ChartInfoPanel panel;
    panel.SetChart(&chart);
    panel.ComputeDayValues(ctx);
    benchmark::DoNotOptimize(panel.lunarDay);
  }
}
BENCHMARK(BM_LunarDayAndKarmic)->Unit(benchmark::kMillisecond);

void BM_DrawPanelPage(benchmark::State& state) {
  const Configuration config;
  const ChartContext ctx(config);
  const Chart chart = Moscow();
  for (auto _ : state) {
    platform::RecordingDc dc(96, true);
    ChartInfoPanel panel;
    panel.DrawPage(dc, ctx, config, chart, kPanelLayoutUpper);
    benchmark::DoNotOptimize(dc.Calls().size());
  }
}
BENCHMARK(BM_DrawPanelPage)->Unit(benchmark::kMillisecond);

}  // namespace
