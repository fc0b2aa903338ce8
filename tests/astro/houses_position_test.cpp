// Which house holds a longitude and which signs a house spans, on cusps written by hand.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "astro/houses/house_position.h"
#include "foundation/numbers/angles.h"

namespace {

using Cusps = std::array<double, 12>;

// Uneven quadrant houses crossing 0 Aries: house 12 runs from 350 to 15 degrees.
const Cusps kQuadrant = {15.0,  50.0,  80.0,  100.0, 125.0, 160.0,
                         195.0, 230.0, 260.0, 280.0, 305.0, 350.0};
// Whole-sign houses from Leo: every cusp at 0 degrees of a sign.
const Cusps kWholeSign = {120.0, 150.0, 180.0, 210.0, 240.0, 270.0,
                          300.0, 330.0, 0.0,   30.0,  60.0,  90.0};
// Horizontal houses of the reference table (row H001): the cusps run against the signs.
const Cusps kBackwards = {133.144383047, 130.244275751, 129.454791826, 128.873810311,
                          128.076230787, 125.063898092, 313.144383047, 310.244275751,
                          309.454791826, 308.873810311, 308.076230787, 305.063898092};

struct HouseCase {
  const char* name;
  const Cusps* cusps;
  double longitude;
  int house;  // 0..11, -1 none
};

const HouseCase kHouseCases[] = {
    {"inside_first_house", &kQuadrant, 30.0, 0},
    {"on_the_first_cusp_begins_house_1", &kQuadrant, 15.0, 0},
    {"just_before_the_second_cusp", &kQuadrant, 49.999, 0},
    {"on_the_second_cusp", &kQuadrant, 50.0, 1},
    {"twelfth_before_0_aries", &kQuadrant, 355.0, 11},
    {"twelfth_after_0_aries", &kQuadrant, 5.0, 11},
    {"twelfth_at_0_aries", &kQuadrant, 0.0, 11},
    {"longitude_above_360_is_folded", &kQuadrant, 365.0, 11},
    {"negative_longitude_is_folded", &kQuadrant, -70.0, 9},
    {"seventh_house", &kQuadrant, 200.0, 6},
    {"whole_sign_start_of_leo", &kWholeSign, 120.0, 0},
    {"whole_sign_end_of_leo", &kWholeSign, 149.99, 0},
    {"whole_sign_pisces", &kWholeSign, 359.0, 7},
    {"whole_sign_aries", &kWholeSign, 0.0, 8},
    {"backwards_on_the_first_cusp", &kBackwards, 133.144383047, 0},
    {"backwards_inside_first_house", &kBackwards, 131.0, 0},
    {"backwards_third_house", &kBackwards, 129.0, 2},
    {"backwards_sixth_house_is_wide", &kBackwards, 20.0, 5},
    {"backwards_twelfth_house_is_wide", &kBackwards, 200.0, 11},
    {"absent_longitude", &kQuadrant, kAbsent, -1},
};

TEST(HousesPosition, HouseOfLongitude) {
  for (const HouseCase& c : kHouseCases) {
    EXPECT_EQ(HouseOfLongitude(*c.cusps, c.longitude), c.house) << c.name;
  }
  Cusps unset = kQuadrant;
  unset[4] = kAbsent;
  EXPECT_EQ(HouseOfLongitude(unset, 30.0), -1);
}

struct SignsCase {
  const char* name;
  const Cusps* cusps;
  int house;
  std::vector<int> signs;
};

const SignsCase kSignsCases[] = {
    // 15 Aries to 20 Taurus.
    {"two_signs", &kQuadrant, 0, {0, 1}},
    // 20 Taurus to 20 Gemini.
    {"cusp_sign_and_next", &kQuadrant, 1, {1, 2}},
    // 20 Pisces to 15 Aries across 0 Aries.
    {"across_0_aries", &kQuadrant, 11, {11, 0}},
    // 10 Virgo to 15 Libra: sign of the cusp and of the next cusp.
    {"virgo_to_libra", &kQuadrant, 5, {5, 6}},
    // A house ending at exactly 0 degrees of a sign does not span that sign.
    {"whole_sign_leo_only", &kWholeSign, 0, {4}},
    {"whole_sign_pisces_only", &kWholeSign, 7, {11}},
    {"house_taken_modulo_12", &kWholeSign, 12, {4}},
};

TEST(HousesPosition, InterceptedSigns) {
  for (const SignsCase& c : kSignsCases) {
    EXPECT_EQ(InterceptedSigns(*c.cusps, c.house), c.signs) << c.name;
  }
  // 5 Aries to 10 Cancer: Taurus and Gemini lie wholly inside, four signs in all.
  Cusps wide = {5.0, 100.0, 110.0, 120.0, 150.0, 170.0, 185.0, 280.0, 290.0, 300.0, 330.0, 350.0};
  EXPECT_EQ(InterceptedSigns(wide, 0), (std::vector<int>{0, 1, 2, 3}));
  wide[3] = kAbsent;
  EXPECT_TRUE(InterceptedSigns(wide, 0).empty());
}

}  // namespace
