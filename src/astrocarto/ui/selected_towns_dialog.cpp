#include "astrocarto/ui/selected_towns_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"

DSELECTED_TOWNS::DSELECTED_TOWNS(QWidget* parent) : platform::Dialog(parent) {
  setWindowTitle(QStringLiteral("АСТРОКАРТОГРАФИЯ - БЛИЖАЙШИЕ ГОРОДА"));
  auto* layout = new QVBoxLayout(this);
  list_ = new QListWidget(this);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setMinimumWidth(420);
  layout->addWidget(list_);
  auto* kindRow = new QHBoxLayout;
  kindRow->addWidget(new QLabel(QStringLiteral("Построить гороскоп:"), this));
  kind_ = platform::AddChoices(this, kindRow, {"Релокации", "Геодетический"});
  kindRow->addStretch();
  layout->addLayout(kindRow);
  layout->addWidget(platform::DialogButtons(this, "Построить", "Отменить"));
}

void DSELECTED_TOWNS::OnInitDialog() {
  list_->clear();
  for (const std::string& line : page.lines) list_->addItem(platform::ToQt(line));
  if (list_->count() > 0) list_->item(0)->setSelected(true);
  list_->setCurrentRow(0, QItemSelectionModel::NoUpdate);
  platform::Check(kind_, page.mode);
}

bool DSELECTED_TOWNS::DoDataExchange(bool save) {
  if (!save) {
    platform::Check(kind_, page.mode);
    return true;
  }
  std::vector<int> selected;
  for (int row = 0; row < list_->count(); ++row)
    if (list_->item(row)->isSelected()) selected.push_back(row);
  page.TakeSelection(selected);
  page.mode = platform::Checked(kind_, SelectedTownsPage::kRelocation);
  return true;
}
