#include "forecast/core/pred_list_print.h"

#include <algorithm>

#include "astro/chart/chart_header.h"
#include "forecast/core/event_listing.h"
#include "forecast/core/pred_list_file.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/font_fitting.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/page_frame.h"
#include "foundation/drawing/page_title.h"
#include "foundation/drawing/palette.h"
#include "foundation/drawing/text_layout.h"
#include "foundation/lists/column_pages.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace forecast {

namespace {

constexpr std::string_view kDateSample = "01:01:0000+  11:11  ";
constexpr std::string_view kLifePointText = "LP";
constexpr int kMarkIndent = 1000;  // a marked record on the print view
constexpr int kMovingGap = 400;
constexpr int kPrintLeft = 100;  // right of the left margin
constexpr int kCommentIndent = 1000;
// The printed head: the person's block where DrawPrintedPageFrame puts it, the list's name under
// the title, gaps between the head's lines, and the widest page number a title is measured with.
constexpr int kBlockLeft = 400, kBlockDrop = 150;
constexpr int kListNameSize = 3000;
constexpr int kLineGap = 150;
constexpr int kWidestPage = 999;
// List box columns (pixels) and the indent of a marked record.
constexpr int kBoxIndent = 20;
constexpr int kBoxMoving = 90, kBoxMovingLabel = 103, kBoxTarget = 170, kBoxTargetLabel = 183;
constexpr int kBoxAspect = 250, kBoxPhase = 265, kBoxPlus = 278, kBoxArc = 305;
constexpr int kBoxGlyphBound = 500;  // tenths of a point
constexpr int kBoxAnyWidth = 1 << 20;
constexpr std::string_view kBoxMomentSample = "01:01:0000+  11:11 ";
// Palette colours of the list box.
constexpr int kBoxText = 0, kBoxMarked = 7, kBoxSelectedFill = 1, kBoxSelectedText = 14;

void Glyph(platform::Dc& dc, int x, int y, char glyph, char face, int size) {
  DrawGlyphText(dc, x, y, glyph, face, size, platform::BkMode::Transparent);
}

// The moving object: "LP" in the selected font for the life point, else its glyph.
void DrawMoving(platform::Dc& dc, const PredListRecord& r, int x, int y, int size) {
  if (r.IsLifePoint())
    dc.TextOut(x, y, kLifePointText);
  else
    Glyph(dc, x, y, glyphs::Point(r.moving), 'a', size);
}

}  // namespace

std::vector<std::string> WrapComment(std::string_view comment, std::size_t width) {
  std::vector<std::string> lines;
  const auto add = [&](std::string_view text) {
    if (!text.empty()) lines.emplace_back(text);
  };
  width = std::max<std::size_t>(1, width);
  std::size_t begin = 0;
  std::size_t blank = std::string_view::npos;
  for (std::size_t pos = 0; pos < comment.size(); ++pos) {
    if (comment[pos] == ' ') blank = pos;
    if (pos - begin != width) continue;
    if (blank != std::string_view::npos && blank >= begin) {
      add(comment.substr(begin, blank - begin));
      begin = blank + 1;
    } else {
      add(comment.substr(begin, width));
      begin = pos;
    }
    blank = std::string_view::npos;
  }
  if (begin < comment.size()) add(comment.substr(begin));
  return lines;
}

std::vector<PredPrintLine> BuildPrintLines(const std::vector<PredListRecord>& records) {
  std::vector<PredPrintLine> lines;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const int record = static_cast<int>(i);
    lines.push_back({PredPrintLine::Kind::kRecord, record, {}});
    for (std::string& text : WrapComment(records[i].comment))
      lines.push_back({PredPrintLine::Kind::kComment, record, std::move(text)});
  }
  return lines;
}

namespace {

// The factor the list box's columns are widened by for the selected font.
double BoxColumnScale(platform::Dc& dc) {
  return std::max(1.0, dc.GetTextExtent(kBoxMomentSample).cx / double{kBoxMoving});
}

}  // namespace

int PredListLineWidth(platform::Dc& dc) {
  const double scale = BoxColumnScale(dc);
  const int arc =
      std::max(dc.GetTextExtent("-999.99").cx, dc.GetTextExtent(GetMessageText(kMsgArcColumn)).cx);
  return static_cast<int>((kBoxArc + kBoxIndent) * scale) + arc;
}

void DrawPredListHead(platform::Dc& dc, const platform::Rect& head, platform::Color background) {
  platform::DcState keep(dc);
  dc.FillRect(head, background);
  dc.SetTextColor(ColorByIndex(kBoxText));
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  const double scale = BoxColumnScale(dc);
  const auto at = [&](int column) { return head.left + static_cast<int>(column * scale); };
  const int y = head.top;
  dc.TextOut(at(0), y, GetMessageText(kMsgLunarMomentColumn));
  dc.TextOut(at(kBoxMoving), y, GetMessageText(kMsgMovingColumn));
  dc.TextOut(at(kBoxTarget), y, GetMessageText(kMsgTargetColumn));
  dc.TextOut(at(kBoxAspect), y, GetMessageText(kMsgLunarAspectColumn));
  dc.TextOut(at(kBoxArc), y, GetMessageText(kMsgArcColumn));
}

