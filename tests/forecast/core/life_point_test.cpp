// The life point: the types file "velm.lpn", the settings block and page, and the events of one
// cycle: ages by hand for sign types direct and converse, every age within one cycle from the
// beginning age in time order, the count equal to the capacity, the order in which events are
// built, and the refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_definition.h"
#include "astro/lifepoint/life_point_all.h"
#include "forecast/core/life_point_events.h"
#include "forecast/core/life_point_page.h"
#include "forecast/core/life_point_settings.h"
#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/errors/error_report.h"
#include "foundation/messages/message_numbers.h"
#include "support/test_support.h"

namespace {

using testing_support::ScriptedPrompter;
using testing_support::TempFolder;

// ---- "velm.lpn" -----------------------------------------------------------------------------

struct LpnRow {
  const char* name;
  std::string bytes;
  int errorCode, message;
  std::vector<std::string> names;
};
void PrintTo(const LpnRow& r, std::ostream* out) { *out << r.name; }

class LpnFile : public ::testing::TestWithParam<LpnRow> {};

TEST_P(LpnFile, ReadsTypesOrRefusesTheWholeFile) {
  const LpnRow& row = GetParam();
  LifePointAll all;
  const Status st = all.Parse(row.bytes);
  EXPECT_EQ(st.ErrorCode(), row.errorCode);
  EXPECT_EQ(st.MessageNumber(), row.message);
  std::vector<std::string> names;
  for (const LifePoint& t : all.Types()) names.push_back(t.name);
  EXPECT_EQ(names, row.names);
}

const std::string k100(100, 'x');

INSTANTIATE_TEST_SUITE_P(
    Golden, LpnFile,
    ::testing::Values(
        LpnRow{"no_types", "0\r\n", 0, 0, {}},
        LpnRow{"two_types", "2\r\nHDAHhouses\r\nSRCBsigns\r\n", 0, 0, {"houses", "signs"}},
        LpnRow{"five_characters", "1\nSDAHa", 0, 0, {"a"}},
        LpnRow{"four_characters_damage", "2\nSDAHa\nSDAH\n", 0, 432, {}},
        LpnRow{"first_past_L_damage", "1\nSDMHname\n", 0, 432, {}},
        LpnRow{"zero_years_damage", "1\nSDAAname\n", 0, 432, {}},
        LpnRow{"a_line_missing", "3\nSDAHa\nSDAHb\n", kErrRead, 0, {}},
        LpnRow{"no_count", "types\nSDAHa\n", kErrRead, 0, {}},
        LpnRow{"negative_count", "-1\n", kErrRead, 0, {}},
        // A line past 79 characters: the rest is not taken for the next type.
        LpnRow{"long_line", "2\nSDAH" + k100 + "\nHDAHb\n", 0, 0, {std::string(75, 'x'), "b"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LpnFileOnDisk, TheShippedTypesAndAMissingFile) {
  LifePointAll all;
  ASSERT_TRUE(all.Load(testing_support::SourceDir() / "data" / "velm.lpn").ok());
  ASSERT_EQ(all.Count(), 4);
  const LifePoint& signs = all.Types()[2];
  EXPECT_EQ(signs.mode, 'S');
  EXPECT_EQ(signs.direction, 'D');
  EXPECT_EQ(signs.first, 0);
  EXPECT_EQ(signs.years, 7);
  EXPECT_EQ(all.Types()[3].direction, 'R');
  TempFolder folder;
  EXPECT_EQ(all.Load(folder / "velm.lpn").ErrorCode(), kErrCannotOpen);
  EXPECT_EQ(all.Count(), 0);
}

// ---- the settings block and the page ---------------------------------------------------------

TEST(LifePointSettingsBlock, RoundTripsByteForByteAndValueForValue) {
  using P = cfg::LifePointSettings;
  cfg::ByteBlock block(P::kSize);
  LifePointSettings s;
  s.aspectSystemName = "ABCDEFGHIJK";
  std::tie(s.houseTargets, s.pointTargets, s.withNodes, s.withIngresses, s.aspectChoice, s.exact,
           s.entering, s.leaving, s.orbMode, s.toThisChart) =
      std::make_tuple(4, 2, 1, 1, 2, 1, 1, 1, 1, 1);
  std::tie(s.planetOrbGroup, s.houseOrbGroup, s.typeIndex, s.beginAge, s.interval, s.printInterval,
           s.fontSize, s.printFontSize, s.maxColumns, s.printOrder) =
      std::make_tuple(3, 4, 2, -150, 1500, 1250, 120, 90, 4, 1);
  s.ToBlock(block);
  EXPECT_EQ(LifePointSettings::FromBlock(block), s);
  // Written again, the block is the same bytes; the configuration's defaults too.
  cfg::ByteBlock again(P::kSize);
  LifePointSettings::FromBlock(block).ToBlock(again);
  EXPECT_EQ(again, block);
  Configuration config;
  cfg::ByteBlock defaults = config.lifePoint;
  LifePointSettings::FromBlock(config.lifePoint).ToBlock(defaults);
  EXPECT_EQ(defaults, config.lifePoint);
}

TEST(LifePointPageModel, OpensWithSaneValues) {
  LifePointSettings stored;
  stored.typeIndex = 7;
  stored.planetOrbGroup = 9;
  stored.beginAge = 500;
  stored.aspectChoice = 7;
  stored.aspectSystemName = "SYSTEM";
  const LifePointPage natal(stored, kChartNatal, 3);
  EXPECT_EQ(natal.Values().typeIndex, 0);  // index 7 with 3 types
  EXPECT_EQ(natal.Values().planetOrbGroup, 5);
  EXPECT_EQ(natal.Values().beginAge, 200);
  EXPECT_EQ(natal.Values().aspectChoice, 1);
  EXPECT_FALSE(natal.ThisChartEnabled());
  stored.typeIndex = 2;
  LifePointPage transit(stored, kChartTransit, 3);
  EXPECT_EQ(transit.Values().typeIndex, 2);
  EXPECT_TRUE(transit.ThisChartEnabled());
  for (int kind : {1, 2, 6, 7, 9}) EXPECT_FALSE(LifePointPage(stored, kind, 3).ThisChartEnabled());
  for (int kind : {4, 5, 8}) EXPECT_TRUE(LifePointPage(stored, kind, 3).ThisChartEnabled());
  transit.SetSystemName("LONGER THAN ELEVEN");
  EXPECT_EQ(transit.Values().aspectSystemName, "LONGER THAN");
  transit.SetSystemName("VELM   ");
  EXPECT_EQ(transit.Values().aspectSystemName, "VELM");
}

// ---- the events --------------------------------------------------------------------------------

class LifePointEvents : public ::testing::Test {
 protected:
  LifePointEvents() {
    std::filesystem::copy_file(testing_support::SourceDir() / "data" / "VELM.asp",
                               folder_ / "VELM.asp");
    EXPECT_TRUE(systems_.LoadAll(folder_.Path()).empty());
    context_ = std::make_unique<ChartContext>(config_, systems_);
    EXPECT_TRUE(types_
                    .Parse("4\nSDAHsigns direct\nSRAHsigns converse\nHDAHhouses direct\n"
                           "HRCHhouses converse\n")
                    .ok());
    chart_.definition.SetKind(kChartNatal);
    Source& s = chart_.definition.sources[0];
    EXPECT_TRUE(s.SetUniversalTime(2444239.6).ok());  // 1980
    EXPECT_TRUE(s.place.SetPlace(55, 45, 'N', 37, 37, 'E', "", "").ok());
    EXPECT_TRUE(ChartCalculate(Ctx(), chart_).ok());
    settings_ = LifePointSettings::FromBlock(config_.lifePoint);
    settings_.aspectSystemName = "VELM";
    settings_.pointTargets = 1;
    settings_.houseTargets = 0;
    settings_.withNodes = 0;
    settings_.withIngresses = 0;
    settings_.aspectChoice = 0;
    settings_.exact = 1;
    settings_.entering = settings_.leaving = 0;
    settings_.orbMode = 0;
    settings_.planetOrbGroup = 2;
    settings_.beginAge = 0;
  }

  static void ExpectOneCycleInOrder(const std::vector<LifePointEvent>& events, double begin,
                                    double cycle) {
    for (std::size_t i = 0; i < events.size(); ++i) {
      EXPECT_GT(events[i].age, begin) << i;
      EXPECT_LE(events[i].age, begin + cycle + 1e-9) << i;
      if (i > 0) {
        EXPECT_LE(events[i - 1].julianDay, events[i].julianDay) << i;
        EXPECT_LE(events[i - 1].age, events[i].age) << i;
      }
    }
  }

  TempFolder folder_;
  Configuration config_;
  Aspectarium systems_;
  std::unique_ptr<ChartContext> context_;
  const ChartContext& Ctx() const { return *context_; }
  LifePointAll types_;
  Chart chart_;
  LifePointSettings settings_;
  ScriptedPrompter prompts_;
};

TEST_F(LifePointEvents, SignTypesReachEachLongitudeAtItsAgeDirectAndConverse) {
  // By signs from sign 0 at 7 years a sign: a direct point reaches L at L / 30 x 7 years; a
  // converse one starts at 30 degrees and runs back, reaching L at ((30 - L) mod 360) / 30 x 7.
  for (int typeIndex : {0, 1}) {
    settings_.typeIndex = static_cast<std::int16_t>(typeIndex);
    LifePointComputation run(Ctx(), chart_, types_);
    ASSERT_TRUE(run.Compute(settings_).ok());
    ASSERT_EQ(run.Events().size(), 10u);  // Sun to Pluto, the conjunction, exact
    for (const LifePointEvent& e : run.Events()) {
      const double l = chart_.points[static_cast<std::size_t>(e.target)].longitude.Get();
      EXPECT_DOUBLE_EQ(e.reachLongitude, l);
      const double arc = typeIndex == 0 ? l : std::fmod(30.0 - l + 360.0, 360.0);
      double expected = arc / 30.0 * 7.0;
      if (expected <= 0.0) expected += 84.0;
      EXPECT_NEAR(e.age, expected, 1e-5) << "point " << e.target << " type " << typeIndex;
    }
    ExpectOneCycleInOrder(run.Events(), 0.0, 84.0);
  }
}

TEST_F(LifePointEvents, EveryAgeLiesInOneCycleFromTheBeginningAge) {
  settings_.typeIndex = 2;  // houses, 7 years
  settings_.houseTargets = 4;
  settings_.withIngresses = 1;
  settings_.aspectChoice = 1;
  settings_.entering = settings_.leaving = 1;
  struct Row {
    int begin, expectedBegin, message;
  };
  for (const Row& r : {Row{30, 30, 0}, Row{0, 0, 0}, Row{76, 76, 0}, Row{80, 77, 434},
                       Row{-10, -10, 0}, Row{-100, -100, 0}, Row{-84, -84, 0}}) {
    settings_.beginAge = static_cast<std::int16_t>(r.begin);
    LifePointComputation run(Ctx(), chart_, types_);
    const Status st = run.Compute(settings_);
    EXPECT_EQ(st.MessageNumber(), r.message) << r.begin;
    EXPECT_EQ(settings_.beginAge, r.expectedBegin);
    ASSERT_EQ(static_cast<int>(run.Events().size()), run.Capacity()) << r.begin;
    ExpectOneCycleInOrder(run.Events(), r.expectedBegin, 84.0);
  }
}

TEST_F(LifePointEvents, TheCountEqualsTheCapacityWithEverythingOn) {
  settings_.typeIndex = 3;  // houses, converse, from house 3
  settings_.pointTargets = 3;
  settings_.houseTargets = 4;
  settings_.withNodes = 1;
  settings_.withIngresses = 1;
  settings_.aspectChoice = 2;
  settings_.entering = settings_.leaving = 1;
  settings_.orbMode = 1;
  LifePointComputation run(Ctx(), chart_, types_);
  ASSERT_TRUE(run.Compute(settings_).ok());
  // 34 points and 12 cusps, each aspect of the system on both sides save the conjunction and the
  // opposition, three phases, and 12 ingresses.
  int sides = 0;
  for (const Aspect& a : systems_.GetSystem(0).Aspects())
    sides += (ClassifyAspectAngle(a) == 0 || ClassifyAspectAngle(a) == 1) ? 1 : 2;
  EXPECT_EQ(run.Capacity(), 3 * sides * 46 + 12);
  EXPECT_EQ(static_cast<int>(run.Events().size()), run.Capacity());
  ExpectOneCycleInOrder(run.Events(), 0.0, 84.0);
}

TEST_F(LifePointEvents, EventsAreBuiltInTargetAspectSidePhaseOrder) {
  settings_.pointTargets = 0;
  settings_.withNodes = 1;  // the nodes alone, whatever the planet choice
  settings_.entering = settings_.leaving = 1;
  LifePointComputation run(Ctx(), chart_, types_);
  const AspectSystem& system = systems_.GetSystem(0);
  run.BuildEvents(settings_, system);
  std::string built;
  for (const LifePointEvent& e : run.Events())
    built += std::to_string(e.target) + e.side + e.phase + " ";
  EXPECT_EQ(built, "16LE 16LI 16LO 17LE 17LI 17LO ");

  // All aspects: a square on both sides, an opposition on side 'L' only.
  settings_.aspectChoice = 2;
  settings_.entering = settings_.leaving = 0;
  run.BuildEvents(settings_, system);
  std::string squareSides, oppositionSides;
  for (const LifePointEvent& e : run.Events()) {
    if (e.target != 16) continue;
    const int cls = ClassifyAspectAngle(system.GetAspect(e.aspect));
    if (cls == 2) squareSides += e.side;
    if (cls == 1) oppositionSides += e.side;
  }
  EXPECT_EQ(squareSides, "LR");
  EXPECT_EQ(oppositionSides, "L");
}

TEST_F(LifePointEvents, AConverseTypeEntersAboveTheAspectPointAndCrossesSignsAtTheirEnd) {
  const AspectSystem& system = systems_.GetSystem(0);
  settings_.withIngresses = 1;
  settings_.entering = 1;
  struct Row {
    int type;
    double enterShift, ingressShift;
  };
  const double orb = system.GetAspect(0).orbs[1];  // the conjunction, orb group 2
  for (const Row& r : {Row{0, -orb, 0.0}, Row{1, +orb, 30.0}}) {
    LifePointComputation run(Ctx(), chart_, types_);
    run.SetType(types_.Types()[static_cast<std::size_t>(r.type)]);
    run.BuildEvents(settings_, system);
    run.SetEventLongitude(system, chart_);
    for (const LifePointEvent& e : run.Events()) {
      if (e.IsIngress()) {
        EXPECT_EQ(e.side, 'N');
        EXPECT_EQ(e.phase, 'E');
        const double expected = std::fmod(30.0 * (e.target - 1100) + r.ingressShift, 360.0);
        EXPECT_DOUBLE_EQ(e.reachLongitude, expected);
      } else if (e.phase == 'I') {
        const double l = chart_.points[static_cast<std::size_t>(e.target)].longitude.Get();
        EXPECT_NEAR(std::remainder(e.reachLongitude - (l + r.enterShift), 360.0), 0.0, 1e-9);
      }
    }
  }
}

TEST_F(LifePointEvents, OnATransitChartThePointStandsWhereItsAgeTakesIt) {
  // Signs from Aries at 7 years a sign: 14 years after birth the point stands at 60 degrees.
  Moment later = chart_.definition.sources[0].moment;
  later.AddYears(14.0);
  Chart transit;
  ASSERT_TRUE(MakeTransit(Ctx(), transit, chart_, later).ok());
  ASSERT_TRUE(ChartCalculate(Ctx(), transit).ok());
  settings_.typeIndex = 0;
  LifePointComputation run(Ctx(), transit, types_);
  ASSERT_TRUE(run.Compute(settings_).ok());
  EXPECT_NEAR(run.CurrentLongitude(), 60.0, 1e-6);
  EXPECT_EQ(run.Birth(), chart_.definition.sources[0].moment);
  EXPECT_EQ(run.Events().size(), 10u);
  // A natal chart has no current position.
  LifePointComputation natal(Ctx(), chart_, types_);
  ASSERT_TRUE(natal.Compute(settings_).ok());
  EXPECT_TRUE(IsAbsent(natal.CurrentLongitude()));
}

TEST_F(LifePointEvents, RefusedRunsGiveAMessageAndNoEvents) {
  {
    LifePointAll none;
    LifePointComputation run(Ctx(), chart_, none);
    EXPECT_EQ(run.Compute(settings_).MessageNumber(), kMsgLifePointNoTypes);
    EXPECT_TRUE(run.Events().empty());
  }
  LifePointSettings unknown = settings_;
  unknown.aspectSystemName = "NONE";
  LifePointComputation noSystem(Ctx(), chart_, types_);
  EXPECT_EQ(noSystem.Compute(unknown).MessageNumber(), kMsgNoSuchAspectSystem);
  EXPECT_TRUE(noSystem.Events().empty());

  Chart noCusps = chart_;
  noCusps.ConstructCusps();
  settings_.typeIndex = 2;  // by houses
  LifePointComputation absent(Ctx(), noCusps, types_);
  EXPECT_EQ(absent.Compute(settings_).MessageNumber(), kMsgLifePointNoCusps);
  EXPECT_TRUE(absent.Events().empty());
  settings_.typeIndex = 0;  // by signs: the cusps are not needed
  LifePointComputation signs(Ctx(), noCusps, types_);
  EXPECT_TRUE(signs.Compute(settings_).ok());
  EXPECT_EQ(signs.Events().size(), 10u);

  settings_.exact = 0;  // no phase
  LifePointComputation nothing(Ctx(), chart_, types_);
  EXPECT_EQ(nothing.Compute(settings_).MessageNumber(), kMsgLifePointNoTransit);
  EXPECT_TRUE(nothing.Events().empty());
}

}  // namespace
