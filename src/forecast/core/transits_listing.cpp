#include "forecast/core/transits_listing.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "astro/chart/chart.h"
#include "astro/chart/chart_header.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/longitude_drawing.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace forecast {

namespace {

constexpr double kLargeFontScale = 1.45;
constexpr double kLargeFontPrintFactor = 0.78;
constexpr double kFrameWidthInChars = 37.5;
constexpr int kScreenLeft = 50;
constexpr int kScreenHeadingTop = 100;
constexpr int kPrintedHeadingLeft = 300;  // right of the left margin
constexpr int kPrintedHeadingTop = 2000;  // below the top margin
constexpr int kPrintableHeight = 27700;   // the page less the room of the page head
constexpr int kSignLayout = 0;            // degrees, sign glyph, minutes

// Draws one glyph of face a and returns its width.
int Glyph(platform::Dc& dc, int x, int y, char glyph, int size) {
  return DrawGlyphText(dc, x, y, glyph, 'a', size, platform::BkMode::Transparent).cx;
}

int Text(platform::Dc& dc, int x, int y, const std::string& text) {
  dc.TextOut(x, y, text);
  return dc.GetTextExtent(text).cx;
}

// A glyph with a small "R" after its top when the motion is retrograde.
int GlyphWithMotion(platform::Dc& dc, int x, int y, char glyph, char motion, int size) {
  int width = Glyph(dc, x, y, glyph, size);
  if (motion == 'R') {
    const platform::Font old = dc.SelectFont(TextFont(size / 2));
    width += Text(dc, x + width, y, "R");
    dc.SelectFont(old);
  }
  return width;
}

}  // namespace

char TransitObjectGlyph(int code) {
  if (code >= 0 && code < glyphs::kPointCount) return glyphs::Point(code);
  const int cusp = code - glyphs::kPointCount;
  if (cusp >= 0 && cusp < glyphs::kCuspCount) return glyphs::Cusp(cusp);
  return '?';
}

TransitHeading HeadingOf(const TransitCalculation& calc) {
  return {calc.TransitingBodies(), calc.Targets(), calc.PeriodStart(), calc.PeriodEnd(),
          calc.ShowTimeOfDay()};
}

TransitsListing::TransitsListing(const std::vector<TransitEventRecord>& events,
                                 TransitHeading heading, const ListDisplaySettings& display,
                                 const Configuration& config, const Chart& chart)
    : events_(events),
      heading_(std::move(heading)),
      display_(display.Clamped()),
      config_(config),
      chart_(chart),
      headingTop_(config.print.marginTop + kPrintedHeadingTop) {}

double TransitsListing::FontScale() const { return config_.largeFont != 0 ? kLargeFontScale : 1.0; }

int TransitsListing::ScreenFontSize() const {
  return static_cast<int>(std::lround(display_.screenFontSize * FontScale()));
}

int TransitsListing::PrintFontSize() const {
  const double factor = config_.largeFont != 0 ? kLargeFontPrintFactor : 1.0;
  return std::max(1, static_cast<int>(std::lround(display_.printFontSize * FontScale() * factor)));
}

int TransitsListing::FrameWidth(platform::Dc& dc) const {
  const platform::Font old = dc.SelectFont(TextFont(ScreenFontSize()));
  int width = static_cast<int>(kFrameWidthInChars * dc.GetTextMetrics().averageCharWidth);
  dc.SelectFont(old);
  // Never narrower than the widest event line (measured by drawing it on `dc`).
  for (const TransitEventRecord& e : events_)
    width = std::max(width, DrawEvent(dc, e, kScreenLeft, 0, ScreenFontSize()) + kScreenLeft);
  return width;
}

int TransitsListing::LinesPerPage(int topMargin, int bottomMargin, double lineHeight) {
  return std::max(1, lists::FitCount(kPrintableHeight - topMargin - bottomMargin, lineHeight) - 1);
}

