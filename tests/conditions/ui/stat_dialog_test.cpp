// The statistics parameters dialog as a window: the settings through its controls and back, a
// kind radio's refilled object list, and the refusal of an unknown aspect system.
#include "conditions/ui/stat_dialog.h"

#include <gtest/gtest.h>

#include <QAbstractButton>

#include "astro/chart/published_settings.h"
#include "conditions/core/statistic.h"
#include "conditions/query_test_support.h"

namespace {

class StatDialogTest : public condition_test::QueryArchiveTest {
 protected:
  void SetUp() override {
    QueryArchiveTest::SetUp();
    ASSERT_FALSE(chart_fixture::LoadAspects(testing_support::FixturePath("conditions/STATASP.txt"),
                                            folder_.Path(), GetAspectarium()));
    PublishSettings();
  }
  void TearDown() override {
    GetAspectarium().LoadAll(empty_.Path());
    PublishSettings();
    QueryArchiveTest::TearDown();
  }
  testing_support::TempFolder empty_;
};

TEST_F(StatDialogTest, SettingsThroughTheControlsKindsAndTheSystemCheck) {
  DStat dialog({"STATASP"});
  const cfg::StatisticsRecord shown{.kind = 4,
                                    .object1 = 31,
                                    .object2 = 41,
                                    .minorAspects = 0,
                                    .nodes = 1,
                                    .planetSet = 2,
                                    .aspectSystem = "STATASP",
                                    .selectedRecords = 1,
                                    .fill = 1};
  dialog.settings = shown;
  dialog.OnInitDialog();
  EXPECT_EQ(dialog.Object1()->currentIndex(), 31);
  EXPECT_FALSE(dialog.Nodes()->isEnabled());
  dialog.settings = {};
  ASSERT_TRUE(dialog.DoDataExchange(true));
  EXPECT_EQ(dialog.settings, shown);

  // Kind 6: the signs and houses, the first chosen; the second list off.
  dialog.Kinds()->button(6)->click();
  EXPECT_EQ(dialog.Object1()->count(), 24);
  EXPECT_EQ(dialog.Object1()->currentIndex(), 0);
  EXPECT_FALSE(dialog.Object2()->isEnabled());
  // A system name the program does not hold is refused for kind 5 only (message 59).
  dialog.System()->setEditText("NONE");
  ASSERT_TRUE(dialog.DoDataExchange(true));
  dialog.Kinds()->button(5)->click();
  EXPECT_FALSE(dialog.DoDataExchange(true));
  EXPECT_TRUE(prompts_.WasShown(59));
  EXPECT_EQ(dialog.settings.kind, 6);
}

}  // namespace
