// The prediction-list dialogs on the screen: the transfer dialog's enabling and its refusal of an
// empty name, and the list dialog's controls over its page (the comment typed goes with the
// record left, the buttons redraw the list, printing keeps the values, Cancel asks).
#include "forecast/ui/pred_list_dialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/drawing/glyph_file.h"
#include "foundation/messages/message_numbers.h"
#include "platform/core/glyph_set.h"
#include "platform/qt/page_output.h"
#include "support/test_support.h"

namespace {

using platform::Answer;
using testing_support::ScriptedPrompter;
using testing_support::TempFolder;
using testing_support::WriteFile;

PredListRecord Rec(int day, const char* comment) {
  PredListRecord r;
  EXPECT_TRUE(r.when.date.SetDate(day, 3, 2010, 'A').ok());
  r.moving = 4;
  r.target = static_cast<std::int16_t>(day % 10);
  r.aspect = 2;
  r.movingLongitude = 10.0;
  r.targetLongitude = 100.0 + day;
  r.movingChart = TransitDefinition(0);
  r.comment = comment;
  return r;
}

void WriteList(const std::filesystem::path& file, const std::vector<PredListRecord>& records) {
  std::string text;
  for (const PredListRecord& r : records) text += r.ToText() + "\n";
  WriteFile(file, text);
}

TEST(PredListTransferDialog, OffersWhatTheClickAndTheListsAllow) {
  TempFolder folder;
  ScriptedPrompter prompts;
  DPREDLIST_TRANSFER none(-1, folder.Path(), "");
  none.OnInitDialog();
  EXPECT_FALSE(none.CountGroup()->button(1)->isEnabled());
  EXPECT_FALSE(none.TargetGroup()->button(PredListTransferPage::kExisting)->isEnabled());
  EXPECT_TRUE(none.TargetGroup()->button(PredListTransferPage::kNew)->isChecked());
  EXPECT_TRUE(none.NameEdit()->isEnabled());
  none.NameEdit()->setText(QStringLiteral("   "));
  EXPECT_FALSE(none.Close(false));  // message 1165, the dialog stays
  EXPECT_TRUE(prompts.WasShown(kMsgNewListName));
  none.NameEdit()->setText(QStringLiteral("week 1"));
  EXPECT_TRUE(none.Close(true));
  EXPECT_EQ(none.Page().ListName(), "WEEK1");
  EXPECT_TRUE(none.Page().OpenList());

  WriteFile(folder / "alpha.pls", "");
  WriteFile(folder / "BETA.PLS", "");
  DPREDLIST_TRANSFER two(5, folder.Path(), "beta");
  two.OnInitDialog();
  EXPECT_TRUE(two.CountGroup()->button(1)->isEnabled());
  EXPECT_TRUE(two.TargetGroup()->button(PredListTransferPage::kExisting)->isChecked());
  EXPECT_EQ(two.ListBox()->currentText(), QStringLiteral("BETA"));
  EXPECT_FALSE(two.NameEdit()->isEnabled());
  two.TargetGroup()->button(PredListTransferPage::kNew)->click();
  EXPECT_TRUE(two.NameEdit()->isEnabled());
  EXPECT_TRUE(two.NameLabel()->isEnabled());
  EXPECT_FALSE(two.ListBox()->isEnabled());
  two.TargetGroup()->button(PredListTransferPage::kExisting)->click();
  two.CountGroup()->button(1)->setChecked(true);
  EXPECT_TRUE(two.Close(false));
  EXPECT_EQ(two.Page().ListFile(), folder / "BETA.PLS");
  EXPECT_EQ(two.Page().Range(9), (std::vector<int>{5}));
}

class PredictListDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteList(folder_ / "WEEK.pls",
              {Rec(3, "third"), Rec(1, "first"), Rec(2, "second has a comment of some length")});
    config_.predictionList.Set(cfg::PredictionListSettings::kListName, "week");
    config_.predictionList.Set(cfg::PredictionListSettings::kPrintFontSize, 2500);
    config_.predictionList.Set(cfg::PredictionListSettings::kPrintInterval, 120);
  }
  std::vector<PredListRecord> Saved() const {
    PredList list;
    EXPECT_TRUE(list.Load(folder_ / "WEEK.pls").ok());
    return list.records;
  }
  TempFolder folder_;
  ScriptedPrompter prompts_;
  Configuration config_;
};

