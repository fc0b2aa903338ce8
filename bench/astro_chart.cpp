// ChartCalculate of a natal chart: bodies 0..29 with their speeds, Placidus cusps and points
// 30..33 (goal: 50 microseconds).
#include <benchmark/benchmark.h>

#include "astro/chart/chart.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_context.h"
#include "astro/houses/houses.h"
#include "bench_support.h"

namespace {

// Casts a Moscow natal chart with Placidus cusps per iteration by `calculate`, stepping through
// moments 0.37 day apart so that every body is sampled along its path.
template <typename Calculate>
void CastEveryIteration(benchmark::State& state, Calculate calculate) {
  (void)bench::Tables();
  Chart chart = bench::MoscowChart(1, 1, 2000, 12, 0);
  Source& birth = chart.definition.sources[0];
  chart.houseSystem = kHousePlacidus;
  double jd = 2451545.0;
  for (auto _ : state) {
    if (!birth.moment.SetMoment(jd).ok()) jd = 2451545.0;
    jd += 0.37;
    const Status st = calculate(chart);
    benchmark::DoNotOptimize(st);
    benchmark::DoNotOptimize(chart.points[0].longitude);
  }
}

void BM_ChartCalculateNatal(benchmark::State& state) {
  CastEveryIteration(state, [](Chart& chart) {
    return ChartCalculate(ChartContext::FromCurrentSettings(), chart, 0);
  });
}
BENCHMARK(BM_ChartCalculateNatal)->Unit(benchmark::kMicrosecond);

// The same with one context built beforehand, as a search that casts many charts does.
void BM_ChartCalculateNatalOneContext(benchmark::State& state) {
  (void)bench::Tables();
  const ChartContext ctx = ChartContext::FromCurrentSettings();
  CastEveryIteration(state, [&ctx](Chart& chart) { return ChartCalculate(ctx, chart, 0); });
}
BENCHMARK(BM_ChartCalculateNatalOneContext)->Unit(benchmark::kMicrosecond);

}  // namespace
