// The ephemeris: one chart's bodies 0..29 with their speeds from the tables (goal: 30
// microseconds) and from the theories outside the tables' years (goal: 0.3 ms a chart, 20
// microseconds a body at any date), the loading of the tables at start (goal: 100 ms), a whole
// chart and the information panel of a chart of 1550.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "astro/chart/chart.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_context.h"
#include "astro/ephemeris/ephemeris.h"
#include "astro/ephemeris/minor/minor_elements_data.h"
#include "astro/ephemeris/planet_theory.h"
#include "astro/ephemeris/series_sets.h"
#include "astro/houses/houses.h"
#include "bench_support.h"
#include "foundation/config/configuration.h"
#include "foundation/files/safe_rewrite.h"
#include "views/core/chart_info_panel.h"

namespace {

using bench::Tables;

constexpr double kJd1550 = 2287184.5;  // 1550-01-01 0h
// -3000..3000 less the minor bodies' integrated years 1599-2401 (which hold the tables' span; in
// the years on either side of it the integration, started once per process by the first position
// there, serves the minor bodies): the stretch a spread of dates is taken from.
constexpr double kFirstJd = 625673.5, kIntegratedFirstJd = 2305082.5, kIntegratedLastJd = 2598007.5,
                 kLastJd = 2817151.5;

// The next date of a spread over -3000..1599 and 2401..3000: steps of 3779.37 days, so that each
// date falls elsewhere in the year, the month and the bodies' cycles.
double NextFarDate(double jd) {
  jd += 3779.37;
  if (jd > kIntegratedFirstJd && jd < kIntegratedLastJd)
    jd += kIntegratedLastJd - kIntegratedFirstJd;
  if (jd > kLastJd) jd -= kLastJd - kFirstJd;
  return jd;
}

void BM_ChartBodiesFromTables(benchmark::State& state) {
  const Ephemeris& e = Tables();
  // A spread of chart moments: each iteration moves 0.37 day on through 2000-2100.
  double jd = 2451545.0;
  for (auto _ : state) {
    double sum = 0.0;
    for (int point = 0; point < kBodyCount; ++point) sum += e.Position(point, JdTt{jd}).speed;
    benchmark::DoNotOptimize(sum);
    jd += 0.37;
    if (jd > 2488000.0) jd = 2451545.0;
  }
}
BENCHMARK(BM_ChartBodiesFromTables)->Unit(benchmark::kMicrosecond);

// A chart's bodies 0..29 with their speeds outside the tables: around 1550 (0.37 day on per
// chart), and at dates spread over -3000..3000.
void BM_ChartBodies1550(benchmark::State& state) {
  const Ephemeris& e = Tables();
  double jd = kJd1550;
  for (auto _ : state) {
    double sum = 0.0;
    for (int point = 0; point < kBodyCount; ++point) sum += e.Position(point, JdTt{jd}).speed;
    benchmark::DoNotOptimize(sum);
    jd += 0.37;
    if (jd > kJd1550 + 3650.0) jd = kJd1550;
  }
}
BENCHMARK(BM_ChartBodies1550)->Unit(benchmark::kMicrosecond);

void BM_ChartBodiesAnyDateOutsideTables(benchmark::State& state) {
  const Ephemeris& e = Tables();
  double jd = kFirstJd;
  for (auto _ : state) {
    double sum = 0.0;
    for (int point = 0; point < kBodyCount; ++point) sum += e.Position(point, JdTt{jd}).speed;
    benchmark::DoNotOptimize(sum);
    jd = NextFarDate(jd);
  }
}
BENCHMARK(BM_ChartBodiesAnyDateOutsideTables)->Unit(benchmark::kMicrosecond);

// One body alone (the argument: its point) at dates spread over -3000..3000 outside the tables,
// a new date each time, as a search through time asks.
void BM_OneBodyAnyDateOutsideTables(benchmark::State& state) {
  const Ephemeris& e = Tables();
  const int point = static_cast<int>(state.range(0));
  double jd = kFirstJd;
  for (auto _ : state) {
    benchmark::DoNotOptimize(e.Position(point, JdTt{jd}).longitude);
    jd = NextFarDate(jd);
  }
}
BENCHMARK(BM_OneBodyAnyDateOutsideTables)
    ->DenseRange(0, kBodyCount - 1)
    ->Unit(benchmark::kMicrosecond);

// One position of the Moon inside the tables (/0, from 2000) and outside them (/1, from 1550), the
// dates moving on 0.37 day per position in both: what the tables save over the theories.
void BM_PositionOutsideVsInside(benchmark::State& state) {
  const Ephemeris& e = Tables();
  const double first = state.range(0) == 0 ? 2451545.0 : kJd1550;
  double offset = 0.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(e.Position(1, JdTt{first + offset}).longitude);
    offset += 0.37;
    if (offset > 3650.0) offset = 0.0;
  }
}
BENCHMARK(BM_PositionOutsideVsInside)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Start-up: the tables read from the data folder and checked whole (their segments are decoded a
// block at a time when first used; the series are cut on their first use: BM_CutTheSeries).
void BM_LoadTables(benchmark::State& state) {
  const std::filesystem::path file = bench::DataFolder() / "velm.str";
  for (auto _ : state) {
    Ephemeris e;
    const Status st = e.Load(file);
    benchmark::DoNotOptimize(st);
  }
}
BENCHMARK(BM_LoadTables)->Unit(benchmark::kMillisecond);

// The cut of the series for the farthest band, made once by the first position there.
void BM_CutTheSeries(benchmark::State& state) {
  for (auto _ : state) {
    const SeriesSet cut(FastPathCut());
    benchmark::DoNotOptimize(&cut);
  }
}
BENCHMARK(BM_CutTheSeries)->Unit(benchmark::kMillisecond);

// The far courses of Chiron and the asteroids decoded from their text, all of them: the first
// position on either side of the minor bodies' integrated range decodes that side's half.
void BM_DecodeFarCourses(benchmark::State& state) {
  std::vector<std::vector<double>> out(kStoredFarCourseCount);
  for (std::size_t p = 0; p < kStoredFarCourseCount; ++p) out[p].resize(kStoredFarCourses[p].count);
  for (auto _ : state)
    for (std::size_t p = 0; p < kStoredFarCourseCount; ++p)
      benchmark::DoNotOptimize(DecodeCourseQuanta(
          kStoredFarCourses[p].quanta, kStoredFarCourses[p].widths, kFarCourseQuantumAu, out[p]));
}
BENCHMARK(BM_DecodeFarCourses)->Unit(benchmark::kMillisecond);

// The check of the tables alone, from bytes already read.
void BM_DecodeTables(benchmark::State& state) {
  std::string bytes;
  if (!ReadWholeFile(bench::DataFolder() / "velm.str", bytes).ok()) {
    state.SkipWithError("velm.str cannot be read");
    return;
  }
  for (auto _ : state) {
    Ephemeris e;
    const Status st = e.LoadBytes(bytes, "velm.str");
    benchmark::DoNotOptimize(st);
  }
}
BENCHMARK(BM_DecodeTables)->Unit(benchmark::kMillisecond);

// A whole natal chart of 1550 in Moscow (bodies, Placidus cusps, points 30..33), 0.37 day on per
// chart.
void BM_ChartCalculate1550(benchmark::State& state) {
  (void)Tables();
  const ChartContext ctx = ChartContext::FromCurrentSettings();
  Chart chart = bench::MoscowChart(1, 1, 1550, 12, 0);
  Source& birth = chart.definition.sources[0];
  chart.houseSystem = kHousePlacidus;
  const double first = birth.moment.JulianDay();
  double jd = first;
  for (auto _ : state) {
    if (!birth.moment.SetMoment(jd).ok()) jd = first;
    jd += 0.37;
    if (jd > first + 3650.0) jd = first;
    const Status st = ChartCalculate(ctx, chart, 0);
    benchmark::DoNotOptimize(st);
    benchmark::DoNotOptimize(chart.points[0].longitude);
  }
}
BENCHMARK(BM_ChartCalculate1550)->Unit(benchmark::kMicrosecond);

// The information panel of a chart (hours, risings and settings of ten bodies, lunar day) in Moscow
// on 13 May at 14:30 of the year given (goal: 1 millisecond inside the tables' years and outside).
void InfoPanelOfYear(benchmark::State& state, int year) {
  (void)Tables();
  const Configuration config;
  const ChartContext ctx{config};
  const Chart chart = bench::MoscowChart(13, 5, year, 14, 30);
  for (auto _ : state) {
    ChartInfoPanel panel;
    panel.SetChart(&chart);
    panel.Compute(ctx);
    benchmark::DoNotOptimize(panel.status);
  }
}
void BM_InfoPanelInsideTables(benchmark::State& state) { InfoPanelOfYear(state, 1990); }
BENCHMARK(BM_InfoPanelInsideTables)->Unit(benchmark::kMillisecond);
void BM_InfoPanelOutsideTables(benchmark::State& state) { InfoPanelOfYear(state, 1550); }
BENCHMARK(BM_InfoPanelOutsideTables)->Unit(benchmark::kMillisecond);

// One body's cut series, position and velocity, at dates 1000-1600 37.3 days apart (0..7 Mercury..
// Neptune with the Earth as 2, 8 the Moon with its acceleration): the share of each in a chart
// outside the tables.
void BM_SeriesOfOneBody(benchmark::State& state) {
  const int body = static_cast<int>(state.range(0));
  double jd = 2086307.5;
  Vector3 p, v;
  for (auto _ : state) {
    if (body == 8) {
      benchmark::DoNotOptimize(CutSeries(jd).Moon(jd).position.x);
    } else {
      CutSeries(jd).PlanetState(static_cast<Planet>(body), jd, p, v);
      benchmark::DoNotOptimize(p.x);
    }
    jd += 37.3;
    if (jd > 2305447.5) jd = 2086307.5;
  }
}
BENCHMARK(BM_SeriesOfOneBody)->DenseRange(0, 8)->Unit(benchmark::kMicrosecond);

}  // namespace
