// The application's rows of the command table: menus 128 (no document), 129 (a
// calculation is active) and 137 (a project is active), and toolbar 128. The views'
// commands are added by their own parts into the same menus.
#pragma once

#include "platform/command_table.h"

namespace wv {

// Popup titles, so that other parts put their items into the same menus.
inline constexpr char kMenuFile[] = "ファイル(&F)";
inline constexpr char kMenuView[] = "表示(&V)";
inline constexpr char kMenuWindow[] = "ウィンドウ(&W)";
inline constexpr char kMenuHelp[] = "ヘルプ(&H)";

void RegisterAppCommands(CommandTable& table);

}  // namespace wv
