// The browser dialog over real archive files: its list and counts, choosing archives by name and
// from the recent list, the record commands and their refusals, the whole-archive copy, the
// read-only (damaged) archive and the switch to the commented browser.
#include "archive/browser/archive_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <cstdlib>

#include "archive/browser/archive_sort_dialog.h"
#include "archive_ui/archive_view_fixture.h"
#include "foundation/errors/error_report.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/core/recording_dc.h"
#include "platform/qt/qt_text.h"

namespace {

using archive_test::ArchiveTest;
using archive_test::Block;
using archive_test::MakeChart;
using archive_ui_test::ArchiveViewTest;
using testing_support::ReadFile;
using testing_support::WriteFile;

// The commands that act on records, built now.
constexpr int kRecordCommands[] = {ArchiveView::kIdDelete,  ArchiveView::kIdLoad,
                                   ArchiveView::kIdCopy,    ArchiveView::kIdMove,
                                   ArchiveView::kIdOrder,   ArchiveView::kIdCopyWhole,
                                   ArchiveView::kIdConvert, ArchiveView::kIdSearch,
                                   ArchiveView::kIdSort,    ArchiveView::kIdPrint};
// Commands of windows still to come: present and disabled.
constexpr int kLaterCommands[] = {ArchiveView::kIdStatistics, ArchiveView::kIdQuery};

TEST_F(ArchiveViewTest, ListCountsAndCommandsFollowTheArchive) {
  struct Case {
    const char* name;
    std::vector<std::string> names;
    int layout;
    bool commands;
    const char* convert;  // UTF-8
  };
  const Case cases[] = {
      {"empty_4400", {}, kLayout4400, false, "Перевести в формат 4.3"},
      {"three_4400", {"A", "B", "C"}, kLayout4400, true, "Перевести в формат 4.3"},
      {"two_4200", {"A", "B"}, kLayout4200, true, "Перевести в формат 4.4"},
      {"one_4000", {"A"}, kLayout4000, true, "Перевести в формат 4.4"},
  };
  for (const Case& c : cases) {
    Open(c.names, c.layout, std::string(c.name) + ".arc");
    EXPECT_EQ(view_->RecordCountText(), QString::number(c.names.size())) << c.name;
    EXPECT_EQ(List().IsEmptyArchive(), c.names.empty()) << c.name;
    for (int id : kRecordCommands) EXPECT_EQ(view_->Button(id)->isEnabled(), c.commands) << id;
    for (int id : kLaterCommands) EXPECT_FALSE(view_->Button(id)->isEnabled()) << id;
    EXPECT_EQ(view_->Button(ArchiveView::kIdComment)->isEnabled(),
              c.commands && c.layout == kLayout4400)
        << c.name;
    EXPECT_TRUE(view_->Button(ArchiveView::kIdSettings)->isEnabled());
    EXPECT_EQ(view_->Button(ArchiveView::kIdConvert)->text(), QString::fromUtf8(c.convert));
    EXPECT_EQ(view_->windowTitle(), QStringLiteral("АРХИВ ")) << c.name;
  }
}

TEST_F(ArchiveViewTest, InitialSelectionComesFromTheMarks) {
  std::vector<Chart> charts = {MakeChart("A"), MakeChart("B"), MakeChart("C")};
  OpenArchive("m.arc", kLayout4400, charts);
  archive_.Entry(0).mark = 'Y';
  archive_.Entry(2).mark = 'Y';
  Show();
  EXPECT_TRUE(List().IsSelected(0));
  EXPECT_FALSE(List().IsSelected(1));
  EXPECT_TRUE(List().IsSelected(2));
  EXPECT_EQ(view_->SelectedCountText(), QStringLiteral("2"));
}

TEST_F(ArchiveViewTest, MarkButtonsSelectAllNoneAndInvert) {
  Open({"A", "B", "C", "D"});
  SelectRows({1});
  struct Case {
    int button;
    std::string marks;
    const char* count;
  };
  const Case cases[] = {{ArchiveView::kIdInvert, "YNYY", "3"},
                        {ArchiveView::kIdSelectNone, "NNNN", "0"},
                        {ArchiveView::kIdSelectAll, "YYYY", "4"},
                        {ArchiveView::kIdInvert, "NNNN", "0"}};
  for (const Case& c : cases) {
    Click(c.button);
    EXPECT_EQ(Marks(), c.marks) << c.button;
    EXPECT_EQ(List().SelectedCount(),
              static_cast<int>(std::count(c.marks.begin(), c.marks.end(), 'Y')));
    EXPECT_EQ(view_->SelectedCountText(), QString::fromLatin1(c.count)) << c.button;
  }
}

TEST_F(ArchiveViewTest, LoadNeedsExactlyOneSelectedRecord) {
  struct Case {
    const char* name;
    std::vector<std::string> names;
    std::vector<int> rows;
    bool noChoiceNeeded;
    int message;  // 0: the dialog ends with OK
    std::string marks;
  };
  const Case cases[] = {
      {"none", {"A", "B", "C"}, {}, false, 474, "NNN"},
      {"two", {"A", "B", "C"}, {0, 2}, false, 475, "NNN"},
      {"one", {"A", "B", "C"}, {1}, false, 0, "NYN"},
      {"two_no_choice_needed", {"A", "B", "C"}, {0, 2}, true, 0, "YNY"},
      {"none_no_choice_needed", {"A", "B", "C"}, {}, true, 474, "NNN"},
  };
  for (const Case& c : cases) {
    Open(c.names, kLayout4400, std::string(c.name) + ".arc");
    view_->noChoiceNeeded = c.noChoiceNeeded;
    List().ClearSelection();
    for (int row : c.rows) List().SetSelected(row, true);
    prompts_.shown.clear();
    Click(ArchiveView::kIdLoad);
    EXPECT_EQ(view_->EndResult(), c.message == 0 ? platform::kIdOk : 0) << c.name;
    EXPECT_EQ(Shown(), c.message == 0 ? std::vector<int>{} : std::vector<int>{c.message}) << c.name;
    EXPECT_EQ(Marks(), c.marks) << c.name;
  }
}

TEST_F(ArchiveViewTest, ChoosingArchivesByNameAndFromTheRecentList) {
  WriteFile(PathOf("other.arc"),
            archive_test::ArchiveBytes(kLayout4200, {MakeChart("X"), MakeChart("Y")}));
  Open({"A"});
  // A name without extension is looked for with ".arc".
  view_->RecentCombo()->setEditText(QString::fromStdString(PathOf("other")));
  Click(ArchiveView::kIdSelect);
  EXPECT_EQ(archive_.GetPath(), PathOf("other.arc"));
  EXPECT_EQ(view_->RecordCountText(), QStringLiteral("2"));
  EXPECT_EQ(view_->RecentCombo()->itemText(0), QString::fromStdString(PathOf("other.arc")));
  EXPECT_EQ(view_->RecentCombo()->itemText(1), QString::fromStdString(PathOf("a.arc")));
  // The current archive's name again asks for a file (cancelled here: nothing changes).
  prompts_.ExpectFile("");
  Click(ArchiveView::kIdSelect);
  EXPECT_EQ(archive_.GetPath(), PathOf("other.arc"));
  // A name that is no archive: message 477 and nothing changes.
  view_->RecentCombo()->setEditText(QString::fromStdString(PathOf("missing.arc")));
  prompts_.shown.clear();
  Click(ArchiveView::kIdSelect);
  EXPECT_EQ(Shown(), std::vector<int>{477});
  EXPECT_NE(prompts_.shown[0].text.find(PathOf("missing.arc")), std::string::npos);
  EXPECT_EQ(archive_.GetPath(), PathOf("other.arc"));
  EXPECT_EQ(archive_.Recent().RecentNames().size(), 2u);
  // The second recent name chosen in the box becomes current.
  view_->OnRecentChosen(1);
  EXPECT_EQ(archive_.GetPath(), PathOf("a.arc"));
  EXPECT_EQ(view_->RecordCountText(), QStringLiteral("1"));
  EXPECT_EQ(view_->RecentCombo()->itemText(0), QString::fromStdString(PathOf("a.arc")));
  // A damaged archive chosen in the file dialog: named, current without the rows of the one
  // before, its row saying it was not read under whole headings, also when opened again.
  WriteFile(PathOf("bad.arc"), archive_test::Header(kLayout4400) + std::string(1836, '\xff'));
  prompts_.ExpectFile(PathOf("bad.arc"));
  prompts_.shown.clear();
  Click(ArchiveView::kIdSelect);
  EXPECT_EQ(Shown(), std::vector<int>{ErrorReportNumber(kErrFormat)});
  EXPECT_NE(prompts_.shown[0].text.find(PathOf("bad.arc")), std::string::npos);
  for (const bool reopened : {false, true}) {
    if (reopened) Show();
    EXPECT_EQ(view_->RecordCountText(), QStringLiteral("0"));
    platform::RecordingDc rows, headings;
    List().Paint(rows, 600, 100);
    EXPECT_EQ(rows.Texts(), std::vector<std::string>{GetMessageText(kMsgArchiveNotRead)});
    List().PaintHeadings(headings, 600);
    EXPECT_EQ(headings.Texts().at(0), GetMessageText(kMsgNameColumn)) << reopened;
    EXPECT_EQ(headings.Texts().at(1), GetMessageText(kMsgTypeColumn)) << reopened;
  }
}

TEST_F(ArchiveViewTest, RecentNamesWithoutTheirFileStayMarkedUntilRemoved) {
  WriteFile(PathOf("gone.arc"), archive_test::ArchiveBytes(kLayout4400, {MakeChart("G")}));
  archive_.Recent().AddRecentName(PathOf("gone.arc"));
  WriteFile(PathOf("text.arc"), "no archive at all");
  archive_.Recent().AddRecentName(PathOf("text.arc"));
  std::filesystem::remove(PathOf("gone.arc"));
  Open({"A"});  // a.arc first, then text.arc, then gone.arc
  QComboBox* box = view_->RecentCombo();
  ASSERT_EQ(box->count(), 3);
  EXPECT_EQ(box->itemText(0), QString::fromStdString(PathOf("a.arc")));
  EXPECT_EQ(box->itemText(1), QString::fromStdString(PathOf("text.arc") + " (не архив)"));
  EXPECT_EQ(box->itemText(2), QString::fromStdString(PathOf("gone.arc") + " (файл отсутствует)"));
  prompts_.shown.clear();
  view_->OnRecentChosen(2);
  EXPECT_EQ(Shown(), std::vector<int>{477});
  EXPECT_EQ(archive_.GetPath(), PathOf("a.arc"));
  EXPECT_EQ(archive_.Recent().RecentNames().size(), 3u);
  view_->OnRemoveRecent(0);  // the open archive stays
  view_->OnRemoveRecent(2);
  EXPECT_EQ(archive_.Recent().RecentNames(),
            (std::vector<std::string>{PathOf("a.arc"), PathOf("text.arc")}));
  EXPECT_EQ(box->count(), 2);
}

TEST_F(ArchiveViewTest, DeleteRemovesTheSelectedRecordsAfterTheQuestion) {
  Open({"A", "B", "C"});
  prompts_.shown.clear();
  Click(ArchiveView::kIdDelete);
  EXPECT_EQ(Shown(), std::vector<int>{474});
  SelectRows({0, 2});
  prompts_.Expect(kMsgDeleteCharts, platform::Answer::No);
  Click(ArchiveView::kIdDelete);
  EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B", "C"}));
  SelectRows({0, 2});
  prompts_.Expect(kMsgDeleteCharts, platform::Answer::Yes);
  Click(ArchiveView::kIdDelete);
  EXPECT_EQ(Names(), std::vector<std::string>{"B"});
  EXPECT_EQ(view_->RecordCountText(), QStringLiteral("1"));
  EXPECT_EQ(view_->SelectedCountText(), QStringLiteral("0"));
  // The file holds what the list shows.
  Archive reread(slots_);
  ASSERT_EQ(reread.SetPath(PathOf("a.arc")), kLayout4400);
  ASSERT_EQ(reread.CreateIndex(), 0);
  EXPECT_EQ(reread.RecordCount(), 1);
  // The last record takes the file's index with it: the empty row and the commands off.
  SelectRows({0});
  prompts_.Expect(kMsgDeleteChart, platform::Answer::Yes);
  Click(ArchiveView::kIdDelete);
  EXPECT_TRUE(List().IsEmptyArchive());
  EXPECT_FALSE(view_->Button(ArchiveView::kIdLoad)->isEnabled());
  EXPECT_FALSE(std::filesystem::exists(PathOf("a.arc")));
}

TEST_F(ArchiveViewTest, OrderRefusesAnOrderedArchive) {
  Open({"A", "B", "C"});
  const std::string before = ReadFile(PathOf("a.arc"));
  prompts_.shown.clear();
  Click(ArchiveView::kIdOrder);
  EXPECT_EQ(Shown(), std::vector<int>{478});
  EXPECT_EQ(ReadFile(PathOf("a.arc")), before);
  Open({"C", "A", "B"}, kLayout4400, "b.arc");
  Click(ArchiveView::kIdOrder);
  EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(List().RecordRowCount(), 3);
}

TEST_F(ArchiveViewTest, UpAndDownMoveExactlyOneRecord) {
  struct Case {
    const char* name;
    std::vector<int> rows;
    int button;
    int message;
    std::vector<std::string> names;
    int selectedRow;  // after the move; -1: the selection as it was
  };
  const Case cases[] = {
      {"none", {}, ArchiveView::kIdUp, 1157, {"A", "B", "C"}, -1},
      {"two", {0, 1}, ArchiveView::kIdDown, 1157, {"A", "B", "C"}, -1},
      {"first_up", {0}, ArchiveView::kIdUp, 1156, {"A", "B", "C"}, 0},
      {"last_down", {2}, ArchiveView::kIdDown, 1156, {"A", "B", "C"}, 2},
      {"middle_up", {1}, ArchiveView::kIdUp, 0, {"B", "A", "C"}, 0},
      {"first_down", {0}, ArchiveView::kIdDown, 0, {"B", "A", "C"}, 1},
  };
  for (const Case& c : cases) {
    Open({"A", "B", "C"}, kLayout4400, std::string(c.name) + ".arc");
    List().ClearSelection();
    for (int row : c.rows) List().SetSelected(row, true);
    prompts_.shown.clear();
    Click(c.button);
    EXPECT_EQ(Shown(), c.message ? std::vector<int>{c.message} : std::vector<int>{}) << c.name;
    EXPECT_EQ(Names(), c.names) << c.name;
    if (c.selectedRow >= 0) {
      EXPECT_EQ(List().SelectedCount(), 1) << c.name;
      EXPECT_EQ(List().FirstSelectedRow(), c.selectedRow) << c.name;
      EXPECT_EQ(List().CurrentRow(), c.message ? List().CurrentRow() : c.selectedRow) << c.name;
    }
  }
}

TEST_F(ArchiveViewTest, CopyAndMoveIntoAnotherArchive) {
  Open({"A", "B", "C"});
  SelectRows({0, 1});
  List().SetCurrentRow(1);
  prompts_.ExpectFile(PathOf("copy"));
  Click(ArchiveView::kIdCopy);
  Archive copy(slots_);
  ASSERT_EQ(copy.SetPath(PathOf("copy.arc")), kLayout4400);
  ASSERT_EQ(copy.CreateIndex(), 0);
  EXPECT_EQ(copy.RecordCount(), 2);
  EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_TRUE(List().IsSelected(1));  // the focused row selected again
  EXPECT_EQ(List().SelectedCount(), 1);

  SelectRows({2});
  prompts_.ExpectFile(PathOf("moved.arc"));
  prompts_.Expect(kMsgDeleteChart, platform::Answer::Yes);  // the move deletes after the copy
  Click(ArchiveView::kIdMove);
  EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(List().CurrentRow(), 0);
  EXPECT_EQ(view_->RecordCountText(), QStringLiteral("2"));
  EXPECT_EQ(view_->SelectedCountText(), QStringLiteral("0"));
}

TEST_F(ArchiveViewTest, ConvertSwitchesLayoutAndCaption) {
  Open({"A", "B"}, kLayout4200);
  prompts_.shown.clear();
  Click(ArchiveView::kIdConvert);
  EXPECT_EQ(archive_.LayoutCode(), kLayout4400);
  EXPECT_EQ(Shown(), std::vector<int>{506});
  EXPECT_EQ(view_->Button(ArchiveView::kIdConvert)->text(),
            QStringLiteral("Перевести в формат 4.3"));
  Click(ArchiveView::kIdConvert);
  EXPECT_EQ(archive_.LayoutCode(), kLayout4200);
  EXPECT_EQ(view_->Button(ArchiveView::kIdConvert)->text(),
            QStringLiteral("Перевести в формат 4.4"));
  EXPECT_EQ(ReadFile(PathOf("a.arc")).size(), 4u + 2u * 1776u);
}

TEST_F(ArchiveViewTest, CopyWholeArchiveWithItsCommentFiles) {
  OpenArchive("a.arc", kLayout4400, {MakeChart("A"), MakeChart("B")}, {Block({{2, 0, 5}})});
  WriteFile(PathOf("a.ar2"), "hello");
  archive_.Recent().AddRecentName(PathOf("a.arc"));
  Show();
  const std::string bytes = ReadFile(PathOf("a.arc"));
  // A data folder without export formats: the copy is still offered, and the message names the
  // missing file.
  prompts_.shown.clear();
  prompts_.ExpectFile("");
  Click(ArchiveView::kIdCopyWhole);
  ASSERT_EQ(Shown(), std::vector<int>{0});
  EXPECT_NE(prompts_.shown[0].text.find("velm.exp"), std::string::npos);
  EXPECT_EQ(prompts_.fileChoices.size(), 1u);
  // The seeded folder has them.
  WriteFile(PathOf("velm.exp"), ReadFile(testing_support::SourceDir() / "data" / "velm.exp"));
  struct Case {
    const char* name;
    std::string chosen;
    std::vector<int> messages;
    std::string copied;  // empty: nothing written
  };
  const Case cases[] = {
      {"cancelled", "", {}, ""},
      {"other_extension", PathOf("copy.txt"), {516}, ""},
      {"onto_itself", PathOf("a.arc"), {ErrorReportNumber(kErrParameter)}, ""},
      {"comment_file_extension", PathOf("a.ar0"), {516}, ""},
      {"shares_its_comment_files", PathOf("a.arC"), {ErrorReportNumber(kErrParameter)}, ""},
      {"no_extension", PathOf("copy"), {518}, PathOf("copy.arc")},
      {"existing_declined", PathOf("copy.arc"), {74}, PathOf("copy.arc")},
  };
  for (const Case& c : cases) {
    prompts_.shown.clear();
    prompts_.ExpectFile(c.chosen);
    if (std::string(c.name) == "existing_declined")
      prompts_.Expect(kMsgReplaceFile, platform::Answer::No);
    Click(ArchiveView::kIdCopyWhole);
    EXPECT_EQ(Shown(), c.messages) << c.name;
    EXPECT_EQ(ReadFile(PathOf("a.arc")), bytes) << c.name;
    EXPECT_EQ(ReadFile(PathOf("a.ar2")), "hello") << c.name;
    if (!c.copied.empty()) {
      EXPECT_EQ(ReadFile(c.copied), bytes) << c.name;
      EXPECT_EQ(ReadFile(PathOf("copy.ar2")), "hello") << c.name;
    }
  }
  EXPECT_FALSE(std::filesystem::exists(PathOf("copy.txt")));
}

TEST_F(ArchiveViewTest, DamagedArchiveIsBrowsableAndRefusesEveryChange) {
  // A 4200 header over 1836-byte records: read as far as 4200 records go, never rewritten.
  std::string bytes = archive_test::Header(kLayout4200);
  for (const char* name : {"B", "A", "C"})
    bytes += archive_test::RecordBytes(MakeChart(name), kLayout4400);
  WriteFile(PathOf("d.arc"), bytes);
  ASSERT_EQ(archive_.SetPath(PathOf("d.arc")), kLayout4200);
  prompts_.shown.clear();
  archive_.CreateIndex();
  ASSERT_TRUE(archive_.IsDamaged());
  archive_.Recent().AddRecentName(PathOf("d.arc"));
  Show();
  EXPECT_GT(List().RecordRowCount(), 0);
  EXPECT_EQ(view_->windowTitle(), QStringLiteral("АРХИВ  (только чтение)"));
  struct Case {
    const char* name;
    int button;
    std::vector<int> rows;
  };
  const Case cases[] = {{"delete", ArchiveView::kIdDelete, {0}},
                        {"move", ArchiveView::kIdMove, {0}},
                        {"order", ArchiveView::kIdOrder, {}},
                        {"down", ArchiveView::kIdDown, {0}},
                        {"convert", ArchiveView::kIdConvert, {}}};
  for (const Case& c : cases) {
    SelectRows({});
    for (int row : c.rows) List().SetSelected(row, true);
    prompts_.shown.clear();
    Click(c.button);
    EXPECT_EQ(Shown(), std::vector<int>{524}) << c.name;
    EXPECT_EQ(ReadFile(PathOf("d.arc")), bytes) << c.name;
  }
  // The sort in place is refused once its choices are known.
  platform::ModalDriver::Expect<DArcSort>([](DArcSort& d) {
    d.params = ArchiveSortParams();
    return platform::kIdOk;
  });
  prompts_.shown.clear();
  Click(ArchiveView::kIdSort);
  EXPECT_EQ(Shown(), std::vector<int>{524});
  EXPECT_EQ(ReadFile(PathOf("d.arc")), bytes);
}

TEST_F(ArchiveViewTest, CommentSwitchMarksTheFirstSelectedRecordAlone) {
  Open({"A", "B", "C"});
  archive_.Entry(0).mark = 'Y';
  SelectRows({1, 2});
  view_->OnComment();
  EXPECT_EQ(Marks(), "NYN");
  EXPECT_EQ(archive_.browserVariant, 0);
  EXPECT_EQ(view_->EndResult(), platform::kIdCancel);
}

TEST_F(ArchiveViewTest, ExitCancelsAndKeepsTheMarks) {
  Open({"A", "B"});
  archive_.Entry(1).mark = 'Y';
  Click(ArchiveView::kIdExit);
  EXPECT_EQ(view_->EndResult(), platform::kIdCancel);
  EXPECT_EQ(Marks(), "NY");
}

}  // namespace

