// The archive query dialog without its window: the list of archives to search, the condition set,
// the logic history, the current-archive switch, the evaluation mode and the settings of the
// results view, with the rules of its buttons, the saving of its list files, and its OK: the
// archive run and what follows it (the results handed to the results view, the summary).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "conditions/core/cfunc.h"
#include "conditions/core/query_run.h"
#include "foundation/config/byte_block.h"
#include "platform/core/dc.h"
#include "platform/core/progress_sink.h"

class Archive;
class ChartContext;

// The settings of the results view that D_QUERY_PARAMS edits: font sizes (tenths of a point) and
// line gaps (0.01 mm) on the screen and on paper, and which header lines the run builds.
struct QueryViewSettings {
  static constexpr int kMinFont = 100, kMaxFont = 10000;
  static constexpr int kMinGap = 0, kMaxGap = 10000;

  int screenFont = 2400;
  int printFont = 1800;
  int screenGap = 60;
  int printGap = 100;
  bool showArchives = true;
  bool showQuery = true;

  // Every number brought into its range.
  QueryViewSettings Clamped() const;
  // The values of the query block, clamped; and written back.
  static QueryViewSettings FromBlock(const cfg::ByteBlock& block);
  void ToBlock(cfg::ByteBlock& block) const;
  friend bool operator==(const QueryViewSettings&, const QueryViewSettings&) = default;
};

// Which controls the dialog shows and enables.
struct QueryDialogEnabling {
  bool archiveList = false;  // the list of archives (hidden in favour of the current name)
  bool addArchive = false;
  bool removeArchive = false;  // also "ВКЛ/ВЫКЛ"
  bool addCondition = false;
  bool changeCondition = false;  // delete, edit, on/off
  bool logicCombo = false;
  friend bool operator==(const QueryDialogEnabling&, const QueryDialogEnabling&) = default;
};

class QueryDialogModel {
 public:
  static constexpr int kMaxArchives = 50;
  static constexpr std::size_t kMaxTypedLogic = 100;

  // The query mode, or with `synastry` the synastry mode (a set of two-chart conditions).
  explicit QueryDialogModel(QueryMode mode = QueryMode::kQuery);

  // The list files of the mode ("quearcs.lst", "quefuncs.lst", "quelogic.lst"; in the synastry
  // mode "synfuncs.lst" and "synlogic.lst", the archives being the set-up dialog's) from the data
  // folder, the groups, and the switch, mode and view settings of the mode's block (the query
  // block, or the synastry block).
  void Load(const cfg::ByteBlock& block);
  QueryMode Mode() const { return mode_; }

  CFunc set;
  std::vector<ArchiveListEntry> archives;
  std::vector<std::string> history;
  bool currentArchiveOnly = true;
  QueryViewSettings view;
  int selectedArchive = -1;    // -1 none
  int selectedCondition = -1;  // -1 none
  bool resultsShown = false;   // the last run opened the results view

  QueryDialogEnabling Enabling() const;

  // --- The archive list (each change saved) ---
  // Message 560 and true when the list holds 50 archives already.
  bool RefuseFullList() const;
  // Adds the archive the user chose: refused with 560 when the list holds 50, 1139 when the file
  // cannot be opened, 477 when it is not an archive, 561 when it is in the list already; a name
  // without extension gets ".arc". Appended switched on and selected. The message shown, or 0.
  int AddArchive(std::string path);
  // The selected entry removed (the next one selected) or switched on or off; 562 when none is
  // selected. The message shown, or 0.
  int RemoveArchive();
  int ToggleArchive();
  int SaveArchives() const;

  // --- The conditions ---
  // The selected condition switched on or off and the list saved; false when none is selected.
  bool ToggleCondition();
  int SaveConditions();
  // After the wizard added (selected: the first) or removed a condition: the selection kept in the
  // list, -1 when it is empty.
  void ConditionsChanged(int select);

  // --- OK ---
  // The steps before a run: the archive list saved, the switch and mode stored in `block` (the
  // synastry mode stores its mode alone), an empty list refused (1125) when the switch is off,
  // and in the logic mode the expression (at most 100 characters of `typedLogic`) checked, put at
  // the head of the history and the history saved. False when the run must not start (the
  // message was shown).
  bool PrepareRun(std::string_view typedLogic, cfg::ByteBlock& block);
  QueryRunRequest Request() const { return {currentArchiveOnly, archives}; }

 private:
  QueryMode mode_;
};

// The OK of the query mode: PrepareRun, the run (through `run`) under the settings `takeContext`
// gives once the dialog's switch and mode are stored, then after a complete list run with hits
// the header lines handed to the archive and `showResults` called (true when the results view
// opened; the results are freed otherwise), after a list run without hits or a cancelled one the
// results freed; last the summary. The run's result (kRefused when it did not start).
QueryRunResult RunQueryFromDialog(QueryDialogModel& model, std::string_view typedLogic,
                                  cfg::ByteBlock& queryBlock, Archive& archive,
                                  const std::function<ChartContext()>& takeContext,
                                  const platform::ProgressRunner& run,
                                  const std::function<bool()>& showResults);

// --- The owner-drawn lists of the dialog (CFuncList, CQueArcListBox) ---

// The text of archive entry `path` in its list: shortened for 50 characters.
std::string QueryArchiveItemText(std::string_view path);
// Draws one item at the top left of `item` with a transparent background in the selected font: a
// selected item on a fill of palette colour 1, an unselected one on `background`; the text in
// colour 0 (switched off: 7), selected 14 (switched off: 7).
void DrawQueryListItem(platform::Dc& dc, const platform::Rect& item, std::string_view text, bool on,
                       bool selected, platform::Color background);
