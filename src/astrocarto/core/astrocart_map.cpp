#include "astrocarto/core/astrocart_map.h"

#include <algorithm>
#include <string>

#include "astrocarto/core/near_towns.h"
#include "foundation/atlas/towns.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/font_fitting.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/page_frame.h"
#include "foundation/drawing/page_title.h"
#include "foundation/drawing/palette.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace {

constexpr int kWhite = 15;
constexpr int kHeaderGap = 200;  // between the chart's header and the map's degrees

// The line colour of a chart point: Sun..Pluto their own, the nodes theirs, the rest the others'.
int LineColourNumber(const AstroCartPage& settings, int point) {
  if (point >= 0 && point <= 9) return settings.lineColours[static_cast<std::size_t>(point)];
  if (point == ACLines::kNorthNode || point == ACLines::kSouthNode) return settings.lineColours[10];
  return settings.lineColours[11];
}

platform::Color Palette(int number) { return ColorByIndex(number); }

}  // namespace

AstroCartMap::AstroCartMap(AllMaps& maps, const TOWNS& towns) : maps_(maps), towns_(towns) {
  state_ = MapState{0, maps_.Map(0).FullWindow()};
}

bool AstroCartMap::Init(const AstroCartPage& settings, const Configuration& config,
                        const Chart& chart, platform::ProgressSink& progress) {
  settings_ = settings;
  state_ = MapState{0, maps_.Map(0).FullWindow()};
  const int density = maps_.SetLineSteps(settings.speed);
  lines_->Init(settings.lineChoice, settings.nodes, density, config);
  second_.reset();
  Rebuild();
  return lines_->Calculate(chart, settings.lineSystem == 1, 0, progress);
}

bool AstroCartMap::RecalculateFirst(const Chart& chart, platform::ProgressSink& progress) {
  const bool two = lines_->TwoCharts();
  const bool done = lines_->Calculate(chart, settings_.lineSystem == 1, 0, progress);
  lines_->SetTwoCharts(two);
  return done;
}

void AstroCartMap::Resize(int logicalWidth, int logicalHeight, int pixelWidth, int pixelHeight) {
  clientWidth_ = std::max(logicalWidth, 0);
  clientHeight_ = std::max(logicalHeight, 0);
  // One device pixel in logical units; a minimised window has no pixels to divide by.
  minCell_.cx = std::max(1, clientWidth_ / std::max(pixelWidth, 1));
  minCell_.cy = std::max(1, clientHeight_ / std::max(pixelHeight, 1));
  Rebuild();
}

void AstroCartMap::Rebuild() {
  geometry_.window = state_.window;
  geometry_.frame = LayoutScreenFrame(clientWidth_, clientHeight_, state_.window);
  BuildCellRects(maps_.Map(state_.map), geometry_, minCell_, rects_);
}

ScrollBar AstroCartMap::Bar(bool vertical) const {
  return MapScrollBar(CurrentMap(), state_.window, vertical);
}

bool AstroCartMap::DoubleClick(platform::Point logical, bool back) {
  double longitude = 0.0, latitude = 0.0;
  geometry_.Unproject(logical, longitude, latitude);
  const MapState next =
      ZoomMap(maps_, state_, longitude, latitude, back, clientWidth_, clientHeight_);
  if (next == state_) return false;
  state_ = next;
  Rebuild();
  return true;
}

bool AstroCartMap::Scroll(bool vertical, ScrollCode code, int thumb) {
  if (!ScrollMap(CurrentMap(), state_.window, vertical, code, thumb)) return false;
  Rebuild();
  return true;
}

bool AstroCartMap::Zoomed() const { return !(state_.window == CurrentMap().FullWindow()); }

const NearTownList& AstroCartMap::CollectNearTowns(platform::Point logical, double& longitude,
                                                   double& latitude) {
  geometry_.Unproject(logical, longitude, latitude);
  const double r = NearTownRadius(state_.window, Zoomed());
  nearTowns_.Collect(towns_, longitude, latitude, r * r);
  return nearTowns_;
}

bool AstroCartMap::AddSecondChart(const Chart& chart, platform::ProgressSink& progress) {
  second_ = std::make_unique<Chart>(chart);
  if (lines_->Calculate(*second_, settings_.lineSystem == 1, 1, progress)) return true;
  RemoveSecondChart();
  return false;
}

