// How a subsystem's windows join the program. Every ui part exports ONE registration function,
// `void Register<Subsystem>Ui(UiRegistry&)`, declared in its folder's registration.h; src/app/
// calls them in order before the application starts. The function registers, through this
// interface:
//   - the view templates of its view kinds (RegisterViewTemplate: the template number the part
//     declares in its own view_kinds.h, next to the open counters of its views, and a factory);
//   - the commands of the chart document that open its views and dialogs, with their enabling
//     (AddDocumentCommands: run on every new chart document; ChartDocument::AddViewCommand for a
//     command that opens a view);
//   - the commands of the main window (AddFrameCommands: run on the main window as it is made);
//   - its start-up loaders and exit savers (AddStartupLoader, AddExitSaver).
// A new view is a class in its part's ui folder, its template number (and, when the document
// counts it, a DocViewKind) in that folder's view_kinds.h, and a few lines in the part's
// registration function; neither the document nor the shell is touched. The shell's CKovraApp
// implements the registry.
#pragma once

#include <functional>

#include "platform/qt/doc_template.h"

class ChartDocument;
class Workbench;

namespace platform {
class CommandTarget;
}

class UiRegistry {
 public:
  using DocumentCommands = std::function<void(ChartDocument& document, Workbench& workbench)>;
  using FrameCommands = std::function<void(platform::CommandTarget& frame, Workbench& workbench)>;
  using DataHook = std::function<void(Workbench& workbench)>;

  virtual ~UiRegistry() = default;

  // What the registered windows and commands will work with.
  virtual Workbench& GetWorkbench() = 0;
  // Registers the template of a view kind on the chart document; a kind registered twice keeps
  // its first template. The template, or nullptr for a negative number.
  virtual platform::DocTemplate* RegisterViewTemplate(int number,
                                                      platform::DocTemplate::ViewFactory view) = 0;
  // `commands` runs on every chart document as it is made, after the document's own commands.
  virtual void AddDocumentCommands(DocumentCommands commands) = 0;
  // `commands` runs on the main window as it is made, after the window's own commands.
  virtual void AddFrameCommands(FrameCommands commands) = 0;
  // `load` runs at start, in registration order, once the configuration, the aspect systems, the
  // ephemeris, the archive and the shell's own lists are loaded (a subsystem's start-up loader:
  // its data file read into its program-wide list, failures reported once).
  virtual void AddStartupLoader(DataHook load) = 0;
  // `save` runs at the end, in registration order, after the chart windows are closed and before
  // the configuration is written (a subsystem's exit saver).
  virtual void AddExitSaver(DataHook save) = 0;
};
