#include "conditions/core/synastry_run.h"

#include <algorithm>

#include "archive/comments/comment_slots.h"
#include "archive/store/archive.h"
#include "archive/store/list_lock.h"
#include "astro/chart/chart.h"
#include "astro/chart/chart_context.h"
#include "conditions/core/query_run.h"
#include "foundation/config/field_table.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "foundation/text/cp1251.h"
#include "platform/core/progress_sink.h"
#include "platform/core/prompter.h"

namespace {

using S = cfg::SynastrySettings;
using V = QueryViewSettings;
using cfg::Bind;

// A zero size (a configuration written before the sizes had defaults) reads as the default.
struct Size : cfg::AsIs {
  template <typename T, typename M>
  void Read(T stored, M& member) const {
    if (stored > 0) member = stored;
  }
};

// Read and written as they stand; the view's values are brought into range each way.
constexpr cfg::FieldTable kViewFields{Bind(&V::screenFont, S::kScreenFontSize, Size{}),
                                      Bind(&V::printFont, S::kPrintFontSize, Size{}),
                                      Bind(&V::screenGap, S::kScreenLineGap),
                                      Bind(&V::printGap, S::kPrintLineGap),
                                      Bind(&V::showArchives, S::kShowArchives),
                                      Bind(&V::showQuery, S::kShowQuery)};

// One archive read by the run, opened and indexed once, its file kept open while it is read.
class SynSource {
 public:
  SynSource() : archive_(slots_) {}
  ~SynSource() {
    if (handle_) archive_.Close(handle_);
  }
  SynSource(const SynSource&) = delete;
  SynSource& operator=(const SynSource&) = delete;

  // True when the archive could be made current (else message 477 with the path) and indexed
  // (else 1133).
  bool Open(const std::string& path) {
    if (archive_.SetPath(path) < 0) {
      ShowMessage(kMsgNotAnArchive, GetMessageText(kMsgNotAnArchive) + "\n" + PathText(path));
      return false;
    }
    if (archive_.CreateIndex() != 0 || !OpenIndexedFile()) {
      ShowMessage(kMsgIndexFailed, GetMessageText(kMsgIndexFailed) + "\n" + PathText(path));
      return false;
    }
    return true;
  }
  int Count() const { return archive_.RecordCount(); }
  // Record n without its comments; false after message 1134.
  bool Read(int n, Chart& chart) {
    if (archive_.Load(handle_, chart, n) == n) return true;
    ShowMessage(kMsgChartNotLoaded);
    return false;
  }
  // Records first, first + 1, ... (at most `count`) into `charts`, stopping at the first that
  // cannot be read: the charts read.
  int ReadInto(std::vector<Chart>& charts, int first, int count) {
    charts.resize(static_cast<std::size_t>(std::max(0, count)));
    for (int k = 0; k < count; ++k)
      if (!Read(first + k, charts[static_cast<std::size_t>(k)])) return k;
    return count;
  }
  const ArchiveIndexEntry& Entry(int n) const { return archive_.Entry(n); }
  int AddTo(CSynAnalResults& results) const {
    return results.AddArchive(archive_.GetPath(), archive_.FileTime());
  }

 private:
  // The file the index was read from, opened under the folder's checked shared lock (a list
  // another copy of the program changed in between is read again, and this archive refused). A
  // commit replaces the file, so the handle keeps reading the file indexed.
  bool OpenIndexedFile() {
    const ListLock lock(archive_.Index(), LockMode::kShared);
    handle_ = archive_.Open(lock);
    return handle_ != nullptr;
  }

  CommentSlotTable slots_;
  Archive archive_;
  std::FILE* handle_ = nullptr;
};

// The pairs of one run: each decided, the holding ones kept, the bar moved and Cancel honoured.
class SynPairing {
 public:
  SynPairing(const CFunc& set, const ChartContext& context, CSynAnalResults& results,
             platform::ProgressSink& progress)
      : set_(set), context_(context), results_(results), progress_(progress) {}

  // The bar runs from 0 to 100 over the next `total` pairs.
  void Expect(std::int64_t total) {
    total_ = std::max<std::int64_t>(1, total);
    done_ = 0;
    shown_ = -1;
  }

