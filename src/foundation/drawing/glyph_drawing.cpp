#include "foundation/drawing/glyph_drawing.h"

#include <algorithm>
#include <string>

#include "foundation/drawing/palette.h"

namespace {

platform::Font FaceAt(const platform::Font& base, std::string_view face, int size) {
  platform::Font f = base;
  f.face = std::string(face);
  f.pointSize = size;
  return f;
}

platform::Size DrawInFont(platform::Dc& dc, const platform::Font& font, int x, int y,
                          std::string_view text) {
  const platform::Font old = dc.SelectFont(font);
  dc.TextOut(x, y, text);
  const platform::Size extent = dc.GetTextExtent(text);
  dc.SelectFont(old);
  return extent;
}

}  // namespace

platform::Size DrawGlyphText(platform::Dc& dc, int x, int y, char glyph, char fontLetter, int size,
                             platform::BkMode bkMode) {
  const std::string_view face = fontLetter == 'b' ? platform::kGlyphFaceB : platform::kGlyphFaceA;
  const platform::BkMode oldMode = dc.SetBkMode(bkMode);
  const platform::Size extent =
      DrawInFont(dc, FaceAt(dc.GetFont(), face, size), x, y, std::string_view(&glyph, 1));
  dc.SetBkMode(oldMode);
  return extent;
}

platform::Size DrawGlyphNumber(platform::Dc& dc, int x, int y, int n) {
  const int size = dc.GetFont().pointSize;
  if (n < 0 || n >= glyphs::kAspectCount)
    return DrawInFont(dc, FaceAt(dc.GetFont(), platform::kTextFace, size), x, y, "?");
  const char c = glyphs::Aspect(n);
  return DrawInFont(dc, FaceAt(dc.GetFont(), platform::kGlyphFaceB, size), x, y, {&c, 1});
}

platform::Size DrawRulerGlyph(platform::Dc& dc, int x, int y, int house) {
  const int size = dc.GetFont().pointSize;
  const unsigned oldAlign = dc.SetTextAlign(
      (dc.GetTextAlign() & platform::TextAlign::kVerticalMask) | platform::TextAlign::kLeft);
  const char mark = glyphs::kRulerMark;
  const platform::Size a =
      DrawInFont(dc, FaceAt(dc.GetFont(), platform::kGlyphFaceB, size), x, y, {&mark, 1});
  const char cusp = glyphs::Cusp(((house % 12) + 12) % 12);
  const platform::Size b =
      DrawInFont(dc, FaceAt(dc.GetFont(), platform::kGlyphFaceA, size), x + a.cx, y, {&cusp, 1});
  dc.SetTextAlign(oldAlign);
  return {a.cx + b.cx, std::max(a.cy, b.cy)};
}

platform::Size DrawAspectGlyph(platform::Dc& dc, int x, int y, int size, int aspectIndex,
                               std::string_view abbreviation, int colourNumber) {
  const platform::Color oldColour = dc.SetTextColor(ColorByIndex(colourNumber));
  platform::Size extent;
  if (aspectIndex >= 0 && aspectIndex < glyphs::kAspectCount) {
    const char c = glyphs::Aspect(aspectIndex);
    extent = DrawInFont(dc, FaceAt(dc.GetFont(), platform::kGlyphFaceB, size), x, y, {&c, 1});
  } else {
    extent = DrawInFont(dc, FaceAt(dc.GetFont(), platform::kTextFace, size), x, y, abbreviation);
  }
  dc.SetTextColor(oldColour);
  return extent;
}
