// The archive's windows in the program: the browser dialogs behind Archive::SelectChart, and the
// two chart commands that go through the archive (open a chart from it, save a document's chart
// into it).
#pragma once

#include "archive/store/archive.h"

class ChartDocument;
class Workbench;

// Runs the browser dialogs for the archive's browse loop: variant 2 the browser with comments (for
// a 4.4 archive; another layout gets the plain one), 3 the plain browser.
class ArchiveBrowserDialogs final : public ArchiveBrowser {
 public:
  explicit ArchiveBrowserDialogs(Workbench& workbench) : workbench_(workbench) {}
  bool Run(Archive& archive, int variant) override;
  // Set for the next runs: loading then takes any number of marked records.
  bool noChoiceNeeded = false;

 private:
  Workbench& workbench_;
};

// "Загрузить из архива": the browser, then the chosen record (with its comment pages) opened in a
// new chart window. The document opened, or nullptr (cancelled, nothing chosen, or refused).
ChartDocument* LoadChartFromArchive(Workbench& workbench);

// "Сохранить в архиве": the document's chart saved into the archive (the archive asks for the
// target and its questions). 0, or -1. A chart saved with its comment pages (a 4.4 archive) no
// longer warns of unsaved comments when its window closes.
int SaveChartToArchive(Workbench& workbench, ChartDocument& document);
