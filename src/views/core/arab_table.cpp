#include "views/core/arab_table.h"

#include <algorithm>

#include "astro/aspects/aspect_system.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_context.h"
#include "astro/chart/chart_definition.h"
#include "astro/chart/chart_header.h"
#include "foundation/config/configuration.h"
#include "foundation/config/field_table.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/drawing/font_fitting.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/longitude_drawing.h"
#include "foundation/drawing/page_title.h"
#include "foundation/drawing/palette.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/numbers/angles.h"
#include "views/core/point_choice.h"

namespace {

using R = cfg::ArabicPartsSettings;
using A = ArabSettings;
using cfg::Bind;

// A value out of range reads as its default; the switches read 1 when nonzero.
constexpr cfg::FieldTable kFields{
    Bind(&A::printFontSize, R::kPrintFontSize, cfg::InRange{100, 10000}),
    Bind(&A::printInterval, R::kPrintInterval, cfg::InRange{0, 10000}),
    Bind(&A::orbClass, R::kOrbClass, cfg::InRange{1, 5}),
    Bind(&A::planets, R::kPlanets, cfg::InRange{0, 3}),
    Bind(&A::withNodes, R::kWithNodes, cfg::NonZero{}),
    Bind(&A::houses, R::kHouses, cfg::InRange{0, 2}),
    Bind(&A::kinds, R::kAspectKinds, cfg::InRange{0, 2}),
    Bind(&A::withFormula, R::kWithFormula, cfg::NonZero{}),
    Bind(&A::chartMode, R::kChartMode, cfg::InRange{0, 2}),
    Bind(&A::askEveryTime, R::kAskEveryTime, cfg::NonZero{})};

constexpr int kFirstScreenSize = 3000;
constexpr int kA4Width = 21000;
constexpr int kA4Height = 29700;
constexpr int kPageHeadHeight = 2500;
constexpr int kPageLeftInset = 300;
constexpr int kNodeNorth = 16, kNodeSouth = 17;
// The colours of an aspect symbol (exact and within the orb) and of the object after it.
constexpr int kExactColour = 4, kOrbColour = 1, kObjectColour = 0;

int WWidth(platform::Dc& dc, int size) {
  return std::max(1, TextWidthInFont(dc, platform::kTextFace, size, "W"));
}
int WHeight(platform::Dc& dc, int size) {
  return std::max(1, FontCharHeight(dc, platform::kTextFace, size, 'W'));
}

bool KeepKind(const AspectSystem& system, int position, int kinds) {
  if (kinds == 2) return true;
  const Aspect& aspect = system.GetAspect(position);
  if (kinds == 0) return ClassifyAspectAngle(aspect) == 0;
  return aspect.IsMajor();
}

}  // namespace

ArabSettings ArabSettings::Read(const Configuration& config) {
  ArabSettings s;
  kFields.Read(config.arabicParts, s);
  return s;
}

void ArabSettings::Write(Configuration& config) const { kFields.Write(*this, config.arabicParts); }

bool ArabChartModesAllowed(int chartKind) {
  return chartKind == kChartTransit || chartKind == kChartProgressed ||
         chartKind == kChartDirected || chartKind == kChartReturn;
}

std::vector<ArabAspect> ArabAspectsToPoint(double longitude, const Chart& chart,
                                           const AspectSystem* system, const ArabSettings& s,
                                           const Configuration& config) {
  std::vector<ArabAspect> out;
  if (system == nullptr || longitude == kAbsent) return out;
  const OrbColumn column = OrbColumnOfClass(s.orbClass);
  const auto test = [&](int object, double other) {
    if (other == kAbsent) return;
    const AspectMatch m = system->FindAspect(longitude, other, column);
    if (!m.Found() || !KeepKind(*system, m.position, s.kinds)) return;
    out.push_back({static_cast<std::uint8_t>(object), static_cast<std::uint8_t>(m.position),
                   m.result == 2 ? 'E' : 'N'});
  };
  for (int p = 0; p < 30; ++p) {
    bool take = false;
    if (p == kNodeNorth || p == kNodeSouth)
      take = s.withNodes == 1;
    else if (s.planets == 1)
      take = p <= 9;
    else if (s.planets == 2)
      take = config.DisplayFlag(p) == 'Y';
    else
      take = s.planets == 3;
    if (take) test(p, chart.GetPointLongitude(p).Get());
  }
  for (int h = 0; h < 12; ++h) {
    const bool take = s.houses == 2 || (s.houses == 1 && (h == 0 || h == 9));
    if (take) test(kArabFirstCusp + h, chart.GetCusp(h).Get());
  }
  return out;
}

Status ArabTable::Calculate(const ChartContext& ctx, const Chart& chart, const AllArabParts& parts,
                            const ArabSettings& settings) {
  settings_ = settings;
  if (!ArabChartModesAllowed(chart.definition.Kind())) settings_.chartMode = 0;
  parts_ = &parts;
  rows_.clear();
  maxAspects_ = 0;

  Chart natal;
  if (settings_.chartMode != 0) {
    natal.definition.SetKind(kChartNatal);
    natal.definition.sources[0] = chart.definition.sources[0];
    natal.definition.SetAspectSystemName(chart.definition.AspectSystemName());
    CheckAspectSystemName(ctx, natal.definition);
    if (const Status st = ChartCalculate(ctx, natal); !st.ok()) return st;
  }
  const Chart& partChart = settings_.chartMode == 1 ? natal : chart;
  const Chart& aspectChart = settings_.chartMode == 2 ? natal : chart;
  const AspectSystem* found = ctx.SystemOrCurrent(aspectChart.definition.AspectSystemName());
  if (found != nullptr) {
    ownSystem_ = *found;
    system_ = &ownSystem_;
  } else {
    system_ = nullptr;
  }
  const bool dayNight = ctx.Calculation().dayNight != 0;
  for (int i = 0; i < parts.Count(); ++i) {
    const ArabPart& p = parts.Item(i);
    if (!p.IsOn()) continue;
    ArabRow row;
    row.part = i;
    row.longitude =
        Chart::CalculateArabicPart(ctx, partChart, p.a, p.b, p.c, p.op1, p.op2, dayNight);
    row.aspects = ArabAspectsToPoint(row.longitude, aspectChart, system_, settings_, ctx.Config());
    maxAspects_ = std::max(maxAspects_, static_cast<int>(row.aspects.size()));
    rows_.push_back(std::move(row));
  }
  return Status::Ok();
}

