// The pictures of the aspect-system editor: one line of the aspect list (texts, colour swatches,
// line sample) and the line sample of the aspect dialog. Device pixels (MM_TEXT).
#pragma once

#include "astro/aspects/aspect.h"
#include "platform/core/dc.h"

namespace settings {

// Palette colours of a list line.
inline constexpr int kListSelectedText = 3;
inline constexpr int kListFrame = 0;

// Draws aspect `aspect` into the list line `item` of a list `listWidth` wide; a selected line
// takes palette colour 3 for its texts and a frame in palette colour 0, an unselected one a frame
// in `background`.
void DrawAspectListItem(platform::Dc& dc, const Aspect& aspect, const platform::Rect& item,
                        int listWidth, bool selected, platform::Color background);

// The pen width of an aspect's line: 3 when thick, else 1.
inline int AspectLineWidth(int thickness) { return thickness == 1 ? 3 : 1; }

// The line sample of the aspect dialog inside `box`: from 2 pixels inside its left edge to 2 inside
// its right edge at half height, in `style`, palette colour 0.
void DrawLineSample(platform::Dc& dc, const platform::Rect& box, int style, int thickness);

}  // namespace settings
