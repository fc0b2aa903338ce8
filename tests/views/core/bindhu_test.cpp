#include "views/core/bindhu.h"

#include <gtest/gtest.h>

#include "astro/chart/chart.h"
#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/cp1251.h"
#include "platform/core/recording_dc.h"
#include "views/core/sabians.h"
#include "views/core/thematic_pages.h"

namespace {

Aspect MakeAspect(double angle, int major = 1) {
  Aspect a;
  a.angle = angle;
  a.orbs.fill(1.0);
  a.major = static_cast<std::uint8_t>(major);
  return a;
}

AspectSystem System(std::vector<Aspect> aspects) {
  AspectSystem s("TEST", "TEST.ASP");
  s.SetAspects(std::move(aspects));
  return s;
}

// A chart with only the given bodies (0..33) and cusps set.
Chart ChartWith(std::vector<std::pair<int, double>> bodies, std::vector<double> cusps = {}) {
  Chart c;
  for (const auto& [b, lon] : bodies) c.points[static_cast<std::size_t>(b)].longitude.Set(lon);
  for (std::size_t k = 0; k < cusps.size(); ++k) c.cusps[k].Set(cusps[k]);
  return c;
}

std::vector<int> Degrees(const BINDHU& b) {
  std::vector<int> out;
  for (const BindhuEvent& e : b.Events()) out.push_back(e.degree);
  return out;
}

TEST(Bindhu, EventsByAspectAndObject) {
  const Configuration config;
  const AspectSystem system =
      System({MakeAspect(0), MakeAspect(180), MakeAspect(90), MakeAspect(51.4286, 0)});
  BindhuChoice all;
  all.bodies = 4;
  all.houses = 4;
  all.aspects = 2;
  struct Case {
    const char* name;
    Chart chart;
    BindhuChoice choice;
    std::vector<int> degrees;
  };
  BindhuChoice none = all;
  none.bodies = 0;
  none.houses = 0;
  none.nodes = 0;
  BindhuChoice majorSun = all;
  majorSun.bodies = 1;
  majorSun.houses = 0;
  majorSun.aspects = 1;
  BindhuChoice nodes = none;
  nodes.nodes = 1;
  nodes.aspects = 0;
  BindhuChoice ascendant = none;
  ascendant.houses = 1;
  ascendant.aspects = 1;
  const Case cases[] = {
      {"nothing chosen", ChartWith({{0, 10.5}}), none, {}},
      // Conjunction once, opposition once, square twice; the minor septile is not major.
      {"sun major", ChartWith({{0, 10.5}}), majorSun, {10, 190, 100, 280}},
      {"absent sun", ChartWith({}), majorSun, {}},
      {"nodes whatever the bodies", ChartWith({{0, 10.5}, {16, 45.0}}), nodes, {45}},
      // A cusp has no opposition: conjunction once, square twice.
      {"ascendant", ChartWith({}, {200.0}), ascendant, {200, 290, 110}},
  };
  for (const Case& c : cases) {
    BINDHU b;
    b.Calculate(c.chart, &system, c.choice, config);
    EXPECT_EQ(Degrees(b), c.degrees) << c.name;
  }
  BINDHU noSystem;
  noSystem.Calculate(ChartWith({{0, 10.5}}), nullptr, all, config);
  EXPECT_TRUE(noSystem.Events().empty());
}

TEST(Bindhu, RowHeightsAndMinutes) {
  const Configuration config;
  const AspectSystem system = System({MakeAspect(0), MakeAspect(51.4286, 0)});
  BindhuChoice s;
  s.bodies = 4;
  s.houses = 0;
  s.aspects = 0;  // conjunctions only
  // Three bodies in 5 Aries, one in 5 Taurus: row 5 is six units, every other row one.
  BINDHU b;
  b.Calculate(ChartWith({{0, 5.1}, {1, 5.5}, {2, 5.9}, {3, 35.2}}), &system, s, config);
  EXPECT_EQ(b.RowUnits(5), 6);
  EXPECT_EQ(b.RowUnits(4), 1);
  EXPECT_EQ(b.TotalUnits(), 2 + 29 + 6);
  BINDHU empty;
  s.bodies = 0;
  empty.Calculate(ChartWith({}), &system, s, config);
  EXPECT_EQ(empty.TotalUnits(), 32);
  // A septile is not a whole degree: its event carries the point's minutes.
  s.bodies = 4;
  s.aspects = 2;
  BINDHU septile;
  septile.Calculate(ChartWith({{0, 10.0}}), &system, s, config);
  ASSERT_EQ(septile.Events().size(), 3u);
  EXPECT_EQ(septile.Events()[1].degree, 61);
  EXPECT_EQ(septile.Events()[1].minutes, 25);  // 61.4286 degrees
  EXPECT_EQ(septile.Events()[0].minutes, 0);
}

TEST(Bindhu, PagesAndScrolling) {
  Configuration config;
  const AspectSystem system = System({MakeAspect(0)});
  BindhuChoice s;
  s.bodies = 4;
  s.aspects = 0;
  BINDHU b;
  b.Calculate(ChartWith({{0, 5.1}, {1, 5.5}}), &system, s, config);
  platform::RecordingDc dc;
  BINDHU::Layout l = b.PaperLayout(dc, config, s);
  EXPECT_EQ(b.PageStarts(l, config, s), (std::vector<int>{0}));
  // A unit so tall that a page holds few rows: a new page at the first row that would pass.
  l.unit = 2000;
  const std::vector<int> starts = b.PageStarts(l, config, s);
  ASSERT_GT(starts.size(), 1u);
  EXPECT_EQ(starts[0], 0);
  s.onePage = 1;
  EXPECT_EQ(b.PageStarts(l, config, s).size(), 1u);
  struct Case {
    int code, thumb, first, expected;
  };
  const Case cases[] = {{0, 0, 0, 0},   {1, 0, 29, 29}, {3, 0, 0, 5}, {2, 0, 3, 0},
                        {4, 17, 0, 17}, {6, 0, 9, 0},   {7, 0, 0, 29}};
  for (const Case& c : cases) EXPECT_EQ(BindhuScroll(c.code, c.thumb, c.first), c.expected);
}

TEST(Sabians, SymbolsOfTheChosenPoints) {
  ALL_SABIANS sabians;
  std::string file;
  for (int k = 0; k < 360; ++k) file += "S" + std::to_string(k + 1) + '\0';
  sabians.Decode(file);
  const Configuration config;
  SabianChoice s;
  s.bodies = 1;
  s.houses = 0;
  const Chart chart = ChartWith({{0, 0.0}, {1, 359.99}, {16, 100.5}});
  EXPECT_EQ(SabianText(chart, s, config, sabians),
            "   " + GetMessageText(kMsgPointNameFirst) + ". S1\n   " +
                GetMessageText(kMsgPointNameFirst + 1) + ". S360\n");
  s.bodies = 0;
  EXPECT_EQ(SabianText(chart, s, config, sabians), GetMessageText(kMsgSabianNothing));
  s.nodes = 1;  // the nodes are listed with their flag whatever the bodies choice
  EXPECT_EQ(SabianText(chart, s, config, sabians),
            "   " + GetMessageText(kMsgPointNameFirst + 16) + ". S101\n");

  ALL_SABIANS shortFile;
  shortFile.Decode(std::string("one\0two\0", 8));
  EXPECT_EQ(shortFile.Text(1), "two");
  EXPECT_EQ(shortFile.Text(2), "");
  EXPECT_EQ(shortFile.Text(360), "");
}

TEST(Sabians, FileFromTheUsersText) {
  std::string lines;
  for (int k = 0; k < 360; ++k) lines += "Символ " + std::to_string(k + 1) + "\r\n";
  std::string out;
  ASSERT_TRUE(MakeSabianFile(lines, out).ok());
  ALL_SABIANS sabians;
  sabians.Decode(out);
  EXPECT_EQ(sabians.Text(359), Cp1251("Символ 360"));
  EXPECT_FALSE(MakeSabianFile("one\ntwo\n", out).ok());
  EXPECT_TRUE(out.empty());
  EXPECT_FALSE(MakeSabianFile(lines + "one more\n", out).ok());
  std::string foreign = lines;
  foreign.replace(0, 1, "\xE2\x98\x89");  // a character code page 1251 cannot hold
  EXPECT_FALSE(MakeSabianFile(foreign, out).ok());
}

TEST(Thematic, DialogRules) {
  Configuration config;
  TematPage page = TematPage::Read(config);
  page.SetKind(1);
  page.Choice().house = 8;
  page.SetKind(0);  // back to the real chart: the first angular house
  EXPECT_EQ(page.HouseIndex(), 0);
  EXPECT_EQ(page.HouseNames().size(), 4u);
  EXPECT_TRUE(page.HouseEnabled());
  page.SetKind(2);
  EXPECT_TRUE(page.SecondPlanetEnabled());
  EXPECT_FALSE(page.HouseEnabled());
  EXPECT_EQ(TematPage::PlanetNames().back(), GetMessageText(kMsgArbitraryPointTheme));

  struct Case {
    int chartKind, houseSystem, kind, planet, planet2, message;
  };
  const Case cases[] = {
      {kChartTransit, 0, 0, 0, 1, 0},  // a transit chart makes a real thematic chart
      {kChartDirected, 0, 0, 0, 1, 489}, {kChartNatal, 3, 0, 0, 1, 490},
      {kChartNatal, 3, 1, 0, 1, 0},      {kChartNatal, 0, 2, 4, 4, 491},
      {kChartNatal, 0, 2, 4, 5, 0},
  };
  for (const Case& c : cases) {
    Chart chart;
    chart.definition.SetKind(static_cast<std::uint16_t>(c.chartKind));
    chart.houseSystem = c.houseSystem;
    TematPage p;
    p.SetKind(c.kind);
    p.Choice().planet = c.planet;
    p.Choice().planet2 = c.planet2;
    EXPECT_EQ(p.CheckOk(chart), c.message) << c.chartKind << " " << c.kind;
  }

  EXPECT_EQ(EnterPointPage::FromPoint(0).ToPoint(), 0);
  const EnterPointPage zero = EnterPointPage::FromPoint(0);
  EXPECT_EQ(zero.sign + zero.degrees + zero.minutes, 0);
  EXPECT_EQ((EnterPointPage{11, 29, 59}.ToPoint()), 21599);
  const EnterPointPage last = EnterPointPage::FromPoint(21599);
  EXPECT_EQ(last.sign * 10000 + last.degrees * 100 + last.minutes, 112959);
  EXPECT_EQ((EnterPointPage{0, 30, 0}.CheckOk()), 778);
}

}  // namespace
