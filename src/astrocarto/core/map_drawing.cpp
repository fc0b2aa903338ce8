// The drawing members of ACMap: grid, towns and line signs on a view.
#include "astrocarto/core/map_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "astro/ephemeris/coordinates.h"
#include "foundation/atlas/towns.h"
#include "foundation/drawing/drawing_helpers.h"
#include "foundation/drawing/font_fitting.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/text_layout.h"
#include "foundation/numbers/vector_state.h"

namespace {

using platform::Rect;

constexpr int kTownRadius = 50;
// Below this size (tenths of a point) town labels are not placed.
constexpr int kSmallestTownLabel = 100;

platform::Font TextFont(int size) { return platform::Font{std::string(platform::kTextFace), size}; }

bool Inside(const Rect& r, const Rect& area) {
  return r.left >= area.left && r.right <= area.right && r.top <= area.top &&
         r.bottom >= area.bottom;
}

bool IsUnset(const Rect& r) { return r.left == -1; }

// Two colours too near to tell a sign from its ground: no channel differs by a quarter of its
// range.
bool Alike(platform::Color a, platform::Color b) {
  const auto near = [](int x, int y) { return std::abs(x - y) < 64; };
  return near(a.r, b.r) && near(a.g, b.g) && near(a.b, b.b);
}

// Whether a point lies in a sea cell or sea run of the cells drawn.
bool AtSea(const CellRects* cells, platform::Point p) {
  if (cells == nullptr) return false;
  const auto in = [p](const Rect& r) { return PointInRect(p.x, p.y, r); };
  return std::any_of(cells->seaCells.begin(), cells->seaCells.end(), in) ||
         std::any_of(cells->seaRuns.begin(), cells->seaRuns.end(), in);
}

// The ink of the widest line sign in logical units: the widest glyph of the lines' points, the
// widest line name beside it, the taller of the two.
struct SignInk {
  int glyph = 0, name = 0, height = 0;
};

SignInk LineSignInk(platform::Dc& dc, int size, const ACLines& lines) {
  const platform::DcState saved(dc);
  SignInk ink;
  dc.SelectFont(platform::Font{std::string(platform::kGlyphFaceA), size});
  for (int k = 0; k < lines.LineCount(); ++k) {
    const platform::Size e =
        dc.GetTextExtent(std::string(1, glyphs::Point(lines.GetPointOfLine(k))));
    ink = {std::max(ink.glyph, e.cx), ink.name, std::max(ink.height, e.cy)};
  }
  dc.SelectFont(TextFont(static_cast<int>(size * 0.7)));
  for (const char* text : {"AS", "DS", "MC", "IC"}) {
    const platform::Size e = dc.GetTextExtent(text);
    ink = {ink.glyph, std::max(ink.name, e.cx), std::max(ink.height, e.cy)};
  }
  return ink;
}

bool TownInWindow(const MapWindow& w, double lon, double lat) {
  return w.west <= lon && lon < w.east && w.south <= lat && lat <= w.north;
}

}  // namespace

platform::Pen LinePenOfPoint(int point) {
  constexpr platform::PenStyle kStyles[5] = {platform::PenStyle::Solid, platform::PenStyle::Dash,
                                             platform::PenStyle::Dot, platform::PenStyle::DashDot,
                                             platform::PenStyle::DashDotDot};
  constexpr int kThin = 15, kThick = 35;  // 0.15 and 0.35 mm
  if (point < 0 || point >= 10)
    return platform::Pen{platform::PenStyle::Solid, kThin, platform::kBlack};
  return platform::Pen{kStyles[point % 5], point < 5 ? kThin : kThick, platform::kBlack};
}

platform::Size GridLabelSize(platform::Dc& dc, int viewHeight) {
  const int size = FitFontHeight(dc, platform::kTextFace, 5000, viewHeight / 30);
  if (size < 1) return {};
  const platform::DcState saved(dc);
  dc.SelectFont(TextFont(size));
  return dc.GetTextExtent("-80");
}

platform::Size GridLabelMargin(platform::Dc& dc, const ACMapView& view) {
  if (!view.grid || view.gridOutside) return {};
  return GridLabelSize(dc, view.ViewHeight());
}

int TownLabelDivisor(int selector) { return selector == 0 ? 18 : selector == 1 ? 25 : 40; }
int LineSignDivisor(int selector) { return selector == 0 ? 18 : selector == 1 ? 23 : 27; }

