// Planetary hours and the chart information panel: the Chaldean rulers, sunrise and sunset against
// the reference table, the hour of a moment, the current hour of the two tables, the polar
// threshold, missing risings, and the drawing of the hours table.
#include "views/core/planetary_hours.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "astro/chart/chart.h"
#include "astro/chart/chart_context.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/palette.h"
#include "foundation/messages/message_numbers.h"
#include "platform/core/recording_dc.h"
#include "support/riseset_reference.h"
#include "views/core/chart_info_panel.h"

namespace {

using hours::GetHourRuler;

constexpr int kSun = 0, kMoon = 1, kMercury = 2, kVenus = 3, kMars = 4, kJupiter = 5, kSaturn = 6;

TEST(HourRulers, ChaldeanOrderFromTheDayRuler) {
  // The day's ruler rules its first hour, each hour after runs on in the Chaldean order (Saturn,
  // Jupiter, Mars, Sun, Venus, Mercury, Moon and round again).
  struct Day {
    int weekday, firstDay, firstNight;
  } const days[] = {
      {0, kMoon, kVenus}, {1, kMars, kSaturn},    {2, kMercury, kSun}, {3, kJupiter, kMoon},
      {4, kVenus, kMars}, {5, kSaturn, kMercury}, {6, kSun, kJupiter},
  };
  const int chaldean[7] = {kSaturn, kJupiter, kMars, kSun, kVenus, kMercury, kMoon};
  const auto next = [&chaldean](int ruler) {
    for (int i = 0; i < 7; ++i)
      if (chaldean[i] == ruler) return chaldean[(i + 1) % 7];
    return -1;
  };
  for (const Day& d : days) {
    SCOPED_TRACE(d.weekday);
    EXPECT_EQ(GetHourRuler(d.weekday, 0, false), d.firstDay);
    EXPECT_EQ(GetHourRuler(d.weekday, 0, true), d.firstNight);
    // Every hour follows the one before, and the last night hour leads into the next day.
    for (int h = 1; h < 12; ++h) {
      EXPECT_EQ(GetHourRuler(d.weekday, h, false), next(GetHourRuler(d.weekday, h - 1, false)));
      EXPECT_EQ(GetHourRuler(d.weekday, h, true), next(GetHourRuler(d.weekday, h - 1, true)));
    }
    EXPECT_EQ(next(GetHourRuler(d.weekday, 11, false)), d.firstNight);
    EXPECT_EQ(next(GetHourRuler(d.weekday, 11, true)), GetHourRuler((d.weekday + 1) % 7, 0, false));
  }
  EXPECT_EQ(GetHourRuler(7, 0, false), -1);
  EXPECT_EQ(GetHourRuler(-1, 0, false), -1);
  EXPECT_EQ(GetHourRuler(0, 12, false), -1);
}

TEST(CurrentHour, TheHourWhoseBeginningIsTheLastNotAfterTheMoment) {
  // Day from 06:00 to 18:00 (hours of 60 min), night to 07:12 (hours of 66 min).
  const double base = 2451545.0;  // 12:00 local
  hours::SunRiseSet sun;
  sun.riseJd = base - 0.25;
  sun.setJd = base + 0.25;
  sun.nextRiseJd = base + 0.8;
  const double minute = 1.0 / 1440.0;
  struct Case {
    const char* name;
    double moment;
    int hour;
  } const cases[] = {
      {"at sunrise", sun.riseJd, 0},
      {"a second before sunrise", sun.riseJd - minute / 60, -1},
      {"09:30", base - 2.5 / 24, 3},
      {"11:00 exactly", base - 1.0 / 24, 5},
      {"last day hour", sun.setJd - minute, 11},
      {"at sunset", sun.setJd, 12},
      {"first night hour", sun.setJd + 65 * minute, 12},
      {"second night hour", sun.setJd + 67 * minute, 13},
      {"last night hour", sun.nextRiseJd - minute, 23},
      {"at the next sunrise", sun.nextRiseJd, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(hours::FindCurrentHour(c.moment, sun), c.hour) << c.name;
  for (int i = 1; i < 24; ++i) EXPECT_LT(sun.HourBegin(i - 1), sun.HourBegin(i)) << i;
  EXPECT_NEAR(sun.HourBegin(12), sun.setJd, 1e-9);
  EXPECT_NEAR(sun.HourBegin(13) - sun.HourBegin(12), 66 * minute, 1e-9);
}

// Local Julian day of 13 May 1975 at h:m:s.
double LocalJd(int h, int m, double s) { return 2442545.5 + (h + m / 60.0 + s / 3600.0) / 24.0; }

TEST(HourBeginnings, RoundedToTheNearestMinute) {
  struct Case {
    const char* name;
    double jd;
    const char* text;
  } const cases[] = {
      {"29.6 seconds past: the minute itself", LocalJd(12, 33, 29.6), "12:33"},
      {"30.4 seconds past: the next minute", LocalJd(12, 33, 30.4), "12:34"},
      {"59 seconds past", LocalJd(6, 0, 59.0), "06:01"},
      {"just before midnight", LocalJd(23, 59, 40.0), "00:00"},
      {"outside the calendar", 1e12, "--:--"},
  };
  for (const Case& c : cases) EXPECT_EQ(hours::MinuteText(c.jd), c.text) << c.name;

  // Day from 06:00:45 to 18:00:45: day hours of exactly an hour, each 45 s past its minute.
  hours::SunRiseSet sun;
  ASSERT_TRUE(sun.rise.SetMoment(LocalJd(6, 0, 45.0)).ok());
  sun.riseJd = LocalJd(6, 0, 45.0);
  sun.setJd = LocalJd(18, 0, 45.0);
  sun.nextRiseJd = sun.riseJd + 1.0;
  hours::HoursTable table;
  hours::FillHoursTable(sun, table);
  EXPECT_EQ(table[0].begin, "06:01");
  EXPECT_EQ(table[1].begin, "07:01");
  EXPECT_EQ(table[11].begin, "17:01");
  EXPECT_EQ(table[12].begin, "18:01");
  EXPECT_EQ(table[0].ruler, kMars);  // 13 May 1975, a Tuesday
}

using testing_support::RiseSetRow;

// The Sun's longitude on the Ascendant is its centre on the horizon without refraction.
std::vector<RiseSetRow> SunRows() {
  std::vector<RiseSetRow> rows;
  for (const RiseSetRow& r : testing_support::LoadRiseSet())
    if (r.body == "sun" && r.mode == "centre_geometric" && (r.event == "rise" || r.event == "set"))
      rows.push_back(r);
  return rows;
}

// A chart at a local Julian day with the zone of whole hours nearest the place's solar time, at
// a place rounded to whole minutes of arc.
Chart ChartAtLocal(double localJd, int zoneHours, double latitude, double eastLongitude) {
  Chart c;
  c.definition.SetKind(kChartNatal);
  Source& s = c.definition.sources[0];
  Moment m;
  EXPECT_TRUE(m.SetMoment(localJd).ok());
  s.AssignMoment(m);
  EXPECT_TRUE(s.zone.SetTime(std::abs(zoneHours), 0, zoneHours < 0 ? '-' : '+').ok());
  const int lat = static_cast<int>(std::lround(std::fabs(latitude) * 60.0));
  const int lon = static_cast<int>(std::lround(std::fabs(eastLongitude) * 60.0));
  EXPECT_TRUE(s.place
                  .SetPlace(lat / 60, lat % 60, latitude < 0 ? 'S' : 'N', lon / 60, lon % 60,
                            eastLongitude < 0 ? 'W' : 'E', "", "")
                  .ok());
  return c;
}

TEST(SunRiseSet, RiseAndSetOfTheDateMatchTheReferenceWithinAMinute) {
  const Configuration config;
  const ChartContext ctx(config);
  int compared = 0;
  for (const RiseSetRow& r : SunRows()) {
    SCOPED_TRACE(r.id + " " + r.event);
    const int zone = static_cast<int>(std::lround(r.eastLongitude / 15.0));
    // Noon of the local date on which the event falls.
    const double localEvent = r.eventUt + zone / 24.0;
    const Chart c = ChartAtLocal(std::floor(localEvent + 0.5), zone, r.latitude, r.eastLongitude);
    const std::optional<hours::SunRiseSet> sun = hours::FindSunRiseSet(ctx, c);
    ASSERT_TRUE(sun.has_value());
    const double found = (r.event == "rise" ? sun->riseJd : sun->setJd) - zone / 24.0;
    EXPECT_NEAR(found, r.eventUt, 60.0 / 86400.0);
    // The next sunrise lies a day (within a quarter of an hour) after this one.
    EXPECT_NEAR(sun->nextRiseJd - sun->riseJd, 1.0, 0.25 / 24.0);
    ++compared;
  }
  EXPECT_GE(compared, 16);
}

// Moscow, 13 May 1975, zone +3.
Chart Moscow(int hour, int minute, int latDeg = 55, int latMin = 45) {
  Chart c;
  c.definition.SetKind(kChartNatal);
  Source& s = c.definition.sources[0];
  EXPECT_TRUE(s.moment.date.SetDate(13, 5, 1975, 'A').ok());
  EXPECT_TRUE(s.moment.time.SetTime(hour, minute, 0).ok());
  EXPECT_TRUE(s.zone.SetTime(3, 0, '+').ok());
  EXPECT_TRUE(s.place.SetPlace(latDeg, latMin, 'N', 37, 37, 'E', "", "").ok());
  return c;
}

class InfoPanel : public ::testing::Test {
 protected:
  const Configuration config_;
  const ChartContext ctx_{config_};
};

TEST_F(InfoPanel, TheChartMomentIsMarkedInTheDayBeforeOrInTheChartDay) {
  struct Case {
    const char* name;
    int hour, minute;
    int table;      // 0 the day before, 1 the chart's day
    int low, high;  // the hour within the table
  } const cases[] = {
      {"02:00, before sunrise: the night of the day before", 2, 0, 0, 12, 23},
      {"15:00, afternoon: a day hour of the chart's day", 15, 0, 1, 6, 11},
      {"23:30: a night hour of the chart's day", 23, 30, 1, 12, 23},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Chart chart = Moscow(c.hour, c.minute);
    ChartInfoPanel panel;
    EXPECT_EQ(panel.current.Cell(), -1);
    EXPECT_FALSE(panel.SetChart(&chart));
    panel.ComputePlanetaryHours(ctx_);
    ASSERT_EQ(panel.status, 1);
    EXPECT_EQ(panel.Problem(), 0);
    ASSERT_TRUE(panel.current.Found());
    EXPECT_EQ(panel.current.table, c.table);
    EXPECT_GE(panel.current.hour, c.low);
    EXPECT_LE(panel.current.hour, c.high);
    EXPECT_EQ(panel.current.Cell(), 24 * c.table + panel.current.hour);
    // 13 May 1975 was a Tuesday: the day before's first hour is the Moon's, the chart day's Mars'.
    EXPECT_EQ(panel.dayBefore[0].ruler, kMoon);
    EXPECT_EQ(panel.chartDay[0].ruler, kMars);
    EXPECT_EQ(panel.chartDay[12].ruler, kSaturn);
    EXPECT_EQ(panel.dates[0], "12:05:1975");
    EXPECT_EQ(panel.dates[1], "13:05:1975");
    // The hours begin in order through the day ("HH:MM" compares as text until midnight).
    for (int i = 1; i < 12; ++i) EXPECT_LT(panel.chartDay[i - 1].begin, panel.chartDay[i].begin);
  }
}

TEST_F(InfoPanel, TheSunsRisingAndSettingOpenTheDayAndTheNightHours) {
  // The risings table and the chart day's hours show the same two events, to the same minute.
  for (const int hour : {3, 12, 22}) {
    const Chart chart = Moscow(hour, 0);
    ChartInfoPanel panel;
    panel.SetChart(&chart);
    panel.Compute(ctx_);
    ASSERT_EQ(panel.status, 1);
    EXPECT_EQ(panel.riseSet[0], panel.chartDay[0].begin + " " + panel.chartDay[12].begin);
  }
}

TEST_F(InfoPanel, OneLatitudeThresholdForTheHoursTheRisingsAndTheLunarDay) {
  struct Case {
    int deg, min;
    bool polar;
  } const cases[] = {{66, 30, false}, {66, 40, true}, {70, 0, true}, {55, 45, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.deg * 100 + c.min);
    const Chart chart = Moscow(12, 0, c.deg, c.min);
    ChartInfoPanel panel;
    EXPECT_EQ(panel.SetChart(&chart), c.polar);
    panel.Compute(ctx_);
    EXPECT_EQ(panel.Problem() == kMsgPolar, c.polar);
    // Polar: nothing computed and the lunar day a dash; else the risings are there.
    EXPECT_EQ(panel.riseSet[0].empty(), c.polar);
    if (c.polar) {
      EXPECT_EQ(panel.status, 0);
      EXPECT_EQ(panel.LunarDayText(), "-");
    }
  }
  // The lunar day is refused above the same threshold, not at it.
  EXPECT_EQ(Moscow(12, 0, 66, 40).GetLunarDay(ctx_), -1);
  ChartInfoPanel dash;
  dash.lunarDay = -1;
  EXPECT_EQ(dash.LunarDayText(), "-");
  dash.lunarDay = 17;
  EXPECT_EQ(dash.LunarDayText(), "17");
}

TEST_F(InfoPanel, ADateWithoutAMoonriseShowsTheDash) {
  // The Moon rises about 50 minutes later each day, so every month or so a date has no rising.
  const auto noonOfDay = [](int n) {  // noon n days after 13 May 1975
    Chart chart = Moscow(12, 0);
    chart.definition.sources[0].moment.date.AddDays(n);
    return chart;
  };
  int without = -1;
  for (int n = 0; n < 60 && without < 0; ++n) {
    Moment rise;
    if (!noonOfDay(n).FindRiseSetOnDate(ctx_, 0, 1, rise)) without = n;
  }
  ASSERT_GE(without, 0);
  for (const int n : {without, without + 1}) {
    SCOPED_TRACE(n);
    const Chart chart = noonOfDay(n);
    ChartInfoPanel panel;
    panel.SetChart(&chart);
    panel.ComputeRiseSetTexts(ctx_);
    EXPECT_EQ(panel.riseSet[0].size(), 11u);  // the Sun: "HH:MM HH:MM"
    EXPECT_EQ(panel.riseSet[0].find("-----"), std::string::npos);
    EXPECT_EQ(panel.riseSet[1].rfind("-----", 0) == 0, n == without) << panel.riseSet[1];
    EXPECT_EQ(panel.riseSet[1].size(), 11u);
  }
}

TEST_F(InfoPanel, HoursTableDrawsFortyEightCellsWithTheCurrentOneInColourFour) {
  const Chart chart = Moscow(15, 0);
  ChartInfoPanel panel;
  panel.SetChart(&chart);
  panel.ComputePlanetaryHours(ctx_);
  ASSERT_TRUE(panel.current.Found());
  panel.width = 16500;
  const int x = 1000, y = -3100;
  const double scale = 1.8;
  platform::RecordingDc dc(96, true);
  dc.SetMapMode(platform::MapMode::HiMetric);
  panel.DrawHoursTable(dc, x, y, scale);
  int glyphs = 0, times = 0, coloured = 0, frames = 0;
  const platform::Color four = ColorByIndex(ChartInfoPanel::kCurrentColour);
  const int cell = panel.current.Cell();
  for (const platform::RecordedCall& call : dc.Calls()) {
    if (call.kind == platform::RecordedCall::RoundRect) ++frames;
    if (call.kind != platform::RecordedCall::Text) continue;
    if (call.font.face == platform::kGlyphFaceA) ++glyphs;
    if (call.text.size() == 5 && call.text[2] == ':') ++times;
    if (call.color == four) {
      ++coloured;
      // The cell's column and row.
      EXPECT_NEAR(call.points[0].y, y - (cell % 12) * 500 * scale, 1);
      EXPECT_GE(call.points[0].x, x + (cell / 12) * 1450 * scale - 1);
      EXPECT_LT(call.points[0].x, x + (cell / 12 + 1) * 1450 * scale);
    }
  }
  EXPECT_EQ(frames, 2);
  EXPECT_EQ(glyphs, 48);
  EXPECT_EQ(times, 48);
  EXPECT_EQ(coloured, 2);  // the ruler's glyph and the beginning of the current hour

  // Nothing when the hours are not computed.
  ChartInfoPanel empty;
  empty.width = 16500;
  platform::RecordingDc none(96, true);
  empty.DrawHoursTable(none, x, y, scale);
  EXPECT_TRUE(none.Calls().empty());
}

// Every body's glyph in the element-cross grids stands inside its cell, clear of the grid's lines
// and of the other glyphs, however many share a cell: one glyph, two a line (the Sun and the Moon
// of the Moscow chart's houses), six, all ten. Screen and paper widths.
TEST_F(InfoPanel, ElementCrossGlyphsStayInsideTheirCells) {
  using Indexes = std::array<int, ChartInfoPanel::kBodies>;
  struct Case {
    const char* name;
    Indexes bySign, byHouse;
    int width;
  };
  const Case cases[] = {
      {"one_each", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {11, 10, 9, 8, 7, 6, 5, 4, 3, 2}, 24000},
      {"three_in_one", {4, 8, 8, 9, 11, 0, 9, 4, 2, 7}, {2, 2, 2, 3, 6, 6, 3, 4, 8, 6}, 24000},
      {"six_in_one", {5, 5, 5, 5, 5, 5, 0, 1, 2, 3}, {0, 0, 0, 0, 0, 0, -1, -1, -1, -1}, 16500},
      {"all_ten", {7, 7, 7, 7, 7, 7, 7, 7, 7, 7}, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, 16500},
  };
  const Chart chart = Moscow(15, 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ChartInfoPanel panel;
    panel.SetChart(&chart);
    panel.bySign = c.bySign;
    panel.byHouse = c.byHouse;
    panel.width = c.width;
    platform::RecordingDc dc(96, true);
    dc.SetMapMode(platform::MapMode::HiMetric);
    panel.DrawElementCross(dc, 12200, -3100);
    struct Box {
      int left, right, top, bottom;
    };
    std::vector<Box> glyphs;
    std::vector<platform::RecordedCall> lines;
    for (const platform::RecordedCall& call : dc.Calls()) {
      if (call.kind == platform::RecordedCall::Line) lines.push_back(call);
      if (call.kind != platform::RecordedCall::Text || call.font.face != platform::kGlyphFaceA)
        continue;
      dc.SelectFont(call.font);
      const platform::Size size = dc.GetTextExtent(call.text);
      const platform::Point at = call.points[0];  // left, top
      glyphs.push_back({at.x, at.x + size.cx, at.y, at.y - size.cy});
    }
    ASSERT_EQ(glyphs.size(),
              20U - static_cast<std::size_t>(std::count(c.byHouse.begin(), c.byHouse.end(), -1)));
    for (const Box& g : glyphs) {
      for (const platform::RecordedCall& line : lines) {
        const platform::Point a = line.points[0], b = line.points[1];
        if (a.x == b.x && std::min(a.y, b.y) <= g.top && std::max(a.y, b.y) >= g.bottom) {
          EXPECT_TRUE(a.x < g.left || a.x > g.right) << a.x << " in " << g.left << ".." << g.right;
        }
        if (a.y == b.y && std::min(a.x, b.x) <= g.right && std::max(a.x, b.x) >= g.left) {
          EXPECT_TRUE(a.y > g.top || a.y < g.bottom) << a.y << " in " << g.bottom << ".." << g.top;
        }
      }
    }
    for (std::size_t i = 0; i < glyphs.size(); ++i)
      for (std::size_t j = i + 1; j < glyphs.size(); ++j) {
        const Box &p = glyphs[i], &q = glyphs[j];
        EXPECT_TRUE(p.right <= q.left || q.right <= p.left || p.bottom >= q.top ||
                    q.bottom >= p.top)
            << i << " overlaps " << j;
      }
  }
}

}  // namespace
