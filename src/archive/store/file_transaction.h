// Several files replaced together: each new content is written beside its target through
// SafeRewrite; Commit() first keeps the old files under backup names (hard links), flushes every
// new file to the disk, writes an intent record naming every target, its new file and its backup,
// then renames the new files over the targets and removes the files to be removed, in the order
// given, and finally drops the intent record and the backups. When any step fails, every target
// already replaced is put back from its backup, so all the files are as they were.
//
// A process that stops between two renames (a crash, a kill, a power cut) leaves the intent record
// behind: the next opening of the archive (InspectArchiveFile) or of the data folder finishes the
// commit before anything is read (commit_recovery.h). Either way the files are the whole old state
// or the whole new one. The files of one commit are one archive with its comment files, or the
// page files of one chart's comment slot, all in one folder.
#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include "archive/store/commit_recovery.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/status.h"

class FileTransaction {
 public:
  FileTransaction() = default;
  ~FileTransaction();
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

  // All or nothing: error 105 when a temporary file could not be created, 104 for a failed write,
  // link or rename (the files are then as they were). When an old file could not be put back
  // either, message kMsgBackupsKept names the backups kept, and the intent record stays for the
  // next opening to finish the work.
  Status Commit();

 private:
  struct Item {
    std::filesystem::path given;           // as the caller named it
    std::filesystem::path target;          // the file replaced: `given` with its links followed
    std::unique_ptr<SafeRewrite> rewrite;  // null: remove the target
    std::filesystem::path backup;          // empty when the target did not exist
    bool existed = false;
    bool done = false;
  };
  // False when some old file could not be put back (its backup is kept and named in a message).
  bool RollBack();
  void DropBackups();
  std::vector<Item> items_;
  std::filesystem::path intent_;  // the intent record while the commit runs
};

// The intent record of the commits whose first archive (or, with none, first file) is `anchor`:
// ".NAME.commit" beside it (beside a link, not where the link leads: where the archive is opened).
std::filesystem::path CommitIntentPath(const std::filesystem::path& anchor);

// For tests: called with 0 as a commit begins and then with 1, 2, ... after each change it makes
// on the disk (a backup made, the intent record written, a file renamed or removed, the intent
// record removed, a backup dropped). A hook that ends the process there leaves what a crash would.
using CommitStepHook = void (*)(int step);
void SetCommitStepHook(CommitStepHook hook);
