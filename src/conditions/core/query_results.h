// The results of an archive query over a list of archives, as the results view holds them: one
// row per chart found (a copy of its index entry, its record number, its archive, its mark), the
// table of the archives searched with the time stamps their files had, and the header lines; and
// what the view does with the chosen rows through the archive object: load the charts, delete
// them from their archives, copy them into another archive.
//
// Before a row is acted on, its archive is opened and indexed, the file's time stamp compared
// with the table's (an archive changed since is left alone, messages 611 and 612) and the
// record's index entry compared with the row (name, date, time): a row is never taken for another
// chart. After a delete the table's stamps follow the files and the remaining rows are
// renumbered, so that they go on naming their charts. The archive open before an action is made
// current again afterwards.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "archive/store/archive_index_entry.h"

class Archive;

struct QueryResultArchive {
  std::string path;
  std::int64_t fileTime = 0;  // the file's time stamp as the results know it
  bool removed = false;       // every record was deleted: the file is gone
};

struct QueryResultRow {
  ArchiveIndexEntry entry;  // the record's index entry as it was found
  int record = 0;           // its number in its archive
  int archive = 0;          // its archive in the table
  bool marked = false;
};

// What an action did.
struct QueryRowsDone {
  int done = 0;     // charts loaded, deleted or copied
  int skipped = 0;  // chosen rows left alone
};

// One action over result rows across their archives: each archive of the table made current and
// indexed in turn, refused when its file changed since the results were found, each row's record
// checked against the row's index entry; the archive open before made current again at the end,
// and the faults met reported once (593, 611 and 612, 1923).
class ResultArchiveAction {
 public:
  ResultArchiveAction(Archive& archive, std::vector<QueryResultArchive>& archives);

  // Makes archive k of the table current and indexed, unless it is current already in this
  // action; false when its rows cannot be acted on (the reason is noted for the report).
  bool Use(int k);
  // True when `record` of the current archive still has the index entry `entry`.
  bool Matches(int record, const ArchiveIndexEntry& entry);
  void Finish();

 private:
  bool RemovedByAction(const std::string& path) const;

  Archive& archive_;
  std::vector<QueryResultArchive>& archives_;
  std::string before_;
  int current_ = -1;
  bool usable_ = false;
  std::vector<std::string> missing_, changed_, mismatched_;
};

// The closing message of a copy: message 45 with the count, or the charts copied and skipped.
void TellCopied(const QueryRowsDone& done);

class QueryResults {
 public:
  // Takes the archive object's query results and header lines over; the archive keeps none. Rows
  // whose archive number names no searched archive are dropped. Every row starts unmarked.
  void TakeOver(Archive& archive);

  int Count() const { return static_cast<int>(rows_.size()); }
  const QueryResultRow& Row(int i) const { return rows_.at(static_cast<std::size_t>(i)); }
  const std::vector<QueryResultArchive>& Archives() const { return archives_; }
  const std::vector<std::string>& HeaderLines() const { return header_; }

  // --- Marks ---
  void MarkAll();
  void UnmarkAll();
  void InvertMarks();
  void ToggleMark(int row);
  int MarkedCount() const;
  // The marked rows in row order; none marked: the current row alone (nothing outside the list).
  std::vector<int> ChosenRows(int current) const;

  // --- Actions (the questions and messages through the prompt service) ---
  // Loads the charts of `rows`: `open` is called with the archive current and indexed and the
  // row's record number, and says whether a chart window was opened.
  QueryRowsDone Load(Archive& archive, const std::vector<int>& rows,
                     const std::function<bool(Archive&, int record)>& open);
  // Deletes the charts of `rows` from their archives after message 484 (which names the archives
  // that would lose every chart, and with it their files); their rows leave the list. No: nothing
  // done.
  QueryRowsDone Delete(Archive& archive, const std::vector<int>& rows);
  // Copies the charts of `rows` into an archive the user chooses, then shows how many were copied
  // and how many skipped. A cancelled choice does nothing.
  QueryRowsDone Copy(Archive& archive, const std::vector<int>& rows);

 private:
  std::vector<QueryResultRow> rows_;
  std::vector<QueryResultArchive> archives_;
  std::vector<std::string> header_;
};

// True when the index entry names the chart of the row: the same name, date and time.
bool SameChart(const ArchiveIndexEntry& row, const ArchiveIndexEntry& entry);
