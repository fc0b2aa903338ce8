#include "views/ui/table_choice_dialogs.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"

DPRINTPADE2::DPRINTPADE2(QWidget* parent) : platform::Dialog(parent) {
  setWindowTitle(QStringLiteral("Печать"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Печатать на той же странице"), this));
  auto* group = new QButtonGroup(this);
  const QString labels[tables::kPrintOptionCount] = {QStringLiteral("Таблицу аспектов"),
                                                     QStringLiteral("Таблицу мидпойнтов"),
                                                     QStringLiteral("Планетные часы и пр.")};
  for (int i = 0; i < tables::kPrintOptionCount; ++i) {
    auto* option = new QRadioButton(labels[i], this);
    group->addButton(option, i);
    layout->addWidget(option);
    options_[static_cast<std::size_t>(i)] = option;
  }
  auto* buttons = platform::DialogButtons(this, "OK", "Ничего не надо");
  layout->addWidget(buttons);
}

void DPRINTPADE2::OnInitDialog() {
  model.Init();
  for (int i = 0; i < tables::kPrintOptionCount; ++i) Option(i)->setEnabled(model.IsEnabled(i));
  DoDataExchange(false);
}

bool DPRINTPADE2::DoDataExchange(bool save) {
  if (!save) {
    if (model.selection >= 0 && model.selection < tables::kPrintOptionCount)
      Option(model.selection)->setChecked(true);
    return true;
  }
  model.selection = -1;
  for (int i = 0; i < tables::kPrintOptionCount; ++i) {
    if (Option(i)->isChecked()) model.selection = i;
  }
  return true;
}
