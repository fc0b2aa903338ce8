// The group editor's model: adding, renaming, re-membering, deleting and reordering groups, the
// name checks, and Save and Cancel against "groups.lst".
#include "conditions/core/group_editor.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

#include "conditions/condition_test_support.h"
#include "conditions/core/member_choice.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/files/settings.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/text/cp1251.h"
#include "support/test_support.h"

namespace {

using testing_support::ReadFile;
using testing_support::WriteFile;

// Answers the editor's questions from queues; an unexpected question fails the test (Cancel).
class ScriptedGroupDialogs : public GroupEditorDialogs {
 public:
  struct Answer {
    std::string text;  // a name (cp1251) or the member flags
    bool ok = true;
  };
  bool AskName(const std::string& prompt, std::string& name) override {
    prompts.push_back(prompt);
    presets.push_back(name);
    return Next(names, name);
  }
  bool AskMembers(int mode, std::string& flags) override {
    modes.push_back(mode);
    memberPresets.push_back(flags);
    return Next(members, flags);
  }
  std::deque<Answer> names, members;
  std::vector<std::string> prompts, presets, memberPresets;
  std::vector<int> modes;

 private:
  static bool Next(std::deque<Answer>& answers, std::string& value) {
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected question";
      return false;
    }
    const Answer a = answers.front();
    answers.pop_front();
    if (a.ok) value = a.text;
    return a.ok;
  }
};

// 'Y' at the given entries of a mode.
std::string Flags(int mode, std::vector<int> chosen) { return MemberChoice::FlagsOf(mode, chosen); }

class GroupEditorTest : public condition_test::DataFolderTest {
 protected:
  void TearDown() override {
    EXPECT_TRUE(dialogs_.names.empty() && dialogs_.members.empty()) << "answers left unused";
    DataFolderTest::TearDown();
  }
  std::filesystem::path File() const { return folder_ / "groups.lst"; }
  std::filesystem::path Backup() const { return folder_ / "___gr.tmp"; }
  std::vector<int> Shown() const {
    std::vector<int> numbers;
    for (const auto& s : prompts_.shown) numbers.push_back(s.number);
    return numbers;
  }
  // Opens the editor on a store read from `bytes` (no file when null).
  void OpenWith(const char* bytes) {
    if (bytes != nullptr) WriteFile(File(), bytes);
    ASSERT_EQ(store_.LoadGroups(), 0);
    ASSERT_TRUE(editor_.Open());
  }
  // The next name question is answered `name`, the member question after it `flags`.
  void Answer(const std::string& name, const std::string& flags) {
    dialogs_.names.push_back({name});
    dialogs_.members.push_back({flags});
  }

  ScriptedGroupDialogs dialogs_;
  Groups store_;
  GroupEditor editor_{store_, dialogs_};
};

