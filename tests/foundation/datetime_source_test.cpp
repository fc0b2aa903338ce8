#include <gtest/gtest.h>

#include <string>

#include "foundation/datetime/place.h"
#include "foundation/datetime/source.h"
#include "foundation/datetime/super_source.h"
#include "foundation/messages/message_numbers.h"

namespace {

TEST(DatesPlace, SetPlaceChecksAndFormats) {
  struct Row {
    const char* name;
    int latDeg, latMin;
    char latLetter;
    int lonDeg, lonMin;
    char lonLetter;
    bool ok;
    const char* coordText;
    double lat, lon;
  };
  const Row rows[] = {
      {"moscow", 55, 45, 'N', 37, 37, 'E', true, "55N45 037E37", 55.75, 37 + 37 / 60.0},
      {"sydney", 33, 52, 'S', 151, 12, 'E', true, "33S52 151E12", -(33 + 52 / 60.0), 151.2},
      {"lima_lower_case", 12, 3, 's', 77, 3, 'w', true, "12S03 077W03", -12.05, -77.05},
      {"pole", 90, 0, 'N', 180, 0, 'W', true, "90N00 180W00", 90.0, -180.0},
      {"beyond_pole", 90, 1, 'N', 0, 0, 'E', false, "", 0, 0},
      {"lon_beyond_180", 0, 0, 'N', 180, 1, 'E', false, "", 0, 0},
      {"minutes_60", 10, 60, 'N', 0, 0, 'E', false, "", 0, 0},
      {"bad_lat_letter", 10, 0, 'E', 0, 0, 'E', false, "", 0, 0},
      {"bad_lon_letter", 10, 0, 'N', 0, 0, 'N', false, "", 0, 0},
  };
  for (const Row& r : rows) {
    Place place;
    ASSERT_TRUE(place.SetPlace(1, 2, 'N', 3, 4, 'E', "Town", "Region").ok());
    const Status st = place.SetPlace(r.latDeg, r.latMin, r.latLetter, r.lonDeg, r.lonMin,
                                     r.lonLetter, "New town", "New region");
    EXPECT_EQ(st.ok(), r.ok) << r.name;
    if (r.ok) {
      EXPECT_EQ(place.CoordText(), r.coordText) << r.name;
      EXPECT_DOUBLE_EQ(place.LatitudeDeg(), r.lat) << r.name;
      EXPECT_DOUBLE_EQ(place.EastLongitudeDeg(), r.lon) << r.name;
      EXPECT_EQ(place.Town(), "New town");
    } else {
      EXPECT_EQ(st.MessageNumber(), kMsgBadCoordinate) << r.name;
      EXPECT_EQ(place.CoordText(), "01N02 003E04") << r.name << ": a refusal changes nothing";
      EXPECT_EQ(place.Town(), "Town");
    }
  }
}

TEST(DatesPlace, DefaultsNamesAndFormats) {
  Place place;
  EXPECT_EQ(place.CoordText(), "00N00 000E00");
  place.SetNames(std::string(40, 'a'), "Region");
  EXPECT_EQ(place.Town(), std::string(25, 'a'));  // a field of 26 with its NUL
  Source source;
  source.SetName(std::string(50, 'x'));
  EXPECT_EQ(source.Name().size(), 34u);

  EXPECT_EQ(FormatLatLongByLetter(5, 7, 's', 'T'), "05S07");
  EXPECT_EQ(FormatLatLongByLetter(5, 7, 'w', 'N'), "005W07");
  EXPECT_DOUBLE_EQ(SignedDegrees(10, 30, 'W'), -10.5);
  EXPECT_DOUBLE_EQ(SignedDegrees(10, 30, 'N'), 10.5);
}

Source MakeSource(int day, int month, int year, int hours, int minutes, int zoneHours, char sign) {
  Source s;
  s.SetName("Test");
  EXPECT_TRUE(s.moment.date.SetDate(day, month, year).ok());
  EXPECT_TRUE(s.moment.time.SetTime(hours, minutes).ok());
  EXPECT_TRUE(s.zone.SetTime(zoneHours, 0, sign).ok());
  EXPECT_TRUE(s.place.SetPlace(55, 45, 'N', 37, 37, 'E', "Moscow", "Russia").ok());
  return s;
}

TEST(DatesSource, UniversalTimeIsDerivedNotStored) {
  const Source s = MakeSource(1, 1, 2000, 3, 0, 3, '+');
  EXPECT_DOUBLE_EQ(UniversalJulianDay(s), 2451544.5);
  EXPECT_EQ(s.moment.time.Hours(), 3);
  EXPECT_DOUBLE_EQ(UniversalJulianDay(MakeSource(31, 12, 1999, 19, 0, 5, '-')), 2451544.5);
}

TEST(DatesSource, ConvertToZoneOfKeepsTheInstant) {
  Source s = MakeSource(1, 1, 2000, 3, 0, 3, '+');
  const Source newYork = MakeSource(5, 5, 1990, 12, 0, 5, '-');
  ASSERT_TRUE(s.ConvertToZoneOf(newYork).ok());
  EXPECT_EQ(s.moment.ToText(), "31:12:1999  19:00");
  EXPECT_EQ(s.zone.ToText(), "-05:00");
  EXPECT_EQ(s.Name(), "Test");
  EXPECT_EQ(s.place.Town(), "Moscow");
  EXPECT_DOUBLE_EQ(UniversalJulianDay(s), 2451544.5);
}

TEST(DatesSource, SetUniversalTimeAndAssignMoment) {
  Source s = MakeSource(1, 1, 2000, 3, 0, 3, '+');
  ASSERT_TRUE(s.SetUniversalTime(2451545.0).ok());
  EXPECT_EQ(s.moment.ToText(), "01:01:2000  12:00");
  EXPECT_EQ(s.zone.ToText(), "+00:00");
  EXPECT_EQ(s.place.Town(), "Moscow");
  EXPECT_EQ(s.SetUniversalTime(1e12).ErrorCode(), kErrParameter);
  EXPECT_EQ(s.moment.ToText(), "01:01:2000  12:00");

  Source t = MakeSource(1, 1, 2000, 3, 0, 3, '+');
  Moment m;
  ASSERT_TRUE(m.SetMoment(2299160.5).ok());
  t.AssignMoment(m);
  EXPECT_EQ(t.moment.ToText(), "15:10:1582  00:00");
  EXPECT_EQ(t.zone.ToText(), "+03:00");
  EXPECT_EQ(t.Name(), "Test");
}

TEST(DatesSource, InterpolateUsesUniversalTime) {
  // a: 2 January 03:00 at +03 is 2 January 0h UT; b: 31 December 19:00 at -05 is 1 January 0h UT.
  Source a = MakeSource(2, 1, 2000, 3, 0, 3, '+');
  a.SetName("A");
  const Source b = MakeSource(31, 12, 1999, 19, 0, 5, '-');
  Source target;
  ASSERT_TRUE(InterpolateSource(target, a, b, 0.5).ok());
  EXPECT_EQ(target.moment.ToText(), "01:01:2000  12:00");
  EXPECT_EQ(target.zone.ToText(), "+00:00");
  EXPECT_EQ(target.Name(), "A");
  EXPECT_EQ(target.place.Town(), "Moscow");
  ASSERT_TRUE(InterpolateSource(target, a, b, 0.0).ok());
  EXPECT_EQ(target.moment.ToText(), "01:01:2000  00:00");
}

TEST(DatesSuperSource, KindSetsBaseAndCountingSource) {
  struct Row {
    std::uint16_t kind;
    int base;
    int count;
  };
  const Row rows[] = {
      {0, 0, 0}, {1, 1, 1}, {2, 0, 0}, {3, 1, 2}, {4, 1, 2},  {5, 1, 0},
      {6, 1, 1}, {7, 0, 0}, {8, 1, 1}, {9, 1, 1}, {11, 0, 0},
  };
  for (const Row& r : rows) {
    SuperSource def;
    def.SetKind(r.kind);
    EXPECT_EQ(def.Kind(), r.kind);
    EXPECT_EQ(def.BaseSourceIndex(), r.base) << r.kind;
    EXPECT_EQ(def.GetBaseSource(), &def.sources[r.base]) << r.kind;
    EXPECT_EQ(def.GetCountSrcIndex(), r.count) << r.kind;
    EXPECT_EQ(&def.GetCountSrc(), &def.sources[r.count]) << r.kind;
  }
}

TEST(DatesSuperSource, CopiesKeepTheirOwnBaseAndClearing) {
  SuperSource def;
  def.SetKind(kChartTransit);
  def.sources[1].SetName("Base");
  const SuperSource copy = def;
  ASSERT_NE(copy.GetBaseSource(), nullptr);
  EXPECT_EQ(copy.GetBaseSource(), &copy.sources[1]);
  EXPECT_EQ(copy.GetBaseSource()->Name(), "Base");

  def.ClearBaseSource();
  EXPECT_EQ(def.GetBaseSource(), nullptr);
  EXPECT_EQ(def.BaseSourceIndex(), SuperSource::kNoBaseSource);
  EXPECT_EQ(copy.BaseSourceIndex(), 1);
}

}  // namespace
