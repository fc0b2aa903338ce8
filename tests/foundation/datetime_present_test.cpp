// The present moment from a clock reading: the local date and time and the zone of the reading.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "foundation/datetime/present_moment.h"

namespace {

struct PresentRow {
  const char* name;
  std::int64_t unixSeconds;
  std::int32_t zoneSeconds;
  int day, month, year, hours, minutes, seconds;
  char zoneSign;
  int zoneHours, zoneMinutes;
};

// 1700000000 s after the epoch is 14 November 2023, 22:13:20 UT (19675 days and 80000 s).
const PresentRow kRows[] = {
    {"epoch", 0, 0, 1, 1, 1970, 0, 0, 0, '+', 0, 0},
    {"moscow_next_day", 1700000000, 3 * 3600, 15, 11, 2023, 1, 13, 20, '+', 3, 0},
    {"new_york", 1700000000, -5 * 3600, 14, 11, 2023, 17, 13, 20, '-', 5, 0},
    {"kathmandu_quarter_hour", 1700000000, 5 * 3600 + 45 * 60, 15, 11, 2023, 3, 58, 20, '+', 5, 45},
    {"before_the_epoch", -86400 - 1, 0, 30, 12, 1969, 23, 59, 59, '+', 0, 0},
    {"leap_day", 1709164800, 0, 29, 2, 2024, 0, 0, 0, '+', 0, 0},  // 19782 days
};

TEST(PresentMoment, LocalDateTimeAndZoneOfTheReading) {
  for (const PresentRow& r : kRows) {
    SCOPED_TRACE(r.name);
    Source source;
    source.SetName("kept");
    ASSERT_TRUE(source.place.SetPlace(55, 45, 'N', 37, 37, 'E', "town", "region").ok());
    const Place place = source.place;
    ASSERT_TRUE(SetSourceToPresent(source, {r.unixSeconds, r.zoneSeconds}).ok());
    const FDate& date = source.moment.date;
    const FTime& time = source.moment.time;
    EXPECT_EQ(date.Day(), r.day);
    EXPECT_EQ(date.Month(), r.month);
    EXPECT_EQ(date.Year(), r.year);
    EXPECT_EQ(date.Era(), 'A');
    EXPECT_EQ(time.Hours(), r.hours);
    EXPECT_EQ(time.Minutes(), r.minutes);
    EXPECT_EQ(time.Seconds(), r.seconds);
    EXPECT_EQ(source.zone.Sign(), r.zoneSign);
    EXPECT_EQ(source.zone.Hours(), r.zoneHours);
    EXPECT_EQ(source.zone.Minutes(), r.zoneMinutes);
    EXPECT_EQ(source.Name(), "kept");
    EXPECT_EQ(source.place, place);
    // The instant itself comes back: local day minus the zone.
    EXPECT_NEAR(UniversalJulianDay(source), 2440587.5 + r.unixSeconds / 86400.0, 0.5 / 86400.0);
  }
}

TEST(PresentMoment, AZoneOfADayOrMoreIsRefusedAndTheSourceKept) {
  Source source;
  const Source before = source;
  for (const std::int32_t zone : {86400, -86400, INT32_MIN}) {
    EXPECT_EQ(SetSourceToPresent(source, {1700000000, zone}).ErrorCode(), kErrParameter) << zone;
    EXPECT_EQ(source, before) << zone;
  }
}

// The system clock's zone is the process's zone (TZ), summer time included.
TEST(PresentMoment, TheSystemClockReadsTheLocalZone) {
  const char* old = std::getenv("TZ");
  const std::optional<std::string> saved =
      old != nullptr ? std::optional<std::string>(old) : std::nullopt;
  const struct {
    const char* tz;  // POSIX form: the offset west of Greenwich
    std::int32_t seconds;
  } zones[] = {{"UTC0", 0}, {"XST-5:30", 5 * 3600 + 30 * 60}, {"YST7", -7 * 3600}};
  for (const auto& z : zones) {
    setenv("TZ", z.tz, 1);
    tzset();
    EXPECT_EQ(ReadSystemClock().zoneOffsetSeconds, z.seconds) << z.tz;
  }
  if (saved)
    setenv("TZ", saved->c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
  // Any reading lies after this code was written (2023).
  EXPECT_GT(ReadSystemClock().unixSeconds, 1700000000);
}

}  // namespace
