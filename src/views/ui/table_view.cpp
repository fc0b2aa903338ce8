#include "views/ui/table_view.h"

#include <QResizeEvent>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_context.h"
#include "document/chart_document.h"
#include "foundation/config/configuration.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "views/core/aspect_table.h"
#include "views/core/chart_info_panel.h"
#include "views/core/table_page_header.h"

namespace {

constexpr int kOrigin = 50;

}  // namespace

TableView::TableView(const DocViewKind& kind, int tableKind, QWidget* parent)
    : ChartDocView(kind, parent), tableKind_(tableKind) {
  // The table fills the width; a tall table scrolls (the bar always there, so the width holds).
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

TableView::~TableView() = default;

void TableView::OnInitialUpdate() {
  CountOpen();
  ChartDocument* document = GetDocument();
  table_ = std::make_unique<AspectTable>(GetConfiguration(), GetAspectarium());
  if (document != nullptr && document->GetChart() != nullptr)
    table_->LoadSettings(*document->GetChart());
  table_->kind = static_cast<std::uint16_t>(tableKind_);
  const int width = ClientWidth();
  scrollHeight_ = width + 2 * kOrigin;
  SetScrollSizes(platform::MapMode::HiMetric, {width, scrollHeight_});
  platform::View::OnInitialUpdate();
}

void TableView::OnUpdate(platform::View* sender) {
  if (ChartDocument* document = GetDocument()) document->UpdateTitle();
  // Settings may have changed: the table is laid out anew.
  if (table_ != nullptr && GetDocument() != nullptr && GetDocument()->GetChart() != nullptr)
    table_->LoadSettings(*GetDocument()->GetChart());
  resized = 1;
  platform::View::OnUpdate(sender);
}

void TableView::resizeEvent(QResizeEvent* event) {
  platform::View::resizeEvent(event);
  resized = 1;
  SetScrollSizes(platform::MapMode::HiMetric, {ClientWidth(), scrollHeight_});
  viewport()->update();
}

void TableView::OnEndPrinting() {
  resized = 1;
  viewport()->update();
}

int TableView::RenderScreen(platform::Dc& dc) {
  ChartDocument* document = GetDocument();
  if (table_ == nullptr || document == nullptr || document->GetChart() == nullptr) return -1;
  table_->clientWidth = ClientWidth();
  table_->originX = kOrigin;
  table_->originY = -kOrigin;
  table_->needsLayout = resized;
  resized = 0;
  int choice = document->firstTableChoice;
  if (choice == AspectTable::kChoiceBetween && !document->IsTwoChart()) choice = 0;
  table_->Render(dc, choice, *document->GetChart(), document->GetOuterChart());
  // The scrolled height follows the table as laid out.
  const int height = (table_->count + 1) * table_->cellHeight + 2 * kOrigin;
  if (height != scrollHeight_ && table_->cellHeight > 0) {
    scrollHeight_ = height;
    SetScrollSizes(platform::MapMode::HiMetric, {table_->clientWidth, height});
  }
  return choice;
}

void TableView::TellPanelProblemOnce() {
  ChartDocument* document = GetDocument();
  if (panelProblemShown_ || document == nullptr || document->GetChart() == nullptr) return;
  ChartInfoPanel panel;
  panel.SetChart(document->GetChart());
  if (panel.polar == 0) panel.ComputePlanetaryHours(ChartContext::FromCurrentSettings());
  if (const int problem = panel.Problem(); problem != 0) {
    ShowMessage(problem, platform::Icon::Information);
    panelProblemShown_ = true;
  }
}

void TableView::ChooseTablePageCharts(int upperKind, int lowerKind) {
  ChartDocument* document = GetDocument();
  if (document == nullptr) return;
  if (document->IsTwoChart()) {
    document->ChooseChartForTable(upperKind, 1);
    if (lowerKind >= 0) document->ChooseChartForTable(lowerKind, 2);
  } else {
    document->firstTableChoice = document->secondTableChoice = 3;
  }
  if (lowerKind == kLowerPanel) TellPanelProblemOnce();
}

void TableView::PrintTablePage(platform::Dc& dc, int samePage, int upperKind, int lowerKind) {
  ChartDocument* document = GetDocument();
  if (document == nullptr || document->GetChart() == nullptr) return;
  const Configuration& config = GetConfiguration();
  const Chart& inner = *document->GetChart();
  const Chart* outer = document->GetOuterChart();
  DrawTablePageHeader(dc, config, inner, outer, samePage);
  AspectTable upper(config, GetAspectarium());
  upper.Draw(dc, kLayoutTableUpper, inner, outer, document->firstTableChoice, upperKind);
  if (lowerKind >= 0) {
    AspectTable lower(config, GetAspectarium());
    lower.Draw(dc, kLayoutTableLower, inner, outer, document->secondTableChoice, lowerKind);
  } else if (lowerKind == kLowerPanel) {
    ChartInfoPanel panel;
    panel.DrawPage(dc, ChartContext::FromCurrentSettings(), config, inner, kPanelLayoutLower);
  }
}
