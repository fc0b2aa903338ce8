// Finishing the commits of several files (FileTransaction) that a stopped process left half done,
// and removing what stopped saves left behind.
//
// A stopped commit leaves its intent record (commit_record.h) in the folder where its files are.
// The recovery takes the folder's lock (a record whose lock another copy holds belongs to a commit
// under way) and goes the one direction the record states: forward, every temporary file still
// there renamed over its target and every deletion done (a file removed only while its backup
// holds it); back, every old file put back from its backup and the new file of a target that was
// not there removed. Only a forward record whose new file is gone while the old file is still in
// place, or whose new file is not the user's own regular file, turns back, and the record says so
// before the first step. Every name is a bare name of that folder, acted on through the folder's
// handle: no link is ever followed. A record that is not whole, names a file outside its own
// commit, is anchored on anything but an archive or a comment page, is not a regular file or is
// too long is never acted on, and is judged by the disk: beside backups of its family (its
// renames may have begun) it stays with every file while the archive is refused and the backups
// named; without any it is set aside under a name of its own and the user told. A record of
// another user is never read, moved or linked: while it lies there the archive is refused, its
// owner named (that user's next opening takes it). A second name of a record (a hard-link backup
// of the folder) changes nothing. A recovery that cannot finish, cannot go back over a target
// that is now a link or another user's file, or cannot read its record now, keeps every file and
// its record for the next opening, and the archive is not read meanwhile.
//
// The clean-up removes only names that carry the program's mark (leftover_names.h), of processes
// no longer running, beside files the program writes, and none of the files of a commit family
// while a record of that family (or one set aside) is there.
#pragma once

#include <filesystem>

// Before `archive` is read: finishes or undoes the commit a stopped process left (a commit under
// way in another copy is left alone), then removes the leftovers of the archive and its comment
// files. An archive reached through a link is recovered where the file itself is. False when the
// archive must not be read now: its stopped commit could not be made whole (the user has been told
// why), or the path holds a NUL byte (the system's calls would take another file).
bool RecoverArchiveFiles(const std::filesystem::path& archive);
// The same for every intent record and every leftover of the data folder `folder`, when the
// program opens it holding its lock.
void RecoverDataFolder(const std::filesystem::path& folder);
// Set by the program once it holds the data folder's lock (no other copy of it writes beside the
// files it opens): temporary files of processes gone are then removed as well.
void SetHoldsDataFolderLock(bool held);

// Makes the commit of the intent record `record` whole, under its folder's lock. False when it
// could not be made whole now: every file is kept, and the archive is not to be read.
bool RecoverCommitRecord(const std::filesystem::path& record);
