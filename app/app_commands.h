// The application's rows of the command table: menus 128 (no document), 129 (a
// calculation is active) and 137 (a project is active), and toolbar 128. The views'
// commands are added by their own parts into the same menus (core/shell_commands.h).
#pragma once

#include "core/shell_commands.h"
#include "platform/command_table.h"

namespace wv {

void RegisterAppCommands(CommandTable& table);

}  // namespace wv
