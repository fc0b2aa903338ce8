// The printed list of the midpoints that have aspects: its pages as CreateMidpList broke them.
#include <algorithm>
#include <string>

#include "foundation/config/configuration.h"
#include "foundation/drawing/glyph_drawing.h"
#include "views/core/aspect_table.h"
#include "views/core/table_page_header.h"

namespace {

constexpr int kListLeft = 200;  // right of the left margin
constexpr int kCuspCodeFirst = 100;

char PointCodeGlyph(int code) {
  return code < kCuspCodeFirst ? glyphs::Point(code) : glyphs::Cusp(code - kCuspCodeFirst);
}

char TargetGlyph(int target) {
  return target < AspectTable::kChartPoints ? glyphs::Point(target)
                                            : glyphs::Cusp(target - AspectTable::kFirstCuspPoint);
}

}  // namespace

std::pair<std::size_t, std::size_t> AspectTable::ListPageEntries(int page) const {
  int seen = 0;
  std::size_t first = midpoints.size();
  for (std::size_t i = 0; i < midpoints.size(); ++i) {
    if (i != 0 && midpoints[i].pageBreak == 0) continue;
    if (++seen == page) {
      first = i;
      break;
    }
  }
  if (page < 1 || first >= midpoints.size()) return {0, 0};
  std::size_t last = first + 1;
  while (last < midpoints.size() && midpoints[last].pageBreak == 0) ++last;
  return {first, last};
}

void AspectTable::DrawListPage(platform::Dc& dc, int page, const Chart& inner,
                               const Chart* outer) const {
  DrawTablePageHeader(dc, config_, inner, outer, -page);
  const auto [first, last] = ListPageEntries(page);
  const int size =
      std::max(1, config_.midpointPrint.Get(cfg::MidpointPrintSettings::kListFontSize));
  const int top = -listTop;
  const int x0 = config_.print.marginLeft + kListLeft;
  const int w = glyphWidth;
  const int perLine = std::max(1, entriesPerLine);
  const int longitudeLayout = localSpace == 1 ? 2 : 1;

  const platform::DcState saved(dc);
  dc.SetTextColor(platform::kBlack);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.SetBkMode(platform::BkMode::Transparent);
  const auto glyph = [&](int x, int y, char code, char face) {
    DrawGlyphText(dc, x, y, code, face, size, platform::BkMode::Transparent);
  };
  int y = 0;
  for (std::size_t e = first; e < last; ++e) {
    const MidpointEntry& entry = midpoints[e];
    glyph(x0, top + y, PointCodeGlyph(entry.code1), 'a');
    glyph(x0 + 2 * w, top + y, PointCodeGlyph(entry.code2), 'a');
    DrawLongitudeGlyph(dc, size, entry.longitude, x0 + 4 * w, top + y, longitudeLayout);
    for (std::size_t k = 0; k < entry.aspects.size() && k < entry.points.size(); ++k) {
      const int column = static_cast<int>(k) % perLine;
      if (k > 0 && column == 0) y -= lineHeight;
      const int x = firstEntryX + column * 3 * w;
      glyph(x, top + y, glyphs::Aspect(entry.aspects[k]), 'b');
      glyph(x + w, top + y, TargetGlyph(entry.points[k]), 'a');
    }
    y -= lineHeight;
  }
}
