// The program-wide chart archive: a facade over the parts that hold each responsibility of the
// archive, which it owns and wires together:
//   ArchiveIndex     the current file and the in-memory index of its records (archive_index.h);
//   RecentArchives   the recent-archive list "velm.arn" (recent_archives.h);
//   ArchiveRecords   reading records, the layout conversions and the operations on the marked
//                    records (archive_records.h);
//   ArchiveSaving    saving a chart into an archive (archive_saving.h);
//   ArchiveComments  the ten comment files of the records' texts (comments/archive_comments.h);
//   ArchiveSorting   the sort by classes (archive_sorting.h);
//   ArchiveQuery     searching and the results of a query (archive_query.h);
//   ArchiveImport    opening an archive or a converted file of another program
//                    (import/archive_import.h);
//   ArchiveExport    the export into a text format (export/archive_export.h).
// The operations most callers need are forwarded here; the others are reached through the part's
// accessor. The dynamic archive is written by WriteDynamicArchive (dynamic_archive.h).
//
// Every change is written through temporary files beside the files it replaces (FileTransaction):
// a failure at any step leaves the archive and its comment files as they were and the index in
// step with the file. Faults are reported through the error reporter with the operation's name;
// questions, file choices and messages go through the prompt service. Results follow the
// conventions of the callers: 0 (or a record number) for success, -1 for failure or refusal.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "archive/comments/archive_comments.h"
#include "archive/comments/comment_slots.h"
#include "archive/export/archive_export.h"
#include "archive/import/archive_import.h"
#include "archive/store/archive_index.h"
#include "archive/store/archive_index_entry.h"
#include "archive/store/archive_layout.h"
#include "archive/store/archive_options.h"
#include "archive/store/archive_query.h"
#include "archive/store/archive_records.h"
#include "archive/store/archive_saving.h"
#include "archive/store/archive_sorting.h"
#include "archive/store/list_lock.h"
#include "archive/store/recent_archives.h"
#include "astro/chart/chart.h"

class Archive;

// The archive browser dialogs, installed by the browser part.
class ArchiveBrowser {
 public:
  virtual ~ArchiveBrowser() = default;
  // Runs the browser of `variant` (2 with comments, 3 plain) modally on the archive's index and
  // marks: true for OK. A browser closed with Cancel sets the archive's browserVariant to 0 to ask
  // for the variant with comments, to 1 for the plain one.
  virtual bool Run(Archive& archive, int variant) = 0;
};

// The settings of the object (ArchiveOptions) are its public fields.
class Archive : public ArchiveOptions {
 public:
  static constexpr int kMaxRecentNames = RecentArchives::kMaxRecentNames;
  static constexpr std::size_t kMaxNameLength = RecentArchives::kMaxNameLength;
  using RecentState = RecentArchives::RecentState;

  // `slots` is the application's comment-slot table; it must outlive the archive.
  explicit Archive(CommentSlotTable& slots);
  ~Archive();
  Archive(const Archive&) = delete;
  Archive& operator=(const Archive&) = delete;

  // --- The parts ---
  ArchiveIndex& Index() { return index_; }
  const ArchiveIndex& Index() const { return index_; }
  RecentArchives& Recent() { return recent_; }
  ArchiveRecords& Records() { return records_; }
  ArchiveSaving& Saving() { return saving_; }
  ArchiveComments& Comments() { return comments_; }
  const ArchiveComments& Comments() const { return comments_; }
  ArchiveSorting& Sorting() { return sorting_; }
  ArchiveQuery& Query() { return query_; }
  const ArchiveQuery& Query() const { return query_; }
  ArchiveImport& Import() { return import_; }
  ArchiveExport& Export() { return export_; }

  // --- The file (see ArchiveIndex) ---
  static int IfRealArchive(const std::filesystem::path& path) {
    return ArchiveIndex::IfRealArchive(path);
  }
  static int IsArchiveFile(const std::filesystem::path& path) {
    return ArchiveIndex::IsArchiveFile(path);
  }
  static std::int64_t FileTimeOf(const std::string& path) { return ArchiveIndex::FileTimeOf(path); }
  // True when two paths name the same file (or, for files not there, the same normal path).
  static bool IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b);
  int SetPath(const std::string& path) { return index_.SetPath(path); }
  std::string GetPath() const { return index_.GetPath(); }
  std::string DialogFolder() const { return index_.DialogFolder(); }
  int LayoutCode() const { return index_.LayoutCode(); }
  bool IsDamaged() const { return index_.IsDamaged(); }
  std::int64_t FileTime() const { return index_.FileTime(); }
  int IsOpen() const { return index_.IsOpen(); }

  // --- The index (see ArchiveIndex) ---
  void FreeIndex() { index_.FreeIndex(); }
  int CreateIndex() { return index_.CreateIndex(); }
  bool IsIndexBuilt() const { return index_.IsIndexBuilt(); }
  int RecordCount() const { return index_.RecordCount(); }
  ArchiveIndexEntry& Entry(int n) { return index_.Entry(n); }
  const ArchiveIndexEntry& Entry(int n) const { return index_.Entry(n); }
  int HasComments(int n) const { return index_.HasComments(n); }
  void ClearMarks() { index_.ClearMarks(); }
  int MarkedCount() const { return index_.MarkedCount(); }

  // --- Opening ---
  // Start-up: the recent list, then the most recent archive that can be opened made current and
  // indexed (a name before it that cannot be opened is named in a message and kept).
  int Init();
  // Recent name i to the top of the list, and current; a name whose file is no archive now is
  // reported and left where it is.
  void SelectRecentArchive(int i);
  // Makes the archive `path` current and indexed, its name first in the recent list: 0; -1 after
  // message 477 (nothing changed) when it is no archive, or when its index cannot be built.
  int OpenByName(const std::string& path);

  // --- Reading (see ArchiveRecords) ---
  std::FILE* Open(const ListLock& lock) { return index_.Open(lock); }
  void Close(std::FILE* handle) { index_.Close(handle); }
  int Load(std::FILE* handle, Chart& chart, int n, CommentRefBlock* block = nullptr) {
    return records_.Load(handle, chart, n, block);
  }
  int LoadChart(Chart& chart, int n, bool withComments) {
    return records_.LoadChart(chart, n, withComments);
  }
  // Runs the browser until it is closed: -1 on cancel; with mode 0 the first marked record (-1 when
  // none; every mark cleared), with another mode 0 and the user's marks left set.
  int SelectChart(int mode);
  void SetBrowser(ArchiveBrowser* browser) { browser_ = browser; }

  // --- Saving a chart (see ArchiveSaving) ---
  int SaveToArchive(const Chart& chart) { return saving_.SaveToArchive(chart); }

 private:
  ArchiveIndex index_;
  RecentArchives recent_;
  ArchiveComments comments_;
  ArchiveRecords records_;
  ArchiveSaving saving_;
  ArchiveSorting sorting_;
  ArchiveQuery query_;
  ArchiveImport import_;
  ArchiveExport export_;
  ArchiveBrowser* browser_ = nullptr;
};
