// The chart information panel's computations for one chart (what opening the planetary hours view
// or printing the panel costs): the two hours tables, the risings and settings of ten bodies, the
// lunar day and the element-cross indices; and one rising or setting alone.
//
// Goal: a panel in 1 ms or less within the years of the ephemeris tables, and outside them the
// same number of positions per event (the positions themselves cost what the theories cost
// there). Each benchmark runs for a chart inside the tables' years (Moscow, 1975) and one outside
// them (Moscow, 1550), and reports the positions computed per rising or setting.
#include <benchmark/benchmark.h>

#include "astro/chart/chart.h"
#include "astro/chart/chart_context.h"
#include "astro/chart/chart_definition.h"
#include "astro/chart/rise_set.h"
#include "bench_support.h"
#include "foundation/config/configuration.h"
#include "platform/core/recording_dc.h"
#include "views/core/chart_info_panel.h"

namespace {

// A chart born in Moscow in the year of the benchmark's argument, the default configuration and
// the program's ephemeris with its tables.
struct PanelFixture {
  explicit PanelFixture(int year) : chart(bench::MoscowChart(13, 5, year, 14, 30)) {}
  const bool tablesLoaded = (bench::Tables(), true);  // before the context takes the ephemeris
  const Configuration config;
  const ChartContext ctx{config};
  const Chart chart;
};

const char* Years(int year) { return year < 1600 ? "outside the tables" : "inside the tables"; }

// Each iteration sets up a panel for the chart and runs `step` on it.
template <typename Step>
void EveryIteration(benchmark::State& state, Step step) {
  const PanelFixture f(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    ChartInfoPanel panel;
    panel.SetChart(&f.chart);
    step(panel, f.ctx);
  }
  state.SetLabel(Years(static_cast<int>(state.range(0))));
}

void BM_PanelComputations(benchmark::State& state) {
  EveryIteration(state, [](ChartInfoPanel& panel, const ChartContext& ctx) {
    panel.Compute(ctx);
    benchmark::DoNotOptimize(panel.status);
  });
}
BENCHMARK(BM_PanelComputations)->Arg(1975)->Arg(1550)->Unit(benchmark::kMillisecond);

// One rising or setting of each of the ten bodies of the panel, before and after the chart's
// moment: the time and the positions of one event.
void BM_RiseSetEvent(benchmark::State& state) {
  const PanelFixture f(static_cast<int>(state.range(0)));
  const Source& source = ComputingSource(f.chart.definition);
  const double now = UniversalJulianDay(source);
  long long events = 0, positions = 0;
  for (auto _ : state) {
    for (int body = 0; body < ChartInfoPanel::kBodies; ++body)
      for (int selector = 0; selector < 2; ++selector)
        for (const double span : {-2.0, 2.0}) {
          const AnglePassage p =
              FindAnglePassage(f.ctx, body, selector, kAbsent, source.place, now, span);
          benchmark::DoNotOptimize(p.ut);
          positions += p.positions;
          ++events;
        }
  }
  state.SetItemsProcessed(events);
  state.counters["positions_per_event"] =
      benchmark::Counter(static_cast<double>(positions) / static_cast<double>(events));
  state.counters["us_per_event"] = benchmark::Counter(
      static_cast<double>(events), benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
      benchmark::Counter::kIs1000);
  state.SetLabel(Years(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_RiseSetEvent)->Arg(1975)->Arg(1550)->Unit(benchmark::kMicrosecond);

void BM_PlanetaryHoursOnly(benchmark::State& state) {
  EveryIteration(state, [](ChartInfoPanel& panel, const ChartContext& ctx) {
    panel.ComputePlanetaryHours(ctx);
    benchmark::DoNotOptimize(panel.status);
  });
}
BENCHMARK(BM_PlanetaryHoursOnly)->Arg(1975)->Arg(1550)->Unit(benchmark::kMillisecond);

void BM_RisingsAndSettings(benchmark::State& state) {
  EveryIteration(state, [](ChartInfoPanel& panel, const ChartContext& ctx) {
    panel.ComputeRiseSetTexts(ctx);
    benchmark::DoNotOptimize(panel.riseSet);
  });
}
BENCHMARK(BM_RisingsAndSettings)->Arg(1975)->Arg(1550)->Unit(benchmark::kMillisecond);

void BM_LunarDayAndKarmic(benchmark::State& state) {
  EveryIteration(state, [](ChartInfoPanel& panel, const ChartContext& ctx) {
    panel.ComputeDayValues(ctx);
    benchmark::DoNotOptimize(panel.lunarDay);
  });
}
BENCHMARK(BM_LunarDayAndKarmic)->Arg(1975)->Arg(1550)->Unit(benchmark::kMillisecond);

void BM_DrawPanelPage(benchmark::State& state) {
  const PanelFixture f(1975);
  for (auto _ : state) {
    platform::RecordingDc dc(96, true);
    ChartInfoPanel panel;
    panel.DrawPage(dc, f.ctx, f.config, f.chart, kPanelLayoutUpper);
    benchmark::DoNotOptimize(dc.Calls().size());
  }
}
BENCHMARK(BM_DrawPanelPage)->Unit(benchmark::kMillisecond);

}  // namespace
