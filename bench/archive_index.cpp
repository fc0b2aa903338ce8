// The archive with 100,000 records: building its index (goal 0.5 s), saving one chart into it
// in alphabetical place (goal 50 ms), and sorting it in place by name (goal 3 s) and by the Sun's
// longitude read from every record (goal 10 s).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "archive/comments/comment_slots.h"
#include "archive/store/archive.h"
#include "archive/store/archive_sort.h"
#include "foundation/files/settings.h"
#include "platform/core/prompter.h"

namespace {

constexpr int kRecords = 100000;

// Answers nothing and shows nothing: the benchmark runs without a user.
class SilentPrompter final : public platform::Prompter {
 public:
  void ShowMessage(int, std::string_view, platform::Icon) override {}
  platform::Answer AskYesNo(int, std::string_view) override { return platform::Answer::No; }
  platform::Answer AskYesNoCancel(int, std::string_view) override {
    return platform::Answer::Cancel;
  }
  platform::Answer AskOkCancel(int, std::string_view) override { return platform::Answer::Cancel; }
  bool ChooseFile(platform::FileChoice&) override { return false; }
  bool InputText(int, std::string_view, std::string&) override { return false; }
};

Chart NamedChart(const std::string& name) {
  Chart c;
  c.definition.sources[0].SetName(name);
  c.definition.SetTitle("benchmark");
  return c;
}

std::filesystem::path MakeBigArchive(bool shuffled) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("velm-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  GetSettings().SetFolder(folder);
  const std::filesystem::path file = folder / (shuffled ? "shuffled.arc" : "big.arc");
  BinaryWriter w;
  w.I32(4400);
  char name[16];
  for (int i = 0; i < kRecords; ++i) {
    const int k = shuffled ? (i * 7919) % kRecords : i;
    std::snprintf(name, sizeof name, "%c%06d", shuffled ? 'A' + k % 26 : 'N', k);
    Chart chart = NamedChart(name);
    chart.points[0].longitude.Set(k % 36000 / 100.0);
    chart.Save(w, 4200);
    CommentRefBlock().Write(w);
  }
  std::FILE* f = std::fopen(file.c_str(), "wb");
  std::fwrite(w.Data().data(), 1, w.Size(), f);
  std::fclose(f);
  static std::string made = folder.string();
  std::atexit([] { std::filesystem::remove_all(made); });
  return file;
}

// A layout-4400 archive of 100,000 records, written at its first use: named in alphabetical order, or
// (`shuffled`) with names and Sun longitudes in no order.
std::filesystem::path BigArchive(bool shuffled = false) {
  if (shuffled) {
    static const std::filesystem::path unordered = MakeBigArchive(true);
    return unordered;
  }
  static const std::filesystem::path ordered = MakeBigArchive(false);
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
    if (archive.BreakToClasses(params) != 0 || archive.OrderClasses(params) != 0)
      state.SkipWithError("sort failed");
    archive.FreeClasses();
  }
  platform::SetPrompter(nullptr);
}
BENCHMARK(BM_SortWholeArchive)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
