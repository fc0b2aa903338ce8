// The decision of single conditions on charts built in memory: the group quantifiers of ASP on
// one chart and on a pair, orb classes, IN between two charts, the position lists and the checks
// made once before a run.
#include <gtest/gtest.h>

#include <optional>

#include "conditions/condition_test_support.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace {

using condition_test::LineCase;
using condition_test::MakeAspect;
using condition_test::MakeChart;

class ConditionEvaluation : public condition_test::ConditionSetTest {
 protected:
  void SetUp() override {
    ConditionSetTest::SetUp();
    // System "T": conjunction, opposition, square; orbs of classes 1..5: 10, 8, 6, 4, 2.
    const std::array<double, 6> orbs = {10, 8, 6, 4, 2, 1};
    AddSystem("T", {MakeAspect(0, orbs), MakeAspect(180, orbs, 1), MakeAspect(90, orbs, 1)});
    AddGroup('P', "A", {0, 1});
    AddGroup('P', "B", {4, 5});
    AddGroup('P', "Nothing", {});
    AddGroup('H', "Angles", {0, 3});
  }
  void SetOrbClass(int point, char digit) {
    config_.objectStrings[Configuration::kOrbString][static_cast<std::size_t>(point)] = digit;
  }
};

// A conjunction by the own orb 1:00 between the first object (text 1) and the second (text 2).
std::string Conj(int kind, int a, int b, const std::string& labels) {
  return "1 + " + std::to_string(kind) + " " + std::to_string(a) + " " + std::to_string(b) +
         " 1001 " + labels + " T 0 0 0 0 1 0 0 0 0 0 0";
}

TEST_F(ConditionEvaluation, QuantifiersOfAspectsOnOneChartAndBetweenTwo) {
  // A = {Sun, Moon}, B = {Mars, Jupiter}; a member's pairs held: all, some or none. Rows with a
  // second chart take A from the first chart and B from the second.
  struct Row {
    const char* name;
    Chart first;
    std::optional<Chart> second;
    std::array<int, 4> expected;  // each-each, each-one, one-each, one-one
  };
  const Row rows[] = {
      // Sun: Mars only (some); Moon: none.
      {"some_and_none", MakeChart({{0, 10}, {1, 100}, {4, 10.5}, {5, 200}}), {}, {0, 0, 0, 1}},
      // Sun: Mars only; Moon: Mars only.
      {"some_and_some", MakeChart({{0, 10}, {1, 10.2}, {4, 10.5}, {5, 200}}), {}, {0, 1, 0, 1}},
      // Sun: both; Moon: none.
      {"all_and_none", MakeChart({{0, 10}, {1, 100}, {4, 10.5}, {5, 9.5}}), {}, {0, 0, 1, 1}},
      // Sun: both; Moon: both.
      {"all_and_all", MakeChart({{0, 10}, {1, 10.2}, {4, 10.5}, {5, 9.5}}), {}, {1, 1, 1, 1}},
      // The Moon absent: its pairs fail, never match.
      {"absent_member", MakeChart({{0, 10}, {4, 10.5}, {5, 9.5}}), {}, {0, 0, 1, 1}},
      // Two charts: Mars conjoins both lights, Jupiter neither.
      {"pair_one_b_with_every_a",
       MakeChart({{0, 10}, {1, 10.5}}),
       MakeChart({{4, 10.2}, {5, 200}}),
       {0, 1, 0, 1}},
      // The Sun conjoins both, the Moon neither.
      {"pair_one_a_with_every_b",
       MakeChart({{0, 10}, {1, 100}}),
       MakeChart({{4, 10.2}, {5, 9.8}}),
       {0, 0, 1, 1}},
      {"pair_every_pair",
       MakeChart({{0, 10}, {1, 10.5}}),
       MakeChart({{4, 10.2}, {5, 9.8}}),
       {1, 1, 1, 1}},
      {"pair_no_pair",
       MakeChart({{0, 10}, {1, 100}}),
       MakeChart({{4, 50}, {5, 200}}),
       {0, 0, 0, 0}},
  };
  const std::string labels[4] = {"A[каждая] B[каждая]", "A[каждая] B[одна_из]",
                                 "A[одна_из] B[каждая]", "A[одна_из] B[одна_из]"};
  const int codes[4][2] = {{501, 501}, {501, 500}, {500, 501}, {500, 500}};
  for (const Row& row : rows)
    for (int q = 0; q < 4; ++q) {
      SCOPED_TRACE(std::string(row.name) + " " + labels[q]);
      Use(Conj(row.second ? 100 : 0, codes[q][0], codes[q][1], labels[q]));
      EXPECT_EQ(row.second ? set_.QueryConditionEvaluatePair(Context(), row.first, *row.second, 0)
                           : set_.QueryConditionEvaluate(Context(), row.first, 0, -1),
                row.expected[static_cast<std::size_t>(q)]);
    }
  // An empty first group: each holds, one-of does not.
  const Chart any = MakeChart({{4, 1}});
  EXPECT_EQ(Decide(Conj(0, 501, 4, "Nothing[каждая] \x03"), any), 1);
  EXPECT_EQ(Decide(Conj(0, 500, 4, "Nothing[одна_из] \x03"), any), 0);
  // Between two charts a point is not skipped against itself.
  const Chart chart = MakeChart({{0, 10}});
  Use(Conj(100, 0, 0, "\x03 \x03"));
  EXPECT_EQ(set_.QueryConditionEvaluatePair(Context(), chart, chart, 0), 1);
  EXPECT_EQ(Decide(Conj(0, 0, 0, "\x03 \x03"), chart), 0);
}

