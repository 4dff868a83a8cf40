// How the phases of a long computation drive the progress window: step the bar, let the
// window handle its events, and tell the phase whether the user cancelled.
#pragma once

#include "core/calc_progress.h"

namespace wv {

class PhaseProgress {
public:
    explicit PhaseProgress(CCalcProgressDlg& dlg) : m_dlg(dlg) {}

    // Range 0 .. upper, position 0, step 1.
    void SetRange(int upper) {
        m_dlg.SetRange32(0, upper);
        m_dlg.SetPos(0);
        m_dlg.SetStep(1);
    }
    // One unit of work done: the bar steps unless it is full. False when cancelled.
    bool Step() {
        if (m_dlg.GetPos() < m_dlg.GetUpper()) m_dlg.StepIt();
        return Pump();
    }
    // n units at once, as far as they fit in the range. False when cancelled.
    bool Advance(int n) {
        if (static_cast<long long>(m_dlg.GetPos()) + n <= m_dlg.GetUpper()) m_dlg.OffsetPos(n);
        return Pump();
    }
    // n steps in a row, stopping at the first cancel.
    bool Steps(int n) {
        for (int i = 0; i < n; ++i)
            if (!Step()) return false;
        return true;
    }
    bool Pump() {
        m_dlg.PumpMessages();
        return m_dlg.m_bCancel != 1;
    }

    CCalcProgressDlg& Dialog() { return m_dlg; }

private:
    CCalcProgressDlg& m_dlg;
};

}  // namespace wv
