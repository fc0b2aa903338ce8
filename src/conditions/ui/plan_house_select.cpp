#include "conditions/ui/plan_house_select.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"

DPlanHouseSelect::DPlanHouseSelect(int mode, std::string* flags, int limit, QWidget* parent)
    : platform::Dialog(parent), mode_(mode), flags_(flags), limit_(limit) {
  setWindowTitle(QStringLiteral("ВЫБОР  ПЛАНЕТ/ДОМОВ"));
  auto* layout = new QVBoxLayout(this);
  list_ = new QListWidget(this);
  list_->setSelectionMode(QAbstractItemView::MultiSelection);
  list_->setMinimumHeight(300);
  layout->addWidget(list_);
  auto* buttons = platform::DialogButtons(this, "OK", "Отмена");
  layout->addWidget(buttons);
}

bool DPlanHouseSelect::DoDataExchange(bool save) {
  if (flags_ == nullptr) return true;
  if (!save) {
    list_->clear();
    const std::vector<bool> selected = MemberChoice::FromFlags(mode_, *flags_);
    for (int i = 0; i < static_cast<int>(selected.size()); ++i) {
      list_->addItem(platform::ToQt(MemberChoice::EntryName(mode_, i)));
      list_->item(i)->setSelected(selected[static_cast<std::size_t>(i)]);
    }
    return true;
  }
  std::vector<bool> selected(static_cast<std::size_t>(list_->count()), false);
  for (int i = 0; i < list_->count(); ++i)
    selected[static_cast<std::size_t>(i)] = list_->item(i)->isSelected();
  const int count = static_cast<int>(std::count(selected.begin(), selected.end(), true));
  if (const int refusal = MemberChoice::CheckCount(count, limit_); refusal != 0) {
    ShowMessage(refusal);
    return false;
  }
  *flags_ = MemberChoice::ToFlags(selected);
  return true;
}

bool RunPlanHouseSelect(int mode, std::string& flags, int limit, QWidget* parent) {
  std::string answer = flags;
  DPlanHouseSelect dialog(mode, &answer, limit, parent);
  if (dialog.DoModal() != platform::kIdOk) return false;
  flags = answer;
  return true;
}
