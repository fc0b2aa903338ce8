#include "settings/ui/registration.h"

#include "astro/aspects/aspectarium.h"
#include "astro/chart/published_settings.h"
#include "document/chart_document.h"
#include "document/command_ids.h"
#include "document/ui_registry.h"
#include "document/workbench.h"
#include "foundation/config/configuration.h"
#include "platform/qt/command_target.h"
#include "platform/qt/doc_template.h"
#include "settings/ui/aspect_system_dialogs.h"
#include "settings/ui/config_dialogs.h"

void UpdateAllChartViews(Workbench& workbench) {
  PublishSettings();
  for (const auto& document : workbench.Documents().Documents()) document->UpdateAllViews();
}

namespace {

void RegisterFrameCommands(platform::CommandTarget& frame, Workbench& app) {
  frame.OnCommand(cmd::kConfigPlanets, [&app] {
    Configuration& config = GetConfiguration();
    DCONFIG_PLANETS dialog(app.MainWindow());
    dialog.page = settings::PlanetsPage::From(config);
    if (dialog.DoModal() != platform::kIdOk || !dialog.page.To(config)) return;
    UpdateAllChartViews(app);
  });
  frame.OnCommand(cmd::kConfigCalculations, [&app] {
    Configuration& config = GetConfiguration();
    CConfigCalculations dialog(app.MainWindow());
    dialog.page = settings::CalculationsPage::From(config.calculation);
    if (dialog.DoModal() != platform::kIdOk || !dialog.page.GeodeticAllowed()) return;
    dialog.page.To(config.calculation);
    UpdateAllChartViews(app);
  });
  frame.OnCommand(cmd::kConfigWheel, [&app] {
    Configuration& config = GetConfiguration();
    DCONFIG_WHEEL dialog(app.MainWindow());
    dialog.page = settings::WheelPage::From(config.wheel);
    dialog.constants = &config.wheelConstants;
    const int result = dialog.DoModal();
    if (result != platform::kIdOk) {
      UpdateAllChartViews(app);  // the constant sets may have changed
      return;
    }
    dialog.page.To(config.wheel);
    UpdateAllChartViews(app);
  });
  frame.OnCommand(cmd::kConfigRulers, [&app] {
    Configuration& config = GetConfiguration();
    DRulers dialog(app.MainWindow());
    dialog.page = settings::RulersPage::From(config.rulers);
    if (dialog.DoModal() != platform::kIdOk) return;
    dialog.page.To(config.rulers);
    UpdateAllChartViews(app);
  });
  frame.OnCommand(
      cmd::kConfigAspectSystem,
      [&app] {
        CASPSYS dialog(GetAspectarium(), GetConfiguration(), app.MainWindow());
        dialog.DoModal();
        // OK or Esc: the system shown last becomes the current one.
        dialog.Editor().Close();
        UpdateAllChartViews(app);
      },
      [](platform::CommandState& state) { state.enabled = GetAspectarium().Count() > 0; });
}

void RegisterDocumentCommands(ChartDocument& document, Workbench& app) {
  document.OnCommand(cmd::kConfigAspectFilter, [&document, &app] {
    Configuration& config = GetConfiguration();
    ASPECT_FILTER dialog(app.MainWindow());
    dialog.page = settings::AspectFilterPage::From(config.aspectFilter);
    if (dialog.DoModal() == platform::kIdOk) dialog.page.To(config.aspectFilter);
    // Also after Cancel.
    PublishSettings();
    document.UpdateAllViews();
  });
  document.OnCommand(cmd::kConfigPrint, [&document, &app] {
    Configuration& config = GetConfiguration();
    DCONFIG_PRINT dialog(app.MainWindow());
    dialog.page = settings::PrintPage::From(config.print);
    dialog.colourMode = config.colourPrinting;
    if (dialog.DoModal() != platform::kIdOk || dialog.page.Check() != 0) return;
    dialog.page.To(config.print);
    config.colourPrinting = dialog.colourMode;
    PublishSettings();
    document.UpdateAllViews();
  });
}

}  // namespace

void RegisterSettingsUi(UiRegistry& registry) {
  registry.AddFrameCommands(RegisterFrameCommands);
  registry.AddDocumentCommands(RegisterDocumentCommands);
}
