// Interpretation-text bases: parsing of their files, the index and its freshness, the edits of
// texts and functions, and the selection of texts for a chart with its output.
#include "conditions/core/tlr_base.h"

#include <gtest/gtest.h>
#include <sys/time.h>

#include <random>

#include "conditions/condition_test_support.h"
#include "conditions/tlr_test_support.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace {

using namespace tlr_test;
namespace fs = std::filesystem;

class TextBase : public condition_test::ConditionSetTest {
 protected:
  // A base "b" of the data folder with group G (priority 10), indexed.
  TLRBASE& Base(const std::string& tlt = {}, const std::string& tlf = {},
                const std::string& tlg = "10TG\n") {
    const std::string name = (folder_.Path() / "b").string();
    Write(name + ".tlt", tlt);
    Write(name + ".tlf", tlf);
    Write(name + ".tlg", tlg);
    data_.AddBase(name, 'T');
    TLRBASE& base = data_.bases.back();
    EXPECT_GE(base.LoadGroupsFromFile(base.FilePath("tlg")), 0);
    return base;
  }
  std::vector<int> Shown() const {
    std::vector<int> numbers;
    for (const auto& s : prompts_.shown) numbers.push_back(s.number);
    return numbers;
  }

  TLRDATA data_;
};

TEST_F(TextBase, HeadingFaultsAreToldAndSkipped) {
  struct Row {
    const char* name;
    std::string tlt, tlf;
    std::vector<int> messages;
    std::vector<std::pair<int, int>> indexed;  // number, heading offset
  };
  const std::string tooFar = "^0003 ^" + std::string(95, 't') + "^ /G/\n";
  const Row rows[] = {
      {"number_5000", "^5000 ^T^ /G/\nx\n", "", {991}, {}},
      {"letters_are_no_number_0", "^00a1 ^T^ /G/\nx\n", "", {991}, {}},
      {"later_duplicate_wins", "^0007 ^A^ /G/\n^0007 ^B^ /G/\n", "", {990}, {{7, 14}}},
      {"no_title", "^0003 /G/\nx\n^0004 ^T^ /G/\n", "", {993}, {{4, 12}}},
      {"no_group", "^0003 ^T^ G\n", "", {994}, {}},
      {"group_past_column_100", tooFar, "", {995}, {}},
      {"slash_in_title_keeps_group", "^0004 ^a/b/c^ /G/\n", "", {}, {{4, 0}}},
      {"unknown_group_added", "^0005 ^T^ /New/\n", "", {996}, {{5, 0}}},
      {"function_without_text", "^0001 ^T^ /G/\n", "^0009\nALL\n", {1001}, {{1, 0}}},
  };
  for (const Row& row : rows) {
    prompts_.shown.clear();
    data_.bases.clear();
    TLRBASE& base = Base(row.tlt, row.tlf);
    ASSERT_EQ(base.RebuildIndex(), 0) << row.name;
    EXPECT_EQ(Shown(), row.messages) << row.name;
    std::vector<std::pair<int, int>> indexed;
    for (int n : base.TextNumbers()) indexed.push_back({n, base.index[n].text});
    EXPECT_EQ(indexed, row.indexed) << row.name;
    // A group met in a heading joins the base with priority 10 and is written to its file.
    if (row.messages == std::vector<int>{kMsgTlrUnknownGroup}) {
      EXPECT_EQ(Read(folder_.Path() / "b.tlg"), "10TG\n10TNew\n");
    }
  }
}

TEST_F(TextBase, AFiftyFirstGroupIsRefusedAndItsTextsLeftOut) {
  std::string groups;
  for (int g = 0; g < TLRBASE::kMaxGroups; ++g) groups += "10Tg" + std::to_string(g) + "\n";
  TLRBASE& base =
      Base("^0001 ^a^ /extra/\nx\n^0002 ^b^ /more/\ny\n^0003 ^c^ /g7/\nz\n", "", groups);
  ASSERT_EQ(base.RebuildIndex(), 0);
  EXPECT_EQ(condition_test::TimesShown(prompts_, kMsgTlrTooManyGroups), 1);
  EXPECT_EQ(base.groups.size(), 50u);
  EXPECT_EQ(base.TextNumbers(), std::vector<int>{3});
  EXPECT_EQ(Read(base.FilePath("tlg")), groups);
}

