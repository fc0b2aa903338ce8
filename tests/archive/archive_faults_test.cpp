// Every create, write and rename of every rewrite made to fail once: the operation reports
// failure, the archive, its comment files and every other file of the folder stay byte for byte
// as they were, no temporary file is left and the index stays in step with the file. And every
// operation stopped after any step of its commit, as a killed process stops: the next opening
// finds the whole old files or the whole new ones, and nothing left behind.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>

#include "archive/comments/chart_comments.h"
#include "archive/import/foreign_import.h"
#include "archive/store/archive_sort.h"
#include "archive/store/dynamic_archive.h"
#include "archive/store/file_transaction.h"
#include "archive_fixture.h"
#include "archive_stop_fixture.h"
#include "astro/chart/chart_context.h"
#include "foundation/messages/message_numbers.h"
#include "support/ephemeris_tables.h"

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
  if (archive.Sorting().BreakToClasses(params) != 0) return -1;
  const int result = archive.Sorting().OrderClasses(params);
  archive.Sorting().FreeClasses();
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
       [](Archive& a) { return a.Records().Delete(false); }},
      {"delete_all",
       [](ArchiveTest&, Archive& a, testing_support::ScriptedPrompter&) {
         for (int n = 0; n < 3; ++n) a.Entry(n).mark = 'Y';
       },
       [](Archive& a) { return a.Records().Delete(false); }},
      {"move_down",
       [](ArchiveTest&, Archive& a, testing_support::ScriptedPrompter&) { a.Entry(0).mark = 'Y'; },
       [](Archive& a) { return a.Records().ChartUpDown(false); }},
      {"move_up",
       [](ArchiveTest&, Archive& a, testing_support::ScriptedPrompter&) { a.Entry(2).mark = 'Y'; },
       [](Archive& a) { return a.Records().ChartUpDown(true); }},
      {"order", nullptr, [](Archive& a) { return a.Records().Order(); }},
      {"sort_in_place", nullptr, [](Archive& a) { return Sort(a, false); }},
      {"sort_into_existing",
       [&](ArchiveTest&, Archive&, testing_support::ScriptedPrompter& p) {
         p.ExpectFile(PathOf("t.arc"));
         p.Expect(74, Answer::Yes);
       },
       [](Archive& a) { return Sort(a, true); }},
      {"convert_to_4400", nullptr, [](Archive& a) { return a.Records().ConvertTo44(); }},
      {"convert_to_4200",
       [](ArchiveTest&, Archive&, testing_support::ScriptedPrompter& p) {
         p.Expect(510, Answer::Yes);
       },
       [](Archive& a) { return a.Records().ConvertTo43(); }},
      {"comment_replaced", nullptr,
       [](Archive& a) {
         a.Comments().SetCommentText("longer text");
         return a.Comments().SaveComment(1, 0);
       }},
      {"comment_cut", nullptr,
       [](Archive& a) {
         a.Comments().SetCommentText("");
         return a.Comments().SaveComment(1, 4);
       }},
      {"comment_appended", nullptr,
       [](Archive& a) {
         a.Comments().SetCommentText("new");
         return a.Comments().SaveComment(2, 7);
       }},
      {"copy_into_existing",
       [](ArchiveTest&, Archive& a, testing_support::ScriptedPrompter&) {
         a.Entry(1).mark = 'Y';
         a.Entry(2).mark = 'Y';
       },
       [&](Archive& a) {
         return a.Records().CopyToArchive(PathOf("t.arc"), 1, kLayout4400, false, true);
       }},
      {"copy_into_new",
       [](ArchiveTest&, Archive& a, testing_support::ScriptedPrompter&) {
         a.Entry(0).mark = 'Y';
         a.Entry(1).mark = 'Y';
       },
       [&](Archive& a) {
         return a.Records().CopyToArchive(PathOf("n.arc"), 0, kLayout4400, false, true);
       }},
      {"copy_into_new_4200",
       [](ArchiveTest&, Archive& a, testing_support::ScriptedPrompter& p) {
         a.Entry(1).mark = 'Y';
         p.Expect(531, Answer::Yes);  // its texts cannot go along
       },
       [&](Archive& a) {
         return a.Records().CopyToArchive(PathOf("n.arc"), 0, kLayout4200, false, true);
       }},
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
    const int result = archive.Saving().SaveToNewArchive(withPages, false);
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
    const int result = archive.Records().CopyToArchive(PathOf("t.arc"), 1, kLayout4400, true, true);
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
    archive.Recent().LoadNames();
    archive.Recent().AddRecentName(PathOf("a.arc"));
    ArmFileFault(n);
    const int result = archive.Recent().SaveNames();
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
    ArchiveComments::RecordTexts texts;
    {
      const ListLock lock(archive.Index(), LockMode::kShared);
      texts = archive.Comments().ReadRecordTexts(archive.Entry(1).comments, lock);
    }
    ArmFileFault(n);
    const int result = archive.Comments().CopyCommentsToChart(texts, chart);
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

