// The logic language on one chart: an expression over 20 conditions (ASP by an arbitrary angle
// between two points, the cheapest kind) with brackets, negations and both operators; and the
// checks of such an expression. No speed goal is set; the figures show the expression's share
// beside the conditions themselves.
#include <benchmark/benchmark.h>

#include <string>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart.h"
#include "astro/chart/chart_context.h"
#include "conditions/core/cfunc.h"
#include "conditions/core/condition_logic.h"
#include "foundation/config/configuration.h"

namespace {

struct Fixture {
  Fixture() {
    std::string lines;
    for (int n = 1; n <= 20; ++n)
      lines += std::to_string(n) + " + 0 " + std::to_string(n % 10) + " " +
               std::to_string(n % 10 + 1) + " 1001 \x03 \x03 \x03 0 0 0 0 1 0 0 0 0 " +
               std::to_string(n * 17 % 180) + " 0\n";
    set.ParseFuncs(lines, CFunc::kCapacity);
    for (int i = 0; i < 34; ++i) chart.points[static_cast<std::size_t>(i)].longitude.Set(i * 37.3);
    for (int h = 0; h < 12; ++h) chart.cusps[static_cast<std::size_t>(h)].Set(h * 30.0 + 7.0);
  }
  static constexpr const char* kExpression =
      "(1&2|!3)&(4|5&!(6|7))|!!8&(9|10)|(11&12&13)|!(14|15)&16|(17|18)&!19|20";
  ChartContext context{Configuration(), Aspectarium()};
  CFunc set;
  Chart chart;
};

void LogicOfTwentyConditions(benchmark::State& state) {
  Fixture f;
  if (f.set.SetLogic(Fixture::kExpression) != 1) state.SkipWithError("expression refused");
  for (auto _ : state) benchmark::DoNotOptimize(f.set.EvaluateLogic(f.context, f.chart, -1));
}
BENCHMARK(LogicOfTwentyConditions)->Unit(benchmark::kMicrosecond);

void AllOfTwentyConditions(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) benchmark::DoNotOptimize(f.set.EvaluateAll(f.context, f.chart, -1, 1));
}
BENCHMARK(AllOfTwentyConditions)->Unit(benchmark::kMicrosecond);

void CheckOfAnExpression(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) benchmark::DoNotOptimize(CheckLogic(Fixture::kExpression, f.set));
}
BENCHMARK(CheckOfAnExpression)->Unit(benchmark::kMicrosecond);

}  // namespace
