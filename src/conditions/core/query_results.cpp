#include "conditions/core/query_results.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "archive/store/archive.h"
#include "conditions/core/query_run.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "foundation/text/cp1251.h"
#include "platform/core/prompter.h"

namespace {

using platform::GetPrompter;

std::string CountLine(int message, int count) {
  return GetMessageText(message) + " - " + std::to_string(count);
}

// The archives of `rows` in the order they first appear, each with its rows in row order.
std::vector<std::pair<int, std::vector<int>>> RowsByArchive(const std::vector<QueryResultRow>& all,
                                                            const std::vector<int>& rows) {
  std::vector<std::pair<int, std::vector<int>>> groups;
  for (const int row : rows) {
    const int k = all[static_cast<std::size_t>(row)].archive;
    auto it =
        std::find_if(groups.begin(), groups.end(), [k](const auto& g) { return g.first == k; });
    if (it == groups.end()) it = groups.insert(groups.end(), {k, {}});
    it->second.push_back(row);
  }
  return groups;
}

}  // namespace

bool SameChart(const ArchiveIndexEntry& row, const ArchiveIndexEntry& entry) {
  return row.name == entry.name && row.day == entry.day && row.month == entry.month &&
         row.year == entry.year && row.era == entry.era && row.hours == entry.hours &&
         row.minutes == entry.minutes;
}

ResultArchiveAction::ResultArchiveAction(Archive& archive,
                                         std::vector<QueryResultArchive>& archives)
    : archive_(archive),
      archives_(archives),
      before_(archive.IsOpen() ? archive.GetPath() : std::string()) {}

bool ResultArchiveAction::Use(int k) {
  if (k == current_) return usable_;
  current_ = k;
  usable_ = false;
  if (k < 0 || k >= static_cast<int>(archives_.size())) return false;
  const QueryResultArchive& a = archives_[static_cast<std::size_t>(k)];
  if (a.removed || archive_.SetPath(a.path) < 0 || archive_.CreateIndex() != 0) {
    missing_.push_back(a.path);
  } else if (archive_.FileTime() != a.fileTime) {
    changed_.push_back(a.path);
  } else {
    usable_ = true;
  }
  return usable_;
}

bool ResultArchiveAction::Matches(int record, const ArchiveIndexEntry& entry) {
  if (record >= 0 && record < archive_.RecordCount() && SameChart(entry, archive_.Entry(record)))
    return true;
  mismatched_.push_back(entry.name);
  return false;
}

// The archive open before made current again (unless the action removed its file), then the
// faults met: archives missing (593), changed (611, 612), rows that no longer match (1923).
void ResultArchiveAction::Finish() {
  if (!before_.empty() && !RemovedByAction(before_) &&
      (archive_.SetPath(before_) < 0 || archive_.CreateIndex() != 0))
    ShowMessage(kMsgReopenFailed, GetMessageText(kMsgReopenFailed) + "\n" + PathText(before_));
  if (!missing_.empty()) {
    std::string text = GetMessageText(kMsgArchiveMissing);
    for (const std::string& path : missing_) text += "\n" + PathText(path);
    ShowMessage(kMsgArchiveMissing, text);
  }
  if (!changed_.empty()) {
    std::string text;
    for (const std::string& path : changed_)
      text += (text.empty() ? "" : "\n\n") + GetMessageText(kMsgQueryArchiveWord) + " " +
              PathText(path) + " " + GetMessageText(kMsgArchiveChanged);
    ShowMessage(kMsgQueryArchiveWord, text);
  }
  if (!mismatched_.empty()) {
    std::string text = GetMessageText(kMsgRowMismatch);
    for (const std::string& name : mismatched_) text += "\n" + name;
    ShowMessage(kMsgRowMismatch, text);
  }
}

bool ResultArchiveAction::RemovedByAction(const std::string& path) const {
  for (const QueryResultArchive& a : archives_)
    if (a.removed && a.path == path) return true;
  return false;
}

