// The colour schemes of "Velm.col": reading line by line, writing, merging an older file, and the
// colours page's save, delete and choice.
#include "settings/core/colour_schemes.h"

#include <gtest/gtest.h>

#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "settings/core/colours_page.h"
#include "support/test_support.h"

namespace {

using platform::Answer;
using settings::ColourColumn;
using testing_support::ReadFile;
using testing_support::WriteFile;

// "<name> 1 2 ... 11" with the colours base, base + 1, ...
std::string Line(const std::string& name, int base) {
  std::string line = name;
  for (int k = 0; k < kSchemeColourCount; ++k) line += " " + std::to_string(base + k);
  return line + "\n";
}

std::string Lines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += Line("S" + std::to_string(i), i);
  return text;
}

TEST(ColourSchemes, EachLineIsReadAloneAndDamagedLinesAreSkipped) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> names;  // of the schemes read, in order
    int skipped;
  };
  const Case cases[] = {
      {"plain", Line("A", 1) + Line("B", 2), {"A", "B"}, 0},
      {"tabs_blanks_crlf_last_line_open",
       "  A\t1 2 3 4 5 6 7 8 9 10 11 \r\nB 1 2 3 4 5 6 7 8 9 10 11",
       {"A", "B"},
       0},
      {"blank_lines_ignored", "\n" + Line("A", 1) + "   \n\n", {"A"}, 0},
      {"ten_numbers_does_not_take_the_next_name",
       "A 1 2 3 4 5 6 7 8 9 10\n" + Line("B", 2),
       {"B"},
       1},
      {"twelve_numbers", "A 1 2 3 4 5 6 7 8 9 10 11 12\n" + Line("B", 2), {"B"}, 1},
      {"not_a_number", "A 1 2 x 4 5 6 7 8 9 10 11\n", {}, 1},
      {"negative_and_too_large",
       "A -1 2 3 4 5 6 7 8 9 10 11\nB 65536 2 3 4 5 6 7 8 9 10 11\n",
       {},
       2},
      {"largest_number", "A 65535 2 3 4 5 6 7 8 9 10 11\n", {"A"}, 0},
      {"long_name_cut_to_29", Line(std::string(35, 'n'), 0), {std::string(29, 'n')}, 0},
  };
  for (const Case& c : cases) {
    const SchemeFile file = ParseSchemes(c.text, kSchemesLoaded);
    std::vector<std::string> names;
    for (const ColourScheme& s : file.schemes) names.push_back(s.name);
    EXPECT_EQ(names, c.names) << c.name;
    EXPECT_EQ(file.skippedLines, c.skipped) << c.name;
  }
  const SchemeFile one = ParseSchemes("B 1 2 3 4 5 6 7 8 9 10 11\n", 59);
  ASSERT_EQ(one.schemes.size(), 1u);
  EXPECT_EQ(one.schemes[0].colours[0], 1);
  EXPECT_EQ(one.schemes[0].colours[10], 11);
  EXPECT_EQ(SerializeSchemes(one.schemes), "B 1 2 3 4 5 6 7 8 9 10 11\n");
  EXPECT_EQ(SerializeSchemes({}), "");
}

class SchemesTest : public ::testing::Test {
 protected:
  settings::ColoursPage Page() {
    settings::ColoursPage page = settings::ColoursPage::From(Configuration());
    page.dataFile = file_;
    return page;
  }
  testing_support::TempFolder folder_;
  testing_support::ScriptedPrompter prompts_;
  std::filesystem::path file_ = folder_ / "Velm.col";
};

TEST_F(SchemesTest, FiftyNineSchemesLoadWithoutMessageSixtyWithIt) {
  for (const int count : {59, 60}) {
    WriteFile(file_, Lines(count));
    prompts_.shown.clear();
    settings::ColoursPage page = Page();
    page.LoadGamma();
    EXPECT_EQ(page.Schemes().size(), 59u) << count;
    EXPECT_FALSE(page.SaveEnabled()) << count;
    EXPECT_EQ(prompts_.WasShown(kMsgTooManySchemes), count == 60) << count;
  }
  // Deleting one of 60 keeps the 60th, which was not offered; deleting one of 59 enables saving.
  for (const int count : {60, 59}) {
    WriteFile(file_, Lines(count));
    settings::ColoursPage page = Page();
    page.LoadGamma();
    page.ChooseScheme(ColourColumn::kPrint, 3);
    prompts_.Expect(kMsgDeleteScheme, Answer::Yes);
    ASSERT_TRUE(page.DeleteScheme(ColourColumn::kPrint)) << count;
    EXPECT_EQ(page.SaveEnabled(), count == 59) << count;
    std::string rest = Lines(count);
    rest.erase(rest.find("S3 "), Line("S3", 3).size());
    EXPECT_EQ(ReadFile(file_), rest) << count;
  }
}

