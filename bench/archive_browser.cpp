// The archive browser over 100,000 records: opening the archive and showing its list (index, rows
// and the first screen drawn; goal 1 s), and drawing one screen of rows anywhere in the list.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "archive/comments/comment_slots.h"
#include "archive/store/archive.h"
#include "archive/store/archive_browser_list.h"
#include "archive_bench.h"
#include "platform/core/recording_dc.h"

namespace {

constexpr int kRecords = 100000;
constexpr int kListWidth = 640;
constexpr int kListHeight = 420;  // 30 rows of 14 pixels on the recording device

using archive_bench::SilentPrompter;

// 100,000 records with names, places and dates, written at the first use.
std::filesystem::path BigArchive() {
  static const std::filesystem::path path =
      archive_bench::WriteArchive("browser.arc", kRecords, [](int i) {
        Chart c;
        Source& s = c.definition.sources[0];
        char name[24];
        std::snprintf(name, sizeof name, "Record number %06d", i);
        s.SetName(name);
        (void)s.moment.date.SetDate(1 + i % 28, 1 + i % 12, 1900 + i % 120, 'A');
        (void)s.moment.time.SetTime(i % 24, i % 60, 0);
        (void)s.place.SetPlace(i % 90, i % 60, 'N', i % 180, i % 60, 'E', "Moskva", "RU");
        c.definition.SetTitle("benchmark");
        return c;
      });
  return path;
}

// What the browser does to show a newly chosen archive: its index, the rows, the first screen.
void BM_OpenAndList(benchmark::State& state) {
  SilentPrompter prompter;
  platform::SetPrompter(&prompter);
  CommentSlotTable slots;
  Archive archive(slots);
  const std::string path = BigArchive().string();
  ArchiveBrowserList list(archive.Index());
  for (auto _ : state) {
    if (archive.OpenByName(path) != 0) state.SkipWithError("no archive");
    list.Refill();
    list.SyncSelection(ArchiveBrowserList::Sync::kMarksToList);
    platform::RecordingDc dc;
    benchmark::DoNotOptimize(list.Paint(dc, kListWidth, kListHeight));
  }
  state.counters["records"] = list.RecordRowCount();
  platform::SetPrompter(nullptr);
}
BENCHMARK(BM_OpenAndList)->Unit(benchmark::kMillisecond);

// One screen of rows drawn deep in the list: the cost does not grow with the archive.
void BM_PaintOneScreen(benchmark::State& state) {
  SilentPrompter prompter;
  platform::SetPrompter(&prompter);
  CommentSlotTable slots;
  Archive archive(slots);
  if (archive.OpenByName(BigArchive().string()) != 0) state.SkipWithError("no archive");
  ArchiveBrowserList list(archive.Index());
  list.Refill();
  list.SetTopRow(kRecords / 2, 30);
  int rows = 0;
  for (auto _ : state) {
    platform::RecordingDc dc;
    rows = list.Paint(dc, kListWidth, kListHeight);
    benchmark::DoNotOptimize(rows);
  }
  state.counters["rows"] = rows;
  platform::SetPrompter(nullptr);
}
BENCHMARK(BM_PaintOneScreen)->Unit(benchmark::kMicrosecond);

}  // namespace
