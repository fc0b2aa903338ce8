// Two running copies of the program on one archive, each a process of its own: a list one copy
// keeps while the other changes the archive, reads and copies while the other is inside its
// commit, and a copy stopped while it holds the folder's lock.
#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <sstream>
#include <thread>

#include "archive/comments/chart_comments.h"
#include "archive/export/archive_export.h"
#include "archive/export/export_formats.h"
#include "archive/print/archive_print.h"
#include "archive/store/archive_browser_list.h"
#include "archive/store/archive_search.h"
#include "archive/store/archive_sort.h"
#include "archive_stop_fixture.h"
#include "foundation/messages/message_numbers.h"

namespace archive_test {
namespace {

namespace fs = std::filesystem;
using platform::Answer;
using Op = std::function<int(Archive&, P&)>;

// At step g_pauseAt of a commit: a byte on g_ready, then a wait for one on g_resume.
int g_ready = -1, g_resume = -1, g_pauseAt = -1;
constexpr int kNoStep = 1000;  // a step no commit reaches: the other copy writes g_ready itself
void PauseAtStep(int step) {
  if (step != g_pauseAt) return;
  [[maybe_unused]] ssize_t n = ::write(g_ready, "x", 1);
  char c = 0;
  n = ::read(g_resume, &c, 1);
}

int RowOf(const Archive& a, const std::string& name) {
  for (int n = 0; n < a.RecordCount(); ++n)
    if (a.Entry(n).name == name) return n;
  return -1;
}

std::vector<std::string> NamesOf(const Archive& a) {
  std::vector<std::string> names;
  for (int n = 0; n < a.RecordCount(); ++n) names.push_back(a.Entry(n).name);
  return names;
}

// Page k of record n, or "(unread)" when it cannot be read.
std::string TextAt(Archive& a, int n, int k) {
  std::string text;
  return a.Comments().LoadComment(n, k, text) == 0 ? text : "(unread)";
}

class TwoCopiesTest : public ArchiveStopTest {
 protected:
  // `other` run in another process on "f.arc" as it opens there: paused inside its commit at
  // step `at` (the lock held) until a byte comes on resume_, or (at -1) run to its end.
  pid_t OtherCopy(const Op& other, int at) {
    int ready[2];
    if (::pipe(ready) != 0 || ::pipe(resume_) != 0) return -1;
    const pid_t child = ::fork();
    if (child == 0)
      InChild([&](Archive& a, P& p) {
        g_ready = ready[1];
        g_resume = resume_[0];
        g_pauseAt = at;
        SetCommitStepHook(&PauseAtStep);
        std::_Exit(other(a, p) == 0 ? 0 : 2);
      });
    // The write end closed here: a child that ends without pausing ends the read.
    ::close(ready[1]);
    char c = 0;
    const bool paused = at < 0 || ::read(ready[0], &c, 1) == 1;
    ::close(ready[0]);
    return paused ? child : -1;
  }
  void Resume() { [[maybe_unused]] const ssize_t n = ::write(resume_[1], "x", 1); }
  void TearDown() override {
    for (int fd : resume_)
      if (fd >= 0) ::close(fd);
    ArchiveStopTest::TearDown();
  }
  // The folder as MakeFiles leaves it, with an archive "T" in the folder "sub", and "f.arc" listed
  // by this copy.
  Archive& Kept() {
    for (const auto& e : fs::directory_iterator(folder_.Path())) fs::remove_all(e.path());
    MakeFiles();
    fs::create_directory(PathOf("sub"));
    WriteFile(PathOf("sub/t.arc"), ArchiveBytes(kLayout4400, {MakeChart("T")}));
    archive_.insertionMode = 1;
    archive_.saveTargetMode = 0;
    EXPECT_NE(archive_.SetPath(PathOf("f.arc")), -1);
    EXPECT_EQ(archive_.CreateIndex(), 0);
    return archive_;
  }
  // The records of the folder's archive `name` as an opening lists them.
  std::vector<std::string> NamesIn(const std::string& name) {
    Archive a(slots_);
    EXPECT_NE(a.SetPath(PathOf(name)), -1) << name;
    EXPECT_EQ(a.CreateIndex(), 0) << name;
    return NamesOf(a);
  }
  // The other copy holding the folder's lock in `mode` until resumed; with `renameOver`, the lock
  // file renamed over while it is held, the new file locked as a copy coming after would lock it,
  // and the first let go.
  pid_t Holder(LockMode mode, bool renameOver) {
    const Op hold = [=, this](Archive&, P&) {
      std::optional<commit_detail::FolderLock> lock(std::in_place, folder_.Path(),
                                                    std::chrono::milliseconds(0), mode);
      if (!lock->Held() || ::write(g_ready, "x", 1) != 1) return 1;
      if (renameOver) {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));  // this copy waits
        const std::string name = PathOf(std::string(kFolderLockName));
        WriteFile(name + ".new", "");
        const int fd = ::open((name + ".new").c_str(), O_RDWR);
        struct flock range {};
        range.l_type = F_WRLCK;
        if (::rename((name + ".new").c_str(), name.c_str()) != 0 ||
            ::fcntl(fd, F_OFD_SETLK, &range) != 0)
          return 1;
        lock.reset();
      }
      char c = 0;
      return ::read(g_resume, &c, 1) == 1 ? 0 : 1;
    };
    return OtherCopy(hold, kNoStep);
  }
  int resume_[2] = {-1, -1};
  const Op copyWhole_ = [this](Archive& a, P&) {
    return a.Records().CopyWholeArchive(PathOf("w.arc"));
  };
};

