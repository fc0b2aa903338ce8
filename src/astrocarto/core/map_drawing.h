// What the drawing of a map's grid, towns and line signs (the ACMap drawing members, defined in
// map_drawing.cpp) asks of the view that shows the map, and the layout of the line signs.
#pragma once

#include <array>
#include <functional>
#include <vector>

#include "astrocarto/core/ac_lines.h"
#include "astrocarto/core/map_frame.h"
#include "astrocarto/core/regional_maps.h"
#include "foundation/numbers/angles.h"

class TOWNS;

// The colours of a map's parts on the device at hand (print rules already applied). A town is
// a dot outlined in `towns` and filled with `townFill`.
struct MapColours {
  platform::Color land, sea, borders, countryNames, towns, townFill, townNames, grid, gridDegrees;
};

struct ACMapView {
  MapGeometry geometry;
  MapColours colours;
  int townFontSize = 1;   // 0 large, 1 medium, 2 small
  int glyphFontSize = 1;  // likewise
  const TOWNS* towns = nullptr;
  // The colour of the lines and signs of a chart point.
  std::function<platform::Color(int point)> lineColour;
  // The pen of a chart point's lines: its colour, solid; on paper in black and white a line type
  // of its own (LinePenOfPoint).
  std::function<platform::Pen(int point)> linePen;
  // The grid is drawn: town labels keep out of the margins its degree labels stand in.
  bool grid = false;
  // The grid's degree labels stand outside the map area, in the room the printed frame keeps for
  // them (LayoutPrintFrame); then nothing inside the area keeps out of their way.
  bool gridOutside = false;

  // The height the fonts are fitted to: the frame's whole height.
  int ViewHeight() const { return geometry.frame.totalHeight; }
};

// A line sign's box in degrees: from half a glyph west of its position to two and a half east,
// one glyph down from it.
struct SignBox {
  double west = 0.0, east = 0.0, north = 0.0, south = 0.0;
};

// The signs placed so far in one drawing, and the size of a glyph in degrees.
struct SignLayout {
  MapWindow window;
  double h = 0.0;     // a glyph's height: the window's height over the size divisor
  double w = 0.0;     // the width on the map that shows as long as h
  double tall = 0.0;  // a glyph's height as drawn, when more than h
  std::vector<SignBox> placed;

  SignBox BoxAt(double longitude, double latitude) const;
  // The box at the position lies inside the window (with room for the glyph and its letters).
  bool Fits(double longitude, double latitude) const;
  bool OverlapsPlaced(const SignBox& box) const;
};

// The signs of one visible run: up to two positions (-777.0 where none) and the kind of line at
// each ('A' rising, 'D' setting).
struct RunSigns {
  std::array<double, 2> longitude{kAbsent, kAbsent};
  std::array<double, 2> latitude{kAbsent, kAbsent};
  std::array<char, 2> kind{'A', 'A'};
  int Count() const { return !IsAbsent(longitude[0]) + !IsAbsent(longitude[1]); }
};

// The kind of line k at a place: 'A' when its body is nearer the ascendant than the descendant
// there (the chart of the line's half), else 'D'. With `strict`, 'D' only when strictly nearer
// the descendant, and 0 when the two are equally near.
char LineKindAt(const ACLines& lines, int k, double longitude, double latitude, bool strict);

// The pen of chart point `point`'s lines on paper in black and white: black, Sun..Pluto each a
// line type of their own (solid, dashed, dotted, dash-dotted, dash-dot-dotted, thin then thick),
// every other point thin and solid.
platform::Pen LinePenOfPoint(int point);

// The size of the grid's degree labels (of "-80" in their font) on a view `viewHeight` high;
// none where no font fits.
platform::Size GridLabelSize(platform::Dc& dc, int viewHeight);
// The room the grid's degree labels take inside the map area along its edges (GridLabelSize);
// none when the grid is off or its labels stand outside the area.
platform::Size GridLabelMargin(platform::Dc& dc, const ACMapView& view);

// The size divisors of the town labels and the line signs by their font selectors.
int TownLabelDivisor(int selector);
int LineSignDivisor(int selector);
