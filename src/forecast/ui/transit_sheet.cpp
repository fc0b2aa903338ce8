#include "forecast/ui/transit_sheet.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "astro/aspects/aspect_system.h"
#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_definition.h"
#include "conditions/core/groups.h"
#include "forecast/ui/lunar_trans_pages.h"
#include "foundation/config/configuration.h"
#include "foundation/datetime/super_source.h"
#include "foundation/messages/message_numbers.h"
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
using platform::NumberBox;

constexpr int kPrecisions[3] = {1, 5, 10};

QString Message(int n) { return platform::ToQt(GetMessageText(n)); }

// A date row: day, month, year boxes and the era choice ("до н.э." id 0, "н.э." id 1).
QHBoxLayout* DateRow(QWidget* owner, const char* label, std::array<QSpinBox*, 3>& boxes,
                     QButtonGroup*& era) {
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(QString::fromUtf8(label), owner));
  boxes = {NumberBox(owner, 1, 31), NumberBox(owner, 1, 12),
           NumberBox(owner, 1, TransitCalcPage::kMaxYear)};
  for (QSpinBox* box : boxes) row->addWidget(box);
  era = new QButtonGroup(owner);
  auto* bc = new QRadioButton(QStringLiteral("до н.э."), owner);
  auto* ad = new QRadioButton(QStringLiteral("н.э."), owner);
  era->addButton(bc, 0);
  era->addButton(ad, 1);
  row->addWidget(bc);
  row->addWidget(ad);
  return row;
}

}  // namespace

TransitSheet::TransitSheet(QWidget* parent)
    : platform::PropertySheet(Message(kMsgTransitsTitle), parent) {}

// ---- DTRANSCALC -------------------------------------------------------------------------------

DTRANSCALC::DTRANSCALC(const TransitCalcPage& page, const Aspectarium& systems,
                       const Groups& groups, QWidget* parent)
    : platform::PropertyPage(parent), page_(page), systems_(systems), groups_(groups) {
  BuildControls();
}

