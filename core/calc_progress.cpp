#include "core/calc_progress.h"

#include "core/messages.h"
#include "platform/ui_service.h"

#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <climits>
#include <iostream>
#include <mutex>

namespace wv {

// ---- CCalcProgressDlg ----------------------------------------------------------------

namespace {
std::atomic<int> g_openWindows{0};
}  // namespace

CCalcProgressDlg::CCalcProgressDlg() : m_caption(msg::kProgressCaption) { ++g_openWindows; }

CCalcProgressDlg::~CCalcProgressDlg() {
    if (m_open) --g_openWindows;
}

int CCalcProgressDlg::OpenWindowCount() { return g_openWindows.load(); }

void CCalcProgressDlg::SetWindowText(const std::string& caption) {
    m_caption = caption;
    OnCaptionChanged();
}

void CCalcProgressDlg::SetText(const std::string& text) {
    m_text = text;
    OnTextChanged();
}

int CCalcProgressDlg::Clamp(int pos) const {
    const int lo = std::min(m_lower, m_upper);
    const int hi = std::max(m_lower, m_upper);
    return std::clamp(pos, lo, hi);
}

void CCalcProgressDlg::SetRange32(int lower, int upper) {
    m_lower = lower;
    m_upper = upper;
    m_pos = Clamp(m_pos);
    OnBarChanged();
}

int CCalcProgressDlg::SetPos(int pos) {
    const int old = m_pos;
    m_pos = Clamp(pos);
    OnBarChanged();
    return old;
}

int CCalcProgressDlg::SetStep(int step) {
    const int old = m_step;
    m_step = step;
    return old;
}

int CCalcProgressDlg::StepIt() { return OffsetPos(m_step); }

int CCalcProgressDlg::OffsetPos(int delta) {
    const long long target = static_cast<long long>(m_pos) + delta;
    return SetPos(static_cast<int>(std::clamp<long long>(target, INT_MIN, INT_MAX)));
}

int CCalcProgressDlg::Percent() const {
    const long long span = static_cast<long long>(m_upper) - m_lower;
    if (span == 0) return 100;
    const long long done = static_cast<long long>(m_pos) - m_lower;
    return static_cast<int>(std::clamp<long long>(done * 100 / span, 0, 100));
}

void CCalcProgressDlg::OnCancel() {
    if (Ui().MessageBox(msg::kProgressCancelQuestion, msg::kProgressCancelCaption, MbButtons::OkCancel,
                        MbIcon::None) == IDOK)
        m_bCancel = 1;
}

void CCalcProgressDlg::DestroyWindow() {
    if (!m_open) return;
    m_open = false;
    --g_openWindows;
    OnClose();
}

// ---- headless ------------------------------------------------------------------------

CHeadlessCalcProgressDlg::CHeadlessCalcProgressDlg()
    : m_out(std::cerr), m_redrawInPlace(::isatty(STDERR_FILENO) != 0) {}

CHeadlessCalcProgressDlg::CHeadlessCalcProgressDlg(std::ostream& out, bool redrawInPlace)
    : m_out(out), m_redrawInPlace(redrawInPlace) {}

CHeadlessCalcProgressDlg::~CHeadlessCalcProgressDlg() { DestroyWindow(); }

void CHeadlessCalcProgressDlg::Draw(bool force) {
    if (!IsWindowOpen()) return;
    const int percent = Percent();
    if (!force && percent == m_lastPercent) return;
    if (!force && !m_redrawInPlace && m_lastPercent >= 0 && percent / 10 == m_lastPercent / 10) return;
    m_lastPercent = percent;
    constexpr int kWidth = 40;
    const int filled = percent * kWidth / 100;
    std::string bar(filled, '#');
    bar.append(kWidth - filled, '-');
    if (m_redrawInPlace) m_out << '\r';
    else if (m_drawn) m_out << '\n';
    m_out << GetWindowText();
    if (!GetText().empty()) m_out << ' ' << GetText();
    m_out << " [" << bar << "] " << (percent < 10 ? "  " : percent < 100 ? " " : "") << percent << '%'
          << std::flush;
    m_drawn = true;
}

void CHeadlessCalcProgressDlg::OnClose() {
    if (m_drawn) m_out << '\n' << std::flush;
}

// ---- test ----------------------------------------------------------------------------

void CTestCalcProgressDlg::PumpMessages() {
    ++m_pumps;
    if (m_pumps == m_cancelAtPump) OnCancel();
}

// ---- factory -------------------------------------------------------------------------

namespace {

std::mutex g_factoryMutex;
CalcProgressFactory g_factory;

}  // namespace

std::unique_ptr<CCalcProgressDlg> CreateCalcProgressDlg() {
    CalcProgressFactory f;
    {
        std::lock_guard<std::mutex> lock(g_factoryMutex);
        f = g_factory;
    }
    if (f) return f();
    return std::make_unique<CHeadlessCalcProgressDlg>();
}

void SetCalcProgressFactory(CalcProgressFactory factory) {
    std::lock_guard<std::mutex> lock(g_factoryMutex);
    g_factory = std::move(factory);
}

}  // namespace wv
