// Every create, write and rename of every rewrite made to fail once: the operation reports
// failure, the archive, its comment files and every other file of the folder stay byte for byte
// as they were, no temporary file is left and the index stays in step with the file.
#include <functional>

#include "archive/comments/chart_comments.h"
#include "archive/store/archive_sort.h"
#include "archive_fixture.h"

namespace archive_test {
namespace {

using platform::Answer;

// The index an archive object holds, compared with one built afresh from the file.
void ExpectIndexInStep(Archive& archive, CommentSlotTable& slots, const std::string& what) {
  Archive fresh(slots);
  ASSERT_NE(fresh.SetPath(archive.GetPath()), -1) << what;
  ASSERT_EQ(fresh.CreateIndex(), 0) << what;
  ASSERT_EQ(archive.RecordCount(), fresh.RecordCount()) << what;
  for (int n = 0; n < fresh.RecordCount(); ++n) {
    ArchiveIndexEntry e = archive.Entry(n);
    e.mark = 'N';
    EXPECT_EQ(e, fresh.Entry(n)) << what << " entry " << n;
  }
}

// Sorts by name, then by the Sun's longitude.
int Sort(Archive& archive, bool intoNewArchive) {
  ArchiveSortParams params;
  params.keys = {kSortName, kSortBodyLongitude, kSortNone};
  params.newArchive = intoNewArchive;
  if (archive.BreakToClasses(params) != 0) return -1;
  const int result = archive.OrderClasses(params);
  archive.FreeClasses();
  return result;
}

struct FaultCase {
  const char* name;
  std::function<void(ArchiveTest&, Archive&, testing_support::ScriptedPrompter&)> prepare;
  std::function<int(Archive&)> run;
};

class ArchiveFaultTest : public ArchiveTest {
 protected:
  // Three records with texts on pages 0 and 4, a second 4400 archive, a chart with two pages.
  void MakeFiles() {
    WriteFile(PathOf("f.ar0"), "AAABBBBCC");
    WriteFile(PathOf("f.ar4"), "zz");
    WriteFile(
        PathOf("f.arc"),
        ArchiveBytes(kLayout4400, {MakeChart("C"), MakeChart("A"), MakeChart("B")},
                     {Block({{0, 0, 3}}), Block({{0, 3, 4}, {4, 0, 2}}), Block({{0, 7, 2}})}));
    WriteFile(PathOf("t.arc"), ArchiveBytes(kLayout4400, {MakeChart("T")}, {Block({{0, 0, 1}})}));
    WriteFile(PathOf("t.ar0"), "t");
    WriteFile(PathOf("g.arc"), ArchiveBytes(kLayout4200, {MakeChart("B"), MakeChart("A")}));
    WriteFile(PathOf("Velm0090.txt"), "page zero");
    WriteFile(PathOf("Velm0093.txt"), "page three");
  }

