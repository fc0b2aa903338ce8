// The swatches of the colour chooser: one item per palette number, filled with the number's
// colour; the selected swatch is framed in the complementary colour (each of red, green and blue
// replaced by 255 minus its value), the grey (128, 128, 128), whose complement is almost itself,
// in palette colour 15.
#pragma once

#include "platform/core/dc.h"

// What an owner-drawn item is asked to draw; or-ed.
namespace swatch_draw {
inline constexpr unsigned kEntire = 1;     // the whole item
inline constexpr unsigned kSelection = 2;  // only its selection state changed
}  // namespace swatch_draw

// The number of colours the chooser offers by default, and in the colours dialog.
inline constexpr int kColorChooserDefaultCount = 16;
inline constexpr int kColorChooserFullCount = 60;
// The height of one swatch, in pixels.
inline constexpr int kColorSwatchHeight = 20;
// The palette colour that frames the selected grey swatch.
inline constexpr int kColorSwatchGreyFrame = 15;

// The colour that frames the selected swatch of palette number `number`.
platform::Color SwatchFrameColor(int number);

// Draws the swatch of palette number `number` into `item` (logical units of the Dc):
// 1. kEntire: fill the item with the number's colour (ColorByIndex; 0 and unknown numbers black);
// 2. selected, with kEntire or kSelection: a one-pixel frame in SwatchFrameColor;
// 3. not selected, with kSelection: a frame in the number's own colour, which removes the frame.
void DrawColorSwatch(platform::Dc& dc, const platform::Rect& item, int number, bool selected,
                     unsigned action);

// The chooser's choice: the colours 0 .. count - 1 are offered and `current` is selected once,
// when the chooser opens (nothing when it lies outside the offer).
struct ColorChoice {
  int count = kColorChooserDefaultCount;
  int current = 0;
  // The row selected when the chooser opens, or -1.
  int InitialRow() const { return current >= 0 && current < count ? current : -1; }
  // The colour chosen by OK with row `row` selected: that number, or -1 when no row is selected
  // (the caller then keeps its colour, as after Cancel).
  int ChosenNumber(int row) const { return row >= 0 && row < count ? row : -1; }
};