constexpr const char* kOtherText = "C:a longer text of C";

// Page 0 of "C" as the browser's comment pane shows it, and as the printout of the archive
// prints it: 0 when it is the other copy's text.
int ShownText(Archive& a, P&) { return TextAt(a, RowOf(a, "C"), 0) == kOtherText ? 0 : -1; }
int PrintedText(Archive& a, P&) {
  ArchivePrintParams params;
  params.commentPages = {0, ArchivePrintParams::kNoPage};
  ArchivePrintList list;
  if (list.Build(a, params, COORD_CONF{}) != 0) return -1;
  const int row = RowOf(a, "C");
  return row >= 0 && list.Charts()[static_cast<std::size_t>(row)].comments[0] == kOtherText ? 0
                                                                                            : -1;
}

int TextOfB(Archive& a, P&) { return SaveAt(a, RowOf(a, "B"), 4, "B:mine"); }
int DeleteA(Archive& a, P&) { return a.Entry(RowOf(a, "A")).mark = 'Y', a.Records().Delete(false); }

// Every text of the list read (comment pane), every text printed, a chart loaded with its texts,
// the texts searched or exported: 0 when every one read begins with its record's name, -1 when
// refused, and 1 when one was another record's (read at a place of files half replaced).
int EveryTextShown(Archive& a, P&) {
  for (int n = 0; n < a.RecordCount(); ++n) {
    std::string text;
    if (!a.Entry(n).comments.HasText(0)) continue;
    if (a.Comments().LoadComment(n, 0, text) != 0) return -1;
    if (text.rfind(a.Entry(n).name + ":", 0) != 0) return 1;
  }
  return 0;
}
int EveryTextPrinted(Archive& a, P&) {
  ArchivePrintParams params;
  params.commentPages = {0, ArchivePrintParams::kNoPage};
  ArchivePrintList list;
  if (list.Build(a, params, COORD_CONF{}) != 0) return -1;
  for (const auto& chart : list.Charts())
    if (!chart.comments[0].empty() && chart.comments[0].rfind(chart.entry.name + ":", 0) != 0)
      return 1;
  return 0;
}
int LoadedWithTexts(Archive& a, P&) {
  Chart chart;
  const int n = RowOf(a, "B");
  if (a.LoadChart(chart, n, true) != n) return -1;
  std::string text;
  return ReadWholeFile(CommentFileName(chart, 0), text).ok() && text.rfind("B:", 0) == 0 ? 0 : 1;
}
int TextsSearched(Archive& a, P&) {
  ArchiveSearchCriteria criteria;
  criteria.comment = "B:";
  criteria.commentPage = 0;
  criteria.caseSensitive = true;
  ArchiveBrowserList list(a.Index());
  list.Refill();
  const ArchiveFindResult found =
      ArchiveFind(a.Index(), list, ArchiveMatcher(a.Index(), a.Comments(), criteria),
                  ArchiveFindMode::kAll, -1, 10);
  if (found.count == 0) return -1;
  return found.count == 1 && a.Entry(list.RecordOfRow(found.row)).name == "B" ? 0 : 1;
}

