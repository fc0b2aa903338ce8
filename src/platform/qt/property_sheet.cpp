#include "platform/qt/property_sheet.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/qt/dialog_controls.h"

namespace platform {

PropertyPage::PropertyPage(QWidget* parent) : QWidget(parent) {}

bool PropertyPage::DoDataExchange(bool) { return true; }

PropertySheet::PropertySheet(const QString& caption, QWidget* parent)
    : Dialog(parent), tabs_(new QTabWidget(this)) {
  setWindowTitle(caption);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  auto* buttons = DialogButtons(this, "OK", "Отмена");
  layout->addWidget(buttons);
  connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
    if (index == current_ || current_ < 0 || current_ >= PageCount()) return;
    if (!pages_[static_cast<std::size_t>(current_)]->OnKillActive()) {
      const QSignalBlocker block(tabs_);
      tabs_->setCurrentIndex(current_);
      return;
    }
    current_ = index;
    pages_[static_cast<std::size_t>(index)]->OnSetActive();
  });
}

void PropertySheet::AddPage(PropertyPage* page, const QString& title) {
  pages_.push_back(page);
  tabs_->addTab(page, title);
}

int PropertySheet::ActiveIndex() const { return current_; }

void PropertySheet::OnInitDialog() {
  for (PropertyPage* page : pages_) page->OnSetActive();
}

bool PropertySheet::DoDataExchange(bool save) {
  if (!save) return true;
  // The active page is checked first, then the others; OK only when every page accepts.
  for (int i = 0; i < PageCount(); ++i) {
    const int k = (current_ + i) % PageCount();
    if (!pages_[static_cast<std::size_t>(k)]->OnKillActive()) {
      // The refusing page comes to the front, without checking the page it replaces again.
      const QSignalBlocker block(tabs_);
      tabs_->setCurrentIndex(k);
      current_ = k;
      return false;
    }
  }
  for (PropertyPage* page : pages_) {
    if (!page->OnOK()) return false;
  }
  return true;
}

int RunSettingsSheet(const std::function<std::unique_ptr<PropertySheet>()>& make,
                     const std::function<bool(PropertySheet&)>& check,
                     const std::function<void()>& commit) {
  // Each round is one answer of the user: the loop ends with OK on accepted values or Cancel.
  for (;;) {
    const std::unique_ptr<PropertySheet> sheet = make();
    if (sheet == nullptr || sheet->DoModal() != kIdOk) return kIdCancel;
    if (check(*sheet)) break;
  }
  commit();
  return kIdOk;
}

}  // namespace platform
