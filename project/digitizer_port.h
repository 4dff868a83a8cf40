// The one digitizer port the project view and the reading-settings dialog share, its
// settings in the user's profile, and the watcher session each window runs on it.
#pragma once

#include "platform/profile.h"
#include "platform/serial_port.h"
#include "platform/serial_watcher.h"

#include <functional>
#include <memory>
#include <string>

namespace wv {

// The port of the tablet (the original's COM1 handle). Opened by OpenDigitizerPort, closed
// only by the next open, as the handle was.
extern SerialPort g_digitizerPort;

// Where the port settings live: section "Digitizer" of the profile the program installs.
// Without one, the defaults.
void SetDigitizerProfile(CProfile* profile);
CProfile* DigitizerProfile();
SerialSettings LoadDigitizerSettings(const CProfile* profile);
void StoreDigitizerSettings(CProfile& profile, const SerialSettings& settings);

// Opens the port from the settings, purges it, raises DTR and sends ":" and "P", the
// tablet's start commands. Returns 1, or 0 after the message (caption "通信エラー").
int OpenDigitizerPort();

// Runs a call on the window's own thread later (Qt: a queued call; tests: their loop).
using DigitizerPoster = std::function<void(std::function<void()>)>;

// One window's reading: its watcher, its inbox and the guard that lets a call posted by the
// watcher find out that the window or the reading is gone. Handle() is what the window runs
// for each posted call; it gets the bytes that arrived and whether the port was lost.
class DigitizerSession {
public:
    using Handler = std::function<void(const std::string& bytes, bool lost)>;

    DigitizerSession(DigitizerPoster poster, Handler handler);
    ~DigitizerSession();

    // Starts the watcher on g_digitizerPort. False when the port is not open.
    bool Start();
    // Stops and joins the watcher when one exists; what it queued is dropped.
    void Stop();
    bool Running() const { return m_watcher.Exists(); }
    const DigitizerPoster& Poster() const { return m_poster; }

private:
    void Deliver(unsigned generation);

    DigitizerPoster m_poster;
    Handler m_handler;
    SerialInbox m_inbox;
    SerialWatcher m_watcher;
    // A posted call carries the generation it belongs to; a stop moves on, so calls
    // queued before it find nothing to do. The token dies with the session.
    unsigned m_generation = 0;
    std::shared_ptr<DigitizerSession*> m_alive;
};

}  // namespace wv
