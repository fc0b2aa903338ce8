// The condition line, its checks, the condition set's records and the three list files.
#include <gtest/gtest.h>

#include "archive/archive_fixture.h"
#include "conditions/condition_test_support.h"
#include "conditions/core/cfunc.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/files/settings.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/text/cp1251.h"
#include "support/test_support.h"

namespace {

using testing_support::ReadFile;
using testing_support::WriteFile;

// A line of `head` (number, sign, kind, words 2 to 4) with empty texts and words 8 to 18 at 0.
std::string Plain(const std::string& head) {
  return head + " \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n";
}
// A valid IN line with number n: the Sun in Aries.
std::string InLine(int n, char sign = '+') {
  return Plain(std::to_string(n) + " " + sign + " 1 0 100 0");
}

TEST(ConditionLine, TextTokensRoundTripAndTheNumberIsWrittenFromItsLow16Bits) {
  // An empty text is the token 0x03; a blank held as 0x04 stays 0x04.
  const std::string line = "7 - 6 3 0 0 \x04 \x03 VELM 0 0 0 1 0 1 0 0 0 0 0\n";
  QueryCondition c;
  ASSERT_EQ(ParseConditionLine(line, c), ConditionLineFault::kNone);
  EXPECT_EQ(c.Number(), 7);
  EXPECT_FALSE(c.Enabled());
  EXPECT_EQ(c.Kind(), kCondContext);
  EXPECT_EQ(c.text1, "\x04");
  EXPECT_EQ(c.text2, "");
  EXPECT_EQ(c.text3, "VELM");
  EXPECT_EQ(c.w[11], 1);
  EXPECT_EQ(c.w[13], 1);
  EXPECT_EQ(FormatConditionLine(c), line);
  c.w[0] = 40000;  // 40000 - 65536
  EXPECT_EQ(FormatConditionLine(c).substr(0, 7), "-25536 ");
}

TEST(ConditionLine, EveryFieldIsChecked) {
  constexpr auto kNone = ConditionLineFault::kNone;
  constexpr auto kFields = ConditionLineFault::kFields;
  constexpr auto kInvalid = ConditionLineFault::kInvalid;
  const struct {
    const char* name;
    std::string line;
    ConditionLineFault fault;
  } cases[] = {
      {"valid_in", InLine(1), kNone},
      {"nineteen_fields", "1 + 1 0 100 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0\n", kFields},
      {"word_not_a_number", Plain("1 + 1 0 1x0 0"), kFields},
      {"twenty_one_fields", "1 + 1 0 100 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0 5\n", kInvalid},
      {"number_above_32767", InLine(40000), kInvalid},
      {"number_zero", InLine(0), kInvalid},
      {"unknown_kind", Plain("1 + 9 0 100 0"), kInvalid},
      {"point_34", Plain("1 + 1 34 100 0"), kInvalid},
      {"point_99", "1 + 0 99 1 1001 \x03 \x03 X 0 0 0 0 1 0 0 0 0 90 0\n", kInvalid},
      {"sign_12", Plain("1 + 1 0 112 0"), kInvalid},
      {"place_is_a_point", Plain("1 + 1 0 3 0"), kInvalid},
      {"fixed_degree_30", "1 + 1 506 200 0 \x03 \x03 \x03 30 0 0 0 0 0 0 0 0 0 0\n", kInvalid},
      {"group_without_label", Plain("1 + 1 501 100 0"), kInvalid},
      {"asp_second_fixed", "1 + 0 0 506 1001 \x03 \x03 X 0 0 0 0 1 0 0 0 0 90 0\n", kInvalid},
      {"asp_choice_50", "1 + 0 0 1 50 \x03 \x03 X 0 0 0 1 0 0 0 0 0 0 0\n", kInvalid},
      {"asp_mask_512", "1 + 0 0 1 1000 \x03 \x03 X 0 0 0 1 0 0 512 0 0 0 0\n", kInvalid},
      {"asp_cusp_orb_class_6", "1 + 0 0 200 0 \x03 \x03 X 0 0 0 1 0 0 0 6 0 0 0\n", kInvalid},
      {"incl_sign_in_sign", Plain("1 + 2 101 102 0"), kInvalid},
      {"pair_in_with_sign", Plain("1 + 101 103 200 0"), kInvalid},
      {"pair_in_with_house", Plain("1 + 101 203 200 0"), kNone},
      {"conf_row_42", "1 + 7 42 0 0 \x03 \x03 X 0 0 0 1 0 0 700700 700700 700700 1 0\n", kInvalid},
      {"conf_row_41", "1 + 7 41 0 0 \x03 \x03 X 0 0 0 1 0 0 700700 700700 700700 1 0\n", kNone},
      {"conf_packed_member_46", "1 + 7 2 0 0 \x03 \x03 X 0 0 0 1 0 0 700700 46700 700700 1 0\n",
       kInvalid},
      {"conf_member_sign", "1 + 7 2 0 0 \x03 \x03 X 0 0 0 1 0 0 100700 700700 700700 1 0\n",
       kInvalid},
      {"text_of_99", "1 + 6 0 0 0 " + std::string(99, 'x') + " \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n",
       kNone},
      {"text_of_100", "1 + 6 0 0 0 " + std::string(100, 'x') + " \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n",
       kInvalid},
      {"sign_word_two_characters", Plain("1 ++ 1 0 100 0"), kInvalid},
  };
  for (const auto& c : cases) {
    QueryCondition parsed;
    EXPECT_EQ(ParseConditionLine(c.line, parsed), c.fault) << c.name;
  }
}

using ConditionSetFiles = condition_test::DataFolderTest;

// A line without all its fields is refused like any other bad line: the valid lines after it are
// read, and the first save keeps the old file, the short line with it, aside.
TEST_F(ConditionSetFiles, AShortLineIsRefusedAndTheLinesAfterItAreKept) {
  std::string lines;
  for (int n = 1; n <= 9; ++n) lines += InLine(n);
  lines += "10 + 1 0 100\n" + InLine(11);
  const auto file = folder_ / "quefuncs.lst";
  WriteFile(file, lines);
  CFunc set;
  EXPECT_EQ(set.LoadFuncs(file, CFunc::kCapacity), 10);
  EXPECT_EQ(set.Condition(9).Number(), 11);
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].number, kMsgConditionsBadLines);
  EXPECT_NE(prompts_.shown[0].text.find(" 10"), std::string::npos);
  ASSERT_EQ(set.SaveFuncs(file), 0);
  EXPECT_EQ(ReadFile(folder_ / "quefuncs.lst.bad"), lines);
  ASSERT_EQ(prompts_.shown.size(), 2u);
  EXPECT_EQ(prompts_.shown[1].number, kMsgUnreadLinesKept);
  ASSERT_EQ(set.SaveFuncs(file), 0);
  EXPECT_FALSE(std::filesystem::exists(folder_ / "quefuncs.lst.bad2"));
}

