// The menus, accelerators and toolbar of the main window as one table.
#pragma once

#include "platform/qt/command_table.h"

// Every command with its text and accelerator, and the menus in menu-bar order.
const platform::CommandTable& KovraCommandTable();
