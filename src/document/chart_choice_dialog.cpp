#include "document/chart_choice_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"
#include "views/core/table_choices.h"

D_CHOOSE_AT_FOR_DW::D_CHOOSE_AT_FOR_DW(QWidget* parent) : platform::Dialog(parent) {
  setWindowTitle(QStringLiteral("ВЫБОР ГОРОСКОПА"));
  auto* layout = new QVBoxLayout(this);
  label_ = new QLabel(this);
  label_->setAlignment(Qt::AlignCenter);
  layout->addWidget(label_);
  list_ = new QListWidget(this);
  layout->addWidget(list_);
  auto* buttons = platform::DialogButtons(this, "OK", "Отменить");
  layout->addWidget(buttons);
  connect(list_, &QListWidget::itemDoubleClicked, this, &D_CHOOSE_AT_FOR_DW::accept);
}

void D_CHOOSE_AT_FOR_DW::OnInitDialog() {
  list_->clear();
  for (const std::string& line : tables::ChartChoiceLines()) list_->addItem(platform::ToQt(line));
  list_->setCurrentRow(0);
  label_->setText(platform::ToQt(question));
}

bool D_CHOOSE_AT_FOR_DW::DoDataExchange(bool save) {
  if (save) {
    const int row = list_->currentRow();
    choice = row >= 0 && row < tables::kChoiceLineCount ? row : 0;
  }
  return true;
}
