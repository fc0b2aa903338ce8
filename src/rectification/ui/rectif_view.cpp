#include "rectification/ui/rectif_view.h"

#include <QScrollBar>
#include <algorithm>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_calculate.h"
#include "astro/chart/chart_context.h"
#include "astro/chart/chart_definition.h"
#include "document/chart_document.h"
#include "document/workbench.h"
#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/errors/error_report.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/qt/measuring_dc.h"
#include "rectification/ui/rect_setup_dialogs.h"
#include "rectification/ui/tremin_view.h"
#include "rectification/ui/view_kinds.h"

namespace {

using Block = cfg::RectificationSettings;

// Printouts are measured at a printer's resolution; the logical sizes do not depend on it.
constexpr double kPaperDpi = 600.0;
// An A4 page in 0.1 mm.
constexpr int kA4Width = 2100, kA4Height = 2970;
constexpr int kHeadGap = 20;  // between the page head and the table or graph

}  // namespace

RectifView::RectifView(QWidget* parent) : ChartDocView(kDocViewRectification, parent) {
  SetScrollByLines(platform::MapMode::LoMetric);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  QScrollBar* bar = horizontalScrollBar();
  bar->setSingleStep(1);
  connect(bar, &QScrollBar::valueChanged, this,
          [this](int value) { ScrollTrials(RectScroll::kThumb, value); });
}

RectifView::~RectifView() = default;

void RectifView::OnInitialUpdate() {
  CountOpen();
  ChartDocument* document = GetDocument();
  if (document == nullptr || document->GetChart() == nullptr) return;
  const Configuration& config = GetConfiguration();
  Workbench& workbench = document->GetWorkbench();
  verticalGrid_ = config.rectification.Get(Block::kVerticalGrid) != 0;
  horizontalGrid_ = config.rectification.Get(Block::kHorizontalGrid) != 0;
  graph_.UsePrintSettings(config);
  if (!CalculateRectMatrix(graph_, *document->GetChart(), config, GetAspectarium(),
                           workbench.RectificationEvents(), workbench.MainWindow())) {
    CloseViewLater(*this);
    return;
  }
  calculated_ = true;
  graph_.SetForm(config.rectification.Get(Block::kDisplayMode));
  LayOutScreen();
}

void RectifView::LayOutScreen() {
  if (!calculated_) return;
  platform::MeasuringDc measure(logicalDpiY(), false, platform::MapMode::LoMetric);
  const int width = std::max(1, viewport()->width() * 254 / std::max(1, logicalDpiX()));
  const int height = std::max(1, viewport()->height() * 254 / std::max(1, logicalDpiY()));
  graph_.LayOut(measure.dc(), {0, 0, width, -height}, false);
  QScrollBar* bar = horizontalScrollBar();
  {
    const QSignalBlocker block(bar);
    const bool table = graph_.Form() != kRectGraph;
    bar->setRange(0, table ? std::max(0, graph_.TrialCount() - 1) : 0);
    bar->setPageStep(std::max(1, graph_.Layout(false).visibleTrials));
    bar->setValue(graph_.FirstVisible());
  }
  viewport()->update();
}

void RectifView::resizeEvent(QResizeEvent* event) {
  ChartDocView::resizeEvent(event);
  LayOutScreen();
}

void RectifView::ScrollTrials(RectScroll action, int position) {
  graph_.Scroll(action, position);
  QScrollBar* bar = horizontalScrollBar();
  const QSignalBlocker block(bar);
  bar->setValue(graph_.FirstVisible());
  viewport()->update();
}

void RectifView::NextForm() {
  if (!calculated_) return;
  graph_.CycleForm();
  LayOutScreen();
}

void RectifView::OnRButtonDown(platform::Point) { NextForm(); }

void RectifView::OnLButtonDblClk(platform::Point at) { OpenChartsAt(at); }

