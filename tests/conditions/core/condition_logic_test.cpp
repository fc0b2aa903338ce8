// The logic language: the checks with their messages, the reduction of working texts, the
// combination of conditions on a chart (all, any, expression) and the expression history.
#include "conditions/core/condition_logic.h"

#include <gtest/gtest.h>

#include "conditions/condition_test_support.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace {

std::string M(int n) { return GetMessageText(n); }

// Condition lines on the Sun (0) and the Moon (1), decided on Sun 10, Moon 100: the angle 90
// holds, the angle 0 does not, a group label that names no group is an error.
std::string Line(int number, bool on, const std::string& what) {
  return std::to_string(number) + (on ? " + " : " - ") + what + "\n";
}
const std::string kHolds = "0 0 1 1001 \x03 \x03 T 0 0 0 0 1 0 0 0 0 90 0";
const std::string kFails = "0 0 1 1001 \x03 \x03 T 0 0 0 0 1 0 0 0 0 0 0";
const std::string kError = "0 500 1 1001 Zz \x03 T 0 0 0 0 1 0 0 0 0 90 0";

class ConditionLogic : public condition_test::ConditionSetTest {
 protected:
  void SetUp() override {
    ConditionSetTest::SetUp();
    AddSystem("T", {condition_test::MakeAspect(0)});
  }
  // 1 holds, 2 fails, 3 holds but is switched off, 4 is an error and switched off.
  void UseFour() {
    Use(Line(1, true, kHolds) + Line(2, true, kFails) + Line(3, false, kHolds) +
            Line(4, false, kError),
        4);
  }

  const Chart chart_ = condition_test::MakeChart({{0, 10.0}, {1, 100.0}});
};

struct CheckCase {
  const char* typed;
  int message;  // 0: the expression passes
  std::string text;
};

TEST_F(ConditionLogic, EachCheckGivesItsMessageWithItsArguments) {
  UseFour();
  const std::string brackets = M(595) + "\n";
  const CheckCase cases[] = {
      {"1", 0, ""},
      {" 1 & ( 2 | !3 ) ", 0, ""},
      {"!!1", 0, ""},
      {"4|1&2", 0, ""},
      {"", 1960, M(1960)},
      {"   ", 1960, M(1960)},
      {"1&x", 604, M(604) + " x."},
      {"1&2;", 604, M(604) + " ;."},
      {"1)", 595, brackets + M(599) + " 1 " + M(600)},
      {"(1)&2)|(3)", 595, brackets + M(599) + " 2 " + M(600)},
      {"((1)", 595, brackets + M(596) + " 1."},
      {"((1&(2)", 595, brackets + M(596) + " 2."},
      {"1&7", 602, M(602) + " 7 " + M(603)},
      {"1&0", 602, M(602) + " 0 " + M(603)},
      {"1|99999999999999999999", 602, M(602) + " 99999999999999999999 " + M(603)},
      {"&1", 597, M(597)},
      {"|1", 597, M(597)},
      {"1&", 601, M(601)},
      {"1|!", 601, M(601)},
      {"!", 601, M(601)},
      {"(1)(2)", 598, M(598) + " )("},
      {"1 2", 598, M(598) + " 1 2"},
      {"1(2)", 598, M(598) + " 1("},
      {"()", 598, M(598) + " ()"},
      {"1&(|2)", 598, M(598) + " (|"},
      {"1!2", 598, M(598) + " 1!"},
      {"!&1", 598, M(598) + " !&"},
      {"(1&)2", 598, M(598) + " &)"},
  };
  for (const CheckCase& c : cases) {
    const LogicFault fault = CheckLogic(c.typed, set_);
    EXPECT_EQ(fault.message, c.message) << c.typed;
    EXPECT_EQ(fault.text, c.text) << c.typed;
  }
  // 100 characters without the blanks are too many for the field.
  std::string longest = "1";
  while (longest.size() < 99) longest += "|1";
  EXPECT_TRUE(CheckLogic(longest, set_).Passes());
  EXPECT_EQ(CheckLogic(longest + "&", set_).message, 1961);
}

