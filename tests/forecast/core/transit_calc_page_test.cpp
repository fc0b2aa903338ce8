// The transit calculation page: the modes a chart kind allows, the target list of each mode, the
// control states of the aspect choices and orb sources, the class checks that never all go off,
// and the checks of OK with their messages.
#include "forecast/core/transit_calc_page.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "astro/aspects/aspect_system.h"
#include "astro/aspects/aspectarium.h"
#include "conditions/condition_test_support.h"
#include "conditions/core/groups.h"
#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "support/test_support.h"

namespace {

class TransitCalcPageTest : public ::testing::Test {
 protected:
  TransitCalcPageTest() {
    systems_.LoadAll(testing_support::SourceDir() / "data");
    stored_ = TransitSettings::FromBlock(Configuration().transit);
    groups_.AddGroup('P', condition_test::Group("fast", {0, 1}));
    groups_.AddGroup('H', condition_test::Group("angles", {0}));
    chart_ = {3, 15, 6, 1985, 'A'};
  }
  TransitCalcPage Page() const { return TransitCalcPage(stored_, chart_, groups_, systems_); }
  int SystemAspects() const { return systems_.GetSystem(0).Count(); }
  int PositionOf(double angle) const {
    const AspectSystem& system = systems_.GetSystem(0);
    for (int p = 0; p < system.Count(); ++p)
      if (std::fabs(system.GetAspect(p).angle - angle) < 1e-6) return p;
    return -1;
  }

