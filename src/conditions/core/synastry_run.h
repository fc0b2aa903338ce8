// The synastry analysis run: pairs of charts formed from archives by one of five pairing modes,
// the condition set of two-chart conditions decided on each pair, and the pairs for which it holds
// kept in order with the identification texts of both charts and what is needed to find them
// again (the archive slot, the record number, the index entry and the file's time stamp).
//
// The run reads every archive it needs through readers of its own, each archive opened and
// indexed once: the program's current archive is left as it is. Record numbers are 32-bit.
// Messages go through the prompt service, progress through the progress sink, whose Cancel stops
// the pairing (the pairs found so far stay).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archive/store/archive_index_entry.h"
#include "conditions/core/cfunc.h"
#include "conditions/core/query_dialog_model.h"
#include "foundation/config/byte_block.h"

class Chart;
class ChartContext;

namespace platform {
class ProgressSink;
}

// The pairing modes of the set-up dialog.
enum SynastryMode {
  kSynOneArchive = 0,    // each chart of the archive with the current chart
  kSynArchiveList = 1,   // each chart of every switched-on listed archive with the current chart
  kSynSamePosition = 2,  // chart k of archive 1 with chart k of archive 2
  kSynTwoArchives = 3,   // every chart of archive 1 with every chart of archive 2
  kSynEveryPair = 4,     // every ordered pair of two different charts of one archive
};

inline constexpr int kSynChunk = 100;        // charts of each archive at a time in mode 2
inline constexpr int kSynMaxArchives = 50;   // archive slots of one run
inline constexpr int kSynCurrentChart = -1;  // slot and record of chart 2 in modes 0 and 1

// The synastry block of the configuration, as the run and its windows read it.
struct SynastrySetup {
  int mode = kSynEveryPair;  // 0..4; a stored value outside 0..3 reads as 4
  std::string archive, archive1, archive2;
  static SynastrySetup FromBlock(const cfg::ByteBlock& block);
};
// The display settings of the synastry results (the fields D_QUERY_PARAMS edits), clamped.
QueryViewSettings SynastryViewFromBlock(const cfg::ByteBlock& block);
void SynastryViewToBlock(const QueryViewSettings& view, cfg::ByteBlock& block);

// The identification texts of a chart, from its base Source: name, title, "DD:MM:YYYY", "HH:MM"
// and the place's coordinates.
struct SynChartTexts {
  std::string name, title, date, time, place;
  static SynChartTexts Of(const Chart& chart);
  // Name, title, date and time joined by two blanks, and place, joined by `separator`.
  std::string Line(const char* separator) const;
};

// One pair found.
struct SynAnalResult {
  int slot1 = 0;
  int slot2 = kSynCurrentChart;
  int record1 = 0;
  int record2 = kSynCurrentChart;
  SynChartTexts chart1, chart2;
  ArchiveIndexEntry entry1, entry2;  // the index entries the records had (entry2 empty for -1)
};

// One archive of the run: its path and the file's time stamp when it was read.
struct SynastryArchive {
  std::string path;
  std::int64_t fileTime = 0;
};

class CSynAnalResults {
 public:
  // The next free slot for `path`: its number, or -1 when all 50 are taken.
  int AddArchive(const std::string& path, std::int64_t fileTime);
  // Appends a pair (the texts taken from the charts); returns 0.
  int AddResult(const Chart& chart1, const Chart& chart2, int slot1, int slot2, int record1,
                int record2, const ArchiveIndexEntry* entry1 = nullptr,
                const ArchiveIndexEntry* entry2 = nullptr);
  // Every result, in the order found.
  std::vector<SynAnalResult> CopyToArray() const { return results_; }
  void RemoveAll() { results_.clear(); }

  int ResultCount() const { return static_cast<int>(results_.size()); }
  const SynAnalResult& Result(int i) const { return results_.at(static_cast<std::size_t>(i)); }
  const std::vector<SynastryArchive>& Archives() const { return archives_; }

  // The current chart of modes 0 and 1: its texts, copied (the chart may close meanwhile).
  std::optional<SynChartTexts> current;

 private:
  std::vector<SynastryArchive> archives_;
  std::vector<SynAnalResult> results_;
};

// What the run hands to the result view: the results and the description lines.
struct SynastryHandOver {
  std::unique_ptr<CSynAnalResults> results;
  std::vector<std::string> header;
  int mode = kSynEveryPair;
};

// What a run pairs.
struct SynastryRequest {
  int mode = kSynEveryPair;
  std::string archive, archive1, archive2;  // modes 0 and 4; modes 2 and 3
  std::vector<ArchiveListEntry> list;       // mode 1
  const Chart* current = nullptr;           // modes 0 and 1
  static SynastryRequest From(const SynastrySetup& setup, const Chart* current,
                              std::vector<ArchiveListEntry> list);
};

enum class SynastryRunEnd {
  kCompleted,        // every pair decided (a chart that could not be read was reported)
  kFailed,           // an archive could not be opened or indexed: the pairing ended (reported)
  kCancelled,        // the progress dialog's Cancel
  kEvaluationError,  // the set gave -1 on a pair
};

struct SynastryRunResult {
  SynastryRunEnd end = SynastryRunEnd::kCompleted;
  std::int64_t pairs = 0;   // pairs decided
  std::vector<int> chunks;  // mode 2: the charts loaded per chunk
};

// Decides the set on every pair of the request's mode (the set's own mode: all, any or its logic)
// and appends the pairs that hold to `results`, whose slots name the archives read. The messages
// of the run (477, 1133, 1134, 593, 1136, 1137, 1142) are shown as they arise.
SynastryRunResult RunSynastry(const CFunc& set, const ChartContext& context,
                              const SynastryRequest& request, CSynAnalResults& results,
                              platform::ProgressSink& progress);

// The query dialog's OK in the synastry mode: the set's mode stored in the synastry block, in
// the logic mode the expression checked and kept in the history (a refusal ends here: false);
// then the run (through `run`), and after a complete run with at least one pair the header lines
// built and `show` handed the results (false when nothing could be shown); a cancelled run hands
// nothing over. Message 1132 only after a complete run without a pair;
// a stopped run says so (1918, 1919). The run's result, or nothing when it did not start.
std::optional<SynastryRunResult> RunSynastryFromDialog(
    QueryDialogModel& model, std::string_view typedLogic, cfg::ByteBlock& synastryBlock,
    const SynastryRequest& request, const std::function<ChartContext()>& takeContext,
    const platform::ProgressRunner& run, const std::function<bool(SynastryHandOver)>& show);
