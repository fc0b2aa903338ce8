#include "forecast/core/lun_tran_listing.h"

#include <algorithm>
#include <string>

#include "astro/aspects/aspect_system.h"
#include "astro/chart/chart.h"
#include "astro/chart/chart_header.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/page_frame.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"

namespace forecast {

namespace {

constexpr int kPrintColumnChars = LunTranListing::kScreenChars - 5;
constexpr int kSubtitleSize = 3500;
constexpr double kSubtitleDrop = 0.8;  // title heights below the title
constexpr double kMomentScale = 0.9;
constexpr double kAspectOffset = 8.5;  // widths of "W" from the line's start
constexpr double kGlyphStep = 1.5;
constexpr char kWidestMoment[] = "00:00:0000  00:00";  // the widest moment's text

// Where the aspect stands: 8.5 widths of "W" after the line's start, never over the moment's
// text (in the moment's font, selected).
int AspectOffset(platform::Dc& dc, const std::string& moment, int w) {
  return std::max(static_cast<int>(kAspectOffset * w), dc.GetTextExtent(moment).cx + w / 2);
}

}  // namespace

LunTranListing::LunTranListing(const std::vector<LunarTransitEvent>& events,
                               const ListDisplaySettings& display, const AspectSystem* system,
                               bool natalTarget, const Configuration& config, const Chart& chart)
    : events_(events),
      display_(display.Clamped()),
      system_(system),
      natalTarget_(natalTarget),
      config_(config),
      chart_(chart),
      headingTop_(config.print.marginTop + kPrintTop) {}

int LunTranListing::FrameWidth(platform::Dc& dc) const {
  return kScreenChars * SampleW(dc, display_.screenFontSize).cx;
}

int LunTranListing::ListHeight(platform::Dc& dc) const {
  const double pitch = display_.screenLineSpacing * SampleW(dc, display_.screenFontSize).cy;
  return static_cast<int>((Count() + 3) * pitch);
}

int LunTranListing::FrameRaise(int rowsUsed, double pitch, int headingTop, int bottomMargin) {
  const int frameBottom = static_cast<int>((rowsUsed + 2) * pitch) + headingTop;
  return std::max(0, (kA4Height - bottomMargin) - frameBottom);
}

ListingScreen LunTranListing::MeasureScreen(platform::Dc& dc) {
  screenPitch_ =
      std::max(1.0, display_.screenLineSpacing * SampleW(dc, display_.screenFontSize).cy);
  // The column headings, then the lines one pitch lower.
  return {kScreenLeft, kScreenTop + static_cast<int>(screenPitch_), screenPitch_};
}

ListingPaper LunTranListing::MeasurePrint(platform::Dc& dc) {
  const platform::Size w = SampleW(dc, display_.printFontSize);
  const cfg::PrintSettings& p = config_.print;
  const int usable = kA4Width - p.marginLeft - p.marginRight - kPrintLeft;
  const int columns = lists::FitColumns(usable, kPrintColumnChars * w.cx, display_.printColumns);
  const double pitch = std::max(1.0, display_.printLineSpacing * w.cy);
  const int heading = static_cast<int>(pitch);
  // The headings under the titles however far a long header pushes them down.
  const PrintedTitles titles =
      PlaceTitles(dc, lists::WidestPageTitle(GetMessageText(kMsgLunarTransitsTitle), Count()));
  headingTop_ = -PageContentTop({.bottom = titles.bottom}, -(kPrintTop + p.marginTop));
  const int lines = lists::FitCount(kA4Height - headingTop_ - p.marginBottom - heading, pitch);
  paper_.layout =
      lists::ColumnPageLayout(lines, columns, lists::ColumnOrderOf(display_.printOrder));
  paper_.left = kPrintLeft + p.marginLeft;
  paper_.top = headingTop_ + heading;
  paper_.pitch = pitch;
  paper_.columnStep = static_cast<double>(usable / paper_.layout.Columns());
  return paper_;
}

void LunTranListing::DrawEvent(platform::Dc& dc, const LunarTransitEvent& e, int x, int y,
                               int size) const {
  platform::DcState keep(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  const int w = SampleW(dc, size).cx;
  dc.SelectFont(TextFont(static_cast<int>(size * kMomentScale)));
  const std::string moment = e.when.ToText();
  dc.TextOut(x, y, moment);
  const int aspectX = x + AspectOffset(dc, moment, w);
  if (!e.IsIngress()) {
    if (system_ != nullptr && e.aspect >= 0 && e.aspect < system_->Count())
      system_->GetAspect(e.aspect).DrawGlyph(dc, aspectX, y, size, e.phase == 'E' ? 2 : 0);
    else
      DrawAspectCode(dc, aspectX, y, size, -1);
  }
  const int targetX = aspectX + static_cast<int>(kGlyphStep * w);
  DrawGlyphText(dc, targetX, y, EventTargetGlyph(e.target), 'a', size,
                platform::BkMode::Transparent);
  if (e.IsIngress()) return;
  DrawGlyphText(dc, targetX + static_cast<int>(kGlyphStep * w), y, PhaseGlyph(e.phase), 'b', size,
                platform::BkMode::Transparent);
}

void LunTranListing::DrawColumnHeads(platform::Dc& dc, int x, int y, int size) const {
  platform::DcState keep(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  const int w = SampleW(dc, size).cx;
  dc.SelectFont(TextFont(static_cast<int>(size * kMomentScale)));
  dc.TextOut(x, y, GetMessageText(kMsgLunarMomentColumn));
  dc.TextOut(x + AspectOffset(dc, kWidestMoment, w), y, GetMessageText(kMsgLunarAspectColumn));
}

void LunTranListing::DrawHead(platform::Dc& dc) {
  DrawColumnHeads(dc, kScreenLeft, -kScreenTop, display_.screenFontSize);
}

void LunTranListing::DrawLine(platform::Dc& dc, int line, platform::Point at, bool selected) {
  if (line < 0 || line >= Count()) return;
  if (selected) FillSelectedLine(dc, 0, at.y, screenPitch_);
  DrawEvent(dc, events_[static_cast<std::size_t>(line)], at.x, at.y, display_.screenFontSize);
}

void LunTranListing::DrawPrintedLine(platform::Dc& dc, int line, platform::Point at) {
  if (line < 0 || line >= Count()) return;
  DrawEvent(dc, events_[static_cast<std::size_t>(line)], at.x, at.y, display_.printFontSize);
}

LunTranListing::PrintedTitles LunTranListing::PlaceTitles(platform::Dc& dc,
                                                          const std::string& title) const {
  PrintedTitles t;
  t.title = PlacePrintedPageTitle(dc, chart_, config_, title);
  t.bottom = t.title.bottom;
  if (!natalTarget_) return t;
  // Under the title and no wider than it: where the title clears the header, so does it.
  const platform::Font old = dc.SelectFont(TextFont(t.title.size));
  t.subtitleTop = t.title.top - static_cast<int>(kSubtitleDrop * dc.GetTextMetrics().height);
  t.subtitleSize = kSubtitleSize * t.title.size / kHeadTitleSize;
  dc.SelectFont(TextFont(t.subtitleSize));
  t.bottom = std::min(t.bottom, t.subtitleTop - dc.GetTextMetrics().height);
  dc.SelectFont(old);
  return t;
}

void LunTranListing::DrawPageHead(platform::Dc& dc, int page, int, int rowsUsed) {
  const cfg::PrintSettings& p = config_.print;
  // The heading row stands above the rows used.
  const int raise = FrameRaise(rowsUsed + 1, paper_.pitch, headingTop_, p.marginBottom);
  const std::string title = lists::PageTitle(GetMessageText(kMsgLunarTransitsTitle), page);
  DrawPrintedPageHead(dc, chart_, config_, title, {0, 0, 0, raise});
  // Every column the page fills has the headings over its first line.
  const int columns = paper_.layout.ColumnsUsedOnPage(page, Count());
  for (int c = 0; c < columns; ++c)
    DrawColumnHeads(dc, paper_.left + static_cast<int>(c * paper_.columnStep), -headingTop_,
                    display_.printFontSize);
  if (!natalTarget_) return;
  const PrintedTitles titles = PlaceTitles(dc, title);
  platform::DcState keep(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SelectFont(TextFont(titles.subtitleSize));
  dc.SetTextAlign(platform::TextAlign::kCenter | platform::TextAlign::kTop);
  dc.TextOut(titles.title.centre, titles.subtitleTop, GetMessageText(kMsgToNatalChart));
}

}  // namespace forecast
