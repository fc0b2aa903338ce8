#include "archive/browser/archive_sort_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"

namespace {

bool IsComputed(int key) { return key >= kSortBodyLongitude && key <= kSortBodySpeed; }

}  // namespace

DArcSort::DArcSort(QWidget* parent)
    : platform::Dialog(parent),
      ascending_(new QRadioButton(QStringLiteral("по возрастанию"), this)),
      descending_(new QRadioButton(QStringLiteral("по убыванию"), this)),
      newArchive_(new QCheckBox(QStringLiteral("Записать результат в новый архив"), this)) {
  setWindowTitle(QStringLiteral("Сортировка - параметры"));
  auto* grid = new QGridLayout;
  const char* labels[] = {"Сортировать по", "затем по", "затем по"};
  for (int k = 0; k < 3; ++k) {
    auto* key = new QComboBox(this);
    if (k > 0) key->addItem(platform::ToQt(GetMessageText(kMsgNotUsed)));
    for (int n = kSortName; n <= kSortBodySpeed; ++n)
      key->addItem(platform::ToQt(GetMessageText(kMsgFirstKey + n - 1)));
    keys_[static_cast<std::size_t>(k)] = key;
    bodies_[static_cast<std::size_t>(k)] = new QComboBox(this);
    grid->addWidget(new QLabel(QString::fromUtf8(labels[k]), this), k, 0);
    grid->addWidget(key, k, 1);
    grid->addWidget(bodies_[static_cast<std::size_t>(k)], k, 2);
    connect(key, &QComboBox::currentIndexChanged, this, [this] {
      if (!updating_) OnKeyChanged();
    });
  }
  auto* order = new QButtonGroup(this);
  order->addButton(ascending_);
  order->addButton(descending_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(ascending_);
  layout->addWidget(descending_);
  layout->addWidget(newArchive_);
  layout->addWidget(platform::DialogButtons(this, "OK", "Отмена"));
}

int DArcSort::KeyOf(int k) const {
  const int row = Key(k)->currentIndex();
  return k == 0 ? row + 1 : row;
}

void DArcSort::SelectKey(int k, int key) { Key(k)->setCurrentIndex(k == 0 ? key - 1 : key); }

void DArcSort::FillBodies(int k, bool speed) {
  QComboBox* list = Body(k);
  int chosen = std::max(list->currentIndex(), 0);
  list->clear();
  for (int n = 0; n < ArchiveSortParams::kSpeedBodies; ++n)
    list->addItem(platform::ToQt(GetMessageText(kMsgPointNameFirst + n)));
  if (!speed)
    for (int n = 0; n < ArchiveSortParams::kBodies - ArchiveSortParams::kSpeedBodies; ++n)
      list->addItem(platform::ToQt(GetMessageText(kMsgHouseNameFirst + n)));
  if (chosen >= list->count()) chosen = 0;
  list->setCurrentIndex(chosen);
}

void DArcSort::OnKeyChanged() {
  updating_ = true;
  const bool secondUsed = KeyOf(1) != kSortNone;
  if (!secondUsed) SelectKey(2, kSortNone);
  Key(2)->setEnabled(secondUsed);
  for (int k = 0; k < 3; ++k) {
    const int key = KeyOf(k);
    const bool on = IsComputed(key) && (k == 0 || secondUsed);
    if (on) FillBodies(k, key == kSortBodySpeed);
    Body(k)->setEnabled(on);
  }
  updating_ = false;
}

bool DArcSort::DoDataExchange(bool save) {
  if (save) {
    for (int k = 0; k < 3; ++k) {
      params.keys[static_cast<std::size_t>(k)] = KeyOf(k);
      const int body = Body(k)->currentIndex();
      params.bodies[static_cast<std::size_t>(k)] = Body(k)->isEnabled() && body >= 0 ? body : 0;
    }
    params.descending = descending_->isChecked();
    params.newArchive = newArchive_->isChecked();
    return true;
  }
  updating_ = true;
  for (int k = 0; k < 3; ++k) {
    SelectKey(k, params.keys[static_cast<std::size_t>(k)]);
    FillBodies(k, false);
    Body(k)->setCurrentIndex(params.bodies[static_cast<std::size_t>(k)]);
  }
  (params.descending ? descending_ : ascending_)->setChecked(true);
  newArchive_->setChecked(params.newArchive);
  updating_ = false;
  OnKeyChanged();
  return true;
}
