// The listing of the planet-transit view: a heading with the transiting bodies, the targets and
// the period, then one line per transit event (date, time of day when it matters, the two glyphs
// with their retrograde marks, the aspect, the event glyph and the positions). Printed one column
// a page under the common page head and the same heading. Qt-free.
#pragma once

#include <vector>

#include "forecast/core/event_listing.h"
#include "forecast/core/list_display_settings.h"
#include "forecast/core/transit_calculation.h"

class Chart;
class Configuration;

namespace forecast {

// What the heading of the transit list names: the transiting bodies, the distinct targets, the
// period in the chart's time; and whether the events show their time of day.
struct TransitHeading {
  std::vector<int> bodies;
  std::vector<int> targets;
  Moment start, end;
  bool showTimeOfDay = true;
};
TransitHeading HeadingOf(const TransitCalculation& calc);

class TransitsListing : public EventListing {
 public:
  // The listing keeps references: the events, the configuration and the chart outlive it.
  TransitsListing(const std::vector<TransitEventRecord>& events, TransitHeading heading,
                  const ListDisplaySettings& display, const Configuration& config,
                  const Chart& chart);

  int Count() const override { return static_cast<int>(events_.size()); }
  ListingScreen MeasureScreen(platform::Dc& dc) override;
  ListingPaper MeasurePrint(platform::Dc& dc) override;
  void DrawHead(platform::Dc& dc) override;
  void DrawLine(platform::Dc& dc, int line, platform::Point at, bool selected) override;
  void DrawPrintedLine(platform::Dc& dc, int line, platform::Point at) override;
  void DrawPageHead(platform::Dc& dc, int page, int pageCount, int rowsUsed) override;

  // 1.45 with the configuration's large-font option, else 1.
  double FontScale() const;
  int ScreenFontSize() const;
  // The print size times the font scale, times 0.78 more with the large-font option.
  int PrintFontSize() const;
  // The frame's width: 37.5 average character widths at the screen font, or the widest event
  // line when that is wider (measured by drawing the lines on `dc`).
  int FrameWidth(platform::Dc& dc) const;

  // Event lines on a printed page: (27700 - top - bottom margin) / line height - 1, at least 1
  // (a font too large for one line still prints one line a page).
  static int LinesPerPage(int topMargin, int bottomMargin, double lineHeight);

 private:
  // The column heading at (x, y) in the text face at `size`.
  void DrawHeading(platform::Dc& dc, int x, int y, int size) const;
  // Where the columns of an event line begin, right of its left edge, at `size`.
  struct Columns {
    int time = 0, planets = 0, aspect = 0, positions = 0;
  };
  Columns ColumnsFor(platform::Dc& dc, int size) const;
  // The names of the columns over the event lines, at (x, y).
  void DrawColumnNames(platform::Dc& dc, int x, int y, int size) const;
  // Draws event `e` from (x, y); the right edge of what was drawn.
  int DrawEvent(platform::Dc& dc, const TransitEventRecord& e, int x, int y, int size) const;

  const std::vector<TransitEventRecord>& events_;
  TransitHeading heading_;
  ListDisplaySettings display_;
  const Configuration& config_;
  const Chart& chart_;
  double screenPitch_ = 1.0;
  int headingTop_;  // of the printed heading, under the paper's top edge (from MeasurePrint)
};

// The glyph of a transit object: chart point 'M' + n, house cusp 34 + h 'o' + h; '?' for a code
// no glyph stands for.
char TransitObjectGlyph(int code);

}  // namespace forecast
