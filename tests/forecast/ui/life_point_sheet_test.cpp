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
#include <functional>

#include "astro/aspects/aspectarium.h"
#include "astro/lifepoint/life_point_all.h"
#include "forecast/core/list_display_settings.h"
#include "forecast/ui/lunar_trans_pages.h"
#include "foundation/config/configuration.h"
#include "foundation/datetime/super_source.h"
#include "platform/qt/qt_text.h"
#include "support/test_support.h"

namespace {

class LifePointSheetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::ModalDriver::Clear();
    platform::ModalDriver::SetStrict(true);
    systems_.LoadAll(testing_support::SourceDir() / "data");
    ASSERT_GT(systems_.Count(), 0);
    ASSERT_TRUE(types_.Parse("3\nHDAHfirst\nSDAHsecond\nSRAHthird\n").ok());
  }
  void TearDown() override { platform::ModalDriver::Clear(); }

  static void Answer(std::function<void(LifePointSheet&, DLPConf&, DLunarTransInterf&)> fill,
                     bool ok = true) {
    platform::ModalDriver::Expect<LifePointSheet>([fill, ok](LifePointSheet& sheet) {
      auto& calculation = *static_cast<DLPConf*>(sheet.Page(0));
      auto& display = *static_cast<DLunarTransInterf*>(sheet.Page(1));
      fill(sheet, calculation, display);
      if (!ok) return platform::kIdCancel;
      return sheet.DoDataExchange(true) ? platform::kIdOk : platform::kIdCancel;
    });
  }
  LifePointSettings Stored() const { return LifePointSettings::FromBlock(config_.lifePoint); }

  Configuration config_;
  Aspectarium systems_;
  LifePointAll types_;
  testing_support::ScriptedPrompter prompts_;
};

TEST_F(LifePointSheetTest, OpensOnTheFirstTypeWhenTheStoredIndexIsPastTheTypes) {
  LifePointSettings stored = Stored();
  stored.typeIndex = 7;
  stored.ToBlock(config_.lifePoint);
  QString title;
  int shownType = -1;
  bool thisChartEnabled = true;
  Answer(
      [&](LifePointSheet& sheet, DLPConf& page, DLunarTransInterf& display) {
        title = sheet.windowTitle();
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
  Answer([&](LifePointSheet&, DLPConf& page, DLunarTransInterf& display) {
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
  EXPECT_EQ(s.toThisChart, 1);
  EXPECT_EQ(s.pointTargets, 3);
  EXPECT_EQ(s.houseTargets, 4);
  EXPECT_EQ(s.aspectChoice, 2);
  EXPECT_EQ(s.orbMode, 1);
  EXPECT_EQ(s.withNodes, 1);
  EXPECT_EQ(s.leaving, 1);
  EXPECT_EQ(s.houseOrbGroup, 4);
  EXPECT_EQ(s.beginAge, -12);
  EXPECT_EQ(s.interval, 1500);
  EXPECT_EQ(s.maxColumns, 5);
  EXPECT_TRUE(prompts_.shown.empty());
}

}  // namespace