ListingScreen TransitsListing::MeasureScreen(platform::Dc& dc) {
  const platform::Font old = dc.SelectFont(TextFont(ScreenFontSize()));
  screenPitch_ = std::max(1.0, dc.GetTextMetrics().height * display_.screenLineSpacing);
  dc.SelectFont(old);
  // The heading, the column names a line lower, the events a line lower again.
  return {kScreenLeft, kScreenHeadingTop + 2 * static_cast<int>(screenPitch_), screenPitch_};
}

ListingPaper TransitsListing::MeasurePrint(platform::Dc& dc) {
  const platform::Font old = dc.SelectFont(TextFont(PrintFontSize()));
  const double pitch = std::max(1.0, dc.GetTextMetrics().height * display_.printLineSpacing);
  dc.SelectFont(old);
  const cfg::PrintSettings& p = config_.print;
  headingTop_ = PrintedHeadingTop(
      dc, chart_, config_, lists::WidestPageTitle(GetMessageText(kMsgPlanetTransitsTitle), Count()),
      kPrintedHeadingTop);
  // The page head reaching lower takes its lines from the page.
  const int headDrop = headingTop_ - p.marginTop - kPrintedHeadingTop;
  ListingPaper paper;
  // The column names take the first line under the heading.
  paper.layout = lists::ColumnPageLayout(
      std::max(1, LinesPerPage(p.marginTop + headDrop, p.marginBottom, pitch) - 1), 1,
      lists::ColumnOrder::kDown);
  paper.left = p.marginLeft + kPrintedHeadingLeft;
  paper.top = headingTop_ + 2 * static_cast<int>(pitch);
  paper.pitch = pitch;
  return paper;
}

