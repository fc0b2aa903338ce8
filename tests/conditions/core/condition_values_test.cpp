// The values of comparisons and intervals: the check of a bound, the order of the two bounds, the
// refusal of impossible bounds as the condition list is read, and the kinds MORE/LESS, INTERV,
// BEFORE/AFTER and CONTEXT on charts built in memory.
#include <gtest/gtest.h>

#include "conditions/condition_test_support.h"
#include "conditions/core/quantity_values.h"

namespace {

using condition_test::LineCase;
using condition_test::MakeChart;
using testing_support::ScriptedPrompter;

TEST(QuantityValues, CheckOfABound) {
  struct Row {
    const char* name;
    int quantity, mode;
    QuantityBound bound;  // first, second, third, flag, sign
    int message;
  };
  const Row rows[] = {
      {"longitude_359_59", 0, 0, {359, 59, 0, 0, 11}, 0},
      {"longitude_360", 0, 0, {360, 0, 0, 0, 0}, 658},
      {"in_sign_30_00", 0, 1, {30, 0, 0, 0, 0}, 0},
      {"in_sign_30_01", 0, 1, {30, 1, 0, 0, 0}, 658},
      {"date_whole", 1, 0, {29, 2, 1600, 1, 0}, 0},
      {"date_31_february", 1, 0, {31, 2, 1990, 1, 0}, 655},
      {"date_year_zero", 1, 0, {1, 1, 0, 1, 0}, 655},
      {"date_in_the_reform_gap", 1, 0, {10, 10, 1582, 1, 0}, 655},
      {"date_beyond_3000_bc", 1, 0, {1, 1, 3001, 0, 0}, 655},
      {"date_10_bc", 1, 0, {20, 5, 10, 0, 0}, 0},
      {"day_month_29_february", 1, 1, {29, 2, 0, 0, 0}, 0},
      {"day_month_30_february", 1, 1, {30, 2, 0, 0, 0}, 657},
      {"day_month_31_april", 1, 1, {31, 4, 0, 0, 0}, 657},
      {"day_month_month_13", 1, 1, {1, 13, 0, 0, 0}, 656},
      {"day_only_31", 1, 2, {31, 0, 0, 0, 0}, 0},
      {"day_only_32", 1, 2, {32, 0, 0, 0, 0}, 657},
      {"day_only_against_june", 1, 2, {31, 6, 0, 0, 0}, 657},
      {"time_23_59", 2, 0, {23, 59, 0, 0, 0}, 0},
      {"time_24_00", 2, 0, {24, 0, 0, 0, 0}, 659},
      {"latitude_90_00", 3, 0, {90, 0, 0, 1, 0}, 0},
      {"latitude_90_01", 3, 0, {90, 1, 0, 1, 0}, 660},
      {"ecliptic_latitude_91", 6, 0, {91, 0, 0, 0, 0}, 660},
      {"longitude_180_00", 4, 0, {180, 0, 0, 1, 0}, 0},
      {"longitude_180_01", 4, 0, {180, 1, 0, 0, 0}, 660},
      {"minutes_60", 4, 0, {10, 60, 0, 0, 0}, 660},
      {"speed_50_59", 5, 0, {50, 59, 0, 1, 0}, 0},
      {"speed_51", 5, 0, {51, 0, 0, 0, 0}, 846},
  };
  for (const Row& row : rows)
    EXPECT_EQ(CheckQuantityValues(row.quantity, row.mode, row.bound), row.message) << row.name;
}

// An INTERV record of a quantity and mode with its two bounds.
QueryCondition Interval(int quantity, int mode, QuantityBound lower, QuantityBound upper) {
  QueryCondition c;
  c.w[1] = kCondInterval;
  c.w[3] = quantity;
  c.w[15] = mode;
  c.w[11] = lower.first, c.w[12] = lower.second, c.w[13] = lower.third, c.w[14] = lower.flag;
  c.w[16] = lower.sign;
  c.w[8] = upper.first, c.w[9] = upper.second, c.w[10] = upper.third, c.w[17] = upper.flag;
  c.w[18] = upper.sign;
  return c;
}

TEST(QuantityValues, OrderOfTheBoundsOfAnInterval) {
  struct Row {
    const char* name;
    QueryCondition c;
    int expected;
  };
  const Row rows[] = {
      {"10_bc_to_5_bc", Interval(1, 0, {1, 1, 10, 0, 0}, {1, 1, 5, 0, 0}), 1},
      {"5_bc_to_10_bc", Interval(1, 0, {1, 1, 5, 0, 0}, {1, 1, 10, 0, 0}), 0},
      // Within one year before Christ the months run forwards.
      {"january_to_december_10_bc", Interval(1, 0, {1, 1, 10, 0, 0}, {31, 12, 10, 0, 0}), 1},
      {"december_to_january_10_bc", Interval(1, 0, {31, 12, 10, 0, 0}, {1, 1, 10, 0, 0}), 0},
      {"1_bc_to_ad_1", Interval(1, 0, {31, 12, 1, 0, 0}, {1, 1, 1, 1, 0}), 1},
      {"ad_1_to_1_bc", Interval(1, 0, {1, 1, 1, 1, 0}, {1, 1, 1, 0, 0}), 0},
      {"ad_same_day", Interval(1, 0, {4, 10, 1582, 1, 0}, {4, 10, 1582, 1, 0}), 1},
      {"day_month_wraps", Interval(1, 1, {20, 12, 0, 0, 0}, {10, 1, 0, 0, 0}), 0},
      {"day_only", Interval(1, 2, {5, 0, 0, 0, 0}, {25, 0, 0, 0, 0}), 1},
      {"times_in_order", Interval(2, 0, {10, 30, 0, 0, 0}, {11, 0, 0, 0, 0}), 1},
      {"times_wrap", Interval(2, 0, {23, 0, 0, 0, 0}, {1, 0, 0, 0, 0}), 0},
      {"longitudes_wrap", Interval(0, 0, {350, 0, 0, 0, 0}, {10, 0, 0, 0, 0}), 0},
      // 20 Pisces to 10 Aries wraps; 350 degrees counted from Taurus is 20 Aries.
      {"longitudes_by_signs", Interval(0, 0, {20, 0, 0, 0, 11}, {10, 0, 0, 0, 0}), 0},
      {"longitudes_past_the_circle", Interval(0, 0, {350, 0, 0, 0, 1}, {30, 0, 0, 0, 0}), 1},
      {"in_sign", Interval(0, 1, {25, 0, 0, 0, 3}, {5, 0, 0, 0, 0}), 0},
      {"south_to_north", Interval(3, 0, {30, 0, 0, 1, 0}, {10, 0, 0, 0, 0}), 1},
      {"north_to_south", Interval(3, 0, {10, 0, 0, 0, 0}, {30, 0, 0, 1, 0}), 0},
      {"south_both", Interval(3, 0, {30, 0, 0, 1, 0}, {10, 0, 0, 1, 0}), 1},
      {"south_both_reversed", Interval(3, 0, {10, 0, 0, 1, 0}, {30, 0, 0, 1, 0}), 0},
      {"west_to_east", Interval(4, 0, {100, 0, 0, 1, 0}, {100, 0, 0, 0, 0}), 1},
      {"east_both_reversed", Interval(4, 0, {100, 1, 0, 0, 0}, {100, 0, 0, 0, 0}), 0},
      {"ecliptic_latitudes", Interval(6, 0, {2, 0, 0, 1, 0}, {1, 0, 0, 1, 0}), 1},
      {"speeds_always", Interval(5, 0, {2, 0, 0, 0, 0}, {1, 0, 0, 1, 0}), 1},
      {"unknown_quantity", Interval(7, 0, {1, 0, 0, 0, 0}, {2, 0, 0, 0, 0}), -1},
  };
  for (const Row& row : rows) EXPECT_EQ(IntervalBoundsInOrder(row.c), row.expected) << row.name;
}

TEST(QuantityValues, ImpossibleBoundsAreRefusedAsTheListIsRead) {
  ScriptedPrompter prompts;
  CFunc set;
  const ConditionListRead read = set.ParseFuncs(
      // 31 February; a good date; a second bound in the year 0; a time of 25 hours; minutes 60
      // of a speed; a coordinate of 31 degrees within its sign.
      "1 + 4 0 1 0 \x03 \x03 \x03 0 0 0 31 2 1990 1 0 0 0 0\n"
      "2 + 4 0 1 0 \x03 \x03 \x03 0 0 0 28 2 1990 1 0 0 0 0\n"
      "3 + 3 0 1 0 \x03 \x03 \x03 1 1 0 1 1 1990 1 0 0 1 0\n"
      "4 + 4 0 2 0 \x03 \x03 \x03 0 0 0 25 0 0 0 0 0 0 0\n"
      "5 + 4 0 5 0 \x03 \x03 \x03 0 0 0 1 60 0 0 0 0 0 0\n"
      "6 + 4 0 0 0 \x03 \x03 \x03 0 0 0 31 0 0 0 1 0 0 0\n"
      "7 + 3 0 0 0 \x03 \x03 \x03 10 0 0 350 0 0 0 0 0 0 0\n",
      CFunc::kCapacity);
  EXPECT_EQ(read.count, 2);
  EXPECT_EQ(read.refusedLines, (std::vector<int>{1, 3, 4, 5, 6}));
}

class ValueConditions : public condition_test::ConditionSetTest {
 protected:
  void SetUp() override {
    ConditionSetTest::SetUp();
    AddGroup('P', "Lights", {0, 1});
  }
};

TEST_F(ValueConditions, AbsentMembersNeverPass) {
  // The Moon absent: the Sun at 10 is less than 20, the Moon is nothing.
  const Chart chart = MakeChart({{0, 10}});
  const LineCase rows[] = {
      {"less_of_absent_point", "1 + 4 1 0 1 \x03 \x03 \x03 0 0 0 20 0 0 0 0 0 0 0", 0},
      {"more_of_absent_point", "1 + 4 1 0 0 \x03 \x03 \x03 0 0 0 20 0 0 0 0 0 0 0", 0},
      {"less_each_light", "1 + 4 501 0 1 Lights[каждая] \x03 \x03 0 0 0 20 0 0 0 0 0 0 0", 0},
      {"less_one_light", "1 + 4 500 0 1 Lights[одна_из] \x03 \x03 0 0 0 20 0 0 0 0 0 0 0", 1},
      {"speed_of_absent_point", "1 + 4 1 5 1 \x03 \x03 \x03 0 0 0 1 0 0 0 0 0 0 0", 0},
      {"interval_each_light", "1 + 3 501 0 3 Lights[каждая] \x03 \x03 30 0 0 0 0 0 0 0 0 0 0", 0},
      {"interval_one_light", "1 + 3 500 0 3 Lights[одна_из] \x03 \x03 30 0 0 0 0 0 0 0 0 0 0", 1},
      {"before_of_absent_point", "1 + 5 1 0 0 \x03 \x03 \x03 0 0 0 180 0 0 0 0 0 0 0", 0},
      {"before_absent_second", "1 + 5 0 1 0 \x03 \x03 \x03 0 0 0 180 0 0 0 0 0 0 0", 0},
      // The cusp of house 4 (90) from 90 to 90; the ruler of house 1 (Mars for Aries) is absent.
      {"interval_cusp", "1 + 3 203 0 3 \x03 \x03 \x03 90 0 0 90 0 0 0 0 0 0 0", 1},
      {"interval_absent_ruler", "1 + 3 300 0 3 \x03 \x03 \x03 359 0 0 0 0 0 0 0 0 0 0", 0},
  };
  for (const LineCase& row : rows) EXPECT_EQ(Decide(row.line, chart), row.expected) << row.name;
}

TEST_F(ValueConditions, ContextOfNameTitlePlaceAndCommentPages) {
  Chart chart = MakeChart({});
  Source& s = chart.definition.sources[0];
  s.SetName(Cp1251("Иван  Петров"));
  chart.definition.SetTitle(Cp1251("Натальная"));
  ASSERT_TRUE(s.place.SetPlace(55, 45, 'N', 37, 37, 'E', Cp1251("Москва"), Cp1251("Россия")).ok());
  struct Row {
    const char* name;
    int where, test, page, blanks, letterCase, partial;
    std::string text;
    int record, expected;
  };
  const Row rows[] = {
      {"name_whole", 0, 0, 0, 0, 0, 0, "иван\x04\x04петров", -1, 1},
      {"name_blanks_ignored", 0, 0, 0, 1, 0, 0, "ИванПетров", -1, 1},
      {"name_trailing_blank_cut", 0, 0, 0, 0, 0, 1, "петров\x04", -1, 1},
      {"name_case_counts", 0, 0, 0, 0, 1, 1, "петров", -1, 0},
      {"name_longer_absent", 0, 1, 0, 0, 0, 0, "Петров", -1, 1},
      {"name_longer_absent_or_no_page", 0, 2, 0, 0, 0, 0, "Петров", -1, 1},
      {"title_present", 1, 0, 0, 0, 0, 0, "натальная", -1, 1},
      // The place: its town, its region or its coordinates "55N45 037E37".
      {"place_town", 2, 0, 0, 0, 0, 0, "москва", -1, 1},
      {"place_region_partial", 2, 0, 0, 0, 0, 1, "росс", -1, 1},
      {"place_coordinates", 2, 0, 0, 0, 0, 1, "037E37", -1, 1},
      {"place_town_absent", 2, 1, 0, 0, 0, 0, "Москва", -1, 0},
      {"place_other_town_absent", 2, 1, 0, 0, 0, 0, "Тверь", -1, 1},
      // Comment pages without a record hold only when the absence of the page counts.
      {"comment_present", 3, 0, 2, 0, 0, 1, "text", -1, 0},
      {"comment_absent", 3, 1, 2, 0, 0, 1, "text", -1, 0},
      {"comment_absent_or_no_page", 3, 2, 2, 0, 0, 1, "text", -1, 1},
      {"comment_every_page_present", 3, 0, 10, 0, 0, 1, "text", -1, 0},
      {"comment_every_page_absent", 3, 1, 10, 0, 0, 1, "text", -1, 0},
      // A record number but no archive to read it from: the page is missing as well.
      {"no_archive_absent_or_no_page", 3, 2, 2, 0, 0, 1, "text", 5, 1},
      {"no_archive_absent", 3, 1, 2, 0, 0, 1, "text", 5, 0},
  };
  const auto n = [](int x) { return std::to_string(x); };
  for (const Row& row : rows) {
    const std::string line = "1 + 6 " + n(row.where) + " " + n(row.test) + " " + n(row.page) + " " +
                             row.text + " \x03 \x03 0 0 0 " + n(row.blanks) + " " +
                             n(row.letterCase) + " " + n(row.partial) + " 0 0 0 0 0";
    EXPECT_EQ(Decide(line, chart, row.record), row.expected) << row.name;
  }
}

}  // namespace