void TellCopied(const QueryRowsDone& done) {
  const std::string text =
      done.skipped == 0 ? GetMessageText(kMsgDone) + "\n" + CountLine(kMsgChartsCopied, done.done)
                        : CountLine(kMsgChartsCopied, done.done) + "\n" +
                              CountLine(kMsgChartsSkipped, done.skipped);
  GetPrompter().ShowMessage(done.skipped == 0 ? kMsgDone : kMsgChartsSkipped, text,
                            platform::Icon::Information);
}

void QueryResults::TakeOver(Archive& archive) {
  archives_.clear();
  rows_.clear();
  for (const SearchedArchive& a : archive.Query().SearchedArchives())
    archives_.push_back({a.path, a.fileTime, false});
  for (const SelectedRecordNode& node : archive.Query().SelectedRecords()) {
    if (node.ArchiveNumber() >= static_cast<int>(archives_.size())) continue;
    rows_.push_back({node.entry, node.RecordNumber(), node.ArchiveNumber(), false});
  }
  header_ = std::move(archive.resultHeaderLines);
  archive.resultHeaderLines.clear();
  archive.Query().FreeSelectedRecordsInfo();
}

void QueryResults::MarkAll() {
  for (QueryResultRow& r : rows_) r.marked = true;
}

void QueryResults::UnmarkAll() {
  for (QueryResultRow& r : rows_) r.marked = false;
}

void QueryResults::InvertMarks() {
  for (QueryResultRow& r : rows_) r.marked = !r.marked;
}

void QueryResults::ToggleMark(int row) {
  if (row >= 0 && row < Count()) rows_[static_cast<std::size_t>(row)].marked ^= true;
}

int QueryResults::MarkedCount() const {
  return static_cast<int>(
      std::count_if(rows_.begin(), rows_.end(), [](const QueryResultRow& r) { return r.marked; }));
}

std::vector<int> QueryResults::ChosenRows(int current) const {
  std::vector<int> chosen;
  for (int i = 0; i < Count(); ++i)
    if (rows_[static_cast<std::size_t>(i)].marked) chosen.push_back(i);
  if (chosen.empty() && current >= 0 && current < Count()) chosen.push_back(current);
  return chosen;
}

QueryRowsDone QueryResults::Load(Archive& archive, const std::vector<int>& rows,
                                 const std::function<bool(Archive&, int)>& open) {
  QueryRowsDone done;
  ResultArchiveAction action(archive, archives_);
  for (const int row : rows) {
    const QueryResultRow& r = rows_.at(static_cast<std::size_t>(row));
    if (action.Use(r.archive) && action.Matches(r.record, r.entry) && open(archive, r.record))
      ++done.done;
    else
      ++done.skipped;
  }
  action.Finish();
  return done;
}

