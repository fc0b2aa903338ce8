#include "conditions/ui/value_page_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "conditions/core/cfunc.h"
#include "conditions/ui/wizard_page_controls.h"
#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"

namespace {

using wizard_page::EnablePoint;
using wizard_page::Fill;
using wizard_page::FillSigns;
using wizard_page::Index;
using wizard_page::PageButtons;

QString Title(const char* kindName) {
  return QStringLiteral("Функция \"%1\"").arg(QString::fromUtf8(kindName));
}

// The labels of the value edits, by quantity.
constexpr const char* kValueLabels[7][3] = {
    {"град.", "мин.", ""}, {"день", "мес.", "год"}, {"час.", "мин.", ""},  {"град.", "мин.", ""},
    {"град.", "мин.", ""}, {"град.", "мин.", ""},   {"град.", "мин.", ""},
};
// The two side buttons, by quantity (none for a longitude or a time).
constexpr const char* kSideLabels[7][2] = {
    {"", ""}, {"до н.э.", "н.э."}, {"", ""}, {"N", "S"}, {"E", "W"}, {"+", "--"}, {"N", "S"},
};
constexpr const char* kModeLabels[2][3] = {
    {"абсолютная (0-360)", "в знаке (0-30)", ""},
    {"Целиком", "Число и месяц", "Только число"},
};

}  // namespace

// --- The value edits ---

void BoundEditors::Build(QWidget* owner, const char* title, QBoxLayout* into) {
  box = new QGroupBox(QString::fromUtf8(title), owner);
  auto* row = new QHBoxLayout(box);
  for (std::size_t i = 0; i < 3; ++i) {
    values[i] = platform::NumberBox(box, 0, QuantityPageBase::kValueLimit);
    labels[i] = new QLabel(box);
    row->addWidget(values[i]);
    row->addWidget(labels[i]);
  }
  sides = new QButtonGroup(box);
  for (std::size_t i = 0; i < 2; ++i) {
    sideButtons[i] = new QRadioButton(box);
    sides->addButton(sideButtons[i], static_cast<int>(i));
    row->addWidget(sideButtons[i]);
  }
  sign = new QComboBox(box);
  FillSigns(sign);
  row->addWidget(sign);
  into->addWidget(box);
}

void BoundEditors::Show(int quantity, int mode) {
  const QuantityLayout layout = LayoutOfQuantity(quantity, mode);
  const auto q = static_cast<std::size_t>(quantity);
  const bool shown[3] = {true, layout.secondValue, layout.thirdValue};
  for (std::size_t i = 0; i < 3; ++i) {
    labels[i]->setText(QString::fromUtf8(kValueLabels[q][i]));
    values[i]->setVisible(shown[i]);
    labels[i]->setVisible(shown[i]);
  }
  for (std::size_t i = 0; i < 2; ++i) {
    sideButtons[i]->setText(QString::fromUtf8(kSideLabels[q][i]));
    sideButtons[i]->setVisible(layout.sides);
  }
  sign->setVisible(layout.signBox);
}

void BoundEditors::Load(const QuantityBound& bound) {
  values[0]->setValue(bound.first);
  values[1]->setValue(bound.second);
  values[2]->setValue(bound.third);
  platform::Check(sides, bound.flag);
  sign->setCurrentIndex(bound.sign);
}

QuantityBound BoundEditors::Save() const {
  return {values[0]->value(), values[1]->value(), values[2]->value(), platform::Checked(sides, 0),
          Index(sign)};
}

// --- MORE/LESS and INTERV ---

QuantityPageDialog::QuantityPageDialog(QuantityPageBase& model, const char* title, QWidget* parent)
    : platform::Dialog(parent), base_(model) {
  setWindowTitle(Title(title));
}

QRadioButton* QuantityPageDialog::QuantityButton(int q) const {
  return qobject_cast<QRadioButton*>(quantity_->button(q));
}

QRadioButton* QuantityPageDialog::ModeButton(int m) const {
  return qobject_cast<QRadioButton*>(modes_->button(m));
}

