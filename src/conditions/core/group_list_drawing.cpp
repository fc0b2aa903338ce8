#include "conditions/core/group_list_drawing.h"

#include <algorithm>
#include <string>

#include "foundation/drawing/font_fitting.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/palette.h"
#include "foundation/drawing/text_layout.h"

namespace {

constexpr int kColourSelectedFill = 1;
constexpr int kColourSelectedText = 14;
constexpr int kColourText = 0;
constexpr std::string_view kNameWidthSample = "WWWWWWWWWWWWWWWWWWWWWWWW";  // 24 letters W
constexpr std::string_view kGlyphAdvanceSample = "W.";

}  // namespace

char GroupMemberGlyph(char kind, int member) {
  if (kind == 'S') return glyphs::Sign(member);
  if (kind == 'H') return glyphs::Cusp(member);
  return glyphs::Point(member);
}

void DrawGroupItem(platform::Dc& dc, const Groups& store, int index, const platform::Rect& item,
                   bool selected, platform::Color background, int fontSize) {
  const char kind = store.CurrentKind();
  if (index < 0 || index >= store.Count(kind)) return;
  const GroupRecord& group = store.Group(kind, index);

  dc.FillRect(item, selected ? ColorByIndex(kColourSelectedFill) : background);
  const platform::Font oldFont =
      dc.SelectFont(platform::Font{std::string(platform::kTextFace), fontSize});
  const platform::Color oldColour =
      dc.SetTextColor(ColorByIndex(selected ? kColourSelectedText : kColourText));
  const platform::BkMode oldMode = dc.SetBkMode(platform::BkMode::Transparent);
  const unsigned oldAlign = dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);

  const int nameWidth = dc.GetTextExtent(kNameWidthSample).cx;
  const int advance = dc.GetTextExtent(kGlyphAdvanceSample).cx;
  dc.TextOut(item.left, item.top, FitTextToWidth(dc, group.name, nameWidth));
  const int glyphCount = std::min<int>(group.count, kGroupListMaxGlyphs);
  for (int m = 0; m < glyphCount; ++m) {
    const int x = item.left + nameWidth + m * advance;
    DrawGlyphText(dc, x, item.top,
                  GroupMemberGlyph(kind, group.members[static_cast<std::size_t>(m)]), 'a', fontSize,
                  platform::BkMode::Transparent);
  }

  dc.SetTextAlign(oldAlign);
  dc.SetBkMode(oldMode);
  dc.SetTextColor(oldColour);
  dc.SelectFont(oldFont);
}
