#include "views/ui/asptable_config_dialog.h"

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
#include <string>
#include <vector>

#include "astro/aspects/aspectarium.h"
#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/core/prompter.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"

namespace {

constexpr int kBodyLabels = 30;

// The labels of table points 30..39.
const char* const kFurtherLabels[] = {
    "КОЛ. ФОРТУНЫ", "КРЕСТ НЕСЧАСТЬЯ", "ВОСТОЧН. ТОЧКА", "ВЕРТЕКС", "X ДОМ",
    "XI ДОМ",       "XII ДОМ",         "I ДОМ",          "II ДОМ",  "III ДОМ"};

template <std::size_t N>
QGroupBox* RadioGroup(QWidget* parent, const QString& title, const char* const (&labels)[N],
                      std::array<QRadioButton*, N>& buttons) {
  auto* box = new QGroupBox(title, parent);
  auto* layout = new QVBoxLayout(box);
  for (std::size_t i = 0; i < N; ++i) {
    buttons[i] = new QRadioButton(QString::fromUtf8(labels[i]), box);
    layout->addWidget(buttons[i]);
  }
  return box;
}

template <std::size_t N>
void SetRadio(std::array<QRadioButton*, N>& buttons, int value) {
  for (std::size_t i = 0; i < N; ++i) buttons[i]->setChecked(static_cast<int>(i) == value);
}

template <std::size_t N>
int GetRadio(const std::array<QRadioButton*, N>& buttons, int fallback) {
  for (std::size_t i = 0; i < N; ++i)
    if (buttons[i]->isChecked()) return static_cast<int>(i);
  return fallback;
}

QSpinBox* WidthBox(QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setRange(1000, 21000);
  return box;
}

}  // namespace

CASPTABLE_CONFIG::CASPTABLE_CONFIG(const Aspectarium& systems, QWidget* parent)
    : platform::Dialog(parent), systems_(systems) {
  setWindowTitle(QStringLiteral("СПИСОК ПЛАНЕТ, ВКЛЮЧЕННЫХ В ТАБЛИЦУ АСПЕКТОВ, И ПРОЧИИ ОПЦИИ"));
  auto* layout = new QHBoxLayout(this);

  auto* pointsBox = new QGroupBox(this);
  auto* grid = new QGridLayout(pointsBox);
  for (int i = 0; i < tables::AspTableConfigModel::kPoints; ++i) {
    const QString label = i < kBodyLabels
                              ? platform::ToQt(GetMessageText(kMsgPointNameFirst + i)).toUpper()
                              : QString::fromUtf8(kFurtherLabels[i - kBodyLabels]);
    points_[static_cast<std::size_t>(i)] = new QCheckBox(label, pointsBox);
    grid->addWidget(points_[static_cast<std::size_t>(i)], i % 20, i / 20);
  }
  layout->addWidget(pointsBox);

  auto* options = new QVBoxLayout;
  auto* orbRow = new QHBoxLayout;
  orbRow->addWidget(new QLabel(QStringLiteral("ГРУППА ОРБИСОВ ДЛЯ ДОМОВ"), this));
  houseOrb_ = new QSpinBox(this);
  houseOrb_->setRange(1, 5);
  orbRow->addWidget(houseOrb_);
  options->addLayout(orbRow);

  static const char* const kCellLabels[] = {"Значок и орб    пусто", "Значок и орб    дуга",
                                            "Дуга                  дуга",
                                            "Дуга                  пусто"};
  options->addWidget(RadioGroup(this, QStringLiteral("Аспект / нет аспекта"), kCellLabels, cell_));
  static const char* const kColourLabels[] = {"Не использовать", "Только значки аспектов",
                                              "Все цветное"};
  options->addWidget(RadioGroup(this, QStringLiteral("ЦВЕТА"), kColourLabels, colour_));

  auto* widthBox = new QGroupBox(QStringLiteral("ширина"), this);
  auto* widthGrid = new QGridLayout(widthBox);
  static const char* const kWidthLabels[] = {"Страница 1 - крупный гороскоп",
                                             "Страница 1 - мелкий гороскоп", "Страница 2"};
  for (std::size_t i = 0; i < 3; ++i) {
    widthGrid->addWidget(new QLabel(QString::fromUtf8(kWidthLabels[i]), widthBox),
                         static_cast<int>(i), 0);
    widths_[i] = WidthBox(widthBox);
    widthGrid->addWidget(widths_[i], static_cast<int>(i), 1);
    // Further page-layout numbers, carried through: hidden and disabled.
    layouts_[i] = new QSpinBox(widthBox);
    layouts_[i]->setRange(-2147483647, 2147483647);
    layouts_[i]->setEnabled(false);
    layouts_[i]->setVisible(false);
  }
  options->addWidget(widthBox);
  layout->addLayout(options);

  auto* more = new QVBoxLayout;
  static const char* const kDiagonalLabels[] = {"Пустая", "Координата (знак,градус)",
                                                "Координата (абс. градус)", "Значок планеты"};
  more->addWidget(
      RadioGroup(this, QStringLiteral("Диагональ таблицы аспектов"), kDiagonalLabels, diagonal_));
  static const char* const kHighlightLabels[] = {"не выделять", "с мажорным аспектом",
                                                 "c точным аспектом", "с точным мажорным аспектом",
                                                 "с любым аспектом"};
  more->addWidget(RadioGroup(this, QStringLiteral("Выделять клетки в т. мидпойнтов"),
                             kHighlightLabels, highlight_));
  onlyDisplayed_ = new QCheckBox(QStringLiteral("Только для выводимых планет"), this);
  toHouses_ = new QCheckBox(QStringLiteral("Учитывать аспекты к домам"), this);
  more->addWidget(onlyDisplayed_);
  more->addWidget(toHouses_);
  more->addWidget(new QLabel(QStringLiteral("Система аспектов"), this));
  system_ = new QComboBox(this);
  system_->setEditable(true);
  system_->lineEdit()->setMaxLength(tables::AspTableConfigModel::kSystemNameLength);
  more->addWidget(system_);
  auto* buttons = platform::DialogButtons(this, "OK", "Отменить");
  more->addStretch();
  more->addWidget(buttons);
  layout->addLayout(more);
}

