#include "forecast/core/life_point_listing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "astro/aspects/aspect_system.h"
#include "astro/chart/chart.h"
#include "astro/chart/chart_header.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/font_fitting.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/longitude_drawing.h"
#include "foundation/drawing/page_frame.h"
#include "foundation/drawing/palette.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace forecast {

namespace {

constexpr double kTextScale = 0.9;
constexpr double kWideUnit = 1.3;  // the column unit with the "Windows 2000" option
constexpr int kFrameUnits = 21, kWideFrameUnits = 27;
constexpr int kPrintColumnUnits = 18;
constexpr int kFitDivisor = 20;  // a fitted "W" takes at most a twentieth of the width
constexpr int kMinFontSize = 100;
constexpr double kActiveYearsPerHouse = 6.0;
constexpr double kDaysPerActiveYear = 365.0;
constexpr int kSignLayout = 0;
// Palette colours of the rows.
constexpr int kPlainColour = 0, kCurrentRowColour = 4, kActiveScreenColour = 31;
constexpr int kActivePaperColour = 4;

std::string AgeText(double years) {
  char text[32];
  std::snprintf(text, sizeof text, "%4.1f", years);
  return text;
}

}  // namespace

LifePointListing::LifePointListing(const std::vector<LifePointEvent>& events, LifePoint type,
                                   double currentLongitude, const Moment& birth,
                                   const ListDisplaySettings& display, const AspectSystem* system,
                                   const Configuration& config, const Chart& chart)
    : events_(events),
      type_(std::move(type)),
      currentLongitude_(currentLongitude),
      birth_(birth),
      display_(display.Clamped()),
      system_(system),
      config_(config),
      chart_(chart) {}

bool LifePointListing::ShowsCurrentRow() const {
  const int kind = chart_.definition.Kind();
  return kind == kChartTransit || kind == kChartProgressed || kind == kChartDirected ||
         kind == kChartReturn;
}

int LifePointListing::ColumnUnit(int w) const {
  return config_.windows2000 != 0 ? static_cast<int>(w * kWideUnit) : w;
}

int LifePointListing::FrameWidth(platform::Dc& dc) const {
  const int w = SampleW(dc, display_.screenFontSize).cx;
  return (config_.windows2000 != 0 ? kWideFrameUnits : kFrameUnits) * w;
}

bool LifePointListing::IsActiveNow(const LifePointEvent& e) const {
  if (e.phase != 'E' || !ShowsCurrentRow()) return false;
  const double current = currentLongitude_;
  if (IsAbsent(current) || IsAbsent(e.reachLongitude)) return false;
  if (system_ == nullptr || e.aspect < 0 || e.aspect >= system_->Count()) return false;
  const double now = chart_.definition.sources[1].moment.JulianDay();
  const double years = std::abs(e.julianDay - now) / kDaysPerActiveYear;
  if (years > kActiveYearsPerHouse * type_.years) return false;
  const double orb = system_->GetAspect(e.aspect).Orb(OrbColumnOfClass(e.orbGroup));
  return AngleDifference180(current, e.reachLongitude) <= orb;
}

int LifePointListing::TextColour(const LifePointEvent& e, bool paper) const {
  if (!IsActiveNow(e)) return kPlainColour;
  if (!paper) return kActiveScreenColour;
  return config_.colourPrinting != 0 ? kActivePaperColour : kPlainColour;
}

ListingScreen LifePointListing::MeasureScreen(platform::Dc& dc) {
  const platform::Size w = SampleW(dc, display_.screenFontSize);
  screenRow_ = std::max(1, static_cast<int>(display_.screenLineSpacing * w.cy));
  screenUnit_ = std::max(1, ColumnUnit(w.cx));
  // The current-position row, the names of the columns, then the events.
  const int top = kScreenTop + (ShowsCurrentRow() ? screenRow_ : 0) + screenRow_;
  return {kScreenLeft, top, static_cast<double>(screenRow_)};
}

ListingPaper LifePointListing::MeasurePrint(platform::Dc& dc) {
  const cfg::PrintSettings& p = config_.print;
  const int left = kPrintLeft + p.marginLeft;
  const int printable = std::max(1, kA4Width - left - p.marginRight);
  // A column is 18 column units, so the wider units of the "Windows 2000" option widen the
  // column too: its last mark (13.5 units in, one "W" wide) never reaches the next column.
  const double unitsPerW = config_.windows2000 != 0 ? kWideUnit : 1.0;
  printSize_ = display_.printFontSize;
  platform::Size w = SampleW(dc, printSize_);
  if (kPrintColumnUnits * ColumnUnit(w.cx) > printable) {
    const int target = static_cast<int>(printable / (kFitDivisor * unitsPerW));
    const int fitted = FitFontWidth(dc, platform::kTextFace, printSize_, target, "W");
    printSize_ = fitted > 0 ? fitted : kMinFontSize;
    w = SampleW(dc, printSize_);
  }
  printUnit_ = std::max(1, ColumnUnit(w.cx));
  const int columnWidth = kPrintColumnUnits * printUnit_;
  printRow_ = std::max(1, static_cast<int>(display_.printLineSpacing * w.cy));
  // The current row and the column names over the events, under the page head however far a
  // long header and the title under it reach.
  const int headingTop = PrintedHeadingTop(dc, chart_, config_,
                                           lists::WidestPageTitle(type_.name, Count()), kPrintTop);
  eventsTop_ = headingTop + (ShowsCurrentRow() ? printRow_ : 0) + printRow_;
  ListingPaper& paper = paper_;
  const int rows = lists::FitCount(kA4Height - eventsTop_ - p.marginBottom, printRow_);
  const int columns = lists::FitColumns(printable, columnWidth, display_.printColumns);
  paper.layout = lists::ColumnPageLayout(rows, columns, lists::ColumnOrderOf(display_.printOrder));
  paper.left = left;
  paper.top = eventsTop_;
  paper.pitch = printRow_;
  paper.columnStep = columnWidth;
  return paper;
}

