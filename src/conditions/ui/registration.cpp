#include "conditions/ui/registration.h"

#include <memory>

#include "conditions/ui/groups_dialog.h"
#include "conditions/ui/query_view.h"
#include "conditions/ui/synastry_dialog.h"
#include "conditions/ui/synastry_view.h"
#include "document/chart_document.h"
#include "document/command_ids.h"
#include "document/ui_registry.h"
#include "document/view_kinds.h"
#include "document/workbench.h"
#include "platform/qt/command_target.h"

void RegisterConditionsUi(UiRegistry& registry) {
  Workbench& workbench = registry.GetWorkbench();
  // The results of an archive query, opened by the query dialog on a new results document.
  registry.RegisterViewTemplate(kTemplateQueryResults,
                                [&workbench] { return new CQueryView(workbench); });
  // The results of a synastry analysis wait here from the run to the view that takes them over.
  auto pending = std::make_shared<SynastryHandOver>();
  registry.RegisterViewTemplate(kTemplateSynastryResults, [&workbench, pending] {
    return new CSynAnalView(workbench, pending);
  });
  registry.AddDocumentCommands([pending](ChartDocument& document, Workbench& workbench) {
    const auto show = [pending, &workbench](SynastryHandOver results) {
      *pending = std::move(results);
      const bool shown =
          workbench.OpenChartDocument(DocCreation::Results(DocCreationMode::EmptyResults),
                                      kTemplateSynastryResults) != nullptr;
      if (!shown) *pending = SynastryHandOver{};
      return shown;
    };
    document.OnCommand(
        cmd::kSynastryAnalysis,
        [&document, &workbench, show] {
          if (const Chart* chart = document.GetChart())
            RunSynastryAnalysis(workbench, *chart, show);
        },
        [&document](platform::CommandState& state) { state.enabled = document.GetChart(); });
  });
  registry.AddFrameCommands([](platform::CommandTarget& frame, Workbench& workbench) {
    frame.OnCommand(cmd::kConfigPlanetGroups,
                    [&workbench] { RunPlanetGroupsCommand(workbench.MainWindow()); });
  });
}