TEST_F(ConditionEvaluation, OwnOrbAndAbsentPositions) {
  // 90:00 with the own orb 1:00; an angle of 270 is the same figure.
  const std::string square = "1 + 0 0 1 1001 \x03 \x03 T 0 0 0 0 1 0 0 0 0 90 0";
  const std::string wide = "1 + 0 0 1 1001 \x03 \x03 T 0 0 0 0 180 0 0 0 0 90 0";
  struct Row {
    std::string line;
    Chart chart;
    int expected;
  };
  const Row rows[] = {
      {square, MakeChart({{0, 10}, {1, 100.5}}), 1},
      {square, MakeChart({{0, 10}, {1, 101.5}}), 0},
      {square, MakeChart({{0, 100.5}, {1, 10}}), 1},
      {"1 + 0 0 1 1001 \x03 \x03 T 0 0 0 0 1 0 0 0 0 270 0", MakeChart({{0, 10}, {1, 280.5}}), 1},
      // Any present pair lies within 180 degrees of the angle; an absent Moon never does.
      {wide, MakeChart({{0, 10}, {1, 300}}), 1},
      {wide, MakeChart({{0, 10}}), 0},
  };
  for (const Row& row : rows) EXPECT_EQ(Decide(row.line, row.chart), row.expected) << row.line;
}

