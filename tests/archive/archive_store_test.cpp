// Saving charts into archives and reading them back.
#include "archive/comments/chart_comments.h"
#include "archive_fixture.h"
#include "foundation/messages/message_numbers.h"

namespace archive_test {
namespace {

using platform::Answer;

struct LayoutCase {
  const char* name;
  int layout;
  std::int64_t header;
  std::int64_t record;
};

TEST_F(ArchiveTest, RoundTripPerLayoutWithExactLength) {
  const LayoutCase cases[] = {{"layout_4000", kLayout4000, 0, 1767},
                              {"layout_4200", kLayout4200, 4, 1776},
                              {"layout_4400", kLayout4400, 4, 1836}};
  for (const LayoutCase& c : cases) {
    const std::string file = std::string(c.name) + ".arc";
    const Chart first = MakeChart("Alpha", 5, 6, 1977);
    OpenArchive(file, c.layout, {first});
    archive_.saveTargetMode = 0;
    Chart second = MakeChart("Beta", 7, 8, 1888);
    second.points[3].longitude.Set(123.25);
    second.points[3].status = 'R';
    ASSERT_EQ(archive_.SaveToArchive(second), 0) << c.name;
    EXPECT_TRUE(prompts_.WasShown(8)) << c.name;
    EXPECT_EQ(std::filesystem::file_size(PathOf(file)),
              static_cast<std::uintmax_t>(c.header + 2 * c.record))
        << c.name;
    EXPECT_EQ(ReadFile(PathOf(file)), ArchiveBytes(c.layout, {first, second})) << c.name;
    EXPECT_EQ(Names(), (std::vector<std::string>{"Alpha", "Beta"})) << c.name;
    Chart back;
    ASSERT_EQ(archive_.LoadChart(back, 1, true), 1) << c.name;
    Chart expected = second;
    if (c.layout == kLayout4000)
      expected.definition.SetAspectSystemName(GetConfiguration().GetSystemName(kChartNatal));
    EXPECT_EQ(back, expected) << c.name;
    EXPECT_EQ(archive_.Records().LoadNextChart(back, 0), 1) << c.name;
    EXPECT_EQ(archive_.Records().LoadNextChart(back, 2), -1) << c.name;
    EXPECT_FALSE(prompts_.WasShown(-kErrRead)) << c.name;  // the end of a walk is no error
  }
}

TEST_F(ArchiveTest, InsertionPlaceFollowsTheMode) {
  struct Case {
    const char* name;
    int mode;
    std::string chart;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"append", 0, "Anna", {"Boris", "Denis", "Anna"}},
      {"alphabetical_first", 1, "Anna", {"Anna", "Boris", "Denis"}},
      {"alphabetical_middle", 1, "Cyril", {"Boris", "Cyril", "Denis"}},
      {"alphabetical_equal_goes_after", 1, "boris", {"Boris", "boris", "Denis"}},
      {"alphabetical_last", 1, "Zoe", {"Boris", "Denis", "Zoe"}},
      {"latin_before_cyrillic", 1, Cp1251("Яна"), {"Boris", "Denis", Cp1251("Яна")}},
  };
  for (const Case& c : cases) {
    OpenArchive("ins.arc", kLayout4400, {MakeChart("Boris"), MakeChart("Denis")});
    archive_.saveTargetMode = 0;
    archive_.insertionMode = c.mode;
    ASSERT_EQ(archive_.SaveToArchive(MakeChart(c.chart)), 0) << c.name;
    EXPECT_EQ(Names(), c.expected) << c.name;
    ASSERT_EQ(archive_.CreateIndex(), 0);
    EXPECT_EQ(Names(), c.expected) << c.name << " (file)";
  }
}

TEST_F(ArchiveTest, SavingAChartWithCommentsCarriesItsPages) {
  OpenArchive("com.arc", kLayout4400, {MakeChart("A")});
  archive_.saveTargetMode = 0;
  Chart chart = MakeChart("B");
  chart.commentSlot = static_cast<std::uint8_t>(slots_.GetFreeCommentSlot());
  WriteFile(CommentFileName(chart, 2), "second page");
  WriteFile(CommentFileName(chart, 7), "seventh");
  WriteFile(PathOf("com.ar2"), "0123");  // an earlier record's text
  ASSERT_EQ(archive_.SaveToArchive(chart), 0);
  EXPECT_EQ(archive_.Entry(1).comments, Block({{2, 4, 11}, {7, 0, 7}}));
  EXPECT_EQ(ReadFile(PathOf("com.ar2")), "0123second page");
  EXPECT_EQ(ReadFile(PathOf("com.ar7")), "seventh");
  std::string text;
  EXPECT_EQ(archive_.Comments().LoadComment(1, 2, text), 0);
  EXPECT_EQ(text, "second page");
  // The file's block agrees with the index.
  ASSERT_EQ(archive_.CreateIndex(), 0);
  EXPECT_EQ(archive_.Entry(1).comments, Block({{2, 4, 11}, {7, 0, 7}}));
}

TEST_F(ArchiveTest, OldLayoutAsksBeforeDroppingComments) {
  Chart chart = MakeChart("B");
  chart.commentSlot = static_cast<std::uint8_t>(slots_.GetFreeCommentSlot());
  WriteFile(CommentFileName(chart, 0), "text");
  for (Answer answer : {Answer::No, Answer::Yes}) {
    OpenArchive("old.arc", kLayout4200, {MakeChart("A")});
    archive_.saveTargetMode = 0;
    prompts_.Expect(kMsgDropPagesOldLayout, answer);
    EXPECT_EQ(archive_.SaveToArchive(chart), answer == Answer::Yes ? 0 : -1);
    EXPECT_EQ(archive_.RecordCount(), answer == Answer::Yes ? 2 : 1);
  }
  EXPECT_FALSE(std::filesystem::exists(PathOf("old.ar0")));
  prompts_.VerifyAllUsed();
}

TEST_F(ArchiveTest, NewArchiveNamedThroughTheSaveDialog) {
  struct Case {
    const char* name;
    std::string chosen;
    std::string created;
  };
  const Case cases[] = {{"extension_added", PathOf("one"), PathOf("one.arc")},
                        {"extension_replaced", PathOf("two.txt"), PathOf("two.arc")},
                        {"dot_in_folder_kept", PathOf("d.x/three"), PathOf("d.x/three.arc")}};
  std::filesystem::create_directory(PathOf("d.x"));
  for (const Case& c : cases) {
    prompts_.ExpectFile(c.chosen);
    ASSERT_EQ(archive_.Saving().SaveToNewArchive(MakeChart("N"), false), 0) << c.name;
    EXPECT_EQ(archive_.GetPath(), c.created) << c.name;
    EXPECT_EQ(ReadFile(c.created), ArchiveBytes(kLayout4400, {MakeChart("N")})) << c.name;
    EXPECT_EQ(archive_.RecordCount(), 1);
    EXPECT_EQ(archive_.Recent().RecentNames().front(), c.created);
  }
  // An existing file is replaced only after message 74 is answered Yes.
  prompts_.ExpectFile(PathOf("one.arc"));
  prompts_.Expect(kMsgReplaceFile, Answer::No);
  EXPECT_EQ(archive_.Saving().SaveToNewArchive(MakeChart("M"), false), -1);
  EXPECT_EQ(ReadFile(PathOf("one.arc")), ArchiveBytes(kLayout4400, {MakeChart("N")}));
  prompts_.VerifyAllUsed();
}

TEST_F(ArchiveTest, TargetChoiceAsksOnceInModeOne) {
  OpenArchive("cur.arc", kLayout4400, {MakeChart("A")});
  WriteFile(PathOf("other.arc"), ArchiveBytes(kLayout4200, {MakeChart("O")}));
  archive_.saveTargetMode = 1;
  prompts_.ExpectFile(PathOf("other.arc"));
  ASSERT_EQ(archive_.SaveToArchive(MakeChart("B")), 0);
  EXPECT_EQ(archive_.GetPath(), PathOf("other.arc"));
  ASSERT_EQ(archive_.SaveToArchive(MakeChart("C")), 0);  // no second question
  EXPECT_EQ(Names(), (std::vector<std::string>{"O", "B", "C"}));
  // A missing name: message 552, then a new archive.
  archive_.saveTargetMode = 2;
  prompts_.ExpectFile(PathOf("fresh"));
  prompts_.Expect(kMsgCreateArchive, Answer::Yes);
  ASSERT_EQ(archive_.SaveToArchive(MakeChart("D")), 0);
  EXPECT_EQ(ReadFile(PathOf("fresh.arc")), ArchiveBytes(kLayout4400, {MakeChart("D")}));
  // A file that is no archive ends the saving silently.
  WriteFile(PathOf("junk.arc"), "junk");
  prompts_.ExpectFile(PathOf("junk.arc"));
  EXPECT_EQ(archive_.SaveToArchive(MakeChart("E")), -1);
  prompts_.VerifyAllUsed();
}

TEST_F(ArchiveTest, FailedSaveIsNeverReportedAsSuccess) {
  OpenArchive("f.arc", kLayout4400, {MakeChart("A")});
  const std::string before = ReadFile(PathOf("f.arc"));
  archive_.saveTargetMode = 0;
  ArmFileFault(1);  // the temporary file cannot be created
  EXPECT_EQ(archive_.SaveToArchive(MakeChart("B")), -1);
  EXPECT_FALSE(prompts_.WasShown(8));
  EXPECT_EQ(ReadFile(PathOf("f.arc")), before);
  EXPECT_EQ(archive_.RecordCount(), 1);
  // A new archive that cannot be written.
  prompts_.ExpectFile(PathOf("g.arc"));
  prompts_.Expect(kMsgCreateArchive, Answer::Yes);
  archive_.saveTargetMode = 2;
  ArmFileFault(2);
  EXPECT_EQ(archive_.SaveToArchive(MakeChart("B")), -1);
  EXPECT_FALSE(prompts_.WasShown(8));
  EXPECT_FALSE(std::filesystem::exists(PathOf("g.arc")));
}

TEST_F(ArchiveTest, FindByInitialAndOrderCheck) {
  OpenArchive("o.arc", kLayout4200, {MakeChart("bob"), MakeChart("Ann"), MakeChart("Carl")});
  EXPECT_EQ(archive_.Index().FindByInitial('A'), 1);
  EXPECT_EQ(archive_.Index().FindByInitial('b'), 0);
  EXPECT_EQ(archive_.Index().FindByInitial('B'), -1);
  EXPECT_EQ(archive_.Index().NeedsOrdering(), 1);
  OpenArchive("p.arc", kLayout4200, {MakeChart("ann"), MakeChart("Bob"), MakeChart("bob")});
  EXPECT_EQ(archive_.Index().NeedsOrdering(), 0);
  OpenArchive("q.arc", kLayout4200, {MakeChart("Z")});
  EXPECT_EQ(archive_.Index().NeedsOrdering(), 0);
}

}  // namespace
}  // namespace archive_test

