#include "settings/ui/registration.h"

#include "astro/aspects/aspectarium.h"
#include "astro/chart/published_settings.h"
#include "document/chart_document.h"
#include "document/command_ids.h"
#include "document/ui_registry.h"
#include "document/workbench.h"
#include "foundation/config/configuration.h"
#include "foundation/files/data_file_names.h"
#include "foundation/files/settings.h"
#include "platform/qt/command_target.h"
#include "platform/qt/doc_template.h"
#include "settings/ui/aspect_system_dialogs.h"
#include "settings/ui/colours_dialog.h"
#include "settings/ui/config_dialogs.h"
#include "settings/ui/enter_name.h"
#include "settings/ui/import_dialog.h"

void UpdateAllChartViews(Workbench& workbench) {
  PublishSettings();
  for (const auto& document : workbench.Documents().Documents()) document->UpdateAllViews();
}

namespace {

// The colour schemes: the data folder's file, and the shipped one read while there is none.
void SchemeFiles(const Workbench& app, std::filesystem::path& data,
                 std::filesystem::path& shipped) {
  data = app.GetPath(g_DataFileNames[kDataColourSchemes]);
  shipped = GetSettings().FindShippedFile(g_DataFileNames[kDataColourSchemes]);
}

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
  // "Windows 2000": a check-marked switch of the wide table columns (the life-point list and the
  // line-crossing table read it as they open and print).
  frame.OnCommand(
      cmd::kConfigWindows2000,
      [&app] {
        Configuration& config = GetConfiguration();
        config.windows2000 = config.windows2000 != 0 ? 0 : 1;
        UpdateAllChartViews(app);
      },
      [](platform::CommandState& state) { state.checked = GetConfiguration().windows2000 != 0; });
  frame.OnCommand(cmd::kConfigImport, [&app] {
    settings::ImportPlaces places;
    places.programFolder = app.GetPath("");
    SchemeFiles(app, places.schemesFile, places.shippedSchemes);
    places.askName = [&app](std::string& typed) {
      return RunEnterName(typed, {}, app.MainWindow());
    };
    places.keepTips = [&app](const oldcfg::TipOfTheDay& tips) {
      app.SetTipOfTheDay(tips.showAtStart, tips.nextTip);
    };
    const bool imported =
        RunConfigurationImport(GetConfiguration(), GetAspectarium(), places,
                               app.GetPath(g_DataFileNames[kDataConfig]), app.MainWindow());
    if (imported) UpdateAllChartViews(app);
  });
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
  document.OnCommand(cmd::kConfigColours, [&app] {
    Configuration& config = GetConfiguration();
    DALLCOLORS dialog(app.MainWindow());
    dialog.page = settings::ColoursPage::From(config);
    SchemeFiles(app, dialog.page.dataFile, dialog.page.shippedFile);
    if (dialog.DoModal() != platform::kIdOk) return;
    dialog.page.To(config);
    config.colourChangeMarker = config.colourChangeMarker == 0 ? 1 : 0;
    UpdateAllChartViews(app);
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
