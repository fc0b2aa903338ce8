// Prediction lists on disk: one text file "<name>.pls" per list in the data folder, one record
// line each (pred_list_record.h). The list's name is code page 1251 in the program and UTF-8 in
// the file name; the extension is matched in any letter case and the file's own name is kept.
// Qt-free.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "forecast/core/pred_list_record.h"
#include "foundation/status.h"

// The longest new list name (bytes) and the longest name the configuration keeps.
inline constexpr std::size_t kMaxNewListName = 30;
inline constexpr std::size_t kMaxStoredListName = 31;

// One list file of the folder.
struct PredListFile {
  std::string name;            // code page 1251: the file's name without its extension
  std::filesystem::path path;  // the file
};

// The lists of `folder`: every file (not a folder) whose name ends in ".pls" in any letter case,
// in name order regardless of letter case. A file whose name code page 1251 cannot hold is left out
// (no list could be named so).
std::vector<PredListFile> EnumeratePredLists(const std::filesystem::path& folder);
// The file of list `name`: "<name>.pls" as it exists (the extension, or else the whole name, in
// any letter case; the name exactly as given first), else the path a new list gets.
std::filesystem::path PredListPath(const std::filesystem::path& folder, std::string_view name);

// A new list name as typed, made fit for a file name: blanks removed, upper case, and each of
// ? ' , . ; : ~ ` @ # $ % ^ & * ( ) | \ / = " < > and each control character replaced by '_'.
// Message 1165 (`name` unchanged) when nothing but blanks was typed.
Status CleanListName(std::string& name);

class PredList {
 public:
  // Reads `file`, replacing the records. Error 102 when it cannot be opened, 103 when it cannot
  // be read; the records are then as they were. Every line is read (no count limit); blank lines
  // are passed over, lines that are no record are skipped and counted.
  Status Load(const std::filesystem::path& file);
  // Rewrites `file` with every record in order through the safe rewrite: on a failure the old
  // file stays as it was and the failure is returned. When lines of `file` were skipped at
  // loading, a copy of the old file is kept as "<name>.bad" before the new one replaces it
  // (RewriteKeepingOld), so they are not lost.
  Status Save(const std::filesystem::path& file);
  // The contents Save writes: each record's line and "\n".
  std::string Serialize() const;

  // Orders the records by the Julian day of their moments; records of equal moments keep their
  // order, so a record moves ahead of another only when it is strictly earlier.
  void SortByMoment();

  int Count() const { return static_cast<int>(records.size()); }
  // Lines of the last load that were no record.
  int SkippedLines() const { return skipped_; }

  std::vector<PredListRecord> records;

 private:
  int skipped_ = 0;
  std::filesystem::path damagedFile_;  // the file last loaded, when lines of it were skipped
};

// The message that `skipped` lines of `file` could not be read (message 1908, code page 1251).
std::string SkippedLinesText(int skipped, const std::filesystem::path& file);

// Appends one line per record to `file` (created when missing) through the safe rewrite: all the
// lines or, on a failure, none. A last line of the old file without its line end gets one first.
Status AppendPredListRecords(const std::filesystem::path& file,
                             const std::vector<PredListRecord>& records);

// What a hand-over of view events to a list did.
struct PredListHandOver {
  Status status;               // of the append; nothing was written when it failed
  int written = 0;             // records appended
  bool unknownAspect = false;  // a record's aspect lay outside its aspect system
};

// The hand-over of the event views: the record of each event of `events` made by `make`
// (nothing for an event it refuses, such as an ingress), all appended to `file` at once. Nothing
// is written (and no file made) when no record results.
PredListHandOver HandOverEvents(
    const std::filesystem::path& file, const std::vector<int>& events,
    const std::function<std::optional<PredListRecord>(int event)>& make);
