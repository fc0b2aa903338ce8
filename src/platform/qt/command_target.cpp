#include "platform/qt/command_target.h"

#include <new>

#include "foundation/errors/error_report.h"

namespace platform {

void CommandTarget::OnCommand(int id, Action action, Updater update) {
  handlers_[id] = Handler{std::move(action), std::move(update)};
}

bool CommandTarget::Execute(int id) {
  const auto found = handlers_.find(id);
  if (found == handlers_.end()) return false;
  // A copy: the action may replace or remove handlers of this target while it runs.
  const Action action = found->second.action;
  // A command whose memory runs out (a file far larger than any it reads, say) is reported and
  // ends; the program goes on with what it holds.
  try {
    if (action) action();
  } catch (const std::bad_alloc&) {
    ReportError(kErrNoMemory, "CommandTarget::Execute", id);
  }
  return true;
}

bool CommandTarget::Update(int id, CommandState& state) const {
  const auto found = handlers_.find(id);
  if (found == handlers_.end()) return false;
  state = CommandState{};
  if (found->second.update) found->second.update(state);
  return true;
}

bool RouteCommand(const std::vector<CommandTarget*>& route, int id) {
  for (CommandTarget* target : route) {
    if (target != nullptr && target->HasCommand(id)) {
      // Only an enabled command runs: an accelerator must not bypass the enabling rule.
      CommandState state;
      target->Update(id, state);
      if (!state.enabled) return false;
      return target->Execute(id);
    }
  }
  return false;
}

CommandState RouteUpdate(const std::vector<CommandTarget*>& route, int id) {
  for (CommandTarget* target : route) {
    CommandState state;
    if (target != nullptr && target->Update(id, state)) return state;
  }
  return CommandState{false, false};
}

}  // namespace platform
