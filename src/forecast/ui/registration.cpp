#include "forecast/ui/registration.h"

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_context.h"
#include "conditions/core/groups.h"
#include "document/chart_document.h"
#include "document/command_ids.h"
#include "document/ui_registry.h"
#include "document/workbench.h"
#include "forecast/ui/forecast_views.h"
#include "forecast/ui/life_point_sheet.h"
#include "forecast/ui/lunar_trans_sheet.h"
#include "forecast/ui/pred_list_commands.h"
#include "forecast/ui/pred_list_print_view.h"
#include "forecast/ui/transit_sheet.h"
#include "forecast/ui/view_kinds.h"
#include "foundation/config/configuration.h"
#include "foundation/files/data_file_names.h"
#include "foundation/files/settings.h"

namespace {

void RegisterTemplates(UiRegistry& registry) {
  registry.RegisterViewTemplate(kTemplateTransits, [] { return new CTransitsView(); });
  registry.RegisterViewTemplate(kTemplateLunarTransits, [] { return new CLunTranView(); });
  registry.RegisterViewTemplate(kTemplateLifePoint, [] { return new LifePointView(); });
  registry.RegisterViewTemplate(kTemplatePredictionList, [] { return new CPredListPrint(); });
}

// Each list view opens after its settings sheet was accepted; the view runs the computation.
void RegisterDocumentCommands(ChartDocument& document, Workbench& workbench) {
  const auto sheet = [&document, &workbench](auto run) {
    return [&document, &workbench, run](int) {
      const Chart* chart = document.GetChart();
      return chart != nullptr && run(*chart, workbench.MainWindow());
    };
  };
  document.AddViewCommand(
      cmd::kPlanetTransits, kTemplateTransits,
      {.prepare = sheet([](const Chart& chart, QWidget* parent) {
         Groups groups;
         (void)groups.LoadGroups();  // an unreadable file was reported; the sheet has no groups
         const TransitChartInput input =
             TransitInputOf(ChartContext::FromCurrentSettings(), chart.definition,
                            GetSettings().FindProgramFile(g_DataFileNames[kDataTransitPeriods]));
         return RunTransitSheet(GetConfiguration(), GetAspectarium(), groups, input, parent);
       })});
  document.AddViewCommand(cmd::kMoonTransits, kTemplateLunarTransits,
                          {.prepare = sheet([](const Chart& chart, QWidget* parent) {
                             return RunLunarTransSheet(GetConfiguration(), GetAspectarium(),
                                                       LunarTransInputOf(chart.definition), parent);
                           })});
  document.AddViewCommand(cmd::kLifePoint, kTemplateLifePoint,
                          {.prepare = sheet([&workbench](const Chart& chart, QWidget* parent) {
                             return RunLifePointSheet(GetConfiguration(), GetAspectarium(),
                                                      workbench.LifePointTypes(),
                                                      chart.definition.Kind(), parent);
                           })});
  document.OnCommand(cmd::kAspectList, [&workbench, &document] {
    RunPredictListCommand(workbench, document.GetChart());
  });
}

}  // namespace

void RegisterForecastUi(UiRegistry& registry) {
  RegisterTemplates(registry);
  registry.AddDocumentCommands(RegisterDocumentCommands);
}
