#include "platform/qt/dialog_controls.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QString>

#include "platform/qt/qt_text.h"

namespace platform {

QButtonGroup* AddChoices(QWidget* owner, QBoxLayout* into,
                         std::initializer_list<const char*> texts) {
  auto* group = new QButtonGroup(owner);
  int id = 0;
  for (const char* text : texts) {
    auto* button = new QRadioButton(QString::fromUtf8(text), owner);
    group->addButton(button, id++);
    into->addWidget(button);
  }
  return group;
}

QGroupBox* Box(QWidget* owner, const char* title, QBoxLayout*& layout) {
  auto* box = new QGroupBox(QString::fromUtf8(title), owner);
  layout = new QVBoxLayout(box);
  return box;
}

QComboBox* NameBox(QWidget* owner, std::size_t maxLength, const std::vector<std::string>& names) {
  auto* box = new QComboBox(owner);
  box->setEditable(true);
  box->lineEdit()->setMaxLength(static_cast<int>(maxLength));
  box->lineEdit()->setValidator(new Cp1251Validator(box));
  for (const std::string& name : names) box->addItem(ToQt(name));
  return box;
}

QSpinBox* NumberBox(QWidget* owner, int low, int high) {
  auto* box = new QSpinBox(owner);
  box->setRange(low, high);
  return box;
}

void Check(QButtonGroup* group, int id) {
  if (QAbstractButton* button = group->button(id)) button->setChecked(true);
}

int Checked(QButtonGroup* group, int fallback) {
  const int id = group->checkedId();
  return id >= 0 ? id : fallback;
}

}  // namespace platform