TEST_F(GroupEditorTest, AddingWritesTheGroupAtOnceWithBlanksAsUnderscores) {
  OpenWith("Pfirst|AB\nSfire|AEI\n");
  EXPECT_EQ(ReadFile(Backup()), "Pfirst|AB\nSfire|AEI\n");
  EXPECT_EQ(editor_.Kind(), 'P');
  EXPECT_EQ(editor_.Selected(), 0);
  Answer(Cp1251("Мои  планеты  "), Flags(MemberChoice::kPlanets, {0, 9, 33}));
  ASSERT_TRUE(editor_.Add());
  EXPECT_EQ(dialogs_.prompts[0], Cp1251("Введите название группы\n(длиной не более 30 символов)"));
  EXPECT_EQ(dialogs_.presets[0], "");
  EXPECT_EQ(dialogs_.modes[0], MemberChoice::kPlanets);
  EXPECT_EQ(dialogs_.memberPresets[0], std::string(34, 'N'));  // all 34 points, none chosen
  EXPECT_EQ(ReadFile(File()), "Pfirst|AB\nP" + Cp1251("Мои__планеты") + "|AJb\nSfire|AEI\n");
  EXPECT_EQ(editor_.Selected(), 1);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(GroupEditorTest, NamesAreCheckedAfterNormalisingAcrossKindsExceptTheGroupItself) {
  OpenWith("Pone|A\nPtwo_words|B\nSfire|AEI\nHangles|ADGJ\n");
  struct Case {
    const char* name;
    const char* typed;  // UTF-8
    int self;
    int refusal;
    const char* stored;
  };
  const Case cases[] = {
      {"new_name", "три", -1, 0, "три"},
      {"trailing_blanks_cut", "три   ", -1, 0, "три"},
      {"same_as_a_sign_group", "fire", -1, 620, nullptr},
      {"same_after_blanks_become_underscores", "two words", -1, 620, nullptr},
      {"same_as_house_group_with_trailing_blank", "angles ", -1, 620, nullptr},
      {"rename_to_own_name", "one", 0, 0, "one"},
      {"rename_to_another_groups_name", "two_words", 0, 620, nullptr},
      {"case_differs", "ONE", -1, 0, "ONE"},
      {"only_blanks", "   ", -1, 1951, nullptr},
      {"thirty_characters", "abcdefghijabcdefghijabcdefghij", -1, 0,
       "abcdefghijabcdefghijabcdefghij"},
      {"thirty_one_characters", "abcdefghijabcdefghijabcdefghijk", -1, 1952, nullptr},
      {"bar_breaks_the_file_line", "a|b", -1, 1953, nullptr},
      {"tab", "a\tb", -1, 1953, nullptr},
  };
  for (const Case& c : cases) {
    std::string name = Cp1251(c.typed);
    EXPECT_EQ(editor_.CheckName(name, c.self), c.refusal) << c.name;
    if (c.stored != nullptr) {
      EXPECT_EQ(name, Cp1251(c.stored)) << c.name;
    }
  }
}

TEST_F(GroupEditorTest, ARefusedNameIsAskedAgainWithItsMessage) {
  OpenWith("Sfire|AEI\n");
  dialogs_.names.push_back({"fire"});
  dialogs_.names.push_back({""});
  Answer("water", Flags(MemberChoice::kPlanets, {1}));
  ASSERT_TRUE(editor_.Add());
  EXPECT_EQ(Shown(), (std::vector<int>{620, 1951}));
  EXPECT_EQ(dialogs_.presets[1], "fire");  // the refused text stays to be corrected
  EXPECT_EQ(ReadFile(File()), "Pwater|B\nSfire|AEI\n");
}

TEST_F(GroupEditorTest, CancelOrNoMemberAddsNothing) {
  OpenWith("Pone|A\n");
  dialogs_.names.push_back({"x", false});
  EXPECT_FALSE(editor_.Add());
  dialogs_.names.push_back({"x"});
  dialogs_.members.push_back({Flags(MemberChoice::kPlanets, {2}), false});
  EXPECT_FALSE(editor_.Add());
  Answer("x", Flags(MemberChoice::kPlanets, {}));
  EXPECT_FALSE(editor_.Add());
  EXPECT_EQ(Shown(), (std::vector<int>{694}));
  EXPECT_EQ(store_.Count('P'), 1);
  EXPECT_EQ(ReadFile(File()), "Pone|A\n");
}

TEST_F(GroupEditorTest, The51stPlanetGroupIsRefusedWhileASignGroupCanStillBeAdded) {
  std::string bytes;
  for (int i = 0; i < 50; ++i) bytes += "Pg" + std::to_string(i) + "|A\n";
  OpenWith(bytes.c_str());
  EXPECT_FALSE(editor_.Add());  // no question asked
  EXPECT_EQ(Shown(), (std::vector<int>{564}));
  editor_.SetKind('S');
  Answer("signs", Flags(MemberChoice::kSigns, {11, 0}));
  ASSERT_TRUE(editor_.Add());
  EXPECT_EQ(dialogs_.modes.back(), MemberChoice::kSigns);
  EXPECT_EQ(ReadFile(File()), bytes + "Ssigns|AL\n");  // members in list order
}

TEST_F(GroupEditorTest, EditingReplacesNameAndMembersOnlyWhenMembersAreConfirmed) {
  OpenWith("Hangles|ADGJ\nHsecond|B\n");
  editor_.SetKind('H');
  editor_.Select(0);
  Answer("corners", Flags(MemberChoice::kHouses, {0, 9}));
  ASSERT_TRUE(editor_.Edit());
  EXPECT_EQ(dialogs_.presets[0], "angles");
  EXPECT_EQ(dialogs_.modes[0], MemberChoice::kHouses);
  EXPECT_EQ(dialogs_.memberPresets[0], "YNNYNNYNNYNN");
  EXPECT_EQ(ReadFile(File()), "Hcorners|AJ\nHsecond|B\n");

  dialogs_.names.push_back({"other"});
  dialogs_.members.push_back({"", false});
  EXPECT_FALSE(editor_.Edit());
  Answer("other", Flags(MemberChoice::kHouses, {}));
  EXPECT_FALSE(editor_.Edit());
  EXPECT_EQ(store_.Group('H', 0).name, "corners");
  EXPECT_EQ(ReadFile(File()), "Hcorners|AJ\nHsecond|B\n");
}

TEST_F(GroupEditorTest, UpAndDownMoveTheSelectedGroupExceptAtTheEnds) {
  OpenWith("Pa|A\nPb|B\nPc|C\n");
  struct Step {
    const char* name;
    int select;
    bool up;
    bool changed;
    int selectedAfter;
    const char* file;
  };
  const Step steps[] = {
      {"up_on_first", 0, true, false, 0, "Pa|A\nPb|B\nPc|C\n"},
      {"down_on_last", 2, false, false, 2, "Pa|A\nPb|B\nPc|C\n"},
      {"down_on_first", 0, false, true, 1, "Pb|B\nPa|A\nPc|C\n"},
      {"up_on_last", 2, true, true, 1, "Pb|B\nPc|C\nPa|A\n"},
  };
  for (const Step& s : steps) {
    editor_.Select(s.select);
    EXPECT_EQ(s.up ? editor_.MoveUp() : editor_.MoveDown(), s.changed) << s.name;
    EXPECT_EQ(editor_.Selected(), s.selectedAfter) << s.name;
    EXPECT_EQ(ReadFile(File()), s.file) << s.name;
  }
}

TEST_F(GroupEditorTest, DeletingRemovesTheSelectedGroupWithoutAQuestion) {
  OpenWith("Pa|A\nPb|B\nSs|C\n");
  editor_.Select(1);
  ASSERT_TRUE(editor_.Delete());
  EXPECT_EQ(ReadFile(File()), "Pa|A\nSs|C\n");
  EXPECT_EQ(editor_.Selected(), 0);  // the last group went: the one before it
  ASSERT_TRUE(editor_.Delete());
  EXPECT_EQ(editor_.Selected(), -1);
  EXPECT_FALSE(editor_.Delete());
  EXPECT_EQ(ReadFile(File()), "Ss|C\n");
  EXPECT_TRUE(Shown().empty());
}

TEST_F(GroupEditorTest, CancelRestoresTheFileByteForByte) {
  const char* original = "Pa|AB\r\nSfire|AEI\r\nHx|\r\n";  // CR/LF and an empty group
  OpenWith(original);
  Answer("new", Flags(MemberChoice::kPlanets, {4}));
  ASSERT_TRUE(editor_.Add());
  editor_.Select(0);
  ASSERT_TRUE(editor_.Delete());
  ASSERT_NE(ReadFile(File()), original);
  editor_.Cancel();
  EXPECT_EQ(ReadFile(File()), original);
  EXPECT_FALSE(std::filesystem::exists(Backup()));
  EXPECT_EQ(store_.Count('P'), 1);
  EXPECT_EQ(store_.Group('P', 0).name, "a");
}

TEST_F(GroupEditorTest, ACancelThatCannotPutTheFileBackKeepsTheBackupAndNamesIt) {
  const char* original = "Pa|AB\nSfire|AEI\n";
  OpenWith(original);
  editor_.Select(0);
  ASSERT_TRUE(editor_.Delete());
  ArmFileFault(1);  // the rewrite of "groups.lst" cannot be created
  editor_.Cancel();
  ArmFileFault(0);
  EXPECT_EQ(ReadFile(Backup()), original);
  ASSERT_EQ(Shown(), std::vector<int>{kMsgGroupsNotRestored});
  EXPECT_NE(prompts_.shown[0].text.find(Backup().string()), std::string::npos);
  // The store shows the file as it is.
  EXPECT_EQ(ReadFile(File()), "Sfire|AEI\n");
  EXPECT_EQ(store_.Count('P'), 0);
}

TEST_F(GroupEditorTest, WithoutAFileNoBackupIsNeededAndCancelRemovesTheFileItMade) {
  OpenWith(nullptr);
  EXPECT_FALSE(std::filesystem::exists(Backup()));
  EXPECT_EQ(editor_.Selected(), -1);
  Answer("new", Flags(MemberChoice::kPlanets, {4}));
  ASSERT_TRUE(editor_.Add());
  ASSERT_TRUE(std::filesystem::exists(File()));
  editor_.Cancel();
  EXPECT_FALSE(std::filesystem::exists(File()));
  EXPECT_EQ(store_.Count('P'), 0);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(GroupEditorTest, SaveKeepsTheChangesAndRemovesTheBackup) {
  OpenWith("Pa|A\n");
  editor_.Select(0);
  ASSERT_TRUE(editor_.Delete());
  editor_.Save();
  editor_.Cancel();  // after closing, nothing more is restored
  EXPECT_EQ(ReadFile(File()), "");
  EXPECT_FALSE(std::filesystem::exists(Backup()));
}

TEST_F(GroupEditorTest, AFailedWriteLeavesStoreAndFileAsTheyWere) {
  OpenWith("Pa|A\nPb|B\n");
  Answer("new", Flags(MemberChoice::kPlanets, {4}));
  ArmFileFault(1);  // the temporary file cannot be created
  EXPECT_FALSE(editor_.Add());
  EXPECT_EQ(store_.Count('P'), 2);
  editor_.Select(0);
  ArmFileFault(1);
  EXPECT_FALSE(editor_.MoveDown());
  EXPECT_EQ(store_.Group('P', 0).name, "a");
  EXPECT_EQ(editor_.Selected(), 0);
  ArmFileFault(1);
  EXPECT_FALSE(editor_.Delete());
  EXPECT_EQ(store_.Count('P'), 2);
  EXPECT_EQ(ReadFile(File()), "Pa|A\nPb|B\n");
  EXPECT_FALSE(Shown().empty());  // each failure was reported
}

TEST_F(GroupEditorTest, AFileThatCannotBeReadKeepsTheEditorClosed) {
  WriteFile(File(), "Pa|A\n");
  ArmReadFault(File());
  EXPECT_FALSE(editor_.Open());
  EXPECT_FALSE(Shown().empty());
  editor_.Cancel();  // not opened: the file is left alone
  ArmReadFault({});
  EXPECT_EQ(ReadFile(File()), "Pa|A\n");
}

}  // namespace
