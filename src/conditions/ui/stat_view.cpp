#include "conditions/ui/stat_view.h"

#include <QMdiArea>
#include <algorithm>

#include "archive/store/archive.h"
#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_context.h"
#include "astro/chart/chart_header.h"
#include "astro/chart/published_settings.h"
#include "conditions/ui/stat_dialog.h"
#include "conditions/ui/view_kinds.h"
#include "document/chart_document.h"
#include "document/workbench.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "foundation/text/cp1251.h"
#include "foundation/text/text_helpers.h"
#include "platform/core/prompter.h"
#include "platform/qt/background_run.h"
#include "platform/qt/child_frame.h"

namespace {

// The printed picture: 126 mm high, 4 mm right of the left margin and 20 mm below the top one.
constexpr int kPaperWidth = 20800, kPaperHeight = 12600, kPaperLeft = 400, kPaperDrop = 2000;
constexpr int kCaptionLength = 25;

}  // namespace

CStatView::CStatView(Workbench& workbench, QWidget* parent)
    : ChartDocView(kDocViewStatistics, parent), workbench_(workbench) {
  SetScrollByLines(platform::MapMode::HiMetric);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

CStatView::~CStatView() {
  if (ChartDocument* document = GetDocument()) document->FreeStatResults();
}

const StatResults& CStatView::Results() const {
  static const StatResults kNone;
  const ChartDocument* document = GetDocument();
  return document != nullptr ? document->GetStatResults() : kNone;
}

void CStatView::OnInitialUpdate() {
  CountOpen();
  if (platform::ChildFrame* frame = Frame(); frame != nullptr && frame->mdiArea() != nullptr)
    frame->setGeometry(frame->mdiArea()->viewport()->rect());
  const Archive& archive = workbench_.GetArchive();
  archivePath_ = archive.GetPath();
  archiveTime_ = Archive::FileTimeOf(archivePath_);
  archiveRecords_ = archive.IsIndexBuilt() ? archive.RecordCount() : 0;
  caption_ =
      ShortenTextToLength(PathText(archivePath_), kCaptionLength) + GetMessageText(kMsgStatCaption);
  SetMargins();
  UpdateFrameTitle();
}

void CStatView::SetMargins() {
  if (!sized_) {
    settings_ = GetConfiguration().GetStatisticsSettings();
    sized_ = true;
  }
  const int width = ClientWidth();
  const int height = std::max(1, viewport()->height() * 2540 / std::max(1, logicalDpiY()));
  screen_.SetMargins(settings_, Results(), {width, height}, {0, 0});
  viewport()->update();
}

void CStatView::resizeEvent(QResizeEvent* event) {
  ChartDocView::resizeEvent(event);
  if (sized_) SetMargins();
}

void CStatView::OnDraw(platform::Dc& dc) {
  dc.SetMapMode(platform::MapMode::HiMetric);
  const ChartContext context = ChartContext::FromCurrentSettings();
  screen_.Draw(dc, Results(), context.FindSystem(settings_.aspectSystem), settings_.fill != 0);
}

bool CStatView::OnPreparePrinting(platform::PrintInfo& info) {
  const cfg::PrintSettings& print = GetConfiguration().print;
  const int width = std::max(1, kPaperWidth - print.marginLeft - print.marginRight);
  paper_.SetMargins(settings_, Results(), {width, kPaperHeight},
                    {print.marginLeft + kPaperLeft, -(print.marginTop + kPaperDrop)});
  info.minPage = info.maxPage = 1;
  return true;
}

void CStatView::OnPrint(platform::Dc& dc, int) {
  dc.SetMapMode(platform::MapMode::HiMetric);
  const ChartContext context = ChartContext::FromCurrentSettings();
  const Configuration& config = context.Config();
  config.DrawPageFrame(dc, {});
  DrawPageOrnament(dc, config);
  DrawPageTitle(dc, config, GetFrameTitle());
  paper_.Draw(dc, Results(), context.FindSystem(settings_.aspectSystem),
              settings_.fill != 0 && config.colourPrinting != 0);
}

std::string CStatView::GetFrameTitle() const { return caption_; }

bool CStatView::ArchiveUnchanged() const {
  const Archive& archive = workbench_.GetArchive();
  return archive.IsIndexBuilt() && archive.GetPath() == archivePath_ &&
         Archive::FileTimeOf(archivePath_) == archiveTime_ &&
         archive.RecordCount() == archiveRecords_;
}

void CStatView::OnLButtonDblClk(platform::Point at) { OpenChartsAt(at); }

void CStatView::OpenChartsAt(platform::Point at) {
  ChartDocument* document = GetDocument();
  if (document == nullptr) return;
  if (!ArchiveUnchanged()) {
    ShowMessage(kMsgStatArchiveChanged, GetMessageText(kMsgStatArchiveChanged));
    return;
  }
  const int bucket = screen_.HitTest(at);
  if (bucket < 0) return;
  Archive& archive = workbench_.GetArchive();
  // The bar's charts alone: marks left from a run over the selected records are not the bar's.
  archive.ClearMarks();
  if (document->MarkStatGroupInArchive(bucket) == 0) return;
  if (archive.SelectChart(1) < 0) return;
  for (int n = 0; n < archive.RecordCount(); ++n) {
    if (!archive.Entry(n).IsSelected()) continue;
    // A refused window (too many charts open) was reported once: the rest are not tried.
    if (ChartDocument::OpenArchiveRecord(workbench_, archive, n) == nullptr) break;
  }
  if (archive.IsIndexBuilt()) archive.ClearMarks();
}

bool RunStatisticsDialog(QWidget* parent) {
  DStat dialog(GetAspectarium().Names(), parent);
  dialog.settings = GetConfiguration().GetStatisticsSettings();
  if (dialog.DoModal() != platform::kIdOk) return false;
  const cfg::StatisticsRecord chosen = dialog.settings;
  ChangeSettings(
      [&chosen](Configuration& config, Aspectarium&) { config.SetStatisticsSettings(chosen); });
  return true;
}

ChartDocument* OpenArchiveStatistics(Workbench& workbench) {
  Archive& archive = workbench.GetArchive();
  if (!archive.IsIndexBuilt()) return nullptr;
  const ChartContext context = ChartContext::FromCurrentSettings();
  Statistic statistic;
  if (!statistic.Init(context.Config().GetStatisticsSettings(), context)) {
    ShowMessage(kMsgAspectSystemNotFound, GetMessageText(kMsgAspectSystemNotFound));
    return nullptr;
  }
  platform::BackgroundRun run(QStringLiteral("СТАТИСТИКА"), workbench.MainWindow());
  StatRunEnd end = StatRunEnd::kCancelled;
  run.Run([&](platform::ProgressSink& progress) { end = statistic.Calculate(archive, progress); });
  if (end != StatRunEnd::kCompleted) return nullptr;
  if (const int unreadable = statistic.Results().unreadable; unreadable > 0)
    ShowMessage(kMsgStatUnreadable,
                GetMessageText(kMsgStatUnreadable) + " - " + std::to_string(unreadable));
  return workbench.OpenChartDocument(DocCreation::Statistics(statistic.TakeResults()),
                                     kTemplateStatistics);
}