int TextsExported(Archive& a, P&) {
  ExportFormat format;  // a line a record: its name, ';', its first text
  format.extension = "txt";
  format.elements.resize(4);
  format.elements[1].kind = format.elements[3].kind = kExpSeparator;
  format.elements[2].kind = kExpComment;
  format.elements[2].maxCommentLength = ExportElement::kMaxCommentLength;
  format.elements[3].separator = '\n';
  AllExpFormats formats;
  formats.Append(format);
  const std::string out = (fs::path(a.GetPath()).parent_path() / "out.txt").string();
  std::string lines;
  if (a.Export().ExportArchive(out, 0, formats) < 0) return -1;
  if (!ReadWholeFile(out, lines).ok()) return 1;
  fs::remove(out);
  std::istringstream in(lines);
  for (std::string name, text; std::getline(in, name, ';') && std::getline(in, text);)
    if (!text.empty() && !text.starts_with(name + ":")) return 1;
  return 0;
}
// The sort by the Sun's longitude, read from every chart: 0, or -1 when refused.
int SortedByValue(Archive& a, P&) {
  ArchiveSortParams params;
  params.keys = {kSortBodyLongitude, kSortNone, kSortNone};
  const int result = a.Sorting().BreakToClasses(params);
  a.Sorting().FreeClasses();
  return result;
}

int SortInto(Archive& a, P& p, const std::string& target) {
  p.ExpectFile(target);
  ArchiveSortParams params;
  params.keys = {kSortName, kSortNone, kSortNone};
  params.newArchive = true;
  if (a.Sorting().BreakToClasses(params) != 0) return -1;
  const int result = a.Sorting().OrderClasses(params);
  a.Sorting().FreeClasses();
  return result;
}

TEST_F(TwoCopiesTest, AKeptListOfAnArchiveAnotherCopyChangedIsRefreshedNeverActedOn) {
  // Records C, A, B. The other copy changes the archive while this one keeps its list; this one's
  // change is then refused with its own message and the list read again; done again, it acts on
  // the record named.
  const std::pair<const char*, Op> others[] = {
      {"sort", [](Archive& a, P&) { return a.Records().Order(); }},
      {"move",
       [](Archive& a, P&) { return a.Entry(0).mark = 'Y', a.Records().ChartUpDown(false); }},
      {"retext", [](Archive& a, P&) { return SaveAt(a, 0, 0, kOtherText); }},
  };
  const struct {
    const char* name;
    Op mine;
    std::function<bool(Archive&)> done;
  } mine[] = {
      {"delete", DeleteA, [](Archive& a) { return RowOf(a, "A") < 0 && a.RecordCount() == 2; }},
      {"text", TextOfB, [](Archive& a) { return TextAt(a, RowOf(a, "B"), 4) == "B:mine"; }},
      {"save", [](Archive& a, P&) { return a.SaveToArchive(MakeChart("AB")); },
       [](Archive& a) { return RowOf(a, "AB") >= 0 && a.RecordCount() == 4; }},
      {"convert",
       [](Archive& a, P& p) { return p.Expect(510, Answer::Yes), a.Records().ConvertTo43(); },
       [](Archive& a) { return a.LayoutCode() == kLayout4200 && a.RecordCount() == 3; }},
  };
  for (const auto& [otherName, other] : others) {
    for (const auto& m : mine) {
      SCOPED_TRACE(std::string(otherName) + " then " + m.name);
      Archive& kept = Kept();
      ASSERT_EQ(ExitStatus(OtherCopy(other, -1)), 0);
      const auto changed = Snapshot(folder_.Path());
      prompts_.shown.clear();
      EXPECT_EQ(m.mine(kept, prompts_), -1);
      EXPECT_TRUE(prompts_.WasShown(kMsgArchiveChangedElsewhere));
      EXPECT_TRUE(Snapshot(folder_.Path()) == changed);
      EXPECT_EQ(Names(), NamesIn("f.arc"));
      EXPECT_EQ(m.mine(kept, prompts_), 0);
      EXPECT_TRUE(m.done(kept));
      OpenEveryArchive("kept list", false);
      prompts_.VerifyAllUsed();
      prompts_.shown.clear();
    }
  }
}

