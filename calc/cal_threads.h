// The solver thread of the main program. A CCalThreads holder builds the request block
// for one run, starts the solver's entry TYDSOLV on a worker thread with it, and keeps
// the thread so that its exit code can be asked for at any later time: 259 while the
// run goes on, then the solver's result (0 completed, 1 cancelled or failed).
//
// The holder owns the three texts its request block points at, so they stay valid for
// exactly as long as the solver can read them, whoever else goes away. The solver keeps
// its run in static storage, so one process runs one calculation at a time: a second
// start while a run is going on is refused, whatever "CALC.DAT" says.
#pragma once

#include "calc/calc_run_files.h"
#include "solver/tydsolv.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace wv {

class CCalThreads {
public:
    // The exit code of a thread that has not ended (Windows' STILL_ACTIVE).
    static constexpr int kStillActive = 259;
    // The solver's calculation entry; tests may give a stand-in.
    using SolverEntry = int32_t (*)(CalcRequest*);
    // The solver's stop request for a program that quits mid-run; tests may give a stand-in.
    using SolverStop = void (*)();

    // Builds the request block: folder (ending in '/'), file title and working folder,
    // direction bins, frequency components, the node count along the march direction and
    // the count across it; mode 0 (interactive). The texts are copied.
    CCalThreads(std::string folder, std::string title, std::string workDir, int nDirDiv,
                int nFreqDiv, int nMeshX, int nMeshY, SolverEntry entry = &TYDSOLV,
                SolverStop stop = &TYDSOLVSTOP);
    // A holder whose run is still going cancels it and waits for the thread to end.
    ~CCalThreads();
    CCalThreads(const CCalThreads&) = delete;
    CCalThreads& operator=(const CCalThreads&) = delete;

    // The claim on the start folder's run that the command took: the run shares its lock
    // and lets it go when the solver has returned (or when the start is refused).
    void HoldClaim(RunClaim claim) { m_claim = std::move(claim); }

    // Starts the run on a worker thread and returns at once: 0. Refused with -1 when a
    // run of this process is still going on, or when this holder has already run.
    int StartCalc();

    // kStillActive while the run goes on (also before StartCalc), then the solver's
    // result; 1 for a start that was refused.
    int GetExitCode() const { return m_exitCode.load(); }
    bool IsRunning() const { return GetExitCode() == kStillActive && m_started; }
    // Waits for the run to end (at once when it has ended or never started).
    void Wait();
    // Asks the running solver to stop after its current column, without the cancel
    // question, and waits for the thread; the run ends as cancelled.
    void CancelAndWait();

    const CalcRequest& GetRequest() const { return m_request; }
    const std::string& GetFolder() const { return m_folder; }
    const std::string& GetTitle() const { return m_title; }
    const std::string& GetWorkDir() const { return m_workDir; }

    // Whether a run of this process is going on; its folder and title when asked.
    static bool IsAnyRunning(std::string* folder = nullptr, std::string* title = nullptr);
    // Whether the run going on is the calculation of <folder><title>.CAL.
    static bool IsRunningFor(const std::string& folder, const std::string& title);

    // Keeps a holder whose owner goes away while its run still goes on (a calculation
    // view closed mid-run) until the run ends; finished holders are dropped on the next
    // call. CancelAndJoinAll cancels and waits for every such run: the program calls it
    // when it quits.
    static void KeepUntilFinished(std::unique_ptr<CCalThreads> holder);
    static void CancelAndJoinAll();

private:
    void Run();

    std::string m_folder;
    std::string m_title;
    std::string m_workDir;
    CalcRequest m_request{};
    SolverEntry m_entry;
    SolverStop m_stop;
    RunClaim m_claim;
    bool m_started = false;
    std::atomic<int> m_exitCode{kStillActive};
    std::thread m_thread;
};

}  // namespace wv
