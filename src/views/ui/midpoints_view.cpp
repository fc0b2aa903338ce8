#include "views/ui/midpoints_view.h"

#include <QMouseEvent>
#include <array>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_context.h"
#include "astro/ephemeris/longitudes.h"
#include "document/aspects_list_box.h"
#include "document/chart_document.h"
#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/qt/measuring_dc.h"
#include "views/core/aspect_table.h"
#include "views/core/chart_info_panel.h"
#include "views/core/table_page_header.h"
#include "views/ui/midpoints_dialogs.h"
#include "views/ui/view_kinds.h"

namespace {

constexpr int kScreenDpi = 96;

// The list of a click: the aspect symbol, the point's glyph, the orb and the arc.
constexpr std::array<int, kAspectListColumns> kClickColumns = {-1, 1, 0, -1, -1, -1,
                                                               -1, 3, 2, -1, -1};
constexpr std::array<double, kAspectListColumns> kClickWidths = {2.0, 2.0, 2.0, 1.5, 1.5, 1.5,
                                                                 1.5, 5.0, 3.2, 8.0, 4.0};

}  // namespace

CMidpointsView::CMidpointsView(QWidget* parent)
    : TableView(kDocViewMidpoints, AspectTable::kKindMidpoints, parent) {}

CMidpointsView::~CMidpointsView() = default;

std::string CMidpointsView::GetFrameTitle() const {
  return platform::View::GetFrameTitle() + GetMessageText(kMsgMidpointsCaption);
}

void CMidpointsView::OnDraw(platform::Dc& dc) {
  if (dc.IsPrinting()) {
    // The list's pages are drawn by OnPrint alone.
    if (printForm_ == tables::kPrintAsGrid) {
      dc.SetMapMode(platform::MapMode::HiMetric);
      PrintGridPage(dc);
    }
    return;
  }
  const int choice = RenderScreen(dc);
  ChartDocument* document = GetDocument();
  if (choice < 0 || document == nullptr) return;
  const Chart* inner = document->GetChart();
  const Chart* outer = document->GetOuterChart() != nullptr ? document->GetOuterChart() : inner;
  const int drawn = AspectTable::EffectiveChoice(choice, document->IsTwoChart());
  columnChart = drawn == 1 ? outer : inner;
  rowChart = drawn == 1 || drawn == AspectTable::kChoiceBetween ? outer : inner;
}

bool CMidpointsView::OnPreparePrinting(platform::PrintInfo& info) {
  ChartDocument* document = GetDocument();
  if (document == nullptr || document->GetChart() == nullptr) return false;
  Configuration& config = GetConfiguration();
  DMIDPOINTS_PRINT dialog(this);
  dialog.model.Load(config.midpointPrint);
  dialog.model.hasOuter = document->IsTwoChart();
  if (dialog.DoModal() != platform::kIdOk) return false;
  dialog.model.Store(config.midpointPrint);
  PublishSettings();
  printForm_ = dialog.model.printForm;

  const Chart& inner = *document->GetChart();
  const Chart* outer = document->GetOuterChart();
  if (printForm_ == tables::kPrintAsList) {
    // The list is made afresh from the settings, on a table of its own.
    list_ = std::make_unique<AspectTable>(config, GetAspectarium());
    const Chart& aspectChart = outer != nullptr && dialog.model.listChart == 1 ? *outer : inner;
    platform::MeasuringDc measuring(kScreenDpi, false, platform::MapMode::HiMetric);
    const int pages = list_->CreateMidpList(measuring.dc(), document->firstTableChoice, inner,
                                            outer, aspectChart);
    if (pages < 0) return false;  // message 683 shown
    info.minPage = 1;
    info.maxPage = pages;
  } else {
    static constexpr int kSameOfChoice[3] = {kSameAspectTable, kSameInfoPanel, kSameNothing};
    samePage = kSameOfChoice[dialog.model.samePage];
    ChooseTablePageCharts(AspectTable::kKindMidpoints, LowerPart());
  }
  return platform::View::OnPreparePrinting(info);
}

void CMidpointsView::OnPrint(platform::Dc& dc, int page) {
  dc.SetMapMode(platform::MapMode::HiMetric);
  ChartDocument* document = GetDocument();
  if (document == nullptr || document->GetChart() == nullptr) return;
  if (printForm_ == tables::kPrintAsList) {
    if (list_ != nullptr)
      list_->DrawListPage(dc, page, *document->GetChart(), document->GetOuterChart());
    return;
  }
  PrintGridPage(dc);
}

void CMidpointsView::OnEndPrinting() {
  list_.reset();
  TableView::OnEndPrinting();
}

int CMidpointsView::LowerPart() const {
  return samePage == kSameAspectTable ? AspectTable::kKindAspects
         : samePage == kSameInfoPanel ? kLowerPanel
                                      : kLowerNothing;
}

void CMidpointsView::PrintGridPage(platform::Dc& dc) {
  PrintTablePage(dc, samePage, AspectTable::kKindMidpoints, LowerPart());
}

bool CMidpointsView::CellClick(platform::Point logical, QPoint device) {
  AspectTable* table = Table();
  if (table == nullptr || columnChart == nullptr || rowChart == nullptr) return false;
  int columnPoint = 0, rowPoint = 0;
  if (!table->HitCell(logical.x, logical.y, columnPoint, rowPoint)) return false;
  const AngleValue a = AspectTable::TablePointLongitude(*columnChart, columnPoint);
  const AngleValue b = AspectTable::TablePointLongitude(*rowChart, rowPoint);
  if (!a.IsSet() || !b.IsSet()) return false;
  const double midpoint = MidpointLongitude(a.Get(), b.Get());

  DMPAList dialog(this);
  CAspectsListBox& list = *dialog.List();
  list.Init(kListCapacity, kClickColumns, table->MidpointSystem(), &kClickWidths);
  for (const MidpointAspect& found : table->AspectsToMidpoint(midpoint, *columnChart)) {
    AspectListItem item;
    item.object2 = static_cast<short>(found.target < AspectTable::kFirstCuspPoint
                                          ? found.target
                                          : 1000 + found.target - AspectTable::kFirstCuspPoint);
    item.aspect = static_cast<short>(found.position);
    item.exact = found.exact ? 'E' : 'N';
    item.value1 = found.arc;
    item.value2 = found.orb;
    if (!list.InsertItem(item, 2)) break;  // full: told once
  }
  dialog.click = viewport()->mapToGlobal(device);
  dialog.area = QRect(viewport()->mapToGlobal(QPoint(0, 0)), viewport()->size());
  dialog.point1 = columnPoint;
  dialog.point2 = rowPoint;
  dialog.longitude = midpoint;
  dialog.longitudeLayout = columnChart->IsLocalSpace() ? 2 : 1;
  dialog.DoModal();
  return true;
}

void CMidpointsView::mousePressEvent(QMouseEvent* event) {
  lastPress_ = event->position().toPoint();
  TableView::mousePressEvent(event);
}

void CMidpointsView::mouseDoubleClickEvent(QMouseEvent* event) {
  lastPress_ = event->position().toPoint();
  TableView::mouseDoubleClickEvent(event);
}

void CMidpointsView::OnLButtonDblClk(platform::Point point) { CellClick(point, lastPress_); }

void CMidpointsView::OnRButtonDown(platform::Point point) { CellClick(point, lastPress_); }