void ArabTable::Measure(platform::Dc& dc) {
  // Widths scale with the size, so any size measures the name column in widths of "W".
  constexpr int kMeasureSize = 1000;
  const int w = WWidth(dc, kMeasureSize);
  int widest = 0;
  for (const ArabRow& row : rows_)
    widest = std::max(widest, TextWidthInFont(dc, platform::kTextFace, kMeasureSize,
                                              parts_->Item(row.part).name));
  nameUnits_ = (widest + w - 1) / w + 1;  // and one unit of space before the next column
  const int units = nameUnits_ + 3 * maxAspects_ + 8 + (settings_.withFormula ? 7 : 0);
  rowText_.assign(static_cast<std::size_t>(std::max(1, units)), 'W');
}

void ArabTable::DrawRow(platform::Dc& dc, int r, int x, int y, int glyphSize, int unit) const {
  if (r < 0 || r >= RowCount() || parts_ == nullptr) return;
  const ArabRow& row = rows_[static_cast<std::size_t>(r)];
  const platform::DcState saved(dc);
  dc.SetTextColor(ColorByIndex(kObjectColour));
  dc.TextOut(x, y, parts_->Item(row.part).name);
  if (settings_.withFormula)
    parts_->DrawFormula(dc, row.part, glyphSize, x + FormulaColumn() * unit, y, unit, 1);
  DrawLongitudeGlyph(dc, glyphSize, row.longitude, x + LongitudeColumn() * unit, y, 1);
  int ax = x + AspectColumn() * unit;
  for (const ArabAspect& a : row.aspects) {
    if (system_ != nullptr && a.position < system_->Count()) {
      const Aspect& aspect = system_->GetAspect(a.position);
      DrawAspectGlyph(dc, ax, y, glyphSize, ClassifyAspectAngle(aspect), aspect.abbreviation,
                      a.exactness == 'E' ? kExactColour : kOrbColour);
    }
    dc.SetTextColor(ColorByIndex(kObjectColour));
    DrawArabOperand(dc, a.object, glyphSize, ax + unit, y);
    ax += 3 * unit;
  }
}

void ArabTable::DrawColumnNames(platform::Dc& dc, int x, int y, int unit) const {
  const platform::DcState saved(dc);
  dc.SetTextColor(ColorByIndex(kObjectColour));
  dc.TextOut(x, y, GetMessageText(kMsgPartColumn));
  if (settings_.withFormula)
    dc.TextOut(x + FormulaColumn() * unit, y, GetMessageText(kMsgFormulaColumn));
  dc.TextOut(x + LongitudeColumn() * unit, y, GetMessageText(kMsgLongitudeWord));
  if (maxAspects_ > 0) dc.TextOut(x + AspectColumn() * unit, y, GetMessageText(kMsgAspectsColumn));
}

int ArabTable::FitFontSize(platform::Dc& dc, int width) const {
  const int size = FitFontWidth(dc, platform::kTextFace, kFirstScreenSize, width, rowText_);
  return size > 0 ? size : 100;
}

int ArabTable::RowWidth(platform::Dc& dc, int fontSize) const {
  return TextWidthInFont(dc, platform::kTextFace, fontSize, rowText_);
}

ArabTable::PrintLayout ArabTable::PreparePrint(platform::Dc& dc, const Configuration& config,
                                               int fontSize, int interval) const {
  PrintLayout l;
  l.fontSize = std::max(100, fontSize);
  l.interval = std::max(0, interval);
  const int rowHeight = l.interval + WHeight(dc, l.fontSize);
  // The names of the columns take the first row under the head.
  l.pageTop = config.print.marginTop + kPageHeadHeight + rowHeight;
  l.left = config.print.marginLeft + kPageLeftInset;
  l.width = kA4Width - l.left - config.print.marginRight;
  l.rowsPerPage = std::max(1, (kA4Height - l.pageTop - config.print.marginBottom) / rowHeight);
  l.pages = std::max(1, (RowCount() + l.rowsPerPage - 1) / l.rowsPerPage);
  return l;
}

void ArabTable::DrawPageHead(platform::Dc& dc, const Configuration& config,
                             const Chart& chart) const {
  const platform::DcState saved(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextColor(platform::kBlack);
  config.DrawPageFrame(dc, {0, 0, 0, 0});
  const cfg::PrintSettings& p = config.print;
  // The chart's block at the left, the ornament at the right, the title between them or, when
  // they leave it no room, under them (within the head's height).
  const platform::Size head = chart.DrawHeader(dc, p.marginLeft + 200, -200 - p.marginTop, 0, true);
  DrawPageOrnament(dc, config);
  const PageHeadBlocks blocks{p.marginLeft + 200 + head.cx, PageOrnamentLeft(dc, p),
                              std::min(-200 - p.marginTop - head.cy, PageOrnamentBottom(dc, p))};
  const std::string& title = GetMessageText(kMsgArabTitle);
  DrawPlacedTitle(dc, PlacePageTitle(dc, p, title, blocks), title);
}
