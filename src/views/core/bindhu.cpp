#include "views/core/bindhu.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "astro/chart/chart.h"
#include "astro/ephemeris/longitudes.h"
#include "foundation/config/configuration.h"
#include "foundation/config/field_table.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/drawing/font_fitting.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/page_title.h"
#include "foundation/drawing/palette.h"
#include "foundation/lists/list_navigation.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/numbers/angles.h"
#include "views/core/point_choice.h"

namespace {

using S = cfg::BindhuSettings;
using B = BindhuChoice;
using cfg::Bind;

// A choice out of range reads as its default; the switches read 1 when nonzero.
constexpr cfg::FieldTable kFields{
    Bind(&B::bodies, S::kBodies, cfg::InRange{0, 4}),
    Bind(&B::houses, S::kHouses, cfg::InRange{0, 4}),
    Bind(&B::aspects, S::kAspects, cfg::InRange{0, 2}),
    Bind(&B::nodes, S::kNodes, cfg::NonZero{}),
    Bind(&B::showEveryTime, S::kShowEveryTime, cfg::NonZero{}),
    Bind(&B::minutes, S::kMinutes, cfg::NonZero{}),
    Bind(&B::onePage, S::kOnePage, cfg::NonZero{}),
    Bind(&B::layout, S::kLayout, cfg::NonZero{}),
    Bind(&B::printFontSize, S::kPrintFontSize, cfg::InRange{100, 10000})};

constexpr int kBodyCount = 34;
constexpr int kColumns = 13;
constexpr int kFirstFitSize = 3000;
constexpr int kHeaderGlyphSize = 10000;
constexpr int kScreenLeft = 50, kScreenTop = 100;
// The table begins under the page head, a title on a line of its own under the blocks included.
constexpr int kPaperLeft = 400, kPaperTop = 2200;
constexpr int kPaperWidth = 21000, kPaperHeight = 29600;
constexpr int kA4Width = 21000;
constexpr int kPageStep = 5;

bool AspectTakesPart(const Aspect& a, int choice) {
  if (choice == 0) return ClassifyAspectAngle(a) == 0;
  if (choice == 1) return a.IsMajor();
  return true;
}

platform::Font TextFont(int size) { return platform::Font{std::string(platform::kTextFace), size}; }

char ObjectGlyph(int object) {
  return object >= kBindhuFirstCusp ? glyphs::Cusp(object - kBindhuFirstCusp)
                                    : glyphs::Point(object);
}

}  // namespace

BindhuChoice BindhuChoice::Read(const Configuration& config) {
  BindhuChoice s;
  kFields.Read(config.bindhu, s);
  return s;
}

void BindhuChoice::Write(Configuration& config) const { kFields.Write(*this, config.bindhu); }

void BINDHU::Calculate(const Chart& chart, const AspectSystem* system, const BindhuChoice& s,
                       const Configuration& config) {
  events_.clear();
  system_.reset();
  if (system != nullptr) system_ = *system;
  const auto add = [this](double point, int aspect, int object, bool fractional) {
    if (point == kAbsent) return;
    const double p = NormalizeDegrees(point);
    BindhuEvent e;
    e.degree = std::clamp(static_cast<int>(p), 0, 359);
    e.aspect = aspect;
    e.object = object;
    e.minutes = fractional ? std::clamp(static_cast<int>((p - std::floor(p)) * 60.0), 0, 59) : 0;
    events_.push_back(e);
  };
  if (system_) {
    const int n = system_->Count();
    for (int b = 0; b < kBodyCount; ++b) {
      if (!BodyChosen(b, s.bodies, s.nodes != 0, config)) continue;
      const double lon = chart.GetPointLongitude(b).Get();
      if (lon == kAbsent) continue;
      for (int a = 0; a < n; ++a) {
        const Aspect& aspect = system_->GetAspect(a);
        if (!AspectTakesPart(aspect, s.aspects)) continue;
        const int cls = ClassifyAspectAngle(aspect);
        const bool fractional = aspect.GetAngleMinutes() != 0;
        add(ShiftLongitude(lon, aspect.angle), a, b, fractional);
        if (cls != 0 && cls != 1) add(ShiftLongitudeBack(lon, aspect.angle), a, b, fractional);
      }
    }
    for (int k = 0; k < 12; ++k) {
      if (!CuspChosen(k, s.houses)) continue;
      const double cusp = chart.GetCusp(k).Get();
      if (cusp == kAbsent) continue;
      for (int a = 0; a < n; ++a) {
        const Aspect& aspect = system_->GetAspect(a);
        const int cls = ClassifyAspectAngle(aspect);
        if (!AspectTakesPart(aspect, s.aspects) || cls == 1) continue;
        const bool fractional = aspect.GetAngleMinutes() != 0;
        add(ShiftLongitude(cusp, aspect.angle), a, kBindhuFirstCusp + k, fractional);
        if (cls != 0)
          add(ShiftLongitudeBack(cusp, aspect.angle), a, kBindhuFirstCusp + k, fractional);
      }
    }
  }
  totalUnits_ = kHeaderUnits;
  for (int d = 0; d < kRows; ++d) {
    std::array<int, 12> perSign{};
    for (const BindhuEvent& e : events_)
      if (e.degree % 30 == d) ++perSign[static_cast<std::size_t>(e.degree / 30)];
    const int most = *std::max_element(perSign.begin(), perSign.end());
    rowUnits_[static_cast<std::size_t>(d)] = most > 0 ? 2 * most : 1;
    totalUnits_ += rowUnits_[static_cast<std::size_t>(d)];
  }
}

