// One chart's bodies 0..29 with their speeds from the ephemeris tables (goal: 30 microseconds).
#include <benchmark/benchmark.h>

#include "astro/ephemeris/ephemeris.h"
#include "bench_support.h"

namespace {

using bench::Tables;

void BM_ChartBodiesFromTables(benchmark::State& state) {
  const Ephemeris& e = Tables();
  // A spread of chart moments: each iteration moves 0.37 day on through 2000-2100.
  double jd = 2451545.0;
  for (auto _ : state) {
    double sum = 0.0;
    for (int point = 0; point < kBodyCount; ++point) sum += e.Position(point, JdTt{jd}).speed;
    benchmark::DoNotOptimize(sum);
    jd += 0.37;
    if (jd > 2488000.0) jd = 2451545.0;
  }
}
BENCHMARK(BM_ChartBodiesFromTables);

}  // namespace
