// Where the title of a printed page stands beside the blocks of its head (the chart's block at the
// upper left, the ornament or the second chart's block at the upper right): centred between the
// margins when it clears both, else centred in the room between them at a somewhat smaller size,
// else on a line of its own under them. Units of 0.01 mm, y negative downwards.
#pragma once

#include <string>
#include <string_view>

#include "platform/core/dc.h"

namespace cfg {
struct PrintSettings;
}

// The head's blocks: the right edge of the left one, the left edge of the right one, and the
// lowest bottom of the two (negative).
struct PageHeadBlocks {
  int leftEnd = 0;
  int rightStart = 0;
  int bottom = 0;
};

struct PageTitlePlace {
  int centre = 0;      // x of the title's middle
  int top = 0;         // y of its top
  int size = 0;        // "Vudurez" size, tenths of a point
  int bottom = 0;      // y under the title and the blocks: where the page's content may begin
  bool below = false;  // on a line of its own under the blocks
};

inline constexpr int kHeadTitleSize = 4000;      // the title's size, tenths of a point
inline constexpr int kHeadTitleDrop = 600;       // its top below the top margin, beside the blocks
inline constexpr int kHeadTitleSmallest = 3000;  // the smallest size it takes beside them
inline constexpr int kHeadTitleGap = 300;        // between the title and a block
inline constexpr int kHeadContentGap = 200;      // between the head and the page's content

// Measures `title` (code page 1251) in `dc` and places it; `size` is the size it takes where it
// clears the blocks (a page may keep a size of its own).
PageTitlePlace PlacePageTitle(platform::Dc& dc, const cfg::PrintSettings& print,
                              std::string_view title, const PageHeadBlocks& blocks,
                              int size = kHeadTitleSize);
// Where the page's content begins (y, negative): at `usualTop`, its place when the head is short,
// or kHeadContentGap under the title and the blocks where they reach lower (a long header, a
// title under it). Every printed page with a head lays its content out from here.
int PageContentTop(const PageTitlePlace& place, int usualTop);
// Draws `title` where `place` says, in black; the font and alignment are restored.
void DrawPlacedTitle(platform::Dc& dc, const PageTitlePlace& place, std::string_view title);

// The left edge of the ornament "?;<=>" of a printed page (in "VelmAstro5a" at 6000, ending at
// 20300 - right margin), and its bottom.
int PageOrnamentLeft(platform::Dc& dc, const cfg::PrintSettings& print);
int PageOrnamentBottom(platform::Dc& dc, const cfg::PrintSettings& print);
