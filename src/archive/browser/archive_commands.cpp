#include "archive/browser/archive_commands.h"

#include "archive/browser/archive_view.h"
#include "archive/browser/archive_view_commented.h"
#include "archive/browser/view_kinds.h"
#include "archive/comments/chart_comments.h"
#include "conditions/ui/query_dialog.h"
#include "conditions/ui/stat_view.h"
#include "document/chart_document.h"
#include "document/workbench.h"

bool ArchiveBrowserDialogs::Run(Archive& archive, int variant) {
  // Comments exist in the 4.4 layout only: another archive opens the plain browser.
  if (variant == 2 && archive.LayoutCode() != kLayout4400) {
    variant = 3;
    archive.browserVariant = 3;
  }
  std::unique_ptr<ArchiveView> dialog;
  if (variant == 2)
    dialog = std::make_unique<ArchiveViewCommented>(archive, workbench_.MainWindow());
  else
    dialog = std::make_unique<ArchiveView>(archive, workbench_.MainWindow());
  ArchiveView& view = *dialog;
  view.noChoiceNeeded = noChoiceNeeded || archive.selectMode != 0;
  view.queryCommand = [this](QWidget* parent) { return RunArchiveQuery(workbench_, parent); };
  view.statisticsCommand = [](QWidget* parent) { return RunStatisticsDialog(parent); };
  const bool ok = view.DoModal() == platform::kIdOk;
  if (view.printRequested)
    workbench_.OpenChartDocument(DocCreation::Results(DocCreationMode::PrintList),
                                 kTemplateArchivePrint);
  if (view.statisticsRequested) OpenArchiveStatistics(workbench_);
  return ok;
}

ChartDocument* LoadChartFromArchive(Workbench& workbench) {
  Archive& archive = workbench.GetArchive();
  const int record = archive.SelectChart(0);
  if (record < 0) return nullptr;
  return ChartDocument::OpenArchiveRecord(workbench, archive, record);
}

int SaveChartToArchive(Workbench& workbench, ChartDocument& document) {
  const Chart* chart = document.GetChart();
  if (chart == nullptr) return -1;
  Archive& archive = workbench.GetArchive();
  if (archive.SaveToArchive(*chart) != 0) return -1;
  // Only a 4.4 archive keeps the comment pages; after a save without them the warning stays.
  if (archive.LayoutCode() == kLayout4400 || !HasCommentPages(*chart))
    document.savedInArchive = true;
  return 0;
}
