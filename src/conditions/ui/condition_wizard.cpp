#include "conditions/ui/condition_wizard.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <utility>

#include "astro/chart/published_settings.h"
#include "conditions/core/cfunc.h"
#include "conditions/ui/conf_page_dialog.h"
#include "conditions/ui/value_page_dialogs.h"
#include "conditions/ui/wizard_page_controls.h"
#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"

namespace {

using wizard_page::EnablePoint;
using wizard_page::Fill;
using wizard_page::FillSigns;
using wizard_page::Index;
using wizard_page::PageButtons;

// "Дальше >" and "Отменить".
QDialogButtonBox* FirstPageButtons(platform::Dialog* page) {
  return platform::DialogButtons(page, "Дальше >", "Отменить");
}

// The remembered first-page choice of a mode, in the program-wide configuration.
cfg::Field<std::int32_t> ChoiceField(bool twoChart) {
  return twoChart ? cfg::QuerySettings::kWizardTwoChart : cfg::QuerySettings::kWizardOneChart;
}

// The first page of the mode: the chosen kind, or -1 on Cancel.
int RunFirstPage(bool twoChart, QWidget* parent) {
  Configuration& config = GetConfiguration();
  const int remembered = config.query.Get(ChoiceField(twoChart));
  int choice = -1;
  if (twoChart) {
    CQueryWizardMain_Syn page(remembered, parent);
    if (page.DoModal() == platform::kIdOk) choice = page.choice;
  } else {
    CQueryWizardMain page(remembered, parent);
    if (page.DoModal() == platform::kIdOk) choice = page.choice;
  }
  if (choice < 0 || !WizardKindAvailable(choice, twoChart)) return -1;
  config.query.Set(ChoiceField(twoChart), static_cast<std::int32_t>(choice));
  PublishSettings();
  return choice;
}

// Opens one page; true with its words in `out` after OK.
template <class Page, class... Args>
bool RunModal(QueryCondition& out, Args&&... args) {
  Page page(std::forward<Args>(args)...);
  if (page.DoModal() != platform::kIdOk) return false;
  out = page.words;
  return true;
}

// The page of `kind` (0..8) over the staged words: true with `out` after OK.
bool RunPage(CFunc& set, int kind, bool twoChart, QWidget* parent, QueryCondition& out) {
  switch (kind) {
    case kCondAsp:
      return RunModal<DQWIZASP>(out, set, twoChart, parent);
    case kCondIn:
      return RunModal<DQWIZIN>(out, set, twoChart, parent);
    case kCondIncl:
      return RunModal<DQWIZINCL>(out, set, parent);
    case kCondInterval:
      return RunModal<DQWIZINTERV>(out, set, parent);
    case kCondMoreLess:
      return RunModal<QWIZMORELESS>(out, set, parent);
    case kCondBeforeAfter:
      return RunModal<DQWIZBEFOREAFTER>(out, set, parent);
    case kCondContext:
      return RunModal<QWIZCONTEXT>(out, set, parent);
    case kCondConf:
      return RunModal<DQWIZCONFIG>(out, set, set.staged, parent);
    case kCondQuant:
      return RunModal<QWIZQUANT>(out, set, parent);
    default:
      return false;
  }
}

}  // namespace

// --- The flow ---

int RunConditionWizard(CFunc& set, QWidget* parent) {
  ClearStagedWords(set.staged);
  const bool twoChart = set.synastry;
  for (;;) {
    const int choice = RunFirstPage(twoChart, parent);
    if (choice < 0) return -1;
    PresetStagedWords(set.staged, choice, twoChart);
    const int kind = twoChart ? (choice == kCondAsp ? kCondAsp : kCondIn) : choice;
    QueryCondition words;
    if (!RunPage(set, kind, twoChart, parent, words)) continue;
    if (set.AddCondition(words) < 0) {
      ShowMessage(kMsgTooManyConditions);
      return -1;
    }
    return 0;
  }
}

int DeleteCondition(CFunc& set, int index) {
  if (index < 0 || index >= set.Count()) return -1;
  set.RemoveCondition(index);
  return 0;
}

