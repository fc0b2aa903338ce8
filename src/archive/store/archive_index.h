// The current archive file and the in-memory index of its records: the path, layout and
// last-write time of the file, the index entries with their selection marks, and the shared steps
// of the operations that read or rewrite the file (the damaged-file refusal, the index check, the
// rewrite in a new order).
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/store/archive_index_entry.h"
#include "archive/store/archive_layout.h"
#include "astro/chart/chart.h"
#include "platform/core/progress_sink.h"
#include "platform/core/prompter.h"

class ListLock;

// The filters of the archive's file dialogs: archives of versions 4 and 5 (a save target or an
// archive to open), of version 4 (a new archive or a copy), or of any version (a sorted copy).
enum class ArchiveFilter { kVersions45, kVersion4, kAnyVersion };

// The description of a filter, code page 1251, its pattern included.
std::string ArchiveFilterText(ArchiveFilter filter);

// A file dialog of archives: `open` chooses an existing name, else a name to write; `start` is the
// folder (ending in '/') or the file the dialog begins at.
platform::FileChoice ArchiveFileChoice(bool open, ArchiveFilter filter, std::string start);

// A file chosen by a bare name (no folder) lies in `folder` (ending in '/'), where the file
// dialog began: the name as a file dialog of the data folder reads it, not in the working folder.
std::string InDialogFolder(std::string chosen, const std::string& folder);

class ArchiveIndex {
 public:
  ArchiveIndex();
  ArchiveIndex(const ArchiveIndex&) = delete;
  ArchiveIndex& operator=(const ArchiveIndex&) = delete;

  // Progress of the long operations (index, order, insertion with comments); not owned.
  void SetProgress(platform::ProgressSink* sink);
  platform::ProgressSink& Progress() const { return *progress_; }

  // --- The file ---
  // Layout code of a file: 2, 5 or 7; 3 when it is no archive; -1 when it cannot be opened.
  static int IfRealArchive(const std::filesystem::path& path);
  // 1 when the file exists and is an archive, else 0.
  static int IsArchiveFile(const std::filesystem::path& path);
  // The last-write time of a file now, as FileTime() keeps it; 0 when it cannot be read.
  static std::int64_t FileTimeOf(const std::string& path);
  // Makes an archive current and returns its layout code; -1 (nothing changed) for a file that is
  // no archive. A file that cannot be opened yet (a new name) becomes current with code -1. An
  // archive reached through a link becomes current where the file itself is (GetPath names it).
  int SetPath(const std::string& path);
  // A name for a new archive made current: no index, nothing read (the file is written later).
  void SetNewPath(const std::string& path);
  const std::string& GetPath() const { return path_; }
  // Where the archive's file dialogs begin: the current archive's folder, or the data folder while
  // there is no current archive (both ending in '/').
  std::string DialogFolder() const;
  int LayoutCode() const { return layout_; }
  // The layout of the file after it was rewritten whole in another one.
  void SetLayout(int layout) { layout_ = layout; }
  // True when the current file's header disagrees with its length: it is read but never rewritten.
  bool IsDamaged() const { return damaged_; }
  // The last-write time of the current file as last seen (nanoseconds since the epoch).
  std::int64_t FileTime() const { return fileTime_; }
  // Takes the current file as the one the index describes: only after this operation's own
  // commit, under the exclusive lock under which the index was compared with the file.
  void RefreshFileTime();
  // True when the current file is still the one the index was read from (its device, inode,
  // last-write time and size), no intent record of its commits lies beside it, and the list was
  // not kept after a failed reading (ReadAgain): no other copy of the program has changed it since.
  bool IsCurrent() const;
  // An intent record of the archive's commits lies beside it: under the folder's lock, a commit a
  // stopped copy left half done (its comment files may be new while the archive is old).
  bool RecordLeft() const;
  // The list read again after IsCurrent() found it stale, never under this thread's shared lock
  // of the folder (the stopped commit of another copy is made whole first, under the exclusive
  // one). Read: message kMsgArchiveChangedElsewhere, true. Not read: the list shown is kept as it
  // was, marked as not current (every action on it is refused until it is read), message
  // kMsgArchiveGone when the archive is no longer there, else kMsgArchiveUnreadable, and false.
  // Without `tellRead` a list read is not told (a window opening shows it as it is).
  bool ReadAgain(bool tellRead = true);
  // 1 when an archive is open: a current file with an index built.
  int IsOpen() const { return indexBuilt_ ? 1 : 0; }
  // The current file opened for reading under `lock` (nullptr after error 102 "Archive::Open",
  // or for a lock not held or a list found stale).
  std::FILE* Open(const ListLock& lock);
  // The current file, or its comment file `page` (0..9), opened for reading under `lock`:
  // nullptr, not reported, for a lock not held, of another archive or over a stale list, and for
  // a file that cannot be opened. Every read of the archive's files passes a ListLock.
  std::FILE* OpenUnder(const ListLock& lock, int page = -1) const;
  void Close(std::FILE* handle);
  // Reads record n of an open file: n, or -1 after the error is reported under `trace`.
  int ReadRecord(std::FILE* f, int layout, int n, Chart& chart, CommentRefBlock& block,
                 const char* trace) const;
  // 1 when comment file k of the current archive exists.
  int CommentFileExists(int k, std::filesystem::path* path = nullptr) const;

