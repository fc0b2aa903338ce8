#include "settings/core/color_swatch.h"

#include "foundation/drawing/palette.h"

namespace {

constexpr platform::Color kGrey{128, 128, 128};

void Frame(platform::Dc& dc, const platform::Rect& item, platform::Color color) {
  const platform::Pen oldPen = dc.SelectPen(platform::Pen{platform::PenStyle::Solid, 0, color});
  const platform::Brush oldBrush = dc.SelectBrush(platform::Brush{true, color});
  dc.Rectangle(item);
  dc.SelectBrush(oldBrush);
  dc.SelectPen(oldPen);
}

}  // namespace

platform::Color SwatchFrameColor(int number) {
  const platform::Color c = ColorByIndex(number);
  if (c == kGrey) return ColorByIndex(kColorSwatchGreyFrame);
  return platform::Color{static_cast<std::uint8_t>(255 - c.r), static_cast<std::uint8_t>(255 - c.g),
                         static_cast<std::uint8_t>(255 - c.b)};
}

void DrawColorSwatch(platform::Dc& dc, const platform::Rect& item, int number, bool selected,
                     unsigned action) {
  const platform::Color c = ColorByIndex(number);
  if (action & swatch_draw::kEntire) dc.FillRect(item, c);
  if (selected && (action & (swatch_draw::kEntire | swatch_draw::kSelection)))
    Frame(dc, item, SwatchFrameColor(number));
  else if (!selected && (action & swatch_draw::kSelection))
    Frame(dc, item, c);
}
