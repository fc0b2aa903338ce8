#include "settings/ui/enter_name.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"
#include "settings/core/file_name_check.h"

namespace {

constexpr int kMaxFileNameAttempts = 100;

QString DefaultPrompt() {
  return QStringLiteral(
      "Введите, пожалуйста, название не больше 8 символов, без расширения и желательно "
      "латинскими буквами");
}

}  // namespace

CEnterName::CEnterName(QWidget* parent) : platform::Dialog(parent) {
  setWindowTitle(QStringLiteral("ВВОД  СТРОКИ"));
  auto* layout = new QVBoxLayout(this);
  prompt_ = new QLabel(DefaultPrompt(), this);
  prompt_->setObjectName(QStringLiteral("static%1").arg(kIdcEnterNamePrompt));
  prompt_->setWordWrap(true);
  layout->addWidget(prompt_);
  edit_ = new QLineEdit(this);
  edit_->setObjectName(QStringLiteral("edit%1").arg(kIdcEnterNameEdit));
  edit_->setMaxLength(40);
  edit_->setValidator(new platform::Cp1251Validator(edit_));
  layout->addWidget(edit_);
  auto* buttons = platform::DialogButtons(this, "OK", "Отмена");
  layout->addWidget(buttons);
  setMinimumWidth(360);
}

bool CEnterName::DoDataExchange(bool save) {
  if (!save) {
    prompt_->setText(prompt.empty() ? DefaultPrompt() : platform::ToQt(prompt));
    edit_->setText(platform::ToQt(text).left(kEnterNameMaxLength));
    edit_->selectAll();
    return true;
  }
  text = platform::FromQt(edit_->text().left(kEnterNameMaxLength));
  return true;
}

bool RunEnterName(std::string& text, std::string_view prompt, QWidget* parent) {
  CEnterName dialog(parent);
  dialog.text = text;
  dialog.prompt = std::string(prompt);
  if (dialog.DoModal() != platform::kIdOk) return false;
  text = dialog.text;
  return true;
}

bool RunEnterFileName(std::string& name, std::string_view prompt, QWidget* parent) {
  std::string typed = name;
  for (int attempt = 0; attempt < kMaxFileNameAttempts; ++attempt) {
    if (!RunEnterName(typed, prompt, parent)) return false;
    if (IsSafeFileName(typed)) {
      name = typed;
      return true;
    }
    ShowMessage(kMsgBadFileName);
  }
  return false;
}
