#include "conditions/ui/wizard_page_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <algorithm>

#include "conditions/core/query_condition.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/dialog.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"

void wizard_page::Fill(QComboBox* box, const std::vector<std::string>& names) {
  const QSignalBlocker block(box);
  box->clear();
  for (const std::string& name : names) box->addItem(platform::ToQt(name));
}

void wizard_page::Fill(QComboBox* box, const std::vector<std::string>& names, int current) {
  Fill(box, names);
  box->setCurrentIndex(current);
}

int wizard_page::Index(const QComboBox* box) { return std::max(box->currentIndex(), 0); }

void wizard_page::FillSigns(QComboBox* box) {
  for (int s = 0; s < 12; ++s) box->addItem(platform::ToQt(GetMessageText(kMsgSignNameFirst + s)));
}

QGroupBox* wizard_page::PointBox(QWidget* owner, QComboBox* sign, QSpinBox* degrees,
                                 QSpinBox* minutes) {
  auto* box = new QGroupBox(QStringLiteral("Координаты точки"), owner);
  auto* row = new QHBoxLayout(box);
  row->addWidget(sign);
  row->addWidget(degrees);
  row->addWidget(minutes);
  return box;
}

void wizard_page::EnablePoint(bool on, QComboBox* sign, QSpinBox* degrees, QSpinBox* minutes) {
  sign->setEnabled(on);
  degrees->setEnabled(on);
  minutes->setEnabled(on);
}

QGroupBox* wizard_page::OrbBox(QWidget* owner, QRadioButton* ownOrb, QSpinBox* degrees,
                               QSpinBox* minutes, QRadioButton* systemOrb, QSpinBox* houseGroup,
                               QGridLayout*& grid) {
  auto* box = new QGroupBox(QStringLiteral(" Орбис "), owner);
  grid = new QGridLayout(box);
  grid->addWidget(ownOrb, 0, 0);
  grid->addWidget(degrees, 0, 1);
  grid->addWidget(minutes, 0, 2);
  grid->addWidget(systemOrb, 1, 0);
  grid->addWidget(new QLabel(QStringLiteral("группа орбисов для аспектов к домам"), box), 2, 0);
  grid->addWidget(houseGroup, 2, 1);
  return box;
}

QHBoxLayout* wizard_page::ClassColumns(QWidget* owner, std::array<QCheckBox*, 9>& boxes) {
  static const char* const kClassNames[9] = {"ГАРМОНИЧНЫЕ", "НАПРЯЖЕННЫЕ", "ТВОРЧЕСКИЕ",
                                             "КАРМИЧЕСКИЕ", "ПРОЧИЕ",      "МАЖОРНЫЕ",
                                             "МИНОРНЫЕ",    "ТОЧНЫЕ",      "НЕТОЧНЫЕ"};
  QBoxLayout* typeColumn = nullptr;
  QBoxLayout* strengthColumn = nullptr;
  QBoxLayout* exactColumn = nullptr;
  auto* row = new QHBoxLayout;
  row->addWidget(platform::Box(owner, "Тип ", typeColumn));
  row->addWidget(platform::Box(owner, " Сила ", strengthColumn));
  row->addWidget(platform::Box(owner, " Точность ", exactColumn));
  for (int bit = 0; bit < 9; ++bit) {
    auto* check = new QCheckBox(QString::fromUtf8(kClassNames[bit]), owner);
    boxes[static_cast<std::size_t>(bit)] = check;
    (bit <= kMaskOtherClass ? typeColumn
     : bit <= kMaskMinor    ? strengthColumn
                            : exactColumn)
        ->addWidget(check);
  }
  return row;
}

void wizard_page::ShowClassMask(const std::array<QCheckBox*, 9>& boxes, int mask) {
  for (int bit = 0; bit < 9; ++bit)
    boxes[static_cast<std::size_t>(bit)]->setChecked((mask >> bit) & 1);
}

QDialogButtonBox* wizard_page::PageButtons(platform::Dialog* page) {
  return platform::DialogButtons(page, "Закончить", "< Обратно");
}
