#include "settings/core/settings_pages.h"

#include <gtest/gtest.h>

#include <cmath>

#include "foundation/messages/message_numbers.h"

namespace {

using namespace settings;

TEST(AspectFilterPage, BitSetsAreScreenPlusTwiceThePrinter) {
  const struct {
    bool screen, printer;
    int bits;
  } cases[] = {{false, false, 0}, {true, false, 1}, {false, true, 2}, {true, true, 3}};
  for (const auto& c : cases) {
    cfg::AspectFilter filter;
    AspectFilterPage page = AspectFilterPage::From(filter);
    page.dashedScreen = c.screen;
    page.dashedPrinter = c.printer;
    page.thickScreen = c.printer;
    page.thickPrinter = c.screen;
    page.To(filter);
    EXPECT_EQ(filter.dashedLines, c.bits);
    EXPECT_EQ(filter.thickLines, (c.printer ? 1 : 0) + (c.screen ? 2 : 0));
    // And back: the two bits split again.
    const AspectFilterPage again = AspectFilterPage::From(filter);
    EXPECT_EQ(again.dashedScreen, c.screen);
    EXPECT_EQ(again.dashedPrinter, c.printer);
  }
}

TEST(AspectFilterPage, SwitchesKeepTheirOrder) {
  cfg::AspectFilter filter;
  AspectFilterPage page = AspectFilterPage::From(filter);
  page.shows = {true, false, true, false, true, false, true, false, true};
  page.overlay = 1;
  page.alwaysAsk = true;
  page.To(filter);
  // harmonious, tense, creative, karmic, other, major, minor, exact, inexact; overlay, always
  // ask; dashed and thick lines as they were.
  EXPECT_EQ(filter, (cfg::AspectFilter{1, 0, 1, 0, 1, 0, 1, 0, 1, 1, 1, 0, 0}));
}

TEST(LineTypesPage, BytesOutsideTheValidValuesShowSolidThinAndAreWrittenZero) {
  std::array<std::uint8_t, 10> table = {0, 3, 7, 10, 13, 14, 20, 255, 12, 4};
  LineTypesPage page = LineTypesPage::From(table);
  const std::array<int, 10> style = {0, 3, 0, 0, 3, 0, 0, 0, 2, 0};
  const std::array<int, 10> thick = {0, 0, 0, 1, 1, 0, 0, 0, 1, 0};
  EXPECT_EQ(page.style, style);
  EXPECT_EQ(page.thickness, thick);
  EXPECT_EQ(table, (std::array<std::uint8_t, 10>{0, 3, 0, 10, 13, 0, 0, 0, 12, 0}));

  // OK: 10 x radio + combo.
  page.style[2] = 1;
  page.thickness[2] = 1;
  page.style[5] = 3;
  std::array<std::uint8_t, 10> out{};
  page.To(out);
  EXPECT_EQ(out, (std::array<std::uint8_t, 10>{0, 3, 11, 10, 13, 3, 0, 0, 12, 0}));
}

TEST(PlanetsPage, AnOrbGroupOutsideOneToFiveIsRefusedAndNothingStored) {
  Configuration config;
  const Configuration before = config;
  PlanetsPage page = PlanetsPage::From(config);
  EXPECT_EQ(page.FirstBadOrbGroup(), -1);
  for (const int bad : {0, 6, -1}) {
    page.objects[20].orbGroup = bad;
    page.objects[3].shown = !page.objects[3].shown;
    EXPECT_EQ(page.FirstBadOrbGroup(), 20) << bad;
    EXPECT_FALSE(page.To(config));
    EXPECT_EQ(config, before);
  }
  page.objects[20].orbGroup = 2;
  page.objects[33].aspect2 = true;
  ASSERT_TRUE(page.To(config));
  EXPECT_EQ(config.GetObjectFlags(20).orbGroup, 2);
  EXPECT_TRUE(config.GetObjectFlags(33).aspect2);
  EXPECT_EQ(config.GetObjectFlags(3).shown, page.objects[3].shown);
}

TEST(CalculationsPage, GeodeticHousesOnlyWhereTheSystemHasAGeodeticForm) {
  for (int system = 0; system < kHouseSystemCount; ++system) {
    CalculationsPage page;
    page.houseSystem = system;
    page.geodetic = false;
    EXPECT_TRUE(page.GeodeticAllowed()) << system;
    page.geodetic = true;
    const bool expected =
        system == 0 || system == 1 || system == 2 || system == 5 || system == 6 || system == 7;
    EXPECT_EQ(page.GeodeticAllowed(), expected) << system;
  }
  cfg::CalculationSettings settings;
  settings.houseSystem = 106;  // a chart's geodetic Koch as some older files hold it
  CalculationsPage page = CalculationsPage::From(settings);
  EXPECT_EQ(page.houseSystem, 6);
  page.geodetic = true;
  page.lunarNodes = 0;
  page.To(settings);
  EXPECT_EQ(settings.houseSystem, 6);
  EXPECT_EQ(settings.geodetic, 1);
  EXPECT_EQ(settings.lunarNodes, 0);
}

TEST(PrintPage, EnablingFollowsTheFourChecks) {
  PrintPage page;
  page.values.aspectTable = 1;
  page.values.header = 0;
  page.values.coordinates = 0;
  page.values.pageFrame = 0;
  EXPECT_FALSE(page.MarginsEnabled());
  const bool rows[kPrintOffsetRows] = {true,  true,  false, false, false,
                                       false, false, false, false, false};
  for (int r = 0; r < kPrintOffsetRows; ++r) EXPECT_EQ(page.RowEnabled(r), rows[r]) << r;
  page.values.aspectTable = 0;
  page.values.header = 1;
  page.values.coordinates = 1;
  page.values.pageFrame = 1;
  EXPECT_TRUE(page.MarginsEnabled());
  for (int r = 0; r < kPrintOffsetRows; ++r) EXPECT_EQ(page.RowEnabled(r), r >= 2) << r;
}

TEST(PrintPage, OffsetCellsMapOntoTheSettingsRowByRow) {
  EXPECT_EQ(PrintPage::OffsetIndex(0, 0), 0);
  EXPECT_EQ(PrintPage::OffsetIndex(1, 2), 5);   // aspect table top, small chart
  EXPECT_EQ(PrintPage::OffsetIndex(7, 1), 22);  // full coordinates top, overlay
  EXPECT_EQ(PrintPage::OffsetIndex(8, 1), 24);  // chart II left: overlay only
  EXPECT_EQ(PrintPage::OffsetIndex(9, 1), 25);
  EXPECT_EQ(PrintPage::OffsetIndex(8, 0), -1);
  EXPECT_EQ(PrintPage::OffsetIndex(9, 2), -1);
}

TEST(PrintPage, MarginsAndOffsetsOutsideThePageAreRefused) {
  PrintPage page = PrintPage::From(cfg::PrintSettings{});
  EXPECT_EQ(page.Check(), 0);
  const struct {
    int margin, offset, message;
  } cases[] = {{0, 0, 0},
               {5000, 29700, 0},
               {5001, 0, kMsgMarginRange},
               {-1, 0, kMsgMarginRange},
               {0, -5, kMsgOffsetRange},
               {0, 29701, kMsgOffsetRange}};
  for (const auto& c : cases) {
    page.values.marginRight = c.margin;
    page.values.offsets[13] = c.offset;
    EXPECT_EQ(page.Check(), c.message) << c.margin << " " << c.offset;
  }
}

TEST(RulersPage, SelectionIsValuePlusOneAndOutOfRangeShowsNone) {
  std::array<std::int16_t, Configuration::kRulerCount> rulers{};
  rulers.fill(-1);
  rulers[0] = 4;    // Aries: Mars
  rulers[13] = 29;  // Taurus second ruler: Poseidon
  rulers[5] = 30;   // out of range
  rulers[6] = -2;   // out of range
  RulersPage page = RulersPage::From(rulers);
  EXPECT_EQ(page.selection[0], 5);
  EXPECT_EQ(page.selection[13], 30);
  EXPECT_EQ(page.selection[12], 0);
  EXPECT_EQ(page.selection[5], 0);
  EXPECT_EQ(page.selection[6], 0);
  page.selection[1] = 30;  // "Посейдон"
  page.selection[2] = 30;  // the same body again: not checked
  page.To(rulers);
  EXPECT_EQ(rulers[1], 29);
  EXPECT_EQ(rulers[2], 29);
  EXPECT_EQ(rulers[5], -1);
  EXPECT_EQ(rulers[12], -1);
  EXPECT_EQ(rulers[0], 4);
}

TEST(WheelSetsPage, ValuesInTheirOrderAndRefusedOnesLeaveTheSetAlone) {
  WheelSetsPage page;
  std::array<double, kWheelSetValues> values = page.Values(2);
  EXPECT_EQ(values[0], page.sets.GetSet(2).Get(cfg::WheelSet::kZodiacOuter));
  EXPECT_EQ(values[20], page.sets.GetSet(2).Get(cfg::WheelSet::kDegreeTextSize));
  values[17] = 0.3;
  ASSERT_TRUE(page.SetValues(2, values));
  EXPECT_EQ(page.sets.GetSet(2).Get(cfg::WheelSet::kCentreCircleRadius), 0.3);
  const WheelConstants before = page.sets;
  for (const double bad : {-0.01, 360.5, std::nan("")}) {
    std::array<double, kWheelSetValues> changed = values;
    changed[0] = 0.5;
    changed[5] = bad;
    EXPECT_FALSE(page.SetValues(2, changed)) << bad;
    EXPECT_EQ(page.sets, before);
  }
  EXPECT_FALSE(page.SetValues(14, values));
}

}  // namespace
