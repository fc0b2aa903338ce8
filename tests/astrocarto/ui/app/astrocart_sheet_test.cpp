#include "astrocarto/ui/astrocart_sheet.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QPushButton>
#include <QSpinBox>

#include "document/command_ids.h"
#include "forecast/ui/lunar_trans_pages.h"
#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/files/binary_io.h"
#include "platform/qt/dialog.h"
#include "shell/kovra_app.h"
#include "shell/main_frame.h"
#include "shell/shell_fixture.h"

namespace {

using A = cfg::AstroCartSettings;

class AstroCartSheetTest : public shell_test::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    config_.astroCart.Set(A::kMapColour[0], std::int16_t{54});
    config_.astroCart.Set(A::kLineColour[10], std::int16_t{6});
    config_.astroCart.Set(A::kCrossingOrb, std::int16_t{60});
  }
  using Fill = std::function<void(DACMAP_CONF&, DACMAP_MAPCOL_CONF&, DACMAP_LINECOL&)>;
  // The next sheet gets `fill` on its pages, then OK (the pages' exchange first) or Cancel.
  static void Answer(Fill fill, bool ok) {
    platform::ModalDriver::Expect<AstroCartSheet>([fill, ok](AstroCartSheet& sheet) {
      EXPECT_EQ(sheet.PageCount(), 4);
      EXPECT_NE(dynamic_cast<DLunarTransInterf*>(sheet.Page(3)), nullptr);
      fill(*static_cast<DACMAP_CONF*>(sheet.Page(0)),
           *static_cast<DACMAP_MAPCOL_CONF*>(sheet.Page(1)),
           *static_cast<DACMAP_LINECOL*>(sheet.Page(2)));
      if (!ok) return platform::kIdCancel;
      return sheet.DoDataExchange(true) ? platform::kIdOk : platform::kIdCancel;
    });
  }

  Configuration config_;
};

TEST_F(AstroCartSheetTest, ColoursAndChoicesAreTakenOnOkOnly) {
  // The chooser answers 33 for every button; -1 would be its Cancel.
  int asked = 0;
  const ColourChooser chooser = [&asked](int) {
    ++asked;
    return 33;
  };
  const auto fill = [](DACMAP_CONF& conf, DACMAP_MAPCOL_CONF& map, DACMAP_LINECOL& lines) {
    conf.GridBox()->setChecked(false);
    conf.SpeedGroup()->button(3)->click();
    conf.OrbBox()->setValue(120);
    map.Button(0)->click();
    map.PrintBackgroundGroup()->button(2)->click();
    lines.Button(10)->click();
  };
  const cfg::ByteBlock before = config_.astroCart;
  Answer(fill, false);
  EXPECT_FALSE(RunAstroCartSheet(config_, chooser));
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(config_.astroCart, before);  // Cancel undoes the colours too

  Answer(fill, true);
  EXPECT_TRUE(RunAstroCartSheet(config_, chooser));
  const cfg::ByteBlock& b = config_.astroCart;
  EXPECT_EQ(b.Get(A::kMapColour[0]), 33);
  EXPECT_EQ(b.Get(A::kLineColour[10]), 33);
  EXPECT_EQ(b.Get(A::kLineColour[0]), before.Get(A::kLineColour[0]));
  EXPECT_EQ(b.Get(A::kGrid), 0);
  EXPECT_EQ(b.Get(A::kSpeed), 3);
  EXPECT_EQ(b.Get(A::kPrintBackground), 2);
  EXPECT_EQ(b.Get(A::kCrossingOrb), 120);
}

TEST_F(AstroCartSheetTest, BandChoiceShownDisabledLimitsHeldAndACancelledChooserKeepsTheColour) {
  config_.astroCart.Set(A::kCrossingBand, std::int32_t{1});
  config_.astroCart.Set(A::kCrossingOrb, std::int16_t{-20});
  config_.astroCart.Set(A::kCrossingLatitudeLimit, std::int16_t{200});
  Answer(
      [](DACMAP_CONF& conf, DACMAP_MAPCOL_CONF& map, DACMAP_LINECOL&) {
        EXPECT_TRUE(conf.CrossingBandGroup()->button(1)->isChecked());
        for (QAbstractButton* b : conf.CrossingBandGroup()->buttons()) EXPECT_FALSE(b->isEnabled());
        EXPECT_EQ(conf.OrbBox()->value(), 1);
        EXPECT_EQ(conf.LatitudeLimitBox()->value(), 90);
        conf.OrbBox()->setValue(9999);  // the box holds its range
        conf.LatitudeLimitBox()->setValue(-4);
        map.Button(0)->click();
      },
      true);
  EXPECT_TRUE(RunAstroCartSheet(config_, [](int) { return -1; }));
  EXPECT_EQ(config_.astroCart.Get(A::kCrossingBand), 1);
  EXPECT_EQ(config_.astroCart.Get(A::kCrossingOrb), 5400);
  EXPECT_EQ(config_.astroCart.Get(A::kCrossingLatitudeLimit), 0);
  EXPECT_EQ(config_.astroCart.Get(A::kMapColour[0]), 54);
}

}  // namespace

namespace shell_test {
namespace {

TEST_F(ShellTest, ConfigurationCommandRunsTheSheetAndStartUpLoadsTheMaps) {
  BinaryWriter mf1;
  for (std::int16_t v : {0, 0, 0, 9, 9}) mf1.I16(v);
  for (double v : {-10.0, 72.0, 40.0, 35.0}) mf1.F64(v);
  mf1.I16(0);
  mf1.I16(0);
  testing_support::WriteFile(folder_ / "Weurop.mf1", mf1.Data());
  // The region whole from the data folder: its sea cells and runs too (none).
  testing_support::WriteFile(folder_ / "Weurop.mf2", "");
  testing_support::WriteFile(folder_ / "Weurop.mf3", "");
  testing_support::WriteFile(folder_ / "velm.lnd", "#Weurop 1\r\n-5 51 8 42 France\r\n");
  CKovraApp& app = StartApp();
  // The data folder's map and labels first, the shipped maps for the other regions.
  EXPECT_TRUE(prompts_.shown.empty());
  EXPECT_TRUE(app.GetMaps().Map(4).HasOutline());
  EXPECT_EQ(app.GetMaps().Map(4).GetHeader().north, 72.0);
  EXPECT_TRUE(app.GetMaps().Map(0).HasOutline());
  ASSERT_EQ(app.GetMaps().Map(4).Countries().size(), 1u);
  EXPECT_TRUE(app.GetMaps().Map(0).Countries().empty());
  EXPECT_EQ(app.GetMaps().FindRegionalMap(0, 50), &app.GetMaps().Map(4));

  ASSERT_TRUE(app.GetMainFrame()->StateOf(cmd::kConfigAstroCart).enabled);
  platform::ModalDriver::Expect<AstroCartSheet>([](AstroCartSheet& sheet) {
    EXPECT_EQ(sheet.windowTitle(), QStringLiteral("АСТРОКАРТОГРАФИЯ - КОНФИГУРАЦИЯ"));
    static_cast<DACMAP_CONF*>(sheet.Page(0))->GridBox()->setChecked(false);
    return sheet.DoDataExchange(true) ? platform::kIdOk : platform::kIdCancel;
  });
  ASSERT_TRUE(app.GetMainFrame()->ExecuteCommand(cmd::kConfigAstroCart));
  EXPECT_EQ(GetConfiguration().astroCart.Get(A::kGrid), 0);
}

}  // namespace
}  // namespace shell_test
