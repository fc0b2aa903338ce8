// The pictures of the aspect-system editor: one line of the aspect list (texts, colour swatches,
// line sample) and the line sample of the aspect dialog. Device pixels (MM_TEXT).
#pragma once

#include <vector>

#include "astro/aspects/aspect.h"
#include "platform/core/dc.h"

namespace settings {

// Palette colours of a list line.
inline constexpr int kListSelectedText = 3;
inline constexpr int kListFrame = 0;

// The columns of the list, the same for every line and for the heading above them: one font for
// every text (the text face at the size whose height fits a line), the abbreviation at 0.015 of
// the width, the angle and the orbs at multiples of the width of "000:00 " (moved right when the
// abbreviations need it), the type at 0.75 of
// the width - 30 and the strength at 0.83 - 30 unless the texts before them need more room, and
// the two colour swatches and the line sample at the right, widened for their headings.
struct AspectListLayout {
  int fontSize = 100;  // tenths of a point
  int unit = 1;        // the width of "000:00 "
  int lead = 0;        // the angle and orbs moved right by this, for the abbreviations
  int type = 0;        // the type's and the strength's columns, from the left edge
  int strength = 0;
  double tail = 1.0;  // the swatch and line offsets from the right edge are scaled by this
  int Swatch(int right) const { return right - static_cast<int>(80 * tail); }
  int ExactSwatch(int right) const { return right - static_cast<int>(54 * tail); }
  int Sample(int right) const { return right - static_cast<int>(30 * tail); }
};

// The layout of a list `listWidth` wide whose lines are `itemHeight` high and hold `rows`.
AspectListLayout LayoutAspectList(platform::Dc& dc, const std::vector<AspectTexts>& rows,
                                  int listWidth, int itemHeight);
// The least width at which every column of `rows` keeps a blank before the next.
int AspectListWidth(platform::Dc& dc, const std::vector<AspectTexts>& rows, int itemHeight);

// The column headings over the list's lines, in `item` (one line high) in the lines' font:
// "Имя", "Дуга", "Орб-1" .. "Орб-5", "Точн", "Тип", "Сила", "Цвет", "Точн", "Линия".
void DrawAspectListHeading(platform::Dc& dc, const platform::Rect& item,
                           const AspectListLayout& layout);

// Draws aspect `aspect` into the list line `item` by `layout`; a selected line takes palette
// colour 3 for its texts and a frame in palette colour 0, an unselected one a frame in
// `background`.
void DrawAspectListItem(platform::Dc& dc, const Aspect& aspect, const platform::Rect& item,
                        const AspectListLayout& layout, bool selected, platform::Color background);

// The pen width of an aspect's line: 3 when thick, else 1.
inline int AspectLineWidth(int thickness) { return thickness == 1 ? 3 : 1; }

// The line sample of the aspect dialog inside `box`: from 2 pixels inside its left edge to 2 inside
// its right edge at half height, in `style`, palette colour 0.
void DrawLineSample(platform::Dc& dc, const platform::Rect& box, int style, int thickness);

}  // namespace settings