int EditCondition(CFunc& set, int index, QWidget* parent) {
  if (index < 0 || index >= set.Count()) return -1;
  QueryCondition& condition = set.Condition(index);
  const int page = WizardPageOfKind(condition.Kind());
  if (page < 0 || !WizardKindAvailable(page, false)) return -1;
  set.staged = QueryCondition{};
  set.staged.CopyContents(condition);
  QueryCondition words;
  if (!RunPage(set, page, IsPairKind(condition.Kind()), parent, words)) return -1;
  if (page == kCondIncl) {
    // The inclusion page sets words 1 to 8 only.
    for (int i = 1; i <= 8; ++i)
      condition.w[static_cast<std::size_t>(i)] = words.w[static_cast<std::size_t>(i)];
    condition.text1 = words.text1;
    condition.text2 = words.text2;
    condition.text3 = words.text3;
  } else {
    condition.CopyContents(words);
  }
  return 0;
}

int ReloadGroups(CFunc& set) { return set.groups.LoadGroups(); }

// --- First pages ---

QueryWizardFirstPage::QueryWizardFirstPage(const QString& title, std::span<const KindName> kinds,
                                           bool twoChart, int remembered, QWidget* parent)
    : platform::Dialog(parent), group_(new QButtonGroup(this)) {
  setWindowTitle(title);
  choice = WizardInitialChoice(remembered, twoChart);
  auto* grid = new QGridLayout;
  const int count = static_cast<int>(kinds.size());
  for (int k = 0; k < count; ++k) {
    const KindName& kind = kinds[static_cast<std::size_t>(k)];
    auto* button = new QRadioButton(QString::fromUtf8(kind.name), this);
    buttons_.push_back(button);
    group_->addButton(button, k);
    button->setEnabled(WizardKindAvailable(k, twoChart));
    grid->addWidget(button, k, 0);
    auto* note = new QLabel(QString::fromUtf8(kind.note), this);
    grid->addWidget(note, k, 1);
    if (k == count - 1) {
      button->hide();
      note->hide();
    }
  }
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(FirstPageButtons(this));
}

bool QueryWizardFirstPage::DoDataExchange(bool save) {
  if (save)
    choice = group_->checkedId();
  else
    buttons_.at(static_cast<std::size_t>(choice))->setChecked(true);
  return true;
}

namespace {

// The last row of each mode is kept hidden.
constexpr std::array<QueryWizardFirstPage::KindName, 10> kOneChartKinds{{
    {"АСПЕКТ", "аспект между двумя объектами гороскопа"},
    {"НАХОЖДЕНИЕ В", "объект находится в знаке или доме"},
    {"ВКЛЮЧЕННОСТЬ", "дом включен в знак или знак в дом"},
    {"ИНТЕРВАЛ", "величина лежит в заданном интервале"},
    {"БОЛЬШЕ/МЕНЬШЕ", "величина больше или меньше заданной"},
    {"ДО/ПОСЛЕ", "объект стоит до или после другого"},
    {"КОНТЕКСТ", "текст в имени, типе, месте или комментарии"},
    {"КОНФИГУРАЦИИ", "конфигурация аспектов"},
    {"КОЛИЧЕСТВО", "число объектов или аспектов"},
    {"СКОРОСТИ", "скорости планет"},
}};
constexpr std::array<QueryWizardFirstPage::KindName, 3> kTwoChartKinds{{
    {"АСПЕКТ", "аспект между точками двух гороскопов"},
    {"НАХОЖДЕНИЕ В", "точка одного гороскопа в знаке или доме другого"},
    {"ОБЩИЕ ЧЕРТЫ", ""},
}};

}  // namespace

CQueryWizardMain::CQueryWizardMain(int remembered, QWidget* parent)
    : QueryWizardFirstPage(QStringLiteral("ЗАПРОС (ВЫБОР ФУНКЦИИ)"), kOneChartKinds, false,
                           remembered, parent) {}

CQueryWizardMain_Syn::CQueryWizardMain_Syn(int remembered, QWidget* parent)
    : QueryWizardFirstPage(QStringLiteral("СИНАСТРИЧЕСКИЙ АНАЛИЗ (ВЫБОР ФУНКЦИИ)"), kTwoChartKinds,
                           true, remembered, parent) {}

// --- ASP ---

