#include "conditions/ui/wizard_page_controls.h"

#include <QComboBox>
#include <QSignalBlocker>

#include "foundation/messages/messages.h"
#include "platform/core/prompter.h"
#include "platform/qt/dialog.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"

namespace {
constexpr int kMsgSignNameFirst = 160;
}  // namespace

void wizard_page::Fill(QComboBox* box, const std::vector<std::string>& names) {
  const QSignalBlocker block(box);
  box->clear();
  for (const std::string& name : names) box->addItem(platform::ToQt(name));
}

void wizard_page::FillSigns(QComboBox* box) {
  for (int s = 0; s < 12; ++s) box->addItem(platform::ToQt(GetMessageText(kMsgSignNameFirst + s)));
}

QDialogButtonBox* wizard_page::PageButtons(platform::Dialog* page) {
  return platform::DialogButtons(page, "Закончить", "< Обратно");
}

void wizard_page::Warn(int message) {
  platform::GetPrompter().ShowMessage(message, GetMessageText(message), platform::Icon::Warning);
}
