#include "astrocarto/ui/astrocart_view.h"

#include <QMdiArea>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QScrollBar>

#include "astrocarto/core/near_towns.h"
#include "astrocarto/ui/paran_view.h"
#include "astrocarto/ui/selected_towns_dialog.h"
#include "astrocarto/ui/view_kinds.h"
#include "document/chart_document.h"
#include "document/command_ids.h"
#include "document/workbench.h"
#include "foundation/atlas/town_search.h"
#include "foundation/atlas/towns.h"
#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/qt/child_frame.h"
#include "platform/qt/doc_template.h"
#include "platform/qt/progress_dialog.h"
#include "platform/qt/qt_text.h"

namespace {

ScrollCode CodeOf(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
      return ScrollCode::kLineUp;
    case QAbstractSlider::SliderSingleStepAdd:
      return ScrollCode::kLineDown;
    case QAbstractSlider::SliderPageStepSub:
      return ScrollCode::kPageUp;
    case QAbstractSlider::SliderPageStepAdd:
      return ScrollCode::kPageDown;
    case QAbstractSlider::SliderToMinimum:
      return ScrollCode::kTop;
    case QAbstractSlider::SliderToMaximum:
      return ScrollCode::kBottom;
    case QAbstractSlider::SliderMove:
      return ScrollCode::kThumb;
    default:
      return ScrollCode::kNone;
  }
}

}  // namespace

CAstroCartView::CAstroCartView(QWidget* parent) : ChartDocView(kDocViewMap, parent) {
  OnCommand(
      cmd::kAddRemoveChart, [this] { OnAcAddchart(); },
      [this](platform::CommandState& state) { state.enabled = map_ != nullptr; });
  OnCommand(
      cmd::kLineCrossings, [this] { OnAcCrossings(); },
      [this](platform::CommandState& state) {
        state.enabled = map_ != nullptr && GetDocument() != nullptr &&
                        GetDocument()->GetWorkbench().GetTemplate(kTemplateParan) != nullptr;
      });
  connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this,
          [this](int action) { OnScrollAction(false, action); });
  connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
          [this](int action) { OnScrollAction(true, action); });
}

CAstroCartView::~CAstroCartView() {
  // The document's reference to the lines goes with the view.
  if (ChartDocument* document = GetDocument()) document->PartState<MapViewLines>().lines.reset();
}

void CAstroCartView::OnInitialUpdate() {
  SetScrollByLines(platform::MapMode::HiMetric);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  CountOpen();
  ChartDocument* document = GetDocument();
  if (document == nullptr || document->GetChart() == nullptr) return;
  // The map fills the main window's MDI area.
  if (platform::ChildFrame* frame = Frame(); frame != nullptr && frame->mdiArea() != nullptr) {
    frame->setGeometry(QRect(QPoint(0, 0), frame->mdiArea()->viewport()->size()));
    frame->show();
  }
  const Configuration& config = GetConfiguration();
  map_ = std::make_unique<AstroCartMap>(document->GetWorkbench().GetMaps(), GetTowns());
  DPROGRESSBAR progress(platform::ToQt(GetMessageText(kMsgAstrocartographyTitle)), this);
  map_->Init(ReadAstroCartPage(config.astroCart), config, *document->GetChart(), progress);
  drawn_ = *document->GetChart();
  document->PartState<MapViewLines>().lines = map_->SharedLines();
  Relayout();
  platform::View::OnUpdate(nullptr);
}

void CAstroCartView::OnUpdate(platform::View* sender) {
  ChartDocument* document = GetDocument();
  if (map_ && document != nullptr && document->GetChart() != nullptr &&
      !(*document->GetChart() == drawn_)) {
    drawn_ = *document->GetChart();
    DPROGRESSBAR progress(platform::ToQt(GetMessageText(kMsgAstrocartographyTitle)), this);
    map_->RecalculateFirst(drawn_, progress);
  }
  platform::View::OnUpdate(sender);
}

std::string CAstroCartView::GetFrameTitle() const {
  return platform::View::GetFrameTitle() + GetMessageText(kMsgAstrocartographyCaption);
}

void CAstroCartView::Relayout() {
  if (!map_) return;
  const QSize pixels = viewport()->size();
  const int dpiX = std::max(1, logicalDpiX()), dpiY = std::max(1, logicalDpiY());
  map_->Resize(pixels.width() * 2540 / dpiX, pixels.height() * 2540 / dpiY, pixels.width(),
               pixels.height());
  UpdateBars();
}

