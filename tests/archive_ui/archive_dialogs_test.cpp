// The archive's settings, the dynamic archive and the export format editor, driven as the user
// would through their controls.
#include <QButtonGroup>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <cstdlib>

#include "archive/archive_fixture.h"
#include "archive/browser/archive_settings_dialog.h"
#include "archive/browser/dynamic_archive_dialog.h"
#include "archive/browser/export_format_dialogs.h"
#include "astro/chart/chart_context.h"
#include "astro/chart/published_settings.h"
#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "platform/qt/qt_text.h"
#include "support/test_support.h"

namespace {

using archive_test::ArchiveTest;
using archive_test::MakeChart;
using testing_support::ReadFile;
using testing_support::WriteFile;

class DialogsTest : public ArchiveTest {
 protected:
  void SetUp() override {
    ArchiveTest::SetUp();
    // The shipped tables for every chart the dialogs compute (the theories are many times slower).
    static const bool loaded =
        LoadEphemeris(testing_support::SourceDir() / "data" / "velm.str").ok();
    ASSERT_TRUE(loaded);
    platform::ModalDriver::Clear();
    platform::ModalDriver::SetStrict(true);
  }
  void TearDown() override {
    prompts_.VerifyAllUsed();
    EXPECT_TRUE(platform::ModalDriver::Unanswered().empty());
    platform::ModalDriver::Clear();
    ArchiveTest::TearDown();
  }
};

TEST_F(DialogsTest, SettingsShowAndStoreTheArchiveModes) {
  const struct {
    int target, insertion, shownTarget, shownInsertion;
  } cases[] = {{-1, 0, 2, 0}, {0, 1, 0, 1}, {1, 5, 1, 1}};
  for (const auto& c : cases) {
    archive_.saveTargetMode = c.target;
    archive_.insertionMode = c.insertion;
    DARCHIVEPAR dialog(archive_);
    dialog.OnInitDialog();
    EXPECT_EQ(dialog.TargetChoice()->checkedId(), c.shownTarget);
    EXPECT_EQ(dialog.InsertionChoice()->checkedId(), c.shownInsertion);
    dialog.TargetChoice()->button(c.shownInsertion)->setChecked(true);
    dialog.InsertionChoice()->button(1 - c.shownInsertion)->setChecked(true);
    dialog.accept();
    EXPECT_EQ(archive_.saveTargetMode, c.shownInsertion);
    EXPECT_EQ(archive_.insertionMode, 1 - c.shownInsertion);
  }
}

// --- The dynamic archive ---

class DynamicTest : public DialogsTest {
 protected:
  // The dialog on a chart of 7.7.1977, writing `file` by `days` a step from 1.1.2000 to `end`.
  std::unique_ptr<DDYNARC> Dialog(const std::string& file, int days, int endYear) {
    auto dialog = std::make_unique<DDYNARC>(chart_, archive_);
    dialog->OnInitDialog();
    dialog->FileName()->setText(QString::fromStdString(file));
    dialog->SetBegin(1, 1, 2000);
    dialog->SetEnd(1, 1, endYear);
    dialog->SetStep(0, days, 0, 0, 0);
    return dialog;
  }
  Chart chart_ = MakeChart("Dyn", 7, 7, 1977);
};

TEST_F(DynamicTest, RefusedPeriodsKeepTheDialogOpenAndWriteNothing) {
  const struct {
    const char* name;
    int endDay, endMonth, endYear, days, message;
  } cases[] = {{"end_equal", 1, 1, 2000, 1, 1106},
               {"end_before", 31, 12, 1999, 1, 1106},
               {"step_zero", 1, 1, 2001, 0, 1107},
               {"no_31_february", 31, 2, 2001, 1, 775}};
  for (const auto& c : cases) {
    auto dialog = Dialog(PathOf("d.arc"), c.days, 2001);
    dialog->SetEnd(c.endDay, c.endMonth, c.endYear);
    prompts_.shown.clear();
    EXPECT_FALSE(dialog->CheckOk()) << c.name;
    ASSERT_EQ(prompts_.shown.size(), 1u) << c.name;
    EXPECT_EQ(prompts_.shown[0].number, c.message) << c.name;
    EXPECT_FALSE(std::filesystem::exists(PathOf("d.arc"))) << c.name;
  }
}

TEST_F(DynamicTest, ALongPeriodIsCutTo30001Records) {
  auto dialog = Dialog(PathOf("long"), 1, 2100);
  ASSERT_TRUE(dialog->CheckOk());
  EXPECT_EQ(dialog->Written(), 30001);
  EXPECT_EQ(std::filesystem::file_size(PathOf("long.arc")), 4 + 30001 * 1776u);
  std::vector<int> shown;
  for (const auto& s : prompts_.shown) shown.push_back(s.number);
  EXPECT_EQ(shown, (std::vector<int>{1108, 1109}));
  // The message names the period the archive covers: 30000 days from 1.1.2000.
  EXPECT_NE(prompts_.shown[0].text.find(" - 19:02:2082"), std::string::npos);
  // The name and the step are remembered.
  const cfg::ByteBlock& params = GetConfiguration().dynamicArchive;
  EXPECT_EQ(params.Get(cfg::DynamicArchiveParams::kFileName), PathOf("long"));
  EXPECT_EQ(params.Get(cfg::DynamicArchiveParams::kDays), 1);
}

// As it opens, the dialog holds a period it accepts: a year from the chart's date, by the step
// stored (a step of nothing, as a refused entry leaves it, reads as a day).
TEST_F(DynamicTest, TheDialogAcceptsWhatItOpensWith) {
  ChangeSettings([](Configuration& config, Aspectarium&) {
    using P = cfg::DynamicArchiveParams;
    for (const auto field : {P::kYears, P::kDays, P::kHours, P::kMinutes, P::kSeconds})
      config.dynamicArchive.Set(field, std::int16_t{0});
  });
  DDYNARC dialog(chart_, archive_);
  dialog.OnInitDialog();
  dialog.FileName()->setText(QString::fromStdString(PathOf("opening")));
  prompts_.shown.clear();
  ASSERT_TRUE(dialog.CheckOk());
  EXPECT_EQ(dialog.Written(), 366);  // 7.7.1977 to 7.7.1978 by a day
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].number, 1109);
}

