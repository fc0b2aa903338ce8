// The groups store and "groups.lst".
#include "conditions/core/groups.h"

#include <gtest/gtest.h>

#include "conditions/condition_test_support.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/files/settings.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/cp1251.h"
#include "support/test_support.h"

namespace {

using condition_test::Group;
using testing_support::ReadFile;
using testing_support::ScriptedPrompter;
using testing_support::WriteFile;

class GroupsFile : public condition_test::DataFolderTest {
 protected:
  std::filesystem::path File() const { return folder_ / "groups.lst"; }
  Groups groups_;
};

TEST_F(GroupsFile, FiftyGroupsOfEachKindAreReadBackWhole) {
  std::string bytes;
  for (const char kind : {'P', 'S', 'H'})
    for (int i = 0; i < 50; ++i)
      bytes += kind + std::string("g") + std::to_string(i) + "|" +
               std::string(1, static_cast<char>('A' + i % 12)) + (kind == 'P' ? "b" : "L") + "\n";
  WriteFile(File(), bytes);
  ASSERT_EQ(groups_.LoadGroups(), 0);
  for (const char kind : {'P', 'S', 'H'}) {
    ASSERT_EQ(groups_.Count(kind), 50) << kind;
    const GroupRecord& last = groups_.Group(kind, 49);
    EXPECT_EQ(last.name, "g49");
    ASSERT_EQ(last.count, 2);
    EXPECT_EQ(last.members[0], 49 % 12);
    EXPECT_EQ(last.members[1], kind == 'P' ? 33 : 11);  // 'b' is point 33, 'L' sign/house 11
  }
  ASSERT_EQ(groups_.SaveGroups(0, -1), 0);
  EXPECT_EQ(ReadFile(File()), bytes);
  EXPECT_TRUE(prompts_.shown.empty());
}

TEST_F(GroupsFile, BadLinesGiveOneMessageAndTheOthersAreRead) {
  const std::string longName(40, 'n');
  WriteFile(File(),
            "PFirst|AB\r\n"
            "\n"          // empty
            "PNoBar\n"    // no '|'
            "XOther|A\n"  // unknown kind
            "SBig|AM\n"   // sign 12
            "PFar|c\n"    // point 34
            "P" +
                longName +
                "|A\n"
                "PEmpty|\n"
                "HLast|L\n");
  ASSERT_EQ(groups_.LoadGroups(), 0);
  EXPECT_EQ(condition_test::TimesShown(prompts_, kMsgGroupsBadLine), 1);
  EXPECT_EQ(condition_test::TimesShown(prompts_, kMsgGroupsCut), 1);
  ASSERT_EQ(groups_.Count('P'), 3);
  EXPECT_EQ(groups_.Group('P', 0).name, "First");
  EXPECT_EQ(groups_.Group('P', 1).name, std::string(30, 'n'));  // cut to 30
  EXPECT_EQ(groups_.Group('P', 2).name, "Empty");
  EXPECT_EQ(groups_.Group('P', 2).count, 0);
  EXPECT_EQ(groups_.Count('S'), 0);
  ASSERT_EQ(groups_.Count('H'), 1);
  EXPECT_EQ(groups_.Group('H', 0).members[0], 11);
}

// A file not read whole is never saved over without a copy of it: refused lines, names past 30
// bytes and members past the 50th each make the first save keep the old file, and say where.
TEST_F(GroupsFile, TheFirstSaveOverAFileNotReadWholeKeepsItAside) {
  const std::string longName(31, 'n');
  struct Case {
    const char* name;
    std::string bytes;
    int message;  // shown at the load
  } const cases[] = {
      {"refused_line", "PFirst|AB\nSBig|AM\n", kMsgGroupsBadLine},
      {"long_name", "P" + longName + "|A\n", kMsgGroupsCut},
      {"many_members", "PMany|" + std::string(51, 'A') + "\n", kMsgGroupsCut},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(folder_ / "groups.lst.bad");
    prompts_.shown.clear();
    WriteFile(File(), c.bytes);
    ASSERT_EQ(groups_.LoadGroups(), 0);
    EXPECT_EQ(condition_test::TimesShown(prompts_, c.message), 1);
    ASSERT_EQ(groups_.SaveGroups(0, -1), 0);
    EXPECT_EQ(ReadFile(folder_ / "groups.lst.bad"), c.bytes);
    ASSERT_EQ(condition_test::TimesShown(prompts_, kMsgUnreadLinesKept), 1);
    EXPECT_NE(prompts_.shown.back().text.find("groups.lst.bad"), std::string::npos);
    // Once saved, the file holds what the store holds: no second copy.
    ASSERT_EQ(groups_.SaveGroups(0, -1), 0);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "groups.lst.bad2"));
  }
}

TEST_F(GroupsFile, MissingFileIsAnEmptyStoreWithoutMessage) {
  WriteFile(File(), "PA|A\n");
  ASSERT_EQ(groups_.LoadGroups(), 0);
  std::filesystem::remove(File());
  EXPECT_EQ(groups_.LoadGroups(), 0);
  EXPECT_EQ(groups_.Count('P'), 0);
  EXPECT_TRUE(prompts_.shown.empty());
}

