#include "settings/ui/config_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"
#include "settings/ui/wheel_sets_dialog.h"

namespace {

using platform::Check;
using platform::Checked;

void Refuse(int message, QWidget* focus) {
  ShowMessage(message);
  focus->setFocus();
}

// A whole number from an edit; false when the text is none.
bool ReadInt(const QLineEdit* edit, int& value) {
  bool ok = false;
  value = edit->text().trimmed().toInt(&ok);
  return ok;
}

const char* const kPlanetLabels[Configuration::kObjectCount] = {
    "СОЛНЦЕ",         "ЛУНА",       "МЕРКУРИЙ",     "ВЕНЕРА",
    "МАРС",           "ЮПИТЕР",     "САТУРН",       "УРАН",
    "НЕПТУН",         "ПЛУТОН",     "ХИРОН",        "ВЕСТА",
    "ЦЕРЕРА",         "ПАЛЛАДА",    "ЮНОНА",        "ПСИХЕЯ",
    "СЕВ. УЗЕЛ",      "ЮЖНЫЙ УЗЕЛ", "ЧЕРНАЯ ЛУНА",  "ПЕРИГЕЙ ЛУНЫ",
    "ПРОЗЕРПИНА",     "БЕЛАЯ ЛУНА", "КУПИДОН",      "ГАДЕС",
    "ЗЕВС",           "КРОНОС",     "АПОЛЛОН",      "АДМЕТ",
    "ВУЛКАН",         "ПОСЕЙДОН",   "КОЛ. ФОРТУНЫ", "КРЕСТ НЕСЧАСТЬЯ",
    "ВОСТОЧН. ТОЧКА", "ВЕРТЕКС"};

}  // namespace

// --- DCONFIG_PLANETS ---

DCONFIG_PLANETS::DCONFIG_PLANETS(QWidget* parent) : platform::Dialog(parent) {
  setWindowTitle(QStringLiteral("КОНФИГУРАЦИЯ - ПЛАНЕТЫ"));
  auto* layout = new QVBoxLayout(this);
  auto* columns = new QHBoxLayout;
  layout->addLayout(columns);
  static constexpr int kColumnStart[3] = {0, 14, 28};
  static constexpr int kColumnEnd[3] = {14, 28, 34};
  for (int c = 0; c < 3; ++c) {
    auto* grid = new QGridLayout;
    columns->addLayout(grid);
    grid->addWidget(new QLabel(QStringLiteral("Р"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("A1"), this), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("A2"), this), 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("O"), this), 0, 4);
    for (int i = kColumnStart[c]; i < kColumnEnd[c]; ++i) {
      Row& row = rows_[static_cast<std::size_t>(i)];
      row.shown = new QCheckBox(this);
      row.shown->setToolTip(QStringLiteral("Рисовать / не рисовать"));
      row.a1 = new QCheckBox(this);
      row.a1->setToolTip(QStringLiteral("Выключатель аспекта 1"));
      row.a2 = new QCheckBox(this);
      row.a2->setToolTip(QStringLiteral("Выключатель аспекта 2"));
      row.orb = new QLineEdit(this);
      row.orb->setMaxLength(2);
      row.orb->setFixedWidth(28);
      row.orb->setToolTip(QStringLiteral("Группа орбисов  (1-5)"));
      const int r = i - kColumnStart[c] + 1;
      grid->addWidget(new QLabel(QString::fromUtf8(kPlanetLabels[i]), this), r, 0);
      grid->addWidget(row.shown, r, 1);
      grid->addWidget(row.a1, r, 2);
      grid->addWidget(row.a2, r, 3);
      grid->addWidget(row.orb, r, 4);
    }
    // A shorter column keeps the rows of the others: the room left over goes below its last row,
    // not between its heading and its rows.
    grid->setRowStretch(kColumnEnd[c] - kColumnStart[c] + 1, 1);
  }
  layout->addWidget(platform::DialogButtons(this, "OK", "Отменить"));
}