TEST_F(DynamicTest, WritingOverTheCurrentArchiveRebuildsItsIndex) {
  OpenArchive("cur.arc", kLayout4400, {MakeChart("A"), MakeChart("B"), MakeChart("C")});
  archive_.Comments().SetCommentText("text");
  ASSERT_EQ(archive_.Comments().SaveComment(1, 2), 0);
  prompts_.Expect(kMsgReplaceFile, platform::Answer::Yes);
  auto dialog = Dialog(PathOf("cur.arc"), 100, 2001);
  ASSERT_TRUE(dialog->CheckOk());
  EXPECT_EQ(archive_.LayoutCode(), kLayout4200);
  ASSERT_EQ(archive_.RecordCount(), 4);  // 366 days by 100: 3 steps
  EXPECT_EQ(archive_.Entry(3).name, "Dyn");
  for (int k = 0; k < kCommentPages; ++k)
    EXPECT_FALSE(std::filesystem::exists(ArchiveCommentFileName(PathOf("cur.arc"), k))) << k;
  // No on the question leaves the file and the dialog open.
  const std::string before = ReadFile(PathOf("cur.arc"));
  prompts_.Expect(kMsgReplaceFile, platform::Answer::No);
  auto again = Dialog(PathOf("cur.arc"), 1, 2001);
  EXPECT_FALSE(again->CheckOk());
  EXPECT_EQ(ReadFile(PathOf("cur.arc")), before);
}

// --- The export format editor ---

