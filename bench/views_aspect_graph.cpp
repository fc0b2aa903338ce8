// The aspect graph's computation for a Moscow birth chart, with the shipped ephemeris tables and
// the ten-aspect system. Goals: one year, 24 pairs, three moving charts (and the radix), 1,000
// samples within 0.5 s; the densest setting (all 22 chart slots, four samples a pixel, held at
// the sample cap) within 5 s.
#include <benchmark/benchmark.h>

#include <memory>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_context.h"
#include "bench_support.h"
#include "foundation/config/configuration.h"
#include "views/core/asp_graph_calc.h"
#include "views/core/asp_graph_data.h"

namespace {

struct GraphFixture {
  GraphFixture() {
    (void)bench::Tables();
    (void)bench::WriteTenAspectSystem(folder.Path(), "TEN");
    (void)systems.LoadAll(folder.Path());
    ctx = std::make_unique<ChartContext>(config, systems);
    (void)data.AddList("bench", 5, 2);  // one year
    data.SetSelectedIndex(0);
    FDate first;
    (void)first.SetDate(1, 1, 2024, 'A');
    data.SetFirstDay(first);
  }
  void Add(int fromBody, int fromTechnique, int fromConverse, int toBody, int toTechnique,
           int toConverse) {
    AspGraphPair pair;
    pair.systemName = "TEN";
    pair.fromBody = static_cast<std::int16_t>(fromBody);
    pair.fromTechnique = static_cast<std::int16_t>(fromTechnique);
    pair.fromConverse = static_cast<std::int16_t>(fromConverse);
    pair.toBody = static_cast<std::int16_t>(toBody);
    pair.toTechnique = static_cast<std::int16_t>(toTechnique);
    pair.toConverse = static_cast<std::int16_t>(toConverse);
    (void)data.AddPair(0, pair);
  }
  void Run(benchmark::State& state, int n) {
    CAspGraphCalc calc;
    calc.Prepare(bench::MoscowChart(13, 5, 1975, 14, 30), data);
    for (auto _ : state) {
      int maxOrb = 0;
      const Status st = calc.Calculate(*ctx, n, maxOrb);
      benchmark::DoNotOptimize(st);
      benchmark::DoNotOptimize(calc.Cell(0, 0));
    }
  }

  bench::TempFolder folder{"velm-bench-aspgraph"};
  Configuration config;
  Aspectarium systems;
  std::unique_ptr<ChartContext> ctx;
  CAspGraphData data;
};

// Transits, secondary progressions and symbolic directions (eight pairs each) to radix points,
// houses and rulers.
void BM_AspGraphYear24Pairs3Charts(benchmark::State& state) {
  GraphFixture f;
  for (int k = 0; k < 8; ++k) {
    f.Add(k, 6, 0, k + 1, 0, 0);
    f.Add(k, 7, 0, 34 + k, 0, 0);
    f.Add(k == 0 ? 46 : k, 1, 0, 46 + k, 0, 0);
  }
  f.Run(state, 1000);
}
BENCHMARK(BM_AspGraphYear24Pairs3Charts)->Unit(benchmark::kMillisecond);

// Every moving slot (ten techniques, direct and converse) against the radix and the converse
// radix: 22 charts a sample, as many samples as the cap allows.
void BM_AspGraphDensest22Charts(benchmark::State& state) {
  GraphFixture f;
  for (int t = 1; t <= 10; ++t) {
    f.Add(t - 1, t, 0, t, 0, 0);
    f.Add(t - 1, t, 1, t, 0, 1);
  }
  f.Add(0, 6, 0, 34, 0, 0);
  f.Add(1, 6, 1, 43, 0, 0);
  f.Add(2, 7, 0, 50, 0, 0);
  f.Add(46, 1, 0, 2, 0, 0);
  f.Run(state, 4 * 2560);  // four samples a pixel across a wide screen: held at the cap
}
BENCHMARK(BM_AspGraphDensest22Charts)->Unit(benchmark::kMillisecond);

}  // namespace