DQWIZASP::DQWIZASP(CFunc& set, bool twoChart, QWidget* parent)
    : platform::Dialog(parent),
      set_(set),
      model_(set.groups, set.Aspects(), twoChart),
      first_(new QComboBox(this)),
      second_(new QComboBox(this)),
      pointSign_(new QComboBox(this)),
      pointDegrees_(platform::NumberBox(this, 0, 29)),
      pointMinutes_(platform::NumberBox(this, 0, 59)),
      system_(new QComboBox(this)),
      aspect_(new QComboBox(this)),
      givenDegrees_(platform::NumberBox(this, 0, 180)),
      givenMinutes_(platform::NumberBox(this, 0, 59)),
      ownOrb_(new QRadioButton(QStringLiteral("постоянный"), this)),
      systemOrb_(new QRadioButton(QStringLiteral("по системе аспектов"), this)),
      orbDegrees_(platform::NumberBox(this, 0, 20)),
      orbMinutes_(platform::NumberBox(this, 0, 59)),
      houseGroup_(platform::NumberBox(this, 1, 5)),
      signGroup_(platform::NumberBox(this, 1, 5)) {
  setWindowTitle(QStringLiteral("Функция \"Аспект\""));
  model_.Preset(set.staged);
  Fill(first_, model_.FirstList().names);
  Fill(second_, model_.SecondList().names);
  FillSigns(pointSign_);
  Fill(system_, model_.SystemNames());
  system_->setEditable(true);

  auto* objects = new QGridLayout;
  objects->addWidget(new QLabel(QStringLiteral("Аспект между"), this), 0, 0);
  objects->addWidget(first_, 0, 1);
  objects->addWidget(new QLabel(QStringLiteral("и"), this), 1, 0);
  objects->addWidget(second_, 1, 1);
  QGroupBox* pointBox = wizard_page::PointBox(this, pointSign_, pointDegrees_, pointMinutes_);
  if (twoChart) {
    objects->addWidget(new QLabel(QStringLiteral("(гороскоп 1)"), this), 0, 2);
    objects->addWidget(new QLabel(QStringLiteral("(гороскоп 2)"), this), 1, 2);
    pointBox->hide();
  }

  auto* aspectGrid = new QGridLayout;
  aspectGrid->addWidget(new QLabel(QStringLiteral("Система аспектов"), this), 0, 0);
  aspectGrid->addWidget(system_, 0, 1, 1, 2);
  aspectGrid->addWidget(new QLabel(QStringLiteral("Аспект"), this), 1, 0);
  aspectGrid->addWidget(aspect_, 1, 1, 1, 2);
  aspectGrid->addWidget(new QLabel(QStringLiteral("Угол"), this), 2, 0);
  aspectGrid->addWidget(givenDegrees_, 2, 1);
  aspectGrid->addWidget(givenMinutes_, 2, 2);

  QHBoxLayout* classes = wizard_page::ClassColumns(this, classes_);
  for (int bit = 0; bit < 9; ++bit) {
    connect(classes_[static_cast<std::size_t>(bit)], &QCheckBox::toggled, this,
            [this, bit](bool on) {
              if (loading_) return;
              model_.SetClassBit(bit, on);
              set_.staged.w[14] = model_.mask;
              ShowMask();
            });
  }

  QGridLayout* orb = nullptr;
  QGroupBox* orbBox =
      wizard_page::OrbBox(this, ownOrb_, orbDegrees_, orbMinutes_, systemOrb_, houseGroup_, orb);
  orb->addWidget(new QLabel(QStringLiteral("группа орбисов для аспектов к знакам"), orbBox), 3, 0);
  orb->addWidget(signGroup_, 3, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(objects);
  layout->addWidget(pointBox);
  layout->addLayout(aspectGrid);
  layout->addLayout(classes);
  layout->addWidget(orbBox);
  layout->addWidget(PageButtons(this));

  connect(first_, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (loading_) return;
    model_.first = std::max(i, 0);
    UpdateEnabling();
  });
  connect(system_, &QComboBox::currentTextChanged, this, [this](const QString& name) {
    if (loading_) return;
    model_.SetSystem(platform::FromQt(name));
    loading_ = true;
    FillAspects();
    ownOrb_->setChecked(true);
    loading_ = false;
    UpdateEnabling();
  });
  connect(aspect_, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (loading_) return;
    model_.SetAspect(std::max(i, 0));
    loading_ = true;
    (model_.orbFromSystem ? systemOrb_ : ownOrb_)->setChecked(true);
    loading_ = false;
    UpdateEnabling();
  });
  connect(ownOrb_, &QRadioButton::toggled, this, [this](bool own) {
    if (loading_) return;
    model_.orbFromSystem = !own;
    UpdateEnabling();
  });
}