void QuantityPageDialog::BuildQuantityControls(QBoxLayout* into) {
  auto* objectRow = new QHBoxLayout;
  objectLabel_ = new QLabel(QStringLiteral("Объект"), this);
  object_ = new QComboBox(this);
  objectRow->addWidget(objectLabel_);
  objectRow->addWidget(object_, 1);
  into->addLayout(objectRow);
  auto* row = new QHBoxLayout;
  quantity_ = platform::AddChoiceBox(
      this, row, "Величина",
      {"Координата", "Дата", "Время", "Широта (географическая)", "Долгота (географическая)",
       "Скорость планеты", "Эклиптическая широта планеты"});
  QBoxLayout* modeColumn = nullptr;
  modeBox_ = platform::Box(this, "Режим", modeColumn);
  modes_ = platform::AddChoices(this, modeColumn, {"", "", ""});
  modeColumn->addStretch();
  row->addWidget(modeBox_);
  into->addLayout(row);
  FillObjects();

  connect(quantity_, &QButtonGroup::idClicked, this, [this](int q) {
    if (loading_) return;
    base_.object = Index(object_);
    base_.SetQuantity(q);
    loading_ = true;
    FillObjects();
    platform::Check(modes_, base_.mode);
    loading_ = false;
    ShowLayout();
  });
  connect(modes_, &QButtonGroup::idClicked, this, [this](int m) {
    if (loading_) return;
    base_.mode = m;
    ShowLayout();
  });
}

void QuantityPageDialog::FillObjects() { Fill(object_, base_.Objects().names, base_.object); }

void QuantityPageDialog::LoadQuantity() {
  FillObjects();
  platform::Check(quantity_, base_.quantity);
  platform::Check(modes_, base_.mode);
}

void QuantityPageDialog::SaveQuantity() {
  base_.object = Index(object_);
  // A quantity checked without a click still rebuilds the object list.
  if (const int q = platform::Checked(quantity_, base_.quantity); q != base_.quantity)
    base_.SetQuantity(q);
  base_.mode = platform::Checked(modes_, 0);
  if (base_.mode >= base_.Layout().modes) base_.mode = 0;
}

void QuantityPageDialog::ShowLayout() {
  const QuantityLayout layout = base_.Layout();
  object_->setVisible(layout.objectList);
  objectLabel_->setVisible(layout.objectList);
  modeBox_->setVisible(layout.modes > 0);
  for (int m = 0; m < 3; ++m) {
    QRadioButton* button = ModeButton(m);
    button->setVisible(m < layout.modes);
    if (layout.modes > 0)
      button->setText(QString::fromUtf8(
          kModeLabels[base_.quantity == kQuantityDate ? 1 : 0][static_cast<std::size_t>(m)]));
  }
}

QWIZMORELESS::QWIZMORELESS(CFunc& set, QWidget* parent)
    : QuantityPageDialog(model_, "Больше/Меньше", parent), model_(set.groups) {
  model_.Preset(set.staged);
  auto* layout = new QVBoxLayout(this);
  BuildQuantityControls(layout);
  auto* senseRow = new QHBoxLayout;
  QButtonGroup* sense = platform::AddChoices(this, senseRow, {"БОЛЬШЕ", "МЕНЬШЕ"});
  sense_ = {qobject_cast<QRadioButton*>(sense->button(0)),
            qobject_cast<QRadioButton*>(sense->button(1))};
  layout->addLayout(senseRow);
  value_.Build(this, "Значение", layout);
  layout->addWidget(PageButtons(this));
}

void QWIZMORELESS::ShowLayout() {
  QuantityPageDialog::ShowLayout();
  value_.Show(model_.quantity, model_.mode);
}

bool QWIZMORELESS::DoDataExchange(bool save) {
  if (save) {
    SaveQuantity();
    model_.sense = sense_[1]->isChecked() ? 1 : 0;
    model_.value = value_.Save();
    return true;
  }
  loading_ = true;
  LoadQuantity();
  sense_.at(static_cast<std::size_t>(model_.sense))->setChecked(true);
  value_.Load(model_.value);
  loading_ = false;
  ShowLayout();
  return true;
}

bool QWIZMORELESS::CheckOk() { return wizard_page::Accept(model_, words); }