void DTRANSCALC::BuildControls() {
  // Two columns, so the page fits a small screen: what is searched for and when at the left,
  // how at the right.
  auto* columns = new QHBoxLayout(this);
  auto* left = new QVBoxLayout;
  auto* right = new QVBoxLayout;
  columns->addLayout(left);
  columns->addLayout(right);
  QBoxLayout* layout = nullptr;

  QGroupBox* modeBox = Box(this, "Режим", layout);
  mode_ =
      AddChoices(this, layout,
                 {"аспекты между планетами гороскопа", "аспекты от планет гороскопа к натальным"});
  left->addWidget(modeBox);

  QGroupBox* pairBox = Box(this, "Планеты", layout);
  auto* pairRow = new QHBoxLayout;
  transiting_ = new QComboBox(this);
  target_ = new QComboBox(this);
  pairRow->addWidget(new QLabel(QStringLiteral("ОТ"), this));
  pairRow->addWidget(transiting_);
  pairRow->addWidget(new QLabel(QStringLiteral("К"), this));
  pairRow->addWidget(target_);
  layout->addLayout(pairRow);
  left->addWidget(pairBox);

  QGroupBox* periodBox = Box(this, "Период", layout);
  layout->addLayout(DateRow(this, "с", dates_[0], eras_[0]));
  layout->addLayout(DateRow(this, "по", dates_[1], eras_[1]));
  left->addWidget(periodBox);

  QGroupBox* eventBox = Box(this, "События", layout);
  exact_ = new QCheckBox(QStringLiteral("Точный аспект"), this);
  entering_ = new QCheckBox(QStringLiteral("Вхождение в орбис"), this);
  leaving_ = new QCheckBox(QStringLiteral("Выход из орбиса"), this);
  for (QCheckBox* box : {exact_, entering_, leaving_}) layout->addWidget(box);
  sortByTime_ = new QCheckBox(QStringLiteral("Упорядочить по времени"), this);
  sortByTime_->setVisible(false);
  sortByTime_->setEnabled(false);
  layout->addWidget(sortByTime_);
  left->addWidget(eventBox);
  left->addStretch();

  QGroupBox* precisionBox = Box(this, "Точность", layout);
  precision_ = AddChoices(this, layout, {"Высокая", "Средняя", "Низкая"});
  right->addWidget(precisionBox);

  QGroupBox* aspectBox = Box(this, "Аспекты", layout);
  auto* systemRow = new QHBoxLayout;
  system_ = new QComboBox(this);
  for (int i = 0; i < systems_.Count(); ++i)
    system_->addItem(platform::ToQt(systems_.GetSystem(i).GetName()));
  aspect_ = new QComboBox(this);
  systemRow->addWidget(new QLabel(QStringLiteral("Система"), this));
  systemRow->addWidget(system_);
  systemRow->addWidget(new QLabel(QStringLiteral("Аспект"), this));
  systemRow->addWidget(aspect_);
  layout->addLayout(systemRow);
  auto* angleRow = new QHBoxLayout;
  angleDegrees_ = NumberBox(this, 0, TransitCalcPage::kMaxGivenAngle);
  angleMinutes_ = NumberBox(this, 0, 59);
  angleRow->addWidget(new QLabel(QStringLiteral("угол"), this));
  angleRow->addWidget(angleDegrees_);
  angleRow->addWidget(angleMinutes_);
  layout->addLayout(angleRow);
  auto* classGrid = new QGridLayout;
  const char* classTexts[9] = {"ГАРМОНИЧНЫЕ", "НАПРЯЖЕННЫЕ", "ТВОРЧЕСКИЕ", "КАРМИЧЕСКИЕ", "ПРОЧИЕ",
                               "МАЖОРНЫЕ",    "МИНОРНЫЕ",    "ТОЧНЫЕ",     "НЕТОЧНЫЕ"};
  for (int bit = 0; bit < 9; ++bit) {
    auto* box = new QCheckBox(QString::fromUtf8(classTexts[bit]), this);
    classes_[static_cast<std::size_t>(bit)] = box;
    classGrid->addWidget(box, bit < 5 ? bit : bit - 5, bit < 5 ? 0 : 1);
    connect(box, &QCheckBox::clicked, this, [this, bit](bool on) {
      page_.SetClassBit(bit, on);
      ShowClasses();
    });
  }
  layout->addLayout(classGrid);
  right->addWidget(aspectBox);

  QGroupBox* orbBox = Box(this, "Орбис", layout);
  orb_ = AddChoices(this, layout, {"постоянный", "по системе аспектов"});
  auto* orbRow = new QHBoxLayout;
  orbDegrees_ = NumberBox(this, 0, TransitCalcPage::kMaxConstantOrb);
  orbMinutes_ = NumberBox(this, 0, 59);
  orbRow->addWidget(orbDegrees_);
  orbRow->addWidget(orbMinutes_);
  layout->addLayout(orbRow);
  auto* houseRow = new QHBoxLayout;
  houseOrbGroup_ = NumberBox(this, TransitCalcPage::kMinOrbGroup, TransitCalcPage::kMaxOrbGroup);
  houseRow->addWidget(new QLabel(QStringLiteral("группа орбисов для аспектов к домам"), this));
  houseRow->addWidget(houseOrbGroup_);
  layout->addLayout(houseRow);
  right->addWidget(orbBox);
  right->addStretch();

  connect(mode_, &QButtonGroup::idClicked, this, [this](int id) {
    page_.ChooseTarget(target_->currentIndex());
    page_.ChooseMode(id);
    FillTargets();
  });
  connect(system_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (filling_ || index < 0) return;
    if (const int refused = page_.ChooseSystem(index); refused != 0) {
      ShowMessage(refused);
      return;
    }
    FillAspects();
    Enable();
  });
  connect(aspect_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (filling_ || index < 0) return;
    page_.ChooseAspect(index);
    Enable();
  });
  connect(orb_, &QButtonGroup::idClicked, this, [this](int id) {
    page_.ChooseOrbSource(id);
    Enable();
  });
}

