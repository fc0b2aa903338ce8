#include "astrocarto/core/ac_lines_list.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "astro/chart/chart.h"
#include "astro/chart/chart_header.h"
#include "astro/ephemeris/coordinates.h"
#include "foundation/atlas/towns.h"
#include "foundation/config/configuration.h"
#include "foundation/config/field_table.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/datetime/place.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/page_frame.h"
#include "foundation/drawing/palette.h"
#include "foundation/drawing/text_layout.h"
#include "foundation/lists/column_pages.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/numbers/angles.h"
#include "foundation/text/text_helpers.h"

namespace {

using L = cfg::ACLinesListSettings;

constexpr int kSelectedColour = 4;
constexpr int kRowColour = 0;
// The printed page: rows 20 mm below the top margin; the head's texts below the common head.
constexpr int kPrintLeft = 400, kPrintTop = 2000;
constexpr int kListTitleY = 1250, kCrossingY = 1650;
constexpr int kListTitleSize = 3000, kCrossingSize = 2400;

platform::Font TextFont(int size) { return platform::Font{std::string(platform::kTextFace), size}; }

using P = ACLinesListPage;
using cfg::Bind;

// Read into range (a body out of range, or an interval that is not a number, as its default);
// written as they stand.
constexpr cfg::FieldTable kFields{
    Bind(&P::body, L::kBody, cfg::InRange{0, P::kBodyCount - 1}),
    Bind(&P::screenFontSize, L::kScreenFontSize, cfg::Clamp{P::kMinFontSize, P::kMaxFontSize}),
    Bind(&P::printFontSize, L::kPrintFontSize, cfg::Clamp{P::kMinFontSize, P::kMaxFontSize}),
    Bind(&P::printInterval, L::kPrintInterval, cfg::Clamp{P::kMinInterval, P::kMaxInterval}),
    Bind(&P::screenInterval, L::kScreenInterval, cfg::Clamp{P::kMinInterval, P::kMaxInterval}),
    Bind(cfg::Element{&P::lines, P::kAsc}, L::kAscLine),
    Bind(cfg::Element{&P::lines, P::kIc}, L::kIcLine),
    Bind(cfg::Element{&P::lines, P::kDsc}, L::kDscLine),
    Bind(cfg::Element{&P::lines, P::kMc}, L::kMcLine),
    Bind(&P::orbAfter, L::kOrbAfter, cfg::Clamp{P::kMinOrb, P::kMaxOrb}),
    Bind(&P::orbBefore, L::kOrbBefore, cfg::Clamp{P::kMinOrb, P::kMaxOrb})};

// Degrees and minutes of a coordinate in arc-seconds, to the nearest minute, without sign.
void SplitArcSeconds(std::int32_t arcSeconds, int& degrees, int& minutes, bool& negative) {
  const long total = std::lround(std::abs(static_cast<double>(arcSeconds)) / 60.0);
  degrees = static_cast<int>(total / 60);
  minutes = static_cast<int>(total % 60);
  negative = arcSeconds < 0 && total > 0;
}

std::string BodyName(int body) { return GetMessageText(kMsgPointNameFirst + body); }

}  // namespace

int ACLinesListPage::LineCount() const {
  return static_cast<int>(std::count(lines.begin(), lines.end(), true));
}

int ACLinesListPage::Check() const { return LineCount() == 0 ? kMsgNoLine : 0; }

ACLinesListPage ReadACLinesListPage(const cfg::ByteBlock& block) {
  ACLinesListPage p;
  kFields.Read(block, p);
  return p;
}

void WriteACLinesListPage(const ACLinesListPage& p, cfg::ByteBlock& block) {
  kFields.Write(p, block);
}

int ScreenFontSizeInHiMetric(int screenSize) {
  // A point is 2540 / 72 units; the em of size s is s x 96 / 720 units.
  return static_cast<int>(std::lround(screenSize * 2540.0 / 96.0));
}

double SignedCuspDistance(double angle, double bodyLongitude) {
  const double ahead = std::fmod(std::fmod(angle - bodyLongitude, 360.0) + 360.0, 360.0);
  return ahead >= 180.0 ? ahead - 360.0 : ahead;
}

