#include "batch/batch_queue.h"

#include "batch/batch_messages.h"
#include "batch/cal_counts.h"
#include "calc/calc_messages.h"
#include "calc/calc_run_files.h"
#include "platform/files.h"
#include "platform/text.h"
#include "platform/ui_service.h"

#include <filesystem>
#include <utility>

namespace wv {

namespace {

void Message(const std::string& text, const char* caption, MbIcon icon = MbIcon::None) {
    Ui().MessageBox(text, caption, MbButtons::Ok, icon);
}

// Absolute, so that the folder of every entry ends in '/' and names the same place
// whatever the current folder is when the entry runs.
std::string AbsolutePath(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path abs = std::filesystem::absolute(path, ec);
    return ec ? path : abs.lexically_normal().string();
}

// The solver's working folder: the start folder without its closing '/'.
std::string WorkFolder() {
    std::string folder = StartFolder();
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

// Clears the solver-running mark however the call ends.
class SolverRunningScope {
public:
    SolverRunningScope(bool& flag, BatchRowSink& rows) : m_flag(flag), m_rows(rows) {
        m_flag = true;
        m_rows.SolverRunning(true);
    }
    ~SolverRunningScope() {
        m_flag = false;
        m_rows.SolverRunning(false);
    }

private:
    bool& m_flag;
    BatchRowSink& m_rows;
};

}  // namespace

CBatchQueue::CBatchQueue(BatchRowSink& rows, Solver solver) : m_rows(rows), m_solver(std::move(solver)) {}

int CBatchQueue::OnBatchOpen(const std::vector<std::string>& paths) {
    if (m_bSolverRunning) return 0;
    int added = 0;
    std::string refused;
    for (const std::string& given : paths) {
        if (m_nEntryCount >= kMaxEntries) {
            refused += "\n" + given;
            continue;
        }
        const std::string path = AbsolutePath(given);
        DecContents dec;
        std::string err;
        if (!ReadDecFile(path, dec, &err)) {
            Message(err, batchmsg::kOpenDialogTitle, MbIcon::Warning);
            continue;
        }
        BatchEntry& e = m_entries[static_cast<std::size_t>(m_nEntryCount)];
        e.path = path;
        e.state = 0;
        e.p1 = dec.p1;
        e.p2 = dec.p2;
        e.p3 = dec.p3;
        e.p4 = dec.p4;
        e.p5 = dec.p5;
        m_rows.InsertRow(m_nEntryCount, FileTitleOf(path), Cp932ToUtf8(dec.title), batchmsg::kStateWaiting);
        ++m_nEntryCount;
        ++added;
    }
    if (!refused.empty()) Message(batchmsg::kQueueFull + refused, batchmsg::kOpenDialogTitle, MbIcon::Warning);
    return added;
}

void CBatchQueue::OnDelete(int row) {
    if (m_bSolverRunning || row < 0 || row >= m_nEntryCount) return;
    if (row < m_nNextEntry) {
        Message(batchmsg::kCannotDelete, batchmsg::kDeleteCaption);
        return;
    }
    m_rows.DeleteRow(row);
    for (int i = row; i + 1 < kMaxEntries; ++i) m_entries[static_cast<std::size_t>(i)] = m_entries[static_cast<std::size_t>(i) + 1];
    m_entries[kMaxEntries - 1] = BatchEntry();
    --m_nEntryCount;
}

void CBatchQueue::OnDeleteAll() {
    if (m_bSolverRunning) return;
    bool busy = false;
    if (!FlagIsIdle(nullptr, true, &busy)) {
        if (busy) Message(batchmsg::kCannotNow, batchmsg::kCalcCaption);
        return;
    }
    if (m_nEntryCount == 0) return;
    if (Ui().MessageBox(batchmsg::kDeleteAllQuestion, batchmsg::kConfirmCaption, MbButtons::OkCancel,
                        MbIcon::Warning) != IDOK)
        return;
    m_rows.DeleteAllRows();
    // Entries beyond the count are empty, whichever way they were left.
    for (BatchEntry& e : m_entries) e = BatchEntry();
    m_nEntryCount = 0;
    m_nNextEntry = 0;
}

void CBatchQueue::OnBatchStart() {
    if (m_bSolverRunning) return;
    m_nNextEntry = 0;
    const std::string* firstRun = nullptr;
    std::string title;
    for (int i = 0; i < m_nEntryCount && !firstRun; ++i) {
        if (m_entries[static_cast<std::size_t>(i)].state == 0) {
            title = FileTitleOf(m_entries[static_cast<std::size_t>(i)].path);
            firstRun = &title;
        }
    }
    if (FlagIsIdle(firstRun, false, nullptr)) m_bBatchRunning = true;
}

bool CBatchQueue::FlagIsIdle(const std::string* runTitle, bool busyIsSilent, bool* busy) {
    if (busy) *busy = false;
    std::string running, why;
    switch (runTitle ? m_claim.Take(*runTitle, &running, &why) : ReadBusyFlag(&running)) {
        case BusyFlag::Idle: return true;
        case BusyFlag::Missing: Message(batchmsg::kCannotOpenCalcDat, batchmsg::kCalcCaption); return false;
        case BusyFlag::Unwritable:
            Message(std::string(calcmsg::kCalcDatWriteFailed) + "\n(" + why + ")", batchmsg::kCalcCaption);
            return false;
        case BusyFlag::Busy:
            if (busy) *busy = true;
            if (!busyIsSilent)
                Message(std::string(batchmsg::kRunningHead) + running + batchmsg::kRunningTail, batchmsg::kCalcCaption);
            return false;
    }
    return false;
}

// The entry before the next one has run to its end.
void CBatchQueue::FinishPrevious() {
    if (m_nNextEntry > 0 && m_nNextEntry <= m_nEntryCount) m_rows.SetRowState(m_nNextEntry - 1, batchmsg::kStateFinished);
}

void CBatchQueue::SwitchOff() {
    m_bBatchRunning = false;
    m_claim.Release();
}

BatchStep CBatchQueue::RunNextBatchEntry() {
    // Only the solver's own event pumping can call in here while it runs.
    if (m_bSolverRunning) return BatchStep::Refused;
    if (!m_bBatchRunning) return BatchStep::Off;

    if (m_nNextEntry >= m_nEntryCount) {
        if (m_nEntryCount > 0) m_rows.SetRowState(m_nEntryCount - 1, batchmsg::kStateFinished);
        SwitchOff();
        return BatchStep::Off;
    }
    BatchEntry& entry = m_entries[static_cast<std::size_t>(m_nNextEntry)];
    if (entry.state == 1) {
        ++m_nNextEntry;
        return BatchStep::Next;
    }

    // Another program may have started a calculation since the last entry: this one
    // waits for it and is tried again, the batch stays on.
    const std::string folder = FolderOf(entry.path);
    const std::string title = FileTitleOf(entry.path);
    bool busy = false;
    if (!FlagIsIdle(&title, true, &busy)) {
        FinishPrevious();
        if (busy) return BatchStep::Retry;
        SwitchOff();
        return BatchStep::Off;
    }

    // The counts of the calculation as it is now; a .CAL that cannot be read goes to the
    // solver with the queued counts, and the solver's message says what is wrong.
    CalCounts counts{entry.p1, entry.p2, entry.p3, entry.p4};
    ReadCalCounts(folder + title + ".CAL", counts);

    m_reqFolder = folder;
    m_reqTitle = title;
    m_reqWorkDir = WorkFolder();
    m_request = CalcRequest{m_reqFolder.c_str(),  static_cast<int32_t>(m_reqFolder.size()),
                            m_reqTitle.c_str(),   static_cast<int32_t>(m_reqTitle.size()),
                            m_reqWorkDir.c_str(), static_cast<int32_t>(m_reqWorkDir.size()),
                            counts.dirDiv,        counts.freqDiv,
                            counts.meshX,         counts.meshY,
                            1};

    DeleteFileSilently(folder + title + ".KKA");
    m_rows.SetRowState(m_nNextEntry, batchmsg::kStateRunning);
    FinishPrevious();

    // The marker tells the main program that the results of this calculation are new.
    // Without it the batch cannot run the entry: one message, and the batch goes off
    // rather than repeating the message at every step.
    std::string why;
    if (!AtomicWriteFile(folder + title + ".YNO", std::string("2\r\n"), &why)) {
        m_rows.SetRowState(m_nNextEntry, batchmsg::kStateWaiting);
        SwitchOff();
        // The file and the system's reason after the Windows program's text.
        Message(std::string(batchmsg::kYnoFailed) + "\n(" + why + ")", batchmsg::kYnoCaption);
        return BatchStep::Off;
    }

    entry.state = 1;
    const int i = m_nNextEntry;
    ++m_nNextEntry;
    int result = 0;
    {
        SolverRunningScope running(m_bSolverRunning, m_rows);
        result = m_solver(&m_request);
    }
    m_claim.Release();
    if (result == 1) {
        m_rows.SetRowState(i, batchmsg::kStateAborted);
        m_entries[static_cast<std::size_t>(i)].state = 0;
        m_nNextEntry = i;
        SwitchOff();
        return BatchStep::Off;
    }
    return BatchStep::Next;
}

}  // namespace wv