// Narrowed as far as it goes, the dialog keeps the list whole left of its buttons.
TEST_F(PredictListDialogTest, NarrowedTheListStaysLeftOfTheButtons) {
  DPREDICT_LIST dialog(folder_.Path());
  ASSERT_TRUE(dialog.Open(config_));
  testing_support::InstallShippedGlyphs();
  dialog.show();
  dialog.resize(200, 420);
  QApplication::processEvents();
  const std::filesystem::path shot = folder_ / "prediction_list_narrowed.png";
  ASSERT_TRUE(platform::SaveWidgetScreenshot(dialog, shot).ok());
  platform::InstallGlyphs(nullptr);
  testing_support::ShowToPerson(shot, "prediction_list_narrowed");
  const CPredListBox* list = dialog.EventList();
  for (const int id : {kIdcDeleteEvent, kIdcSortEvents})
    EXPECT_GT(dialog.findChild<QPushButton*>(QStringLiteral("button%1").arg(id))->x(),
              list->geometry().right());
  EXPECT_GE(list->viewport()->width(), list->sizeHintForColumn(0));
}

TEST_F(PredictListDialogTest, TheCommentTypedGoesWithTheRecordLeft) {
  DPREDICT_LIST dialog(folder_.Path());
  ASSERT_TRUE(dialog.Open(config_));
  EXPECT_EQ(dialog.ListChoice()->currentText(), QStringLiteral("WEEK"));
  EXPECT_EQ(dialog.EventList()->count(), 3);
  EXPECT_EQ(dialog.CommentEdit()->text(), QStringLiteral("third"));
  EXPECT_DOUBLE_EQ(dialog.IntervalBox()->value(), 1.2);
  dialog.CommentEdit()->setText(QStringLiteral("changed"));
  dialog.EventList()->setCurrentRow(2);
  EXPECT_EQ(dialog.CommentEdit()->text(), QStringLiteral("second has a comment of some length"));
  EXPECT_EQ(dialog.Page().Records()[0].comment, "changed");
  dialog.OnStatus();
  EXPECT_EQ(dialog.Page().Records()[2].status, 'S');
  dialog.OnSort();
  EXPECT_EQ(dialog.EventList()->currentRow(), 0);
  EXPECT_EQ(dialog.CommentEdit()->text(), QStringLiteral("first"));
  // A picture of the dialog with its glyphs, for a person to look at.
  testing_support::InstallShippedGlyphs();
  dialog.resize(700, 420);
  dialog.show();
  const std::filesystem::path shot = folder_ / "prediction_list_dialog.png";
  ASSERT_TRUE(platform::SaveWidgetScreenshot(dialog, shot).ok());
  platform::InstallGlyphs(nullptr);
  testing_support::ShowToPerson(shot, "prediction_list_dialog");
  // The list's column names stand in a line of their own over its first line.
  EXPECT_TRUE(dialog.EventList()->Head()->isVisible());
  EXPECT_LE(dialog.EventList()->Head()->geometry().bottom(),
            dialog.EventList()->viewport()->geometry().top());
  // Cancel asks before the changes go; No stays.
  prompts_.Expect(kMsgListNotSaved, Answer::No);
  dialog.reject();
  EXPECT_EQ(dialog.result(), 0);
  EXPECT_TRUE(dialog.isVisible());
  dialog.IntervalBox()->setValue(1.15);
  dialog.OnPrint();
  ASSERT_TRUE(dialog.ToPrint());
  EXPECT_EQ(dialog.ToPrint()->name, "WEEK");
  EXPECT_EQ(GetConfiguration().predictionList.Get(cfg::PredictionListSettings::kPrintInterval),
            115);
  const std::vector<PredListRecord> saved = Saved();
  ASSERT_EQ(saved.size(), 3u);
  EXPECT_EQ(saved[0].comment, "first");
  EXPECT_EQ(saved[1].comment, "second has a comment of some length");
  EXPECT_EQ(saved[1].status, 'S');
  EXPECT_EQ(saved[2].comment, "changed");
  prompts_.VerifyAllUsed();
}

TEST_F(PredictListDialogTest, DeletingTheOnlyListClosesWithoutAQuestion) {
  DPREDICT_LIST dialog(folder_.Path());
  ASSERT_TRUE(dialog.Open(config_));
  dialog.OnStatus();  // a change that the deletion makes moot
  prompts_.Expect(kMsgDeletePredictionList, Answer::Yes);
  dialog.OnDeleteList();
  EXPECT_EQ(dialog.result(), 0);
  EXPECT_FALSE(std::filesystem::exists(folder_ / "WEEK.pls"));
  EXPECT_EQ(prompts_.shown.size(), 1u);  // no question about the changes
  prompts_.VerifyAllUsed();
}

}  // namespace