SignBox SignLayout::BoxAt(double longitude, double latitude) const {
  return {longitude - 0.5 * w, longitude + 2.5 * w, latitude, latitude - std::max(h, tall)};
}

bool SignLayout::Fits(double longitude, double latitude) const {
  // As wide as the box the sign takes (BoxAt), so that its letters stay inside the window too.
  return longitude - 0.5 * w >= window.west && longitude + 2.5 * w <= window.east &&
         latitude + 0.5 * h <= window.north && latitude - h >= window.south;
}

bool SignLayout::OverlapsPlaced(const SignBox& b) const {
  return std::any_of(placed.begin(), placed.end(), [&](const SignBox& p) {
    return b.west < p.east && p.west < b.east && b.south < p.north && p.south < b.north;
  });
}

SignBox SignLayout::InkAt(double longitude, double latitude, bool nameOnly) const {
  SignBox box = BoxAt(longitude, latitude);
  if (inkName > 0.0)
    box = {longitude - inkGlyph, longitude + inkGlyph + inkName, latitude, latitude - inkDown};
  if (nameOnly) box.west = longitude + (inkName > 0.0 ? inkGlyph : 0.5 * w);
  // A tenth of a glyph's room round the ink, so that no line's pen reaches it.
  const double room = 0.1 * h;
  return {box.west - (nameOnly ? 0.0 : room), box.east + room, box.north + room, box.south - room};
}

int SignLayout::Crossings(double longitude, double latitude, int own, int enough) const {
  const int others = obstacles.Count(InkAt(longitude, latitude), own, enough);
  if (others >= enough) return others;
  return others + obstacles.Meets(InkAt(longitude, latitude, true), own);
}

// --- obstacles of the signs ------------------------------------------------------------------

namespace {

// Whether the segment from (x1, y1) to (x2, y2) meets the box (edges included): the segment's
// parameter range clipped to each of the box's slabs in turn stays non-empty.
bool SegmentMeetsBox(double x1, double y1, double x2, double y2, const SignBox& b) {
  double t0 = 0.0, t1 = 1.0;
  const auto clip = [&](double p, double q) {
    if (p == 0.0) return q >= 0.0;
    const double t = q / p;
    if (p < 0.0) {
      if (t > t1) return false;
      t0 = std::max(t0, t);
    } else {
      if (t < t0) return false;
      t1 = std::min(t1, t);
    }
    return true;
  };
  const double dx = x2 - x1, dy = y2 - y1;
  return clip(-dx, x1 - b.west) && clip(dx, b.east - x1) && clip(-dy, y1 - b.south) &&
         clip(dy, b.north - y1);
}

}  // namespace

int SignObstacles::Owner(int line, char kind) {
  return 3 * line + (kind == 'M' ? 1 : kind == 'I' ? 2 : 0);
}

void SignObstacles::Reset(const MapWindow& window, double cellWidth, double cellHeight) {
  window_ = window;
  const double across = std::max(window.east - window.west, 0.0);
  const double down = std::max(window.north - window.south, 0.0);
  cellWidth_ = std::max({cellWidth, across / 64.0, 1e-6});
  cellHeight_ = std::max({cellHeight, down / 64.0, 1e-6});
  columns_ = static_cast<int>(std::ceil(across / cellWidth_)) + 1;
  rows_ = static_cast<int>(std::ceil(down / cellHeight_)) + 1;
  items_.clear();
  squares_.assign(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), {});
}

int SignObstacles::Column(double longitude) const {
  const double c = std::floor((longitude - window_.west) / cellWidth_);
  return static_cast<int>(std::clamp(c, 0.0, static_cast<double>(columns_ - 1)));
}

int SignObstacles::Row(double latitude) const {
  const double r = std::floor((window_.north - latitude) / cellHeight_);
  return static_cast<int>(std::clamp(r, 0.0, static_cast<double>(rows_ - 1)));
}

void SignObstacles::File(const Item& item) {
  if (squares_.empty() || item.east < window_.west || item.west > window_.east ||
      item.north < window_.south || item.south > window_.north)
    return;
  const auto index = static_cast<std::uint32_t>(items_.size());
  items_.push_back(item);
  for (int r = Row(item.north); r <= Row(item.south); ++r)
    for (int c = Column(item.west); c <= Column(item.east); ++c)
      squares_[static_cast<std::size_t>(r) * static_cast<std::size_t>(columns_) +
               static_cast<std::size_t>(c)]
          .push_back(index);
}

