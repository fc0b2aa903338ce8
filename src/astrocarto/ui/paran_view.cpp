#include "astrocarto/ui/paran_view.h"

#include <QMdiArea>

#include "astrocarto/core/ac_lines_list.h"
#include "astrocarto/core/astrocart_page.h"
#include "astrocarto/ui/ac_lines_view.h"
#include "astrocarto/ui/view_kinds.h"
#include "document/chart_choice_dialog.h"
#include "document/chart_document.h"
#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/qt/child_frame.h"

namespace {

constexpr int kScreenLeft = 100;

}  // namespace

CParanView::CParanView(QWidget* parent)
    : platform::LineListView(lists::ScrollLimit::kLastLine, parent) {}

CParanView::~CParanView() {
  if (ChartDocument* document = Document(); document != nullptr && counted_)
    document->ViewClosed(kDocViewParan);
}

ChartDocument* CParanView::Document() const { return dynamic_cast<ChartDocument*>(GetDocument()); }

void CParanView::SetMap(std::shared_ptr<const ACLines> lines, const Chart* second) {
  lines_ = std::move(lines);
  if (second != nullptr) second_ = *second;
}

int CParanView::ChooseCrossings(const ACLines& lines) {
  if (!lines.TwoCharts()) return ACLines::kFirstChart;
  D_CHOOSE_AT_FOR_DW dialog(this);
  dialog.question = GetMessageText(kMsgQuestion);
  if (dialog.DoModal() != platform::kIdOk) return -1;
  return dialog.choice;
}

void CParanView::OnInitialUpdate() {
  ChartDocument* document = Document();
  if (document == nullptr || document->GetChart() == nullptr) return;
  if (!counted_) {
    document->ViewOpened(kDocViewParan);
    counted_ = true;
  }
  const Configuration& config = GetConfiguration();
  display_ = ReadDisplaySettings(DisplayBlock::kAstroCartography, config.tablesInterface).Clamped();
  if (!lines_) lines_ = document->PartState<MapViewLines>().lines.lock();
  first_ = *document->GetChart();
  if (lines_) {
    const int choice = ChooseCrossings(*lines_);
    if (choice < 0) {
      table_.SetCrossings(-1, {});
    } else {
      // The search writes into the lines object: it runs on a copy, the map's stays as drawn.
      ACLines work = *lines_;
      work.FindCrossings(choice, ReadAstroCartPage(config.astroCart));
      table_.SetCrossings(choice, work.Crossings());
    }
  }
  lines_.reset();  // the crossings are the table's own now
  if (platform::ChildFrame* frame = Frame(); frame != nullptr && frame->mdiArea() != nullptr) {
    frame->setGeometry(QRect(QPoint(0, 0), frame->mdiArea()->viewport()->size()));
    frame->show();
  }
  SetLineCount(table_.Count());
  UpdateFrameTitle();
}

std::string CParanView::GetFrameTitle() const {
  const ChartDocument* document = Document();
  return (document != nullptr ? document->GetTitle() : std::string()) +
         GetMessageText(kMsgLineCrossingsCaption);
}

platform::ScreenLines CParanView::MeasureScreen(platform::Dc& dc) {
  const int size = ScreenFontSizeInHiMetric(display_.screenFontSize);
  // The column headings stand in the first row's place, the rows one pitch lower.
  const double pitch = ParanTable::RowHeight(dc, size) * display_.screenLineSpacing;
  return {kScreenLeft, static_cast<int>(pitch), pitch};
}

void CParanView::DrawHead(platform::Dc& dc) {
  ParanTable::DrawColumnHeads(dc, {kScreenLeft, 0},
                              ScreenFontSizeInHiMetric(display_.screenFontSize));
}

platform::PrintedLines CParanView::MeasurePrint(platform::Dc& dc) {
  printed_ = ParanTable::LayoutPrint(dc, GetConfiguration(), display_.printFontSize,
                                     display_.printLineSpacing, display_.printColumns,
                                     display_.printOrder);
  return {printed_.layout, printed_.left, printed_.top, printed_.pitch, printed_.columnWidth};
}

void CParanView::DrawLine(platform::Dc& dc, int line, platform::Point at, bool selected) {
  const int size =
      dc.IsPrinting() ? display_.printFontSize : ScreenFontSizeInHiMetric(display_.screenFontSize);
  table_.DrawRow(dc, line, at, size, selected);
}

void CParanView::DrawPageHead(platform::Dc& dc, int page, int, int rowsUsed) {
  if (!first_) return;
  table_.DrawPageHead(dc, GetConfiguration(), printed_, *first_, second_ ? &*second_ : nullptr,
                      page, rowsUsed);
}

void CParanView::OnOpenLine(int line) {
  ChartDocument* document = Document();
  if (document == nullptr || line < 0 || line >= table_.Count()) return;
  OpenACLinesView(*document, table_.Crossings()[static_cast<std::size_t>(line)]);
}