void LifePointListing::DrawEventRow(platform::Dc& dc, const LifePointEvent& e, int x, int y,
                                    int size, int unit, bool paper) const {
  platform::DcState keep(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.SetTextColor(ColorByIndex(TextColour(e, paper)));
  dc.SelectFont(TextFont(static_cast<int>(size * kTextScale)));
  dc.TextOut(x, y, e.when.ToText().substr(0, 10));
  const int a = x + (paper ? 6 : 7) * unit;
  dc.TextOut(a, y, AgeText(e.age));
  const int g = a + (paper ? 4 : 5) * unit;
  if (!e.IsIngress()) {
    if (system_ != nullptr && e.aspect >= 0 && e.aspect < system_->Count())
      system_->GetAspect(e.aspect).DrawGlyph(dc, g, y, size, e.phase == 'E' ? 2 : 0);
    else
      DrawAspectCode(dc, g, y, size, -1);
  }
  const int t = g + static_cast<int>(1.5 * unit);
  DrawGlyphText(dc, t, y, EventTargetGlyph(e.target), 'a', size, platform::BkMode::Transparent);
  if (!e.IsIngress())
    DrawGlyphText(dc, t + 2 * unit, y, PhaseGlyph(e.phase), 'b', size,
                  platform::BkMode::Transparent);
}

void LifePointListing::DrawColumnNames(platform::Dc& dc, int x, int y, int size, int unit,
                                       bool paper) const {
  platform::DcState keep(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.SetTextColor(ColorByIndex(kPlainColour));
  dc.SelectFont(TextFont(static_cast<int>(size * kTextScale)));
  // Over the columns of DrawEventRow: the date, the age, the aspect with its target and phase.
  const int a = x + (paper ? 6 : 7) * unit;
  const int g = a + (paper ? 4 : 5) * unit;
  dc.TextOut(x, y, GetMessageText(kMsgDayColumn));
  dc.TextOut(a, y, GetMessageText(kMsgAgeColumn));
  dc.TextOut(g, y, GetMessageText(kMsgLunarAspectColumn));
}

void LifePointListing::DrawCurrentRow(platform::Dc& dc, int x, int y, int size, int unit,
                                      bool paper) const {
  platform::DcState keep(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.SelectFont(TextFont(static_cast<int>(size * kTextScale)));
  int d = x;
  if (paper) {
    const std::string& word = GetMessageText(kMsgCurrentPosition);
    dc.TextOut(x, y, word);
    d += dc.GetTextExtent(word).cx;
  }
  const int colour = paper ? kPlainColour : kCurrentRowColour;
  dc.SetTextColor(ColorByIndex(colour));
  const Moment& now = chart_.definition.sources[1].moment;
  dc.TextOut(d, y, now.ToText().substr(0, 10));
  dc.TextOut(d + 7 * unit, y, AgeText(now.YearsSince(birth_)));
  DrawLongitudeGlyph(dc, size, currentLongitude_, d + 12 * unit, y, kSignLayout, colour);
}

void LifePointListing::DrawHead(platform::Dc& dc) {
  if (ShowsCurrentRow())
    DrawCurrentRow(dc, kScreenLeft, -kScreenTop, display_.screenFontSize, screenUnit_, false);
  DrawColumnNames(dc, kScreenLeft, -(kScreenTop + (ShowsCurrentRow() ? screenRow_ : 0)),
                  display_.screenFontSize, screenUnit_, false);
}

void LifePointListing::DrawLine(platform::Dc& dc, int line, platform::Point at, bool selected) {
  if (line < 0 || line >= Count()) return;
  if (selected) FillSelectedLine(dc, 0, at.y, screenRow_);
  DrawEventRow(dc, events_[static_cast<std::size_t>(line)], at.x, at.y, display_.screenFontSize,
               screenUnit_, false);
}

void LifePointListing::DrawPrintedLine(platform::Dc& dc, int line, platform::Point at) {
  if (line < 0 || line >= Count()) return;
  DrawEventRow(dc, events_[static_cast<std::size_t>(line)], at.x, at.y, printSize_, printUnit_,
               true);
}

void LifePointListing::DrawPageHead(platform::Dc& dc, int page, int, int) {
  DrawPrintedPageHead(dc, chart_, config_, lists::PageTitle(type_.name, page));
  const int left = kPrintLeft + config_.print.marginLeft;
  if (ShowsCurrentRow())
    DrawCurrentRow(dc, left, -(eventsTop_ - 2 * printRow_), printSize_, printUnit_, true);
  // Every column of events the page fills has the names over its first row.
  const int columns = paper_.layout.ColumnsUsedOnPage(page, Count());
  for (int c = 0; c < std::max(1, columns); ++c)
    DrawColumnNames(dc, left + static_cast<int>(c * paper_.columnStep), -(eventsTop_ - printRow_),
                    printSize_, printUnit_, true);
}

}  // namespace forecast
