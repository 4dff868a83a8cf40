#include "project/digitizer_port.h"

#include "platform/ui_service.h"
#include "project/digitizer_texts.h"

namespace wv {

SerialPort g_digitizerPort;

namespace {
CProfile* g_profile = nullptr;
constexpr const char* kSection = "Digitizer";
}  // namespace

void SetDigitizerProfile(CProfile* profile) { g_profile = profile; }
CProfile* DigitizerProfile() { return g_profile; }

SerialSettings LoadDigitizerSettings(const CProfile* profile) {
    SerialSettings s;
    if (!profile) return s;
    s.device = profile->GetProfileString(kSection, "Port", s.device);
    s.baudRate = profile->GetProfileInt(kSection, "BaudRate", s.baudRate);
    s.dataBits = profile->GetProfileInt(kSection, "DataBits", s.dataBits);
    const std::string parity = profile->GetProfileString(kSection, "Parity", "N");
    s.parity = parity.empty() ? 'N' : parity[0];
    s.stopBits = profile->GetProfileInt(kSection, "StopBits", s.stopBits);
    s.flowControl = profile->GetProfileInt(kSection, "FlowControl", s.flowControl);
    return s;
}

void StoreDigitizerSettings(CProfile& profile, const SerialSettings& s) {
    profile.WriteProfileString(kSection, "Port", s.device);
    profile.WriteProfileInt(kSection, "BaudRate", s.baudRate);
    profile.WriteProfileInt(kSection, "DataBits", s.dataBits);
    profile.WriteProfileString(kSection, "Parity", std::string(1, s.parity));
    profile.WriteProfileInt(kSection, "StopBits", s.stopBits);
    profile.WriteProfileInt(kSection, "FlowControl", s.flowControl);
    profile.Flush();
}

int OpenDigitizerPort() {
    const SerialSettings settings = LoadDigitizerSettings(g_profile);
    switch (g_digitizerPort.Open(settings)) {
    case SerialOpenResult::OpenFailed:
        Ui().MessageBox(digitizer_text::kOpenError, digitizer_text::kCaption, MbButtons::Ok, MbIcon::Error);
        return 0;
    case SerialOpenResult::ConfigFailed:
        Ui().MessageBox(digitizer_text::kConfigError, digitizer_text::kCaption, MbButtons::Ok, MbIcon::Error);
        return 0;
    case SerialOpenResult::Ok:
        break;
    }
    // Two writes, as the tablet was always sent them; each within the original time-out.
    if (!g_digitizerPort.Write(":", SerialPort::WriteTimeoutMs(1)) ||
        !g_digitizerPort.Write("P", SerialPort::WriteTimeoutMs(1))) {
        Ui().MessageBox(digitizer_text::kOpenError, digitizer_text::kCaption, MbButtons::Ok, MbIcon::Error);
        return 0;
    }
    return 1;
}

DigitizerSession::DigitizerSession(DigitizerPoster poster, Handler handler)
    : m_poster(std::move(poster)), m_handler(std::move(handler)),
      m_alive(std::make_shared<DigitizerSession*>(this)) {}

DigitizerSession::~DigitizerSession() {
    Stop();
    *m_alive = nullptr;
}

bool DigitizerSession::Start() {
    Stop();
    m_inbox.Clear();
    std::weak_ptr<DigitizerSession*> alive = m_alive;
    const unsigned generation = m_generation;
    DigitizerPoster poster = m_poster;
    // Runs on the watcher thread: it only queues; the queued call checks that the session
    // and this reading still exist before it touches anything.
    return m_watcher.Start(g_digitizerPort, m_inbox, [alive, generation, poster] {
        poster([alive, generation] {
            if (auto token = alive.lock(); token && *token) (*token)->Deliver(generation);
        });
    });
}

void DigitizerSession::Stop() {
    if (!m_watcher.Exists()) return;
    m_watcher.Stop();
    ++m_generation;
    m_inbox.Clear();
}

void DigitizerSession::Deliver(unsigned generation) {
    if (generation != m_generation) return;
    std::string bytes;
    bool lost = false;
    m_inbox.Take(bytes, lost);
    if (bytes.empty() && !lost) return;
    m_handler(bytes, lost);
}

}  // namespace wv
