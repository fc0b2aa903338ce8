#include "conditions/ui/query_view.h"

#include <QKeyEvent>
#include <QMdiArea>
#include <algorithm>

#include "archive/store/archive.h"
#include "conditions/ui/view_kinds.h"
#include "document/chart_document.h"
#include "document/workbench.h"
#include "foundation/config/configuration.h"
#include "foundation/lists/list_navigation.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/qt/child_frame.h"
#include "platform/qt/measuring_dc.h"

namespace {

constexpr double kPaperDpi = 600.0;

}  // namespace

CQueryView::CQueryView(Workbench& workbench, QWidget* parent)
    : platform::LineListView(lists::ScrollLimit::kFullLastPage, parent), workbench_(workbench) {}

CQueryView::~CQueryView() {
  if (counted_) {
    if (ChartDocument* document = Document()) document->ViewClosed(kDocViewQueryResults);
  }
}

ChartDocument* CQueryView::Document() const {
  return dynamic_cast<ChartDocument*>(platform::View::GetDocument());
}

void CQueryView::OnInitialUpdate() {
  results_.TakeOver(workbench_.GetArchive());
  if (ChartDocument* document = Document(); document != nullptr && !counted_) {
    document->ViewOpened(kDocViewQueryResults);
    counted_ = true;
  }
  if (platform::ChildFrame* frame = Frame(); frame != nullptr && frame->mdiArea() != nullptr)
    frame->setGeometry(frame->mdiArea()->viewport()->rect());
  SetLineCount(results_.Count());
}

std::string CQueryView::GetFrameTitle() const { return GetMessageText(kMsgQueryResultsCaption); }

QueryViewSettings CQueryView::Settings() const {
  return QueryViewSettings::FromBlock(GetConfiguration().query);
}

int CQueryView::WidthUnits() const {
  return std::max(1, viewport()->width() * 2540 / std::max(1, logicalDpiX()));
}

platform::ScreenLines CQueryView::MeasureScreen(platform::Dc& dc) {
  width_ = WidthUnits();
  bar_ = LayoutQueryBar(dc, width_);
  fontSize_ = QueryScreenFontSize(Settings(), GetConfiguration().largeFont != 0);
  pitch_ = QueryRowPitch(dc, fontSize_, Settings().screenGap);
  const int margin = bar_.buttons[0].left / 2;
  return {margin, bar_.height + margin, static_cast<double>(pitch_)};
}

platform::PrintedLines CQueryView::MeasurePrint(platform::Dc& dc) {
  printed_ = LayoutQueryPrint(dc, GetConfiguration(), Settings(), results_);
  return {lists::ColumnPageLayout(printed_.linesPerPage, 1, lists::ColumnOrder::kDown),
          printed_.left, printed_.top, static_cast<double>(printed_.pitch), 0.0};
}

void CQueryView::DrawHead(platform::Dc& dc) { DrawQueryBar(dc, bar_, width_); }

void CQueryView::DrawLine(platform::Dc& dc, int line, platform::Point at, bool selected) {
  DrawQueryRow(dc, results_, line, at.x, width_ - at.x, -at.y, pitch_, fontSize_, selected);
}

bool CQueryView::OnPreparePrinting(platform::PrintInfo& info) {
  platform::MeasuringDc measure(kPaperDpi, true, platform::MapMode::HiMetric);
  MeasurePrint(measure.dc());
  if (printed_.Pages() == 0) return false;
  info.minPage = 1;
  info.maxPage = printed_.Pages();
  return true;
}

void CQueryView::OnPrint(platform::Dc& dc, int page) {
  DrawQueryPage(dc, GetConfiguration(), printed_, results_, page);
}

void CQueryView::RowsChanged() {
  if (results_.Count() == 0) {
    if (platform::ChildFrame* frame = Frame()) frame->close();
    return;
  }
  SetLineCount(results_.Count());
}

void CQueryView::Load(const std::vector<int>& rows) {
  results_.Load(workbench_.GetArchive(), rows, [this](Archive& archive, int record) {
    return ChartDocument::OpenArchiveRecord(workbench_, archive, record) != nullptr;
  });
}

void CQueryView::LoadChosen() { Load(results_.ChosenRows(List().Selection())); }

void CQueryView::DeleteChosen() {
  results_.Delete(workbench_.GetArchive(), results_.ChosenRows(List().Selection()));
  RowsChanged();
}

void CQueryView::CopyChosen() {
  results_.Copy(workbench_.GetArchive(), results_.ChosenRows(List().Selection()));
}

void CQueryView::OnBarButton(int button) {
  switch (button) {
    case kBarLoad:
      LoadChosen();
      return;
    case kBarDelete:
      DeleteChosen();
      return;
    case kBarCopy:
      CopyChosen();
      return;
    case kBarMarkAll:
      results_.MarkAll();
      break;
    case kBarUnmarkAll:
      results_.UnmarkAll();
      break;
    case kBarInvert:
      results_.InvertMarks();
      break;
    default:
      return;
  }
  viewport()->update();
}

void CQueryView::OnOpenLine(int line) { Load({line}); }

void CQueryView::OnLineRightClick(int line) {
  if (line < 0) return;
  results_.ToggleMark(line);
  viewport()->update();
}

void CQueryView::OnLButtonDblClk(platform::Point at) {
  if (const int button = bar_.ButtonAt(at); button >= 0) {
    OnBarButton(button);
    return;
  }
  LineListView::OnLButtonDblClk(at);
}

int ResultKeyButton(const QKeyEvent& event, const std::array<int, 3>& buttons) {
  if (event.key() == Qt::Key_Insert) return kTurnRowKey;
  if (!(event.modifiers() & Qt::KeypadModifier)) return kNoResultKey;
  switch (event.key()) {
    case Qt::Key_Asterisk:
      return buttons[0];
    case Qt::Key_Plus:
      return buttons[1];
    case Qt::Key_Minus:
      return buttons[2];
    default:
      return kNoResultKey;
  }
}

void CQueryView::keyPressEvent(QKeyEvent* event) {
  const int key = ResultKeyButton(*event, {kBarInvert, kBarMarkAll, kBarUnmarkAll});
  if (key == kNoResultKey) return LineListView::keyPressEvent(event);
  if (key == kTurnRowKey)
    OnLineRightClick(List().Count() > 0 ? List().Selection() : -1);
  else
    OnBarButton(key);
  event->accept();
}

void CQueryView::resizeEvent(QResizeEvent* event) {
  LineListView::resizeEvent(event);
  Relayout();  // the bar is laid out over the new width
}