// Lines past the limit are not lost by a save either.
TEST_F(ConditionSetFiles, LinesPastTheLimitAreKeptAsideByTheFirstSave) {
  const auto file = folder_ / "quefuncs.lst";
  WriteFile(file, InLine(1) + InLine(2) + InLine(3));
  CFunc set;
  EXPECT_EQ(set.LoadFuncs(file, 2), 2);
  EXPECT_TRUE(prompts_.shown.empty());
  ASSERT_EQ(set.SaveFuncs(file), 0);
  EXPECT_EQ(ReadFile(file), InLine(1) + InLine(2));
  EXPECT_EQ(ReadFile(folder_ / "quefuncs.lst.bad"), InLine(1) + InLine(2) + InLine(3));
  // A list read whole is saved without a copy.
  EXPECT_EQ(set.LoadFuncs(file, 2), 2);
  ASSERT_EQ(set.SaveFuncs(file), 0);
  EXPECT_FALSE(std::filesystem::exists(folder_ / "quefuncs.lst.bad2"));
}

TEST_F(ConditionSetFiles, InvalidLinesAreRefusedWithOneMessageAndAMissingListIsEmpty) {
  CFunc set;
  EXPECT_EQ(set.LoadFuncs(folder_ / "quefuncs.lst", CFunc::kCapacity), 0);
  EXPECT_TRUE(prompts_.shown.empty());
  const std::string lines = InLine(1) + "2 + 1 40 100 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n" +
                            InLine(1) + "4 + 100 0 1 1001 \x03 \x03 X 0 0 0 0 1 0 0 0 0 90 0\n" +
                            InLine(5);
  WriteFile(folder_ / "quefuncs.lst", lines);
  EXPECT_EQ(set.LoadFuncs(folder_ / "quefuncs.lst", CFunc::kCapacity), 2);
  EXPECT_EQ(set.Condition(0).Number(), 1);
  EXPECT_EQ(set.Condition(1).Number(), 5);
  // Line 2: point 40; line 3: number 1 again; line 4: a synastry kind in a plain set.
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].number, kMsgConditionsBadLines);
  EXPECT_NE(prompts_.shown[0].text.find(" 2, 3, 4"), std::string::npos);
}

