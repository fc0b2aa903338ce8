// The configuration page as a window: its controls follow the model's enabling rules, OK shows
// the model's refusal and stays open, and a confirmed page hands back its words.
#include "conditions/ui/conf_page_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QSpinBox>

#include "astro/aspects/aspectarium.h"
#include "conditions/core/cfunc.h"
#include "foundation/config/configuration.h"
#include "foundation/files/settings.h"
#include "support/test_support.h"

namespace {

using testing_support::ScriptedPrompter;
using testing_support::TempFolder;

class ConfPageDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    GetSettings().SetFolder(folder_.Path());
    AspectSystem t("T", folder_.Path() / SystemFileName("T"));
    Aspect a;
    a.abbreviation = "a";
    t.SetAspects({a});
    ASSERT_TRUE(t.SaveSystem().ok());
    aspects_.LoadAll(folder_.Path());
    set_.SetEnvironment(&config_, &aspects_);
  }
  void TearDown() override { GetSettings().SetFolder({}); }

  TempFolder folder_;
  ScriptedPrompter prompts_;
  Configuration config_;
  Aspectarium aspects_;
  CFunc set_;
};

TEST_F(ConfPageDialog, ControlsFollowTheRowTheBoxesAndTheOrb) {
  QueryCondition staged;
  staged.w[11] = 1;  // the orb from the aspect system
  staged.w[17] = 1;
  DQWIZCONFIG page(set_, staged);
  page.OnInitDialog();
  EXPECT_EQ(page.RowBox()->count(), 42);
  EXPECT_EQ(page.SystemBox()->currentText(), QStringLiteral("T"));
  EXPECT_EQ(page.MemberBox(0)->currentText(), QStringLiteral("любая планета"));

  page.RowBox()->setCurrentIndex(19);  // five members
  EXPECT_TRUE(page.ApexBox()->isEnabled());
  EXPECT_TRUE(page.MemberBox(4)->isEnabled());
  EXPECT_FALSE(page.MemberBox(5)->isEnabled());
  page.RowBox()->setCurrentIndex(0);
  EXPECT_FALSE(page.ApexBox()->isEnabled());
  EXPECT_FALSE(page.MemberBox(3)->isEnabled());
  page.OthersBox()->setChecked(true);
  EXPECT_TRUE(page.MemberBox(0)->isEnabled());
  EXPECT_FALSE(page.MemberBox(1)->isEnabled());
  EXPECT_FALSE(page.MemberBox(2)->isEnabled());

  EXPECT_FALSE(page.OrbDegreesBox()->isEnabled());
  page.OwnOrbButton()->setChecked(true);
  EXPECT_TRUE(page.OrbDegreesBox()->isEnabled());
  EXPECT_FALSE(page.SystemBox()->isEnabled());
}

TEST_F(ConfPageDialog, PresetShowsTheStagedWords) {
  QueryCondition staged;
  staged.w[1] = kCondConf;
  staged.w[2] = 19;
  staged.w[9] = 1;   // the others too
  staged.w[11] = 0;  // own orb 3:15
  staged.w[12] = 3;
  staged.w[13] = 15;
  staged.w[14] = 4700;  // Mars
  staged.w[15] = 700700;
  staged.w[16] = 700700;
  staged.w[17] = 2;
  DQWIZCONFIG page(set_, staged);
  page.OnInitDialog();
  EXPECT_EQ(page.RowBox()->currentIndex(), 19);
  EXPECT_TRUE(page.OthersBox()->isChecked());
  EXPECT_TRUE(page.OwnOrbButton()->isChecked());
  EXPECT_EQ(page.OrbDegreesBox()->value(), 3);
  EXPECT_EQ(page.MemberBox(0)->currentText(), QStringLiteral("Марс"));
  EXPECT_FALSE(page.MemberBox(1)->isEnabled());
  EXPECT_TRUE(page.OrbDegreesBox()->isEnabled());
}

TEST_F(ConfPageDialog, OkRefusesAMemberTwiceAndThenHandsBackTheWords) {
  DQWIZCONFIG page(set_, QueryCondition{});
  page.show();
  page.OnInitDialog();
  page.MemberBox(0)->setCurrentIndex(1);  // the Sun
  page.MemberBox(2)->setCurrentIndex(1);  // the Sun again
  page.accept();
  EXPECT_TRUE(page.isVisible());
  ASSERT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(prompts_.shown[0].number, 982);

  page.MemberBox(2)->setCurrentIndex(35);  // the cusp of the first house
  page.OwnOrbButton()->setChecked(true);
  page.OrbDegreesBox()->setValue(4);
  page.accept();
  EXPECT_FALSE(page.isVisible());
  EXPECT_EQ(page.result(), QDialog::Accepted);
  EXPECT_EQ(prompts_.shown.size(), 1u);
  EXPECT_EQ(page.words.Kind(), kCondConf);
  EXPECT_EQ(page.words.w[14], 700);    // the Sun, any planet
  EXPECT_EQ(page.words.w[15], 34700);  // the first cusp, any planet
  EXPECT_EQ(page.words.w[11], 0);
  EXPECT_EQ(page.words.w[12], 4);
  EXPECT_EQ(page.words.text3, "T");
  CFunc added;
  EXPECT_EQ(added.AddCondition(page.words), 1);  // a valid condition the set takes
}

}  // namespace
