#include "conditions/ui/registration.h"

#include "conditions/ui/groups_dialog.h"
#include "conditions/ui/query_view.h"
#include "conditions/ui/stat_view.h"
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
  // The bars of an archive statistics run, opened from the archive browser's "СТАТИСТИКА".
  registry.RegisterViewTemplate(kTemplateStatistics,
                                [&workbench] { return new CStatView(workbench); });
  registry.AddFrameCommands([](platform::CommandTarget& frame, Workbench& workbench) {
    frame.OnCommand(cmd::kConfigPlanetGroups,
                    [&workbench] { RunPlanetGroupsCommand(workbench.MainWindow()); });
  });
}