  Aspectarium systems_;
  Groups groups_;
  TransitSettings stored_;
  TransitChartInput chart_;
};

TEST_F(TransitCalcPageTest, TheChartKindDecidesTheModes) {
  struct Case {
    int kind, storedMode;
    bool mode0, mode1;
    int mode;
  } const cases[] = {
      {0, 1, true, false, 0}, {1, 1, true, false, 0}, {6, 1, true, false, 0},
      {5, 0, false, true, 1}, {3, 1, true, true, 1},  {4, 0, true, true, 0},
  };
  for (const Case& c : cases) {
    chart_.kind = c.kind;
    stored_.mode = c.storedMode;
    const TransitCalcPage page = Page();
    EXPECT_EQ(std::make_tuple(page.ModeEnabled(0), page.ModeEnabled(1), page.Values().mode),
              std::make_tuple(c.mode0, c.mode1, c.mode))
        << "kind " << c.kind;
  }
}

// The period starts at the chart's date and never opens longer than the search covers: a stored
// end within it stays; one before the start or past the search gives a year from the start, or as
// far as the search reaches (the Sun with Jupiter: 403 days of the table; the Moon with the Sun:
// 30; the Sun to the natal chart from a transit chart: 273.9 days). A typed period is kept.
TEST_F(TransitCalcPageTest, APeriodOpensAsTheSearchCoversIt) {
  struct Case {
    const char* name;
    TransitChartInput chart;
    int mode, transiting, target;
    int endDay, endMonth, endYear;
    int day, month, year;
  } const cases[] = {
      {"end before a chart of now", {0, 7, 12, 2026}, 0, 0, 5, 31, 12, 2000, 7, 12, 2027},
      {"end the search reaches", {0, 1, 3, 2000}, 0, 0, 5, 31, 12, 2000, 31, 12, 2000},
      {"birth to 2000 would be cut", {0, 15, 6, 1985}, 0, 0, 5, 31, 12, 2000, 15, 6, 1986},
      {"leap day", {0, 29, 2, 2024}, 0, 0, 5, 1, 1, 2000, 28, 2, 2025},
      {"the Moon with the Sun", {0, 15, 6, 1985}, 0, 1, 0, 31, 12, 2000, 15, 7, 1985},
      {"transit chart to the natal one", {3, 7, 12, 2026}, 1, 0, 5, 31, 12, 2000, 6, 9, 2027},
      {"transit chart between bodies", {3, 7, 12, 2026}, 0, 0, 5, 1, 1, 2000, 7, 12, 2027},
      {"progressed chart: a day a year, decades searched",
       TransitChartInput{4, 15, 6, 1985, 'A', 1.0 / 365.25}, 0, 0, 5, 31, 12, 2000, 31, 12, 2000},
      {"typed period kept",
       TransitChartInput{0, 15, 6, 1985, 'A', 1.0, ShippedTransitPeriods(), true}, 0, 0, 5, 31, 12,
       2000, 31, 12, 2000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    chart_ = c.chart;
    std::tie(stored_.mode, stored_.transiting, stored_.target) =
        std::tie(c.mode, c.transiting, c.target);
    stored_.endDay = c.endDay;
    stored_.endMonth = c.endMonth;
    stored_.endYear = c.endYear;
    stored_.endEra = 'A';
    const TransitCalcPage page = Page();
    const TransitSettings& v = page.Values();
    EXPECT_EQ(std::make_tuple(v.startDay, v.startMonth, v.startYear),
              std::make_tuple(c.chart.day, c.chart.month, c.chart.year));
    EXPECT_EQ(std::make_tuple(v.endDay, v.endMonth, v.endYear, v.endEra),
              std::make_tuple(c.day, c.month, c.year, 'A'));
  }
}

// Mode 1 adds the twelve houses and the house groups; back in mode 0 a cusp target becomes the
// Sun, and the White Moon stays.
TEST_F(TransitCalcPageTest, TargetListsFollowTheMode) {
  stored_.mode = 1;
  stored_.target = kTransitCuspTarget + 9;
  TransitCalcPage page = Page();
  ASSERT_EQ(page.TargetEntries().size(), 13u + 12u + 1u + 1u);
  EXPECT_EQ(page.Values().target, kTransitCuspTarget + 9);
  EXPECT_EQ(page.TargetIndex(), 13 + 9);
  EXPECT_EQ(page.TargetEntries().back().code, kTransitHouseGroup);
  EXPECT_EQ(page.TargetEntries().back().groupName, "angles");
  page.ChooseMode(0);
  EXPECT_EQ(page.TargetEntries().size(), 13u + 1u);
  EXPECT_EQ(page.Values().target, 0);
  page.ChooseTarget(12);
  EXPECT_EQ(page.Values().target, 21);
  page.ChooseMode(1);
  page.ChooseMode(0);
  EXPECT_EQ(page.Values().target, 21);
  // A stored planet group is found by its name.
  stored_.target = kTransitPlanetGroup;
  stored_.groupName = "fast";
  EXPECT_EQ(Page().TargetEntries()[static_cast<std::size_t>(Page().TargetIndex())].groupName,
            "fast");
}

TEST_F(TransitCalcPageTest, AspectChoicesSetTheControlStates) {
  struct Case {
    const char* name;
    int stored;
    bool filter, given, systemOrb;
    int orbSource;
  } const cases[] = {
      {"one_aspect", 2, false, false, true, 1},
      {"any", kTransitAnyAspect, true, false, true, 1},
      {"given", kTransitOwnAngle, false, true, false, 0},
      {"beyond_the_system", 999, false, true, false, 0},
  };
  for (const Case& c : cases) {
    stored_.aspectChoice = static_cast<std::uint16_t>(c.stored);
    stored_.orbSource = 1;
    const TransitCalcPage page = Page();
    EXPECT_EQ(std::make_tuple(page.ClassFilterEnabled(), page.GivenAngleEnabled(),
                              page.SystemOrbEnabled(), int{page.Values().orbSource}),
              std::make_tuple(c.filter, c.given, c.systemOrb, c.orbSource))
        << c.name;
  }
  // "заданный" forces the constant orb; an aspect of the system enables the radio again.
  TransitCalcPage page = Page();
  ASSERT_EQ(page.AspectEntryCount(), SystemAspects() + 2);
  page.ChooseAspect(page.AspectEntryCount() - 1);
  EXPECT_EQ(page.Values().orbSource, 0);
  page.ChooseOrbSource(1);
  EXPECT_EQ(page.Values().orbSource, 0);
  page.ChooseAspect(0);
  page.ChooseOrbSource(1);
  EXPECT_EQ(page.Values().orbSource, 1);
  EXPECT_TRUE(page.HouseOrbGroupEnabled());
  EXPECT_FALSE(page.ConstantOrbEnabled());
  // With the class filter, the exact and inexact classes follow the orb source.
  page.ChooseAspect(page.AspectEntryCount() - 2);
  EXPECT_TRUE(page.ExactClassesEnabled());
  page.ChooseOrbSource(0);
  EXPECT_FALSE(page.ExactClassesEnabled());
  // Another system selects its first aspect and the constant orb.
  EXPECT_EQ(page.ChooseSystem(0), 0);
  EXPECT_EQ(page.AspectIndex(), 0);
  EXPECT_EQ(page.Values().orbSource, 0);
  EXPECT_EQ(page.ChooseSystem(systems_.Count()), kMsgAspectSystemNotFound);
}

TEST_F(TransitCalcPageTest, ClassChecksNeverAllGoOff) {
  stored_.classMask = 0x1F;  // no strength, neither exact nor inexact
  TransitCalcPage page = Page();
  EXPECT_TRUE(page.Values().MaskBit(kTransitMaskMajor));
  EXPECT_TRUE(page.Values().MaskBit(kTransitMaskExact));
  struct Case {
    int cleared, other;
  } const cases[] = {{kTransitMaskMajor, kTransitMaskMinor},
                     {kTransitMaskMinor, kTransitMaskMajor},
                     {kTransitMaskExact, kTransitMaskInexact},
                     {kTransitMaskInexact, kTransitMaskExact}};
  for (const Case& c : cases) {
    page.SetClassBit(c.other, false);
    page.SetClassBit(c.cleared, false);
    EXPECT_TRUE(page.Values().MaskBit(c.other)) << c.cleared;
    EXPECT_FALSE(page.Values().MaskBit(c.cleared)) << c.cleared;
  }
  page.SetClassBit(0, false);  // a nature may go off
  EXPECT_FALSE(page.Values().MaskBit(0));
}

TEST_F(TransitCalcPageTest, OkChecksRefuseWithTheirMessages) {
  struct Case {
    const char* name;
    int transiting, target, aspect, mask;
    int endDay, endMonth, endYear;
    int message;
  } const cases[] = {
      {"to_itself", 4, 4, 0, 0x1FF, 31, 12, 1985, kMsgAspectToItself},
      {"no_nature_with_any", 0, 4, kTransitAnyAspect, 0x1E0, 31, 12, 1985, kMsgNoAspectType},
      {"no_nature_one_aspect", 0, 4, 0, 0x1E0, 31, 12, 1985, 0},
      {"end_before_start", 0, 4, 0, 0x1FF, 14, 6, 1985, kMsgPeriodEndsBeforeStart},
      {"end_on_start", 0, 4, 0, 0x1FF, 15, 6, 1985, 0},
      {"no_such_day", 0, 4, 0, 0x1FF, 31, 2, 1986, kMsgDaysInMonth},
  };
  for (const Case& c : cases) {
    stored_.mode = 0;
    TransitCalcPage page = Page();
    page.ChooseTransiting(TransitCalcPage::EntryOfBody(c.transiting));
    page.ChooseTarget(TransitCalcPage::EntryOfBody(c.target));
    page.ChooseAspect(c.aspect == kTransitAnyAspect ? page.AspectEntryCount() - 2 : c.aspect);
    page.Edit().classMask = c.mask;
    std::tie(page.Edit().endDay, page.Edit().endMonth, page.Edit().endYear) =
        std::make_tuple(c.endDay, c.endMonth, c.endYear);
    EXPECT_EQ(page.Accept(), c.message) << c.name;
    EXPECT_EQ(page.Accepted(), c.message == 0) << c.name;
  }
}

// What OK stores: the chart's date as the start, the aspect's angle, the orbs by their source.
TEST_F(TransitCalcPageTest, OkStoresTheChoicesAsTheCalculationReadsThem) {
  TransitCalcPage page = Page();
  EXPECT_EQ(std::tie(page.Values().startDay, page.Values().startMonth, page.Values().startYear),
            std::make_tuple(15, 6, 1985));
  page.Edit().endYear = 1986;
  const int trine = PositionOf(120.0);
  ASSERT_GE(trine, 0);
  page.ChooseTarget(TransitCalcPage::EntryOfBody(18));
  page.ChooseAspect(trine);
  page.ChooseOrbSource(1);
  page.Edit().orbDegrees = 3;
  page.Edit().houseOrbGroup = 4;
  ASSERT_EQ(page.Accept(), 0);
  EXPECT_EQ(page.Values().target, 18);
  EXPECT_EQ(std::make_tuple(int{page.Values().aspectChoice}, int{page.Values().angleDegrees},
                            int{page.Values().angleMinutes}, int{page.Values().orbDegrees},
                            int{page.Values().houseOrbGroup}),
            std::make_tuple(trine, 120, 0, 0, 4));
  // A single aspect has no class filter: both exact classes are set.
  EXPECT_TRUE(page.Values().MaskBit(kTransitMaskExact));
  EXPECT_TRUE(page.Values().MaskBit(kTransitMaskInexact));
  // The given angle with the constant orb: the house orb group becomes 1.
  page.ChooseAspect(page.AspectEntryCount() - 1);
  page.Edit().angleDegrees = 33;
  page.Edit().orbDegrees = 2;
  ASSERT_EQ(page.Accept(), 0);
  EXPECT_EQ(std::make_tuple(int{page.Values().aspectChoice}, int{page.Values().angleDegrees},
                            int{page.Values().orbDegrees}, int{page.Values().houseOrbGroup}),
            std::make_tuple(kTransitOwnAngle, 33, 2, 1));
  // A planet group as the transiting object.
  page.ChooseTransiting(TransitCalcPage::kBodyEntries);
  EXPECT_EQ(std::make_tuple(page.Values().transiting, page.Values().transitingGroup),
            std::make_tuple(kTransitPlanetGroup, 0));
}

}  // namespace
