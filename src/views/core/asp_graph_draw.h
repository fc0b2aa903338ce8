// Drawing of the aspect graph through a device context: the time axis over and under the plot,
// one row per pair (its label, its baseline, a bar or a dot per sample with an aspect and the
// aspect's glyph where the aspect changes) and the printed page's heading.
#pragma once

#include <string>
#include <vector>

#include "foundation/drawing/page_title.h"
#include "platform/core/dc.h"

class Chart;
class Configuration;
class FDate;
struct AspGraphLayout;
struct AspGraphList;
struct AspGraphPair;
struct AspGraphSamples;
namespace aspgraph {
struct TimeScale;
}

// How the samples are drawn.
struct AspGraphPaint {
  bool printing = false;
  int fillType = 0;  // 0 bars, 1 bars on the screen and dots on paper, 2 dots
  bool colourPrinting = true;
  // True when this paint draws bars (else dots).
  bool Bars() const { return fillType == 0 || (fillType == 1 && !printing); }
};

namespace aspgraph {

inline constexpr int kDotRadius = 50;
inline constexpr int kFirstFontSize = 4000;  // where the font fitting starts, tenths of a point

// One tick of the time axis: x, long (with its label) or short, and the label.
struct AxisTick {
  int x = 0;
  bool major = false;
  std::vector<std::string> label;  // lines from the top; empty for a short tick
};
// The ticks of the period from `firstDay`: minor tick k at the first day + k x minor days, at
// x0 + days x plot width / span; every major / minor tick long with the date: "DD.MM" under the
// year for periods of less than 200 days, "DD:MM:YYYY" for longer ones.
std::vector<AxisTick> AxisTicks(const AspGraphLayout& layout, const FDate& firstDay,
                                const TimeScale& scale);

// The label of a pair in the label column, three lines: the first member, the second member
// (each its point glyph, or its name, followed by the technique's short name) and the system.
struct LabelLine {
  char glyph = 0;  // a point glyph of "VelmAstro5a", 0 for none
  std::string text;
};
std::vector<LabelLine> PairLabel(const AspGraphPair& pair);

}  // namespace aspgraph

// The frame lines along the plot's top and bottom and the ticks at both, with labels above the
// top where they neither overlap the label before nor leave the plot.
void DrawAspGraphTimeAxis(platform::Dc& dc, const AspGraphLayout& layout, const FDate& firstDay,
                          const aspgraph::TimeScale& scale);
// The rows firstRow .. firstRow + rows per page - 1 (as far as the list goes).
void DrawAspGraphRows(platform::Dc& dc, const AspGraphLayout& layout, const AspGraphList& list,
                      const AspGraphSamples& samples, int firstRow, const AspGraphPaint& paint);
// The printed page's heading: the page frame, the chart's identification, the ornament and the
// title "ГРАФИЧЕСКИЕ АСПЕКТЫ" at 3800 where PlacePageTitle puts it (centred between the margins
// where it clears the identification and the ornament). Returns that place: the graph stands
// under its bottom.
PageTitlePlace DrawAspGraphPageHeading(platform::Dc& dc, const Configuration& config,
                                       const Chart& chart);