void DrawPredListItem(platform::Dc& dc, const platform::Rect& item, const PredListRecord& r,
                      bool selected, platform::Color background) {
  platform::DcState keep(dc);
  const bool marked = r.IsMarked();
  dc.FillRect(item, selected ? ColorByIndex(kBoxSelectedFill) : background);
  int colour = marked ? kBoxMarked : kBoxText;
  if (selected && !marked) colour = kBoxSelectedText;
  dc.SetTextColor(ColorByIndex(colour));
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  const int height = std::abs(item.bottom - item.top);
  // The largest glyph size up to the bound whose glyphs fit the line's height.
  const int sizeA =
      FitFontSizeToBox(dc, platform::kGlyphFaceA, kBoxGlyphBound, height, kBoxAnyWidth, true);
  const int sizeB =
      FitFontSizeToBox(dc, platform::kGlyphFaceB, kBoxGlyphBound, height, kBoxAnyWidth, true);
  // The columns are placed for a moment text 90 pixels wide; a wider font widens them all.
  const double scale = BoxColumnScale(dc);
  const auto at = [&](int column) {
    return item.left + static_cast<int>((column + (marked ? kBoxIndent : 0)) * scale);
  };
  const int y = item.top;
  dc.TextOut(at(0), y, PredMomentText(r.when, r.showTime == 'Y'));
  if (r.IsLifePoint() || sizeA > 0) DrawMoving(dc, r, at(kBoxMoving), y, sizeA);
  if (sizeA > 0) Glyph(dc, at(kBoxTarget), y, glyphs::Point(r.target), 'a', sizeA);
  if (!r.IsLifePoint()) dc.TextOut(at(kBoxMovingLabel), y, ChartDefinitionLabel(r.movingChart));
  dc.TextOut(at(kBoxTargetLabel), y, ChartDefinitionLabel(r.targetChart));
  if (sizeB > 0) {
    DrawAspectCode(dc, at(kBoxAspect), y, sizeB, r.aspect);
    Glyph(dc, at(kBoxPhase), y, PhaseGlyph(r.phase), 'b', sizeB);
  }
  if (r.orbKind == 'E') dc.TextOut(at(kBoxPlus), y, "+");
  dc.TextOut(at(kBoxArc), y, PredArcText(r));
}

PredListPrintout::PredListPrintout(const std::vector<PredListRecord>& records, std::string listName,
                                   int fontSize, int interval, const Configuration& config,
                                   const Chart* person)
    : records_(records),
      name_(std::move(listName)),
      fontSize_(std::max(1, fontSize)),
      interval_(std::max(1, interval)),
      config_(config),
      person_(person) {}

int PredListPrintout::ScreenRowHeight(platform::Dc& dc) const {
  return std::max(1, SampleW(dc, fontSize_).cy * interval_ / 100);
}