bool DCONFIG_PLANETS::DoDataExchange(bool save) {
  settings::PlanetsPage read = page;
  for (int i = 0; i < Configuration::kObjectCount; ++i) {
    const Row& row = rows_[static_cast<std::size_t>(i)];
    cfg::ObjectFlags& o = (save ? read : page).objects[static_cast<std::size_t>(i)];
    if (!save) {
      row.shown->setChecked(o.shown);
      row.a1->setChecked(o.aspect1);
      row.a2->setChecked(o.aspect2);
      row.orb->setText(QString::number(o.orbGroup));
      continue;
    }
    o.shown = row.shown->isChecked();
    o.aspect1 = row.a1->isChecked();
    o.aspect2 = row.a2->isChecked();
    int group = 0;
    if (!ReadInt(row.orb, group) || group < 1 || group > 5) {
      Refuse(kMsgOrbGroupRange, row.orb);
      return false;
    }
    o.orbGroup = group;
  }
  if (save) page = read;
  return true;
}

// --- CConfigCalculations ---

CConfigCalculations::CConfigCalculations(QWidget* parent) : platform::Dialog(parent) {
  setWindowTitle(QStringLiteral("КОНФИГУРАЦИЯ - РАСЧЕТЫ"));
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  layout->addLayout(top);
  houses_ = platform::AddChoiceBox(
      this, top, "СИСТЕМА ДОМОВ",
      {"ПЛАЦИДУС", "ТОПОЦЕНТРИЧЕСКАЯ", "РЕГИОМОНТАНУС", "РАВНОДОМНАЯ ОТ МС", "РАВНОДОМНАЯ ОТ ASC",
       "КАМПАНУС", "КОХ", "ПОРФИРИЙ", "МЕРИДИАННАЯ (ЗАРИЕЛЬ)", "МОРИНУС", "СОЛЯР", "БРАХМАГУПТА",
       "МЕДИЦИНСКАЯ", "ЗЕМНЫЕ ДОМА", "СОЛНЕЧНЫЕ ДОМА", "ЛУННЫЕ ДОМА", "ЗНАК-ДОМ", "ГОРИЗОНТАЛЬНАЯ",
       "НАТУРАЛЬНАЯ (ПОДВОДНЫЙ)"});
  auto* right = new QVBoxLayout;
  top->addLayout(right);
  nodes_ = platform::AddChoiceBox(this, right, "ЛУННЫЕ УЗЛЫ", {"ИСТИННЫЕ", "СРЕДНИЕ"});
  blackMoon_ = platform::AddChoiceBox(this, right, "ЧЕРНАЯ ЛУНА", {"ИСТИННАЯ", "СРЕДНЯЯ"});
  // A button of no group that is never shown.
  auto* alcabitius = new QRadioButton(QStringLiteral("АЛЬКАБИЦИЯ"), this);
  alcabitius->setAutoExclusive(false);
  alcabitius->setEnabled(false);
  alcabitius->hide();
  dayNight_ =
      new QCheckBox(QStringLiteral("РАЗЛИЧАТЬ НОЧЬ И ДЕНЬ ПРИ РАСЧЕТЕ АРАБСКИХ ТОЧЕК"), this);
  geodetic_ = new QCheckBox(QStringLiteral("РАССЧИТЫВАТЬ ДОМА ПО ГЕОДЕТИЧЕСКОЙ СИСТЕМЕ"), this);
  layout->addWidget(dayNight_);
  layout->addWidget(geodetic_);
  layout->addWidget(platform::DialogButtons(this, "OK", "Отменить"));
}

bool CConfigCalculations::DoDataExchange(bool save) {
  if (!save) {
    Check(houses_, page.houseSystem);
    Check(nodes_, page.lunarNodes);
    Check(blackMoon_, page.blackMoon);
    dayNight_->setChecked(page.dayNight);
    geodetic_->setChecked(page.geodetic);
    return true;
  }
  page.houseSystem = Checked(houses_, 0) % 100;
  page.lunarNodes = Checked(nodes_, 0);
  page.blackMoon = Checked(blackMoon_, 0);
  page.dayNight = dayNight_->isChecked();
  page.geodetic = geodetic_->isChecked();
  return true;
}

