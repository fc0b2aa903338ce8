#include "shell/entry/aspects_list_box.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QStyledItemDelegate>
#include <cstdio>

#include "foundation/datetime/date_text.h"
#include "foundation/drawing/palette.h"
#include "foundation/messages/messages.h"
#include "platform/qt/qt_text.h"
#include "shell/entry/core/chart_information.h"

namespace {

constexpr int kMsgPointNameFirst = 300;
constexpr int kMsgSideLeft = 440;
constexpr int kMsgSideRight = 441;
constexpr int kColourSelectedRow = 1;
constexpr int kColourExact = 4;
constexpr int kColourExactSelected = 14;
constexpr int kColourSelectedText = 15;
constexpr int kColourText = 0;

QColor ToQColor(const platform::Color& c) { return QColor(c.r, c.g, c.b); }

QString ObjectText(short object) {
  if (object >= 0 && object < 100) return platform::ToQt(GetMessageText(kMsgPointNameFirst + object));
  if (object >= 1000 && object < 1012) return QString::fromStdString(HouseNumeral(object - 999));
  return {};
}

QString Number(const char* format, double v) {
  char text[32];
  std::snprintf(text, sizeof text, format, v);
  return QString::fromLatin1(text);
}

class ColumnsDelegate : public QStyledItemDelegate {
 public:
  explicit ColumnsDelegate(CAspectsListBox* box) : QStyledItemDelegate(box), box_(box) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const QVariant data = index.data(Qt::UserRole);
    if (!data.isValid()) {  // the "no aspects" row
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    const int i = data.toInt();
    const AspectListItem& item = box_->List().Items()[static_cast<std::size_t>(i)];
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    painter->fillRect(option.rect, selected ? ToQColor(ColorByIndex(kColourSelectedRow))
                                            : option.palette.base().color());
    int colour = selected ? kColourSelectedText : kColourText;
    if (box_->colourExact && item.exact == 'E')
      colour = selected ? kColourExactSelected : kColourExact;
    painter->setPen(ToQColor(ColorByIndex(colour)));
    painter->setFont(box_->font());
    const double unit = QFontMetricsF(box_->font()).horizontalAdvance(QLatin1Char('W'));
    for (int c = 0; c < kAspectListColumns; ++c) {
      if (box_->List().Position(c) < 0) continue;
      const double x = option.rect.left() + unit * box_->List().Offset(c);
      const QRectF cell(x, option.rect.top(), unit * box_->List().Width(c), option.rect.height());
      painter->drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, box_->ColumnText(i, c));
    }
    painter->restore();
  }

 private:
  CAspectsListBox* box_;
};

}  // namespace

CAspectsListBox::CAspectsListBox(QWidget* parent) : QListWidget(parent) {
  setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
  setItemDelegate(new ColumnsDelegate(this));
}

void CAspectsListBox::ShowItems() {
  clear();
  const auto& items = list_.Items();
  if (items.empty()) {
    addItem(platform::ToQt(GetMessageText(kMsgNoAspects)));
    return;
  }
  for (std::size_t i = 0; i < items.size(); ++i) {
    auto* row = new QListWidgetItem(this);
    row->setData(Qt::UserRole, static_cast<int>(i));
    QStringList texts;
    for (int c = 0; c < kAspectListColumns; ++c)
      if (list_.Position(c) >= 0) texts << ColumnText(static_cast<int>(i), c);
    row->setText(texts.join(QLatin1Char(' ')));  // for accessibility and searching
  }
}

QString CAspectsListBox::ColumnText(int index, int column) const {
  const AspectListItem& item = list_.Items().at(static_cast<std::size_t>(index));
  switch (column) {
    case 0:
      return ObjectText(item.object1);
    case 1:
      return ObjectText(item.object2);
    case 2: {
      const AspectSystem* system = list_.Aspects();
      if (system == nullptr || item.aspect < 0 || item.aspect >= system->Count()) return {};
      return platform::ToQt(system->GetAspect(item.aspect).abbreviation);
    }
    case 3:
      return platform::ToQt(GetMessageText(item.side == 'L' ? kMsgSideLeft : kMsgSideRight));
    case 4:
      return item.motion == 'I' ? QStringLiteral("сх") : item.motion == 'E' ? QStringLiteral("рсх")
                                                                           : QString();
    case 5:
      return item.mark == 'E' ? QStringLiteral("*") : QString();
    case 6:
      return item.mark == 'G' ? QStringLiteral("+") : QString();
    case 7:
      return Number("%5.2f", item.value1);
    case 8:
      return Number("%4.2f", item.value2);
    case 9: {
      char text[16];
      std::snprintf(text, sizeof text, "%02d:%02d:%04d", item.date.Day(), item.date.Month(),
                    item.date.Year());
      return QString::fromLatin1(text);
    }
    case 10:
      return QString::fromStdString(Time2String(item.time.Hours(), item.time.Minutes()));
    default:
      return {};
  }
}
