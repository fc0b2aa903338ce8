// ChartCalculate of a natal chart: bodies 0..29 with their speeds, Placidus cusps and points
// 30..33 (goal: 50 microseconds).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

#include "astro/chart/chart.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_context.h"
#include "astro/houses/houses.h"

namespace {

void LoadTables() {
  static const bool loaded = [] {
    const std::filesystem::path file = std::filesystem::path(VELM_SOURCE_DIR) / "data" / "velm.str";
    if (const Status st = LoadEphemeris(file); !st.ok())
      std::fprintf(stderr, "%s: error %d; the theories serve\n", file.c_str(), st.ErrorCode());
    return true;
  }();
  (void)loaded;
}

void BM_ChartCalculateNatal(benchmark::State& state) {
  LoadTables();
  Chart chart;
  Source& birth = chart.definition.sources[0];
  if (!birth.place.SetPlace(55, 45, 'N', 37, 37, 'E', "", "").ok() ||
      !birth.zone.SetTime(3, 0, '+').ok()) {
    state.SkipWithError("bad place");
    return;
  }
  chart.houseSystem = kHousePlacidus;
  // Step through moments 0.37 day apart so that every body is sampled along its path.
  double jd = 2451545.0;
  for (auto _ : state) {
    if (!birth.moment.SetMoment(jd).ok()) jd = 2451545.0;
    jd += 0.37;
    const Status st = ChartCalculate(chart, 0);
    benchmark::DoNotOptimize(st);
    benchmark::DoNotOptimize(chart.points[0].longitude);
  }
}
BENCHMARK(BM_ChartCalculateNatal)->Unit(benchmark::kMicrosecond);

// The same with one context built beforehand, as a search that casts many charts does.
void BM_ChartCalculateNatalOneContext(benchmark::State& state) {
  LoadTables();
  const ChartContext ctx = ChartContext::FromCurrentSettings();
  Chart chart;
  Source& birth = chart.definition.sources[0];
  if (!birth.place.SetPlace(55, 45, 'N', 37, 37, 'E', "", "").ok() ||
      !birth.zone.SetTime(3, 0, '+').ok()) {
    state.SkipWithError("bad place");
    return;
  }
  chart.houseSystem = kHousePlacidus;
  double jd = 2451545.0;
  for (auto _ : state) {
    if (!birth.moment.SetMoment(jd).ok()) jd = 2451545.0;
    jd += 0.37;
    const Status st = ChartCalculate(ctx, chart, 0);
    benchmark::DoNotOptimize(st);
    benchmark::DoNotOptimize(chart.points[0].longitude);
  }
}
BENCHMARK(BM_ChartCalculateNatalOneContext)->Unit(benchmark::kMicrosecond);

// Taking the snapshot alone: the configuration and the aspect systems copied.
void BM_ChartContextSnapshot(benchmark::State& state) {
  for (auto _ : state) {
    const ChartContext ctx = ChartContext::FromCurrentSettings();
    benchmark::DoNotOptimize(&ctx);
  }
}
BENCHMARK(BM_ChartContextSnapshot)->Unit(benchmark::kMicrosecond);

}  // namespace
