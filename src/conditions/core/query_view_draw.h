// The drawing of the query results view through a device context, in 0.01 mm with y growing
// upwards (the window's and the page's top edge at y = 0): the bar of six buttons at the top of
// the window, the rows in their columns on the screen, and the printed pages with their head,
// the result header lines and the rows.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "conditions/core/query_dialog_model.h"
#include "conditions/core/query_results.h"
#include "platform/core/dc.h"

class Configuration;

// A strip of buttons across a window `width` units wide whose top edge is at y = `top`: the font
// size is the largest from 6000 down at which "W", each title followed by "WW", fits the width
// (100 when none does); the strip is 1.6 heights of a "W" high; the buttons, each as wide as its
// title and one "W", stand one "W" apart from x = W and reach from 0.3 to 1.3 heights of a "W"
// below the strip's top.
struct ButtonStrip {
  int fontSize = 100;
  int top = 0;
  int height = 0;
  std::vector<platform::Rect> buttons;
  // The button under a point (edges included); -1 when none.
  int ButtonAt(platform::Point p) const;
};
ButtonStrip LayoutButtonStrip(platform::Dc& dc, int width, const std::vector<std::string>& titles,
                              int top = 0);
// The strip in palette colour 15, the buttons filled with 16 and titled in 0.
void DrawButtonStrip(platform::Dc& dc, const ButtonStrip& strip,
                     const std::vector<std::string>& titles, int width);

// The buttons of the bar, left to right.
enum QueryBarButton {
  kBarLoad,
  kBarDelete,
  kBarCopy,
  kBarMarkAll,
  kBarUnmarkAll,
  kBarInvert,
  kQueryBarButtons
};

// The title of a button (code page 1251): " ЗАГРУЗИТЬ ", " УДАЛИТЬ ", " КОПИРОВАТЬ ", "  +  ",
// "  -  ", "  *  ".
const std::string& QueryBarTitle(int button);

// The bar over a window `width` units wide: the font size is the largest from 6000 down at which
// "W", each title followed by "WW", fits the width (100 when none does); the bar is 1.6 heights of
// a "W" high; the buttons, each as wide as its title and one "W", stand one "W" apart from x = W
// and reach from 0.3 to 1.3 heights of a "W" below the top.
struct QueryBarLayout {
  int fontSize = 100;
  int height = 0;
  std::array<platform::Rect, kQueryBarButtons> buttons{};
  // The button under a point (edges included); -1 when none.
  int ButtonAt(platform::Point p) const;
};
QueryBarLayout LayoutQueryBar(platform::Dc& dc, int width);
// The strip in palette colour 15, the buttons filled with 16 and titled in 0, a line under it.
void DrawQueryBar(platform::Dc& dc, const QueryBarLayout& bar, int width);

// The font sizes of the rows: the configured ones, the screen's x 1.5 and the paper's x 0.9 with
// the large-font option.
int QueryScreenFontSize(const QueryViewSettings& view, bool largeFont);
int QueryPrintFontSize(const QueryViewSettings& view, bool largeFont);
// The step from one row to the next: the height of a character of "Vudurez" at `fontSize` plus
// `gap`; at least 1.
int QueryRowPitch(platform::Dc& dc, int fontSize, int gap);

// Row `row` of the results in the band from `left` to `right` with its top at `top`, `pitch`
// high, in "Vudurez" at `fontSize`. Three quarters of the width hold the birth data (name 0.24,
// second text 0.16, date 0.14, time 0.07, zone 0.09, place 0.12, latitude and longitude 0.08 each
// of that part), each cut with "..." to its cell; the last quarter the archive's path shortened to
// fit. On the screen the current row is filled with palette colour 1 and the others with 15; the
// text is 12 for a marked row, else 14 for the current row and 0 for the others. On paper
// (`paper`) nothing is filled and the text is 0.
void DrawQueryRow(platform::Dc& dc, const QueryResults& results, int row, int left, int right,
                  int top, int pitch, int fontSize, bool current, bool paper = false);

// The printout: the result header lines and then the rows, as many lines a page as fit between
// the page's head and its bottom margin at the print font and gap (at least one); the header
// lines begin on page 1.
struct QueryPrintLayout {
  int fontSize = 100;
  int pitch = 1;
  int left = 0;
  int right = 0;
  int top = 0;  // the first line's top edge below the page's top (y = -top)
  int linesPerPage = 1;
  int headerLines = 0;
  int lines = 0;  // header lines and rows
  int Pages() const { return (lines + linesPerPage - 1) / linesPerPage; }
};
QueryPrintLayout LayoutQueryPrint(platform::Dc& dc, const Configuration& config,
                                  const QueryViewSettings& view, const QueryResults& results);
// Page `page` (from 1): the frame, the ornament and the title (message 619 on page 1, "%s (%s
// %d)" with "стр." and the number on the others), then the page's lines.
void DrawQueryPage(platform::Dc& dc, const Configuration& config, const QueryPrintLayout& layout,
                   const QueryResults& results, int page);
