// The entry history: the most recent entry first, 30 kept per group, natal, horary and draconic
// sharing a group, the file read back as written, a damaged file refused, and the file kept
// whole when it cannot be read or rewritten.
#include "shell/core/entry/entry_history.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/files/safe_rewrite.h"
#include "shell/entry/enter_chart.h"
#include "shell_fixture.h"
#include "support/test_support.h"

namespace {

using testing_support::TempFolder;

SuperSource Numbered(int n, int kind) {
  SuperSource d;
  d.SetKind(static_cast<std::uint16_t>(kind));
  Source s;
  s.SetName("Person " + std::to_string(n));
  EXPECT_TRUE(s.moment.date.SetDate(1 + n % 28, 1 + n % 12, 1900 + n, 'A').ok());
  d.sources = {s, s, s};
  d.SetTitle("T" + std::to_string(n));
  return d;
}

TEST(EntryHistory, KeepsTheThirtyMostRecentNewestFirst) {
  EntryHistory h;
  EXPECT_EQ(h.Last(kChartNatal), nullptr);
  for (int n = 1; n <= 31; ++n) h.Remember(Numbered(n, kChartNatal));
  const auto& list = h.Entries(kChartNatal);
  ASSERT_EQ(list.size(), 30u);
  EXPECT_EQ(list.front().Title(), "T31");
  EXPECT_EQ(list.back().Title(), "T2") << "the oldest entry is dropped";
  ASSERT_NE(h.Last(kChartNatal), nullptr);
  EXPECT_EQ(*h.Last(kChartNatal), Numbered(31, kChartNatal));
}

TEST(EntryHistory, AnEntryMadeAgainMovesToTheFront) {
  EntryHistory h;
  for (int n = 1; n <= 3; ++n) h.Remember(Numbered(n, kChartTransit));
  h.Remember(Numbered(1, kChartTransit));
  const auto& list = h.Entries(kChartTransit);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].Title(), "T1");
  EXPECT_EQ(list[1].Title(), "T3");
  EXPECT_EQ(list[2].Title(), "T2");
}

TEST(EntryHistory, GroupsOfKinds) {
  EntryHistory h;
  h.Remember(Numbered(1, kChartNatal));
  h.Remember(Numbered(2, kChartHorary));
  h.Remember(Numbered(3, kChartTransit));
  EXPECT_EQ(h.Last(kChartDraconic)->Title(), "T2") << "natal, horary, draconic share";
  EXPECT_EQ(h.Entries(kChartNatal).size(), 2u);
  EXPECT_EQ(h.Last(kChartTransit)->Title(), "T3");
  EXPECT_EQ(h.Last(kChartProgressed), nullptr);
  EXPECT_EQ(h.Last(kChartLunarPhase), nullptr);
}

TEST(EntryHistoryFile, ReadBackAsWritten) {
  TempFolder folder;
  EntryHistory h;
  for (int n = 1; n <= 30; ++n) h.Remember(Numbered(n, kChartHorary));
  SuperSource synastry = Numbered(40, kChartSynastry);
  synastry.keyKind = 1;
  synastry.sources[1].SetName("Second");
  synastry.SetAspectSystemName("VELM");
  h.Remember(synastry);
  SuperSource progressed = Numbered(41, kChartProgressed);
  progressed.keyKind = 4;
  progressed.key = ProgressionKey{1, 2, 7, 3};
  progressed.converse = 1;
  h.Remember(progressed);
  ASSERT_TRUE(h.Save(folder / kEntryHistoryFile).ok());
  // 4 + 2 + 1 bytes, 8 counts, 32 definitions of 404 bytes.
  EXPECT_EQ(testing_support::ReadFile(folder / kEntryHistoryFile).size(), 7u + 8u + 32u * 404u);

  EntryHistory read;
  ASSERT_TRUE(read.Load(folder / kEntryHistoryFile).ok());
  for (int kind = 0; kind <= kChartLunarPhase; ++kind)
    EXPECT_EQ(read.Entries(kind), h.Entries(kind)) << kind;
  EXPECT_EQ(*read.Last(kChartSynastry), synastry);
  EXPECT_EQ(*read.Last(kChartProgressed), progressed);
}

