#include "astrocarto/ui/registration.h"

#include "astro/chart/published_settings.h"
#include "astrocarto/core/astrocart_page.h"
#include "astrocarto/ui/ac_lines_conf_dialog.h"
#include "astrocarto/ui/ac_lines_view.h"
#include "astrocarto/ui/astrocart_sheet.h"
#include "astrocarto/ui/astrocart_view.h"
#include "astrocarto/ui/paran_view.h"
#include "astrocarto/ui/view_kinds.h"
#include "document/chart_document.h"
#include "document/command_ids.h"
#include "document/ui_registry.h"
#include "document/workbench.h"
#include "foundation/config/configuration.h"
#include "platform/qt/command_target.h"

void RegisterAstroCartoUi(UiRegistry& registry) {
  registry.RegisterViewTemplate(kTemplateAstroCart, [] { return new CAstroCartView(); });
  registry.RegisterViewTemplate(kTemplateTownList, [] { return new CACLinesView(); });
  registry.RegisterViewTemplate(kTemplateParan, [] { return new CParanView(); });
  registry.AddFrameCommands([](platform::CommandTarget& frame, Workbench& workbench) {
    frame.OnCommand(cmd::kConfigAstroCart, [&workbench] {
      if (RunAstroCartSheet(GetConfiguration(), {}, workbench.MainWindow())) PublishSettings();
    });
  });
  registry.AddDocumentCommands([](ChartDocument& document, Workbench& workbench) {
    // One map per chart (the paran table and the town lists read its lines); the settings sheet
    // first when it is to be shown every time, and a sheet closed without OK opens no map.
    const auto settingsFirst = [&workbench](int) {
      Configuration& config = GetConfiguration();
      if (!ReadAstroCartPage(config.astroCart).showEveryTime) return true;
      if (!RunAstroCartSheet(config, {}, workbench.MainWindow())) return false;
      // The map opened next reads the settings just stored.
      PublishSettings();
      return true;
    };
    document.AddViewCommand(cmd::kAstroCartMap, kTemplateAstroCart,
                            {.exclusive = &kDocViewMap, .prepare = settingsFirst});
    // The town list of the lines after its settings; a dialog closed without OK opens none.
    document.AddViewCommand(cmd::kTownList, kTemplateTownList, {.prepare = [&workbench](int) {
                              return RunACLinesConf(workbench.MainWindow());
                            }});
  });
}
