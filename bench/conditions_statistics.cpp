// The archive statistics (goal: kind 2, the sign and house of the Sun, over 100,000 records within
// 3 s): every record read once and put in one of 144 buckets, over a generated archive whose
// charts differ record by record.
#include <benchmark/benchmark.h>

#include "archive/comments/comment_slots.h"
#include "archive/store/archive.h"
#include "archive_bench.h"
#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_context.h"
#include "conditions/core/statistic.h"
#include "foundation/config/configuration.h"

namespace {

void StatisticsSignAndHouse(benchmark::State& state) {
  const int records = static_cast<int>(state.range(0));
  archive_bench::SilentPrompter prompter;
  platform::SetPrompter(&prompter);
  const auto file = archive_bench::WriteArchive("statistics" + std::to_string(records) + ".arc",
                                                records, archive_bench::SpreadChart);
  CommentSlotTable slots;
  Archive archive(slots);
  if (archive.SetPath(file.string()) < 0 || archive.CreateIndex() != 0)
    state.SkipWithError("the archive cannot be opened");
  const Configuration config;
  const Aspectarium aspectarium;
  const ChartContext context(config, aspectarium);
  cfg::StatisticsRecord settings;
  settings.kind = kStatPointSignHouse;
  platform::NullProgress progress;
  int total = 0;
  for (auto _ : state) {
    Statistic statistic;
    statistic.Init(settings, context);
    statistic.Calculate(archive, progress);
    total = statistic.Results().total;
    benchmark::DoNotOptimize(total);
  }
  state.counters["charts"] = total;
  platform::SetPrompter(nullptr);
}
BENCHMARK(StatisticsSignAndHouse)->Arg(100'000)->Unit(benchmark::kMillisecond);

}  // namespace
