#include "calc/cal_threads.h"

#include "platform/gui_wait.h"

#include <chrono>
#include <mutex>
#include <utility>
#include <vector>

namespace wv {

namespace {

// The run of this process, if any: the solver keeps its state in static storage, so
// there is at most one. Folder and title are copies, for the refusal messages.
struct ActiveRun {
    std::mutex mutex;
    const CCalThreads* holder = nullptr;
    std::string folder;
    std::string title;
};

ActiveRun& Active() {
    static ActiveRun run;
    return run;
}

// Holders whose owners went away while their runs went on.
struct Orphans {
    std::mutex mutex;
    std::vector<std::unique_ptr<CCalThreads>> holders;
};

Orphans& OrphanList() {
    static Orphans orphans;
    return orphans;
}

int32_t Length(const std::string& s) { return static_cast<int32_t>(s.size()); }

}  // namespace

CCalThreads::CCalThreads(std::string folder, std::string title, std::string workDir, int nDirDiv,
                         int nFreqDiv, int nMeshX, int nMeshY, SolverEntry entry,
                         SolverStop stop)
    : m_folder(std::move(folder)),
      m_title(std::move(title)),
      m_workDir(std::move(workDir)),
      m_entry(entry),
      m_stop(stop) {
    m_request.m_pszFolder = m_folder.c_str();
    m_request.m_nFolderLen = Length(m_folder);
    m_request.m_pszTitle = m_title.c_str();
    m_request.m_nTitleLen = Length(m_title);
    m_request.m_pszWorkDir = m_workDir.c_str();
    m_request.m_nWorkDirLen = Length(m_workDir);
    m_request.m_nDirDiv = nDirDiv;
    m_request.m_nFreqDiv = nFreqDiv;
    m_request.m_nMeshX = nMeshX;
    m_request.m_nMeshY = nMeshY;
    m_request.m_nMode = 0;
}

CCalThreads::~CCalThreads() {
    // The request block and its texts die with the holder: the solver must be done
    // with them first.
    CancelAndWait();
}

int CCalThreads::StartCalc() {
    if (m_started) return -1;
    ActiveRun& active = Active();
    std::lock_guard<std::mutex> lock(active.mutex);
    if (active.holder != nullptr) {
        m_claim.Release();
        m_exitCode.store(1);
        m_started = true;
        return -1;
    }
    active.holder = this;
    active.folder = m_folder;
    active.title = m_title;
    m_started = true;
    m_thread = std::thread(&CCalThreads::Run, this);
    return 0;
}

void CCalThreads::Run() {
    const int result = m_entry(&m_request);
    m_claim.Release();
    {
        ActiveRun& active = Active();
        std::lock_guard<std::mutex> lock(active.mutex);
        active.holder = nullptr;
        active.folder.clear();
        active.title.clear();
    }
    m_exitCode.store(result);
}

void CCalThreads::Wait() {
    if (!m_thread.joinable()) return;
    // The run's last words (its end message, closing its window) may need this thread.
    WaitPumping([this] { return GetExitCode() != kStillActive; });
    m_thread.join();
}

void CCalThreads::CancelAndWait() {
    if (!m_thread.joinable()) return;
    // A stop asked before the run has started its march is forgotten when it starts, so
    // the request is repeated until the run has ended.
    while (GetExitCode() == kStillActive) {
        if (m_stop) m_stop();
        int looks = 0;
        WaitPumping([&] { return GetExitCode() != kStillActive || ++looks > 20; });
    }
    m_thread.join();
}

bool CCalThreads::IsAnyRunning(std::string* folder, std::string* title) {
    ActiveRun& active = Active();
    std::lock_guard<std::mutex> lock(active.mutex);
    if (active.holder == nullptr) return false;
    if (folder) *folder = active.folder;
    if (title) *title = active.title;
    return true;
}

bool CCalThreads::IsRunningFor(const std::string& folder, const std::string& title) {
    std::string f, t;
    return IsAnyRunning(&f, &t) && f == folder && t == title;
}

void CCalThreads::KeepUntilFinished(std::unique_ptr<CCalThreads> holder) {
    Orphans& orphans = OrphanList();
    std::lock_guard<std::mutex> lock(orphans.mutex);
    std::erase_if(orphans.holders, [](const std::unique_ptr<CCalThreads>& h) {
        return h->GetExitCode() != kStillActive;
    });
    if (holder && holder->IsRunning()) orphans.holders.push_back(std::move(holder));
}

void CCalThreads::CancelAndJoinAll() {
    std::vector<std::unique_ptr<CCalThreads>> holders;
    {
        Orphans& orphans = OrphanList();
        std::lock_guard<std::mutex> lock(orphans.mutex);
        holders.swap(orphans.holders);
    }
    for (auto& h : holders) h->CancelAndWait();
}

}  // namespace wv
