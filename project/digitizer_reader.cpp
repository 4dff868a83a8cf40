#include "project/digitizer_reader.h"

#include "core/line.h"
#include "core/sokuten.h"
#include "core/table_limits.h"
#include "core/tik_inf.h"
#include "platform/ui_service.h"
#include "project/digi_read_set_dlg.h"
#include "project/digitizer_texts.h"

#include <algorithm>
#include <cmath>

namespace wv {

CDigitizerReader::CDigitizerReader(DigitizerHost& host, DigitizerPoster poster)
    : m_host(host),
      m_session(std::move(poster), [this](const std::string& bytes, bool lost) { OnDigitizerData(bytes, lost); }) {}

CDigitizerReader::~CDigitizerReader() {
    m_session.Stop();
    if (m_running) {
        g_digitizerPort.SetDtr(false);
        g_digitizerPort.Purge();
    }
}

void CDigitizerReader::OnDigitizerSetup() {
    if (m_running || m_session.Running()) StopDigitizer();
    CDigiReadSetDlg dlg(m_session.Poster());
    dlg.LoadFrom(g_digiCalib);
    if (m_host.RunReadSetDialog(dlg)) dlg.StoreTo(g_digiCalib);
}

void CDigitizerReader::OnReadPoints() {
    m_host.SetMouseMode(kModePointReading);
    StartDigitizer(kReadPoints);
}

void CDigitizerReader::OnReadLines() {
    m_host.SetMouseMode(kModeLineReading);
    m_nDigiPrevPoint = -1;
    StartDigitizer(kReadLines);
}

void CDigitizerReader::OnPortSettings() { m_host.RunPortSettingsDialog(); }

void CDigitizerReader::StartDigitizer(int mode) {
    m_nDigitizerMode = mode;
    if (m_running) return;
    // No watcher on a port that did not open: the next reading command tries again.
    if (!OpenDigitizerPort() || !m_session.Start()) {
        m_host.SetMouseMode(0);
        return;
    }
    m_framer.Clear();
    m_running = true;
}

void CDigitizerReader::StopDigitizer() {
    const bool wasRunning = m_running || m_session.Running();
    m_running = false;
    m_nDigiPrevPoint = -1;
    m_host.SetMouseMode(0);
    m_session.Stop();
    m_framer.Clear();
    if (wasRunning) {
        g_digitizerPort.SetDtr(false);
        g_digitizerPort.Purge();
    }
}

void CDigitizerReader::OnDigitizerData(const std::string& bytes, bool lost) {
    if (!m_running) return;
    for (const DigitizerRecord& r : m_framer.Feed(bytes)) {
        TakeRecord(r);
        if (!m_running) return;  // a record ended the reading; the rest is dropped
    }
    if (lost) {
        // The points read so far stay; the watcher has ended by itself.
        StopDigitizer();
        Ui().MessageBox(digitizer_text::kConnectionLost, digitizer_text::kCaption, MbButtons::Ok, MbIcon::Error);
    }
}

void CDigitizerReader::TakeRecord(const DigitizerRecord& record) {
    if (record.button == 1) {
        TakePoint(record.x, record.y);
        return;
    }
    if (m_nDigitizerMode == kReadLines && m_nDigiPrevPoint >= 0)
        m_nDigiPrevPoint = -1;
    else
        StopDigitizer();
}

void CDigitizerReader::TakePoint(double tabletX, double tabletY) {
    CPointD p = TabletToWorld(g_digiCalib, tabletX, tabletY);
    int slot = g_surveyPoints.HitTest(p.m_dX, p.m_dY, TabletTolerance(g_digiCalib, g_tikInf.m_dTolTablet));
    // A full table drops the reading whole: no point without the line it was read for.
    const char* full = nullptr;
    if (slot < 0 && !g_surveyPoints.HasRoomFor(1)) full = kSurveyPointsFull;
    else if (m_nDigitizerMode == kReadLines && m_nDigiPrevPoint >= 0 && !g_lines.HasRoomFor(1))
        full = kLinesFull;
    if (full) {
        Ui().MessageBox(TableFullMessage(full), kTableFullCaption, MbButtons::Ok, MbIcon::None);
        return;
    }
    if (slot >= 0) {
        p = g_surveyPoints.GetAt(slot).GetPos();
    } else {
        slot = g_surveyPoints.Add(p.m_dX, p.m_dY, 0);
        m_host.SetDocumentModified();
    }
    if (m_nDigitizerMode == kReadLines) {
        if (m_nDigiPrevPoint < 0) {
            m_nDigiPrevPoint = slot;
            m_ptDigiPrev = p;
            return;
        }
        if (std::hypot(p.m_dX - m_ptDigiPrev.m_dX, p.m_dY - m_ptDigiPrev.m_dY) < 0.001) return;
        if (!g_lines.Exists(std::min(slot, m_nDigiPrevPoint), std::max(slot, m_nDigiPrevPoint))) {
            g_lines.Add(m_ptDigiPrev.m_dX, m_ptDigiPrev.m_dY, p.m_dX, p.m_dY, 0, kHeightFromPoints, 0.0,
                        kLineUndefined, m_nDigiPrevPoint, slot);
            m_host.SetDocumentModified();
        }
        m_nDigiPrevPoint = slot;
        m_ptDigiPrev = p;
    }
    m_host.FitAllAndRedraw();
}

}  // namespace wv