TEST(LogicReduction, PrecedenceAndTheFaultsOfAWorkingText) {
  const struct {
    const char* text;
    int result;
    int message;
  } cases[] = {
      {"T", 1, 0},      {"F", 0, 0},     {"T|T&F", 1, 0},  // & before |: T|(T&F)
      {"F&T|T", 1, 0},                                     // (F&T)|T
      {"F|T&F", 0, 0},  {"!F&F", 0, 0},                    // (!F)&F, not !(F&F)
      {"!!T", 1, 0},    {"!!!T", 0, 0},  {"(T|F)&F", 0, 0},
      {"!(F|F)", 1, 0}, {"((T))", 1, 0}, {"T&(F|(T&!F))", 1, 0},
      {"!&T", -1, 580}, {"T!", -1, 580}, {"T&", -1, 581},
      {"&T", -1, 581},  {"T|", -1, 582}, {"T|(F|)", -1, 582},
      {"TT", -1, 583},  {"(T", -1, 583}, {"T)", -1, 583},
      {"!!", -1, 583},  {"", -1, 583},   {"()", -1, 583},
  };
  for (const auto& c : cases) {
    int message = -5;
    EXPECT_EQ(ReduceLogicText(c.text, message), c.result) << c.text;
    EXPECT_EQ(message, c.message) << c.text;
  }
}

TEST_F(ConditionLogic, ExpressionsDecideEveryNumberWithoutShortCut) {
  UseFour();
  const struct {
    const char* typed;
    int result;
  } cases[] = {
      {"1&2|3", 1},                 // (1&2)|3, and the switched-off 3 counts
      {"1&(2|3)", 1}, {"!1&2", 0},  // (!1)&2
      {"!2&1", 1},    {"!!1", 1},  {"!!2", 0},
      {"2|2|!1", 0},  {"1|4", -1},  // the outcome is settled by 1, yet 4 is decided
      {"2&4", -1},    {"4", -1},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(set_.SetLogic(c.typed), 1) << c.typed;
    EXPECT_EQ(set_.EvaluateLogic(Context(), chart_, 0), c.result) << c.typed;
    set_.mode = 2;
    EXPECT_EQ(set_.Evaluate(Context(), chart_, 0), c.result) << c.typed;
    set_.mode = 0;
  }
  EXPECT_TRUE(prompts_.shown.empty());
  // The pair form decides the same expression with the pair kinds' evaluator.
  Use("1 + 100 0 1 1001 \x03 \x03 T 0 0 0 0 1 0 0 0 0 90 0\n"
      "2 + 100 0 1 1001 \x03 \x03 T 0 0 0 0 1 0 0 0 0 0 0\n",
      2);
  ASSERT_EQ(set_.SetLogic("!2&1"), 1);
  EXPECT_EQ(set_.EvaluateLogicPair(Context(), chart_, chart_), 1);
  ASSERT_EQ(set_.SetLogic("2|!1"), 1);
  EXPECT_EQ(set_.EvaluateLogicPair(Context(), chart_, chart_), 0);
}

TEST_F(ConditionLogic, SetLogicStoresWithoutBlanksAndShowsTheFirstFault) {
  UseFour();
  EXPECT_EQ(set_.SetLogic(" 3 | 1 & 2 "), 1);
  EXPECT_EQ(set_.logic, "3|1&2");
  EXPECT_EQ(set_.numbersMet[0], 3);
  EXPECT_EQ(set_.numbersMet[1], 1);
  EXPECT_EQ(set_.numbersMet[2], 2);
  EXPECT_EQ(set_.numbersMet[3], CFunc::kNumberNotMet);
  EXPECT_TRUE(prompts_.shown.empty());

  EXPECT_EQ(set_.SetLogic("1 2"), 0);
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].number, kMsgLogicBadSequence);
  EXPECT_EQ(prompts_.shown[0].text, M(598) + " 1 2");
  // An expression that was refused is not run: nothing would tell 12 from 1 2 afterwards.
  EXPECT_EQ(set_.SetLogic("7"), 0);
  EXPECT_EQ(prompts_.shown.back().number, kMsgFunctionNumber);
}