void SignObstacles::AddLines(const ACLines& lines, int step) {
  for (const LineSegment& s : lines.CollectSegments(window_, step)) {
    // The meridians run from the window's north edge to its south edge at the MC or IC.
    char kind = 'A';
    if (s.lon1 == s.lon2 && s.lat1 == window_.north && s.lat2 == window_.south)
      kind = s.lon1 == lines.Mc(s.line) ? 'M' : s.lon1 == lines.Ic(s.line) ? 'I' : 'A';
    File(Item{std::min(s.lon1, s.lon2), std::max(s.lon1, s.lon2), std::max(s.lat1, s.lat2),
              std::min(s.lat1, s.lat2), s.lon1, s.lat1, s.lon2, s.lat2, Owner(s.line, kind)});
  }
}

void SignObstacles::AddCell(const SignBox& cell) {
  File(Item{cell.west, cell.east, cell.north, cell.south, 0.0, 0.0, 0.0, 0.0, -1});
}

template <typename Visit>
bool SignObstacles::AnyIn(const SignBox& box, Visit visit) const {
  for (int r = Row(box.north); r <= Row(box.south); ++r)
    for (int c = Column(box.west); c <= Column(box.east); ++c)
      for (const std::uint32_t i :
           squares_[static_cast<std::size_t>(r) * static_cast<std::size_t>(columns_) +
                    static_cast<std::size_t>(c)])
        if (visit(items_[i])) return true;
  return false;
}

int SignObstacles::Count(const SignBox& box, int own, int enough) const {
  if (items_.empty()) return 0;
  std::vector<int> met;
  AnyIn(box, [&](const Item& item) {
    if (item.owner == own || std::find(met.begin(), met.end(), item.owner) != met.end())
      return false;
    if (item.east < box.west || box.east < item.west || item.north < box.south ||
        box.north < item.south)
      return false;
    if (item.owner >= 0 && !SegmentMeetsBox(item.lon1, item.lat1, item.lon2, item.lat2, box))
      return false;
    met.push_back(item.owner);
    return static_cast<int>(met.size()) >= enough;
  });
  return static_cast<int>(met.size());
}

bool SignObstacles::Meets(const SignBox& box, int owner) const {
  if (items_.empty()) return false;
  return AnyIn(box, [&](const Item& item) {
    return item.owner == owner && SegmentMeetsBox(item.lon1, item.lat1, item.lon2, item.lat2, box);
  });
}

char LineKindAt(const ACLines& lines, int k, double longitude, double latitude, bool strict) {
  const LineMoment& moment = lines.Moment(lines.ChartOfLine(k));
  const std::array<double, 4> angles =
      AnglesFromRamc(moment.siderealDeg + longitude, latitude, moment.obliquityDeg);
  const double lambda = lines.BodyLongitude(k);
  const double toAscendant = AngleDifference180(lambda, angles[0]);
  const double toDescendant = AngleDifference180(lambda, angles[2]);
  if (toAscendant < toDescendant) return 'A';
  if (strict && toAscendant == toDescendant) return 0;
  return 'D';
}

// --- grid ------------------------------------------------------------------------------------

void ACMap::DrawGrid(platform::Dc& dc, const ACMapView& view) const {
  const MapWindow& w = view.geometry.window;
  const bool full = w == FullWindow();
  const int across = std::max(full ? meridianSpacing_ : 4, 1);
  const int down = std::max(full ? parallelSpacing_ : 4, 1);
  // A view without height fits no font: then there is no grid to label.
  const int size = FitFontHeight(dc, platform::kTextFace, 5000, view.ViewHeight() / 30);
  if (size < 1) return;
  const platform::DcState saved(dc);
  dc.SelectFont(TextFont(size));
  const platform::Size margin = dc.GetTextExtent("-80");
  dc.SelectPen(platform::Pen{platform::PenStyle::Solid, 1, view.colours.grid});
  dc.SetTextColor(view.colours.gridDegrees);
  dc.SetBkMode(platform::BkMode::Transparent);
  for (int d = -180; d <= 180; d += across)
    if (w.west < d && d < w.east) DrawGridLine(dc, view, d, margin.cx, margin.cy, 'V');
  for (int d = -90; d < 90; d += down)
    if (w.south < d && d < w.north) DrawGridLine(dc, view, d, margin.cy, margin.cx, 'H');
}