void RectifView::OpenChartsAt(platform::Point at) {
  ChartDocument* document = GetDocument();
  if (!calculated_ || document == nullptr || document->GetChart() == nullptr) return;
  const RectHit hit = graph_.HitTest(at);
  if (hit.trial < 0) return;
  const Moment moment = graph_.TrialMoment(hit.trial);
  if (graph_.Form() != kRectByEvents) {
    document->DrawRectifiedChart(moment, 'R');
    return;
  }
  if (hit.row < 0 || hit.row >= static_cast<int>(graph_.Events().size())) return;
  const LifeEvent& event = graph_.Events()[static_cast<std::size_t>(hit.row)];
  Workbench& workbench = document->GetWorkbench();
  DRectChooseChart choose(workbench.MainWindow());
  if (choose.DoModal() != platform::kIdOk) return;
  if (choose.show[DRectChooseChart::kNatal]) document->DrawRectifiedChart(moment, 'R');
  // The derived charts of the event's date come from the natal chart of the trial minute.
  const ChartContext ctx = ChartContext::FromCurrentSettings();
  Chart natal = *document->GetChart();
  natal.definition.GetCountSrc().AssignMoment(moment);
  Status st = ChartCalculate(ctx, natal);
  using Make = Status (*)(const ChartContext&, Chart&, const Chart&, const Moment&);
  const std::pair<int, Make> derived[] = {{DRectChooseChart::kDirected, &MakeDirected},
                                          {DRectChooseChart::kProgressed, &MakeProgressed},
                                          {DRectChooseChart::kTransit, &MakeTransit}};
  for (const auto& [box, make] : derived) {
    if (!st.ok() || !choose.show[static_cast<std::size_t>(box)]) continue;
    Chart out;
    st = make(ctx, out, natal, event.moment);
    if (st.ok()) workbench.OpenChartDocument(DocCreation::DerivedChart(std::move(out)));
  }
  if (!st.ok()) ReportStatus(st, "RectMatrix::LButtonDblClk");
}

void RectifView::OnPrepareDC(platform::Dc& dc) {
  dc.SetMapMode(platform::MapMode::LoMetric);
  dc.SetViewportOrg({0, 0});
}

void RectifView::OnDraw(platform::Dc& dc) {
  if (!calculated_) return;
  graph_.Draw(dc, verticalGrid_, horizontalGrid_);
}

platform::Rect RectifView::PaperArea(int headBottom) const {
  const cfg::PrintSettings& p = GetConfiguration().print;
  const int left = p.marginLeft / 10, top = p.marginTop / 10;
  // The table or graph begins under the page head (headBottom in 0.01 mm).
  const int head = std::max(RectGraph::kPaperHead, -headBottom / 10 - top + kHeadGap);
  const int right = std::max(left + 100, kA4Width - p.marginRight / 10);
  const int bottom = std::max(top + head + 100, kA4Height - p.marginBottom / 10);
  return {left, -(top + head), right, -bottom};
}

bool RectifView::OnPreparePrinting(platform::PrintInfo& info) {
  const ChartDocument* document = GetDocument();
  if (!calculated_ || document == nullptr || document->GetChart() == nullptr) return false;
  platform::MeasuringDc measure(kPaperDpi, true, platform::MapMode::LoMetric);
  const int headBottom =
      DrawRectPageHead(measure.dc(), *document->GetChart(), GetConfiguration(), 1);
  graph_.UsePrintSettings(GetConfiguration());
  graph_.LayOut(measure.dc(), PaperArea(headBottom), true);
  info.minPage = 1;
  info.maxPage = graph_.PageCount();
  return true;
}

void RectifView::OnPrint(platform::Dc& dc, int page) {
  const ChartDocument* document = GetDocument();
  if (!calculated_ || document == nullptr || document->GetChart() == nullptr) return;
  dc.SetMapMode(platform::MapMode::LoMetric);
  DrawRectPageHead(dc, *document->GetChart(), GetConfiguration(), page);
  graph_.DrawPage(dc, page, verticalGrid_, horizontalGrid_);
}

std::string RectifView::GetFrameTitle() const {
  return platform::View::GetFrameTitle() + GetMessageText(kMsgRectifCaption);
}
