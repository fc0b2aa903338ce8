// Command routing. Menu, accelerator and toolbar commands are numbered; every window, document
// and the application keep handlers by number. The main frame offers a command to the active view,
// its document, itself and the application, in that order: the first target with a handler runs
// it, and the same target decides whether its menu entry is enabled. A command that no target
// handles is disabled.
#pragma once

#include <functional>
#include <map>
#include <vector>

namespace platform {

struct CommandState {
  bool enabled = true;
  bool checked = false;
};

class CommandTarget {
 public:
  using Action = std::function<void()>;
  using Updater = std::function<void(CommandState&)>;

  virtual ~CommandTarget() = default;

  // Handles command `id` with `action`; `update` decides its state (enabled when none is given).
  void OnCommand(int id, Action action, Updater update = {});
  bool HasCommand(int id) const { return handlers_.count(id) != 0; }
  // Runs the handler; false when this target has none.
  bool Execute(int id);
  // Fills `state` (starting enabled and unchecked); false when this target has no handler.
  bool Update(int id, CommandState& state) const;

 private:
  struct Handler {
    Action action;
    Updater update;
  };
  std::map<int, Handler> handlers_;
};

// The first target of `route` (null entries skipped) that handles `id` runs it; false when none.
bool RouteCommand(const std::vector<CommandTarget*>& route, int id);
// The state the first handling target gives; disabled when no target handles the command.
CommandState RouteUpdate(const std::vector<CommandTarget*>& route, int id);

}  // namespace platform
