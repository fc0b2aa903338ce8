// The records of the current archive: reading them, the whole file rewritten in another layout,
// and the operations on the records marked 'Y' (delete, move one up or down, copy or move into
// another archive, the alphabetical order of the whole archive), the copy and the deletion of the
// whole archive.
//
// Every change is written through temporary files beside the files it replaces (FileTransaction):
// a failure at any step leaves the archive and its comment files as they were and the index in
// step with the file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/store/archive_layout.h"
#include "astro/chart/chart.h"

class ArchiveComments;
class ArchiveIndex;
class FileTransaction;
class ListLock;
class RecentArchives;

class ArchiveRecords {
 public:
  // The parts of the archive it works on; they must outlive it.
  ArchiveRecords(ArchiveIndex& index, ArchiveComments& comments, RecentArchives& recent)
      : index_(index), comments_(comments), recent_(recent) {}
  ArchiveRecords(const ArchiveRecords&) = delete;
  ArchiveRecords& operator=(const ArchiveRecords&) = delete;

  // --- Reading ---
  // Reads record n of the file `handle` (opened under a checked ListLock) into the chart, without
  // its texts: n, or -1. The reference block is given when asked.
  int Load(std::FILE* handle, Chart& chart, int n, CommentRefBlock* block = nullptr);
  int LoadChart(Chart& chart, int n, bool withComments);
  // Record n without comments; n + 1, or -1.
  int LoadNextChart(Chart& chart, int n);

  // Reads the records of the current archive for a run over many of them (a query, a statistic):
  // the file's size is taken once, when the reader is made, and the records are read in blocks of
  // kBlockRecords with one read each, so a run pays no system call per record. Read(chart, n)
  // gives what Load(handle, chart, n) gives, a fault reported the same way. The handle
  // stays the caller's and must outlive the reader; the archive must not change while it reads.
  class Reader {
   public:
    static constexpr int kBlockRecords = 512;
    Reader(ArchiveRecords& records, std::FILE* handle);
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;
    int Read(Chart& chart, int n);

   private:
    ArchiveRecords& records_;
    std::FILE* handle_;
    std::int64_t recordsInFile_ = 0;
    std::int64_t first_ = 0, count_ = 0;  // the records the block holds
    std::string block_;
  };

  // --- Conversions of the whole file ---
  int ConvertTo44();
  int ConvertTo43();

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
  // Makes `path` current and indexed, its name first in the recent list (the order detour of a
  // copy, the new archive of a sort).
  void SwitchTo(const std::string& path);

 private:
  // What Load does with a record read (the aspect-system name, the comment slot).
  int Finish(Chart& read, Chart& chart, int n);
  // The whole file rewritten in layout `target` (the one conversion of ConvertTo44/ConvertTo43).
  int ConvertLayout(int target, const char* trace);
  // The copy target's new content begun in `tx`: the existing file, or a new file's header (with
  // stale comment files dropped); free space checked. False after a report or a message.
  bool PrepareDestinationFile(const std::string& target, bool exists, int layout,
                              FileTransaction& tx);
  // The marked records appended to the target's rewrite in its layout, their texts with them.
  bool AppendMarkedRecords(const std::string& target, bool exists, int layout, FileTransaction& tx,
                           const ListLock& lock);

  ArchiveIndex& index_;
  ArchiveComments& comments_;
  RecentArchives& recent_;
};
