#include "astrocarto/core/map_frame.h"

#include <algorithm>
#include <cmath>

#include "foundation/drawing/page_frame.h"

namespace {

// A logical coordinate from a double, held within int range.
int ToInt(double v) { return static_cast<int>(std::clamp(v, -1.0e9, 1.0e9)); }

}  // namespace

void SetFrameScales(MapFrame& frame, const MapWindow& window) {
  const double across = window.east - window.west, down = window.north - window.south;
  frame.xScale = across > 0.0 ? frame.mapWidth / across : 0.0;
  frame.yScale = down > 0.0 ? frame.mapHeight / down : 0.0;
}

MapFrame LayoutScreenFrame(int width, int height, const MapWindow& window) {
  MapFrame f;
  f.totalWidth = std::max(width, 0);
  f.totalHeight = std::max(height, 0);
  f.mapWidth = f.totalWidth;
  f.mapHeight = f.totalHeight;
  SetFrameScales(f, window);
  return f;
}

MapFrame LayoutPrintFrame(const std::array<int, 4>& printMargins, const MapWindow& window,
                          int headerHeight, platform::Size gridLabel) {
  MapFrame f;
  f.origin = {printMargins[0], -printMargins[1]};
  f.totalWidth = std::max(kA4Width - printMargins[0] - printMargins[2], 0);
  f.totalHeight = std::max(kPrintedMapHeight - printMargins[1], 0);
  f.headerHeight = std::max(kPrintedMapHeader, headerHeight);
  const int edge = f.totalWidth / 100;
  // A label a quarter of its height off the map, and as far from the page's frame.
  const int gap = gridLabel.cy / 4;
  f.leftMargin = f.rightMargin = std::max(edge, gridLabel.cx > 0 ? gridLabel.cx + 2 * gap : 0);
  f.bottomMargin = std::max(edge, gridLabel.cy > 0 ? gridLabel.cy + 2 * gap : 0);
  f.topMargin = gridLabel.cy > 0 ? gridLabel.cy + 2 * gap : 0;
  f.mapWidth = std::max(f.totalWidth - f.leftMargin - f.rightMargin, 0);
  f.mapHeight = std::max(f.totalHeight - f.headerHeight - f.topMargin - f.bottomMargin, 0);
  SetFrameScales(f, window);
  return f;
}

double MapGeometry::X(double longitude) const {
  return frame.origin.x + frame.leftMargin + (longitude - window.west) * frame.xScale;
}

double MapGeometry::Y(double latitude) const {
  return frame.origin.y -
         (frame.topMargin + frame.headerHeight + (window.north - latitude) * frame.yScale);
}

platform::Point MapGeometry::Project(double longitude, double latitude) const {
  return {ToInt(std::lround(X(longitude))), ToInt(std::lround(Y(latitude)))};
}

platform::Rect MapGeometry::MapArea() const {
  const int left = frame.origin.x + frame.leftMargin;
  const int top = frame.origin.y - frame.topMargin - frame.headerHeight;
  return {left, top, left + frame.mapWidth, top - frame.mapHeight};
}

void MapGeometry::Unproject(platform::Point p, double& longitude, double& latitude) const {
  if (frame.xScale <= 0.0 || frame.yScale <= 0.0) {
    longitude = (window.west + window.east) / 2.0;
    latitude = (window.north + window.south) / 2.0;
    return;
  }
  longitude = window.west + (p.x - frame.origin.x - frame.leftMargin) / frame.xScale;
  latitude =
      window.north - (frame.origin.y - p.y - frame.topMargin - frame.headerHeight) / frame.yScale;
}

double MapGeometry::WidthOfHeight(double degreesDown) const {
  return frame.xScale > 0.0 ? degreesDown * frame.yScale / frame.xScale : 0.0;
}

namespace {

// One cell or run from its upper left corner (degrees), `width` x `height` degrees, in logical
// units: edges outward to whole units, at least the minimum size, clipped to the map area.
// False when nothing of it is left.
bool CellRect(const MapGeometry& g, double lon, double lat, double width, double height,
              platform::Size minCell, bool run, const platform::Rect& area, platform::Rect& r) {
  const MapFrame& f = g.frame;
  const double x = std::floor((lon - g.window.west) * f.xScale + f.leftMargin);
  double right = std::ceil(x + width * f.xScale);
  const double down = f.topMargin + f.headerHeight + (g.window.north - lat) * f.yScale;
  const double top = std::floor(down);
  double bottom = std::ceil(down + height * f.yScale);
  if (run) {
    bottom += minCell.cy;
  } else {
    right = std::max(right, x + minCell.cx);
    bottom = std::max(bottom, top + minCell.cy);
  }
  r.left = std::max(ToInt(x) + f.origin.x, area.left);
  r.right = std::min(ToInt(right) + f.origin.x, area.right);
  r.top = std::min(f.origin.y - ToInt(top), area.top);
  r.bottom = std::max(f.origin.y - ToInt(bottom), area.bottom);
  return r.left < r.right && r.bottom < r.top;
}

// Whether a cell or run of `width` x `height` degrees from its upper left corner overlaps the
// window.
bool Overlaps(const MapWindow& w, double lon, double lat, double width, double height) {
  return lon < w.east && lon + width > w.west && lat > w.south && lat - height < w.north;
}

}  // namespace

