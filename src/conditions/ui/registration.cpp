#include "conditions/ui/registration.h"

#include "conditions/ui/groups_dialog.h"
#include "document/command_ids.h"
#include "document/ui_registry.h"
#include "document/workbench.h"
#include "platform/qt/command_target.h"

void RegisterConditionsUi(UiRegistry& registry) {
  registry.AddFrameCommands([](platform::CommandTarget& frame, Workbench& workbench) {
    frame.OnCommand(cmd::kConfigPlanetGroups,
                    [&workbench] { RunPlanetGroupsCommand(workbench.MainWindow()); });
  });
}
