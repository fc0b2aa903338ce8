// The configuration page as a window: its controls follow the model's enabling rules, OK shows
// the model's refusal and stays open, and a confirmed page hands back its words.
#include "conditions/ui/conf_page_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QSpinBox>

#include "conditions/condition_test_support.h"
#include "foundation/messages/message_numbers.h"

namespace {

class ConfPageDialog : public condition_test::ConditionSetTest {
 protected:
  void SetUp() override {
    ConditionSetTest::SetUp();
    AddSystem("T", {condition_test::MakeAspect(0)});
  }
};

TEST_F(ConfPageDialog, ControlsFollowTheRowTheBoxesAndTheOrb) {
  const QueryCondition staged = condition_test::Words("11:1 17:1");  // the orb from the system
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
  // Row 19, the others too, own orb 3:15, Mars as member 1.
  QueryCondition staged =
      condition_test::Words("2:19 9:1 12:3 13:15 14:4700 15:700700 16:700700 17:2");
  staged.w[1] = kCondConf;
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
  EXPECT_EQ(prompts_.shown[0].number, kMsgConfMemberTwice);

  page.MemberBox(2)->setCurrentIndex(35);  // the cusp of the first house
  page.OwnOrbButton()->setChecked(true);
  page.OrbDegreesBox()->setValue(4);
  page.accept();
  EXPECT_FALSE(page.isVisible());
  EXPECT_EQ(page.result(), QDialog::Accepted);
  EXPECT_EQ(prompts_.shown.size(), 1u);
  // Members: the Sun, any planet; the first cusp, any planet.
  condition_test::ExpectWords(page.words,
                              {{1, kCondConf}, {14, 700}, {15, 34700}, {11, 0}, {12, 4}});
  EXPECT_EQ(page.words.text3, "T");
  CFunc added;
  EXPECT_EQ(added.AddCondition(page.words), 1);  // a valid condition the set takes
}

}  // namespace