// Every commit of the archive's operations, on the files MakeFiles() writes.
std::vector<StopCase> EveryCommit(const std::filesystem::path& folder, const Chart& withPages) {
  const auto PathOf = [folder](const char* name) { return (folder / name).string(); };
  const auto mark = [](Archive& a, std::initializer_list<int> records) {
    for (int n : records) a.Entry(n).mark = 'Y';
  };
  return {
      {"insert", [=](Archive& a, P&) { return a.SaveToArchive(withPages); }},
      {"delete", [=](Archive& a, P&) { return mark(a, {0}), a.Records().Delete(false); }},
      {"move", [=](Archive& a, P&) { return mark(a, {0}), a.Records().ChartUpDown(false); }},
      {"order", [](Archive& a, P&) { return a.Records().Order(); }},
      {"copy",
       [=](Archive& a, P&) {
         mark(a, {0, 2});
         return a.Records().CopyToArchive(PathOf("t.arc"), 1, kLayout4400, false, true);
       }},
      {"move_to_archive",
       [=](Archive& a, P& p) {
         mark(a, {0, 2});
         p.Expect(484, Answer::Yes);
         return a.Records().CopyToArchive(PathOf("t.arc"), 1, kLayout4400, true, true);
       },
       "copy"},
      {"convert",
       [](Archive& a, P& p) {
         p.Expect(510, Answer::Yes);
         return a.Records().ConvertTo43();
       }},
      {"copy_whole", [=](Archive& a, P&) { return a.Records().CopyWholeArchive(PathOf("w.arc")); }},
      {"delete_archive", [](Archive& a, P&) { return a.Records().DeleteArchiveFiles(); }},
      {"comment_replaced", [](Archive& a, P&) { return SaveAt(a, 0, 0, "C:new"); }},
      {"comment_cut", [](Archive& a, P&) { return SaveAt(a, 0, 4, ""); }},
      {"comment_appended", [](Archive& a, P&) { return SaveAt(a, 1, 7, "A:7"); }},
      {"sort_into_another",
       [=](Archive& a, P& p) {
         p.ExpectFile(PathOf("t.arc"));
         p.Expect(74, Answer::Yes);
         return Sort(a, true);
       }},
      {"foreign_import",
       [=](Archive& a, P& p) {
         ForeignImport importer(a);
         std::string target;
         p.Expect(401, Answer::Yes);
         return importer.ConvertToArchive(PathOf("x.cat"), target, 6);
       }},
      {"dynamic_archive",
       [=](Archive&, P&) {
         FDate begin;
         testing_support::RecordingProgress progress;
         const ChartContext ctx(GetConfiguration(), testing_support::SharedTables());
         return begin.SetDate(1, 1, 2000, 'A').ok() &&
                        WriteDynamicArchive(ctx, MakeChart("D"), begin, 30.0, 3, PathOf("d.arc"),
                                            progress)
                            .ok()
                    ? 0
                    : -1;
       }},
      {"comment_to_slot_pages",
       [](Archive& a, P&) {
         Chart chart;
         return a.LoadChart(chart, 2, true) == 2 ? 0 : -1;
       },
       nullptr, true},
  };
}

