// The archive query run: a condition set decided on every chart of the current archive (the
// charts that hold are marked 'Y' in its index) or of every switched-on archive of a list (the
// hits collected, archive by archive, into the archive object's query results); its summary and
// the header lines printed above the results.
//
// A run evaluates with the settings of the ChartContext it is given, taken once when it starts;
// it reads nothing of the program's live settings while it goes through the records.
// Questions and messages go through the prompt service, progress through the progress sink, whose
// Cancel stops the run.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "conditions/core/cfunc.h"

class Archive;
class ChartContext;

namespace platform {
class ProgressSink;
}

// Where a run searches: the current archive only, or the switched-on archives of the list.
struct QueryRunRequest {
  bool currentArchiveOnly = true;
  std::vector<ArchiveListEntry> archives;
};

enum class QueryRunEnd {
  kRefused,          // nothing searched (the refusal was shown)
  kCompleted,        // every record of every archive decided
  kCancelled,        // the progress dialog's Cancel stopped the run
  kEvaluationError,  // a condition gave -1: the whole run stopped at that chart
};

struct QueryRunResult {
  QueryRunEnd end = QueryRunEnd::kRefused;
  bool overList = false;      // the run went over the archive list
  int archivesProcessed = 0;  // list runs: archives opened and searched
  int viewed = 0;             // charts read minus the Local Space charts skipped
  int hits = 0;
  int stoppedAtRecord = -1;   // the chart whose evaluation gave -1 (in the archive at hand)
  bool reopenFailed = false;  // the archive open before a list run could not be opened again
};

// The refusals before a run, each shown with its message: a current-archive run with no archive
// open (1916), a list run with an empty list (1125). True when the request is refused.
bool RefuseQueryRequest(const Archive& archive, const QueryRunRequest& request);

// Runs the set (its mode and logic as set) under `context` over the request's archives.
//
// Current archive: with some charts marked already, message 678 asks whether to keep the marks (No
// clears them); every chart that holds is marked 'Y'. Archive list: the missing archives of the
// list are named once before the search (593); the query results are reset; every switched-on
// archive is made current and indexed in turn (one that cannot be is passed over), and at its
// first hit it opens a result group that takes its hits' record numbers; afterwards the archive
// open before is made current again (a failure is reported with 1917, the results stay).
//
// In both: a Local Space chart asks message 1110 once per run (No skips every such chart, and
// they do not count as viewed); a chart that cannot be read ends the search of its archive; -1
// from the set or the progress sink's Cancel stops the whole run, keeping what was found so far.
QueryRunResult RunQuery(Archive& archive, const CFunc& set, const ChartContext& context,
                        const QueryRunRequest& request, platform::ProgressSink& progress);

// "%s - %d\n%s - %d" of messages 590 and 591 after a current-archive run; with 594 and the
// archives processed first after a list run; a stopped run adds its line (1918 or 1919).
std::string QuerySummaryText(const QueryRunResult& result);

// The header lines above the results (code page 1251): with `showArchives` message 613, the path
// of every switched-on archive and an empty line; with `showQuery` message 614, then in the all
// and any modes 617 or 618 (not for a set of exactly one condition) and the text of every
// switched-on condition, in the logic mode 616 with the expression as typed and the numbered text
// of every condition the expression names, in set order; an empty line; with either, 615.
std::vector<std::string> BuildResultHeader(const CFunc& set,
                                           const std::vector<ArchiveListEntry>& archives,
                                           bool showArchives, bool showQuery,
                                           std::string_view typedLogic);
