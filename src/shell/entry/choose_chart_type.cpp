#include "shell/entry/choose_chart_type.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/datetime/super_source.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"

DChooseChartType::DChooseChartType(QWidget* parent) : platform::Dialog(parent) {
  setWindowTitle(QStringLiteral("ТИП ГОРОСКОПА"));
  auto* layout = new QVBoxLayout(this);
  list_ = new QListWidget(this);
  for (int k = kChartNatal; k <= kChartLunarPhase; ++k)
    list_->addItem(platform::ToQt(GetMessageText(kMsgKindNameFirst + k)));
  layout->addWidget(list_);
  auto* buttons = platform::DialogButtons(this, "OK", "Отмена");
  layout->addWidget(buttons);
  connect(list_, &QListWidget::itemDoubleClicked, this, &DChooseChartType::accept);
}

bool DChooseChartType::DoDataExchange(bool save) {
  if (!save) {
    list_->setCurrentRow(kind >= kChartNatal && kind <= kChartLunarPhase ? kind : 0);
    return true;
  }
  const int row = list_->currentRow();
  kind = row >= 0 ? row : 0;
  return true;
}

int ChooseChartType(QWidget* parent) {
  DChooseChartType dialog(parent);
  if (dialog.DoModal() != platform::kIdOk) return kNoChartType;
  return dialog.kind;
}