TEST_F(GroupsFile, SavingWithoutOneGroupClosesTheGap) {
  WriteFile(File(), "PP0|A\nSS0|A\nSS1|B\nSS2|C\nSS3|D\nHH0|E\n");
  ASSERT_EQ(groups_.LoadGroups(), 0);
  ASSERT_EQ(groups_.SaveGroups('S', 2), 0);
  EXPECT_EQ(ReadFile(File()), "PP0|A\nSS0|A\nSS1|B\nSS3|D\nHH0|E\n");
  ASSERT_EQ(groups_.LoadGroups(), 0);
  ASSERT_EQ(groups_.Count('S'), 3);
  EXPECT_EQ(groups_.Group('S', 2).name, "S3");
}

TEST_F(GroupsFile, AFailedSaveIsReportedAndKeepsTheOldFile) {
  WriteFile(File(), "PP0|A\n");
  ASSERT_EQ(groups_.LoadGroups(), 0);
  groups_.Group('P', 0).name = "Changed";
  ArmFileFault(1);
  EXPECT_EQ(groups_.SaveGroups(0, -1), -1);
  ArmFileFault(3);  // the rename over the old file
  EXPECT_EQ(groups_.SaveGroups(0, -1), -1);
  EXPECT_EQ(ReadFile(File()), "PP0|A\n");
  EXPECT_EQ(prompts_.shown.size(), 2u);
}

TEST(GroupLabels, SuffixesAreTheCatalogueTexts) {
  Groups groups;
  ASSERT_EQ(groups.AddGroup('P', Group("Lights")), 0);
  ASSERT_EQ(groups.AddGroup('S', Group("Fire")), 0);
  ASSERT_EQ(groups.AddGroup('H', Group("Angles")), 0);
  struct Row {
    char kind;
    char quantifier;
    const char* utf8;
  };
  const Row rows[] = {{'P', 'N', "Lights[одна_из]"}, {'P', 'A', "Lights[каждая]"},
                      {'S', 'N', "Fire[один_из]"},   {'S', 'A', "Fire[каждый]"},
                      {'H', 'N', "Angles[один_из]"}, {'H', 'A', "Angles[каждый]"},
                      {'H', '0', "Angles"}};
  for (const Row& r : rows)
    EXPECT_EQ(groups.GetGroupLabel(r.kind, 0, r.quantifier), Cp1251(r.utf8)) << r.utf8;
  groups.SetCurrentKind('S');
  EXPECT_EQ(groups.GetGroupLabel('C', 0, 'A'), Cp1251("Fire[каждый]"));
}

TEST(GroupLabels, FindGroupByLabelInEitherMode) {
  ScriptedPrompter prompts;
  Groups groups;
  groups.AddGroup('P', Group("Other", {3, 4}));
  groups.AddGroup('P', Group("Lights", {3, 4}));
  int index = -1;
  char quantifier = 0;
  EXPECT_EQ(groups.FindGroup(Cp1251("Lights[каждая]"), 501, index, quantifier, 1), 2);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(quantifier, 'A');
  EXPECT_EQ(groups.CurrentKind(), 'P');
  EXPECT_EQ(groups.FindGroup("Lights", 501, index, quantifier, 0), 2);
  EXPECT_EQ(quantifier, '0');
  EXPECT_TRUE(prompts.shown.empty());
  // The one-of label does not find the group under the each code; sign codes look among signs.
  EXPECT_EQ(groups.FindGroup(Cp1251("Lights[одна_из]"), 501, index, quantifier, 1), -1);
  EXPECT_EQ(groups.FindGroup("Lights", 502, index, quantifier, 0), -1);
  EXPECT_EQ(groups.CurrentKind(), 'S');
  ASSERT_EQ(prompts.shown.size(), 2u);
  EXPECT_EQ(prompts.shown[1].number, kMsgGroupNotFound);
  EXPECT_EQ(prompts.shown[1].text, GetMessageText(kMsgGroupNotFound) + "\nLights.");
  EXPECT_EQ(groups.NameExists("Lights"), 1);
  EXPECT_EQ(groups.NameExists("lights"), 0);
}

TEST(GroupMembers, MembershipAndSwap) {
  Groups groups;
  groups.AddGroup('H', Group("A", {0, 5}));
  groups.AddGroup('H', Group("B", {7}));
  groups.SetCurrentKind('H');
  EXPECT_EQ(groups.IsMember(0, 5), 1);
  EXPECT_EQ(groups.IsMember(0, 7), 0);
  EXPECT_EQ(groups.IsMember(2, 0), 0);  // no such group
  groups.SwapGroups(0, 1);
  EXPECT_EQ(groups.Group('H', 0).name, "B");
  EXPECT_EQ(groups.IsMember(0, 7), 1);
  // A house group cannot take house 12 (index 12), a planet group point 34.
  EXPECT_EQ(groups.AddGroup('H', Group("A", {12})), -1);
  EXPECT_EQ(groups.AddGroup('P', Group("A", {33})), 0);
}

}  // namespace

namespace {

TEST(ShippedGroups, LoadWithoutBadLines) {
  Groups groups;
  std::string bytes = testing_support::ReadFile(testing_support::SourceDir() / "data/groups.lst");
  EXPECT_EQ(groups.Parse(bytes), 0);
  EXPECT_EQ(groups.Count('P'), 6);
  EXPECT_EQ(groups.Count('S'), 7);
  EXPECT_EQ(groups.Count('H'), 3);
  EXPECT_EQ(groups.Serialize(), bytes);
}

}  // namespace
