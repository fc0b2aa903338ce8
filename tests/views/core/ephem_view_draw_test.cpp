#include "views/core/ephem_view_draw.h"

#include <gtest/gtest.h>

#include "astro/chart/chart.h"
#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/datetime/fdate.h"
#include "foundation/drawing/palette.h"
#include "foundation/numbers/angles.h"
#include "foundation/text/cp1251.h"
#include "platform/core/recording_dc.h"
#include "support/page_overlap.h"

namespace {

using E = cfg::GraphicEphemerisSettings;

struct Graph {
  Configuration config;
  RGraphEphem graph;
  Graph(int day, int month, int year, int period) {
    config.graphicEphemeris.Set(E::kDay, static_cast<std::int16_t>(day));
    config.graphicEphemeris.Set(E::kMonth, static_cast<std::int16_t>(month));
    config.graphicEphemeris.Set(E::kYear, static_cast<std::int16_t>(year));
    config.graphicEphemeris.Set(E::kPeriod, static_cast<std::int16_t>(period));
    graph.SetUp(config, 30000, -20000);
  }
  std::array<int, 3> First() const {
    const FDate d = graph.FirstMoment().date;
    return {d.Day(), d.Month(), d.Era() == 'B' ? -d.Year() : d.Year()};
  }
};

TEST(EphemView, ScrollingMovesTheFirstDateByThePeriod) {
  Graph g(1, 1, 2000, 0);  // the monthly period: two points a day of the month, and one
  EXPECT_EQ(g.graph.pointCount, 63);
  EXPECT_FALSE(ephem::ApplyScroll(g.graph, 0));
  ASSERT_TRUE(ephem::ApplyScroll(g.graph, 1));
  EXPECT_EQ(g.First(), (std::array{16, 1, 2000}));
  EXPECT_EQ(g.graph.pointCount, 63);
  ephem::ApplyScroll(g.graph, 1);
  ephem::ApplyScroll(g.graph, 1);
  EXPECT_EQ(g.First(), (std::array{15, 2, 2000}));
  EXPECT_EQ(g.graph.pointCount, 59);  // February of a leap year
  EXPECT_EQ(g.graph.screen.xStep, g.graph.screen.innerWidth / 58);
  ephem::ApplyScroll(g.graph, -1);
  EXPECT_EQ(g.First(), (std::array{31, 1, 2000}));

  Graph bc(10, 1, -44, 5);  // two years back from 44 BC; the settings keep a negative year
  ephem::ApplyScroll(bc.graph, -1);
  EXPECT_EQ(bc.config.graphicEphemeris.Get(E::kYear), -45);
}

// A start never chosen (the shipped year 0) opens in the year the chart suggests; a chosen one
// stays.
TEST(EphemView, AnUnchosenStartFollowsTheChart) {
  EXPECT_EQ(ephem::EphemConfPage::Read(Configuration().graphicEphemeris).year, 0)
      << "shipped unchosen";
  struct Case {
    const char* name;
    int kind;
    int movedYear;  // negative before Christ
    int storedYear;
    std::array<int, 3> first;
  } const cases[] = {
      {"natal_from_now", kChartNatal, 0, 0, {1, 1, 2026}},
      {"return_its_year", kChartReturn, 1999, 0, {1, 1, 1999}},
      {"progressed_bc", kChartProgressed, -30, 0, {1, 1, -30}},
      {"chosen_kept", kChartTransit, 2031, 1984, {5, 7, 1984}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SuperSource chart;
    chart.SetKind(static_cast<std::uint16_t>(c.kind));
    if (c.movedYear != 0) {
      ASSERT_TRUE(chart.sources[1].moment.date.SetDate(3, 4, c.movedYear).ok());
    }
    ephem::EphemConfPage page;
    page.day = 5;
    page.month = 7;
    page.year = c.storedYear;
    ephem::PresetUnsetStart(page, chart, 2026);
    EXPECT_EQ((std::array{page.day, page.month, page.year}), c.first);
    EXPECT_EQ(page.CheckOk(), 0);
  }
}

TEST(EphemView, CurveLabels) {
  const auto flat = [](std::array<double, ephem::kBodies> levels, int n) {
    ephem::Longitudes v;
    for (int b = 0; b < ephem::kBodies; ++b) v[static_cast<std::size_t>(b)].assign(n, levels[b]);
    return v;
  };
  // Every body far from the others: each label at the first candidate point.
  const ephem::Longitudes apart = flat({0, 30, 60, 90, 120, 150, 180, 210, 240, 270}, 40);
  EXPECT_EQ(ephem::CurveGlyphPositions(apart, 40, true, 2.0),
            (std::array{8, 8, 8, 8, 8, 8, 8, 8, 8, 8}));
  // Without the Moon flag the Moon has no label.
  EXPECT_EQ(ephem::CurveGlyphPositions(apart, 40, false, 2.0)[1], -1);
  // Too few points for any candidate (8 is not below 12 - 5).
  EXPECT_EQ(ephem::CurveGlyphPositions(apart, 12, true, 2.0)[0], -1);
  // The Sun close to Mercury everywhere, but least close at point 14: the Sun takes 14, and
  // Mercury, crowded by the Sun's label within its width there, the best of the others.
  ephem::Longitudes close = flat({0, 60, 5, 90, 120, 150, 180, 210, 240, 270}, 40);
  close[0][14] = 15.0;
  const auto at = ephem::CurveGlyphPositions(close, 40, true, 2.0);
  EXPECT_EQ(at[0], 14);
  EXPECT_EQ(at[2], 8);
  EXPECT_EQ(at[1], 8);
}

TEST(EphemView, ChartGlyphColumns) {
  const std::array<double, ephem::kBodies> longitudes = {0,   10,  35,  100,     200,
                                                         300, 330, 250, kAbsent, 120};
  // The Moon 10 degrees from the Sun: 2; Mercury 25 from the Moon: 3; Saturn exactly 30 from
  // Jupiter and from the Sun: 1; Neptune absent: 0; Pluto 20 from Venus, past the absent
  // Neptune and the farther Uranus: 2.
  EXPECT_EQ(ephem::NatalColumns(longitudes), (std::array{1, 2, 3, 1, 1, 1, 1, 1, 0, 2}));
}

TEST(EphemView, SampleIndexAndTheValuesDialog) {
  Graph g(1, 1, 2000, 0);
  const GraphLayout& s = g.graph.screen;
  EXPECT_EQ(ephem::SampleIndexAt(g.graph, s.leftMargin - 10), 0);
  EXPECT_EQ(ephem::SampleIndexAt(g.graph, s.leftMargin), 0);
  EXPECT_EQ(ephem::SampleIndexAt(g.graph, s.leftMargin + s.innerWidth), -1);
  // The nearest point: from half a step before point 4 on.
  EXPECT_EQ(ephem::SampleIndexAt(g.graph, s.leftMargin + 4 * s.xStep - s.xStep / 2 - 1), 3);
  EXPECT_EQ(ephem::SampleIndexAt(g.graph, s.leftMargin + 4 * s.xStep - s.xStep / 2), 4);

  Chart chart;
  ephem::EphemDataPage page(g.graph, chart, 62);
  EXPECT_EQ(page.MomentText(), "01:02:2000  00:00");  // 62 half days after 1 January
  EXPECT_EQ(page.Next(), 1);                          // the last point asks to scroll forward
  EXPECT_EQ(page.Previous(), 0);
  EXPECT_EQ(page.Index(), 61);
  ephem::EphemDataPage first(g.graph, chart, 0);
  EXPECT_EQ(first.Previous(), -1);
  EXPECT_EQ(ephem::EphemDataPage::ReopenIndex(63, 1), 33);
  EXPECT_EQ(ephem::EphemDataPage::ReopenIndex(63, -1), 29);
  // Following point 61: the left margin and 61 / 63 of the inner width along a view of the
  // page's width, then its own width further left at the right edge.
  const int far = s.leftMargin + s.innerWidth * 61 / 63;
  EXPECT_NEAR(page.FollowX(0, s.pageWidth, 0), far, 2);
  EXPECT_NEAR(page.FollowX(100, s.pageWidth, 3000), 100 + far - 3000, 2);
}

TEST(EphemView, ScrollButtonsAreHitStrictlyInside) {
  Graph g(1, 1, 2000, 4);
  const ephem::ScrollButtons b = ephem::ScrollButtonRects(g.graph);
  const auto mid = [](const platform::Rect& r) {
    return platform::Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  };
  EXPECT_EQ(ephem::ScrollButtonAt(b, mid(b.forward)), 1);
  EXPECT_EQ(ephem::ScrollButtonAt(b, mid(b.backward)), -1);
  EXPECT_EQ(ephem::ScrollButtonAt(b, {b.forward.left, mid(b.forward).y}), 0);
  EXPECT_EQ(ephem::ScrollButtonAt(b, {10, -10}), 0);
}

TEST(EphemView, ConfigurationPageKeepsItsCopyUntilOk) {
  Configuration config;
  ephem::EphemConfPage page = ephem::EphemConfPage::Read(config.graphicEphemeris);
  const cfg::ByteBlock before = config.graphicEphemeris;
  page.glyphColour = 12;
  page.curveColours[3] = 54;
  EXPECT_EQ(config.graphicEphemeris, before);  // nothing written before OK
  struct Case {
    int day, month, year, message;
  };
  const Case cases[] = {{1, 1, 2000, 0},  {31, 2, 2000, 775}, {1, 1, 0, 777},
                        {1, 1, -3000, 0}, {1, 1, 3001, 776},  {1, 13, 2000, 656}};
  for (const Case& c : cases) {
    page.day = c.day;
    page.month = c.month;
    page.year = c.year;
    EXPECT_EQ(page.CheckOk(), c.message) << c.day << "." << c.month << "." << c.year;
  }
  page.year = -44;
  page.orientation = 1;
  page.Write(config.graphicEphemeris);
  const ephem::EphemConfPage back = ephem::EphemConfPage::Read(config.graphicEphemeris);
  EXPECT_EQ(back.glyphColour, 12);
  EXPECT_EQ(back.curveColours[3], 54);
  EXPECT_EQ(back.year, -44);
  EXPECT_TRUE(back.RotationEnabled());
}

TEST(EphemView, FrameDrawsTwelveSignGlyphsAndTheGridInGrey) {
  Graph g(1, 1, 2000, 4);
  g.config.graphicEphemeris.Set(E::kSignGrid, std::int32_t{1});
  platform::RecordingDc dc;
  dc.SetMapMode(platform::MapMode::HiMetric);
  ephem::DrawFrame(dc, g.graph, g.config);
  int signs = 0, greyLines = 0;
  for (const auto& call : dc.Calls()) {
    if (call.kind == platform::RecordedCall::FillPath || call.kind == platform::RecordedCall::Text)
      signs += call.font.IsGlyphFace() && call.text.size() == 1 && call.text[0] >= 'A' &&
               call.text[0] <= 'L';
    if (call.kind == platform::RecordedCall::Line || call.kind == platform::RecordedCall::Polyline)
      greyLines += call.pen.color == ColorByIndex(7);
  }
  EXPECT_EQ(signs, 12);
  EXPECT_GE(greyLines, 12);
}

// The printed page in either orientation, its year turned either way, under a short or a long
// name: the title, the year and the dates overlap nothing and stay inside the page frame.
TEST(EphemView, PrintedPageKeepsItsTextsApartAndInsideTheFrame) {
  struct Case {
    int orientation, rotation;
    const char* name;
  } const cases[] = {
      {0, 270, "Иванов"},
      {1, 270, "Иванов"},
      {1, 90, "Иванов"},
      {1, 270, "Иванова-Петровская Мария Андреевна"},
      {1, 90, "Иванова-Петровская Мария Андреевна"},
      {0, 270, "Иванова-Петровская Мария Андреевна"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.orientation) + " " +
                 std::to_string(c.rotation));
    Graph g(1, 1, 2026, 4);
    Chart chart;
    chart.definition.sources[0].SetName(Cp1251(c.name));
    g.graph.landscapeRotation = c.rotation;
    g.graph.SetPrintMode(c.orientation == 1 ? RGraph::kLayoutLandscape : RGraph::kLayoutPortrait);
    g.graph.DefineArea(0, 0);
    platform::RecordingDc dc(600.0, true), measure(600.0, true);
    dc.SetMapMode(platform::MapMode::HiMetric);
    ephem::PrintHeading(dc, g.graph, g.config, chart);
    ephem::DrawFrame(dc, g.graph, g.config);
    ephem::DrawYear(dc, g.graph);
    for (const std::string& fault : testing_support::PageOverlaps(dc, measure))
      ADD_FAILURE() << fault;
  }
}

}  // namespace
