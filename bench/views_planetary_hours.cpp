// The chart information panel's computations for one chart (what opening the planetary hours view
// or printing the panel costs): the two hours tables, the risings and settings of ten bodies, the
// lunar day and the element-cross indices. No speed goal is set.
#include <benchmark/benchmark.h>

#include "astro/chart/chart.h"
#include "astro/chart/chart_context.h"
#include "bench_support.h"
#include "foundation/config/configuration.h"
#include "platform/core/recording_dc.h"
#include "views/core/chart_info_panel.h"

namespace {

// A chart born in Moscow and the default configuration; no tables are loaded, the theories serve.
struct PanelFixture {
  const Configuration config;
  const ChartContext ctx{config};
  const Chart chart = bench::MoscowChart(13, 5, 1975, 14, 30);
};

// Each iteration sets up a panel for the chart and runs `step` on it.
template <typename Step>
void EveryIteration(benchmark::State& state, Step step) {
  const PanelFixture f;
  for (auto _ : state) {
    ChartInfoPanel panel;
    panel.SetChart(&f.chart);
    step(panel, f.ctx);
  }
}

void BM_PanelComputations(benchmark::State& state) {
  EveryIteration(state, [](ChartInfoPanel& panel, const ChartContext& ctx) {
    panel.Compute(ctx);
    benchmark::DoNotOptimize(panel.status);
  });
}
BENCHMARK(BM_PanelComputations)->Unit(benchmark::kMillisecond);

void BM_PlanetaryHoursOnly(benchmark::State& state) {
  EveryIteration(state, [](ChartInfoPanel& panel, const ChartContext& ctx) {
    panel.ComputePlanetaryHours(ctx);
    benchmark::DoNotOptimize(panel.status);
  });
}
BENCHMARK(BM_PlanetaryHoursOnly)->Unit(benchmark::kMillisecond);

void BM_RisingsAndSettings(benchmark::State& state) {
  EveryIteration(state, [](ChartInfoPanel& panel, const ChartContext& ctx) {
    panel.ComputeRiseSetTexts(ctx);
    benchmark::DoNotOptimize(panel.riseSet);
  });
}
BENCHMARK(BM_RisingsAndSettings)->Unit(benchmark::kMillisecond);

void BM_LunarDayAndKarmic(benchmark::State& state) {
  EveryIteration(state, [](ChartInfoPanel& panel, const ChartContext& ctx) {
    panel.ComputeDayValues(ctx);
    benchmark::DoNotOptimize(panel.lunarDay);
  });
}
BENCHMARK(BM_LunarDayAndKarmic)->Unit(benchmark::kMillisecond);

void BM_DrawPanelPage(benchmark::State& state) {
  const PanelFixture f;
  for (auto _ : state) {
    platform::RecordingDc dc(96, true);
    ChartInfoPanel panel;
    panel.DrawPage(dc, f.ctx, f.config, f.chart, kPanelLayoutUpper);
    benchmark::DoNotOptimize(dc.Calls().size());
  }
}
BENCHMARK(BM_DrawPanelPage)->Unit(benchmark::kMillisecond);

}  // namespace
