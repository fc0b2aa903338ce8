// The drawing of the graphic ephemeris view on the screen and on paper: the frame with its zodiac
// and date scales, the planet glyphs on the curves, the chart's own planets, the year, the scroll
// buttons and the printed heading; the scrolling of the period and the sample point under the
// mouse. Everything draws through the graph's layout (RGraph), so one code serves both media.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "foundation/datetime/super_source.h"
#include "platform/core/dc.h"
#include "views/core/graph_ephem.h"

class Chart;
class Configuration;

namespace ephem {

inline constexpr int kHelpContext = 131273;

// Moves the settings' first date by the period's scroll length (forward for 1, back for -1),
// writes it back into the settings block and lays the scale out again; false for direction 0.
// The caller computes the values again.
bool ApplyScroll(RGraphEphem& graph, int direction);

// The axes, the date scale and the zodiac scale (ticks, the sign grid, the sign glyphs).
void DrawFrame(platform::Dc& dc, RGraphEphem& graph, const Configuration& config);

// The glyph size of the curve labels: the largest "VelmAstro5a" size from 4000 whose glyph fits
// a 32nd of the inner width; 4000 when none does.
int CurveGlyphSize(platform::Dc& dc, const RGraphEphem& graph);
// The sample point each body's label stands at (-1 none) among `pointCount` points of `values`,
// with labels `glyphPoints` sample points wide. The Moon is labelled only with `moon`.
std::array<int, kBodies> CurveGlyphPositions(const Longitudes& values, int pointCount, bool moon,
                                             double glyphPoints);
void DrawCurveGlyphs(platform::Dc& dc, const RGraphEphem& graph);

// The columns of the chart's glyphs at the left of the graph: 1, or one more than that of the
// last earlier body less than 30 degrees away; 0 for an absent longitude.
std::array<int, kBodies> NatalColumns(const std::array<double, kBodies>& longitudes);
// Dashed lines at the chart's longitudes (with the mark-chart setting) and, with the planet
// glyphs on, the chart's glyphs in the glyph colour.
void DrawChartPositions(platform::Dc& dc, const RGraphEphem& graph, const Chart& chart);

// The year of the first date, above the graph.
void DrawYear(platform::Dc& dc, const RGraphEphem& graph);

// The two scroll buttons of the screen, in plot coordinates.
struct ScrollButtons {
  platform::Rect forward{};
  platform::Rect backward{};
};
ScrollButtons ScrollButtonRects(const RGraphEphem& graph);
ScrollButtons DrawScrollButtons(platform::Dc& dc, const RGraphEphem& graph);
// 1 inside the forward button, -1 inside the backward button (strictly inside), else 0.
int ScrollButtonAt(const ScrollButtons& buttons, platform::Point at);

// The printed page's frame, the chart's heading (with the print-heading setting), the ornament
// and the title. A title with no room beside the heading stands under it, and the graph (its page
// offset, laid out again) moves down under the title.
void PrintHeading(platform::Dc& dc, RGraphEphem& graph, const Configuration& config,
                  const Chart& chart);

// The sample point under x (plot coordinates, screen layout): 0 at or left of the inner area,
// -1 at or beyond its right edge, else the nearest point.
int SampleIndexAt(const RGraphEphem& graph, int x);

// The values dialog: the point shown, its moment and the ten values, and the chart's longitudes.
class EphemDataPage {
 public:
  EphemDataPage(const RGraphEphem& graph, const Chart& chart, int index);

  int Index() const { return index_; }
  std::string MomentText() const;
  double Value(int body) const;
  double ChartLongitude(int body) const { return chart_[static_cast<std::size_t>(body)]; }
  // ">>>" and "<<<": the next or previous point; at either end the scroll direction the graph
  // must take (1 or -1), after which the dialog opens again at ReopenIndex; 0 when it moved.
  int Next();
  int Previous();
  static int ReopenIndex(int pointCount, int direction) { return pointCount / 2 + 2 * direction; }
  // Where the dialog that follows the point stands: the x of the point in a view window from
  // `viewLeft`, `viewWidth` wide (screen layout); a dialog `width` wide that would pass the
  // window's right edge goes its own width further left.
  int FollowX(int viewLeft, int viewWidth, int width) const;

 private:
  const RGraphEphem& graph_;
  std::array<double, kBodies> chart_{};
  int index_;
};

// The configuration dialog's copy of the settings block: every change goes to the copy, OK
// checks the first date and writes the copy back.
struct EphemConfPage {
  int day = 1, month = 1, year = 2000;
  int period = 4;
  bool signGrid = false, timeGrid = false, planetGlyphs = true, markChart = false;
  std::array<int, kBodies> curveColours{};
  int orientation = 0;  // 0 portrait, 1 landscape
  int glyphColour = 1;
  bool rotationCorrection = true, printHeading = true;

  static EphemConfPage Read(const cfg::ByteBlock& block);
  bool RotationEnabled() const { return orientation == 1; }
  // 0 when the first date exists within 3000 BC .. AD 3000, else its message (657, 656, 777,
  // 776, 775).
  int CheckOk() const;
  void Write(cfg::ByteBlock& block) const;
};

// A start date never chosen (the shipped year 0) becomes 1 January of the year the chart
// suggests: the year a transit, progressed, directed, return or lunar-phase chart was moved to,
// else `presentYear` (a chart of birth is followed from now on). A chosen date stays.
void PresetUnsetStart(EphemConfPage& page, const SuperSource& chart, int presentYear);

}  // namespace ephem