DQWIZINTERV::DQWIZINTERV(CFunc& set, QWidget* parent)
    : QuantityPageDialog(model_, "Интервал", parent),
      model_(set.groups),
      begin_(new QCheckBox(QStringLiteral("Включая начало интервала"), this)),
      end_(new QCheckBox(QStringLiteral("Включая конец интервала"), this)) {
  model_.Preset(set.staged);
  auto* layout = new QVBoxLayout(this);
  BuildQuantityControls(layout);
  from_.Build(this, "ОТ", layout);
  to_.Build(this, "ДО", layout);
  layout->addWidget(begin_);
  layout->addWidget(end_);
  layout->addWidget(PageButtons(this));
}

void DQWIZINTERV::ShowLayout() {
  QuantityPageDialog::ShowLayout();
  from_.Show(model_.quantity, model_.mode);
  to_.Show(model_.quantity, model_.mode);
}

bool DQWIZINTERV::DoDataExchange(bool save) {
  if (save) {
    SaveQuantity();
    model_.from = from_.Save();
    model_.to = to_.Save();
    model_.includeBegin = begin_->isChecked();
    model_.includeEnd = end_->isChecked();
    return true;
  }
  loading_ = true;
  LoadQuantity();
  from_.Load(model_.from);
  to_.Load(model_.to);
  begin_->setChecked(model_.includeBegin);
  end_->setChecked(model_.includeEnd);
  loading_ = false;
  ShowLayout();
  return true;
}

bool DQWIZINTERV::CheckOk() { return wizard_page::Accept(model_, words); }

// --- BEFORE/AFTER ---

DQWIZBEFOREAFTER::DQWIZBEFOREAFTER(CFunc& set, QWidget* parent)
    : platform::Dialog(parent),
      model_(set.groups),
      object_(new QComboBox(this)),
      reference_(new QComboBox(this)),
      sectorDegrees_(platform::NumberBox(this, 0, 180)),
      sectorMinutes_(platform::NumberBox(this, 0, 59)),
      pointSign_(new QComboBox(this)),
      pointDegrees_(platform::NumberBox(this, 0, 29)),
      pointMinutes_(platform::NumberBox(this, 0, 59)) {
  setWindowTitle(Title("До/После"));
  model_.Preset(set.staged);
  Fill(object_, model_.Objects().names);
  Fill(reference_, model_.References().names);
  FillSigns(pointSign_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(object_);
  auto* senseRow = new QHBoxLayout;
  QButtonGroup* sense = platform::AddChoices(this, senseRow, {"До", "После"});
  sense_ = {qobject_cast<QRadioButton*>(sense->button(0)),
            qobject_cast<QRadioButton*>(sense->button(1))};
  layout->addLayout(senseRow);
  layout->addWidget(reference_);
  layout->addWidget(wizard_page::PointBox(this, pointSign_, pointDegrees_, pointMinutes_));
  auto* sectorBox = new QGroupBox(QStringLiteral("В секторе"), this);
  auto* sector = new QHBoxLayout(sectorBox);
  sector->addWidget(sectorDegrees_);
  sector->addWidget(new QLabel(QStringLiteral("Град."), sectorBox));
  sector->addWidget(sectorMinutes_);
  sector->addWidget(new QLabel(QStringLiteral("Мин."), sectorBox));
  layout->addWidget(sectorBox);
  layout->addWidget(PageButtons(this));

  connect(reference_, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (loading_) return;
    model_.reference = std::max(i, 0);
    UpdateEnabling();
  });
}

void DQWIZBEFOREAFTER::UpdateEnabling() {
  EnablePoint(model_.PointEnabled(), pointSign_, pointDegrees_, pointMinutes_);
}

bool DQWIZBEFOREAFTER::DoDataExchange(bool save) {
  if (save) {
    model_.object = Index(object_);
    model_.reference = Index(reference_);
    model_.sense = sense_[1]->isChecked() ? 1 : 0;
    model_.sectorDegrees = sectorDegrees_->value();
    model_.sectorMinutes = sectorMinutes_->value();
    model_.pointSign = Index(pointSign_);
    model_.pointDegrees = pointDegrees_->value();
    model_.pointMinutes = pointMinutes_->value();
    return true;
  }
  loading_ = true;
  object_->setCurrentIndex(model_.object);
  reference_->setCurrentIndex(model_.reference);
  sense_.at(static_cast<std::size_t>(model_.sense))->setChecked(true);
  sectorDegrees_->setValue(model_.sectorDegrees);
  sectorMinutes_->setValue(model_.sectorMinutes);
  pointSign_->setCurrentIndex(model_.pointSign);
  pointDegrees_->setValue(model_.pointDegrees);
  pointMinutes_->setValue(model_.pointMinutes);
  loading_ = false;
  UpdateEnabling();
  return true;
}

