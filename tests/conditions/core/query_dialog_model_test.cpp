// The archive query dialog without its window: the archive list and its limits, the enabling of
// the buttons, the steps of OK (logic refusals, the history) and the run with its summary, the
// view settings and the colours of the two lists.
#include "conditions/core/query_dialog_model.h"

#include <gtest/gtest.h>

#include "conditions/query_test_support.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/drawing/palette.h"
#include "foundation/messages/message_numbers.h"
#include "platform/core/recording_dc.h"

namespace {

using condition_test::kSunInAries;
using condition_test::kSunMoonSquare;
using condition_test::TimesShown;
using platform::Answer;
using Q = cfg::QuerySettings;

std::string U(const std::string& utf8) { return Cp1251(utf8); }

class QueryDialogModelTest : public condition_test::QueryArchiveTest {
 protected:
  std::string ListFile(const char* name) const { return testing_support::ReadFile(folder_ / name); }
  // The model's set made of the condition lines (UTF-8).
  void UseModelConditions(const std::string& lines) {
    ASSERT_GT(model_.set.ParseFuncs(Cp1251(lines), CFunc::kCapacity).count, 0);
    model_.set.SetEnvironment(&config_, &aspects_);
  }

  QueryDialogModel model_;
  cfg::ByteBlock block_{Q::kSize};
};

TEST_F(QueryDialogModelTest, ArchiveListLimits) {
  const std::string first = WriteFixtureArchive("first.arc", "charts.txt");
  testing_support::WriteFile(folder_ / "text.arc", "not an archive");
  model_.currentArchiveOnly = false;
  const struct {
    const char* name;
    std::string path;
    int message;
  } adds[] = {
      {"added", first, 0},
      {"without_extension_is_the_same", (folder_ / "first").string(), 561},
      {"missing", (folder_ / "away.arc").string(), 1139},
      {"no_archive", (folder_ / "text.arc").string(), 477},
  };
  for (const auto& c : adds) EXPECT_EQ(model_.AddArchive(c.path), c.message) << c.name;
  EXPECT_EQ(ListFile("quearcs.lst"), "+" + first + "\n");
  EXPECT_EQ(model_.selectedArchive, 0);

  EXPECT_EQ(model_.ToggleArchive(), 0);
  EXPECT_EQ(ListFile("quearcs.lst"), "-" + first + "\n");
  EXPECT_EQ(model_.RemoveArchive(), 0);
  EXPECT_TRUE(model_.archives.empty());
  EXPECT_EQ(model_.selectedArchive, -1);
  EXPECT_EQ(ListFile("quearcs.lst"), "");
  // Nothing selected.
  EXPECT_EQ(model_.RemoveArchive(), 562);
  EXPECT_EQ(model_.ToggleArchive(), 562);
  // At 50 the list takes no more.
  model_.archives.assign(50, ArchiveListEntry{"/x.arc", true});
  EXPECT_EQ(model_.AddArchive(first), 560);
  EXPECT_EQ(model_.archives.size(), 50u);
}

TEST_F(QueryDialogModelTest, ButtonsFollowTheSwitchTheListsAndTheMode) {
  using E = QueryDialogEnabling;
  const struct {
    const char* name;
    bool current;
    int archives;
    int conditions;
    int mode;
    E expected;
  } cases[] = {
      {"current_archive", true, 2, 1, 0, {false, false, false, true, true, false}},
      {"list_empty", false, 0, 0, 1, {true, true, false, true, false, false}},
      {"list_filled_logic", false, 1, 100, 2, {true, true, true, false, true, true}},
  };
  for (const auto& c : cases) {
    model_.currentArchiveOnly = c.current;
    model_.archives.assign(static_cast<std::size_t>(c.archives), ArchiveListEntry{"/a.arc", true});
    model_.set.Clear();
    for (int i = 0; i < c.conditions; ++i)
      ASSERT_GT(model_.set.AddCondition(condition_test::Words({{1, 1}, {3, 100}})), 0);
    model_.set.mode = c.mode;
    EXPECT_EQ(model_.Enabling(), c.expected) << c.name;
  }
}

TEST_F(QueryDialogModelTest, ConditionSwitchIsSaved) {
  UseModelConditions(kSunMoonSquare + kSunInAries);
  model_.selectedCondition = 1;
  ASSERT_TRUE(model_.ToggleCondition());
  EXPECT_FALSE(model_.set.Condition(1).Enabled());
  EXPECT_EQ(ListFile("quefuncs.lst"),
            Cp1251(kSunMoonSquare) + "2 - 1 0 100 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n");
  model_.selectedCondition = -1;
  EXPECT_FALSE(model_.ToggleCondition());
}

TEST_F(QueryDialogModelTest, LogicRefusalsEndTheRunBeforeItStarts) {
  const struct {
    const char* name;
    std::string typed;
    int message;
    std::string text;
  } cases[] = {
      {"missing_number", "1 & 3", 602, U("Функция с номером 3 отсутствует в списке функций!")},
      {"two_numbers", "1 2", 598, ""},
      {"unbalanced", "(1", 595, ""},
  };
  UseModelConditions(kSunMoonSquare + kSunInAries);
  model_.set.mode = 2;
  for (const auto& c : cases) {
    EXPECT_FALSE(model_.PrepareRun(c.typed, block_)) << c.name;
    ASSERT_TRUE(prompts_.WasShown(c.message)) << c.name;
    if (!c.text.empty()) {
      EXPECT_EQ(prompts_.shown.back().text, c.text);
    }
  }
  EXPECT_TRUE(model_.history.empty());
  // A good expression goes to the head of the history as typed, cut to 100 characters.
  const std::string longTyped = "1 |" + std::string(120, ' ') + "2";
  ASSERT_TRUE(model_.PrepareRun("2 | 1", block_));
  ASSERT_FALSE(model_.PrepareRun(longTyped, block_));  // the "2" lies past 100 characters
  ASSERT_TRUE(model_.PrepareRun("1 & !2", block_));
  EXPECT_EQ(model_.history, (std::vector<std::string>{"1 & !2", "2 | 1"}));
  EXPECT_EQ(ListFile("quelogic.lst"), "1 & !2\n2 | 1\n");
  EXPECT_EQ(block_.Get(Q::kEvaluationMode), 2);
  // The list run with an empty list.
  model_.currentArchiveOnly = false;
  EXPECT_FALSE(model_.PrepareRun("1", block_));
  EXPECT_TRUE(prompts_.WasShown(1125));
  EXPECT_EQ(block_.Get(Q::kCurrentArchiveOnly), 0);
}

TEST_F(QueryDialogModelTest, OkRunsAndHandsTheResultsToTheView) {
  const std::string second = WriteFixtureArchive("second.arc", "kinds.txt");
  const std::string first = WriteFixtureArchive("first.arc", "charts.txt");
  UseModelConditions(kSunMoonSquare);
  model_.view.showArchives = false;
  const auto context = [this] { return Context(); };
  int opened = 0;
  const auto open = [&] {
    ++opened;
    return true;
  };
  // Over the current archive: the marks, the summary, no results view.
  model_.currentArchiveOnly = true;
  prompts_.Expect(kMsgLocalSpaceCharts, Answer::Yes);
  RunQueryFromDialog(model_, "", block_, archive_, context, platform::RunHere(progress_), open);
  EXPECT_EQ(Marked(), (std::vector<int>{1, 3, 4}));
  EXPECT_EQ(prompts_.shown.back().text, U("Просмотрено гороскопов - 8\nУсловию удовлетворяют - 3"));
  EXPECT_EQ(opened, 0);
  EXPECT_FALSE(model_.resultsShown);

  // Over the list: the header lines and the results handed over, the view opened.
  model_.currentArchiveOnly = false;
  model_.archives = {{first, true}, {second, true}};
  prompts_.Expect(kMsgLocalSpaceCharts, Answer::Yes);
  RunQueryFromDialog(model_, "", block_, archive_, context, platform::RunHere(progress_), open);
  EXPECT_EQ(opened, 1);
  EXPECT_TRUE(model_.resultsShown);
  EXPECT_EQ(archive_.Query().SelectedRecords().size(), 5u);
  EXPECT_EQ(
      archive_.resultHeaderLines,
      (std::vector<std::string>{U("      ЗАПРОС"), U("ASP(Солнце ; Луна ; \"90:00\" орб 1:00)"), "",
                                U("      РЕЗУЛЬТАТЫ")}));
  EXPECT_EQ(prompts_.shown.back().number, kMsgArchivesProcessed);
  EXPECT_EQ(prompts_.shown.back().text, U("Обработано архивов - 2\nПросмотрено гороскопов - 16\n"
                                          "Условию удовлетворяют - 5"));
  // No hit: nothing opened, the results freed.
  model_.archives = {{second, true}};
  UseModelConditions(kSunInAries);
  model_.set.Condition(0).w[3] = 107;  // the Sun in Scorpio: nowhere in kinds.txt
  RunQueryFromDialog(model_, "", block_, archive_, context, platform::RunHere(progress_), open);
  EXPECT_EQ(opened, 1);
  EXPECT_FALSE(model_.resultsShown);
  EXPECT_TRUE(archive_.Query().SelectedRecords().empty());
  prompts_.VerifyAllUsed();
}

TEST_F(QueryDialogModelTest, ViewSettingsDefaultsAndClamps) {
  // The program's defaults.
  const Configuration defaults;
  EXPECT_EQ(QueryViewSettings::FromBlock(defaults.query),
            (QueryViewSettings{2400, 1800, 60, 100, true, true}));
  // A zeroed block and values beyond the ranges.
  EXPECT_EQ(QueryViewSettings::FromBlock(block_),
            (QueryViewSettings{100, 100, 0, 0, false, false}));
  const QueryViewSettings wild{20000, 50, -5, 30000, true, false};
  EXPECT_EQ(wild.Clamped(), (QueryViewSettings{10000, 100, 0, 10000, true, false}));
  wild.ToBlock(block_);
  EXPECT_EQ(QueryViewSettings::FromBlock(block_), wild.Clamped());
}

TEST(QueryDialogLists, ColoursOfTheItems) {
  const platform::Color background{240, 240, 240};
  const struct {
    bool on;
    bool selected;
    int fill;  // palette number, -1 the list's background
    int text;
  } cases[] = {
      {true, false, -1, 0}, {true, true, 1, 14}, {false, false, -1, 7}, {false, true, 1, 7}};
  for (const auto& c : cases) {
    platform::RecordingDc dc;
    DrawQueryListItem(dc, {10, 20, 200, 36}, "x", c.on, c.selected, background);
    ASSERT_EQ(dc.Calls().size(), 2u);
    EXPECT_EQ(dc.Calls()[0].color, c.fill < 0 ? background : ColorByIndex(c.fill));
    EXPECT_EQ(dc.Calls()[1].color, ColorByIndex(c.text)) << c.on << c.selected;
    EXPECT_EQ(dc.Calls()[1].points.front(), (platform::Point{10, 20}));
    EXPECT_EQ(dc.Calls()[1].bkMode, platform::BkMode::Transparent);
  }
  // A long path: its first three characters, "..." and its end.
  const std::string path = "/home/user/archives/astrology/clients/2023/autumn/moscow.arc";
  EXPECT_EQ(QueryArchiveItemText(path), "/ho..." + path.substr(path.size() - 44));
  EXPECT_EQ(QueryArchiveItemText("/a/b.arc"), "/a/b.arc");
}

}  // namespace
