// The evaluation tool run as a process over the charts of tests/fixtures/conditions/charts.txt.
// Every expected list below is worked out by hand from the longitudes and cusps of that file and
// the orbs of TESTASP.txt (every point of orb class 3: conjunction 8, trine 7, square 1.2, its
// exact orb 0.25).
//
//   0 Trine       Sun 10, Mercury 45, Venus 100.5, Moon 130, Mars 250; houses every 30 from 0
//   1 Cross       Sun 15, Venus 101.5, Moon 105, Mars 195, Jupiter 285; houses every 30 from 15
//   2 Intercepted Sun 40, Moon 200; house 1 from 10 to 70 (Taurus inside it)
//   3 Ancient     (10 BC) Sun 60.25, Moon 150.25; houses every 30 from 0
//   4 Space       (Local Space) Sun 10, Moon 100.5; houses every 30 from 0
//   5 Pages       (two comment pages) Sun 10, Moon 101.5; houses every 30 from 0
//   6 Empty       no points, no cusps
//   7 Stellium    Venus 195, Sun 200, Mercury 205; houses every 30 from 180
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "conditions_tool.h"
#include "foundation/text/cp1251.h"

namespace {

using conditions_tool::Hits;
using conditions_tool::HitsCase;
using conditions_tool::ToolRun;
ToolRun RunTool(const std::string& conditions, const char* logic = nullptr) {
  return conditions_tool::RunTool("charts.txt", conditions, logic);
}

std::string L(const std::string& utf8) { return Cp1251(utf8); }

// Lines: number, '+', kind, w2, w3, w4, the three texts (0x03 empty), w8 .. w18.
const HitsCase kCases[] = {
    // Sun-Moon at the angle 90:00 with the own orb 1:00: 90, 90, 90.5 hold; 91.5 does not.
    {"asp_angle_own_orb", "1 + 0 0 1 1001 \x03 \x03 TESTASP 0 0 0 0 1 0 511 3 3 90 0\n", {1, 3, 4}},
    {"asp_angle_unused_minus_one",
     "1 + 0 0 1 1001 \x03 \x03 TESTASP -1 -1 -1 -1 1 0 -1 -1 -1 90 0\n",
     {1, 3, 4}},
    // The square (aspect 3) with the system's orbs: class 3 allows 1:12, so 91.5 fails.
    {"asp_aspect_system_orb", "1 + 0 0 1 3 \x03 \x03 TESTASP 0 0 0 1 0 0 0 0 0 0 0\n", {1, 3, 4}},
    {"asp_aspect_unused_minus_one",
     "1 + 0 0 1 3 \x03 \x03 TESTASP -1 -1 -1 1 -1 -1 -1 -1 -1 -1 -1\n",
     {1, 3, 4}},
    // Any aspect of every class, major and exact only (191): the trine and the exact squares.
    {"asp_classes_exact", "1 + 0 0 1 1000 \x03 \x03 TESTASP 0 0 0 1 0 0 191 0 0 0 0\n", {0, 1, 3}},
    // Inexact only (319): the square 90:30 of the Local Space chart.
    {"asp_classes_inexact", "1 + 0 0 1 1000 \x03 \x03 TESTASP 0 0 0 1 0 0 319 0 0 0 0\n", {4}},
    // Harmonious only (481): the trine.
    {"asp_classes_harmonious", "1 + 0 0 1 1000 \x03 \x03 TESTASP 0 0 0 1 0 0 481 0 0 0 0\n", {0}},
    // Sun conjunct the cusp of house 1: orb class w15 1 allows 10 (Sun 10 on cusp 0), class 5 2.
    {"asp_cusp_orb_class_1",
     "1 + 0 0 200 0 \x03 \x03 TESTASP 0 0 0 1 0 0 0 1 -1 0 0\n",
     {0, 1, 4, 5}},
    {"asp_cusp_orb_class_5", "1 + 0 0 200 0 \x03 \x03 TESTASP 0 0 0 1 0 0 0 5 -1 0 0\n", {1}},
    // The lights against themselves: Sun-Sun and Moon-Moon are skipped, Sun-Moon decides.
    {"asp_group_with_itself",
     "1 + 0 501 501 1000 " + L("Lights[каждая] Lights[каждая]") +
         " TESTASP 0 0 0 1 0 0 511 0 0 0 0\n",
     {0, 1, 3, 4}},
    {"in_sign", "1 + 1 0 100 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n", {0, 1, 4, 5}},
    {"in_sign_unused_minus_one",
     "1 + 1 0 100 -1 \x03 \x03 \x03 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1\n",
     {0, 1, 4, 5}},
    {"in_house", "1 + 1 0 200 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n", {0, 1, 2, 4, 5, 7}},
    // An empty sign group holds for every present Sun; the absent one lies nowhere.
    {"in_empty_sign_group",
     "1 + 1 0 502 0 \x03 " + L("None[один_из]") + " \x03 0 0 0 0 0 0 0 0 0 0 0\n",
     {0, 1, 2, 3, 4, 5, 7}},
    // 15 Aries in house 1: everywhere but the Stellium's houses from 0 Libra and the empty chart.
    {"in_fixed_degree",
     "1 + 1 506 200 0 \x03 \x03 \x03 15 0 0 0 0 0 0 0 0 0 0\n",
     {0, 1, 2, 3, 4, 5}},
    {"in_group_each",
     "1 + 1 501 502 0 " + L("Lights[каждая] Fire[один_из]") + " \x03 0 0 0 0 0 0 0 0 0 0 0\n",
     {0}},
    {"in_group_one_of",
     "1 + 1 500 502 0 " + L("Lights[одна_из] Fire[один_из]") + " \x03 0 0 0 0 0 0 0 0 0 0 0\n",
     {0, 1, 4, 5}},
    // Taurus in house 1: wholly only when intercepted (10..70), partly in 15..45.
    {"incl_wholly", "1 + 2 101 200 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n", {2}},
    {"incl_partly", "1 + 2 101 200 1 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n", {1}},
    {"incl_either", "1 + 2 101 200 2 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n", {1, 2}},
    {"incl_unused_minus_one",
     "1 + 2 101 200 2 \x03 \x03 \x03 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1 -1\n",
     {1, 2}},
    // Two conditions joined: Sun in Aries and Sun-Moon at 90 +- 1; a switched-off third ignored.
    {"and_of_enabled",
     "1 + 1 0 100 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n"
     "2 + 0 0 1 1001 \x03 \x03 TESTASP 0 0 0 0 1 0 0 0 0 90 0\n"
     "3 - 1 0 106 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n",
     {1, 4}},
    // No condition switched on: nothing holds.
    {"none_enabled", "1 - 1 0 100 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n", {}},
};

TEST(ConditionsEvalTool, PrintsTheRecordsThatHold) {
  conditions_tool::ExpectHits("charts.txt", kCases);
}

TEST(ConditionsEvalToolRun, MissingGroupsAndRefusedInput) {
  const struct {
    const char* name;
    std::string conditions;
    int status;
    std::string out;
  } cases[] = {
      // A missing group of an aspect or a comparison ends the run at the first chart.
      {"aspect_group_missing",
       "1 + 0 501 0 1000 " + L("Nobody[каждая]") + " \x03 TESTASP 0 0 0 1 0 0 511 0 0 0 0\n", 1,
       "viewed 1\n"},
      {"comparison_group_missing",
       "1 + 4 501 5 0 " + L("Nobody[каждая]") + " \x03 \x03 0 0 0 1 0 0 0 0 0 0 0\n", 1,
       "viewed 1\n"},
      // Before/after with the same group holds nowhere and goes on.
      {"before_after_group_missing",
       "1 + 5 501 4 0 " + L("Nobody[каждая]") + " \x03 \x03 0 0 0 180 0 0 0 0 0 0 0\n", 0,
       Hits({})},
      // A comparison with 31 February 1990 is refused as it is read: nothing is left to hold.
      {"bound_refused", "1 + 4 0 1 0 \x03 \x03 \x03 0 0 0 31 2 1990 1 0 0 0 0\n", 0, Hits({})},
  };
  for (const auto& c : cases) {
    const ToolRun run = RunTool(c.conditions);
    EXPECT_EQ(run.status, c.status) << c.name;
    EXPECT_EQ(run.out, c.out) << c.name;
  }
  // A chart file that is not there.
  testing_support::TempFolder folder;
  const std::string command = std::string("'") + CONDITIONS_EVAL_PATH + "' '" +
                              (folder / "missing.txt").string() + "' a b c 2>/dev/null";
  EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), 2);
}

