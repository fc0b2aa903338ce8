#include "views/ui/asp_graph_view.h"

#include <QAbstractSlider>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QResizeEvent>
#include <QScrollBar>
#include <algorithm>

#include "astro/chart/chart_context.h"
#include "document/chart_document.h"
#include "document/workbench.h"
#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/errors/error_report.h"
#include "foundation/lists/list_navigation.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/qt/background_run.h"
#include "platform/qt/child_frame.h"
#include "platform/qt/qt_text.h"
#include "views/core/asp_graph_data.h"
#include "views/core/asp_graph_draw.h"
#include "views/core/asp_graph_pages.h"
#include "views/ui/asp_graph_dialogs.h"
#include "views/ui/view_kinds.h"

namespace {

constexpr int kMinWidth = 640, kMinHeight = 480;

// The scroll code of a scroll bar's action; -1 for an action that is no code.
int ScrollCodeOf(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      return kScrollLineUp;
    case QAbstractSlider::SliderSingleStepAdd:
      return kScrollLineDown;
    case QAbstractSlider::SliderPageStepSub:
      return kScrollPageUp;
    case QAbstractSlider::SliderPageStepAdd:
      return kScrollPageDown;
    case QAbstractSlider::SliderToMinimum:
      return kScrollTop;
    case QAbstractSlider::SliderToMaximum:
      return kScrollBottom;
    default:
      return -1;
  }
}

AspGraphPaint PaintOf(const Configuration& config, bool printing) {
  using G = cfg::AspectGraphSettings;
  AspGraphPaint paint;
  paint.printing = printing;
  paint.fillType = std::clamp<int>(config.aspectGraph.Get(G::kFillType), 0, 2);
  paint.colourPrinting = config.colourPrinting != 0;
  return paint;
}

}  // namespace

CAspGraphView::CAspGraphView(std::shared_ptr<const CAspGraphData> data, QWidget* parent)
    : ChartDocView(kDocViewAspectGraph, parent), data_(std::move(data)) {
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this, [this](int action) {
    const int code = ScrollCodeOf(action);
    if (code >= 0) ScrollHorizontal(code, 0);
  });
  connect(horizontalScrollBar(), &QScrollBar::sliderReleased, this, [this] {
    ScrollHorizontal(kScrollThumbPosition, horizontalScrollBar()->sliderPosition());
  });
  connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, [this](int action) {
    const int code = ScrollCodeOf(action);
    if (code >= 0) ScrollVertical(code, 0);
  });
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
    if (value != firstRow_) ScrollVertical(kScrollThumbPosition, value);
  });
}

void CAspGraphView::OnInitialUpdate() {
  CountOpen();
  SetScrollByLines(platform::MapMode::HiMetric);
  // The frame fills the main window's working area (a hidden one has no size yet: then a window
  // of 640 x 480), laid out at once so that the samples follow the window's width.
  if (platform::ChildFrame* frame = Frame()) {
    if (QMdiArea* area = frame->mdiArea())
      frame->resize(area->viewport()->size().expandedTo(QSize(kMinWidth, kMinHeight)));
    if (QLayout* layout = frame->layout()) layout->activate();
  }
  LayOutScreen();
  if (ChartDocument* document = GetDocument(); document != nullptr && document->GetChart())
    calc_.Prepare(*document->GetChart(), *data_);
  ResetBars();
  // Samples: the plot's pixels times the speed setting's factor; kept while the window resizes.
  n_ = aspgraph::SampleCount(screen_, viewport()->width(), ClientWidth(),
                             GetConfiguration().aspectGraph.Get(cfg::AspectGraphSettings::kSpeed));
  Compute();
  platform::View::OnUpdate(nullptr);
}

void CAspGraphView::ResetBars() {
  QScrollBar* h = horizontalScrollBar();
  h->setRange(0, 2);
  h->setPageStep(1);
  h->setValue(1);
  QScrollBar* v = verticalScrollBar();
  v->setRange(0, std::max(calc_.PairCount() - 1, 0));
  v->setPageStep(std::max(screen_.rowsPerPage, 1));
  v->setValue(firstRow_);
}

void CAspGraphView::LayOutScreen() {
  const int width = ClientWidth();
  const int height = std::max(1, viewport()->height() * 2540 / std::max(1, logicalDpiY()));
  screen_ = aspgraph::ScreenLayout(
      {0, 0, width, -height}, GetConfiguration().aspectGraph.Get(cfg::AspectGraphSettings::kRows));
  aspgraph::SetVerticalScale(screen_, maxOrb_);
}

