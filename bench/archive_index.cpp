// The archive with 100,000 records: building its index (goal 0.5 s) and saving one chart into it
// in alphabetical place (goal 50 ms).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "archive/comments/comment_slots.h"
#include "archive/store/archive.h"
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

// A layout-4400 archive of 100,000 records named in alphabetical order, written once.
std::filesystem::path BigArchive() {
  static const std::filesystem::path path = [] {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("velm-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    GetSettings().SetFolder(folder);
    const std::filesystem::path file = folder / "big.arc";
    BinaryWriter w;
    w.I32(4400);
    char name[16];
    for (int i = 0; i < kRecords; ++i) {
      std::snprintf(name, sizeof name, "N%06d", i);
      NamedChart(name).Save(w, 4200);
      CommentRefBlock().Write(w);
    }
    std::FILE* f = std::fopen(file.c_str(), "wb");
    std::fwrite(w.Data().data(), 1, w.Size(), f);
    std::fclose(f);
    static std::string made = folder.string();
    std::atexit([] { std::filesystem::remove_all(made); });
    return file;
  }();
  return path;
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

}  // namespace