bool DQWIZBEFOREAFTER::CheckOk() {
  words = model_.Words();
  return true;
}

// --- CONTEXT ---

QWIZCONTEXT::QWIZCONTEXT(CFunc& set, QWidget* parent)
    : platform::Dialog(parent),
      page_(new QComboBox(this)),
      text_(new QLineEdit(this)),
      ignoreBlanks_(new QCheckBox(QStringLiteral("Игнорировать пробелы"), this)),
      matchCase_(new QCheckBox(QStringLiteral("Учитывать регистр"), this)),
      partial_(new QCheckBox(QStringLiteral("Частичный контекст"), this)) {
  setWindowTitle(Title("Контекст"));
  model_.Preset(set.staged);
  const auto& names = set.Config().commentPageNames;
  std::vector<std::string> pages(names.begin(), names.end());
  pages.push_back(GetMessageText(kMsgAllComments));
  Fill(page_, pages);
  text_->setMaxLength(static_cast<int>(QueryCondition::kMaxTextLength));
  text_->setValidator(new platform::Cp1251Validator(text_));

  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  QButtonGroup* where =
      platform::AddChoiceBox(this, row, "Где искать", {"Имя", "Тип", "Место", "Комментарий"});
  QButtonGroup* test = platform::AddChoiceBox(this, row, "Условие",
                                              {"Контекст присутствует", "Контекст отсутствует ",
                                               "Контекст отсутствует или нет комментария"});
  for (int k = 0; k < 4; ++k)
    where_[static_cast<std::size_t>(k)] = qobject_cast<QRadioButton*>(where->button(k));
  for (int k = 0; k < 3; ++k)
    test_[static_cast<std::size_t>(k)] = qobject_cast<QRadioButton*>(test->button(k));
  layout->addLayout(row);
  layout->addWidget(page_);
  layout->addWidget(new QLabel(QStringLiteral("Контекст"), this));
  layout->addWidget(text_);
  layout->addWidget(ignoreBlanks_);
  layout->addWidget(matchCase_);
  layout->addWidget(partial_);
  layout->addWidget(PageButtons(this));

  connect(where, &QButtonGroup::idClicked, this, [this](int w) {
    if (loading_) return;
    model_.SetWhere(w);
    UpdateEnabling();
  });
  connect(test, &QButtonGroup::idClicked, this, [this](int t) {
    if (!loading_) model_.test = t;
  });
  connect(page_, &QComboBox::currentIndexChanged, this, [this](int p) {
    if (loading_) return;
    model_.SetPage(std::max(p, 0));
    UpdateEnabling();
  });
}

void QWIZCONTEXT::UpdateEnabling() {
  page_->setVisible(model_.PageShown());
  test_[ContextPageModel::kAbsentOrNoComment]->setEnabled(model_.NoCommentTestEnabled());
  const bool was = loading_;
  loading_ = true;
  test_.at(static_cast<std::size_t>(model_.test))->setChecked(true);
  loading_ = was;
}

bool QWIZCONTEXT::DoDataExchange(bool save) {
  if (save) {
    for (int k = 0; k < 4; ++k)
      if (where_[static_cast<std::size_t>(k)]->isChecked()) model_.where = k;
    for (int k = 0; k < 3; ++k)
      if (test_[static_cast<std::size_t>(k)]->isChecked()) model_.test = k;
    model_.SetPage(Index(page_));
    model_.text = platform::FromQt(text_->text());
    model_.ignoreBlanks = ignoreBlanks_->isChecked();
    model_.matchCase = matchCase_->isChecked();
    model_.partial = partial_->isChecked();
    return true;
  }
  loading_ = true;
  where_.at(static_cast<std::size_t>(model_.where))->setChecked(true);
  page_->setCurrentIndex(model_.page);
  text_->setText(platform::ToQt(model_.text));
  ignoreBlanks_->setChecked(model_.ignoreBlanks);
  matchCase_->setChecked(model_.matchCase);
  partial_->setChecked(model_.partial);
  loading_ = false;
  UpdateEnabling();
  return true;
}

