#include "astrocarto/ui/ac_lines_view.h"

#include "astrocarto/ui/view_kinds.h"
#include "document/chart_document.h"
#include "document/workbench.h"
#include "forecast/core/list_display_settings.h"
#include "foundation/atlas/town_search.h"
#include "foundation/atlas/towns.h"
#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/child_frame.h"
#include "platform/qt/doc_template.h"

namespace {

constexpr int kScreenLeft = 100;

}  // namespace

CACLinesView::CACLinesView(QWidget* parent)
    : platform::LineListView(lists::ScrollLimit::kLastLine, parent) {}

CACLinesView::~CACLinesView() {
  if (ChartDocument* document = Document(); document != nullptr && counted_)
    document->ViewClosed(kDocViewTownList);
}

ChartDocument* CACLinesView::Document() const {
  return dynamic_cast<ChartDocument*>(GetDocument());
}

void CACLinesView::ReadDisplay() {
  const Configuration& config = GetConfiguration();
  if (crossing_) {
    // The crossings' list takes the fonts and intervals of the tables' display settings.
    const ListDisplaySettings d =
        ReadDisplaySettings(DisplayBlock::kAstroCartography, config.tablesInterface).Clamped();
    screenFontSize_ = d.screenFontSize;
    printFontSize_ = d.printFontSize;
    screenInterval_ = d.screenLineSpacing;
    printInterval_ = d.printLineSpacing;
    return;
  }
  const ACLinesListPage s = ReadACLinesListPage(config.acLinesList);
  screenFontSize_ = s.screenFontSize;
  printFontSize_ = s.printFontSize;
  screenInterval_ = s.screenInterval;
  printInterval_ = s.printInterval;
}

void CACLinesView::OnInitialUpdate() {
  ChartDocument* document = Document();
  if (document == nullptr || document->GetChart() == nullptr) return;
  if (!counted_) {
    document->ViewOpened(kDocViewTownList);
    counted_ = true;
  }
  ReadDisplay();
  const TOWNS& atlas = GetTowns();
  const std::size_t towns = static_cast<std::size_t>(atlas.Count());
  if (crossing_) {
    towns_.Reset(ACLinesList::Mode::kCrossing, towns);
    towns_.FillCrossing(atlas, *crossing_);
  } else {
    const ACLinesListPage s = ReadACLinesListPage(GetConfiguration().acLinesList);
    const Chart& chart = *document->GetChart();
    towns_.Reset(ACLinesList::Mode::kLines, towns * static_cast<std::size_t>(s.LineCount()));
    towns_.FillLines(atlas, ChartLineMoment(chart), s.body,
                     chart.points[static_cast<std::size_t>(s.body)].longitude.Get(), s);
  }
  // Told once, after the fill: a row had no room.
  if (towns_.Dropped()) ShowMessage(kMsgTooManyLines);
  SetLineCount(towns_.Count());
  UpdateFrameTitle();
}

std::string CACLinesView::GetFrameTitle() const {
  const ChartDocument* document = Document();
  const std::string title = document != nullptr ? document->GetTitle() : std::string();
  if (crossing_) return CrossingCaption(*crossing_) + " (" + title + ")";
  return title + GetMessageText(kMsgCityListCaption);
}

platform::ScreenLines CACLinesView::MeasureScreen(platform::Dc& dc) {
  screen_ = towns_.Measure(dc, GetTowns(), ScreenFontSizeInHiMetric(screenFontSize_));
  // The column headings stand in the first row's place, the rows one pitch lower.
  const double pitch = screen_.charHeight * screenInterval_;
  return {kScreenLeft, static_cast<int>(pitch), pitch};
}

void CACLinesView::DrawHead(platform::Dc& dc) {
  if (towns_.Count() > 0) towns_.DrawColumnHeads(dc, {kScreenLeft, 0}, screen_);
}

platform::PrintedLines CACLinesView::MeasurePrint(platform::Dc& dc) {
  const ChartDocument* document = Document();
  const int headDrop = document != nullptr && document->GetChart() != nullptr
                           ? TownListHeadDrop(dc, GetConfiguration(), *document->GetChart())
                           : 0;
  const TownListPrintFrame frame = TownListPrintFrameOf(GetConfiguration(), headDrop);
  print_ = towns_.Measure(dc, GetTowns(), printFontSize_);
  const double pitch = std::max(1.0, print_.charHeight * printInterval_);
  // The column headings take the frame's first row; the rows follow.
  printHeadTop_ = frame.top;
  const int heading = static_cast<int>(pitch);
  const int rows = lists::FitCount(frame.height - heading, pitch);
  return {lists::ColumnPageLayout(rows, 1, lists::ColumnOrder::kAcross), frame.left,
          frame.top + heading, pitch, 0.0};
}

void CACLinesView::DrawLine(platform::Dc& dc, int line, platform::Point at, bool selected) {
  towns_.DrawRow(dc, GetTowns(), line, at, dc.IsPrinting() ? print_ : screen_, selected);
}

void CACLinesView::DrawEmpty(platform::Dc& dc, platform::Point at) {
  ACLinesList::DrawEmpty(dc, at, ScreenFontSizeInHiMetric(screenFontSize_));
}

void CACLinesView::DrawPageHead(platform::Dc& dc, int page, int, int) {
  const ChartDocument* document = Document();
  if (document == nullptr || document->GetChart() == nullptr) return;
  DrawTownListPageHead(dc, GetConfiguration(), *document->GetChart(), crossing_, page);
  if (towns_.Count() > 0)
    towns_.DrawColumnHeads(dc, {TownListPrintFrameOf(GetConfiguration()).left, -printHeadTop_},
                           print_);
}

void CACLinesView::OnOpenLine(int line) {
  ChartDocument* document = Document();
  if (document == nullptr || line < 0 || line >= towns_.Count()) return;
  Place place;
  if (!PlaceOfTown(GetTowns(), towns_.Entries()[static_cast<std::size_t>(line)].town, place))
    return;
  document->OpenRelocatedChart(0, place);
}

CACLinesView* OpenACLinesView(ChartDocument& document, const std::optional<Crossing>& crossing) {
  platform::DocTemplate* listTemplate = document.GetWorkbench().GetTemplate(kTemplateTownList);
  if (listTemplate == nullptr) return nullptr;
  platform::ChildFrame* frame = listTemplate->CreateNewFrame(document);
  auto* view = dynamic_cast<CACLinesView*>(frame->GetView());
  if (view != nullptr && crossing) view->SetCrossing(*crossing);
  listTemplate->InitialUpdateFrame(*frame, document);
  return view;
}
