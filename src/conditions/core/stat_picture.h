// The picture of a statistics result: one bar per bucket on a grid of rows and columns, each bar
// with its label under it and its count above it, and the summary lines under the bars. The
// layout is made for an area of the page or the window in 0.01 mm (y upwards, the area below its
// top-left corner); the bar rectangles serve the hit test of a double click.
#pragma once

#include <string>
#include <vector>

#include "conditions/core/statistic.h"
#include "platform/core/dc.h"

class AspectSystem;
class Configuration;

// Rows and columns of bars: one row of one column per bucket; kind 2 six rows of 24; kinds 5 and
// 6 end at the last bucket holding a chart. 0 x 0 without buckets.
struct StatGrid {
  int rows = 0;
  int columns = 0;
  int Cells() const { return rows * columns; }
};
StatGrid StatGridOf(int kind, const StatResults& results);

// The summary lines (code page 1251): "%s %d." of message 496 and the total (for kind 4 followed
// by "  %s %d %s" of messages 497, the not-found count and 498); "%s -  %d /%6.2lf / %d" of
// message 499 with the smallest count, the mean over the `cells` drawn and the largest count.
std::vector<std::string> StatSummaryLines(int kind, const StatResults& results, int cells);

class StatPicture {
 public:
  // Lays the picture out in an area of `size` whose top-left corner is `origin`: margins of 10 %
  // at the top, 3 % at the bottom and 3 % at either side, the summary band at the foot of what
  // remains, the rows above it, 10 % and 7 % of each row (25 % and 20 % for kind 2) kept for the
  // label and the count, the fonts fitted to the columns and the bands. Nothing without buckets.
  void SetMargins(const cfg::StatisticsRecord& settings, const StatResults& results,
                  platform::Size size, platform::Point origin);

  // Draws bars, labels, counts and the summary; nothing but the base lines' absence when every
  // bucket is empty. `system` labels the aspects of kind 4 (none drawn without it); `filled`
  // gives the bars palette colour 54 instead of white.
  void Draw(platform::Dc& dc, const StatResults& results, const AspectSystem* system,
            bool filled) const;

  // The bucket whose bar holds the point; -1 between and beside the bars.
  int HitTest(platform::Point at) const;

  const StatGrid& Grid() const { return grid_; }
  const std::vector<platform::Rect>& Bars() const { return bars_; }
  int LabelFontSize() const { return labelSize_; }
  int CountFontSize() const { return countSize_; }

 private:
  void DrawLabel(platform::Dc& dc, int bucket, int x, int y, const AspectSystem* system) const;

  cfg::StatisticsRecord settings_;
  StatGrid grid_;
  platform::Rect area_{};  // the rows
  int rowHeight_ = 0, labelBand_ = 0, countBand_ = 0, columnWidth_ = 0;
  int summaryTop_ = 0, summarySize_ = 0;
  int labelSize_ = 0, countSize_ = 0;  // tenths of a point
  std::vector<platform::Rect> bars_;   // by bucket, the cells of the grid
};
