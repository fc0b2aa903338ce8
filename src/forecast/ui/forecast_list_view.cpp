#include "forecast/ui/forecast_list_view.h"

#include <QMdiArea>
#include <QMetaObject>
#include <QStyle>
#include <algorithm>

#include "document/workbench.h"
#include "platform/qt/child_frame.h"

namespace {

// Logical units of 0.01 mm to pixels, rounded up so that nothing is cut.
int ToPixels(int units, int dpi) { return (units * dpi + 2539) / 2540; }

}  // namespace

ForecastListView::ForecastListView(const DocViewKind& kind, lists::ScrollLimit limit,
                                   QWidget* parent)
    : platform::LineListView(limit, parent), kind_(kind) {}

ForecastListView::~ForecastListView() {
  if (counted_) {
    if (ChartDocument* document = GetChartDocument()) document->ViewClosed(kind_);
  }
}

ChartDocument* ForecastListView::GetChartDocument() const {
  return dynamic_cast<ChartDocument*>(platform::View::GetDocument());
}

Workbench* ForecastListView::GetWorkbench() const {
  ChartDocument* document = GetChartDocument();
  return document != nullptr ? &document->GetWorkbench() : nullptr;
}

void ForecastListView::CountOpen() {
  ChartDocument* document = GetChartDocument();
  if (document != nullptr && !counted_) {
    document->ViewOpened(kind_);
    counted_ = true;
  }
}

const Chart* ForecastListView::BeginList() {
  ChartDocument* document = GetChartDocument();
  const Chart* chart = document != nullptr ? document->GetChart() : nullptr;
  if (chart == nullptr || GetWorkbench() == nullptr) {
    CloseFrameLater();
    return nullptr;
  }
  CountOpen();
  return chart;
}

void ForecastListView::SetListing(std::unique_ptr<forecast::EventListing> listing) {
  listing_ = std::move(listing);
  SetLineCount(listing_ ? listing_->Count() : 0);
}

void ForecastListView::PlaceFrame(int width, int height) {
  platform::ChildFrame* frame = Frame();
  if (frame == nullptr) return;
  // The frame is not laid out yet: its decorations come from the style.
  QStyle* style = frame->style();
  const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, frame);
  const int title = style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, frame);
  const int scrollBar = style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  const int extraWidth = 2 * border + 2 * frameWidth() + scrollBar;
  const int extraHeight = border + title + 2 * frameWidth();
  QMdiArea* area = frame->mdiArea();
  const QSize areaSize = area != nullptr ? area->viewport()->size() : frame->size();
  const int w = width > 0 ? ToPixels(width, logicalDpiX()) + extraWidth : areaSize.width();
  const int h = height > 0 ? ToPixels(height, logicalDpiY()) + extraHeight : areaSize.height();
  frame->setGeometry(0, 0, std::max(w, 1), std::clamp(h, 1, std::max(areaSize.height(), 1)));
  frame->raise();
}

void ForecastListView::CloseFrameLater() {
  if (platform::ChildFrame* frame = Frame())
    QMetaObject::invokeMethod(frame, &QWidget::close, Qt::QueuedConnection);
}

platform::ScreenLines ForecastListView::MeasureScreen(platform::Dc& dc) {
  if (!listing_) return {};
  const forecast::ListingScreen s = listing_->MeasureScreen(dc);
  return {s.left, s.top, s.pitch};
}

platform::PrintedLines ForecastListView::MeasurePrint(platform::Dc& dc) {
  if (!listing_) return {};
  paper_ = listing_->MeasurePrint(dc);
  return {paper_.layout, paper_.left, paper_.top, paper_.pitch, paper_.columnStep};
}

bool ForecastListView::OnPreparePrinting(platform::PrintInfo& info) {
  return listing_ != nullptr && platform::LineListView::OnPreparePrinting(info);
}

void ForecastListView::OnPrint(platform::Dc& dc, int page) {
  if (listing_) forecast::PrintListingPage(dc, *listing_, paper_, page);
}

void ForecastListView::DrawHead(platform::Dc& dc) {
  if (listing_) listing_->DrawHead(dc);
}

void ForecastListView::DrawLine(platform::Dc& dc, int line, platform::Point at, bool selected) {
  if (listing_) listing_->DrawLine(dc, line, at, selected);
}

void ForecastListView::DrawPageHead(platform::Dc& dc, int page, int pageCount, int rowsUsed) {
  if (listing_) listing_->DrawPageHead(dc, page, pageCount, rowsUsed);
}
