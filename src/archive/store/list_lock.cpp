#include "archive/store/list_lock.h"

#include <system_error>

#include "archive/store/archive_index.h"
#include "archive/store/commit_recovery.h"
#include "foundation/errors/error_report.h"

namespace fs = std::filesystem;

ListLock::ListLock(ArchiveIndex& index, LockMode mode) : mode_(mode), path_(index.GetPath()) {
  Check(index, nullptr, mode, false);
}

ListLock::ListLock(ArchiveIndex& index, LockMode mode, const fs::path& other, LockMode otherMode,
                   bool filesOnly)
    : mode_(mode), path_(index.GetPath()) {
  Check(index, &other, otherMode, filesOnly);
}

void ListLock::Check(ArchiveIndex& index, const fs::path* other, LockMode otherMode,
                     bool filesOnly) {
  if (path_.empty()) return;
  // Without a list the files are read as they are once a stopped commit is made whole; a list is
  // never acted on once the files may differ from it.
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (other)
      lock_.emplace(path_, mode_, *other, otherMode);
    else
      lock_.emplace(path_, mode_);
    const bool built = index.IsIndexBuilt() && !filesOnly;
    if (!lock_->Held()) {
      // The archive's folder is gone with it: the list says so, never a silent refusal.
      std::error_code ec;
      lock_.reset();
      if (built && !fs::exists(path_, ec) && !ec) index.ReadAgain();
      return;
    }
    if (built ? index.IsCurrent() : !index.RecordLeft()) {
      ok_ = true;
      return;
    }
    // The shared lock is let go: the stopped commit is made whole under the exclusive one.
    lock_.reset();
    if (built) {
      index.ReadAgain();
      return;
    }
    if (!RecoverArchiveFiles(path_)) return;
  }
  // A stopped commit made whole, and another found in its place at once: never a silent refusal.
  ReportError(kErrCannotOpen, "ListLock", 0);
}
