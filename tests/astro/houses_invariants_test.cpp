// House cusps everywhere on the globe: never NaN, in order round the circle, Porphyry inside the
// polar circles for the systems that cannot be cast there, and the inputs that are refused.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "astro/houses/angles.h"
#include "astro/houses/houses.h"

namespace {

constexpr double kObliquity = 23.44;

std::vector<int> AllCodes() {
  std::vector<int> codes;
  for (int code = 0; code < kHouseSystemCount; ++code) codes.push_back(code);
  for (int code : {100, 101, 102, 105, 106, 107}) codes.push_back(code);
  return codes;
}

HouseInput At(double armc, double latitude, int code) {
  HouseInput in{armc, latitude, kObliquity, code};
  in.sunDeg = 123.25;
  in.moonDeg = 301.5;
  return in;
}

bool InCircle(double deg) { return std::isfinite(deg) && deg >= 0.0 && deg < 360.0; }

// The forward arcs from cusp to cusp: in order round the circle when they add up to one turn.
double ForwardTurns(const std::array<double, 12>& c, double& smallestArc) {
  double total = 0.0;
  smallestArc = 360.0;
  for (int i = 0; i < 12; ++i) {
    const double arc = std::fmod(c[(i + 1) % 12] - c[i] + 720.0, 360.0);
    smallestArc = std::min(smallestArc, arc);
    total += arc;
  }
  return total / 360.0;
}

TEST(HousesInvariants, NoNaNAnywhereOnTheGlobe) {
  std::vector<double> latitudes;
  for (double lat = -90.0; lat <= 90.0; lat += 0.5) latitudes.push_back(lat);
  for (double edge : {90.0 - kObliquity, 90.0 - kObliquity - 1e-9, 90.0 - kObliquity + 1e-9,
                      89.999999, 1e-12, 0.0}) {
    latitudes.push_back(edge);
    latitudes.push_back(-edge);
  }
  for (int code : AllCodes()) {
    for (double lat : latitudes) {
      for (double armc = 0.0; armc < 360.0; armc += 3.0) {
        const std::optional<Houses> h = HouseCusps(At(armc, lat, code));
        ASSERT_TRUE(h) << code << " " << lat << " " << armc;
        for (int i = 0; i < 12; ++i) {
          ASSERT_TRUE(InCircle(h->cusps[i])) << code << " lat " << lat << " armc " << armc
                                             << " cusp " << i + 1 << " " << h->cusps[i];
        }
        ASSERT_TRUE(InCircle(h->ascendantDeg) && InCircle(h->mcDeg) && InCircle(h->vertexDeg) &&
                    InCircle(h->eastPointDeg))
            << code << " " << lat << " " << armc;
        const bool polar = std::fabs(lat) >= 90.0 - kObliquity;
        ASSERT_EQ(h->porphyryFallback, polar && HouseSystemHasPolarFallback(code))
            << code << " " << lat << " " << armc;
      }
    }
  }
}

// Outside the polar circles the houses follow the zodiac, each house longer than zero. Two
// systems are left out where their own geometry breaks the order: the horizontal houses (cut
// about the zenith, cusp 10 at the MC and cusp 1 at the Vertex) run against the signs and lose
// their order for some ARMC at every latitude; the topocentric poles leave cusp 12 behind the
// Ascendant within about two degrees of the polar circle.
TEST(HousesInvariants, CuspsFollowEachOtherRoundTheCircle) {
  for (int code : AllCodes()) {
    for (double lat = -66.0; lat <= 66.0; lat += 0.5) {
      if (code == kHouseHorizontal) break;
      if (BaseHouseSystem(code) == kHouseTopocentric && std::fabs(lat) > 64.0) continue;
      for (double armc = 0.0; armc < 360.0; armc += 2.5) {
        const std::array<double, 12> c = HouseCusps(At(armc, lat, code))->cusps;
        double smallest = 0.0;
        ASSERT_NEAR(ForwardTurns(c, smallest), 1.0, 1e-9) << code << " " << lat << " " << armc;
        ASSERT_GT(smallest, 0.0) << code << " " << lat << " " << armc;
      }
    }
  }
}

// Inside the polar circles the Porphyry houses (and the systems that fall back on them) still
// follow the zodiac: the IC takes the tenth cusp when the Ascendant lies more than half a circle
// after the MC.
TEST(HousesInvariants, PorphyryKeepsItsOrderInsideThePolarCircles) {
  for (int code : {kHousePorphyry, kHousePlacidus, kHouseKoch, kHouseMedical, kHouseBrahmagupta,
                   100 + kHousePlacidus}) {
    for (double lat : {-89.5, -80.0, -70.0, -66.6, 66.6, 70.0, 80.0, 89.5}) {
      for (double armc = 0.0; armc < 360.0; armc += 1.5) {
        double smallest = 0.0;
        ASSERT_NEAR(ForwardTurns(HouseCusps(At(armc, lat, code))->cusps, smallest), 1.0, 1e-9)
            << code << " " << lat << " " << armc;
      }
    }
  }
}

struct PolarCase {
  const char* name;
  double armc, latitude;
  std::array<double, 6> cusps;  // 10, 11, 12, 1, 2, 3 by hand
};

// By hand: Ascendant atan2(cos ARMC, -(sin ARMC cos e + tan lat sin e)), MC atan2(sin ARMC,
// cos ARMC cos e), e = 23.44; each quadrant divided in three.
const PolarCase kPolarCases[] = {
    {"north_70_armc_0",
     0.0,
     70.0,
     {0.000000, 45.847326, 91.694651, 137.541977, 151.694651, 165.847326}},
    // The formula's 352.683427 (RA 353.3) sets in the west: the Ascendant is 172.683427.
    {"south_80_ic_takes_the_tenth",
     100.0,
     -80.0,
     {99.189465, 123.687453, 148.185440, 172.683427, 208.185440, 243.687453}},
    // The formula's 180 (RA 180, hour angle +90) sets in the west: the Ascendant is 0.
    {"north_70_armc_270", 270.0, 70.0, {270.0, 300.0, 330.0, 0.0, 30.0, 60.0}},
};

TEST(HousesInvariants, PolarFallbackGivesPorphyryCusps) {
  const int order[] = {9, 10, 11, 0, 1, 2};
  for (const PolarCase& p : kPolarCases) {
    for (int code : {kHousePorphyry, kHousePlacidus, kHouseKoch, kHouseMedical,
                     100 + kHousePlacidus, 100 + kHouseKoch}) {
      const Houses h = *HouseCusps(At(p.armc, p.latitude, code));
      EXPECT_EQ(h.porphyryFallback, code != kHousePorphyry) << p.name << " " << code;
      for (int k = 0; k < 6; ++k) {
        EXPECT_NEAR(h.cusps[order[k]], p.cusps[k], 1e-6) << p.name << " " << code << " " << k;
        EXPECT_NEAR(h.cusps[(order[k] + 6) % 12], std::fmod(p.cusps[k] + 180.0, 360.0), 1e-6)
            << p.name << " " << code << " " << k;
      }
    }
    // The systems that can be cast at the pole keep their own cusps and say nothing.
    for (int code : {kHouseRegiomontanus, kHouseCampanus, kHouseTopocentric, kHouseMorinus}) {
      EXPECT_FALSE(HouseCusps(At(p.armc, p.latitude, code))->porphyryFallback) << code;
    }
  }
}

// Just outside the polar circle Placidus is still cast: its cusps differ from Porphyry's.
TEST(HousesInvariants, PlacidusIsCastJustOutsideThePolarCircle) {
  const Houses placidus = *HouseCusps(At(30.0, 66.0, kHousePlacidus));
  const Houses porphyry = *HouseCusps(At(30.0, 66.0, kHousePorphyry));
  EXPECT_FALSE(placidus.porphyryFallback);
  EXPECT_GT(std::fabs(std::remainder(placidus.cusps[10] - porphyry.cusps[10], 360.0)), 1.0);
}

struct RefusedCase {
  const char* name;
  HouseInput input;
};

const double kNaN = std::numeric_limits<double>::quiet_NaN();

const RefusedCase kRefused[] = {
    {"negative_code", {10.0, 50.0, kObliquity, -1}},
    {"code_19", {10.0, 50.0, kObliquity, 19}},
    {"geodetic_equal_from_mc", {10.0, 50.0, kObliquity, 103}},
    {"geodetic_morinus", {10.0, 50.0, kObliquity, 109}},
    {"geodetic_code_119", {10.0, 50.0, kObliquity, 119}},
    {"code_200", {10.0, 50.0, kObliquity, 200}},
    {"latitude_beyond_the_pole", {10.0, 90.5, kObliquity, kHousePorphyry}},
    {"latitude_nan", {10.0, kNaN, kObliquity, kHousePorphyry}},
    {"armc_nan", {kNaN, 50.0, kObliquity, kHouseEqualFromAsc}},
    {"obliquity_infinite", {10.0, 50.0, std::numeric_limits<double>::infinity(), kHouseKoch}},
    {"solar_without_the_sun", {10.0, 50.0, kObliquity, kHouseSolar}},
    {"sun_houses_without_the_sun", {10.0, 50.0, kObliquity, kHouseSun}},
    {"moon_houses_without_the_moon", {10.0, 50.0, kObliquity, kHouseMoon, 100.0}},
};

TEST(HousesInvariants, BadInputIsRefused) {
  for (const RefusedCase& r : kRefused) EXPECT_FALSE(HouseCusps(r.input)) << r.name;
  for (int code : {100, 101, 102, 105, 106, 107}) {
    EXPECT_TRUE(IsKnownHouseSystem(code)) << code;
    EXPECT_TRUE(HouseCusps({10.0, 50.0, kObliquity, code})) << code;
  }
  for (int code : {103, 104, 108, 110, 116, 117, 118}) EXPECT_FALSE(IsKnownHouseSystem(code));
}

// Inside the polar circles the Ascendant is the ecliptic degree on the eastern half of the
// horizon, and the MC stands at hour angle 0, at every sidereal time. Checked by the horizontal
// coordinates of the point, computed here on their own.
TEST(HousesPolarAscendant, AscendantRisesInTheEastAtEverySiderealTime) {
  constexpr double kRad = 3.14159265358979323846 / 180.0;
  const double e = kObliquity * kRad;
  const double latitudes[] = {66.6, -66.6, 70.0, -70.0, 80.0, -80.0, 89.0, -89.0};
  for (const double latitude : latitudes) {
    const double phi = latitude * kRad;
    for (int step = 0; step < 24 * 30; ++step) {  // a sidereal day every 2 minutes of time
      const double armc = step * 0.5;
      const double asc = AscendantDeg(armc, latitude, kObliquity);
      const double l = asc * kRad;
      const double ra = std::atan2(std::sin(l) * std::cos(e), std::cos(l));
      const double dec = std::asin(std::sin(l) * std::sin(e));
      const double h = armc * kRad - ra;  // hour angle
      const double east = -std::cos(dec) * std::sin(h);
      const double up = std::sin(dec) * std::sin(phi) + std::cos(dec) * std::cos(h) * std::cos(phi);
      EXPECT_NEAR(up, 0.0, 1e-9) << latitude << " " << armc;  // on the horizon
      EXPECT_GE(east, -1e-9) << latitude << " " << armc;      // azimuth in the eastern half
      const double mc = MidheavenDeg(armc, kObliquity) * kRad;
      const double mcHour =
          std::remainder(armc * kRad - std::atan2(std::sin(mc) * std::cos(e), std::cos(mc)),
                         2.0 * 3.14159265358979);
      EXPECT_NEAR(mcHour, 0.0, 1e-9) << latitude << " " << armc;
      // The systems that start from the Ascendant start from this one.
      for (const int code : {kHouseEqualFromAsc, kHousePorphyry, kHousePlacidus}) {
        const std::optional<Houses> houses = HouseCusps(At(armc, latitude, code));
        ASSERT_TRUE(houses.has_value());
        EXPECT_NEAR(std::remainder(houses->ascendantDeg - asc, 360.0), 0.0, 1e-9);
        EXPECT_NEAR(std::remainder(houses->cusps[0] - asc, 360.0), 0.0, 1e-9)
            << code << " " << latitude << " " << armc;
      }
    }
  }
  // At latitude -67, ARMC 81.83: the formula's 78.45 sets; the rising degree is 258.45. There the
  // Ascendant moves about six times as fast as ARMC, so the two-decimal ARMC allows 0.05.
  EXPECT_NEAR(AscendantDeg(81.83, -67.0, kObliquity), 258.45, 0.05);
}

}  // namespace