std::optional<int> ListedDistance(double d, int orbBefore, int orbAfter) {
  const bool listed = (d >= 0.0 && d < orbBefore / 60.0) || (d < 0.0 && -d < orbAfter / 60.0);
  if (!listed) return std::nullopt;
  return static_cast<int>(std::trunc(d * -60.0));
}

std::string CrossingCaption(const Crossing& c) {
  return BodyName(c.firstBody) + '-' + AngleLineName(c.firstAngle, false) + '/' +
         BodyName(c.secondBody) + '-' + AngleLineName(c.secondAngle, false);
}

std::string CrossingLatitudeText(std::int32_t arcSeconds) {
  int degrees = 0, minutes = 0;
  bool negative = false;
  SplitArcSeconds(arcSeconds, degrees, minutes, negative);
  return FormatLatLongByLetter(degrees, minutes, negative ? 'S' : 'N', 'T');
}

std::string CrossingLongitudeText(std::int32_t arcSeconds) {
  int degrees = 0, minutes = 0;
  bool negative = false;
  SplitArcSeconds(arcSeconds, degrees, minutes, negative);
  return FormatLatLongByLetter(degrees, minutes, negative ? 'W' : 'E', 'N');
}

void ACLinesList::Reset(Mode mode, std::size_t capacity) {
  mode_ = mode;
  capacity_ = capacity;
  entries_.clear();
  entries_.reserve(std::min<std::size_t>(capacity, 4096));
  dropped_ = false;
}

bool ACLinesList::AddEvent(const ACLinesEntry& entry) {
  if (entries_.size() >= capacity_) {
    dropped_ = true;
    return false;
  }
  entries_.push_back(entry);
  return true;
}

void ACLinesList::FillLines(const TOWNS& towns, const LineMoment& moment, int body,
                            double bodyLongitude, const ACLinesListPage& settings) {
  if (IsAbsent(bodyLongitude)) return;
  for (int town = 0; town < towns.Count(); ++town) {
    double latitude = 0.0, longitude = 0.0;
    if (!towns.GetTownDegrees(town, latitude, longitude)) continue;
    // ASC, IC, DSC, MC of the place, from RAMC = apparent sidereal time + east longitude.
    const std::array<double, 4> angles =
        AnglesFromRamc(moment.siderealDeg + longitude, latitude, moment.obliquityDeg);
    for (std::size_t line = 0; line < angles.size(); ++line) {
      if (!settings.lines[line]) continue;
      const std::optional<int> distance = ListedDistance(
          SignedCuspDistance(angles[line], bodyLongitude), settings.orbBefore, settings.orbAfter);
      if (!distance) continue;
      if (!AddEvent({town, static_cast<std::int16_t>(body), kAngleLineCodes[line], *distance}))
        return;
    }
  }
}

void ACLinesList::FillCrossing(const TOWNS& towns, const Crossing& crossing) {
  for (int town = 0; town < towns.Count(); ++town) {
    double latitude = 0.0, longitude = 0.0;
    if (!towns.GetTownDegrees(town, latitude, longitude)) continue;
    // The atlas holds whole arc-minutes: compared in arc-seconds the band's edges are exact.
    const long seconds = std::lround(latitude * 3600.0);
    if (seconds < crossing.lower || seconds > crossing.upper) continue;
    const double minutes = (seconds - crossing.latitude) / 60.0;
    if (!AddEvent({town, 0, '0', static_cast<std::int32_t>(std::trunc(minutes))})) return;
  }
}

TownRowMetrics ACLinesList::Measure(platform::Dc& dc, const TOWNS& towns, int fontSize) const {
  const platform::DcState saved(dc);
  dc.SelectFont(TextFont(fontSize));
  TownRowMetrics m;
  m.fontSize = fontSize;
  const platform::Size w = dc.GetTextExtent("W");
  m.charWidth = std::max(1, w.cx);
  m.charHeight = std::max(1, w.cy);
  // Each town once: a town of several lines has one text.
  std::int32_t last = -1;
  for (const ACLinesEntry& e : entries_) {
    if (e.town == last) continue;
    last = e.town;
    std::string text = towns.FormatTown(e.town);
    TrimRight(text);
    m.widest = std::max(m.widest, dc.GetTextExtent(text).cx);
  }
  return m;
}

