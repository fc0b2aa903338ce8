// One row of the group editor's list: the group's name at the left edge, cut with "..." to the
// width of 24 letters W, then one glyph per member (at most 17) in "VelmAstro5a", each advanced
// by the width of "W.". A selected row is filled with palette colour 1 and drawn in colour 14,
// another row with the list's background and drawn in colour 0.
#pragma once

#include "conditions/core/groups.h"
#include "platform/core/dc.h"

inline constexpr int kGroupListMaxGlyphs = 17;

// The glyph of member `member` of a group of `kind`: a chart point 'M' + index, a sign 'A' +
// index, a house 'o' + index.
char GroupMemberGlyph(char kind, int member);

// Draws group `index` of the store's current kind into `item` (MM_TEXT, y down) in the list's
// font, the text face at `fontSize` (tenths of a point). Nothing is drawn when the kind has no
// such group.
void DrawGroupItem(platform::Dc& dc, const Groups& store, int index, const platform::Rect& item,
                   bool selected, platform::Color background, int fontSize);
