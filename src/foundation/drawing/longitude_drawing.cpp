#include "foundation/drawing/longitude_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/palette.h"
#include "foundation/numbers/angles.h"

namespace {

constexpr int kHighlightColour = 14;

std::string Digits(long value, int width) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*ld", width, value);
  return buf;
}

// `wrap`: a whole circle rounds to 0.
std::vector<LongitudePiece> SignedDegrees(double value, int degreeWidth, bool wrap = false) {
  long minutes = std::lround(std::fabs(value) * 60.0);
  if (wrap) minutes %= 360 * 60;
  std::string text = value < 0 && minutes != 0 ? "-" : "";
  text += Digits(minutes / 60, degreeWidth);
  text += glyphs::kDegreeMark;
  text += Digits(minutes % 60, 2);
  text += glyphs::kMinuteMark;
  return {{text, false}};
}

std::vector<LongitudePiece> ZodiacForm(double value, bool seconds) {
  const long perDegree = seconds ? 3600 : 60;
  const long full = 360 * perDegree;
  long units = std::lround(NormalizeDegrees(value) * static_cast<double>(perDegree)) % full;
  const long perSign = 30 * perDegree;
  const int sign = static_cast<int>(units / perSign);
  units %= perSign;
  std::vector<LongitudePiece> pieces;
  pieces.push_back({Digits(units / perDegree, 2), false});
  pieces.push_back({std::string(1, glyphs::Sign(sign)), true});
  const long rest = units % perDegree;
  if (!seconds) {
    pieces.push_back({Digits(rest, 2), false});
  } else {
    std::string tail = Digits(rest / 60, 2);
    tail += glyphs::kMinuteMark;
    tail += Digits(rest % 60, 2);
    tail += glyphs::kSecondMark;
    pieces.push_back({tail, false});
  }
  return pieces;
}

struct Fonts {
  platform::Font digits;
  platform::Font signs;
};

int DrawPieces(platform::Dc& dc, const std::vector<LongitudePiece>& pieces, const Fonts& fonts,
               int x, int y, int highlight, int colourNumber) {
  if (pieces.empty()) return 0;
  const platform::Font oldFont = dc.GetFont();
  std::vector<int> widths;
  int total = 0;
  int height = 0;
  for (const LongitudePiece& p : pieces) {
    dc.SelectFont(p.signGlyph ? fonts.signs : fonts.digits);
    const platform::Size s = dc.GetTextExtent(p.text);
    widths.push_back(s.cx);
    total += s.cx;
    height = std::max(height, dc.GetTextMetrics().height);
  }
  const unsigned align = dc.GetTextAlign();
  int left = x;
  if ((align & platform::TextAlign::kHorizontalMask) == platform::TextAlign::kCenter)
    left = x - total / 2;
  else if ((align & platform::TextAlign::kHorizontalMask) == platform::TextAlign::kRight)
    left = x - total;
  if (highlight != 0) {
    // The cell of the whole text, from the reference point by the vertical alignment.
    const int up = dc.YUp() ? 1 : -1;
    int top = y;
    if ((align & platform::TextAlign::kVerticalMask) == platform::TextAlign::kBottom)
      top = y + up * height;
    else if ((align & platform::TextAlign::kVerticalMask) == platform::TextAlign::kBaseline)
      top = y + up * (height * 4 / 5);
    dc.FillRect({left, top, left + total, top - up * height}, ColorByIndex(kHighlightColour));
  }
  const platform::Color oldColour =
      colourNumber >= 0 ? dc.SetTextColor(ColorByIndex(colourNumber)) : dc.GetTextColor();
  const unsigned oldAlign =
      dc.SetTextAlign((align & platform::TextAlign::kVerticalMask) | platform::TextAlign::kLeft);
  int at = left;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    dc.SelectFont(pieces[i].signGlyph ? fonts.signs : fonts.digits);
    dc.TextOut(at, y, pieces[i].text);
    at += widths[i];
  }
  dc.SetTextAlign(oldAlign);
  dc.SetTextColor(oldColour);
  dc.SelectFont(oldFont);
  return total;
}

}  // namespace

std::vector<LongitudePiece> LongitudePieces(double value, int layout) {
  if (!std::isfinite(value) || IsAbsent(value)) return {};
  if (layout == 2 || value < 0) return SignedDegrees(value, layout == 1 ? 2 : 1);
  if (layout == 1) return SignedDegrees(NormalizeDegrees(value), 3, true);
  return ZodiacForm(value, layout == 3);
}

int DrawLongitude(platform::Dc& dc, int x, int y, double value, int layout, int colourNumber) {
  Fonts fonts{dc.GetFont(), dc.GetFont()};
  if (!fonts.signs.IsGlyphFace()) fonts.signs.face = std::string(platform::kGlyphFaceA);
  return DrawPieces(dc, LongitudePieces(value, layout), fonts, x, y, 0, colourNumber);
}

int DrawLongitudeGlyph(platform::Dc& dc, int size, double value, int x, int y, int layout,
                       int colourNumber) {
  platform::Font font = dc.GetFont();
  font.face = std::string(platform::kGlyphFaceA);
  font.pointSize = size;
  const platform::Font old = dc.SelectFont(font);
  const int width = DrawLongitude(dc, x, y, value, layout, colourNumber);
  dc.SelectFont(old);
  return width;
}

int DrawLongitudeEx(platform::Dc& dc, const LongitudeFonts& fonts, double value, int x, int y,
                    int highlight, int layout, int colourNumber) {
  return DrawPieces(dc, LongitudePieces(value, layout), {fonts.digits, fonts.signs}, x, y,
                    highlight, colourNumber);
}
