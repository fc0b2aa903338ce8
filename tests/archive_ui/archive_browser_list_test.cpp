// The browser's record list without a window: path display, row texts and layout, selection and
// marks, the empty archive's row, the keyboard jump and painting only the rows in view.
#include "archive/store/archive_browser_list.h"

#include <gtest/gtest.h>

#include <array>

#include "archive/archive_fixture.h"
#include "foundation/drawing/palette.h"
#include "foundation/messages/message_numbers.h"
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

// Columns of widest texts 120 (name), 60 (second text), 150 (date and time), 48 (place) and 78
// (coordinates), 12 after each, "1" 6 wide: 516 in all.
TEST(ArchiveRow, ColumnsAreAsWideAsTheirWidestTextsWhileTheyFit) {
  const ArchiveColumnWidths widest{120, 60, 150, 48, 78};
  struct Case {
    const char* name;
    int listWidth;
    std::array<int, 8>
        columns;  // name x, width; title x, width; moment x; place x, width; coords x
  };
  const Case cases[] = {
      {"room to spare", 600, {0, 120, 132, 60, 204, 366, 48, 426}},
      {"exactly", 516, {0, 120, 132, 60, 204, 366, 48, 426}},
      // 174 left for the three texts: the place (48) and the second text (60) keep their widths,
      // the name is cut to the 66 left.
      {"the widest cut", 462, {0, 66, 78, 60, 150, 312, 48, 372}},
      // 42 left: every text column at its least, 6 widths of "1", past the list's edge.
      {"too narrow", 330, {0, 36, 48, 36, 96, 258, 36, 306}},
  };
  for (const Case& c : cases) {
    const ArchiveColumns l = LayOutArchiveColumns(widest, 12, 6, c.listWidth);
    EXPECT_EQ((std::array{l.nameX, l.nameWidth, l.titleX, l.titleWidth, l.momentX, l.placeX,
                          l.placeWidth, l.coordinatesX}),
              c.columns)
        << c.name;
  }
}

// The recording device: a text character is half an em wide; the row font (9 pt) has an em of
// 12 pixels, so every character is 6 wide.
TEST(ArchiveRow, TextsStandInTheirColumnsCutToTheirWidths) {
  struct Case {
    const char* name;
    bool selected;
    int back, text;
  };
  const Case cases[] = {{"plain", false, kArchiveRowBack, 0},
                        {"selected", true, kArchiveRowSelectedBack, kArchiveRowSelectedText}};
  ArchiveColumns columns;
  columns.nameWidth = 90;  // 15 characters, of which 12 and "..." for a longer name
  columns.titleX = 100, columns.titleWidth = 60;
  columns.momentX = 170;
  columns.placeX = 330, columns.placeWidth = 60;
  columns.coordinatesX = 400;
  for (const Case& c : cases) {
    platform::RecordingDc dc;
    ArchiveIndexEntry e = Entry();
    e.name = std::string(34, 'N');
    e.town = "Moskva   ";  // trailing blanks of the stored field
    DrawArchiveRow(dc, {0, 20, 600, 34}, columns, e, c.selected);
    ASSERT_EQ(dc.Calls().front().kind, platform::RecordedCall::FillRect) << c.name;
    EXPECT_EQ(dc.Calls().front().color, ColorByIndex(c.back)) << c.name;
    std::vector<std::pair<int, std::string>> texts;
    for (const auto& call : dc.Calls()) {
      if (call.kind != platform::RecordedCall::Text) continue;
      texts.emplace_back(call.points.at(0).x, call.text);
      EXPECT_EQ(call.color, ColorByIndex(c.text)) << c.name;
      EXPECT_EQ(call.bkMode, platform::BkMode::Transparent) << c.name;
    }
    const std::vector<std::pair<int, std::string>> expected = {{0, std::string(12, 'N') + "..."},
                                                               {100, "natal"},
                                                               {170, "05.03.1990  07:05  -03:30"},
                                                               {330, "Moskva"},
                                                               {400, "05S07  037W37"}};
    EXPECT_EQ(texts, expected) << c.name;
  }
}

TEST(ArchiveRow, CommentedRecordsColouredOnTheirPageOnly) {
  ArchiveIndexEntry e = Entry();
  e.comments.lengths[3] = 12;
  for (const auto& [page, colour] :
       {std::pair{3, kArchiveRowCommented}, std::pair{4, 0}, std::pair{-1, 0}}) {
    platform::RecordingDc dc;
    DrawArchiveRow(dc, {0, 0, 600, 14}, ArchiveColumns{}, e, false, page);
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
  ArchiveBrowserList list_{archive_.Index()};
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
  EXPECT_EQ(dc.Texts(), std::vector<std::string>{GetMessageText(kMsgNoArchiveRows)});
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

// Every character 6 wide on the recording device: the longest name 22 characters (132), the
// second text 15 (90), the date and time 25 (150), the place 7 (42), the coordinates 13 (78), 12
// after every column: 552.
TEST_F(ArchiveListTest, ColumnsAreMeasuredFromTheWidestTextsOfTheWholeList) {
  std::vector<Chart> charts = {MakeChart(Cp1251("Иванова Анна Сергеевна")), MakeChart("Li")};
  for (Chart& c : charts) {
    ASSERT_TRUE(c.definition.sources[0]
                    .place.SetPlace(50, 15, 'N', 28, 40, 'E', Cp1251("Житомир"), "UA")
                    .ok());
    c.definition.SetTitle(Cp1251("Соляр 2024 года"));
  }
  OpenArchive("columns.arc", kLayout4400, charts);
  list_.Refill();
  struct Case {
    int width;
    bool cut;  // 492: 204 left for the texts; the place keeps its 42, the name and the second
               // text are cut to 81 each
  };
  for (const Case& c : {Case{800, false}, Case{552, false}, Case{492, true}}) {
    platform::RecordingDc dc;
    list_.Paint(dc, c.width, 100);
    std::vector<std::pair<int, std::string>> row;  // the first row's texts
    for (const auto& call : dc.Calls())
      if (call.kind == platform::RecordedCall::Text && call.points[0].y < 14)
        row.emplace_back(call.points[0].x, call.text);
    ASSERT_EQ(row.size(), 5u) << c.width;
    for (std::size_t i = 0; i + 1 < row.size(); ++i)
      EXPECT_GE(row[i + 1].first, row[i].first + 6 * static_cast<int>(row[i].second.size()) + 12)
          << c.width << " after " << row[i].second;
    EXPECT_LE(row.back().first + 6 * static_cast<int>(row.back().second.size()) + 12, c.width);
    EXPECT_EQ(row[0].second == Cp1251("Иванова Анна Сергеевна"), !c.cut) << c.width;
    EXPECT_EQ(row[1].second, Cp1251(c.cut ? "Соляр 2024..." : "Соляр 2024 года")) << c.width;
    EXPECT_EQ(row[2].second, "01.02.1990  13:45  +03:00") << c.width;
    EXPECT_EQ(row[3].second, Cp1251("Житомир")) << c.width;
    EXPECT_EQ(row[4].second, "50N15  028E40") << c.width;
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
