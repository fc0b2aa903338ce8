#include "foundation/drawing/font_fitting.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

// Selects `face` at `size` (bold, italic and escapement kept from the selected font) for the life
// of the object.
class FontScope {
 public:
  FontScope(platform::Dc& dc, std::string_view face, int size) : dc_(dc), old_(dc.GetFont()) {
    platform::Font f = old_;
    f.face = std::string(face);
    f.pointSize = size;
    dc_.SelectFont(f);
  }
  ~FontScope() { dc_.SelectFont(old_); }
  FontScope(const FontScope&) = delete;
  FontScope& operator=(const FontScope&) = delete;

 private:
  platform::Dc& dc_;
  platform::Font old_;
};

std::string SampleText(std::string_view face, int character) {
  if (character > 254 || character < 0) {
    const platform::Font probe{std::string(face)};
    return probe.IsGlyphFace() ? "+" : "W";
  }
  return std::string(1, static_cast<char>(character));
}

platform::Size ExtentAt(platform::Dc& dc, std::string_view face, int size, std::string_view text) {
  FontScope scope(dc, face, size);
  return dc.GetTextExtent(text);
}

// The largest size <= first, found by steps of 1000 down and 100 up, for which `fits` holds.
int SearchDownThenUp(int first, const std::function<bool(int)>& fits) {
  if (first < 1) return -1;
  int coarse = first;
  while (coarse > 0 && !fits(coarse)) coarse -= 1000;
  if (coarse == first) return first;
  int best = coarse > 0 ? coarse : -1;
  for (int size = coarse + 100; size < coarse + 1000 && size <= first; size += 100) {
    if (size < 1) continue;
    if (!fits(size)) break;
    best = size;
  }
  return best;
}

}  // namespace

platform::Size MeasureText(platform::Dc& dc, std::string_view text) {
  return dc.GetTextExtent(text);
}

platform::Size MeasureCString(platform::Dc& dc, const std::string& text) {
  return dc.GetTextExtent(text);
}

platform::Size FontCharSize(platform::Dc& dc, std::string_view face, int size, int character) {
  return ExtentAt(dc, face, size, SampleText(face, character));
}

int FontCharWidth(platform::Dc& dc, std::string_view face, int size, int character) {
  return FontCharSize(dc, face, size, character).cx;
}

int FontCharHeight(platform::Dc& dc, std::string_view face, int size, int character) {
  return FontCharSize(dc, face, size, character).cy;
}

int TextWidthInFont(platform::Dc& dc, std::string_view face, int size, std::string_view text) {
  return ExtentAt(dc, face, size, text).cx;
}

int FitFontHeight(platform::Dc& dc, std::string_view face, int firstSize, int height) {
  return SearchDownThenUp(
      firstSize, [&](int size) { return FontCharHeight(dc, face, size, kFaceSample) < height; });
}

int FitFontHeightFinely(platform::Dc& dc, std::string_view face, int firstSize, int height) {
  constexpr int kStep = 10;
  const int coarse = FitFontHeight(dc, face, firstSize, height);
  const int limit = std::min(firstSize, std::max(coarse, 0) + 100 - kStep);
  int size = std::max(coarse, kStep);
  while (size + kStep <= limit && FontCharHeight(dc, face, size + kStep, kFaceSample) < height)
    size += kStep;
  return size;
}

int FitFontWidth(platform::Dc& dc, std::string_view face, int firstSize, int width,
                 std::string_view sample) {
  return SearchDownThenUp(
      firstSize, [&](int size) { return TextWidthInFont(dc, face, size, sample) < width; });
}

int FitFontSizeToBox(platform::Dc& dc, std::string_view face, int firstSize, int height, int width,
                     bool fineSteps) {
  const int step = fineSteps ? 10 : 100;
  for (int size = firstSize; size >= 1; size -= step) {
    const platform::Size s = FontCharSize(dc, face, size, kFaceSample);
    if (s.cy < height && s.cx < width) return size;
  }
  return -1;
}

int FitFontSize(platform::Dc& dc, std::string_view face, int maximum, int height, int width,
                std::string_view text) {
  const int byHeight = FitFontHeight(dc, face, maximum, height);
  const int byWidth = FitFontWidth(dc, face, maximum, width, text);
  if (byHeight < 0 || byWidth < 0) return -1;
  return std::min(byHeight, byWidth);
}

int FontIterations(platform::Dc& dc, std::string_view face, int startSize, int step,
                   std::string_view text, int maxWidth, int maxHeight) {
  if (step <= 0 || startSize < 1) return -1;
  const auto within = [&](int size) {
    const platform::Size s = ExtentAt(dc, face, size, text);
    return s.cx <= maxWidth && s.cy <= maxHeight;
  };
  if (!within(startSize)) return -1;
  int size = startSize;
  for (int i = 0; i < 1000 && within(size + step); ++i) size += step;
  return size;
}

platform::Font CreateRotatedFont(const platform::Font& font, int size, std::string_view face,
                                 int escapement) {
  platform::Font f = font;
  f.pointSize = size;
  f.face = std::string(face);
  f.escapement = escapement;
  return f;
}

int DrawTextVertical(platform::Dc& dc, const platform::Font& font, int x, int y,
                     std::string_view text, double factor) {
  const platform::Font old = dc.SelectFont(font);
  const int step = static_cast<int>(std::lround(dc.GetTextMetrics().height * factor));
  const int down = dc.YUp() ? -step : step;
  int covered = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    dc.TextOut(x, y + static_cast<int>(i) * down, text.substr(i, 1));
    covered += step;
  }
  dc.SelectFont(old);
  return covered;
}
