// The Sun's deflection of light near its limb against the classic formula: a body at elongation
// t from the Sun is pushed away from it by (2GM/c^2 / 1 au) cot(t / 2), 1.75" at the limb
// (t = 0.2666 degrees), about 1.75" divided by the elongation in solar radii.
#include <gtest/gtest.h>

#include <cmath>

#include "astro/ephemeris/apparent.h"

namespace {

constexpr double kRad = 3.14159265358979323846 / 180.0;

struct DeflectionCase {
  double elongationDeg;
  double expectedArcsec;  // 2GM/c^2 = 2953.250 m over 1 au = 0.00407191": that times cot(t / 2)
};

// Hand computation: cot(0.15) = 381.971, cot(0.25) = 229.182, cot(0.375) = 152.785,
// cot(0.5) = 114.589 (degrees).
constexpr DeflectionCase kCases[] = {
    {0.3, 1.55536}, {0.5, 0.93321}, {0.75, 0.62214}, {1.0, 0.46660}};

TEST(EphemerisDeflection, NearTheLimbTheBodyIsPushedAwayByTheClassicAmount) {
  struct SunPlace {
    double lon, lat;
  };
  // The Sun anywhere on the ecliptic, across 0 Aries too; the body on every side of it.
  const SunPlace suns[] = {{100.0, 0.0002}, {359.9, -0.0001}, {0.05, 0.0}};
  const double sides[] = {0.0, 90.0, 180.0, 225.0, 300.0};  // position angle from the east
  const double ratios[] = {1.0, 5.2 / 6.2};                 // at infinity; Jupiter's r/(r+1)
  for (const DeflectionCase& c : kCases) {
    for (const SunPlace& sun : suns) {
      for (const double side : sides) {
        for (const double ratio : ratios) {
          const double east = c.elongationDeg * std::cos(side * kRad);
          const double north = c.elongationDeg * std::sin(side * kRad);
          const double lat = sun.lat + north;
          const double lon = sun.lon + east / std::cos(lat * kRad);
          const Deflection d = SunDeflection(lon, lat, sun.lon, sun.lat, ratio);
          const double dx = d.lonDeg * std::cos(lat * kRad) * 3600.0;
          const double dy = d.latDeg * 3600.0;
          const double size = std::hypot(dx, dy);
          EXPECT_NEAR(size, ratio * c.expectedArcsec, 2e-3 * c.expectedArcsec)
              << c.elongationDeg << " " << sun.lon << " " << side << " " << ratio;
          // Away from the Sun, along the line from it to the body.
          const double along = (dx * east + dy * north) / (size * c.elongationDeg);
          EXPECT_GT(along, 0.9999) << c.elongationDeg << " " << sun.lon << " " << side;
        }
      }
    }
  }
}

TEST(EphemerisDeflection, ABodyInFrontOfTheSunIsNotDeflected) {
  const Deflection d = SunDeflection(120.5, 0.0, 120.0, 0.0, 0.0);
  EXPECT_NEAR(d.lonDeg * 3600.0, 0.0, 1e-9);
  EXPECT_NEAR(d.latDeg * 3600.0, 0.0, 1e-9);
}

}  // namespace
