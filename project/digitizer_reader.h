// The project view's digitizer reading: points, or chains of lines, read off a paper
// drawing into the terrain tables. The view owns one reader and forwards its digitizer
// commands, its right-button reset and its destruction to it; the reader talks back only
// through DigitizerHost. See docs/digitizer.md.
#pragma once

#include "core/point.h"
#include "project/digitizer_calib.h"
#include "project/digitizer_port.h"

#include <memory>

namespace wv {

class CDigiReadSetDlg;

// What the reader needs of the project view.
class DigitizerHost {
public:
    virtual ~DigitizerHost() = default;
    // The view's mouse mode (360 point reading, 370 line reading, 0 none).
    virtual void SetMouseMode(int mode) = 0;
    virtual void SetDocumentModified() = 0;
    // FitAll on the client rectangle: the whole terrain fitted and drawn again.
    virtual void FitAllAndRedraw() = 0;
    // Shows the reading-settings dialog modally; true on OK.
    virtual bool RunReadSetDialog(CDigiReadSetDlg& dlg) = 0;
    // Shows the port-settings dialog; the settings it stores apply at the next open.
    virtual void RunPortSettingsDialog() = 0;
};

class CDigitizerReader {
public:
    static constexpr int kModePointReading = 360;
    static constexpr int kModeLineReading = 370;
    enum { kReadPoints = 1, kReadLines = 2 };

    CDigitizerReader(DigitizerHost& host, DigitizerPoster poster);
    // The view is going: a running reading is stopped without touching the view.
    ~CDigitizerReader();

    // Commands 32788 to 32791.
    void OnDigitizerSetup();
    void OnReadPoints();
    void OnReadLines();
    void OnPortSettings();

    // Opens the port and starts the watcher unless a reading runs; the mode is taken
    // either way, so a second command only switches between points and lines.
    void StartDigitizer(int mode);
    void StopDigitizer();
    // A posted call of the watcher: the bytes that arrived, or the port lost.
    void OnDigitizerData(const std::string& bytes, bool lost);
    // One record, as the reading rules take it (tests and OnDigitizerData).
    void TakeRecord(const DigitizerRecord& record);
    // The view's right-button reset ends a chain; the reading goes on.
    void EndChain() { m_nDigiPrevPoint = -1; }

    bool IsRunning() const { return m_running; }
    int Mode() const { return m_nDigitizerMode; }
    int PrevPoint() const { return m_nDigiPrevPoint; }
    bool WatcherExists() const { return m_session.Running(); }

private:
    void TakePoint(double x, double y);

    DigitizerHost& m_host;
    DigitizerSession m_session;
    DigitizerFramer m_framer;
    bool m_running = false;
    int m_nDigitizerMode = kReadPoints;
    // The chain's previous point, kept here rather than in the view's rubber-band end,
    // which the view's own mouse handling overwrites.
    int m_nDigiPrevPoint = -1;
    CPointD m_ptDigiPrev{0.0, 0.0};
};

}  // namespace wv
