#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "foundation/lists/list_navigation.h"
#include "foundation/lists/sort_positions.h"

namespace {

// A list of 25 lines with 10 on a page: the first line runs 0..15.
constexpr int kCount = 25;
constexpr int kPage = 10;

TEST(ListScrolling, ScrollCodesAtTheEndsAndPageEdges) {
  struct Row {
    const char* name;
    int code;
    int position;
    int first;
    int selection;
    int page;
    int count;
    int expectedFirst;
    int expectedSelection;
  };
  const Row rows[] = {
      {"line_up_at_top", kScrollLineUp, 0, 0, 0, kPage, kCount, 0, 0},
      {"line_up_pulls_selection", kScrollLineUp, 0, 5, 14, kPage, kCount, 4, 13},
      {"line_down_pushes_selection", kScrollLineDown, 0, 5, 5, kPage, kCount, 6, 6},
      {"line_down_at_bottom", kScrollLineDown, 0, 15, 20, kPage, kCount, 15, 20},
      {"page_down", kScrollPageDown, 0, 0, 3, kPage, kCount, 10, 10},
      {"page_down_to_last_page", kScrollPageDown, 0, 10, 12, kPage, kCount, 15, 15},
      {"page_up", kScrollPageUp, 0, 15, 24, kPage, kCount, 5, 14},
      {"page_up_to_top", kScrollPageUp, 0, 3, 3, kPage, kCount, 0, 3},
      {"thumb_position", kScrollThumbPosition, 7, 0, 0, kPage, kCount, 7, 7},
      {"thumb_track_beyond_end", kScrollThumbTrack, 24, 0, 2, kPage, kCount, 15, 15},
      {"thumb_negative", kScrollThumbPosition, -3, 8, 9, kPage, kCount, 0, 9},
      {"top", kScrollTop, 0, 12, 20, kPage, kCount, 0, 9},
      {"bottom", kScrollBottom, 0, 0, 0, kPage, kCount, 15, 15},
      {"selection_stays_when_on_page", kScrollLineDown, 0, 3, 8, kPage, kCount, 4, 8},
      {"unknown_code_changes_nothing", 8, 0, 7, 9, kPage, kCount, 7, 9},
      {"short_list_page_down", kScrollPageDown, 0, 0, 2, kPage, 4, 0, 2},
      {"short_list_bottom", kScrollBottom, 0, 0, 3, kPage, 4, 0, 3},
      {"empty_list", kScrollLineDown, 0, 0, 0, kPage, 0, 0, 0},
      {"page_size_zero_counts_as_one", kScrollLineDown, 0, 0, 0, 0, 5, 1, 1},
      {"exact_one_page", kScrollPageDown, 0, 0, 9, kPage, kPage, 0, 9},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    int selection = r.selection;
    EXPECT_EQ(ApplyScrollCode(r.code, r.position, r.first, selection, r.page, r.count),
              r.expectedFirst);
    EXPECT_EQ(selection, r.expectedSelection);
  }
}

TEST(ListKeys, KeysAtTheEndsAndPageEdges) {
  struct Row {
    const char* name;
    int key;
    int first;
    int selection;
    int count;
    int expectedFirst;
    int expectedSelection;
    int expectedResult;
  };
  const Row rows[] = {
      {"up_within_page", kKeyUp, 5, 8, kCount, 5, 7, kListSelectionMoved},
      {"up_at_top_of_page", kKeyUp, 5, 5, kCount, 4, 4, kListScrolled},
      {"up_at_first_line", kKeyUp, 0, 0, kCount, 0, 0, kListUnchanged},
      {"down_within_page", kKeyDown, 0, 3, kCount, 0, 4, kListSelectionMoved},
      {"down_at_bottom_of_page", kKeyDown, 0, 9, kCount, 1, 10, kListScrolled},
      {"down_at_last_line", kKeyDown, 15, 24, kCount, 15, 24, kListUnchanged},
      {"page_down", kKeyPageDown, 0, 3, kCount, 10, 13, kListScrolled},
      {"page_down_to_last_page", kKeyPageDown, 10, 13, kCount, 15, 23, kListScrolled},
      {"page_down_on_last_page", kKeyPageDown, 15, 20, kCount, 15, 24, kListSelectionMoved},
      {"page_down_at_last_line", kKeyPageDown, 15, 24, kCount, 15, 24, kListUnchanged},
      {"page_up", kKeyPageUp, 15, 24, kCount, 5, 14, kListScrolled},
      {"page_up_to_top", kKeyPageUp, 3, 5, kCount, 0, 0, kListScrolled},
      {"page_up_on_first_page", kKeyPageUp, 0, 4, kCount, 0, 0, kListSelectionMoved},
      {"home", kKeyHome, 12, 18, kCount, 0, 0, kListScrolled},
      {"home_on_first_page", kKeyHome, 0, 5, kCount, 0, 0, kListSelectionMoved},
      {"home_at_first_line", kKeyHome, 0, 0, kCount, 0, 0, kListUnchanged},
      {"end", kKeyEnd, 0, 0, kCount, 15, 24, kListScrolled},
      {"end_on_last_page", kKeyEnd, 15, 16, kCount, 15, 24, kListSelectionMoved},
      {"left_ignored", kKeyLeft, 5, 8, kCount, 5, 8, kListUnchanged},
      {"right_ignored", kKeyRight, 5, 8, kCount, 5, 8, kListUnchanged},
      {"enter_ignored", 13, 5, 8, kCount, 5, 8, kListUnchanged},
      {"short_list_end", kKeyEnd, 0, 0, 4, 0, 3, kListSelectionMoved},
      {"short_list_page_down", kKeyPageDown, 0, 0, 4, 0, 3, kListSelectionMoved},
      {"empty_list", kKeyDown, 0, 0, 0, 0, 0, kListUnchanged},
      {"page_follows_selection_off_page", kKeyDown, 10, 2, kCount, 3, 3, kListScrolled},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    int first = -1;
    int selection = -1;
    EXPECT_EQ(NavigateListByKey(r.key, r.first, r.selection, first, selection, kPage, r.count),
              r.expectedResult);
    EXPECT_EQ(first, r.expectedFirst);
    EXPECT_EQ(selection, r.expectedSelection);
  }
}

// Any mix of keys and scroll codes keeps the selection on the page and the page in the list.
TEST(ListKeys, WalkKeepsSelectionOnThePage) {
  const int keys[] = {kKeyPageUp, kKeyPageDown, kKeyEnd, kKeyHome, kKeyUp, kKeyDown};
  for (int count : {1, 7, 10, 11, 25, 100}) {
    int first = 0;
    int selection = 0;
    std::uint32_t state = 12345;
    for (int step = 0; step < 2000; ++step) {
      state = state * 1664525u + 1013904223u;
      const int pick = static_cast<int>(state >> 24);
      if (pick % 3 == 0) {
        first = ApplyScrollCode(pick % 8, pick % (count + 3) - 1, first, selection, kPage, count);
      } else {
        int newFirst = 0;
        int newSelection = 0;
        const int result = NavigateListByKey(keys[pick % 6], first, selection, newFirst,
                                             newSelection, kPage, count);
        ASSERT_EQ(result == kListScrolled, newFirst != first);
        ASSERT_EQ(result == kListUnchanged, newFirst == first && newSelection == selection);
        first = newFirst;
        selection = newSelection;
      }
      ASSERT_GE(first, 0);
      ASSERT_LE(first, count > kPage ? count - kPage : 0) << count << " step " << step;
      ASSERT_GE(selection, first);
      ASSERT_LT(selection, first + kPage);
      ASSERT_LT(selection, count);
    }
  }
}

TEST(SortPositions, KeysSortedWithTheirOriginalPositions) {
  struct Row {
    const char* name;
    std::vector<double> keys;
    char direction;
    std::vector<double> sorted;
    std::vector<int> index;
  };
  const Row rows[] = {
      {"ascending", {3, 1, 2, 1}, 'U', {1, 1, 2, 3}, {1, 3, 2, 0}},
      {"descending", {3, 1, 2, 1}, 'D', {3, 2, 1, 1}, {0, 2, 1, 3}},
      {"other_direction_is_descending", {1, 5, 2}, 'x', {5, 2, 1}, {1, 2, 0}},
      {"equal_keys_keep_order", {-40200, -40200, -40001}, 'D', {-40001, -40200, -40200}, {2, 0, 1}},
      {"already_sorted", {1, 2, 3}, 'U', {1, 2, 3}, {0, 1, 2}},
      {"single", {7}, 'U', {7}, {0}},
      {"empty", {}, 'U', {}, {}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    std::vector<double> keys = r.keys;
    std::vector<int> index(keys.size(), -1);
    SortPositions(keys, index, r.direction);
    EXPECT_EQ(keys, r.sorted);
    EXPECT_EQ(index, r.index);
  }
}

}  // namespace
