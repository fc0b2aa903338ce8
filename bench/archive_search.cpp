// The archive search over an index of 100,000 records (comment text excluded): every record
// tested against a name in context, a date range and a latitude range (goal 0.2 s); the order
// of the sort by name and by a computed longitude.
#include "archive/store/archive_search.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <vector>

#include "archive/comments/comment_slots.h"
#include "archive/store/archive.h"
#include "archive/store/archive_sort.h"

namespace {

constexpr int kRecords = 100000;

std::vector<ArchiveIndexEntry> BigIndex() {
  std::vector<ArchiveIndexEntry> index(kRecords);
  char name[32];
  for (int i = 0; i < kRecords; ++i) {
    ArchiveIndexEntry& e = index[static_cast<std::size_t>(i)];
    std::snprintf(name, sizeof name, "Record number %06d   ", i);
    e.name = name;
    e.title = "benchmark";
    e.town = "Moskva";
    e.day = static_cast<std::uint16_t>(1 + i % 28);
    e.month = static_cast<std::uint16_t>(1 + i % 12);
    e.year = static_cast<std::uint16_t>(1 + i % 3000);
    e.era = i % 3 == 0 ? 'B' : 'A';
    e.latDegrees = static_cast<std::uint16_t>(i % 90);
    e.latMinutes = static_cast<std::uint16_t>(i % 60);
    e.latLetter = i % 2 == 0 ? 'N' : 'S';
  }
  return index;
}

void BM_SearchWholeIndex(benchmark::State& state) {
  const std::vector<ArchiveIndexEntry> index = BigIndex();
  CommentSlotTable slots;
  Archive archive(slots);
  ArchiveSearchCriteria c;
  c.name = "number 0";
  c.nameContext = true;
  c.dateOn = c.dateRange = true;
  c.date1 = {10, 5, 100, 'B'};
  c.date2 = {31, 12, 1990, 'A'};
  c.latOn = c.latRange = true;
  c.lat1 = {10, 0, 'S'};
  c.lat2 = {60, 0, 'N'};
  for (auto _ : state) {
    const ArchiveMatcher matcher(archive.Index(), archive.Comments(), c);
    int found = 0;
    for (int n = 0; n < kRecords; ++n)
      found += matcher.MatchesEntry(index[static_cast<std::size_t>(n)], n) ? 1 : 0;
    benchmark::DoNotOptimize(found);
  }
}
BENCHMARK(BM_SearchWholeIndex)->Unit(benchmark::kMillisecond);

// The order of the archive sort over 100,000 index entries by name (the whole sort's goal is
// 3 s, file rewrite included) and by a computed longitude given per record (goal 10 s with the
// charts computed).
void BM_SortOrderByName(benchmark::State& state) {
  std::vector<ArchiveIndexEntry> index = BigIndex();
  for (int i = 0; i < kRecords; ++i)  // names in no order: "Record number ..." reversed digits
    index[static_cast<std::size_t>(i)].name[0] = static_cast<char>('A' + (i * 7919) % 26);
  for (auto _ : state) {
    const std::vector<int> order = ArchiveSortOrder(index, {kSortName, 0, 0}, {}, false);
    benchmark::DoNotOptimize(order.data());
  }
}
BENCHMARK(BM_SortOrderByName)->Unit(benchmark::kMillisecond);

void BM_SortOrderByLongitude(benchmark::State& state) {
  const std::vector<ArchiveIndexEntry> index = BigIndex();
  std::array<std::vector<ArchiveSortValue>, 3> values;
  for (int i = 0; i < kRecords; ++i) values[0].push_back({true, (i * 7919) % 360000 / 1000.0});
  for (auto _ : state) {
    const std::vector<int> order =
        ArchiveSortOrder(index, {kSortBodyLongitude, 0, 0}, values, false);
    benchmark::DoNotOptimize(order.data());
  }
}
BENCHMARK(BM_SortOrderByLongitude)->Unit(benchmark::kMillisecond);

}  // namespace
