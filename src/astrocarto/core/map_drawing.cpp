// The drawing members of ACMap: grid, towns and line signs on a view.
#include "astrocarto/core/map_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "astro/ephemeris/coordinates.h"
#include "foundation/atlas/towns.h"
#include "foundation/drawing/drawing_helpers.h"
#include "foundation/drawing/font_fitting.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/text_layout.h"

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
  auto lat = [&](int s) { return lines.Sample(k, s); };
  auto lon = [&](int s) { return lines.SampleLongitude(s); };
  const char kindFirst = LineKindAt(lines, k, lon(run.first), lat(run.first), false);
  const char kindLast = LineKindAt(lines, k, lon(run.last), lat(run.last), false);
  // Searches from sample `from` toward `to` for the first sample whose sign fits the window
  // and overlaps no sign placed; keeps it in `slot` when the line is still of `kind` there.
  auto search = [&](int slot, int from, int to, char kind) {
    const int step = to >= from ? 1 : -1;
    for (int s = from;; s += step) {
      if (!IsAbsent(lat(s)) && layout.Fits(lon(s), lat(s)) &&
          !layout.OverlapsPlaced(layout.BoxAt(lon(s), lat(s)))) {
        if (!CheckRunSign(lines, k, lon(s), lat(s), kind)) return;
        signs.longitude[static_cast<std::size_t>(slot)] = lon(s);
        signs.latitude[static_cast<std::size_t>(slot)] = lat(s);
        signs.kind[static_cast<std::size_t>(slot)] = kind;
        layout.placed.push_back(layout.BoxAt(lon(s), lat(s)));
        return;
      }
      if (s == to) return;
    }
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

void ACMap::PlaceICMCPlanetSigns(platform::Dc& dc, const ACMapView& view, const ACLines& lines,
                                 SignLayout& layout, int glyphSize) {
  const MapWindow& w = layout.window;
  if (!(layout.h > 0.0)) return;
  for (const char kind : {'I', 'M'}) {
    for (int k = 0; k < lines.LineCount(); ++k) {
      const double x = kind == 'I' ? lines.Ic(k) : lines.Mc(k);
      if (IsAbsent(x)) continue;
      for (double lat = w.south + 2.0 * layout.h; lat < w.north - 2.0 * layout.h;
           lat += layout.h / 2.0) {
        // The sign and its letters inside the window, clear of the bands of the grid's degrees.
        if (!layout.Fits(x, lat)) break;
        const SignBox box = layout.BoxAt(x, lat);
        if (layout.OverlapsPlaced(box)) continue;
        layout.placed.push_back(box);
        const platform::Point p = view.geometry.Project(x, lat);
        DrawLineSign(dc, glyphSize, p.x, p.y, lines.GetPointOfLine(k), kind,
                     lines.ChartOfLine(k) == 1, view.lineColour(lines.GetPointOfLine(k)));
        break;
      }
    }
  }
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
  const auto obstacle = [&](const Rect& r) {
    if (IsUnset(r)) return;
    SignBox box;
    g.Unproject({r.left, r.top}, box.west, box.north);
    g.Unproject({r.right, r.bottom}, box.east, box.south);
    layout.placed.push_back(box);
  };
  for (const CountryLabel& c : countries_) obstacle(c.screen);
  for (const auto& labels : townLabels_)
    for (const Rect& r : labels) obstacle(r);
  for (const VisibleRun& run : lines.CollectVisibleRuns(window)) {
    const RunSigns signs = PlaceRunSigns(lines, run, layout);
    for (std::size_t i = 0; i < 2; ++i) {
      if (IsAbsent(signs.longitude[i])) continue;
      const platform::Point p = view.geometry.Project(signs.longitude[i], signs.latitude[i]);
      DrawLineSign(dc, size, p.x, p.y, run.point, signs.kind[i], run.chart == '1',
                   view.lineColour(run.point));
    }
  }
  PlaceICMCPlanetSigns(dc, view, lines, layout, size);
}