void BuildCellRects(const ACMap& map, const MapGeometry& geometry, platform::Size minCell,
                    CellRects& rects) {
  rects.borders.clear();
  rects.seaCells.clear();
  rects.seaRuns.clear();
  const bool full = geometry.window == map.FullWindow();
  const platform::Rect area = geometry.MapArea();
  const double across = map.DegreesAcross(), down = map.DegreesDown();
  minCell.cx = std::max(minCell.cx, 1);
  minCell.cy = std::max(minCell.cy, 1);
  auto add = [&](std::vector<platform::Rect>& out, double lon, double lat, double width, bool run) {
    if (!full && !Overlaps(geometry.window, lon, lat, width, down)) return;
    platform::Rect r;
    if (CellRect(geometry, lon, lat, width, down, minCell, run, area, r)) out.push_back(r);
  };
  for (const MapPoint& p : map.Outline1())
    add(rects.borders, p.x / 100.0, p.y / 100.0, across, false);
  for (const MapPoint& p : map.Outline2())
    add(rects.seaCells, p.x / 100.0, p.y / 100.0, across, false);
  for (const MapCircle& c : map.Circles())
    add(rects.seaRuns, c.x / 100.0, c.y / 100.0, c.radius / 100.0, true);
}

void PlaceCountryRects(ACMap& map, const MapGeometry& geometry) {
  const MapWindow& w = geometry.window;
  for (CountryLabel& c : map.Countries()) {
    const bool inside = w.west <= c.west && c.east <= w.east && w.south <= c.south &&
                        c.north <= w.north && c.west < c.east && c.south < c.north;
    if (!inside) {
      c.screen = platform::Rect{-1, -1, -1, -1};
      continue;
    }
    const platform::Point a = geometry.Project(c.west, c.north);
    const platform::Point b = geometry.Project(c.east, c.south);
    c.screen = platform::Rect{a.x, a.y, b.x, b.y};
  }
}

MapState ZoomMap(AllMaps& maps, const MapState& state, double longitude, double latitude, bool back,
                 double width, double height) {
  const ACMap& current = maps.Map(state.map);
  const MapWindow full = current.FullWindow();
  const MapState world{0, maps.Map(0).FullWindow()};
  if (state.map == 0) {
    if (back) return state;
    if (state.window != full) return world;
    for (int m = 1; m < maps.Count(); ++m) {
      if (&maps.Map(m) == maps.FindRegionalMap(longitude, latitude))
        return MapState{m, maps.Map(m).FullWindow()};
    }
    return MapState{0, current.GetZoomWindow(longitude, latitude, width, height)};
  }
  if (back) return state.window != full ? MapState{state.map, full} : world;
  if (state.window != full) return world;
  return MapState{state.map, current.GetZoomWindow(longitude, latitude, width, height)};
}

ScrollBar MapScrollBar(const ACMap& map, const MapWindow& window, bool vertical) {
  if (window == map.FullWindow()) return ScrollBar{0, 1, 0};
  ScrollBar bar;
  bar.minimum = map.GetScrollLimit(window, vertical, false);
  bar.maximum = map.GetScrollLimit(window, vertical, true);
  bar.position = std::clamp(ACMap::GetScrollPosition(window, vertical), bar.minimum, bar.maximum);
  return bar;
}

bool ScrollMap(const ACMap& map, MapWindow& window, bool vertical, ScrollCode code, int thumb) {
  if (window == map.FullWindow()) return false;
  const ScrollBar bar = MapScrollBar(map, window, vertical);
  int position = bar.position;
  switch (code) {
    case ScrollCode::kLineUp:
      position -= 1;
      break;
    case ScrollCode::kLineDown:
      position += 1;
      break;
    case ScrollCode::kPageUp:
      position -= 10;
      break;
    case ScrollCode::kPageDown:
      position += 10;
      break;
    case ScrollCode::kThumb:
      position = thumb;
      break;
    case ScrollCode::kTop:
      position = bar.minimum;
      break;
    case ScrollCode::kBottom:
      position = bar.maximum;
      break;
    case ScrollCode::kNone:
      break;
  }
  position = std::clamp(position, bar.minimum, bar.maximum);
  if (position == ACMap::GetScrollPosition(window, vertical)) return false;
  ACMap::SetWindowFromScroll(window, position, vertical);
  return true;
}
