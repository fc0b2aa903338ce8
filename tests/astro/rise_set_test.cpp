// The passage of a degree over an angle of a place: for the Sun, the Moon, a planet, Pluto and a
// fixed longitude, each angle, places from the equator to 66 degrees and both directions, the
// moment found is the first passage on the searched side, to a fraction of a second, and costs
// a few positions of the body.
#include "astro/chart/rise_set.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>

#include "astro/ephemeris/coordinates.h"
#include "astro/ephemeris/ephemeris.h"
#include "foundation/config/configuration.h"
#include "foundation/numbers/angles.h"
#include "support/test_support.h"

namespace {

constexpr double kSecond = 1.0 / 86400.0;

std::shared_ptr<const Ephemeris> Tables() {
  static const std::shared_ptr<const Ephemeris> e = [] {
    auto loaded = std::make_shared<Ephemeris>();
    EXPECT_TRUE(loaded->Load(testing_support::SourceDir() / "data" / "velm.str").ok());
    return loaded;
  }();
  return e;
}

Place PlaceAt(int latDeg, char ns, int lonDeg, char ew) {
  Place p;
  EXPECT_TRUE(p.SetPlace(latDeg, 0, ns, lonDeg, 0, ew, "", "").ok());
  return p;
}

// The angle of the place less the degree, folded into (-180, 180], at a moment: the angles from
// the whole time frame of that moment, the degree from the ephemeris (true nodes and apogee).
double Offset(const Ephemeris& e, int body, double longitude, int selector, const Place& place,
              double ut) {
  std::array<double, 4> angles{};  // ascendant, IC, descendant, MC
  const double day = std::floor(ut - 0.5) + 0.5;
  CalcAngles(day, (ut - day) * 24.0, place.EastLongitudeDeg(), place.LatitudeDeg(), angles);
  const int index[4] = {0, 2, 3, 1};
  const double lambda = body < 0 ? longitude : e.Position(body, ToTt(JdUt{ut})).longitude;
  return std::remainder(angles[static_cast<std::size_t>(index[selector])] - lambda, 360.0);
}

TEST(AnglePassage, TheFirstPassageOnEachSideToAFractionOfASecond) {
  const Configuration config;
  const ChartContext ctx(config, Tables());
  const Ephemeris& e = *Tables();
  const Place places[] = {PlaceAt(0, 'N', 0, 'E'), PlaceAt(55, 'N', 37, 'E'),
                          PlaceAt(33, 'S', 151, 'E'), PlaceAt(66, 'N', 147, 'W')};
  const double starts[] = {2451545.3, 2455000.71, 2460400.05};
  int searches = 0, positions = 0, mostPositions = 0;
  for (const int body : {0, 1, 4, 9, -1})
    for (int selector = 0; selector < 4; ++selector)
      for (const Place& place : places)
        for (const double from : starts)
          for (const double span : {2.0, -2.0}) {
            SCOPED_TRACE(testing::Message()
                         << "body " << body << " angle " << selector << " at "
                         << place.LatitudeDeg() << " from " << from << " span " << span);
            const AnglePassage p = FindAnglePassage(ctx, body, selector, 123.4, place, from, span);
            ASSERT_TRUE(p.ut.has_value());
            const double t = *p.ut;
            // An upward passage of the offset within 0.15 s before and after the moment.
            EXPECT_LT(Offset(e, body, 123.4, selector, place, t - 0.15 * kSecond), 0.0);
            EXPECT_GE(Offset(e, body, 123.4, selector, place, t + 0.15 * kSecond), 0.0);
            // None nearer to the start: no upward passage between the start and the moment.
            const double step = (t - from) / 40.0;
            double previous = Offset(e, body, 123.4, selector, place, from);
            for (int k = 1; k < 40; ++k) {
              const double now = Offset(e, body, 123.4, selector, place, from + k * step);
              const bool upward = span > 0 ? previous < 0.0 && now >= 0.0 && now - previous < 90
                                           : now < 0.0 && previous >= 0.0 && previous - now < 90;
              ASSERT_FALSE(upward) << "a passage nearer to the start at step " << k;
              previous = now;
            }
            ++searches;
            positions += p.positions;
            mostPositions = std::max(mostPositions, p.positions);
          }
  // The closed-form start and the steps on the body's motion: a few positions a passage.
  EXPECT_LE(mostPositions, 5);
  EXPECT_LE(positions, 4 * searches);
}

TEST(AnglePassage, NothingForBadInputOrWhereTheDegreeNeverRises) {
  const Configuration config;
  const ChartContext ctx(config, Tables());
  const Place moscow = PlaceAt(55, 'N', 37, 'E');
  EXPECT_FALSE(FindAnglePassage(ctx, 0, 4, 0.0, moscow, 2451545.0, 2.0).ut);
  EXPECT_FALSE(FindAnglePassage(ctx, -1, 0, kAbsent, moscow, 2451545.0, 2.0).ut);
  EXPECT_FALSE(FindAnglePassage(ctx, 30, 0, 0.0, moscow, 2451545.0, 2.0).ut);
  EXPECT_FALSE(FindAnglePassage(ctx, 0, 0, 0.0, moscow, 2451545.0, 0.0).ut);
  // A span shorter than the way to the next passage.
  EXPECT_FALSE(FindAnglePassage(ctx, -1, 2, 0.0, moscow, 2451545.0, 0.01).ut);
  // 80 N at the December solstice: 270 degrees (declination -23.4) never rises; it culminates.
  const Place north = PlaceAt(80, 'N', 15, 'E');
  EXPECT_FALSE(FindAnglePassage(ctx, -1, 0, 270.0, north, 2451899.5, 2.0).ut);
  EXPECT_TRUE(FindAnglePassage(ctx, -1, 2, 270.0, north, 2451899.5, 2.0).ut);
}

}  // namespace