void ACMap::DrawGridLine(platform::Dc& dc, const ACMapView& view, int degrees, int marginAcross,
                         int marginAlong, char kind) const {
  const Rect area = view.geometry.MapArea();
  char label[16];
  std::snprintf(label, sizeof label, "%d", degrees);
  if (view.gridOutside) {
    // The line across the whole area, its labels outside it, a quarter of a label's height off.
    const int gap = (kind == 'V' ? marginAlong : marginAcross) / 4;
    if (kind == 'V') {
      const int x = static_cast<int>(std::lround(view.geometry.X(degrees)));
      if (x - area.left < marginAcross || area.right - x < marginAcross) return;
      dc.Line({x, area.top}, {x, area.bottom});
      dc.SetTextAlign(platform::TextAlign::kCenter | platform::TextAlign::kBottom);
      dc.TextOut(x, area.top + gap, label);
      dc.SetTextAlign(platform::TextAlign::kCenter | platform::TextAlign::kTop);
      dc.TextOut(x, area.bottom - gap, label);
      return;
    }
    const int y = static_cast<int>(std::lround(view.geometry.Y(degrees)));
    if (area.top - y < marginAcross || y - area.bottom < marginAcross) return;
    dc.Line({area.left, y}, {area.right, y});
    dc.SetTextAlign(platform::TextAlign::kRight | platform::TextAlign::kTop);
    dc.TextOut(area.left - gap, y + marginAcross / 2, label);
    dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
    dc.TextOut(area.right + gap, y + marginAcross / 2, label);
    return;
  }
  if (kind == 'V') {
    const int x = static_cast<int>(std::lround(view.geometry.X(degrees)));
    if (x - area.left < marginAcross || area.right - x < marginAcross) return;
    dc.Line({x, area.top - marginAlong}, {x, area.bottom + marginAlong});
    dc.SetTextAlign(platform::TextAlign::kCenter | platform::TextAlign::kTop);
    dc.TextOut(x, area.top, label);
    dc.SetTextAlign(platform::TextAlign::kCenter | platform::TextAlign::kBottom);
    dc.TextOut(x, area.bottom, label);
    return;
  }
  const int y = static_cast<int>(std::lround(view.geometry.Y(degrees)));
  if (area.top - y < marginAcross || y - area.bottom < marginAcross) return;
  dc.Line({area.left + marginAlong, y}, {area.right - marginAlong, y});
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.TextOut(area.left, y + marginAcross / 2, label);
  dc.SetTextAlign(platform::TextAlign::kRight | platform::TextAlign::kTop);
  dc.TextOut(area.right, y + marginAcross / 2, label);
}

// --- towns -----------------------------------------------------------------------------------

bool ACMap::OverlapsCountryLabel(const Rect& r) const {
  return std::any_of(countries_.begin(), countries_.end(), [&](const CountryLabel& c) {
    return !IsUnset(c.screen) && RectsOverlap(r, c.screen);
  });
}

bool ACMap::OverlapsTownLabel(const Rect& r, std::size_t count, int townClass) const {
  auto any = [&](const std::vector<Rect>& labels, std::size_t n) {
    n = std::min(n, labels.size());
    return std::any_of(labels.begin(), labels.begin() + static_cast<std::ptrdiff_t>(n),
                       [&](const Rect& l) { return !IsUnset(l) && RectsOverlap(r, l); });
  };
  if (townClass == 3) return any(townLabels_[0], count);
  return any(townLabels_[0], townLabels_[0].size()) || any(townLabels_[1], count);
}

