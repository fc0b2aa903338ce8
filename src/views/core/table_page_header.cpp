#include "views/core/table_page_header.h"

#include <algorithm>
#include <string>

#include "astro/chart/chart.h"
#include "astro/chart/chart_header.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/page_frame.h"
#include "foundation/lists/column_pages.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace {

constexpr int kNothingUnder = 3;
constexpr int kShortFrame = 11000;
constexpr int kOrnamentSize = 6000;
constexpr int kFramePen = 20;
// The identification blocks from the margins, the ornament's right end and top.
constexpr int kBlockInset = 200, kBlockDrop = 200;
constexpr int kOrnamentInset = 700, kOrnamentDrop = 250;

// The width of each identification block: half the head's when there are two, else any.
int BlockWidth(const cfg::PrintSettings& print, bool two) {
  return two ? HeaderPairWidth(print.marginLeft + kBlockInset,
                               kA4Width - kBlockInset - print.marginRight)
             : kHeaderAnyWidth;
}

}  // namespace

PageHeadBlocks TablePageHeadBlocks(platform::Dc& dc, const Configuration& config,
                                   const Chart& inner, const Chart* outer) {
  const cfg::PrintSettings& print = config.print;
  const int top = print.marginTop, right = print.marginRight;
  const platform::Size innerBlock =
      MeasureChartHeader(inner, dc, true, BlockWidth(print, outer != nullptr));
  PageHeadBlocks blocks{print.marginLeft + kBlockInset + innerBlock.cx, 0,
                        -kBlockDrop - top - innerBlock.cy};
  if (outer != nullptr) {
    const platform::Size outerBlock = MeasureChartHeader(*outer, dc, true, BlockWidth(print, true));
    blocks.rightStart = kA4Width - kBlockInset - right - outerBlock.cx;
    blocks.bottom = std::min(blocks.bottom, -kBlockDrop - top - outerBlock.cy);
  } else {
    const platform::Font oldFont =
        dc.SelectFont({std::string(platform::kGlyphFaceA), kOrnamentSize});
    blocks.rightStart = kA4Width - kOrnamentInset - right - dc.GetTextExtent(glyphs::kOrnament).cx;
    blocks.bottom = std::min(blocks.bottom, -kOrnamentDrop - top - dc.GetTextMetrics().height);
    dc.SelectFont(oldFont);
  }
  return blocks;
}

std::string MidpointListTitle(int page) {
  return lists::PageTitle(GetMessageText(kMsgMidpointList), page);
}

PageHeadBlocks DrawTablePageHeader(platform::Dc& dc, const Configuration& config,
                                   const Chart& inner, const Chart* outer, int sameLayout) {
  const cfg::PrintSettings& print = config.print;
  const int left = print.marginLeft, top = print.marginTop, right = print.marginRight;

  const platform::Pen oldPen =
      dc.SelectPen({platform::PenStyle::Solid, kFramePen, platform::kBlack});
  config.DrawPageFrame(dc, {0, 0, 0, sameLayout == kNothingUnder ? kShortFrame : 0});
  dc.SelectPen(oldPen);

  const platform::Color oldColour = dc.SetTextColor(platform::kBlack);
  const platform::BkMode oldMode = dc.SetBkMode(platform::BkMode::Transparent);
  inner.DrawHeader(dc, left + kBlockInset, -kBlockDrop - top, 0, true,
                   BlockWidth(print, outer != nullptr));
  if (outer != nullptr) {
    outer->DrawHeader(dc, kA4Width - kBlockInset - right, -kBlockDrop - top, 1, true,
                      BlockWidth(print, true));
  } else {
    const unsigned oldAlign =
        dc.SetTextAlign(platform::TextAlign::kRight | platform::TextAlign::kTop);
    const platform::Font oldFont =
        dc.SelectFont({std::string(platform::kGlyphFaceA), kOrnamentSize});
    dc.TextOut(kA4Width - kOrnamentInset - right, -kOrnamentDrop - top, glyphs::kOrnament);
    dc.SelectFont(oldFont);
    dc.SetTextAlign(oldAlign);
  }
  const PageHeadBlocks blocks = TablePageHeadBlocks(dc, config, inner, outer);
  if (sameLayout < 0) {
    // A page of the midpoint list: its title beside the blocks or under them.
    const std::string title = MidpointListTitle(-sameLayout);
    DrawPlacedTitle(dc, PlacePageTitle(dc, print, title, blocks), title);
  }
  dc.SetBkMode(oldMode);
  dc.SetTextColor(oldColour);
  return blocks;
}
