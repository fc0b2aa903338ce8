#include "views/core/chart_info_panel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "astro/chart/chart.h"
#include "astro/chart/chart_context.h"
#include "astro/chart/chart_definition.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/font_fitting.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/page_frame.h"
#include "foundation/drawing/palette.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace {

using platform::Dc;
using platform::Font;
namespace align = platform::TextAlign;

constexpr int kFirstSize = 10000;
constexpr int kWhitePalette = 15;
constexpr char kNoEvent[] = "-----";

using platform::DcState;

Font TextFont(int size) { return {std::string(platform::kTextFace), std::max(1, size)}; }
Font GlyphFont(int size) { return {std::string(platform::kGlyphFaceA), std::max(1, size)}; }

int Scaled(double value) { return static_cast<int>(std::lround(value)); }

std::string DateText(const FDate& date) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%04d", date.Day() % 100, date.Month() % 100,
                date.Year() % 10000);
  return text;
}

// A size found by a fitting search, or the smallest size when none fits.
int UsableSize(int size) { return size > 0 ? size : 100; }

}  // namespace

bool ChartInfoPanel::SetChart(const Chart* newChart) {
  chart = newChart;
  sunOfChartDay_.reset();
  polar = 0;
  if (chart != nullptr) {
    const Place& place = ComputingSource(chart->definition).place;
    const double latitude = place.LatitudeDegrees() + place.LatitudeMinutes() / 60.0;
    polar = latitude > kPanelPolarLatitude ? 1 : 0;
  }
  return polar != 0;
}

void ChartInfoPanel::Compute(const ChartContext& ctx) {
  ComputeElementCross();
  ComputeRiseSetTexts(ctx);
  ComputePlanetaryHours(ctx);
  ComputeDayValues(ctx);
}

void ChartInfoPanel::ComputeElementCross() {
  for (int k = 0; k < kBodies; ++k) {
    bySign[static_cast<std::size_t>(k)] = chart != nullptr ? chart->GetElementCross(k, false) : -1;
    byHouse[static_cast<std::size_t>(k)] = chart != nullptr ? chart->GetElementCross(k, true) : -1;
  }
}

const hours::SunOfDate& ChartInfoPanel::SunOfChartDay(const ChartContext& ctx) {
  if (!sunOfChartDay_) sunOfChartDay_ = hours::FindSunOfDate(ctx, *chart);
  return *sunOfChartDay_;
}

void ChartInfoPanel::ComputeRiseSetTexts(const ChartContext& ctx) {
  if (chart == nullptr || polar != 0) return;
  const auto text = [](const std::optional<Moment>& m) {
    return m ? hours::MinuteText(m->JulianDay()) : std::string(kNoEvent);
  };
  for (int k = 0; k < kBodies; ++k) {
    hours::SunOfDate events;
    if (k == 0) {
      events = SunOfChartDay(ctx);  // the hours tables use the same two
    } else {
      Moment m;
      if (chart->FindRiseSetOnDate(ctx, 0, k, m)) events.rise = m;
      if (chart->FindRiseSetOnDate(ctx, 1, k, m)) events.set = m;
    }
    riseSet[static_cast<std::size_t>(k)] = text(events.rise) + ' ' + text(events.set);
  }
}

