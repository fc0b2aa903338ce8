// Configuration conditions on a crowded chart: all 34 points, both nodes and the 12 cusps admitted
// (46 candidates). Goal: a figure of six vertices within 20 ms on the worst chart, 2 ms on a
// typical one.
//
//   Typical: the positions of a real-looking chart; own orb 6 or the system's orbs.
//   Spread: the 34 points evenly round the circle with the own orb 20 (the largest the page
//     offers), so that every point has several partners at each angle: a figure with its
//     oppositions is found; with two neighbouring points required as members, none can exist and
//     every path is followed before the answer 0.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart.h"
#include "astro/chart/chart_context.h"
#include "bench_support.h"
#include "conditions/core/cfunc.h"
#include "foundation/config/configuration.h"
#include "foundation/text/cp1251.h"

namespace {

class ConfBench {
 public:
  ConfBench() : ok_(bench::WriteTenAspectSystem(folder_.Path(), "BENCH")) {
    aspectarium_.LoadAll(folder_.Path());
    for (int i = 0; i < Configuration::kObjectCount; ++i)
      config_.objectStrings[Configuration::kShownString][static_cast<std::size_t>(i)] = 'Y';
    context_ = std::make_unique<ChartContext>(config_, aspectarium_);
  }
  bool Ok() const { return ok_; }

  // Object set 2, every cusp, the nodes; own orb or the system's orbs.
  void Use(int row, int orb, int systemOrbs, const std::string& members) {
    set_.ParseFuncs("1 + 7 " + std::to_string(row) + " 2 2 \x03 \x03 BENCH 0 0 1 " +
                        std::to_string(systemOrbs) + " " + std::to_string(orb) + " 0 " + members +
                        " 1 0\n",
                    CFunc::kCapacity);
  }
  int Decide(const Chart& chart) const {
    return set_.QueryConditionEvaluate(*context_, chart, 0, -1);
  }

 private:
  bench::TempFolder folder_{"velm-bench-conf"};
  bool ok_ = false;
  Aspectarium aspectarium_;
  Configuration config_;
  std::unique_ptr<ChartContext> context_;
  CFunc set_;
};

Chart TypicalChart() {
  Chart chart;
  const double points[34] = {256.1, 61.4,  241.9, 283.5, 12.7,  170.2, 301.6, 122.8, 230.4,
                             186.9, 95.3,  352.0, 202.2, 33.3,  148.8, 77.7,  140.5, 320.5,
                             15.2,  263.6, 110.1, 45.9,  199.4, 329.8, 88.8,  174.4, 6.6,
                             221.3, 290.0, 133.3, 58.1,  272.7, 163.2, 344.4};
  for (int i = 0; i < 34; ++i) chart.points[static_cast<std::size_t>(i)].longitude.Set(points[i]);
  for (int h = 0; h < 12; ++h)
    chart.cusps[static_cast<std::size_t>(h)].Set(std::fmod(17.5 + h * 30.0 + (h % 3) * 4.0, 360.0));
  return chart;
}

// The 34 points every 360/34 degrees; the cusps between them.
Chart SpreadChart() {
  Chart chart;
  const double step = 360.0 / 34.0;
  for (int i = 0; i < 34; ++i) chart.points[static_cast<std::size_t>(i)].longitude.Set(i * step);
  for (int h = 0; h < 12; ++h) chart.cusps[static_cast<std::size_t>(h)].Set(h * 30.0 + step / 2.0);
  return chart;
}

// `expected` -1: the answer is not checked.
void Run(benchmark::State& state, const Chart& chart, int row, int orb, int systemOrbs,
         const char* members, int expected) {
  ConfBench bench;
  bench.Use(row, orb, systemOrbs, members);
  if (!bench.Ok()) state.SkipWithError("the aspect system cannot be written");
  if (expected >= 0 && bench.Decide(chart) != expected) state.SkipWithError("unexpected answer");
  for (auto _ : state) benchmark::DoNotOptimize(bench.Decide(chart));
}

constexpr const char* kAny = "700700 700700 700700";
// Points 0 and 1, 10.6 degrees apart, can never stand in one figure of steps 40 to 80 degrees.
constexpr const char* kNeighbours = "700700 1000 700700";

void HexagramTypical(benchmark::State& state) { Run(state, TypicalChart(), 4, 6, 0, kAny, -1); }
BENCHMARK(HexagramTypical)->Unit(benchmark::kMillisecond);

void HexagramTypicalSystemOrbs(benchmark::State& state) {
  Run(state, TypicalChart(), 5, 0, 1, kAny, -1);
}
BENCHMARK(HexagramTypicalSystemOrbs)->Unit(benchmark::kMillisecond);

void HexagramSpreadFound(benchmark::State& state) { Run(state, SpreadChart(), 4, 20, 0, kAny, 1); }
BENCHMARK(HexagramSpreadFound)->Unit(benchmark::kMillisecond);

void HexagramSpreadFails(benchmark::State& state) {
  Run(state, SpreadChart(), 5, 20, 0, kNeighbours, 0);
}
BENCHMARK(HexagramSpreadFails)->Unit(benchmark::kMillisecond);

void WreathSpreadFails(benchmark::State& state) {
  Run(state, SpreadChart(), 19, 20, 0, kNeighbours, 0);
}
BENCHMARK(WreathSpreadFails)->Unit(benchmark::kMillisecond);

void GrandTrineTypical(benchmark::State& state) { Run(state, TypicalChart(), 0, 6, 0, kAny, -1); }
BENCHMARK(GrandTrineTypical)->Unit(benchmark::kMillisecond);

void KiteTypical(benchmark::State& state) { Run(state, TypicalChart(), 8, 6, 0, kAny, -1); }
BENCHMARK(KiteTypical)->Unit(benchmark::kMillisecond);

}  // namespace