  // Decides (a, b), or (b, a) with `reversed`, and keeps it as (a, b, slots, records) when it
  // holds; false when the run must end (Cancel or an evaluation error, noted in the result).
  bool Pair(const Chart& a, const Chart& b, int slot1, int slot2, int record1, int record2,
            const ArchiveIndexEntry* entry1, const ArchiveIndexEntry* entry2,
            bool reversed = false) {
    if (const int percent = static_cast<int>(100 * done_++ / total_); percent != shown_) {
      shown_ = percent;
      progress_.SetPos(std::min(percent, 100));
    }
    if (progress_.Cancelled()) {
      result.end = SynastryRunEnd::kCancelled;
      return false;
    }
    ++result.pairs;
    const Chart& first = reversed ? b : a;
    const Chart& second = reversed ? a : b;
    const int holds = set_.mode == 2 ? set_.EvaluateLogicPair(context_, first, second)
                                     : set_.EvaluateAllPair(context_, first, second, set_.mode);
    if (holds < 0) {
      result.end = SynastryRunEnd::kEvaluationError;
      return false;
    }
    if (holds == 1) results_.AddResult(a, b, slot1, slot2, record1, record2, entry1, entry2);
    return true;
  }

  // Modes 0 and 1: every chart of `source` (slot `slot`) decided as chart 2 with the current
  // chart as chart 1, and kept as (chart k, current chart); a chart that cannot be read ends
  // the archive. False when the run must end.
  bool WithCurrent(SynSource& source, int slot, const Chart& current) {
    Expect(source.Count());
    Chart chart;
    for (int k = 0; k < source.Count(); ++k) {
      if (!source.Read(k, chart)) return true;
      if (!Pair(chart, current, slot, kSynCurrentChart, k, kSynCurrentChart, &source.Entry(k),
                nullptr, true))
        return false;
    }
    return true;
  }

  SynastryRunResult result;
  CSynAnalResults& Results() { return results_; }