void CAstroCartView::resizeEvent(QResizeEvent* event) {
  platform::View::resizeEvent(event);
  Relayout();
}

void CAstroCartView::UpdateBars() {
  if (!map_) return;
  for (const bool vertical : {false, true}) {
    QScrollBar* bar = vertical ? verticalScrollBar() : horizontalScrollBar();
    const ScrollBar state = map_->Bar(vertical);
    const QSignalBlocker quiet(bar);
    bar->setRange(state.minimum, state.maximum);
    bar->setSingleStep(1);
    bar->setPageStep(10);
    bar->setValue(state.position);
  }
}

void CAstroCartView::OnScrollAction(bool vertical, int action) {
  if (!map_) return;
  QScrollBar* bar = vertical ? verticalScrollBar() : horizontalScrollBar();
  const ScrollCode code = CodeOf(action);
  if (code != ScrollCode::kNone && map_->Scroll(vertical, code, bar->sliderPosition()))
    viewport()->update();
  // The bar shows where the window went, whatever the slider would have done.
  bar->setSliderPosition(map_->Bar(vertical).position);
}

void CAstroCartView::ZoomAt(platform::Point logical, bool back) {
  if (!map_ || !map_->DoubleClick(logical, back)) return;
  UpdateBars();
  viewport()->update();
}

void CAstroCartView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const bool back = (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) != 0;
  ZoomAt(DeviceToLogical(event->position().toPoint()), back);
}

void CAstroCartView::OnDraw(platform::Dc& dc) {
  if (!map_ || dc.IsPrinting()) return;
  // Colours and options are read at every paint.
  map_->SetSettings(ReadAstroCartPage(GetConfiguration().astroCart));
  map_->Paint(dc);
}

bool CAstroCartView::OnPreparePrinting(platform::PrintInfo& info) {
  info.minPage = info.maxPage = 1;
  return map_ != nullptr;
}

void CAstroCartView::OnPrint(platform::Dc& dc, int) {
  ChartDocument* document = GetDocument();
  if (!map_ || document == nullptr || document->GetChart() == nullptr) return;
  map_->SetSettings(ReadAstroCartPage(GetConfiguration().astroCart));
  map_->Print(dc, GetConfiguration(), *document->GetChart());
}

void CAstroCartView::OnAcAddchart() {
  ChartDocument* document = GetDocument();
  if (!map_ || document == nullptr) return;
  if (map_->HasSecondChart()) {
    map_->RemoveSecondChart();
  } else {
    Chart second;
    if (!document->GetWorkbench().EnterChart(second)) return;
    DPROGRESSBAR progress(platform::ToQt(GetMessageText(kMsgAstrocartographyTitle)), this);
    map_->AddSecondChart(second, progress);
  }
  viewport()->update();
}

void CAstroCartView::OnAcCrossings() {
  ChartDocument* document = GetDocument();
  if (!map_ || document == nullptr) return;
  platform::DocTemplate* paranTemplate = document->GetWorkbench().GetTemplate(kTemplateParan);
  if (paranTemplate == nullptr) return;
  platform::ChildFrame* frame = paranTemplate->CreateNewFrame(*document);
  if (auto* paran = dynamic_cast<CParanView*>(frame->GetView()))
    paran->SetMap(map_->SharedLines(), map_->SecondChart());
  paranTemplate->InitialUpdateFrame(*frame, *document);
}

void CAstroCartView::NearTownsAt(platform::Point logical) {
  ChartDocument* document = GetDocument();
  if (!map_ || document == nullptr) return;
  double longitude = 0.0, latitude = 0.0;
  const NearTownList& near = map_->CollectNearTowns(logical, longitude, latitude);
  DSELECTED_TOWNS dialog(this);
  dialog.page.Init(near, GetTowns(), longitude, latitude);
  if (dialog.DoModal() == platform::kIdOk) {
    std::vector<ChartDocument::RelocationTown> towns;
    for (const std::int32_t town : dialog.page.ChosenTowns()) {
      ChartDocument::RelocationTown chosen;
      chosen.flag = 'Y';
      if (PlaceOfTown(GetTowns(), town, chosen.place)) towns.push_back(chosen);
    }
    document->OpenRelocatedCharts(towns, dialog.page.pointChosen, PlaceOfPoint(longitude, latitude),
                                  dialog.page.mode);
  }
  // Whatever the outcome, the list is emptied for the next click.
  map_->ClearNearTowns();
}
