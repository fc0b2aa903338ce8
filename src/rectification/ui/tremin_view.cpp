#include "rectification/ui/tremin_view.h"

#include <QTimer>
#include <cmath>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_context.h"
#include "document/chart_document.h"
#include "document/workbench.h"
#include "forecast/core/list_display_settings.h"
#include "foundation/config/configuration.h"
#include "foundation/errors/error_report.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/background_run.h"
#include "platform/qt/child_frame.h"
#include "platform/qt/qt_text.h"
#include "rectification/ui/tm_possible_moments.h"
#include "rectification/ui/view_kinds.h"

void CloseViewLater(platform::View& view) {
  QTimer::singleShot(0, &view, [&view] {
    if (platform::ChildFrame* frame = view.Frame()) frame->close();
  });
}

void TellTremin(const Status& status, std::string_view trace) {
  if (status.ok()) return;
  if (status.ErrorCode() == 0 && status.MessageNumber() != kMsgAspectSystemNotFound) {
    ShowMessage(status.MessageNumber());
    return;
  }
  ReportStatus(status, trace);
}

namespace {

ListDisplaySettings Display() {
  return ReadDisplaySettings(DisplayBlock::kTremin, GetConfiguration().treminSettings).Clamped();
}

}  // namespace

CTreminView::CTreminView(QWidget* parent)
    : platform::LineListView(lists::ScrollLimit::kFullLastPage, parent),
      search_(std::make_unique<TmSearch>()) {}

CTreminView::~CTreminView() {
  if (counted_) {
    if (ChartDocument* document = Document()) document->ViewClosed(kDocViewTreminResults);
  }
}

ChartDocument* CTreminView::Document() const { return dynamic_cast<ChartDocument*>(GetDocument()); }

void CTreminView::OnInitialUpdate() {
  ChartDocument* document = Document();
  if (document == nullptr || document->GetChart() == nullptr) return;
  document->ViewOpened(kDocViewTreminResults);
  counted_ = true;

  Configuration& config = GetConfiguration();
  Workbench& workbench = document->GetWorkbench();
  const ChartContext ctx(config, GetAspectarium());
  Status st = search_->Prepare(ctx, *document->GetChart(), workbench.TreminEvents(),
                               ReadTmSearchSettings(config), ReadTmInterval(config));
  if (!st.ok()) {
    TellTremin(st, "CTreminView::OnInitialUpdate");
    CloseViewLater(*this);
    return;
  }
  int result = kTmSearchCancelled;
  const TmIntervalChooser choose = MakeTmIntervalChooser(config, workbench.MainWindow());
  // The chooser between the passes is a window: it is shown by the user-interface thread.
  const TmIntervalChooser chooseOnUi = [&choose](const TmSearch& search, int& minimum) {
    bool chosen = false;
    platform::CallOnUiThread([&] { chosen = choose(search, minimum); });
    return chosen;
  };
  platform::BackgroundRun run(platform::ToQt(GetMessageText(kMsgTreminPrintTitle)),
                              workbench.MainWindow());
  run.Run([&](platform::ProgressSink& progress) {
    result = search_->Search(ctx, progress, chooseOnUi, st);
  });
  TellTremin(st, "CTreminView::OnInitialUpdate");
  if (result != kTmSearchDone) {
    CloseViewLater(*this);
    return;
  }
  searched_ = true;
  SetLineCount(TmResultCount(*search_));
}

std::string CTreminView::GetFrameTitle() const {
  return platform::View::GetFrameTitle() + GetMessageText(kMsgTreminViewCaption);
}

platform::ScreenLines CTreminView::MeasureScreen(platform::Dc& dc) {
  const ListDisplaySettings display = Display();
  screen_ = MeasureTmTable(dc, display.screenFontSize, display.screenLineSpacing);
  // The heading takes the first line.
  return {kTreminTableX, static_cast<int>(std::lround(screen_.pitch)), screen_.pitch};
}

platform::PrintedLines CTreminView::MeasurePrint(platform::Dc& dc) {
  const ListDisplaySettings display = Display();
  paper_ = MeasureTmTable(dc, display.printFontSize, display.printLineSpacing);
  const TmPrintLayout p =
      LayOutTmPrint(GetConfiguration(), paper_, display.printColumns, display.printOrder);
  return {p.layout, p.left, p.top, p.pitch, static_cast<double>(p.columnStep)};
}

void CTreminView::DrawHead(platform::Dc& dc) {
  if (List().Count() > 0) DrawTmHeading(dc, screen_, 0);
}

void CTreminView::DrawLine(platform::Dc& dc, int line, platform::Point at, bool selected) {
  if (line < 0 || line >= TmResultCount(*search_)) return;
  const bool printing = dc.IsPrinting();
  const TmInk ink = !printing                                ? TmInk::kScreen
                    : GetConfiguration().colourPrinting == 1 ? TmInk::kPaperColour
                                                             : TmInk::kPaperBlack;
  DrawTmRow(dc, printing ? paper_ : screen_, TmResultRowOf(*search_, line), at, selected, ink,
            platform::kWhite);
}

void CTreminView::DrawPageHead(platform::Dc& dc, int page, int, int) {
  ChartDocument* document = Document();
  if (document == nullptr || document->GetChart() == nullptr) return;
  DrawTmPageHead(dc, *document->GetChart(), GetConfiguration(), page);
}

void CTreminView::DrawEmpty(platform::Dc& dc, platform::Point at) {
  // Nothing is said before the search has run (a view being closed).
  if (searched_) DrawTmEmpty(dc, screen_, at);
}

void CTreminView::OnOpenLine(int line) {
  ChartDocument* document = Document();
  if (document == nullptr || line < 0 || line >= TmResultCount(*search_)) return;
  document->DrawRectifiedChart(TmResultMoment(*search_, line), 'R');
}
