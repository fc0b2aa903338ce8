#include "shell/kovra_view.h"

#include <algorithm>
#include <cstdio>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_header.h"
#include "document/command_ids.h"
#include "foundation/config/configuration.h"
#include "foundation/datetime/place.h"
#include "foundation/drawing/font_fitting.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/longitude_drawing.h"
#include "foundation/drawing/palette.h"
#include "foundation/messages/messages.h"
#include "shell/core/wheel/wheel.h"
#include "shell/core/wheel/wheel_aspects.h"
#include "shell/entry/chart_info_dialog.h"
#include "shell/kovra_doc.h"
#include "views/core/aspect_table.h"

namespace {

// Rows of the offsets table of the print settings, three columns each (large chart, overlay,
// small chart), and the overlay's chart II coordinates after them.
enum OffsetRow {
  kRowAspectTableLeft = 0,
  kRowAspectTableTop = 1,
  kRowHeaderLeft = 2,
  kRowHeaderTop = 3,
  kRowCoordinatesLeft = 4,
  kRowCoordinatesTop = 5,
};
constexpr int kOffsetSecondChartLeft = 24;
constexpr int kOffsetSecondChartTop = 25;
constexpr int kColumnLarge = 0, kColumnOverlay = 1, kColumnSmall = 2;

constexpr int kPageWidth = 21000;             // A4, 0.01 mm
constexpr int kFramePenWidth = 20;            // 0.2 mm
constexpr int kDefaultCoordinateSize = 2500;  // when the print coordinates name no size

}  // namespace

CKovraView::CKovraView(QWidget* parent) : platform::View(parent) {
  // The second chart of the wheel ("Добавить/Убрать гороскоп"), checked while it is there.
  OnCommand(
      cmd::kAddRemoveChart,
      [this] {
        if (CKovraDoc* document = GetDocument()) document->AddRemoveOuterChart();
      },
      [this](platform::CommandState& state) {
        const CKovraDoc* document = GetDocument();
        state.enabled = document != nullptr && document->GetChart() != nullptr;
        state.checked = state.enabled && document->IsTwoChart();
      });
}

CKovraView::~CKovraView() = default;

CKovraDoc* CKovraView::GetDocument() const {
  return static_cast<CKovraDoc*>(platform::View::GetDocument());
}

void CKovraView::OnInitialUpdate() {
  SetScaleToFitSize(platform::MapMode::HiMetric, kDrawnArea);
  // Two charts when the document has an outer chart, else one chart with its aspects.
  wheel_ = std::make_unique<Wheel2>();
  platform::View::OnInitialUpdate();
}

std::vector<std::string> CKovraView::HeaderLines(const Chart& chart) {
  return ChartHeaderLines(chart, false);
}

void CKovraView::OnDraw(platform::Dc& dc) {
  CKovraDoc* document = GetDocument();
  if (document == nullptr || document->GetChart() == nullptr) return;
  document->GetChart()->DrawHeader(dc, kHeaderLeft, kHeaderTop, 0, false);
  // Two charts: the outer chart's header stands at the right, so both are named.
  const Chart* outer = document->GetOuterChart();
  if (outer != nullptr) outer->DrawHeader(dc, kWheelArea.right, kHeaderTop, 1, false);
  if (wheel_ != nullptr) wheel_->Draw(dc, *document->GetChart(), outer, kWheelArea);
}

CKovraView::PageLayout CKovraView::ChartPageLayout(const cfg::PrintSettings& print,
                                                   bool twoCharts) {
  const int column =
      twoCharts ? kColumnOverlay : (print.sizeChoice == 1 ? kColumnSmall : kColumnLarge);
  const auto offset = [&print, column](int row) {
    return print.offsets[static_cast<std::size_t>(row * 3 + column)];
  };
  const int left = print.marginLeft + kPagePadding;
  const int top = -(print.marginTop + kPagePadding);
  PageLayout layout;
  layout.header = {left + offset(kRowHeaderLeft), top - offset(kRowHeaderTop)};
  layout.coordinates = {left + offset(kRowCoordinatesLeft), top - offset(kRowCoordinatesTop)};
  layout.coordinates2 = {left + print.offsets[kOffsetSecondChartLeft],
                         top - print.offsets[kOffsetSecondChartTop]};
  // The wheel takes the square left of the coordinates, from their top down to the aspect
  // table's place.
  const int side = std::max(0, std::min(offset(kRowCoordinatesLeft),
                                        offset(kRowAspectTableTop) - offset(kRowCoordinatesTop)));
  const int wheelTop = top - offset(kRowCoordinatesTop);
  layout.wheel = {left, wheelTop, left + side, wheelTop - side};
  return layout;
}

