// The browser's record list without a window: path display, row texts and layout, selection and
// marks, the empty archive's row, the keyboard jump and painting only the rows in view.
#include "archive/store/archive_browser_list.h"

#include <gtest/gtest.h>

#include "archive/archive_fixture.h"
#include "foundation/drawing/palette.h"
#include "foundation/messages/messages.h"
#include "platform/core/recording_dc.h"

namespace {

using archive_test::ArchiveTest;
using archive_test::MakeChart;

TEST(ArchivePathDisplay, CutsPathsOfEightyCharactersOrMore) {
  const std::string c56(56, 'c');
  const std::string e40(40, 'e');
  const std::string f40(40, 'f');
  struct Case {
    const char* name;
    std::string path;
    std::string shown;
  };
  const Case cases[] = {
      {"79_whole", "/home/user/" + std::string(64, 'b') + ".arc",
       "/home/user/" + std::string(64, 'b') + ".arc"},
      {"80_cut_after_head", "/home/user/archives/" + c56 + ".arc",
       "/home/.../archives/" + c56 + ".arc"},
      {"first_fitting_tail", "/home/user/" + e40 + "/" + f40 + ".arc", "/home/.../" + f40 + ".arc"},
      {"no_tail_fits", "/home/" + std::string(100, 'd') + ".arc", "/home/..."},
      {"short", "/a/b.arc", "/a/b.arc"},
  };
  for (const Case& c : cases) {
    const std::string shown = ArchivePathDisplay(c.path);
    EXPECT_EQ(shown, c.shown) << c.name;
    EXPECT_LT(shown.size(), 80u) << c.name;
  }
  EXPECT_EQ(cases[0].path.size(), 79u);
  EXPECT_EQ(cases[1].path.size(), 80u);
}

ArchiveIndexEntry Entry() {
  ArchiveIndexEntry e;
  e.name = "Ivanov";
  e.title = "natal";
  e.day = 5, e.month = 3, e.year = 1990;
  e.hours = 7, e.minutes = 5;
  e.zoneSign = '-', e.zoneHours = 3, e.zoneMinutes = 30;
  e.latDegrees = 5, e.latMinutes = 7, e.latLetter = 'S';
  e.lonDegrees = 37, e.lonMinutes = 37, e.lonLetter = 'W';
  e.town = "Moskva";
  return e;
}

TEST(ArchiveRow, TextsFollowTheRowFormats) {
  const ArchiveIndexEntry e = Entry();
  EXPECT_EQ(ArchiveRowMomentText(e), "05.03.1990  07:05  -03:30  ");
  EXPECT_EQ(ArchiveRowPlaceText(e), "05S07  037W37");
  ArchiveIndexEntry bc = e;
  bc.year = 44, bc.lonDegrees = 180, bc.zoneSign = '+', bc.zoneHours = 12, bc.zoneMinutes = 0;
  EXPECT_EQ(ArchiveRowMomentText(bc), "05.03.0044  07:05  +12:00  ");
  EXPECT_EQ(ArchiveRowPlaceText(bc), "05S07  180W37");
}

// The recording device: a text character is half an em wide; the row font (9 pt) has an em of
// 12 pixels, so "1" is 6 wide; a list 600 wide shares 600 - 38 x 6 = 372 out in quarters of 93.
TEST(ArchiveRow, ColumnsAtQuartersOfTheWidthLessThirtyEightDigits) {
  struct Case {
    const char* name;
    bool selected;
    int back, text;
  };
  const Case cases[] = {{"plain", false, kArchiveRowBack, 0},
                        {"selected", true, kArchiveRowSelectedBack, kArchiveRowSelectedText}};
  for (const Case& c : cases) {
    platform::RecordingDc dc;
    ArchiveIndexEntry e = Entry();
    e.name = std::string(34, 'N');
    DrawArchiveRow(dc, {0, 20, 600, 34}, 600, e, c.selected);
    ASSERT_EQ(dc.Calls().front().kind, platform::RecordedCall::FillRect) << c.name;
    EXPECT_EQ(dc.Calls().front().color, ColorByIndex(c.back)) << c.name;
    std::vector<std::pair<int, std::string>> texts;
    for (const auto& call : dc.Calls()) {
      if (call.kind != platform::RecordedCall::Text) continue;
      texts.emplace_back(call.points.at(0).x, call.text);
      EXPECT_EQ(call.color, ColorByIndex(c.text)) << c.name;
      EXPECT_EQ(call.bkMode, platform::BkMode::Transparent) << c.name;
    }
    // The name (204 wide) is cut into 2q = 186: 28 characters and "...".
    const std::vector<std::pair<int, std::string>> expected = {
        {0, std::string(28, 'N') + "..."},
        {186, "natal"},
        {279, "05.03.1990  07:05  -03:30  "},
        {279 + 27 * 6, "Moskva"},
        {279 + 27 * 6 + 93, "05S07  037W37"}};
    EXPECT_EQ(texts, expected) << c.name;
  }
}

TEST(ArchiveRow, CommentedRecordsColouredOnTheirPageOnly) {
  ArchiveIndexEntry e = Entry();
  e.comments.lengths[3] = 12;
  for (const auto& [page, colour] :
       {std::pair{3, kArchiveRowCommented}, std::pair{4, 0}, std::pair{-1, 0}}) {
    platform::RecordingDc dc;
    DrawArchiveRow(dc, {0, 0, 600, 14}, 600, e, false, page);
    EXPECT_EQ(dc.Calls().at(1).color, ColorByIndex(colour)) << page;
  }
}

class ArchiveListTest : public ArchiveTest {
 protected:
  void OpenNames(const std::vector<std::string>& names) {
    std::vector<Chart> charts;
    for (const std::string& name : names) charts.push_back(MakeChart(name));
    OpenArchive("list.arc", kLayout4400, charts);
    list_.Refill();
  }
  std::string Marks() const {
    std::string marks;
    for (int n = 0; n < archive_.RecordCount(); ++n) marks += archive_.Entry(n).mark;
    return marks;
  }
  std::string Selection() const {
    std::string rows;
    for (int row = 0; row < list_.RecordRowCount(); ++row)
      rows += list_.IsSelected(row) ? 'Y' : 'N';
    return rows;
  }
  ArchiveBrowserList list_{archive_};
};

TEST_F(ArchiveListTest, SelectionAndMarksFollowEachOther) {
  OpenNames({"A", "B", "C", "D"});
  struct Case {
    const char* name;
    std::function<int()> act;
    int result;
    std::string marks, selection;
  };
  const Case cases[] = {
      {"list_to_marks",
       [&] {
         list_.SetSelected(1, true);
         list_.SetSelected(3, true);
         return list_.SyncSelection(ArchiveBrowserList::Sync::kListToMarks);
       },
       2, "NYNY", "NYNY"},
      {"marks_to_list",
       [&] {
         archive_.Entry(0).mark = 'Y';
         archive_.Entry(3).mark = 'N';
         return list_.SyncSelection(ArchiveBrowserList::Sync::kMarksToList);
       },
       2, "YYNN", "YYNN"},
      {"invert", [&] { return list_.InvertSelection(); }, 2, "NNYY", "NNYY"},
      {"all", [&] { return list_.SelectAll(); }, 4, "YYYY", "YYYY"},
      {"none",
       [&] {
         list_.SelectNone();
         return list_.SelectedCount();
       },
       0, "NNNN", "NNNN"},
      {"range_then_list_to_marks",
       [&] {
         list_.SelectRange(2, 0);
         return list_.SyncSelection(ArchiveBrowserList::Sync::kListToMarks);
       },
       3, "YYYN", "YYYN"},
  };
  for (const Case& c : cases) {  // each step starts from the state the one before left
    EXPECT_EQ(c.act(), c.result) << c.name;
    EXPECT_EQ(Marks(), c.marks) << c.name;
    EXPECT_EQ(Selection(), c.selection) << c.name;
  }
  EXPECT_EQ(list_.FirstSelectedRow(), 0);
  list_.Refill();
  EXPECT_EQ(Selection(), "NNNN");
}

TEST_F(ArchiveListTest, EmptyArchiveShowsOneMessageRow) {
  OpenArchive("empty.arc", kLayout4400, {});
  list_.Refill();
  EXPECT_TRUE(list_.IsEmptyArchive());
  EXPECT_EQ(list_.RowCount(), 1);
  EXPECT_EQ(list_.RecordOfRow(0), -1);
  list_.SetSelected(0, true);
  EXPECT_EQ(list_.SelectedCount(), 0);
  platform::RecordingDc dc;
  EXPECT_EQ(list_.Paint(dc, 600, 200), 1);
  EXPECT_EQ(dc.Texts(), std::vector<std::string>{GetMessageText(473)});
}

TEST_F(ArchiveListTest, TypedInitialFindsItsRecordWhateverTheCase) {
  OpenNames({"Zeta", Cp1251("Иванов"), Cp1251("ёлкин"), Cp1251("Яковлев"), "alpha"});
  struct Case {
    const char* typed;  // UTF-8
    int row;
  };
  const Case cases[] = {{"и", 1}, {"И", 1}, {"Ё", 2},  {"ё", 2}, {"я", 3},
                        {"A", 4}, {"z", 0}, {"Ж", -1}, {"1", -1}};
  for (const Case& c : cases) {
    const std::string typed = Cp1251(c.typed);
    ASSERT_EQ(typed.size(), 1u);
    EXPECT_EQ(list_.RowOfInitial(typed[0]), c.row) << c.typed;
  }
}

TEST_F(ArchiveListTest, PaintsOnlyTheRowsInView) {
  std::vector<std::string> names;
  for (int n = 0; n < 300; ++n) names.push_back("R" + std::to_string(n));
  OpenNames(names);
  platform::RecordingDc dc;
  const int rowHeight = ArchiveRowHeight(dc);
  EXPECT_EQ(rowHeight, 14);  // 10 + 2 of the text height, 2 between rows
  list_.SetTopRow(250, 10);
  // 140 pixels hold 10 rows; a part row at the bottom is drawn too.
  EXPECT_EQ(list_.Paint(dc, 600, 145), 11);
  std::vector<std::string> firstTexts;
  for (const auto& call : dc.Calls())
    if (call.kind == platform::RecordedCall::Text && call.points[0].x == 0)
      firstTexts.push_back(call.text);
  ASSERT_EQ(firstTexts.size(), 11u);
  EXPECT_EQ(firstTexts.front(), "R250");
  EXPECT_EQ(firstTexts.back(), "R260");
  // The first visible row never leaves the list's last page empty.
  list_.SetTopRow(299, 10);
  EXPECT_EQ(list_.TopRow(), 290);
  list_.EnsureVisible(10, 10);
  EXPECT_EQ(list_.TopRow(), 10);
  list_.EnsureVisible(25, 10);
  EXPECT_EQ(list_.TopRow(), 16);
}

}  // namespace
