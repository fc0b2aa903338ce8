#include "views/ui/coord_views.h"

#include <QMetaObject>
#include <QResizeEvent>
#include <algorithm>
#include <string>

#include "astro/chart/chart.h"
#include "document/chart_document.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/page_frame.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/text_helpers.h"
#include "platform/qt/child_frame.h"
#include "platform/qt/measuring_dc.h"
#include "views/core/coord_table.h"
#include "views/core/table_page_header.h"
#include "views/ui/view_kinds.h"

namespace {

constexpr int kSecondTableGap = 1000;
constexpr int kWindowExtra = 1000;  // below the table, 0.01 mm
constexpr int kPageTableLeft = 200;
constexpr int kPageTableTop = 1800;
constexpr int kFullFrame = 0;  // the page head's frame reaches the page's foot

int ToPixels(int units, int dpi) { return std::max(1, units * dpi / 2540); }

// The heading of a printed table: the window's caption part (" -Широты") without its dash, in
// capitals as the other tables' pages have theirs ("ШИРОТЫ").
std::string PrintedHeading(int caption) {
  std::string text = GetMessageText(caption);
  const std::size_t start = text.find_first_not_of(" -");
  text.erase(0, std::min(start, text.size()));
  StringToUpper(text);
  return text;
}

}  // namespace

CoordViewBase::CoordViewBase(int mode, int caption, int helpContext, QWidget* parent)
    : CoordViewBase(mode, caption, helpContext, parent, kDocViewCoordinates, false) {}

CoordViewBase::CoordViewBase(int mode, int caption, int helpContext, QWidget* parent,
                             const DocViewKind& kind, bool wide)
    : ChartDocView(kind, parent),
      caption_(caption),
      wide_(wide),
      mode_(mode),
      helpContext_(helpContext) {}

const Chart* CoordViewBase::ShownChart() const {
  ChartDocument* document = GetDocument();
  return document != nullptr ? document->GetChart() : nullptr;
}

int CoordViewBase::Mode() const { return mode_; }

platform::Size CoordViewBase::TableSize() const {
  platform::MeasuringDc measuring(logicalDpiY(), false, platform::MapMode::HiMetric);
  return coords::ScreenTableSize(GetConfiguration().screenCoords, measuring.dc(), Kind(), scale_);
}

void CoordViewBase::Refit() {
  const COORD_CONF& layout = GetConfiguration().screenCoords;
  scale_ = 1.0;
  if (layout.fitToWindow != 0) {
    platform::MeasuringDc measuring(logicalDpiY(), false, platform::MapMode::HiMetric);
    // A table that fits hides the scroll bars; the viewport then grows and the table is fitted
    // again to the whole window.
    scale_ = coords::WindowFitScale(layout, measuring.dc(), Kind(), viewport()->width(),
                                    viewport()->height());
  }
  SetScrollSizes(platform::MapMode::HiMetric, TableSize());
}

void CoordViewBase::OnUpdate(platform::View* sender) {
  Refit();
  platform::View::OnUpdate(sender);
}

void CoordViewBase::OnInitialUpdate() {
  if (mode_ == coords::kEquatorial) {
    if (ChartDocument* document = GetDocument())
      mode_ = document->PartState<CoordinateTableChoice>().mode == coords::kHorizontal
                  ? coords::kHorizontal
                  : coords::kEquatorial;
  }
  CountOpen();
  // The window takes the size of the table in the screen layout at scale 1.
  const COORD_CONF& layout = GetConfiguration().screenCoords;
  platform::MeasuringDc measuring(logicalDpiY(), false, platform::MapMode::HiMetric);
  const coords::TableMeasure m = coords::MeasureTable(layout, measuring.dc(), mode_ != 0, 1.0);
  openedSize_ = QSize(
      ToPixels(WindowWidth(m), logicalDpiX()),
      ToPixels(m.height + coords::DetailHeadRows(mode_) * m.rowStep + kWindowExtra, logicalDpiY()));
  if (platform::ChildFrame* frame = Frame()) {
    const QSize border = frame->size() - viewport()->size();
    frame->resize(openedSize_ + border);
    frame->raise();
  }
  OnUpdate(nullptr);
}

int CoordViewBase::WindowWidth(const coords::TableMeasure& m) const {
  const COORD_CONF& layout = GetConfiguration().screenCoords;
  if (mode_ == 0) return std::max(1, static_cast<int>(layout.width)) * m.widthUnit;
  const double units = mode_ >= coords::kEquatorial ? 1.7 : 1.0;
  // At least as wide as its blocks of 16 rows, so that no column is cut off.
  return std::max(static_cast<int>(units * m.widthUnit), coords::DetailTableWidth(m, mode_));
}

void CoordViewBase::resizeEvent(QResizeEvent* event) {
  platform::View::resizeEvent(event);
  Refit();
  viewport()->update();
}