TEST_F(TextBase, IndexIsFreshOnlyWhenNewerThanTextAndFunctionFiles) {
  TLRBASE& base = Base("^0001 ^T^ /G/\nx\n", "^0001\nALL\n" + kSunInAries);
  ASSERT_EQ(base.RebuildIndex(), 0);
  const auto setTime = [](const fs::path& p, long seconds) {
    const timeval times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(utimes(p.c_str(), times), 0);
  };
  struct Row {
    const char* name;
    long tlt, tlf, tli;
    bool fresh;
  } const rows[] = {
      {"newest", 1000, 1000, 2000, true},
      {"text_file_edited_later", 3000, 1000, 2000, false},
      {"function_file_edited_later", 1000, 3000, 2000, false},
  };
  for (const Row& row : rows) {
    setTime(base.FilePath("tlt"), row.tlt);
    setTime(base.FilePath("tlf"), row.tlf);
    setTime(base.FilePath("tli"), row.tli);
    EXPECT_EQ(base.IsIndexFresh(), row.fresh) << row.name;
  }
  fs::remove(base.FilePath("tlf"));
  EXPECT_FALSE(base.IsIndexFresh());
  // A damaged index is not trusted: the entries are rebuilt from the files.
  Write(base.FilePath("tli").string(), std::string(50000, '\x7f'));
  EXPECT_EQ(base.LoadIndex(), -3);
}

// After every edit the index kept by arithmetic equals one rebuilt from the files.
TEST_F(TextBase, IndexAfterEveryEditEqualsAFreshRebuild) {
  TLRBASE& base = Base({}, {}, "10TG\n20TH\n");
  ASSERT_EQ(base.RebuildIndex(), 0);
  std::mt19937 random(7);
  const auto pick = [&random](int n) { return static_cast<int>(random() % n); };
  const std::string conditions[] = {kSunInAries, kMoonInCancer, kSunInAries + kMoonInCancer};
  for (int step = 0; step < 150; ++step) {
    const std::vector<int> numbers = base.TextNumbers();
    const int op = numbers.empty() ? 0 : pick(5);
    const int number = numbers.empty() ? -1 : numbers[pick(static_cast<int>(numbers.size()))];
    const std::string body = std::string(1 + pick(40), 'a' + pick(26)) + "\nline\n";
    const std::string title = "t" + std::to_string(step);
    if (op == 0) {
      ASSERT_GT(base.InsertText(body, title, pick(2)), 0);
    } else if (op == 1) {
      ASSERT_EQ(base.ReplaceText(number, body + body, title, pick(2)), 0);
    } else if (op == 2) {
      ASSERT_EQ(base.DeleteText(number), 0);
    } else {
      CFunc set;
      set.ParseFuncs(op == 4 ? std::string() : conditions[pick(3)], 20);
      set.mode = pick(2);
      ASSERT_EQ(base.WriteFunction(number, set), 0);
    }
    TLRBASE fresh;
    fresh.name = base.name;
    fresh.groups = base.groups;
    ASSERT_EQ(fresh.RebuildIndex(), 0);
    ASSERT_TRUE(fresh.index == base.index) << "step " << step << " op " << op;
  }
  // Every text still reads back with its own title.
  for (int n : base.TextNumbers()) EXPECT_TRUE(base.GetTextName(n).has_value());
}

TEST_F(TextBase, InsertionRefusals) {
  std::string full;
  for (int n = 1; n < TLRBASE::kMaxTexts; ++n) full += FormatTlrHeading(n, "t", "G");
  struct Row {
    const char* name;
    std::string tlt, title, body;
    int message;
  } const rows[] = {
      {"every_number_taken", full, "t", "b", kMsgTlrTooManyTexts},
      {"caret_in_title", "", "a^b", "b", kMsgTlrBadTitleChar},
      {"slash_in_title", "", "a/b", "b", kMsgTlrBadTitleChar},
      {"body_line_starts_with_caret", "", "t", "one\n^0002 ^x^ /G/\n", kMsgTlrBodyCaret},
  };
  for (const Row& row : rows) {
    prompts_.shown.clear();
    data_.bases.clear();
    TLRBASE& base = Base(row.tlt);
    ASSERT_EQ(base.RebuildIndex(), 0);
    EXPECT_EQ(base.InsertText(row.body, row.title, 0), -1) << row.name;
    EXPECT_TRUE(prompts_.WasShown(row.message)) << row.name;
    EXPECT_EQ(Read(base.FilePath("tlt")), row.tlt) << row.name;
  }
  // Number 0 read from a file is kept, yet never given out.
  data_.bases.clear();
  TLRBASE& base = Base("^0000 ^zero^ /G/\nz\n");
  ASSERT_EQ(base.RebuildIndex(), 0);
  EXPECT_EQ(base.InsertText("x", "one", 0), 1);
  EXPECT_EQ(Read(base.FilePath("tlt")), "^0000 ^zero^ /G/\nz\n^0001 ^one^ /G/\nx\n");
}