 private:
  const CFunc& set_;
  const ChartContext& context_;
  CSynAnalResults& results_;
  platform::ProgressSink& progress_;
  std::int64_t total_ = 1, done_ = 0;
  int shown_ = -1;
};

void PairOneArchive(SynPairing& run, const SynastryRequest& request) {
  SynSource source;
  if (!source.Open(request.archive)) {
    run.result.end = SynastryRunEnd::kFailed;
    return;
  }
  run.WithCurrent(source, source.AddTo(run.Results()), *request.current);
}

void PairArchiveList(SynPairing& run, const SynastryRequest& request) {
  if (std::none_of(request.list.begin(), request.list.end(),
                   [](const ArchiveListEntry& e) { return e.on; })) {
    ShowMessage(kMsgNoListedArchiveOn);
    run.result.end = SynastryRunEnd::kFailed;
    return;
  }
  for (const ArchiveListEntry& entry : request.list) {
    if (!entry.on) continue;
    if (!Archive::IsArchiveFile(entry.path)) {
      ShowMessage(kMsgArchiveMissing,
                  GetMessageText(kMsgArchiveMissing) + "\n" + PathText(entry.path));
      continue;
    }
    SynSource source;
    if (!source.Open(entry.path)) continue;
    const int slot = source.AddTo(run.Results());
    if (slot < 0) break;
    if (!run.WithCurrent(source, slot, *request.current)) return;
  }
}

// Mode 2: chunks of 100 charts from each archive, position k with position k.
int LoadArchiveChunk(SynSource& source, int first, int count, std::vector<Chart>& chunk) {
  if (first >= count) return 0;
  const int wanted = std::min(kSynChunk, count - first);
  return source.ReadInto(chunk, first, wanted) == wanted ? wanted : -1;
}

void PairSamePositions(SynPairing& run, const SynastryRequest& request) {
  SynSource a, b;
  if (!a.Open(request.archive1) || !b.Open(request.archive2)) {
    run.result.end = SynastryRunEnd::kFailed;
    return;
  }
  if (b.Count() > a.Count()) ShowMessage(kMsgSecondArchiveLarger);
  if (b.Count() < a.Count()) ShowMessage(kMsgFirstArchiveLarger);
  const int count = std::min(a.Count(), b.Count());
  const int slot1 = a.AddTo(run.Results()), slot2 = b.AddTo(run.Results());
  run.Expect(count);
  std::vector<Chart> chunkA, chunkB;
  for (int p = 0;;) {
    const int loadedA = LoadArchiveChunk(a, p, count, chunkA);
    const int loadedB = loadedA < 0 ? -1 : LoadArchiveChunk(b, p, count, chunkB);
    if (loadedA < 0 || loadedB < 0) return;
    run.result.chunks.push_back(loadedA);
    for (int k = 0; k < loadedA; ++k) {
      const std::size_t i = static_cast<std::size_t>(k);
      if (!run.Pair(chunkA[i], chunkB[i], slot1, slot2, p + k, p + k, &a.Entry(p + k),
                    &b.Entry(p + k)))
        return;
    }
    p += loadedA;
    if (loadedA < kSynChunk) return;
  }
}

// Modes 3 and 4: whole archives in memory (only the charts read: loading stops at the first
// chart that cannot be read).
void PairTwoArchives(SynPairing& run, const SynastryRequest& request) {
  SynSource a, b;
  if (!a.Open(request.archive1) || !b.Open(request.archive2)) {
    run.result.end = SynastryRunEnd::kFailed;
    return;
  }
  std::vector<Chart> chartsA, chartsB;
  const int countA = a.ReadInto(chartsA, 0, a.Count());
  const int countB = b.ReadInto(chartsB, 0, b.Count());
  const int slot1 = a.AddTo(run.Results()), slot2 = b.AddTo(run.Results());
  run.Expect(static_cast<std::int64_t>(countA) * countB);
  for (int i = 0; i < countA; ++i)
    for (int j = 0; j < countB; ++j)
      if (!run.Pair(chartsA[static_cast<std::size_t>(i)], chartsB[static_cast<std::size_t>(j)],
                    slot1, slot2, i, j, &a.Entry(i), &b.Entry(j)))
        return;
}

void PairEveryTwo(SynPairing& run, const SynastryRequest& request) {
  SynSource source;
  if (!source.Open(request.archive)) {
    run.result.end = SynastryRunEnd::kFailed;
    return;
  }
  std::vector<Chart> charts;
  const int count = source.ReadInto(charts, 0, source.Count());
  const int slot = source.AddTo(run.Results());
  run.Expect(static_cast<std::int64_t>(count) * std::max(0, count - 1));
  for (int i = 0; i < count; ++i)
    for (int j = 0; j < count; ++j)
      if (j != i &&
          !run.Pair(charts[static_cast<std::size_t>(i)], charts[static_cast<std::size_t>(j)], slot,
                    slot, i, j, &source.Entry(i), &source.Entry(j)))
        return;
}

}  // namespace

// --- Settings ---

SynastrySetup SynastrySetup::FromBlock(const cfg::ByteBlock& block) {
  SynastrySetup s;
  const int mode = block.Get(S::kPairingMode);
  s.mode = mode >= 0 && mode <= 3 ? mode : kSynEveryPair;
  s.archive = block.Get(S::kArchive);
  s.archive1 = block.Get(S::kArchive1);
  s.archive2 = block.Get(S::kArchive2);
  return s;
}

QueryViewSettings SynastryViewFromBlock(const cfg::ByteBlock& b) {
  QueryViewSettings v;
  kViewFields.Read(b, v);
  return v.Clamped();
}

void SynastryViewToBlock(const QueryViewSettings& view, cfg::ByteBlock& b) {
  kViewFields.Write(view.Clamped(), b);
}

// --- Results ---

SynChartTexts SynChartTexts::Of(const Chart& chart) {
  const SuperSource& d = chart.definition;
  const Source* base = d.GetBaseSource();
  const Source& s = base ? *base : d.GetCountSrc();
  const std::string moment = s.moment.ToText();  // "DD:MM:YYYY  HH:MM"
  return {s.Name(), d.Title(), moment.substr(0, 10), moment.size() > 12 ? moment.substr(12) : "",
          s.place.CoordText()};
}