TEST_F(ConditionEvaluation, OrbClassesOfPairs) {
  // The conjunction of "T" by the system's orbs (class 1: 10, class 3: 6, class 5: 2 degrees).
  SetOrbClass(1, '1');
  SetOrbClass(4, '1');
  SetOrbClass(33, '1');
  SetOrbClass(0, '1');
  SetOrbClass(2, '5');
  SetOrbClass(3, '3');
  struct Row {
    const char* name;
    std::string line;
    Chart chart;
    int expected;
  };
  // Cusp 1 at 5 (Aries): the ruler of house 1 is Mars.
  const Row rows[] = {
      // Mars (ruler of house 1) and the Moon, both class 1: 7 degrees hold though w16 says 5.
      {"ruler_takes_its_point_class", "1 + 0 300 1 0 \x03 \x03 T 0 0 0 1 0 0 0 5 5 0 0",
       MakeChart({{4, 100}, {1, 107}}, 5), 1},
      // Mercury of class 5 and Venus of class 3: the pair takes class 3 (6 degrees).
      {"pair_takes_smaller_class", "1 + 0 2 3 0 \x03 \x03 T 0 0 0 1 0 0 0 5 5 0 0",
       MakeChart({{2, 100}, {3, 104}}), 1},
      {"pair_class_3_limit", "1 + 0 2 3 0 \x03 \x03 T 0 0 0 1 0 0 0 5 5 0 0",
       MakeChart({{2, 100}, {3, 107}}), 0},
      {"point_33_has_its_class", "1 + 0 33 0 0 \x03 \x03 T 0 0 0 1 0 0 0 5 5 0 0",
       MakeChart({{33, 50}, {0, 57}}), 1},
      // A sign's first degree with a point: word 16.
      {"sign_pair_class_1", "1 + 0 0 104 0 \x03 \x03 T 0 0 0 1 0 0 0 5 1 0 0",
       MakeChart({{0, 127}}), 1},
      {"sign_pair_class_5", "1 + 0 0 104 0 \x03 \x03 T 0 0 0 1 0 0 0 1 5 0 0",
       MakeChart({{0, 127}}), 0},
      // A house cusp with a point: word 15.
      {"cusp_pair_class_5", "1 + 0 0 203 0 \x03 \x03 T 0 0 0 1 0 0 0 5 1 0 0", MakeChart({{0, 95}}),
       0},
      {"cusp_pair_class_3", "1 + 0 0 203 0 \x03 \x03 T 0 0 0 1 0 0 0 3 1 0 0", MakeChart({{0, 95}}),
       1},
      // An aspect system that is not loaded has no aspects.
      {"missing_system", "1 + 0 0 1 0 \x03 \x03 NONE 0 0 0 1 0 0 0 1 1 0 0",
       MakeChart({{0, 10}, {1, 10}}), 0},
  };
  for (const Row& row : rows) EXPECT_EQ(Decide(row.line, row.chart), row.expected) << row.name;
}

TEST_F(ConditionEvaluation, InBetweenTwoCharts) {
  const Chart first = MakeChart({{0, 10}, {1, 100}}, 0);  // Sun house 1, Moon house 4 of second
  const Chart second = MakeChart({{0, 15}, {1, 20}}, 0);
  const LineCase rows[] = {
      {"each_in_house_1", "1 + 101 501 200 0 A[каждая] \x03 \x03 0 0 0 0 0 0 0 0 0 0 0", 0},
      {"one_of_in_house_1", "1 + 101 500 200 0 A[одна_из] \x03 \x03 0 0 0 0 0 0 0 0 0 0 0", 1},
      // w11 = 1: the second chart's lights in the first chart's houses.
      {"each_other_way", "1 + 101 501 200 0 A[каждая] \x03 \x03 0 0 0 1 0 0 0 0 0 0 0", 1},
      {"each_in_angles", "1 + 101 501 504 0 A[каждая] Angles[один_из] \x03 0 0 0 0 0 0 0 0 0 0 0",
       1},
      {"empty_group", "1 + 101 501 200 0 Nothing[каждая] \x03 \x03 0 0 0 0 0 0 0 0 0 0 0", 0},
      {"absent_point", "1 + 101 5 200 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0", 0},
      // The cusp of house 4 (90) of the first chart in house 4 of the second.
      {"cusp", "1 + 101 203 203 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0", 1},
      {"missing_place_group", "1 + 101 0 504 0 \x03 Gone[один_из] \x03 0 0 0 0 0 0 0 0 0 0 0", -1},
  };
  for (const LineCase& row : rows) {
    Use(row.line);
    EXPECT_EQ(set_.QueryConditionEvaluatePair(Context(), first, second, 0), row.expected)
        << row.name;
  }
}