  // --- The index ---
  int InitIndex(int count);
  void FreeIndex();
  // Rebuilds the whole index from the current file, read under the folder's shared lock (a
  // commit of another copy under way is waited for, never read half done): 0, or -1 after an
  // error report or message kMsgArchiveBusy.
  int CreateIndex();
  // The index of a file just written with the one record `entry` in `layout`.
  void SetSingleRecord(int layout, const ArchiveIndexEntry& entry);
  bool IsIndexBuilt() const { return indexBuilt_; }
  // Counts the readings of the index from the file: a list kept beside it sees that it was read
  // anew (after another copy of the program changed the file).
  int Readings() const { return readings_; }
  int RecordCount() const { return count_; }
  // The number of records the file holds after a change, ahead of the index's own update.
  void SetRecordCount(int count) { count_ = count; }
  int IndexCapacity() const { return capacity_; }
  ArchiveIndexEntry& Entry(int n) { return index_[static_cast<std::size_t>(n)]; }
  const ArchiveIndexEntry& Entry(int n) const { return index_[static_cast<std::size_t>(n)]; }
  std::vector<ArchiveIndexEntry>& Entries() { return index_; }
  const std::vector<ArchiveIndexEntry>& Entries() const { return index_; }
  // 1 when entry n has a text on any page.
  int HasComments(int n) const;
  // Sets every selection mark to 'N'.
  void ClearMarks();
  // Every mark 'Y'; every mark turned over; the number of records marked 'Y'.
  void MarkAll();
  void InvertMarks();
  int MarkedCount() const;
  // The first record whose name begins with exactly `c`; -1 when none.
  int FindByInitial(char c) const;
  // 1 when some record's name sorts before the name before it, else 0.
  int NeedsOrdering() const;

  // --- Shared steps of the rewrites ---
  // Message 524 and true for a damaged (read-only) archive.
  bool RefuseIfDamaged() const;
  // Message 527 and true for a code that is no layout (a layout number such as 4400 given instead).
  static bool RefuseUnknownLayout(int layout);
  // True when the index describes the current file record for record, read from the file as it
  // is now (no other copy of the program has changed it since). Called under the exclusive
  // ArchiveLock. An index of a file another copy changed is read again (ReadAgain); one that
  // disagrees with the file otherwise is error 106.
  bool IndexMatchesFile(const char* trace);
  // Rewrites the current file with its records in `order` (record numbers): 0, or -1 reported.
  int RewriteInOrder(const std::vector<int>& order, const char* trace);
  // The index reordered after the file was rewritten in `order`; every mark cleared.
  void ReorderIndex(const std::vector<int>& order);

 private:
  platform::ProgressSink* progress_;
  std::vector<ArchiveIndexEntry> index_;
  bool indexBuilt_ = false;
  int capacity_ = 0;
  std::string path_;
  std::int64_t fileTime_ = 0;
  // The file the index was read from, with fileTime_.
  unsigned long long fileDevice_ = 0, fileInode_ = 0;
  std::int64_t fileSize_ = -1;
  int layout_ = kNotArchive;
  bool damaged_ = false;
  int count_ = 0;
  int readings_ = 0;
  bool stale_ = false;  // kept after a reading that failed: of no file as it is now
  bool quiet_ = false;  // a reading again: its failure is told once, by ReadAgain

  int ReadIndex();
};
