#include "settings/core/aspect_list_drawing.h"

#include <algorithm>
#include <cmath>

#include "foundation/drawing/drawing_helpers.h"
#include "foundation/drawing/font_fitting.h"
#include "foundation/drawing/palette.h"

namespace settings {

namespace {

int At(int left, double factor, int unit) {
  return left + static_cast<int>(std::lround(factor * unit));
}

}  // namespace

void DrawAspectListItem(platform::Dc& dc, const Aspect& aspect, const platform::Rect& item,
                        int listWidth, bool selected, platform::Color background) {
  const int l = item.left, t = item.top, r = item.right, b = item.bottom;
  const int height = b - t;
  if (height <= 0) return;
  const platform::Font oldFont = dc.GetFont();
  const platform::Color oldText =
      dc.SetTextColor(selected ? ColorByIndex(kListSelectedText) : platform::kBlack);
  const platform::BkMode oldMode = dc.SetBkMode(platform::BkMode::Transparent);
  const unsigned oldAlign = dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);

  // Fonts fitted to the line height: the text face 1.3 times larger than its fitted size, but
  // never so large that the type name runs into the strength column.
  const AspectTexts texts = aspect.GetTexts();
  int textSize = std::max(
      100,
      static_cast<int>(1.3 * std::max(100, FitFontHeight(dc, platform::kTextFace, 300, height))));
  const int columnGap = static_cast<int>(0.08 * listWidth) - 4;
  while (textSize > 60 &&
         TextWidthInFont(dc, platform::kTextFace, textSize, texts.typeName) >= columnGap)
    textSize -= 10;
  const int numberSize = std::max(100, FitFontHeight(dc, platform::kGlyphFaceA, 300, height));

  // Colour swatches.
  dc.FillRect({r - 80, t + 2, r - 65, b - 2}, ColorByIndexShort(aspect.color));
  dc.FillRect({r - 54, t + 2, r - 39, b - 2}, ColorByIndexShort(aspect.exactColor));

  // The numbers in the text face at the glyph face's fitted size (the glyph faces space digits
  // as symbols); the column unit is the width of an angle ("DDD:MM") and a blank.
  dc.SelectFont({std::string(platform::kTextFace), numberSize});
  const platform::Size sample = MeasureText(dc, "000:00 ");
  const int w = sample.cx, h = sample.cy;
  dc.TextOut(l + w, t, texts.angle);
  static constexpr double kOrbColumns[6] = {2.2, 3.35, 4.5, 5.6, 6.7, 7.8};
  for (int k = 0; k < 6; ++k)
    dc.TextOut(At(l, kOrbColumns[k], w), t, texts.orbs[static_cast<std::size_t>(k)]);

  dc.SelectFont({std::string(platform::kTextFace), textSize});
  const int y = t - static_cast<int>(std::lround(0.2 * h));
  dc.TextOut(At(l, 0.015, listWidth), y, texts.abbreviation);
  dc.TextOut(At(l, 0.75, listWidth) - 30, y, texts.typeName);
  dc.TextOut(At(l, 0.83, listWidth) - 30, y, texts.strengthLabel);

  // Frame.
  const platform::Pen oldPen = dc.SelectPen(
      {platform::PenStyle::Solid, 1, selected ? ColorByIndex(kListFrame) : background});
  const platform::Brush oldBrush = dc.SelectBrush({true, platform::kWhite});
  dc.Rectangle(item);
  dc.SelectBrush(oldBrush);
  dc.SelectPen(oldPen);

  // Line sample.
  const int m = (t + b) / 2;
  DrawLineOfType(dc, r - 30, m, r - 2, m, aspect.lineStyle, AspectLineWidth(aspect.thickness), 0);

  dc.SetTextAlign(oldAlign);
  dc.SetBkMode(oldMode);
  dc.SetTextColor(oldText);
  dc.SelectFont(oldFont);
}

void DrawLineSample(platform::Dc& dc, const platform::Rect& box, int style, int thickness) {
  const int m = (box.top + box.bottom) / 2;
  DrawLineOfType(dc, box.left + 2, m, box.right - 2, m, style >= 0 && style <= 3 ? style : 0,
                 AspectLineWidth(thickness), 0);
}

}  // namespace settings
