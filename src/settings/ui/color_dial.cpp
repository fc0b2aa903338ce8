#include "settings/ui/color_dial.h"

#include <QDialogButtonBox>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_dc.h"

namespace {

// Draws the whole swatch on every paint, with the frame of its selection state.
class SwatchDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    painter->save();
    platform::QtDc dc(*painter, false);
    dc.SetMapMode(platform::MapMode::Text);
    painter->setRenderHint(QPainter::Antialiasing, false);  // the one-pixel frame stays sharp
    const QRect r = option.rect;
    DrawColorSwatch(dc, platform::Rect{r.left(), r.top(), r.right(), r.bottom()},
                    index.data(Qt::UserRole).toInt(), option.state & QStyle::State_Selected,
                    swatch_draw::kEntire | swatch_draw::kSelection);
    painter->restore();
  }

  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return QSize(120, kColorSwatchHeight);
  }
};

}  // namespace

CColorListBox::CColorListBox(QWidget* parent) : QListWidget(parent) {
  setItemDelegate(new SwatchDelegate(this));
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
}

void CColorListBox::Fill(int count) {
  clear();
  for (int i = 0; i < count; ++i) {
    auto* item = new QListWidgetItem(this);
    item->setData(Qt::UserRole, i);
  }
}

CColorDial::CColorDial(QWidget* parent) : platform::Dialog(parent) {
  setWindowTitle(QStringLiteral("ВЫБОР  ЦВЕТА"));
  auto* layout = new QVBoxLayout(this);
  list_ = new CColorListBox(this);
  list_->setObjectName(QStringLiteral("list%1").arg(kIdcColorList));
  list_->setMinimumHeight(kColorSwatchHeight * 12);
  layout->addWidget(list_);
  auto* buttons = platform::DialogButtons(this, "OK", "Отменить");
  layout->addWidget(buttons);
  connect(list_, &QListWidget::itemDoubleClicked, this, &CColorDial::accept);
}

void CColorDial::OnInitDialog() {
  // The current colour is selected once here; the user's choice is never reset afterwards.
  list_->Fill(numColors);
  DoDataExchange(false);
}

bool CColorDial::DoDataExchange(bool save) {
  const ColorChoice choice{numColors, current};
  if (!save) {
    const int row = choice.InitialRow();
    list_->setCurrentRow(row);
    if (row >= 0) list_->scrollToItem(list_->item(row));
    return true;
  }
  const QList<QListWidgetItem*> selected = list_->selectedItems();
  chosen = choice.ChosenNumber(selected.isEmpty() ? -1 : list_->row(selected.front()));
  return true;
}

int RunColorDialog(int current, int count, QWidget* parent) {
  CColorDial dialog(parent);
  dialog.numColors = count;
  dialog.current = current;
  if (dialog.DoModal() != platform::kIdOk) return -1;
  return dialog.chosen;
}

int RunColorDialog(int current, QWidget* parent) {
  return RunColorDialog(current, kColorChooserDefaultCount, parent);
}
