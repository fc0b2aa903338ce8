// A process stopped in the middle of a commit: each operation run in a child process that the
// commit's step hook ends after a given step, as a kill would, and the folder opened afterwards as
// the next start would.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>

#include "archive/store/commit_record.h"
#include "archive/store/commit_recovery.h"
#include "archive/store/file_transaction.h"
#include "archive_fixture.h"
#include "foundation/files/leftover_names.h"
#include "support/ephemeris_tables.h"

namespace archive_test {

inline constexpr int kStopped = 77;   // the exit status of a child stopped by the step hook
inline constexpr int kNotFired = 78;  // of a child whose armed fault never happened
inline int g_stopAt = -1;
inline void StopAtStep(int step) {
  if (step == g_stopAt) std::_Exit(kStopped);
}
// Stops at the g_stopAt-th step after the armed fault happened (0: the first).
inline int g_afterFault = 0;
inline void StopAfterFault(int) {
  if (FaultFired() && g_afterFault++ == g_stopAt) std::_Exit(kStopped);
}

using P = testing_support::ScriptedPrompter;
struct StopCase {
  const char* name;
  std::function<int(Archive&, P&)> run;
  // A case whose finished state is also whole here (a move is a copy, then a deletion).
  const char* alsoWhole = nullptr;
  bool dataFolder = false;  // files of the data folder, made whole when the program starts
};

class ArchiveStopTest : public ArchiveTest {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(LoadEphemeris(testing_support::SourceDir() / "data" / "velm.str").ok());
  }
  void TearDown() override {
    SetCommitStepHook(nullptr);
    SetHoldsDataFolderLock(false);
    ArchiveTest::TearDown();
  }
  // Records C, A, B, each text beginning with its record's name; a second archive, a chart's
  // page files, a file to import over an archive and an archive to replace by a dynamic one.
  void MakeFiles() {
    WriteFile(PathOf("f.ar0"), "C:0A:0B:0");
    WriteFile(PathOf("f.ar4"), "C:4B:44");
    WriteFile(PathOf("f.arc"),
              ArchiveBytes(kLayout4400, {MakeChart("C"), MakeChart("A"), MakeChart("B")},
                           {Block({{0, 0, 3}, {4, 0, 3}}), Block({{0, 3, 3}}),
                            Block({{0, 6, 3}, {4, 3, 4}})}));
    WriteFile(PathOf("t.arc"), ArchiveBytes(kLayout4400, {MakeChart("T")}, {Block({{0, 0, 3}})}));
    WriteFile(PathOf("t.ar0"), "T:0");
    WriteFile(PathOf("Velm0090.txt"), "Bb:page zero");
    WriteFile(PathOf("Velm0093.txt"), "Bb:page three");
    WriteFile(PathOf("x.arc"), ArchiveBytes(kLayout4400, {MakeChart("Old")}, {Block({{0, 0, 5}})}));
    WriteFile(PathOf("x.ar0"), "Old:0");
    WriteFile(PathOf("x.cat"), "header\n|01.02.1990 13:45:30|New|Moskva|+030000554500N0373700E\n");
    WriteFile(PathOf("d.arc"), ArchiveBytes(kLayout4200, {MakeChart("D")}));
    WriteFile(PathOf("d.ar3"), "D:3");
  }

  // In a forked child: the archive opened as every walk opens it, then `body`, which ends it.
  template <typename Body>
  [[noreturn]] void InChild(Body body) {
    P prompts;
    Archive archive(slots_);
    archive.saveTargetMode = 0;
    archive.insertionMode = 1;
    if (archive.SetPath(PathOf("f.arc")) == -1 || archive.CreateIndex() != 0) std::_Exit(1);
    body(archive, prompts);
    std::_Exit(1);
  }

  // The exit status of the child process, once it ended (-1 when killed).
  static int ExitStatus(pid_t child) {
    int status = 0;
    const bool ended = ::waitpid(child, &status, 0) == child && WIFEXITED(status);
    return ended ? WEXITSTATUS(status) : -1;
  }