void TransitsListing::DrawHeading(platform::Dc& dc, int x, int y, int size) const {
  platform::DcState keep(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.SelectFont(TextFont(size));
  const int gap = dc.GetTextExtent(" ").cx;
  x += Text(dc, x, y, GetMessageText(kMsgTransitWord)) + gap;
  for (int body : heading_.bodies) x += Glyph(dc, x, y, TransitObjectGlyph(body), size);
  x += gap;
  x += Text(dc, x, y, GetMessageText(kMsgToWord)) + gap;
  for (int target : heading_.targets) x += Glyph(dc, x, y, TransitObjectGlyph(target), size);
  x += 2 * gap;
  const std::string period = GetMessageText(kMsgPeriodWord) + " " + heading_.start.date.ToText() +
                             " - " + heading_.end.date.ToText();
  Text(dc, x, y, period);
}

TransitsListing::Columns TransitsListing::ColumnsFor(platform::Dc& dc, int size) const {
  const platform::DcState keep(dc);
  dc.SelectFont(TextFont(size));
  const int w = dc.GetTextMetrics().averageCharWidth;
  const int em =
      static_cast<int>(platform::Font{std::string(platform::kGlyphFaceA), size}.EmHeight());
  // Each column as wide as the widest it holds, its name included: a date, a time, two glyphs
  // with their "R", an aspect written as an angle with the orb's "+" and the event's glyph.
  const auto wide = [&dc, w](int content, int name) {
    return std::max(content, dc.GetTextExtent(GetMessageText(name)).cx + w);
  };
  const int glyphWithR = em + em / 2;
  Columns c;
  c.time = wide(dc.GetTextExtent("00:00:0000").cx + w, kMsgDayColumn);
  c.planets =
      c.time +
      (heading_.showTimeOfDay ? wide(dc.GetTextExtent("00:00").cx + 4 * w, kMsgTimeColumn) : 0);
  c.aspect = c.planets + wide(2 * (glyphWithR + w / 2), kMsgPlanetsColumn);
  c.positions = c.aspect + wide(std::max(em, dc.GetTextExtent("000\xB0"
                                                              "00'")
                                                 .cx) +
                                    2 * em + w,
                                kMsgLunarAspectColumn);
  return c;
}

void TransitsListing::DrawColumnNames(platform::Dc& dc, int x, int y, int size) const {
  const Columns c = ColumnsFor(dc, size);
  platform::DcState keep(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.SelectFont(TextFont(size));
  dc.TextOut(x, y, GetMessageText(kMsgDayColumn));
  if (heading_.showTimeOfDay) dc.TextOut(x + c.time, y, GetMessageText(kMsgTimeColumn));
  dc.TextOut(x + c.planets, y, GetMessageText(kMsgPlanetsColumn));
  dc.TextOut(x + c.aspect, y, GetMessageText(kMsgLunarAspectColumn));
  dc.TextOut(x + c.positions, y, GetMessageText(kMsgPositionsColumn));
}

int TransitsListing::DrawEvent(platform::Dc& dc, const TransitEventRecord& e, int x, int y,
                               int size) const {
  const Columns c = ColumnsFor(dc, size);
  platform::DcState keep(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.SelectFont(TextFont(size));
  const int w = dc.GetTextMetrics().averageCharWidth;
  const int left = x;
  Text(dc, x, y, e.moment.ToText().substr(0, 10));
  if (heading_.showTimeOfDay) Text(dc, left + c.time, y, e.moment.time.ToText());
  const char transiting = TransitObjectGlyph(e.transiting);
  const char target = TransitObjectGlyph(e.target);
  x = left + c.planets;
  x += GlyphWithMotion(dc, x, y, transiting, e.transitingMotion, size) + w / 2;
  GlyphWithMotion(dc, x, y, target, e.targetMotion, size);
  x = left + c.aspect;
  x += DrawAspectCode(dc, x, y, size, e.code) + w / 2;
  if (e.orbKind == 'E')
    x += DrawGlyphText(dc, x, y, '+', 'b', size, platform::BkMode::Transparent).cx;
  DrawGlyphText(dc, x, y, PhaseGlyph(e.event), 'b', size, platform::BkMode::Transparent);
  x = left + c.positions;
  // An exact conjunction puts both bodies on one longitude.
  if (e.event == 'E' && e.code == 0) {
    x += Glyph(dc, x, y, transiting, size);
    x += Glyph(dc, x, y, target, size) + w / 2;
    return x + DrawLongitudeGlyph(dc, size, e.transitingLongitude, x, y, kSignLayout);
  }
  x += Glyph(dc, x, y, transiting, size) + w / 2;
  x += DrawLongitudeGlyph(dc, size, e.transitingLongitude, x, y, kSignLayout) + w;
  x += Glyph(dc, x, y, target, size) + w / 2;
  return x + DrawLongitudeGlyph(dc, size, e.targetLongitude, x, y, kSignLayout);
}

void TransitsListing::DrawHead(platform::Dc& dc) {
  DrawHeading(dc, kScreenLeft, -kScreenHeadingTop, ScreenFontSize());
  DrawColumnNames(dc, kScreenLeft, -(kScreenHeadingTop + static_cast<int>(screenPitch_)),
                  ScreenFontSize());
}

void TransitsListing::DrawLine(platform::Dc& dc, int line, platform::Point at, bool selected) {
  if (line < 0 || line >= Count()) return;
  if (selected) FillSelectedLine(dc, 0, at.y, screenPitch_);
  DrawEvent(dc, events_[static_cast<std::size_t>(line)], at.x, at.y, ScreenFontSize());
}

void TransitsListing::DrawPrintedLine(platform::Dc& dc, int line, platform::Point at) {
  if (line < 0 || line >= Count()) return;
  DrawEvent(dc, events_[static_cast<std::size_t>(line)], at.x, at.y, PrintFontSize());
}

void TransitsListing::DrawPageHead(platform::Dc& dc, int page, int, int) {
  DrawPrintedPageHead(dc, chart_, config_,
                      lists::PageTitle(GetMessageText(kMsgPlanetTransitsTitle), page));
  const cfg::PrintSettings& p = config_.print;
  DrawHeading(dc, p.marginLeft + kPrintedHeadingLeft, -headingTop_, PrintFontSize());
  const platform::Font old = dc.SelectFont(TextFont(PrintFontSize()));
  const int pitch =
      static_cast<int>(std::max(1.0, dc.GetTextMetrics().height * display_.printLineSpacing));
  dc.SelectFont(old);
  DrawColumnNames(dc, p.marginLeft + kPrintedHeadingLeft, -(headingTop_ + pitch), PrintFontSize());
}

}  // namespace forecast