TEST_F(TwoCopiesTest, ACopyDeadInsideItsCommitIsNeverReadHalfDoneNorWrittenOver) {
  // The other copy re-texts C (its page 0 grows, the texts after it move) and ends at each step
  // of its commit. Each use of this copy's kept list acts on whole data, or is refused with 1912
  // (the stopped commit made whole, the list read again) and then done.
  const StopCase retext{"retext", [](Archive& a, P&) { return SaveAt(a, 0, 0, kOtherText); }};
  // Or it copies the archive whole into "w.arc", a new archive, and this copy then copies C into
  // "w.arc" (a new archive while there is none): its commit meets the other's record of its
  // target, which it makes whole, and is refused; the other's copy is never written over.
  const StopCase copiedWhole{"copy_whole", copyWhole_};
  const Op copyInto = [this](Archive& a, P&) {
    a.ClearMarks();
    a.Entry(RowOf(a, "C")).mark = 'Y';
    const int there = fs::exists(PathOf("w.arc")) ? 1 : 0;
    return a.Records().CopyToArchive(PathOf("w.arc"), there, kLayout4400, false, true, false);
  };
  const struct {
    const char* name;
    Op op;
    const StopCase* dead = nullptr;      // the re-text when none
    std::vector<std::string> then = {};  // a dead commit past its record: "w.arc" holds these
  } mine[] = {
      {"comment", EveryTextShown},
      {"print", EveryTextPrinted},
      {"load", LoadedWithTexts},
      {"search", TextsSearched},
      {"export", TextsExported},
      {"sort_by_value", SortedByValue},
      {"copy_whole", copyWhole_},
      {"sort_into_another", [this](Archive& a, P& p) { return SortInto(a, p, PathOf("w.arc")); }},
      {"text", TextOfB},
      {"delete", DeleteA},
      {"copy_into_the_dead_copys_target", copyInto, &copiedWhole, {"C", "A", "B", "C"}},
  };
  const auto recordThere = [this] {
    for (const auto& e : fs::directory_iterator(folder_.Path()))
      if (e.path().extension() == ".commit") return e.path();
    return fs::path();
  };
  for (const auto& m : mine) {
    bool stopped = true;
    for (int step = 1; stopped; ++step) {
      SCOPED_TRACE(std::string(m.name) + " after step " + std::to_string(step));
      Archive& kept = Kept();
      stopped = RunStopped(m.dead ? *m.dead : retext, step);
      const fs::path record = recordThere();
      if (!record.empty() && ::geteuid() == 0) {
        // The dead copy was another user's (the superuser plays that user): nothing is read or
        // written beside its record, which stays for its owner, whose opening makes it whole.
        ASSERT_EQ(::chown(record.c_str(), 65534, 65534), 0);
        const auto dead = Snapshot(folder_.Path());
        EXPECT_EQ(m.op(kept, prompts_), -1);
        EXPECT_TRUE(Snapshot(folder_.Path()) == dead);
        ASSERT_EQ(::chown(record.c_str(), 0, 0), 0);
      }
      prompts_.shown.clear();
      const int result = m.op(kept, prompts_);
      EXPECT_NE(result, 1) << "another record's text";
      EXPECT_FALSE(!record.empty() && HasRecord()) << "read beside a dead copy's record";
      EXPECT_EQ(result == -1, prompts_.WasShown(kMsgArchiveChangedElsewhere));
      EXPECT_EQ(result == -1 ? m.op(kept, prompts_) : 0, 0) << "done again";
      if (!record.empty() && !m.then.empty()) {
        EXPECT_EQ(NamesIn("w.arc"), m.then);
      }
      OpenEveryArchive(m.name, false);
      prompts_.VerifyAllUsed();
    }
  }
}