TEST_F(ConditionEvaluation, MissingGroupsGiveErrorOrNoAsThePlaceSays) {
  const Chart chart = MakeChart({{0, 10}});
  const LineCase rows[] = {
      {"asp_first", "1 + 0 501 0 1001 Gone[каждая] \x03 T 0 0 0 0 1 0 0 0 0 0 0", -1},
      {"asp_second", "1 + 0 0 500 1001 \x03 Gone[одна_из] T 0 0 0 0 1 0 0 0 0 0 0", -1},
      {"in_first", "1 + 1 501 100 0 Gone[каждая] \x03 \x03 0 0 0 0 0 0 0 0 0 0 0", 0},
      {"in_place", "1 + 1 0 502 0 \x03 Gone[один_из] \x03 0 0 0 0 0 0 0 0 0 0 0", -1},
      {"incl_first", "1 + 2 502 200 2 Gone[один_из] \x03 \x03 0 0 0 0 0 0 0 0 0 0 0", 0},
      {"incl_second", "1 + 2 100 504 2 \x03 Gone[один_из] \x03 0 0 0 0 0 0 0 0 0 0 0", -1},
  };
  for (const LineCase& row : rows) EXPECT_EQ(Decide(row.line, chart), row.expected) << row.name;
  EXPECT_TRUE(prompts_.shown.empty());  // evaluation itself never shows a message
}

TEST_F(ConditionEvaluation, ProblemsAreReportedOnceBeforeARun) {
  Use("1 + 0 501 500 1001 Gone[каждая] Gone2[одна_из] T 0 0 0 0 1 0 0 0 0 0 0\n"
      "2 + 1 501 100 0 Gone[каждая] \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n"
      "3 + 0 0 1 7 \x03 \x03 T 0 0 0 1 0 0 0 0 0 0 0\n"
      "4 - 0 0 1 8 \x03 \x03 T 0 0 0 1 0 0 0 0 0 0 0\n",
      4);
  EXPECT_EQ(set_.ReportRunProblems(Context()), 3);
  ASSERT_EQ(prompts_.shown.size(), 3u);
  EXPECT_EQ(prompts_.shown[0].text,
            GetMessageText(kMsgGroupNotFound) + "\n" + Cp1251("Gone[каждая]."));
  EXPECT_EQ(prompts_.shown[1].number, kMsgGroupNotFound);
  EXPECT_EQ(prompts_.shown[2].number, AspectMessageNumber(kAspMsgBadPosition));
  // Aspect 7 of a system of three: the condition holds nowhere.
  EXPECT_EQ(set_.QueryConditionEvaluate(Context(), MakeChart({{0, 10}, {1, 10}}), 2, -1), 0);
}

TEST_F(ConditionEvaluation, PositionListsOfTheFirstObject) {
  const Chart chart = MakeChart({{0, 10}, {1, 130}, {4, 250}}, 5);  // cusp 1 at 5: Mars rules
  struct Row {
    const char* name;
    std::string line;
    std::vector<double> positions;
    std::vector<int> numbers;
  };
  const Row rows[] = {
      {"ruler", "1 + 1 300 100 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0", {250}, {0}},
      {"fixed", "1 + 1 506 100 0 \x03 \x03 \x03 12 3 30 0 0 0 0 0 0 0 0", {102.5}, {0}},
      {"sign_in_house", "1 + 2 104 203 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0", {120}, {4}},
      {"house_in_sign", "1 + 2 203 104 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0", {95}, {3}},
      {"planet_group",
       "1 + 1 501 100 0 A[каждая] \x03 \x03 0 0 0 0 0 0 0 0 0 0 0",
       {10, 130},
       {0, 1}},
      {"house_group",
       "1 + 1 504 100 0 Angles[один_из] \x03 \x03 0 0 0 0 0 0 0 0 0 0 0",
       {5, 95},
       {0, 3}},
      {"absent_point", "1 + 1 9 100 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0", {kAbsent}, {9}},
  };
  for (const Row& row : rows) {
    Use(row.line);
    EXPECT_EQ(set_.GenerateE(Context(), chart, 0), row.positions) << row.name;
    EXPECT_EQ(set_.GenerateENums(0), row.numbers) << row.name;
  }
}

}  // namespace