QueryRowsDone QueryResults::Delete(Archive& archive, const std::vector<int>& rows) {
  QueryRowsDone done;
  if (rows.empty()) return done;
  const auto groups = RowsByArchive(rows_, rows);
  // The archives that would lose every chart, whose files then go: named in the question.
  std::string emptied;
  for (const auto& [k, ofArchive] : groups) {
    const QueryResultArchive& a = archives_[static_cast<std::size_t>(k)];
    std::set<int> records;
    for (const int row : ofArchive) records.insert(rows_[static_cast<std::size_t>(row)].record);
    if (Archive::FileTimeOf(a.path) == a.fileTime &&
        InspectArchiveFile(a.path).records == static_cast<std::int64_t>(records.size()))
      emptied += "\n" + PathText(a.path);
  }
  std::string question = GetMessageText(kMsgDeleteCharts);
  if (!emptied.empty()) question += "\n\n" + GetMessageText(kMsgArchivesEmptied) + emptied;
  if (GetPrompter().AskYesNo(kMsgDeleteCharts, question) != platform::Answer::Yes) return done;

  ResultArchiveAction action(archive, archives_);
  std::vector<bool> gone(rows_.size(), false);
  for (const auto& [k, ofArchive] : groups) {
    std::vector<int> deleting;
    if (action.Use(k)) {
      archive.ClearMarks();
      for (const int row : ofArchive) {
        if (!action.Matches(rows_[static_cast<std::size_t>(row)].record,
                            rows_[static_cast<std::size_t>(row)].entry))
          continue;
        archive.Entry(rows_[static_cast<std::size_t>(row)].record).mark = 'Y';
        deleting.push_back(row);
      }
    }
    const bool wholeArchive = !deleting.empty() && archive.MarkedCount() == archive.RecordCount();
    if (deleting.empty() || archive.Records().Delete(false) != 0) {
      for (const int row : ofArchive) rows_[static_cast<std::size_t>(row)].marked = false;
      done.skipped += static_cast<int>(ofArchive.size());
      continue;
    }
    done.done += static_cast<int>(deleting.size());
    done.skipped += static_cast<int>(ofArchive.size() - deleting.size());
    QueryResultArchive& a = archives_[static_cast<std::size_t>(k)];
    a.removed = wholeArchive;
    a.fileTime = wholeArchive ? 0 : archive.FileTime();
    // The records after a deleted one move up: the other rows of the archive follow them.
    std::vector<int> deleted;
    for (const int row : deleting) {
      gone[static_cast<std::size_t>(row)] = true;
      deleted.push_back(rows_[static_cast<std::size_t>(row)].record);
    }
    std::sort(deleted.begin(), deleted.end());
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      QueryResultRow& r = rows_[i];
      if (r.archive != k || gone[i]) continue;
      r.record -= static_cast<int>(std::lower_bound(deleted.begin(), deleted.end(), r.record) -
                                   deleted.begin());
    }
  }
  action.Finish();
  std::vector<QueryResultRow> kept;
  for (std::size_t i = 0; i < rows_.size(); ++i)
    if (!gone[i]) kept.push_back(std::move(rows_[i]));
  rows_ = std::move(kept);
  return done;
}

QueryRowsDone QueryResults::Copy(Archive& archive, const std::vector<int>& rows) {
  QueryRowsDone done;
  if (rows.empty()) return done;
  std::string target;
  int exists = 0, layout = 0;
  if (archive.Records().ChooseDestinationFile(target, exists, layout) != 0) return done;

  ResultArchiveAction action(archive, archives_);
  for (const auto& [k, ofArchive] : RowsByArchive(rows_, rows)) {
    int marked = 0;
    // An archive is never copied into itself.
    if (!Archive::IsSameFile(archives_[static_cast<std::size_t>(k)].path, target) &&
        action.Use(k)) {
      archive.ClearMarks();
      for (const int row : ofArchive) {
        if (!action.Matches(rows_[static_cast<std::size_t>(row)].record,
                            rows_[static_cast<std::size_t>(row)].entry))
          continue;
        archive.Entry(rows_[static_cast<std::size_t>(row)].record).mark = 'Y';
        ++marked;
      }
    }
    const std::int64_t targetBefore = Archive::FileTimeOf(target);
    if (marked > 0 &&
        archive.Records().CopyToArchive(target, exists, layout, false, true, false) == 0) {
      done.done += marked;
      exists = 1;
      // A target that is one of the results' archives only grew at its end: its rows still
      // name their charts, and its stamp follows the file when it was current before.
      for (QueryResultArchive& a : archives_)
        if (!a.removed && a.fileTime == targetBefore && Archive::IsSameFile(a.path, target))
          a.fileTime = Archive::FileTimeOf(target);
    } else {
      marked = 0;
    }
    done.skipped += static_cast<int>(ofArchive.size()) - marked;
    if (archive.IsOpen()) archive.ClearMarks();
  }
  action.Finish();
  TellCopied(done);
  return done;
}
