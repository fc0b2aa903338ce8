// Several files replaced together: each new content is written beside its target through
// SafeRewrite; Commit() takes the lock of the files' folder, keeps the old files under backup
// names (hard links), flushes every new file to the disk, writes an intent record naming every
// target, its new file and its backup (the commit point: from here the commit goes forward), then
// renames the new files over the targets and removes the files to be removed, in the order given,
// and finally drops the intent record and the backups. When a rename or removal fails, the record
// is first rewritten to say "back", then every target already replaced is put back from its
// backup, so all the files are as they were.
//
// A process that stops between two renames (a crash, a kill, a power cut) leaves the intent record
// behind: the next opening of the archive (InspectArchiveFile) or of the data folder takes it the
// way it says before anything is read (commit_recovery.h). Either way the files are the whole old
// state or the whole new one. The files of one commit are one archive with its comment files, or
// the page files of one chart's comment slot, all in one folder and named there: a file of them
// that is a link is refused, never followed.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "archive/store/commit_shared.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/status.h"

struct CommitRecord;

// The locks of the archives' folders an operation works in (commit_shared.h). Exclusive, for a
// change: held from the operation's check of the archive against its index to the end of its
// commit, so that no other copy of the program commits in between; every temporary file of an
// archive's files is made under it. Shared, for a read: held while the archive and its comment
// files are read, so that no commit of another copy is read half done. A second copy waits
// briefly, then is told that the archive is busy (kMsgArchiveBusy) and Held() is false. Where the
// folder cannot be locked, a message says why (TellLockRefused): a change is then refused
// (Held() false, told each time), a read goes on (told once per archive). The commits and reads
// of this thread within the operation take its locks again freely.
class ArchiveLock {
 public:
  explicit ArchiveLock(const std::filesystem::path& archive, LockMode mode = LockMode::kExclusive);
  // An operation on two archives (a copy, a sort into another archive): their folders' locks,
  // always taken in the order of the folders' device and inode numbers, so that two copies taking
  // the same two never wait for each other; one lock, in the stronger mode, for one folder.
  ArchiveLock(const std::filesystem::path& first, LockMode firstMode,
              const std::filesystem::path& second, LockMode secondMode);
  ~ArchiveLock();
  ArchiveLock(const ArchiveLock&) = delete;
  ArchiveLock& operator=(const ArchiveLock&) = delete;
  bool Held() const { return held_; }

 private:
  bool Take(const std::filesystem::path& archive, LockMode mode);
  std::vector<std::unique_ptr<commit_detail::FolderLock>> locks_;
  bool held_ = false;
};

class FileTransaction {
 public:
  FileTransaction() = default;
  ~FileTransaction() = default;
  FileTransaction(const FileTransaction&) = delete;
  FileTransaction& operator=(const FileTransaction&) = delete;

  // A new content for `target`; check Ok() of the result before writing. The same target given
  // twice gives the same rewrite; a removal of it asked for earlier is dropped.
  SafeRewrite& Rewrite(const std::filesystem::path& target);
  // `target` is deleted at commit (nothing when it does not exist then).
  void Remove(const std::filesystem::path& target);
  // True when a rewrite of `target` was asked for.
  bool Rewrites(const std::filesystem::path& target) const;
  bool Empty() const { return items_.empty(); }

  // All or nothing: kErrCannotCreate when a temporary file could not be created; kErrWrite for a
  // failed write, link or rename, a folder another copy of the program keeps busy (message
  // kMsgArchiveBusy) or a file of the commit that is a link (kMsgCommitFileIsLink);
  // kErrParameter for files that are not one archive's or one comment slot's. The files are then
  // as they were; when an old file could not be put back either, message kMsgBackupsKept names
  // the backups kept, and the intent record stays for the next opening, which puts the old files
  // back (see RollBack).
  Status Commit();

 private:
  struct Item {
    std::filesystem::path given;           // as the caller named it
    std::string name;                      // its name in the commit's folder
    std::unique_ptr<SafeRewrite> rewrite;  // null: remove the target
    std::string backup;                    // empty when the target did not exist
    bool done = false;
  };
  // Puts back every file already replaced; one that cannot be put back keeps its backup and the
  // record (saying back) for the next opening, and message kMsgBackupsKept names them.
  void RollBack(int folder, const std::filesystem::path& path, const std::string& record,
                CommitRecord& intent, int& step);
  void DropBackups(int folder);
  std::vector<Item> items_;
};

// The intent record of the commits whose archive (or, with none, first file) is `anchor`:
// ".NAME.commit" beside it.
std::filesystem::path CommitIntentPath(const std::filesystem::path& anchor);

// For tests: called with 0 as a commit begins and then with 1, 2, ... after each change it makes
// on the disk (a backup made, the intent record written, a file renamed or removed, the intent
// record removed, a backup dropped; in a rollback the record turned back and each file put back).
// A hook that ends the process there leaves what a crash would.
using CommitStepHook = void (*)(int step);
void SetCommitStepHook(CommitStepHook hook);