void ChartInfoPanel::ComputePlanetaryHours(const ChartContext& ctx) {
  if (chart == nullptr || polar != 0) return;
  current = {};
  // The day before: its night holds a moment before the chart day's sunrise.
  Chart before = *chart;
  Source& source = const_cast<Source&>(ComputingSource(before.definition));
  Moment moved = source.moment;
  moved.AddDays(-1.0);
  source.AssignMoment(moved);
  dates[0] = DateText(moved.date);
  dates[1] = DateText(ComputingSource(chart->definition).moment.date);
  // The day before's cycle ends at the chart day's sunrise, which the chart day's cycle begins
  // with: each of the Sun's events is searched once.
  const hours::SunOfDate& chartSun = SunOfChartDay(ctx);
  const std::optional<hours::SunRiseSet> first =
      hours::FindSunRiseSet(ctx, before, hours::FindSunOfDate(ctx, before), chartSun.rise);
  status = first ? 1 : 0;
  if (status == 0) return;
  const std::optional<hours::SunRiseSet> second =
      hours::FindSunRiseSet(ctx, *chart, chartSun, std::nullopt);
  status = second ? 1 : 0;
  if (status == 0) return;
  hours::FillHoursTable(*first, dayBefore);
  hours::FillHoursTable(*second, chartDay);
  // The chart's own moment is looked for in both days' cycles.
  const double moment = hours::ChartLocalJulianDay(*chart);
  if (const int hour = hours::FindCurrentHour(moment, *first); hour >= 0) {
    current = {0, hour};
  } else if (const int later = hours::FindCurrentHour(moment, *second); later >= 0) {
    current = {1, later};
  }
}

void ChartInfoPanel::ComputeDayValues(const ChartContext& ctx) {
  if (chart == nullptr) return;
  lunarDay = polar != 0 ? -1 : chart->GetLunarDay(ctx);
  karmic = chart->GetKarmicCoefficient(ctx);
  weekday = ComputingSource(chart->definition).moment.date.DayOfWeek();
}

int ChartInfoPanel::Problem() const {
  if (chart == nullptr) return 0;
  if (polar != 0) return kMsgPolar;
  return status == 0 ? kMsgNoHours : 0;
}

std::string ChartInfoPanel::LunarDayText() const {
  if (lunarDay < 0) return "-";
  char text[16];
  std::snprintf(text, sizeof text, "%d", lunarDay);
  return text;
}

namespace {
constexpr int kInsideFrame = 200;  // the hours' frames from the page frame's left edge
constexpr int kUpperTop = -3100;   // the hours and the element cross on a page of their own
constexpr int kDatesDrop = 80;     // the dates' bottom over the hours' y

// The hours' text size: "12:34:5678" fits a tenth of the panel's width.
int HoursSize(Dc& dc, int width) {
  return UsableSize(FitFontWidth(dc, platform::kTextFace, kFirstSize, width / 10, "12:34:5678"));
}
}  // namespace

int ChartInfoPanel::DrawPage(Dc& dc, const ChartContext& ctx, const Configuration& config,
                             const Chart& pageChart, int layout, const PageHeadBlocks& head) {
  SetChart(&pageChart);
  dc.SetMapMode(platform::MapMode::HiMetric);
  const platform::BkMode oldMode = dc.SetBkMode(platform::BkMode::Transparent);
  Compute(ctx);
  width = std::max(1, 19000 - config.print.marginLeft - config.print.marginRight);
  const bool upper = layout == kPanelLayoutUpper;
  int drop = 0;
  if (upper) {
    // The panel's own page: its title is the page's, beside the identification blocks or under
    // them, and the blocks of the panel (the hours' dates the highest) under the title.
    const std::string title = GetMessageText(kMsgHoursTitle);
    const PageTitlePlace place = PlacePageTitle(dc, config.print, title, head);
    DrawPlacedTitle(dc, place, title);
    const int top = kUpperTop + HoursDatesRise(dc);
    drop = top - PageContentTop(place, top);
  }
  // The blocks keep their places among themselves; a left margin wider than the hours' frames
  // leave moves them all right, so that the frames stay inside the page frame.
  const int shift = std::max(0, config.print.marginLeft + kInsideFrame - (1000 - 150));
  DrawHoursTable(dc, 1000 + shift, (upper ? kUpperTop : -16100) - drop, 1.8, !upper);
  DrawRiseSetTable(dc, 12300 + shift, (upper ? -10000 : -23000) - drop);
  const int size = DrawLunarDay(dc, 16000 + shift, (upper ? -11500 : -24500) - drop);
  DrawKarmicCoefficient(dc, 16000 + shift, (upper ? -10200 : -23200) - drop, size);
  DrawElementCross(dc, 12200 + shift, (upper ? kUpperTop : -16100) - drop);
  dc.SetBkMode(oldMode);
  return drop;
}