bool CConfigCalculations::CheckOk() {
  if (page.GeodeticAllowed()) return true;
  Refuse(kMsgNoGeodeticVariant, geodetic_);
  return false;
}

// --- DCONFIG_WHEEL ---

DCONFIG_WHEEL::DCONFIG_WHEEL(QWidget* parent) : platform::Dialog(parent) {
  setWindowTitle(QStringLiteral("КОНФИГУРАЦИЯ - ИЗОБРАЖЕНИЕ ГОРОСКОПА"));
  auto* layout = new QVBoxLayout(this);
  auto* row1 = new QHBoxLayout;
  auto* row2 = new QHBoxLayout;
  auto* row3 = new QHBoxLayout;
  layout->addLayout(row1);
  layout->addLayout(row2);
  layout->addLayout(row3);
  groups_[0] =
      platform::AddChoiceBox(this, row1, "Направление", {"ПРОТИВ ЧАС. СТРЕЛКИ", "ПО ЧАС. СТРЕЛКЕ"});
  groups_[1] = platform::AddChoiceBox(this, row1, "Тип колеса", {"РАВНОЗНАЧНОЕ", "РАВНОДОМНОЕ"});
  groups_[2] = platform::AddChoiceBox(this, row1, "Тип разбиения", {"ПО ЗНАКАМ", "ПО ДОМАМ"});
  groups_[3] = platform::AddChoiceBox(this, row2, "Ориентация",
                                      {"0 ОВНА СЛЕВА", "0 ОВНА СПРАВА", "0 ОВНА НАВЕРХУ",
                                       "ASC  СЛЕВА", "ASC  СПРАВА", "MC НАВЕРХУ"});
  groups_[4] = platform::AddChoiceBox(this, row2, "Градусы на гороскопе",
                                      {"Не указывать", "Только при печати", "Всегда указывать"});
  groups_[5] =
      platform::AddChoiceBox(this, row2, "Углы гороскопа",
                             {"Не выделять", "Односторонние стрелки", "Двусторонние стрелки"});
  groups_[6] = platform::AddChoiceBox(this, row3, "Local Space",
                                      {"Рисовать аспекты", "Рисовать планетные вектора"});
  groups_[7] = platform::AddChoiceBox(this, row3, "Local Space", {"Север наверху", "Юг наверху"});
  centre_ = new QCheckBox(QStringLiteral("КРУГ В ЦЕНТРЕ"), this);
  layout->addWidget(centre_);
  systemParameters_ = new QPushButton(QStringLiteral("СИСТЕМНЫЕ ПАРАМЕТРЫ"), this);
  systemParameters_->setAutoDefault(false);
  layout->addWidget(systemParameters_);
  connect(systemParameters_, &QPushButton::clicked, this, &DCONFIG_WHEEL::OnSystemParameters);
  layout->addWidget(platform::DialogButtons(this, "OK", "Отменить"));
}

void DCONFIG_WHEEL::OnSystemParameters() {
  if (constants == nullptr) return;
  ShowMessage(kMsgSystemParameters);
  EditWheelSets(*constants, this);
}

bool DCONFIG_WHEEL::DoDataExchange(bool save) {
  int* const fields[8] = {
      &page.direction,    &page.wheelType,    &page.division,          &page.orientation,
      &page.degreesShown, &page.angleMarking, &page.localSpaceDrawing, &page.localSpaceOrientation};
  for (std::size_t i = 0; i < groups_.size(); ++i) {
    if (save)
      *fields[i] = Checked(groups_[i], *fields[i]);
    else
      Check(groups_[i], *fields[i]);
  }
  if (save)
    page.centreCircle = centre_->isChecked();
  else
    centre_->setChecked(page.centreCircle);
  return true;
}

// --- DCONFIG_PRINT ---

