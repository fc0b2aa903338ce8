#include "forecast/ui/life_point_sheet.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <initializer_list>

#include "astro/aspects/aspectarium.h"
#include "astro/lifepoint/life_point_all.h"
#include "forecast/ui/lunar_trans_pages.h"
#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"

namespace {

using platform::AddChoices;
using platform::Box;
using platform::Check;
using platform::Checked;
using platform::NameBox;
using platform::NumberBox;

}  // namespace

DLPConf::DLPConf(const LifePointPage& page, const std::vector<std::string>& typeNames,
                 const std::vector<std::string>& systemNames, QWidget* parent)
    : platform::PropertyPage(parent), page_(page) {
  auto* grid = new QGridLayout(this);
  QBoxLayout* layout = nullptr;

  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(QStringLiteral("Тип точки"), this));
  type_ = new QComboBox(this);
  for (const std::string& name : typeNames) type_->addItem(platform::ToQt(name));
  top->addWidget(type_, 1);
  top->addWidget(new QLabel(QStringLiteral("Система аспектов"), this));
  system_ = NameBox(this, LifePointPage::kMaxSystemName, systemNames);
  top->addWidget(system_);
  grid->addLayout(top, 0, 0, 1, 2);

  QGroupBox* chartBox = Box(this, "Аспекты", layout);
  chart_ = AddChoices(this, layout,
                      {"Аспекты к домам и планетам натального гороскопа",
                       "Аспекты к домам и планетам данного гороскопа"});
  chart_->button(1)->setEnabled(page_.ThisChartEnabled());
  grid->addWidget(chartBox, 1, 0, 1, 2);

  targets_ =
      AddAspectTargets(this, grid, 2, LifePointPage::kMinOrbGroup, LifePointPage::kMaxOrbGroup);
  phases_ = AddAspectPhases(this, grid, 3, 0);

  QGroupBox* aspectsBox = Box(this, "Аспекты", layout);
  orbs_ = AddAspectOrbChoices(this, layout, "в соответствии с группой орбисов \nдля каждой планеты",
                              LifePointPage::kMinOrbGroup, LifePointPage::kMaxOrbGroup);
  grid->addWidget(aspectsBox, 3, 1);

  auto* ageRow = new QHBoxLayout;
  ageRow->addWidget(new QLabel(QStringLiteral("Расчет аспектов начать с возраста:"), this));
  beginAge_ = NumberBox(this, LifePointPage::kMinBeginAge, LifePointPage::kMaxBeginAge);
  ageRow->addWidget(beginAge_);
  ageRow->addWidget(new QLabel(QStringLiteral("лет"), this));
  ageRow->addStretch();
  grid->addLayout(ageRow, 4, 0, 1, 2);
}

bool DLPConf::DoDataExchange(bool save) {
  LifePointSettings& v = page_.Values();
  if (!save) {
    type_->setCurrentIndex(v.typeIndex < type_->count() ? v.typeIndex : -1);
    system_->setCurrentText(platform::ToQt(v.aspectSystemName));
    Check(chart_, v.toThisChart);
    Check(targets_.planets, v.pointTargets);
    Check(targets_.houses, v.houseTargets);
    Check(orbs_.aspects, v.aspectChoice);
    Check(orbs_.orbMode, v.orbMode);
    targets_.nodes->setChecked(v.withNodes != 0);
    phases_.ingresses->setChecked(v.withIngresses != 0);
    phases_.exact->setChecked(v.exact != 0);
    phases_.entering->setChecked(v.entering != 0);
    phases_.leaving->setChecked(v.leaving != 0);
    orbs_.planetOrbGroup->setValue(v.planetOrbGroup);
    targets_.houseOrbGroup->setValue(v.houseOrbGroup);
    beginAge_->setValue(v.beginAge);
    return true;
  }
  // The boxes hold only numbers of their ranges, so every value is taken.
  v.typeIndex = static_cast<std::int16_t>(std::max(0, type_->currentIndex()));
  page_.SetSystemName(platform::FromQt(system_->currentText()));
  v.toThisChart = Checked(chart_, 0);
  v.pointTargets = Checked(targets_.planets, 1);
  v.houseTargets = Checked(targets_.houses, 0);
  v.aspectChoice = Checked(orbs_.aspects, 1);
  v.orbMode = Checked(orbs_.orbMode, 0);
  v.withNodes = targets_.nodes->isChecked();
  v.withIngresses = phases_.ingresses->isChecked();
  v.exact = phases_.exact->isChecked();
  v.entering = phases_.entering->isChecked();
  v.leaving = phases_.leaving->isChecked();
  v.planetOrbGroup = static_cast<std::int16_t>(orbs_.planetOrbGroup->value());
  v.houseOrbGroup = static_cast<std::int16_t>(targets_.houseOrbGroup->value());
  v.beginAge = static_cast<std::int16_t>(beginAge_->value());
  return true;
}

LifePointSheet::LifePointSheet(QWidget* parent)
    : platform::PropertySheet(platform::ToQt(GetMessageText(kMsgLifePointConfTitle)), parent) {}

bool RunLifePointSheet(Configuration& config, const Aspectarium& systems, const LifePointAll& types,
                       int chartKind, QWidget* parent) {
  cfg::ByteBlock pending = config.lifePoint;
  std::vector<std::string> typeNames;
  for (const LifePoint& t : types.Types()) typeNames.push_back(t.name);
  const std::vector<std::string> systemNames = systems.Names();
  DLPConf* calculation = nullptr;
  DLunarTransInterf* display = nullptr;
  const auto make = [&]() -> std::unique_ptr<platform::PropertySheet> {
    auto sheet = std::make_unique<LifePointSheet>(parent);
    calculation =
        new DLPConf(LifePointPage(LifePointSettings::FromBlock(pending), chartKind, types.Count()),
                    typeNames, systemNames);
    display = new DLunarTransInterf(DisplayBlock::kLifePoint, pending);
    sheet->AddPage(calculation, QStringLiteral("РАСЧЕТЫ"));
    sheet->AddPage(display, QStringLiteral("ИНТЕРФЕЙС"));
    return sheet;
  };
  const auto check = [&](platform::PropertySheet&) {
    calculation->Page().Store(pending);
    display->Store(pending);
    return true;
  };
  const auto commit = [&] { config.lifePoint = pending; };
  return platform::RunSettingsSheet(make, check, commit) == platform::kIdOk;
}