void CoordViewBase::OnDraw(platform::Dc& dc) {
  dc.SetMapMode(platform::MapMode::HiMetric);
  if (dc.IsPrinting()) {
    OnPrint(dc, 1);
    return;
  }
  const Chart* chart = ShownChart();
  if (chart == nullptr) return;
  if (mode_ == 0)
    coords::DrawCoordTableAtScale(dc, *chart, GetConfiguration(), 0, 0, scale_, wide_);
  else
    coords::DrawCoordDetailTableAtScale(dc, *chart, GetConfiguration(), 0, 0, scale_, mode_);
}

void CoordViewBase::OnPrint(platform::Dc& dc, int) {
  dc.SetMapMode(platform::MapMode::HiMetric);
  const Chart* chart = ShownChart();
  ChartDocument* document = GetDocument();
  if (chart == nullptr || document == nullptr || document->GetChart() == nullptr) return;
  const Configuration& config = GetConfiguration();
  const int x = config.print.marginLeft + kPageTableLeft;
  const int y = PrintHeadAndHeading(dc, PrintedHeading(CaptionMessage()));
  if (mode_ == 0)
    coords::DrawCoordTable(dc, *chart, config, x, y, 0, false, coords::Medium::Paper);
  else
    coords::DrawCoordDetailTable(dc, *chart, config, x, y, 0, mode_, coords::Medium::Paper);
}

int CoordViewBase::PrintHeadAndHeading(platform::Dc& dc, const std::string& heading) const {
  ChartDocument* document = GetDocument();
  const Configuration& config = GetConfiguration();
  // The head names the document's charts as every table page does: the inner chart at the left,
  // the outer one (or the ornament of a one-chart document) at the right, whichever table follows.
  const PageHeadBlocks blocks =
      DrawTablePageHeader(dc, config, *document->GetChart(), document->GetOuterChart(), kFullFrame);
  // The heading beside the identification blocks where it clears them, else under them; the
  // table then follows under the heading.
  const PageTitlePlace place = PlacePageTitle(dc, config.print, heading, blocks);
  DrawPlacedTitle(dc, place, heading);
  return PageContentTop(place, -kPageTableTop - config.print.marginTop);
}

int CoordViewBase::CaptionMessage() const {
  return mode_ == coords::kHorizontal ? kMsgHorizontal : caption_;
}

std::string CoordViewBase::GetFrameTitle() const {
  return platform::View::GetFrameTitle() + GetMessageText(CaptionMessage());
}

CCoordView::CCoordView(QWidget* parent) : CoordViewBase(0, kMsgCoordinates, kHelpContext, parent) {}

CCoord2View::CCoord2View(QWidget* parent)
    : CoordViewBase(0, kMsgCoordinates2, kHelpContext, parent) {}

const Chart* CCoord2View::ShownChart() const {
  ChartDocument* document = GetDocument();
  return document != nullptr ? document->GetOuterChart() : nullptr;
}

void CCoord2View::OnInitialUpdate() {
  CoordViewBase::OnInitialUpdate();
  if (ShownChart() == nullptr) {
    if (platform::ChildFrame* frame = Frame())
      QMetaObject::invokeMethod(frame, "close", Qt::QueuedConnection);
  }
}

std::string CCoord2View::GetFrameTitle() const {
  const Chart* chart = ShownChart();
  if (chart == nullptr) return {};
  return ChartDocument::ChartTitle(*chart) + GetMessageText(caption_);
}

CCoordLatView::CCoordLatView(QWidget* parent)
    : CoordViewBase(coords::kLatitudes, kMsgLatitudes, kHelpContext, parent) {}

CCoordSpeedView::CCoordSpeedView(QWidget* parent)
    : CoordViewBase(coords::kSpeeds, kMsgSpeeds, kHelpContext, parent) {}

CCoordEquView::CCoordEquView(QWidget* parent)
    : CoordViewBase(coords::kEquatorial, kMsgEquatorial, kHelpContext, parent) {}

AntisView::AntisView(QWidget* parent)
    : CoordViewBase(0, kMsgAntiscia, kHelpContext, parent, kDocViewAntiscia, true) {}

int AntisView::WindowWidth(const coords::TableMeasure& m) const {
  return static_cast<int>(m.widthUnit * 1.75) *
         std::max(1, static_cast<int>(GetConfiguration().screenCoords.width));
}

void AntisView::OnPrint(platform::Dc& dc, int) {
  dc.SetMapMode(platform::MapMode::HiMetric);
  ChartDocument* document = GetDocument();
  if (document == nullptr || document->GetChart() == nullptr) return;
  const Configuration& config = GetConfiguration();
  const Chart& inner = *document->GetChart();
  const Chart* outer = document->GetOuterChart();
  const int tableTop = PrintHeadAndHeading(dc, GetMessageText(kMsgAntisciaTitle));
  const int x = config.print.marginLeft + kPageTableLeft;
  const int h =
      coords::DrawCoordTable(dc, inner, config, x, tableTop, 0, true, coords::Medium::Paper);
  if (outer != nullptr)
    coords::DrawCoordTable(dc, *outer, config, x, tableTop - kSecondTableGap - h, 0, true,
                           coords::Medium::Paper);
}
