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
#include "foundation/messages/messages.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"

namespace {

using platform::AddChoices;
using platform::Box;
using platform::Check;
using platform::Checked;
using platform::NumberBox;

constexpr int kMsgSheetTitle = 435;  // "ТОЧКА ЖИЗНИ - КОНФИГУРАЦИЯ"

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
  system_ = new QComboBox(this);
  system_->setEditable(true);
  system_->lineEdit()->setMaxLength(static_cast<int>(LifePointPage::kMaxSystemName));
  system_->lineEdit()->setValidator(new platform::Cp1251Validator(system_));
  for (const std::string& name : systemNames) system_->addItem(platform::ToQt(name));
  top->addWidget(system_);
  grid->addLayout(top, 0, 0, 1, 2);

  QGroupBox* chartBox = Box(this, "Аспекты", layout);
  chart_ = AddChoices(this, layout,
                      {"Аспекты к домам и планетам натального гороскопа",
                       "Аспекты к домам и планетам данного гороскопа"});
  chart_->button(1)->setEnabled(page_.ThisChartEnabled());
  grid->addWidget(chartBox, 1, 0, 1, 2);

  QGroupBox* planetsBox = Box(this, "К планетам", layout);
  planets_ = AddChoices(
      this, layout, {"ни к каким", "Солнце - Плутон", "ко всем, выводимым на гороскоп", "ко всем"});
  nodes_ = new QCheckBox(QStringLiteral("В том числе к Лунным узлам"), this);
  layout->addWidget(nodes_);
  grid->addWidget(planetsBox, 2, 0);

  QGroupBox* housesBox = Box(this, "К домам", layout);
  houses_ = AddChoices(this, layout, {"ни к каким", "к Асценденту", "к МС", "к углам", "ко всем"});
  auto* houseOrbRow = new QHBoxLayout;
  houseOrbRow->addWidget(new QLabel(QStringLiteral("Группа орбисов для домов"), this));
  houseOrbGroup_ = NumberBox(this, LifePointPage::kMinOrbGroup, LifePointPage::kMaxOrbGroup);
  houseOrbRow->addWidget(houseOrbGroup_);
  houseOrbRow->addStretch();
  layout->addLayout(houseOrbRow);
  grid->addWidget(housesBox, 2, 1);

  QGroupBox* phasesBox = Box(this, "Фазы", layout);
  exact_ = new QCheckBox(QStringLiteral("Точный аспект"), this);
  entering_ = new QCheckBox(QStringLiteral("Вхождение в орбис"), this);
  leaving_ = new QCheckBox(QStringLiteral("Выход из орбиса"), this);
  ingresses_ = new QCheckBox(QStringLiteral("Учитывать ингрессии"), this);
  for (QCheckBox* box : {entering_, exact_, leaving_, ingresses_}) layout->addWidget(box);
  grid->addWidget(phasesBox, 3, 0);

  QGroupBox* aspectsBox = Box(this, "Аспекты", layout);
  aspects_ = AddChoices(this, layout, {"соединения", "мажорные", "все"});
  orbMode_ = new QButtonGroup(this);
  auto* orbRow = new QHBoxLayout;
  auto* fixed = new QRadioButton(QStringLiteral("всегда  по группе "), this);
  auto* own = new QRadioButton(
      QStringLiteral("в соответствии с группой орбисов \nдля каждой планеты"), this);
  orbMode_->addButton(fixed, 0);
  orbMode_->addButton(own, 1);
  planetOrbGroup_ = NumberBox(this, LifePointPage::kMinOrbGroup, LifePointPage::kMaxOrbGroup);
  orbRow->addWidget(fixed);
  orbRow->addWidget(planetOrbGroup_);
  orbRow->addStretch();
  layout->addLayout(orbRow);
  layout->addWidget(own);
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
    Check(planets_, v.pointTargets);
    Check(houses_, v.houseTargets);
    Check(aspects_, v.aspectChoice);
    Check(orbMode_, v.orbMode);
    nodes_->setChecked(v.withNodes != 0);
    ingresses_->setChecked(v.withIngresses != 0);
    exact_->setChecked(v.exact != 0);
    entering_->setChecked(v.entering != 0);
    leaving_->setChecked(v.leaving != 0);
    planetOrbGroup_->setValue(v.planetOrbGroup);
    houseOrbGroup_->setValue(v.houseOrbGroup);
    beginAge_->setValue(v.beginAge);
    return true;
  }
  // The boxes hold only numbers of their ranges, so every value is taken.
  v.typeIndex = static_cast<std::int16_t>(std::max(0, type_->currentIndex()));
  page_.SetSystemName(platform::FromQt(system_->currentText()));
  v.toThisChart = Checked(chart_, 0);
  v.pointTargets = Checked(planets_, 1);
  v.houseTargets = Checked(houses_, 0);
  v.aspectChoice = Checked(aspects_, 1);
  v.orbMode = Checked(orbMode_, 0);
  v.withNodes = nodes_->isChecked();
  v.withIngresses = ingresses_->isChecked();
  v.exact = exact_->isChecked();
  v.entering = entering_->isChecked();
  v.leaving = leaving_->isChecked();
  v.planetOrbGroup = static_cast<std::int16_t>(planetOrbGroup_->value());
  v.houseOrbGroup = static_cast<std::int16_t>(houseOrbGroup_->value());
  v.beginAge = static_cast<std::int16_t>(beginAge_->value());
  return true;
}

LifePointSheet::LifePointSheet(QWidget* parent)
    : platform::PropertySheet(platform::ToQt(GetMessageText(kMsgSheetTitle)), parent) {}

bool RunLifePointSheet(Configuration& config, const Aspectarium& systems, const LifePointAll& types,
                       int chartKind, QWidget* parent) {
  cfg::ByteBlock pending = config.lifePoint;
  std::vector<std::string> typeNames, systemNames;
  for (const LifePoint& t : types.Types()) typeNames.push_back(t.name);
  for (int i = 0; i < systems.Count(); ++i) systemNames.push_back(systems.GetSystem(i).GetName());
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
