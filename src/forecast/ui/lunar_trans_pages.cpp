#include "forecast/ui/lunar_trans_pages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <initializer_list>

#include "astro/aspects/aspect_system.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"

namespace {

using platform::AddChoices;
using platform::Box;
using platform::Check;
using platform::Checked;
using platform::NameBox;
using platform::NumberBox;

QDoubleSpinBox* SpacingBox(QWidget* owner) {
  auto* box = new QDoubleSpinBox(owner);
  box->setDecimals(3);
  box->setSingleStep(0.1);
  box->setRange(ListDisplaySettings::kMinSpacing, ListDisplaySettings::kMaxSpacing);
  return box;
}

}  // namespace

// ---- DLunarTrans ------------------------------------------------------------------------------

DLunarTrans::DLunarTrans(const LunarTransPage& page, const std::vector<std::string>& systemNames,
                         QWidget* parent)
    : platform::PropertyPage(parent), page_(page) {
  BuildControls(systemNames);
}

void DLunarTrans::BuildControls(const std::vector<std::string>& systemNames) {
  auto* grid = new QGridLayout(this);
  QBoxLayout* layout = nullptr;

  QGroupBox* targetBox = Box(this, "Транзиты", layout);
  target_ = AddChoices(this, layout,
                       {"к планетам данного гороскопа", "к планетам/домам натального гороскопа"});
  grid->addWidget(targetBox, 0, 0, 1, 2);

  targets_ =
      AddAspectTargets(this, grid, 1, LunarTransPage::kMinOrbGroup, LunarTransPage::kMaxOrbGroup);
  phases_ = AddAspectPhases(this, grid, 2, 0);

  QGroupBox* periodBox = Box(this, "Период", layout);
  period_ = AddChoices(this, layout, {"по времени", "по расстоянию"});
  auto* times = new QGridLayout;
  yearsBefore_ = NumberBox(this, 0, LunarTransPage::kMaxYears);
  daysBefore_ = NumberBox(this, 0, LunarTransPage::kMaxDays);
  yearsAfter_ = NumberBox(this, 0, LunarTransPage::kMaxYears);
  daysAfter_ = NumberBox(this, 0, LunarTransPage::kMaxDays);
  auto* before = new QLabel(QStringLiteral("до текущего момента"), this);
  auto* after = new QLabel(QStringLiteral("после текущего момента"), this);
  auto* years = new QLabel(QStringLiteral("Лет"), this);
  auto* days = new QLabel(QStringLiteral("Дней"), this);
  times->addWidget(years, 0, 1);
  times->addWidget(days, 0, 2);
  times->addWidget(before, 1, 0);
  times->addWidget(yearsBefore_, 1, 1);
  times->addWidget(daysBefore_, 1, 2);
  times->addWidget(after, 2, 0);
  times->addWidget(yearsAfter_, 2, 1);
  times->addWidget(daysAfter_, 2, 2);
  layout->addLayout(times);
  periodControls_ = {yearsBefore_, daysBefore_, yearsAfter_, daysAfter_,
                     before,       after,       years,       days};
  from_ = AddChoices(this, layout, {"с текущего момента", "с начала знака"});
  auto* toRow = new QHBoxLayout;
  to_ = new QButtonGroup(this);
  auto* toEnd = new QRadioButton(QStringLiteral("до конца знака"), this);
  auto* toSigns = new QRadioButton(QStringLiteral("на"), this);
  to_->addButton(toEnd, 0);
  to_->addButton(toSigns, 1);
  signs_ = NumberBox(this, LunarTransPage::kMinSigns, LunarTransPage::kMaxSigns);
  auto* signsWord = new QLabel(QStringLiteral("знаков вперед"), this);
  toRow->addWidget(toEnd);
  toRow->addWidget(toSigns);
  toRow->addWidget(signs_);
  toRow->addWidget(signsWord);
  layout->addLayout(toRow);
  signControls_ = {from_->button(0), from_->button(1), toEnd, toSigns};
  signControls_.push_back(signsWord);
  // The period in a column of its own and the aspects beside the phases, so the page fits a
  // small screen.
  grid->addWidget(periodBox, 0, 2, 3, 1, Qt::AlignTop);

  QGroupBox* aspectsBox = Box(this, "Аспекты", layout);
  auto* systemRow = new QHBoxLayout;
  systemRow->addWidget(new QLabel(QStringLiteral("Система аспектов"), this));
  system_ = NameBox(this, AspectSystem::kMaxNameLength, systemNames);
  systemRow->addWidget(system_);
  layout->addLayout(systemRow);
  orbs_ = AddAspectOrbChoices(this, layout, "для каждой планеты по своей группе",
                              LunarTransPage::kMinOrbGroup, LunarTransPage::kMaxOrbGroup);
  grid->addWidget(aspectsBox, 2, 1);

  connect(target_, &QButtonGroup::idClicked, this, [this](int id) { OnTargetClicked(id); });
  for (QButtonGroup* group : {period_, to_, orbs_.orbMode})
    connect(group, &QButtonGroup::idClicked, this, [this] {
      ReadChoices();
      Enable();
    });
}

