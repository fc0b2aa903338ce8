// How a prediction list is drawn: one line of the list dialog's owner-drawn list box, the rows of
// the print view on the screen, and its printed pages, where each record is followed by its
// comment broken into lines of at most 80 characters. Qt-free.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "forecast/core/pred_list_record.h"
#include "platform/core/dc.h"

class Chart;
class Configuration;

namespace forecast {

// The comment broken into printed lines of at most `width` characters: at a blank seen since the
// line began (the blank dropped), else after exactly `width` characters; no empty line.
std::vector<std::string> WrapComment(std::string_view comment, std::size_t width = 80);

// One printed line: a record's row, or a line of a record's comment.
struct PredPrintLine {
  enum class Kind { kRecord, kComment };
  Kind kind = Kind::kRecord;
  int record = 0;    // the record the line belongs to
  std::string text;  // a comment line (code page 1251)
  friend bool operator==(const PredPrintLine&, const PredPrintLine&) = default;
};

// Each record's row, then its comment's lines, in record order.
std::vector<PredPrintLine> BuildPrintLines(const std::vector<PredListRecord>& records);

// Draws record `r` as a line of the list box in `item` (pixels, MM_TEXT, y down) with the list
// box's font selected: the text in palette colour 0 (7 for a marked record), a selected line on a
// fill of palette colour 1 in colour 14 (7 marked), another on `background`. The columns stand
// at 0, 90, 103, 170, 183, 250, 265, 278 and 305 pixels (20 more for a marked record), widened
// all alike when the moment's text is wider than 90 pixels in the list box's font.
void DrawPredListItem(platform::Dc& dc, const platform::Rect& item, const PredListRecord& r,
                      bool selected, platform::Color background);
// The width (pixels) a line of the list box takes with its font selected: a marked record's
// columns up to the arc and the widest arc ("-999.99") or its column name after it.
int PredListLineWidth(platform::Dc& dc);
// Draws the column names over the list box's lines in `head` (pixels, MM_TEXT, y down) with the
// list box's font selected, as the printed page names them: the moment at its column, the
// moving and the target object over their glyphs, the aspect and the arc.
void DrawPredListHead(platform::Dc& dc, const platform::Rect& head, platform::Color background);

// The print view of one list: its rows on the screen, its printed pages.
class PredListPrintout {
 public:
  static constexpr int kScreenLeft = 200;
  static constexpr int kScreenTop = 100;
  static constexpr int kHeaderHeight = 1500;  // below the top margin on paper

  // `fontSize` tenths of a point, `interval` the row height in hundredths of the line height.
  // `person`, when given, is the chart the list was opened from: its identification block heads
  // the printed pages. The printout keeps references to the records, the chart and the
  // configuration.
  PredListPrintout(const std::vector<PredListRecord>& records, std::string listName, int fontSize,
                   int interval, const Configuration& config, const Chart* person = nullptr);

  int Count() const { return static_cast<int>(records_.size()); }
  const std::string& ListName() const { return name_; }

  // The row height on the screen (the height of "W" times the interval, at least 1).
  int ScreenRowHeight(platform::Dc& dc) const;
  // The column names over the rows, with their top at y, the date's column at `dateX`.
  void DrawColumnNames(platform::Dc& dc, int dateX, int y) const;
  // Record `record` as a screen row with its top at y.
  void DrawScreenRow(platform::Dc& dc, int record, int y) const;

  // Builds the printed lines and measures the page; returns the page count (0 for an empty
  // list).
  int PreparePrinting(platform::Dc& dc);
  const std::vector<PredPrintLine>& PrintLines() const { return lines_; }
  int RowsPerPage() const { return rowsPerPage_; }
  // Page `page` (from 1) of the prepared printout: the head and its lines.
  void DrawPage(platform::Dc& dc, int page) const;

 private:
  // The head of page `page`: the frame, the person's block, the ornament, the title beside them
  // or under them, the list's name under them and the column names; drawn only with `draw`.
  // Returns the y under the column names (0.01 mm, negative).
  int DrawPageHead(platform::Dc& dc, int page, bool draw) const;
  // The record's row: the date at dateX, the moving object at movingX, the rest after it.
  void DrawRow(platform::Dc& dc, const PredListRecord& r, int dateX, int movingX, int y) const;

  const std::vector<PredListRecord>& records_;
  std::string name_;
  int fontSize_;
  int interval_;
  const Configuration& config_;
  const Chart* person_;
  std::vector<PredPrintLine> lines_;
  int rowHeight_ = 1;
  int rowsPerPage_ = 1;
  int firstTop_ = 0;
};

}  // namespace forecast
