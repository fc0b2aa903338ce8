// Finishing the commits of several files (FileTransaction) that a stopped process left half done,
// and removing what stopped saves left behind.
//
// A stopped commit leaves its intent record (commit_record.h). Its files are found by their names
// alone: the record is whole on the disk before the first rename and the new files before it, so
// the commit is finished by renaming every temporary file still there over its target, doing the
// deletions, then dropping the backups and the record. Only when a new file is gone while the
// old one is still in place (its backup still the same file) is the commit undone from the
// backups instead. A record that is not whole, names a file outside its own commit, is not the
// user's own regular file or is too long is never acted on: it is set aside under a name of its
// own and the user told once. A recovery that cannot finish keeps every file and its record for
// the next opening, and the archive is not read meanwhile.
//
// The clean-up removes only names that carry the program's mark (leftover_names.h), of processes
// no longer running, beside files the program writes, and none of the files of a commit family
// while a record of that family (or one set aside) is there.
#pragma once

#include <filesystem>

// Before `archive` is read: finishes or undoes the commit a stopped process left (a commit still
// running in a live process is left alone), then removes the leftovers of the archive and its
// comment files. False when the archive must not be read now: its stopped commit could not be
// made whole (the user has been told why).
bool RecoverArchiveFiles(const std::filesystem::path& archive);
// The same for every intent record and every leftover of the data folder `folder`, when the
// program opens it holding its lock.
void RecoverDataFolder(const std::filesystem::path& folder);
// Set by the program once it holds the data folder's lock (no other copy of it writes beside the
// files it opens): temporary files of processes gone are then removed as well.
void SetHoldsDataFolderLock(bool held);

enum class RecordRecovery {
  kNone,        // no record
  kDone,        // the commit is whole and its record gone
  kLive,        // a running commit's: left alone
  kUnfinished,  // could not be made whole: every file kept for the next opening
  kSetAside,    // not acted on (not whole, foreign, not a regular file of the user's)
};
// Makes the commit of the intent record `record` whole; the caller holds no recovery lock.
RecordRecovery RecoverCommitRecord(const std::filesystem::path& record);
