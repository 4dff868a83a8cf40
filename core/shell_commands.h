// What the application shell and both views share of the command table: the titles of
// the popups that several parts put their items into, and the rows of the display
// commands that the main toolbar and both views' menus carry.
#pragma once

#include "platform/command_table.h"

namespace wv {

inline constexpr char kMenuFile[] = "ファイル(&F)";
inline constexpr char kMenuView[] = "表示(&V)";
inline constexpr char kMenuWindow[] = "ウィンドウ(&W)";
inline constexpr char kMenuHelp[] = "ヘルプ(&H)";

// Zoom in, zoom out, the whole figure, redraw and the base view (32777-32780, 32827).
void RegisterDisplayCommands(CommandTable& table);

}  // namespace wv
