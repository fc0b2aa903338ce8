// The picture of the rectification score matrix, on the screen and on paper, in logical units of
// 0.1 mm (y up): a table of the trial minutes by events or by methods, with a totals row and a
// totals column, or a graph of the trial sums over the trial minutes. RectGraph is both the
// plotting base and the matrix; it keeps the form shown, the table's layout and the first trial
// shown, and maps a point of the window to the trial (and row) under it.
#pragma once

#include <string>
#include <vector>

#include "platform/core/dc.h"
#include "rectification/core/rect_matrix.h"
#include "views/core/rgraph.h"

inline constexpr int kRectifHelpContext = 131319;

// The forms, as the display mode of the rectification block numbers them.
enum RectForm { kRectByEvents = 0, kRectByMethods = 1, kRectGraph = 2 };
inline int NextRectForm(int form) { return (form + 1) % 3; }

class Chart;
class Configuration;

// The head of printed page `page` as every printed view has it, in 0.01 mm whatever the mapping
// mode (which is restored): the page frame, the chart's identification block, the ornament and
// the title "%s (%s %d)" (message 472, message 67, the page number) beside them or, with no room
// there, under them. Returns the y under the head (0.01 mm, negative).
int DrawRectPageHead(platform::Dc& dc, const Chart& chart, const Configuration& config, int page);

// The label step of the graph's vertical axis for the range of the trial sums.
int RectLabelStep(double range);
// The colour class of a value against its mean: 2 below half the mean, 4 above 1.5 times it,
// else 0 (palette numbers).
int RectColourClass(double value, double mean);
// `text` wrapped at blanks and after parentheses into lines narrower than `width` in the selected
// font; a word wider than the width stands on a line of its own.
std::vector<std::string> WrapRectName(platform::Dc& dc, const std::string& text, int width);

// Where the parts of a table stand, logical units, y up.
struct RectTableLayout {
  platform::Rect area;  // the client area, or the paper less margins and page head
  bool paper = false;
  int fontSize = 100;
  int rowHeight = 1;    // of one line: a row is as many row heights high as its name has lines
  int nameWidth = 1;    // the column of names
  int totalsWidth = 1;  // the totals column, right of the names
  int columnWidth = 1;  // one trial
  int visibleTrials = 1;
  // The left edge of the first trial column and the top of the first row (under the two header
  // lines).
  int TrialsLeft() const { return area.left + nameWidth + totalsWidth; }
  int RowsTop() const { return area.top - 2 * rowHeight; }
  // The top of row r; of the totals row for r = the row count.
  int RowTop(int r) const;
  // The bottom of the totals row.
  int TableBottom() const;
  // The lines of row r's name (one at least).
  int RowLines(int r) const;

  // Each row's name wrapped into its lines, and the rows' tops followed by the totals row's top
  // and bottom.
  std::vector<std::vector<std::string>> names;
  std::vector<int> rowTops;
};

// What lies under a point: the trial (-1 for none) and the table row (-1 for none: the header,
// the totals row, the graph).
struct RectHit {
  int trial = -1;
  int row = -1;
};

// Horizontal scrolling of the tables, as the scroll bar asks.
enum class RectScroll { kLineLeft, kLineRight, kPageLeft, kPageRight, kThumb, kHome, kEnd };

class RectGraph : public RGraph, public RectMatrix {
 public:
  // One sample point per trial, a minute apart.
  void DefineScale() override;

  // Shows `form` (0..2; another value reads 0) and projects the matrix for it: by methods for
  // the table by methods and the graph, by events for the table by events.
  void SetForm(int form);
  int Form() const { return form_; }
  // The next form (0 -> 1 -> 2 -> 0).
  void CycleForm() { SetForm(NextRectForm(form_)); }

  // The number of rows of the current table (events in use or methods on); 0 for the graph.
  int RowCount() const;
  // The label of row r: the event's text or the method's name.
  std::string RowName(int r) const;

  // Lays the current form out for `area` (the client rectangle, or the printed page less its
  // margins and head) and keeps the first trial within the trials. The names are wrapped into
  // lines no wider than 90 % of the name column; the two header lines, the totals row and every
  // line of the names share the area's height, each 3 to 6 mm high.
  void LayOut(platform::Dc& dc, const platform::Rect& area, bool paper);
  const RectTableLayout& Layout(bool paper) const { return paper ? paper_ : screen_; }

  int FirstVisible() const { return first_; }
  // Moves the first trial shown; the position stays within 0 .. trial count - 1.
  void Scroll(RectScroll action, int position = 0);

  // The trial and row under a point of the screen layout. In the tables a point in the name or
  // totals column, past the last trial column or past the last trial is no trial; in the graph
  // the nearest sample point inside the plot area.
  RectHit HitTest(platform::Point p) const;

  // Draws the current form in the screen layout from the first trial shown.
  void Draw(platform::Dc& dc, bool verticalGrid, bool horizontalGrid);
  // Printed pages of the current form in the paper layout: one for the graph; for the tables as
  // many as the trials need at the trial columns of a page (at least one).
  int PageCount() const;
  // The trials of page `page` (from 1) in the paper layout, under the head DrawRectPageHead
  // drew.
  void DrawPage(platform::Dc& dc, int page, bool verticalGrid, bool horizontalGrid);
  // Room under the top margin that a printed table or graph leaves at least for the page head
  // (0.1 mm).
  static constexpr int kPaperHead = 190;

  // The graph's scale: the lowest and highest trial sums, and the top of the axis (the highest,
  // or one label step above the lowest when every sum is the same).
  double MinimumSum() const { return minimum_; }
  double MaximumSum() const { return maximum_; }
  double AxisTop() const;
  // The x of trial t and the y of sum v in the current graph layout.
  double TrialX(int t) const;
  double SumY(double v) const;

 private:
  void DrawTable(platform::Dc& dc, const RectTableLayout& l, int first);
  void DrawGraph(platform::Dc& dc, bool verticalGrid, bool horizontalGrid);
  void SetGraphArea(const platform::Rect& area, bool paper);
  int HitGraph(platform::Point p) const;

  int form_ = kRectByEvents;
  int first_ = 0;
  RectTableLayout screen_;
  RectTableLayout paper_;
  double minimum_ = 0.0, maximum_ = 0.0;
};
