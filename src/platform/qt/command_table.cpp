#include "platform/qt/command_table.h"

namespace platform {

const CommandDef* CommandTable::Find(int id) const {
  for (const CommandDef& command : commands) {
    if (command.id == id) return &command;
  }
  return nullptr;
}

}  // namespace platform