TEST_F(TwoCopiesTest, AnArchiveGoneUnderAKeptListIsToldInPlainWordsAndItsRowsKept) {
  // The other copy deletes every chart (the files go with the last one), or the user moves the
  // archive, while this copy keeps its list; or the other sorts it, and the sorted file is there
  // but cannot be read now: the list kept is of no file as it is, and never taken for the new one.
  const Op deleteAll = [](Archive& a, P&) {
    return a.Index().MarkAll(), a.Records().Delete(false);
  };
  const Op sort = [](Archive& a, P&) { return a.Records().Order(); };
  const struct {
    const char* how;
    std::function<void()> take;
    int told = kMsgArchiveGone;
  } gone[] = {
      {"emptied_by_the_other", [&] { ASSERT_EQ(ExitStatus(OtherCopy(deleteAll, -1)), 0); }},
      {"moved", [this] { fs::rename(PathOf("f.arc"), PathOf("moved.arc")); }},
      {"sorted_by_the_other_and_unreadable",
       [&] {
         ASSERT_EQ(ExitStatus(OtherCopy(sort, -1)), 0);
         ArmReadFault(PathOf("f.arc"));
       },
       kMsgArchiveUnreadable},
  };
  const std::pair<const char*, Op> mine[] = {
      {"list", [](Archive& a, P&) { return a.Index().ReadAgain() ? 0 : -1; }},
      {"load", LoadedWithTexts},
      {"comment", EveryTextShown},
      {"text", TextOfB},
      {"delete", DeleteA},
  };
  for (const auto& g : gone) {
    for (const auto& [name, op] : mine) {
      SCOPED_TRACE(std::string(g.how) + " then " + name);
      Archive& kept = Kept();
      g.take();
      prompts_.shown.clear();
      EXPECT_EQ(op(kept, prompts_), -1);
      EXPECT_TRUE(prompts_.WasShown(g.told));
      EXPECT_EQ(prompts_.shown.size(), 1u);
      EXPECT_EQ(NamesOf(kept), (std::vector<std::string>{"C", "A", "B"}));
      EXPECT_FALSE(kept.Index().IsCurrent());
      ArmReadFault({});
    }
  }
}

TEST_F(TwoCopiesTest, AFolderThatCannotBeLockedIsReadNeverChangedAndNoLockTurnsSilently) {
  Archive& kept = Kept();
  const auto before = Snapshot(folder_.Path());
  ArmFault({FaultPoint::kNoLock, 1});
  EXPECT_EQ(EveryTextShown(kept, prompts_), 0);
  EXPECT_EQ(EveryTextPrinted(kept, prompts_), 0);
  EXPECT_TRUE(prompts_.WasShown(kMsgFolderCannotLock));
  for (int attempt = 0; attempt < 2; ++attempt) {  // told each time
    prompts_.shown.clear();
    EXPECT_EQ(SaveAt(kept, 0, 0, "C:mine"), -1);
    EXPECT_TRUE(prompts_.WasShown(kMsgFolderCannotLock));
  }
  DisarmFault();
  // A change asked for while this thread holds the folder shared: never a conversion (another
  // copy could come in between), never a silent refusal.
  const ArchiveLock shared(PathOf("f.arc"), LockMode::kShared);
  prompts_.shown.clear();
  EXPECT_EQ(SaveAt(kept, 0, 0, "C:mine"), -1);
  EXPECT_TRUE(prompts_.WasShown(-kErrParameter));
  EXPECT_TRUE(Snapshot(folder_.Path()) == before);
}

TEST_F(TwoCopiesTest, ReadsAndCopiesWaitForTheOtherCopysCommitAndTakeItWhole) {
  // The other copy is inside its commit (between its renames, or before them), holding the lock;
  // it resumes within this one's wait. This one's reading, copy or sort takes the whole result.
  const Op retext = [](Archive& a, P&) { return SaveAt(a, 0, 0, kOtherText); };
  const Op saveThere = [this](Archive& a, P&) {
    return a.SetPath(PathOf("sub/t.arc")) < 0 || a.CreateIndex() != 0
               ? -1
               : a.SaveToArchive(MakeChart("N"));
  };
  const Op open = [](Archive& a, P&) { return a.CreateIndex(); };
  const Op sortInto = [this](Archive& a, P& p) { return SortInto(a, p, PathOf("w.arc")); };
  const auto copyThere = [this](bool move) -> Op {
    return [this, move](Archive& a, P& p) {
      a.Entry(0).mark = 'Y';
      if (move) p.Expect(kMsgDeleteChart, Answer::Yes);
      return a.Records().CopyToArchive(PathOf("sub/t.arc"), 1, kLayout4400, move, true, false);
    };
  };
  const std::vector<std::string> cab = {"C", "A", "B"}, ntc = {"N", "T", "C"};
  const struct {
    const char* name;
    const Op& other;
    Op mine;
    int at;
    const char* target;  // the archive that must hold every record afterwards
    std::vector<std::string> names;
    bool refreshed = false;  // its order is the list's: refused once, the list read again
  } cases[] = {
      {"open", retext, open, 5, "f.arc", cab},
      {"comment", retext, ShownText, 5, "f.arc", cab, true},
      {"print", retext, PrintedText, 5, "f.arc", cab, true},
      {"copy_whole", retext, copyWhole_, 5, "w.arc", cab},
      {"sort_into_another", retext, sortInto, 5, "w.arc", {"A", "B", "C"}, true},
      {"copy_into_another_folder", saveThere, copyThere(false), 0, "sub/t.arc", ntc},
      {"move_into_another_folder", saveThere, copyThere(true), 0, "sub/t.arc", ntc},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Archive& kept = Kept();
    const pid_t other = OtherCopy(c.other, c.at);
    ASSERT_GT(other, 0);
    std::thread resumer([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      Resume();
    });
    EXPECT_EQ(c.mine(kept, prompts_), c.refreshed ? -1 : 0);
    resumer.join();
    EXPECT_EQ(prompts_.WasShown(kMsgArchiveChangedElsewhere), c.refreshed);
    if (c.refreshed) {
      EXPECT_EQ(c.mine(kept, prompts_), 0);
    }
    EXPECT_EQ(ExitStatus(other), 0);
    EXPECT_FALSE(prompts_.WasShown(kMsgArchiveBusy));
    EXPECT_EQ(NamesIn(c.target), c.names);
    OpenEveryArchive(c.name, false);
    prompts_.shown.clear();
  }
}

