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
#include "rectification/ui/pr_tremin_view.h"
#include "rectification/ui/rect_setup_dialogs.h"
#include "rectification/ui/rectif_view.h"
#include "rectification/ui/tremin_conf.h"
#include "rectification/ui/tremin_forecast_dialog.h"
#include "rectification/ui/tremin_view.h"
#include "rectification/ui/view_kinds.h"

namespace {

// The set-up sheet of the rectification by events, started at the chart's birth moment; the view
// opens when it is accepted.
bool RunRectifySheet(ChartDocument& document, Workbench& workbench) {
  const Chart* chart = document.GetChart();
  if (chart == nullptr) return false;
  RectEventFiles files;
  files.events = &workbench.RectificationEvents();
  files.eventsFile = workbench.GetPath(g_DataFileNames[kDataLifeEvents]);
  files.tremin = &workbench.TreminEvents();
  files.treminFile = workbench.GetPath(g_DataFileNames[kDataTestEvents]);
  const Source* base = chart->definition.GetBaseSource();
  const Moment start = (base != nullptr ? *base : chart->definition.GetCountSrc()).moment;
  return RunRectificationSheet(GetConfiguration(), GetAspectarium(), files, start,
                               workbench.MainWindow());
}

TreminEventFiles TreminFiles(Workbench& workbench) {
  TreminEventFiles files;
  files.events = &workbench.TreminEvents();
  files.eventsFile = workbench.GetPath(g_DataFileNames[kDataTestEvents]);
  files.rectification = &workbench.RectificationEvents();
  files.rectificationFile = workbench.GetPath(g_DataFileNames[kDataLifeEvents]);
  return files;
}

// The birth moment the Tremin pages start from: the chart's birth data.
Moment BirthOf(const Chart& chart) {
  const Source* base = chart.definition.GetBaseSource();
  return (base != nullptr ? *base : chart.definition.GetCountSrc()).moment;
}

void AddDocumentCommands(ChartDocument& document, Workbench& workbench) {
  document.AddViewCommand(
      cmd::kRectifyByEvents, kTemplateRectification,
      {.prepare = [&document, &workbench](int) { return RunRectifySheet(document, workbench); }});
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
  // The Tremin rectification: its sheet, then the results view, which runs the search. Like every
  // command on the chart, it opens nothing on a window without one.
  document.AddViewCommand(
      cmd::kTreminRectification, kTemplateTremin, {.prepare = [&document, &workbench](int) {
        const Chart* chart = document.GetChart();
        return chart != nullptr &&
               RunTreminRectSheet(GetConfiguration(), GetAspectarium(), TreminFiles(workbench),
                                  BirthOf(*chart), workbench.MainWindow());
      }});
  // The Tremin forecast: its dialog, then the forecast view.
  document.AddViewCommand(
      cmd::kTreminForecast, kTemplateTreminForecast, {.prepare = [&document, &workbench](int) {
        const Chart* chart = document.GetChart();
        return chart != nullptr &&
               RunTreminForecastDialog(GetConfiguration(), GetAspectarium(), TreminFiles(workbench),
                                       *chart, workbench.MainWindow());
      }});
}

}  // namespace

void RegisterRectificationUi(UiRegistry& registry) {
  registry.RegisterViewTemplate(kTemplateTremin, [] { return new CTreminView(); });
  registry.RegisterViewTemplate(kTemplateTreminForecast, [] { return new CPrTreminView(); });
  registry.RegisterViewTemplate(kTemplateRectification, [] { return new RectifView(); });
  registry.AddDocumentCommands(AddDocumentCommands);
}
