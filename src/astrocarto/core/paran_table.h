// The table of the crossings of the planetary lines (parans): one row per crossing with the two
// bodies and their line names and the crossing's latitude and longitude. On paper the rows run
// in columns, as many as fit the page and the configured limit allow.
#pragma once

#include <array>
#include <vector>

#include "astrocarto/core/ac_lines.h"
#include "foundation/lists/column_pages.h"
#include "platform/core/dc.h"

class Chart;
class Configuration;

// The printed layout: rows from (left, top) on every page, `pitch` apart, columns `columnWidth`
// apart.
struct ParanPrintLayout {
  lists::ColumnPageLayout layout{1, 1, lists::ColumnOrder::kAcross};
  int left = 0, top = 0;
  double pitch = 1.0;
  double columnWidth = 1.0;
  int fontSize = 1;  // of the rows and their column headings
};

class ParanTable {
 public:
  // Which crossings: of the first chart's lines, of the second chart's, or between the two
  // charts (ACLines::CrossingMode); -1 when the choice was cancelled and nothing is listed.
  void SetCrossings(int choice, std::vector<Crossing> crossings);
  int Choice() const { return choice_; }
  int Count() const { return static_cast<int>(crossings_.size()); }
  const std::vector<Crossing>& Crossings() const { return crossings_; }

  // The width of a column at `fontSize`: 20 widths of "W" in "VelmAstro5a" (22 when `wide`, the
  // "Windows 2000" switch), but at least what a row takes (the longitude at 14 widths of "W" in
  // "Vudurez") and two widths of "W" more.
  static double ColumnWidth(platform::Dc& dc, int fontSize, bool wide);
  // The height of a row's characters ("W" in "Vudurez") at `fontSize`, at least 1.
  static int RowHeight(platform::Dc& dc, int fontSize);
  // Row `row` with its top-left corner at `at`, with w the width of "W" in "Vudurez" at
  // `fontSize`: the first body's glyph, its line name at 2w, the second body's glyph at 5w and
  // its line name at 7w, the latitude at 10w and the longitude at 14w. The selected row in
  // colour 4, the others in colour 0.
  void DrawRow(platform::Dc& dc, int row, platform::Point at, int fontSize, bool selected) const;
  // The column headings of rows drawn at `at.x`, in the rows' font, at `at`: "Линии" over the two
  // bodies and their lines, "Шир." over the latitude, "Долг." over the longitude.
  static void DrawColumnHeads(platform::Dc& dc, platform::Point at, int fontSize);

  // The printed pages inside the configuration's print margins, the column headings 30 mm below
  // the top margin and the rows one pitch lower: rows per column as the height allows at
  // `interval`, columns as the width allows but at most `maxColumns`, both at least 1; `order` 1
  // runs down each column, else across. The columns are wide with the configuration's "Windows
  // 2000" switch.
  static ParanPrintLayout LayoutPrint(platform::Dc& dc, const Configuration& config, int fontSize,
                                      double interval, int maxColumns, int order);
  // The head of printed page `page` of a table whose page holds `rowsUsed` rows (the column
  // headings one pitch above the first row of every column the page fills): the page frame
  // ending below the last row (at the bottom margin at most), the chart header of `first`
  // (choice 0) or `second` (choice 1) with the ornament at the right, or both headers for choice
  // 2, the second right-aligned; the title "ПЕРЕСЕЧЕНИЯ ЛИНИЙ" with the page number after the
  // first page.
  void DrawPageHead(platform::Dc& dc, const Configuration& config, const ParanPrintLayout& layout,
                    const Chart& first, const Chart* second, int page, int rowsUsed) const;

 private:
  int choice_ = ACLines::kFirstChart;
  std::vector<Crossing> crossings_;
};
