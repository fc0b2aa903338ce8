// Prediction lists. No speed goal is set for them; the figures show that a list kept without a
// record cap stays quick: a list of 10,000 records read, sorted by moment and saved, and 100
// events handed over to a list of 10,000. Counters: records per run.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_support.h"
#include "forecast/core/pred_list_file.h"

namespace {

constexpr int kRecords = 10000;

// Records in reverse order of their moments, with comments, written to "<name>.pls".
std::filesystem::path WriteList(const bench::TempFolder& folder, const std::string& name) {
  PredList list;
  for (int i = 0; i < kRecords; ++i) {
    PredListRecord r;
    (void)r.when.date.SetDate(1 + i % 28, 1 + (i / 28) % 12, 2100 - i / 336, 'A');
    (void)r.when.time.SetTime(i % 24, i % 60);
    r.moving = static_cast<std::int16_t>(i % 10);
    r.target = static_cast<std::int16_t>(i % 46);
    r.movingLongitude = (i * 7) % 360;
    r.targetLongitude = (i * 11) % 360;
    r.comment = "event number " + std::to_string(i);
    list.records.push_back(r);
  }
  const std::filesystem::path file = folder.Path() / (name + ".pls");
  (void)list.Save(file);
  return file;
}

void BM_LoadSortSave(benchmark::State& state) {
  bench::TempFolder folder("velm_bench_pred_lists");
  const std::filesystem::path file = WriteList(folder, "BIG");
  for (auto _ : state) {
    PredList list;
    (void)list.Load(file);
    list.SortByMoment();
    (void)list.Save(folder.Path() / "SORTED.pls");
    benchmark::DoNotOptimize(list.Count());
  }
  state.counters["records"] = kRecords;
}
BENCHMARK(BM_LoadSortSave)->Unit(benchmark::kMillisecond);

void BM_HandOver100(benchmark::State& state) {
  bench::TempFolder folder("velm_bench_pred_handover");
  const std::filesystem::path file = WriteList(folder, "BIG");
  std::vector<int> events(100);
  for (int i = 0; i < 100; ++i) events[static_cast<std::size_t>(i)] = i;
  for (auto _ : state) {
    state.PauseTiming();
    (void)WriteList(folder, "BIG");
    state.ResumeTiming();
    const PredListHandOver done = HandOverEvents(file, events, [](int i) {
      PredListRecord r;
      r.target = static_cast<std::int16_t>(i % 34);
      return std::optional<PredListRecord>(r);
    });
    benchmark::DoNotOptimize(done.written);
  }
  state.counters["records"] = 100;
}
BENCHMARK(BM_HandOver100)->Unit(benchmark::kMillisecond);

}  // namespace
