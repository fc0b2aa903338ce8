// Loading the whole town atlas that the program ships (goal: under 50 ms), and the search as the
// user types a town name.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "foundation/atlas/towns.h"

namespace {

const std::filesystem::path kData = std::filesystem::path(VELM_SOURCE_DIR) / "data";

void BM_LoadAtlas(benchmark::State& state) {
  for (auto _ : state) {
    TOWNS towns;
    const Status st = towns.Load(kData);
    if (!st.ok()) state.SkipWithError("the atlas does not load");
    benchmark::DoNotOptimize(towns.Count());
  }
}
BENCHMARK(BM_LoadAtlas)->Unit(benchmark::kMillisecond);

void BM_FindTownsByPrefix(benchmark::State& state) {
  TOWNS towns;
  if (!towns.Load(kData).ok()) {
    state.SkipWithError("the atlas does not load");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(towns.FindTownsByPrefix("San", 50));
}
BENCHMARK(BM_FindTownsByPrefix);

}  // namespace
