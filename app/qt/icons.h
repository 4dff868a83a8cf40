// The toolbar's icons, drawn by the program itself (16 x 15 pixels, as the Windows
// toolbar's buttons were).
#pragma once

#include <QIcon>
#include <string>

namespace wv {

// The icon of a command row's icon name ("new", "open", "save", "print", "help",
// "zoomin", "zoomout", "zoomall", "redraw", "home"); a null icon for any other name.
QIcon ToolbarIcon(const std::string& name);
// The program's window icon.
QIcon AppIcon();

}  // namespace wv
