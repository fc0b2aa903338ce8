#include "forecast/ui/pred_list_commands.h"

#include <filesystem>

#include "astro/aspects/aspect.h"
#include "document/chart_document.h"
#include "document/workbench.h"
#include "forecast/core/pred_list_file.h"
#include "forecast/ui/pred_list_dialogs.h"
#include "forecast/ui/view_kinds.h"
#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/errors/error_report.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"

namespace {

std::filesystem::path DataFolder(Workbench& workbench) {
  return std::filesystem::path(workbench.GetPath(""));
}

}  // namespace

void RunPredictListCommand(Workbench& workbench, const Chart* person) {
  DPREDICT_LIST dialog(DataFolder(workbench), workbench.MainWindow());
  if (!dialog.Open(GetConfiguration())) {
    ShowMessage(kMsgNoLists, platform::Icon::Information);
    return;
  }
  if (dialog.DoModal() != platform::kIdOk || !dialog.ToPrint()) return;
  DocCreation creation =
      DocCreation::PredictionListPrint(dialog.ToPrint()->name, dialog.ToPrint()->path);
  // The printed list names the person it was printed for; the document stays a list.
  if (person != nullptr) creation.source = *person;
  workbench.OpenChartDocument(std::move(creation), kTemplatePredictionList);
}

void HandOverToPredList(Workbench& workbench, int clicked, int eventCount,
                        const std::function<std::optional<PredListRecord>(int)>& make,
                        std::string_view trace, const Chart* person) {
  Configuration& config = GetConfiguration();
  // An event no list can hold (an ingress) is not offered on its own.
  const bool offered = clicked >= 0 && clicked < eventCount && make(clicked).has_value();
  DPREDLIST_TRANSFER transfer(offered ? clicked : -1, DataFolder(workbench),
                              config.predictionList.Get(cfg::PredictionListSettings::kListName),
                              workbench.MainWindow());
  if (transfer.DoModal() != platform::kIdOk) return;
  const PredListTransferPage& page = transfer.Page();
  StorePredListName(config, page.ListName());
  const PredListHandOver done = HandOverEvents(page.ListFile(), page.Range(eventCount), make);
  if (!done.status.ok()) {
    ReportStatus(Status::Error(kErrCannotCreate, page.ListFile().string()), trace);
    return;
  }
  if (done.unknownAspect) ShowAspectMessage(kAspMsgBadPosition);
  if (done.written == 0) ShowMessage(kMsgNothingHandedOver, platform::Icon::Information);
  if (page.OpenList()) RunPredictListCommand(workbench, person);
}
