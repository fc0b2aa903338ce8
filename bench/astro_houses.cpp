// House cusps: Placidus (iterative, goal: a few microseconds per chart), with Koch and
// Regiomontanus (closed forms) for comparison.
#include <benchmark/benchmark.h>

#include "astro/houses/houses.h"

namespace {

void CastHouses(benchmark::State& state, int system) {
  HouseInput in{0.0, 55.75, 23.4367, system};
  double armc = 0.0;
  for (auto _ : state) {
    in.armcDeg = armc;
    benchmark::DoNotOptimize(HouseCusps(in));
    armc += 7.3;  // a new sky each time, so the iteration starts afresh
    if (armc >= 360.0) armc -= 360.0;
  }
}

void BM_PlacidusCusps(benchmark::State& state) { CastHouses(state, kHousePlacidus); }
void BM_KochCusps(benchmark::State& state) { CastHouses(state, kHouseKoch); }
void BM_RegiomontanusCusps(benchmark::State& state) { CastHouses(state, kHouseRegiomontanus); }

BENCHMARK(BM_PlacidusCusps)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KochCusps)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RegiomontanusCusps)->Unit(benchmark::kMicrosecond);

}  // namespace