TEST_F(ArchiveStopTest, AnOperationStoppedAfterAnyStepLeavesTheWholeOldOrTheWholeNewFiles) {
  // Stopped after each step of the commit; then with the n-th rename or removal failing once,
  // stopped after each later step of the rollback that follows (or of the recovery's clean-up).
  MakeFiles();
  SetHoldsDataFolderLock(true);  // the test is the program holding its data folder
  Chart withPages = MakeChart("Bb");
  withPages.commentSlot = 9;
  const auto initial = Snapshot(folder_.Path());
  std::map<std::string, testing_support::FolderFiles> finished;
  for (const StopCase& c : EveryCommit(folder_.Path(), withPages)) {
    Restore(folder_.Path(), initial);
    ASSERT_FALSE(RunStopped(c, -1)) << c.name;
    const auto whole = Snapshot(folder_.Path());
    ASSERT_NE(whole, initial) << c.name;
    finished[c.name] = whole;
    const auto isWhole = [&](const testing_support::FolderFiles& now) {
      return now == initial || now == whole ||
             (c.alsoWhole != nullptr && now == finished[c.alsoWhole]);
    };
    int steps = 0;
    for (int k = 0;; ++k) {
      Restore(folder_.Path(), initial);
      const bool stopped = RunStopped(c, k);
      const std::string what = std::string(c.name) + " stopped after step " + std::to_string(k);
      OpenEveryArchive(what, c.dataFolder);
      EXPECT_TRUE(isWhole(Snapshot(folder_.Path()))) << what;
      // Stopped between the renames, then copied elsewhere: the copy is made whole by names. On
      // every other step a hard-link backup of the folder is made instead, which gives the record
      // and every file a second name: made whole the same, the backup left as it was.
      Restore(folder_.Path(), initial);
      RunStopped(c, k);
      if (HasRecord() && k % 2 == 0) {
        CopyFolderAnew();
        OpenEveryArchive(what + ", copied", c.dataFolder);
        EXPECT_TRUE(isWhole(Snapshot(folder_.Path()))) << what << ", copied";
      } else if (HasRecord()) {
        MakeLinkedBackup();
        const auto backup = Snapshot(folder_.Path().string() + ".bak");
        OpenEveryArchive(what + ", with a hard-link backup", c.dataFolder);
        EXPECT_TRUE(isWhole(Snapshot(folder_.Path()))) << what << ", with a hard-link backup";
        EXPECT_TRUE(Snapshot(folder_.Path().string() + ".bak") == backup) << what;
        RemoveLinkedBackup();
      }
      if (!stopped || HasFailure()) break;
      ++steps;
    }
    EXPECT_GE(steps, 6) << c.name;  // backups, record, renames, record dropped, backups dropped
    for (int n = 1, ended = 0; ended != kNotFired; ++n) {
      for (int k = 0; !HasFailure(); ++k) {
        Restore(folder_.Path(), initial);
        ended = RunFaulted(c, n, k);
        const std::string what = std::string(c.name) + " rename " + std::to_string(n) +
                                 " failed, stopped after step " + std::to_string(k);
        OpenEveryArchive(what, c.dataFolder);
        EXPECT_TRUE(isWhole(Snapshot(folder_.Path()))) << what;
        if (ended != kStopped) break;
      }
      if (HasFailure()) return;
    }
  }
  EXPECT_FALSE(prompts_.WasShown(kMsgBackupsKept));
}

TEST_F(ArchiveStopTest, ALastingRemovalFailureNeverLeavesImportOrConversionHalfDone) {
  // No file can be removed (one held open on a shared folder): the operation fails, and while
  // that lasts the archive opens whole or not at all; once it ends, it opens whole.
  MakeFiles();
  SetHoldsDataFolderLock(true);
  const auto initial = Snapshot(folder_.Path());
  for (const StopCase& c : EveryCommit(folder_.Path(), Chart())) {
    if (c.name != std::string("convert") && c.name != std::string("foreign_import")) continue;
    SCOPED_TRACE(c.name);
    Restore(folder_.Path(), initial);
    ASSERT_FALSE(RunStopped(c, -1));
    const auto whole = Snapshot(folder_.Path());
    Restore(folder_.Path(), initial);
    {
      P prompts;
      Archive archive(slots_);
      ASSERT_NE(archive.SetPath(PathOf("f.arc")), -1);
      ASSERT_EQ(archive.CreateIndex(), 0);
      ArmFault({FaultPoint::kNoRemoval, 0});
      EXPECT_NE(c.run(archive, prompts), 0);
      for (const char* name : {"f.arc", "x.arc"}) {
        const int layout = Archive::IfRealArchive(PathOf(name));
        const auto now = WithoutLeftovers(Snapshot(folder_.Path()));
        EXPECT_TRUE(layout == kCannotOpen || now == initial || now == whole) << name;
      }
      DisarmFault();
    }
    OpenEveryArchive(c.name, true);
    const auto now = WithoutLeftovers(Snapshot(folder_.Path()));
    EXPECT_TRUE(now == initial || now == whole);
  }
}

TEST_F(ArchiveStopTest, ARollBackThatCannotPutAFileBackKeepsItsBackupForTheNextOpening) {
  // Both files renamed in turn; after the first the folder turns read-only: the second rename
  // fails, and so does the rollback of the first.
  MakeFiles();
  const auto initial = Snapshot(folder_.Path());
  SetCommitStepHook([](int step) {
    if (step == 5)
      ArmFault({FaultPoint::kReadOnly, 0});  // start, 2 backups, record (2), 1st rename
  });
  {
    FileTransaction tx;
    tx.Rewrite(PathOf("f.arc")).Write("new archive");
    tx.Rewrite(PathOf("f.ar0")).Write("new texts");
    EXPECT_FALSE(tx.Commit().ok());
  }
  DisarmFault();
  SetCommitStepHook(nullptr);
  ASSERT_TRUE(prompts_.WasShown(kMsgBackupsKept));
  const std::string& text = prompts_.shown.back().text;
  EXPECT_NE(text.find(PathOf(".f.arc.velm-old-")), std::string::npos) << text;
  EXPECT_EQ(ReadFile(PathOf("f.arc")), "new archive");
  EXPECT_TRUE(std::filesystem::exists(CommitIntentPath(PathOf("f.arc"))));
  // The next opening puts the old archive back from its backup and clears the rest.
  EXPECT_EQ(Archive::IfRealArchive(PathOf("f.arc")), kLayout4400);
  EXPECT_EQ(Snapshot(folder_.Path()), initial);
}