void CAspGraphView::Compute() {
  // The samples are computed into a copy the window does not draw; it takes them once they are
  // complete, and a cancelled run leaves the graph as it was.
  CAspGraphCalc next = calc_;
  int maxOrb = maxOrb_;
  Status st;
  const ChartContext ctx = ChartContext::FromCurrentSettings();
  platform::BackgroundRun run(platform::ToQt(GetMessageText(kMsgAspectGraphTitle)), this);
  if (run.Run([&](platform::ProgressSink& p) { st = next.Calculate(ctx, n_, maxOrb, &p); })) {
    calc_ = std::move(next);
    maxOrb_ = maxOrb;
  }
  ReportStatus(st, "CAspGraphCalc::Calculate");
  aspgraph::SetVerticalScale(screen_, maxOrb_);
  viewport()->update();
}

void CAspGraphView::resizeEvent(QResizeEvent* event) {
  ChartDocView::resizeEvent(event);
  LayOutScreen();
  verticalScrollBar()->setPageStep(std::max(screen_.rowsPerPage, 1));
  viewport()->update();
}

std::string CAspGraphView::GetFrameTitle() const {
  return platform::View::GetFrameTitle() + GetMessageText(kMsgAspectGraphCaption);
}

void CAspGraphView::OnDraw(platform::Dc& dc) {
  // Paper is drawn by OnPrint.
  if (dc.IsPrinting()) return;
  dc.SetMapMode(platform::MapMode::HiMetric);
  DrawAspGraphTimeAxis(dc, screen_, calc_.FirstDay(), calc_.Scale());
  DrawAspGraphRows(dc, screen_, calc_.List(), calc_.Samples(), firstRow_,
                   PaintOf(GetConfiguration(), false));
}

bool CAspGraphView::OnPreparePrinting(platform::PrintInfo& info) {
  info.minPage = info.maxPage = 1;
  return platform::View::OnPreparePrinting(info);
}

void CAspGraphView::OnPrint(platform::Dc& dc, int) {
  const ChartDocument* document = GetDocument();
  if (document == nullptr || document->GetChart() == nullptr) return;
  const Configuration& config = GetConfiguration();
  dc.SetMapMode(platform::MapMode::HiMetric);
  const PageTitlePlace head = DrawAspGraphPageHeading(dc, config, *document->GetChart());
  AspGraphLayout page = aspgraph::PrintLayout(config.print, calc_.PairCount(), head.bottom);
  aspgraph::SetVerticalScale(page, maxOrb_);
  DrawAspGraphTimeAxis(dc, page, calc_.FirstDay(), calc_.Scale());
  DrawAspGraphRows(dc, page, calc_.List(), calc_.Samples(), 0, PaintOf(config, true));
}

void CAspGraphView::ScrollHorizontal(int code, int position) {
  const int days = aspgraph::ScrollDays(code, position, calc_.Span());
  // The scroll box stays in the middle.
  horizontalScrollBar()->setValue(1);
  if (days == 0) return;
  calc_.ShiftFirstDay(days);
  Compute();
}

void CAspGraphView::ScrollVertical(int code, int position) {
  firstRow_ =
      aspgraph::ScrollRows(code, position, firstRow_, screen_.rowsPerPage, calc_.PairCount());
  QScrollBar* bar = verticalScrollBar();
  const bool blocked = bar->blockSignals(true);
  bar->setValue(firstRow_);
  bar->blockSignals(blocked);
  viewport()->update();
}

void CAspGraphView::OnLButtonDblClk(platform::Point at) { ShowSample(at.x); }

void CAspGraphView::OnRButtonDown(platform::Point at) { ShowSample(at.x); }

void CAspGraphView::ShowSample(int x) {
  const int sample = SampleAt(x);
  if (sample < 0) return;
  // Over sample i: its x on the screen, kept inside the graph window.
  const auto sampleX = [this](int i) {
    const int logical = aspgraph::SampleX(screen_, i, calc_.SampleCount());
    const int pixel = logical * logicalDpiX() / 2540;
    const QPoint global = viewport()->mapToGlobal(QPoint(pixel, 0));
    const QPoint left = viewport()->mapToGlobal(QPoint(0, 0));
    return std::clamp(global.x(), left.x(), left.x() + std::max(viewport()->width() - 1, 0));
  };
  DASPGRAPHDATA dialog(calc_, sample, sampleX, this);
  dialog.DoModal();
}
