// The Tremin search: at the 2-second step an hour of the possible interval holds 1800 trial
// moments, each a full chart with its possibility; every moment possible enough then computes a
// directed and a progressed chart per life event. Goals set here: the possibility of a computed
// chart within 50 microseconds, the first pass over one hour within 5 seconds, the two scores of
// one moment with three events within 2 milliseconds. The year forecast of ten events (three
// dates, a progressed and a directed chart each) within 100 milliseconds. Over the longest
// interval, 1.4 days at the 20-second step (6049 moments): the first pass within 2 s, the second
// with 20 events within 10 s.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_context.h"
#include "bench_support.h"
#include "foundation/config/configuration.h"
#include "platform/core/progress_sink.h"
#include "rectification/core/life_event_list.h"
#include "rectification/core/tremin_forecast.h"
#include "rectification/core/tremin_search.h"

namespace {

struct Fixture {
  Aspectarium aspectarium;
  Configuration config;
  LifeEventList events;
  Chart chart;
  TmSearchSettings settings;

  Fixture() {
    (void)bench::Tables();
    (void)aspectarium.LoadAll(bench::DataFolder());
    const std::string name = aspectarium.Count() > 0 ? aspectarium.GetSystem(0).GetName() : "";
    settings.applyingSystem = name;
    settings.separatingSystem = name;
    settings.step = 0;  // 2 s
    chart = bench::MoscowChart(15, 6, 1985, 8, 0);
    chart.houseSystem = 0;
    (void)events.Add("move", 15, 6, 2015, "", "NNNYNNYNNNYN");
    (void)events.Add("wedding", 2, 9, 2010, "", "NNNNNNYNNNNN");
    (void)events.Add("child", 11, 1, 2012, "", "NNNNYNNNNNNN");
  }

  RectInterval Hour() const {
    RectInterval r;
    r.start = {1985, 6, 15, 8, 0};
    r.end = {1985, 6, 15, 9, 0};
    return r;
  }
};

Fixture& GetFixture() {
  static Fixture fixture;
  return fixture;
}

void BM_Possibility(benchmark::State& state) {
  Fixture& f = GetFixture();
  const ChartContext ctx(f.config, f.aspectarium);
  TmSearch search;
  (void)search.Prepare(ctx, f.chart, f.events, f.settings, f.Hour());
  Chart trial;
  (void)search.TrialChart(ctx, 0, trial);
  for (auto _ : state) benchmark::DoNotOptimize(search.Rect().Possibility(trial));
}
BENCHMARK(BM_Possibility)->Unit(benchmark::kMicrosecond);

void BM_MomentScores(benchmark::State& state) {
  Fixture& f = GetFixture();
  const ChartContext ctx(f.config, f.aspectarium);
  TmSearch search;
  (void)search.Prepare(ctx, f.chart, f.events, f.settings, f.Hour());
  Chart trial;
  (void)search.TrialChart(ctx, 0, trial);
  (void)search.Rect().Possibility(trial);
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        search.Rect().MomentScore(ctx, trial, search.Events(), kTmSeriesDirections));
    benchmark::DoNotOptimize(
        search.Rect().MomentScore(ctx, trial, search.Events(), kTmSeriesProgressions));
  }
}
BENCHMARK(BM_MomentScores)->Unit(benchmark::kMillisecond);

void BM_FirstPassHour(benchmark::State& state) {
  Fixture& f = GetFixture();
  const ChartContext ctx(f.config, f.aspectarium);
  platform::NullProgress quiet;
  for (auto _ : state) {
    TmSearch search;
    (void)search.Prepare(ctx, f.chart, f.events, f.settings, f.Hour());
    benchmark::DoNotOptimize(search.FirstPass(ctx, quiet));
  }
}
BENCHMARK(BM_FirstPassHour)->Unit(benchmark::kMillisecond)->Iterations(1);

// The longest interval: 1.4 days from 15.06.1985 00:00 at the 20-second step.
RectInterval LongestInterval() {
  RectInterval r;
  r.start = {1985, 6, 15, 0, 0};
  r.end = {1985, 6, 16, 9, 36};
  return r;
}

void BM_FirstPassLongest20s(benchmark::State& state) {
  Fixture& f = GetFixture();
  const ChartContext ctx(f.config, f.aspectarium);
  TmSearchSettings settings = f.settings;
  settings.step = 3;  // 20 s
  platform::NullProgress quiet;
  for (auto _ : state) {
    TmSearch search;
    (void)search.Prepare(ctx, f.chart, f.events, settings, LongestInterval());
    benchmark::DoNotOptimize(search.FirstPass(ctx, quiet));
    state.counters["moments"] = search.Moments().Count();
  }
}
BENCHMARK(BM_FirstPassLongest20s)->Unit(benchmark::kMillisecond)->Iterations(1);

// The second pass after the first, every possible moment scored (minimum possibility 0), 20 events.
void BM_SecondPassLongest20s20Events(benchmark::State& state) {
  Fixture& f = GetFixture();
  const ChartContext ctx(f.config, f.aspectarium);
  TmSearchSettings settings = f.settings;
  settings.step = 3;
  settings.minimumPossibility = 0;
  LifeEventList events;
  static const char* kHouses[] = {"NNNYNNYNNNYN", "YNNNYNNNYNNN", "NYNNNYNNNYNN"};
  for (int i = 0; i < 20; ++i)
    (void)events.Add("event " + std::to_string(i), 1 + i % 28, 1 + i % 12, 1995 + i, "",
                     kHouses[i % 3]);
  platform::NullProgress quiet;
  for (auto _ : state) {
    state.PauseTiming();
    TmSearch search;
    (void)search.Prepare(ctx, f.chart, events, settings, LongestInterval());
    (void)search.FirstPass(ctx, quiet);
    int scored = 0;
    for (const auto p : search.Moments().possibility) scored += p != kTmImpossible ? 1 : 0;
    state.counters["scored_moments"] = scored;
    state.ResumeTiming();
    benchmark::DoNotOptimize(search.SecondPass(ctx, quiet));
  }
}
BENCHMARK(BM_SecondPassLongest20s20Events)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ForecastYear(benchmark::State& state) {
  Fixture& f = GetFixture();
  const ChartContext ctx(f.config, f.aspectarium);
  LifeEventList events;
  for (int i = 0; i < 10; ++i)
    (void)events.Add("event " + std::to_string(i), 1 + i, 1 + i, 1990 + i, "", "NNNYNNYNNNYN");
  TmForecastSettings settings;
  settings.applying = settings.separating = f.settings.applyingSystem;
  TmYearForecast forecast;
  (void)forecast.Prepare(ctx, settings);
  (void)forecast.SetNatAndYear(ctx, f.chart, 2024);
  platform::NullProgress quiet;
  std::vector<Status> warnings;
  for (auto _ : state)
    benchmark::DoNotOptimize(forecast.CalculateYear(ctx, events, 2, quiet, warnings));
}
BENCHMARK(BM_ForecastYear)->Unit(benchmark::kMillisecond);

}  // namespace