TEST_F(TextBase, DeletingAGroupsTextsAsksFirstAndKeepsTheRest) {
  TLRBASE& base = Base(
      "^0001 ^a^ /Sun/\nA\n^0002 ^b^ /Moon/\nB\n^0003 ^c^ /SUN/\nC\n",
      "^0001\nALL\n" + kSunInAries + "^0002\nANY\n" + kMoonInCancer + "^0003\nALL\n" + kSunInAries,
      "10TSun\n11TMoon\n");
  const std::string tlt = Read(base.FilePath("tlt"));
  prompts_.Expect(kMsgTlrDeleteGroupTexts, platform::Answer::No);
  EXPECT_EQ(base.DeleteTextsForGroup("sun"), 0);
  EXPECT_EQ(Read(base.FilePath("tlt")), tlt);
  prompts_.Expect(kMsgTlrDeleteGroupTexts, platform::Answer::Yes);
  EXPECT_EQ(base.DeleteTextsForGroup("sun"), 1);
  EXPECT_EQ(Read(base.FilePath("tlt")), "^0002 ^b^ /Moon/\nB\n");
  EXPECT_EQ(Read(base.FilePath("tlf")), "^0002\nANY\n" + kMoonInCancer);
}

class Selection : public TextBase {
 protected:
  void SetUp() override {
    TextBase::SetUp();
    // Base "a": G1 priority 20, G2 priority 5, Off switched off. Base "c": one group, priority 1.
    WriteBase(folder_.Path(), "a", {"20TG1", "05TG2", "01FOff"},
              {{1, "Sun Aries", "G1", "sun aries // note\n", "ALL\n" + kSunInAries},
               {2, "Moon Cancer", "G2", "moon\n", "ALL\n" + kMoonInCancer},
               {3, "Sun Taurus", "G1", "taurus\n", "ALL\n" + kSunInTaurus},
               {4, "Either", "G1", "either\n", "ANY\n" + kSunInTaurus + kMoonInCancer},
               {5, "Off", "Off", "off\n", "ALL\n" + kSunInAries},
               {6, "No function", "G2", "none\n", ""}});
    WriteBase(folder_.Path(), "c", {"01TC"},
              {{7, "Logic", "C", "logic\n", "1&!3\n" + kSunInAries + kSunInTaurus}});
    WriteList(folder_.Path(),
              {{'T', (folder_.Path() / "a").string()}, {'T', (folder_.Path() / "c").string()}});
    ASSERT_EQ(data_.LoadBases(), 0);
  }
  std::vector<std::pair<int, int>> Hits() const {
    std::vector<std::pair<int, int>> hits;
    for (const TlrHit& h : data_.hits) hits.push_back({h.base, h.number});
    return hits;
  }
};

TEST_F(Selection, OrdersOfTheHits) {
  struct Row {
    const char* name;
    int order;
    Chart chart;
    std::vector<std::pair<int, int>> hits;
  } const rows[] = {
      // Base 0: 1 (prio 20), 2 (prio 5), 4 (prio 20); base 1: 7 (prio 1).
      {"by_base_then_priority", 0, AriesChart(), {{0, 2}, {0, 1}, {0, 4}, {1, 7}}},
      {"by_priority_then_base", 1, AriesChart(), {{1, 7}, {0, 2}, {0, 1}, {0, 4}}},
      {"as_found", 2, AriesChart(), {{0, 1}, {0, 2}, {0, 4}, {1, 7}}},
      {"other_chart", 2, TaurusChart(), {{0, 2}, {0, 3}, {0, 4}}},
  };
  for (const Row& row : rows) {
    ASSERT_EQ(data_.SelectTexts(Context(), row.chart, {row.order, true, true, false}), 0);
    EXPECT_EQ(Hits(), row.hits) << row.name;
  }
}

