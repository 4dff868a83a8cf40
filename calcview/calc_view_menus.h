// The calculation view's commands in the program's command table: one row each, and the
// menus of calculation windows (File and View gain rows; Calculation, Drawing, Contours
// and Digital maps are its own).
#pragma once

#include "platform/command_table.h"

namespace wv {

void RegisterCalcViewCommands(CommandTable& t);

}  // namespace wv
