#include "archive/browser/archive_commands.h"

#include "archive/browser/archive_view.h"
#include "archive/comments/chart_comments.h"
#include "document/chart_document.h"
#include "document/workbench.h"

bool ArchiveBrowserDialogs::Run(Archive& archive, int) {
  ArchiveView view(archive, workbench_.MainWindow());
  view.noChoiceNeeded = noChoiceNeeded;
  const bool ok = view.DoModal() == platform::kIdOk;
  if (view.printRequested)
    workbench_.OpenChartDocument(DocCreation::Results(DocCreationMode::PrintList),
                                 kTemplateArchivePrint);
  return ok;
}

ChartDocument* LoadChartFromArchive(Workbench& workbench) {
  Archive& archive = workbench.GetArchive();
  const int record = archive.SelectChart(0);
  if (record < 0) return nullptr;
  Chart chart;
  if (archive.LoadChart(chart, record, true) < 0) return nullptr;
  // The page files written for the record pass to the new document, which takes their slot; a
  // document that is not opened leaves neither the files nor the slot behind.
  const int slot = chart.commentSlot;
  if (slot != 0) workbench.CommentSlots().Release(slot);
  ChartDocument* document = workbench.OpenChartDocument(DocCreation::Copy(chart));
  if (document == nullptr) {
    if (slot != 0) {
      DeleteCommentFiles(chart);
      workbench.CommentSlots().Release(slot);
    }
    return nullptr;
  }
  document->savedInArchive = true;
  return document;
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
