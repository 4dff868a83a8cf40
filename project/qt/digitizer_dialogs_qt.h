// The digitizer's two dialogs on screen, and the poster that carries the watchers' calls to
// the GUI thread. The project view calls these from its DigitizerHost implementation.
#pragma once

#include "platform/profile.h"
#include "project/digitizer_port.h"

class QWidget;

namespace wv {

class CDigiReadSetDlg;

// Queues a watcher's call for the GUI thread.
DigitizerPoster GuiDigitizerPoster();

// Shows the reading-settings dialog modally and mirrors the tablet's readings on it while
// it runs. True on OK.
bool RunDigiReadSetDialog(CDigiReadSetDlg& dlg, QWidget* parent = nullptr);

// The port-settings dialog: the devices present, the stored settings; on OK the settings
// go into `profile` and the next open uses them. True on OK.
bool RunSerialPortDialog(CProfile& profile, QWidget* parent = nullptr);

}  // namespace wv
