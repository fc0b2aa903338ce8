// The picture of the Tremin year forecast, on the screen and on paper: one row per event, its
// text in the left column and three bars under one another (1 January, 1 June, 31 December, in
// palette colours 1, 4 and 2) as long as the event's probability on that date, with the legend
// below the rows. Logical units of 0.01 mm, y upward.
#pragma once

#include <string>
#include <vector>

#include "platform/core/dc.h"
#include "rectification/core/tremin_forecast.h"

class Chart;
class Configuration;

inline constexpr int kTmForecastHelpContext = 131354;
// Below the top margin, where the rows' page begins on paper (under the page head).
inline constexpr int kTmForecastPaperHead = 2100;

// Where the parts of a forecast page stand.
struct TmForecastLayout {
  platform::Rect page;  // the page: the client area, or the paper less margins and head
  bool paper = false;
  int fontSize = 0;   // of the event texts, tenths of a point
  int left = 0;       // the left edge of the text column
  int top = 0;        // y of the first row's top
  int textWidth = 0;  // the text column
  int barLeft = 0;    // the bars' area: a bar of 100 reaches barRight
  int barRight = 0;
  double rowHeight = 1.0;
  int rowsBottom = 0;   // y of the rows' area's lower edge; the legend strip lies below it
  int rowsPerPage = 1;  // whole rows in the rows' area, at least 1
};

// The screen: the client area `width` x `height` (from (0, 0) downwards); rows 4 character
// heights of the font at `fontSize`.
TmForecastLayout LayOutTmForecastScreen(platform::Dc& dc, int width, int height, int fontSize);
// Paper: the A4 page less the margins and the page head; rows a seventeenth of the height below
// the top edge, the font the largest (from 30 points) whose 'W' is lower than a quarter row.
TmForecastLayout LayOutTmForecastPaper(platform::Dc& dc, const Configuration& config);
// Pages of `rows` rows: ceil(rows / rows per page); 0 for none.
int TmForecastPageCount(const TmForecastLayout& layout, int rows);

// How the bars are drawn: filled (the screen, and paper with the fill on), or outlined in their
// colours (colour printing) or in black.
enum class TmBarStyle { kFilled, kOutlineColour, kOutlineBlack };

// Draws rows first.. of `rows` taken in `order` as far as the page holds, the lines between the
// text column and the bars and above the legend, and the legend.
void DrawTmForecastPage(platform::Dc& dc, const TmForecastLayout& layout,
                        const std::vector<TmForecastRow>& rows, const std::vector<int>& order,
                        int first, TmBarStyle style);
// The head of printed page `page`: the page head of the table views with "%s %d" of message 1043
// and the year, and " (стр. N)" from page 2.
void DrawTmForecastPageHead(platform::Dc& dc, const Chart& chart, const Configuration& config,
                            int year, int page);
// The frame caption's part: message 262 and "%d: " with the year.
std::string TmForecastCaption(int year);
