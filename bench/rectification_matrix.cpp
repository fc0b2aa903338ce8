// The score matrix over a birth interval (goals: 2 hours x 10 events within 1 s; 2 days x 20
// events measured). Every method is on; each trial computes one natal chart, each event its
// progressed and directed chart per trial and its transit chart once for the run.
#include <benchmark/benchmark.h>

#include <string>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart.h"
#include "astro/chart/chart_context.h"
#include "bench_support.h"
#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "platform/core/progress_sink.h"
#include "rectification/core/life_event_list.h"
#include "rectification/core/rect_matrix.h"

namespace {

using Block = cfg::RectificationSettings;

struct Fixture {
  Aspectarium aspectarium;
  Chart chart;

  Fixture() {
    (void)bench::Tables();
    (void)aspectarium.LoadAll(bench::DataFolder());
    chart = bench::MoscowChart(15, 6, 1985, 8, 0);
    chart.houseSystem = 0;
  }

  // A configuration over `minutes` minutes from 15.06.1985 00:00, every method main.
  Configuration ConfigFor(int minutes) const {
    Configuration config;
    const std::string name = aspectarium.Count() > 0 ? aspectarium.GetSystem(0).GetName() : "";
    for (const auto field : {Block::kDirectionsSystem, Block::kProgressionsSystem,
                             Block::kTransitsSystem, Block::kLifePointSystem})
      config.rectification.Set(field, name);
    for (std::size_t m = 0; m < 14; ++m)
      config.rectification.Set(Block::kMethod[m], std::uint16_t{0});
    const int days = minutes / 1440, rest = minutes % 1440;
    WriteRectInterval(
        config, RectInterval{{1985, 6, 15, 0, 0}, {1985, 6, 15 + days, rest / 60, rest % 60}});
    return config;
  }

  // `count` events over the years 1995..2019, three houses and three planets each.
  static LifeEventList Events(int count) {
    LifeEventList events;
    static const char* kPlanets[] = {"YNNNYNNNNY", "NYNYNNNYNN", "NNYNNYNNNY", "YNNYNNYNNN"};
    static const char* kHouses[] = {"NNNYNNYNNNYN", "YNNNYNNNYNNN", "NYNNNYNNNYNN"};
    for (int i = 0; i < count; ++i)
      (void)events.Add("event", 1 + i % 28, 1 + i % 12, 1995 + i, kPlanets[i % 4], kHouses[i % 3]);
    return events;
  }
};

Fixture& GetFixture() {
  static Fixture fixture;
  return fixture;
}

// `threads` 0: one worker per processor (at most 8), as the program runs it.
void RunMatrix(benchmark::State& state, int minutes, int events, bool cache = true,
               int threads = 0) {
  Fixture& f = GetFixture();
  const Configuration config = f.ConfigFor(minutes);
  const LifeEventList list = Fixture::Events(events);
  const ChartContext ctx(config, f.aspectarium);
  platform::NullProgress progress;
  for (auto _ : state) {
    RectMatrix matrix;
    matrix.SetThreads(threads);
    (void)matrix.Prepare(config, f.aspectarium, list);
    const Status st = matrix.CalculateAll(ctx, f.chart, progress, cache);
    benchmark::DoNotOptimize(st);
    state.counters["trials"] = matrix.TrialCount();
  }
}

void BM_TwoHoursTenEvents(benchmark::State& state) { RunMatrix(state, 120, 10); }
BENCHMARK(BM_TwoHoursTenEvents)->Unit(benchmark::kMillisecond)->Iterations(1);

// The same with the transit chart built for every trial and event, for comparison.
void BM_TwoHoursTenEventsUncached(benchmark::State& state) { RunMatrix(state, 120, 10, false); }
BENCHMARK(BM_TwoHoursTenEventsUncached)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_TwoDaysTwentyEvents(benchmark::State& state) { RunMatrix(state, 2 * 1440, 20); }
BENCHMARK(BM_TwoDaysTwentyEvents)->Unit(benchmark::kMillisecond)->Iterations(1);

// The goal's machine: two workers. Its figure is the wall time (the two workers' CPU time is
// twice the wait).
void BM_TwoDaysTwentyEventsTwoWorkers(benchmark::State& state) {
  RunMatrix(state, 2 * 1440, 20, true, 2);
}
BENCHMARK(BM_TwoDaysTwentyEventsTwoWorkers)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

}  // namespace