class EditorTest : public DialogsTest {
 protected:
  std::filesystem::path Exp() const { return folder_ / "velm.exp"; }
  // "velm.exp" with formats named `names`, each of one name element and extension "txt".
  void WriteFormats(std::initializer_list<const char*> names) {
    AllExpFormats formats;
    for (const char* name : names) {
      ExportFormat f;
      f.name = name;
      f.extension = "txt";
      f.elements = {ExportElement()};
      formats.Append(f);
    }
    ASSERT_EQ(formats.Save(Exp()), 0);
  }
  std::unique_ptr<DEXPORT> Editor() {
    auto dialog = std::make_unique<DEXPORT>();
    dialog->OnInitDialog();
    return dialog;
  }
  // The next element dialog answered with an element of `kind`.
  static void AnswerElement(int kind) {
    platform::ModalDriver::Expect<EXPPARAM_EL>([kind](EXPPARAM_EL& d) {
      d.element.kind = static_cast<std::int16_t>(kind);
      return platform::kIdOk;
    });
  }
  static std::vector<int> Kinds(const DEXPORT& dialog) {
    std::vector<int> kinds;
    for (const ExportElement& e : dialog.EditArea().elements) kinds.push_back(e.kind);
    return kinds;
  }
};

TEST_F(EditorTest, ATypedNameMakesANewFormatAndTheOldKeepsItsName) {
  WriteFormats({"First"});
  auto dialog = Editor();
  EXPECT_EQ(dialog->FormatCombo()->count(), 2);  // "First", "НОВЫЙ ТИП"
  QStringList boxes;
  for (const QCheckBox* box : dialog->findChildren<QCheckBox*>()) boxes << box->text();
  EXPECT_TRUE(
      boxes.contains(QStringLiteral("Для прогрессий экспортировать реальную дату гороскопа")));
  AnswerElement(kExpDay);
  dialog->OnAdd();
  dialog->FormatCombo()->setEditText(QStringLiteral("Second  "));
  dialog->Extension()->setText(QStringLiteral("csv"));
  dialog->accept();
  AllExpFormats saved;
  ASSERT_EQ(saved.Load(Exp()), 0);
  ASSERT_EQ(saved.Count(), 2);
  EXPECT_EQ(saved.Format(0).name, "First");
  EXPECT_EQ(saved.Format(0).elements.size(), 1u);
  EXPECT_EQ(saved.Format(1).name, "Second");
  EXPECT_EQ(saved.Format(1).extension, "csv");
  EXPECT_EQ(saved.Format(1).elements.size(), 2u);
}

TEST_F(EditorTest, SaveRefusesWhatNoFormatMayHave) {
  WriteFormats({"First"});
  const std::string before = ReadFile(Exp());
  const struct {
    const char* name;
    const char* typed;
    const char* extension;
    bool clearElements;
    int message;
  } cases[] = {{"name_taken_other_case", "first ", "txt", false, 755},
               {"name_of_new_entry", "НОВЫЙ ТИП", "txt", false, 714},
               {"extension_four", "New", "abcd", false, 715},
               {"extension_empty", "New", "", false, 715},
               {"no_elements", "New", "txt", true, 716},
               {"existing_extension_empty", nullptr, "", false, 715}};
  for (const auto& c : cases) {
    auto dialog = Editor();
    if (c.typed) dialog->FormatCombo()->setEditText(QString::fromUtf8(c.typed));
    dialog->Extension()->setText(QString::fromUtf8(c.extension));
    if (c.clearElements) dialog->OnDelete();
    prompts_.shown.clear();
    EXPECT_FALSE(dialog->CheckOk()) << c.name;
    ASSERT_EQ(prompts_.shown.size(), 1u) << c.name;
    EXPECT_EQ(prompts_.shown[0].number, c.message) << c.name;
    EXPECT_EQ(ReadFile(Exp()), before) << c.name;
  }
}

