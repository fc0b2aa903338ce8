// The operations the archive browser calls: opening by name, the marks, copying the whole archive.
#include "archive_fixture.h"
#include "foundation/messages/message_numbers.h"

namespace archive_test {
namespace {

using platform::Answer;

TEST_F(ArchiveTest, OpenByNameTakesOnlyArchives) {
  OpenArchive("a.arc", kLayout4400, {MakeChart("A")});
  WriteFile(PathOf("b.arc"), ArchiveBytes(kLayout4200, {MakeChart("X"), MakeChart("Y")}));
  WriteFile(PathOf("junk.arc"), "junk");
  for (const char* refused : {"junk.arc", "gone.arc"}) {
    prompts_.shown.clear();
    EXPECT_EQ(archive_.OpenByName(PathOf(refused)), -1) << refused;
    EXPECT_TRUE(prompts_.WasShown(477)) << refused;
    EXPECT_EQ(archive_.GetPath(), PathOf("a.arc")) << refused;
    EXPECT_TRUE(archive_.IsIndexBuilt()) << refused;
  }
  ASSERT_EQ(archive_.OpenByName(PathOf("b.arc")), 0);
  EXPECT_EQ(archive_.LayoutCode(), kLayout4200);
  EXPECT_EQ(Names(), (std::vector<std::string>{"X", "Y"}));
  EXPECT_EQ(archive_.Recent().RecentNames().front(), PathOf("b.arc"));
}

TEST_F(ArchiveTest, MarksAllNoneAndInverted) {
  OpenArchive("m.arc", kLayout4400, {MakeChart("A"), MakeChart("B"), MakeChart("C")});
  Mark({1});
  archive_.Index().InvertMarks();
  EXPECT_EQ(archive_.MarkedCount(), 2);
  EXPECT_FALSE(archive_.Entry(1).IsSelected());
  archive_.Index().MarkAll();
  EXPECT_EQ(archive_.MarkedCount(), 3);
  archive_.ClearMarks();
  EXPECT_EQ(archive_.MarkedCount(), 0);
}

class WholeCopyTest : public ArchiveTest {
 protected:
  void SetUp() override {
    ArchiveTest::SetUp();
    OpenArchive("s.arc", kLayout4400, {MakeChart("A"), MakeChart("B")},
                {Block({{0, 0, 3}}), Block({{4, 0, 2}})});
    WriteFile(PathOf("s.ar0"), "abc");
    WriteFile(PathOf("s.ar4"), "zz");
    WriteFile(PathOf("old.arc"), Header(kLayout4200));
    WriteFile(PathOf("old.ar7"), "stale");
  }
};

TEST_F(WholeCopyTest, CopiesTheArchiveWithItsCommentFiles) {
  ASSERT_EQ(archive_.Records().CopyWholeArchive(PathOf("copy")), 0);  // ".arc" added
  EXPECT_TRUE(prompts_.WasShown(518));
  EXPECT_EQ(ReadFile(PathOf("copy.arc")), ReadFile(PathOf("s.arc")));
  EXPECT_EQ(ReadFile(PathOf("copy.ar0")), "abc");
  EXPECT_EQ(ReadFile(PathOf("copy.ar4")), "zz");
  // Over an existing archive after the question: its stale comment file goes with it.
  prompts_.Expect(kMsgReplaceFile, Answer::Yes);
  ASSERT_EQ(archive_.Records().CopyWholeArchive(PathOf("old.arc")), 0);
  EXPECT_EQ(ReadFile(PathOf("old.arc")), ReadFile(PathOf("s.arc")));
  EXPECT_FALSE(std::filesystem::exists(PathOf("old.ar7")));
  prompts_.VerifyAllUsed();
}

TEST_F(WholeCopyTest, RefusalsChangeNothing) {
  const auto before = Snapshot(folder_.Path());
  struct Refusal {
    const char* target;
    int message;          // shown
    bool askedOverwrite;  // message 74 answered No
  };
  const Refusal refusals[] = {
      {"s.txt", 516, false},             // another extension
      {"s.arc", -kErrParameter, false},  // the archive itself
      {"s.arC", -kErrParameter, false},  // the same comment files s.ar0 .. s.ar9
      {"old.arc", 74, true},             // existing, not to be replaced
  };
  for (const Refusal& r : refusals) {
    prompts_.shown.clear();
    if (r.askedOverwrite) prompts_.Expect(kMsgReplaceFile, Answer::No);
    EXPECT_EQ(archive_.Records().CopyWholeArchive(PathOf(r.target)), -1) << r.target;
    EXPECT_TRUE(prompts_.WasShown(r.message)) << r.target;
    EXPECT_FALSE(prompts_.WasShown(518)) << r.target;
    EXPECT_EQ(Snapshot(folder_.Path()), before) << r.target;
  }
  prompts_.VerifyAllUsed();
}

TEST_F(WholeCopyTest, AFailedStepLeavesEveryFileAsItWas) {
  const auto before = Snapshot(folder_.Path());
  for (int n = 1;; ++n) {
    Restore(folder_.Path(), before);
    prompts_.Expect(kMsgReplaceFile, Answer::Yes);
    ArmFileFault(n);
    const int result = archive_.Records().CopyWholeArchive(PathOf("old.arc"));
    const bool fired = CountedFileOperations() >= n;
    ArmFileFault(0);
    if (!fired) {
      EXPECT_EQ(result, 0);
      EXPECT_GT(n, 3);
      break;
    }
    EXPECT_EQ(result, -1) << n;
    EXPECT_TRUE(prompts_.WasShown(517)) << n;
    EXPECT_EQ(Snapshot(folder_.Path()), before) << n;
  }
}

}  // namespace
}  // namespace archive_test