DCONFIG_PRINT::DCONFIG_PRINT(QWidget* parent) : platform::Dialog(parent) {
  setWindowTitle(QStringLiteral("КОНФИГУРАЦИЯ - ПЕЧАТЬ"));
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  layout->addLayout(top);
  auto* checks = new QVBoxLayout;
  top->addLayout(checks);
  aspectTable_ = new QCheckBox(QStringLiteral("Выводить таблицу аспектов"), this);
  coordinates_ = new QCheckBox(QStringLiteral("Выводить координаты планет"), this);
  header_ = new QCheckBox(QStringLiteral("Выводить заголовок"), this);
  checks->addWidget(aspectTable_);
  checks->addWidget(coordinates_);
  checks->addWidget(header_);
  colour_ = platform::AddChoiceBox(this, top, "Цветовой режим", {"Черно-белый", "Цветной"});

  auto* frameBox = new QGroupBox(QStringLiteral("Рамка"), this);
  auto* frameGrid = new QGridLayout(frameBox);
  frame_ = new QCheckBox(QStringLiteral("Выводить рамку"), frameBox);
  frameGrid->addWidget(frame_, 0, 0, 1, 2);
  const QString marginLabels[4] = {QStringLiteral("Отступ слева"), QStringLiteral("Отступ сверху"),
                                   QStringLiteral("Отступ справа"), QStringLiteral("Отступ снизу")};
  for (int i = 0; i < 4; ++i) {
    margins_[static_cast<std::size_t>(i)] = new QLineEdit(frameBox);
    frameGrid->addWidget(new QLabel(marginLabels[i], frameBox), i + 1, 0);
    frameGrid->addWidget(margins_[static_cast<std::size_t>(i)], i + 1, 1);
  }
  top->addWidget(frameBox);

  auto* offsetBox = new QGroupBox(QStringLiteral("О т с т у п ы"), this);
  auto* grid = new QGridLayout(offsetBox);
  auto* sizeGroup = new QButtonGroup(this);
  auto* large = new QRadioButton(QStringLiteral("Крупный гороскоп"), offsetBox);
  auto* small = new QRadioButton(QStringLiteral("Мелкий гороскоп"), offsetBox);
  sizeGroup->addButton(large, 0);
  sizeGroup->addButton(small, 1);
  size_ = sizeGroup;
  grid->addWidget(large, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Наложение гороскопов"), offsetBox), 0, 2);
  grid->addWidget(small, 0, 3);
  const char* const rows[settings::kPrintOffsetRows] = {"Табл. аспектов (слева)",
                                                        "Табл. аспектов (сверху)",
                                                        "Заголовок (слева)",
                                                        "Заголовок  (сверху)",
                                                        "Координаты (слева)",
                                                        "Координаты (сверху)",
                                                        "Полные координаты (слева)",
                                                        "Полные координаты (сверху)",
                                                        "Координаты гороскопа II (слева)",
                                                        "Координаты гороскопа II (сверху)"};
  for (int r = 0; r < settings::kPrintOffsetRows; ++r) {
    grid->addWidget(new QLabel(QString::fromUtf8(rows[r]), offsetBox), r + 1, 0);
    for (int c = 0; c < 3; ++c) {
      const int index = settings::PrintPage::OffsetIndex(r, c);
      if (index < 0) continue;
      auto* edit = new QLineEdit(offsetBox);
      offsets_[static_cast<std::size_t>(index)] = edit;
      grid->addWidget(edit, r + 1, c + 1);
    }
  }
  layout->addWidget(offsetBox);
  layout->addWidget(platform::DialogButtons(this, "OK", "Отменить"));

  for (QCheckBox* box : {aspectTable_, coordinates_, header_, frame_}) {
    connect(box, &QCheckBox::toggled, this, [this] {
      page.values.aspectTable = aspectTable_->isChecked();
      page.values.coordinates = coordinates_->isChecked();
      page.values.header = header_->isChecked();
      page.values.pageFrame = frame_->isChecked();
      UpdateEnabling();
    });
  }
}

QLineEdit* DCONFIG_PRINT::Offset(int row, int column) const {
  const int index = settings::PrintPage::OffsetIndex(row, column);
  return index < 0 ? nullptr : offsets_[static_cast<std::size_t>(index)];
}

void DCONFIG_PRINT::OnInitDialog() {
  DoDataExchange(false);
  UpdateEnabling();
}

void DCONFIG_PRINT::UpdateEnabling() {
  for (QLineEdit* margin : margins_) margin->setEnabled(page.MarginsEnabled());
  for (int r = 0; r < settings::kPrintOffsetRows; ++r) {
    for (int c = 0; c < 3; ++c) {
      if (QLineEdit* edit = Offset(r, c)) edit->setEnabled(page.RowEnabled(r));
    }
  }
}

bool DCONFIG_PRINT::DoDataExchange(bool save) {
  cfg::PrintSettings& v = page.values;
  std::int32_t* const margins[4] = {&v.marginLeft, &v.marginTop, &v.marginRight, &v.marginBottom};
  if (!save) {
    const QSignalBlocker b1(aspectTable_), b2(coordinates_), b3(header_), b4(frame_);
    aspectTable_->setChecked(v.aspectTable != 0);
    coordinates_->setChecked(v.coordinates != 0);
    header_->setChecked(v.header != 0);
    frame_->setChecked(v.pageFrame != 0);
    Check(colour_, colourMode == 1 ? 1 : 0);
    Check(size_, v.sizeChoice == 1 ? 1 : 0);
    for (std::size_t i = 0; i < 4; ++i) margins_[i]->setText(QString::number(*margins[i]));
    for (std::size_t i = 0; i < offsets_.size(); ++i)
      offsets_[i]->setText(QString::number(v.offsets[i]));
    return true;
  }
  settings::PrintPage read = page;
  cfg::PrintSettings& out = read.values;
  std::int32_t* const outMargins[4] = {&out.marginLeft, &out.marginTop, &out.marginRight,
                                       &out.marginBottom};
  out.aspectTable = aspectTable_->isChecked();
  out.coordinates = coordinates_->isChecked();
  out.header = header_->isChecked();
  out.pageFrame = frame_->isChecked();
  out.sizeChoice = Checked(size_, 0);
  for (std::size_t i = 0; i < 4; ++i) {
    int value = 0;
    if (!ReadInt(margins_[i], value) || value < 0 || value > settings::kPrintMarginMax) {
      Refuse(kMsgMarginRange, margins_[i]);
      return false;
    }
    *outMargins[i] = value;
  }
  for (std::size_t i = 0; i < offsets_.size(); ++i) {
    int value = 0;
    if (!ReadInt(offsets_[i], value) || value < 0 || value > settings::kPrintOffsetMax) {
      Refuse(kMsgOffsetRange, offsets_[i]);
      return false;
    }
    out.offsets[i] = value;
  }
  page = read;
  colourMode = Checked(colour_, 0);
  return true;
}

// --- DRulers ---

DRulers::DRulers(QWidget* parent) : platform::Dialog(parent) {
  setWindowTitle(QStringLiteral("УПРАВИТЕЛИ"));
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  grid->addWidget(new QLabel(QStringLiteral("Управитель"), this), 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Второй управитель"), this), 0, 2);
  grid->addWidget(new QLabel(QStringLiteral("Экзальтируют"), this), 0, 3, 1, 2);
  QStringList bodies{QStringLiteral("--------")};
  for (int b = 0; b < settings::kRulerBodyCount; ++b)
    bodies << platform::ToQt(GetMessageText(kMsgPointNameFirst + b));
  for (int sign = 0; sign < Configuration::kSignCount; ++sign) {
    grid->addWidget(new QLabel(platform::ToQt(GetMessageText(kMsgSignNameFirst + sign)), this),
                    sign + 1, 0);
    for (int column = 0; column < 4; ++column) {
      auto* box = new QComboBox(this);
      box->addItems(bodies);
      boxes_[static_cast<std::size_t>(12 * column + sign)] = box;
      grid->addWidget(box, sign + 1, column + 1);
    }
  }
  layout->addWidget(platform::DialogButtons(this, "OK", "Отменить"));
}

bool DRulers::DoDataExchange(bool save) {
  for (std::size_t i = 0; i < boxes_.size(); ++i) {
    if (save)
      page.selection[i] = std::max(0, boxes_[i]->currentIndex());
    else
      boxes_[i]->setCurrentIndex(page.selection[i]);
  }
  return true;
}
