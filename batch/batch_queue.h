// The queue of the batch program and its batch run, without a window.
//
// The user opens batch inputs (.DEC); each becomes an entry and a row of the list, with
// its file title, its title and its state. Start switches the batch on; while it is on,
// the program calls RunNextBatchEntry again and again (from a zero-time timer, never a
// busy loop), and each step runs at most one entry through the solver, synchronously.
// The rows are shown through a BatchRowSink; messages go through the UI service.
//
// Between programs the only coordination is the busy flag "CALC.DAT" in the start
// folder (read here, written by the solver) and the batch marker <base>.YNO, which tells
// the main program that the results of that calculation are new.
#pragma once

#include "batch/dec_file.h"
#include "calc/calc_run_files.h"
#include "solver/tydsolv.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace wv {

// One queued calculation. An empty entry holds no path, state 0 and the counts
// 45, 10, 1, 1, 1.
struct BatchEntry {
    std::string path;  // the .DEC as opened, absolute
    int state = 0;     // 0 waiting (or aborted), 1 started
    int p1 = 45;       // direction bins
    int p2 = 10;       // frequency components
    int p3 = 1;        // node count along the march axis
    int p4 = 1;        // node count across it
    int p5 = 1;        // batch flag (not passed on)
};

// What the list shows. Texts are UTF-8.
class BatchRowSink {
public:
    virtual ~BatchRowSink() = default;
    virtual void InsertRow(int row, const std::string& file, const std::string& title,
                           const std::string& state) = 0;
    virtual void SetRowState(int row, const std::string& state) = 0;
    virtual void DeleteRow(int row) = 0;
    virtual void DeleteAllRows() = 0;
    // The solver starts (true) or has returned (false): the commands that change the
    // queue are not available in between.
    virtual void SolverRunning(bool running) {}
};

// Hooks with a default body that the program's batch window (CTydchainWindow) overrides. A
// new hook of this kind goes on this list: tests/app/view_hooks_test.cpp fails for a
// listed hook that the real class does not override, and for a hook on no list.
#define WV_BATCH_ROW_SINK_HOOKS(HOOK) HOOK(SolverRunning)

// What the caller does after a step.
enum class BatchStep {
    Off,      // the batch is off: no further step
    Next,     // step again at once
    Retry,    // the flag shows another calculation: step again after kBusyRetryMs
    Refused,  // called while the solver runs (from inside its event pumping): nothing done
};

class CBatchQueue {
public:
    static constexpr int kMaxEntries = 100;
    static constexpr int kBusyRetryMs = 2000;
    // The solver's calculation entry (TYDSOLV, or a stand-in in tests): 0 completed,
    // 1 aborted or failed.
    using Solver = std::function<int32_t(CalcRequest*)>;

    CBatchQueue(BatchRowSink& rows, Solver solver);
    CBatchQueue(const CBatchQueue&) = delete;
    CBatchQueue& operator=(const CBatchQueue&) = delete;

    // Open: queues each file in the order given. A file that cannot be read or is no
    // batch input is refused with a message naming it; the others go on. Files beyond
    // the 100th are refused with one message. Returns the number of rows added.
    int OnBatchOpen(const std::vector<std::string>& paths);
    // Delete of the row `row` (-1: none selected). Rows already reached by the batch
    // are refused with a message.
    void OnDelete(int row);
    // Delete all, after the busy flag and the user agree.
    void OnDeleteAll();
    // Start: from the first entry, when "CALC.DAT" shows no running calculation. The
    // run of the first waiting entry is claimed here and stays claimed until that
    // entry's step, so another program that starts at the same moment is refused.
    void OnBatchStart();
    // One step of the batch.
    BatchStep RunNextBatchEntry();

    bool IsBatchRunning() const { return m_bBatchRunning; }
    bool IsSolverRunning() const { return m_bSolverRunning; }
    int GetEntryCount() const { return m_nEntryCount; }
    int GetNextEntry() const { return m_nNextEntry; }
    const BatchEntry& GetEntry(int i) const { return m_entries[static_cast<std::size_t>(i)]; }
    // The request block of the last run (its strings stay valid until the next run).
    const CalcRequest& GetLastRequest() const { return m_request; }

private:
    // Reads "CALC.DAT", or where a run of `runTitle` starts claims it; false after a
    // message when it cannot be opened or written or (unless `busyIsSilent`) names a
    // running calculation. `busy` tells the silent case.
    bool FlagIsIdle(const std::string* runTitle, bool busyIsSilent, bool* busy);
    void FinishPrevious();
    void SwitchOff();

    BatchRowSink& m_rows;
    Solver m_solver;
    std::array<BatchEntry, kMaxEntries> m_entries{};
    int m_nEntryCount = 0;
    int m_nNextEntry = 0;
    bool m_bBatchRunning = false;
    bool m_bSolverRunning = false;
    // The start folder's run, from where it is decided on until its solver has returned.
    RunClaim m_claim;
    // The texts the request block points at, kept until the next run.
    std::string m_reqFolder;
    std::string m_reqTitle;
    std::string m_reqWorkDir;
    CalcRequest m_request{};
};

}  // namespace wv
