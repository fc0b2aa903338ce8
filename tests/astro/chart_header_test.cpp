#include "astro/chart/chart_header.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "foundation/config/configuration.h"
#include "foundation/drawing/page_title.h"
#include "foundation/text/cp1251.h"
#include "platform/core/recording_dc.h"

namespace {

Chart Natal() {
  Chart c;
  Source& s = c.definition.sources[0];
  s.SetName(Cp1251("Пушкин А. С."));
  EXPECT_TRUE(s.moment.date.SetDate(6, 6, 1799).ok());
  EXPECT_TRUE(s.moment.time.SetTime(11, 0).ok());
  EXPECT_TRUE(s.zone.SetTime(2, 30, 17, '+').ok());  // local mean time
  EXPECT_TRUE(s.place.SetPlace(55, 45, 'N', 37, 37, 'E', Cp1251("Москва"), Cp1251("Россия")).ok());
  c.definition.SetTitle(Cp1251("Натал"));
  return c;
}

TEST(ChartHeader, FullAndCompactLines) {
  const Chart c = Natal();
  const auto full = ChartHeaderLines(c, false);
  ASSERT_EQ(full.size(), 5u);
  EXPECT_EQ(full[0], Cp1251("Пушкин А. С."));
  EXPECT_EQ(full[1], Cp1251("Натал (Натальный)"));
  // The zone once, in full: a zone with seconds has no common name.
  EXPECT_EQ(full[2], Cp1251("06:06:1799 н.э.  11:00  +02:30:17"));
  EXPECT_EQ(full[3], Cp1251("Москва, Россия"));
  EXPECT_EQ(full[4], "55N45 037E37");
  const auto compact = ChartHeaderLines(c, true);
  ASSERT_EQ(compact.size(), 3u);
  EXPECT_EQ(compact[0], Cp1251("Пушкин А. С. - Натал (Натальный)"));
  EXPECT_EQ(compact[2], Cp1251("Москва, Россия  55N45 037E37"));
}

TEST(ChartHeader, ACompositeChartShowsTheMidpointItIsCastFor) {
  Chart c = Natal();
  c.definition.SetKind(kChartSynastry);
  c.definition.keyKind = 1;  // the composite switch
  ASSERT_TRUE(c.definition.sources[1].moment.date.SetDate(1, 1, 1800).ok());
  ASSERT_TRUE(c.definition.sources[2].moment.date.SetDate(4, 3, 1799).ok());
  const auto lines = ChartHeaderLines(c, false);
  EXPECT_EQ(lines[2].substr(0, 10), "04:03:1799");
}

// Whose the chart is and what it is: the kind's name once when the title is the entry's default,
// both people of a synastry chart, a composite named as one, placed between the two towns.
TEST(ChartHeader, NamesTitlesAndPlacesOfEachKindOfChart) {
  const auto withTown = [](Source& s, const char* name, const char* town) {
    s.SetName(Cp1251(name));
    ASSERT_TRUE(s.place.SetPlace(50, 27, 'N', 30, 31, 'E', Cp1251(town), "").ok());
  };
  const struct {
    const char* name;
    int kind;
    int keyKind;
    const char* title;
    const char* first;  // town of the first Source ("" none); the second is Борис's
    const char* second;
    const char *names, *titleLine, *place;  // "" place: the midpoint has no town
  } rows[] = {
      {"natal_untitled", kChartNatal, 0xFFFF, "", "Москва", "Киев", "Анна", "Натальный", ""},
      {"natal_default_title", kChartNatal, 0xFFFF, "Натальный", "Москва", "Киев", "Анна",
       "Натальный", ""},
      {"natal_titled", kChartNatal, 0xFFFF, "Проба", "Москва", "Киев", "Анна", "Проба (Натальный)",
       ""},
      {"synastry", kChartSynastry, 0, "", "Москва", "Киев", "Анна и Борис", "Синастрический", ""},
      {"composite", kChartSynastry, 1, "Синастрический", "Москва", "Киев", "Анна и Борис",
       "Синастрический, композит", "Середина: Москва — Киев"},
      {"composite_titled", kChartSynastry, 1, "Пара", "Киев", "Киев", "Анна и Борис",
       "Пара (Синастрический, композит)", "Середина: Киев"},
      {"composite_one_town", kChartSynastry, 1, "", "", "Киев", "Анна и Борис",
       "Синастрический, композит", "Середина: Киев"},
      {"composite_no_towns", kChartSynastry, 1, "", "", "", "Анна и Борис",
       "Синастрический, композит", ""},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    Chart c;
    c.definition.SetKind(static_cast<std::uint16_t>(r.kind));
    c.definition.keyKind = static_cast<std::uint16_t>(r.keyKind);
    c.definition.SetTitle(Cp1251(r.title));
    withTown(c.definition.sources[0], "Анна", r.first);
    withTown(c.definition.sources[1], "Борис", r.second);
    if (r.kind == kChartNatal) c.definition.sources[1] = c.definition.sources[0];
    // The midpoint as the computation leaves it: coordinates without a town.
    c.definition.sources[2] = c.definition.sources[1];
    if (r.keyKind == 1) withTown(c.definition.sources[2], "Анна", "");
    EXPECT_EQ(ChartPersonNames(c.definition), Cp1251(r.names));
    EXPECT_EQ(ChartTitleLine(c.definition), Cp1251(r.titleLine));
    const auto lines = ChartHeaderLines(c, false);
    ASSERT_EQ(lines.size(), 5u);
    // The block names the person of the chart drawn: a synastry chart is the second person's.
    EXPECT_EQ(lines[0], Cp1251(r.keyKind == 1          ? r.names
                               : r.kind == kChartNatal ? "Анна"
                                                       : "Борис"));
    EXPECT_EQ(lines[1], Cp1251(r.titleLine));
    if (r.keyKind == 1) {
      EXPECT_EQ(lines[3], Cp1251(r.place));
    }
  }
  // One name when the other is missing or the same.
  SuperSource d;
  d.SetKind(kChartSynastry);
  d.sources[0].SetName(Cp1251("Анна"));
  EXPECT_EQ(ChartPersonNames(d), Cp1251("Анна"));
  d.sources[1].SetName(Cp1251("Анна"));
  EXPECT_EQ(ChartPersonNames(d), Cp1251("Анна"));
}

TEST(ChartHeader, LinesGoDownTheYUpPageAndRightAlignmentIsKept) {
  platform::RecordingDc dc;
  dc.SetMapMode(platform::MapMode::HiMetric);
  const platform::Size extent = Natal().DrawHeader(dc, 20000, -1000, 1, true);
  ASSERT_EQ(dc.Calls().size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(dc.Calls()[i].points[0], (platform::Point{20000, -1000 - 380 * i}));
    EXPECT_EQ(dc.Calls()[i].align & platform::TextAlign::kHorizontalMask,
              platform::TextAlign::kRight);
    EXPECT_EQ(dc.Calls()[i].font.face, "Vudurez");
  }
  // Two line steps and one line of an em of 2200 x 96 / 720 = 293.3 units (ascent 235, descent 59).
  EXPECT_EQ(extent.cy, 2 * 380 + 294);
  EXPECT_EQ(dc.GetTextAlign(), platform::TextAlign::kLeft | platform::TextAlign::kTop);
}

TEST(ChartHeader, PrintedPageHeadPlacesTheOrnamentAndTheTitle) {
  Configuration config;
  config.print.marginLeft = 1000;
  config.print.marginTop = 1200;
  config.print.marginRight = 800;
  config.print.pageFrame = 0;
  platform::RecordingDc dc(600, true);
  dc.SetMapMode(platform::MapMode::HiMetric);
  DrawPrintedPageHead(dc, Natal(), config, Cp1251("АРАБСКИЕ ТОЧКИ"));
  const auto& calls = dc.Calls();
  ASSERT_EQ(calls.size(), 5u);  // three header lines, the ornament, the title
  EXPECT_EQ(calls[0].points[0], (platform::Point{1400, -1350}));
  EXPECT_EQ(calls[3].text, "?;<=>");
  EXPECT_EQ(calls[3].font.face, "VelmAstro5a");
  EXPECT_EQ(calls[3].font.pointSize, 6000);
  EXPECT_EQ(calls[3].points[0], (platform::Point{19500, -1450}));
  EXPECT_EQ(calls[4].font.pointSize, 4000);
  EXPECT_EQ(calls[4].points[0], (platform::Point{(1000 + 20200) / 2, -1800}));
  EXPECT_EQ(calls[4].align & platform::TextAlign::kHorizontalMask, platform::TextAlign::kCenter);

  // Titles of every length keep the gap from the header lines at their left and the ornament at
  // their right: centred, else between the two, smaller where need be (3000 at the least), else
  // on a line of their own under both.
  const auto box = [&dc](const platform::RecordedCall& c) {  // left and right of a text
    dc.SelectFont(c.font);
    const int w = dc.GetTextExtent(c.text).cx, x = c.points[0].x;
    const unsigned h = c.align & platform::TextAlign::kHorizontalMask;
    return h == platform::TextAlign::kCenter  ? std::pair{x - w / 2, x + (w + 1) / 2}
           : h == platform::TextAlign::kRight ? std::pair{x - w, x}
                                              : std::pair{x, x + w};
  };
  for (int letters = 1; letters <= 60; ++letters) {
    dc.Clear();
    DrawPrintedPageHead(dc, Natal(), config, std::string(static_cast<std::size_t>(letters), 'W'));
    ASSERT_EQ(calls.size(), 5u);
    int headerRight = 0;
    for (int i = 0; i < 3; ++i) headerRight = std::max(headerRight, box(calls[i]).second);
    const auto [titleLeft, titleRight] = box(calls[4]);
    EXPECT_GE(calls[4].font.pointSize, kHeadTitleSmallest) << letters;
    if (calls[4].points[0].y == -1800) {
      EXPECT_GE(titleLeft - headerRight, kHeadTitleGap) << letters;
      EXPECT_GE(box(calls[3]).first - titleRight, kHeadTitleGap) << letters;
    } else {  // under the third line (2200: an em of 293) and the ornament
      EXPECT_LE(calls[4].points[0].y, std::min(calls[2].points[0].y - 293, -1450 - 800)) << letters;
    }
  }
}

}  // namespace