void ACLinesList::DrawRow(platform::Dc& dc, const TOWNS& towns, int row, platform::Point at,
                          const TownRowMetrics& m, bool selected) const {
  if (row < 0 || row >= Count()) return;
  const ACLinesEntry& e = entries_[static_cast<std::size_t>(row)];
  const platform::DcState saved(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextColor(ColorByIndex(selected ? kSelectedColour : kRowColour));
  dc.SelectFont(TextFont(m.fontSize));
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  std::string text = towns.FormatTown(e.town);
  TrimRight(text);
  dc.TextOut(at.x, at.y, text);
  const int x = at.x + m.widest;
  const std::string distance = std::to_string(e.distance);
  if (mode_ == Mode::kCrossing) {
    dc.TextOut(x + 2 * m.charWidth, at.y, distance);
    return;
  }
  DrawGlyphText(dc, x, at.y, static_cast<char>('M' + e.body), 'a', m.fontSize,
                platform::BkMode::Transparent);
  dc.TextOut(x + m.charWidth, at.y, AngleLineName(e.line, false));
  dc.SetTextAlign(platform::TextAlign::kRight | platform::TextAlign::kTop);
  dc.TextOut(x + 6 * m.charWidth, at.y, distance);
}

void ACLinesList::DrawColumnHeads(platform::Dc& dc, platform::Point at,
                                  const TownRowMetrics& m) const {
  const platform::DcState saved(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextColor(ColorByIndex(kRowColour));
  dc.SelectFont(TextFont(m.fontSize));
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.TextOut(at.x, at.y, GetMessageText(kMsgTownColumn));
  const int x = at.x + m.widest;
  if (mode_ == Mode::kCrossing) {
    dc.TextOut(x + 2 * m.charWidth, at.y, GetMessageText(kMsgDistanceColumn));
    return;
  }
  dc.TextOut(x, at.y, GetMessageText(kMsgLineColumn));
  dc.SetTextAlign(platform::TextAlign::kRight | platform::TextAlign::kTop);
  dc.TextOut(x + 6 * m.charWidth, at.y, GetMessageText(kMsgDistanceColumn));
}

void ACLinesList::DrawEmpty(platform::Dc& dc, platform::Point at, int fontSize) {
  const platform::DcState saved(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextColor(ColorByIndex(kRowColour));
  dc.SelectFont(TextFont(fontSize));
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.TextOut(at.x, at.y, GetMessageText(kMsgNoTown));
}

TownListPrintFrame TownListPrintFrameOf(const Configuration& config, int headDrop) {
  const cfg::PrintSettings& p = config.print;
  TownListPrintFrame f;
  f.left = p.marginLeft + kPrintLeft;
  f.top = p.marginTop + kPrintTop + headDrop;
  f.width = std::max(1, kA4Width - p.marginLeft - p.marginRight);
  f.height = std::max(1, kA4Height - f.top - p.marginBottom);
  return f;
}

int TownListHeadDrop(platform::Dc& dc, const Configuration& config, const Chart& chart) {
  const int usual = -kListTitleY - config.print.marginTop;
  const std::string title = GetMessageText(kMsgAstrocartographyTitle);
  return usual - PageContentTop(PlacePrintedPageTitle(dc, chart, config, title), usual);
}

void DrawTownListPageHead(platform::Dc& dc, const Configuration& config, const Chart& chart,
                          const std::optional<Crossing>& crossing, int page) {
  const platform::DcState saved(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextColor(platform::kBlack);
  dc.SelectPen(platform::Pen{platform::PenStyle::Solid, 1, platform::kBlack});
  DrawPrintedPageHead(dc, chart, config, GetMessageText(kMsgAstrocartographyTitle));
  const cfg::PrintSettings& p = config.print;
  const int drop = TownListHeadDrop(dc, config, chart);
  const int middle = (p.marginLeft + (kA4Width - p.marginRight)) / 2;
  dc.SetTextAlign(platform::TextAlign::kCenter | platform::TextAlign::kTop);
  dc.SelectFont(TextFont(kListTitleSize));
  dc.TextOut(middle, -kListTitleY - p.marginTop - drop,
             lists::PageTitle(GetMessageText(kMsgListTitle), page));
  if (crossing) {
    dc.SelectFont(TextFont(kCrossingSize));
    dc.TextOut(middle, -kCrossingY - p.marginTop - drop,
               CrossingCaption(*crossing) + "  " + CrossingLatitudeText(crossing->latitude) + "  " +
                   CrossingLongitudeText(crossing->longitude));
  }
}
