#include "rectification/ui/rect_events_list_box.h"

#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>

#include "foundation/drawing/font_fitting.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/palette.h"
#include "platform/qt/qt_dc.h"
#include "platform/qt/qt_text.h"

class RectEventsDelegate : public QStyledItemDelegate {
 public:
  explicit RectEventsDelegate(CRectEventsListBox* box) : QStyledItemDelegate(box), box_(box) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const std::vector<RectEventLine> lines = box_->Lines();
    const auto row = static_cast<std::size_t>(index.row());
    if (row >= lines.size()) return;
    const RectEventLine& line = lines[row];
    painter->save();
    if (line.fillColour >= 0) {
      const platform::Color fill = ColorByIndex(line.fillColour);
      painter->fillRect(option.rect, QColor(fill.r, fill.g, fill.b));
    }
    platform::QtDc dc(*painter, false);
    dc.SetMapMode(platform::MapMode::Text);
    dc.SetBkMode(platform::BkMode::Transparent);
    dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
    dc.SetTextColor(ColorByIndex(line.textColour));
    const int size = std::max(60, option.rect.height() * 720 * 8 / 10 / 96);
    const platform::Font old =
        dc.SelectFont(platform::Font{std::string(platform::kTextFace), size});
    const int sampleWidth = dc.GetTextExtent(std::string(RectEventTextSample(box_->Mode()))).cx;
    // The text cut to the sample's width.
    std::string text = line.text;
    while (!text.empty() && dc.GetTextExtent(text).cx > sampleWidth) text.pop_back();
    const int left = option.rect.left() + 2, top = option.rect.top();
    dc.TextOut(left, top, text);
    int maxText = box_->events_ != nullptr ? box_->events_->GetMaxTextWidth(dc) : 0;
    maxText = std::min(maxText, sampleWidth);
    const int dateX = left + maxText + sampleWidth / 2;  // half a text width after the longest
    if (!line.date.empty()) dc.TextOut(dateX, top, line.date);
    const int charWidth = dc.GetTextExtent("W").cx;
    const int glyphX = dateX + dc.GetTextExtent("00:00:0000").cx + charWidth;
    dc.SelectFont(old);
    int x = glyphX;
    for (char g : line.planetGlyphs) {
      DrawGlyphText(dc, x, top, g, 'a', size, platform::BkMode::Transparent);
      x += charWidth * 14 / 10;
    }
    x = glyphX + 16 * charWidth;
    for (char g : line.houseGlyphs) {
      DrawGlyphText(dc, x, top, g, 'a', size, platform::BkMode::Transparent);
      x += charWidth * 14 / 10;
    }
    painter->restore();
  }

 private:
  CRectEventsListBox* box_;
};

CRectEventsListBox::CRectEventsListBox(int mode, QWidget* parent)
    : QListWidget(parent), mode_(mode) {
  setItemDelegate(new RectEventsDelegate(this));
  setMinimumWidth(520);
}

void CRectEventsListBox::Fill(const LifeEventList& events, int select) {
  events_ = &events;
  clear();
  for (const RectEventLine& line : RectEventLines(events, mode_, -1))
    addItem(platform::ToQt(line.text + "  " + line.date));
  setCurrentRow(select >= 0 && select < events.Count() ? select : -1);
}

std::vector<RectEventLine> CRectEventsListBox::Lines() const {
  if (events_ == nullptr) return {};
  return RectEventLines(*events_, mode_, currentRow());
}
