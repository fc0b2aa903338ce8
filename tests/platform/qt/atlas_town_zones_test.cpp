// The zones of towns of the shipped atlas that GeoNames puts in a neighbouring zone, read from
// the system's tz database as the entry dialogs read them: each town found by its name through
// the town list, at a date where its own zone and the neighbour's keep different clocks.
#include <gtest/gtest.h>

#include <string>

#include "foundation/atlas/town_search.h"
#include "foundation/text/cp1251.h"
#include "platform/qt/qt_time_zones.h"
#include "support/test_support.h"

namespace {

struct ZoneRow {
  const char* listed;  // as the town list shows it (UTF-8)
  int day, month, year;
  int minutes;  // east of Greenwich, at 12:00 local time
};

// Whether the row's town, found by its name through the town list, takes the row's zone; its
// place, the moment and the zone in `source`.
testing::AssertionResult TakesItsZone(const TOWNS& towns, const ZoneRow& r, Source& source) {
  const std::string text = Cp1251(r.listed);
  int town = -1;
  for (const TownListRow& row : ListTowns(towns, text.substr(0, text.find(','))))
    if (row.text == text) town = row.town;
  if (town < 0 || !PlaceOfTown(towns, town, source.place)) return testing::AssertionFailure();
  if (!source.moment.date.SetDate(r.day, r.month, r.year).ok() ||
      !source.moment.time.SetTime(12, 0).ok() ||
      ZoneOfTownAt(towns, town, source.moment, source.zone) != TownZone::AtMoment)
    return testing::AssertionFailure() << "no zone at the moment";
  const FTimeCor& zone = source.zone;
  const int minutes = (zone.Sign() == '-' ? -1 : 1) * (zone.Hours() * 60 + zone.Minutes());
  if (minutes == r.minutes && zone.Seconds() == 0) return testing::AssertionSuccess();
  return testing::AssertionFailure() << minutes << " min " << zone.Seconds() << " s";
}

TEST(ShippedAtlasZones, TownsTakeTheZoneTheirBoundariesGive) {
  TOWNS towns;
  ASSERT_TRUE(towns.Load(testing_support::SourceDir() / "data").ok());
  platform::QtTimeZoneDatabase database;
  platform::SetTimeZoneDatabase(&database);
  // The towns' own zones (GeoNames' zone in the comment).
  const ZoneRow rows[] = {
      {"Чжаньцзян, Китай", 15, 7, 2000, 8 * 60},         // Asia/Urumqi +06:00
      {"Ханой, Вьетнам", 15, 7, 1965, 7 * 60},           // Asia/Ho_Chi_Minh +08:00
      {"Хайфон, Вьетнам", 15, 7, 1965, 7 * 60},          // Asia/Ho_Chi_Minh +08:00
      {"Сьюдад-Хуарес, Мексика", 15, 1, 2024, -7 * 60},  // America/Ojinaga -06:00
      {"Севастополь, Украина", 15, 1, 2020, 3 * 60},     // Europe/Zaporozhye +02:00
      {"Shchyolkino, Украина", 15, 1, 2020, 3 * 60},     // Europe/Zaporozhye +02:00
      {"Леви, Канада", 15, 1, 2000, -5 * 60},            // America/Blanc-Sablon -04:00
      {"Хандыга, Россия", 15, 1, 2020, 9 * 60},          // Asia/Vladivostok +10:00
      {"Среднеколымск, Россия", 15, 1, 2015, 11 * 60},   // Asia/Magadan +10:00
      {"Зырянка, Россия", 15, 1, 2015, 11 * 60},         // Asia/Magadan +10:00
      {"Черский, Россия", 15, 1, 2015, 11 * 60},         // Asia/Magadan +10:00
      {"Уст-Нера, Россия", 15, 1, 2020, 10 * 60},        // Asia/Magadan +11:00
      {"Киев, Украина", 15, 1, 1985, 3 * 60},            // agreed: Europe/Kiev, now Kyiv
      // Near a state's border, where GeoNames gives the neighbouring state's zone.
      {"Araguaiana, Бразилия", 15, 7, 2020, -4 * 60},                // America/Sao_Paulo -03:00
      {"Nhamunda, Бразилия", 15, 7, 2010, -4 * 60},                  // America/Santarem -03:00
      {"Pedras de Fogo, Бразилия", 15, 10, 2000, -2 * 60},           // America/Recife -03:00
      {"Porto Franco, Бразилия", 15, 1, 2013, -3 * 60},              // America/Araguaina -02:00
      {"Poco Verde, Бразилия", 15, 1, 2012, -3 * 60},                // America/Bahia -02:00
      {"Santa Maria da Boa Vista, Бразилия", 15, 1, 2012, -3 * 60},  // America/Bahia -02:00
      {"Sao Geraldo do Araguaia, Бразилия", 15, 1, 2013, -3 * 60},   // America/Araguaina -02:00
      {"Yarrawonga, Австралия", 15, 3, 1995, 11 * 60},               // Australia/Sydney +10:00
      {"Robinvale, Австралия", 15, 3, 1995, 11 * 60},                // Australia/Sydney +10:00
      {"Paralimni, Кипр", 15, 1, 2017, 2 * 60},                      // Asia/Famagusta +03:00
      {"Deryneia, Кипр", 15, 1, 2017, 2 * 60},                       // Asia/Famagusta +03:00
      {"Avgorou, Кипр", 15, 1, 2017, 2 * 60},                        // Asia/Famagusta +03:00
      {"Frenaros, Кипр", 15, 1, 2017, 2 * 60},                       // Asia/Famagusta +03:00
      {"Lefka, Кипр", 15, 1, 2017, 3 * 60},                          // Asia/Nicosia +02:00
      // GeoNames puts the town of Assam in Myanmar: its country's zone, not Asia/Yangon +06:30.
      {"Sarupathar, Индия", 15, 1, 2020, 5 * 60 + 30},
  };
  for (const ZoneRow& r : rows) {
    Source source;
    EXPECT_TRUE(TakesItsZone(towns, r, source)) << r.listed;
  }

  // A tz database older than the atlas (no Kyiv, Ciudad_Juarez, Coyhaique, Nuuk: the system's
  // with those names refused) still gives those towns their zone at the moment, under the zone's
  // older name or the one it split from, and the zone's name in a chart's header (at dates where
  // the atlas's standard zone of today differs).
  struct OldNames final : platform::TimeZoneDatabase {
    platform::QtTimeZoneDatabase system;
    static bool New(std::string_view zone) {
      return zone == "Europe/Kyiv" || zone == "America/Ciudad_Juarez" ||
             zone == "America/Coyhaique" || zone == "America/Nuuk";
    }
    std::optional<int> OffsetAtUtc(std::string_view zone, std::int64_t utc) const override {
      return New(zone) ? std::nullopt : system.OffsetAtUtc(zone, utc);
    }
    std::optional<std::string> AbbreviationAtUtc(std::string_view zone,
                                                 std::int64_t utc) const override {
      return New(zone) ? std::nullopt : system.AbbreviationAtUtc(zone, utc);
    }
  } old;
  platform::SetTimeZoneDatabase(&old);
  const ZoneRow renamed[] = {
      {"Киев, Украина", 15, 7, 1985, 4 * 60},
      {"Сьюдад-Хуарес, Мексика", 15, 7, 2015, -6 * 60},
      {"Койайке, Чили", 15, 7, 2000, -4 * 60},
      {"Нуук, Гренландия", 15, 1, 2000, -3 * 60},
  };
  for (const ZoneRow& r : renamed) {
    Source source;
    EXPECT_TRUE(TakesItsZone(towns, r, source)) << r.listed;
    if (r.year == 1985) {
      EXPECT_EQ(TownZoneAbbreviation(towns, source), "MSD");
    }
  }
  platform::SetTimeZoneDatabase(nullptr);
}

}  // namespace