// Condition 1 holds on records 1, 3, 4 (Sun-Moon 90:00, own orb 1:00), condition 2 on 0, 1, 4, 5
// (the Sun in Aries); condition 2 is switched off, which the expression does not mind.
const std::string kTwoConditions =
    "1 + 0 0 1 1001 \x03 \x03 TESTASP 0 0 0 0 1 0 511 3 3 90 0\n"
    "2 - 1 0 100 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n";

TEST(ConditionsEvalToolLogic, AppliesTheExpressionOfTheFifthArgument) {
  const HitsCase cases[] = {
      {"or", kTwoConditions, {0, 1, 3, 4, 5}, "1|2"},
      {"and_not", kTwoConditions, {3}, "1 & !2"},
      {"not", kTwoConditions, {0, 2, 5, 6, 7}, "!1"},
      {"switched_off_alone", kTwoConditions, {0, 1, 4, 5}, "2"},
      {"not_of_brackets", kTwoConditions, {2, 6, 7}, "!(1|2)"},
  };
  conditions_tool::ExpectHits("charts.txt", cases);
}

TEST(ConditionsEvalToolLogic, ARefusedExpressionDecidesNothing) {
  for (const char* logic : {"1 2", "1&3", "(1", "", "1&x"}) {
    const ToolRun run = RunTool(kTwoConditions, logic);
    EXPECT_EQ(run.status, 2) << logic;
    EXPECT_EQ(run.out, "") << logic;
  }
}

}  // namespace
