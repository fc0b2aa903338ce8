#include "rectification/ui/tm_possible_moments.h"

#include <gtest/gtest.h>

#include <QSpinBox>
#include <filesystem>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_context.h"
#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "rectification/core/life_event_list.h"
#include "rectification/rect_birth.h"
#include "support/test_support.h"

namespace {

class TmPossibleMomentsDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::ModalDriver::Clear();
    platform::ModalDriver::SetStrict(true);
    rect_test::LoadShippedSystem(folder_, aspectarium_);
    ASSERT_TRUE(events_.Add("move", 15, 6, 2015, "", "NNNYNNNNNNNN").ok());
    chart_ = rect_test::BirthChart();
    TmSearchSettings settings;
    settings.applyingSystem = settings.separatingSystem = "VELM";
    settings.step = 4;  // 30 s
    settings.minimumPossibility = 64;
    RectInterval r;
    r.start = {1985, 6, 15, 9, 58};
    r.end = {1985, 6, 15, 10, 0};  // five moments
    const ChartContext ctx(config_, aspectarium_);
    ASSERT_TRUE(search_.Prepare(ctx, chart_, events_, settings, r).ok());
    search_.Moments().possibility = {96, 96, kTmImpossible, 85, 100};
    search_.Moments().FillPositiveInts();
  }
  void TearDown() override { platform::ModalDriver::Clear(); }

  testing_support::TempFolder folder_;
  Aspectarium aspectarium_;
  Configuration config_;
  LifeEventList events_;
  Chart chart_;
  TmSearch search_;
};

TEST_F(TmPossibleMomentsDialog, ShowsIntervalsAndTakesTheMinimum) {
  DTmPossibleMoments dialog(search_);
  dialog.OnInitDialog();
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Интервалы возможного рождения"));
  EXPECT_EQ(dialog.MinimumBox()->value(), 64);
  EXPECT_EQ(dialog.MinimumBox()->minimum(), 0);
  EXPECT_EQ(dialog.MinimumBox()->maximum(), 100);
  ASSERT_EQ(dialog.List()->count(), 3);
  EXPECT_EQ(dialog.List()->item(2)->data(Qt::UserRole).toInt(), 2);
  EXPECT_EQ(dialog.List()->Rows()[0], (TmIntervalRow{"09:58:00", "09:58:30", "96", 1}));
  EXPECT_EQ(dialog.List()->Rows()[1], (TmIntervalRow{"09:59:30", "09:59:30", "85", 2}));
  dialog.MinimumBox()->setValue(30);
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Page().MinimumPossibility(), 30);

  // The list for a person to look at, the second row selected.
  dialog.List()->setCurrentRow(1);
  dialog.resize(320, 260);
  const auto file = folder_ / "tm_possible_moments.png";
  EXPECT_TRUE(dialog.grab().save(QString::fromStdString(file.string())));
  testing_support::ShowToPerson(file, "tm_possible_moments");
}

TEST_F(TmPossibleMomentsDialog, ChooserStoresTheMinimumOnlyWhenAccepted) {
  struct Row {
    const char* name;
    int answer;
    bool expected;
    int stored;
  };
  const Row rows[] = {{"calculate", platform::kIdOk, true, 12},
                      {"cancel", platform::kIdCancel, false, 50}};
  for (const Row& r : rows) {
    config_.treminSettings.Set(cfg::TreminSettings::kMinimumPossibility, std::int32_t{50});
    platform::ModalDriver::Expect<DTmPossibleMoments>([&](DTmPossibleMoments& d) {
      EXPECT_EQ(d.Page().MinimumPossibility(), 64) << r.name;
      EXPECT_TRUE(d.Page().SetMinimumPossibility(12));
      return r.answer;
    });
    int minimum = 64;
    EXPECT_EQ(MakeTmIntervalChooser(config_, nullptr)(search_, minimum), r.expected) << r.name;
    EXPECT_EQ(minimum, r.expected ? 12 : 64) << r.name;
    EXPECT_EQ(config_.treminSettings.Get(cfg::TreminSettings::kMinimumPossibility), r.stored)
        << r.name;
  }
  EXPECT_EQ(platform::ModalDriver::CountShown<DTmPossibleMoments>(), 2);
}

}  // namespace
