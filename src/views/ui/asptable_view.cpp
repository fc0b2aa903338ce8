#include "views/ui/asptable_view.h"

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

CAspTableView::CAspTableView(QWidget* parent)
    : TableView(DocView::AspectTable, AspectTable::kKindAspects, parent) {}

std::string CAspTableView::GetFrameTitle() const {
  return platform::View::GetFrameTitle() + GetMessageText(kMsgCaption);
}

void CAspTableView::OnDraw(platform::Dc& dc) {
  if (dc.IsPrinting()) {
    dc.SetMapMode(platform::MapMode::HiMetric);
    PrintPage(dc);
    return;
  }
  RenderScreen(dc);
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
    if (samePage == kSameInfoPanel) TellPanelProblemOnce();
  }
  return platform::View::OnPreparePrinting(info);
}

void CAspTableView::OnPrint(platform::Dc& dc, int) {
  dc.SetMapMode(platform::MapMode::HiMetric);
  PrintPage(dc);
}

void CAspTableView::PrintPage(platform::Dc& dc) {
  const int lower = samePage == kSameMidpoints   ? AspectTable::kKindMidpoints
                    : samePage == kSameInfoPanel ? kLowerPanel
                                                 : kLowerNothing;
  PrintTablePage(dc, samePage, AspectTable::kKindAspects, lower);
}