namespace archive_test {
namespace {

// Converts every ".cat" file into "converted.arc" beside it.
class FakeImporter final : public ForeignChartImporter {
 public:
  int DefineFileType(const std::string& path) override {
    return path.ends_with(".cat") ? 6 : Archive::IfRealArchive(path);
  }
  int ConvertToArchive(const std::string& source, std::string& archive, int type) override {
    EXPECT_EQ(type, 6);
    archive = std::filesystem::path(source).replace_filename("converted.arc").string();
    WriteFile(archive, ArchiveBytes(kLayout4400, {MakeChart("Imported")}));
    return 0;
  }
};

TEST_F(ArchiveTest, OpeningArchivesAndOtherProgramsFiles) {
  WriteFile(PathOf("plain.arc"), ArchiveBytes(kLayout4200, {MakeChart("P")}));
  WriteFile(PathOf("notes.txt"), "text");
  WriteFile(PathOf("old.cat"), "foreign");
  struct Case {
    const char* name;
    bool importer;
    std::string chosen;
    int result;
    std::string current;
  };
  const Case cases[] = {
      {"archive", false, PathOf("plain.arc"), 1, PathOf("plain.arc")},
      {"no_archive", false, PathOf("notes.txt"), 0, PathOf("plain.arc")},
      {"foreign_without_importer", false, PathOf("old.cat"), 0, PathOf("plain.arc")},
      {"foreign_converted", true, PathOf("old.cat"), 1, PathOf("converted.arc")},
      {"cancelled", true, "", 0, PathOf("converted.arc")},
  };
  FakeImporter importer;
  for (const Case& c : cases) {
    archive_.Import().SetImporter(c.importer ? &importer : nullptr);
    prompts_.ExpectFile(c.chosen);
    EXPECT_EQ(archive_.Import().OpenOtherArchive(), c.result) << c.name;
    EXPECT_EQ(archive_.GetPath(), c.current) << c.name;
    if (c.result == 1) {
      EXPECT_TRUE(archive_.IsIndexBuilt()) << c.name;
      EXPECT_EQ(archive_.Recent().RecentNames().front(), c.current) << c.name;
    }
  }
  EXPECT_EQ(Names(), std::vector<std::string>{"Imported"});
  EXPECT_TRUE(prompts_.WasShown(477));
  prompts_.VerifyAllUsed();
}

}  // namespace
}  // namespace archive_test