namespace {

// The height of a degree's number in the text face at `size`.
int NumberHeight(platform::Dc& dc, int size) {
  const platform::DcState saved(dc);
  dc.SelectFont(platform::Font{std::string(platform::kTextFace), size});
  return std::max(1, dc.GetTextMetrics().height);
}

}  // namespace

BINDHU::Layout BINDHU::ScreenLayout(platform::Dc& dc, int width) const {
  Layout l;
  l.left = kScreenLeft;
  l.top = kScreenTop;
  l.columnWidth = std::max(1, (width - 2 * kScreenLeft) / kColumns);
  const int size = FitFontWidth(dc, platform::kGlyphFaceA, kFirstFitSize, l.columnWidth, "WWw");
  l.glyphSize = size > 0 ? size : 100;
  l.unit = std::max(1, FontCharHeight(dc, platform::kGlyphFaceA, l.glyphSize, 'W'));
  l.numberHeight = NumberHeight(dc, l.glyphSize);
  return l;
}

BINDHU::Layout BINDHU::PaperLayout(platform::Dc& dc, const Configuration& config,
                                   const BindhuChoice& s) const {
  const auto& p = config.print;
  Layout l;
  l.printing = true;
  l.left = kPaperLeft + p.marginLeft;
  l.top = kPaperTop + p.marginTop;
  const int width = kPaperWidth - 2 * kPaperLeft - p.marginLeft - p.marginRight;
  const int height = kPaperHeight - kPaperTop - p.marginTop - p.marginBottom;
  l.columnWidth = std::max(1, width / kColumns);
  int size = FitFontWidth(dc, platform::kGlyphFaceA, kFirstFitSize, l.columnWidth, "WWw");
  if (size <= 0) size = 100;
  const int limit = s.onePage != 0 ? FitFontHeight(dc, platform::kGlyphFaceA, kFirstFitSize,
                                                   height / std::max(1, totalUnits_))
                                   : s.printFontSize;
  l.glyphSize = std::max(100, std::min(size, limit > 0 ? limit : 100));
  l.unit = std::max(1, FontCharHeight(dc, platform::kGlyphFaceA, l.glyphSize, 'W'));
  l.numberHeight = NumberHeight(dc, l.glyphSize);
  return l;
}

std::vector<int> BINDHU::PageStarts(const Layout& layout, const Configuration& config,
                                    const BindhuChoice& s) const {
  std::vector<int> starts{0};
  if (s.onePage != 0) return starts;
  const auto& p = config.print;
  const int height = kPaperHeight - kPaperTop - p.marginTop - p.marginBottom;
  const int room = height - kHeaderUnits * layout.unit;
  int used = 0;
  for (int d = 0; d < kRows; ++d) {
    const int rows = RowHeight(layout, d);
    if (used > 0 && used + rows > room) {
      starts.push_back(d);
      used = 0;
    }
    used += rows;
  }
  return starts;
}

