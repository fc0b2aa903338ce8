// The program-wide chart archive: the current archive file, the in-memory index of its records,
// the recent-archive list "velm.arn", the operations that read and change the archive and its ten
// comment files, and the query results that the conditions subsystem hands to the browser.
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
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "archive/comments/comment_slots.h"
#include "archive/store/archive_index_entry.h"
#include "archive/store/archive_layout.h"
#include "astro/chart/chart.h"
#include "platform/core/progress_sink.h"
#include "platform/core/prompter.h"

class AllExpFormats;
class Archive;
class ChartContext;
class FileTransaction;
struct ArchiveSearchCriteria;
struct ArchiveSortClasses;
struct ArchiveSortParams;
class SafeRewrite;

// One query hit: a copy of the record's index entry (its comment references intact), the record's
// number in its archive and the number of that archive among the searched archives.
struct SelectedRecordNode {
  ArchiveIndexEntry entry;
  int record = 0;
  int archive = 0;
  int RecordNumber() const { return record; }
  int ArchiveNumber() const { return archive; }
};

// One archive searched by a query: its path and the last-write time seen then.
struct SearchedArchive {
  std::string path;
  std::int64_t fileTime = 0;
};

// The conversion of other programs' chart files into archives, installed by the import part.
class ForeignChartImporter {
 public:
  virtual ~ForeignChartImporter() = default;
  // The type of a file: 2, 5, 7 an archive of that layout; 0, 1, 6, 8..12 a file it converts;
  // anything else a file it cannot read.
  virtual int DefineFileType(const std::string& path) = 0;
  // Converts a file of `type` into a new archive whose path it gives: 0, or -1.
  virtual int ConvertToArchive(const std::string& source, std::string& archive, int type) = 0;
};

// The archive browser dialogs, installed by the browser part.
class ArchiveBrowser {
 public:
  virtual ~ArchiveBrowser() = default;
  // Runs the browser of `variant` (2 with comments, 3 plain) modally on the archive's index and
  // marks: true for OK. A browser closed with Cancel sets the archive's browserVariant to 0 to ask
  // for the variant with comments, to 1 for the plain one.
  virtual bool Run(Archive& archive, int variant) = 0;
};

// The filters of the archive's file dialogs: archives of versions 4 and 5 (a save target or an
// archive to open), of version 4 (a new archive or a copy), or of any version (a sorted copy).
enum class ArchiveFilter { kVersions45, kVersion4, kAnyVersion };

// The description of a filter, code page 1251, its pattern included.
std::string ArchiveFilterText(ArchiveFilter filter);

// A file dialog of archives: `open` chooses an existing name, else a name to write; `start` is the
// folder (ending in '/') or the file the dialog begins at.
platform::FileChoice ArchiveFileChoice(bool open, ArchiveFilter filter, std::string start);

class Archive {
 public:
  static constexpr int kMaxRecentNames = 50;
  static constexpr std::size_t kMaxNameLength = 259;

  // `slots` is the application's comment-slot table; it must outlive the archive.
  explicit Archive(CommentSlotTable& slots);
  ~Archive();
  Archive(const Archive&) = delete;
  Archive& operator=(const Archive&) = delete;

  // Progress of the long operations (index, order, insertion with comments); not owned.
  void SetProgress(platform::ProgressSink* sink);