TEST_F(TwoCopiesTest, ACopyStoppedHoldingTheLockKeepsTheOthersWaitingThenBusyAndLosesNothing) {
  Archive& kept = Kept();
  const pid_t other = OtherCopy([](Archive& a, P&) { return SaveAt(a, 1, 7, "A:other"); }, 0);
  ASSERT_GT(other, 0);
  ::kill(other, SIGSTOP);
  const auto held = Snapshot(folder_.Path());
  const std::pair<const char*, Op> tries[] = {
      {"open",
       [this](Archive&, P&) {
         Archive another(slots_);
         return another.SetPath(PathOf("f.arc")) < 0 ? -1 : another.CreateIndex();
       }},
      {"load",
       [](Archive& a, P&) {
         Chart chart;
         return a.LoadChart(chart, 0, true) == 0 ? 0 : -1;
       }},
      {"comment", ShownText},
      {"print", PrintedText},
      {"text", [](Archive& a, P&) { return SaveAt(a, 0, 0, "C:mine"); }},
      {"delete", [](Archive& a, P&) { return a.Entry(2).mark = 'Y', a.Records().Delete(false); }},
      {"copy_whole", copyWhole_},
      // Into another folder, whose lock nobody holds: the source's own lock keeps them waiting.
      {"copy_whole_into_another_folder",
       [this](Archive& a, P&) { return a.Records().CopyWholeArchive(PathOf("sub/w.arc")); }},
      {"sort_into_another_folder",
       [this](Archive& a, P& p) { return SortInto(a, p, PathOf("sub/w.arc")); }},
  };
  for (const auto& [name, attempt] : tries) {
    SCOPED_TRACE(name);
    prompts_.shown.clear();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(attempt(kept, prompts_), -1);
    EXPECT_GE(std::chrono::steady_clock::now() - start, commit_detail::kCommitWait);
    EXPECT_TRUE(prompts_.WasShown(kMsgArchiveBusy));
    EXPECT_TRUE(Snapshot(folder_.Path()) == held);
    kept.ClearMarks();
  }
  ::kill(other, SIGCONT);
  Resume();
  EXPECT_EQ(ExitStatus(other), 0);
  // The other copy's text is there; this one's list, found changed, is refreshed, and its text
  // saved again goes in beside it.
  EXPECT_EQ(SaveAt(kept, 0, 0, "C:mine"), -1);
  EXPECT_EQ(SaveAt(kept, 0, 0, "C:mine"), 0);
  EXPECT_EQ(TextAt(kept, 0, 0) + " " + TextAt(kept, 1, 7), "C:mine A:other");
}

