#include "settings/ui/wheel_sets_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/dialog_controls.h"

namespace {

const char* const kFormNames[WheelConstants::kSetCount] = {"Гороскоп на экране",
                                                           "Крупный гороскоп при печати",
                                                           "Мелкий гороскоп при печати",
                                                           "Наложение на экране",
                                                           "Наложение, крупное при печати",
                                                           "Наложение, мелкое при печати",
                                                           "С аспектами на экране",
                                                           "С аспектами, крупный при печати",
                                                           "С аспектами, мелкий при печати",
                                                           "Local Space на экране",
                                                           "Local Space при печати",
                                                           "Равнодомный на экране",
                                                           "Равнодомный при печати",
                                                           "Прочие"};

const char* const kValueNames[settings::kWheelSetValues] = {
    "Внешний круг знаков",
    "Внутренний круг знаков",
    "Деления 1 градуса",
    "Деления 5 градусов",
    "Деления 10 градусов",
    "Радиус символов знаков",
    "Размер символов знаков",
    "Внешний круг домов",
    "Внутренний круг домов",
    "Радиус номеров домов",
    "Размер номеров домов",
    "Радиус символов планет",
    "Размер символов планет",
    "Длина отметок планет",
    "Радиус градусов",
    "Радиус планет гороскопа II",
    "Отметки планет гороскопа II",
    "Радиус круга аспектов",
    "Наименьший промежуток символов (градусы)",
    "Длина стрелок углов",
    "Размер градусов"};

}  // namespace

DWheelSets::DWheelSets(QWidget* parent) : platform::Dialog(parent) {
  setWindowTitle(QStringLiteral("ПАРАМЕТРЫ РИСУНКА ГОРОСКОПА"));
  auto* layout = new QVBoxLayout(this);
  sets_ = new QComboBox(this);
  for (const char* name : kFormNames) sets_->addItem(QString::fromUtf8(name));
  layout->addWidget(sets_);
  auto* form = new QFormLayout;
  layout->addLayout(form);
  for (int i = 0; i < settings::kWheelSetValues; ++i) {
    values_[static_cast<std::size_t>(i)] = new QLineEdit(this);
    form->addRow(QString::fromUtf8(kValueNames[i]), values_[static_cast<std::size_t>(i)]);
  }
  auto* buttons = platform::DialogButtons(this, "OK", "Отменить");
  layout->addWidget(buttons);
  connect(sets_, &QComboBox::activated, this, &DWheelSets::OnSetChosen);
}

void DWheelSets::OnInitDialog() {
  shown_ = 0;
  sets_->setCurrentIndex(0);
  DoDataExchange(false);
}

bool DWheelSets::DoDataExchange(bool save) {
  if (!save) {
    const std::array<double, settings::kWheelSetValues> values = page.Values(shown_);
    for (std::size_t i = 0; i < values.size(); ++i)
      values_[i]->setText(QString::number(values[i], 'g', 12));
    return true;
  }
  std::array<double, settings::kWheelSetValues> values{};
  bool ok = true;
  for (std::size_t i = 0; i < values.size() && ok; ++i)
    values[i] =
        values_[i]->text().trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
  if (!ok || !page.SetValues(shown_, values)) {
    ShowMessage(kMsgWheelValueRange);
    return false;
  }
  return true;
}

void DWheelSets::OnSetChosen(int k) {
  if (k == shown_) return;
  if (!DoDataExchange(true)) {
    const QSignalBlocker block(sets_);
    sets_->setCurrentIndex(shown_);
    return;
  }
  shown_ = k;
  DoDataExchange(false);
}

bool EditWheelSets(WheelConstants& constants, QWidget* parent) {
  DWheelSets dialog(parent);
  dialog.page.sets = constants;
  if (dialog.DoModal() != platform::kIdOk) return false;
  constants = dialog.page.sets;
  return true;
}
