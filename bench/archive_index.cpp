// The archive with 100,000 records: building its index (goal 0.5 s), saving one chart into it
// in alphabetical place (goal 50 ms), and sorting it in place by name (goal 3 s) and by the Sun's
// longitude read from every record (goal 10 s).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "archive/comments/comment_slots.h"
#include "archive/store/archive.h"
#include "archive/store/archive_sort.h"
#include "archive_bench.h"

namespace {

constexpr int kRecords = 100000;

using archive_bench::SilentPrompter;

Chart NamedChart(const std::string& name) {
  Chart c;
  c.definition.sources[0].SetName(name);
  c.definition.SetTitle("benchmark");
  return c;
}

// 100,000 records, written at the first use: named in alphabetical order, or (`shuffled`) with
// names and Sun longitudes in no order.
std::filesystem::path BigArchive(bool shuffled = false) {
  auto make = [shuffled](int i) {
    const int k = shuffled ? (i * 7919) % kRecords : i;  // 7919 is prime: a permutation
    char name[16];
    std::snprintf(name, sizeof name, "%c%06d", shuffled ? 'A' + k % 26 : 'N', k);
    Chart chart = NamedChart(name);
    chart.points[0].longitude.Set(k % 36000 / 100.0);
    return chart;
  };
  if (shuffled) {
    static const std::filesystem::path unordered =
        archive_bench::WriteArchive("shuffled.arc", kRecords, make);
    return unordered;
  }
  static const std::filesystem::path ordered =
      archive_bench::WriteArchive("big.arc", kRecords, make);
  return ordered;
}

void BM_CreateIndex(benchmark::State& state) {
  SilentPrompter prompter;
  platform::SetPrompter(&prompter);
  CommentSlotTable slots;
  Archive archive(slots);
  if (archive.SetPath(BigArchive().string()) == -1) state.SkipWithError("no archive");
  for (auto _ : state) {
    if (archive.CreateIndex() != 0) state.SkipWithError("index failed");
    benchmark::DoNotOptimize(archive.RecordCount());
  }
  platform::SetPrompter(nullptr);
}
BENCHMARK(BM_CreateIndex)->Unit(benchmark::kMillisecond);

void BM_SaveInAlphabeticalPlace(benchmark::State& state) {
  SilentPrompter prompter;
  platform::SetPrompter(&prompter);
  CommentSlotTable slots;
  Archive archive(slots);
  if (archive.SetPath(BigArchive().string()) == -1 || archive.CreateIndex() != 0)
    state.SkipWithError("no archive");
  archive.saveTargetMode = 0;
  archive.insertionMode = 1;
  const Chart chart = NamedChart("N050000a");  // the middle of the archive
  for (auto _ : state) {
    if (archive.SaveToArchive(chart) != 0) state.SkipWithError("save failed");
  }
  platform::SetPrompter(nullptr);
}
BENCHMARK(BM_SaveInAlphabeticalPlace)->Unit(benchmark::kMillisecond);

// Each pass reverses the order of the one before, so every pass moves every record.
void BM_SortWholeArchive(benchmark::State& state) {
  SilentPrompter prompter;
  platform::SetPrompter(&prompter);
  CommentSlotTable slots;
  Archive archive(slots);
  if (archive.SetPath(BigArchive(true).string()) == -1 || archive.CreateIndex() != 0)
    state.SkipWithError("no archive");
  ArchiveSortParams params;
  params.keys = {state.range(0) == 0 ? kSortName : kSortBodyLongitude, kSortNone, kSortNone};
  for (auto _ : state) {
    params.descending = !params.descending;
    if (archive.Sorting().BreakToClasses(params) != 0 ||
        archive.Sorting().OrderClasses(params) != 0)
      state.SkipWithError("sort failed");
    archive.Sorting().FreeClasses();
  }
  platform::SetPrompter(nullptr);
}
BENCHMARK(BM_SortWholeArchive)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
