// Lunar transits and life-point events. Goals: one month of lunar transits with every target,
// aspect, phase and the ingresses switched on in at most 0.5 s; 14,000 life-point events in at
// most 0.1 s. Counters: events per run.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <vector>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_definition.h"
#include "astro/lifepoint/life_point_all.h"
#include "bench_support.h"
#include "forecast/core/life_point_events.h"
#include "forecast/core/lunar_trans.h"
#include "foundation/config/configuration.h"

namespace {

namespace fs = std::filesystem;

// The program's tables and two aspect systems: the shipped one and one of 50 aspects.
struct Setup {
  Setup() {
    (void)bench::Tables();
    fs::copy_file(bench::DataFolder() / "VELM.asp", folder.Path() / "VELM.asp");
    systems.LoadAll(folder.Path());
    systems.SetFolder(folder.Path());
    AspectSystem many;
    std::vector<Aspect> aspects;
    for (int k = 0; k < 50; ++k) {
      Aspect a;
      a.angle = 3.6 * k;
      a.orbs = {3, 2.5, 2, 1.5, 1, 0.5};
      a.abbreviation = "A";
      aspects.push_back(a);
    }
    many.SetAspects(aspects);
    systems.AddSystem("MANY", many);
    (void)types.Parse("1\nHDAHhouses\n");
  }

  // Born in Moscow at 18:00 UT on 31.12.2023, entered on the clock of Greenwich (zone +00:00):
  // the transit chart's moment below is read on that clock.
  Chart NatalChart(const ChartContext& ctx) const {
    Chart c = bench::MoscowChart(31, 12, 2023, 21, 0);
    (void)c.definition.sources[0].SetUniversalTime(2460310.25);
    (void)ChartCalculate(ctx, c);
    return c;
  }

  bench::TempFolder folder{"velm_bench_forecast_lunar"};
  Configuration config;
  Aspectarium systems;
  LifePointAll types;
};

Setup& TheSetup() {
  static Setup setup;
  return setup;
}

LunarTransSettings EverythingOn(const Configuration& config) {
  LunarTransSettings s = LunarTransSettings::FromBlock(config.lunarTransit);
  s.aspectSystem = "VELM";
  s.planets = 3;
  s.nodes = 1;
  s.houses = 4;
  s.aspects = 2;
  s.entering = s.exact = s.leaving = 1;
  s.ingresses = 1;
  s.periodKind = 0;
  s.yearsBefore = s.yearsAfter = 0;
  s.daysBefore = 15;
  s.daysAfter = 15;
  return s;
}

// Runs the month of lunar transits with everything on to `target` (0 the chart's own points,
// 1 the natal chart's) per iteration; counts the events.
void RunLunarMonth(benchmark::State& state, const ChartContext& ctx, const Chart& chart,
                   int target) {
  LunarTransSettings s = EverythingOn(TheSetup().config);
  s.target = target;
  int events = 0;
  for (auto _ : state) {
    CLunarTrans run(s, chart);
    events = run.Compute(ctx);
    benchmark::DoNotOptimize(events);
  }
  state.counters["events"] = events;
}

// The chart's own 29 moving points, every aspect of the shipped system, a month.
void BM_LunarMonthOwnPoints(benchmark::State& state) {
  Setup& setup = TheSetup();
  const ChartContext ctx(setup.config, setup.systems);
  RunLunarMonth(state, ctx, setup.NatalChart(ctx), 0);
}
BENCHMARK(BM_LunarMonthOwnPoints)->Unit(benchmark::kMillisecond);

// The 34 natal points and 12 cusps behind a transit chart, a month.
void BM_LunarMonthNatalTargets(benchmark::State& state) {
  Setup& setup = TheSetup();
  const ChartContext ctx(setup.config, setup.systems);
  const Chart natal = setup.NatalChart(ctx);
  Moment when;
  (void)when.SetMoment(2460600.5);
  Chart transit;
  (void)MakeTransit(ctx, transit, natal, when);
  (void)ChartCalculate(ctx, transit);
  RunLunarMonth(state, ctx, transit, 1);
}
BENCHMARK(BM_LunarMonthNatalTargets)->Unit(benchmark::kMillisecond);

// Every point and cusp, 50 aspects on both sides, three phases, the ingresses: about 14,000.
void BM_LifePointEvents(benchmark::State& state) {
  Setup& setup = TheSetup();
  const ChartContext ctx(setup.config, setup.systems);
  const Chart chart = setup.NatalChart(ctx);
  LifePointSettings s = LifePointSettings::FromBlock(setup.config.lifePoint);
  s.aspectSystemName = "MANY";
  s.pointTargets = 3;
  s.houseTargets = 4;
  s.withNodes = s.withIngresses = 1;
  s.aspectChoice = 2;
  s.exact = s.entering = s.leaving = 1;
  s.beginAge = -10;
  std::size_t events = 0;
  for (auto _ : state) {
    LifePointComputation run(ctx, chart, setup.types);
    (void)run.Compute(s);
    events = run.Events().size();
    benchmark::DoNotOptimize(events);
  }
  state.counters["events"] = static_cast<double>(events);
}
BENCHMARK(BM_LifePointEvents)->Unit(benchmark::kMillisecond);

}  // namespace
