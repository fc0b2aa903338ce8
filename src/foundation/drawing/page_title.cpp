#include "foundation/drawing/page_title.h"

#include <algorithm>
#include <string>

#include "foundation/config/configuration.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/page_frame.h"

namespace {

constexpr int kOrnamentSize = 6000;
constexpr int kOrnamentRight = 20300;
constexpr int kOrnamentDrop = 250;
constexpr int kSizeStep = 100;
constexpr int kLineGap = 150;  // between the blocks and a title under them

platform::Font TitleFont(int size) {
  return platform::Font{std::string(platform::kTextFace), size, 0, false, false};
}

platform::Font OrnamentFont() {
  return platform::Font{std::string(platform::kGlyphFaceA), kOrnamentSize, 0, false, false};
}

}  // namespace

int PageOrnamentLeft(platform::Dc& dc, const cfg::PrintSettings& print) {
  const platform::Font old = dc.SelectFont(OrnamentFont());
  const int width = dc.GetTextExtent(glyphs::kOrnament).cx;
  dc.SelectFont(old);
  return kOrnamentRight - print.marginRight - width;
}

int PageOrnamentBottom(platform::Dc& dc, const cfg::PrintSettings& print) {
  const platform::Font old = dc.SelectFont(OrnamentFont());
  const int height = dc.GetTextMetrics().height;
  dc.SelectFont(old);
  return -kOrnamentDrop - print.marginTop - height;
}

PageTitlePlace PlacePageTitle(platform::Dc& dc, const cfg::PrintSettings& print,
                              std::string_view title, const PageHeadBlocks& blocks, int titleSize) {
  const platform::Font old = dc.SelectFont(TitleFont(titleSize));
  const auto width = [&dc, &title](int size) {
    dc.SelectFont(TitleFont(size));
    return dc.GetTextExtent(title).cx;
  };
  const auto height = [&dc](int size) {
    dc.SelectFont(TitleFont(size));
    return dc.GetTextMetrics().height;
  };
  PageTitlePlace place;
  place.top = -kHeadTitleDrop - print.marginTop;
  place.size = titleSize;
  const int middle = (print.marginLeft + (kA4Width - print.marginRight)) / 2;
  const int roomLeft = blocks.leftEnd + kHeadTitleGap;
  const int roomRight = blocks.rightStart - kHeadTitleGap;
  const int full = width(titleSize);
  if (middle - full / 2 >= roomLeft && middle + full / 2 <= roomRight) {
    // Centred between the margins, clear of both blocks.
    place.centre = middle;
  } else {
    int size = titleSize;
    while (size > kHeadTitleSmallest && width(size) > roomRight - roomLeft) size -= kSizeStep;
    if (width(size) <= roomRight - roomLeft) {
      // Between the blocks, at the size that fits there.
      place.centre = (roomLeft + roomRight) / 2;
      place.size = size;
    } else {
      // No room beside the blocks: a line of its own under them.
      place.centre = middle;
      place.top = blocks.bottom - kLineGap;
      place.below = true;
    }
  }
  place.bottom = std::min(blocks.bottom, place.top - height(place.size));
  dc.SelectFont(old);
  return place;
}

int PageContentTop(const PageTitlePlace& place, int usualTop) {
  return std::min(usualTop, place.bottom - kHeadContentGap);
}

void DrawPlacedTitle(platform::Dc& dc, const PageTitlePlace& place, std::string_view title) {
  const platform::Font oldFont = dc.SelectFont(TitleFont(place.size));
  const unsigned oldAlign =
      dc.SetTextAlign(platform::TextAlign::kCenter | platform::TextAlign::kTop);
  const platform::Color oldColour = dc.SetTextColor(platform::kBlack);
  const platform::BkMode oldMode = dc.SetBkMode(platform::BkMode::Transparent);
  dc.TextOut(place.centre, place.top, title);
  dc.SetBkMode(oldMode);
  dc.SetTextColor(oldColour);
  dc.SetTextAlign(oldAlign);
  dc.SelectFont(oldFont);
}
