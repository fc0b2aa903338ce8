// The condition wizard through the modal driver: the first page and its remembered choice, going
// back from a second page, adding, editing and deleting conditions; and the aspect, position and
// inclusion pages as windows.
#include "conditions/ui/condition_wizard.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "conditions/condition_test_support.h"
#include "conditions/ui/conf_page_dialog.h"
#include "foundation/messages/message_numbers.h"

namespace {

using condition_test::ChooseKind;
using condition_test::Confirm;
using platform::kIdCancel;
using platform::kIdOk;
using platform::ModalDriver;

// The first page is cancelled; `preselected` gets the kind it showed chosen.
void CancelFirstPage(int& preselected) {
  ModalDriver::Expect<CQueryWizardMain>([&preselected](CQueryWizardMain& d) {
    preselected = d.choice;
    return kIdCancel;
  });
}

class ConditionWizard : public condition_test::WizardWindowTest {
 protected:
  void SetUp() override {
    WizardWindowTest::SetUp();
    GetConfiguration().query.Set(cfg::QuerySettings::kWizardTwoChart, 0);
  }

  // Adds a condition of `kind` by the wizard, confirming its page unchanged.
  void AddByWizard(int kind) {
    ChooseKind(kind);
    if (kind == kCondAsp) ModalDriver::Expect<DQWIZASP>([](DQWIZASP& d) { return Confirm(d); });
    if (kind == kCondIn) ModalDriver::Expect<DQWIZIN>([](DQWIZIN& d) { return Confirm(d); });
    if (kind == kCondIncl) ModalDriver::Expect<DQWIZINCL>([](DQWIZINCL& d) { return Confirm(d); });
    ASSERT_EQ(RunConditionWizard(set_), 0);
  }
};

TEST_F(ConditionWizard, FirstPagesOfferEveryKind) {
  CQueryWizardMain one(7);
  one.OnInitDialog();
  EXPECT_EQ(one.windowTitle(), QStringLiteral("ЗАПРОС (ВЫБОР ФУНКЦИИ)"));
  EXPECT_TRUE(one.Button(7)->isChecked());
  for (int k = 0; k < 10; ++k) EXPECT_EQ(one.Button(k)->isEnabled(), k < 9) << k;
  EXPECT_TRUE(one.Button(9)->isHidden());
  one.Button(2)->setChecked(true);
  EXPECT_EQ(Confirm(one), kIdOk);
  EXPECT_EQ(one.choice, 2);

  CQueryWizardMain_Syn two(1);
  two.OnInitDialog();
  EXPECT_TRUE(two.Button(1)->isChecked());
  EXPECT_FALSE(two.Button(2)->isEnabled());
  EXPECT_TRUE(two.Button(2)->isHidden());
}

TEST_F(ConditionWizard, CancelGoesBackAndThenLeavesTheSetUnchanged) {
  ChooseKind(kCondAsp);
  ModalDriver::Expect<DQWIZASP>([](DQWIZASP& d) {
    d.ClassBox(2)->setChecked(true);  // the page keeps its mask in the staged words
    return kIdCancel;
  });
  int preselected = -1;
  CancelFirstPage(preselected);
  EXPECT_EQ(RunConditionWizard(set_), -1);
  EXPECT_EQ(preselected, kCondAsp);
  EXPECT_EQ(set_.Count(), 0);
  EXPECT_EQ(set_.staged.w[14] & 0x1FF, (1 << 2) | (1 << kMaskMajor) | (1 << kMaskExact));
}

TEST_F(ConditionWizard, AddsAndRemembersTheChoice) {
  ChooseKind(kCondAsp);
  ModalDriver::Expect<DQWIZASP>([](DQWIZASP& d) {
    d.AspectBox()->setCurrentIndex(1);  // "любой"
    d.ClassBox(0)->setChecked(true);
    return Confirm(d);
  });
  ASSERT_EQ(RunConditionWizard(set_), 0);
  ASSERT_EQ(set_.Count(), 1);
  const QueryCondition& c = set_.Condition(0);
  EXPECT_EQ(c.Number(), 1);
  EXPECT_TRUE(c.Enabled());
  EXPECT_EQ(c.w[4], kAnyAspectOfClasses);
  EXPECT_EQ(c.w[14], 1 | (1 << kMaskMajor) | (1 << 7) | (1 << 8));
  EXPECT_EQ(c.text3, "T");

  AddByWizard(kCondIncl);
  EXPECT_EQ(GetConfiguration().query.Get(cfg::QuerySettings::kWizardOneChart), kCondIncl);
  int preselected = -1;
  CancelFirstPage(preselected);
  EXPECT_EQ(RunConditionWizard(set_), -1);
  EXPECT_EQ(preselected, kCondIncl);
  EXPECT_EQ(set_.Count(), 2);
  EXPECT_EQ(set_.Condition(0).Kind(), kCondIncl);
  // The first house, preset as place, is no container of a house: Aries is.
  EXPECT_EQ(set_.Condition(0).w[2], 200);
  EXPECT_EQ(set_.Condition(0).w[3], 100);
}

TEST_F(ConditionWizard, ConfigurationsGoToTheirPage) {
  ChooseKind(kCondConf);
  int orbClass = 0;
  ModalDriver::Expect<DQWIZCONFIG>([&orbClass](DQWIZCONFIG& d) {
    orbClass = d.Model().orbClass;
    d.RowBox()->setCurrentIndex(3);
    return Confirm(d);
  });
  ASSERT_EQ(RunConditionWizard(set_), 0);
  EXPECT_EQ(orbClass, 1);  // the staged preset
  EXPECT_EQ(set_.Condition(0).Kind(), kCondConf);
  EXPECT_EQ(set_.Condition(0).w[2], 3);
}

TEST_F(ConditionWizard, AFullSetIsToldAndKept) {
  set_.SetCapacity(1);
  AddByWizard(kCondIn);
  ChooseKind(kCondIn);
  ModalDriver::Expect<DQWIZIN>([](DQWIZIN& d) { return Confirm(d); });
  EXPECT_EQ(RunConditionWizard(set_), -1);
  EXPECT_TRUE(prompts_.WasShown(kMsgTooManyConditions));
  EXPECT_EQ(set_.Count(), 1);
}

TEST_F(ConditionWizard, EditingKeepsNumberAndEnabledFlag) {
  AddByWizard(kCondIn);
  AddByWizard(kCondIncl);
  set_.Condition(0).w[19] = 0;  // INCL, number 2, switched off
  set_.Condition(0).w[12] = 5;  // a word the inclusion page does not set
  ModalDriver::Expect<DQWIZINCL>([](DQWIZINCL& d) {
    d.IncludedBox()->setCurrentIndex(d.Model().Included().first[kCatSigns] + 4);
    return Confirm(d);
  });
  EXPECT_EQ(EditCondition(set_, 0), 0);
  QueryCondition c = set_.Condition(0);
  EXPECT_EQ(c.Number(), 2);
  EXPECT_EQ(c.w[19], 0);
  EXPECT_EQ(c.w[2], 104);
  EXPECT_EQ(c.w[3], 200);  // the container list restarted at its first house
  EXPECT_EQ(c.w[12], 5);

  // Cancel leaves the condition as it was.
  ModalDriver::Expect<DQWIZIN>([](DQWIZIN& d) {
    d.ObjectBox()->setCurrentIndex(5);
    return kIdCancel;
  });
  const QueryCondition before = set_.Condition(1);
  EXPECT_EQ(EditCondition(set_, 1), -1);
  EXPECT_EQ(set_.Condition(1), before);

  ModalDriver::Expect<DQWIZIN>([](DQWIZIN& d) {
    d.ObjectBox()->setCurrentIndex(5);
    return Confirm(d);
  });
  EXPECT_EQ(EditCondition(set_, 1), 0);
  EXPECT_EQ(set_.Condition(1).Number(), 1);
  EXPECT_EQ(set_.Condition(1).w[2], 5);
  EXPECT_EQ(set_.Condition(1).w[12], -1);

  EXPECT_EQ(EditCondition(set_, 2), -1);
  EXPECT_EQ(EditCondition(set_, -1), -1);
  set_.Condition(1).w[1] = 9;  // a kind without a page: nothing opens
  EXPECT_EQ(EditCondition(set_, 1), -1);
}

TEST_F(ConditionWizard, EditingAPairConditionOpensTheTwoChartPage) {
  set_.synastry = true;
  ModalDriver::Expect<CQueryWizardMain_Syn>([](CQueryWizardMain_Syn& d) {
    d.choice = 1;
    return kIdOk;
  });
  bool twoChart = false;
  ModalDriver::Expect<DQWIZIN>([&twoChart](DQWIZIN& d) {
    twoChart = d.Model().TwoChart();
    d.SwapButton()->click();
    return Confirm(d);
  });
  ASSERT_EQ(RunConditionWizard(set_), 0);
  EXPECT_TRUE(twoChart);
  EXPECT_EQ(set_.Condition(0).Kind(), kCondPairIn);
  EXPECT_EQ(set_.Condition(0).w[11], 1);

  twoChart = false;
  QString label;
  ModalDriver::Expect<DQWIZIN>([&](DQWIZIN& d) {
    twoChart = d.Model().TwoChart();
    label = d.ObjectChartLabel()->text();
    return kIdCancel;
  });
  EXPECT_EQ(EditCondition(set_, 0), -1);
  EXPECT_TRUE(twoChart);
  EXPECT_EQ(label, QStringLiteral("Гороскоп 2"));  // the swap shown again
}

TEST_F(ConditionWizard, DeletingKeepsTheNumbers) {
  for (int i = 0; i < 3; ++i) AddByWizard(kCondIn);  // numbers 3, 2, 1 in list order
  EXPECT_EQ(DeleteCondition(set_, 3), -1);
  EXPECT_EQ(DeleteCondition(set_, -1), -1);
  EXPECT_EQ(DeleteCondition(set_, 2), 0);  // number 1
  ASSERT_EQ(set_.Count(), 2);
  EXPECT_EQ(set_.Condition(0).Number(), 3);
  EXPECT_EQ(set_.Condition(1).Number(), 2);
  AddByWizard(kCondIn);
  EXPECT_EQ(set_.Condition(0).Number(), 1);  // the freed number comes back
}

TEST_F(ConditionWizard, AspectPageFollowsItsControls) {
  // Any aspect of the classes tense, minor, exact and inexact, the orb from the system.
  set_.staged = condition_test::Words({{4, kAnyAspectOfClasses}, {11, 1}, {14, 0b111000010}});
  set_.staged.text3 = "T";
  DQWIZASP page(set_, false);
  page.OnInitDialog();
  EXPECT_EQ(page.AspectBox()->currentText(), QStringLiteral("любой"));
  EXPECT_FALSE(page.ClassBox(0)->isChecked());
  EXPECT_TRUE(page.ClassBox(1)->isChecked());
  EXPECT_TRUE(page.ClassBox(6)->isChecked());
  EXPECT_TRUE(page.ClassBox(1)->isEnabled());
  EXPECT_TRUE(page.ClassBox(7)->isEnabled());  // the orb from the system
  EXPECT_FALSE(page.GivenDegreesBox()->isEnabled());
  EXPECT_FALSE(page.PointSignBox()->isEnabled());

  // Unticking the last strength box ticks the other.
  page.ClassBox(6)->setChecked(false);
  EXPECT_TRUE(page.ClassBox(5)->isChecked());

  page.OwnOrbButton()->setChecked(true);
  EXPECT_FALSE(page.ClassBox(7)->isEnabled());
  EXPECT_TRUE(page.OrbDegreesBox()->isEnabled());

  page.AspectBox()->setCurrentIndex(2);  // "заданный"
  EXPECT_TRUE(page.GivenDegreesBox()->isEnabled());
  EXPECT_FALSE(page.ClassBox(1)->isEnabled());
  EXPECT_FALSE(page.SystemOrbButton()->isEnabled());

  page.AspectBox()->setCurrentIndex(0);  // an aspect of the system
  page.SystemOrbButton()->setChecked(true);
  EXPECT_FALSE(page.GivenDegreesBox()->isEnabled());
  EXPECT_FALSE(page.ClassBox(1)->isEnabled());
  EXPECT_FALSE(page.OrbDegreesBox()->isEnabled());

  // The arbitrary point's coordinates go with the object.
  page.FirstBox()->setCurrentIndex(page.Model().FirstList().first[kCatFixedDegree]);
  EXPECT_TRUE(page.PointSignBox()->isEnabled());

  // A typed name that no system bears.
  page.SystemBox()->setEditText(QStringLiteral("Nothing"));
  EXPECT_EQ(page.AspectBox()->count(), 1);
  EXPECT_EQ(Confirm(page), kIdCancel);
  EXPECT_TRUE(prompts_.WasShown(kMsgAspectSystemNotFound));

  // "любой" without a type box.
  page.SystemBox()->setCurrentIndex(0);
  page.AspectBox()->setCurrentIndex(1);
  for (int bit = 0; bit <= kMaskOtherClass; ++bit) page.ClassBox(bit)->setChecked(false);
  EXPECT_EQ(Confirm(page), kIdCancel);
  EXPECT_TRUE(prompts_.WasShown(kMsgNoAspectType));
}

}  // namespace
