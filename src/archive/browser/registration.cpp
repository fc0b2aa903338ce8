#include "archive/browser/registration.h"

#include "archive/browser/archive_commands.h"
#include "archive/browser/archive_print_view.h"
#include "archive/browser/comment_view.h"
#include "archive/browser/dynamic_archive_dialog.h"
#include "archive/browser/export_format_dialogs.h"
#include "archive/browser/view_kinds.h"
#include "document/chart_document.h"
#include "document/command_ids.h"
#include "document/ui_registry.h"
#include "document/workbench.h"
#include "platform/qt/command_target.h"

void RegisterArchiveUi(UiRegistry& registry) {
  Workbench& workbench = registry.GetWorkbench();
  registry.RegisterViewTemplate(
      kTemplateComment, [&workbench] { return new CCommentView(workbench.CommentSlots()); });
  registry.RegisterViewTemplate(kTemplateArchivePrint,
                                [&workbench] { return new CArchivePrint(workbench.GetArchive()); });
  registry.AddFrameCommands([](platform::CommandTarget& frame, Workbench& workbench) {
    frame.OnCommand(cmd::kLoadFromArchive, [&workbench] { LoadChartFromArchive(workbench); });
    frame.OnCommand(cmd::kConfigExportFormats, [&workbench] {
      DEXPORT dialog(workbench.MainWindow());
      dialog.DoModal();
    });
  });
  registry.AddDocumentCommands([](ChartDocument& document, Workbench& workbench) {
    // One comment view per chart: two would store the same page over each other.
    document.AddViewCommand(cmd::kComment, kTemplateComment, {.exclusive = &kDocViewComment});
    document.OnCommand(
        cmd::kSaveToArchive, [&document, &workbench] { SaveChartToArchive(workbench, document); },
        [&document](platform::CommandState& state) {
          state.enabled = document.GetChart() != nullptr;
        });
    document.OnCommand(
        cmd::kDynamicArchive,
        [&document, &workbench] {
          if (const Chart* chart = document.GetChart()) {
            DDYNARC dialog(*chart, workbench.GetArchive(), workbench.MainWindow());
            dialog.DoModal();
          }
        },
        [&document](platform::CommandState& state) {
          state.enabled = document.GetChart() != nullptr;
        });
  });
}