void ACMap::PlaceTownLabels(platform::Dc& dc, const MapWindow& window, const ACMapView& view) {
  for (auto& labels : townLabels_) std::fill(labels.begin(), labels.end(), Rect{-1, -1, -1, -1});
  townLabelSize_ = FitFontHeight(dc, platform::kTextFace, 3000,
                                 view.ViewHeight() / TownLabelDivisor(view.townFontSize));
  if (townLabelSize_ <= kSmallestTownLabel || view.towns == nullptr) return;
  const platform::DcState saved(dc);
  // With the grid on, the labels keep out of the bands along the edges where its degrees stand.
  Rect area = view.geometry.MapArea();
  const platform::Size margin = GridLabelMargin(dc, view);
  area = Rect{area.left + margin.cx, area.top - margin.cy, area.right - margin.cx,
              area.bottom + margin.cy};
  dc.SelectFont(TextFont(townLabelSize_));
  const bool full = window == FullWindow();
  for (const int townClass : {3, 2}) {
    if (townClass == 2 && full) break;
    const std::vector<std::int32_t>& towns = towns_[static_cast<std::size_t>(3 - townClass)];
    std::vector<Rect>& labels = townLabels_[townClass == 3 ? 0 : 1];
    for (std::size_t i = 0; i < towns.size() && i < labels.size(); ++i) {
      double lat = 0.0, lon = 0.0;
      if (!view.towns->GetTownDegrees(towns[i], lat, lon) || !TownInWindow(window, lon, lat))
        continue;
      const platform::Point p = view.geometry.Project(lon, lat);
      const platform::Size text = dc.GetTextExtent(view.towns->GetTownName(towns[i]));
      Rect r;
      r.left = p.x + (townClass == 3 ? 100 : 200);
      r.top = p.y + 50;
      r.right = r.left + text.cx;
      r.bottom = r.top - text.cy;
      if (!OverlapsCountryLabel(r) && !OverlapsTownLabel(r, i, townClass) && Inside(r, area))
        labels[i] = r;
    }
  }
}

void ACMap::DrawTowns(platform::Dc& dc, const MapWindow& window, const ACMapView& view) const {
  if (view.towns == nullptr) return;
  const platform::DcState saved(dc);
  dc.SelectPen(platform::Pen{platform::PenStyle::Solid, 1, view.colours.towns});
  dc.SelectBrush(platform::Brush{false, view.colours.townFill});
  const bool labels = townLabelSize_ > kSmallestTownLabel;
  if (labels) dc.SelectFont(TextFont(townLabelSize_));
  dc.SetTextColor(view.colours.townNames);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  for (const int townClass : {3, 2, 1}) {
    const std::vector<std::int32_t>& towns = towns_[static_cast<std::size_t>(3 - townClass)];
    for (std::size_t i = 0; i < towns.size(); ++i) {
      double lat = 0.0, lon = 0.0;
      if (!view.towns->GetTownDegrees(towns[i], lat, lon) || !TownInWindow(window, lon, lat))
        continue;
      const platform::Point p = view.geometry.Project(lon, lat);
      dc.Ellipse(Rect{p.x - kTownRadius, p.y + kTownRadius, p.x + kTownRadius, p.y - kTownRadius});
      if (!labels || townClass == 1) continue;
      const std::vector<Rect>& placed = townLabels_[townClass == 3 ? 0 : 1];
      if (i < placed.size() && !IsUnset(placed[i]))
        dc.TextOut(placed[i].left, placed[i].top, view.towns->GetTownName(towns[i]));
    }
  }
}

// --- line signs ------------------------------------------------------------------------------

void ACMap::DrawLineSign(platform::Dc& dc, int size, int x, int y, int point, char kind,
                         bool secondChart, platform::Color colour) {
  const platform::DcState saved(dc);
  dc.SetTextColor(colour);
  dc.SetTextAlign(platform::TextAlign::kCenter | platform::TextAlign::kTop);
  const platform::Size glyph =
      DrawGlyphText(dc, x, y, glyphs::Point(point), 'a', size, platform::BkMode::Transparent);
  dc.SelectFont(TextFont(static_cast<int>(size * 0.7)));
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.TextOut(x + glyph.cx / 2, y, AngleLineName(kind, secondChart));
}

bool ACMap::CheckRunSign(const ACLines& lines, int line, double longitude, double latitude,
                         char startKind) {
  return LineKindAt(lines, line, longitude, latitude, true) == startKind;
}

