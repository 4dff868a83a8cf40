// The calculate command of the calculation view and what the view keeps of its runs.
//
//   1. the solver input and batch input are written and the document saved
//      (WriteCalcData);
//   2. the user confirms the start;
//   3. "CALC.DAT" must not name a running calculation;
//   4. the previous results are cleared and the state becomes 2;
//   5. the solver starts on a worker thread (CCalThreads) and the command returns; the
//      solver's own window reports the end, and the next command that needs the results
//      loads them (LoadCalcResults).
#pragma once

#include "calc/cal_threads.h"
#include "calc/calc_view_frame.h"

#include <memory>

namespace wv {

class CTydDoc;
class CTydViewData;

// The thread holder of a view's last run. A new run replaces it once its thread has
// ended. When the view goes away while the run still goes on, the holder is kept alive
// until the run ends (CCalThreads::KeepUntilFinished), so the solver never loses its
// request block; the program cancels and joins such runs when it quits.
class CWaveCalcSlot {
public:
    // `entry`: the solver's calculation entry its runs start (tests may give a stand-in).
    explicit CWaveCalcSlot(CCalThreads::SolverEntry entry = &TYDSOLV) : m_entry(entry) {}
    ~CWaveCalcSlot();
    CWaveCalcSlot(const CWaveCalcSlot&) = delete;
    CWaveCalcSlot& operator=(const CWaveCalcSlot&) = delete;

    CCalThreads* Get() const { return m_pCalcThreads.get(); }
    // The exit code of the last run: CCalThreads::kStillActive while it goes on, -1 when
    // there was none.
    int GetExitCode() const { return m_pCalcThreads ? m_pCalcThreads->GetExitCode() : -1; }
    // Waits for the last run to end.
    void Wait() const {
        if (m_pCalcThreads) m_pCalcThreads->Wait();
    }

private:
    friend int OnWaveCalc(CTydDoc&, CTydViewData&, const CalcViewFrame&, CWaveCalcSlot&);
    CCalThreads::SolverEntry m_entry;
    std::unique_ptr<CCalThreads> m_pCalcThreads;
};

// The calculate command. Returns 0 when the solver has been started, -1 when the command
// stopped (refused, or not confirmed). A second run while this process's solver runs is
// refused at once, before any file is touched.
int OnWaveCalc(CTydDoc& doc, CTydViewData& view, const CalcViewFrame& frame, CWaveCalcSlot& slot);

// Makes the results of the document's last run available in the mesh
// (calc/result_loader.h), in the orientation its solver input was written in.
int LoadCalcResults(CTydDoc& doc, CTydViewData& view, const CalcViewFrame& frame);

}  // namespace wv