void CASPTABLE_CONFIG::OnInitDialog() {
  system_->clear();
  for (int i = 0; i < systems_.Count(); ++i)
    system_->addItem(platform::ToQt(systems_.GetSystem(i).GetName()));
  DoDataExchange(false);
}

bool CASPTABLE_CONFIG::DoDataExchange(bool save) {
  if (!save) {
    for (std::size_t i = 0; i < points_.size(); ++i) points_[i]->setChecked(model.switches[i] != 0);
    houseOrb_->setValue(model.houseOrbGroup);
    SetRadio(cell_, model.cellMode);
    SetRadio(colour_, model.colourMode);
    for (std::size_t i = 0; i < 3; ++i) {
      widths_[i]->setValue(model.tableWidths[i]);
      layouts_[i]->setValue(model.pageLayouts[i]);
    }
    SetRadio(diagonal_, model.diagonalMode);
    SetRadio(highlight_, model.midpointHighlight);
    onlyDisplayed_->setChecked(model.onlyDisplayed != 0);
    toHouses_->setChecked(model.aspectsToHouses != 0);
    system_->setEditText(platform::ToQt(model.systemName));
    return true;
  }
  for (std::size_t i = 0; i < points_.size(); ++i) model.switches[i] = points_[i]->isChecked();
  model.houseOrbGroup = houseOrb_->value();
  model.cellMode = GetRadio(cell_, model.cellMode);
  model.colourMode = GetRadio(colour_, model.colourMode);
  for (std::size_t i = 0; i < 3; ++i) {
    model.tableWidths[i] = widths_[i]->value();
    model.pageLayouts[i] = layouts_[i]->value();
  }
  model.diagonalMode = GetRadio(diagonal_, model.diagonalMode);
  model.midpointHighlight = GetRadio(highlight_, model.midpointHighlight);
  model.onlyDisplayed = onlyDisplayed_->isChecked() ? 1 : 0;
  model.aspectsToHouses = toHouses_->isChecked() ? 1 : 0;
  model.systemName = platform::FromQt(system_->currentText());
  return true;
}

bool CASPTABLE_CONFIG::CheckOk() {
  const std::vector<std::string> loaded = systems_.Names();
  std::string notice;
  model.AcceptSystemName(model.systemName, loaded, notice);
  if (!notice.empty()) {
    platform::GetPrompter().ShowMessage(kMsgAspectSystemNotFound, notice,
                                        platform::Icon::Information);
    system_->setEditText(platform::ToQt(model.systemName));
  }
  return true;
}

bool RunAspectTableConfig(Configuration& config, const Aspectarium& systems, QWidget* parent) {
  CASPTABLE_CONFIG dialog(systems, parent);
  dialog.model.LoadFrom(config);
  if (dialog.DoModal() != platform::kIdOk) return false;
  dialog.model.StoreTo(config);
  return true;
}
