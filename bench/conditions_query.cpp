// The archive query over the current archive (goals: 10,000 records within 1 s, 100,000 within
// 10 s): five conditions joined by a logic expression, so that every one is decided on every
// chart (an aspect of the Sun and Moon by a system's orbs, a sign, a house, a birth date and a
// planet-group aspect), over a generated archive whose charts differ record by record.
#include <benchmark/benchmark.h>

#include <string>

#include "archive/comments/comment_slots.h"
#include "archive/store/archive.h"
#include "archive_bench.h"
#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_context.h"
#include "bench_support.h"
#include "conditions/core/cfunc.h"
#include "conditions/core/query_run.h"
#include "foundation/config/configuration.h"
#include "foundation/text/cp1251.h"

namespace {

void QueryCurrentArchive(benchmark::State& state) {
  const int records = static_cast<int>(state.range(0));
  archive_bench::SilentPrompter prompter;
  platform::SetPrompter(&prompter);
  const bench::TempFolder folder("velm-bench-query");
  if (!bench::WriteTenAspectSystem(folder.Path(), "BENCH"))
    state.SkipWithError("the aspect system cannot be written");
  Aspectarium aspectarium;
  aspectarium.LoadAll(folder.Path());
  const Configuration config;

  CFunc set;
  GroupRecord inner;
  inner.name = "Inner";
  inner.count = 3;
  inner.members = {2, 3, 4};
  set.groups.AddGroup('P', inner);
  set.ParseFuncs(Cp1251("1 + 0 0 1 1000 \x03 \x03 BENCH 0 0 0 1 0 0 511 3 3 0 0\n"
                        "2 + 1 0 100 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n"
                        "3 + 1 1 200 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n"
                        "4 + 4 0 1 0 \x03 \x03 \x03 0 0 0 1 1 1950 1 0 0 0 0\n"
                        "5 + 0 500 5 1000 Inner[одна_из] \x03 BENCH 0 0 0 1 0 0 511 3 3 0 0\n"),
                 CFunc::kCapacity);
  set.mode = 2;
  if (!set.SetLogic("1|2|3|4|5")) state.SkipWithError("the expression is refused");

  const auto file = archive_bench::WriteArchive("query" + std::to_string(records) + ".arc", records,
                                                archive_bench::SpreadChart);
  CommentSlotTable slots;
  Archive archive(slots);
  if (archive.SetPath(file.string()) < 0 || archive.CreateIndex() != 0)
    state.SkipWithError("the archive cannot be opened");
  const ChartContext context(config, aspectarium);
  platform::NullProgress progress;
  int hits = 0;
  for (auto _ : state) {
    archive.ClearMarks();
    hits = RunQuery(archive, set, context, {}, progress).hits;
    benchmark::DoNotOptimize(hits);
  }
  state.counters["hits"] = hits;
  platform::SetPrompter(nullptr);
}
BENCHMARK(QueryCurrentArchive)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

}  // namespace
