// Lines, circles and rectangle tests on a device context, in logical units.
#pragma once

#include "platform/core/dc.h"

// A pen style by the numbers that settings and callers use: 0 solid, 1 dashes, 2 dots, 3 dash-dot,
// 4 dash-dot-dot, 5 none; any other number solid.
platform::PenStyle PenStyleByIndex(int style);

// A straight line with the current pen.
void DrawLine(platform::Dc& dc, int x1, int y1, int x2, int y2);

// A line of pen width 1 in `style` and `colour`; a thickness n above 0 adds ceil(n / 5) pairs of
// copies offset by 5, 10, ... units on both sides (across the line: in y for a line that runs
// more horizontally than vertically, else in x). The previous pen is restored.
void DrawThickLine(platform::Dc& dc, int x1, int y1, int x2, int y2, platform::PenStyle style,
                   int thickness, platform::Color colour);

// A solid (type 0) or dashed (1 dashes, 2 dots, 3 dash-dot) line of pen `width` in palette colour
// `colourNumber`. Other types draw solid. The previous pen is restored.
void DrawLineOfType(platform::Dc& dc, int x1, int y1, int x2, int y2, int type, int width,
                    int colourNumber);

// A circle of `radius` about (x, y), outline and filling in `colour`. Pen and brush are restored.
void DrawFilledCircle(platform::Dc& dc, int x, int y, int radius, platform::Color colour);

// Rectangles of doubles, y upward like the int Rect of the metric mappings.
struct RectD {
  double left = 0, top = 0, right = 0, bottom = 0;
};

// Inside and overlap tests; edges touching count. Either vertical order of top and bottom is
// accepted (y upward: top > bottom).
bool PointInRect(int x, int y, const platform::Rect& r);
bool RectsOverlap(const platform::Rect& a, const platform::Rect& b);
bool RectsOverlapD(const RectD& a, const RectD& b);
