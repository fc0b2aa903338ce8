// One ASP condition between two groups on one chart (goal 10 microseconds): a group of five
// planets each against a group of four planets one-of, any aspect of every class by the orbs of
// a system of ten aspects, among ten groups of each kind.
#include <benchmark/benchmark.h>

#include <string>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart.h"
#include "astro/chart/chart_context.h"
#include "bench_support.h"
#include "conditions/core/cfunc.h"
#include "foundation/config/configuration.h"
#include "foundation/text/cp1251.h"

namespace {

void AspBetweenTwoGroups(benchmark::State& state) {
  const bench::TempFolder folder("velm-bench-cond");
  if (!bench::WriteTenAspectSystem(folder.Path(), "BENCH"))
    state.SkipWithError("the aspect system cannot be written");
  Aspectarium aspectarium;
  aspectarium.LoadAll(folder.Path());
  Configuration config;

  CFunc set;
  for (int g = 0; g < 10; ++g) {
    GroupRecord group;
    group.name = "G" + std::to_string(g);
    group.count = 5;
    group.members = {static_cast<std::uint8_t>(g), 1, 2, 3, 4};
    set.groups.AddGroup('P', group);
    set.groups.AddGroup('S', group);
    set.groups.AddGroup('H', group);
  }
  GroupRecord outer;
  outer.name = "Outer";
  outer.count = 4;
  outer.members = {5, 6, 7, 8};
  set.groups.AddGroup('P', outer);
  set.ParseFuncs(
      Cp1251("1 + 0 501 500 1000 G9[каждая] Outer[одна_из] BENCH 0 0 0 1 0 0 511 3 3 0 0\n"),
      CFunc::kCapacity);

  Chart chart;
  for (int i = 0; i < 34; ++i) chart.points[static_cast<std::size_t>(i)].longitude.Set(i * 37.3);
  for (int h = 0; h < 12; ++h) chart.cusps[static_cast<std::size_t>(h)].Set(h * 30.0 + 7.0);
  const ChartContext context(config, aspectarium);

  for (auto _ : state) benchmark::DoNotOptimize(set.QueryConditionEvaluate(context, chart, 0, -1));
}
BENCHMARK(AspBetweenTwoGroups)->Unit(benchmark::kMicrosecond);

}  // namespace