TEST_F(TwoCopiesTest, TheLockFileKeepsTheOtherCopyOutWhereTheFolderFlockDoesNot) {
  // The other copy holds the folder's lock, or no lock can be had; this copy saves a chart.
  // kLocalFlock: the folder's flock keeps no other copy out, as on a network share.
  const struct {
    const char* name;
    std::optional<FaultPoint> fault;  // armed in both copies
    std::optional<LockMode> held;     // by the other copy
    bool renamedOver;
    int told;                 // the save is refused with this message
    bool secondName = false;  // the lock file has a second name (a hard-link backup of the folder)
  } cases[] = {
      {"share_change", FaultPoint::kLocalFlock, LockMode::kExclusive, false, kMsgArchiveBusy},
      {"share_read", FaultPoint::kLocalFlock, LockMode::kShared, false, kMsgArchiveBeingRead},
      {"local_read", std::nullopt, LockMode::kShared, false, kMsgArchiveBeingRead},
      {"renamed_over", FaultPoint::kLocalFlock, LockMode::kExclusive, true, kMsgArchiveBusy},
      {"no_lock", FaultPoint::kNoLock, std::nullopt, false, kMsgFolderCannotLock},
      {"second_name", FaultPoint::kLocalFlock, LockMode::kExclusive, false, kMsgArchiveBusy, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Archive& kept = Kept();
    prompts_.shown.clear();
    if (c.secondName) {
      ASSERT_TRUE(commit_detail::FolderLock(folder_.Path(), std::chrono::milliseconds(0)).Held());
      fs::create_hard_link(PathOf(std::string(kFolderLockName)), PathOf("backup.lock"));
    }
    if (c.fault) ArmFault({*c.fault, 1});
    const pid_t other = c.held ? Holder(*c.held, c.renamedOver) : 0;
    ASSERT_GE(other, 0);
    EXPECT_EQ(kept.SaveToArchive(MakeChart("N")), -1);
    EXPECT_TRUE(prompts_.WasShown(c.told));
    EXPECT_EQ(prompts_.shown.size(), 1u);
    if (other > 0) {
      Resume();
      EXPECT_EQ(ExitStatus(other), 0);
    }
    // A read goes on, where no lock can be had too; the save is done once the other let go.
    EXPECT_EQ(NamesIn("f.arc"), (std::vector<std::string>{"C", "A", "B"}));
    DisarmFault();
    EXPECT_EQ(kept.SaveToArchive(MakeChart("N")), 0);
  }
}

TEST_F(TwoCopiesTest, ALockFileMadeByTheFolderOrLeftByAnotherUserIsReadAndAChangeSaysWhy) {
  // The lock file made by this copy (umask 022), or what another user left under its name, then
  // taken by a user in a child process with the folder's flock made to keep out no copy: a read
  // is held through the lock file alone.
  constexpr uid_t kOther = 54321;  // a user and a group without a name
  constexpr gid_t kGroup = 54322;
  const std::string lock = PathOf(std::string(kFolderLockName)), dir = folder_.Path().string();
  const struct {
    const char* name;
    uid_t owner;  // the folder's, of the group kGroup
    mode_t mode;
    char put;  // 'm' made by this copy, 'w' by the last release (0666), 'r' root's 0644 file, or
               // another user's 'd' folder, 'p' pipe, 'l' link
    uid_t user;
    gid_t group;
    const char* got;  // the lock file's bits, owner, group; what the user could do
  } cases[] = {
      {"owner_only", 0, 0755, 'm', 0, 0, "644 0:0, read, changed"},
      {"group_setgid", 0, 02775, 'm', kOther, kGroup, "664 0:54322, read, changed"},
      {"group", 0, 0775, 'm', kOther, kGroup, "664 0:54322, read, changed"},
      {"sticky", 0, 01777, 'm', kOther, kOther, "666 0:54322, read, changed"},
      {"users_own", kOther, 0755, 'm', kOther, kOther, "644 54321:0, read, changed"},
      {"outside_the_group", 0, 02775, 'w', kOther, kOther, "666 0:54322, read, refused 1939 f.arc"},
      {"another_users_file", 0, 01777, 'r', kOther, kOther,
       "644 0:0, read, refused 1937 root .velm-folder.lock"},
      {"folder", 0, 01777, 'd', 0, 0,
       "755 54321:54321, not read, refused 1937 uid 54321 .velm-folder.lock"},
      {"pipe", 0, 01777, 'p', 0, 0,
       "644 54321:54321, not read, refused 1937 uid 54321 .velm-folder.lock"},
      {"link", 0, 01777, 'l', 0, 0,
       "777 54321:54321, not read, refused 1937 uid 54321 .velm-folder.lock"},
  };
  const mode_t umask = ::umask(022);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Kept();
    fs::remove(lock);  // as the list's reading made it
    ASSERT_EQ(::chown(dir.c_str(), c.owner, kGroup), 0);
    ASSERT_EQ(::chmod(dir.c_str(), c.mode), 0);
    if (c.put == 'm') {
      EXPECT_TRUE(commit_detail::FolderLock(dir, {}).Held());
    } else if (c.put == 'w' || c.put == 'r') {
      WriteFile(lock, "");
      ::chmod(lock.c_str(), c.put == 'w' ? 0666 : 0644);
    } else {
      if (c.put == 'd') fs::create_directory(lock);
      if (c.put == 'p') ::mkfifo(lock.c_str(), 0666);
      if (c.put == 'l') fs::create_symlink(PathOf("sub/made"), lock);
      EXPECT_EQ(::lchown(lock.c_str(), kOther, kOther), 0);
    }
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    if (::fork() == 0) {
      std::string got = "not dropped";
      if (c.user == 0 ||
          (::setgroups(0, nullptr) == 0 && ::setresgid(c.group, c.group, c.group) == 0 &&
           ::setresuid(c.user, c.user, c.user) == 0)) {
        ArmFault({FaultPoint::kLocalFlock, 1});
        got = commit_detail::FolderLock(dir, {}, LockMode::kShared).Held() ? "read" : "not read";
        prompts_.shown.clear();
        if (ArchiveLock(PathOf("f.arc")).Held()) got += ", changed";
        for (const auto& told : prompts_.shown) {
          got += ", refused " + std::to_string(told.number);
          for (const char* whose : {"root", "uid 54321"})
            if (told.text.find(Cp1251("пользователь ") + whose) != std::string::npos)
              got += std::string(" ") + whose;
          got += " " + fs::path(told.text.substr(told.text.rfind('\n') + 1))
                           .lexically_relative(dir)
                           .string();
        }
      }
      std::_Exit(::write(out[1], got.data(), got.size()) > 0 ? 0 : 1);
    }
    ::close(out[1]);
    char got[200] = {};
    EXPECT_GT(::read(out[0], got, sizeof got - 1), 0);
    ::close(out[0]);
    ::wait(nullptr);
    struct stat st {};
    ::lstat(lock.c_str(), &st);
    char bits[40];
    std::snprintf(bits, sizeof bits, "%o %u:%u, ", st.st_mode & 0777, st.st_uid, st.st_gid);
    EXPECT_EQ(bits + std::string(got), c.got);
    EXPECT_FALSE(fs::exists(PathOf("sub/made")));  // never made through a link
  }
  ::umask(umask);
}

