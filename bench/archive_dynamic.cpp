// A dynamic archive of 30,001 records: a natal chart recomputed at every step and written
// (goal 5 s).
#include <benchmark/benchmark.h>

#include "archive/store/dynamic_archive.h"
#include "astro/chart/chart_context.h"
#include "bench_support.h"

namespace {

class NoProgress final : public platform::ProgressSink {
 public:
  void Begin() override {}
  void SetPos(int) override {}
  void End() override {}
  bool Cancelled() const override { return false; }
};

void BM_DynamicArchive30001(benchmark::State& state) {
  (void)bench::Tables();
  const bench::TempFolder folder("velm-bench-dynamic");
  const Chart chart = bench::MoscowChart(7, 7, 1977, 12, 0);
  FDate begin;
  (void)begin.SetDate(1, 1, 2000, 'A');
  NoProgress progress;
  for (auto _ : state) {
    const Status st =
        WriteDynamicArchive(ChartContext::FromCurrentSettings(), chart, begin, 1.0,
                            kDynamicArchiveMaxSteps, folder.Path() / "dyn.arc", progress);
    if (!st.ok()) state.SkipWithError("not written");
  }
}
BENCHMARK(BM_DynamicArchive30001)->Unit(benchmark::kMillisecond);

}  // namespace
