// The geometry of a map shown in a view: the frame that lays the map window out on the screen or
// on the upper half of a printed page, the projection between degrees and logical units (0.01 mm,
// y upward, so the map lies at negative y), the rectangles of a map's outline cells and sea runs,
// the screen boxes of its country labels, and how a double-click zooms and the scroll bars move
// the window.
#pragma once

#include <array>
#include <vector>

#include "astrocarto/core/regional_maps.h"
#include "platform/core/dc.h"

// The layout of a map window in logical units (positive sizes; the map area lies below the
// origin at negative y), with the scales in logical units per degree.
struct MapFrame {
  int leftMargin = 0, topMargin = 0, rightMargin = 0, headerHeight = 0;
  int totalWidth = 0, totalHeight = 0, mapWidth = 0, mapHeight = 0, bottomMargin = 0;
  double xScale = 0.0, yScale = 0.0;
  // Where the frame's upper left corner lies: (0, 0) on the screen, the print margins on paper.
  platform::Point origin{};
};

// The page's upper half that a printed map fills.
inline constexpr int kPrintedMapHeight = 14850;
inline constexpr int kPrintedMapHeader = 2000;

// The screen frame for a client area of `width` x `height` logical units: the map fills it.
MapFrame LayoutScreenFrame(int width, int height, const MapWindow& window);
// The printed frame inside the print margins (left, top, right, bottom) of an A4 page: a header
// of 20 mm (or `headerHeight` when that is more), then the map down to the middle of the page,
// 1 % of the width kept free at the sides and the bottom. With the grid's degree labels of
// `gridLabel` size, the map keeps room for them outside its area beside it, above it and below
// it: a label and half its height.
MapFrame LayoutPrintFrame(const std::array<int, 4>& printMargins, const MapWindow& window,
                          int headerHeight = 0, platform::Size gridLabel = {});
// Scales of the frame for a window; 0 for a frame without size.
void SetFrameScales(MapFrame& frame, const MapWindow& window);

// The map window laid out in a frame: projection both ways.
struct MapGeometry {
  MapWindow window;
  MapFrame frame;

  double X(double longitude) const;
  double Y(double latitude) const;
  platform::Point Project(double longitude, double latitude) const;
  // The map area in logical units (top > bottom).
  platform::Rect MapArea() const;
  // A logical point back into degrees; the window's centre for a frame without size.
  void Unproject(platform::Point p, double& longitude, double& latitude) const;
  // Degrees across that show as long as `degreesDown` degrees down.
  double WidthOfHeight(double degreesDown) const;
};

// The rectangles of a map's three sets in a window: outline set 1 (borders), outline set 2 (sea
// cells) and the circle set (sea runs).
struct CellRects {
  std::vector<platform::Rect> borders, seaCells, seaRuns;
};

// Builds the rectangles of the cells and runs that overlap the window (all of them when it is
// the map's full extent): each cell covers one raster unit from its corner, a run its length
// across and one raster unit down; a cell is at least `minCell` (one device pixel) wide and
// high, a run reaches `minCell.cy` further down; everything is clipped to the map area.
void BuildCellRects(const ACMap& map, const MapGeometry& geometry, platform::Size minCell,
                    CellRects& rects);

// Places the country labels that lie wholly inside the window (their screen rectangle from the
// box's corners); every other label is marked not placed (left -1).
void PlaceCountryRects(ACMap& map, const MapGeometry& geometry);

// The map and window a view shows.
struct MapState {
  int map = 0;  // index into AllMaps, 0 the world map
  MapWindow window;
  friend bool operator==(const MapState&, const MapState&) = default;
};

// The map and window after a double-click at a point. Forward: a zoomed world returns to the
// full world; the full world opens the regional map holding the point, or a 20-degree zoom of
// the world where none does; a zoomed regional map returns to the full world; a full regional
// map zooms to 20 degrees around the point. Back (Shift or Ctrl): a zoomed regional map returns
// to its full extent, a full one to the full world; nothing happens on the world map. `width`
// and `height` are the view's size in any one unit.
MapState ZoomMap(AllMaps& maps, const MapState& state, double longitude, double latitude, bool back,
                 double width, double height);

// The scroll codes of the two bars.
enum class ScrollCode { kLineUp, kLineDown, kPageUp, kPageDown, kThumb, kTop, kBottom, kNone };

struct ScrollBar {
  int minimum = 0, maximum = 1, position = 0;
  friend bool operator==(const ScrollBar&, const ScrollBar&) = default;
};

// The bar of one direction for a window: 0..1 at position 0 on the map's full extent, else the
// map's range in whole degrees and the window's position.
ScrollBar MapScrollBar(const ACMap& map, const MapWindow& window, bool vertical);
// Moves the window by a scroll code (lines of 1 degree, pages of 10, the thumb's position, the
// ends); the position is held in the bar's range. False, with the window unchanged, when the
// window is the map's full extent or the position does not change.
bool ScrollMap(const ACMap& map, MapWindow& window, bool vertical, ScrollCode code, int thumb);