void ChartInfoPanel::DrawHoursTable(Dc& dc, int x, int y, double scale, bool withTitle) const {
  if (polar != 0 || status == 0 || width <= 0) return;
  DcState saved(dc);
  const double k = scale;
  const bool printing = dc.IsPrinting();
  dc.SelectPen({platform::PenStyle::Solid, 0, platform::kBlack});
  dc.SelectBrush({false, printing ? ColorByIndex(kWhitePalette) : windowColour});
  const int corner = Scaled(200 * k);
  dc.RoundRect({x - 150, y + 50, x + Scaled(2900 * k) - 150, y - Scaled(6000 * k)}, corner, corner);
  dc.RoundRect({x + Scaled(2900 * k), y + 50, x + Scaled(5800 * k), y - Scaled(6000 * k)}, corner,
               corner);

  const int size = HoursSize(dc, width);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextColor(platform::kBlack);
  if (withTitle) {
    dc.SelectFont(TextFont(size));
    dc.SetTextAlign(align::kCenter | align::kTop);
    dc.TextOut(x + Scaled(2900 * k), y + Scaled(1000 * k) - (printing ? 300 : 0),
               GetMessageText(kMsgHoursTitle));
  }
  // The dates just over their frames, a little smaller than the hours.
  dc.SelectFont(TextFont(size * 4 / 5));
  dc.SetTextAlign(align::kCenter | align::kBottom);
  dc.TextOut(x + Scaled(1450 * k) - 150, y + kDatesDrop, dates[0]);
  dc.TextOut(x + Scaled(4350 * k), y + kDatesDrop, dates[1]);

  dc.SetTextAlign(align::kLeft | align::kTop);
  const int glyphWidth = FontCharWidth(dc, platform::kGlyphFaceA, size, 'M');
  const int cell = current.Cell();
  for (int i = 0; i < 2 * hours::kHoursPerDay; ++i) {
    const hours::HoursTable& table = i < hours::kHoursPerDay ? dayBefore : chartDay;
    const hours::HourEntry& entry = table[static_cast<std::size_t>(i % hours::kHoursPerDay)];
    const int cx = x + Scaled((i / 12) * 1450 * scale);
    const int cy = y - Scaled((i % 12) * 500 * scale);
    dc.SetTextColor(i == cell ? ColorByIndex(kCurrentColour) : platform::kBlack);
    dc.SelectFont(GlyphFont(size));
    dc.TextOut(cx, cy, std::string(1, glyphs::Point(entry.ruler)));
    dc.SelectFont(TextFont(size));
    dc.TextOut(cx + glyphWidth + glyphWidth / 3, cy, entry.begin);
  }
}

int ChartInfoPanel::HoursDatesRise(Dc& dc) const {
  const int size = HoursSize(dc, width);
  const platform::Font old = dc.SelectFont(TextFont(size * 4 / 5));
  const int height = dc.GetTextMetrics().height;
  dc.SelectFont(old);
  return kDatesDrop + height;
}

void ChartInfoPanel::DrawRiseSetTable(Dc& dc, int x, int y) const {
  if (polar != 0 || chart == nullptr || width <= 0) return;
  DcState saved(dc);
  const int w = width / 5;
  const int size = UsableSize(FitFontWidth(dc, platform::kTextFace, kFirstSize, w / 11, "W"));
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextColor(platform::kBlack);
  dc.SetTextAlign(align::kLeft | align::kTop);
  dc.SelectFont(TextFont(size));
  const int height = dc.GetTextMetrics().height;
  const int glyphWidth = FontCharWidth(dc, platform::kGlyphFaceA, size, 'M');
  const int riseX = x + glyphWidth + glyphWidth / 2;
  const std::string rising = GetMessageText(kMsgRising), setting = GetMessageText(kMsgSetting);
  const int column = std::max(TextWidthInFont(dc, platform::kTextFace, size, "00:00"),
                              TextWidthInFont(dc, platform::kTextFace, size, rising));
  const int setX = riseX + column + TextWidthInFont(dc, platform::kTextFace, size, "  ");
  dc.TextOut(riseX, y, rising);
  dc.TextOut(setX, y, setting);
  for (int k = 0; k < kBodies; ++k) {
    const int rowY = y - Scaled(1.1 * height * (k + 1));
    const std::string& text = riseSet[static_cast<std::size_t>(k)];
    const std::size_t blank = text.find(' ');
    dc.SelectFont(GlyphFont(size));
    dc.TextOut(x, rowY, std::string(1, glyphs::Point(k)));
    dc.SelectFont(TextFont(size));
    dc.TextOut(riseX, rowY, text.substr(0, blank));
    if (blank != std::string::npos) dc.TextOut(setX, rowY, text.substr(blank + 1));
  }
}