int CKovraView::DrawCoordinates(platform::Dc& dc, const Chart& chart, const Configuration& config,
                                int x, int y) {
  const int size =
      config.printCoords.fontSize > 0 ? config.printCoords.fontSize : kDefaultCoordinateSize;
  // Columns and rows as the coordinate tables measure them: a column is 1.1 widths of '+', a row
  // the line step and 0.7 of the height of '+'.
  const double column = 1.1 * FontCharWidth(dc, platform::kGlyphFaceA, size, '+');
  const int rowStep = std::max(0, config.printCoords.lineStep) +
                      static_cast<int>(0.7 * FontCharHeight(dc, platform::kGlyphFaceA, size, '+'));
  const platform::Color colour = config.colourPrinting != 0
                                     ? ColorByIndexShort(config.printColours[wheel::kPlanetGlyphs])
                                     : platform::kBlack;
  const bool localSpace = chart.IsLocalSpace();

  const unsigned oldAlign = dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  const platform::Color oldColour = dc.SetTextColor(colour);
  const platform::BkMode oldMode = dc.SetBkMode(platform::BkMode::Transparent);
  int rows = 0;
  for (int i = 0; i < wheel::kWheelObjectCount; ++i) {
    if (!wheel::IsPointShown(config, chart, i)) continue;
    const PointRecord& point = chart.points[static_cast<std::size_t>(i)];
    const int rowY = y - rows * rowStep;
    DrawGlyphText(dc, x, rowY, glyphs::Point(i), 'a', size, platform::BkMode::Transparent);
    if (!localSpace && point.status == 'R') {
      // At two thirds of the size, so that it fits between the glyph and the longitude, and
      // centred on the row's height.
      const int lower = static_cast<int>(
          platform::Font{std::string(platform::kGlyphFaceA), size}.EmHeight() / 6.0);
      DrawGlyphText(dc, x + static_cast<int>(1.3 * column), rowY - lower, glyphs::kRetrograde, 'a',
                    size * 2 / 3, platform::BkMode::Transparent);
    }
    // Local Space charts hold azimuths: degrees of the whole circle.
    DrawLongitudeGlyph(dc, size, point.longitude.Get(), x + static_cast<int>(2 * column), rowY,
                       localSpace ? 1 : 0);
    ++rows;
  }
  dc.SetBkMode(oldMode);
  dc.SetTextColor(oldColour);
  dc.SetTextAlign(oldAlign);
  return rows;
}

void CKovraView::DrawChartPage(platform::Dc& dc, const Chart& chart, const Chart* outer,
                               const Configuration& config, int tableChoice) {
  const cfg::PrintSettings& print = config.print;
  const PageLayout layout = ChartPageLayout(print, outer != nullptr);

  const platform::Pen oldPen =
      dc.SelectPen({platform::PenStyle::Solid, kFramePenWidth, platform::kBlack});
  config.DrawPageFrame(dc, {0, 0, 0, 0});
  dc.SelectPen(oldPen);

  if (print.header != 0) {
    // The outer chart's header at the right margin, level with the inner chart's; the two share
    // the width between them.
    const int right = kPageWidth - print.marginRight - kPagePadding;
    const int width = outer != nullptr ? HeaderPairWidth(layout.header.x, right) : kHeaderAnyWidth;
    chart.DrawHeader(dc, layout.header.x, layout.header.y, 0, false, width);
    if (outer != nullptr) outer->DrawHeader(dc, right, layout.header.y, 1, false, width);
  }
  // A wheel of its own: the view's wheel keeps the glyph boxes of the screen for the mouse.
  Wheel2 wheel(config);
  wheel.Draw(dc, chart, outer, layout.wheel);
  if (print.coordinates != 0) {
    DrawCoordinates(dc, chart, config, layout.coordinates.x, layout.coordinates.y);
    if (outer != nullptr)
      DrawCoordinates(dc, *outer, config, layout.coordinates2.x, layout.coordinates2.y);
  }
  if (print.aspectTable != 0) {
    const int layout = outer != nullptr        ? kLayoutChartPageTwo
                       : print.sizeChoice == 1 ? kLayoutChartPageSmall
                                               : kLayoutChartPageLarge;
    AspectTable table(config, GetAspectarium());
    table.Draw(dc, layout, chart, outer, tableChoice, AspectTable::kKindAspects);
  }
}

bool CKovraView::OnPreparePrinting(platform::PrintInfo& info) {
  info.minPage = info.maxPage = 1;
  CKovraDoc* document = GetDocument();
  if (document != nullptr && document->IsTwoChart() && GetConfiguration().print.aspectTable != 0)
    document->ChooseChartForTable(0, 0);
  return true;
}

void CKovraView::OnPrint(platform::Dc& dc, int) {
  CKovraDoc* document = GetDocument();
  if (document == nullptr || document->GetChart() == nullptr) return;
  DrawChartPage(dc, *document->GetChart(), document->GetOuterChart(), GetConfiguration(),
                document->firstTableChoice);
}

void CKovraView::OnLButtonDown(platform::Point point) {
  CKovraDoc* document = GetDocument();
  if (wheel_ == nullptr || document == nullptr || document->GetChart() == nullptr) return;
  const wheel::WheelHit hit = wheel_->HitTest(point);
  if (!hit.Found()) return;
  const Chart* chart = hit.chart == 1 ? document->GetOuterChart() : document->GetChart();
  if (chart == nullptr) return;
  DPlanetInfo dialog(*chart, hit.point, this);
  dialog.DoModal();
}
