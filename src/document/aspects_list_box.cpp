#include "document/aspects_list_box.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cstdio>

#include "foundation/datetime/date_text.h"
#include "foundation/drawing/font_fitting.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/palette.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/qt/qt_dc.h"
#include "platform/qt/qt_text.h"
#include "shell/core/entry/chart_information.h"

namespace {

constexpr int kColourSelectedRow = 1;
constexpr int kColourExact = 4;
constexpr int kColourExactSelected = 14;
constexpr int kColourSelectedText = 15;
constexpr int kColourText = 0;
constexpr int kFirstRowFontSize = 3000;
constexpr int kSmallestRowFontSize = 60;

QColor ToQColor(const platform::Color& c) { return QColor(c.r, c.g, c.b); }

QString ObjectText(short object) {
  if (object >= 0 && object < 100)
    return platform::ToQt(GetMessageText(kMsgPointNameFirst + object));
  if (object >= 1000 && object < 1012) return QString::fromStdString(HouseNumeral(object - 999));
  return {};
}

QString Number(const char* format, double v) {
  char text[32];
  std::snprintf(text, sizeof text, format, v);
  return QString::fromLatin1(text);
}

// Draws a row as the columns of the list: glyphs of the faces for the objects, the aspect, the
// motion and the marks, text for the rest, each at its offset in units of the width of "W".
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
    platform::QtDc dc(*painter, false);
    dc.SetMapMode(platform::MapMode::Text);
    const int size = box_->RowFontSize(dc, option.rect.height(), option.rect.width());
    int colour = selected ? kColourSelectedText : kColourText;
    if (box_->colourExact && item.exact == 'E')
      colour = selected ? kColourExactSelected : kColourExact;
    dc.SetTextColor(ColorByIndex(colour));
    dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
    dc.SetBkMode(platform::BkMode::Transparent);
    const double unit = FontCharWidth(dc, platform::kTextFace, size, 'W');
    for (int c = 0; c < kAspectListColumns; ++c) {
      if (box_->List().Position(c) < 0) continue;
      const int x = option.rect.left() + static_cast<int>(unit * box_->List().Offset(c));
      DrawColumn(dc, x, option.rect.top(), size, item, c, i);
    }
    painter->restore();
  }

 private:
  void DrawColumn(platform::Dc& dc, int x, int y, int size, const AspectListItem& item, int column,
                  int index) const {
    const auto glyph = [&](char code, char face) {
      DrawGlyphText(dc, x, y, code, face, size, platform::BkMode::Transparent);
    };
    switch (column) {
      case 0:
      case 1: {
        const short object = column == 0 ? item.object1 : item.object2;
        if (object >= 0 && object < glyphs::kPointCount) return glyph(glyphs::Point(object), 'a');
        if (object >= 1000 && object < 1012) return glyph(glyphs::Cusp(object - 1000), 'a');
        break;  // a point without a glyph: its name
      }
      case 2: {
        const AspectSystem* system = box_->List().Aspects();
        if (system == nullptr || item.aspect < 0 || item.aspect >= system->Count()) return;
        const platform::Color text = dc.GetTextColor();
        system->GetAspect(item.aspect).DrawGlyph(dc, x, y, size, item.exact == 'E' ? 2 : 0);
        dc.SetTextColor(text);
        return;
      }
      case 4:
        return glyph(item.motion == 'I'   ? glyphs::kPhaseApplying
                     : item.motion == 'E' ? glyphs::kPhaseExact
                                          : glyphs::kPhaseSeparating,
                     'b');
      case 5:
        if (item.mark == 'E') glyph(glyphs::kPhaseExact, 'b');
        return;
      case 6:
        return glyph(item.mark == 'G' ? '\x94' : '\x95', 'a');
      default:
        break;
    }
    const platform::Font old =
        dc.SelectFont(platform::Font{std::string(platform::kTextFace), size});
    dc.TextOut(x, y, platform::FromQt(box_->ColumnText(index, column)));
    dc.SelectFont(old);
  }

  CAspectsListBox* box_;
};

}  // namespace

CAspectsListBox::CAspectsListBox(QWidget* parent) : QListWidget(parent) {
  setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
  setItemDelegate(new ColumnsDelegate(this));
}

int CAspectsListBox::RowFontSize(platform::Dc& dc, int rowHeight, int rowWidth) {
  if (rowFontSize_ == 0 && !list_.Items().empty()) {
    const int width = static_cast<int>(rowWidth / std::max(list_.TotalWidth(), 1.0));
    const int fitted =
        FitFontSizeToBox(dc, platform::kTextFace, kFirstRowFontSize, rowHeight, width, false);
    rowFontSize_ = static_cast<int>(std::max(fitted, kSmallestRowFontSize) * 1.2);
  }
  return rowFontSize_ > 0 ? rowFontSize_ : kSmallestRowFontSize;
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
      return item.motion == 'I'   ? QStringLiteral("сх")
             : item.motion == 'E' ? QStringLiteral("рсх")
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