bool QWIZCONTEXT::CheckOk() {
  words = model_.Words();
  return true;
}

// --- QUANT ---

QWIZQUANT::QWIZQUANT(CFunc& set, QWidget* parent)
    : platform::Dialog(parent),
      model_(set.groups, set.Aspects()),
      object_(new QComboBox(this)),
      addUp_(new QCheckBox(QStringLiteral("Суммировать"), this)),
      number1_(platform::NumberBox(this, 0, 1000)),
      andLabel_(new QLabel(QStringLiteral("до"), this)),
      number2_(platform::NumberBox(this, 0, 1000)),
      inclusive_(new QCheckBox(QStringLiteral("Включительно"), this)),
      system_(new QComboBox(this)),
      ownOrb_(new QRadioButton(QStringLiteral("постоянный"), this)),
      systemOrb_(new QRadioButton(QStringLiteral("по системе аспектов"), this)),
      orbDegrees_(platform::NumberBox(this, 0, 20)),
      orbMinutes_(platform::NumberBox(this, 0, 59)),
      houseGroup_(platform::NumberBox(this, 1, 5)),
      nodes_(new QCheckBox(QStringLiteral("В том числе Лунные узлы"), this)) {
  setWindowTitle(Title("Количество"));
  model_.Preset(set.staged);
  Fill(system_, model_.SystemNames());
  system_->setEditable(true);

  auto* layout = new QVBoxLayout(this);
  QBoxLayout* countColumn = nullptr;
  QGroupBox* countBox = platform::Box(this, "Что считать", countColumn);
  QButtonGroup* count = platform::AddChoices(
      this, countColumn,
      {"Количество планет в знаке/доме",
       "Количество планет в знаке, где находится заданная планета",
       "Количество планет в доме, где находится заданная планета",
       "Количество аспектов в гороскопе", "Количество аспектов у планеты/дома"});
  for (int k = 0; k < 5; ++k)
    count_[static_cast<std::size_t>(k)] = qobject_cast<QRadioButton*>(count->button(k));
  // The objects counted beside what is counted: one above the other, the page was taller than a
  // small screen.
  auto* countRow = new QHBoxLayout;
  countRow->addWidget(countBox, 1);
  planets_ = platform::AddChoiceBox(this, countRow, "Планеты",
                                    {"Солнце - Плутон", "Все, выводимые на гороскоп", "Все"});
  houses_ = platform::AddChoiceBox(this, countRow, "Дома", {"Никакие", "Угловые", "Все"});
  layout->addLayout(countRow);
  auto* objectRow = new QHBoxLayout;
  objectRow->addWidget(object_, 1);
  objectRow->addWidget(addUp_);
  layout->addLayout(objectRow);

  auto* compareRow = new QHBoxLayout;
  QButtonGroup* comparison =
      platform::AddChoices(this, compareRow, {"Равно", "Больше", "Меньше", "В интервале от"});
  for (int k = 0; k < 4; ++k)
    comparison_[static_cast<std::size_t>(k)] = qobject_cast<QRadioButton*>(comparison->button(k));
  compareRow->addWidget(number1_);
  compareRow->addWidget(andLabel_);
  compareRow->addWidget(number2_);
  compareRow->addWidget(inclusive_);
  layout->addLayout(compareRow);

  auto* aspectRow = new QHBoxLayout;
  aspectRow->addWidget(new QLabel(QStringLiteral("Система аспектов"), this));
  aspectRow->addWidget(system_, 1);
  layout->addLayout(aspectRow);
  layout->addLayout(wizard_page::ClassColumns(this, classes_));
  for (int bit = 0; bit < 9; ++bit) {
    connect(classes_[static_cast<std::size_t>(bit)], &QCheckBox::toggled, this,
            [this, bit](bool on) {
              if (loading_) return;
              model_.SetClassBit(bit, on);
              ShowMask();
            });
  }

  QGridLayout* orb = nullptr;
  layout->addWidget(
      wizard_page::OrbBox(this, ownOrb_, orbDegrees_, orbMinutes_, systemOrb_, houseGroup_, orb));

  layout->addWidget(nodes_);
  layout->addWidget(PageButtons(this));

  connect(count, &QButtonGroup::idClicked, this, [this](int k) {
    if (loading_) return;
    model_.SetCount(k);
    loading_ = true;
    FillObjects();
    loading_ = false;
    UpdateEnabling();
  });
  connect(object_, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (loading_) return;
    model_.object = std::max(i, 0);
    UpdateEnabling();
  });
  connect(comparison, &QButtonGroup::idClicked, this, [this](int k) {
    if (loading_) return;
    model_.comparison = k;
    UpdateEnabling();
  });
  connect(ownOrb_, &QRadioButton::toggled, this, [this](bool own) {
    if (loading_) return;
    model_.orbFromSystem = !own;
    UpdateEnabling();
  });
}

