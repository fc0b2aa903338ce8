// The query dialog as a window over the condition tool's charts written as archives: its controls
// follow the model, its buttons act on the lists, OK runs the query and sets the load flag when
// the results view opened; and the settings dialog of the results view.
#include "conditions/ui/query_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>

#include "conditions/query_test_support.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/messages/message_numbers.h"
#include "platform/qt/page_output.h"

namespace {

using condition_test::kSunInAries;
using condition_test::kSunMoonSquare;
using platform::Answer;

class QueryDialogTest : public condition_test::QueryArchiveTest {
 protected:
  void SetUp() override {
    QueryArchiveTest::SetUp();
    saved_ = GetConfiguration().query;
    second_ = WriteFixtureArchive("second.arc", "kinds.txt");
    first_ = WriteFixtureArchive("first.arc", "charts.txt");
    // The lists of the dialog's data folder: one archive, two conditions.
    testing_support::WriteFile(folder_ / "quearcs.lst", "+" + second_ + "\n");
    testing_support::WriteFile(folder_ / "quefuncs.lst", Cp1251(kSunInAries + kSunMoonSquare));
  }
  void TearDown() override {
    GetConfiguration().query = saved_;
    QueryArchiveTest::TearDown();
  }

  cfg::ByteBlock saved_;
  std::string first_, second_;
  int opened_ = 0;
  std::function<bool()> open_ = [this] {
    ++opened_;
    return true;
  };
};

TEST_F(QueryDialogTest, ControlsFollowTheSwitchAndTheMode) {
  GetConfiguration().query.Set(cfg::QuerySettings::kCurrentArchiveOnly, std::int32_t{1});
  DQuery dialog(archive_, open_);
  dialog.OnInitDialog();
  EXPECT_EQ(dialog.Conditions()->count(), 2);
  EXPECT_EQ(dialog.Archives()->count(), 1);
  EXPECT_TRUE(dialog.Archives()->isHidden());
  EXPECT_FALSE(dialog.Button(DQuery::kIdAddArchive)->isEnabled());
  EXPECT_FALSE(dialog.LogicCombo()->isEnabled());

  dialog.CurrentOnly()->setChecked(false);
  EXPECT_FALSE(dialog.Archives()->isHidden());
  EXPECT_TRUE(dialog.Button(DQuery::kIdRemoveArchive)->isEnabled());
  dialog.OnMode(2);
  EXPECT_TRUE(dialog.LogicCombo()->isEnabled());

  // An archive added through the file choice, which begins in the current archive's folder and
  // reads a bare name there; then switched off by a double click's action.
  prompts_.ExpectFile("first");
  dialog.Button(DQuery::kIdAddArchive)->click();
  EXPECT_EQ(prompts_.fileChoices.back().path, (folder_ / "").string());
  ASSERT_EQ(dialog.Archives()->count(), 2);
  EXPECT_EQ(dialog.Archives()->currentRow(), 1);
  dialog.OnToggleArchive();
  EXPECT_FALSE(dialog.Archives()->ItemOn(1));
  EXPECT_EQ(testing_support::ReadFile(folder_ / "quearcs.lst"),
            "+" + second_ + "\n-" + first_ + "\n");
  // A condition switched off is drawn grey; the text is the numbered condition text.
  dialog.Conditions()->setCurrentRow(1);
  dialog.Button(DQuery::kIdToggleCondition)->click();
  EXPECT_FALSE(dialog.Conditions()->ItemOn(1));
  EXPECT_EQ(dialog.Conditions()->ItemText(0), Cp1251("  2   IN(Солнце ; Овен)"));

  dialog.resize(720, 560);
  const auto shot = folder_ / "query_dialog.png";
  ASSERT_TRUE(platform::SaveWidgetScreenshot(dialog, shot).ok());
  testing_support::ShowToPerson(shot, "query_dialog");
}

TEST_F(QueryDialogTest, OkRunsTheQueryAndCloses) {
  // The current archive (first.arc): the Sun in Aries marks 0, 1, 4, 5; nothing opens.
  {
    GetConfiguration().query.Set(cfg::QuerySettings::kCurrentArchiveOnly, std::int32_t{1});
    GetConfiguration().query.Set(cfg::QuerySettings::kEvaluationMode, std::int32_t{2});
    DQuery dialog(archive_, open_);
    dialog.OnInitDialog();
    dialog.LogicCombo()->setEditText(QStringLiteral("2"));
    prompts_.Expect(kMsgLocalSpaceCharts, Answer::Yes);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Marked(), (std::vector<int>{0, 1, 4, 5}));
    EXPECT_FALSE(dialog.LoadFlag());
    EXPECT_EQ(testing_support::ReadFile(folder_ / "quelogic.lst"), "2\n");
  }
  // Over the list: the results view opens and the load flag asks the browser to close.
  {
    GetConfiguration().query.Set(cfg::QuerySettings::kCurrentArchiveOnly, std::int32_t{0});
    DQuery dialog(archive_, open_);
    dialog.OnInitDialog();
    dialog.LogicCombo()->setEditText(QStringLiteral("2 & !1"));
    dialog.accept();
    EXPECT_EQ(opened_, 1);
    EXPECT_TRUE(dialog.LoadFlag());
    // kinds.txt: the Sun in Aries on 1, 3, 4, 5, 6, 7, Sun-Moon 90:00 on 2 and 3.
    std::vector<int> records;
    for (const SelectedRecordNode& node : archive_.Query().SelectedRecords())
      records.push_back(node.RecordNumber());
    EXPECT_EQ(records, (std::vector<int>{1, 4, 5, 6, 7}));
  }
  prompts_.VerifyAllUsed();
}

TEST_F(QueryDialogTest, ViewSettingsAreEditedAndStored) {
  DQuery dialog(archive_, open_);
  dialog.OnInitDialog();
  platform::ModalDriver::Clear();
  platform::ModalDriver::SetStrict(true);
  platform::ModalDriver::Expect<D_QUERY_PARAMS>([](D_QUERY_PARAMS& d) {
    EXPECT_EQ(d.values.screenFont, 2400);
    d.values.printGap = 250;
    d.values.showArchives = false;
    d.DoDataExchange(false);
    d.DoDataExchange(true);  // through the spin boxes and check boxes
    return platform::kIdOk;
  });
  dialog.Button(DQuery::kIdSettings)->click();
  EXPECT_TRUE(platform::ModalDriver::Unanswered().empty());
  platform::ModalDriver::Clear();
  const QueryViewSettings stored = QueryViewSettings::FromBlock(GetConfiguration().query);
  EXPECT_EQ(stored.printGap, 250);
  EXPECT_FALSE(stored.showArchives);
  EXPECT_EQ(stored.printFont, 1800);
}

}  // namespace
