// Measuring text and choosing font sizes. Sizes are point sizes in tenths of a point (a font of
// size s has an em of s x 96 / 720 logical units). The fitting searches select fonts on the device
// context while they measure and restore the font that was selected before.
#pragma once

#include <string>
#include <string_view>

#include "platform/core/dc.h"

// Width and height of a text in the selected font. MeasureCString is the same for a std::string.
platform::Size MeasureText(platform::Dc& dc, std::string_view text);
platform::Size MeasureCString(platform::Dc& dc, const std::string& text);

// Sample character codes above 254 ask for the sample of the face: '+' for the glyph faces, 'W'
// for a text face.
inline constexpr int kFaceSample = 255;

// Extent of one character of `face` at `size`; FontCharWidth and FontCharHeight give its parts.
platform::Size FontCharSize(platform::Dc& dc, std::string_view face, int size, int character);
int FontCharWidth(platform::Dc& dc, std::string_view face, int size, int character);
int FontCharHeight(platform::Dc& dc, std::string_view face, int size, int character);
// Width of a text in `face` at `size`.
int TextWidthInFont(platform::Dc& dc, std::string_view face, int size, std::string_view text);

// The largest size not above `firstSize` at which the face's sample character is lower than
// `height`. The search goes down from `firstSize` in steps of 1000 to the first size that fits,
// then up again in steps of 100 while the text still fits; -1 when no size of 100 or more fits.
int FitFontHeight(platform::Dc& dc, std::string_view face, int firstSize, int height);
// FitFontHeight's size refined in steps of 10: raised while the sample stays lower than `height`,
// below the next step of 100 and not above `firstSize` (10 or more); where FitFontHeight finds no
// size the search runs from 10 to 90, and gives 10 when even that is not lower, so that a text
// is drawn however low its box.
int FitFontHeightFinely(platform::Dc& dc, std::string_view face, int firstSize, int height);
// The same search for `sample` narrower than `width`.
int FitFontWidth(platform::Dc& dc, std::string_view face, int firstSize, int width,
                 std::string_view sample);
// Lowers the size from `firstSize` by 100 (by 10 when `fineSteps`) until the face's sample
// character is lower than `height` and narrower than `width`; -1 when the size falls below 1.
int FitFontSizeToBox(platform::Dc& dc, std::string_view face, int firstSize, int height, int width,
                     bool fineSteps);
// The size at which `text` fits a box of `width` x `height`: the smaller of FitFontHeight and
// FitFontWidth from `maximum`; -1 when either finds none.
int FitFontSize(platform::Dc& dc, std::string_view face, int maximum, int height, int width,
                std::string_view text);
// Steps the size from `startSize` by `step` (above 0) while `text` stays within `maxWidth` x
// `maxHeight`; the last size that stayed within, or -1 when `startSize` is already too large or
// the step is not positive. At most 1000 steps.
int FontIterations(platform::Dc& dc, std::string_view face, int startSize, int step,
                   std::string_view text, int maxWidth, int maxHeight);

// `font` with the size, face and escapement (tenths of a degree, counter-clockwise) replaced.
platform::Font CreateRotatedFont(const platform::Font& font, int size, std::string_view face,
                                 int escapement);

// Writes the characters of `text` one under the other in `font` from (x, y), each a character
// height times `factor` below the one before, by the current text alignment. Returns the height
// covered. The previous font is restored.
int DrawTextVertical(platform::Dc& dc, const platform::Font& font, int x, int y,
                     std::string_view text, double factor);
