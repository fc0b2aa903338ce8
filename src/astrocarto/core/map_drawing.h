// What the drawing of a map's grid, towns and line signs (the ACMap drawing members, defined in
// map_drawing.cpp) asks of the view that shows the map, and the layout of the line signs.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "astrocarto/core/ac_lines.h"
#include "astrocarto/core/map_frame.h"
#include "astrocarto/core/regional_maps.h"
#include "foundation/numbers/angles.h"

class TOWNS;
struct LineSignCache;

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
  // The sample step the lines are drawn with (ACLines::DrawStep) and the map's cells as drawn:
  // the line signs keep off the segments of the other lines and off the outline cells (coasts
  // and borders), and a sign that finds no clear place stands on the colour of the land or sea
  // under it. Without cells the signs mind the lines only and stand on the land colour.
  int lineStep = 1;
  const CellRects* cells = nullptr;
  // Where the signs' places are kept between drawings (none: placed at every drawing).
  LineSignCache* signCache = nullptr;

  // The height the fonts are fitted to: the frame's whole height.
  int ViewHeight() const { return geometry.frame.totalHeight; }
};

// A line sign's box in degrees: from half a glyph west of its position to two and a half east,
// one glyph down from it.
struct SignBox {
  double west = 0.0, east = 0.0, north = 0.0, south = 0.0;
  friend bool operator==(const SignBox&, const SignBox&) = default;
};

// What a line sign keeps clear of where it can: the segments every line is drawn with and the
// map's outline cells (coasts and borders), in degrees, filed by the squares of a coarse grid
// over the window so that a box is tested against what lies near it only.
class SignObstacles {
 public:
  // The owner of a line's segments: its horizon line ('A' or 'D'), its MC ('M') or IC ('I').
  static int Owner(int line, char kind);

  // Empties the store and files what follows by squares of `cellWidth` x `cellHeight` degrees
  // over the window (brought to at least 1/64 of the window).
  void Reset(const MapWindow& window, double cellWidth, double cellHeight);
  // The segments that draw the lines with samples `step` apart (ACLines::CollectSegments).
  void AddLines(const ACLines& lines, int step);
  // An outline cell; nothing is filed outside the window.
  void AddCell(const SignBox& cell);
  // How many things other than `own` meet the box (its edges included): each other line's
  // horizon line, MC and IC one, and the outline cells together one. Counting stops at `enough`.
  int Count(const SignBox& box, int own, int enough = 1 << 30) const;
  // Whether a segment of `owner` meets the box.
  bool Meets(const SignBox& box, int owner) const;
  bool Empty() const { return items_.empty(); }

 private:
  struct Item {
    double west, east, north, south;  // the bounds; for a segment also its two ends below
    double lon1, lat1, lon2, lat2;
    int owner;  // -1 an outline cell
  };
  void File(const Item& item);
  // Calls `visit` with each item filed in a square the box touches (an item in two squares
  // twice) until it returns true; whether one did.
  template <typename Visit>
  bool AnyIn(const SignBox& box, Visit visit) const;
  int Column(double longitude) const;
  int Row(double latitude) const;

  MapWindow window_;
  double cellWidth_ = 1.0, cellHeight_ = 1.0;
  int columns_ = 0, rows_ = 0;
  std::vector<Item> items_;
  std::vector<std::vector<std::uint32_t>> squares_;
};

// The signs placed so far in one drawing, and the size of a glyph in degrees.
struct SignLayout {
  MapWindow window;
  double h = 0.0;     // a glyph's height: the window's height over the size divisor
  double w = 0.0;     // the width on the map that shows as long as h
  double tall = 0.0;  // a glyph's height as drawn, when more than h
  // The ink of a sign from its position (degrees): half the widest glyph west and east of it, the
  // widest line name east of that, the taller of the two down; none measured: the sign's box.
  double inkGlyph = 0.0, inkName = 0.0, inkDown = 0.0;
  std::vector<SignBox> placed;
  // What a sign's ink keeps clear of where it can; a sign with no clear place on its line takes
  // the place where it meets the fewest, on an opaque ground.
  SignObstacles obstacles;

  SignBox BoxAt(double longitude, double latitude) const;
  // The box at the position lies inside the window (with room for the glyph and its letters).
  bool Fits(double longitude, double latitude) const;
  bool OverlapsPlaced(const SignBox& box) const;
  // The ink at the position with a tenth of a glyph's height of room round it; with `nameOnly`
  // the line name's part.
  SignBox InkAt(double longitude, double latitude, bool nameOnly = false) const;
  // How many obstacles meet the ink at the position (0: a clear place): the other lines and the
  // outline cells, and the sign's own line `own` where it crosses the name.
  int Crossings(double longitude, double latitude, int own, int enough = 1 << 30) const;
};

// The signs of one visible run: up to two positions (-777.0 where none) and the kind of line at
// each ('A' rising, 'D' setting).
struct RunSigns {
  std::array<double, 2> longitude{kAbsent, kAbsent};
  std::array<double, 2> latitude{kAbsent, kAbsent};
  std::array<char, 2> kind{'A', 'A'};
  // The sign found no place clear of the other lines and the outlines: it stands on a ground.
  std::array<bool, 2> opaque{false, false};
  int Count() const { return !IsAbsent(longitude[0]) + !IsAbsent(longitude[1]); }
};

// A sign placed on a line: its position (the glyph's top centre), the line, its chart point, its
// kind ('A', 'D', 'M', 'I') and whether it stands on an opaque ground.
struct PlacedSign {
  double longitude = 0.0, latitude = 0.0;
  int line = 0, point = 0;
  char kind = 'A';
  bool secondChart = false, opaque = false;
};

// The line signs of a drawing and everything their places were found from: the lines (their
// stamp), the window and size of a glyph, the ink, the labels already written, the sample step
// and the outline cells. A drawing from the same takes the places as they are: finding them walks
// every line past every obstacle, which costs the world map some milliseconds at each paint,
// while the lines and the view seldom change between paints.
struct LineSignCache {
  struct From {
    std::uint64_t lines = 0;
    MapWindow window;
    double h = 0.0, w = 0.0, tall = 0.0, inkGlyph = 0.0, inkName = 0.0, inkDown = 0.0;
    std::vector<SignBox> placed;
    int lineStep = 1;
    std::vector<platform::Rect> cells;
    friend bool operator==(const From&, const From&) = default;
  };
  bool valid = false;
  From from;
  std::vector<PlacedSign> signs;
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
