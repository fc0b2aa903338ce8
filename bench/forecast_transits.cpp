// Transit searches of a year as the transit calculation runs them (each pair searched from the
// period's start, then from half a day after each event). Goal: on average at most 50 ephemeris
// positions per search. Counters: positions per search, searches and events per run.
#include <benchmark/benchmark.h>

#include "astro/ephemeris/ephemeris.h"
#include "bench_support.h"
#include "forecast/core/transit_dispatch.h"

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

}  // namespace
