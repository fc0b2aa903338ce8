#include "views/ui/registration.h"

#include <memory>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/published_settings.h"
#include "document/chart_document.h"
#include "document/command_ids.h"
#include "document/ui_registry.h"
#include "document/workbench.h"
#include "foundation/config/configuration.h"
#include "foundation/datetime/present_moment.h"
#include "foundation/files/data_file_names.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/command_target.h"
#include "views/ui/arab_dialogs.h"
#include "views/ui/arab_view.h"
#include "views/ui/asp_graph_dialogs.h"
#include "views/ui/asp_graph_view.h"
#include "views/ui/asptable_config_dialog.h"
#include "views/ui/asptable_view.h"
#include "views/ui/bindhu_views.h"
#include "views/ui/coord_conf_dialogs.h"
#include "views/ui/coord_views.h"
#include "views/ui/ephem_view.h"
#include "views/ui/info_view.h"
#include "views/ui/midpoints_view.h"
#include "views/ui/stars_views.h"
#include "views/ui/view_kinds.h"

namespace {

// The year of the computer's clock (2000 when the clock gives none).
int PresentYear() {
  Source now;
  if (!SetSourceToPresent(now, ReadSystemClock()).ok()) return 2000;
  return now.moment.date.Era() == 'B' ? -now.moment.date.Year() : now.moment.date.Year();
}

// Before the Arabic parts view: the configuration when it asks every time ("Рассчитать" opens the
// view), then message 426 when every part is switched off.
bool PrepareArabView(ChartDocument& document, Workbench& workbench) {
  const Chart* chart = document.GetChart();
  if (chart == nullptr) return false;
  ArabSettings settings = ArabSettings::Read(GetConfiguration());
  if (settings.askEveryTime != 0) {
    DArabConf dialog(ArabicPartsList(), settings, ArabChartModesAllowed(chart->definition.Kind()),
                     false, workbench.MainWindow());
    if (dialog.DoModal() != platform::kIdOk) return false;
    ChangeSettings(
        [&dialog](Configuration& config, Aspectarium&) { dialog.Page().Settings().Write(config); });
    if (!dialog.Compute()) return false;
  }
  if (ArabicPartsList().CountOn() == 0) {
    ShowMessage(kMsgArabAllOff, platform::Icon::Information);
    return false;
  }
  return true;
}

void RegisterTemplates(UiRegistry& registry, const std::shared_ptr<CAspGraphData>& aspGraph) {
  registry.RegisterViewTemplate(kTemplateAspectGraph,
                                [aspGraph] { return new CAspGraphView(aspGraph); });
  registry.RegisterViewTemplate(kTemplateAspectTable, [] { return new CAspTableView(); });
  registry.RegisterViewTemplate(kTemplateMidpoints, [] { return new CMidpointsView(); });
  registry.RegisterViewTemplate(kTemplatePlanetaryHours, [] { return new CInfoView(); });
  registry.RegisterViewTemplate(kTemplateAntiscia, [] { return new AntisView(); });
  registry.RegisterViewTemplate(kTemplateArabicParts, [] { return new ArabView(); });
  registry.RegisterViewTemplate(kTemplateCoordinates, [] { return new CCoordView(); });
  registry.RegisterViewTemplate(kTemplateCoordinates2, [] { return new CCoord2View(); });
  registry.RegisterViewTemplate(kTemplateCoordLatitudes, [] { return new CCoordLatView(); });
  registry.RegisterViewTemplate(kTemplateCoordSpeeds, [] { return new CCoordSpeedView(); });
  registry.RegisterViewTemplate(kTemplateCoordEquatorial, [] { return new CCoordEquView(); });
  registry.RegisterViewTemplate(kTemplateGraphicEphemeris, [] { return new EphemView(); });
  registry.RegisterViewTemplate(kTemplateBindhu, [] { return new CBindhuView(); });
  registry.RegisterViewTemplate(kTemplateSabians, [] { return new CSabiansView(); });
  registry.RegisterViewTemplate(kTemplatePlanetEnergy, [] { return new CPlanEnergyView(); });
  registry.RegisterViewTemplate(kTemplatePlanet, [] { return new CPlanetView(); });
  registry.RegisterViewTemplate(kTemplateStarsList, [] { return new CStarsListView(); });
  registry.RegisterViewTemplate(kTemplateStarText, [] { return new CStarsView(); });
}

// The Bindhu settings: from the view command only when they ask to be shown every time
// (`always` from the configuration menu). False when cancelled.
bool AskBindhuSettings(Workbench& workbench, bool always) {
  const BindhuChoice choice = BindhuChoice::Read(GetConfiguration());
  if (!always && choice.showEveryTime == 0) return true;
  C_BINDHU_CONF dialog(choice, workbench.MainWindow());
  if (dialog.DoModal() != platform::kIdOk) return false;
  dialog.Choice().Write(GetConfiguration());
  return true;
}

void RegisterDocumentCommands(ChartDocument& document, Workbench& workbench,
                              const std::shared_ptr<CAspGraphData>& aspGraph) {
  // The tables of a two-chart document are for the chart the user chooses (tableKind 0 aspects,
  // 1 midpoints); a cancelled choice opens nothing.
  const auto chooseChart = [&document](int tableKind) {
    return [&document, tableKind](int) {
      document.firstTableChoice =
          document.IsTwoChart() ? document.ChooseChartForTable(tableKind, 0) : 3;
      return document.firstTableChoice >= 0;
    };
  };
  // The equatorial and the horizontal table share their view; the command sets the mode.
  const auto coordinateMode = [&document](int command) {
    document.PartState<CoordinateTableChoice>().mode = command == cmd::kCoordHorizontal ? 4 : 3;
    return true;
  };
  document.AddViewCommand(cmd::kAspectTable, kTemplateAspectTable, {.prepare = chooseChart(0)});
  document.AddViewCommand(cmd::kMidpoints, kTemplateMidpoints, {.prepare = chooseChart(1)});
  document.AddViewCommand(cmd::kAntiscia, kTemplateAntiscia);
  document.AddViewCommand(
      cmd::kArabicParts, kTemplateArabicParts,
      {.prepare = [&document, &workbench](int) { return PrepareArabView(document, workbench); }});
  document.AddViewCommand(cmd::kCoordinates, kTemplateCoordinates);
  document.AddViewCommand(cmd::kCoordinates2, kTemplateCoordinates2, {.needsTwoCharts = true});
  document.AddViewCommand(cmd::kCoordLatitudes, kTemplateCoordLatitudes);
  document.AddViewCommand(cmd::kCoordSpeeds, kTemplateCoordSpeeds);
  document.AddViewCommand(cmd::kCoordEquatorial, kTemplateCoordEquatorial,
                          {.prepare = coordinateMode});
  document.AddViewCommand(cmd::kCoordHorizontal, kTemplateCoordEquatorial,
                          {.prepare = coordinateMode});
  // The star list after its settings when they ask to be shown each time; Cancel opens nothing.
  document.AddViewCommand(cmd::kFixedStars, kTemplateStarsList, {.prepare = [&workbench](int) {
                            if (StarAspectChoice::Read(GetConfiguration()).showDialog == 0)
                              return true;
                            return RunStarFilter(workbench.MainWindow());
                          }});
  document.AddViewCommand(cmd::kPlanetaryHours, kTemplatePlanetaryHours);
  // The graphic ephemeris: its settings first; Cancel opens nothing. A start never chosen opens
  // in the year the chart suggests.
  document.AddViewCommand(
      cmd::kGraphicEphemeris, kTemplateGraphicEphemeris, {.prepare = [&document, &workbench](int) {
        Configuration& config = GetConfiguration();
        DEphemConf dialog(config.graphicEphemeris, workbench.MainWindow());
        if (const Chart* chart = document.GetChart())
          ephem::PresetUnsetStart(dialog.Page(), chart->definition, PresentYear());
        if (dialog.DoModal() != platform::kIdOk) return false;
        dialog.Page().Write(config.graphicEphemeris);
        PublishSettings();
        return true;
      }});
  // The aspect graph opens after its settings sheet is confirmed.
  document.AddViewCommand(
      cmd::kAspectGraph, kTemplateAspectGraph, {.prepare = [&document, &workbench, aspGraph](int) {
        const Chart* chart = document.GetChart();
        return chart != nullptr && RunAspGraphSheet(*aspGraph, GetConfiguration(), GetAspectarium(),
                                                    chart->definition.GetCountSrc().moment.date,
                                                    workbench.MainWindow());
      }});
  // The Bindhu and Sabian lists are disabled while one of them is open.
  document.AddViewCommand(cmd::kBindhuTable, kTemplateBindhu,
                          {.exclusive = &kDocViewBindhu, .prepare = [&workbench](int) {
                             return AskBindhuSettings(workbench, false);
                           }});
  // The Sabian list only when the user's symbols are loaded.
  document.AddViewCommand(
      cmd::kSabianSymbols, kTemplateSabians,
      {.exclusive = &kDocViewSabian, .available = [] { return SabianSymbols().Loaded(); }});
  document.OnCommand(cmd::kThematicChart,
                     [&document, &workbench] { RunThematicChart(document, workbench); });

  document.OnCommand(cmd::kConfigAspectTable, [&document, &workbench] {
    if (!RunAspectTableConfig(GetConfiguration(), GetAspectarium(), workbench.MainWindow())) return;
    PublishSettings();
    document.UpdateAllViews();
  });
  document.OnCommand(cmd::kConfigCoordinates, [&document, &workbench] {
    if (!RunCoordConfSheet(GetConfiguration(), workbench.MainWindow())) return;
    PublishSettings();
    document.UpdateAllViews();
  });
}

// Frame commands: the configurations of the Arabic parts, the Bindhu table, the fixed stars and the
// Sabian symbols, with or without a chart.
void RegisterFrameCommands(platform::CommandTarget& frame, Workbench& workbench) {
  frame.OnCommand(cmd::kConfigBindhu, [&workbench] { AskBindhuSettings(workbench, true); });
  frame.OnCommand(cmd::kConfigFixedStars, [&workbench] { RunStarFilter(workbench.MainWindow()); });
  frame.OnCommand(cmd::kConfigSabian, [&workbench] {
    CD_Sabian dialog(SabianChoice::Read(GetConfiguration()), workbench.MainWindow());
    if (dialog.DoModal() == platform::kIdOk) dialog.Choice().Write(GetConfiguration());
  });
  frame.OnCommand(cmd::kConfigArabicParts, [&workbench] {
    DArabConf dialog(ArabicPartsList(), ArabSettings::Read(GetConfiguration()), true, true,
                     workbench.MainWindow());
    if (dialog.DoModal() != platform::kIdOk) return;
    ChangeSettings(
        [&dialog](Configuration& config, Aspectarium&) { dialog.Page().Settings().Write(config); });
  });
}

}  // namespace

void RegisterViewsUi(UiRegistry& registry) {
  // The aspect graph's pair lists: one store for the run, read at start, shared by the sheet and
  // the views.
  auto aspGraph = std::make_shared<CAspGraphData>();
  RegisterTemplates(registry, aspGraph);
  registry.AddDocumentCommands([aspGraph](ChartDocument& document, Workbench& workbench) {
    RegisterDocumentCommands(document, workbench, aspGraph);
  });
  registry.AddFrameCommands(RegisterFrameCommands);
  registry.AddStartupLoader(LoadArabicPartsAtStart);
  registry.AddStartupLoader(LoadSabiansAtStart);
  registry.AddStartupLoader([aspGraph](Workbench& workbench) {
    aspGraph->LoadAtStart(workbench.GetPath(g_DataFileNames[kDataAspectGraph]));
  });
  registry.AddStartupLoader(LoadStarsAtStart);
  registry.AddExitSaver(SaveArabicPartsAtExit);
  registry.AddExitSaver(FreeStarsAtExit);
}