std::string SynChartTexts::Line(const char* separator) const {
  return name + separator + title + separator + date + "  " + time + separator + place;
}

int CSynAnalResults::AddArchive(const std::string& path, std::int64_t fileTime) {
  if (static_cast<int>(archives_.size()) >= kSynMaxArchives) return -1;
  archives_.push_back({path, fileTime});
  return static_cast<int>(archives_.size()) - 1;
}

int CSynAnalResults::AddResult(const Chart& chart1, const Chart& chart2, int slot1, int slot2,
                               int record1, int record2, const ArchiveIndexEntry* entry1,
                               const ArchiveIndexEntry* entry2) {
  SynAnalResult r;
  r.slot1 = slot1;
  r.slot2 = slot2;
  r.record1 = record1;
  r.record2 = record2;
  r.chart1 = SynChartTexts::Of(chart1);
  r.chart2 = SynChartTexts::Of(chart2);
  if (entry1) r.entry1 = *entry1;
  if (entry2) r.entry2 = *entry2;
  results_.push_back(std::move(r));
  return 0;
}

SynastryRequest SynastryRequest::From(const SynastrySetup& setup, const Chart* current,
                                      std::vector<ArchiveListEntry> list) {
  return {setup.mode, setup.archive, setup.archive1, setup.archive2, std::move(list), current};
}

// --- The run ---

SynastryRunResult RunSynastry(const CFunc& set, const ChartContext& context,
                              const SynastryRequest& request, CSynAnalResults& results,
                              platform::ProgressSink& progress) {
  SynPairing run(set, context, results, progress);
  const int mode = request.mode >= 0 && request.mode <= 3 ? request.mode : kSynEveryPair;
  if ((mode == kSynOneArchive || mode == kSynArchiveList) && request.current == nullptr) {
    run.result.end = SynastryRunEnd::kFailed;
    return run.result;
  }
  switch (mode) {
    case kSynOneArchive:
      PairOneArchive(run, request);
      break;
    case kSynArchiveList:
      PairArchiveList(run, request);
      break;
    case kSynSamePosition:
      PairSamePositions(run, request);
      break;
    case kSynTwoArchives:
      PairTwoArchives(run, request);
      break;
    default:
      PairEveryTwo(run, request);
      break;
  }
  return run.result;
}

std::optional<SynastryRunResult> RunSynastryFromDialog(
    QueryDialogModel& model, std::string_view typedLogic, cfg::ByteBlock& synastryBlock,
    const SynastryRequest& request, const std::function<ChartContext()>& takeContext,
    const platform::ProgressRunner& run, const std::function<bool(SynastryHandOver)>& show) {
  model.resultsShown = false;
  if (!model.PrepareRun(typedLogic, synastryBlock)) return std::nullopt;
  const ChartContext context = takeContext();
  model.set.ReportRunProblems(context);
  SynastryHandOver handOver;
  handOver.results = std::make_unique<CSynAnalResults>();
  handOver.mode = request.mode >= 0 && request.mode <= 3 ? request.mode : kSynEveryPair;
  if (request.current && (handOver.mode == kSynOneArchive || handOver.mode == kSynArchiveList))
    handOver.results->current = SynChartTexts::Of(*request.current);

  SynastryRunResult result;
  CSynAnalResults& results = *handOver.results;
  run([&](platform::ProgressSink& progress) {
    progress.Begin();
    result = RunSynastry(model.set, context, request, results, progress);
    progress.End();
  });

  if (result.end == SynastryRunEnd::kCancelled) ShowMessage(kMsgRunCancelled);
  if (result.end == SynastryRunEnd::kEvaluationError) ShowMessage(kMsgRunStopped);
  if (handOver.results->ResultCount() > 0 && result.end != SynastryRunEnd::kCancelled) {
    handOver.header = BuildResultHeader(model.set, {}, false, model.view.showQuery,
                                        typedLogic.substr(0, QueryDialogModel::kMaxTypedLogic));
    model.resultsShown = show && show(std::move(handOver));
  } else if (result.end == SynastryRunEnd::kCompleted) {
    ShowMessage(kMsgNoPairFound);
  }
  return result;
}
