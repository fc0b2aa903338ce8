// The synastry analysis of every pair of one archive (goal: 1,000 charts, about 10^6 ordered
// pairs, within 10 s): one ASP condition between the two charts (the Sun of chart 1 in any major
// aspect to the Moon of chart 2 by a system's orbs), over a generated archive whose charts differ
// record by record.
#include <benchmark/benchmark.h>

#include <string>

#include "archive_bench.h"
#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_context.h"
#include "bench_support.h"
#include "conditions/core/cfunc.h"
#include "conditions/core/synastry_run.h"
#include "foundation/config/configuration.h"
#include "foundation/text/cp1251.h"

namespace {

void SynastryEveryPair(benchmark::State& state) {
  const int records = static_cast<int>(state.range(0));
  archive_bench::SilentPrompter prompter;
  platform::SetPrompter(&prompter);
  const bench::TempFolder folder("velm-bench-synastry");
  if (!bench::WriteTenAspectSystem(folder.Path(), "BENCH"))
    state.SkipWithError("the aspect system cannot be written");
  Aspectarium aspectarium;
  aspectarium.LoadAll(folder.Path());
  const Configuration config;

  CFunc set;
  set.synastry = true;
  set.ParseFuncs(Cp1251("1 + 100 0 1 1000 \x03 \x03 BENCH 0 0 0 1 0 0 511 3 3 0 0\n"),
                 CFunc::kCapacity);
  SynastryRequest request;
  request.mode = kSynEveryPair;
  request.archive = archive_bench::WriteArchive("pairs" + std::to_string(records) + ".arc", records,
                                                archive_bench::SpreadChart)
                        .string();
  const ChartContext context(config, aspectarium);
  platform::NullProgress progress;
  int found = 0;
  std::int64_t pairs = 0;
  for (auto _ : state) {
    CSynAnalResults results;
    pairs = RunSynastry(set, context, request, results, progress).pairs;
    found = results.ResultCount();
    benchmark::DoNotOptimize(found);
  }
  state.counters["pairs"] = static_cast<double>(pairs);
  state.counters["found"] = found;
  platform::SetPrompter(nullptr);
}
BENCHMARK(SynastryEveryPair)->Arg(100)->Arg(1000)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