void AstroCartMap::RemoveSecondChart() {
  second_.reset();
  lines_->SetTwoCharts(false);
}

MapColours AstroCartMap::ScreenColours(const AstroCartPage& s) {
  const auto& c = s.mapColours;
  return MapColours{Palette(c[0]), Palette(c[1]), Palette(c[2]), Palette(c[3]), Palette(c[4]),
                    Palette(c[4]), Palette(c[5]), Palette(c[6]), Palette(c[7])};
}

MapColours AstroCartMap::PrintColours(const AstroCartPage& s, bool colourPrinting) {
  MapColours colours = ScreenColours(s);
  if (s.printBackground != 0) colours.land = Palette(kWhite);
  if (s.printBackground == 2) colours.sea = Palette(kWhite);
  if (!colourPrinting) {
    // Every fill white, every pen black.
    colours = MapColours{Palette(kWhite),  Palette(kWhite),  platform::kBlack,
                         platform::kBlack, platform::kBlack, Palette(kWhite),
                         platform::kBlack, platform::kBlack, platform::kBlack};
  }
  return colours;
}

ACMapView AstroCartMap::MakeView(const MapGeometry& geometry, const MapColours& colours,
                                 bool blackLines) const {
  ACMapView view;
  view.geometry = geometry;
  view.colours = colours;
  view.townFontSize = settings_.townFontSize;
  view.glyphFontSize = settings_.glyphFontSize;
  view.towns = &towns_;
  const AstroCartPage settings = settings_;
  view.lineColour = [settings, blackLines](int point) {
    return blackLines ? platform::kBlack : Palette(LineColourNumber(settings, point));
  };
  view.linePen = [colour = view.lineColour, blackLines](int point) {
    return blackLines ? LinePenOfPoint(point)
                      : platform::Pen{platform::PenStyle::Solid, 1, colour(point)};
  };
  view.grid = settings_.grid;
  return view;
}

void AstroCartMap::Paint(platform::Dc& dc) {
  dc.SetMapMode(platform::MapMode::HiMetric);
  ACMap& map = maps_.Map(state_.map);
  ACMapView view = MakeView(geometry_, ScreenColours(settings_), false);
  view.signCache = &signCache_;
  DrawMap(dc, map, view, rects_);
}

void AstroCartMap::DrawMap(platform::Dc& dc, ACMap& map, const ACMapView& view,
                           const CellRects& rects) const {
  const platform::DcState saved(dc);
  const MapWindow& window = view.geometry.window;
  const platform::Rect area = view.geometry.MapArea();
  dc.FillRect(area, view.colours.land);
  dc.FillRects(rects.seaCells, view.colours.sea);
  dc.FillRects(rects.seaRuns, view.colours.sea);
  dc.FillRects(rects.borders, view.colours.borders);
  if (settings_.grid) map.DrawGrid(dc, view);
  // Country labels are placed only when they are written: town labels need not avoid them
  // otherwise.
  if (settings_.countryNames) {
    PlaceCountryRects(map, view.geometry);
    // A name that would reach into the bands of the grid's degrees is left out.
    const platform::Size margin = GridLabelMargin(dc, view);
    const platform::Rect inner{area.left + margin.cx, area.top - margin.cy, area.right - margin.cx,
                               area.bottom + margin.cy};
    for (CountryLabel& c : map.Countries()) {
      const platform::Rect& r = c.screen;
      if (r.left != -1 && (r.left < inner.left || r.right > inner.right || r.top > inner.top ||
                           r.bottom < inner.bottom))
        c.screen = platform::Rect{-1, -1, -1, -1};
    }
    DrawCountryNames(dc, map, view);
  } else {
    for (CountryLabel& c : map.Countries()) c.screen = platform::Rect{-1, -1, -1, -1};
  }
  map.PlaceTownLabels(dc, window, view);
  map.DrawTowns(dc, window, view);
  dc.SetClipRect(area);
  const int step = ACLines::DrawStep(window, map.FullWindow(), state_.map == 0);
  lines_->DrawWithPens(dc, window, step, view.linePen,
                       [&view](double lon, double lat) { return view.geometry.Project(lon, lat); });
  ACMapView signs = view;
  signs.lineStep = step;
  signs.cells = &rects;
  map.DrawLineSigns(dc, window, signs, *lines_);
  dc.ResetClip();
}

