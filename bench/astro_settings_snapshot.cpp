// Taking the settings for a computation: a deep copy of the configuration and of every loaded
// aspect system (as every context was taken before the settings were published), against taking
// the published snapshot (two shared pointers). The shipped aspect system is loaded.
#include <benchmark/benchmark.h>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_context.h"
#include "astro/chart/published_settings.h"
#include "bench_support.h"
#include "foundation/config/configuration.h"

namespace {

void LoadShippedSystems(benchmark::State& state) {
  if (GetAspectarium().Count() == 0) (void)GetAspectarium().LoadAll(bench::DataFolder());
  if (GetAspectarium().Count() == 0) state.SkipWithError("no aspect system in the data folder");
  PublishSettings();
}

void BM_ChartContextDeepCopy(benchmark::State& state) {
  LoadShippedSystems(state);
  for (auto _ : state) {
    const ChartContext ctx(GetConfiguration(), GetAspectarium(), GetSharedEphemeris());
    benchmark::DoNotOptimize(&ctx);
  }
  state.counters["systems"] = GetAspectarium().Count();
}
BENCHMARK(BM_ChartContextDeepCopy)->Unit(benchmark::kNanosecond);

void BM_ChartContextPublished(benchmark::State& state) {
  LoadShippedSystems(state);
  for (auto _ : state) {
    const ChartContext ctx = ChartContext::FromCurrentSettings();
    benchmark::DoNotOptimize(&ctx);
  }
}
BENCHMARK(BM_ChartContextPublished)->Unit(benchmark::kNanosecond);

// A publish: what a settings dialog's OK costs once.
void BM_PublishSettings(benchmark::State& state) {
  LoadShippedSystems(state);
  for (auto _ : state) benchmark::DoNotOptimize(PublishSettings());
}
BENCHMARK(BM_PublishSettings)->Unit(benchmark::kNanosecond);

}  // namespace