namespace archive_test {
namespace {

// Plays a script of browser sessions: each sets marks and a variant request, then OK or Cancel.
class ScriptedBrowser final : public ArchiveBrowser {
 public:
  struct Session {
    std::vector<int> marks;
    int requestVariant;  // -1: leave the variant
    bool ok;
  };
  std::vector<Session> sessions;
  std::vector<int> variantsShown;
  bool Run(Archive& archive, int variant) override {
    variantsShown.push_back(variant);
    const Session s = sessions.at(variantsShown.size() - 1);
    for (int n : s.marks) archive.Entry(n).mark = 'Y';
    if (s.requestVariant >= 0) archive.browserVariant = s.requestVariant;
    return s.ok;
  }
};

TEST_F(ArchiveTest, SelectChartLoopsOverBrowserVariants) {
  struct Case {
    const char* name;
    int mode;
    std::vector<ScriptedBrowser::Session> sessions;
    int result;
    std::vector<int> variantsShown;
    bool marksLeft;
  };
  const Case cases[] = {
      {"record_chosen", 0, {{{2, 1}, -1, true}}, 1, {3}, false},
      {"record_zero_chosen", 0, {{{0}, -1, true}}, 0, {3}, false},
      {"nothing_chosen_is_no_record", 0, {{{}, -1, true}}, -1, {3}, false},
      {"cancel", 0, {{{}, -1, false}}, -1, {3}, false},
      {"switch_to_comments_and_back",
       0,
       {{{}, 0, false}, {{}, 1, false}, {{2}, -1, true}},
       2,
       {3, 2, 3},
       false},
      {"mode_one_keeps_marks", 1, {{{1}, -1, true}}, 0, {3}, true},
  };
  for (const Case& c : cases) {
    OpenArchive("s.arc", kLayout4200, {MakeChart("A"), MakeChart("B"), MakeChart("C")});
    archive_.browserVariant = 3;
    ScriptedBrowser browser;
    browser.sessions = c.sessions;
    archive_.SetBrowser(&browser);
    EXPECT_EQ(archive_.SelectChart(c.mode), c.result) << c.name;
    EXPECT_EQ(browser.variantsShown, c.variantsShown) << c.name;
    bool marked = false;
    for (int n = 0; n < 3; ++n) marked = marked || archive_.Entry(n).IsSelected();
    EXPECT_EQ(marked, c.marksLeft) << c.name;
  }
  archive_.SetBrowser(nullptr);
  EXPECT_EQ(archive_.SelectChart(0), -1);
}

}  // namespace
}  // namespace archive_test