RunSigns ACMap::PlaceRunSigns(const ACLines& lines, const VisibleRun& run, SignLayout& layout) {
  RunSigns signs;
  const int k = run.line;
  const int own = SignObstacles::Owner(k, 'A');
  auto lat = [&](int s) { return lines.Sample(k, s); };
  auto lon = [&](int s) { return lines.SampleLongitude(s); };
  const char kindFirst = LineKindAt(lines, k, lon(run.first), lat(run.first), false);
  const char kindLast = LineKindAt(lines, k, lon(run.last), lat(run.last), false);
  // Positions closer than this to the last one tried for room are not tried again.
  const double nearLon = layout.w / 8.0, nearLat = layout.h / 8.0;
  // Searches from sample `from` toward `to` for the first sample whose sign fits the window,
  // overlaps no sign placed and is clear of the obstacles, and keeps it in `slot`; without a
  // clear place, the one that meets the fewest, on a ground. A place counts only where the line
  // is still of `kind`: past its meridian the search ends.
  auto search = [&](int slot, int from, int to, char kind) {
    const int step = to >= from ? 1 : -1;
    int best = -1, bestCount = 0;
    double triedLon = kAbsent, triedLat = kAbsent;
    for (int s = from;; s += step) {
      if (!IsAbsent(lat(s)) && layout.Fits(lon(s), lat(s)) &&
          !layout.OverlapsPlaced(layout.BoxAt(lon(s), lat(s)))) {
        const bool near = !IsAbsent(triedLon) && std::abs(lon(s) - triedLon) < nearLon &&
                          std::abs(lat(s) - triedLat) < nearLat;
        if (!near) {
          triedLon = lon(s);
          triedLat = lat(s);
          const int count = layout.Crossings(lon(s), lat(s), own, best < 0 ? 1 << 30 : bestCount);
          if (best < 0 || count < bestCount) {
            if (!CheckRunSign(lines, k, lon(s), lat(s), kind)) break;
            best = s;
            bestCount = count;
            if (count == 0) break;
          }
        }
      }
      if (s == to) break;
    }
    if (best < 0) return;
    const auto i = static_cast<std::size_t>(slot);
    signs.longitude[i] = lon(best);
    signs.latitude[i] = lat(best);
    signs.kind[i] = kind;
    signs.opaque[i] = bestCount > 0;
    layout.placed.push_back(layout.BoxAt(lon(best), lat(best)));
  };
  if (kindFirst == kindLast) {
    // One sign, from the lower end toward the higher.
    if (lat(run.last) > lat(run.first))
      search(0, run.first, run.last, kindFirst);
    else
      search(0, run.last, run.first, kindLast);
  } else {
    // The run passes a meridian: one sign from each end.
    search(0, run.first, run.last, kindFirst);
    search(1, run.last, run.first, kindLast);
  }
  return signs;
}

std::vector<PlacedSign> ACMap::PlaceLineSigns(const ACLines& lines, SignLayout& layout) {
  std::vector<PlacedSign> signs;
  for (const VisibleRun& run : lines.CollectVisibleRuns(layout.window)) {
    const RunSigns found = PlaceRunSigns(lines, run, layout);
    for (std::size_t i = 0; i < 2; ++i)
      if (!IsAbsent(found.longitude[i]))
        signs.push_back(PlacedSign{found.longitude[i], found.latitude[i], run.line, run.point,
                                   found.kind[i], run.chart == '1', found.opaque[i]});
  }
  const MapWindow& w = layout.window;
  if (!(layout.h > 0.0)) return signs;
  for (const char kind : {'I', 'M'}) {
    for (int k = 0; k < lines.LineCount(); ++k) {
      const double x = kind == 'I' ? lines.Ic(k) : lines.Mc(k);
      if (IsAbsent(x)) continue;
      double found = kAbsent;
      int fewest = 0;
      for (double lat = w.south + 2.0 * layout.h; lat < w.north - 2.0 * layout.h;
           lat += layout.h / 2.0) {
        // The sign and its letters inside the window, clear of the bands of the grid's degrees.
        if (!layout.Fits(x, lat)) break;
        if (layout.OverlapsPlaced(layout.BoxAt(x, lat))) continue;
        const int count = layout.Crossings(x, lat, SignObstacles::Owner(k, kind),
                                           IsAbsent(found) ? 1 << 30 : fewest);
        if (IsAbsent(found) || count < fewest) {
          found = lat;
          fewest = count;
          if (count == 0) break;
        }
      }
      if (IsAbsent(found)) continue;
      const bool opaque = fewest > 0;
      layout.placed.push_back(layout.BoxAt(x, found));
      signs.push_back(PlacedSign{x, found, k, lines.GetPointOfLine(k), kind,
                                 lines.ChartOfLine(k) == 1, opaque});
    }
  }
  return signs;
}

