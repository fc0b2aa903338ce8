// Searching the archive: the records that satisfy the search criteria, and the results of a query
// over one or more archives (the archives searched and the records found in them) that the
// conditions part hands to the browser.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/store/archive_index_entry.h"

class ArchiveComments;
class ArchiveIndex;
class ChartContext;
struct ArchiveSearchCriteria;

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

class ArchiveQuery {
 public:
  // The index searched and the comments its records' texts are read from; they must outlive this
  // object.
  ArchiveQuery(ArchiveIndex& index, const ArchiveComments& comments)
      : index_(index), comments_(comments) {}
  ArchiveQuery(const ArchiveQuery&) = delete;
  ArchiveQuery& operator=(const ArchiveQuery&) = delete;

  // True when record n satisfies every criterion switched on: of the last search in the settings of
  // `context`, or of `criteria` (see ArchiveMatcher in archive_search.h).
  bool MatchRecord(int n, const ChartContext& context) const;
  bool MatchRecord(int n, const ArchiveSearchCriteria& criteria) const;

  // --- Query results ---
  // Out of memory is reported as error 2 under the operation's name and gives -1 (the list as it
  // was); it does not end the program.
  int InitSelectedRecordsInfo(int archives);
  // The current archive added to the archives searched: its number among them.
  int AddArchive2List();
  int AddArchiveToInfo() { return AddArchive2List(); }
  // Appends a node for record n of archive `archive`: 0, or -1 (no such record, out of memory).
  int AddRecord2List(int archive, int n);
  void FreeSelectedRecordsInfo();
  const std::vector<SearchedArchive>& SearchedArchives() const { return searched_; }
  const std::vector<SelectedRecordNode>& SelectedRecords() const { return selected_; }

 private:
  ArchiveIndex& index_;
  const ArchiveComments& comments_;
  std::vector<SearchedArchive> searched_;
  std::vector<SelectedRecordNode> selected_;
};
