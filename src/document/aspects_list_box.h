// The aspects list box: a list of aspects in up to 11 columns laid out by AspectList (the items,
// their order and the column offsets), each column drawn at its offset in units of the width of
// "W" in the row font: the glyphs of the two objects, the aspect's symbol, the side ("Лев " /
// "Прав"), the motion glyph, two marks, the two numbers, date and time. Exact aspects are
// coloured.
#pragma once

#include <QListWidget>
#include <QString>

#include "platform/core/dc.h"
#include "shell/core/entry/aspects_list.h"

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
  // The text form of column `column` of item `index` (object and aspect names where the list
  // draws glyphs).
  QString ColumnText(int index, int column) const;
  // Exact aspects in their own colour (on at construction).
  bool colourExact = true;

  // The row font size (tenths of a point), fitted once on the first drawing: from 3000 down to the
  // size at which the sample character fits the row's height and its width divided by the total
  // column width, times 1.2.
  int RowFontSize(platform::Dc& dc, int rowHeight, int rowWidth);

 private:
  AspectList list_;
  int rowFontSize_ = 0;
};
