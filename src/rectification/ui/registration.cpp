#include "rectification/ui/registration.h"

#include "astro/aspects/aspectarium.h"
#include "document/chart_document.h"
#include "document/command_ids.h"
#include "document/ui_registry.h"
#include "document/workbench.h"
#include "foundation/config/configuration.h"
#include "foundation/files/data_file_names.h"
#include "platform/qt/command_target.h"
#include "rectification/ui/hermes_dialogs.h"
#include "rectification/ui/rect_setup_dialogs.h"

namespace {

// The set-up sheet and the score matrix of the document's chart; the matrix stays with the
// document.
void RectifyByEvents(ChartDocument& document, Workbench& workbench) {
  const Chart* chart = document.GetChart();
  if (chart == nullptr) return;
  RectEventFiles files;
  files.events = &workbench.RectificationEvents();
  files.eventsFile = workbench.GetPath(g_DataFileNames[kDataLifeEvents]);
  files.tremin = &workbench.TreminEvents();
  files.treminFile = workbench.GetPath(g_DataFileNames[kDataTestEvents]);
  if (auto matrix = RunRectificationByEvents(*chart, GetConfiguration(), GetAspectarium(), files,
                                             workbench.MainWindow()))
    document.SetRectificationResult(std::move(matrix));
}

}  // namespace

void RegisterRectificationUi(UiRegistry& registry) {
  registry.AddDocumentCommands([](ChartDocument& document, Workbench& workbench) {
    document.OnCommand(
        cmd::kRectifyByEvents, [&document, &workbench] { RectifyByEvents(document, workbench); },
        [&document](platform::CommandState& state) {
          state.enabled = document.GetChart() != nullptr;
        });
    const auto hasChart = [&document](platform::CommandState& state) {
      state.enabled = document.GetChart() != nullptr;
    };
    document.OnCommand(
        cmd::kHermesTrutine,
        [&document, &workbench] { RunHermesTrutine(document, workbench.MainWindow()); }, hasChart);
    document.OnCommand(
        cmd::kMoravNumber,
        [&document, &workbench] {
          if (const Chart* chart = document.GetChart()) {
            D_MORAV dialog(*chart, workbench.MainWindow());
            dialog.DoModal();
          }
        },
        hasChart);
  });
}
