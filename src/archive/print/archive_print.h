// The listing of an archive on paper and on screen: its parameters (kept in the configuration),
// the list of printed charts with their comment and coordinate lines, the columns, the printer
// and screen fonts, the pagination, the page head and the drawing of every line through a Dc in
// 0.01 mm with y growing upwards.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "archive/store/archive.h"
#include "foundation/config/byte_block.h"
#include "foundation/config/coord_conf.h"
#include "platform/core/dc.h"

// What the listing prints. Read from the configuration's block clamped into range: a line interval
// below 0.5 would make lines of no height (0.0 divides by zero), so it is raised to 0.5.
struct ArchivePrintParams {
  static constexpr int kMinFontSize = 100, kMaxFontSize = 20000;
  static constexpr double kMinInterval = 0.5, kMaxInterval = 10.0;
  static constexpr int kNoPage = 10;  // a comment page choice of none

  int fontSize = 1200;  // the largest font size, tenths of a point
  double lineInterval = 1.0;
  int coordinates = 0;                                // 1: the longitudes of the chosen points
  std::array<int, 2> commentPages{kNoPage, kNoPage};  // 0..9, 10 none
  int selectedOnly = 0;                               // 0 all charts, 1 those marked 'Y'
  int hint = 1;                                       // the hint of message 677 is shown

  static ArchivePrintParams FromBlock(const cfg::ByteBlock& block);
  void ToBlock(cfg::ByteBlock& block) const;
  friend bool operator==(const ArchivePrintParams&, const ArchivePrintParams&) = default;
};

// The hint is due when its switch is on or on every 20th launch of the program.
bool ArchivePrintHintDue(int hint, std::uint32_t launchCounter);

// One printed chart.
struct PrintedChart {
  ArchiveIndexEntry entry;
  int record = 0;        // its number in the archive
  bool newPage = false;  // the first chart of a printed page
  bool localSpace = false;
  std::vector<double> longitudes;       // one per printed point; empty without coordinates
  std::array<std::string, 2> comments;  // the chosen pages, cut; empty when none
  int lines = 1;
};

// A comment as one line: carriage returns and line feeds made blanks, cut after 150 characters.
inline constexpr std::size_t kCommentLineChars = 150;
std::string CommentLineText(std::string_view text);

// Coordinate lines of a chart: ten points to a line.
inline constexpr int kPointsPerLine = 10;
constexpr int CoordinateLineCount(int points) {
  return points <= 0 ? 0 : (points + kPointsPerLine - 1) / kPointsPerLine;
}

// Points 0..61 whose slot of the layout is below 254: 0..49 chart points, 50..61 cusps 1..12.
std::vector<int> PrintedPoints(const COORD_CONF& layout);

// Sets the new-page flags: the first chart opens page 1, a chart whose lines would pass
// `linesPerPage` (at least 1) opens a new page. Returns the page count (1 with no charts).
int PaginateCharts(std::vector<PrintedChart>& charts, int linesPerPage);

class ArchivePrintList {
 public:
  // The charts to print in index order: all, or those marked 'Y' when selectedOnly is set and some
  // record is marked. Each with its comment lines, and with coordinates its chart read and its
  // points' longitudes (an unreadable chart keeps -777.0). 0; -1 after error 2 (out of memory), the
  // list then empty.
  int Build(Archive& archive, const ArchivePrintParams& params, const COORD_CONF& layout);

  std::vector<PrintedChart>& Charts() { return charts_; }
  const std::vector<PrintedChart>& Charts() const { return charts_; }
  const std::vector<int>& Points() const { return points_; }
  int TotalLines() const;

 private:
  std::vector<PrintedChart> charts_;
  std::vector<int> points_;
};

// Page margins (0.01 mm) of the configuration's print settings.
struct PageMargins {
  int left = 1500, top = 1500, right = 1000, bottom = 1500;
};

// The column shares of a line, measured in "Vudurez" at the largest font size.
struct ArchivePrintColumns {
  double name = 0, type = 0, place = 0, date = 0, mark = 0, gap = 0;  // percent of a line
};

// The date line sample whose width sets the font.
inline constexpr std::string_view kDateLineSample = "55.55.5555  55:55  +55:55  55N55  555W55 ";

class ArchivePrinter {
 public:
  ArchivePrinter(ArchivePrintList& list, const ArchivePrintParams& params, PageMargins margins,
                 std::string archivePath, int layout);

  // Measures the columns, the printer font, line height and lines per page, and paginates.
  void MeasurePrint(platform::Dc& dc);
  // The screen font and row height for a client `width` wide.
  void MeasureScreen(platform::Dc& dc, int width);

  int PageCount() const { return pageCount_; }
  int LinesPerPage() const { return linesPerPage_; }
  int PrintLineHeight() const { return printLineHeight_; }
  int PrintFontSize() const { return printFontSize_; }
  int ScreenRowHeight() const { return screenRowHeight_; }
  int ScreenFontSize() const { return screenFontSize_; }
  int HeaderHeight() const { return headerHeight_; }
  const ArchivePrintColumns& Columns() const { return columns_; }
  // The page a chart is printed on (1..).
  int PageOfChart(int chart) const;

  // The head of page `page`: the ornament at the top right, the archive path (with "(стр. n)"
  // when the listing has more than one page) centred between the margins.
  void DrawPageHead(platform::Dc& dc, int page) const;
  // Page `page` (1..PageCount): head, then every line of its charts.
  void PrintPage(platform::Dc& dc, int page) const;
  // Chart `chart`'s line on screen at height y in a view `width` wide (the page mark above it
  // when it opens a printed page).
  void DrawScreenRow(platform::Dc& dc, int chart, int y, int width) const;
  // The column headings over the screen's rows, at height y in a view `width` wide.
  void DrawScreenHeads(platform::Dc& dc, int y, int width) const;

 private:
  // Where the texts of a chart's line from x0 on a line `width` wide stand.
  struct LineColumns {
    int name = 0, nameWidth = 0, type = 0, typeWidth = 0, date = 0, time = 0, zone = 0;
    int latitude = 0, longitude = 0, place = 0, placeWidth = 0, marks = 0;
  };
  LineColumns ColumnsOfLine(int x0, int width) const;
  // The chart's line at height y from x0 on a line `width` wide.
  void DrawChartLine(platform::Dc& dc, const PrintedChart& chart, int x0, int y, int width) const;
  // The column headings over the lines from x0 on a line `width` wide, in the current font:
  // "Имя", "Тип" (both fitted to their columns), "Дата, время", "Пояс", "Шир.", "Долг.", "Место"
  // and, for a 4400 archive, "Коммент." over the comment marks.
  void DrawColumnHeads(platform::Dc& dc, int x0, int y, int width) const;
  int DrawCoordinateLines(platform::Dc& dc, const PrintedChart& chart, int y) const;
  int PrintableWidth() const { return 21000 - margins_.left - margins_.right; }
  int CommentWidth() const { return 19500 - margins_.left - margins_.right; }

  ArchivePrintList& list_;
  ArchivePrintParams params_;
  PageMargins margins_;
  std::string path_;
  int layout_;
  ArchivePrintColumns columns_;
  int printFontSize_ = 100;
  int printLineHeight_ = 1;
  int linesPerPage_ = 1;
  int headerHeight_ = 1000;
  int pageCount_ = 1;
  int screenFontSize_ = 100;
  int screenRowHeight_ = 1;
};