void DLunarTrans::OnTargetClicked(int target) {
  const int refused = page_.ChooseTarget(target);
  if (refused != 0) {
    ShowMessage(refused);
    Check(target_, page_.Values().target);
  }
  Enable();
}

void DLunarTrans::ReadChoices() {
  LunarTransSettings& v = page_.Values();
  v.periodKind = Checked(period_, 0);
  v.to = Checked(to_, 0);
  v.planetOrbs = Checked(orbs_.orbMode, 1);
}

void DLunarTrans::Enable() {
  const bool houses = page_.HouseChoicesEnabled();
  for (QAbstractButton* button : targets_.houses->buttons()) button->setEnabled(houses);
  targets_.houseOrbGroup->setEnabled(houses);
  for (QWidget* w : periodControls_) w->setEnabled(page_.PeriodFieldsEnabled());
  for (QWidget* w : signControls_) w->setEnabled(page_.SignRangeEnabled());
  signs_->setEnabled(page_.SignCountEnabled());
  orbs_.planetOrbGroup->setEnabled(page_.PlanetOrbGroupEnabled());
}

bool DLunarTrans::DoDataExchange(bool save) {
  LunarTransSettings& v = page_.Values();
  if (!save) {
    Check(target_, v.target);
    Check(targets_.planets, v.planets);
    Check(targets_.houses, v.houses);
    Check(period_, v.periodKind);
    Check(from_, v.from);
    Check(to_, v.to);
    Check(orbs_.orbMode, v.planetOrbs);
    Check(orbs_.aspects, v.aspects);
    targets_.nodes->setChecked(v.nodes != 0);
    phases_.entering->setChecked(v.entering != 0);
    phases_.exact->setChecked(v.exact != 0);
    phases_.leaving->setChecked(v.leaving != 0);
    phases_.ingresses->setChecked(v.ingresses == 1);
    yearsBefore_->setValue(v.yearsBefore);
    daysBefore_->setValue(v.daysBefore);
    yearsAfter_->setValue(v.yearsAfter);
    daysAfter_->setValue(v.daysAfter);
    signs_->setValue(v.signs);
    targets_.houseOrbGroup->setValue(v.houseOrbGroup);
    orbs_.planetOrbGroup->setValue(v.planetOrbGroup);
    system_->setCurrentText(platform::ToQt(v.aspectSystem));
    Enable();
    return true;
  }
  // The boxes hold only numbers of their ranges, so every value is taken.
  v.target = Checked(target_, 0);
  v.planets = Checked(targets_.planets, 1);
  v.houses = Checked(targets_.houses, 3);
  ReadChoices();
  v.from = Checked(from_, 0);
  v.aspects = Checked(orbs_.aspects, 1);
  v.nodes = targets_.nodes->isChecked();
  v.entering = phases_.entering->isChecked();
  v.exact = phases_.exact->isChecked();
  v.leaving = phases_.leaving->isChecked();
  v.ingresses = phases_.ingresses->isChecked() ? 1 : 0;
  v.yearsBefore = static_cast<std::int16_t>(yearsBefore_->value());
  v.daysBefore = static_cast<std::int16_t>(daysBefore_->value());
  v.yearsAfter = static_cast<std::int16_t>(yearsAfter_->value());
  v.daysAfter = static_cast<std::int16_t>(daysAfter_->value());
  v.signs = static_cast<std::int16_t>(signs_->value());
  v.houseOrbGroup = static_cast<std::int16_t>(targets_.houseOrbGroup->value());
  v.planetOrbGroup = static_cast<std::int16_t>(orbs_.planetOrbGroup->value());
  v.aspectSystem = platform::FromQt(system_->currentText().trimmed());
  return true;
}

