// The life point: positions by signs and by houses, direct and converse, the birth later than the
// moment, and the moment of a longitude as the inverse of the position.
#include <gtest/gtest.h>

#include <cmath>

#include "astro/lifepoint/life_point.h"
#include "support/test_support.h"

namespace {

Moment Birth() {
  Moment m;
  EXPECT_TRUE(m.date.SetDate(10, 4, 1970, 'A').ok());
  EXPECT_TRUE(m.time.SetTime(6, 15, 0).ok());
  return m;
}

Moment AtAge(double years) {
  Moment m = Birth();
  m.AddYears(years);
  return m;
}

LifePoint Type(char mode, char direction, int first, int years) {
  LifePoint t;
  t.mode = mode;
  t.direction = direction;
  t.first = static_cast<std::int16_t>(first);
  t.years = static_cast<std::int16_t>(years);
  // Unequal houses: I 10, II 40, III 80, IV 100, then every 30 degrees to XII 340.
  t.cusps = std::array<double, 12>{10, 40, 80, 100, 130, 160, 190, 220, 250, 280, 310, 340};
  return t;
}

TEST(LifePointPosition, BySignsAndHousesDirectAndConverse) {
  struct Row {
    const char* name;
    LifePoint type;
    double age, expected;
  };
  const Row rows[] = {
      {"signs_direct_at_birth", Type('S', 'D', 0, 7), 0.0, 0.0},
      {"signs_direct_half_sign", Type('S', 'D', 0, 7), 3.5, 15.0},
      {"signs_direct_second_sign", Type('S', 'D', 0, 7), 10.5, 45.0},
      {"signs_direct_next_cycle", Type('S', 'D', 0, 7), 87.5, 15.0},
      {"signs_direct_from_libra", Type('S', 'D', 6, 7), 7.0, 210.0},
      {"signs_converse_at_birth", Type('S', 'R', 0, 7), 0.0, 30.0},
      {"signs_converse_half_sign", Type('S', 'R', 0, 7), 3.5, 15.0},
      {"signs_converse_into_pisces", Type('S', 'R', 0, 7), 10.5, 345.0},
      {"houses_direct_second_house", Type('H', 'D', 1, 6), 3.0, 60.0},
      {"houses_direct_across_zero", Type('H', 'D', 11, 6), 4.5, 2.5},
      {"houses_converse_first_house", Type('H', 'R', 0, 6), 3.0, 25.0},
      {"houses_converse_into_twelfth", Type('H', 'R', 0, 6), 9.0, 355.0},
  };
  for (const Row& r : rows)
    EXPECT_NEAR(LifePoint::CountPosition(r.type, Birth(), AtAge(r.age)), r.expected, 1e-3)
        << r.name;
}

TEST(LifePointPosition, AbsentWhenTheTypeCannotMove) {
  LifePoint noCusps = Type('H', 'D', 0, 7);
  noCusps.cusps.reset();
  LifePoint absentCusp = Type('H', 'D', 0, 7);
  (*absentCusp.cusps)[5] = -777.0;
  const LifePoint types[] = {noCusps, absentCusp, Type('S', 'D', 0, 0), Type('S', 'D', -1, 7),
                             Type('S', 'D', 12, 7)};
  for (const LifePoint& t : types) {
    EXPECT_EQ(LifePoint::CalculatePosition(t, Birth(), AtAge(5.0)), -777.0);
    EXPECT_FALSE(LifePoint::CalculateMoment(t, Birth(), 100.0).has_value());
  }
}

TEST(LifePointPosition, BirthLaterThanTheMomentShowsMessage1003) {
  testing_support::ScriptedPrompter prompts;
  EXPECT_EQ(LifePoint::CountPosition(Type('S', 'D', 0, 7), AtAge(1.0), Birth()), -777.0);
  EXPECT_TRUE(prompts.WasShown(1003));
}

TEST(LifePointMoment, MomentAndPositionAreInverse) {
  const LifePoint types[] = {Type('S', 'D', 3, 7), Type('S', 'R', 3, 7), Type('H', 'D', 9, 5),
                             Type('H', 'R', 2, 5)};
  const double ages[] = {0.0, 0.4, 6.99, 17.3, 41.0, 59.9};
  for (const LifePoint& t : types) {
    for (double age : ages) {
      const Moment at = AtAge(age);
      const double lon = LifePoint::CountPosition(t, Birth(), at);
      const std::optional<Moment> back = LifePoint::CalculateMoment(t, Birth(), lon);
      ASSERT_TRUE(back.has_value()) << t.mode << t.direction << " age " << age;
      EXPECT_NEAR(back->JulianDay(), at.JulianDay(), 2.0 / 1440.0)
          << t.mode << t.direction << " age " << age;
    }
  }
}

TEST(LifePointMoment, SignBoundariesByHand) {
  // 7 years a sign from Aries: 0 Leo after 4 signs = 28 years; converse from the end of Aries:
  // 0 Leo is reached after Aries, Pisces ... Cancer = 9 signs = 63 years.
  const std::optional<Moment> direct =
      LifePoint::CalculateMoment(Type('S', 'D', 0, 7), Birth(), 120.0);
  ASSERT_TRUE(direct.has_value());
  EXPECT_NEAR(direct->YearsSince(Birth()), 28.0, 1e-4);
  const std::optional<Moment> converse =
      LifePoint::CalculateMoment(Type('S', 'R', 0, 7), Birth(), 120.0);
  ASSERT_TRUE(converse.has_value());
  EXPECT_NEAR(converse->YearsSince(Birth()), 63.0, 1e-4);
}

TEST(LifePointPosition, SourcesAreComparedOnTheBirthClock) {
  // Born 06:15 at +03:00; the target 14 years later at 03:15 UT = 06:15 on the birth clock:
  // exactly two signs at 7 years a sign.
  Source birth, target;
  birth.moment = Birth();
  ASSERT_TRUE(birth.zone.SetTime(3, 0, '+').ok());
  target.moment = AtAge(14.0);
  ASSERT_TRUE(target.moment.time.SetTime(3, 15, 0).ok());
  EXPECT_NEAR(LifePoint::CountPosition(Type('S', 'D', 0, 7), birth, target), 60.0, 1e-6);
}

}  // namespace
