#include "conditions/core/query_run.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "archive/store/archive.h"
#include "archive/store/list_lock.h"
#include "astro/chart/chart_context.h"
#include "conditions/core/condition_logic.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "foundation/text/cp1251.h"
#include "platform/core/progress_sink.h"
#include "platform/core/prompter.h"

namespace {

using platform::Answer;
using platform::GetPrompter;

std::string CountLine(int message, int count) {
  return GetMessageText(message) + " - " + std::to_string(count);
}

// One run: the set it decides with, and what it has asked and found so far.
class QueryWalk {
 public:
  QueryWalk(Archive& archive, const CFunc& set, const ChartContext& context,
            platform::ProgressSink& progress)
      : archive_(archive), set_(set), context_(context), progress_(progress) {}

  // Decides every record of the current archive (its index built) in turn; `hit` is told the
  // record number of every chart that holds. Returns the charts viewed; `end` says whether the
  // run goes on. Question 1110 is asked between two holds of the archive's lock, never under one:
  // the walk lets go at the first Local Space chart and goes on from it once answered.
  int SearchCurrentArchive(const std::function<void(int)>& hit) {
    std::vector<int> hits;
    int next = 0, read = 0, skipped = 0;
    shown_ = -1;
    while (WalkUnderLock(next, read, skipped, hits) == Walked::kAsk)
      localSpaceTaken_ =
          GetPrompter().AskYesNo(kMsgLocalSpaceCharts, GetMessageText(kMsgLocalSpaceCharts)) ==
          Answer::Yes;
    for (int n : hits) hit(n);
    return read - skipped;
  }

  QueryRunEnd end = QueryRunEnd::kCompleted;
  int stoppedAt = -1;

 private:
  enum class Walked { kEnded, kAsk };
  // Decides the records from `next` on under the archive's lock; stops at the first Local Space
  // chart while question 1110 is unasked (kAsk, `next` at that chart). Yes takes such charts as
  // ordinary ones, No skips every one of them.
  Walked WalkUnderLock(int& next, int& read, int& skipped, std::vector<int>& hits) {
    // The records and their texts are read whole, of the file the list describes: a list another
    // copy of the program changed is read again (message kMsgArchiveChangedElsewhere) and its
    // archive is not searched, since the marks set on the old list are gone.
    const ListLock lock(archive_.Index(), LockMode::kShared);
    std::FILE* handle = archive_.Open(lock);
    if (!handle) {
      hits.clear();
      read = skipped = 0;
      return Walked::kEnded;
    }
    const int count = archive_.RecordCount();
    // CONTEXT conditions read the texts under this lock, and only while it is held.
    const ArchiveTexts texts(archive_.Comments(), lock);
    set_.SetCommentTexts(&texts);
    const struct Unset {
      const CFunc& set;
      ~Unset() { set.SetCommentTexts(nullptr); }
    } unset{set_};
    // The records in blocks, the file's size once: no system call per record.
    ArchiveRecords::Reader records(archive_.Records(), handle);
    Walked walked = Walked::kEnded;
    Chart chart;
    for (; next < count; ++next) {
      // The bar moves only when its percentage changes: each step repaints the dialog.
      if (const int percent = static_cast<int>(100LL * next / count); percent != shown_) {
        shown_ = percent;
        progress_.SetPos(percent);
      }
      if (progress_.Cancelled()) {
        end = QueryRunEnd::kCancelled;
        break;
      }
      if (records.Read(chart, next) < 0) break;
      if (chart.IsLocalSpace() && !localSpaceAsked_) {
        localSpaceAsked_ = true;
        walked = Walked::kAsk;
        break;
      }
      ++read;
      if (chart.IsLocalSpace() && !localSpaceTaken_) {
        ++skipped;
        continue;
      }
      const int result = set_.Evaluate(context_, chart, next);
      if (result < 0) {
        end = QueryRunEnd::kEvaluationError;
        stoppedAt = next;
        break;
      }
      if (result == 1) hits.push_back(next);
    }
    archive_.Close(handle);
    return walked;
  }