TEST_F(EditorTest, ElementsAddMoveAndStopAt200) {
  auto dialog = Editor();  // no "velm.exp": a new format
  EXPECT_EQ(dialog->FormatCombo()->count(), 1);
  for (int kind : {kExpName, kExpDay, kExpMonth}) {
    AnswerElement(kind);
    dialog->OnAdd();
  }
  dialog->ElementList()->setCurrentRow(0);
  dialog->OnUpDown(true);  // nothing above the first
  dialog->ElementList()->setCurrentRow(2);
  dialog->OnUpDown(false);  // nothing below the last
  EXPECT_EQ(Kinds(*dialog), (std::vector<int>{kExpName, kExpDay, kExpMonth}));
  dialog->OnUpDown(true);
  EXPECT_EQ(Kinds(*dialog), (std::vector<int>{kExpName, kExpMonth, kExpDay}));
  EXPECT_EQ(dialog->ElementList()->currentRow(), 1);
  EXPECT_EQ(Utf8(platform::FromQt(dialog->ElementList()->item(1)->text())), "Месяц (не дополнять)");
  for (int i = 3; i < 200; ++i) {
    AnswerElement(kExpSeparator);
    dialog->OnAdd();
  }
  AnswerElement(kExpSeparator);
  dialog->OnAdd();
  EXPECT_TRUE(prompts_.WasShown(729));
  EXPECT_EQ(dialog->EditArea().elements.size(), 200u);
}

TEST_F(EditorTest, DeletingAFormatReachesTheFileOnlyBySave) {
  WriteFormats({"One", "Two"});
  const std::string before = ReadFile(Exp());
  auto dialog = Editor();
  prompts_.Expect(kMsgDeleteFormat, platform::Answer::Yes);
  dialog->OnDeleteFormat();
  EXPECT_EQ(dialog->Formats().Count(), 1);
  EXPECT_EQ(dialog->Formats().Format(0).name, "Two");
  dialog->OnDeleteFormat();  // the last one stays
  EXPECT_TRUE(prompts_.WasShown(756));
  dialog->reject();
  EXPECT_EQ(ReadFile(Exp()), before);
}

TEST_F(EditorTest, TheHundredAndFirstFormatIsRefused) {
  AllExpFormats formats;
  for (int i = 0; i < AllExpFormats::kMaxFormats; ++i) {
    ExportFormat f;
    f.name = "F" + std::to_string(i);
    f.extension = "txt";
    f.elements = {ExportElement()};
    formats.Append(f);
  }
  ASSERT_EQ(formats.Save(Exp()), 0);
  const std::string before = ReadFile(Exp());
  auto dialog = Editor();
  dialog->FormatCombo()->setEditText(QStringLiteral("F100"));
  EXPECT_FALSE(dialog->CheckOk());
  EXPECT_TRUE(prompts_.WasShown(2042));
  EXPECT_EQ(ReadFile(Exp()), before);
}

TEST_F(EditorTest, ElementDialogTakesTheSeparatorAndFillChoices) {
  EXPPARAM_EL dialog;
  dialog.element.kind = kExpSeparator;
  dialog.element.separator = '#';
  dialog.OnInitDialog();
  EXPECT_EQ(dialog.Separator()->currentIndex(), kExportOtherSeparatorEntry);
  EXPECT_TRUE(dialog.SeparatorCode()->isEnabled());
  EXPECT_FALSE(dialog.PadCheck()->isEnabled());
  dialog.Separator()->setCurrentIndex(6);  // "символ конца строки"
  EXPECT_FALSE(dialog.SeparatorCode()->isEnabled());
  dialog.KindChoice()->button(kExpLatSign)->click();
  EXPECT_TRUE(dialog.Plus()->isEnabled());
  dialog.Plus()->setText(QStringLiteral("N"));
  dialog.accept();
  EXPECT_EQ(dialog.element.kind, kExpLatSign);
  EXPECT_EQ(dialog.element.separator, 13);
  EXPECT_EQ(dialog.element.plus, 'N');
  EXPECT_EQ(dialog.element.commentPage, 0);
}

}  // namespace
