// The Tremin event scoring on synthetic charts. Every expected value is worked out by hand (the
// working is beside each case).
//
// The aspect system of every test holds one aspect, the conjunction, orb 6 in every column and
// 0.5 exact. With all speeds 0 the pair test finds no forming aspect (the separation does not
// change) but a separating one: objects within 6.033 degrees of each other are in aspect, and
// every object is in aspect with itself.
#include "rectification/core/tremin_rect.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

#include "astro/chart/chart.h"
#include "astro/chart/chart_context.h"
#include "foundation/config/configuration.h"
#include "rectification/core/tremin_fixture.h"

namespace {

TEST(TreminTests, AspectWindowBoundsAreStrict) {
  struct Row {
    const char* name;
    double d, angle, orb;
    bool expected;
  };
  const Row rows[] = {{"inside_upper", 5.032, 0, 5, true},
                      {"upper_bound", 5.033, 0, 5, false},
                      {"inside_lower", 85.01, 90, 4.96, true},
                      {"lower_bound", 84.967, 90, 5, false},
                      {"exact", 120, 120, 0, true}};
  for (const Row& r : rows) EXPECT_EQ(TmAspectWindow(r.d, r.angle, r.orb), r.expected) << r.name;
}

TEST(TreminTests, ObjectAndCuspOrbsDependOnTheObject) {
  struct Row {
    const char* name;
    int object;  // -1: the cusp-to-point test
    double longitude, point;
    bool expected;
  };
  const Row rows[] = {
      {"sun_quintile_orb_4", 0, 76.0, 0, true},        // 72 + 4 < 76.033
      {"moon_quintile_orb_3", 1, 75.0, 0, true},       // 72 + 3 < 75.033
      {"moon_quintile_too_far", 1, 75.1, 0, false},    //
      {"mars_quintile_orb_2", 4, 74.0, 0, true},       // 72 + 2 < 74.033
      {"mars_quintile_too_far", 4, 74.5, 0, false},    //
      {"sun_minor_orb_2", 0, 47.0, 0, true},           // 45 + 2
      {"moon_minor_orb_1_5", 1, 46.6, 0, false},       // 45 + 1.533 < 46.6
      {"pluto_septile", 9, 52.2, 0, true},             // 51.42857 + 1.033 > 52.2
      {"major_orb_5_any_object", 20, 184.9, 0, true},  // 180 + 4.9
      {"wraps_across_aries", 4, 365.0, 5, true},       // both normalised: 5 against 5
      {"absent_never_matches", 4, kAbsent, kAbsent, false},
      {"absent_point", 0, 0.0, kAbsent, false},
      {"cusp_quintile_fixed_2", -1, 74.0, 0, true},
      {"cusp_quintile_too_far", -1, 74.1, 0, false},
      {"cusp_minor_fixed_1", -1, 21.0, 0, true},  // 20 + 1
      {"cusp_no_window", -1, 13.0, 0, false},
  };
  for (const Row& r : rows) {
    const bool got = r.object < 0 ? TmCuspToPoint(r.longitude, r.point)
                                  : TmObjectToPoint(r.object, r.longitude, r.point);
    EXPECT_EQ(got, r.expected) << r.name;
  }
}

TEST(TreminTests, FixedTablesOfHousesAndPairColumns) {
  EXPECT_EQ(TmHousesOfObject(0), (std::vector<int>{1, 4, 5}));
  EXPECT_EQ(TmHousesOfObject(6), (std::vector<int>{7, 10, 11}));
  EXPECT_EQ(TmHousesOfObject(20), (std::vector<int>{2, 3, 7}));
  EXPECT_TRUE(TmHousesOfObject(10).empty());
  struct Row {
    int a, b, column;
  };
  const Row rows[] = {{9, 0, 0}, {1, 0, 0}, {5, 1, 1}, {20, 1, 1},
                      {6, 5, 2}, {8, 6, 3}, {2, 3, 4}, {20, 9, 4}};
  for (const Row& r : rows) EXPECT_EQ(TmPairColumn(r.a, r.b), r.column) << r.a << "," << r.b;
}

TEST(TreminTests, RulerTableFollowsTheProserpinaFlag) {
  TmRect rect(nullptr, nullptr);
  for (int s = 0; s < 12; ++s)
    for (int k = 0; k < 3; ++k) EXPECT_EQ(rect.Ruler(s, k), -1) << "fresh " << s;
  EXPECT_EQ(rect.ProserpinaCounts(), 0);
  struct Row {
    int proserpina, sign, slot, ruler;
  };
  // Taurus: Venus, Proserpina, Moon; Pisces: Neptune, Jupiter, Venus; Gemini keeps Mercury
  // alone without Proserpina.
  const Row rows[] = {{1, 1, 1, 20}, {1, 2, 1, 20}, {1, 6, 1, 20}, {1, 11, 2, 3},
                      {0, 2, 0, 2},  {0, 2, 1, -1}, {0, 1, 1, -1}, {0, 12, 0, -1}};
  for (const Row& r : rows) {
    rect.FillRulers(r.proserpina);
    EXPECT_EQ(rect.Ruler(r.sign, r.slot), r.ruler) << r.proserpina << " " << r.sign;
  }
}

TEST(TreminTests, PossibilityWorkedByHand) {
  const AspectSystem conj = ConjunctionOnly();
  struct Row {
    const char* name;
    std::vector<double> at;
    std::vector<std::pair<int, double>> cusps;  // changed cusps
    std::optional<int> expected, proserpina;    // not asserted when empty
  };
  std::vector<double> moon13 = AllAt(0.0);
  moon13[1] = 13.0;
  std::vector<double> twoPartners = AllAt(100.0);
  twoPartners[10] = 0.0;  // Proserpina with the Sun and Mercury only
  twoPartners[0] = 0.0;
  twoPartners[2] = 0.0;
  const Row rows[] = {
      // Everything on 0 Aries, cusps every 30 degrees from it: A, B and C all 100.
      {"all_on_aries", AllAt(0.0), {}, 100, 1},
      // The Moon at 13 is tied only by its three houses (cusps 30, 90, 120): A = 10 x 100/11 +
      // 3 x 100/33 = 100. B: the Moon misses the Taurus cusp (17 away) but meets Cancer's at 77
      // and Leo's at 107: 32 of 33 rulers, 96.97. C: house II's slots Venus 100, Proserpina 100,
      // the Moon 33.3 (linked with itself only), 77.78; the rest 100: 98.15. 95.12 -> 95.
      {"moon_tied_by_houses", moon13, {}, 95, 1},
      // The same Moon, houses II, IV and V not on any window of 0 Aries: impossible.
      {"moon_untied", moon13, {{1, 54}, {2, 60}, {3, 114}, {4, 126}}, kTmImpossible, 1},
      // Proserpina aspects two planets: she rules nothing.
      {"proserpina_two_partners", twoPartners, {}, std::nullopt, 0},
      {"cusp_missing", AllAt(0.0), {{5, kAbsent}}, kTmImpossible, std::nullopt},
  };
  for (const Row& r : rows) {
    Chart chart = MakeChart(r.at);
    for (const auto& [h, lon] : r.cusps) chart.cusps[h].Set(lon);
    TmRect rect(&conj, &conj);
    const int got = rect.Possibility(chart);
    if (r.expected) {
      EXPECT_EQ(got, *r.expected) << r.name;
    }
    if (r.proserpina) {
      EXPECT_EQ(rect.ProserpinaCounts(), *r.proserpina) << r.name;
      // Gemini: Mercury, then Proserpina only when she counts.
      EXPECT_EQ(rect.Ruler(2, 1), *r.proserpina == 1 ? 20 : -1) << r.name;
    }
  }
}

// The trial chart of the event tests: cusp h at 10 + 30h (house I spans Aries and Taurus);
// Mars 100, Pluto 200, the Sun 300, Uranus 101 (in aspect with Mars), the rest apart.
Chart EventTrial() {
  //                  Su   Mo  Me  Ve  Ma   Ju   Sa   Ur   Ne   Pl   Pr
  return MakeChart({300, 20, 40, 60, 100, 130, 160, 101, 280, 200, 330}, 10.0);
}

struct EventRow {
  const char* name;
  std::vector<std::uint16_t> houses;
  double cusp1;                            // the event chart's cusp I
  std::vector<std::pair<int, double>> at;  // the event chart's objects
  std::optional<double> expected;
};

TEST(TreminTests, EventScoreWorkedByHand) {
  const AspectSystem conj = ConjunctionOnly();
  // The entries of house I (Proserpina not counting): cusp (weight 10); Mars, Pluto, Sun as
  // rulers of Aries (3 each); Mars, Pluto, Sun, Venus, Moon as rulers of the signs spanned (1).
  // Every miss adds -3 x weight with count 3 (the three Aries rulers); a hit through a ruler adds
  // the weight with count 3; an entry on the cusp adds 3 x weight with count 1.
  const std::vector<std::pair<int, double>> base{
      {4, 100.5}, {9, 300.3}, {0, 5}, {3, 10.5}, {1, 200.9}};
  std::vector<std::pair<int, double>> viaPartner = base;
  viaPartner[0] = {4, 102};  // 2 from Mars, 1 from Uranus, its partner
  std::vector<std::pair<int, double>> farAway;
  for (const int p : kTmObjects) farAway.emplace_back(p, 250.0);
  const EventRow rows[] = {
      // cusp -30 (3); Mars +3 (3), Pluto +3 (3) on the Sun, Sun -9 (3); kind 2: Mars +1, Pluto
      // +1, Sun -3 (3 each), Venus on the cusp +3 (1), Moon on Pluto +1 (3). -30 / 25 x 100.
      {"rulers_and_cusp", {0}, 50, base, -120.0},
      {"hit_through_partner", {0}, 50, viaPartner, -120.0},
      // The cusp entry on the natal cusp: +30 with count 1 instead of -30 with count 3.
      {"cusp_on_cusp", {0}, 10.4, base, 30.0 / 23.0 * 100.0},
      {"no_house", {}, 50, base, std::nullopt},
      // Every entry far from the cusp, the rulers and their partners: each adds -3 x its
      // weight: -30 - 3 x 9 - 5 x 3 = -72 over 1 + 3 + 5 entries x 3 slots = 27.
      {"no_hit", {0}, 250, farAway, -72.0 / 27.0 * 100.0},
  };
  for (const EventRow& r : rows) {
    const Chart trial = EventTrial();
    Chart eventChart = MakeChart(AllAt(kAbsent), 0.0);
    eventChart.cusps[0].Set(r.cusp1);
    for (const auto& [p, lon] : r.at)
      eventChart.points[static_cast<std::size_t>(p)].longitude.Set(lon);
    TmRect rect(&conj, &conj);
    rect.FillRulers(0);
    const TmPairTable pairs(trial, &conj, &conj);
    LifeEvent event;
    event.houses = r.houses;
    const std::optional<double> got = rect.EventScoreWith(trial, pairs, eventChart, event);
    ASSERT_EQ(got.has_value(), r.expected.has_value()) << r.name;
    if (got) {
      EXPECT_NEAR(*got, *r.expected, 1e-9) << r.name;
    }
  }
}

TEST(TreminTests, MomentWithoutEventInUseHasNoScore) {
  const AspectSystem conj = ConjunctionOnly();
  const ChartContext ctx{Configuration()};
  TmRect rect(&conj, &conj);
  LifeEvent off;
  off.status = kLifeEventLeftOut;
  off.houses = {0};
  EXPECT_FALSE(rect.MomentScore(ctx, EventTrial(), {}, kTmSeriesDirections).has_value());
  EXPECT_FALSE(rect.MomentScore(ctx, EventTrial(), {off}, kTmSeriesProgressions).has_value());
}

}  // namespace
