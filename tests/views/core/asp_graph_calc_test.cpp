// The aspect graph's computation: which chart slots a list needs, what each technique makes of
// the member's chart (checked against charts cast here from the kinds and methods of the
// technique table), members by role (the life point, a ruler always from the radix), the orb
// columns with house orb class 5, the cells, the largest orb, a missing system and Cancel.
#include "views/core/asp_graph_calc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>

#include "asp_graph_fixture.h"
#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_context.h"
#include "foundation/config/configuration.h"
#include "support/test_support.h"

namespace {

using aspgraph_test::MakeAspect;
using aspgraph_test::Pair;
using testing_support::RecordingProgress;

// The folded separation of two longitudes x 100, by hand.
double FoldedHundredths(double a, double b) {
  double d = std::fmod(std::fabs(a - b), 360.0);
  if (d > 180.0) d = 360.0 - d;
  return d * 100.0;
}

class AspGraphCalcTest : public aspgraph_test::AspGraphFixture {
 protected:
  Chart Radix() const {
    Chart chart = Natal();
    EXPECT_TRUE(ChartCalculate(Context(), chart, 1).ok());
    return chart;
  }
};

TEST_F(AspGraphCalcTest, SlotsAreMarkedByTechniqueConverseAndRole) {
  struct Row {
    const char* name;
    AspGraphPair pair;
    std::set<int> slots;
  } rows[] = {
      {"transit_to_radix", Pair(0, 6, 0, 1, 0, 0), {6, 0}},
      {"both_converse", Pair(4, 2, 1, 3, 7, 1), {13, 18}},
      {"life_point_on_the_directions_clock", Pair(46, 5, 1, 40, 9, 0), {1, 9}},
      {"ruler_from_the_radix", Pair(0, 3, 0, 50, 8, 1), {3, 0}},
      {"converse_radix", Pair(2, 0, 1, 2, 10, 1), {11, 21}},
  };
  for (const Row& row : rows) {
    CAspGraphCalc calc = Prepared({row.pair});
    calc.MarkSlots();
    std::set<int> marked;
    for (int s = 0; s < aspgraph::kSlotCount; ++s)
      if (calc.SlotMarked(s)) marked.insert(s);
    EXPECT_EQ(marked, row.slots) << row.name;
  }
}

// Each technique moves the Sun as a chart of its kind and method cast for the sample's moment
// (the first day at 00:00 plus span / n x i days on the birth's clock) would.
TEST_F(AspGraphCalcTest, EachTechniqueCastsItsKindAndMethodAtTheSampleMoment) {
  struct Row {
    int technique, kind, method;
  } rows[] = {{0, 0, 0}, {1, 5, 0}, {2, 5, 1}, {3, 5, 2}, {4, 5, 3}, {5, 5, 4},
              {6, 3, 0}, {7, 4, 0}, {8, 4, 1}, {9, 4, 2}, {10, 4, 3}};
  const ChartContext ctx = Context();
  const Chart radix = Radix();
  const double ascendant = radix.GetCusp(0).Get();
  for (const Row& row : rows) {
    for (int converse : {0, 1}) {
      CAspGraphCalc calc = Prepared({Pair(0, row.technique, converse, 34, 0, 0)});
      int maxOrb = 0;
      ASSERT_TRUE(calc.Calculate(ctx, 4, maxOrb).ok());
      EXPECT_EQ(maxOrb, 18000);

      Chart expected = Natal();
      if (row.technique != 0) {
        Source life = Birth();
        Moment at(firstDay_, FTime());
        (void)at.AddDays(31.0 / 4 * 2);
        life.AssignMoment(at);
        expected.definition.sources[1] = life;
        expected.definition.SetKind(static_cast<std::uint16_t>(row.kind));
        expected.definition.keyKind = static_cast<std::uint16_t>(row.method);
        expected.definition.converse = static_cast<std::uint16_t>(converse);
      }
      ASSERT_TRUE(ChartCalculate(ctx, expected, 1).ok());
      const double sun = expected.GetPointLongitude(0).Get();
      EXPECT_NEAR(calc.Cell(0, 2).arc, FoldedHundredths(sun, ascendant), 1.0)
          << "technique " << row.technique << " converse " << converse;
    }
  }
}

TEST_F(AspGraphCalcTest, ARulerIsTheRadixRulerWhateverTechniqueThePairNames) {
  const ChartContext ctx = Context();
  const Chart radix = Radix();
  const int ruler = RulerOfHouse(ctx, radix, 0);
  ASSERT_GE(ruler, 0);
  const double rulerLongitude = radix.GetPointLongitude(ruler).Get();
  // The stored technique of the ruler is transits, converse: it is still the radix ruler.
  CAspGraphCalc calc = Prepared({Pair(0, 6, 0, 46, 6, 1)});
  int maxOrb = 0;
  ASSERT_TRUE(calc.Calculate(ctx, 4, maxOrb).ok());
  for (int i : {0, 3}) {
    Chart transit = Natal();
    transit.definition.sources[1] = Birth();
    transit.definition.sources[1].AssignMoment(calc.MomentOfSample(i));
    transit.definition.SetKind(kChartTransit);
    ASSERT_TRUE(ChartCalculate(ctx, transit, 1).ok());
    EXPECT_NEAR(calc.Cell(0, i).arc,
                FoldedHundredths(transit.GetPointLongitude(0).Get(), rulerLongitude), 1.0);
  }
}

TEST_F(AspGraphCalcTest, TheLifePointMovesThirtyDegreesInSevenYearsFromAries) {
  // Sample 0 lies exactly 56 years after the birth: eight signs on, at 240 degrees.
  const Chart radix = Radix();
  CAspGraphCalc calc = Prepared({Pair(46, 5, 1, 0, 0, 0)});
  int maxOrb = 0;
  ASSERT_TRUE(calc.Calculate(Context(), 2, maxOrb).ok());
  EXPECT_NEAR(calc.Cell(0, 0).arc, FoldedHundredths(240.0, radix.GetPointLongitude(0).Get()), 1.0);
}

TEST_F(AspGraphCalcTest, CoincidingMembersGiveArcZeroInTheExactColour) {
  CAspGraphCalc calc = Prepared({Pair(3, 0, 0, 3, 0, 0, "TEST")});
  int maxOrb = 0;
  ASSERT_TRUE(calc.Calculate(Context(), 3, maxOrb).ok());
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(calc.Cell(0, i), (AspGraphCell{9, 0, 700, 0, 0})) << i;  // Venus: column 1
}

TEST(AspGraphCell, CellsKeepTheAspectTheOrbAndTheFoldedArc) {
  AspectSystem test("TEST", "TEST.ASP");
  test.SetAspects({MakeAspect(0, {8, 7, 6, 5, 4, 1}, 12, 9),
                   MakeAspect(90, {6, 5, 4, 3, 2.5, 0.5}, 2, 10),
                   MakeAspect(17, {4, 4, 4, 4, 4, 0}, 5, 13)});
  struct Row {
    const char* name;
    double a, b;
    int column;
    AspGraphCell cell;
  } rows[] = {
      {"coinciding", 100, 100, 0, {9, 0, 800, 0, 0}},
      {"folded_past_0_aries", 10, 350, 0, {5, 300, 400, -3, 2000}},
      {"square_column_4", 10, 101, 4, {2, 100, 250, 2, 9100}},
      {"square_within_exact_orb", 10, 280.25, 4, {10, 25, 250, 2, 8975}},
      {"outside_every_orb", 0, 45, 0, {}},
      {"absent_longitude", -777.0, 45, 0, {}},
  };
  for (const Row& row : rows)
    EXPECT_EQ(AspGraphCellOf(test, row.a, row.b, OrbColumn{row.column}), row.cell) << row.name;
}

TEST_F(AspGraphCalcTest, OrbColumnsFollowTheClassesWithHouseClassFiveInColumnFour) {
  // Default orb classes: Sun 1, Saturn 2, Jupiter 2, Uranus 3. The radix here has cusps by hand:
  // IV in Cancer (ruler the Moon, class 1), X in Pisces (Jupiter); XII is absent.
  Chart radix;
  for (int h = 0; h < 11; ++h) radix.cusps[static_cast<std::size_t>(h)].Set(h * 30.0 + 5.0);
  radix.cusps[9].Set(355.0);
  const ChartContext ctx = Context();
  struct Row {
    const char* name;
    AspGraphPair pair;
    int houseClass, column;
  } rows[] = {
      {"sun_saturn", Pair(0, 6, 0, 6, 0, 0), 5, 0},
      {"saturn_uranus", Pair(6, 6, 0, 7, 0, 0), 5, 1},
      {"point_cusp_class_5", Pair(7, 6, 0, 34, 0, 0), 5, 4},
      {"point_cusp_class_3", Pair(7, 6, 0, 34, 0, 0), 3, 2},
      {"cusp_point", Pair(40, 6, 0, 6, 0, 0), 5, 4},
      {"life_point_saturn", Pair(46, 1, 0, 6, 0, 0), 5, 1},
      {"life_point_cusp", Pair(46, 1, 0, 37, 0, 0), 1, 0},
      {"uranus_ruler_of_iv", Pair(7, 6, 0, 49, 0, 0), 5, 0},
      {"life_point_ruler_of_x", Pair(46, 1, 0, 55, 0, 0), 5, 1},
      {"saturn_ruler_of_absent_xii", Pair(6, 6, 0, 57, 0, 0), 5, 1},
  };
  for (const Row& row : rows) {
    CAspGraphCalc calc = Prepared({row.pair}, 0, row.houseClass);
    EXPECT_EQ(calc.OrbColumnOfPair(ctx, radix, 0), row.column) << row.name;
  }
  EXPECT_EQ(RulerOfHouse(ctx, radix, 3), 1);
  EXPECT_EQ(RulerOfHouse(ctx, radix, 9), 5);
  EXPECT_EQ(RulerOfHouse(ctx, radix, 11), -1);
}

TEST_F(AspGraphCalcTest, TheLargestOrbIsTakenInEachPairsColumnOfItsSystem) {
  struct Row {
    const char* name;
    std::vector<AspGraphPair> pairs;
    int houseClass, maxOrb;
  } rows[] = {
      {"no_pairs", {}, 1, 0},
      {"saturn_uranus_column_1", {Pair(6, 6, 0, 7, 0, 0, "TEST")}, 1, 700},
      {"cusp_class_5", {Pair(7, 6, 0, 34, 0, 0, "TEST")}, 5, 400},
      {"missing_system", {Pair(0, 6, 0, 1, 0, 0, "NONE")}, 1, 0},
      {"largest_over_pairs",
       {Pair(7, 6, 0, 34, 0, 0, "TEST"), Pair(0, 6, 0, 1, 0, 0, "TEST"),
        Pair(0, 6, 0, 1, 0, 0, "NONE")},
       5,
       800},
  };
  const ChartContext ctx = Context();
  for (const Row& row : rows) {
    CAspGraphCalc calc = Prepared(row.pairs, 0, row.houseClass);
    int maxOrb = -1;
    ASSERT_TRUE(calc.Calculate(ctx, 2, maxOrb).ok());
    EXPECT_EQ(maxOrb, row.maxOrb) << row.name;
  }
}

TEST_F(AspGraphCalcTest, APairWhoseSystemIsNotLoadedHasNoAspects) {
  CAspGraphCalc calc = Prepared({Pair(0, 6, 0, 0, 0, 0, "NONE"), Pair(0, 6, 0, 0, 0, 0)});
  int maxOrb = 0;
  ASSERT_TRUE(calc.Calculate(Context(), 3, maxOrb).ok());
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(calc.Cell(0, i).HasAspect());
    EXPECT_TRUE(calc.Cell(1, i).HasAspect());
  }
}