TEST_F(ConditionLogic, AnExpressionStoredWithoutItsChecksStopsTheRunWithAMessage) {
  UseFour();
  const struct {
    const char* logic;
    int message;
  } cases[] = {{"1&", 581},
               {"1|", 582},
               {"1!", 580},
               {"12", 602},
               {"(1", 583},
               // Letters are no values, nor numbers: 'T' is not true, and "n" is no number.
               {"T|1", 582},
               {"n", 583},
               {"n1", 583}};
  for (const auto& c : cases) {
    set_.logic = c.logic;
    prompts_.shown.clear();
    EXPECT_EQ(set_.EvaluateLogic(Context(), chart_, 0), -1) << c.logic;
    ASSERT_EQ(prompts_.shown.size(), 1u) << c.logic;
    EXPECT_EQ(prompts_.shown[0].number, c.message) << c.logic;
  }
  EXPECT_EQ(LogicNumbers("n2|x1&007"), (std::vector<int>{2, 1, 7}));
}

TEST_F(ConditionLogic, AllAndAnyWalkTheSwitchedOnConditions) {
  const struct {
    const char* name;
    std::string lines;
    int count;
    int all;
    int any;
  } cases[] = {
      {"holds and fails", Line(1, true, kHolds) + Line(2, true, kFails), 2, 0, 1},
      {"both hold", Line(1, true, kHolds) + Line(2, true, kHolds), 2, 1, 1},
      {"both fail", Line(1, true, kFails) + Line(2, true, kFails), 2, 0, 0},
      {"every one off", Line(1, false, kHolds) + Line(2, false, kHolds), 2, 0, 0},
      {"empty set", "", 0, 0, 0},
      {"the failing one off", Line(1, true, kHolds) + Line(2, false, kFails), 2, 1, 1},
      // An error ends the walk, unless the walk has already ended.
      {"error first", Line(1, true, kError) + Line(2, true, kHolds), 2, -1, -1},
      {"error after a hold", Line(1, true, kHolds) + Line(2, true, kError), 2, -1, 1},
      {"error after a failure", Line(1, true, kFails) + Line(2, true, kError), 2, 0, -1},
      {"error switched off", Line(1, true, kFails) + Line(2, false, kError), 2, 0, 0},
  };
  for (const auto& c : cases) {
    Use(c.lines, c.count);
    EXPECT_EQ(set_.EvaluateAll(Context(), chart_, 0, 0), c.all) << c.name;
    EXPECT_EQ(set_.EvaluateAll(Context(), chart_, 0, 1), c.any) << c.name;
    set_.mode = 1;
    EXPECT_EQ(set_.Evaluate(Context(), chart_, 0), c.any) << c.name;
    set_.mode = 0;
  }
}

TEST(LogicHistory, MovesAKnownEntryToTheHeadAndKeepsFifty) {
  std::vector<std::string> history = {"1&2", "3", "1 | 2"};
  AddLogicToHistory(history, "1|2");
  EXPECT_EQ(history, (std::vector<std::string>{"1 | 2", "1&2", "3"}));
  AddLogicToHistory(history, "1 & 2");
  EXPECT_EQ(history, (std::vector<std::string>{"1&2", "1 | 2", "3"}));
  AddLogicToHistory(history, "(4 )");
  EXPECT_EQ(history, (std::vector<std::string>{"(4 )", "1&2", "1 | 2", "3"}));

  std::vector<std::string> full;
  for (int i = 0; i < 50; ++i) full.push_back(std::to_string(i));
  AddLogicToHistory(full, "new");
  ASSERT_EQ(full.size(), 50u);
  EXPECT_EQ(full.front(), "new");
  EXPECT_EQ(full.back(), "48");
  AddLogicToHistory(full, "4 8");  // already there: moved, nothing falls off
  ASSERT_EQ(full.size(), 50u);
  EXPECT_EQ(full[0], "48");
  EXPECT_EQ(full[1], "new");
  EXPECT_EQ(full.back(), "47");
}

}  // namespace