  // Each step walked through every fault point (testing_support::WalkFaults).
  void RunWithFaults(const FaultCase& c, const std::map<std::string, std::string>& initial) {
    testing_support::WalkFaults([&](const FileFault& fault) {
      Restore(folder_.Path(), initial);
      Archive archive(slots_);
      archive.saveTargetMode = 0;
      archive.insertionMode = 1;
      const std::string file = c.name == std::string("convert_to_4400") ? "g.arc" : "f.arc";
      EXPECT_NE(archive.SetPath(PathOf(file)), -1);
      EXPECT_EQ(archive.CreateIndex(), 0);
      if (c.prepare) c.prepare(*this, archive, prompts_);
      ArmFault(fault);
      const int result = c.run(archive);
      const bool fired = FaultFired();
      DisarmFault();
      const std::string what = std::string(c.name) + " " + testing_support::FaultName(fault);
      if (fault.at == testing_support::kNoFault.at) {
        EXPECT_EQ(result, 0) << what;
        if (archive.IsIndexBuilt()) ExpectIndexInStep(archive, slots_, what);
        return false;
      }
      if (!fired) return false;
      EXPECT_EQ(result, -1) << what;
      EXPECT_EQ(Snapshot(folder_.Path()), initial) << what;
      ExpectIndexInStep(archive, slots_, what);
      return true;
    });
    prompts_.VerifyAllUsed();
  }
};

TEST_F(ArchiveFaultTest, NothingIsLostWhenAnyStepFails) {
  MakeFiles();
  Chart withPages = MakeChart("Bb");
  withPages.commentSlot = 9;
  const FaultCase cases[] = {
      {"insert_with_comments", nullptr, [&](Archive& a) { return a.SaveToArchive(withPages); }},
      {"delete_with_texts",
       [](ArchiveTest&, Archive& a, testing_support::ScriptedPrompter&) { a.Entry(1).mark = 'Y'; },
       [](Archive& a) { return a.Delete(false); }},
      {"delete_all",
       [](ArchiveTest&, Archive& a, testing_support::ScriptedPrompter&) {
         for (int n = 0; n < 3; ++n) a.Entry(n).mark = 'Y';
       },
       [](Archive& a) { return a.Delete(false); }},
      {"move_down",
       [](ArchiveTest&, Archive& a, testing_support::ScriptedPrompter&) { a.Entry(0).mark = 'Y'; },
       [](Archive& a) { return a.ChartUpDown(false); }},
      {"move_up",
       [](ArchiveTest&, Archive& a, testing_support::ScriptedPrompter&) { a.Entry(2).mark = 'Y'; },
       [](Archive& a) { return a.ChartUpDown(true); }},
      {"order", nullptr, [](Archive& a) { return a.Order(); }},
      {"sort_in_place", nullptr, [](Archive& a) { return Sort(a, false); }},
      {"sort_into_existing",
       [&](ArchiveTest&, Archive&, testing_support::ScriptedPrompter& p) {
         p.ExpectFile(PathOf("t.arc"));
         p.Expect(74, Answer::Yes);
       },
       [](Archive& a) { return Sort(a, true); }},
      {"convert_to_4400", nullptr, [](Archive& a) { return a.ConvertTo44(); }},
      {"convert_to_4200",
       [](ArchiveTest&, Archive&, testing_support::ScriptedPrompter& p) {
         p.Expect(510, Answer::Yes);
       },
       [](Archive& a) { return a.ConvertTo43(); }},
      {"comment_replaced", nullptr,
       [](Archive& a) {
         a.SetCommentText("longer text");
         return a.SaveComment(1, 0);
       }},
      {"comment_cut", nullptr,
       [](Archive& a) {
         a.SetCommentText("");
         return a.SaveComment(1, 4);
       }},
      {"comment_appended", nullptr,
       [](Archive& a) {
         a.SetCommentText("new");
         return a.SaveComment(2, 7);
       }},
      {"copy_into_existing",
       [](ArchiveTest&, Archive& a, testing_support::ScriptedPrompter&) {
         a.Entry(1).mark = 'Y';
         a.Entry(2).mark = 'Y';
       },
       [&](Archive& a) { return a.CopyToArchive(PathOf("t.arc"), 1, kLayout4400, false, true); }},
      {"copy_into_new",
       [](ArchiveTest&, Archive& a, testing_support::ScriptedPrompter&) {
         a.Entry(0).mark = 'Y';
         a.Entry(1).mark = 'Y';
       },
       [&](Archive& a) { return a.CopyToArchive(PathOf("n.arc"), 0, kLayout4400, false, true); }},
      {"copy_into_new_4200",
       [](ArchiveTest&, Archive& a, testing_support::ScriptedPrompter& p) {
         a.Entry(1).mark = 'Y';
         p.Expect(531, Answer::Yes);  // its texts cannot go along
       },
       [&](Archive& a) { return a.CopyToArchive(PathOf("n.arc"), 0, kLayout4200, false, true); }},
  };
  const auto initial = Snapshot(folder_.Path());
  for (const FaultCase& c : cases) {
    RunWithFaults(c, initial);
    if (HasFailure()) return;
  }
}

TEST_F(ArchiveFaultTest, FailedNewArchiveLeavesNoFile) {
  MakeFiles();
  const auto initial = Snapshot(folder_.Path());
  Chart withPages = MakeChart("Bb");
  withPages.commentSlot = 9;
  for (int n = 1;; ++n) {
    Restore(folder_.Path(), initial);
    Archive archive(slots_);
    prompts_.ExpectFile(PathOf("new.arc"));
    ArmFileFault(n);
    const int result = archive.SaveToNewArchive(withPages, false);
    const bool fired = CountedFileOperations() >= n;
    ArmFileFault(0);
    if (!fired) {
      EXPECT_EQ(result, 0);
      EXPECT_EQ(ReadFile(PathOf("new.ar3")), "page three");
      break;
    }
    EXPECT_EQ(result, -1) << n;
    EXPECT_EQ(Snapshot(folder_.Path()), initial) << n;
    EXPECT_FALSE(archive.IsIndexBuilt()) << n;
  }
}

TEST_F(ArchiveFaultTest, FailedMoveLosesNoRecord) {
  // A move copies, then deletes its source records after the question. A failure in the copy
  // leaves both archives as they were; a failure in the deletion leaves the source as it was (the
  // copy is in the target) and the move reports failure.
  MakeFiles();
  const auto initial = Snapshot(folder_.Path());
  for (int n = 1;; ++n) {
    Restore(folder_.Path(), initial);
    testing_support::ScriptedPrompter prompts;  // the question comes only once the copy is in
    prompts.Expect(483, Answer::Yes);
    Archive archive(slots_);
    ASSERT_NE(archive.SetPath(PathOf("f.arc")), -1);
    ASSERT_EQ(archive.CreateIndex(), 0);
    archive.Entry(1).mark = 'Y';
    ArmFileFault(n);
    const int result = archive.CopyToArchive(PathOf("t.arc"), 1, kLayout4400, true, true);
    const bool fired = CountedFileOperations() >= n;
    ArmFileFault(0);
    const std::string what = "move fault " + std::to_string(n);
    if (!fired) {
      EXPECT_EQ(result, 0) << what;
      EXPECT_EQ(archive.RecordCount(), 2) << what;
      break;
    }
    EXPECT_EQ(result, -1) << what;
    auto now = Snapshot(folder_.Path());
    EXPECT_EQ(now["f.arc"], initial.at("f.arc")) << what;
    for (const char* text : {"f.ar0", "f.ar4"}) EXPECT_EQ(now[text], initial.at(text)) << what;
    ExpectIndexInStep(archive, slots_, what);
    const bool copied = now["t.arc"] != initial.at("t.arc");
    if (!copied) {
      EXPECT_EQ(now, initial) << what;
    }
    if (HasFailure()) break;
  }
}

TEST_F(ArchiveFaultTest, FailedRecentListSaveKeepsTheOldList) {
  WriteFile(PathOf("a.arc"), Header(kLayout4400));
  const std::string old = PathOf("old.arc") + "\n";
  for (int n = 1;; ++n) {
    WriteFile(PathOf("velm.arn"), old);
    Archive archive(slots_);
    archive.LoadNames();
    archive.AddRecentName(PathOf("a.arc"));
    ArmFileFault(n);
    const int result = archive.SaveNames();
    const bool fired = CountedFileOperations() >= n;
    ArmFileFault(0);
    if (!fired) {
      EXPECT_EQ(result, 0);
      EXPECT_EQ(ReadFile(PathOf("velm.arn")), PathOf("a.arc") + "\n" + old);
      break;
    }
    EXPECT_EQ(result, -1) << n;
    EXPECT_EQ(ReadFile(PathOf("velm.arn")), old) << n;
    EXPECT_EQ(Snapshot(folder_.Path()).size(), 2u) << n;  // no temporary file left
  }
}

TEST_F(ArchiveFaultTest, FailedCommentPagesLeaveTheSlotFilesAsTheyWere) {
  // A record's two texts become the pages of a new chart's slot together or not at all; page
  // files an earlier session left behind stay byte for byte.
  MakeFiles();
  WriteFile(PathOf("Velm0010.txt"), "stale zero");
  WriteFile(PathOf("Velm0014.txt"), "stale four");
  const auto initial = Snapshot(folder_.Path());
  for (int n = 1;; ++n) {
    Restore(folder_.Path(), initial);
    CommentSlotTable slots;
    Archive archive(slots);
    ASSERT_NE(archive.SetPath(PathOf("f.arc")), -1);
    ASSERT_EQ(archive.CreateIndex(), 0);
    Chart chart;
    ArmFileFault(n);
    const int result = archive.CopyCommentsToChart(archive.Entry(1).comments, chart);
    const bool fired = CountedFileOperations() >= n;
    ArmFileFault(0);
    if (!fired) {
      EXPECT_EQ(result, 0);
      // Slot 1 holds pages left behind: the chart takes slot 2 and those pages stay as they were.
      EXPECT_EQ(chart.commentSlot, 2);
      EXPECT_EQ(ReadFile(PathOf("Velm0020.txt")), "BBBB");
      EXPECT_EQ(ReadFile(PathOf("Velm0024.txt")), "zz");
      EXPECT_EQ(ReadFile(PathOf("Velm0010.txt")), "stale zero");
      EXPECT_EQ(ReadFile(PathOf("Velm0014.txt")), "stale four");
      break;
    }
    EXPECT_EQ(result, -1) << n;
    EXPECT_EQ(chart.commentSlot, 0) << n;
    EXPECT_FALSE(slots.IsTaken(1)) << n;
    EXPECT_FALSE(slots.IsTaken(2)) << n;
    EXPECT_EQ(Snapshot(folder_.Path()), initial) << n;
  }
}

}  // namespace
}  // namespace archive_test