TEST_F(Selection, OutputBytesFollowTheOptions) {
  struct Row {
    const char* name;
    TlrOutputOptions options;
    std::string bytes;
  } const rows[] = {
      {"everything", {2, true, true, true}, "Sun Aries\n(G1)\nsun aries // note\n\n"},
      {"comment_cut", {2, true, false, false}, "Sun Aries\nsun aries \n"},
      {"body_only", {2, false, false, false}, "sun aries \n"},
  };
  // Only text 1 holds: the Moon is out of Cancer, base "c" is left out.
  const Chart chart = condition_test::MakeChart({{0, 10.0}, {1, 200.0}});
  data_.bases.pop_back();
  for (const Row& row : rows) {
    ASSERT_EQ(data_.SelectTexts(Context(), chart, row.options), 0);
    EXPECT_EQ(Read(TLRDATA::OutputPath()), row.bytes) << row.name;
  }
  // No hits: an empty output.
  data_.bases[0].switchByte = 'F';
  ASSERT_EQ(data_.SelectTexts(Context(), AriesChart(), {}), 0);
  EXPECT_EQ(Read(TLRDATA::OutputPath()), "");
}

TEST_F(Selection, CommentConditionsSeeNoRecord) {
  // Without an archive record a chart has no comment pages: "present" never holds, "absent or
  // no page" always does.
  WriteBase(folder_.Path(), "k", {"10TK"},
            {{1, "present", "K", "p\n", "ALL\n1 + 6 3 0 2 text \x03 \x03 0 0 0 0 0 1 0 0 0 0 0\n"},
             {2, "absent", "K", "a\n", "ALL\n1 + 6 3 2 2 text \x03 \x03 0 0 0 0 0 1 0 0 0 0 0\n"}});
  WriteList(folder_.Path(), {{'T', (folder_.Path() / "k").string()}});
  ASSERT_EQ(data_.LoadBases(), 0);
  data_.CollectHits(Context(), AriesChart());
  EXPECT_EQ(Hits(), (std::vector<std::pair<int, int>>{{0, 2}}));
}

TEST_F(Selection, StopsAtTwoThousandHits) {
  std::vector<FixtureText> texts;
  for (int n = 0; n < 2100; ++n) texts.push_back({n, "t", "G", "x\n", "ALL\n" + kSunInAries});
  WriteBase(folder_.Path(), "big", {"10TG"}, texts);
  WriteList(folder_.Path(),
            {{'T', (folder_.Path() / "big").string()}, {'T', (folder_.Path() / "a").string()}});
  ASSERT_EQ(data_.LoadBases(), 0);
  data_.CollectHits(Context(), AriesChart());
  ASSERT_EQ(data_.hits.size(), 2000u);
  EXPECT_EQ(data_.hits.back(), (TlrHit{1999, 0, 10}));
}

TEST_F(Selection, ListSkipsOtherLinesAndBasesMoveToTheDataFolder) {
  // A base listed under a folder that no longer holds it is found in the data folder.
  WriteList(folder_.Path(), {{'T', "/gone/away/a"}, {'F', "c.tlt"}});
  Write(folder_.Path() / TLRDATA::kListName,
        "; a comment\n\n" + Read(folder_.Path() / TLRDATA::kListName));
  EXPECT_EQ(RebaseTextBases(folder_.Path()), 2);
  ASSERT_EQ(data_.LoadBases(), 0);
  ASSERT_EQ(data_.Count(), 2);
  EXPECT_EQ(data_.bases[0].name, (folder_.Path() / "a").string());
  EXPECT_EQ(data_.bases[1].name, (folder_.Path() / "c").string());
  EXPECT_EQ(data_.bases[1].switchByte, 'F');
  ASSERT_EQ(data_.Save(), 0);
  EXPECT_EQ(Read(folder_.Path() / TLRDATA::kListName), "\x03T" + (folder_.Path() / "a").string() +
                                                           "\n\x03"
                                                           "F" +
                                                           (folder_.Path() / "c").string() + "\n");
}

}  // namespace
