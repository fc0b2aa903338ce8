// Coordinates, the angles of a place, longitude arithmetic and the quick Sun formula.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "astro/ephemeris/chart_routines.h"
#include "astro/ephemeris/coordinates.h"
#include "astro/ephemeris/longitudes.h"
#include "ephemeris_reference.h"
#include "support/test_support.h"

namespace {

double DegBetween(double a, double b) { return ArcsecBetween(a, b) / 3600.0; }

struct EclipticCase {
  const char* name;
  double lon, lat, eps, ra, dec;
};
// By hand (the solstice and equinox points) and Meeus, example 13.a (Pollux).
const EclipticCase kEcliptic[] = {
    {"vernal_point", 0.0, 0.0, 23.44, 0.0, 0.0},
    {"summer_solstice", 90.0, 0.0, 23.44, 90.0, 23.44},
    {"autumn_point", 180.0, 0.0, 23.44, 180.0, 0.0},
    {"winter_solstice", 270.0, 0.0, 23.44, 270.0, -23.44},
    {"ecliptic_pole", 0.0, 90.0, 23.44, 270.0, 66.56},
    {"pollux", 113.215630, 6.684170, 23.4392911, 116.328942, 28.026183},
};

TEST(EphemerisCoordinates, EclipticToEquatorialAndBack) {
  for (const EclipticCase& c : kEcliptic) {
    const Equatorial q = EclipticToEquatorial(c.lon, c.lat, c.eps);
    EXPECT_LT(DegBetween(q.rightAscension, c.ra), 1e-5) << c.name;
    EXPECT_NEAR(q.declination, c.dec, 1e-5) << c.name;
    if (std::fabs(c.lat) < 89.0) {
      const Ecliptic e = EquatorialToEcliptic(q.rightAscension, q.declination, c.eps);
      EXPECT_LT(DegBetween(e.longitude, c.lon), 1e-9) << c.name;
      EXPECT_NEAR(e.latitude, c.lat, 1e-9) << c.name;
    }
  }
}

struct DistanceCase {
  const char* name;
  double l1, b1, l2, b2, distance;
};
const DistanceCase kDistances[] = {
    {"quarter_of_equator", 0.0, 0.0, 90.0, 0.0, 90.0},
    {"pole_to_pole", 10.0, 90.0, 123.0, -90.0, 180.0},
    {"same_point", 45.0, 10.0, 45.0, 10.0, 0.0},
    {"across_zero", 359.5, 0.0, 0.5, 0.0, 1.0},
    {"arcturus_spica", 213.9154, 19.1825, 201.2983, -11.1614, 32.7930},  // Meeus 17.a
};

TEST(EphemerisCoordinates, AngularDistanceOfKnownPairs) {
  for (const DistanceCase& c : kDistances)
    EXPECT_NEAR(AngularDistance(c.l1, c.b1, c.l2, c.b2), c.distance, 1e-4) << c.name;
}

struct HouseRow {
  std::string id, variant;
  double jdUt, lat, lon, armc, eps, asc, mc;
};

std::vector<HouseRow> LoadHouseRows() {
  std::ifstream in(testing_support::ReferencePath("houses.tsv"));
  std::vector<HouseRow> rows;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> c;
    std::istringstream fields(line);
    for (std::string cell; std::getline(fields, cell, '\t');) c.push_back(cell);
    if (c.size() < 24 || c[6] != "P") continue;  // one system is enough: the angles repeat
    rows.push_back(HouseRow{c[0], c[8], std::stod(c[1]), std::stod(c[2]), std::stod(c[3]),
                            std::stod(c[4]), std::stod(c[5]), std::stod(c[22]), std::stod(c[23])});
  }
  return rows;
}

TEST(EphemerisCoordinates, AnglesFromRamcMatchTheReference) {
  const std::vector<HouseRow> rows = LoadHouseRows();
  ASSERT_GT(rows.size(), 20u);
  for (const HouseRow& r : rows) {
    const std::array<double, 4> a = AnglesFromRamc(r.armc, r.lat, r.eps);
    EXPECT_LT(ArcsecBetween(a[0], r.asc), 0.01) << r.id << " " << r.variant;
    EXPECT_LT(ArcsecBetween(a[3], r.mc), 0.01) << r.id << " " << r.variant;
    EXPECT_LT(ArcsecBetween(a[2], r.asc + 180.0), 0.01) << r.id;
    EXPECT_LT(ArcsecBetween(a[1], r.mc + 180.0), 0.01) << r.id;
  }
}

