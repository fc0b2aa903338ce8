#include "astrocarto/ui/registration.h"

#include "astrocarto/ui/astrocart_sheet.h"
#include "document/chart_document.h"
#include "document/command_ids.h"
#include "document/ui_registry.h"
#include "document/view_kinds.h"
#include "document/workbench.h"
#include "foundation/config/configuration.h"
#include "platform/qt/command_target.h"

void RegisterAstroCartoUi(UiRegistry& registry) {
  registry.AddFrameCommands([](platform::CommandTarget& frame, Workbench& workbench) {
    frame.OnCommand(cmd::kConfigAstroCart, [&workbench] {
      RunAstroCartSheet(GetConfiguration(), {}, workbench.MainWindow());
    });
  });
  registry.AddDocumentCommands([](ChartDocument& document, Workbench&) {
    document.AddViewCommand(cmd::kAstroCartMap, kTemplateAstroCart);
  });
}
