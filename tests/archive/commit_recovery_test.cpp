// Stopped commits met later: by a second running copy of the program, by an opening whose rename
// fails or whose folder cannot be written, through a symbolic link; and intent records that are
// not the program's own, which must harm no file at all.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "archive/store/commit_record.h"
#include "archive_stop_fixture.h"
#include "foundation/files/leftover_names.h"
#include "foundation/messages/message_numbers.h"

namespace archive_test {
namespace {

namespace fs = std::filesystem;

// A comment save of record 0 (the archive and its comment file 0), stopped after its first rename.
constexpr int kAfterFirstRename = 5;
int SaveFirstPage(Archive& a, P&) { return SaveAt(a, 0, 0, "C:new"); }

bool Exists(const fs::path& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

int Count(const testing_support::ScriptedPrompter& prompts, int number) {
  int n = 0;
  for (const auto& shown : prompts.shown) n += shown.number == number ? 1 : 0;
  return n;
}

// A process id that no process has.
long DeadPid() {
  const pid_t gone = ::fork();
  if (gone == 0) std::_Exit(0);
  ::waitpid(gone, nullptr, 0);
  return gone;
}

// At step g_pauseAt: a byte on g_pipe, then a wait for one on g_resume (for ever if none).
int g_pipe = -1, g_resume = -1, g_pauseAt = 0;
void PauseAtStep(int step) {
  if (step != g_pauseAt) return;
  [[maybe_unused]] ssize_t n = ::write(g_pipe, "x", 1);
  char c = 0;
  if (g_resume < 0)
    for (;;) ::pause();
  n = ::read(g_resume, &c, 1);
}

class StoppedCommitTest : public ArchiveStopTest {
 protected:
  // The folder with the commit of `c` (the comment save) stopped between its renames after step
  // `at`, and the state it finishes in.
  void StopBetweenRenames(const StopCase* c = nullptr, int at = kAfterFirstRename) {
    if (c == nullptr) c = &save_;
    MakeFiles();
    initial_ = Snapshot(folder_.Path());
    ASSERT_FALSE(RunStopped(*c, -1));
    finished_ = Snapshot(folder_.Path());
    Restore(folder_.Path(), initial_);
    ASSERT_TRUE(RunStopped(*c, at));
    ASSERT_TRUE(HasRecord());
    stopped_ = Snapshot(folder_.Path());
    ASSERT_TRUE(stopped_ != initial_);
    ASSERT_TRUE(stopped_ != finished_);
  }
  int Open() const { return Archive::IfRealArchive(PathOf("f.arc")); }
  // What keeps a stopped commit from being made whole for a while: set(true) after the stop,
  // set(false) once it is gone.
  struct Cause {
    const char* name;
    std::function<void(bool)> set;
    int told = kMsgCommitNotFinished;
    bool lasting = true;             // still there when the program starts afresh
    bool turned = false;             // the recovery turns back before it stops: the end is old
    const StopCase* stop = nullptr;  // the comment save when none
    int at = kAfterFirstRename;
    const char* says = "";  // the message names this too
  };
  // An opening that cannot finish the commit refuses the archive and keeps every file; the next
  // one, with the cause gone, makes it whole.
  void ExpectKeptThenFinished(const Cause& cause) {
    SCOPED_TRACE(cause.name);
    StopBetweenRenames(cause.stop, cause.at);
    SetHoldsDataFolderLock(true);
    prompts_.shown.clear();
    cause.set(true);
    const auto armed = Snapshot(folder_.Path());
    EXPECT_EQ(Open(), kCannotOpen);
    if (cause.lasting) {
      RecoverDataFolder(folder_.Path());
      EXPECT_EQ(Open(), kCannotOpen);
      FileTransaction tx;  // nor is a commit made over it, or the record called in the way
      tx.Rewrite(PathOf("f.arc")).Write("new");
      EXPECT_FALSE(tx.Commit().ok());
    }
    EXPECT_FALSE(prompts_.WasShown(kMsgCommitRecordInTheWay));
    EXPECT_TRUE(cause.turned || Snapshot(folder_.Path()) == armed);
    cause.set(false);
    EXPECT_EQ(Count(prompts_, cause.told), 1);  // told once
    for (const auto& shown : prompts_.shown)
      EXPECT_TRUE(shown.number != cause.told || shown.text.find(cause.says) != std::string::npos);
    EXPECT_EQ(Open(), kLayout4400);
    OpenEveryArchive("made whole", true);
    EXPECT_TRUE(Snapshot(folder_.Path()) == (cause.turned ? initial_ : finished_));
  }

  // Another running copy saving `text` as record 0's page 0, paused at step `at`: its process id.
  pid_t PausedCopy(const char* text, int at, int resume) {
    int fds[2];
    if (::pipe(fds) != 0) return -1;
    const pid_t copy = ::fork();
    if (copy == 0)
      InChild([&](Archive& archive, P&) {
        g_pipe = fds[1];
        g_resume = resume;
        g_pauseAt = at;
        SetCommitStepHook(&PauseAtStep);
        std::_Exit(SaveAt(archive, 0, 0, text) == 0 ? 0 : 2);
      });
    char c = 0;
    const bool paused = ::read(fds[0], &c, 1) == 1;
    ::close(fds[0]);
    ::close(fds[1]);
    return paused ? copy : -1;
  }

  const StopCase save_{"comment_replaced", SaveFirstPage};
  const StopCase deletion_{
      "delete", [](Archive& a, P&) { return a.Entry(0).mark = 'Y', a.Records().Delete(false); }};
  testing_support::FolderFiles initial_, finished_, stopped_;
};

const auto kFault = [](FileFault f) { return [f](bool on) { on ? ArmFault(f) : DisarmFault(); }; };

TEST_F(StoppedCommitTest,
       ARecoveryThatCannotFinishOrReadItsRecordKeepsEverythingForTheNextOpening) {
  const fs::path record = PathOf(".f.arc.commit");
  std::string kept;  // the record's bytes while the cause lasts
  const auto damage = [&](std::string (*change)(std::string)) {
    return [&, change](bool on) {
      if (on) kept = ReadFile(record);
      WriteFile(record, on ? change(kept) : kept);
    };
  };
  const Cause causes[] = {
      {"a_rename_fails", kFault({FaultPoint::kRename, 1}), kMsgCommitNotFinished, false},
      {"the_record_cannot_be_read", [&](bool on) { ArmReadFault(on ? record : fs::path()); }},
      {"the_record_has_a_byte_changed",
       damage([](std::string t) { return t.replace(t.size() / 2, 1, "~"); }),
       kMsgDamagedRecordAfterStep},
      {"the_record_is_cut", damage([](std::string t) { return t.substr(0, t.size() - 30); }),
       kMsgDamagedRecordAfterStep},
      {"the_record_is_emptied", damage([](std::string) { return std::string(); }),
       kMsgDamagedRecordAfterStep},
      // The deletion stopped after its second rename; the new file of its third goes away, so
      // the recovery turns back, and its step back fails. Found again, the way back holds.
      {"a_new_file_lost_then_a_step_back_fails",
       [&](bool on) {
         for (const auto& [name, bytes] : stopped_)
           if (ParseLeftoverName(name).kind == LeftoverKind::kTemporary)
             on ? (void)fs::remove(PathOf(name)) : WriteFile(PathOf(name), bytes);
         kFault({FaultPoint::kRename, 2})(on);  // the one after the record's turn back
       },
       kMsgCommitNotFinished, false, true, &deletion_, 7},
      // Another user's copy stopped there (the superuser plays that user): nothing of it is done
      // here, its owner is named, and its owner's next opening finishes it.
      {"the_record_is_another_users",
       [&](bool on) { ASSERT_EQ(::chown(record.c_str(), on ? 65534 : 0, on ? 65534 : 0), 0); },
       kMsgRecordOfAnotherUser, true, false, nullptr, kAfterFirstRename, "nobody (uid 65534)"},
  };
  for (const Cause& cause : causes)
    if (::geteuid() == 0 || std::string(cause.name).find("another_user") == std::string::npos)
      ExpectKeptThenFinished(cause);
}

TEST_F(StoppedCommitTest, AFolderThatCannotBeWrittenIsNeverShownHalfChanged) {
  ExpectKeptThenFinished({"read_only", kFault({FaultPoint::kReadOnly, 0})});
  if (::geteuid() == 0) return;  // the superuser writes a read-only folder all the same
  // A folder made read-only for real, then writable again.
  Restore(folder_.Path(), stopped_);
  fs::permissions(folder_.Path(), fs::perms::owner_write, fs::perm_options::remove);
  EXPECT_EQ(Open(), kCannotOpen);
  fs::permissions(folder_.Path(), fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(Open(), kLayout4400);
}

TEST_F(StoppedCommitTest, ACommitUnderWayInAnotherCopyIsWaitedForNeverShownHalfDone) {
  // The other copy is between its renames; it is stopped there (SIGSTOP), holding the lock.
  MakeFiles();
  const auto initial = Snapshot(folder_.Path());
  const pid_t copy = PausedCopy("C:new", kAfterFirstRename, -1);
  ASSERT_GT(copy, 0);
  ::kill(copy, SIGSTOP);
  // This copy starts and opens the archive: it waits, then says busy, and changes nothing.
  const auto underWay = Snapshot(folder_.Path());
  SetHoldsDataFolderLock(true);
  RecoverDataFolder(folder_.Path());
  EXPECT_EQ(Open(), kCannotOpen);
  Archive archive(slots_);
  EXPECT_EQ(archive.SetPath(PathOf("f.arc")), -1);
  EXPECT_TRUE(prompts_.WasShown(kMsgArchiveBusy));
  EXPECT_TRUE(Snapshot(folder_.Path()) == underWay);
  ::kill(copy, SIGKILL);
  ::waitpid(copy, nullptr, 0);
  OpenEveryArchive("after the kill", true);
  EXPECT_FALSE(HasRecord());
  EXPECT_TRUE(Snapshot(folder_.Path()) != initial);  // finished, its texts checked above
}

TEST_F(StoppedCommitTest, TwoCopiesCommittingToOneArchiveLoseNoUpdateAndMixNoFile) {
  // The second copy lists the archive; the first saves a text and is paused inside its commit.
  // The second's save of another record waits for the first; finding the archive changed, it is
  // refused with its own message and the list read again, and the save made again keeps both.
  for (const bool resumed : {true, false}) {
    SCOPED_TRACE(resumed ? "the first resumes within the wait" : "the first stays paused");
    MakeFiles();
    Archive second(slots_);
    ASSERT_NE(second.SetPath(PathOf("f.arc")), -1);
    ASSERT_EQ(second.CreateIndex(), 0);
    int resume[2];
    ASSERT_EQ(::pipe(resume), 0);
    const pid_t first = PausedCopy("C:first", 0, resume[0]);
    ASSERT_GT(first, 0);
    std::thread resumer([&] {  // within the second one's wait for the lock, or after it
      std::this_thread::sleep_for(std::chrono::milliseconds(resumed ? 300 : 2500));
      [[maybe_unused]] const ssize_t n = ::write(resume[1], "x", 1);
    });
    EXPECT_EQ(SaveAt(second, 1, 7, "A:second"), -1);
    resumer.join();
    EXPECT_EQ(ExitStatus(first), 0);
    for (int fd : resume) ::close(fd);
    EXPECT_EQ(prompts_.WasShown(kMsgArchiveBusy), !resumed);
    EXPECT_EQ(prompts_.WasShown(kMsgArchiveChangedElsewhere), resumed);
    if (!resumed) {
      EXPECT_EQ(SaveAt(second, 1, 7, "A:second"), -1);
    }
    EXPECT_TRUE(prompts_.WasShown(kMsgArchiveChangedElsewhere));
    EXPECT_EQ(SaveAt(second, 1, 7, "A:second"), 0);
    OpenEveryArchive("two copies", true);
    std::string page0, page7;
    EXPECT_EQ(second.Comments().LoadComment(0, 0, page0), 0);
    EXPECT_EQ(second.Comments().LoadComment(1, 7, page7), 0);
    EXPECT_EQ(page0 + " " + page7, "C:first A:second");
    prompts_.shown.clear();
  }
}

TEST_F(StoppedCommitTest, AnArchiveReachedThroughALinkIsMadeWholeWhereItIsOpened) {
  // The archive with its comment files lies elsewhere; the data folder holds a link to it. Every
  // commit and its recovery happen where the files are, and the link stays a link.
  MakeFiles();
  testing_support::TempFolder elsewhere;
  for (const char* name : {"f.arc", "f.ar0", "f.ar4"}) fs::rename(PathOf(name), elsewhere / name);
  fs::create_symlink(elsewhere / "f.arc", PathOf("f.arc"));
  const auto initial = Snapshot(folder_.Path());
  const auto initialElsewhere = Snapshot(elsewhere.Path());
  const auto beside = [&] {  // the data folder's files but the link
    auto files = Snapshot(folder_.Path());
    files.erase("f.arc");
    return files;
  };
  const auto initialBeside = beside();
  SetHoldsDataFolderLock(true);
  const auto restore = [&] {
    Restore(folder_.Path(), initial);
    Restore(elsewhere.Path(), initialElsewhere);
    fs::remove(PathOf("f.arc"));
    fs::create_symlink(elsewhere / "f.arc", PathOf("f.arc"));
  };
  for (const StopCase& c : {save_, deletion_}) {
    restore();
    ASSERT_FALSE(RunStopped(c, -1)) << c.name;
    const auto whole = Snapshot(elsewhere.Path());
    ASSERT_NE(whole, initialElsewhere) << c.name;
    for (int k = 0;; ++k) {
      restore();
      const bool stopped = RunStopped(c, k);
      const std::string what = std::string(c.name) + " through a link, step " + std::to_string(k);
      OpenEveryArchive(what, k % 2 == 0);  // at the start, or at the archive's opening
      const auto now = Snapshot(elsewhere.Path());
      EXPECT_TRUE(now == initialElsewhere || now == whole) << what;
      EXPECT_TRUE(beside() == initialBeside) << what;
      EXPECT_TRUE(fs::is_symlink(PathOf("f.arc"))) << what;
      if (!stopped || HasFailure()) break;
    }
  }
}

TEST_F(StoppedCommitTest, ACommitOfTheEarlierVersionStoppedAfterAnyRenameReopensWhole) {
  // The first format kept new files as ".NAME.XXXXXX" and old ones as ".NAME.old<pid>_<n>", and
  // its record had no checksum; the second named them as today and sealed its record, with no
  // direction. Each of their renames done in turn, then the folder opened.
  MakeFiles();
  const auto initial = Snapshot(folder_.Path());
  ASSERT_FALSE(RunStopped(deletion_, -1));
  const auto whole = Snapshot(folder_.Path());
  const std::string dead = std::to_string(DeadPid());
  std::vector<std::pair<std::string, bool>> items;  // each file's name, and whether rewritten
  for (const auto& [name, bytes] : initial)
    if (!whole.contains(name) || whole.at(name) != bytes)
      items.emplace_back(name, whole.contains(name));
  ASSERT_EQ(items.size(), 3u);  // f.ar0, f.ar4, f.arc
  std::string backup;           // the last item's backup, as planted
  const auto plant = [&](int format, std::size_t renamed, const std::string& firstTarget) {
    Restore(folder_.Path(), initial);
    std::string record = "velm-commit " + std::to_string(format) + "\nowner 1 0\n";
    const std::string tmp = format == 1 ? ".Ab12Cd" : ".velm-tmp-" + dead + "-Ab12Cd";
    const std::string old = format == 1 ? ".old" + dead + "_" : ".velm-old-" + dead + "-";
    for (std::size_t i = 0; i < items.size(); ++i) {
      const auto& [name, rewrite] = items[i];
      const std::string temp = rewrite ? "." + name + tmp : "";
      backup = "." + name + old + std::to_string(i + 1);
      LinkAs(name, backup);
      if (rewrite) WriteFile(PathOf(temp), whole.at(name));
      if (i < renamed && rewrite) fs::rename(PathOf(temp), PathOf(name));
      if (i < renamed && !rewrite) fs::remove(PathOf(name));
      record += std::string(rewrite ? "R" : "D") + " 1 2 3\t" + (i == 0 ? firstTarget : name) +
                "\t" + temp + "\t" + backup + "\n";
    }
    WriteFile(PathOf(".f.arc.commit"), format == 1 ? record + "end\n" : SealCommitRecord(record));
  };
  SetHoldsDataFolderLock(true);
  testing_support::TempFolder outside;
  WriteFile(outside / "outside.txt", "the user's own");
  for (int format : {1, 2}) {
    for (std::size_t renamed = 0; renamed <= items.size(); ++renamed) {
      plant(format, renamed, items[0].first);
      const std::string what =
          "format " + std::to_string(format) + ", " + std::to_string(renamed) + " renamed";
      OpenEveryArchive(what, renamed % 2 == 0);
      EXPECT_TRUE(Snapshot(folder_.Path()) == whole) << what;
    }
    // One that names a file outside its folder, and of the first format one cut before its last
    // line "end" or naming a backup that does not end in digits: nothing is done, the archive is
    // not shown as the stop left it, and the message names the backups that hold the old archive.
    for (int change = 0; change < (format == 1 ? 3 : 1); ++change) {
      plant(format, 1, change == 0 ? (outside / "outside.txt").string() : items[0].first);
      std::string record = ReadFile(PathOf(".f.arc.commit"));
      if (change == 1) record.erase(record.size() - 4);
      if (change == 2) record.insert(record.find(backup) + backup.size(), "x");
      if (change == 2) fs::rename(PathOf(backup), PathOf(backup + "x"));
      WriteFile(PathOf(".f.arc.commit"), record);
      const auto stopped = Snapshot(folder_.Path());
      EXPECT_EQ(Open(), kCannotOpen) << format << change;
      RecoverDataFolder(folder_.Path());
      EXPECT_TRUE(Snapshot(folder_.Path()) == stopped) << format << change;
      EXPECT_EQ(ReadFile(outside / "outside.txt"), "the user's own");
      ASSERT_TRUE(
          prompts_.WasShown(change == 1 ? kMsgDamagedRecordAfterStep : kMsgFirstFormatRefused));
      EXPECT_NE(prompts_.shown.back().text.find(backup), std::string::npos) << format << change;
    }
  }
}

// --- Intent records that are not the program's own ---

// A record of the items "R target temp [backup]" or "D target backup".
std::string Record(std::initializer_list<std::vector<std::string>> items, bool back = false) {
  CommitRecord record;
  record.back = back;
  for (const auto& i : items)
    record.items.push_back({i[0] == "R", i[1], i[0] == "R" ? i[2] : "",
                            i.size() > 3 ? i[3] : (i[0] == "D" ? i[2] : ""), ""});
  return FormatCommitRecord(record);
}

TEST_F(StoppedCommitTest, IntentRecordsThatAreNotTheProgramsOwnHarmNoFile) {
  MakeFiles();
  WriteFile(PathOf("velm.cfg"), "settings");
  WriteFile(PathOf("notes.txt"), "the user's notes");
  testing_support::TempFolder outside;
  WriteFile(outside / "outside.txt", "the user's own");
  const long dead = DeadPid();
  // Files a received folder may hold, named as a commit names its new files and backups.
  const std::string tmp = ".velm-tmp-" + std::to_string(dead) + "-abcdef";
  const std::string old = ".velm-old-" + std::to_string(dead) + "-1";
  WriteFile(outside / (".outside.txt" + tmp), "planted");
  for (const std::string& name : {".t.arc" + tmp, ".f.arc" + tmp, ".velm.cfg" + tmp})
    WriteFile(PathOf(name), "planted");
  const auto initial = Snapshot(folder_.Path());
  const auto initialOutside = Snapshot(outside.Path());
  const fs::path record = PathOf(".f.arc.commit");
  const std::string own = Record({{"R", "f.arc", ".f.arc" + tmp}});
  // A comment file that is a link out of the folder, and a record whose other new file is gone
  // while its old file is in place: the recovery goes back, and the link's file was never the
  // commit's to remove.
  const auto linkedOut = [&](const std::string& stem, const fs::path& to) {
    fs::create_symlink(to, PathOf(stem + ".ar1"));
    LinkAs("f.ar0", "." + stem + ".ar0" + old);
    if (stem != "f") fs::copy_file(PathOf("f.ar0"), PathOf(stem + ".ar0"));
    WriteFile(PathOf("." + stem + ".arc.commit"),
              Record({{"R", stem + ".ar1", "." + stem + ".ar1" + tmp},
                      {"R", stem + ".ar0", "." + stem + ".ar0" + tmp, "." + stem + ".ar0" + old}}));
  };
  const auto chown = [](const fs::path& p) { ASSERT_EQ(::chown(p.c_str(), 12345, 12345), 0); };
  const std::string up = "../" + outside.Path().filename().string() + "/outside.txt";
  const struct {
    const char* name;
    std::string text;  // the record ".f.arc.commit", written after `plant` (none when empty)
    std::function<void()> plant = [] {};
    int told = kMsgCommitRecordSetAside;  // 0: made whole, no message
    const char* link = nullptr;           // a link of the folder that stays
    std::string kept = "";                // a backup that stays
    bool refused = false;   // the archive is not read, and the folder stays as planted
    const char* says = "";  // a refusal's message names this
  } cases[] = {
      {"absolute_path", Record({{"R", (outside / "outside.txt").string(), ".outside.txt" + tmp}})},
      {"parent_folder", Record({{"R", up, ".outside.txt" + tmp}})},
      {"another_archive", Record({{"R", "f.arc", ".f.arc" + tmp}, {"R", "t.arc", ".t.arc" + tmp}})},
      {"the_configuration", Record({{"D", "velm.cfg", ".velm.cfg" + old}})},
      {"anchored_on_the_configuration", "",
       [&] {
         WriteFile(PathOf(".velm.cfg.commit"), Record({{"R", "velm.cfg", ".velm.cfg" + tmp}}));
       }},
      {"anchored_on_a_users_file", "",
       [&] {
         LinkAs("notes.txt", ".notes.txt" + old);
         WriteFile(PathOf(".notes.txt.commit"), Record({{"D", "notes.txt", ".notes.txt" + old}}));
       }},
      {"a_temporary_of_another_file", Record({{"R", "f.arc", ".t.arc" + tmp}})},
      {"huge", std::string(kCommitRecordBytes + 1, 'x')},
      {"torn", own.substr(0, own.size() - 7)},
      // Sealed naming a new file that is not there; one byte changed, it names the planted one.
      {"a_byte_changed_under_its_checksum",
       [&] {
         std::string changed =
             Record({{"R", "f.arc", ".f.arc" + tmp.substr(0, tmp.size() - 1) + "g"}});
         changed[changed.find("-abcdeg") + 6] = 'f';
         return changed;
       }()},
      // "f.arx" ends like the archive's comment files but for its last character.
      {"a_file_named_like_a_comment_file", Record({{"D", "f.arx", ".f.arx" + old}}),
       [&] {
         WriteFile(PathOf("f.arx"), "the user's own");
         LinkAs("f.arx", ".f.arx" + old);
       }},
      {"a_link", "",
       [&] {
         WriteFile(outside / "record", own);
         fs::create_symlink(outside / "record", record);
       }},
      {"a_named_pipe", "", [&] { ASSERT_EQ(::mkfifo(record.c_str(), 0600), 0); }},
      // Beside a backup of the archive, as if it had taken a real record's place after a step.
      {"a_named_pipe_beside_a_backup", "",
       [&] {
         LinkAs("f.arc", ".f.arc" + old);
         ASSERT_EQ(::mkfifo(record.c_str(), 0600), 0);
       },
       kMsgDamagedRecordAfterStep, nullptr, ".f.arc" + old, true, ".f.arc.commit\n"},
      {"a_folder", "", [&] { fs::create_directory(record); }},
      // Whole and the archive's own, but another user's (only the superuser can make one here):
      // never moved nor linked (in a shared sticky folder a name could be made but not removed).
      {"another_users", "", [&] { WriteFile(record, own), chown(record); }, kMsgRecordOfAnotherUser,
       nullptr, "", true, ".f.arc.commit\nuid 12345"},
      // Whole and naming only the archive's own names, but its new file is a link out of the
      // folder, or another user's: it can never be finished.
      {"a_temporary_that_is_a_link", own,
       [&] {
         fs::remove(PathOf(".f.arc" + tmp));
         fs::create_symlink(outside / "outside.txt", PathOf(".f.arc" + tmp));
       },
       kMsgCommitCannotFinish},
      {"a_temporary_of_another_user", own, [&] { chown(PathOf(".f.arc" + tmp)); },
       kMsgCommitCannotFinish},
      {"a_comment_file_linked_out", "", [&] { linkedOut("f", outside / "outside.txt"); }, 0,
       "f.ar1"},
      {"a_comment_file_linked_up", "", [&] { linkedOut("f", up); }, 0, "f.ar1"},
      // Going back, a comment file that did not exist before the commit is removed only while it
      // is the content the commit made: the user's own is none of it.
      {"a_comment_file_the_commit_did_not_make", Record({{"R", "f.ar1", ".f.ar1" + tmp}}, true),
       [&] { WriteFile(PathOf("f.ar1"), "the user's texts"); }, 0},
      {"a_comment_file_linked_out_of_an_archive_not_there", "",
       [&] { linkedOut("g", outside / "outside.txt"); }, 0, "g.ar1"},
      // Going back, a comment file that is now a link is not replaced: the archive, half
      // changed, is refused until the link is moved away.
      {"a_comment_file_linked_out_going_back",
       Record({{"R", "f.ar4", ".f.ar4" + tmp, ".f.ar4" + old}}, true),
       [&] {
         fs::rename(PathOf("f.ar4"), PathOf(".f.ar4" + old));
         fs::create_symlink(outside / "outside.txt", PathOf("f.ar4"));
       },
       kMsgCommitCannotUndo, "f.ar4", ".f.ar4" + old, true, "/f.ar4\n"},
      // The folder copied without its hard links: the old comment file and its backup are two
      // files of the same bytes, its new file gone: the commit goes back, not half forward.
      {"a_new_file_lost_in_a_copy_without_links",
       Record({{"R", "f.arc", ".f.arc" + tmp, ".f.arc" + old},
               {"R", "f.ar0", ".f.ar0" + tmp, ".f.ar0" + old}}),
       [&] {
         for (const char* name : {"f.arc", "f.ar0"})
           fs::copy_file(PathOf(name), PathOf("." + std::string(name) + old));
       },
       0},
      {"ninety_nine_set_aside_before", own.substr(1),
       [&] {
         for (int n = 1; n <= 99; ++n)
           WriteFile(PathOf(".f.arc.commit.bad" + (n == 1 ? "" : std::to_string(n))), "");
       }},
  };
  SetHoldsDataFolderLock(true);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (std::string(c.name).find("another_user") != std::string::npos && ::geteuid() != 0) continue;
    Restore(folder_.Path(), initial);
    Restore(outside.Path(), initialOutside);
    c.plant();
    if (!c.text.empty()) WriteFile(record, c.text);
    const auto planted = WithoutLeftovers(Snapshot(folder_.Path()));
    const auto plantedOutside = Snapshot(outside.Path());
    const int told = Count(prompts_, c.told);
    // At the archive's opening, and at the start, and opened again.
    const int layout = c.refused ? kCannotOpen : kLayout4400;
    EXPECT_EQ(Open(), layout);
    RecoverDataFolder(folder_.Path());
    EXPECT_EQ(Open(), layout);
    EXPECT_TRUE(Snapshot(outside.Path()) == plantedOutside);
    EXPECT_TRUE(WithoutLeftovers(Snapshot(folder_.Path())) == planted);
    EXPECT_TRUE(c.link == nullptr || fs::is_symlink(PathOf(c.link)));
    EXPECT_TRUE(c.kept.empty() || Exists(PathOf(c.kept)));
    for (const char* name :
         {".f.arc.commit", ".g.arc.commit", ".velm.cfg.commit", ".notes.txt.commit"})
      EXPECT_EQ(Exists(PathOf(name)), c.refused && name == std::string(".f.arc.commit")) << name;
    EXPECT_EQ(Count(prompts_, c.told), told + (c.told != 0 ? 1 : 0));
    if (c.refused) {
      ASSERT_TRUE(prompts_.WasShown(c.told));
      EXPECT_NE(prompts_.shown.back().text.find(c.says), std::string::npos);
      EXPECT_FALSE(Exists(PathOf(".f.arc.commit.bad")));  // nothing moved or linked
      continue;
    }
    // Nothing blocks the archive's next change.
    Archive archive(slots_);
    ASSERT_NE(archive.SetPath(PathOf("f.arc")), -1);
    ASSERT_EQ(archive.CreateIndex(), 0);
    EXPECT_EQ(SaveAt(archive, 1, 7, "A:7"), 0);
  }
  // Where no name can be removed, a torn record linked aside once is never linked again, however
  // often it is opened: one name beside its own, named as in the way.
  Restore(folder_.Path(), initial);
  WriteFile(record, own.substr(0, own.size() - 7));
  ArmFault({FaultPoint::kNoRemoval, 0});
  for (int opening = 0; opening < 3; ++opening) Open();
  DisarmFault();
  int names = 0;
  for (const auto& e : fs::directory_iterator(folder_.Path()))
    names += e.path().filename().string().starts_with(".f.arc.commit") ? 1 : 0;
  EXPECT_EQ(names, 2);
  EXPECT_TRUE(prompts_.WasShown(kMsgCommitRecordInTheWay));
}

}  // namespace
}  // namespace archive_test
