#include "project/qt/digitizer_dialogs_qt.h"

#include "platform/qt/dialog_host.h"
#include "platform/qt/gui_call.h"
#include "platform/serial_port.h"
#include "project/digi_read_set_dlg.h"
#include "project/serial_port_dlg.h"

#include <QPointer>

namespace wv {

DigitizerPoster GuiDigitizerPoster() {
    return [](std::function<void()> fn) { PostToGui(std::move(fn)); };
}

bool RunDigiReadSetDialog(CDigiReadSetDlg& dlg, QWidget* parent) {
    DialogHost host(dlg, parent);
    QPointer<DialogHost> guard(&host);
    dlg.SetChangedCallback([guard] {
        if (guard) guard->Sync();
    });
    if (!dlg.Result()) host.exec();
    dlg.SetChangedCallback({});
    return dlg.Result() == IDOK;
}

bool RunSerialPortDialog(CProfile& profile, QWidget* parent) {
    CSerialPortDlg dlg(LoadDigitizerSettings(&profile), ListSerialDevices());
    DialogHost host(dlg, parent);
    if (!dlg.Result()) host.exec();
    if (dlg.Result() != IDOK) return false;
    StoreDigitizerSettings(profile, dlg.Settings());
    return true;
}

}  // namespace wv
