// The aspect graph's sheet and dialogs as page models: the calculation page's enabling and edits
// (each written to "velm.agr" at once, moves included; a new list leaves the selected one as it
// was), its date check and what its OK commits; the list dialog's checks; the pair dialog's
// rules; the display page's block words; the texts of the dialog of one sample.
#include "views/core/asp_graph_pages.h"

#include <gtest/gtest.h>

#include "asp_graph_fixture.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/datetime/fdate.h"
#include "foundation/drawing/palette.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/text/cp1251.h"
#include "platform/core/recording_dc.h"

namespace {

using aspgraph_test::Pair;
using platform::Answer;

class AspGraphPagesTest : public aspgraph_test::AspGraphFixture {
 protected:
  AspGraphPagesTest() { data_.SetFile(folder_.Path() / "velm.agr"); }

  // Two lists: "one" (period 5, house class 2) with three pairs, "two" without pairs.
  void TwoLists() {
    ASSERT_TRUE(data_.AddList("one", 5, 2).ok());
    for (int body : {0, 1, 2}) ASSERT_TRUE(data_.AddPair(0, Pair(body, 6, 0, 3, 0, 0)).ok());
    ASSERT_TRUE(data_.AddList("two", 0, 1).ok());
  }
  AspGraphCalcPage Page(int configSelected = 0) {
    return AspGraphCalcPage(data_, systems_, configSelected, firstDay_);
  }
  // The store as the file holds it now.
  CAspGraphData Reloaded() const {
    CAspGraphData again;
    EXPECT_TRUE(again.Load(data_.File()).ok());
    return again;
  }

