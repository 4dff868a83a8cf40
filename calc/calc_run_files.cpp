#include "calc/calc_run_files.h"

#include "calc/cal_threads.h"
#include "platform/file_lock.h"
#include "platform/files.h"
#include "platform/text.h"

#include <cctype>
#include <cstddef>

namespace wv {

namespace {

// The running calculation's name as the flag file gives it: no more than the program
// ever read of it.
constexpr std::size_t kMaxTitleBytes = 255;

// How long a reader that found a busy flag without a run waits for the lock: other
// readers hold it only for a moment, a run that has just started holds it to its end.
constexpr int kResetLockWaitMs = 200;

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

struct FlagFile {
    BusyFlag state = BusyFlag::Missing;
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
        flag.state = BusyFlag::Unreadable;
        return flag;
    }
    pos += consumed;
    if (value == 0) {
        flag.state = BusyFlag::Idle;
        return flag;
    }
    while (pos < text.size() && IsSpace(text[pos])) ++pos;
    std::size_t end = pos;
    while (end < text.size() && !IsSpace(text[end]) && end - pos < kMaxTitleBytes) ++end;
    flag.state = BusyFlag::Busy;
    flag.title = Cp932ToUtf8(std::string_view(text).substr(pos, end - pos));
    return flag;
}

// The idle form, as the solver leaves it at the end of a run.
bool WriteIdleFlag(const std::string& path) { return AtomicWriteFile(path, std::string("0\r\n"), nullptr); }

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
    const std::string flagPath = StartFolderFile("CALC.DAT");
    const std::string lockPath = StartFolderFile(kCalcDatLockName);
    FlagFile flag = ReadFlagFile(flagPath);
    if (FileLock::IsHeld(lockPath)) {
        if (runningTitle) *runningTitle = flag.title;
        return BusyFlag::Busy;
    }
    if (flag.state == BusyFlag::Busy) {
        // Busy, and no run holds the lock: the run died before it could write "0" (a
        // kill, a crash), or one is starting this moment. A run takes the lock before it
        // writes its flag and lets go only after "0" is written, so once the lock is ours
        // a flag that still says busy belongs to no run: it is reset as a starting
        // program does, and the next run may go. Without the lock it stays as it is.
        FileLock lock(lockPath);
        if (lock.TryLockFor(kResetLockWaitMs)) {
            flag = ReadFlagFile(flagPath);
            if (flag.state == BusyFlag::Busy && WriteIdleFlag(flagPath)) flag = FlagFile{BusyFlag::Idle, {}};
        }
    }
    if (runningTitle) *runningTitle = flag.title;
    return flag.state;
}

bool ResetCalcDatIfIdle(const std::string& startFolder) {
    std::string folder = startFolder;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    FileLock lock(folder + kCalcDatLockName);
    if (!lock.TryLock()) return false;
    return WriteIdleFlag(folder + "CALC.DAT");
}

}  // namespace wv
