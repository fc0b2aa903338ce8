// The statistics parameters dialog as a window: the settings through its controls and back, a
// kind radio's enabling and refilled object list, and the refusal of an aspect system that the
// program does not hold.
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
  EXPECT_EQ(dialog.Kinds()->checkedId(), 4);
  EXPECT_EQ(dialog.Object1()->count(), 42);
  EXPECT_EQ(dialog.Object1()->currentIndex(), 31);
  EXPECT_EQ(dialog.Object2()->currentIndex(), 41);
  EXPECT_TRUE(dialog.Object2()->isEnabled());
  EXPECT_TRUE(dialog.Minor()->isEnabled());
  EXPECT_FALSE(dialog.Minor()->isChecked());
  EXPECT_FALSE(dialog.Nodes()->isEnabled());
  EXPECT_FALSE(dialog.PlanetSet()->button(2)->isEnabled());
  EXPECT_TRUE(dialog.Selected()->isChecked());
  dialog.settings = {};
  ASSERT_TRUE(dialog.DoDataExchange(true));
  EXPECT_EQ(dialog.settings, shown);

  // Kind 6: the signs and houses, the first chosen; the planet set and the nodes on, the rest off.
  dialog.Kinds()->button(6)->click();
  EXPECT_EQ(dialog.Object1()->count(), 24);
  EXPECT_EQ(dialog.Object1()->currentIndex(), 0);
  EXPECT_FALSE(dialog.Object2()->isEnabled());
  EXPECT_FALSE(dialog.System()->isEnabled());
  EXPECT_TRUE(dialog.PlanetSet()->button(0)->isEnabled());
  EXPECT_TRUE(dialog.Nodes()->isEnabled());

  // Kind 5 needs the system: a name the program does not hold is refused with message 59, the
  // settings as they were.
  dialog.Kinds()->button(5)->click();
  dialog.System()->setEditText("NONE");
  EXPECT_FALSE(dialog.DoDataExchange(true));
  EXPECT_TRUE(prompts_.WasShown(59));
  EXPECT_EQ(dialog.settings, shown);
  // Kind 6 does not use it.
  dialog.Kinds()->button(6)->click();
  ASSERT_TRUE(dialog.DoDataExchange(true));
  EXPECT_EQ(dialog.settings.kind, 6);
  EXPECT_EQ(dialog.settings.aspectSystem, "NONE");
}

}  // namespace
