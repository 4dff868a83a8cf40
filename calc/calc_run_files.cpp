#include "calc/calc_run_files.h"

#include "calc/cal_threads.h"
#include "platform/atomic_file.h"
#include "platform/busy_flag.h"
#include "platform/file_lock.h"
#include "platform/files.h"
#include "platform/text.h"

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <thread>

namespace wv {

namespace {

// The running calculation's name as the flag file gives it: no more than the program
// ever read of it.
constexpr std::size_t kMaxTitleBytes = 255;

// How long a refused start waits for the holder of the lock to name its run.
constexpr std::chrono::milliseconds kHolderTitleWait{500};

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// What the file says, before the lock is asked.
enum class FlagText { Idle, Busy, Unreadable, Missing };

struct FlagFile {
    FlagText state = FlagText::Missing;
    std::string title;  // of a busy flag, UTF-8
};

FlagFile ReadFlagFile(const std::string& path) {
    FlagFile flag;
    std::string text;
    if (!ReadWholeFile(path, text, nullptr)) return flag;

    // The flag is read as a formatted integer: blanks and line ends before it are
    // skipped, a sign and digits make it.
    std::size_t pos = 0;
    while (pos < text.size() && IsSpace(text[pos])) ++pos;
    std::size_t consumed = 0;
    const int value = WinAtoi(std::string_view(text).substr(pos), &consumed);
    if (consumed == 0) {
        flag.state = FlagText::Unreadable;
        return flag;
    }
    pos += consumed;
    if (value == 0) {
        flag.state = FlagText::Idle;
        return flag;
    }
    while (pos < text.size() && IsSpace(text[pos])) ++pos;
    std::size_t end = pos;
    while (end < text.size() && !IsSpace(text[end]) && end - pos < kMaxTitleBytes) ++end;
    flag.state = FlagText::Busy;
    flag.title = Cp932ToUtf8(std::string_view(text).substr(pos, end - pos));
    return flag;
}

}  // namespace

CalcRunName CalcRunNameOf(const std::string& docPath) {
    CalcRunName name;
    name.folder = FolderOf(docPath);
    name.title = FileTitleOf(docPath);
    return name;
}

bool IsCalcRunGoingOn(const std::string& docPath, std::string* title) {
    const CalcRunName name = CalcRunNameOf(docPath);
    if (title) *title = name.title;
    if (CCalThreads::IsRunningFor(name.folder, name.title)) return true;
    // The flag names the run by the first word of its title, so a title with a blank is
    // matched by that word: refusing to load another document's results while it runs
    // is safer than loading a result file that is still being written.
    std::string running;
    const std::string firstWord = name.title.substr(0, name.title.find_first_of(" \t"));
    return ReadBusyFlag(&running) == BusyFlag::Busy && running == firstWord;
}

BusyFlag ReadBusyFlag(std::string* runningTitle) {
    if (runningTitle) runningTitle->clear();
    const FlagFile flag = ReadFlagFile(StartFolderFile("CALC.DAT"));
    switch (FileLock::Probe(StartFolderFile(kCalcDatLockName))) {
        case LockState::Held:
            if (runningTitle) *runningTitle = flag.title;
            return BusyFlag::Busy;
        case LockState::Free: break;
        case LockState::Unusable:
            // Nobody can hold the lock here, so no flag is known to be left over: it
            // says what it says.
            if (flag.state == FlagText::Busy) {
                if (runningTitle) *runningTitle = flag.title;
                return BusyFlag::Busy;
            }
            break;
    }
    return flag.state == FlagText::Missing ? BusyFlag::Missing : BusyFlag::Idle;
}

RunClaim::RunClaim() = default;

RunClaim::~RunClaim() { Release(); }

RunClaim::RunClaim(RunClaim&& other) noexcept
    : m_lock(std::move(other.m_lock)),
      m_flagPath(std::move(other.m_flagPath)),
      m_title(std::move(other.m_title)),
      m_taken(other.m_taken) {
    other.m_taken = false;
}

RunClaim& RunClaim::operator=(RunClaim&& other) noexcept {
    if (this != &other) {
        Release();
        m_lock = std::move(other.m_lock);
        m_flagPath = std::move(other.m_flagPath);
        m_title = std::move(other.m_title);
        m_taken = other.m_taken;
        other.m_taken = false;
    }
    return *this;
}

BusyFlag RunClaim::Take(const std::string& title, std::string* runningTitle, std::string* why) {
    if (runningTitle) runningTitle->clear();
    if (why) why->clear();
    if (m_taken) {
        if (title == m_title) return BusyFlag::Idle;
        if (WriteBusyFlag(m_flagPath, title, why)) {
            m_title = title;
            return BusyFlag::Idle;
        }
        Release();
        return BusyFlag::Unwritable;
    }
    const std::string flagPath = StartFolderFile("CALC.DAT");
    auto lock = std::make_unique<FileLock>(StartFolderFile(kCalcDatLockName));
    // A holder that has just taken the lock writes its busy flag a moment later, and one
    // that resets a flag lets go a moment later: the refusal waits a little for the
    // running calculation's title, or for the lock.
    const auto until = std::chrono::steady_clock::now() + kHolderTitleWait;
    LockTake taken;
    FlagFile flag;
    for (;;) {
        taken = lock->TryTake();
        flag = ReadFlagFile(flagPath);
        if (taken != LockTake::Held || flag.state == FlagText::Busy || std::chrono::steady_clock::now() >= until) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (taken == LockTake::Held || (taken == LockTake::Unusable && flag.state == FlagText::Busy)) {
        if (runningTitle) *runningTitle = flag.title;
        return BusyFlag::Busy;
    }
    if (flag.state == FlagText::Missing) return BusyFlag::Missing;
    if (taken == LockTake::Unusable) {
        // The flag alone then keeps the programs apart, as it did before there was a lock.
        lock.reset();
    } else if (!lock->OfferToThisProcess()) {
        // This process's own run could not share the lock and would refuse itself.
        if (why) *why = lock->Path() + ": " + SystemErrorText(errno);
        return BusyFlag::Unwritable;
    }
    // With the lock ours, whatever the flag said belongs to no run: it is written over.
    if (!WriteBusyFlag(flagPath, title, why)) return BusyFlag::Unwritable;
    m_lock = std::move(lock);
    m_flagPath = flagPath;
    m_title = title;
    m_taken = true;
    return BusyFlag::Idle;
}

void RunClaim::Release() {
    if (!m_taken) return;
    m_taken = false;
    if (ReadFlagFile(m_flagPath).state != FlagText::Idle) WriteIdleFlag(m_flagPath);
    m_lock.reset();
}

bool ResetCalcDatIfIdle(const std::string& startFolder) {
    std::string folder = startFolder;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    FileLock lock(folder + kCalcDatLockName);
    if (!lock.TryLock()) return false;
    return WriteIdleFlag(folder + "CALC.DAT");
}

}  // namespace wv
