#include "views/ui/info_view.h"

#include <QPalette>
#include <QResizeEvent>
#include <cstdint>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_context.h"
#include "document/chart_document.h"
#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "views/core/aspect_table.h"
#include "views/core/table_page_header.h"
#include "views/ui/table_choice_dialogs.h"
#include "views/ui/view_kinds.h"

CInfoView::CInfoView(QWidget* parent) : ChartDocView(kDocViewPlanetaryHours, parent) {}

void CInfoView::OnInitialUpdate() {
  SetScrollByLines(platform::MapMode::HiMetric);
  panel_.width = ClientWidth();
  panel_.windowColour = {static_cast<std::uint8_t>(palette().color(QPalette::Base).red()),
                         static_cast<std::uint8_t>(palette().color(QPalette::Base).green()),
                         static_cast<std::uint8_t>(palette().color(QPalette::Base).blue())};
  CountOpen();
  Recompute();
  if (const int problem = panel_.Problem(); problem != 0)
    ShowMessage(problem, platform::Icon::Information);
  // The caption and a repaint; the panel is computed already.
  platform::View::OnUpdate(nullptr);
}

void CInfoView::Recompute() {
  ChartDocument* document = GetDocument();
  panel_.SetChart(document != nullptr ? document->GetChart() : nullptr);
  if (panel_.chart != nullptr) panel_.Compute(ChartContext::FromCurrentSettings());
}

void CInfoView::OnUpdate(platform::View* sender) {
  // The chart may have been stepped: the panel follows it without repeating its message.
  Recompute();
  platform::View::OnUpdate(sender);
}

std::string CInfoView::GetFrameTitle() const {
  return platform::View::GetFrameTitle() + GetMessageText(kMsgPlanetaryHoursCaption);
}

void CInfoView::resizeEvent(QResizeEvent* event) {
  platform::View::resizeEvent(event);
  panel_.width = ClientWidth();
  viewport()->update();
}

void CInfoView::OnDraw(platform::Dc& dc) {
  dc.SetMapMode(platform::MapMode::HiMetric);
  if (dc.IsPrinting()) {
    PrintPage(dc);
    return;
  }
  if (panel_.chart == nullptr) return;
  const platform::BkMode oldMode = dc.SetBkMode(platform::BkMode::Transparent);
  const double u = panel_.width / 5.0;
  const auto at = [u](double f) { return static_cast<int>(f * u); };
  panel_.DrawRiseSetTable(dc, at(1.9), -at(0.25));
  const int size = panel_.DrawLunarDay(dc, at(1.9), -at(1.65));
  panel_.DrawKarmicCoefficient(dc, at(1.9), -at(1.9), size);
  const double crossX = GetConfiguration().planetaryHoursLayout != 0 ? 2.9 : 2.87;
  panel_.DrawElementCross(dc, at(crossX), -at(1.0 / 3.0));
  panel_.DrawHoursTable(dc, at(0.07), -at(1.0 / 3.0), u / 3400.0);
  dc.SetBkMode(oldMode);
}

bool CInfoView::OnPreparePrinting(platform::PrintInfo& info) {
  DPRINTPADE2 dialog(this);
  dialog.model.caller = tables::kCallerPlanetaryHours;
  printChoice = dialog.DoModal() == platform::kIdOk && dialog.model.selection >= 0
                    ? dialog.model.selection
                    : kPrintNothing;
  if (ChartDocument* document = GetDocument()) {
    if (!document->IsTwoChart() || printChoice == kPrintNothing) {
      document->firstTableChoice = document->secondTableChoice = 3;
    } else if (printChoice == kPrintMidpoints) {
      document->ChooseChartForTable(1, 1);
    } else if (printChoice == kPrintAspectTable) {
      document->ChooseChartForTable(0, 1);
    }
  }
  return platform::View::OnPreparePrinting(info);
}

void CInfoView::OnPrint(platform::Dc& dc, int) {
  dc.SetMapMode(platform::MapMode::HiMetric);
  PrintPage(dc);
}

void CInfoView::PrintPage(platform::Dc& dc) {
  ChartDocument* document = GetDocument();
  if (document == nullptr || document->GetChart() == nullptr) return;
  const Configuration& config = GetConfiguration();
  const Chart& inner = *document->GetChart();
  const Chart* outer = document->GetOuterChart();
  const PageHeadBlocks head = DrawTablePageHeader(dc, config, inner, outer, printChoice);
  // A panel of its own: the screen's keeps its width.
  ChartInfoPanel page;
  const int drop = page.DrawPage(dc, ChartContext::FromCurrentSettings(), config, inner,
                                 kPanelLayoutUpper, head);
  if (printChoice == kPrintAspectTable || printChoice == kPrintMidpoints) {
    AspectTable table(config, GetAspectarium());
    table.Draw(
        dc, kLayoutTableLower, inner, outer, document->firstTableChoice,
        printChoice == kPrintMidpoints ? AspectTable::kKindMidpoints : AspectTable::kKindAspects,
        drop);
  }
}
