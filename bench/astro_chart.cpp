// ChartCalculate of a natal chart: bodies 0..29 with their speeds, Placidus cusps and points
// 30..33 (goal: 50 microseconds; on random dates 10 microseconds inside the tables' years, 30
// outside them).
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

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

// Moments of charts cast over and over by CastAtMoments.
constexpr double kJd1800 = 2378496.5, kJd2200 = 2524593.5;  // 1800-01-01 and 2200-01-01 0h
constexpr double kJd1000 = 2086307.5, kJd1600 = 2305447.5;  // 1000-01-01 and 1600-01-01 0h
constexpr double kJd2400 = 2597641.5, kJd3000 = 2816787.5;  // 2400-01-01 and 3000-01-01 0h
constexpr unsigned kSeed = 78;

// Casts a Moscow natal chart with Placidus cusps at each of `moments` in turn, by ChartCalculate
// with one context built beforehand.
void CastAtMoments(benchmark::State& state, const std::vector<double>& moments) {
  (void)bench::Tables();
  const ChartContext ctx = ChartContext::FromCurrentSettings();
  Chart chart = bench::MoscowChart(1, 1, 2000, 12, 0);
  Source& birth = chart.definition.sources[0];
  chart.houseSystem = kHousePlacidus;
  // The one-off starts of a session (the tables' segments decoded on first use, the minor bodies'
  // integration) are paid before the timing: the figure is a chart of a running session.
  for (const double jd : moments) {
    (void)birth.moment.SetMoment(jd);
    (void)ChartCalculate(ctx, chart, 0);
  }
  std::size_t next = 0;
  for (auto _ : state) {
    (void)birth.moment.SetMoment(moments[next]);
    next = (next + 1) % moments.size();
    const Status st = ChartCalculate(ctx, chart, 0);
    benchmark::DoNotOptimize(st);
    benchmark::DoNotOptimize(chart.points[0].longitude);
  }
}

// Charts at dates drawn uniformly from 1800-2200 (a fixed seed): each chart meets the tables'
// segments somewhere else, as the charts of an archive do.
void BM_ChartInsideTablesRandomDates(benchmark::State& state) {
  std::mt19937_64 random(kSeed);
  std::uniform_real_distribution<double> day(kJd1800, kJd2200);
  std::vector<double> moments(4096);
  for (double& jd : moments) jd = day(random);
  CastAtMoments(state, moments);
}
BENCHMARK(BM_ChartInsideTablesRandomDates)->Unit(benchmark::kMicrosecond);

// Charts outside the tables' years, 1000-1600 and 2400-3000 (a fixed seed), clustered as a
// session's are: 64 runs of 64 charts, the charts of a run within three years of a random date
// (a family, a rectification, a return or a transit search), the runs spread over both stretches.
void BM_ChartOutsideTablesRandomDates(benchmark::State& state) {
  std::mt19937_64 random(kSeed);
  std::uniform_real_distribution<double> centre(0.0, 1.0), offset(-1.5 * 365.25, 1.5 * 365.25);
  std::vector<double> moments;
  for (int run = 0; run < 64; ++run) {
    const double u = centre(random);
    const double jd = u < 0.5 ? kJd1000 + 2.0 * u * (kJd1600 - kJd1000 - 1100.0) + 550.0
                              : kJd2400 + (2.0 * u - 1.0) * (kJd3000 - kJd2400 - 1100.0) + 550.0;
    for (int chart = 0; chart < 64; ++chart) moments.push_back(jd + offset(random));
  }
  CastAtMoments(state, moments);
}
BENCHMARK(BM_ChartOutsideTablesRandomDates)->Unit(benchmark::kMicrosecond);

}  // namespace
