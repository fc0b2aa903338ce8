// The lock under which an archive's records and texts are read or changed, with the kept list
// checked under it. Every function that reads an archive's file or its comment files takes one
// (ArchiveIndex::Open and OpenUnder, ArchiveComments::ReadComment, ArchiveTexts, the rewrite of
// an archive into another, ArchiveRewrite), so that a reader that forgets the lock, or takes it
// without checking the list, does not compile.
//
// The check: the list is of the file as it is now, and no intent record of the archive's commits
// lies beside it. Under the lock a record is never a commit under way: it is what a copy of the
// program stopped inside its commit left, whose files may be half replaced (the comment files
// renamed before the archive). The lock is then let go, the stopped commit made whole under the
// exclusive lock and the list read again (message kMsgArchiveChangedElsewhere); a list that cannot
// be read again is kept, marked as not current, and the user told why (ArchiveIndex::ReadAgain).
// Either way Ok() is false and the action asked for is not done: done again, it acts on the list
// as it is now.
#pragma once

#include <filesystem>
#include <optional>

#include "archive/store/file_transaction.h"

class ArchiveIndex;

class ListLock {
 public:
  // The lock of the index's archive in `mode`.
  ListLock(ArchiveIndex& index, LockMode mode);
  // With the lock of a second archive (a copy or sort into it): both taken in the folders' order.
  // With `filesOnly` the files are read without the list (a copy of the whole archive): only a
  // stopped commit is looked for, and made whole before they are read.
  ListLock(ArchiveIndex& index, LockMode mode, const std::filesystem::path& other,
           LockMode otherMode, bool filesOnly = false);
  ListLock(const ListLock&) = delete;
  ListLock& operator=(const ListLock&) = delete;

  // Held, and the list (when there is one) is of the files as they are now.
  bool Ok() const { return ok_; }
  // The archive it was taken for.
  const std::string& Path() const { return path_; }

 private:
  void Check(ArchiveIndex& index, const std::filesystem::path* other, LockMode otherMode,
             bool filesOnly);
  std::optional<ArchiveLock> lock_;
  LockMode mode_;
  std::string path_;
  bool ok_ = false;
};