// ---- DLunarTransInterf ------------------------------------------------------------------------

DLunarTransInterf::DLunarTransInterf(DisplayBlock kind, const cfg::ByteBlock& block,
                                     QWidget* parent)
    : platform::PropertyPage(parent),
      kind_(kind),
      values_(ReadDisplaySettings(kind, block).Clamped()) {
  using S = ListDisplaySettings;
  auto* layout = new QHBoxLayout(this);

  auto* print = new QGroupBox(QStringLiteral("Печать"), this);
  auto* printGrid = new QGridLayout(print);
  printFont_ = NumberBox(this, S::kMinFontSize, S::kMaxFontSize);
  printSpacing_ = SpacingBox(this);
  printColumns_ = NumberBox(this, S::kMinColumns, S::kMaxColumns);
  printGrid->addWidget(new QLabel(QStringLiteral("Размер шрифта"), this), 0, 0);
  printGrid->addWidget(printFont_, 0, 1);
  printGrid->addWidget(new QLabel(QStringLiteral("Интервал"), this), 1, 0);
  printGrid->addWidget(printSpacing_, 1, 1);
  printGrid->addWidget(new QLabel(QStringLiteral("Число колонок"), this), 2, 0);
  printGrid->addWidget(printColumns_, 2, 1);
  auto* orderBox = new QGroupBox(QStringLiteral("Порядок расположения"), this);
  QBoxLayout* orderLayout = new QVBoxLayout(orderBox);
  order_ = AddChoices(this, orderLayout, {"Слева  направо", "Сверху вниз"});
  printGrid->addWidget(orderBox, 3, 0, 1, 2);
  layout->addWidget(print);

  auto* screen = new QGroupBox(QStringLiteral("Экран"), this);
  auto* screenGrid = new QGridLayout(screen);
  screenFont_ = NumberBox(this, S::kMinFontSize, S::kMaxFontSize);
  screenSpacing_ = SpacingBox(this);
  screenGrid->addWidget(new QLabel(QStringLiteral("Размер шрифта"), this), 0, 0);
  screenGrid->addWidget(screenFont_, 0, 1);
  screenGrid->addWidget(new QLabel(QStringLiteral("Интервал"), this), 1, 0);
  screenGrid->addWidget(screenSpacing_, 1, 1);
  screenGrid->setRowStretch(2, 1);
  layout->addWidget(screen, 0, Qt::AlignTop);
}

bool DLunarTransInterf::DoDataExchange(bool save) {
  if (!save) {
    printFont_->setValue(values_.printFontSize);
    printSpacing_->setValue(values_.printLineSpacing);
    printColumns_->setValue(values_.printColumns);
    Check(order_, values_.printOrder);
    screenFont_->setValue(values_.screenFontSize);
    screenSpacing_->setValue(values_.screenLineSpacing);
    return true;
  }
  values_.printFontSize = printFont_->value();
  values_.printLineSpacing = printSpacing_->value();
  values_.printColumns = printColumns_->value();
  values_.printOrder = Checked(order_, 0);
  values_.screenFontSize = screenFont_->value();
  values_.screenLineSpacing = screenSpacing_->value();
  return true;
}
