#include "conditions/ui/synastry_view.h"

#include <QKeyEvent>
#include <QMdiArea>
#include <algorithm>

#include "archive/store/archive.h"
#include "conditions/ui/query_view.h"
#include "conditions/ui/view_kinds.h"
#include "document/chart_document.h"
#include "document/workbench.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/palette.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/qt/child_frame.h"
#include "platform/qt/measuring_dc.h"

namespace {

constexpr double kPaperDpi = 600.0;
constexpr int kWhite = 15;

}  // namespace

CSynAnalView::CSynAnalView(Workbench& workbench, std::shared_ptr<SynastryHandOver> pending,
                           QWidget* parent)
    : platform::LineListView(lists::ScrollLimit::kFullLastPage, parent),
      workbench_(workbench),
      pending_(std::move(pending)) {}

CSynAnalView::~CSynAnalView() {
  if (counted_) {
    if (ChartDocument* document = Document()) document->ViewClosed(kDocViewSynastryResults);
  }
}

ChartDocument* CSynAnalView::Document() const {
  return dynamic_cast<ChartDocument*>(platform::View::GetDocument());
}

QueryViewSettings CSynAnalView::Settings() const {
  return SynastryViewFromBlock(GetConfiguration().synastry);
}

void CSynAnalView::OnInitialUpdate() {
  if (pending_) {
    table_.TakeOver(std::move(*pending_), Settings().showArchives);
    *pending_ = SynastryHandOver{};
  }
  if (ChartDocument* document = Document(); document != nullptr && !counted_) {
    document->ViewOpened(kDocViewSynastryResults);
    counted_ = true;
  }
  if (platform::ChildFrame* frame = Frame(); frame != nullptr && frame->mdiArea() != nullptr) {
    const QRect area = frame->mdiArea()->viewport()->rect();
    frame->setGeometry(0, 0, area.width(), area.height() * 98 / 100);
  }
  SetLineCount(table_.Count());
}

std::string CSynAnalView::GetFrameTitle() const { return GetMessageText(kMsgSynastryCaption); }

platform::ScreenLines CSynAnalView::MeasureScreen(platform::Dc& dc) {
  const double perPixel = 2540.0 / std::max(1, logicalDpiX());
  layout_ = LayoutSynScreen(dc, static_cast<int>(viewport()->width() * perPixel),
                            static_cast<int>(viewport()->height() * perPixel), Settings(),
                            GetConfiguration().largeFont != 0);
  // One row less than would fit above the strip.
  return {0, layout_.FirstRowTop(), static_cast<double>(layout_.Pitch()),
          layout_.strip.height + layout_.Pitch()};
}

platform::PrintedLines CSynAnalView::MeasurePrint(platform::Dc& dc) {
  printed_ = LayoutSynPrint(dc, GetConfiguration(), Settings(), table_);
  return {lists::ColumnPageLayout(printed_.rowsPerPage, 1, lists::ColumnOrder::kDown),
          printed_.left, printed_.top, static_cast<double>(printed_.pitch), 0.0};
}

void CSynAnalView::OnDraw(platform::Dc& dc) {
  LineListView::OnDraw(dc);
  if (!dc.IsPrinting()) DrawSynStrip(dc, layout_);
}

void CSynAnalView::DrawHead(platform::Dc& dc) {
  dc.FillRect({0, 0, layout_.width, -std::max(1, -layout_.strip.top + layout_.strip.height)},
              ColorByIndex(kWhite));
  DrawSynHeading(dc, table_, layout_);
}

void CSynAnalView::DrawLine(platform::Dc& dc, int line, platform::Point at, bool selected) {
  DrawSynRow(dc, table_, line, at.x, layout_.width, -at.y, layout_.Pitch(), layout_.fontSize,
             selected, false);
}

bool CSynAnalView::OnPreparePrinting(platform::PrintInfo& info) {
  platform::MeasuringDc measure(kPaperDpi, true, platform::MapMode::HiMetric);
  MeasurePrint(measure.dc());
  if (printed_.Pages() == 0) return false;
  info.minPage = 1;
  info.maxPage = printed_.Pages();
  return true;
}

void CSynAnalView::OnPrint(platform::Dc& dc, int page) {
  DrawSynPage(dc, GetConfiguration(), printed_, table_, page);
}

void CSynAnalView::LoadFromArchive(const std::vector<int>& rows) {
  table_.Load(workbench_.GetArchive(), rows, [this](Archive& archive, int record) {
    return ChartDocument::OpenArchiveRecord(workbench_, archive, record) != nullptr;
  });
}

void CSynAnalView::CopyToArchive(const std::vector<int>& rows) {
  table_.Copy(workbench_.GetArchive(), rows);
}

void CSynAnalView::LoadOrCopyFromArchive(char code) {
  const std::vector<int> rows = table_.ChosenRows(List().Selection());
  if (code == 'L')
    LoadFromArchive(rows);
  else
    CopyToArchive(rows);
}

void CSynAnalView::OnButton(int button) {
  switch (button) {
    case kSynLoad:
      LoadOrCopyFromArchive('L');
      return;
    case kSynCopy:
      LoadOrCopyFromArchive('C');
      return;
    case kSynMarkAll:
      table_.MarkAll();
      break;
    case kSynUnmarkAll:
      table_.UnmarkAll();
      break;
    case kSynInvert:
      table_.InvertMarks();
      break;
    default:
      return;
  }
  viewport()->update();
}

void CSynAnalView::OnOpenLine(int line) {
  if (line >= 0 && line < table_.Count()) LoadFromArchive({line});
}

void CSynAnalView::OnLineRightClick(int line) {
  if (line < 0) return;
  table_.ToggleMark(line);
  viewport()->update();
}

void CSynAnalView::OnLButtonDblClk(platform::Point at) {
  if (const int button = layout_.strip.ButtonAt(at); button >= 0) {
    OnButton(button);
    return;
  }
  if (at.y < layout_.strip.top) return;  // the strip between its buttons
  LineListView::OnLButtonDblClk(at);
}

void CSynAnalView::keyPressEvent(QKeyEvent* event) {
  const int key = ResultKeyButton(*event, {kSynInvert, kSynMarkAll, kSynUnmarkAll});
  if (key == kNoResultKey) return LineListView::keyPressEvent(event);
  if (key == kTurnRowKey)
    OnLineRightClick(List().Count() > 0 ? List().Selection() : -1);
  else
    OnButton(key);
  event->accept();
}

void CSynAnalView::resizeEvent(QResizeEvent* event) {
  LineListView::resizeEvent(event);
  Relayout();  // the strip stands at the new bottom
}
