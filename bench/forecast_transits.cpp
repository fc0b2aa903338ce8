// Transit searches of a year as the transit calculation runs them (each pair searched from the
// period's start, then from half a day after each event). Goals: on average at most 25 ephemeris
// positions per event found toward natal points, 40 between two moving bodies (the searches that
// find nothing counted in). Counters: positions per event and per search, searches and events.
// Whole transit runs of a transit chart to its natal chart: a typical one (goal 1 s) and one of
// about a thousand events, the most a list holds (goal 10 s).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_context.h"
#include "astro/chart/chart_definition.h"
#include "astro/ephemeris/ephemeris.h"
#include "bench_support.h"
#include "conditions/core/groups.h"
#include "forecast/core/transit_calculation.h"
#include "forecast/core/transit_dispatch.h"
#include "foundation/config/configuration.h"

namespace {

using bench::Tables;

constexpr double kNatalJd = 2447892.5;      // 1990-01-01 0h UT: the natal chart
constexpr double kPeriodStart = 2458849.5;  // 2020-01-01
constexpr double kPeriodDays = 366.0;
// The major aspects on both sides: 0, 60, 90, 120, 180 and 360 minus each.
constexpr double kAngles[] = {0.0, 60.0, 300.0, 90.0, 270.0, 120.0, 240.0, 180.0};

struct Tally {
  long searches = 0, evaluations = 0, events = 0;
};

// One pair with one angle through the period, as the calculation driver does.
template <typename Search>
void RunPair(Search search, Tally& tally) {
  const double end = kPeriodStart + kPeriodDays;
  JdUt from{kPeriodStart};
  for (;;) {
    const TransitResult r = search(from, JdUt{end});
    ++tally.searches;
    tally.evaluations += r.evaluations;
    if (r.status != 1 || r.moment.days > end) return;
    ++tally.events;
    from = JdUt{r.moment.days + 0.5};
  }
}

void Report(benchmark::State& state, const Tally& t) {
  state.counters["positions_per_event"] =
      benchmark::Counter(t.events > 0 ? static_cast<double>(t.evaluations) / t.events : 0.0);
  state.counters["positions_per_search"] = static_cast<double>(t.evaluations) / t.searches;
  state.counters["searches"] = static_cast<double>(t.searches);
  state.counters["events"] = static_cast<double>(t.events);
}

// Bodies 0..9 to the natal points 0..9, the major aspects, one year.
void BM_NatalTransitsOfAYear(benchmark::State& state) {
  const Ephemeris& e = Tables();
  double natal[10];
  for (int i = 0; i < 10; ++i) natal[i] = e.Position(i, ToTt(JdUt{kNatalJd})).longitude;
  Tally tally;
  for (auto _ : state) {
    tally = Tally{};
    for (int body = 0; body < 10; ++body)
      for (int point = 0; point < 10; ++point)
        for (double angle : kAngles) {
          const TransitSearchContext context{e, angle, 1};
          RunPair(
              [&](JdUt from, JdUt end) {
                return NatalTargetNextTransit(context, body, natal[point], from, end);
              },
              tally);
        }
  }
  Report(state, tally);
}
BENCHMARK(BM_NatalTransitsOfAYear)->Unit(benchmark::kMillisecond);

// Every pair of the moving bodies 0..9 (the Moon's pairs are the lunar aspect search's), the
// major aspects, one year, precision 1.
void BM_MovingPairTransitsOfAYear(benchmark::State& state) {
  const Ephemeris& e = Tables();
  Tally tally;
  for (auto _ : state) {
    tally = Tally{};
    for (int a = 0; a < 10; ++a)
      for (int b = a + 1; b < 10; ++b) {
        const int faster = FasterBody(a, b), slower = faster == a ? b : a;
        if (faster == 1) continue;
        for (double angle : kAngles) {
          const TransitSearchContext context{e, angle, 1};
          RunPair(
              [&](JdUt from, JdUt end) {
                return MovingPairNextTransit(context, faster, slower, from, end);
              },
              tally);
        }
      }
  }
  Report(state, tally);
}
BENCHMARK(BM_MovingPairTransitsOfAYear)->Unit(benchmark::kMillisecond);

// The natal planets 0..9 as targets, every aspect of the shipped system by its orbs, exact
// events (and the entries into the orbs and the exits with `orbEvents`), from 1 January 2020 over
// `years`; the transiting planets `bodies` (a planet group).
void RunTransitCalculation(benchmark::State& state, const std::vector<int>& bodies, int years,
                           bool orbEvents) {
  (void)Tables();
  Aspectarium systems;
  (void)systems.LoadAll(bench::DataFolder());
  const Configuration config;
  const ChartContext ctx(config, systems);
  Chart natal = bench::MoscowChart(15, 6, 1985, 8, 0);
  (void)ChartCalculate(ctx, natal, 0);
  FDate start;
  (void)start.SetDate(1, 1, 2020);
  Chart transit;
  (void)MakeTransit(ctx, transit, natal, Moment(start, FTime()));
  Groups groups;
  GroupRecord moving, targets;
  moving.name = "moving";
  targets.name = "natal";
  for (int body : bodies)
    moving.members[static_cast<std::size_t>(moving.count++)] = static_cast<std::uint8_t>(body);
  for (int p = 0; p < 10; ++p)
    targets.members[static_cast<std::size_t>(targets.count++)] = static_cast<std::uint8_t>(p);
  (void)groups.AddGroup('P', moving);
  (void)groups.AddGroup('P', targets);
  TransitSettings s = TransitSettings::FromBlock(config.transit);
  s.mode = 1;
  s.transiting = kTransitPlanetGroup;
  s.transitingGroup = 0;
  s.target = kTransitPlanetGroup;
  s.groupName = "natal";
  s.aspectSystem = systems.Count() > 0 ? systems.GetSystem(0).GetName() : "";
  s.aspectChoice = 1000;
  s.orbSource = 1;
  s.classMask = 0x1FF;
  s.exact = 1;
  s.entering = orbEvents ? 1 : 0;
  s.leaving = 0;
  s.startDay = s.endDay = s.startMonth = s.endMonth = 1;
  s.startYear = 2020;
  s.endYear = 2020 + years;
  s.startEra = s.endEra = 'A';
  const std::filesystem::path periods = bench::DataFolder() / "velm.tri";
  int events = 0;
  for (auto _ : state) {
    TransitCalculation calc(s, transit, groups, periods);
    benchmark::DoNotOptimize(calc.Run(ctx));
    events = calc.EventCount();
  }
  state.counters["events"] = events;
}

// Sun, Mars, Jupiter and Saturn to the natal planets for a year.
void BM_TransitRunTypical(benchmark::State& state) {
  RunTransitCalculation(state, {0, 4, 5, 6}, 1, false);
}
BENCHMARK(BM_TransitRunTypical)->Unit(benchmark::kMillisecond);

// Every planet but the Moon to the natal planets for a year, the entries into the orbs too: the
// run reaches the thousand events a list holds (and is then refused with its message, so the
// counter shows 0).
void BM_TransitRunThousandEvents(benchmark::State& state) {
  RunTransitCalculation(state, {0, 2, 3, 4, 5, 6, 7, 8, 9}, 1, true);
}
BENCHMARK(BM_TransitRunThousandEvents)->Unit(benchmark::kMillisecond);

}  // namespace