  CAspGraphData data_;
};

TEST_F(AspGraphPagesTest, ControlsAreEnabledByTheListsAndPairsThere) {
  struct Row {
    const char* name;
    int lists, pairs;  // lists in the store, pairs of the selected one
    bool listControls, pairControls, pairAdd, listAdd;
  } rows[] = {
      {"empty_store", 0, 0, false, false, false, true},
      {"list_without_pairs", 1, 0, true, false, true, true},
      {"list_with_pairs", 1, 3, true, true, true, true},
      {"full_list", 1, 24, true, true, false, true},
      {"full_store", 100, 1, true, true, true, false},
  };
  for (const Row& row : rows) {
    CAspGraphData data;
    for (int k = 0; k < row.lists; ++k) ASSERT_TRUE(data.AddList(std::to_string(k), 0, 1).ok());
    for (int j = 0; j < row.pairs; ++j) ASSERT_TRUE(data.AddPair(0, Pair(0, 1, 0, 0, 0, 0)).ok());
    AspGraphCalcPage page(data, systems_, 0, firstDay_);
    EXPECT_EQ(page.ListControlsEnabled(), row.listControls) << row.name;
    EXPECT_EQ(page.PairControlsEnabled(), row.pairControls) << row.name;
    EXPECT_EQ(page.PairAddEnabled(), row.pairAdd) << row.name;
    EXPECT_EQ(page.ListAddEnabled(), row.listAdd) << row.name;
    EXPECT_EQ(page.CheckAddList(), row.listAdd ? 0 : kMsgTooManyLists) << row.name;
  }
}

TEST_F(AspGraphPagesTest, ThePageOpensOnTheChartsDateAndTheConfiguredList) {
  TwoLists();
  EXPECT_EQ(Page(1).SelectedList(), 1);
  EXPECT_EQ(Page(2).SelectedList(), 0);  // no such list
  const AspGraphCalcPage page = Page(0);
  EXPECT_EQ(page.day, 1);
  EXPECT_EQ(page.year, 2014);
  EXPECT_EQ(page.ListNames(), (std::vector<std::string>{"one", "two"}));
  ASSERT_EQ(page.PairTexts().size(), 3u);
  EXPECT_EQ(Utf8(page.PairTexts()[1]), "Луна[Транз.] - Венера[Рад.] {WIDE}");
}

TEST_F(AspGraphPagesTest, ANewListTakesTheDialogsValuesAndLeavesTheSelectedListAlone) {
  TwoLists();
  AspGraphCalcPage page = Page(0);
  AspGraphSetModel dialog = AspGraphSetModel::ForNewList();
  dialog.name = "new";
  dialog.period = 7;
  dialog.houseOrbClass = 4;
  ASSERT_EQ(dialog.Accept(data_), 0);
  page.AddList(dialog);
  EXPECT_EQ(page.SelectedList(), 2);
  const CAspGraphData saved = Reloaded();
  ASSERT_EQ(saved.ListCount(), 3);
  EXPECT_EQ(saved.List(0).period, 5);
  EXPECT_EQ(saved.List(0).houseOrbClass, 2);
  EXPECT_EQ(saved.List(2).name, "new");
  EXPECT_EQ(saved.List(2).period, 7);
  EXPECT_EQ(saved.List(2).houseOrbClass, 4);
}

TEST_F(AspGraphPagesTest, AReorderIsSavedAtOnceAndTheSelectionFollows) {
  TwoLists();
  AspGraphCalcPage page = Page(0);
  page.SelectPair(0);
  page.MovePairDown();
  EXPECT_EQ(page.SelectedPair(), 1);
  page.MovePairDown();
  page.MovePairDown();  // the last pair stays where it is
  EXPECT_EQ(page.SelectedPair(), 2);
  page.SelectPair(1);
  page.MovePairUp();
  EXPECT_EQ(page.SelectedPair(), 0);
  // The sheet is gone (no OK): the file keeps the order Sun, Mercury, Moon -> Mercury, Moon, Sun.
  const CAspGraphData saved = Reloaded();
  EXPECT_EQ(saved.List(0).pairs[0].fromBody, 2);
  EXPECT_EQ(saved.List(0).pairs[1].fromBody, 1);
  EXPECT_EQ(saved.List(0).pairs[2].fromBody, 0);
}

TEST_F(AspGraphPagesTest, DeletionsAskFirstAndKeepASelectionInTheList) {
  TwoLists();
  AspGraphCalcPage page = Page(1);
  prompts_.Expect(kMsgDeleteGraphList, Answer::No);
  page.DeleteList();
  EXPECT_EQ(data_.ListCount(), 2);
  EXPECT_EQ(Utf8(prompts_.shown.back().text), "Вы уверены, что ходите удалить список\n two?");

  prompts_.Expect(kMsgDeleteGraphList, Answer::Yes);
  page.DeleteList();  // the last list: the one before is selected
  EXPECT_EQ(page.SelectedList(), 0);
  EXPECT_EQ(Reloaded().ListCount(), 1);

  page.SelectPair(2);
  prompts_.Expect(kMsgDeletePair, Answer::Yes);
  page.DeletePair();
  EXPECT_EQ(Utf8(prompts_.shown.back().text),
            "Вы уверены, что ходите удалить аспект\n Меркурий[Транз.] - Венера[Рад.] {WIDE}?");
  EXPECT_EQ(page.SelectedPair(), 1);
  EXPECT_EQ(Reloaded().List(0).PairCount(), 2);

  prompts_.Expect(kMsgDeleteGraphList, Answer::Yes);
  page.DeleteList();  // nothing left but adding a list
  EXPECT_EQ(page.SelectedList(), -1);
  EXPECT_FALSE(page.ListControlsEnabled() || page.PairAddEnabled() || page.PairControlsEnabled());
  EXPECT_TRUE(page.ListAddEnabled());
  prompts_.VerifyAllUsed();
}

TEST_F(AspGraphPagesTest, PairEditsAreSavedAndTheTwentyFifthPairIsRefused) {
  TwoLists();
  AspGraphCalcPage page = Page(0);
  page.SelectPair(1);
  page.EditPair(Pair(5, 3, 1, 50, 0, 0, "TEST"));
  EXPECT_EQ(page.SelectedPair(), 1);
  EXPECT_EQ(Reloaded().List(0).pairs[1], Pair(5, 3, 1, 50, 0, 0, "TEST"));
  for (int j = 3; j < 24; ++j) page.AddPair(Pair(j, 1, 0, 0, 0, 0));
  EXPECT_EQ(page.SelectedPair(), 23);
  EXPECT_FALSE(page.PairAddEnabled());
  page.AddPair(Pair(0, 1, 0, 0, 0, 0));
  EXPECT_TRUE(prompts_.WasShown(kMsgTooManyPairs));
  EXPECT_EQ(Reloaded().List(0).PairCount(), 24);
}

TEST_F(AspGraphPagesTest, OkRefusesDaysThatNeverWereAndCommitsTheRest) {
  TwoLists();
  AspGraphCalcPage page = Page(0);
  struct Row {
    int day, month, year;
    char era;
    int message;
  } rows[] = {{31, 2, 2014, 'A', 775},  {29, 2, 2014, 'A', 775}, {29, 2, 2000, 'A', 0},
              {10, 10, 1582, 'A', 657}, {1, 13, 2014, 'A', 656}, {1, 1, 3001, 'A', 776},
              {15, 3, 44, 'B', 0}};
  for (const Row& row : rows) {
    page.day = row.day, page.month = row.month, page.year = row.year, page.era = row.era;
    EXPECT_EQ(page.Accept(), row.message) << row.day << '.' << row.month << '.' << row.year;
  }

  // OK: the first day and the list into the store and the block; "GONE" is replaced and saved.
  ASSERT_TRUE(data_.AddPair(1, Pair(0, 1, 0, 0, 0, 0, "GONE")).ok());
  page.SelectList(1);
  page.day = 3, page.month = 4, page.year = 2015, page.era = 'A';
  ASSERT_EQ(page.Accept(), 0);
  cfg::ByteBlock block = config_.aspectGraph;
  page.Commit(block);
  EXPECT_EQ(data_.FirstDay().Day(), 3);
  EXPECT_EQ(data_.FirstDay().Year(), 2015);
  EXPECT_EQ(data_.SelectedIndex(), 1);
  EXPECT_EQ(block.Get(cfg::AspectGraphSettings::kSelectedList), 1);
  EXPECT_TRUE(prompts_.WasShown(kMsgMissingSystem));
  EXPECT_EQ(Reloaded().List(1).pairs[0].systemName, "TEST");
}

TEST_F(AspGraphPagesTest, TheListDialogWantsAUniqueName) {
  TwoLists();
  struct Row {
    const char* name;
    AspGraphSetModel dialog;
    const char* text;
    int message;
  } rows[] = {
      {"empty", AspGraphSetModel::ForNewList(), "", kMsgEnterListName},
      {"blanks", AspGraphSetModel::ForNewList(), "   ", kMsgEnterListName},
      {"taken_other_case", AspGraphSetModel::ForNewList(), "ONE", kMsgListNameTaken},
      {"free", AspGraphSetModel::ForNewList(), "three", 0},
      {"own_name_kept", AspGraphSetModel::ForList(data_, 1), "two", 0},
      {"renamed_onto_another", AspGraphSetModel::ForList(data_, 1), "One", kMsgListNameTaken},
  };
  for (Row& row : rows) {
    row.dialog.name = row.text;
    EXPECT_EQ(row.dialog.Accept(data_), row.message) << row.name;
  }
  const AspGraphSetModel edit = AspGraphSetModel::ForList(data_, 0);
  EXPECT_FALSE(edit.IsNewList());
  EXPECT_EQ(edit.period, 5);
  EXPECT_EQ(edit.houseOrbClass, 2);
}

TEST_F(AspGraphPagesTest, ThePairDialogFollowsTheMembersRoles) {
  AspGraphPairModel dialog(systems_, AspGraphPair{});
  EXPECT_EQ(dialog.SystemNames(), (std::vector<std::string>{"TEST", "WIDE"}));
  EXPECT_EQ(dialog.Pair().fromTechnique, 1);  // radix is not offered first
  EXPECT_EQ(dialog.SecondBodyCount(), 58);    // radix second: the rulers are offered
  EXPECT_FALSE(dialog.SecondConverseEnabled());

  dialog.ChooseFirstBody(aspgraph::kLifePoint);
  EXPECT_FALSE(dialog.FirstTechniqueEnabled());
  EXPECT_FALSE(dialog.FirstConverseEnabled());
  dialog.ChooseFirstBody(4);
  EXPECT_TRUE(dialog.FirstTechniqueEnabled());

  dialog.ChooseSecondTechnique(6);
  dialog.SetSecondConverse(true);
  EXPECT_EQ(dialog.SecondBodyCount(), 46);  // no rulers besides a moving chart
  dialog.ChooseSecondBody(50);              // a ruler forces the radix
  EXPECT_EQ(dialog.Pair().toTechnique, 0);
  EXPECT_EQ(dialog.Pair().toConverse, 0);
  EXPECT_FALSE(dialog.SecondTechniqueEnabled());
  EXPECT_FALSE(dialog.SecondConverseEnabled());
  dialog.ChooseSecondTechnique(8);  // the ruler goes with the radix
  EXPECT_EQ(dialog.Pair().toBody, 0);

  dialog.ChooseSystem(1);
  EXPECT_EQ(dialog.Pair().systemName, "WIDE");
  EXPECT_EQ(dialog.Accept(), 0);
  EXPECT_EQ(AspGraphPairModel(systems_, Pair(0, 1, 0, 0, 0, 0, "wide")).SystemIndex(), 1);
  EXPECT_EQ(AspGraphPairModel(systems_, Pair(0, 1, 0, 0, 0, 0, "GONE")).SystemIndex(), 0);
  EXPECT_EQ(AspGraphPairModel(Aspectarium(), AspGraphPair{}).Accept(), kMsgAspectSystemNotFound);
}

TEST(AspGraphConfPage, BlockWordsAreReadIntoTheirRangesAndWrittenBack) {
  using G = cfg::AspectGraphSettings;
  Configuration config;
  const AspGraphConfPage defaults = AspGraphConfPage::FromBlock(config.aspectGraph);
  EXPECT_EQ(defaults.rows, 12);
  EXPECT_EQ(defaults.fillType, 1);
  EXPECT_EQ(defaults.speed, 1);
  config.aspectGraph.Set(G::kRows, std::int16_t{30});
  config.aspectGraph.Set(G::kFillType, std::int16_t{5});
  config.aspectGraph.Set(G::kSpeed, std::int16_t{-1});
  const AspGraphConfPage damaged = AspGraphConfPage::FromBlock(config.aspectGraph);
  EXPECT_EQ(damaged.rows, 24);
  EXPECT_EQ(damaged.fillType, 1);
  EXPECT_EQ(damaged.speed, 1);
  AspGraphConfPage page{3, 2, 0};
  page.ToBlock(config.aspectGraph);
  EXPECT_EQ(config.aspectGraph.Get(G::kRows), 3);
  EXPECT_EQ(config.aspectGraph.Get(G::kFillType), 2);
  EXPECT_EQ(config.aspectGraph.Get(G::kSpeed), 0);
  EXPECT_EQ(config.aspectGraph.Get(G::kWord[7]), 0);  // the words between are left alone
}

TEST_F(AspGraphPagesTest, TheSampleDialogShowsTheMomentAndEachPairsAspect) {
  const struct {
    int value;
    bool padded;
    const char* text;
  } degrees[] = {
      {2000, true, " 20:00"}, {12345, true, "123:27"}, {59, false, "0:35"}, {9025, false, "90:15"}};
  for (const auto& d : degrees) EXPECT_EQ(AspGraphDegreesText(d.value, d.padded), d.text);

  CAspGraphCalc calc = Prepared({Pair(3, 0, 0, 3, 0, 0, "TEST"), Pair(0, 0, 0, 0, 0, 0, "NONE")});
  int maxOrb = 0;
  ASSERT_TRUE(calc.Calculate(Context(), 4, maxOrb).ok());
  AspGraphDataModel dialog(calc, 2);
  EXPECT_EQ(dialog.MomentText(), "16:01:2014  12:00 +03:00");
  const AspGraphDataModel::Row venus = dialog.RowOf(0);
  EXPECT_TRUE(venus.hasAspect);
  EXPECT_EQ(venus.aspect, 0);
  EXPECT_EQ(venus.colour, 9);
  EXPECT_EQ(venus.arc, "  0:00");
  EXPECT_EQ(venus.deviation, "0:00");
  EXPECT_EQ(Utf8(dialog.RowOf(1).noAspect), "аспекта нет");
  EXPECT_EQ(Utf8(dialog.RowOf(1).pairText), "Солнце[Рад.] - Солнце[Рад.] {NONE}");

  // The list's items: the glyph in the aspect's colour at the aspect column, arc and deviation at
  // theirs; the highlight on the selected item.
  platform::RecordingDc dc;
  const platform::Color highlight{0, 0, 128};
  DrawAspGraphDataItem(dc, {0, 0, 400, 20}, venus, {200, 260, 330}, true, highlight,
                       platform::kWhite);
  EXPECT_EQ(dc.Calls().front().color, highlight);
  const platform::RecordedCall* glyph = dc.FindGlyph('0', 1);
  ASSERT_NE(glyph, nullptr);
  EXPECT_EQ(glyph->points[0].x, 200);
  EXPECT_EQ(glyph->color, ColorByIndex(9));
  EXPECT_EQ(dc.Texts(), (std::vector<std::string>{venus.pairText, "0", "  0:00", "0:00"}));
  EXPECT_EQ(dc.Calls().back().points[0].x, 330);
  dc.Clear();
  DrawAspGraphDataItem(dc, {0, 20, 400, 40}, dialog.RowOf(1), {200, 260, 330}, false, highlight,
                       platform::kWhite);
  EXPECT_EQ(Utf8(dc.Texts().back()), "аспекта нет");
  EXPECT_EQ(dc.Calls().back().points[0], (platform::Point{200, 20}));

  dialog.Forward();
  EXPECT_FALSE(dialog.CanGoForward());
  dialog.Forward();
  EXPECT_EQ(dialog.Sample(), 3);
  for (int k = 0; k < 5; ++k) dialog.Back();
  EXPECT_EQ(dialog.Sample(), 0);
  EXPECT_FALSE(dialog.CanGoBack());
}

}  // namespace
