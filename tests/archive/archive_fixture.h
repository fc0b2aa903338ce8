// Shared by the archive tests: a data folder of its own, a scripted prompter, charts with known
// fields and archive files written byte by byte from their layout.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "archive/comments/comment_slots.h"
#include "archive/store/archive.h"
#include "foundation/config/configuration.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/files/settings.h"
#include "foundation/text/cp1251.h"
#include "support/fault_walk.h"
#include "support/test_support.h"

namespace archive_test {

using testing_support::ReadFile;
using testing_support::WriteFile;

// A natal chart whose base Source carries these fields.
inline Chart MakeChart(const std::string& name, int day = 1, int month = 2, int year = 1990) {
  Chart c;
  c.definition.SetKind(kChartNatal);
  Source& s = c.definition.sources[0];
  s.SetName(name);
  EXPECT_TRUE(s.moment.date.SetDate(day, month, year, 'A').ok());
  EXPECT_TRUE(s.moment.time.SetTime(13, 45, 0).ok());
  EXPECT_TRUE(s.zone.SetTime(3, 0, 0, '+').ok());
  EXPECT_TRUE(s.place.SetPlace(55, 45, 'N', 37, 37, 'E', "Moskva", "RU").ok());
  c.definition.SetTitle("title " + name);
  // The name the loader gives a chart while no aspect system is loaded.
  c.definition.SetAspectSystemName(GetConfiguration().GetSystemName(kChartNatal));
  c.houseSystem = 0;
  return c;
}

inline std::string Header(int layout) {
  BinaryWriter w;
  if (layout == kLayout4200) w.I32(4200);
  if (layout == kLayout4400) w.I32(4400);
  return w.Take();
}

// One record of a layout: the chart record, and for 4400 the reference block.
inline std::string RecordBytes(const Chart& chart, int layout,
                               const CommentRefBlock& block = CommentRefBlock()) {
  BinaryWriter w;
  Chart stored = chart;
  stored.commentSlot = 0;
  stored.Save(w, layout == kLayout4000 ? 4000 : 4200);
  if (layout == kLayout4400) block.Write(w);
  return w.Take();
}

inline std::string ArchiveBytes(int layout, const std::vector<Chart>& charts,
                                const std::vector<CommentRefBlock>& blocks = {}) {
  std::string bytes = Header(layout);
  for (std::size_t i = 0; i < charts.size(); ++i)
    bytes += RecordBytes(charts[i], layout, i < blocks.size() ? blocks[i] : CommentRefBlock());
  return bytes;
}

inline CommentRefBlock Block(
    std::initializer_list<std::tuple<int, std::uint32_t, std::uint16_t>> pages) {
  CommentRefBlock b;
  for (const auto& [k, offset, length] : pages) {
    b.offsets[static_cast<std::size_t>(k)] = offset;
    b.lengths[static_cast<std::size_t>(k)] = length;
  }
  return b;
}

using testing_support::Restore;
using testing_support::Snapshot;

class ArchiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GetSettings().SetFolder(folder_.Path());
    ArmFileFault(0);
  }
  void TearDown() override {
    ArmFileFault(0);
    GetSettings().SetFolder({});
  }
  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
  // Writes an archive file and makes it current and indexed.
  void OpenArchive(const std::string& name, int layout, const std::vector<Chart>& charts,
                   const std::vector<CommentRefBlock>& blocks = {}) {
    WriteFile(PathOf(name), ArchiveBytes(layout, charts, blocks));
    ASSERT_EQ(archive_.SetPath(PathOf(name)), layout);
    ASSERT_EQ(archive_.CreateIndex(), 0);
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (int n = 0; n < archive_.RecordCount(); ++n) names.push_back(archive_.Entry(n).name);
    return names;
  }
  void Mark(std::initializer_list<int> records) {
    for (int n : records) archive_.Entry(n).mark = 'Y';
  }

  testing_support::TempFolder folder_;
  testing_support::ScriptedPrompter prompts_;
  CommentSlotTable slots_;
  Archive archive_{slots_};
};

}  // namespace archive_test