TEST_F(TwoCopiesTest, AnotherCopyOpensAndSavesWhileADoneMessageIsShown) {
  const struct {
    const char* name;
    Op mine;
    int message;
  } cases[] = {
      {"convert",
       [](Archive& a, P& p) { return p.Expect(510, Answer::Yes), a.Records().ConvertTo43(); },
       kMsgConverted43},
      {"copy_whole", copyWhole_, kMsgArchiveCopied},
      {"export", TextsExported, kMsgExported},
      {"save_new",
       [this](Archive& a, P& p) {
         p.ExpectFile(PathOf("n.arc"));
         return a.Saving().SaveToNewArchive(MakeChart("N"), false);
       },
       kMsgChartSaved},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Archive& kept = Kept();
    const pid_t other = OtherCopy(
        [&](Archive&, P&) {
          Archive a(slots_);
          a.saveTargetMode = 0;
          char byte = 0;
          return ::read(g_resume, &byte, 1) == 1 && a.SetPath(PathOf("f.arc")) != -1 &&
                         a.CreateIndex() == 0 && a.SaveToArchive(MakeChart("O")) == 0
                     ? 0
                     : 1;
        },
        -1);
    int status = -2;  // the other copy's exit status, once it acted while the message was shown
    prompts_.watch = [&](int n) {
      if (n == c.message && status == -2) Resume(), status = ExitStatus(other);
    };
    EXPECT_EQ(c.mine(kept, prompts_), 0);
    prompts_.watch = nullptr;
    if (status == -2) Resume(), ExitStatus(other);
    EXPECT_EQ(status, 0);
    prompts_.VerifyAllUsed();
  }
}

}  // namespace
}  // namespace archive_test