void BINDHU::Draw(platform::Dc& dc, const Layout& l, int first, int last, int bottom,
                  bool showMinutes) const {
  const platform::DcState saved(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextColor(platform::kBlack);
  dc.SelectPen(platform::Pen{});
  const int right = l.left + kColumns * l.columnWidth;
  const int headTop = -l.top;
  const int headBottom = headTop - kHeaderUnits * l.unit;
  dc.Line({l.left, headTop}, {right, headTop});
  dc.Line({l.left, headBottom}, {right, headBottom});
  const int signSize = FitFontSizeToBox(dc, platform::kGlyphFaceA, kHeaderGlyphSize,
                                        kHeaderUnits * l.unit, l.columnWidth, false);
  dc.SetTextAlign(platform::TextAlign::kCenter | platform::TextAlign::kTop);
  if (signSize > 0)
    for (int s = 0; s < 12; ++s)
      DrawGlyphText(dc, l.left + (s + 1) * l.columnWidth + l.columnWidth / 2, headTop,
                    glyphs::Sign(s), 'a', signSize, platform::BkMode::Transparent);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);

  int y = headBottom;
  for (int d = first; d <= last && d < kRows; ++d) {
    if (!l.printing && y < bottom) break;
    const int rowBottom = y - RowHeight(l, d);
    dc.SelectFont(TextFont(l.glyphSize));
    dc.TextOut(l.left + l.columnWidth / 4, y, std::to_string(d));
    dc.Line({l.left, rowBottom}, {right, rowBottom});
    for (int s = 0; s < 12; ++s) {
      const int columnRight = l.left + (s + 2) * l.columnWidth;
      int k = 0;
      for (const BindhuEvent& e : events_) {
        if (e.degree % 30 != d || e.degree / 30 != s) continue;
        const int top = y - 2 * k * l.unit;
        const int glyphWidth = l.columnWidth / 3;
        if (system_ && e.aspect < system_->Count())
          system_->GetAspect(e.aspect).DrawGlyph(dc, columnRight - glyphWidth - l.columnWidth / 12,
                                                 top, l.glyphSize, 0);
        dc.SetTextColor(platform::kBlack);
        DrawGlyphText(dc, columnRight - 2 * glyphWidth - l.columnWidth / 12, top,
                      ObjectGlyph(e.object), 'a', l.glyphSize, platform::BkMode::Transparent);
        if (showMinutes && e.minutes != 0) {
          char text[8];
          std::snprintf(text, sizeof text, "%.02d", e.minutes);
          dc.SelectFont(TextFont(l.glyphSize * 6 / 10));
          dc.TextOut(columnRight - 3 * glyphWidth - l.columnWidth / 12, top, text);
        }
        ++k;
      }
    }
    y = rowBottom;
  }
  if (!l.printing)
    for (int c = 0; c <= kColumns; ++c)
      dc.Line({l.left + c * l.columnWidth, headTop}, {l.left + c * l.columnWidth, y});
}

void BINDHU::DrawPageHead(platform::Dc& dc, const Configuration& config, const Chart& chart) {
  const platform::DcState saved(dc);
  const auto& p = config.print;
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextColor(platform::kBlack);
  config.DrawPageFrame(dc, {0, 0, 0, 0});
  // Inside the page frame: the chart's block at the left, the ornament at the right, the title
  // centred between them, or under them when they leave it no room.
  const platform::Size head = chart.DrawHeader(dc, p.marginLeft + 200, -p.marginTop - 150, 0, true);
  dc.SetTextAlign(platform::TextAlign::kRight | platform::TextAlign::kTop);
  dc.SelectFont(platform::Font{std::string(platform::kGlyphFaceA), 6000});
  const int ornamentRight = kA4Width - p.marginRight - 200;
  dc.TextOut(ornamentRight, -p.marginTop - 250, glyphs::kOrnament);
  const PageHeadBlocks blocks{
      p.marginLeft + 200 + head.cx, ornamentRight - dc.GetTextExtent(glyphs::kOrnament).cx,
      std::min(-p.marginTop - 150 - head.cy, -p.marginTop - 250 - dc.GetTextMetrics().height)};
  const std::string& title = GetMessageText(kMsgBindhuTitle);
  DrawPlacedTitle(dc, PlacePageTitle(dc, p, title, blocks), title);
}

int BindhuScroll(int code, int thumb, int first) {
  const std::optional<long long> target =
      ScrollCodeTarget(code, thumb, first, kPageStep, BINDHU::kRows - 1);
  if (!target) return first;
  return static_cast<int>(std::clamp<long long>(*target, 0, BINDHU::kRows - 1));
}
