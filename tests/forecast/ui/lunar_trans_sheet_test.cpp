// The lunar-transit settings sheet as the user meets it: the two pages, the refusals and the
// sheet shown again, and what reaches the configuration. (A period the page accepts is stored
// at the end of the refused-period case.)
#include "forecast/ui/lunar_trans_sheet.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSpinBox>
#include <array>
#include <tuple>

#include "foundation/datetime/super_source.h"
#include "foundation/messages/message_numbers.h"
#include "platform/qt/page_output.h"
#include "sheet_test.h"
#include "support/test_support.h"

namespace {

class LunarSheet : public SheetTest<LunarTransSheet, DLunarTrans> {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(SheetTest::SetUp());
    transit_.aspectSystem = systems_.GetSystem(0).GetName();
    transit_.dailyArc = 12.0;
    transit_.natalTargetAllowed = true;
  }
  static void Period(DLunarTrans& page, int daysBefore, int daysAfter) {
    page.PeriodGroup()->button(0)->click();
    page.YearsBeforeBox()->setValue(0);
    page.YearsAfterBox()->setValue(0);
    page.DaysBeforeBox()->setValue(daysBefore);
    page.DaysAfterBox()->setValue(daysAfter);
  }
  LunarTransSettings Stored() const { return LunarTransSettings::FromBlock(config_.lunarTransit); }

  LunarTransChartInput transit_;
};

TEST_F(LunarSheet, ATooLongPeriodShowsTheSheetAgainWithTheValuesEntered) {
  const std::string before(config_.lunarTransit.Bytes());
  int reopenedDaysAfter = -1;
  Answer([](DLunarTrans& page, DLunarTransInterf&) { Period(page, 10, 11); });  // 252 degrees
  Answer([&](DLunarTrans& page, DLunarTransInterf&) {
    reopenedDaysAfter = page.DaysAfterBox()->value();
    EXPECT_EQ(std::string(config_.lunarTransit.Bytes()), before);  // nothing committed yet
    page.DaysAfterBox()->setValue(10);
  });
  EXPECT_TRUE(RunLunarTransSheet(config_, systems_, transit_));
  EXPECT_EQ(platform::ModalDriver::CountShown<LunarTransSheet>(), 2);
  EXPECT_EQ(reopenedDaysAfter, 11);
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].number, kMsgPeriodTooLong);
  EXPECT_EQ(Stored().daysBefore, 10);  // twenty days in all: accepted
  EXPECT_EQ(Stored().daysAfter, 10);
}

TEST_F(LunarSheet, AnUnknownSystemAndThenCancelLeaveTheConfigurationAsItWas) {
  const std::string before(config_.lunarTransit.Bytes());
  Answer([](DLunarTrans& page, DLunarTransInterf& display) {
    Period(page, 1, 1);
    page.SystemBox()->setCurrentText(QStringLiteral("NOSUCH"));
    display.ScreenFontBox()->setValue(333);
  });
  QString reopenedSystem;
  Answer([&](DLunarTrans& page,
             DLunarTransInterf&) { reopenedSystem = page.SystemBox()->currentText(); },
         false);
  EXPECT_FALSE(RunLunarTransSheet(config_, systems_, transit_));
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].number, kMsgNoSuchAspectSystem);
  EXPECT_EQ(reopenedSystem, QStringLiteral("NOSUCH"));
  EXPECT_EQ(std::string(config_.lunarTransit.Bytes()), before);
}