TEST_F(ArchiveStopTest, LeftoversOfProcessesGoneAreClearedWhenTheFolderOrAnArchiveOpens) {
  MakeFiles();
  WriteFile(PathOf("velm.cfg"), "settings");
  const pid_t gone = ::fork();
  if (gone == 0) std::_Exit(0);
  ASSERT_EQ(::waitpid(gone, nullptr, 0), gone);
  const std::string dead = std::to_string(gone);
  const auto initial = Snapshot(folder_.Path());
  const struct {
    std::string file;
    bool lockHeld;
    bool dataFolder;  // opened: the data folder, else the archive f.arc
    bool removed;
    bool lockedElsewhere = false;  // another copy holds the folder's lock (reading it)
  } cases[] = {
      {".f.arc.velm-tmp-" + dead + "-Ab12Cd", true, false, true},  // a temporary of the archive
      {".f.ar4.velm-tmp-" + dead + "-Ab12Cd", true, false, true},  // of a comment file
      {"..f.arc.commit.velm-tmp-" + dead + "-Zz9Yy8", true, false, true},  // of an intent record
      // judged by the folder's lock, never by the process number it carries
      {".f.arc.velm-tmp-" + dead + "-Ab12Cd", false, false, true},
      {".f.arc.velm-tmp-1-Ab12Cd", true, false, true},
      {".t.arc.velm-tmp-" + dead + "-Ab12Cd", true, false, false},  // another archive's
      {".t.arc.velm-tmp-" + dead + "-Ab12Cd", true, true, true},    // the data folder's
      {".velm.cfg.velm-tmp-" + dead + "-Qw12Er", true, true, true},
      {".notes.velm-tmp-" + dead + "-Qw12Er", true, true, false},  // no file of the program
      {".f.ar0.velm-old-" + dead + "-3", false, false, true},
      {".f.ar0.velm-old-1-3", true, true, true},
      {".velm.cfg.velm-tmp-1-Qw12Er", false, true, false},  // without the data folder's lock
      // another copy works in the folder: its files may be live, whatever their number
      {".f.arc.velm-tmp-" + dead + "-Ab12Cd", true, false, false, true},
      {".f.ar0.velm-old-" + dead + "-3", true, true, false, true},
      {".f.arc.velm-old-" + dead + "-1", true, true, true},
      // The user's own hidden files, however like a leftover they look: no mark, no removal.
      {".f.arc.Ab12Cd", true, false, false},
      {".notes.txt.mine01", true, true, false},
      {".velm.cfg.backup", true, true, false},
      {".velm.cfg.mine01", true, true, false},
      {".f.ar0.old" + dead + "_3", true, true, false},
      {std::string(kFolderLockName), true, true, false},  // the folders' lock file, kept
  };
  for (const auto& c : cases) {
    const std::string& file = c.file;
    Restore(folder_.Path(), initial);
    WriteFile(PathOf(file), "left");
    SetHoldsDataFolderLock(c.lockHeld);
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t other = c.lockedElsewhere ? ::fork() : -1;
    if (other == 0) {
      const int dir = ::open(folder_.Path().c_str(), O_RDONLY | O_DIRECTORY);
      [[maybe_unused]] const ssize_t n = ::flock(dir, LOCK_SH) == 0 ? ::write(ready[1], "x", 1) : 0;
      for (;;) ::pause();
    }
    char byte = 0;
    if (other > 0) {
      ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    }
    if (c.dataFolder)
      RecoverDataFolder(folder_.Path());
    else
      EXPECT_EQ(Archive::IfRealArchive(PathOf("f.arc")), kLayout4400);
    if (other > 0) {
      ::kill(other, SIGKILL);
      ::waitpid(other, nullptr, 0);
    }
    for (int fd : ready) ::close(fd);
    EXPECT_EQ(std::filesystem::exists(PathOf(file)), !c.removed) << file;
    EXPECT_EQ(ReadFile(PathOf("f.ar0")), "C:0A:0B:0") << file;
  }
}

}  // namespace
}  // namespace archive_test