TEST_F(AspGraphCalcTest, ProgressStepsBySampleAndCancelLeavesTheRestEmpty) {
  CAspGraphCalc calc = Prepared({Pair(1, 6, 0, 0, 0, 0)});
  int maxOrb = 0;
  RecordingProgress whole;
  ASSERT_TRUE(calc.Calculate(Context(), 4, maxOrb, &whole).ok());
  EXPECT_EQ(whole.positions, (std::vector<int>{0, 25, 50, 75}));
  EXPECT_FALSE(calc.Cancelled());

  RecordingProgress cancelling;
  cancelling.cancelAt = 3;
  ASSERT_TRUE(calc.Calculate(Context(), 6, maxOrb, &cancelling).ok());
  EXPECT_TRUE(calc.Cancelled());
  EXPECT_EQ(cancelling.ended, 1);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(calc.Cell(0, i).HasAspect(), i < 3) << i;
}

TEST_F(AspGraphCalcTest, SamplesAreHeldWithinTheCapAndTheFirstDayMovesInTheCalculationOnly) {
  CAspGraphData data;
  ASSERT_TRUE(data.AddList("none", 0, 1).ok());
  data.SetFirstDay(firstDay_);
  CAspGraphCalc calc;
  calc.Prepare(Natal(), data);
  int maxOrb = 0;
  ASSERT_TRUE(calc.Calculate(Context(), 100000, maxOrb).ok());
  EXPECT_EQ(calc.SampleCount(), aspgraph::kMaxSamples);
  ASSERT_TRUE(calc.Calculate(Context(), -3, maxOrb).ok());
  EXPECT_EQ(calc.SampleCount(), 0);

  ASSERT_TRUE(calc.Calculate(Context(), 4, maxOrb).ok());
  EXPECT_EQ(calc.MomentOfSample(2).ToText(), "16:01:2014  12:00");
  calc.ShiftFirstDay(-15);
  EXPECT_EQ(calc.MomentOfSample(0).ToText(), "17:12:2013  00:00");
  EXPECT_EQ(data.FirstDay(), firstDay_);
}

}  // namespace
