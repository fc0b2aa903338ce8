#include "archive/browser/archive_print_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/core/prompter.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"

DARCPRINT::DARCPRINT(bool anyMarked, bool withComments, QWidget* parent)
    : platform::Dialog(parent),
      coordinates_(new QCheckBox(QStringLiteral("печатать координат планет и домов"), this)),
      fontSize_(new QSpinBox(this)),
      interval_(new QDoubleSpinBox(this)),
      all_(new QRadioButton(QStringLiteral("Все гороскопы"), this)),
      selected_(new QRadioButton(QStringLiteral("Выделенные гороскопы"), this)) {
  setWindowTitle(QStringLiteral("Печать архива - параметры "));
  fontSize_->setRange(ArchivePrintParams::kMinFontSize, ArchivePrintParams::kMaxFontSize);
  interval_->setRange(ArchivePrintParams::kMinInterval, ArchivePrintParams::kMaxInterval);
  interval_->setDecimals(1);
  interval_->setSingleStep(0.1);
  const Configuration& config = GetConfiguration();
  for (auto& page : pages_) {
    page = new QComboBox(this);
    for (const std::string& name : config.commentPageNames) page->addItem(platform::ToQt(name));
    page->addItem(platform::ToQt(GetMessageText(kMsgNoPage)));
    page->setEnabled(withComments);
  }
  auto* group = new QButtonGroup(this);
  group->addButton(all_);
  group->addButton(selected_);
  all_->setEnabled(anyMarked);
  selected_->setEnabled(anyMarked);
  auto* form = new QFormLayout;
  form->addRow(coordinates_);
  form->addRow(QStringLiteral("Максимальный размер шрифта"), fontSize_);
  form->addRow(QStringLiteral("Интервал"), interval_);
  form->addRow(QStringLiteral("Комментарий"), pages_[0]);
  form->addRow(QStringLiteral("Комментарий"), pages_[1]);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(all_);
  layout->addWidget(selected_);
  layout->addWidget(platform::DialogButtons(this, "OK", "Отмена"));
}

bool DARCPRINT::DoDataExchange(bool save) {
  if (!save) {
    coordinates_->setChecked(params.coordinates != 0);
    fontSize_->setValue(params.fontSize);
    interval_->setValue(params.lineInterval);
    for (std::size_t k = 0; k < 2; ++k) pages_[k]->setCurrentIndex(params.commentPages[k]);
    (params.selectedOnly != 0 ? selected_ : all_)->setChecked(true);
    return true;
  }
  params.coordinates = coordinates_->isChecked() ? 1 : 0;
  params.fontSize = fontSize_->value();
  params.lineInterval = interval_->value();
  for (std::size_t k = 0; k < 2; ++k) params.commentPages[k] = pages_[k]->currentIndex();
  params.selectedOnly = selected_->isChecked() ? 1 : 0;
  return true;
}

void ShowArchivePrintHint(ArchivePrintParams& params, std::uint32_t launchCounter) {
  if (!ArchivePrintHintDue(params.hint, launchCounter)) return;
  params.hint = 1;
  if (platform::GetPrompter().AskOkCancel(kMsgHint, GetMessageText(kMsgHint)) !=
      platform::Answer::Ok)
    params.hint = 0;
}