TEST_F(LunarSheet, TheNatalTargetIsRefusedOnANatalChart) {
  SuperSource natal;
  natal.SetKind(kChartNatal);
  const LunarTransChartInput input = LunarTransInputOf(natal);
  EXPECT_FALSE(input.natalTargetAllowed);
  EXPECT_DOUBLE_EQ(input.dailyArc, 12.0);
  bool housesEnabled = true;
  int target = -1;
  Answer([&](DLunarTrans& page, DLunarTransInterf&) {
    page.TargetGroup()->button(1)->click();
    target = page.TargetGroup()->checkedId();
    housesEnabled = page.HouseOrbGroupBox()->isEnabled();
  });
  LunarTransChartInput chart = input;
  chart.aspectSystem = transit_.aspectSystem;
  EXPECT_TRUE(RunLunarTransSheet(config_, systems_, chart));
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].number, kMsgNatalTargetRefused);
  EXPECT_EQ(target, 0);
  EXPECT_FALSE(housesEnabled);
  EXPECT_EQ(Stored().target, 0);

  SuperSource transit;
  transit.SetKind(kChartTransit);
  EXPECT_TRUE(LunarTransInputOf(transit).natalTargetAllowed);
}

TEST_F(LunarSheet, ControlsFollowThePeriodKind) {
  std::vector<std::array<bool, 3>> enabled;  // days, from, signs
  Answer([&](DLunarTrans& page, DLunarTransInterf&) {
    const auto record = [&] {
      enabled.push_back({page.DaysBeforeBox()->isEnabled(),
                         page.FromGroup()->button(1)->isEnabled(), page.SignsBox()->isEnabled()});
    };
    page.PeriodGroup()->button(0)->click();
    record();
    page.PeriodGroup()->button(1)->click();
    page.ToGroup()->button(0)->click();
    record();
    page.ToGroup()->button(1)->click();
    record();
  });
  EXPECT_TRUE(RunLunarTransSheet(config_, systems_, transit_));
  EXPECT_EQ(enabled, (std::vector<std::array<bool, 3>>{
                         {true, false, false}, {false, true, false}, {false, true, true}}));
  EXPECT_EQ(Stored().periodKind, 1);
  EXPECT_EQ(Stored().to, 1);
}

TEST_F(LunarSheet, TheDisplayPageStoresSpacingsInThousandths) {
  Answer([](DLunarTrans& page, DLunarTransInterf& display) {
    Period(page, 5, 5);
    display.ScreenSpacingBox()->setValue(1.15);
    display.PrintSpacingBox()->setValue(1.5);
    display.PrintColumnsBox()->setValue(4);
    display.OrderGroup()->button(1)->click();
    display.PrintFontBox()->setValue(2400);
    display.ScreenFontBox()->setValue(110);
  });
  EXPECT_TRUE(RunLunarTransSheet(config_, systems_, transit_));
  const LunarTransSettings s = Stored();
  EXPECT_EQ(std::tie(s.screenLineSpacing, s.printLineSpacing, s.printColumns, s.printOrder,
                     s.printFontSize, s.screenFontSize, s.daysBefore),
            std::make_tuple(1150, 1500, 4, 1, 2400, 110, 5));
}

// The same page over the planet-transit block keeps the spacings as they are typed.
TEST_F(LunarSheet, TheDisplayPageServesTheOtherBlocks) {
  DLunarTransInterf page(DisplayBlock::kPlanetTransits, config_.transit);
  page.OnSetActive();
  page.ScreenSpacingBox()->setValue(1.15);
  page.PrintColumnsBox()->setValue(25);  // past the range: the box holds 20
  ASSERT_TRUE(page.DoDataExchange(true));
  cfg::ByteBlock block = config_.transit;
  page.Store(block);
  const ListDisplaySettings v = ReadDisplaySettings(DisplayBlock::kPlanetTransits, block);
  EXPECT_DOUBLE_EQ(v.screenLineSpacing, 1.15);
  EXPECT_EQ(v.printColumns, 20);

  // The sheet as the user meets it, for a person to look at.
  testing_support::TempFolder folder;
  Answer(
      [&](DLunarTrans& calc, DLunarTransInterf&) {
        calc.window()->resize(760, 620);
        calc.window()->show();
        EXPECT_TRUE(platform::SaveWidgetScreenshot(*calc.window(), folder / "sheet.png").ok());
      },
      false);
  EXPECT_FALSE(RunLunarTransSheet(config_, systems_, transit_));
  testing_support::ShowToPerson(folder / "sheet.png", "lunar_trans_sheet");
}

}  // namespace