TEST_F(SchemesTest, SavingCutsAndJoinsTheNameAndRefusesItInAnyCase) {
  WriteFile(file_, Line("First", 1));
  settings::ColoursPage page = Page();
  page.LoadGamma();
  page.print[0] = 40;
  ASSERT_TRUE(page.SaveScheme(ColourColumn::kPrint, "my scheme  "));
  EXPECT_TRUE(prompts_.WasShown(kMsgSchemeAdded));
  const std::string saved = ReadFile(file_);
  EXPECT_EQ(saved, Line("First", 1) + "my_scheme 40 1 16 1 1 12 1 4 15 15 7\n");

  EXPECT_FALSE(page.SaveScheme(ColourColumn::kScreen, "MY SCHEME"));
  EXPECT_TRUE(prompts_.WasShown(kMsgSchemeNameTaken));
  EXPECT_FALSE(page.SaveScheme(ColourColumn::kScreen, "   "));
  EXPECT_EQ(ReadFile(file_), saved);

  ASSERT_TRUE(page.SaveScheme(ColourColumn::kScreen, std::string(40, 'x')));
  EXPECT_EQ(page.Schemes().back().name, std::string(29, 'x'));
}

TEST_F(SchemesTest, SelectionChoiceAndDeletionQuestions) {
  const Configuration defaults;
  std::string same = "Same";
  for (int k = 0; k < kSchemeColourCount; ++k)
    same += " " + std::to_string(defaults.screenColours[static_cast<std::size_t>(k)]);
  WriteFile(file_, Line("Other", 20) + same + "\n" + same.replace(0, 4, "Twin") + "\n");
  settings::ColoursPage page = Page();
  page.LoadGamma();
  EXPECT_EQ(page.Selection(ColourColumn::kScreen), 1);  // the first of the two equal ones
  page.ChooseScheme(ColourColumn::kPrint, 0);
  EXPECT_EQ(page.print[0], 20);
  EXPECT_EQ(page.print[10], 30);
  EXPECT_EQ(page.print[11], defaults.printColours[11]);
  EXPECT_EQ(page.screen, defaults.screenColours);

  settings::ColoursPage none = Page();
  WriteFile(file_, Line("Other", 20));
  none.LoadGamma();
  EXPECT_FALSE(none.DeleteScheme(ColourColumn::kScreen));
  EXPECT_TRUE(prompts_.WasShown(kMsgChooseScheme));
  none.ChooseScheme(ColourColumn::kScreen, 0);
  prompts_.Expect(kMsgDeleteScheme, Answer::No);
  EXPECT_FALSE(none.DeleteScheme(ColourColumn::kScreen));
  EXPECT_EQ(ReadFile(file_), Line("Other", 20));
}

TEST_F(SchemesTest, DamagedFileIsReportedAndKeptAsideBeforeItIsRewritten) {
  WriteFile(file_, "A 1 2\n" + Line("B", 2));
  settings::ColoursPage page = Page();
  page.LoadGamma();
  EXPECT_TRUE(prompts_.WasShown(kMsgDamagedSchemes));
  ASSERT_TRUE(page.SaveScheme(ColourColumn::kScreen, "C"));
  EXPECT_TRUE(prompts_.WasShown(kMsgUnreadLinesKept));
  EXPECT_EQ(ReadFile(folder_ / "Velm.col.bad"), "A 1 2\n" + Line("B", 2));
  EXPECT_EQ(page.Schemes().size(), 2u);
}

TEST_F(SchemesTest, MergeAddsMissingNamesOnYesUpToSixty) {
  const auto older = folder_ / "VELM.COL";
  WriteFile(older, Line("B", 9) + Line("b", 3) + "broken line\n" + Line("C", 4) + Line("D", 5));
  WriteFile(file_, Line("A", 1) + Line("B", 2));
  std::vector<std::string> asked;
  auto answer = [&asked](const std::string& name) {
    asked.push_back(name);
    return name != "C";
  };
  ASSERT_TRUE(MergeSchemeFiles(older, file_, file_, answer).ok());
  EXPECT_EQ(asked, (std::vector<std::string>{"b", "C", "D"}));  // B is there, case-sensitively
  EXPECT_EQ(ReadFile(file_), Line("A", 1) + Line("B", 2) + Line("b", 3) + Line("D", 5));
  EXPECT_TRUE(prompts_.WasShown(kMsgDamagedSchemes));

  // 59 present: the first taken makes 60, the next one stops the merge with message 72.
  WriteFile(file_, Lines(59));
  WriteFile(older, Line("X", 1) + Line("Y", 2) + Line("Z", 3));
  asked.clear();
  ASSERT_TRUE(MergeSchemeFiles(older, file_, file_, answer).ok());
  EXPECT_EQ(asked, (std::vector<std::string>{"X", "Y"}));
  EXPECT_TRUE(prompts_.WasShown(kMsgTooManySchemes));
  EXPECT_EQ(ReadFile(file_), Lines(59) + Line("X", 1));

  // A missing older file changes nothing.
  EXPECT_EQ(MergeSchemeFiles(folder_ / "none.col", file_, file_, answer).ErrorCode(),
            kErrCannotOpen);
  EXPECT_EQ(ReadFile(file_), Lines(59) + Line("X", 1));
}

}  // namespace
