#include "project/serial_port_dlg.h"

#include "platform/data_exchange.h"

#include <algorithm>

namespace wv {

namespace {

const char kParities[] = {'N', 'O', 'E'};

template <class T>
int IndexOf(const std::vector<T>& v, const T& x) {
    const auto it = std::find(v.begin(), v.end(), x);
    return it == v.end() ? -1 : static_cast<int>(it - v.begin());
}

}  // namespace

const std::vector<int>& CSerialPortDlg::BaudRates() {
    static const std::vector<int> rates = {110, 300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
    return rates;
}

CSerialPortDlg::CSerialPortDlg(const SerialSettings& settings, std::vector<std::string> devices)
    : CDialogModel(0, "ｼﾘｱﾙﾎﾟｰﾄ設定", 230, 150), m_settings(settings), m_devices(std::move(devices)) {
    AddLabel("検出したポート", {7, 9, 60, 8});
    AddList(kDevices, m_devices, {70, 7, 153, 80});
    AddLabel("ポート", {7, 27, 60, 8});
    AddEdit(kPath, {70, 25, 153, 12});
    std::vector<std::string> rates;
    for (int r : BaudRates()) rates.push_back(std::to_string(r));
    AddLabel("ビット/秒", {7, 47, 60, 8});
    AddList(kBaud, rates, {70, 45, 70, 80});
    AddLabel("データ ビット", {7, 63, 60, 8});
    AddList(kDataBits, {"5", "6", "7", "8"}, {70, 61, 70, 60});
    AddLabel("パリティ", {7, 79, 60, 8});
    AddList(kParity, {"なし", "奇数", "偶数"}, {70, 77, 70, 60});
    AddLabel("ストップ ビット", {7, 95, 60, 8});
    AddList(kStopBits, {"1", "2"}, {70, 93, 70, 40});
    AddLabel("フロー制御", {7, 111, 60, 8});
    AddList(kFlow, {"なし", "Xon / Xoff", "ハードウェア"}, {70, 109, 70, 60});
    AddButton(IDOK, "OK", {118, 130, 50, 14});
    AddButton(IDCANCEL, "ｷｬﾝｾﾙ", {173, 130, 50, 14});
}

void CSerialPortDlg::DoDataExchange(CDataExchange& dx) {
    ExchangeList(dx, kBaud, m_nBaud);
    ExchangeList(dx, kDataBits, m_nDataBits);
    ExchangeList(dx, kParity, m_nParity);
    ExchangeList(dx, kStopBits, m_nStopBits);
    ExchangeList(dx, kFlow, m_nFlow);
}

void CSerialPortDlg::OnInitDialog() {
    // Values the lists do not offer (a hand-edited profile) show as the defaults.
    const SerialSettings defaults;
    m_nBaud = IndexOf(BaudRates(), m_settings.baudRate);
    if (m_nBaud < 0) m_nBaud = IndexOf(BaudRates(), defaults.baudRate);
    m_nDataBits = (m_settings.dataBits >= 5 && m_settings.dataBits <= 8) ? m_settings.dataBits - 5 : 3;
    m_nParity = IndexOf(std::vector<char>(std::begin(kParities), std::end(kParities)), m_settings.parity);
    if (m_nParity < 0) m_nParity = 0;
    m_nStopBits = m_settings.stopBits == 2 ? 1 : 0;
    m_nFlow = (m_settings.flowControl >= 0 && m_settings.flowControl <= 2) ? m_settings.flowControl : 0;
    CDialogModel::OnInitDialog();
    SetIndex(kDevices, IndexOf(m_devices, m_settings.device));
    SetText(kPath, m_settings.device);
}

void CSerialPortDlg::OnListChanged(int id) {
    if (id != kDevices) return;
    const int i = GetIndex(kDevices);
    if (i >= 0 && i < static_cast<int>(m_devices.size())) SetText(kPath, m_devices[i]);
}

void CSerialPortDlg::OnOK() {
    if (!UpdateData(true)) return;
    std::string path = GetText(kPath);
    const auto notBlank = [](char c) { return c != ' ' && c != '\t'; };
    path.erase(path.begin(), std::find_if(path.begin(), path.end(), notBlank));
    path.erase(std::find_if(path.rbegin(), path.rend(), notBlank).base(), path.end());
    if (path.empty() || path[0] != '/') {
        ShowMessage({"ポートのデバイスを /dev/ttyS0 のような絶対パスで指定してください。", "ｼﾘｱﾙﾎﾟｰﾄ設定",
                     MbIcon::Warning});
        GotoControl(kPath);
        return;
    }
    SerialSettings s;
    s.device = path;
    s.baudRate = BaudRates()[m_nBaud < 0 ? 6 : m_nBaud];
    s.dataBits = (m_nDataBits < 0 ? 3 : m_nDataBits) + 5;
    s.parity = kParities[m_nParity < 0 ? 0 : m_nParity];
    s.stopBits = m_nStopBits == 1 ? 2 : 1;
    s.flowControl = m_nFlow < 0 ? 0 : m_nFlow;
    m_settings = s;
    EndDialog(IDOK);
}

}  // namespace wv