void ACMap::DrawLineSigns(platform::Dc& dc, const MapWindow& window, const ACMapView& view,
                          const ACLines& lines) const {
  const int divisor = LineSignDivisor(view.glyphFontSize);
  const int size = FitFontHeight(dc, platform::kGlyphFaceA, 4500, view.ViewHeight() / divisor);
  if (size < 1 || lines.LineCount() == 0) return;
  SignLayout layout;
  layout.window = window;
  layout.h = (window.north - window.south) / divisor;
  layout.w = view.geometry.WidthOfHeight(layout.h);
  // The signs keep out of the bands along the edges where the grid's degrees stand.
  const platform::Size margin = GridLabelMargin(dc, view);
  const MapGeometry& g = view.geometry;
  const double across = std::abs(g.X(window.east) - g.X(window.west));
  const double down = std::abs(g.Y(window.north) - g.Y(window.south));
  if (across > 0.0 && down > 0.0) {
    // The bands with half a label's height of room, so that no sign reads as part of a number.
    const int room = margin.cy / 2;
    const double lon = (margin.cx + room) * (window.east - window.west) / across;
    const double lat = (margin.cy + room) * (window.north - window.south) / down;
    // A glyph may stand taller than the height it was fitted to: the bottom band keeps that too.
    const platform::DcState saved(dc);
    dc.SelectFont(platform::Font{std::string(platform::kGlyphFaceA), size});
    const double glyphDown = dc.GetTextMetrics().height * (window.north - window.south) / down;
    const double taller = std::max(0.0, glyphDown - layout.h);
    layout.tall = glyphDown;
    layout.window = MapWindow{window.west + lon, window.east - lon, window.north - lat,
                              window.south + lat + taller};
  }
  // The signs keep off the country names and the town labels written before them.
  const auto toDegrees = [&g](const Rect& r) {
    SignBox box;
    g.Unproject({r.left, r.top}, box.west, box.north);
    g.Unproject({r.right, r.bottom}, box.east, box.south);
    return box;
  };
  for (const CountryLabel& c : countries_)
    if (!IsUnset(c.screen)) layout.placed.push_back(toDegrees(c.screen));
  for (const auto& labels : townLabels_)
    for (const Rect& r : labels)
      if (!IsUnset(r)) layout.placed.push_back(toDegrees(r));
  // Where they can, their ink keeps off the other lines and the coasts and borders too.
  if (across > 0.0 && down > 0.0) {
    const SignInk ink = LineSignInk(dc, size, lines);
    layout.inkGlyph = ink.glyph / 2.0 * (window.east - window.west) / across;
    layout.inkName = ink.name * (window.east - window.west) / across;
    layout.inkDown = ink.height * (window.north - window.south) / down;
  }
  LineSignCache::From from{lines.Revision(),
                           layout.window,
                           layout.h,
                           layout.w,
                           layout.tall,
                           layout.inkGlyph,
                           layout.inkName,
                           layout.inkDown,
                           layout.placed,
                           view.lineStep,
                           view.cells != nullptr ? view.cells->borders : std::vector<Rect>{}};
  LineSignCache fresh;
  LineSignCache& cache = view.signCache != nullptr ? *view.signCache : fresh;
  if (!cache.valid || !(cache.from == from)) {
    // The painting before has left the vector registers' upper halves in use, and the search
    // asks the ascendant of many places (foundation/numbers/vector_state.h).
    CleanVectorState();
    layout.obstacles.Reset(window, layout.w, layout.h);
    layout.obstacles.AddLines(lines, view.lineStep);
    for (const Rect& r : from.cells) layout.obstacles.AddCell(toDegrees(r));
    cache.signs = PlaceLineSigns(lines, layout);
    cache.from = std::move(from);
    cache.valid = true;
  }

  // A sign with no clear place stands on a ground of the colour of the land or sea under it; a
  // sign of nearly that colour itself (a point coloured like the sea) stands on paper instead.
  for (const PlacedSign& sign : cache.signs) {
    const platform::Point p = g.Project(sign.longitude, sign.latitude);
    const platform::Color ink = view.lineColour(sign.point);
    const platform::Color under = AtSea(view.cells, p) ? view.colours.sea : view.colours.land;
    const bool lost = Alike(ink, under);
    if (sign.opaque || lost) {
      const SignBox b = layout.InkAt(sign.longitude, sign.latitude);
      const platform::Point nw = g.Project(b.west, b.north), se = g.Project(b.east, b.south);
      const platform::Color paper =
          Alike(ink, platform::kWhite) ? platform::kBlack : platform::kWhite;
      dc.FillRect(Rect{nw.x, nw.y, se.x, se.y}, lost ? paper : under);
    }
    DrawLineSign(dc, size, p.x, p.y, sign.point, sign.kind, sign.secondChart, ink);
  }
}