TEST(EphemerisCoordinates, CalcAnglesUsesTheSiderealTimeOfTheMoment) {
  // The reference RAMC of the "normal" rows is the apparent sidereal time of the moment plus
  // the east longitude: CalcAngles from the day and the hours must find the same angles. The
  // sidereal time depends a little on TT (0.04" per second of Delta T), so only the years where
  // the Delta T models agree are compared.
  int checked = 0;
  for (const HouseRow& r : LoadHouseRows()) {
    const double year = ReferenceYear(r.jdUt);
    if (r.variant != "normal" || std::fabs(r.lat) > 60.0 || year < 1955.0 || year > 2023.0)
      continue;
    const double midnight = std::floor(r.jdUt - 0.5) + 0.5;
    std::array<double, 4> a{};
    CalcAngles(midnight, (r.jdUt - midnight) * 24.0, r.lon, r.lat, a);
    EXPECT_LT(ArcsecBetween(a[3], r.mc), 0.5) << r.id;
    EXPECT_LT(ArcsecBetween(a[0], r.asc), 0.5) << r.id;
    ++checked;
  }
  EXPECT_GE(checked, 5);
}

TEST(EphemerisCoordinates, CalcAnglesStaysDefinedAtThePoles) {
  for (double lat : {90.0, -90.0, 89.99999}) {
    std::array<double, 4> a{};
    CalcAngles(2451545.0, 6.0, 0.0, lat, a);
    for (double angle : a) EXPECT_TRUE(std::isfinite(angle)) << lat;
  }
}

TEST(EphemerisCoordinates, HorizonAndMeridianOfTheAngles) {
  // The ascendant rises in the east on the horizon; the MC culminates due south north of the
  // tropics (and due north south of them).
  const double jd = 2460000.5, ut = 9.25, lon = 37.6, lat = 55.75;
  std::array<double, 4> a{};
  CalcAngles(jd, ut, lon, lat, a);
  const JdUt moment{jd + ut / 24.0};
  const Horizontal asc = EclipticToHorizontal(a[0], 0.0, moment, lon, lat);
  EXPECT_NEAR(asc.altitude, 0.0, 1e-6);
  EXPECT_GT(asc.azimuth, 0.0);
  EXPECT_LT(asc.azimuth, 180.0);
  const Horizontal mc = EclipticToHorizontal(a[3], 0.0, moment, lon, lat);
  EXPECT_NEAR(mc.azimuth, 180.0, 1e-6);
  std::array<double, 4> south{};
  CalcAngles(jd, ut, lon, -40.0, south);
  EXPECT_LT(DegBetween(EclipticToHorizontal(south[3], 0.0, moment, lon, -40.0).azimuth, 0.0), 1e-6);
}

TEST(EphemerisCoordinates, RisingLatitudePutsTheBodyOnTheHorizon) {
  const double jd = 2451545.5, ut = 3.0;
  const struct {
    double lon, bodyLon, bodyLat;
  } cases[] = {{0.0, 100.0, 5.0}, {-75.0, 200.0, -3.0}, {140.0, 15.0, 0.0}, {10.0, 280.0, 1.5}};
  for (const auto& c : cases) {
    const double lat = RisingLatitudeIterate(jd, ut, c.lon, 0.0, c.bodyLon, c.bodyLat, 1);
    ASSERT_GE(lat, -90.0);
    ASSERT_LE(lat, 90.0);
    const Horizontal h =
        EclipticToHorizontal(c.bodyLon, c.bodyLat, JdUt{jd + ut / 24.0}, c.lon, lat);
    EXPECT_NEAR(h.altitude, 0.0, 1e-6) << c.bodyLon;
  }
  EXPECT_EQ(RisingLatitudeIterate(jd, ut, 0.0, 0.0, kAbsent, 0.0, 1), kAbsent);
}

TEST(EphemerisCoordinates, AnnualPrecessionOfStars) {
  // Rates at J2000 (T = 1 from 1900): m = 4612.1604"/cy, n = 2004.1919"/cy.
  const struct {
    double ra, dec, raSeconds, decArcsec;
  } cases[] = {{0.0, 0.0, 3.074774, 20.041919},
               {6.0, 0.0, 3.074774, 0.0},
               {6.0, 45.0, 4.410902, 0.0},
               {12.0, -30.0, 3.074774, -20.041919}};
  for (const auto& c : cases) {
    const AnnualPrecession p = StarPrecession(1.0, c.ra, c.dec);
    EXPECT_NEAR(p.rightAscensionSeconds, c.raSeconds, 1e-5) << c.ra << " " << c.dec;
    EXPECT_NEAR(p.declinationArcsec, c.decArcsec, 1e-5) << c.ra << " " << c.dec;
  }
}

struct LongitudeCase {
  const char* name;
  double got, expected;
};