void AstroCartMap::DrawCountryNames(platform::Dc& dc, const ACMap& map,
                                    const ACMapView& view) const {
  const platform::DcState saved(dc);
  dc.SetTextColor(view.colours.countryNames);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  for (const CountryLabel& c : map.Countries()) {
    if (c.screen.left == -1 || c.name.empty()) continue;
    const int width = c.screen.right - c.screen.left;
    const int height = c.screen.top - c.screen.bottom;
    int size = FitFontHeight(dc, platform::kTextFace, 5000, height);
    if (size < 1) continue;
    if (TextWidthInFont(dc, platform::kTextFace, size, c.name) > width)
      size = FitFontWidth(dc, platform::kTextFace, size, width, c.name);
    if (size < 1) continue;
    dc.SelectFont(platform::Font{std::string(platform::kTextFace), size});
    // A name narrower than its box is spread over it with blanks between its letters.
    std::string text = c.name;
    const int free = width - dc.GetTextExtent(text).cx;
    const int blank = std::max(dc.GetTextExtent(" ").cx, 1);
    const int blanks = free > 0 ? (free / blank) / static_cast<int>(text.size()) : 0;
    if (blanks > 0) {
      std::string spread;
      for (std::size_t i = 0; i < text.size(); ++i) {
        if (i > 0) spread.append(static_cast<std::size_t>(blanks), ' ');
        spread.push_back(text[i]);
      }
      text = std::move(spread);
    }
    dc.TextOut(c.screen.left, c.screen.top, text);
  }
}

void AstroCartMap::Print(platform::Dc& dc, const Configuration& config, const Chart& chart) const {
  dc.SetMapMode(platform::MapMode::HiMetric);
  const std::array<int, 4> margins{config.print.marginLeft, config.print.marginTop,
                                   config.print.marginRight, config.print.marginBottom};
  int headerBottom = 0;
  // The head: the page frame around the upper half page, the chart's header, the ornament and
  // the title between them.
  {
    const platform::DcState saved(dc);
    dc.SelectPen(platform::Pen{platform::PenStyle::Solid, 1, platform::kBlack});
    dc.SetTextColor(platform::kBlack);
    dc.SetBkMode(platform::BkMode::Transparent);
    config.DrawPageFrame(dc, {0, 0, 0, kA4Height - kPrintedMapHeight - margins[3]});
    const int headerLeft = margins[0] + 400;
    const platform::Size header = chart.DrawHeader(dc, headerLeft, -150 - margins[1], 0, false);
    dc.SelectFont(platform::Font{std::string(platform::kGlyphFaceA), 6000});
    const int ornamentRight = 20300 - margins[2];
    dc.SetTextAlign(platform::TextAlign::kRight | platform::TextAlign::kTop);
    dc.TextOut(ornamentRight, -250 - margins[1], glyphs::kOrnament);
    // The title beside the chart's header and the ornament where it clears both, else under
    // them; the map under all three.
    const PageHeadBlocks blocks{
        headerLeft + header.cx, PageOrnamentLeft(dc, config.print),
        std::min(-150 - margins[1] - header.cy, PageOrnamentBottom(dc, config.print))};
    const std::string title = GetMessageText(kMsgAstrocartographyTitle);
    const PageTitlePlace place = PlacePageTitle(dc, config.print, title, blocks);
    DrawPlacedTitle(dc, place, title);
    headerBottom = -place.bottom - margins[1];
  }
  // The map begins below the chart's header, however many lines the header holds.
  MapGeometry geometry;
  geometry.window = state_.window;
  // On paper the grid's degrees stand outside the map, where no line or sign reaches them.
  const platform::Size gridLabel =
      settings_.grid ? GridLabelSize(dc, kPrintedMapHeight - margins[1]) : platform::Size{};
  geometry.frame = LayoutPrintFrame(margins, state_.window, headerBottom + kHeaderGap, gridLabel);
  const platform::Size minCell{std::max(1, static_cast<int>(dc.LogicalPerPixelX())),
                               std::max(1, static_cast<int>(dc.LogicalPerPixelY()))};
  ACMap& map = maps_.Map(state_.map);
  CellRects rects;
  BuildCellRects(map, geometry, minCell, rects);
  const bool colourPrinting = config.colourPrinting != 0;
  ACMapView view = MakeView(geometry, PrintColours(settings_, colourPrinting), !colourPrinting);
  view.gridOutside = view.grid;
  DrawMap(dc, map, view, rects);
}
