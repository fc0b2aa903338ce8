#include "rectification/ui/pr_tremin_view.h"

#include <QScrollBar>
#include <algorithm>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_context.h"
#include "document/chart_document.h"
#include "document/workbench.h"
#include "foundation/config/configuration.h"
#include "foundation/errors/error_report.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/qt/measuring_dc.h"
#include "platform/qt/progress_dialog.h"
#include "platform/qt/qt_text.h"
#include "rectification/ui/tremin_view.h"
#include "rectification/ui/view_kinds.h"

namespace {

// Printouts are measured at a printer's resolution; the logical sizes do not depend on it.
constexpr double kPaperDpi = 600.0;

}  // namespace

CPrTreminView::CPrTreminView(QWidget* parent) : ChartDocView(kDocViewTreminForecast, parent) {
  SetScrollByLines(platform::MapMode::HiMetric);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  for (QScrollBar* bar : {verticalScrollBar(), horizontalScrollBar()}) {
    bar->setSingleStep(1);
    connect(bar, &QScrollBar::valueChanged, this, [this](int value) { SetFirstRow(value); });
  }
}

CPrTreminView::~CPrTreminView() = default;

void CPrTreminView::OnInitialUpdate() {
  CountOpen();
  ChartDocument* document = GetDocument();
  if (document == nullptr || document->GetChart() == nullptr) return;
  Configuration& config = GetConfiguration();
  settings_ = ReadTmForecastSettings(config);
  const ChartContext ctx(config, GetAspectarium());
  Status st = forecast_.Prepare(ctx, settings_);
  if (st.ok()) st = SetNatAndYear(ctx, settings_.year);
  if (st.ok()) {
    DPROGRESSBAR progress(platform::ToQt(GetMessageText(kMsgForecastTitle)),
                          document->GetWorkbench().MainWindow());
    st = CalculateYear(ctx, progress);
  }
  if (!st.ok()) {
    // No forecast (no event left, a cancel, a refusal): the view goes.
    TellTremin(st, "CPrTreminView::OnInitialUpdate");
    CloseViewLater(*this);
    return;
  }
  first_ = 0;
  LayOutScreen();
}

Status CPrTreminView::SetNatAndYear(const ChartContext& ctx, int year) {
  ChartDocument* document = GetDocument();
  if (document == nullptr || document->GetChart() == nullptr)
    return Status::Error(kErrParameter, "CPrTreminView::SetNatAndYear");
  return forecast_.SetNatAndYear(ctx, *document->GetChart(), year);
}

Status CPrTreminView::CalculateYear(const ChartContext& ctx, platform::ProgressSink& progress) {
  ChartDocument* document = GetDocument();
  if (document == nullptr) return Status::Error(kErrParameter, "CPrTreminView::CalculateYear");
  std::vector<Status> warnings;
  const Status st = forecast_.CalculateYear(ctx, document->GetWorkbench().TreminEvents(),
                                            settings_.order, progress, warnings);
  for (const Status& w : warnings) TellTremin(w, "CPrTreminView::CalculateYear");
  calculated_ = st.ok();
  return st;
}

int CPrTreminView::MaxFirst() const {
  return std::max(0, static_cast<int>(forecast_.Rows().size()) - rowsOnScreen_);
}

void CPrTreminView::SetFirstRow(int first) {
  first = std::clamp(first, 0, MaxFirst());
  if (first != first_) {
    first_ = first;
    viewport()->update();
  }
  for (QScrollBar* bar : {verticalScrollBar(), horizontalScrollBar()}) {
    const QSignalBlocker block(bar);
    bar->setValue(first_);
  }
}

void CPrTreminView::LayOutScreen() {
  platform::MeasuringDc measure(logicalDpiY(), false, platform::MapMode::HiMetric);
  const int height = viewport()->height() * 2540 / std::max(1, logicalDpiY());
  rowsOnScreen_ =
      LayOutTmForecastScreen(measure.dc(), ClientWidth(), height, settings_.fontSize).rowsPerPage;
  for (QScrollBar* bar : {verticalScrollBar(), horizontalScrollBar()}) {
    const QSignalBlocker block(bar);
    bar->setRange(0, MaxFirst());
    bar->setPageStep(std::max(1, rowsOnScreen_));
  }
  SetFirstRow(first_);
  viewport()->update();
}

void CPrTreminView::resizeEvent(QResizeEvent* event) {
  ChartDocView::resizeEvent(event);
  LayOutScreen();
}

void CPrTreminView::OnPrepareDC(platform::Dc& dc) {
  dc.SetMapMode(platform::MapMode::HiMetric);
  dc.SetViewportOrg({0, 0});
}

void CPrTreminView::OnDraw(platform::Dc& dc) {
  if (!calculated_) return;
  const int height = viewport()->height() * 2540 / std::max(1, logicalDpiY());
  const TmForecastLayout layout =
      LayOutTmForecastScreen(dc, ClientWidth(), height, settings_.fontSize);
  DrawTmForecastPage(dc, layout, forecast_.Rows(), forecast_.Order(), first_, TmBarStyle::kFilled);
}

bool CPrTreminView::OnPreparePrinting(platform::PrintInfo& info) {
  platform::MeasuringDc measure(kPaperDpi, true, platform::MapMode::HiMetric);
  paper_ = LayOutTmForecastPaper(measure.dc(), GetConfiguration());
  const int pages = TmForecastPageCount(paper_, static_cast<int>(forecast_.Rows().size()));
  if (pages == 0) return false;
  info.minPage = 1;
  info.maxPage = pages;
  return true;
}

void CPrTreminView::OnPrint(platform::Dc& dc, int page) {
  ChartDocument* document = GetDocument();
  if (document == nullptr || document->GetChart() == nullptr) return;
  const Configuration& config = GetConfiguration();
  DrawTmForecastPageHead(dc, *document->GetChart(), config, forecast_.Year(), page);
  const TmBarStyle style = settings_.fillWhenPrinting   ? TmBarStyle::kFilled
                           : config.colourPrinting == 1 ? TmBarStyle::kOutlineColour
                                                        : TmBarStyle::kOutlineBlack;
  DrawTmForecastPage(dc, paper_, forecast_.Rows(), forecast_.Order(),
                     (page - 1) * paper_.rowsPerPage, style);
}

std::string CPrTreminView::GetFrameTitle() const {
  return TmForecastCaption(forecast_.Year()) + platform::View::GetFrameTitle();
}
