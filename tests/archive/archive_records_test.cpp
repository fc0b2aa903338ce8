// Conversions, deletion, moving, copying into other archives, ordering and the recent list.
#include "archive_fixture.h"
#include "foundation/messages/message_numbers.h"

namespace archive_test {
namespace {

using platform::Answer;

TEST_F(ArchiveTest, ConversionsBetweenLayouts) {
  const Chart a = MakeChart("A"), b = MakeChart("B");
  // 4000 -> 4400: each record becomes version 4200 with the empty block; no question.
  OpenArchive("c.arc", kLayout4000, {a, b});
  ASSERT_EQ(archive_.Records().ConvertTo44(), 0);
  EXPECT_EQ(ReadFile(PathOf("c.arc")), ArchiveBytes(kLayout4400, {a, b}));
  EXPECT_EQ(archive_.LayoutCode(), kLayout4400);
  EXPECT_TRUE(prompts_.WasShown(506));
  // 4400 without comments -> 4200: no question.
  ASSERT_EQ(archive_.Records().ConvertTo43(), 0);
  EXPECT_EQ(ReadFile(PathOf("c.arc")), ArchiveBytes(kLayout4200, {a, b}));
  EXPECT_TRUE(prompts_.WasShown(509));
  // 4200 -> 4400.
  ASSERT_EQ(archive_.Records().ConvertTo44(), 0);
  EXPECT_EQ(ReadFile(PathOf("c.arc")), ArchiveBytes(kLayout4400, {a, b}));
  prompts_.VerifyAllUsed();
}

TEST_F(ArchiveTest, ConversionWithCommentsAsksAndNoChangesNothing) {
  WriteFile(PathOf("k.ar3"), "note");
  const std::vector<CommentRefBlock> blocks = {CommentRefBlock(), Block({{3, 0, 4}})};
  OpenArchive("k.arc", kLayout4400, {MakeChart("A"), MakeChart("B")}, blocks);
  const auto before = Snapshot(folder_.Path());
  prompts_.Expect(kMsgConvertDropsTexts, Answer::No);
  EXPECT_EQ(archive_.Records().ConvertTo43(), -1);
  EXPECT_EQ(Snapshot(folder_.Path()), before);  // byte for byte
  EXPECT_EQ(archive_.LayoutCode(), kLayout4400);
  prompts_.Expect(kMsgConvertDropsTexts, Answer::Yes);
  ASSERT_EQ(archive_.Records().ConvertTo43(), 0);
  EXPECT_EQ(ReadFile(PathOf("k.arc")), ArchiveBytes(kLayout4200, {MakeChart("A"), MakeChart("B")}));
  EXPECT_FALSE(std::filesystem::exists(PathOf("k.ar3")));
  EXPECT_EQ(archive_.HasComments(1), 0);
  prompts_.VerifyAllUsed();
}

TEST_F(ArchiveTest, DeleteKeepsTheOthersAndTheirTexts) {
  WriteFile(PathOf("d.ar0"), "AAABBBBCC");
  OpenArchive("d.arc", kLayout4400, {MakeChart("A"), MakeChart("B"), MakeChart("C")},
              {Block({{0, 0, 3}}), Block({{0, 3, 4}}), Block({{0, 7, 2}})});
  Mark({1});
  prompts_.Expect(kMsgDeleteChart, Answer::No);
  EXPECT_EQ(archive_.Records().Delete(true), -1);
  EXPECT_EQ(archive_.RecordCount(), 3);
  prompts_.Expect(kMsgDeleteChart, Answer::Yes);
  ASSERT_EQ(archive_.Records().Delete(true), 0);
  EXPECT_NE(prompts_.shown.back().text.find("\n\"B,  title B\" ?"), std::string::npos);
  EXPECT_EQ(Names(), (std::vector<std::string>{"A", "C"}));
  EXPECT_EQ(ReadFile(PathOf("d.ar0")), "AAACC");
  EXPECT_EQ(ReadFile(PathOf("d.arc")), ArchiveBytes(kLayout4400, {MakeChart("A"), MakeChart("C")},
                                                    {Block({{0, 0, 3}}), Block({{0, 3, 2}})}));
  EXPECT_EQ(archive_.Entry(1).mark, 'N');
  // Deleting every record removes the archive and its comment files.
  Mark({0, 1});
  prompts_.Expect(kMsgDeleteCharts, Answer::Yes);
  ASSERT_EQ(archive_.Records().Delete(true), 0);
  EXPECT_FALSE(std::filesystem::exists(PathOf("d.arc")));
  EXPECT_FALSE(std::filesystem::exists(PathOf("d.ar0")));
  EXPECT_FALSE(archive_.IsIndexBuilt());
  prompts_.VerifyAllUsed();
}

TEST_F(ArchiveTest, MovingOneRecordUpOrDown) {
  struct Case {
    const char* name;
    int selected;
    bool up;
    int result;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"up", 2, true, 0, {"A", "C", "B", "D"}},
      {"down", 0, false, 0, {"B", "A", "C", "D"}},
      {"first_up", 0, true, -1, {"A", "B", "C", "D"}},
      {"last_down", 3, false, -1, {"A", "B", "C", "D"}},
  };
  for (const Case& c : cases) {
    WriteFile(PathOf("u.ar5"), "bbcc");
    OpenArchive("u.arc", kLayout4400,
                {MakeChart("A"), MakeChart("B"), MakeChart("C"), MakeChart("D")},
                {CommentRefBlock(), Block({{5, 0, 2}}), Block({{5, 2, 2}}), CommentRefBlock()});
    Mark({c.selected});
    EXPECT_EQ(archive_.Records().ChartUpDown(c.up), c.result) << c.name;
    EXPECT_EQ(Names(), c.expected) << c.name;
    ASSERT_EQ(archive_.CreateIndex(), 0);
    EXPECT_EQ(Names(), c.expected) << c.name << " (file)";
    for (int n = 0; n < 4; ++n) {  // texts follow their records
      std::string text;
      archive_.Comments().LoadComment(n, 5, text);
      const std::string& name = archive_.Entry(n).name;
      EXPECT_EQ(text, name == "B" ? "bb" : name == "C" ? "cc" : "") << c.name;
    }
  }
  EXPECT_TRUE(prompts_.WasShown(1156));
  Mark({0, 1});
  EXPECT_EQ(archive_.Records().ChartUpDown(false), -1);
  EXPECT_TRUE(prompts_.WasShown(1157));
}

TEST_F(ArchiveTest, CopyIntoOtherArchives) {
  const Chart a = MakeChart("A"), b = MakeChart("B"), c = MakeChart("C");
  WriteFile(PathOf("src.ar1"), "aTEXT");
  const std::vector<CommentRefBlock> blocks = {Block({{1, 0, 1}}), Block({{1, 1, 4}}),
                                               CommentRefBlock()};
  OpenArchive("src.arc", kLayout4400, {a, b, c}, blocks);
  const std::string source = ReadFile(PathOf("src.arc"));
  // Into an existing 4400 archive: the text goes along, appended to the target's comment file.
  WriteFile(PathOf("t44.arc"), ArchiveBytes(kLayout4400, {c}, {Block({{1, 0, 3}})}));
  WriteFile(PathOf("t44.ar1"), "old");
  Mark({1, 2});
  prompts_.Expect(kMsgOrderAfterCopy, Answer::No);
  ASSERT_EQ(archive_.Records().CopyToArchive(PathOf("t44.arc"), 1, kLayout4400, false, false), 0);
  EXPECT_EQ(ReadFile(PathOf("t44.arc")),
            ArchiveBytes(kLayout4400, {c, b, c}, {Block({{1, 0, 3}}), Block({{1, 3, 4}})}));
  EXPECT_EQ(ReadFile(PathOf("t44.ar1")), "oldTEXT");
  EXPECT_EQ(ReadFile(PathOf("src.arc")), source);
  EXPECT_TRUE(archive_.Entry(1).IsSelected());  // the marks stay through a copy
  // Into a new 4000 archive: message 531 first; the copies carry no comments.
  prompts_.Expect(kMsgCopyDropsTexts, Answer::Yes);
  ASSERT_EQ(archive_.Records().CopyToArchive(PathOf("t40.arc"), 0, kLayout4000, false, true), 0);
  EXPECT_EQ(ReadFile(PathOf("t40.arc")), ArchiveBytes(kLayout4000, {b, c}));
  prompts_.Expect(kMsgCopyDropsTexts, Answer::No);
  EXPECT_EQ(archive_.Records().CopyToArchive(PathOf("t42.arc"), 0, kLayout4200, false, true), -1);
  EXPECT_FALSE(std::filesystem::exists(PathOf("t42.arc")));
  // An existing file named as a new target is never replaced.
  const std::string target = ReadFile(PathOf("t44.arc"));
  EXPECT_EQ(archive_.Records().CopyToArchive(PathOf("t44.arc"), 0, kLayout4400, false, true), -1);
  EXPECT_EQ(ReadFile(PathOf("t44.arc")), target);
  // Into itself: refused, nothing changed.
  EXPECT_EQ(archive_.Records().CopyToArchive(PathOf("src.arc"), 1, kLayout4400, false, true), -1);
  EXPECT_EQ(ReadFile(PathOf("src.arc")), source);
  // A move deletes the copied records from the source afterwards.
  prompts_.Expect(kMsgDeleteCharts, Answer::Yes);
  ASSERT_EQ(archive_.Records().CopyToArchive(PathOf("moved.arc"), 0, kLayout4400, true, true), 0);
  EXPECT_EQ(Names(), std::vector<std::string>{"A"});
  EXPECT_EQ(ReadFile(PathOf("moved.arc")), ArchiveBytes(kLayout4400, {b, c}, {Block({{1, 0, 4}})}));
  EXPECT_EQ(ReadFile(PathOf("moved.ar1")), "TEXT");
  EXPECT_EQ(ReadFile(PathOf("src.ar1")), "a");
  EXPECT_TRUE(prompts_.WasShown(45));
  prompts_.VerifyAllUsed();
}

TEST_F(ArchiveTest, CopyAsksForOrderAndOrdersTheTarget) {
  WriteFile(PathOf("t.arc"), ArchiveBytes(kLayout4200, {MakeChart("M")}));
  OpenArchive("s.arc", kLayout4200, {MakeChart("Z"), MakeChart("B")});
  Mark({0, 1});
  prompts_.Expect(kMsgOrderAfterCopy, Answer::Yes);
  ASSERT_EQ(archive_.Records().CopyToArchive(PathOf("t.arc"), 1, kLayout4200, false, false), 0);
  EXPECT_EQ(ReadFile(PathOf("t.arc")),
            ArchiveBytes(kLayout4200, {MakeChart("B"), MakeChart("M"), MakeChart("Z")}));
  EXPECT_EQ(archive_.GetPath(), PathOf("s.arc"));  // back to the source
  EXPECT_EQ(Names(), (std::vector<std::string>{"Z", "B"}));
  EXPECT_TRUE(archive_.Entry(0).IsSelected());
  prompts_.VerifyAllUsed();
}

TEST_F(ArchiveTest, DestinationChoice) {
  WriteFile(PathOf("junk.arc"), "junk");
  WriteFile(PathOf("old.arc"), ArchiveBytes(kLayout4200, {MakeChart("A")}));
  struct Case {
    const char* name;
    std::string chosen;
    int result;
    std::string path;
    int exists;
    int layout;
  };
  const Case cases[] = {
      {"new_name", PathOf("fresh"), 0, PathOf("fresh.arc"), 0, kLayout4400},
      {"existing_archive", PathOf("old.arc"), 0, PathOf("old.arc"), 1, kLayout4200},
      {"no_archive", PathOf("junk.arc"), -1, "", -7, -7},
      {"cancelled", "", -1, "", -7, -7},
  };
  for (const Case& c : cases) {
    prompts_.ExpectFile(c.chosen);
    std::string path;
    int exists = -7, layout = -7;
    EXPECT_EQ(archive_.Records().ChooseDestinationFile(path, exists, layout), c.result) << c.name;
    EXPECT_EQ(path, c.path) << c.name;
    EXPECT_EQ(exists, c.exists) << c.name;
    EXPECT_EQ(layout, c.layout) << c.name;
  }
  EXPECT_TRUE(prompts_.WasShown(477));
}

TEST_F(ArchiveTest, OrderGroupsByInitialAndKeepsEqualNames) {
  WriteFile(PathOf("o.ar0"), "12");
  OpenArchive("o.arc", kLayout4400,
              {MakeChart("boris"), MakeChart(Cp1251("Яков")), MakeChart("Anna"), MakeChart("Boris"),
               MakeChart("1st"), MakeChart("abel")},
              {Block({{0, 0, 1}}), CommentRefBlock(), CommentRefBlock(), Block({{0, 1, 1}})});
  testing_support::RecordingProgress progress;
  archive_.Index().SetProgress(&progress);
  ASSERT_EQ(archive_.Records().Order(), 0);
  // Four groups in order of first appearance: b, Я, A, 1.
  EXPECT_EQ(progress.positions, (std::vector<int>{0, 25, 50, 75}));
  const std::vector<std::string> expected = {"1st",   "abel",  "Anna",
                                             "boris", "Boris", Cp1251("Яков")};
  EXPECT_EQ(Names(), expected);
  ASSERT_EQ(archive_.CreateIndex(), 0);
  EXPECT_EQ(Names(), expected);
  std::string text;
  archive_.Comments().LoadComment(3, 0, text);
  EXPECT_EQ(text, "1");
  archive_.Comments().LoadComment(4, 0, text);
  EXPECT_EQ(text, "2");
  // An ordered archive is written in the same order.
  const std::string ordered = ReadFile(PathOf("o.arc"));
  ASSERT_EQ(archive_.Records().Order(), 0);
  EXPECT_EQ(ReadFile(PathOf("o.arc")), ordered);
  OpenArchive("one.arc", kLayout4400, {MakeChart("A")});
  EXPECT_EQ(archive_.Records().Order(), -1);
}

TEST_F(ArchiveTest, RecordsWithoutNameComeFirstAsTheOrderCheckSays) {
  // An empty name is shorter than any other, so it sorts before every name.
  OpenArchive("e.arc", kLayout4200, {MakeChart("Boris"), MakeChart(""), MakeChart("+x")});
  EXPECT_EQ(archive_.Index().NeedsOrdering(), 1);
  ASSERT_EQ(archive_.Records().Order(), 0);
  EXPECT_EQ(Names(), (std::vector<std::string>{"", "Boris", "+x"}));
  EXPECT_EQ(archive_.Index().NeedsOrdering(), 0);
  const std::string ordered = ReadFile(PathOf("e.arc"));
  ASSERT_EQ(archive_.Records().Order(), 0);
  EXPECT_EQ(ReadFile(PathOf("e.arc")), ordered);
}

TEST_F(ArchiveTest, RecentListKeepsFiftyDistinctArchives) {
  for (int i = 0; i < 52; ++i) WriteFile(PathOf("a" + std::to_string(i) + ".arc"), "");
  for (int i = 0; i < 51; ++i)
    archive_.Recent().AddRecentName(PathOf("a" + std::to_string(i) + ".arc"));
  ASSERT_EQ(archive_.Recent().RecentNames().size(), 50u);
  EXPECT_EQ(archive_.Recent().RecentNames().front(), PathOf("a50.arc"));
  EXPECT_EQ(archive_.Recent().RecentNames().back(), PathOf("a1.arc"));  // a0 was pushed out
  archive_.Recent().AddRecentName(PathOf("a20.arc"));  // moves to the top, no duplicate
  EXPECT_EQ(archive_.Recent().RecentNames().size(), 50u);
  EXPECT_EQ(archive_.Recent().RecentNames()[0], PathOf("a20.arc"));
  EXPECT_EQ(archive_.Recent().RecentNames()[1], PathOf("a50.arc"));
  EXPECT_EQ(archive_.Recent().RecentNames()[21], PathOf("a30.arc"));
  archive_.Recent().SaveNames();
  std::string expected;
  for (const std::string& n : archive_.Recent().RecentNames()) expected += n + "\n";
  EXPECT_EQ(ReadFile(PathOf("velm.arn")), expected);
  // Reading: CR cut and duplicates skipped; names whose files are away or no archives kept.
  WriteFile(PathOf("junk.arc"), "junk");
  WriteFile(PathOf("velm.arn"), PathOf("a3.arc") + "\r\n" + PathOf("junk.arc") + "\n" +
                                    PathOf("gone.arc") + "\n" + PathOf("a3.arc") + "\n" +
                                    PathOf("a4.arc") + "\n");
  Archive fresh(slots_);
  ASSERT_EQ(fresh.Init(), 0);
  EXPECT_EQ(fresh.Recent().RecentNames(),
            (std::vector<std::string>{PathOf("a3.arc"), PathOf("junk.arc"), PathOf("gone.arc"),
                                      PathOf("a4.arc")}));
  EXPECT_EQ(fresh.GetPath(), PathOf("a3.arc"));
  EXPECT_TRUE(fresh.IsIndexBuilt());
  WriteFile(PathOf("velm.arn"), PathOf("junk.arc") + "\n");
  EXPECT_EQ(fresh.Init(), -1);
  EXPECT_EQ(fresh.LayoutCode(), kNotArchive);
}

TEST_F(ArchiveTest, QueryResultsCarryRecordAndArchiveNumbers) {
  OpenArchive("q.arc", kLayout4400, {MakeChart("A"), MakeChart("B")}, {Block({{0, 9, 9}})});
  archive_.Query().InitSelectedRecordsInfo(2);
  EXPECT_EQ(archive_.Query().AddArchive2List(), 0);
  EXPECT_EQ(archive_.Query().AddArchiveToInfo(), 1);
  archive_.Query().AddRecord2List(1, 0);
  archive_.Query().AddRecord2List(0, 1);
  ASSERT_EQ(archive_.Query().SelectedRecords().size(), 2u);
  EXPECT_EQ(archive_.Query().SelectedRecords()[0].entry.name, "A");
  EXPECT_EQ(archive_.Query().SelectedRecords()[0].RecordNumber(), 0);
  EXPECT_EQ(archive_.Query().SelectedRecords()[0].ArchiveNumber(), 1);
  EXPECT_EQ(archive_.Query().SelectedRecords()[1].RecordNumber(), 1);
  EXPECT_EQ(archive_.Query().SelectedRecords()[1].ArchiveNumber(), 0);
  // The numbers are fields of their own: the record's comment references stay as they are.
  EXPECT_EQ(archive_.Query().SelectedRecords()[0].entry.comments, archive_.Entry(0).comments);
  EXPECT_EQ(archive_.Query().AddRecord2List(0, 7), -1);
  EXPECT_EQ(archive_.Query().SearchedArchives()[0].path, PathOf("q.arc"));
  EXPECT_EQ(archive_.Query().SearchedArchives()[0].fileTime, archive_.FileTime());
  archive_.Query().FreeSelectedRecordsInfo();
  EXPECT_TRUE(archive_.Query().SelectedRecords().empty());
}

}  // namespace
}  // namespace archive_test