namespace {

// The browser as the user sees it, for a person to look at (VELM_DEMO_DIR).
TEST_F(ArchiveViewTest, DrawsTheBrowserForALook) {
  std::vector<Chart> charts;
  struct Person {
    const char* name;
    const char* title;
    const char* town;
  };
  for (const Person& p : {Person{"Иванов Иван Иванович", "Натальная карта", "Житомир"},
                          Person{"Петрова Анна", "Соляр 2024 года", "Санкт-Петербург"},
                          Person{"Сидоров", "", "Москва"},
                          Person{"Очень длинное имя человека из архива", "Хорар", "Ош"}}) {
    Chart chart = MakeChart(Cp1251(p.name), 12, 4, 1961);
    EXPECT_TRUE(chart.definition.sources[0]
                    .place.SetPlace(50, 15, 'N', 28, 40, 'E', Cp1251(p.town), "")
                    .ok());
    chart.definition.SetTitle(Cp1251(p.title));
    charts.push_back(chart);
  }
  for (int n = 0; n < 40; ++n) charts.push_back(MakeChart("Record " + std::to_string(n)));
  OpenArchive("demo.arc", kLayout4400, charts);
  archive_.Recent().AddRecentName(PathOf("demo.arc"));
  archive_.Recent().AddRecentName(PathOf("gone.arc"));
  archive_.Recent().AddRecentName(PathOf("demo.arc"));
  Show();
  SelectRows({1, 2});
  view_->resize(980, 600);
  view_->ListBox()->Changed();
  const QImage picture = view_->grab().toImage();
  EXPECT_GT(view_->ListBox()->VisibleRows(), 5);
  // Only the rows in view were drawn.
  EXPECT_LE(view_->ListBox()->LastPaintedRows(), view_->ListBox()->VisibleRows() + 1);
  EXPECT_GT(view_->ListBox()->LastPaintedRows(), 0);
  if (const char* dir = std::getenv("VELM_DEMO_DIR")) {
    EXPECT_TRUE(picture.save(QString::fromLocal8Bit(dir) + QStringLiteral("/archive_browser.png")));
    EXPECT_TRUE(view_->ListBox()->grab().save(QString::fromLocal8Bit(dir) +
                                              QStringLiteral("/archive_list.png")));
  }
}

}  // namespace