TEST(EphemerisLongitudes, MidpointsShiftsAndInterpolation) {
  const LongitudeCase cases[] = {
      {"midpoint_plain", MidpointLongitude(100.0, 200.0), 150.0},
      {"midpoint_across_zero", MidpointLongitude(350.0, 10.0), 0.0},
      {"midpoint_order_free", MidpointLongitude(10.0, 350.0), 0.0},
      {"midpoint_shorter_arc", MidpointLongitude(30.0, 300.0), 345.0},
      {"midpoint_opposite", MidpointLongitude(0.0, 180.0), 90.0},
      {"midpoint_absent", MidpointLongitude(kAbsent, 10.0), kAbsent},
      {"shift_wraps", ShiftLongitude(350.0, 20.0), 10.0},
      {"shift_negative_offset", ShiftLongitude(10.0, -20.0), 350.0},
      {"shift_absent", ShiftLongitude(kAbsent, 20.0), kAbsent},
      {"shift_by_absent", ShiftLongitude(20.0, kAbsent), kAbsent},
      {"shift_back_wraps", ShiftLongitudeBack(10.0, 20.0), 350.0},
      {"shift_back_absent", ShiftLongitudeBack(kAbsent, 1.0), kAbsent},
      // A sum of exactly -777 is an angle (-777 = 303 - 3 x 360), not the absent value.
      {"shift_sum_minus_777", ShiftLongitude(3.0, -780.0), 303.0},
      {"shift_back_difference_minus_777", ShiftLongitudeBack(0.0, 777.0), 303.0},
      {"interpolate_across_zero", InterpolateLongitude(350.0, 10.0, 0.0, 1.0, 0.5), 0.0},
      {"interpolate_backwards", InterpolateLongitude(10.0, 350.0, 0.0, 2.0, 1.0), 0.0},
      {"interpolate_end", InterpolateLongitude(350.0, 10.0, 0.0, 1.0, 1.0), 10.0},
      {"interpolate_same_times", InterpolateLongitude(20.0, 30.0, 5.0, 5.0, 5.0), 20.0},
      {"interpolate_absent", InterpolateLongitude(kAbsent, 10.0, 0.0, 1.0, 0.5), kAbsent},
  };
  for (const LongitudeCase& c : cases) EXPECT_NEAR(c.got, c.expected, 1e-9) << c.name;
}

TEST(EphemerisRoutines, QuickSunFormulaAtTheEpoch) {
  // T = 0 by hand: L = 279.69668, M = 358.47583, C = -0.0521470, e = 0.01675104.
  double radius = 0.0, apparent = 0.0;
  const double trueLongitude = SunApparentLongitude(0.0, radius, apparent);
  EXPECT_NEAR(trueLongitude, 279.644533, 1e-6);
  EXPECT_NEAR(radius, 0.9832553, 1e-7);
  EXPECT_NEAR(apparent, 279.643548, 1e-6);
  const SunAtDateResult s = SunAtDate(1899, 12, 31, 12.0);
  EXPECT_DOUBLE_EQ(s.julianDay, 2415020.0);
  EXPECT_DOUBLE_EQ(s.julianCenturies1900, 0.0);
  EXPECT_NEAR(s.sun.meanAnomaly, 358.47583, 1e-9);
}

TEST(EphemerisRoutines, BodyLongitudeAtMomentAddsTheOffset) {
  Ephemeris noTables;        // the theories serve
  const JdUt ut{2451545.0};  // the reference row of J2000 (TT = UT + 63.8 s)
  const double sun = GetBodyLongitudeAtMoment(noTables, 0, ut, 0.0);
  EXPECT_NEAR(sun, 280.368919, 2e-4);  // the reference row of J2000
  EXPECT_NEAR(GetBodyLongitudeAtMoment(noTables, 0, ut, 30.0), sun + 30.0, 1e-9);
  EXPECT_NEAR(GetBodyLongitudeAtMoment(noTables, 0, ut, 120.0), sun + 120.0 - 360.0, 1e-9);
  EXPECT_EQ(GetBodyLongitudeAtMoment(noTables, 30, ut, 0.0), kAbsent);
  EXPECT_EQ(GetBodyLongitudeAtMoment(noTables, -1, ut, 0.0), kAbsent);
  EXPECT_EQ(AnalyticPlanetPosition(1, 1.0), kAbsent);
  // Chiron is not known in 500, and is in 1550.
  EXPECT_EQ(GetBodyLongitudeAtMoment(noTables, 10, JdUt{1903682.5}, 0.0), kAbsent);
  EXPECT_NE(GetBodyLongitudeAtMoment(noTables, 10, JdUt{2287184.5}, 0.0), kAbsent);
}

}  // namespace
