#include "solver/run_sequence.h"

#include "platform/file_lock.h"
#include "platform/files.h"
#include "platform/text.h"
#include "solver/column_results.h"
#include "solver/march.h"
#include "solver/progress_box.h"
#include "solver/result_files.h"
#include "solver/solver_constants.h"
#include "solver/solver_messages.h"
#include "solver/worker_pool.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <system_error>

namespace wv::solv {

namespace {

std::atomic<bool> g_running{false};

class RunGuard {
public:
    RunGuard() : m_owner(!g_running.exchange(true)) {}
    ~RunGuard() {
        if (m_owner) g_running.store(false);
    }
    bool Owner() const { return m_owner; }

private:
    bool m_owner;
};

// A text argument: exactly `length` characters, of which at most the first 513 come
// from the caller's buffer and the rest are blanks. No terminator is looked for.
std::string CopyText(const char* text, int length) {
    if (length < 0) length = 0;
    std::string out;
    const int taken = std::min(length, kMaxTextLength);
    if (text) out.assign(text, static_cast<std::size_t>(taken));
    out.resize(static_cast<std::size_t>(length), ' ');
    return out;
}

// A file of the working folder. An empty folder means the current one.
std::string WorkFile(const std::string& folder, const char* name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

std::atomic<double> g_memoryLimit{0.0};

double PhysicalMemoryBytes() {
    if (const double limit = g_memoryLimit.load(); limit > 0.0) return limit;
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long size = ::sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || size <= 0) return 1e300;
    return static_cast<double>(pages) * static_cast<double>(size);
}

const char* ColumnMessage(ColumnStatus s) {
    switch (s) {
    case ColumnStatus::DispersionLand: return msg::kDispersionLand;
    case ColumnStatus::DispersionFailed: return msg::kDispersionFailed;
    case ColumnStatus::SolverFailed: return msg::kIlucgsFailed;
    case ColumnStatus::NonFinite: return msg::kNonFinite;
    case ColumnStatus::Ok: break;
    }
    return msg::kNonFinite;
}

}  // namespace

namespace {
// Set by TYDSOLVSTOP: the run ends after its current column as a cancelled run, without
// the cancel question. A program that quits while a run is active needs this, since
// the run's progress window and its question go with the program.
std::atomic<bool> g_stopRequested{false};
}  // namespace

void RequestStop() { g_stopRequested.store(true); }

void SetMemoryLimitOverride(double bytes) { g_memoryLimit.store(bytes > 0.0 ? bytes : 0.0); }

void SetUpRun(RunState& s, const RequestDims& dims) {
    s.nd = s.in.nd;
    s.nf = s.in.nf;
    s.nx = s.in.nx;
    s.ny = s.in.ny;
    s.rows = dims.nyp;
    s.dx = s.in.dx;
    s.dy = s.in.dy;
    s.binWidth = kPi / dims.nd;
    s.waveLength0 = 1.56 * s.in.period * s.in.period;
    s.centreRow = s.ny / 2 + 1;  // NY dy / 2 / dy + 1, truncated
    BuildIncidentSpectrum(SpectrumInputOf(s.in), s.spectrum);  // checked with the input
}

namespace {

int RunOwned(const CalcRequest* request);

// The way out of a run that ended by an exception: the message, and the run marked
// idle. Nothing here may throw again, as it runs at the library's C boundary.
int FailRun(const CalcRequest* request, const char* message) noexcept {
    try {
        ShowSolverError(message);
    } catch (...) {
    }
    try {
        const std::string workDir = CopyText(request->m_pszWorkDir, request->m_nWorkDirLen);
        WriteIdleFlag(WorkFile(workDir, "CALC.DAT"));
    } catch (...) {
    }
    return 1;
}

}  // namespace

int RunCalculation(const CalcRequest* request) {
    if (!request) {
        ShowSolverError(msg::kNoRequest);
        return 1;
    }
    RunGuard guard;
    if (!guard.Owner()) {
        ShowSolverError(msg::kAlreadyRunning);
        return 1;
    }
    // The caller is a C program or a thread procedure: an exception that left here would
    // end the process. Whatever throws inside the run ends it as a failed run.
    try {
        return RunOwned(request);
    } catch (const std::bad_alloc&) {
        return FailRun(request, msg::kNoMemory);
    } catch (const std::length_error&) {
        return FailRun(request, msg::kNoMemory);
    } catch (...) {
        return FailRun(request, msg::kUnexpectedFailure);
    }
}

namespace {

int RunOwned(const CalcRequest* request) {
    // A stop meant for an earlier run must not end this one.
    g_stopRequested.store(false);

    const std::string folder = CopyText(request->m_pszFolder, request->m_nFolderLen);
    const std::string title = CopyText(request->m_pszTitle, request->m_nTitleLen);
    const std::string workDir = CopyText(request->m_pszWorkDir, request->m_nWorkDirLen);
    const std::string calPath = folder + title + ".CAL";
    const std::string kkaPath = folder + title + ".KKA";
    const std::string statusPath = WorkFile(workDir, "CALC.DAT");
    const std::string timingPath = WorkFile(workDir, "TIME.TMP");

    // Another program's run in the same working folder owns "CALC.DAT" until it ends. The
    // program that decided on this run may hold the lock already and share it; a folder
    // where nobody can hold the lock leaves the flag alone to say who runs.
    FileLock runLock(WorkFile(workDir, kCalcDatLockName));
    if (runLock.TakeOrJoin() == LockTake::Held) {
        ShowSolverError(msg::kAlreadyRunning);
        return 1;
    }

    RequestDims dims;
    dims.nd = request->m_nDirDiv;
    dims.nf = request->m_nFreqDiv;
    dims.nxp = static_cast<long long>(request->m_nMeshX) + kMeshMargin;
    dims.nyp = static_cast<long long>(request->m_nMeshY) + kMeshMargin;
    const int mode = request->m_nMode;

    // Every way out marks the run idle as its last file operation.
    auto finish = [&](int result) {
        if (std::string why; !WriteIdleFlag(statusPath, &why)) {
            ShowSolverError(std::string(msg::kStatusWriteFailed) + "\n(" + why + ")");
            return 1;
        }
        return result;
    };

    const std::tm start = LocalNow();

    // The work storage the request asks for must fit before the input is read: the
    // input's counts must equal the request's, and its depths and spectrum would
    // otherwise be built for a run that could never be stored.
    int threads = std::max(1, ResolveThreadCount());
    {
        const int nxCap = static_cast<int>(std::min<long long>(dims.nxp, 2147483647LL));
        const int nyCap = static_cast<int>(std::min<long long>(dims.nyp, 2147483647LL));
        if (PlannedBytes(dims.nd, dims.nf, dims.nyp, nxCap, nyCap, true, threads) > PhysicalMemoryBytes()) {
            ShowSolverError(msg::kNoMemory);
            return finish(1);
        }
    }

    // The input is read and checked whole before anything is allocated or written, so
    // a bad file leaves the old result file alone.
    auto st = std::make_unique<RunState>();
    {
        std::string text;
        if (!ReadWholeFile(calPath, text, nullptr)) {
            ShowSolverError(msg::kNoCalFile);
            return finish(1);
        }
        std::string detail;
        if (!ReadCalInput(text, dims, st->in, detail, threads)) {
            ShowSolverError(std::string(msg::kBadCalFile) + "\n\n" + detail);
            return finish(1);
        }
    }
    RunState& s = *st;
    SetUpRun(s, dims);

    // Work storage. A plan beyond the machine's memory is refused at once rather than
    // left to the kernel, which would kill the process while the arrays are cleared.
    std::unique_ptr<WorkerPool> pool;
    try {
        if (PlannedBytes(s.nd, s.nf, s.rows, s.nx, s.ny, s.in.dumpSwitch == 0, threads) > PhysicalMemoryBytes())
            throw std::bad_alloc();
        AllocateMarch(s, threads);
    } catch (const std::bad_alloc&) {
        st.reset();
        ShowSolverError(msg::kNoMemory);
        return finish(1);
    }
    try {
        pool = std::make_unique<WorkerPool>(threads);
    } catch (const std::system_error&) {
        pool = std::make_unique<WorkerPool>(1);
    }

    if (std::string why; !WriteBusyFlag(statusPath, title, &why)) {
        // One message: the idle flag cannot be written there either.
        ShowSolverError(std::string(msg::kStatusWriteFailed) + "\n(" + why + ")");
        WriteIdleFlag(statusPath);
        return 1;
    }
    ResultFile result;
    if (!result.Open(kkaPath)) {
        ShowSolverError(msg::kKkaCreateFailed);
        return finish(1);
    }

    PBContext ctx{};
    // Closes the window on every way out, also when something throws; closing twice is
    // harmless.
    struct WindowCloser {
        PBContext& ctx;
        ~WindowCloser() { CloseProgressBoxSilently(&ctx); }
    } closer{ctx};
    const double memory = MemoryEstimate(dims.nd, dims.nf, dims.nxp, dims.nyp);
    const long long nodes = static_cast<long long>(s.nx) * s.ny;
    if (DisplayProgressBox(&ctx, nullptr, std::string(msg::kCaptionPrefix) + title, memory,
                           static_cast<int>(std::min<long long>(nodes, 2147483647LL)), mode, 1) != 1) {
        ShowSolverError(msg::kDialogFailed);
        result.Close();
        return finish(1);
    }
    // A click before the first column is kept for the first column's check.
    if (SetProgress(&ctx, kProgressBarId, 0) == -2) ctx.m_nCancel = -1;

    // Aborts after the window exists: the message, then the window goes without a word.
    auto abortRun = [&](const char* message) {
        if (message) ShowSolverError(message);
        CloseProgressBoxSilently(&ctx);
        result.Close();
        return finish(1);
    };

    PrepareMarch(s, *pool);
    // A column's records are formatted and written while the next column is computed;
    // they reach the file, or stop the run, before anything of the next column does.
    PendingRecords records([&result](const std::string& text) { return result.Write(text); });
    auto flush = [&]() -> const char* {
        switch (records.Finish(*pool)) {
        case PendingRecords::Outcome::Ok: return nullptr;
        case PendingRecords::Outcome::NonFinite: return msg::kNonFinite;
        case PendingRecords::Outcome::WriteFailed: return msg::kKkaWriteFailed;
        }
        return msg::kKkaWriteFailed;
    };
    for (int i = 1; i <= s.nx; ++i) {
        ColumnStatus status = MarchColumn(s, i, *pool, &records);
        if (const char* m = flush()) return abortRun(m);
        if (status == ColumnStatus::Ok) status = ColumnStatistics(s, i, *pool);
        if (status != ColumnStatus::Ok) return abortRun(ColumnMessage(status));
        records.Take(s, i);

        // A run that ends here ends with every finished column in the file.
        if (g_stopRequested.exchange(false)) {
            if (const char* m = flush()) return abortRun(m);
            CloseProgressBoxSilently(&ctx);
            result.Close();
            return finish(1);
        }
        const int progress = static_cast<int>((100LL * i) / s.nx);
        if (SetProgress(&ctx, kProgressBarId, progress) == -2) {
            if (const char* m = flush()) return abortRun(m);
            if (DestroyProgressBox(&ctx, -1) == 1) {
                result.Close();
                return finish(1);
            }
        }
    }
    if (const char* m = flush()) return abortRun(m);

    std::string text;
    if (s.in.dumpSwitch == 0 && s.nx >= 1) {
        for (int i = 1; i <= s.nx; ++i) {
            text.clear();
            if (!ColumnDump(s, i, text)) return abortRun(msg::kNonFinite);
            if (!result.Write(text)) return abortRun(msg::kKkaWriteFailed);
        }
    }
    if (!result.Close()) return abortRun(msg::kKkaWriteFailed);

    pool.reset();
    st.reset();
    const std::tm end = LocalNow();
    DestroyProgressBox(&ctx, 0);
    if (!WriteTimingFile(timingPath, start, end)) {
        ShowSolverError(msg::kTimeWriteFailed);
        return finish(1);
    }
    return finish(0);
}

}  // namespace

}  // namespace wv::solv