  // Runs the case in a child process that the step hook ends after step `stopAt` (never for -1):
  // true when it was stopped there, false when it ran to its end (and succeeded).
  bool RunStopped(const StopCase& c, int stopAt) {
    const int code = RunFaulted(c, 0, stopAt);
    EXPECT_TRUE(code == 0 || code == kStopped) << c.name << " step " << stopAt << " ended " << code;
    return code == kStopped;
  }

  // Runs the case in a child whose n-th rename or removal fails once (none for 0), ended after the
  // k-th step counted from that failure: its exit status (kStopped, kNotFired, 0, 2 for a failure).
  int RunFaulted(const StopCase& c, int n, int k) {
    const pid_t child = ::fork();
    if (child == 0)
      InChild([&](Archive& archive, P& prompts) {
        g_stopAt = k;
        SetCommitStepHook(n == 0 ? &StopAtStep : &StopAfterFault);
        if (n != 0) ArmFault({FaultPoint::kRename, n});
        const int result = c.run(archive, prompts);
        std::_Exit(n != 0 && !FaultFired() ? kNotFired : result == 0 ? 0 : 2);
      });
    return ExitStatus(child);
  }

  // The folder's files but intent records and the leftovers of processes gone, which a clean-up
  // may remove.
  static testing_support::FolderFiles WithoutLeftovers(testing_support::FolderFiles files) {
    std::erase_if(files, [](const auto& f) {
      return !CommitRecordAnchor(f.first).empty() ||
             ParseLeftoverName(f.first).kind != LeftoverKind::kNone;
    });
    return files;
  }
  // A second name for the folder's file `name`, as a commit's backup is.
  void LinkAs(const std::string& name, const std::string& backup) {
    ASSERT_EQ(::link(PathOf(name).c_str(), PathOf(backup).c_str()), 0) << backup;
  }

  // Whether a stopped commit left its intent record in the folder.
  bool HasRecord() const {
    for (const auto& e : std::filesystem::directory_iterator(folder_.Path()))
      if (e.path().filename().string().ends_with(".commit")) return true;
    return false;
  }
  // The folder replaced by a copy of itself ("cp -a", as a backup or a move to another disk
  // makes it): every file under a new inode number, hard links kept as links.
  void CopyFolderAnew() {
    const std::string folder = folder_.Path().string(), copy = folder + ".copy";
    const std::string command = "cp -a '" + folder + "' '" + copy + "' && rm -rf '" + folder +
                                "' && mv '" + copy + "' '" + folder + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
  }
  // A backup of the folder made beside it with hard links ("cp -al"): every file there, the
  // intent record too, gets a second name. The backup's folder lock is not taken along, so that
  // the folder's lock file keeps one name. Removed by RemoveLinkedBackup.
  void MakeLinkedBackup() {
    const std::string folder = folder_.Path().string();
    const std::string command = "cp -al '" + folder + "' '" + folder + ".bak' && rm -f '" + folder +
                                ".bak/" + std::string(kFolderLockName) + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
  }
  void RemoveLinkedBackup() { std::filesystem::remove_all(folder_.Path().string() + ".bak"); }
  // Every archive of the folder opened, as the next start would; each record's texts checked.
  void OpenEveryArchive(const std::string& what, bool dataFolder) {
    if (dataFolder) RecoverDataFolder(folder_.Path());
    for (const char* name : {"f.arc", "t.arc", "x.arc", "d.arc", "w.arc"}) {
      Archive archive(slots_);
      if (archive.SetPath(PathOf(name)) == -1) continue;
      ASSERT_EQ(archive.CreateIndex(), 0) << what << " " << name;
      for (int n = 0; n < archive.RecordCount(); ++n) {
        for (int k = 0; k < kCommentPages; ++k) {
          std::string text;
          if (!archive.Entry(n).comments.HasText(k)) continue;
          EXPECT_EQ(archive.Comments().LoadComment(n, k, text), 0)
              << what << " " << name << " " << n;
          EXPECT_EQ(text.rfind(archive.Entry(n).name + ":", 0), 0u)
              << what << " " << name << " record " << n << " page " << k << ": " << text;
        }
      }
    }
  }
};

inline int SaveAt(Archive& a, int n, int k, const char* text) {
  a.Comments().SetCommentText(text);
  return a.Comments().SaveComment(n, k);
}

}  // namespace archive_test