namespace {

void Press(QWidget* target, int y, Qt::KeyboardModifiers mods, bool twice = false) {
  const QPointF at(10, y);
  QMouseEvent press(twice ? QEvent::MouseButtonDblClick : QEvent::MouseButtonPress, at,
                    target->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, mods);
  QApplication::sendEvent(target, &press);
}

void Type(QWidget* target, int key, const QString& text, Qt::KeyboardModifiers mods = {}) {
  QKeyEvent event(QEvent::KeyPress, key, mods, text);
  QApplication::sendEvent(target, &event);
}

TEST_F(ArchiveViewTest, MouseAndKeysSelectRowsAndJumpByInitial) {
  std::vector<std::string> names;
  for (int n = 0; n < 60; ++n) names.push_back("R" + std::to_string(n));
  names.push_back(Cp1251("Яковлев"));
  names.push_back(Cp1251("ёлкин"));
  Open(names);
  view_->resize(900, 500);
  CArchiveListBox* box = view_->ListBox();
  QWidget* rows = box->viewport();
  const int h = box->RowHeight();
  struct Case {
    const char* name;
    int row;
    Qt::KeyboardModifiers mods;
    std::vector<int> selected;
  };
  const Case cases[] = {{"click", 2, Qt::NoModifier, {2}},
                        {"ctrl_click", 4, Qt::ControlModifier, {2, 4}},
                        {"shift_click", 6, Qt::ShiftModifier, {4, 5, 6}},
                        {"ctrl_click_off", 5, Qt::ControlModifier, {4, 6}}};
  for (const Case& c : cases) {
    Press(rows, c.row * h + h / 2, c.mods);
    std::vector<int> selected;
    for (int row = 0; row < List().RecordRowCount(); ++row)
      if (List().IsSelected(row)) selected.push_back(row);
    EXPECT_EQ(selected, c.selected) << c.name;
    EXPECT_EQ(view_->SelectedCountText(), QString::number(c.selected.size())) << c.name;
  }
  Type(box, Qt::Key_Down, {}, Qt::ShiftModifier);  // from row 5 (the last clicked) to 6
  EXPECT_EQ(List().CurrentRow(), 6);
  // A typed Cyrillic letter, in either case, brings its first record to the top.
  Type(box, 0, QStringLiteral("я"));
  EXPECT_EQ(List().TopRow(), std::min(60, List().RecordRowCount() - box->VisibleRows()));
  EXPECT_EQ(List().CurrentRow(), 60);
  Type(box, 0, QStringLiteral("Ё"));
  EXPECT_EQ(List().CurrentRow(), 61);
  // A double click loads the row.
  List().SetTopRow(0, box->VisibleRows());
  Press(rows, 3 * h + h / 2, Qt::NoModifier, true);
  EXPECT_EQ(view_->EndResult(), platform::kIdOk);
  EXPECT_EQ(archive_.Entry(3).mark, 'Y');
  EXPECT_EQ(archive_.MarkedCount(), 1);
}

}  // namespace