int ChartInfoPanel::DrawLunarDay(Dc& dc, int x, int y) const {
  const std::string title = GetMessageText(kMsgLunarDay);
  const int size =
      UsableSize(FitFontWidth(dc, platform::kTextFace, kFirstSize, width * 9 / 100, title));
  if (polar != 0 || chart == nullptr) return size;
  DcState saved(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextColor(platform::kBlack);
  dc.SetTextAlign(align::kLeft | align::kTop);
  dc.SelectFont(TextFont(size));
  const int height = dc.GetTextMetrics().height;
  dc.TextOut(x, y, title);
  const int numberX = x + TextWidthInFont(dc, platform::kTextFace, size, title + ' ');
  dc.SelectFont(lunarDay < 0 ? TextFont(size) : GlyphFont(size));
  dc.TextOut(numberX, y, LunarDayText());
  dc.SelectFont(TextFont(size));
  dc.TextOut(x, y - height, GetMessageText(kMsgWeekday));
  dc.TextOut(x, y - 2 * height, GetMessageText(kMsgFirstWeekdayName + std::clamp(weekday, 0, 6)));
  return size;
}

void ChartInfoPanel::DrawKarmicCoefficient(Dc& dc, int x, int y, int textSize) const {
  if (chart == nullptr) return;
  DcState saved(dc);
  const int size = UsableSize(textSize);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextColor(platform::kBlack);
  dc.SetTextAlign(align::kLeft | align::kTop);
  dc.SelectFont(TextFont(size));
  const int height = dc.GetTextMetrics().height;
  const std::string second = GetMessageText(kMsgKarmic);
  dc.TextOut(x, y, GetMessageText(kMsgCoefficient));
  dc.TextOut(x, y - height, second);
  char value[16];
  std::snprintf(value, sizeof value, "%d", karmic);
  dc.SelectFont(GlyphFont(size));
  dc.TextOut(x + TextWidthInFont(dc, platform::kTextFace, size, second + ' '), y - height, value);
}

void ChartInfoPanel::DrawElementCross(Dc& dc, int x, int y) const {
  if (chart == nullptr || width <= 0) return;
  DcState saved(dc);
  const double u = width / 5.0;
  const int columnWidth = std::max(1, Scaled(0.302 * u));
  const int rowHeight = std::max(1, Scaled(0.453 * u));
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextColor(platform::kBlack);
  dc.SelectPen({platform::PenStyle::Solid, 0, platform::kBlack});

  // Labels: the cross names fitted to a column, the element names written downwards.
  const int labelSize =
      UsableSize(FitFontWidth(dc, platform::kTextFace, kFirstSize, columnWidth * 9 / 10,
                              GetMessageText(kMsgFirstCross + 2)));
  const int elementSize =
      UsableSize(FitFontHeight(dc, platform::kTextFace, kFirstSize, std::max(1, rowHeight / 5)));
  dc.SelectFont(TextFont(labelSize));
  const int labelHeight = dc.GetTextMetrics().height;
  const int elementColumn = FontCharWidth(dc, platform::kTextFace, elementSize, 'W') * 6 / 5;
  const int gridTop = y - 2 * labelHeight;

  // The glyph size: the fullest cell decides how many lines the glyphs take.
  std::array<int, 12> fullest{};
  int most = 0;
  for (const auto* indexes : {&bySign, &byHouse}) {
    fullest.fill(0);
    for (int index : *indexes)
      if (index >= 0 && index < 12)
        most = std::max(most, ++fullest[static_cast<std::size_t>(index)]);
  }
  const double heightShare = most > 6 ? 0.25 : 0.37;
  // A cell holds two glyphs a line, the second 0.3846 column widths right of the first, as many
  // lines as its fullest cell needs, the first half a margin below the cell's top: the glyphs
  // themselves (not the face's sample) are fitted so that each stays clear of the next and of the
  // cell's borders.
  const int margin = Scaled(0.0302 * u);
  const int secondGlyph = Scaled(0.3846 * columnWidth);
  const int lines = std::max(1, (most + 1) / 2);
  const int boxWidth = std::min(secondGlyph, columnWidth - 2 * margin - secondGlyph);
  const int boxHeight = std::min(Scaled(heightShare * rowHeight), (rowHeight - margin) / lines + 1);
  int glyphSize = UsableSize(FitFontSizeToBox(dc, platform::kGlyphFaceA, kFirstSize, boxHeight,
                                              Scaled(0.52 * columnWidth), false));
  const auto widestGlyph = [&dc](int size) {
    int widest = 0;
    for (int k = 0; k < kBodies; ++k)
      widest = std::max(widest, FontCharWidth(dc, platform::kGlyphFaceA, size, glyphs::Point(k)));
    return widest;
  };
  while (glyphSize > 10 && widestGlyph(glyphSize) >= boxWidth) glyphSize -= 10;
  const int glyphHeight = FontCharHeight(dc, platform::kGlyphFaceA, glyphSize, 'M');

  for (int grid = 0; grid < 2; ++grid) {
    const int left =
        x + elementColumn + grid * (3 * columnWidth + elementColumn + Scaled(0.06 * u));
    const std::array<int, kBodies>& indexes = grid == 0 ? bySign : byHouse;
    dc.SelectFont(TextFont(labelSize));
    dc.SetTextAlign(align::kCenter | align::kTop);
    dc.TextOut(left + 3 * columnWidth / 2, y, GetMessageText(grid == 0 ? kMsgBySign : kMsgByHouse));
    for (int c = 0; c < 3; ++c)
      dc.TextOut(left + c * columnWidth + columnWidth / 2, y - labelHeight,
                 GetMessageText(kMsgFirstCross + c));
    for (int r = 0; r < 5; ++r)
      dc.Line({left, gridTop - r * rowHeight}, {left + 3 * columnWidth, gridTop - r * rowHeight});
    for (int c = 0; c < 4; ++c)
      dc.Line({left + c * columnWidth, gridTop}, {left + c * columnWidth, gridTop - 4 * rowHeight});
    dc.SetTextAlign(align::kCenter | align::kTop);
    for (int r = 0; r < 4; ++r)
      DrawTextVertical(dc, TextFont(elementSize), left - elementColumn / 2,
                       gridTop - r * rowHeight - rowHeight / 8,
                       GetMessageText(kMsgFirstElement + r), 0.7);

    dc.SelectFont(GlyphFont(glyphSize));
    dc.SetTextAlign(align::kLeft | align::kTop);
    std::array<int, 12> placed{};
    for (int k = 0; k < kBodies; ++k) {
      const int index = indexes[static_cast<std::size_t>(k)];
      if (index < 0 || index >= 12) continue;
      const int n = placed[static_cast<std::size_t>(index)]++;
      const int cellLeft = left + (index % 3) * columnWidth;
      const int cellTop = gridTop - (index / 3) * rowHeight;
      const int gx = cellLeft + margin + (n % 2 == 1 ? secondGlyph : 0);
      const int gy = cellTop - margin / 2 - (n / 2) * glyphHeight;
      dc.TextOut(gx, gy, std::string(1, glyphs::Point(k)));
    }
  }
}
