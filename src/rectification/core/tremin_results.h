// The table of the Tremin rectification's results without a window: one row per selected trial
// moment (date and time on the chart's clock, direction and progression scores and their mean,
// coloured by the mean), its heading, the lines shown when nothing was found, and its printed
// form in columns under the page head. Logical units of 0.01 mm, y upward.
#pragma once

#include <string>
#include <vector>

#include "foundation/lists/column_pages.h"
#include "platform/core/dc.h"

class Chart;
class Configuration;
class Moment;
class TmSearch;
struct ListDisplaySettings;

inline constexpr int kTreminViewHelpContext = 131306;
inline constexpr int kTreminTableX = 200;
inline constexpr int kTreminTitleSize = 3800;
// Below the top margin, where the printed rows begin (under the title and the page number).
inline constexpr int kTreminPrintRowsTop = 2600;

// The palette number of a mean score `mean` (tenths of a point): 3150 and above 4; 3000..3149 5;
// 2850..2999 1; 2700..2849 3; 2550..2699 2; below 2550 8.
int TmScoreColour(int mean);

// One row of the table: moment selected[row] of the search.
struct TmResultRow {
  std::string date;  // "DD:MM:YYYY", the era sign '-' after the year before Christ
  std::string time;  // "HH:MM:SS"
  std::string directions, progressions, total;  // points, "%4.1lf"
  int mean = 0;                                 // tenths: the integer half of the two scores' sum
  friend bool operator==(const TmResultRow&, const TmResultRow&) = default;
};

int TmResultCount(const TmSearch& search);
// Row `row` (0 .. TmResultCount - 1) of the results, in result order.
TmResultRow TmResultRowOf(const TmSearch& search, int row);
// The moment of row `row` on the chart's own clock: the one a double click opens.
Moment TmResultMoment(const TmSearch& search, int row);

// What a table is drawn with: the font, the column unit and the line pitch.
struct TmTableMetrics {
  int fontSize = 0;  // tenths of a point, "Vudurez"
  // The column unit: the width of 'W', widened when "00:00:0000 " is wider than five of them so
  // that the date never runs into the time.
  int unit = 1;
  double pitch = 1.0;  // character height x line spacing, at least one unit
};
TmTableMetrics MeasureTmTable(platform::Dc& dc, int fontSize, double lineSpacing);

// How a row's text is coloured: by its mean on the screen and on colour paper, black otherwise.
enum class TmInk { kScreen, kPaperColour, kPaperBlack };

// The heading line (messages 541 to 544) with its top at y, from x = 200.
void DrawTmHeading(platform::Dc& dc, const TmTableMetrics& m, int y);
// One row with its top-left corner at `at` (at.x the date's column). On the screen its band from
// at.x - 20 to at.x + 22 units is filled first: palette 16 when selected, else `background`.
void DrawTmRow(platform::Dc& dc, const TmTableMetrics& m, const TmResultRow& row,
               platform::Point at, bool selected, TmInk ink, platform::Color background);
// No result: messages 549 and 550 on two lines from `at`.
void DrawTmEmpty(platform::Dc& dc, const TmTableMetrics& m, platform::Point at);

// The printed table: rows per column, columns per page and where they stand.
struct TmPrintLayout {
  lists::ColumnPageLayout layout{1, 1, lists::ColumnOrder::kAcross};
  int left = 0;  // x of the first column's date
  int top = 0;   // distance of the first row's top below the paper's top edge
  double pitch = 1.0;
  int columnStep = 0;  // 22 units, 23 with the configuration's wide columns
};
// Rows per column: (26200 - top and bottom margins) / pitch (they end 900 above the bottom
// margin); columns: (20500 - left and right margins) / the column step, at most the settings'
// columns; each at least 1.
TmPrintLayout LayOutTmPrint(const Configuration& config, const TmTableMetrics& paper,
                            int maxColumns, int printOrder);

// The head of a printed page of the Tremin views: the frame, the chart's block and the ornament
// of the table views' page head, then `lines` in "Vudurez" at `size`, each centred between the
// margins, one under the other from 100 below the block (a long title beside the block would run
// over it).
void DrawTmPageHeadLines(platform::Dc& dc, const Chart& chart, const Configuration& config,
                         const std::vector<std::string>& lines, int size);
// The head of printed page `page` of the results: message 545 at 38 points, and from page 2
// "(стр. N)" under it.
void DrawTmPageHead(platform::Dc& dc, const Chart& chart, const Configuration& config, int page);