  Archive& archive_;
  const CFunc& set_;
  const ChartContext& context_;
  platform::ProgressSink& progress_;
  bool localSpaceAsked_ = false;
  bool localSpaceTaken_ = true;
  int shown_ = -1;  // the percentage the bar shows
};

// The switched-on entries of the list whose files are not archives, named in one message (593
// with one path a line) before the search.
void TellMissingArchives(const std::vector<ArchiveListEntry>& archives) {
  std::string paths;
  for (const ArchiveListEntry& e : archives)
    if (e.on && !Archive::IsArchiveFile(e.path)) paths += "\n" + PathText(e.path);
  if (!paths.empty()) ShowMessage(kMsgArchiveMissing, GetMessageText(kMsgArchiveMissing) + paths);
}

// Message 678 when some charts of the current archive are marked already: No clears the marks.
void AskToKeepMarks(Archive& archive) {
  if (archive.MarkedCount() > 0 &&
      GetPrompter().AskYesNo(kMsgKeepMarks, GetMessageText(kMsgKeepMarks)) == Answer::No)
    archive.ClearMarks();
}

void SearchCurrentArchive(Archive& archive, QueryWalk& walk, QueryRunResult& result) {
  result.viewed = walk.SearchCurrentArchive([&](int n) {
    archive.Entry(n).mark = 'Y';
    ++result.hits;
  });
}

void SearchList(Archive& archive, QueryWalk& walk, const std::vector<ArchiveListEntry>& archives,
                QueryRunResult& result) {
  for (const ArchiveListEntry& entry : archives) {
    if (!entry.on || !Archive::IsArchiveFile(entry.path)) continue;
    if (archive.SetPath(entry.path) < 0 || archive.CreateIndex() != 0) continue;
    int group = -1;
    result.viewed += walk.SearchCurrentArchive([&](int n) {
      if (group < 0) group = archive.Query().AddArchive2List();
      archive.Query().AddRecord2List(group, n);
      ++result.hits;
    });
    ++result.archivesProcessed;
    if (walk.end != QueryRunEnd::kCompleted) break;
  }
}

// The archive open before a list run made current again; a failure is reported.
void Reopen(Archive& archive, const std::string& before, QueryRunResult& result) {
  if (before.empty()) return;
  if (archive.SetPath(before) < 0 || archive.CreateIndex() != 0) {
    result.reopenFailed = true;
    ShowMessage(kMsgReopenFailed, GetMessageText(kMsgReopenFailed) + "\n" + before,
                platform::Icon::Error);
  }
}

}  // namespace

bool RefuseQueryRequest(const Archive& archive, const QueryRunRequest& request) {
  if (request.currentArchiveOnly && !archive.IsOpen()) {
    ShowMessage(kMsgNoArchiveOpen, GetMessageText(kMsgNoArchiveOpen));
    return true;
  }
  if (!request.currentArchiveOnly && request.archives.empty()) {
    ShowMessage(kMsgArchiveListEmpty, GetMessageText(kMsgArchiveListEmpty));
    return true;
  }
  return false;
}

QueryRunResult RunQuery(Archive& archive, const CFunc& set, const ChartContext& context,
                        const QueryRunRequest& request, platform::ProgressSink& progress) {
  QueryRunResult result;
  if (RefuseQueryRequest(archive, request)) return result;
  // The set decides with the comment pages of the archive at hand.
  CFunc run(set);
  run.ReportRunProblems(context);

  // Questions and messages come before the progress dialog is shown.
  std::string before;
  if (request.currentArchiveOnly) {
    AskToKeepMarks(archive);
  } else {
    result.overList = true;
    if (archive.IsOpen()) before = archive.GetPath();
    TellMissingArchives(request.archives);
    archive.Query().InitSelectedRecordsInfo(static_cast<int>(request.archives.size()));
  }
  QueryWalk walk(archive, run, context, progress);
  progress.Begin();
  if (request.currentArchiveOnly)
    SearchCurrentArchive(archive, walk, result);
  else
    SearchList(archive, walk, request.archives, result);
  progress.End();
  Reopen(archive, before, result);
  result.end = walk.end;
  result.stoppedAtRecord = walk.stoppedAt;
  return result;
}

std::string QuerySummaryText(const QueryRunResult& result) {
  std::string text;
  if (result.overList) text = CountLine(kMsgArchivesProcessed, result.archivesProcessed) + "\n";
  text +=
      CountLine(kMsgChartsViewed, result.viewed) + "\n" + CountLine(kMsgChartsHolding, result.hits);
  if (result.end == QueryRunEnd::kCancelled) text += "\n" + GetMessageText(kMsgRunCancelled);
  if (result.end == QueryRunEnd::kEvaluationError) text += "\n" + GetMessageText(kMsgRunStopped);
  return text;
}

std::vector<std::string> BuildResultHeader(const CFunc& set,
                                           const std::vector<ArchiveListEntry>& archives,
                                           bool showArchives, bool showQuery,
                                           std::string_view typedLogic) {
  std::vector<std::string> lines;
  if (showArchives) {
    lines.push_back(GetMessageText(kMsgHeaderArchives));
    for (const ArchiveListEntry& e : archives)
      if (e.on) lines.push_back(PathText(e.path));
    lines.emplace_back();
  }
  if (showQuery) {
    lines.push_back(GetMessageText(kMsgHeaderQuery));
    if (set.mode != 2) {
      if (set.Count() != 1)
        lines.push_back(GetMessageText(set.mode == 1 ? kMsgHeaderAny : kMsgHeaderAll));
      for (int i = 0; i < set.Count(); ++i)
        if (set.Condition(i).Enabled()) lines.push_back(set.QueryConditionText(i, false));
    } else {
      lines.push_back(GetMessageText(kMsgHeaderLogic) + std::string(typedLogic));
      const std::vector<int> named = LogicNumbers(set.logic);
      for (int i = 0; i < set.Count(); ++i)
        if (std::find(named.begin(), named.end(), set.Condition(i).Number()) != named.end())
          lines.push_back(set.QueryConditionText(i, true));
    }
    lines.emplace_back();
  }
  if (showArchives || showQuery) lines.push_back(GetMessageText(kMsgHeaderResults));
  return lines;
}
