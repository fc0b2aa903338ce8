// The aspects list box: a list of aspects in up to 11 columns laid out by AspectList (the items,
// their order and the column offsets), each column drawn as text at its offset in units of the
// width of "W": the two objects by name, the aspect by its abbreviation, side ("Лев " / "Прав"),
// motion, marks, the two numbers, date and time. Exact aspects are coloured.
#pragma once

#include <QListWidget>
#include <QString>

#include "shell/entry/core/aspects_list.h"

class CAspectsListBox : public QListWidget {
  Q_OBJECT

 public:
  explicit CAspectsListBox(QWidget* parent = nullptr);

  void Init(int capacity, const std::array<int, kAspectListColumns>& positions,
            const AspectSystem* aspects,
            const std::array<double, kAspectListColumns>* widths = nullptr) {
    list_.Init(capacity, positions, aspects, widths);
  }
  bool AddItem(const AspectListItem& item) { return list_.AddItem(item); }
  bool InsertItem(const AspectListItem& item, int mode) { return list_.InsertItem(item, mode); }
  // One row per item (the item's index as its data), or the text of message 439 when there is
  // none.
  void ShowItems();

  const AspectList& List() const { return list_; }
  // The text of column `column` of item `index`.
  QString ColumnText(int index, int column) const;
  // Exact aspects in their own colour (on at construction).
  bool colourExact = true;

 private:
  AspectList list_;
};
