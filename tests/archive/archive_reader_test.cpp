// The block reader of a run over the archive's records (a query, a statistic) against the record
// loader it stands in for: the same records in every layout, across block boundaries, read in
// order and out of order, and the same faults.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "archive/archive_fixture.h"
#include "archive/store/archive_records.h"

namespace archive_test {
namespace {

constexpr int kBlock = ArchiveRecords::Reader::kBlockRecords;

class ArchiveReaderTest : public ArchiveTest {
 protected:
  // Opens an archive of `count` charts named R0, R1, ... and a reader over it.
  void Open(const std::string& name, int layout, int count) {
    std::vector<Chart> charts;
    for (int i = 0; i < count; ++i) charts.push_back(MakeChart("R" + std::to_string(i)));
    OpenArchive(name, layout, charts);
    lock_ = std::make_unique<ListLock>(archive_.Index(), LockMode::kShared);
    handle_ = archive_.Open(*lock_);
    ASSERT_NE(handle_, nullptr);
  }
  void TearDown() override { archive_.Close(handle_); }
  // Record n read by the loader (`reader` null) or the reader: its name, or "-" for -1.
  std::string Read(int n, ArchiveRecords::Reader* reader = nullptr) {
    Chart chart;
    const int got = reader ? reader->Read(chart, n) : archive_.Load(handle_, chart, n);
    return got == n ? chart.definition.sources[0].Name() : "-";
  }
  std::unique_ptr<ListLock> lock_;
  std::FILE* handle_ = nullptr;
};

TEST_F(ArchiveReaderTest, ReadsWhatTheLoaderReadsInEveryLayoutAndOrder) {
  const int count = 2 * kBlock + 7;  // three blocks, the last one short
  // A walk, then jumps back and forth across the blocks, then the ends and past them.
  std::vector<int> order;
  for (int n = 0; n < count; ++n) order.push_back(n);
  for (int n : {count - 1, 0, kBlock, kBlock - 1, kBlock + 1, 2 * kBlock, 5, count, -1, count + 9})
    order.push_back(n);
  for (const int layout : {kLayout4000, kLayout4200, kLayout4400}) {
    SCOPED_TRACE(layout);
    Open("reader" + std::to_string(layout) + ".arc", layout, count);
    ASSERT_EQ(Read(1), "R1");  // the loader reads the file written
    std::vector<std::string> expected;
    for (int n : order) expected.push_back(Read(n));
    ArchiveRecords::Reader reader(archive_.Records(), handle_);
    for (std::size_t i = 0; i < order.size(); ++i)
      EXPECT_EQ(Read(order[i], &reader), expected[i]) << "record " << order[i] << ", read " << i;
    EXPECT_TRUE(prompts_.shown.empty());
    archive_.Close(std::exchange(handle_, nullptr));
  }
}

// Record 4's month made 200 after the index was built: reported as the loader reports it, and
// the next record reads.
TEST_F(ArchiveReaderTest, AnUnreadableRecordIsReportedAsTheLoaderReportsItAndTheNextOneReads) {
  Open("bad.arc", kLayout4400, kBlock + 3);
  std::string bytes = ReadFile(PathOf("bad.arc"));
  bytes[static_cast<std::size_t>(RecordOffset(kLayout4400, 4) + 35 + 2)] = static_cast<char>(200);
  WriteFile(PathOf("bad.arc"), bytes);
  ASSERT_EQ(Read(4), "-");
  ASSERT_EQ(prompts_.shown.size(), 1u);
  ArchiveRecords::Reader reader(archive_.Records(), handle_);
  EXPECT_EQ(Read(3, &reader) + Read(4, &reader) + Read(5, &reader), "R3-R5");
  ASSERT_EQ(prompts_.shown.size(), 2u);
  EXPECT_EQ(prompts_.shown[1].number, prompts_.shown[0].number);
}

// The size is taken once: a file cut short during a run ends the run with a read error rather
// than as if the archive had ended there.
TEST_F(ArchiveReaderTest, AFileCutShortDuringTheRunIsAReadError) {
  Open("cut.arc", kLayout4200, 3 * kBlock);
  ArchiveRecords::Reader reader(archive_.Records(), handle_);
  ASSERT_EQ(Read(0, &reader), "R0");
  std::filesystem::resize_file(PathOf("cut.arc"),
                               static_cast<std::uintmax_t>(RecordOffset(kLayout4200, kBlock + 10)));
  EXPECT_NE(Read(kBlock - 1, &reader), "-");  // still in the block read
  EXPECT_NE(Read(kBlock + 9, &reader), "-");  // the next block, cut short
  EXPECT_TRUE(prompts_.shown.empty());
  EXPECT_EQ(Read(kBlock + 10, &reader), "-");
  EXPECT_TRUE(prompts_.WasShown(ErrorReportNumber(kErrRead)));
}

}  // namespace
}  // namespace archive_test
