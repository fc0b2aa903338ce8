#include "views/ui/asptable_view.h"

#include <QResizeEvent>
#include <QScrollBar>
#include <algorithm>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_context.h"
#include "foundation/config/configuration.h"
#include "foundation/messages/messages.h"
#include "platform/core/prompter.h"
#include "shell/kovra_doc.h"
#include "views/core/aspect_table.h"
#include "views/core/chart_info_panel.h"
#include "views/core/table_page_header.h"
#include "views/ui/table_choice_dialogs.h"

namespace {

constexpr int kOrigin = 50;

}  // namespace

CAspTableView::CAspTableView(QWidget* parent) : platform::View(parent) {
  // The table fills the width; a tall table scrolls (the bar always there, so the width holds).
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

CAspTableView::~CAspTableView() {
  if (counted_) {
    if (CKovraDoc* document = GetDocument()) document->ViewClosed(DocView::AspectTable);
  }
}

CKovraDoc* CAspTableView::GetDocument() const {
  return dynamic_cast<CKovraDoc*>(platform::View::GetDocument());
}

int CAspTableView::ClientWidth() const {
  return std::max(1, viewport()->width() * 2540 / std::max(1, logicalDpiX()));
}

void CAspTableView::OnInitialUpdate() {
  CKovraDoc* document = GetDocument();
  if (document != nullptr && !counted_) {
    document->ViewOpened(DocView::AspectTable);
    counted_ = true;
  }
  table_ = std::make_unique<AspectTable>(GetConfiguration(), GetAspectarium());
  if (document != nullptr && document->GetChart() != nullptr)
    table_->LoadSettings(*document->GetChart());
  table_->kind = AspectTable::kKindAspects;
  const int width = ClientWidth();
  scrollHeight_ = width + 2 * kOrigin;
  SetScrollSizes(platform::MapMode::HiMetric, {width, scrollHeight_});
  platform::View::OnInitialUpdate();
}

void CAspTableView::OnUpdate(platform::View* sender) {
  if (CKovraDoc* document = GetDocument()) document->UpdateTitle();
  // Settings may have changed: the table is laid out anew.
  if (table_ != nullptr && GetDocument() != nullptr && GetDocument()->GetChart() != nullptr)
    table_->LoadSettings(*GetDocument()->GetChart());
  resized = 1;
  platform::View::OnUpdate(sender);
}

std::string CAspTableView::GetFrameTitle() const {
  return platform::View::GetFrameTitle() + GetMessageText(kMsgCaption);
}

void CAspTableView::resizeEvent(QResizeEvent* event) {
  platform::View::resizeEvent(event);
  resized = 1;
  const int width = ClientWidth();
  SetScrollSizes(platform::MapMode::HiMetric, {width, scrollHeight_});
  viewport()->update();
}

void CAspTableView::OnDraw(platform::Dc& dc) {
  if (dc.IsPrinting()) {
    dc.SetMapMode(platform::MapMode::HiMetric);
    PrintPage(dc);
    return;
  }
  CKovraDoc* document = GetDocument();
  if (table_ == nullptr || document == nullptr || document->GetChart() == nullptr) return;
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
}

bool CAspTableView::OnPreparePrinting(platform::PrintInfo& info) {
  DPRINTPADE2 dialog(this);
  dialog.model.caller = tables::kCallerAspectTable;
  samePage = dialog.DoModal() == platform::kIdOk && dialog.model.selection >= 0
                 ? dialog.model.selection
                 : kSameNothing;
  CKovraDoc* document = GetDocument();
  if (document != nullptr) {
    if (document->IsTwoChart()) {
      document->ChooseChartForTable(0, 1);
      if (samePage == kSameMidpoints) document->ChooseChartForTable(1, 2);
    } else {
      document->firstTableChoice = document->secondTableChoice = 3;
    }
    // The panel's one problem is told before printing, once for the view.
    if (samePage == kSameInfoPanel && !panelProblemShown_ && document->GetChart() != nullptr) {
      ChartInfoPanel panel;
      panel.SetChart(document->GetChart());
      if (panel.polar == 0) panel.ComputePlanetaryHours(ChartContext::FromCurrentSettings());
      if (const int problem = panel.Problem(); problem != 0) {
        platform::GetPrompter().ShowMessage(problem, GetMessageText(problem),
                                            platform::Icon::Information);
        panelProblemShown_ = true;
      }
    }
  }
  return platform::View::OnPreparePrinting(info);
}

void CAspTableView::OnPrint(platform::Dc& dc, int) {
  dc.SetMapMode(platform::MapMode::HiMetric);
  PrintPage(dc);
}

void CAspTableView::OnEndPrinting() {
  resized = 1;
  viewport()->update();
}

void CAspTableView::PrintPage(platform::Dc& dc) {
  CKovraDoc* document = GetDocument();
  if (document == nullptr || document->GetChart() == nullptr) return;
  const Configuration& config = GetConfiguration();
  const Chart& inner = *document->GetChart();
  const Chart* outer = document->GetOuterChart();
  DrawTablePageHeader(dc, config, inner, outer, samePage);
  AspectTable upper(config, GetAspectarium());
  upper.Draw(dc, kLayoutTableUpper, inner, outer, document->firstTableChoice,
             AspectTable::kKindAspects);
  if (samePage == kSameMidpoints) {
    AspectTable lower(config, GetAspectarium());
    lower.Draw(dc, kLayoutTableLower, inner, outer, document->secondTableChoice,
               AspectTable::kKindMidpoints);
  } else if (samePage == kSameInfoPanel) {
    ChartInfoPanel panel;
    panel.DrawPage(dc, ChartContext::FromCurrentSettings(), config, inner, kPanelLayoutLower);
  }
}