void DQWIZASP::FillAspects() { Fill(aspect_, model_.AspectNames(), model_.aspect); }

void DQWIZASP::ShowMask() {
  const bool was = loading_;
  loading_ = true;
  wizard_page::ShowClassMask(classes_, model_.mask);
  loading_ = was;
}

bool DQWIZASP::DoDataExchange(bool save) {
  if (save) {
    model_.first = Index(first_);
    model_.second = Index(second_);
    model_.pointSign = pointSign_->currentIndex();
    model_.pointDegrees = pointDegrees_->value();
    model_.pointMinutes = pointMinutes_->value();
    model_.systemName = platform::FromQt(system_->currentText());
    model_.aspect = Index(aspect_);
    model_.givenDegrees = givenDegrees_->value();
    model_.givenMinutes = givenMinutes_->value();
    model_.orbFromSystem = systemOrb_->isChecked();
    model_.orbDegrees = orbDegrees_->value();
    model_.orbMinutes = orbMinutes_->value();
    model_.houseOrbGroup = houseGroup_->value();
    model_.signOrbGroup = signGroup_->value();
    return true;
  }
  loading_ = true;
  first_->setCurrentIndex(model_.first);
  second_->setCurrentIndex(model_.second);
  pointSign_->setCurrentIndex(model_.pointSign);
  pointDegrees_->setValue(model_.pointDegrees);
  pointMinutes_->setValue(model_.pointMinutes);
  system_->setCurrentText(platform::ToQt(model_.systemName));
  FillAspects();
  givenDegrees_->setValue(model_.givenDegrees);
  givenMinutes_->setValue(model_.givenMinutes);
  (model_.orbFromSystem ? systemOrb_ : ownOrb_)->setChecked(true);
  orbDegrees_->setValue(model_.orbDegrees);
  orbMinutes_->setValue(model_.orbMinutes);
  houseGroup_->setValue(model_.houseOrbGroup);
  signGroup_->setValue(model_.signOrbGroup);
  ShowMask();
  set_.staged.w[14] = model_.mask;
  loading_ = false;
  UpdateEnabling();
  return true;
}

void DQWIZASP::UpdateEnabling() {
  const AspectControls c = model_.Controls();
  for (int bit = 0; bit < 9; ++bit)
    classes_[static_cast<std::size_t>(bit)]->setEnabled(bit >= kMaskExact ? c.exactBoxes
                                                                          : c.classBoxes);
  givenDegrees_->setEnabled(c.givenAngle);
  givenMinutes_->setEnabled(c.givenAngle);
  systemOrb_->setEnabled(c.systemOrbChoice);
  orbDegrees_->setEnabled(c.ownOrb);
  orbMinutes_->setEnabled(c.ownOrb);
  houseGroup_->setEnabled(c.orbGroups);
  signGroup_->setEnabled(c.orbGroups);
  const bool point = model_.PointEnabled();
  EnablePoint(point, pointSign_, pointDegrees_, pointMinutes_);
  if (!point) {
    const bool was = loading_;
    loading_ = true;
    pointSign_->setCurrentIndex(0);
    pointDegrees_->setValue(0);
    pointMinutes_->setValue(0);
    loading_ = was;
  }
}

bool DQWIZASP::CheckOk() { return wizard_page::Accept(model_, words); }

// --- IN ---