TEST(EntryHistoryFile, MissingFileIsAnEmptyHistoryDamagedFileIsRefused) {
  TempFolder folder;
  EntryHistory h;
  EXPECT_TRUE(h.Load(folder / "none.ent").ok());
  h.Remember(Numbered(1, kChartNatal));
  ASSERT_TRUE(h.Save(folder / kEntryHistoryFile).ok());
  const std::string good = testing_support::ReadFile(folder / kEntryHistoryFile);

  struct Damage {
    const char* name;
    std::string bytes;
  };
  std::string badKind = good;
  badKind[7 + 1 + 351] = 12;  // the kind of the only definition: no chart kind 12
  std::string badDate = good;
  badDate[7 + 1 + 35] = 0;  // its first Source's day 0
  const Damage damages[] = {
      {"cut_short", good.substr(0, good.size() - 1)},
      {"trailing_byte", good + '\0'},
      {"bad_magic", "XENT" + good.substr(4)},
      {"kind_outside_0_9", badKind},
      {"day_zero", badDate},
  };
  for (const Damage& d : damages) {
    testing_support::WriteFile(folder / kEntryHistoryFile, d.bytes);
    EntryHistory read;
    read.Remember(Numbered(5, kChartNatal));
    EXPECT_EQ(read.Load(folder / kEntryHistoryFile).ErrorCode(), kErrFormat) << d.name;
    EXPECT_EQ(read.Last(kChartNatal), nullptr) << d.name;
  }
}

}  // namespace

// The history as the entry dialogs use it: a file that cannot be read is kept aside, never
// written over, and a failed rewrite keeps the old file.
namespace shell_test {
namespace {

namespace fs = std::filesystem;

TEST_F(ShellTest, AHistoryThatCannotBeReadIsKeptAsideBeforeANewOneIsWritten) {
  const fs::path file = GetSettings().GetPath(kEntryHistoryFile);
  struct Case {
    const char* name;
    std::string bytes;
    bool unreadable;
  };
  EntryHistory two;
  two.Remember(Numbered(1, kChartNatal));
  two.Remember(Numbered(2, kChartTransit));
  ASSERT_TRUE(two.Save(file).ok());
  const std::string good = testing_support::ReadFile(file);
  const Case cases[] = {
      {"damaged", "XENT" + good.substr(4), false},
      {"unreadable", good, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(fs::path(file.string() + ".bad"));
    testing_support::WriteFile(file, c.bytes);
    if (c.unreadable) ArmReadFault(file);
    prompts_.shown.clear();
    AnswerEntry(kMoscow);
    SuperSource definition;
    ASSERT_TRUE(EnterChartOfKind(definition, kChartNatal));
    ArmReadFault({});
    EXPECT_TRUE(prompts_.WasShown(1990));
    EXPECT_EQ(testing_support::ReadFile(file.string() + ".bad"), c.bytes);
    // The new history holds the entry just made.
    EntryHistory read;
    ASSERT_TRUE(read.Load(file).ok());
    ASSERT_EQ(read.Entries(kChartNatal).size(), 1u);
    EXPECT_EQ(read.Entries(kChartNatal).front().sources[0].Name(), Cp1251("Иванов"));
  }
}

TEST_F(ShellTest, EveryFailingStepOfTheHistorySaveKeepsTheOldFile) {
  const fs::path file = GetSettings().GetPath(kEntryHistoryFile);
  EntryHistory one;
  one.Remember(Numbered(1, kChartNatal));
  ArmFileFault(0);
  ASSERT_TRUE(one.Save(file).ok());
  const int operations = CountedFileOperations();
  ASSERT_GE(operations, 3);
  const std::string old = testing_support::ReadFile(file);
  for (int failing = 1; failing <= operations; ++failing) {
    SCOPED_TRACE(failing);
    prompts_.shown.clear();
    AnswerEntry(kMoscow);
    SuperSource definition;
    ArmFileFault(failing);
    EXPECT_TRUE(EnterChartOfKind(definition, kChartNatal)) << "the entry itself is kept";
    ArmFileFault(0);
    EXPECT_EQ(testing_support::ReadFile(file), old);
    EXPECT_TRUE(prompts_.WasShown(-104) || prompts_.WasShown(-105));
  }
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder_.Path())) ++files;
  EXPECT_EQ(files, 1u) << "no temporary file left";
}

}  // namespace
}  // namespace shell_test