  // --- The file ---
  // Layout code of a file: 2, 5 or 7; 3 when it is no archive; -1 when it cannot be opened.
  static int IfRealArchive(const std::filesystem::path& path);
  // 1 when the file exists and is an archive, else 0.
  static int IsArchiveFile(const std::filesystem::path& path);
  // Makes an archive current and returns its layout code; -1 (nothing changed) for a file that is
  // no archive. A file that cannot be opened yet (a new name) becomes current with code -1.
  int SetPath(const std::string& path);
  std::string GetPath() const { return path_; }
  // Where the archive's file dialogs begin: the current archive's folder, or the data folder while
  // there is no current archive (both ending in '/').
  std::string DialogFolder() const;
  int LayoutCode() const { return layout_; }
  // True when the current file's header disagrees with its length: it is read but never rewritten.
  bool IsDamaged() const { return damaged_; }
  // The last-write time of the current file as last seen (nanoseconds since the epoch).
  std::int64_t FileTime() const { return fileTime_; }
  // The last-write time of a file now, as FileTime() keeps it; 0 when it cannot be read.
  static std::int64_t FileTimeOf(const std::string& path);
  // True when two paths name the same file (or, for files not there, the same normal path).
  static bool IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b);
  // 1 when an archive is open: a current file with an index built.
  int IsOpen() const { return indexBuilt_ ? 1 : 0; }

  // --- The index ---
  int InitIndex(int count);
  void FreeIndex();
  // Rebuilds the whole index from the current file: 0, or -1 after an error report.
  int CreateIndex();
  bool IsIndexBuilt() const { return indexBuilt_; }
  int RecordCount() const { return count_; }
  int IndexCapacity() const { return capacity_; }
  ArchiveIndexEntry& Entry(int n) { return index_[static_cast<std::size_t>(n)]; }
  const ArchiveIndexEntry& Entry(int n) const { return index_[static_cast<std::size_t>(n)]; }
  // 1 when entry n has a text on any page.
  int HasComments(int n) const;
  // Sets every selection mark to 'N'.
  void ClearMarks();
  // Every mark 'Y'; every mark turned over; the number of records marked 'Y'.
  void MarkAll();
  void InvertMarks();
  int MarkedCount() const;

  // --- The recent list "velm.arn" ---
  // Every distinct name of the list is kept, whether its file is there or not: a name whose file is
  // missing, unreadable or damaged for a moment stays (see RecentNameState) until the user removes
  // it. A list that exists but cannot be read is reported once and never written over.
  int LoadNames();
  // 0, or -1 when the list was not written (an unreadable list is never written).
  int SaveNames();
  void AddRecentName(const std::string& path);
  // The user's removal of recent name i; false for no such name.
  bool RemoveRecentName(int i);
  const std::vector<std::string>& RecentNames() const { return names_; }
  // What the file of recent name i is now (looked at when asked).
  enum class RecentState { kArchive, kMissing, kUnreadable, kNoArchive };
  RecentState RecentNameState(int i) const;
  // True after a "velm.arn" that exists could not be read: SaveNames then writes nothing.
  bool IsRecentListUnreadable() const { return namesUnreadable_; }
  // Start-up: the list, then the most recent archive that can be opened made current and indexed
  // (a name before it that cannot be opened is named in a message and kept).
  int Init();
  // Recent name i to the top of the list, and current; a name whose file is no archive now is
  // reported and left where it is.
  void SelectRecentArchive(int i);
  // Lets the user open an archive or a file of another program (converted into a new archive):
  // 1 when a new current archive was made, else 0.
  int OpenOtherArchive();
  // Makes the archive `path` current and indexed, its name first in the recent list: 0; -1 after
  // message 477 (nothing changed) when it is no archive, or when its index cannot be built.
  int OpenByName(const std::string& path);
  // The converter of foreign files (not owned); without one only archives can be opened.
  void SetImporter(ForeignChartImporter* importer) { importer_ = importer; }

  // --- Conversions of the whole file ---
  int ConvertTo44();
  int ConvertTo43();

  // --- Reading ---
  // The current file opened for reading (nullptr after error 102 "Archive::Open").
  std::FILE* Open();
  void Close(std::FILE* handle);
  // Reads record n into the chart: n, or -1. With `withComments` the record's texts become the
  // chart's comment pages; the reference block is given when asked.
  int Load(std::FILE* handle, Chart& chart, int n, bool withComments,
           CommentRefBlock* block = nullptr);
  int LoadChart(Chart& chart, int n, bool withComments);
  // Record n without comments; n + 1, or -1.
  int LoadNextChart(Chart& chart, int n);
  // Runs the browser until it is closed: -1 on cancel; with mode 0 the first marked record (-1 when
  // none; every mark cleared), with another mode 0 and the user's marks left set.
  int SelectChart(int mode);
  void SetBrowser(ArchiveBrowser* browser) { browser_ = browser; }
  // The first record whose name begins with exactly `c`; -1 when none.
  int FindByInitial(char c) const;
  // True when record n satisfies every criterion switched on: of the last search in the settings of
  // `context`, or of `criteria` (see ArchiveMatcher in archive_search.h).
  bool MatchRecord(int n, const ChartContext& context) const;
  bool MatchRecord(int n, const ArchiveSearchCriteria& criteria) const;
  // 1 when some record's name sorts before the name before it, else 0.
  int NeedsOrdering() const;

  // --- Saving a chart ---
  int SaveToArchive(const Chart& chart);
  int SaveToNewArchive(const Chart& chart, bool nameChosen);
  int ChooseTargetArchive();
  int ChooseNewArchiveFile();
  int CheckFreeSpace() const;
  int FindInsertPosition(const Chart& chart) const;
  // Writes the chart into the current archive at `position`; the block receives its texts' places.
  int InsertToArchive(const Chart& chart, int position, CommentRefBlock& block);
  int InsertIndexEntry(const Chart& chart, int position, const CommentRefBlock& block);

  // --- Record operations on the records marked 'Y' ---
  int Delete(bool confirm);
  int ChartUpDown(bool up);
  int ChooseDestinationFile(std::string& path, int& exists, int& layout);
  // Copies (or with `move` moves) the marked records into `target`; without `noQuestions` it may
  // offer to order the archives afterwards, and without `tellDone` it leaves the closing message
  // 45 to the caller. 0, or -1.
  int CopyToArchive(const std::string& target, int targetExists, int targetLayout, bool move,
                    bool noQuestions, bool tellDone = true);
  int Order();
  // Copies the current archive and its comment files to `target` (".arc" added to a name without
  // extension) in one transaction: an existing target asks message 74; another extension gives
  // message 516; the archive itself or its comment files as the target are refused; a failure
  // leaves every file as it was with message 517; success shows 518. 0, or -1.
  int CopyWholeArchive(std::string target);
  // Deletes the ten comment files and the archive file, and frees the index: 0, or -1.
  int DeleteArchiveFiles();

  // --- Export ---
  // Every record written as a line of format `f` of `formats` into `path` with the format's
  // extension (added when the name does not end in it): an existing file asks message 74; the
  // header line first when the format has one; unreadable records and the charts CheckExportable
  // refuses skipped. The file is written whole or not at all: the first failure is reported and
  // ends the export. Success shows how many of the records were written. The number written, or
  // -1.
  int ExportArchive(const std::string& path, int f, const AllExpFormats& formats);

  // --- Sort ---
  // Builds the class array: every record classified by the first key of `params`, each record's
  // chart read when a key is taken from it (an unreadable record sorts first). 0; -1 when the
  // archive is not open, on the progress dialog's Cancel, or after error 2 (out of memory).
  int BreakToClasses(const ArchiveSortParams& params);
  // Writes the records class by class, each class ordered by every key: in place (a damaged archive
  // is refused with 524), or with `params.newArchive` into a file the user chooses (".arc" added
  // when missing; the current archive or one of its comment files refused with 2121; an existing
  // file replaced only after message 74), which then becomes current with the comment files its
  // records use. The archive is replaced only once every record was written. 0; -1 on a failure
  // (reported) or a refusal; -2 when the file choice was cancelled.
  int OrderClasses(const ArchiveSortParams& params);
  void FreeClasses();

  // --- Comments ---
  // Page k of record n, at most 32000 bytes: 0, or -1 with an empty text.
  int LoadComment(int n, int k, std::string& text) const;
  int LoadCurrentComment(int n, int k) { return LoadComment(n, k, commentBuffer_); }
  // The comment buffer (cut to 32000 bytes).
  void SetCommentText(std::string_view text);
  const std::string& CommentText() const { return commentBuffer_; }
  int IsCommentUnchanged(std::string_view text) const;
  // Stores the comment buffer as page k of record n: 0, or -1.
  int SaveComment(int n, int k);
  // 1 when comment file k of the current archive exists.
  int CommentFileExists(int k, std::filesystem::path* path = nullptr) const;
  // Gives a chart the texts of a record as its page files (a free slot is taken for them).
  int CopyCommentsToChart(const CommentRefBlock& block, Chart& chart);

  // --- Query results ---
  // Out of memory is reported as error 2 under the operation's name and gives -1 (the list as it
  // was); it does not end the program.
  int InitSelectedRecordsInfo(int archives);
  int AddArchive2List();
  int AddArchiveToInfo() { return AddArchive2List(); }
  // Appends a node for record n of archive `archive`: 0, or -1 (no such record, out of memory).
  int AddRecord2List(int archive, int n);
  void FreeSelectedRecordsInfo();
  const std::vector<SearchedArchive>& SearchedArchives() const { return searched_; }
  const std::vector<SelectedRecordNode>& SelectedRecords() const { return selected_; }
  // The result-header lines the conditions subsystem hands to the browser.
  std::vector<std::string> resultHeaderLines;
  int resultMode = 0;

  // --- Settings of the object ---
  int targetChosen = 1;     // 0 after the first saving
  int saveTargetMode = -1;  // 0 current archive, 1 ask once, other: ask every time
  int insertionMode = 0;    // 0 append, other: alphabetical place
  int browserVariant = 3;   // 2 with comments, 3 plain
  // The mode of the SelectChart that runs the browser: 0 one record is chosen, another mode lets
  // the browser's OK take any number of marked records.
  int selectMode = 0;
  int importCommentPage = -1;
  int splitLines = 0;

 private:
  // Shared steps.
  // Message 524 and true for a damaged (read-only) archive.
  bool RefuseIfDamaged() const;
  // Message 527 and true for a code that is no layout (a layout number such as 4400 given instead).
  static bool RefuseUnknownLayout(int layout);
  void RefreshFileTime();
  int ReadRecord(std::FILE* f, int layout, int n, Chart& chart, CommentRefBlock& block,
                 const char* trace) const;
  // The whole file rewritten in layout `target` (the one conversion of ConvertTo44/ConvertTo43).
  int ConvertLayout(int target, const char* trace);
  // Writes the texts of the chart's page files after the current content of the comment files of
  // `archive` (rewritten in `tx`; with `replace`, in place of it) and fills the block.
  bool AddChartComments(const Chart& chart, const std::filesystem::path& archive,
                        FileTransaction& tx, CommentRefBlock& block, const char* trace,
                        bool replace);
  // Appends record n's texts (from the current comment files) to the comment files of `target`;
  // `block` receives their places there.
  void CopyTextsTo(const CommentRefBlock& source, const std::filesystem::path& target,
                   bool targetExisted, FileTransaction& tx, CommentRefBlock& block);
  // The copy target's new content begun in `tx`: the existing file, or a new file's header (with
  // stale comment files dropped); free space checked. False after a report or a message.
  bool PrepareDestinationFile(const std::string& target, bool exists, int layout,
                              FileTransaction& tx);
  // The marked records appended to the target's rewrite in its layout, their texts with them.
  bool AppendMarkedRecords(const std::string& target, bool exists, int layout, FileTransaction& tx);
  // Writes the archive anew in `tx` with every record's reference block taken from the index.
  int RewriteBlocks(FileTransaction& tx, const char* trace);
  // Cuts the texts of the marked records out of the comment files (rewritten in `tx`) and
  // updates the other entries' offsets; 0, or -1.
  int DeleteSelectedComments(FileTransaction& tx);
  // Lowers by `length` every page-k offset at or after `offset`.
  void ShiftCommentOffsets(int k, std::uint32_t offset, std::uint32_t length);
  // True when the index describes the current file record for record.
  bool IndexMatchesFile(const char* trace) const;
  // Rewrites the current file with its records in `order` (record numbers): 0, or -1 reported.
  int RewriteInOrder(const std::vector<int>& order, const char* trace);
  // Makes `path` current and indexed (the order detour of a copy).
  void SwitchTo(const std::string& path);
  // The sorted records written into the new archive `target` with the comment files they use.
  int WriteSortedArchive(const std::vector<int>& order, const std::string& target);
  // The index reordered after the file was rewritten in `order`; every mark cleared.
  void ReorderIndex(const std::vector<int>& order);

  CommentSlotTable* slots_;
  ForeignChartImporter* importer_ = nullptr;
  ArchiveBrowser* browser_ = nullptr;
  platform::ProgressSink* progress_;
  std::vector<ArchiveIndexEntry> index_;
  bool indexBuilt_ = false;
  int capacity_ = 0;
  std::vector<std::string> names_;
  bool namesUnreadable_ = false;
  std::string path_;
  std::int64_t fileTime_ = 0;
  int layout_ = kNotArchive;
  bool damaged_ = false;
  int count_ = 0;
  std::string commentBuffer_;
  std::vector<SearchedArchive> searched_;
  std::vector<SelectedRecordNode> selected_;
  std::unique_ptr<ArchiveSortClasses> classes_;  // between BreakToClasses and FreeClasses
};
