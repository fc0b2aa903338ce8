#include "shell/kovra_view.h"

#include <cstdio>

#include "astro/chart/chart_header.h"
#include "foundation/datetime/place.h"
#include "foundation/messages/messages.h"
#include "shell/entry/chart_info_dialog.h"
#include "shell/kovra_doc.h"
#include "shell/wheel/wheel.h"

CKovraView::CKovraView(QWidget* parent) : platform::View(parent) {}

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
  const CKovraDoc* document = GetDocument();
  if (document == nullptr || document->GetChart() == nullptr) return;
  document->GetChart()->DrawHeader(dc, kHeaderLeft, kHeaderTop, 0, false);
  if (wheel_ != nullptr) {
    CKovraDoc* doc = GetDocument();
    wheel_->Draw(dc, *doc->GetChart(), doc->GetOuterChart(), kWheelArea);
  }
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
