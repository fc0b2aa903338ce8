#include "views/ui/arab_view.h"

#include "astro/chart/chart_context.h"
#include "document/chart_document.h"
#include "document/workbench.h"
#include "foundation/config/configuration.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/data_file_names.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/measuring_dc.h"

namespace {

constexpr int kRowLeft = 200;
constexpr int kRowTop = 100;  // 1 mm above the first row

platform::Font TextFont(int size) { return platform::Font{std::string(platform::kTextFace), size}; }

int WHeight(platform::Dc& dc, int size) {
  const platform::Font old = dc.SelectFont(TextFont(size));
  const int h = dc.GetTextExtent("W").cy;
  dc.SelectFont(old);
  return std::max(1, h);
}

}  // namespace

AllArabParts& ArabicPartsList() {
  static AllArabParts parts;
  return parts;
}

void LoadArabicPartsAtStart(Workbench& workbench) {
  const AllArabParts::LoadReport report =
      ArabicPartsList().Load(workbench.GetPath(g_DataFileNames[kDataArabicParts]));
  if (!report.status.ok()) ReportStatus(report.status, "AllArabParts::Load");
  if (report.badLines > 0) ShowMessage(kMsgArabBadLine);
  if (report.overLimit > 0) ShowMessage(kMsgArabOverLimit);
}

void SaveArabicPartsAtExit(Workbench& workbench) {
  const Status st =
      ArabicPartsList().SaveIfChanged(workbench.GetPath(g_DataFileNames[kDataArabicParts]));
  if (st.MessageNumber() != 0)
    ShowMessage(st.MessageNumber());
  else if (!st.ok())
    ReportStatus(st, "AllArabParts::Save");
}

ArabView::ArabView(QWidget* parent)
    : platform::LineListView(lists::ScrollLimit::kLastLine, parent) {}

ChartDocument* ArabView::Document() const { return dynamic_cast<ChartDocument*>(GetDocument()); }

void ArabView::OnInitialUpdate() {
  ChartDocument* document = Document();
  if (document == nullptr || document->GetChart() == nullptr) return;
  const ArabSettings settings = ArabSettings::Read(GetConfiguration());
  printFontSize_ = settings.printFontSize;
  printInterval_ = settings.printInterval;
  if (const Status st = table_.Calculate(ChartContext::FromCurrentSettings(), *document->GetChart(),
                                         ArabicPartsList(), settings);
      !st.ok())
    ReportStatus(st, "ArabView::OnInitialUpdate");
  platform::MeasuringDc measure(logicalDpiY(), false, platform::MapMode::HiMetric);
  table_.Measure(measure.dc());
  SetLineCount(table_.RowCount());
  UpdateFrameTitle();
}

std::string ArabView::GetFrameTitle() const {
  const ChartDocument* document = Document();
  return (document ? document->GetTitle() : std::string()) + GetMessageText(kMsgArabCaption);
}

platform::ScreenLines ArabView::MeasureScreen(platform::Dc& dc) {
  const int width = static_cast<int>(viewport()->width() * 2540.0 / logicalDpiX());
  screenFontSize_ = table_.FitFontSize(dc, std::max(1, width - kRowLeft));
  // The names of the columns, then the rows a row lower.
  screenPitch_ = WHeight(dc, screenFontSize_) * 1.5;
  return {kRowLeft, kRowTop + static_cast<int>(screenPitch_), screenPitch_};
}

void ArabView::DrawHead(platform::Dc& dc) { DrawNames(dc, kRowLeft, -kRowTop, screenFontSize_); }

void ArabView::DrawNames(platform::Dc& dc, int x, int y, int size) const {
  const platform::DcState saved(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.SelectFont(TextFont(size));
  table_.DrawColumnNames(dc, x, y, std::max(1, dc.GetTextExtent("W").cx));
}

platform::PrintedLines ArabView::MeasurePrint(platform::Dc& dc) {
  const ArabTable::PrintLayout l =
      table_.PreparePrint(dc, GetConfiguration(), printFontSize_, printInterval_);
  return {lists::ColumnPageLayout(l.rowsPerPage, 1, lists::ColumnOrder::kAcross), l.left, l.pageTop,
          static_cast<double>(l.interval + WHeight(dc, l.fontSize)), 0.0};
}

bool ArabView::OnPreparePrinting(platform::PrintInfo& info) {
  const ArabSettings settings = ArabSettings::Read(GetConfiguration());
  printFontSize_ = settings.printFontSize;
  printInterval_ = settings.printInterval;
  platform::MeasuringDc measure(600.0, true, platform::MapMode::HiMetric);
  platform::Dc& dc = measure.dc();
  const ArabTable::PrintLayout l =
      table_.PreparePrint(dc, GetConfiguration(), printFontSize_, printInterval_);
  if (table_.RowWidth(dc, printFontSize_) > l.width &&
      platform::GetPrompter().AskYesNo(
          kMsgArabPrintTooWide, GetMessageText(kMsgArabPrintTooWide)) == platform::Answer::Yes)
    printFontSize_ = table_.FitFontSize(dc, l.width);
  return platform::LineListView::OnPreparePrinting(info);
}

void ArabView::DrawLine(platform::Dc& dc, int line, platform::Point at, bool) {
  const int size = dc.IsPrinting() ? printFontSize_ : screenFontSize_;
  const platform::DcState saved(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SelectFont(TextFont(size));
  const int unit = std::max(1, dc.GetTextExtent("W").cx);
  table_.DrawRow(dc, line, at.x, at.y, size, unit);
}

void ArabView::DrawPageHead(platform::Dc& dc, int, int, int) {
  const ChartDocument* document = Document();
  if (document == nullptr || document->GetChart() == nullptr) return;
  table_.DrawPageHead(dc, GetConfiguration(), *document->GetChart());
  const ArabTable::PrintLayout l =
      table_.PreparePrint(dc, GetConfiguration(), printFontSize_, printInterval_);
  DrawNames(dc, l.left, -(l.pageTop - l.interval - WHeight(dc, l.fontSize)), printFontSize_);
}
