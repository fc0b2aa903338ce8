// The zone's name in a chart's header is the tz database's for the chart's atlas town at the
// chart's instant; a zone that no town gives is shown as the offset alone.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <string>

#include "astro/chart/chart_header.h"
#include "foundation/atlas/town_search.h"
#include "foundation/text/cp1251.h"
#include "platform/qt/page_output.h"
#include "platform/qt/qt_time_zones.h"
#include "support/test_support.h"

namespace {

// The town of that name whose tz zone is `zone`.
int TownIn(const TOWNS& towns, const char* name, std::string_view zone) {
  for (const TownListRow& row : ListTowns(towns, Cp1251(name)))
    if (towns.GetTownName(row.town) == Cp1251(name) && towns.GetTownZoneName(row.town) == zone)
      return row.town;
  return -1;
}

TEST(ChartHeaderZone, TheDatabaseNamesTheZoneOfTheChartsTown) {
  ASSERT_TRUE(GetTowns().Load(testing_support::SourceDir() / "data").ok());
  platform::QtTimeZoneDatabase database;
  platform::SetTimeZoneDatabase(&database);
  const struct {
    const char* town;  // empty: a place no town of the atlas is
    const char* zoneId;
    int year;            // 15 July, 12:00
    int hours, minutes;  // the chart's zone, east
    const char* shown;
  } rows[] = {
      {"Киев", "Europe/Kyiv", 2020, 3, 0, "+03:00 EEST"},
      {"Киев", "Europe/Kyiv", 1985, 4, 0, "+04:00 MSD"},
      {"Лондон", "Europe/London", 2020, 1, 0, "+01:00 BST"},
      {"Нью-Йорк", "America/New_York", 2020, -4, 0, "-04:00 EDT"},
      {"Окленд", "Pacific/Auckland", 2020, 12, 0, "+12:00 NZST"},
      {"Москва", "Europe/Moscow", 1900, 2, 30, "+02:30:17 MMT"},  // local mean time
      // A zone other than the town's then, one without letters, one typed for no town: none.
      {"Киев", "Europe/Kyiv", 2020, 2, 0, "+02:00"},
      {"Дубай", "Asia/Dubai", 2020, 4, 0, "+04:00"},
      {"", "", 2020, 3, 0, "+03:00"},
  };
  Chart kyiv1985;
  for (const auto& r : rows) {
    SCOPED_TRACE(r.shown);
    Chart chart;
    Source& s = chart.definition.sources[0];
    const int town = *r.town != '\0' ? TownIn(GetTowns(), r.town, r.zoneId) : -1;
    ASSERT_EQ(town >= 0, *r.town != '\0');
    ASSERT_TRUE(town >= 0 ? PlaceOfTown(GetTowns(), town, s.place)
                          : s.place.SetPlace(50, 27, 'N', 30, 31, 'E', Cp1251("Дача"), "").ok());
    ASSERT_TRUE(s.moment.date.SetDate(15, 7, r.year).ok());
    ASSERT_TRUE(s.moment.time.SetTime(12, 0).ok());
    const char sign = r.hours < 0 ? '-' : '+';
    ASSERT_TRUE(s.zone.SetTime(std::abs(r.hours), r.minutes, r.year == 1900 ? 17 : 0, sign).ok());
    const std::string day = "15:07:" + std::to_string(r.year);
    EXPECT_EQ(ChartHeaderLines(chart, true)[1], day + Cp1251(" н.э.  12:00  ") + r.shown);
    if (r.year == 1985) kyiv1985 = chart;
  }
  // For a person to look at: the header of the Kyiv chart of 1985.
  const QImage header = platform::RenderPageImage(1, 150, [&kyiv1985](platform::Dc& dc, int) {
    DrawChartHeader(kyiv1985, dc, 500, -500, 0, false);
  });
  testing_support::TempFolder folder;
  ASSERT_TRUE(
      header.copy(0, 0, 620, 200).save(QString::fromStdString((folder / "kyiv.png").string())));
  testing_support::ShowToPerson(folder / "kyiv.png", "chart_header_zone_name");
  platform::SetTimeZoneDatabase(nullptr);
}

}  // namespace
