// The aspect graph's layout on the screen and on paper, and what follows from it: the number of
// samples across the plot, the x of each sample, the sample under a click, and the scrolling by
// rows and by half periods. All lengths are logical units of the 0.01 mm mapping (y up).
#pragma once

#include "platform/core/dc.h"

namespace cfg {
struct PrintSettings;
}

struct AspGraphLayout {
  // Percentages of the area's width or height. The top margin is 5 when printing; printing also
  // takes the top and left margins one and a half times in the plot's width and height.
  int topMargin = 1, leftMargin = 1, labelColumn = 15, header = 6, bottom = 0, baseline = 28;
  bool printing = false;

  int left = 0, top = 0;  // the area's upper left corner
  int width = 0, height = 0;
  int rowsPerPage = 1;
  int plotWidth = 0, plotHeight = 0;
  int x0 = 0, y0 = 0;  // the plot's left edge and top edge
  int rowHeight = 0;
  int baselineOffset = 0;  // from a row's top down to its baseline
  double verticalScale = 0.0;

  // The height of the time-axis strip above the plot (header percent of the height).
  int HeaderHeight() const;
};

namespace aspgraph {

inline constexpr int kMinPrintRows = 8;
inline constexpr int kMaxRows = 24;

// The layout of a window's client area (logical, `client.top` above `client.bottom`) with the
// settings' rows in the window (held within 1..24).
AspGraphLayout ScreenLayout(const platform::Rect& client, int rowsInWindow);
// The layout of an A4 page less the print margins, every pair on the page (at least 8 rows). Its
// top margin is the room of the page head; a head reaching lower than that room (`headBottom`,
// y of its lowest part; 0 none) has the time axis' strip begin right under it instead, the area
// then reaching from there to the bottom margin without a top margin of its own (the strip's
// labels keep room of their own under its top).
AspGraphLayout PrintLayout(const cfg::PrintSettings& print, int pairCount, int headBottom = 0);
// Bars of the largest orb reach from the baseline to the row's top; without orbs (maxOrb 0 or
// less) the scale is 0.
void SetVerticalScale(AspGraphLayout& layout, int maxOrb);

// Samples across the plot: its width in device pixels times 0.25, 1.1, 2.0 or 4.0 by the speed
// setting 0..3 (another value reads as 1), held within 1..kMaxSamples. `pixelsAcross` and
// `logicalWidth` are the client area's width in pixels and in logical units.
int SampleCount(const AspGraphLayout& layout, int pixelsAcross, int logicalWidth, int speed);
// The x of sample i of n: x0 + i x plot width / n.
int SampleX(const AspGraphLayout& layout, int i, int n);
// The sample under x: (x - x0) x n / plot width for x0 <= x < x0 + plot width, else -1.
int SampleAtX(const AspGraphLayout& layout, int x, int n);

// The first visible row after a vertical scroll code (the scroll codes of list_navigation.h, a
// page being the rows per page), within 0..pairCount - 1.
int ScrollRows(int code, int position, int first, int rowsPerPage, int pairCount);
// The days a horizontal scroll code moves the first day: back by span / 2 for a line, a page or
// the end to the left and the thumb at 0, forward for the right and the thumb elsewhere; 0 for a
// code that moves nothing.
int ScrollDays(int code, int position, int span);

}  // namespace aspgraph
