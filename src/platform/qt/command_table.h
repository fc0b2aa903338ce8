// The one table that the main frame builds its menus, accelerators, toolbar and status-bar
// prompts from, keyed by command numbers. Texts are UTF-8 (they go to Qt directly).
#pragma once

#include <vector>

namespace platform {

struct CommandDef {
  int id;
  const char* text;      // menu text; '&' marks the mnemonic
  const char* shortcut;  // Qt key sequence ("Ctrl+B", "Alt+P", "F1"); empty when none
  const char* prompt;    // status-bar prompt; empty: the menu text
  bool toolbar;          // also a toolbar button
};

// Entries of a menu: a command number, or one of the markers below.
inline constexpr int kMenuSeparator = 0;
inline constexpr int kMenuRecentFiles = -1;  // the recent-file entries go here
inline constexpr int kMenuWindowList = -2;   // the list of open windows goes here

struct MenuDef {
  const char* title;
  std::vector<int> entries;
};

struct CommandTable {
  std::vector<CommandDef> commands;
  std::vector<MenuDef> menus;
  const CommandDef* Find(int id) const;
};

}  // namespace platform