void DTRANSCALC::FillTargets() {
  filling_ = true;
  target_->clear();
  for (const TransitCalcPage::TargetEntry& e : page_.TargetEntries()) {
    if (e.code == kTransitPlanetGroup || e.code == kTransitHouseGroup)
      target_->addItem(platform::ToQt(e.groupName));
    else if (e.code >= kTransitCuspTarget)
      target_->addItem(Message(kMsgHouseNameFirst + e.code - kTransitCuspTarget));
    else
      target_->addItem(Message(kMsgPointNameFirst + e.code));
  }
  target_->setCurrentIndex(page_.TargetIndex());
  filling_ = false;
}

void DTRANSCALC::FillAspects() {
  filling_ = true;
  aspect_->clear();
  const int entries = page_.AspectEntryCount();
  if (page_.SystemIndex() < systems_.Count()) {
    const AspectSystem& system = systems_.GetSystem(page_.SystemIndex());
    for (int i = 0; i < system.Count(); ++i)
      aspect_->addItem(platform::ToQt(system.GetAspect(i).GetName()));
  }
  if (entries > 1) aspect_->addItem(Message(kMsgAnyAspect));
  aspect_->addItem(Message(kMsgGivenAngle));
  aspect_->setCurrentIndex(page_.AspectIndex());
  filling_ = false;
}

void DTRANSCALC::ShowClasses() {
  for (int bit = 0; bit < 9; ++bit)
    classes_[static_cast<std::size_t>(bit)]->setChecked(page_.Values().MaskBit(bit));
}

void DTRANSCALC::Enable() {
  const TransitSettings& v = page_.Values();
  mode_->button(0)->setEnabled(page_.ModeEnabled(0));
  mode_->button(1)->setEnabled(page_.ModeEnabled(1));
  Check(orb_, v.orbSource);
  orb_->button(1)->setEnabled(page_.SystemOrbEnabled());
  orbDegrees_->setEnabled(page_.ConstantOrbEnabled());
  orbMinutes_->setEnabled(page_.ConstantOrbEnabled());
  houseOrbGroup_->setEnabled(page_.HouseOrbGroupEnabled());
  angleDegrees_->setEnabled(page_.GivenAngleEnabled());
  angleMinutes_->setEnabled(page_.GivenAngleEnabled());
  for (int bit = 0; bit <= kTransitMaskMinor; ++bit)
    classes_[static_cast<std::size_t>(bit)]->setEnabled(page_.ClassFilterEnabled());
  for (int bit : {kTransitMaskExact, kTransitMaskInexact})
    classes_[static_cast<std::size_t>(bit)]->setEnabled(page_.ExactClassesEnabled());
}

bool DTRANSCALC::DoDataExchange(bool save) {
  if (!save) {
    const TransitSettings& v = page_.Values();
    Check(mode_, v.mode);
    transiting_->clear();
    for (int i = 0; i < TransitCalcPage::kBodyEntries; ++i)
      transiting_->addItem(Message(kMsgPointNameFirst + TransitCalcPage::BodyOfEntry(i)));
    for (int g = 0; g < groups_.Count('P'); ++g)
      transiting_->addItem(platform::ToQt(groups_.GetGroupLabel('P', g, '0')));
    transiting_->setCurrentIndex(page_.TransitingIndex());
    FillTargets();
    filling_ = true;
    system_->setCurrentIndex(page_.SystemIndex());
    filling_ = false;
    FillAspects();
    const int start[3] = {v.startDay, v.startMonth, v.startYear};
    const int end[3] = {v.endDay, v.endMonth, v.endYear};
    for (int f = 0; f < 3; ++f) {
      dates_[0][static_cast<std::size_t>(f)]->setValue(start[f]);
      dates_[1][static_cast<std::size_t>(f)]->setValue(end[f]);
    }
    Check(eras_[0], v.startEra == 'B' ? 0 : 1);
    Check(eras_[1], v.endEra == 'B' ? 0 : 1);
    exact_->setChecked(v.exact != 0);
    entering_->setChecked(v.entering != 0);
    leaving_->setChecked(v.leaving != 0);
    sortByTime_->setChecked(v.sortByTime != 0);
    Check(precision_, v.precision == 1 ? 0 : v.precision == 5 ? 1 : 2);
    angleDegrees_->setValue(v.angleDegrees);
    angleMinutes_->setValue(v.angleMinutes);
    orbDegrees_->setValue(v.orbDegrees);
    orbMinutes_->setValue(v.orbMinutes);
    houseOrbGroup_->setValue(v.houseOrbGroup);
    ShowClasses();
    Enable();
    return true;
  }
  // The boxes hold only numbers of their ranges; the checks of OK are the sheet's.
  page_.ChooseTransiting(transiting_->currentIndex());
  page_.ChooseTarget(target_->currentIndex());
  TransitSettings& v = page_.Edit();
  v.startDay = dates_[0][0]->value();
  v.startMonth = dates_[0][1]->value();
  v.startYear = dates_[0][2]->value();
  v.startEra = Checked(eras_[0], 1) == 0 ? 'B' : 'A';
  v.endDay = dates_[1][0]->value();
  v.endMonth = dates_[1][1]->value();
  v.endYear = dates_[1][2]->value();
  v.endEra = Checked(eras_[1], 1) == 0 ? 'B' : 'A';
  v.exact = exact_->isChecked();
  v.entering = entering_->isChecked();
  v.leaving = leaving_->isChecked();
  v.precision = static_cast<std::uint16_t>(kPrecisions[Checked(precision_, 1)]);
  v.angleDegrees = static_cast<std::uint16_t>(angleDegrees_->value());
  v.angleMinutes = static_cast<std::uint16_t>(angleMinutes_->value());
  v.orbDegrees = static_cast<std::uint16_t>(orbDegrees_->value());
  v.orbMinutes = static_cast<std::uint16_t>(orbMinutes_->value());
  v.houseOrbGroup = static_cast<std::uint16_t>(houseOrbGroup_->value());
  return true;
}

