#include "views/ui/asptable_view.h"

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_context.h"
#include "document/chart_document.h"
#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/core/prompter.h"
#include "views/core/aspect_table.h"
#include "views/core/chart_info_panel.h"
#include "views/core/table_page_header.h"
#include "views/ui/table_choice_dialogs.h"
#include "views/ui/view_kinds.h"

CAspTableView::CAspTableView(QWidget* parent)
    : TableView(kDocViewAspectTable, AspectTable::kKindAspects, parent) {}

std::string CAspTableView::GetFrameTitle() const {
  return platform::View::GetFrameTitle() + GetMessageText(kMsgAspectTableCaption);
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
  ChooseTablePageCharts(AspectTable::kKindAspects, LowerPart());
  return platform::View::OnPreparePrinting(info);
}

void CAspTableView::OnPrint(platform::Dc& dc, int) {
  dc.SetMapMode(platform::MapMode::HiMetric);
  PrintPage(dc);
}

int CAspTableView::LowerPart() const {
  return samePage == kSameMidpoints   ? AspectTable::kKindMidpoints
         : samePage == kSameInfoPanel ? kLowerPanel
                                      : kLowerNothing;
}

void CAspTableView::PrintPage(platform::Dc& dc) {
  PrintTablePage(dc, samePage, AspectTable::kKindAspects, LowerPart());
}
