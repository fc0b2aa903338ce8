// The two pages of the interpretation-text editor over real base files: limits, refusals, the
// group flows and the write-back of selection functions.
#include "conditions/core/tlr_editor.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>

#include "conditions/condition_test_support.h"
#include "conditions/tlr_test_support.h"
#include "foundation/messages/message_numbers.h"

namespace {

using namespace tlr_test;
namespace fs = std::filesystem;
using platform::Answer;

// The dialogs answered from queues; an empty queue cancels.
class ScriptedDialogs : public TlrEditorDialogs {
 public:
  std::deque<std::pair<std::string, int>> groups;
  std::deque<std::pair<std::string, std::string>> texts;
  std::deque<std::string> conditions;  // condition lines the wizard adds

  bool AskGroup(std::string& name, int& priority) override {
    if (groups.empty()) return false;
    std::tie(name, priority) = groups.front();
    groups.pop_front();
    return true;
  }
  bool AskText(std::string& title, std::string& body) override {
    if (texts.empty()) return false;
    std::tie(title, body) = texts.front();
    texts.pop_front();
    return true;
  }
  int AddCondition(CFunc& set) override {
    if (conditions.empty()) return -1;
    CFunc one;
    one.ParseFuncs(conditions.front(), 1);
    conditions.pop_front();
    return set.AddCondition(one.Condition(0)) < 0 ? -1 : 0;
  }
  int EditCondition(CFunc& set, int index) override {
    set.CopyCondition(index, QueryCondition(set.Condition(index)));
    return 0;
  }
  void EditGroups(CFunc&) override {}
};

class Editor : public condition_test::DataFolderTest {
 protected:
  void SetUp() override {
    DataFolderTest::SetUp();
    base_ = WriteBase(folder_.Path(), "b", {"10TSun", "20TMoon"},
                      {{1, "First", "Sun", "one\n", "ALL\n" + kSunInAries},
                       {2, "Second", "Sun", "two\n", ""},
                       {3, "Third", "Moon", "three\n", ""}});
    WriteList(folder_.Path(), {{'T', base_}});
    files_.Activate();
  }
  std::string Functions() const { return Read(base_ + ".tlf"); }

