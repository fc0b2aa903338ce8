// Importing a foreign chart file of 10,000 records: each record read, checked, computed (bodies,
// speeds, cusps) and written into a new archive (goal 5 s).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "archive/comments/comment_slots.h"
#include "archive/import/foreign_import.h"
#include "archive/store/archive.h"
#include "archive_bench.h"
#include "bench_support.h"
#include "foundation/files/safe_rewrite.h"

namespace {

constexpr int kRecords = 10000;

// A ".cat" file of kRecords births in Moscow, a day and 37 minutes apart from 1 January 1950.
std::string CatFile() {
  std::string text = "benchmark\n";
  for (int i = 0; i < kRecords; ++i) {
    char line[96];
    std::snprintf(line, sizeof line,
                  "|%02d.%02d.%04d %02d:%02d:00|N%05d|Moskva|+030000554500N0373700E\n", i % 28 + 1,
                  i / 28 % 12 + 1, 1950 + i / 336, i % 24, i * 37 % 60, i);
    text += line;
  }
  return text;
}

void BM_ImportCatFile(benchmark::State& state) {
  (void)bench::Tables();
  archive_bench::SilentPrompter prompter;
  const bench::TempFolder temp("velm-import-bench");
  const std::filesystem::path folder = temp.Path();
  const std::filesystem::path source = folder / "births.cat";
  (void)RewriteFile(source, CatFile());
  CommentSlotTable slots;
  Archive archive(slots);
  ForeignImport importer(archive);
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove(folder / "births.arc");
    state.ResumeTiming();
    std::string target;
    if (importer.ConvertToArchive(source.string(), target, kFileCat) != 0)
      state.SkipWithError("conversion failed");
  }
  state.counters["records"] = kRecords;
}
BENCHMARK(BM_ImportCatFile)->Unit(benchmark::kMillisecond);

}  // namespace
