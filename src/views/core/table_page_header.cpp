#include "views/core/table_page_header.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "astro/chart/chart.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/page_frame.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace {

constexpr int kNothingUnder = 3;
constexpr int kShortFrame = 11000;
constexpr int kOrnamentSize = 6000;
constexpr int kTitleSize = 4000;
constexpr int kFramePen = 20;

}  // namespace

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
  const platform::Size innerBlock = inner.DrawHeader(dc, left + 200, -200 - top, 0, true);
  PageHeadBlocks blocks{left + 200 + innerBlock.cx, 0, -200 - top - innerBlock.cy};
  if (outer != nullptr) {
    const platform::Size outerBlock =
        outer->DrawHeader(dc, kA4Width - 200 - right, -200 - top, 1, true);
    blocks.rightStart = kA4Width - 200 - right - outerBlock.cx;
    blocks.bottom = std::min(blocks.bottom, -200 - top - outerBlock.cy);
  } else {
    const unsigned oldAlign =
        dc.SetTextAlign(platform::TextAlign::kRight | platform::TextAlign::kTop);
    const platform::Font oldFont =
        dc.SelectFont({std::string(platform::kGlyphFaceA), kOrnamentSize});
    dc.TextOut(kA4Width - 700 - right, -250 - top, glyphs::kOrnament);
    blocks.rightStart = kA4Width - 700 - right - dc.GetTextExtent(glyphs::kOrnament).cx;
    blocks.bottom = std::min(blocks.bottom, -250 - top - dc.GetTextMetrics().height);
    dc.SelectFont(oldFont);
    dc.SetTextAlign(oldAlign);
  }

  if (sameLayout < 0) {
    const int page = -sameLayout;
    std::string title = GetMessageText(kMsgMidpointList);
    if (page > 1) {
      char number[16];
      std::snprintf(number, sizeof number, "%d", page);
      title += " (" + GetMessageText(kMsgPageWord) + ' ' + number + ')';
    }
    const unsigned oldAlign =
        dc.SetTextAlign(platform::TextAlign::kCenter | platform::TextAlign::kTop);
    const platform::Font oldFont = dc.SelectFont({std::string(platform::kTextFace), kTitleSize});
    dc.TextOut((left + kA4Width - right) / 2, -top - 600, title);
    dc.SelectFont(oldFont);
    dc.SetTextAlign(oldAlign);
  }
  dc.SetBkMode(oldMode);
  dc.SetTextColor(oldColour);
  return blocks;
}