// ---- the sheet --------------------------------------------------------------------------------

TransitChartInput TransitInputOf(const ChartContext& ctx, const SuperSource& definition,
                                 const std::filesystem::path& periodsFile) {
  const FDate& date = ComputingSource(definition).moment.date;
  TransitChartInput input;
  input.kind = definition.Kind();
  input.day = date.Day();
  input.month = date.Month();
  input.year = date.Year();
  input.era = date.Era();
  input.timeFactor = TransitTimeFactor(ctx, definition);
  if (!LoadTransitPeriods(periodsFile, input.periods).ok()) input.periods = ShippedTransitPeriods();
  return input;
}

bool RunTransitSheet(Configuration& config, const Aspectarium& systems, const Groups& groups,
                     const TransitChartInput& chart, QWidget* parent) {
  // The pending block: what the user entered last, shown again after a refusal and taken into
  // the configuration only when accepted. The chart's date starts the period on the first showing.
  cfg::ByteBlock pending = config.transit;
  TransitCalcPage(TransitSettings::FromBlock(pending), chart, groups, systems)
      .Values()
      .ToBlock(pending);
  TransitChartInput again = chart;
  again.typedPeriod = true;  // shown again: the period as the user left it
  DTRANSCALC* calculation = nullptr;
  DLunarTransInterf* display = nullptr;

  const auto make = [&]() -> std::unique_ptr<platform::PropertySheet> {
    auto sheet = std::make_unique<TransitSheet>(parent);
    const TransitSettings values = TransitSettings::FromBlock(pending);
    again.day = values.startDay;
    again.month = values.startMonth;
    again.year = values.startYear;
    again.era = values.startEra;
    calculation = new DTRANSCALC(TransitCalcPage(values, again, groups, systems), systems, groups);
    display = new DLunarTransInterf(DisplayBlock::kPlanetTransits, pending);
    sheet->AddPage(calculation, QStringLiteral("РАСЧЕТЫ"));
    sheet->AddPage(display, QStringLiteral("ИНТЕРФЕЙС"));
    return sheet;
  };
  const auto check = [&](platform::PropertySheet&) {
    TransitCalcPage page = calculation->Page();
    const int refused = page.Accept();
    // The values entered are kept, so a refused sheet reopens with them.
    page.Values().ToBlock(pending);
    display->Store(pending);
    if (refused == 0) return true;
    ShowMessage(refused);
    return false;
  };
  const auto commit = [&] { config.transit = pending; };
  return platform::RunSettingsSheet(make, check, commit) == platform::kIdOk;
}
