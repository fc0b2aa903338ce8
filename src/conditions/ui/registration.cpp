#include "conditions/ui/registration.h"

#include <memory>

#include "conditions/ui/groups_dialog.h"
#include "conditions/ui/query_view.h"
#include "conditions/ui/stat_view.h"
#include "conditions/ui/synastry_dialog.h"
#include "conditions/ui/synastry_view.h"
#include "conditions/ui/tlr_editor_sheet.h"
#include "conditions/ui/tlr_output.h"
#include "conditions/ui/view_kinds.h"
#include "document/chart_document.h"
#include "document/command_ids.h"
#include "document/ui_registry.h"
#include "document/workbench.h"
#include "foundation/files/settings.h"
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
  // The interpretation-text bases, one list for the whole program, read at start.
  auto texts = std::make_shared<TLRDATA>();
  registry.RegisterViewTemplate(kTemplateInterpretation, [texts] { return new CTLRVIEW(*texts); });
  registry.AddDocumentCommands([texts](ChartDocument& document, Workbench& workbench) {
    document.AddViewCommand(cmd::kInterpretationOutput, kTemplateInterpretation,
                            {.prepare = [texts, &document, &workbench](int) {
                              return document.GetChart() != nullptr &&
                                     PrepareInterpretation(*texts, workbench.MainWindow());
                            }});
    document.OnCommand(cmd::kEditTexts,
                       [texts, &workbench] { RunTlrEditor(*texts, workbench.MainWindow()); });
  });
  registry.AddStartupLoader([texts](Workbench&) {
    (void)RebaseTextBases(GetSettings().Folder());
    (void)texts->LoadBases();
  });
  // The bars of an archive statistics run, opened from the archive browser's "СТАТИСТИКА".
  registry.RegisterViewTemplate(kTemplateStatistics,
                                [&workbench] { return new CStatView(workbench); });
  registry.AddFrameCommands([](platform::CommandTarget& frame, Workbench& workbench) {
    frame.OnCommand(cmd::kConfigPlanetGroups,
                    [&workbench] { RunPlanetGroupsCommand(workbench.MainWindow()); });
  });
}
