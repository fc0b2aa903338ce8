#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "foundation/lists/line_list.h"
#include "foundation/lists/list_navigation.h"

namespace {

using lists::LineList;
using lists::ScrollLimit;

LineList MakeList(int count, int lines, int first = 0, int selection = 0,
                  ScrollLimit limit = ScrollLimit::kFullLastPage) {
  LineList list(limit);
  list.SetCount(count);
  list.SetLinesPerPage(lines);
  list.Scroll(kScrollThumbPosition, first);
  list.Select(selection);
  return list;
}

// Any mix of keys, scroll codes, clicks and count changes keeps the first line in its range and
// the selection inside the list and on the page.
TEST(LineList, RandomActionsKeepSelectionOnTheVisiblePage) {
  std::mt19937 random(18);
  const int keys[] = {kKeyUp, kKeyDown, kKeyPageUp, kKeyPageDown, kKeyHome, kKeyEnd};
  for (ScrollLimit limit : {ScrollLimit::kFullLastPage, ScrollLimit::kLastLine}) {
    LineList list(limit);
    list.SetCount(57);
    list.SetLinesPerPage(9);
    for (int step = 0; step < 5000; ++step) {
      const int what = static_cast<int>(random() % 5);
      if (what == 0) list.Key(keys[random() % 6]);
      if (what == 1)
        list.Scroll(static_cast<int>(random() % 8), static_cast<int>(random() % 80) - 10);
      if (what == 2) list.Select(static_cast<int>(random() % 70) - 5);
      if (what == 3 && step % 50 == 0) list.SetCount(static_cast<int>(random() % 70));
      if (what == 4 && step % 40 == 0) list.SetLinesPerPage(static_cast<int>(random() % 15));
      const int page = std::max(1, list.LinesPerPage());
      const int maxFirst = list.Count() == 0                 ? 0
                           : limit == ScrollLimit::kLastLine ? list.Count() - 1
                                                             : std::max(0, list.Count() - page);
      ASSERT_GE(list.First(), 0) << step;
      ASSERT_LE(list.First(), maxFirst) << step;
      if (list.Count() == 0) continue;
      ASSERT_GE(list.Selection(), list.First()) << step;
      ASSERT_LT(list.Selection(), std::min(list.Count(), list.First() + page)) << step;
    }
  }
}

// A list whose first line may stand alone at the top: the scroll codes run the first line to the
// last line; 10 lines, 4 on a page.
TEST(LineList, LastLineLimitScrollsToTheLastLine) {
  struct Row {
    const char* name;
    int code, position, first, expected;
  };
  const Row rows[] = {
      {"bottom", kScrollBottom, 0, 0, 9},
      {"page_down_stops_at_last", kScrollPageDown, 0, 8, 9},
      {"line_down", kScrollLineDown, 0, 6, 7},
      {"thumb_past_end", kScrollThumbTrack, 20, 0, 9},
      {"line_up_at_top", kScrollLineUp, 0, 0, 0},
      {"page_up", kScrollPageUp, 0, 9, 5},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    LineList list = MakeList(10, 4, 0, 0, ScrollLimit::kLastLine);
    list.Scroll(kScrollThumbPosition, r.first);
    ASSERT_EQ(list.First(), r.first);
    list.Scroll(r.code, r.position);
    EXPECT_EQ(list.First(), r.expected);
    EXPECT_EQ(list.VisibleCount(), std::min(4, 10 - r.expected));
  }
}

// Rows 2000 below the top, 450.5 apart: row edges at -2000, -2450, -2901, -3351 (truncated).
TEST(LineList, HitTestsFindTheRowWhoseBandHoldsThePoint) {
  LineList list;
  list.SetGeometry(2000, 450.5);
  list.SetCount(7);
  list.SetLinesPerPage(3);
  list.Scroll(kScrollThumbPosition, 5);
  ASSERT_EQ(list.First(), 4);  // the last page is full
  EXPECT_EQ(list.RowTop(0), -2000);
  EXPECT_EQ(list.RowTop(1), -2450);
  EXPECT_EQ(list.RowTop(2), -2901);
  struct Row {
    int y, row, line;
  };
  const Row rows[] = {
      {-1999, -1, -1},  // the heading above the first row
      {-2000, 0, 4},   {-2449, 0, 4}, {-2450, 1, 5},   {-2900, 1, 5},
      {-2901, 2, 6},   {-3350, 2, 6}, {-3351, -1, -1},  // below the page
      {100, -1, -1},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(list.RowAt(r.y), r.row) << r.y;
    EXPECT_EQ(list.LineAt(r.y), r.line) << r.y;
  }
  // Past the last line of a short list no line is hit.
  LineList shortList;
  shortList.SetGeometry(150, 400);
  shortList.SetCount(2);
  shortList.SetLinesPerPage(5);
  EXPECT_EQ(shortList.LineAt(-150 - 400 - 1), 1);
  EXPECT_EQ(shortList.LineAt(-150 - 800 - 1), -1);
  EXPECT_EQ(shortList.RowAt(-150 - 800 - 1), 2);
}

TEST(LineList, LinesFittingTheWindowAndDegenerateGeometry) {
  struct Row {
    int top;
    double pitch;
    int height, lines;
  };
  const Row rows[] = {
      {200, 300, 1100, 3},                      // (1100 - 200) / 300
      {200, 300, 1099, 2}, {200, 300, 199, 0},  // a window lower than its heading: no lines
      {0, 0.0, 10, 10},                         // a pitch below one unit counts as one
      {0, -5.0, 3, 3},
  };
  for (const Row& r : rows) {
    LineList list;
    list.SetGeometry(r.top, r.pitch);
    EXPECT_EQ(list.FitLines(r.height), r.lines) << r.height << " " << r.pitch;
  }
  // No lines on the page: the keys still move by one line and nothing divides by zero.
  LineList list = MakeList(5, 0);
  EXPECT_EQ(list.Key(kKeyPageDown), kListScrolled);
  EXPECT_EQ(list.First(), 1);
  EXPECT_EQ(list.Selection(), 1);
  EXPECT_EQ(list.VisibleCount(), 0);
}

TEST(LineList, ShrinkingTheListKeepsFirstAndSelectionInside) {
  LineList list = MakeList(25, 10, 15, 20);
  list.SetCount(12);
  EXPECT_EQ(list.First(), 2);
  EXPECT_EQ(list.Selection(), 11);
  list.SetCount(0);
  EXPECT_EQ(list.First(), 0);
  EXPECT_EQ(list.Selection(), 0);
  EXPECT_EQ(list.Select(0), kListUnchanged);  // nothing to select
  EXPECT_EQ(list.LineAt(-10), -1);
}

}  // namespace
