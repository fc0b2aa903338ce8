// The block reader of a run over the archive's records (a query, a statistic) against the record
// loader it stands in for: the same records in every layout, across block boundaries, read in
// order and out of order, and the same faults.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/archive_fixture.h"
#include "archive/store/archive_records.h"

namespace archive_test {
namespace {

constexpr int kBlock = ArchiveRecords::Reader::kBlockRecords;

std::vector<Chart> NumberedCharts(int count) {
  std::vector<Chart> charts;
  for (int i = 0; i < count; ++i) charts.push_back(MakeChart("R" + std::to_string(i)));
  return charts;
}

std::string NameOf(const Chart& chart) { return chart.definition.sources[0].Name(); }

class ArchiveReaderTest : public ArchiveTest {
 protected:
  // What the loader gives for record n: the name, or "-" for -1.
  std::string Loaded(int n) {
    std::FILE* handle = archive_.Open();
    Chart chart;
    const int got = archive_.Load(handle, chart, n, false);
    archive_.Close(handle);
    return got == n ? NameOf(chart) : "-";
  }
};

TEST_F(ArchiveReaderTest, ReadsWhatTheLoaderReadsInEveryLayoutAndOrder) {
  const int count = 2 * kBlock + 7;  // three blocks, the last one short
  const struct {
    const char* name;
    int layout;
  } layouts[] = {{"4000", kLayout4000}, {"4200", kLayout4200}, {"4400", kLayout4400}};
  // Record numbers in the order they are asked for: a walk, then jumps back and forth across
  // the blocks, then the ends and past them.
  std::vector<int> order;
  for (int n = 0; n < count; ++n) order.push_back(n);
  for (int n : {count - 1, 0, kBlock, kBlock - 1, kBlock + 1, 2 * kBlock, 5, count, -1, count + 9})
    order.push_back(n);
  for (const auto& l : layouts) {
    OpenArchive(std::string("reader") + l.name + ".arc", l.layout, NumberedCharts(count));
    std::vector<std::string> expected;
    for (int n : order) expected.push_back(Loaded(n));
    ASSERT_EQ(expected[1], "R1") << l.name;  // the loader reads the file written

    std::FILE* handle = archive_.Open();
    ASSERT_NE(handle, nullptr);
    ArchiveRecords::Reader reader(archive_.Records(), handle);
    for (std::size_t i = 0; i < order.size(); ++i) {
      Chart chart;
      const int got = reader.Read(chart, order[i]);
      EXPECT_EQ(got == order[i] ? NameOf(chart) : "-", expected[i])
          << l.name << ": record " << order[i] << " (read " << i << ")";
    }
    archive_.Close(handle);
    EXPECT_TRUE(prompts_.shown.empty()) << l.name;
  }
}

TEST_F(ArchiveReaderTest, AnUnreadableRecordIsReportedAsTheLoaderReportsItAndTheNextOneReads) {
  const int count = kBlock + 3;
  OpenArchive("bad.arc", kLayout4400, NumberedCharts(count));
  // Record 4's month becomes 200 after the index was built.
  const std::int64_t month = RecordOffset(kLayout4400, 4) + 35 + 2;
  std::string bytes = ReadFile(PathOf("bad.arc"));
  bytes[static_cast<std::size_t>(month)] = static_cast<char>(200);
  WriteFile(PathOf("bad.arc"), bytes);
  ASSERT_EQ(Loaded(4), "-");
  ASSERT_EQ(prompts_.shown.size(), 1u);
  const int report = prompts_.shown[0].number;
  prompts_.shown.clear();

  std::FILE* handle = archive_.Open();
  ArchiveRecords::Reader reader(archive_.Records(), handle);
  Chart chart;
  EXPECT_EQ(reader.Read(chart, 3), 3);
  EXPECT_EQ(reader.Read(chart, 4), -1);
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].number, report);
  EXPECT_EQ(reader.Read(chart, 5), 5);
  EXPECT_EQ(NameOf(chart), "R5");
  archive_.Close(handle);
}

// The size is taken once: a file cut short during a run ends the run with a read error rather
// than as if the archive had ended there.
TEST_F(ArchiveReaderTest, AFileCutShortDuringTheRunIsAReadError) {
  const int count = 3 * kBlock;
  OpenArchive("cut.arc", kLayout4200, NumberedCharts(count));
  std::FILE* handle = archive_.Open();
  ArchiveRecords::Reader reader(archive_.Records(), handle);
  Chart chart;
  ASSERT_EQ(reader.Read(chart, 0), 0);
  std::filesystem::resize_file(PathOf("cut.arc"),
                               static_cast<std::uintmax_t>(RecordOffset(kLayout4200, kBlock + 10)));
  EXPECT_EQ(reader.Read(chart, kBlock - 1), kBlock - 1);  // still in the block read
  EXPECT_EQ(reader.Read(chart, kBlock + 9), kBlock + 9);  // the next block, cut short
  EXPECT_TRUE(prompts_.shown.empty());
  EXPECT_EQ(reader.Read(chart, kBlock + 10), -1);
  EXPECT_TRUE(prompts_.WasShown(ErrorReportNumber(kErrRead)));
  archive_.Close(handle);
}

}  // namespace
}  // namespace archive_test
