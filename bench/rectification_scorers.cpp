// The fourteen event scorers for one life event and one trial birth moment (goal: 100
// microseconds; the score matrix multiplies it by trials x events). BM_ScoreEvent builds the
// progressed, transit and directed charts and the life point as the groups do; BM_ScoreMethods
// runs the fourteen scorers alone on charts built beforehand.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_context.h"
#include "astro/chart/chart_definition.h"
#include "bench_support.h"
#include "foundation/config/configuration.h"
#include "rectification/core/chart_rect.h"

namespace {

struct Fixture {
  Aspectarium aspectarium;
  RectScoringSetup setup;
  Chart trial;
  LifeEvent event;

  Fixture() {
    (void)bench::Tables();
    (void)aspectarium.LoadAll(bench::DataFolder());
    const std::string name = aspectarium.Count() > 0 ? aspectarium.GetSystem(0).GetName() : "";
    Configuration config;  // the defaults: every method main
    setup = MakeRectScoringSetup(config, aspectarium, {name, name, name, name});
    trial = bench::MoscowChart(15, 6, 1985, 8, 0);
    trial.houseSystem = 0;
    // A typical event: three houses and three planets marked.
    (void)event.Set("move", 15, 6, 2015, "YNNNYNNNNY", "NNNYNNYNNNYN");
  }
};

Fixture& GetFixture() {
  static Fixture fixture;
  return fixture;
}

void BM_ScoreEvent(benchmark::State& state) {
  Fixture& f = GetFixture();
  ChartRect natal(f.trial);
  (void)natal.Compute();
  std::vector<double> slots(static_cast<std::size_t>(f.setup.MethodsOn()));
  for (auto _ : state) {
    const Status st = ScoreEvent(natal, f.event, f.setup, slots);
    benchmark::DoNotOptimize(st);
    benchmark::DoNotOptimize(slots.data());
  }
}
BENCHMARK(BM_ScoreEvent)->Unit(benchmark::kMicrosecond);

void BM_ScoreMethods(benchmark::State& state) {
  Fixture& f = GetFixture();
  ChartRect natal(f.trial);
  (void)natal.Compute();
  Chart progressed, transit, directed;
  (void)MakeProgressed(ChartContext::FromCurrentSettings(), progressed, natal, f.event.moment);
  (void)progressed.CalculatePositions(ChartContext::FromCurrentSettings(), 0);
  (void)MakeTransit(ChartContext::FromCurrentSettings(), transit, natal, f.event.moment);
  (void)ChartCalculate(ChartContext::FromCurrentSettings(), transit, 0);
  (void)MakeDirected(ChartContext::FromCurrentSettings(), directed, natal, f.event.moment);
  (void)ChartCalculate(ChartContext::FromCurrentSettings(), directed, 0);
  const EventCharts charts{&natal, &progressed, &transit, &directed,
                           LifePointAtEvent(natal, f.event, f.setup)};
  for (auto _ : state) {
    double sum = 0.0;
    for (int m = 0; m < kRectMethodCount; ++m) sum += ScoreMethod(m, charts, f.event, f.setup);
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_ScoreMethods)->Unit(benchmark::kMicrosecond);

// One trial of the matrix: the natal chart computed without speeds, then the event scored.
void BM_TrialAndEvent(benchmark::State& state) {
  Fixture& f = GetFixture();
  std::vector<double> slots(static_cast<std::size_t>(f.setup.MethodsOn()));
  for (auto _ : state) {
    ChartRect natal(f.trial);
    (void)natal.Compute();
    const Status st = ScoreEvent(natal, f.event, f.setup, slots);
    benchmark::DoNotOptimize(st);
  }
}
BENCHMARK(BM_TrialAndEvent)->Unit(benchmark::kMicrosecond);

}  // namespace
