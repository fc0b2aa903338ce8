// Exporting an archive of 100,000 records in the shipped format, name; date; time; zone; place;
// coordinates (goal 5 s).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "archive/comments/comment_slots.h"
#include "archive/export/export_formats.h"
#include "archive/store/archive.h"
#include "archive_bench.h"
#include "bench_support.h"

namespace {

constexpr int kRecords = 100000;

void BM_ExportArchive(benchmark::State& state) {
  archive_bench::SilentPrompter prompter;
  platform::SetPrompter(&prompter);
  const std::filesystem::path file = archive_bench::WriteArchive("export.arc", kRecords, [](int i) {
    Chart chart = bench::MoscowChart(1 + i % 28, 1 + i % 12, 1900 + i % 120, i % 24, i % 60);
    char name[32];
    std::snprintf(name, sizeof name, "Person %06d", i);
    chart.definition.sources[0].SetName(name);
    chart.definition.sources[0].place.SetNames("Moskva", "RU");
    return chart;
  });
  CommentSlotTable slots;
  Archive archive(slots);
  AllExpFormats formats;
  if (archive.SetPath(file.string()) == -1 || archive.CreateIndex() != 0 ||
      formats.Load(bench::DataFolder() / "velm.exp") != 0)
    state.SkipWithError("no archive or format");
  const std::filesystem::path out = file.parent_path() / "export.csv";
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove(out);
    state.ResumeTiming();
    if (archive.Export().ExportArchive(out.string(), 0, formats) != kRecords)
      state.SkipWithError("export failed");
  }
  platform::SetPrompter(nullptr);
}
BENCHMARK(BM_ExportArchive)->Unit(benchmark::kMillisecond);

}  // namespace
