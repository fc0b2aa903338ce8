#include "platform/qt/dialog_controls.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QString>
#include <QStyle>
#include <algorithm>

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

QDialogButtonBox* DialogButtons(QDialog* dialog, const char* okText, const char* cancelText) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8(okText));
  buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8(cancelText));
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

QGroupBox* Box(QWidget* owner, const char* title, QBoxLayout*& layout) {
  auto* box = new QGroupBox(QString::fromUtf8(title), owner);
  layout = new QVBoxLayout(box);
  return box;
}

QButtonGroup* AddChoiceBox(QWidget* owner, QLayout* into, const char* title,
                           std::initializer_list<const char*> texts) {
  QBoxLayout* column = nullptr;
  QGroupBox* box = Box(owner, title, column);
  QButtonGroup* group = AddChoices(owner, column, texts);
  into->addWidget(box);
  return group;
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

void FitListToItems(QListWidget* list) {
  int widest = 0;
  for (int i = 0; i < list->count(); ++i)
    widest = std::max(widest, list->fontMetrics().horizontalAdvance(list->item(i)->text()));
  // The item's own margins, the frame on both sides and the scroll bar.
  const int margins = 2 * list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) +
                      2 * list->frameWidth() + 8;
  const int bar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
  list->setMinimumWidth(std::max(list->minimumWidth(), widest + margins + bar));
}

}  // namespace platform
