// The results of a synastry analysis as its result view holds them: the pairs with their marks,
// the archives with the time stamps their files had, the current chart's texts and the
// description lines; the heading and the columns of each pairing mode and the drawing of rows,
// button strip and printed pages in 0.01 mm (y upwards); and what the view does with the chosen
// rows through the archive object: open their charts, copy them into another archive. Before a
// record is acted on its archive's time stamp and its index entry are checked
// (ResultArchiveAction): a changed archive or record is never taken for the one found.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "conditions/core/query_dialog_model.h"
#include "conditions/core/query_results.h"
#include "conditions/core/query_view_draw.h"
#include "conditions/core/synastry_run.h"
#include "platform/core/dc.h"

class Archive;
class Configuration;

// The buttons of the strip, left to right.
enum SynButton { kSynLoad, kSynCopy, kSynMarkAll, kSynUnmarkAll, kSynInvert, kSynButtons };
// The buttons' titles, in that order.
std::vector<std::string> SynButtonTitles();

// One chart of a result to act on: its archive slot, record and index entry.
struct SynChartRef {
  int slot = 0;
  int record = 0;
  ArchiveIndexEntry entry;
  friend bool operator==(const SynChartRef& a, const SynChartRef& b) {
    return a.slot == b.slot && a.record == b.record;
  }
};

// One copy operation: the records of one archive copied together.
struct SynCopyOp {
  int slot = 0;
  std::vector<SynChartRef> charts;
};

// A column of a row: which chart (1 or 2), which text, where it begins and how wide it is, each
// as a fraction of the view's width W plus units.
enum class SynField { kName, kTitle, kDate, kTime, kPlace, kArchive };
struct SynColumn {
  int chart = 1;
  SynField field = SynField::kName;
  double x = 0.0;
  int xUnits = 0;
  double width = 0.0;  // 0: the rest of the width
  int widthUnits = 0;
};
std::vector<SynColumn> SynColumns(int mode);

class SynAnalTable {
 public:
  // Takes the hand-over: results, marks (none), archives, current chart; the description lines
  // are, with `showArchives`, message 613, in modes 0 and 1 the current chart's line (1163),
  // one line per archive and an empty line, then the run's header lines.
  void TakeOver(SynastryHandOver handOver, bool showArchives);

  int Mode() const { return mode_; }
  int Count() const { return static_cast<int>(results_.size()); }
  const SynAnalResult& Result(int i) const { return results_.at(static_cast<std::size_t>(i)); }
  const std::vector<QueryResultArchive>& Archives() const { return archives_; }
  const std::optional<SynChartTexts>& Current() const { return current_; }
  const std::vector<std::string>& Description() const { return description_; }

  bool Marked(int i) const { return marks_.at(static_cast<std::size_t>(i)); }
  void ToggleMark(int row);
  void MarkAll();
  void UnmarkAll();
  void InvertMarks();
  // The marked rows in order; none marked: the cursor row alone.
  std::vector<int> ChosenRows(int cursor) const;

  // The charts `rows` open, in order: modes 0 and 1 chart 1; modes 2 and 3 chart 2, then chart 1;
  // mode 4 chart 1, then chart 2.
  std::vector<SynChartRef> OpeningOrder(const std::vector<int>& rows) const;
  // The copy operations of `rows`: mode 0 one; mode 1 one per run of rows of one archive; modes
  // 2 and 3 every chart 1, then every chart 2; mode 4 with `inPairs` chart 1 then chart 2 of each
  // row, else every chart 1 alone, then every chart 2 alone.
  std::vector<SynCopyOp> CopyOrder(const std::vector<int>& rows, bool inPairs) const;

  // Opens the charts of `rows` (`open` is called with the archive current and the record); the
  // charts opened and skipped.
  QueryRowsDone Load(Archive& archive, const std::vector<int>& rows,
                     const std::function<bool(Archive&, int record)>& open);
  // Copies the charts of `rows` into an archive the user chooses (mode 4 with more than one row
  // asks 1160 first: Yes in pairs); the closing message gives the counts.
  QueryRowsDone Copy(Archive& archive, const std::vector<int>& rows);

 private:
  int mode_ = kSynEveryPair;
  std::vector<SynAnalResult> results_;
  std::vector<bool> marks_;
  std::vector<QueryResultArchive> archives_;
  std::optional<SynChartTexts> current_;
  std::vector<std::string> description_;
};

// The heading of the table (code page 1251), its archive paths shortened to the width left.
std::string SynHeading(platform::Dc& dc, const SynAnalTable& table, int width);

// The screen: rows of "Vudurez" at `fontSize`, `gap` apart; the heading on the first line, the
// rows from 1.5 row heights below the top, the button strip at the bottom.
struct SynScreenLayout {
  int width = 1;
  int fontSize = 100;
  int rowHeight = 1;
  int gap = 0;
  int Pitch() const { return std::max(1, rowHeight + gap); }
  int FirstRowTop() const { return rowHeight * 3 / 2 + gap; }
  ButtonStrip strip;
};
SynScreenLayout LayoutSynScreen(platform::Dc& dc, int width, int height,
                                const QueryViewSettings& view, bool largeFont);
void DrawSynHeading(platform::Dc& dc, const SynAnalTable& table, const SynScreenLayout& layout);
void DrawSynStrip(platform::Dc& dc, const SynScreenLayout& layout);
// Row `row` with its top at `top` between `left` and `left + width`; the cursor row on palette
// colour 1, the others on 15; text 12 for marked rows, 14 for the unmarked cursor row, else 0;
// on paper nothing is filled and marked rows stay red.
void DrawSynRow(platform::Dc& dc, const SynAnalTable& table, int row, int left, int width, int top,
                int pitch, int fontSize, bool cursor, bool paper);

// The printout: the description lines, then the rows, as many a page as fit below the 25 mm
// head (at least one).
struct SynPrintLayout {
  int fontSize = 100;
  int pitch = 1;
  int left = 0;
  int width = 1;
  int top = 0;
  int rowsPerPage = 1;
  int lines = 0;
  int Pages() const { return (lines + rowsPerPage - 1) / rowsPerPage; }
};
SynPrintLayout LayoutSynPrint(platform::Dc& dc, const Configuration& config,
                              const QueryViewSettings& view, const SynAnalTable& table);
void DrawSynPage(platform::Dc& dc, const Configuration& config, const SynPrintLayout& layout,
                 const SynAnalTable& table, int page);
