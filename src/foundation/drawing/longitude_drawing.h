// Zodiac longitudes and other angles drawn with the glyph face. Layouts:
//   0  degrees in the sign, the sign's glyph, minutes: "05" Leo "07"
//   1  degrees of the whole circle and minutes with marks: "125°07'" (negative: "-05°30'")
//   2  signed degrees and minutes with marks, no padding: "-1°23'", "123°45'" (arcs, latitudes,
//      speeds, declinations; the value is taken as it is)
//   3  as 0 with minutes and seconds: "05" Leo "07'09""
// Layouts 0 and 3 reduce the value to [0, 360) and round to the minute (second), carrying into the
// next sign; a negative value in them is drawn as layout 2. The absent value -777.0 and values
// that are not finite draw nothing.
#pragma once

#include <string>
#include <vector>

#include "platform/core/dc.h"

// One run of a longitude's text: digits and marks, or the sign glyph.
struct LongitudePiece {
  std::string text;
  bool signGlyph = false;
};

// The pieces of `value` in `layout` (0..3; another layout is drawn as 0).
std::vector<LongitudePiece> LongitudePieces(double value, int layout);

// Draws `value` at (x, y) by the current text alignment: digits and marks in the selected font,
// the sign's glyph in "VelmAstro5a" at the selected size. `colourNumber` 0..59 draws in that
// palette colour, a negative number in the current text colour. Returns the width drawn.
int DrawLongitude(platform::Dc& dc, int x, int y, double value, int layout, int colourNumber = -1);

// Selects "VelmAstro5a" at `size` (tenths of a point) and draws with DrawLongitude; the font is
// restored.
int DrawLongitudeGlyph(platform::Dc& dc, int size, double value, int x, int y, int layout,
                       int colourNumber = -1);

// The fonts of DrawLongitudeEx: digits and marks in `digits`, the sign's glyph in `signs`.
struct LongitudeFonts {
  platform::Font digits;
  platform::Font signs;
};

// DrawLongitude with two fonts. A `highlight` other than 0 fills the text's cell with the
// highlight colour (palette 14, yellow) behind it. Fonts and colours are restored.
int DrawLongitudeEx(platform::Dc& dc, const LongitudeFonts& fonts, double value, int x, int y,
                    int highlight, int layout, int colourNumber = -1);
