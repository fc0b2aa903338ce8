// The life-point settings sheet: its title and pages, the type chosen on opening, the choice of
// this chart's points only where a natal chart stands behind, and what reaches the configuration
// on OK and on Cancel.
#include "forecast/ui/life_point_sheet.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSpinBox>
#include <tuple>

#include "astro/lifepoint/life_point_all.h"
#include "forecast/core/list_display_settings.h"
#include "foundation/datetime/super_source.h"
#include "platform/qt/qt_text.h"
#include "sheet_test.h"

namespace {

class LifePointSheetTest : public SheetTest<LifePointSheet, DLPConf> {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(SheetTest::SetUp());
    ASSERT_TRUE(types_.Parse("3\nHDAHfirst\nSDAHsecond\nSRAHthird\n").ok());
  }
  LifePointSettings Stored() const { return LifePointSettings::FromBlock(config_.lifePoint); }

  LifePointAll types_;
};

TEST_F(LifePointSheetTest, OpensOnTheFirstTypeWhenTheStoredIndexIsPastTheTypes) {
  LifePointSettings stored = Stored();
  stored.typeIndex = 7;
  stored.ToBlock(config_.lifePoint);
  QString title;
  int shownType = -1;
  bool thisChartEnabled = true;
  Answer(
      [&](DLPConf& page, DLunarTransInterf& display) {
        title = page.window()->windowTitle();
        shownType = page.TypeBox()->currentIndex();
        thisChartEnabled = page.ChartGroup()->button(1)->isEnabled();
        EXPECT_EQ(display.Kind(), DisplayBlock::kLifePoint);
      },
      false);
  EXPECT_FALSE(RunLifePointSheet(config_, systems_, types_, kChartNatal));
  EXPECT_EQ(title, QStringLiteral("ТОЧКА ЖИЗНИ - КОНФИГУРАЦИЯ"));
  EXPECT_EQ(shownType, 0);
  EXPECT_FALSE(thisChartEnabled);
  EXPECT_EQ(Stored().typeIndex, 7);  // Cancel: the block as it was
}

TEST_F(LifePointSheetTest, OkWritesBothPagesIntoTheLifePointBlock) {
  bool thisChartEnabled = false;
  Answer([&](DLPConf& page, DLunarTransInterf& display) {
    thisChartEnabled = page.ChartGroup()->button(1)->isEnabled();
    page.TypeBox()->setCurrentIndex(2);
    page.SystemBox()->setCurrentText(QStringLiteral("ABC   "));
    page.ChartGroup()->button(1)->click();
    page.PlanetsGroup()->button(3)->click();
    page.HousesGroup()->button(4)->click();
    page.AspectsGroup()->button(2)->click();
    page.OrbModeGroup()->button(1)->click();
    page.NodesBox()->setChecked(true);
    page.LeavingBox()->setChecked(true);
    page.HouseOrbGroupBox()->setValue(4);
    page.BeginAgeBox()->setValue(-12);
    display.ScreenSpacingBox()->setValue(1.5);
    display.PrintColumnsBox()->setValue(5);
  });
  EXPECT_TRUE(RunLifePointSheet(config_, systems_, types_, kChartProgressed));
  EXPECT_TRUE(thisChartEnabled);
  const LifePointSettings s = Stored();
  EXPECT_EQ(s.typeIndex, 2);
  EXPECT_EQ(s.aspectSystemName, "ABC");
  EXPECT_EQ(std::tie(s.toThisChart, s.pointTargets, s.houseTargets, s.aspectChoice, s.orbMode,
                     s.withNodes, s.leaving, s.houseOrbGroup, s.beginAge),
            std::make_tuple(1, 3, 4, 2, 1, 1, 1, 4, -12));
  EXPECT_EQ(s.interval, 1500);
  EXPECT_EQ(s.maxColumns, 5);
  EXPECT_TRUE(prompts_.shown.empty());
}

}  // namespace