void PredListPrintout::DrawRow(platform::Dc& dc, const PredListRecord& r, int dateX, int movingX,
                               int y) const {
  platform::DcState keep(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.SelectFont(TextFont(fontSize_));
  const int d = dc.GetTextExtent(kDateSample).cx;
  const int w = dc.GetTextExtent("W").cx;
  dc.TextOut(dateX, y, PredMomentText(r.when, r.showTime == 'Y'));
  const int m = movingX;
  DrawMoving(dc, r, m, y, fontSize_);
  Glyph(dc, m + d, y, glyphs::Point(r.target), 'a', fontSize_);
  if (!r.IsLifePoint()) dc.TextOut(m + 2 * w, y, ChartDefinitionLabel(r.movingChart));
  dc.TextOut(m + d + 2 * w, y, ChartDefinitionLabel(r.targetChart));
  const int n = m + 2 * d + 2 * w;
  DrawAspectCode(dc, n, y, fontSize_, r.aspect);
  Glyph(dc, n + 2 * w, y, PhaseGlyph(r.phase), 'b', fontSize_);
  if (r.orbKind == 'E') dc.TextOut(n + 4 * w, y, "+");
  dc.TextOut(n + 6 * w, y, PredArcText(r));
}

void PredListPrintout::DrawColumnNames(platform::Dc& dc, int dateX, int y) const {
  platform::DcState keep(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextColor(platform::kBlack);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.SelectFont(TextFont(fontSize_));
  const int d = dc.GetTextExtent(kDateSample).cx;
  const int w = dc.GetTextExtent("W").cx;
  // Over the columns of an unmarked row: the moment, the moving object and its chart, the target
  // and its chart, the aspect with its phase, the arc.
  const int m = dateX + d + kMovingGap;
  const int n = m + 2 * d + 2 * w;
  dc.TextOut(dateX, y, GetMessageText(kMsgLunarMomentColumn));
  dc.TextOut(m, y, GetMessageText(kMsgMovingColumn));
  dc.TextOut(m + d, y, GetMessageText(kMsgTargetColumn));
  dc.TextOut(n, y, GetMessageText(kMsgLunarAspectColumn));
  dc.TextOut(n + 6 * w, y, GetMessageText(kMsgArcColumn));
}

void PredListPrintout::DrawScreenRow(platform::Dc& dc, int record, int y) const {
  if (record < 0 || record >= Count()) return;
  const PredListRecord& r = records_[static_cast<std::size_t>(record)];
  const int d = [&] {
    const platform::Font old = dc.SelectFont(TextFont(fontSize_));
    const int width = dc.GetTextExtent(kDateSample).cx;
    dc.SelectFont(old);
    return width;
  }();
  const int indent = r.IsMarked() ? kMarkIndent : 0;
  DrawRow(dc, r, kScreenLeft, d + indent + kMovingGap, y);
}

int PredListPrintout::PreparePrinting(platform::Dc& dc) {
  lines_ = BuildPrintLines(records_);
  const cfg::PrintSettings& p = config_.print;
  rowHeight_ = ScreenRowHeight(dc);
  // The rows begin under the deepest head: the title of a later page, longer by its number, may
  // have to stand under the blocks where the first page's stood beside them.
  const int headBottom = std::min(DrawPageHead(dc, 1, false), DrawPageHead(dc, kWidestPage, false));
  firstTop_ = std::max(p.marginTop + kHeaderHeight, -headBottom);
  rowsPerPage_ = lists::FitCount(kA4Height - p.marginBottom - firstTop_, rowHeight_);
  return lists::ColumnPageLayout(rowsPerPage_, 1, lists::ColumnOrder::kDown)
      .PageCount(static_cast<int>(lines_.size()));
}

int PredListPrintout::DrawPageHead(platform::Dc& dc, int page, bool draw) const {
  platform::DcState keep(dc);
  const cfg::PrintSettings& p = config_.print;
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextColor(platform::kBlack);
  PageHeadBlocks blocks{p.marginLeft, PageOrnamentLeft(dc, p), PageOrnamentBottom(dc, p)};
  if (person_ != nullptr) {
    // The person whose list it is, as every printed page of a chart names it.
    const platform::Size block =
        draw ? DrawPrintedPageFrame(dc, *person_, config_) : MeasureChartHeader(*person_, dc, true);
    blocks.leftEnd = p.marginLeft + kBlockLeft + block.cx;
    blocks.bottom = std::min(blocks.bottom, -kBlockDrop - p.marginTop - block.cy);
  } else if (draw) {
    config_.DrawPageFrame(dc, {0, 0, 0, 0});
    DrawPageOrnament(dc, config_);
  }
  const std::string title = lists::PageTitle(GetMessageText(kMsgAspectList), page);
  const PageTitlePlace place = PlacePageTitle(dc, p, title, blocks);
  if (draw) DrawPlacedTitle(dc, place, title);
  // The list's name on a line of its own under the title, cut only where the page ends.
  dc.SelectFont(TextFont(kListNameSize));
  const int nameTop = place.bottom - kLineGap;
  const int nameLeft = p.marginLeft + kPrintLeft;
  if (draw) {
    dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
    dc.TextOut(nameLeft, nameTop,
               FitTextToWidth(dc, GetMessageText(kMsgListNameWord) + ": " + name_,
                              kA4Width - p.marginRight - kPrintLeft - nameLeft));
  }
  const int namesTop = nameTop - dc.GetTextMetrics().height - kLineGap;
  if (draw) DrawColumnNames(dc, p.marginLeft + kPrintLeft, namesTop);
  return namesTop - rowHeight_;
}

void PredListPrintout::DrawPage(platform::Dc& dc, int page) const {
  DrawPageHead(dc, page, true);
  const int first = (page - 1) * rowsPerPage_;
  const int count = static_cast<int>(lines_.size());
  const int left = config_.print.marginLeft + kPrintLeft;
  platform::DcState keep(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.SelectFont(TextFont(fontSize_));
  const int d = dc.GetTextExtent(kDateSample).cx;
  for (int j = 0; j < rowsPerPage_ && first >= 0 && first + j < count; ++j) {
    const PredPrintLine& line = lines_[static_cast<std::size_t>(first + j)];
    const int y = -(firstTop_ + rowHeight_ * j);
    if (line.kind == PredPrintLine::Kind::kComment) {
      dc.TextOut(left + kCommentIndent, y, line.text);
      continue;
    }
    const PredListRecord& r = records_[static_cast<std::size_t>(line.record)];
    const int dateX = left + (r.IsMarked() ? kMarkIndent : 0);
    DrawRow(dc, r, dateX, dateX + d + kMovingGap, y);
  }
}

}  // namespace forecast