void QWIZQUANT::FillObjects() { Fill(object_, model_.Objects().names, model_.object); }

void QWIZQUANT::ShowMask() {
  const bool was = loading_;
  loading_ = true;
  wizard_page::ShowClassMask(classes_, model_.mask);
  loading_ = was;
}

void QWIZQUANT::UpdateEnabling() {
  const QuantControls c = model_.Controls();
  object_->setVisible(c.objectList);
  addUp_->setVisible(c.addUp);
  andLabel_->setVisible(c.secondNumber);
  number2_->setVisible(c.secondNumber);
  system_->setEnabled(c.aspects);
  for (int bit = 0; bit < 9; ++bit)
    classes_[static_cast<std::size_t>(bit)]->setEnabled(bit >= kMaskExact ? c.exactBoxes
                                                                          : c.aspects);
  ownOrb_->setEnabled(c.aspects);
  systemOrb_->setEnabled(c.aspects);
  orbDegrees_->setEnabled(c.ownOrb);
  orbMinutes_->setEnabled(c.ownOrb);
  houseGroup_->setEnabled(c.orbGroup);
}

bool QWIZQUANT::DoDataExchange(bool save) {
  if (save) {
    int checked = model_.count;
    for (int k = 0; k < 5; ++k)
      if (count_[static_cast<std::size_t>(k)]->isChecked()) checked = k;
    // A count checked without a click still rebuilds the object list.
    if (checked != model_.count)
      model_.SetCount(checked);
    else
      model_.object = Index(object_);
    model_.addUp = addUp_->isChecked();
    for (int k = 0; k < 4; ++k)
      if (comparison_[static_cast<std::size_t>(k)]->isChecked()) model_.comparison = k;
    model_.number1 = number1_->value();
    model_.number2 = number2_->value();
    model_.inclusive = inclusive_->isChecked();
    model_.systemName = platform::FromQt(system_->currentText());
    model_.orbFromSystem = systemOrb_->isChecked();
    model_.orbDegrees = orbDegrees_->value();
    model_.orbMinutes = orbMinutes_->value();
    model_.houseOrbGroup = houseGroup_->value();
    model_.nodes = nodes_->isChecked();
    model_.planets = platform::Checked(planets_, 0);
    model_.houses = platform::Checked(houses_, 0);
    return true;
  }
  loading_ = true;
  count_.at(static_cast<std::size_t>(model_.count))->setChecked(true);
  FillObjects();
  addUp_->setChecked(model_.addUp);
  comparison_.at(static_cast<std::size_t>(model_.comparison))->setChecked(true);
  number1_->setValue(model_.number1);
  number2_->setValue(model_.number2);
  inclusive_->setChecked(model_.inclusive);
  system_->setCurrentText(platform::ToQt(model_.systemName));
  (model_.orbFromSystem ? systemOrb_ : ownOrb_)->setChecked(true);
  orbDegrees_->setValue(model_.orbDegrees);
  orbMinutes_->setValue(model_.orbMinutes);
  houseGroup_->setValue(model_.houseOrbGroup);
  nodes_->setChecked(model_.nodes);
  platform::Check(planets_, model_.planets);
  platform::Check(houses_, model_.houses);
  ShowMask();
  loading_ = false;
  UpdateEnabling();
  return true;
}

bool QWIZQUANT::CheckOk() { return wizard_page::Accept(model_, words); }
