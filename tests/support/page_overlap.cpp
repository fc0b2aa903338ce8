#include "support/page_overlap.h"

#include <algorithm>

#include "foundation/text/cp1251.h"
#include "platform/core/glyph_set.h"

namespace testing_support {

namespace {

constexpr int kPaperWidth = 21000;
constexpr int kPaperHeight = 29700;
// Of the text face, in ems: the ink of a text without descenders ends at the baseline.
constexpr double kCapitalHeight = 0.75;
constexpr double kDescenderDepth = 0.22;

std::string Describe(const TextBox& t) {
  const platform::Rect& b = t.box;
  return "\"" + Utf8(t.text) + "\" [" + std::to_string(b.left) + ".." + std::to_string(b.right) +
         ", " + std::to_string(b.bottom) + ".." + std::to_string(b.top) + "]";
}

// How far two ranges overlap (negative when apart).
int Overlap(int lowA, int highA, int lowB, int highB) {
  return std::min(highA, highB) - std::max(lowA, lowB);
}

bool Crosses(const platform::Rect& box, const platform::Rect& frame) {
  const bool inside = box.left >= frame.left && box.right <= frame.right &&
                      box.bottom >= frame.bottom && box.top <= frame.top;
  const bool outside = box.right <= frame.left || box.left >= frame.right ||
                       box.top <= frame.bottom || box.bottom >= frame.top;
  return !inside && !outside;
}

// A letter of the text reaches below the baseline (code page 1251: Latin g j p q y, Cyrillic
// д р у ф ц щ, brackets, commas and semicolons; the short tails of Д Ц Щ are left out).
bool HasDescender(std::string_view text) {
  static constexpr std::string_view kDescenders = "gjpqy(),;[]{}|\xE4\xF0\xF3\xF4\xF6\xF9";
  return text.find_first_of(kDescenders) != std::string_view::npos;
}

// The ink of a text in a glyph face, from the glyphs' outlines (their control points bound their
// curves), its baseline beginning at (x, baseline); false when it shows no glyph.
bool InkBox(const platform::RecordedCall& c, int x, int baseline, platform::Rect& box) {
  const int face = platform::GlyphSet::FaceIndex(c.font.face);
  const double em = c.font.EmHeight();
  double pen = x, left = 1e18, right = -1e18, top = -1e18, bottom = 1e18;
  for (const char ch : c.text) {
    const platform::Glyph& g = platform::Glyphs().Get(face, static_cast<unsigned char>(ch));
    for (const platform::PathElement& e : g.outline) {
      if (e.kind == platform::PathElement::Close) continue;
      const int points = e.kind == platform::PathElement::Cubic  ? 3
                         : e.kind == platform::PathElement::Quad ? 2
                                                                 : 1;
      const double xs[3] = {e.x1, e.x2, e.x3}, ys[3] = {e.y1, e.y2, e.y3};
      for (int k = 0; k < points; ++k) {
        left = std::min(left, pen + xs[k] * em);
        right = std::max(right, pen + xs[k] * em);
        top = std::max(top, baseline + ys[k] * em);
        bottom = std::min(bottom, baseline + ys[k] * em);
      }
    }
    pen += (g.Present() ? g.advance : 1.0) * em;
  }
  if (left > right) return false;
  box = platform::Rect{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
                       static_cast<int>(bottom)};
  return true;
}

// How many 0.01 mm one logical unit of `mode` is.
int Scale(platform::MapMode mode) { return mode == platform::MapMode::LoMetric ? 10 : 1; }

// A box of a text's own axes (its advance to the right, y up from the reference point) turned by
// `escapement` (tenths of a degree, counter-clockwise) about the reference point `at`; only
// quarter turns are turned, anything else is taken as unturned.
platform::Rect Turned(const platform::Rect& b, platform::Point at, int escapement) {
  const int dl = b.left - at.x, dr = b.right - at.x, dt = b.top - at.y, db = b.bottom - at.y;
  switch ((escapement % 3600 + 3600) % 3600) {
    case 900:  // the advance goes up the page, the text's top to the left
      return {at.x - dt, at.y + dr, at.x - db, at.y + dl};
    case 1800:
      return {at.x - dr, at.y - db, at.x - dl, at.y - dt};
    case 2700:  // the advance goes down the page, the text's top to the right
      return {at.x + db, at.y - dl, at.x + dt, at.y - dr};
    default:
      return b;
  }
}

platform::Rect Scaled(const platform::Rect& b, int k) {
  return {b.left * k, b.top * k, b.right * k, b.bottom * k};
}

}  // namespace

std::vector<TextBox> PageTextBoxes(const platform::RecordingDc& dc, platform::Dc& measure) {
  std::vector<TextBox> boxes;
  measure.SetMapMode(platform::MapMode::HiMetric);
  for (const platform::RecordedCall& c : dc.Calls()) {
    if (c.kind != platform::RecordedCall::Text || c.font.escapement % 900 != 0) continue;
    const std::size_t first = c.text.find_first_not_of(' ');
    if (first == std::string::npos) continue;
    const std::size_t last = c.text.find_last_not_of(' ');
    measure.SelectFont(c.font);
    const platform::TextMetrics m = measure.GetTextMetrics();
    const int width = measure.GetTextExtent(c.text).cx;
    const int x = c.points[0].x, y = c.points[0].y;
    int left = x;
    switch (c.align & platform::TextAlign::kHorizontalMask) {
      case platform::TextAlign::kRight:
        left = x - width;
        break;
      case platform::TextAlign::kCenter:
        left = x - width / 2;
        break;
      default:
        break;
    }
    int top = y;
    switch (c.align & platform::TextAlign::kVerticalMask) {
      case platform::TextAlign::kBottom:
        top = y + m.height;
        break;
      case platform::TextAlign::kBaseline:
        top = y + m.ascent;
        break;
      default:
        break;
    }
    TextBox t;
    t.box.left = left + measure.GetTextExtent(std::string_view(c.text).substr(0, first)).cx;
    t.box.right = left + measure.GetTextExtent(std::string_view(c.text).substr(0, last + 1)).cx;
    // The letters' ink: from a descender's depth below the baseline to the height of a capital.
    const int baseline = top - m.ascent;
    const double em = c.font.EmHeight();
    t.box.top = baseline + static_cast<int>(kCapitalHeight * em);
    t.box.bottom = baseline - (HasDescender(c.text) ? static_cast<int>(kDescenderDepth * em) : 0);
    t.text = c.text;
    if (c.font.IsGlyphFace() && !InkBox(c, left, top - m.ascent, t.box)) continue;
    // A turned text turns about its reference point; a page drawn in 0.1 mm is scaled to 0.01 mm.
    t.box = Scaled(Turned(t.box, c.points[0], c.font.escapement), Scale(c.mapMode));
    boxes.push_back(std::move(t));
  }
  return boxes;
}

std::vector<std::string> PageOverlaps(const platform::RecordingDc& dc, platform::Dc& measure) {
  const std::vector<TextBox> boxes = PageTextBoxes(dc, measure);
  std::vector<std::string> faults;
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    const platform::Rect& a = boxes[i].box;
    if (a.left < 0 || a.right > kPaperWidth || a.top > 0 || a.bottom < -kPaperHeight)
      faults.push_back(Describe(boxes[i]) + " runs off the paper");
    for (std::size_t j = i + 1; j < boxes.size(); ++j) {
      const platform::Rect& b = boxes[j].box;
      const int lower = std::min(a.top - a.bottom, b.top - b.bottom);
      if (Overlap(a.left, a.right, b.left, b.right) > lower / 10 &&
          Overlap(a.bottom, a.top, b.bottom, b.top) > lower / 10)
        faults.push_back(Describe(boxes[i]) + " overlaps " + Describe(boxes[j]));
    }
  }
  for (const platform::RecordedCall& c : dc.Calls()) {
    if (c.kind != platform::RecordedCall::Rectangle && c.kind != platform::RecordedCall::RoundRect)
      continue;
    const platform::Rect frame =
        Scaled({std::min(c.points[0].x, c.points[1].x), std::max(c.points[0].y, c.points[1].y),
                std::max(c.points[0].x, c.points[1].x), std::min(c.points[0].y, c.points[1].y)},
               Scale(c.mapMode));
    if (frame.right - frame.left < kPaperWidth / 2 || frame.top - frame.bottom < kPaperHeight / 2)
      continue;
    for (const TextBox& t : boxes)
      if (Crosses(t.box, frame)) faults.push_back(Describe(t) + " crosses the page frame");
  }
  return faults;
}

}  // namespace testing_support
