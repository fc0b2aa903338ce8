// The wizard pages of the value kinds as windows: the wizard adds and edits their conditions
// through the modal driver, the controls follow the quantity, the reference, the place sought and
// the count, and a refused value keeps the page open with its message.
#include "conditions/ui/value_page_dialogs.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

#include "conditions/condition_test_support.h"
#include "conditions/ui/condition_wizard.h"
#include "foundation/messages/message_numbers.h"

namespace {

using condition_test::ChooseKind;
using condition_test::Confirm;
using condition_test::ExpectWords;
using condition_test::Words;
using platform::kIdCancel;
using platform::kIdOk;
using platform::ModalDriver;

class ValuePageDialogs : public condition_test::WizardWindowTest {
 protected:
  void SetUp() override {
    WizardWindowTest::SetUp();
    AddGroup('P', "Lights", {0, 1});
    config_.commentPageNames[2] = "Events";
  }
  // Adds a condition of `kind` by the wizard, its page filled by `fill` and confirmed.
  template <class Page, class Fill>
  void AddThrough(int kind, Fill fill) {
    ChooseKind(kind);
    ModalDriver::Expect<Page>([fill](Page& d) {
      fill(d);
      return Confirm(d);
    });
    ASSERT_EQ(RunConditionWizard(set_), 0);
  }
};

TEST_F(ValuePageDialogs, TheWizardAddsEveryValueKind) {
  AddThrough<QWIZMORELESS>(kCondMoreLess, [](QWIZMORELESS& d) {
    d.QuantityButton(kQuantityTime)->click();
    d.Value().values[0]->setValue(12);
    d.SenseButton(1)->setChecked(true);
  });
  ExpectWords(set_.Condition(0), {{1, 4}, {3, kQuantityTime}, {4, 1}, {11, 12}});

  AddThrough<DQWIZINTERV>(kCondInterval, [](DQWIZINTERV& d) {
    d.To().values[0]->setValue(30);
    d.EndBox()->setChecked(true);
  });
  ExpectWords(set_.Condition(0), {{1, 3}, {3, 0}, {4, 2}, {8, 30}, {11, 0}});

  AddThrough<DQWIZBEFOREAFTER>(kCondBeforeAfter, [](DQWIZBEFOREAFTER& d) {
    d.ReferenceBox()->setCurrentIndex(3);
    d.SectorDegreesBox()->setValue(45);
  });
  ExpectWords(set_.Condition(0), {{1, 5}, {2, 0}, {3, 3}, {4, 0}, {11, 45}});

  AddThrough<QWIZCONTEXT>(kCondContext, [](QWIZCONTEXT& d) {
    d.TextEdit()->setText(QStringLiteral("Москва "));
    d.WhereButton(2)->click();
  });
  ExpectWords(set_.Condition(0), {{1, 6}, {2, 2}, {3, 0}});
  EXPECT_EQ(set_.Condition(0).text1, Cp1251("Москва"));

  AddThrough<QWIZQUANT>(kCondQuant, [](QWIZQUANT& d) {
    d.CountButton(QuantPageModel::kCountChartAspects)->click();
    d.ClassBox(0)->setChecked(true);
  });
  ExpectWords(set_.Condition(0), {{1, 8}, {2, 3}, {3, -1}});
  EXPECT_EQ(set_.Condition(0).text3, "T");

  ASSERT_EQ(set_.Count(), 5);
  for (int i = 0; i < set_.Count(); ++i) EXPECT_TRUE(ValidateCondition(set_.Condition(i))) << i;
}

TEST_F(ValuePageDialogs, EditingReopensThePageOfTheKind) {
  // Whole dates from 1 January 10 BC to 1 January 20 AD, both ends included.
  Use("1 + 3 0 1 3 \x03 \x03 \x03 1 1 20 1 1 10 0 0 0 1 0");
  ModalDriver::Expect<DQWIZINTERV>([](DQWIZINTERV& d) {
    EXPECT_TRUE(d.ModeButton(kDateWhole)->isChecked());
    EXPECT_EQ(d.From().values[2]->value(), 10);
    EXPECT_TRUE(d.From().sideButtons[0]->isChecked());
    EXPECT_EQ(d.From().sideButtons[0]->text(), QStringLiteral("до н.э."));
    EXPECT_TRUE(d.BeginBox()->isChecked());
    d.To().sideButtons[0]->setChecked(true);  // 20 BC: before the beginning
    return Confirm(d);
  });
  EXPECT_EQ(EditCondition(set_, 0), -1);
  EXPECT_TRUE(prompts_.WasShown(kMsgBoundsReversed));
  EXPECT_EQ(set_.Condition(0).w[17], 1);
}

TEST_F(ValuePageDialogs, MoreLessShowsTheEditsOfItsQuantity) {
  QWIZMORELESS page(set_);
  page.OnInitDialog();
  EXPECT_EQ(page.windowTitle(), QStringLiteral("Функция \"Больше/Меньше\""));
  EXPECT_FALSE(page.ObjectBox()->isHidden());
  EXPECT_FALSE(page.Value().sign->isHidden());
  EXPECT_TRUE(page.Value().values[2]->isHidden());
  EXPECT_EQ(page.ModeButton(0)->text(), QStringLiteral("абсолютная (0-360)"));

  page.ModeButton(kModeInSign)->click();
  EXPECT_TRUE(page.Value().sign->isHidden());
  page.Value().values[0]->setValue(30);
  page.Value().values[1]->setValue(1);
  EXPECT_EQ(Confirm(page), kIdCancel);
  EXPECT_TRUE(prompts_.WasShown(kMsgBadCoordinateValue));
  page.Value().values[1]->setValue(0);
  EXPECT_EQ(Confirm(page), kIdOk);

  page.QuantityButton(kQuantityDate)->click();
  EXPECT_TRUE(page.ObjectBox()->isHidden());
  EXPECT_EQ(page.ModeButton(2)->text(), QStringLiteral("Только число"));
  EXPECT_FALSE(page.Value().values[2]->isHidden());
  EXPECT_EQ(page.Value().labels[2]->text(), QStringLiteral("год"));
  page.ModeButton(kDateDayOnly)->click();
  EXPECT_TRUE(page.Value().values[1]->isHidden());
  EXPECT_TRUE(page.Value().sideButtons[0]->isHidden());

  page.QuantityButton(kQuantitySpeed)->click();
  EXPECT_FALSE(page.ObjectBox()->isHidden());
  EXPECT_TRUE(page.ModeButton(0)->isHidden());
  EXPECT_EQ(page.Value().sideButtons[1]->text(), QStringLiteral("--"));
  EXPECT_EQ(page.ObjectBox()->count(), page.Model().Objects().Count());
}

TEST_F(ValuePageDialogs, BeforeAfterEnablesThePointForItsReference) {
  DQWIZBEFOREAFTER page(set_);
  page.OnInitDialog();
  EXPECT_FALSE(page.PointSignBox()->isEnabled());
  page.ReferenceBox()->setCurrentIndex(page.Model().References().first[kCatFixedDegree]);
  EXPECT_TRUE(page.PointSignBox()->isEnabled());
  page.PointDegreesBox()->setValue(12);
  ASSERT_EQ(Confirm(page), kIdOk);
  ExpectWords(page.words, {{3, kFixedDegree}, {8, 12}, {9, 0}, {10, 0}});
}

TEST_F(ValuePageDialogs, ContextFollowsThePlaceSought) {
  set_.staged = Words({{2, 3}, {3, 2}, {4, 2}});
  set_.staged.text1 =
      "a\x04\x04"
      "b";
  QWIZCONTEXT page(set_);
  page.OnInitDialog();
  EXPECT_EQ(page.TextEdit()->text(), QStringLiteral("a  b"));
  EXPECT_FALSE(page.PageBox()->isHidden());
  EXPECT_EQ(page.PageBox()->count(), 11);
  EXPECT_EQ(page.PageBox()->currentText(), QStringLiteral("Events"));
  EXPECT_EQ(page.PageBox()->itemText(10), QStringLiteral("Все комментарии"));
  EXPECT_TRUE(page.TestButton(2)->isChecked());

  page.PageBox()->setCurrentIndex(10);
  EXPECT_FALSE(page.TestButton(2)->isEnabled());
  EXPECT_TRUE(page.TestButton(1)->isChecked());
  page.PageBox()->setCurrentIndex(4);
  EXPECT_TRUE(page.TestButton(2)->isEnabled());
  page.TestButton(2)->click();
  page.WhereButton(0)->click();
  EXPECT_TRUE(page.PageBox()->isHidden());
  EXPECT_TRUE(page.TestButton(1)->isChecked());
  ASSERT_EQ(Confirm(page), kIdOk);
  ExpectWords(page.words, {{2, 0}, {3, 1}});
  EXPECT_EQ(page.words.text1,
            "a\x04\x04"
            "b");
}

TEST_F(ValuePageDialogs, QuantFollowsTheCount) {
  set_.staged = Words({{2, 1}, {15, 1}});
  QWIZQUANT page(set_);
  page.OnInitDialog();
  EXPECT_TRUE(page.CountButton(1)->isChecked());
  EXPECT_FALSE(page.ObjectBox()->isHidden());
  EXPECT_FALSE(page.SystemBox()->isEnabled());
  EXPECT_FALSE(page.ClassBox(0)->isEnabled());
  EXPECT_TRUE(page.SecondNumberBox()->isHidden());

  page.CountButton(QuantPageModel::kCountChartAspects)->click();
  EXPECT_TRUE(page.ObjectBox()->isHidden());
  EXPECT_TRUE(page.SystemBox()->isEnabled());
  EXPECT_TRUE(page.ClassBox(0)->isEnabled());
  EXPECT_FALSE(page.ClassBox(kMaskExact)->isEnabled());  // a constant orb
  page.SystemOrbButton()->setChecked(true);
  EXPECT_TRUE(page.ClassBox(kMaskExact)->isEnabled());
  EXPECT_FALSE(page.OrbDegreesBox()->isEnabled());
  page.ClassBox(kMaskMajor)->setChecked(false);  // the last of its pair
  EXPECT_TRUE(page.ClassBox(kMaskMinor)->isChecked());
  EXPECT_EQ(Confirm(page), kIdCancel);
  EXPECT_TRUE(prompts_.WasShown(kMsgNoAspectType));
  page.ClassBox(4)->setChecked(true);
  page.SystemBox()->setEditText(QStringLiteral("Nothing"));
  EXPECT_EQ(Confirm(page), kIdCancel);
  EXPECT_TRUE(prompts_.WasShown(kMsgAspectSystemNotFound));

  page.CountButton(QuantPageModel::kCountAspectsOf)->click();
  page.SystemBox()->setEditText(QStringLiteral("T"));
  page.ComparisonButton(QuantPageModel::kBetween)->click();
  EXPECT_FALSE(page.SecondNumberBox()->isHidden());
  EXPECT_TRUE(page.AddUpBox()->isHidden());
  page.ObjectBox()->setCurrentIndex(page.Model().Objects().first[kCatPlanetGroupsEach]);
  EXPECT_FALSE(page.AddUpBox()->isHidden());
  page.AddUpBox()->setChecked(true);
  ASSERT_EQ(Confirm(page), kIdOk);
  ExpectWords(page.words, {{2, 4}, {3, kPlanetGroupEach}, {4, 3}, {11, 1}});
  EXPECT_EQ(page.words.text2, "\x01");
}

}  // namespace
