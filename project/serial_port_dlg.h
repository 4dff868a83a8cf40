// The port-settings dialog of the digitizer: which device the tablet hangs on and its line
// settings. It stands where Windows showed its own COM configuration dialog; the choice is
// kept in the user's profile and the next open uses it.
#pragma once

#include "platform/dialog_model.h"
#include "platform/serial_port.h"

#include <string>
#include <vector>

namespace wv {

class CSerialPortDlg : public CDialogModel {
public:
    enum : int {
        kDevices = 1001, kPath = 1002, kBaud = 1003, kDataBits = 1004, kParity = 1005, kStopBits = 1006, kFlow = 1007
    };
    static const std::vector<int>& BaudRates();

    // `devices`: what is present (ListSerialDevices), offered for picking; any path may be
    // typed instead.
    CSerialPortDlg(const SerialSettings& settings, std::vector<std::string> devices);

    // Valid after OK.
    const SerialSettings& Settings() const { return m_settings; }

protected:
    void DoDataExchange(CDataExchange& dx) override;
    void OnInitDialog() override;
    void OnListChanged(int id) override;
    void OnOK() override;

private:
    SerialSettings m_settings;
    std::vector<std::string> m_devices;
    int m_nBaud = 0, m_nDataBits = 0, m_nParity = 0, m_nStopBits = 0, m_nFlow = 0;
};

}  // namespace wv