TEST_F(ConditionSetFiles, SaveWritesEveryRecordAndAFailedWriteKeepsTheOldFile) {
  CFunc set;
  set.ParseFuncs(InLine(4) + InLine(2, '-'), CFunc::kCapacity);
  const auto file = folder_ / "quefuncs.lst";
  ASSERT_EQ(set.SaveFuncs(file), 0);
  EXPECT_EQ(ReadFile(file), InLine(4) + InLine(2, '-'));
  set.RemoveCondition(0);
  ArmFileFault(1);  // the temporary file cannot be created
  EXPECT_EQ(set.SaveFuncs(file), -1);
  ArmFileFault(2);  // the write fails
  EXPECT_EQ(set.SaveFuncs(file), -2);
  EXPECT_EQ(ReadFile(file), InLine(4) + InLine(2, '-'));
  EXPECT_EQ(prompts_.shown.size(), 2u);
}

TEST_F(ConditionSetFiles, AddConditionPutsTheNewOneFirstAndRefusesTheHundredAndFirst) {
  CFunc set;
  set.ParseFuncs(InLine(1) + InLine(3), CFunc::kCapacity);
  QueryCondition added;
  ASSERT_EQ(ParseConditionLine("9 - 1 1 103 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0", added),
            ConditionLineFault::kNone);
  EXPECT_EQ(set.AddCondition(added), 3);
  EXPECT_EQ(set.Condition(0).Number(), 2);  // the smallest free number
  EXPECT_TRUE(set.Condition(0).Enabled());
  EXPECT_EQ(set.Condition(0).w[2], 1);
  EXPECT_EQ(set.Condition(1).Number(), 1);
  EXPECT_EQ(set.Condition(2).Number(), 3);
  while (set.Count() < CFunc::kCapacity) ASSERT_GT(set.AddCondition(added), 0);
  EXPECT_EQ(set.AddCondition(added), -1);
  EXPECT_EQ(set.Count(), CFunc::kCapacity);
  EXPECT_EQ(set.Condition(CFunc::kCapacity - 1).Number(), 3);  // nothing fell off
}

TEST_F(ConditionSetFiles, ArchiveListDropsVanishedArchivesAndReadsFiftyLines) {
  const auto a = folder_ / "a.arc", b = folder_ / "b.arc";
  std::string lines = "+" + a.string() + "\r\n-" + (folder_ / "gone.arc").string() + "\n";
  for (int i = 0; i < 49; ++i) lines += "-" + b.string() + "\n";
  lines += "+" + a.string() + "\n";  // the 52nd line
  WriteFile(folder_ / "quearcs.lst", lines);
  const std::string bytes = archive_test::ArchiveBytes(kLayout4400, {archive_test::MakeChart("A")});
  WriteFile(a, bytes);
  WriteFile(b, bytes);
  const std::vector<ArchiveListEntry> list = LoadArcs(folder_ / "quearcs.lst");
  ASSERT_EQ(list.size(), 49u);  // 50 lines read, the vanished archive dropped
  EXPECT_EQ(list[0], (ArchiveListEntry{a.string(), true}));
  EXPECT_EQ(list[1], (ArchiveListEntry{b.string(), false}));
  // The synastry list is its own file.
  ASSERT_EQ(SaveArcs(folder_ / ArcsFileName(QueryMode::kSynastry), list), 0);
  const std::string saved = ReadFile(folder_ / "synarcs.lst");
  EXPECT_EQ(saved.substr(0, a.string().size() + 2), "+" + a.string() + "\n");
  EXPECT_EQ(saved.find("gone.arc"), std::string::npos);
}

TEST_F(ConditionSetFiles, LogicHistoryKeepsFiftyLines) {
  std::string lines;
  for (int i = 1; i <= 51; ++i) lines += std::to_string(i) + "&1\r\n";
  WriteFile(folder_ / "quelogic.lst", lines);
  const std::vector<std::string> history = LoadLogic(folder_ / "quelogic.lst");
  ASSERT_EQ(history.size(), 50u);
  EXPECT_EQ(history.front(), "1&1");
  EXPECT_EQ(history.back(), "50&1");
  ASSERT_EQ(SaveLogic(folder_ / LogicFileName(QueryMode::kSynastry), {"1|2", "(3)"}), 0);
  EXPECT_EQ(ReadFile(folder_ / "synlogic.lst"), "1|2\n(3)\n");
}

}  // namespace