  std::string base_;
  TLRDATA data_;
  ScriptedDialogs dialogs_;
  TlrFilesPage files_{data_, dialogs_};
  TlrTextsPage texts_{data_, dialogs_};
};

TEST_F(Editor, TextRefusalsAndLengths) {
  struct Row {
    const char* name;
    std::string title, body;
    int message;  // 0: accepted
  } const rows[] = {
      {"no_title", "   ", "x", kMsgTlrNoTitleEntered},
      {"title_of_another_text_blanks_and_case", "f i R s T", "x", kMsgTlrTitleExists},
      {"caret_in_title", "a^b", "x", kMsgTlrBadTitleChar},
      {"body_line_with_caret", "New", "a\n^b", kMsgTlrBodyCaret},
      {"body_10001", "New", std::string(10001, 'x'), kMsgTlrBodyTooLong},
      {"body_10000", "New", std::string(10000, 'x'), 0},
  };
  ASSERT_TRUE(texts_.Activate());
  for (const Row& row : rows) {
    prompts_.shown.clear();
    dialogs_.texts.push_back({row.title, row.body});
    EXPECT_EQ(texts_.AddText(), row.message == 0) << row.name;
    EXPECT_TRUE(row.message == 0 || prompts_.WasShown(row.message)) << row.name;
  }
  // The accepted text got the lowest free number and is selected, with a line feed added.
  EXPECT_EQ(texts_.Titles(), (std::vector<std::string>{"First", "Second", "New"}));
  EXPECT_EQ(texts_.SelectedNumber(), 4);
  EXPECT_NE(Read(base_ + ".tlt").find("^0004 ^New^ /Sun/\n" + std::string(10000, 'x') + "\n"),
            std::string::npos);
  // The title may stay the same when its own text is edited.
  dialogs_.texts.push_back({"NEW", "changed"});
  EXPECT_TRUE(texts_.EditText());
}

TEST_F(Editor, FunctionsAreWrittenBackAfterEveryChange) {
  ASSERT_TRUE(texts_.Activate());
  ASSERT_EQ(texts_.SelectedNumber(), 1);
  EXPECT_EQ(texts_.Set().Count(), 1);
  const auto record = [this]() {
    const std::string f = Functions();
    const std::size_t at = f.find("^0001\n");
    return at == std::string::npos ? std::string() : f.substr(at, f.find('^', at + 1) - at);
  };
  dialogs_.conditions.push_back(kMoonInCancer);
  ASSERT_TRUE(texts_.AddCondition());
  EXPECT_EQ(record(), "^0001\nALL\n" + kMoonInCancer + kSunInAries);
  texts_.SetMode(1);
  EXPECT_EQ(record(), "^0001\nANY\n" + kMoonInCancer + kSunInAries);
  texts_.SetMode(2);
  EXPECT_TRUE(texts_.SetExpression("1 & !2"));
  EXPECT_EQ(record(), "^0001\n1&!2\n" + kMoonInCancer + kSunInAries);
  // An invalid expression is refused; the last valid one stays in the set and the file.
  EXPECT_FALSE(texts_.SetExpression("1&&"));
  EXPECT_EQ(texts_.Set().logic, "1&!2");
  EXPECT_EQ(record(), "^0001\n1&!2\n" + kMoonInCancer + kSunInAries);
  prompts_.Expect(kMsgTlrDeleteCondition, Answer::No);
  EXPECT_FALSE(texts_.DeleteCondition(0));
  prompts_.Expect(kMsgTlrDeleteCondition, Answer::Yes);
  ASSERT_TRUE(texts_.DeleteCondition(0));
  prompts_.Expect(kMsgTlrDeleteCondition, Answer::Yes);
  ASSERT_TRUE(texts_.DeleteCondition(0));
  EXPECT_EQ(record(), "");  // no conditions: no function
  // A text without a function gets one in front of the others; the first condition sets mode 0.
  texts_.SelectText(1);
  texts_.SetMode(2);
  dialogs_.conditions.push_back(kSunInAries);
  ASSERT_TRUE(texts_.AddCondition());
  EXPECT_EQ(Functions(), "^0002\nALL\n" + kSunInAries);
  TLRBASE fresh;
  fresh.name = base_;
  fresh.groups = data_.bases[0].groups;
  ASSERT_EQ(fresh.RebuildIndex(), 0);
  EXPECT_TRUE(fresh.index == data_.bases[0].index);
}

TEST_F(Editor, ConditionAndTextLimitsDisableTheirButtons) {
  ASSERT_TRUE(texts_.Activate());
  for (int i = 1; i < TlrTextsPage::kMaxConditions; ++i) {
    dialogs_.conditions.push_back(kSunInAries);
    ASSERT_TRUE(texts_.AddCondition()) << i;
  }
  EXPECT_EQ(texts_.Set().Count(), 20);
  EXPECT_FALSE(texts_.GetEnabling().addCondition);
  dialogs_.conditions.push_back(kSunInAries);
  EXPECT_FALSE(texts_.AddCondition());
  EXPECT_TRUE(texts_.GetEnabling().expression == false);
  texts_.SetMode(2);
  EXPECT_TRUE(texts_.GetEnabling().expression);
  EXPECT_TRUE(texts_.GetEnabling().addText);
}

TEST_F(Editor, GroupRefusalsAndLimit) {
  struct Row {
    const char* name;
    std::string group;
    int message;
  } const rows[] = {
      {"slash", "a/b", kMsgTlrBadGroupChar},
      {"caret", "a^b", kMsgTlrBadGroupChar},
      {"blanks_only", "   ", kMsgTlrEnterGroupName},
      {"same_name_other_case", "SUN", kMsgTlrGroupExists},
  };
  for (const Row& row : rows) {
    prompts_.shown.clear();
    dialogs_.groups = {{row.group, 5}};  // then the dialog is cancelled
    EXPECT_FALSE(files_.AddGroup()) << row.name;
    EXPECT_TRUE(prompts_.WasShown(row.message)) << row.name;
  }
  // An edited group may keep its own name.
  dialogs_.groups = {{"Sun", 30}};
  EXPECT_TRUE(files_.EditGroup());
  EXPECT_EQ(data_.bases[0].groups[0].priority, 30);
  for (int g = 2; g < TLRBASE::kMaxGroups; ++g) {
    dialogs_.groups = {{"g" + std::to_string(g), 1}};
    ASSERT_TRUE(files_.AddGroup());
  }
  EXPECT_FALSE(files_.GetEnabling().addGroup);
  ASSERT_EQ(files_.Ok(), 0);
  EXPECT_EQ(Read(base_ + ".tlg").substr(0, 17), "30TSun\n20TMoon\n01");
}

TEST_F(Editor, DeletingAGroupWhoseTextsAreKeptKeepsTheGroup) {
  files_.SelectGroup(0);
  prompts_.Expect(kMsgTlrRemoveGroup, Answer::Yes);
  prompts_.Expect(kMsgTlrDeleteGroupTexts, Answer::No);
  EXPECT_FALSE(files_.DeleteGroup());
  EXPECT_EQ(data_.bases[0].groups.size(), 2u);
  prompts_.Expect(kMsgTlrRemoveGroup, Answer::Yes);
  prompts_.Expect(kMsgTlrDeleteGroupTexts, Answer::Yes);
  EXPECT_TRUE(files_.DeleteGroup());
  ASSERT_EQ(data_.bases[0].groups.size(), 1u);
  EXPECT_EQ(data_.bases[0].groups[0].name, "Moon");
  // The group file went with the texts; the remaining text is indexed under its new group index.
  EXPECT_EQ(Read(base_ + ".tlg"), "20TMoon\n");
  EXPECT_EQ(Read(base_ + ".tlt"), "^0003 ^Third^ /Moon/\nthree\n");
  EXPECT_EQ(data_.bases[0].index[3].group, 0);
  EXPECT_EQ(Functions(), "");
}

TEST_F(Editor, RenamingAGroupRenamesItInTheHeadingsOfItsTexts) {
  files_.SelectGroup(0);
  prompts_.shown.clear();
  dialogs_.groups = {{"Solar", 15}};
  ASSERT_TRUE(files_.EditGroup());
  // The sheet is cancelled: what the base's files hold is indexed afresh.
  EXPECT_EQ(
      Read(base_ + ".tlt"),
      "^0001 ^First^ /Solar/\none\n^0002 ^Second^ /Solar/\ntwo\n^0003 ^Third^ /Moon/\nthree\n");
  TLRBASE fresh;
  fresh.name = base_;
  ASSERT_EQ(fresh.LoadGroupsFromFile(base_ + ".tlg"), 2);
  ASSERT_EQ(fresh.RebuildIndex(), 0);
  ASSERT_EQ(fresh.groups.size(), 2u);  // no group came back under the old name
  EXPECT_EQ(fresh.groups[0].name, "Solar");
  EXPECT_EQ(fresh.groups[0].priority, 15);
  EXPECT_EQ(fresh.index[1].group, 0);
  EXPECT_EQ(fresh.index[2].group, 0);
  EXPECT_EQ(fresh.index[3].group, 1);
  EXPECT_TRUE(prompts_.shown.empty());
  // A change of letter case alone is written too; the other group's texts stay as they were.
  dialogs_.groups = {{"SOLAR", 15}};
  ASSERT_TRUE(files_.EditGroup());
  EXPECT_EQ(
      Read(base_ + ".tlt"),
      "^0001 ^First^ /SOLAR/\none\n^0002 ^Second^ /SOLAR/\ntwo\n^0003 ^Third^ /Moon/\nthree\n");
  EXPECT_EQ(data_.bases[0].index[1].group, 0);
}

TEST_F(Editor, ConnectingAndDisconnectingBases) {
  // A base with a text file only: its groups come from the headings, priorities from 10.
  Write(folder_.Path() / "new.tlt",
        "^0001 ^a^ /Beta/\nx\n^0002 ^b^ /Alpha/\ny\n^0003 ^c^ /beta/\nz\n");
  prompts_.ExpectFile((folder_.Path() / "new.tlt").string());
  ASSERT_TRUE(files_.ConnectBase());
  ASSERT_EQ(data_.current, 1);
  const auto& groups = data_.bases[1].groups;
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_EQ(std::make_pair(groups[0].name, groups[0].priority),
            std::make_pair(std::string("Beta"), 10));
  EXPECT_EQ(std::make_pair(groups[1].name, groups[1].priority),
            std::make_pair(std::string("Alpha"), 11));
  EXPECT_TRUE(prompts_.WasShown(kMsgTlrGroupsFromText));
  // The same base again, in other letters.
  prompts_.ExpectFile((folder_.Path() / "NEW.x").string());
  EXPECT_FALSE(files_.ConnectBase());
  EXPECT_TRUE(prompts_.WasShown(kMsgTlrBaseConnected));
  // Disconnecting offers the base's own files only; declined, they stay.
  Write(folder_.Path() / "new", "not a base file");
  prompts_.Expect(kMsgTlrRemoveBase, Answer::Yes);
  prompts_.Expect(kMsgTlrRemoveBaseFiles, Answer::No);
  ASSERT_TRUE(files_.DisconnectBase());
  EXPECT_EQ(data_.Count(), 1);
  EXPECT_TRUE(fs::exists(folder_.Path() / "new.tlt"));
  prompts_.Expect(kMsgTlrRemoveBase, Answer::Yes);
  prompts_.Expect(kMsgTlrRemoveBaseFiles, Answer::Yes);
  ASSERT_TRUE(files_.DisconnectBase());
  EXPECT_FALSE(fs::exists(base_ + ".tlt"));
  EXPECT_TRUE(fs::exists(folder_.Path() / "new"));
  EXPECT_EQ(files_.GetEnabling().removeBase, false);
  // The texts page without a group tells so and offers nothing.
  EXPECT_FALSE(texts_.Activate());
  EXPECT_TRUE(prompts_.WasShown(kMsgTlrNoGroupChosen));
  EXPECT_FALSE(texts_.GetEnabling().addText);
}

TEST_F(Editor, BodyFromAFile) {
  struct Row {
    const char* name;
    std::string bytes;
    std::optional<Answer> question;
    int result;
    std::size_t length;
  } const rows[] = {
      {"plain", "text\r\nline", std::nullopt, 0, 10},
      {"binary_kept", std::string("\x01\x02text"), Answer::Ok, 0, 6},
      {"binary_abandoned", std::string("\x01\x02text"), Answer::Cancel, 1, 0},
      {"long_cut_and_told", std::string(10050, 'a'), std::nullopt, 0, 10000},
  };
  for (const Row& row : rows) {
    prompts_.shown.clear();
    Write(folder_.Path() / "in.txt", row.bytes);
    if (row.question) prompts_.Expect(kMsgTlrNotPlainText, *row.question);
    std::string body;
    EXPECT_EQ(LoadTlrBodyFromFile(folder_.Path() / "in.txt", body), row.result) << row.name;
    EXPECT_EQ(body.size(), row.length) << row.name;
    EXPECT_EQ(prompts_.WasShown(kMsgTlrBodyCut), row.bytes.size() > 10000) << row.name;
  }
}

}  // namespace
