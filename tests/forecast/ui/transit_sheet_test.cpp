// The planet-transit settings sheet as the user meets it: the pages and their states on a chart,
// a refusal shown with the sheet again on the values entered, and what reaches the configuration.
#include "forecast/ui/transit_sheet.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QPixmap>
#include <QSpinBox>
#include <cstdlib>
#include <tuple>

#include "conditions/core/groups.h"
#include "foundation/messages/message_numbers.h"
#include "sheet_test.h"
#include "support/test_support.h"

namespace {

class TransitSheetTest : public SheetTest<TransitSheet, DTRANSCALC> {
 protected:
  TransitSettings Stored() const { return TransitSettings::FromBlock(config_.transit); }
  Groups groups_;
  TransitChartInput chart_{3, 15, 6, 1985, 'A'};
};

TEST_F(TransitSheetTest, ARefusalShowsTheSheetAgainAndCancelKeepsTheConfiguration) {
  const std::string before(config_.transit.Bytes());
  Answer([](DTRANSCALC& page, DLunarTransInterf&) {
    page.ModeGroup()->button(0)->click();
    page.TransitingBox()->setCurrentIndex(4);  // Mars
    page.TargetBox()->setCurrentIndex(4);      // Mars
  });
  int reopenedTarget = -1;
  Answer([&](DTRANSCALC& page,
             DLunarTransInterf&) { reopenedTarget = page.TargetBox()->currentIndex(); },
         false);
  EXPECT_FALSE(RunTransitSheet(config_, systems_, groups_, chart_));
  EXPECT_EQ(platform::ModalDriver::CountShown<TransitSheet>(), 2);
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].number, kMsgAspectToItself);
  EXPECT_EQ(reopenedTarget, 4);
  EXPECT_EQ(std::string(config_.transit.Bytes()), before);
}

TEST_F(TransitSheetTest, AcceptedValuesReachTheConfiguration) {
  Answer([](DTRANSCALC& page, DLunarTransInterf& display) {
    // The period starts at the chart's date.
    EXPECT_EQ(page.DateBox(0, 0)->value(), 15);
    EXPECT_EQ(page.DateBox(0, 2)->value(), 1985);
    page.ModeGroup()->button(1)->click();
    page.TransitingBox()->setCurrentIndex(5);                          // Jupiter
    page.TargetBox()->setCurrentIndex(13 + 9);                         // the cusp of house 10
    page.AspectBox()->setCurrentIndex(page.AspectBox()->count() - 1);  // "заданный"
    EXPECT_TRUE(page.AngleDegreesBox()->isEnabled());
    EXPECT_FALSE(page.OrbGroup()->button(1)->isEnabled());
    page.AngleDegreesBox()->setValue(45);
    page.OrbDegreesBox()->setValue(2);
    page.EnteringBox()->setChecked(true);
    page.PrecisionGroup()->button(0)->click();
    page.DateBox(1, 2)->setValue(1987);
    display.ScreenFontBox()->setValue(333);
  });
  EXPECT_TRUE(RunTransitSheet(config_, systems_, groups_, chart_));
  EXPECT_TRUE(prompts_.shown.empty());
  const TransitSettings s = Stored();
  EXPECT_EQ(std::make_tuple(s.mode, s.transiting, s.target, int{s.aspectChoice},
                            int{s.angleDegrees}, int{s.orbSource}, int{s.orbDegrees}),
            std::make_tuple(1, 5, kTransitCuspTarget + 9, kTransitOwnAngle, 45, 0, 2));
  EXPECT_EQ(std::make_tuple(s.startDay, s.startMonth, s.startYear, s.endYear, s.entering),
            std::make_tuple(15, 6, 1985, 1987, 1));
  EXPECT_EQ(s.precision, 1);
  EXPECT_EQ(s.screenFontSize, 333);
}

// OK on the sheet as it opens is accepted, from a natal chart born long before the shipped end of
// the period and from a transit chart: the period runs a year from the chart's date, which the
// search of the shipped pair (the Sun with Jupiter, 403 days) covers whole.
TEST_F(TransitSheetTest, TheSheetAcceptsWhatItOpensWith) {
  for (const int kind : {kChartNatal, kChartTransit}) {
    SCOPED_TRACE(kind);
    config_ = Configuration();
    chart_.kind = kind;
    Answer([](DTRANSCALC&, DLunarTransInterf&) {});
    EXPECT_TRUE(RunTransitSheet(config_, systems_, groups_, chart_));
    EXPECT_TRUE(prompts_.shown.empty());
    const TransitSettings s = Stored();
    EXPECT_EQ(
        std::make_tuple(s.startDay, s.startMonth, s.startYear, s.endDay, s.endMonth, s.endYear),
        std::make_tuple(15, 6, 1985, 15, 6, 1986));
  }
}

TEST_F(TransitSheetTest, ANatalChartOffersOnlyTheModeBetweenItsPlanets) {
  chart_.kind = 0;
  Answer(
      [](DTRANSCALC& page, DLunarTransInterf&) {
        EXPECT_TRUE(page.ModeGroup()->button(0)->isChecked());
        EXPECT_FALSE(page.ModeGroup()->button(1)->isEnabled());
        EXPECT_EQ(page.TargetBox()->count(), 13);
        // Clearing both strengths leaves the other one on.
        page.AspectBox()->setCurrentIndex(page.AspectBox()->count() - 2);  // "любой"
        page.ClassBox(kTransitMaskMinor)->click();
        page.ClassBox(kTransitMaskMajor)->click();
        EXPECT_TRUE(page.ClassBox(kTransitMaskMinor)->isChecked());
        if (const char* dir = std::getenv("VELM_DEMO_DIR")) {
          QWidget* sheet = page.window();
          sheet->adjustSize();
          sheet->grab().save(QString::fromUtf8(dir) + QStringLiteral("/transit_sheet.png"));
        }
      },
      false);
  EXPECT_FALSE(RunTransitSheet(config_, systems_, groups_, chart_));
}

}  // namespace
