// The contents of the chart information dialog: the rows a kind shows, names of house systems,
// longitudes in signs, houses of the points and the local sidereal time.
#include <gtest/gtest.h>

#include <string>

#include "astro/chart/chart_definition.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/longitude_drawing.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/cp1251.h"
#include "shell/core/entry/chart_information.h"

namespace {

Source MakeSource(const char* name, int day, int month, int year, int hours, int minutes,
                  int zoneMinutes, int lonDeg) {
  Source s;
  s.SetName(name);
  EXPECT_TRUE(s.moment.date.SetDate(day, month, year, 'A').ok());
  EXPECT_TRUE(s.moment.time.SetTime(hours, minutes, 0).ok());
  EXPECT_TRUE(s.zone.SetTime(zoneMinutes / 60, zoneMinutes % 60, '+').ok());
  EXPECT_TRUE(s.place.SetPlace(48, 24, 'N', lonDeg, 0, 'E', "Ulm", "").ok());
  return s;
}

TEST(EntryChartInfo, TextsOfHouseSystemsLongitudesAndHouses) {
  struct HouseName {
    int code;
    const char* name;
  };
  for (const HouseName& h :
       {HouseName{0, "ПЛАЦИДУС"}, HouseName{7, "ПОРФИРИЙ"},
        HouseName{18, "НАТУРАЛЬНАЯ (ПОДВОДНЫЙ)"}, HouseName{105, "КАМПАНУС, геодетическая"},
        HouseName{19, ""}, HouseName{-1, ""}})
    EXPECT_EQ(HouseSystemName(h.code), Cp1251(h.name)) << h.code;

  struct Lon {
    double degrees;
    const char* text;
  };
  // Minutes are rounded to the nearest, carrying into the next degree and sign.
  for (const Lon& l :
       {Lon{0.0, "00°00' Овен"}, Lon{123.5, "03°30' Лев"}, Lon{359.99, "29°59' Рыбы"},
        Lon{-30.0, "00°00' Рыбы"}, Lon{kAbsent, "-"}, Lon{22.0999, "22°06' Овен"},
        Lon{59.9995, "00°00' Близнецы"}, Lon{359.9999, "00°00' Овен"}})
    EXPECT_EQ(LongitudeInSignText(l.degrees), Cp1251(l.text)) << l.degrees;

  EXPECT_EQ(HouseNumeral(1), "I");
  EXPECT_EQ(HouseNumeral(9), "IX");
  EXPECT_EQ(HouseNumeral(12), "XII");
  EXPECT_EQ(HouseNumeral(0), "");
  EXPECT_EQ(HouseNumeral(13), "");
}

// The information dialog and the wheel's coordinates (the zodiac form of a drawn longitude) show
// the same degree, sign and minute for any longitude.
TEST(EntryChartInfo, MinutesAgreeWithTheDrawnLongitudes) {
  for (double v = 0.0; v < 360.0; v += 0.00731) {
    const std::vector<LongitudePiece> drawn = LongitudePieces(v, 0);
    ASSERT_EQ(drawn.size(), 3u);
    const int sign = drawn[1].text[0] - glyphs::Sign(0);
    const std::string expected = drawn[0].text + Cp1251("°") + drawn[2].text + "' " +
                                 GetMessageText(kMsgSignNameFirst + sign);
    ASSERT_EQ(LongitudeInSignText(v), expected) << v;
  }
}

TEST(EntryChartInfo, AnglesAndCuspsAreListed) {
  Chart chart;
  EXPECT_TRUE(AngleCuspRows(chart).empty()) << "no cusps, no rows";
  for (int h = 0; h < 12; ++h) chart.cusps[h].Set(15.0 + 30.0 * h + 0.9999);
  const std::vector<ChartInfoRow> rows = AngleCuspRows(chart);
  ASSERT_EQ(rows.size(), 14u);
  EXPECT_EQ(rows[0].label, Cp1251("Асцендент"));
  EXPECT_EQ(rows[0].value, Cp1251("16°00' Овен"));
  EXPECT_EQ(rows[1].value, Cp1251("16°00' Козерог"));  // MC
  EXPECT_EQ(rows[13].label, Cp1251("Куспид XII"));
  EXPECT_EQ(rows[13].value, Cp1251("16°00' Рыбы"));
  EXPECT_EQ(GetMessageText(kMsgPointNameFirst + 26), Cp1251("Аполлон"));
}

TEST(EntryChartInfo, PointsWithTheirHouses) {
  Chart chart;
  for (int h = 0; h < 12; ++h) chart.cusps[h].Set(15.0 + 30.0 * h);  // cusp I at 15 Aries
  chart.points[0].longitude.Set(10.0);                               // before cusp I: house XII
  chart.points[1].longitude.Set(15.0);                               // on cusp I: house I
  chart.points[4].longitude.Set(200.0);                              // house VII
  chart.points[4].status = 'R';
  const std::vector<PointHouseRow> rows = PointHouseRows(chart);
  ASSERT_EQ(rows.size(), 3u) << "points without a longitude are left out";
  EXPECT_EQ(rows[0].name, Cp1251("Солнце"));
  EXPECT_EQ(rows[0].house, 12);
  EXPECT_EQ(rows[1].house, 1);
  EXPECT_EQ(rows[2].point, 4);
  EXPECT_EQ(rows[2].house, 7);
  EXPECT_EQ(rows[2].status, 'R');
  EXPECT_EQ(rows[2].longitude, Cp1251("20°00' Весы"));

  Chart noCusps;
  noCusps.ConstructCusps();
  noCusps.points[0].longitude.Set(10.0);
  EXPECT_EQ(PointHouseRows(noCusps)[0].house, 0);
}

TEST(EntryChartInfo, RowsOfAKind) {
  Chart chart;
  chart.definition.sources[0] = MakeSource("A", 14, 3, 1879, 11, 30, 40, 10);
  chart.definition.sources[1] = MakeSource("B", 1, 1, 2000, 12, 0, 0, 0);
  chart.definition.SetKind(kChartSynastry);
  chart.definition.keyKind = kCompositeSwitch;
  chart.definition.SetTitle("Para");
  chart.houseSystem = 7;
  ASSERT_TRUE(MakeMidpointSource(chart.definition).ok());
  std::vector<std::string> labels;
  for (const ChartInfoRow& r : ChartInfoRows(chart)) labels.push_back(Utf8(r.label));
  const std::vector<std::string> expected = {
      "Имя",      "Тип",   "Название",      "Первый",           "Место",         "Второй", "Место",
      "Композит", "Место", "Система домов", "Система аспектов", "Звездное время"};
  EXPECT_EQ(labels, expected);
  const std::vector<ChartInfoRow> rows = ChartInfoRows(chart);
  EXPECT_EQ(rows[0].value, "B") << "the base Source of a synastry chart is the second";
  EXPECT_EQ(rows[1].value, Cp1251("Синастрический (композит)"));
  EXPECT_EQ(rows[3].value, Cp1251("14:03:1879 н.э.  11:30  +00:40"));
  EXPECT_EQ(rows[4].value, "Ulm  48N24 010E00");
  EXPECT_EQ(rows[9].value, Cp1251("ПОРФИРИЙ"));

  chart.definition.SetKind(kChartNatal);
  EXPECT_EQ(ChartInfoRows(chart).size(), 8u) << "one moment and one place";
}

TEST(EntryChartInfo, LocalSiderealTime) {
  // 14 March 1879 11:30 at +00:40 is 10:50 UT; mean sidereal time at Greenwich then (IAU 1982
  // formula) 22h16m43.2s, plus 10 degrees east (40 minutes): 22h56m43.2s; the equation of the
  // equinoxes stays within 1.2 s.
  Chart chart;
  chart.definition.sources[0] = MakeSource("A", 14, 3, 1879, 11, 30, 40, 10);
  EXPECT_NEAR(LocalSiderealHours(chart), 22.0 + 56.0 / 60.0 + 43.2 / 3600.0, 1.5 / 3600.0);
  // 1 January 2000 12:00 UT at Greenwich: 18h41m50.5s mean, 18h41m49.7s apparent.
  chart.definition.sources[0] = MakeSource("B", 1, 1, 2000, 12, 0, 0, 0);
  EXPECT_NEAR(LocalSiderealHours(chart), 18.0 + 41.0 / 60.0 + 49.7 / 3600.0, 1.0 / 3600.0);
}

}  // namespace