DQWIZIN::DQWIZIN(CFunc& set, bool twoChart, QWidget* parent)
    : platform::Dialog(parent),
      model_(set.groups, twoChart),
      object_(new QComboBox(this)),
      place_(new QComboBox(this)),
      pointSign_(new QComboBox(this)),
      pointDegrees_(platform::NumberBox(this, 0, 29)),
      pointMinutes_(platform::NumberBox(this, 0, 59)),
      chart1_(new QLabel(QStringLiteral("Гороскоп 1"), this)),
      chart2_(new QLabel(QStringLiteral("Гороскоп 2"), this)),
      swap_(new QPushButton(QStringLiteral("<<< Поменять >>>"), this)) {
  setWindowTitle(QStringLiteral("Функция \"Нахождение в\""));
  model_.Preset(set.staged);
  Fill(object_, model_.Objects().names);
  FillSigns(pointSign_);

  auto* grid = new QGridLayout;
  grid->addWidget(object_, 0, 0);
  grid->addWidget(new QLabel(QStringLiteral("в"), this), 0, 1);
  grid->addWidget(place_, 0, 2);
  grid->addWidget(chart1_, 1, 0);
  grid->addWidget(swap_, 1, 1);
  grid->addWidget(chart2_, 1, 2);
  QGroupBox* pointBox = wizard_page::PointBox(this, pointSign_, pointDegrees_, pointMinutes_);
  if (twoChart) {
    pointBox->hide();
  } else {
    chart1_->hide();
    chart2_->hide();
    swap_->hide();
  }
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(pointBox);
  layout->addWidget(PageButtons(this));

  connect(object_, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (loading_) return;
    model_.SetObject(std::max(i, 0));
    loading_ = true;
    FillPlaces();
    loading_ = false;
    UpdateEnabling();
  });
  connect(swap_, &QPushButton::clicked, this, [this] {
    model_.swapped = !model_.swapped;
    const QString text = chart1_->text();
    chart1_->setText(chart2_->text());
    chart2_->setText(text);
  });
}

void DQWIZIN::FillPlaces() { Fill(place_, model_.Places().names, model_.place); }

bool DQWIZIN::DoDataExchange(bool save) {
  if (save) {
    model_.object = Index(object_);
    model_.place = Index(place_);
    model_.pointSign = pointSign_->currentIndex();
    model_.pointDegrees = pointDegrees_->value();
    model_.pointMinutes = pointMinutes_->value();
    return true;
  }
  loading_ = true;
  object_->setCurrentIndex(model_.object);
  FillPlaces();
  pointSign_->setCurrentIndex(model_.pointSign);
  pointDegrees_->setValue(model_.pointDegrees);
  pointMinutes_->setValue(model_.pointMinutes);
  if (model_.swapped) {
    chart1_->setText(QStringLiteral("Гороскоп 2"));
    chart2_->setText(QStringLiteral("Гороскоп 1"));
  }
  loading_ = false;
  UpdateEnabling();
  return true;
}

void DQWIZIN::UpdateEnabling() {
  EnablePoint(model_.PointEnabled(), pointSign_, pointDegrees_, pointMinutes_);
}

bool DQWIZIN::CheckOk() {
  words = model_.Words();
  return true;
}

// --- INCL ---

DQWIZINCL::DQWIZINCL(CFunc& set, QWidget* parent)
    : platform::Dialog(parent),
      model_(set.groups),
      included_(new QComboBox(this)),
      container_(new QComboBox(this)) {
  setWindowTitle(QStringLiteral("Функция \"Включенный дом/знак\""));
  model_.Preset(set.staged);
  Fill(included_, model_.Included().names);

  auto* grid = new QGridLayout;
  grid->addWidget(included_, 0, 0);
  grid->addWidget(new QLabel(QStringLiteral("в"), this), 0, 1);
  grid->addWidget(container_, 0, 2);
  auto* kindBox = new QGroupBox(QStringLiteral("Тип включенности"), this);
  auto* kindLayout = new QVBoxLayout(kindBox);
  static const char* const kKinds[3] = {"Целиком", "Частично", "Целиком или частично"};
  for (int k = 0; k < 3; ++k) {
    inclusion_[static_cast<std::size_t>(k)] =
        new QRadioButton(QString::fromUtf8(kKinds[k]), kindBox);
    kindLayout->addWidget(inclusion_[static_cast<std::size_t>(k)]);
  }
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(kindBox);
  layout->addWidget(PageButtons(this));

  connect(included_, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (loading_) return;
    model_.SetIncluded(std::max(i, 0));
    FillContainers();
  });
}

void DQWIZINCL::FillContainers() { Fill(container_, model_.Containers().names, model_.container); }

bool DQWIZINCL::DoDataExchange(bool save) {
  if (save) {
    model_.included = Index(included_);
    model_.container = Index(container_);
    for (int k = 0; k < 3; ++k)
      if (inclusion_[static_cast<std::size_t>(k)]->isChecked()) model_.inclusion = k;
    return true;
  }
  loading_ = true;
  included_->setCurrentIndex(model_.included);
  FillContainers();
  inclusion_.at(static_cast<std::size_t>(model_.inclusion))->setChecked(true);
  loading_ = false;
  return true;
}

bool DQWIZINCL::CheckOk() {
  words = model_.Words();
  return true;
}
