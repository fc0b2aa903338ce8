#include "archive/browser/archive_print_view.h"

#include "archive/browser/view_kinds.h"
#include "document/chart_document.h"
#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/cp1251.h"
#include "foundation/text/text_helpers.h"
#include "platform/qt/measuring_dc.h"

namespace {
constexpr int kRowTop = 300;
}  // namespace

CArchivePrint::CArchivePrint(Archive& archive, QWidget* parent)
    : platform::LineListView(lists::ScrollLimit::kLastLine, parent), archive_(archive) {}

CArchivePrint::~CArchivePrint() {
  if (counted_ != nullptr) counted_->ViewClosed(kDocViewArchivePrint);
}

void CArchivePrint::OnInitialUpdate() {
  if (auto* document = dynamic_cast<ChartDocument*>(GetDocument())) {
    document->ViewOpened(kDocViewArchivePrint);
    counted_ = document;
  }
  const Configuration& config = GetConfiguration();
  const ArchivePrintParams params = ArchivePrintParams::FromBlock(config.archivePrint);
  path_ = archive_.GetPath();
  list_.Build(archive_, params, config.printCoords);
  const auto& p = config.print;
  printer_ = std::make_unique<ArchivePrinter>(
      list_, params, PageMargins{p.marginLeft, p.marginTop, p.marginRight, p.marginBottom}, path_,
      archive_.LayoutCode());
  platform::MeasuringDc measure(600.0, true, platform::MapMode::HiMetric);
  printer_->MeasurePrint(measure.dc());
  SetLineCount(static_cast<int>(list_.Charts().size()));
  UpdateFrameTitle();
}

std::string CArchivePrint::GetFrameTitle() const {
  return ShortenTextToLength(PathText(path_), 25) + GetMessageText(kMsgArchivePrintCaption);
}

int CArchivePrint::ClientWidth() const {
  return std::max(1, static_cast<int>(viewport()->width() * 2540.0 / logicalDpiX()));
}

platform::ScreenLines CArchivePrint::MeasureScreen(platform::Dc& dc) {
  if (!printer_) return {};
  printer_->MeasureScreen(dc, ClientWidth());
  // The column headings, then the rows one row lower.
  const int row = printer_->ScreenRowHeight();
  return {0, kRowTop + row, static_cast<double>(row)};
}

void CArchivePrint::DrawHead(platform::Dc& dc) {
  if (printer_) printer_->DrawScreenHeads(dc, -kRowTop, ClientWidth());
}

platform::PrintedLines CArchivePrint::MeasurePrint(platform::Dc&) { return {}; }

void CArchivePrint::DrawLine(platform::Dc& dc, int line, platform::Point at, bool) {
  if (printer_) printer_->DrawScreenRow(dc, line, at.y, ClientWidth());
}

bool CArchivePrint::OnPreparePrinting(platform::PrintInfo& info) {
  if (!printer_) return false;
  platform::MeasuringDc measure(600.0, true, platform::MapMode::HiMetric);
  printer_->MeasurePrint(measure.dc());
  info.minPage = 1;
  info.maxPage = printer_->PageCount();
  return true;
}

void CArchivePrint::OnPrint(platform::Dc& dc, int page) {
  if (printer_) printer_->PrintPage(dc, page);
}
