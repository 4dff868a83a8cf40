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
    const FlagFile flag = ReadFlagFile(StartFolderFile("CALC.DAT"));
    if (FileLock::IsHeld(StartFolderFile(kCalcDatLockName))) {
        if (runningTitle) *runningTitle = flag.title;
        return BusyFlag::Busy;
    }
    return flag.state == FlagText::Missing ? BusyFlag::Missing : BusyFlag::Idle;
}

BusyFlag ClaimBusyFlagForRun(std::string* runningTitle) {
    if (runningTitle) runningTitle->clear();
    const std::string flagPath = StartFolderFile("CALC.DAT");
    FileLock lock(StartFolderFile(kCalcDatLockName));
    // A run takes the lock before it writes its flag and lets go only after "0" is
    // written, so with the lock ours whatever the file says belongs to no run.
    if (!lock.TryLock()) {
        if (FileLock::IsHeld(lock.Path())) {
            if (runningTitle) *runningTitle = ReadFlagFile(flagPath).title;
            return BusyFlag::Busy;
        }
        // No lock file can be made here: nor can a run's flag, which the run reports.
        return ReadFlagFile(flagPath).state == FlagText::Missing ? BusyFlag::Missing : BusyFlag::Idle;
    }
    const FlagFile flag = ReadFlagFile(flagPath);
    if (flag.state == FlagText::Missing) return BusyFlag::Missing;
    if (flag.state != FlagText::Idle && !WriteIdleFlag(flagPath)) return BusyFlag::Missing;
    return BusyFlag::Idle;
}

bool ResetCalcDatIfIdle(const std::string& startFolder) {
    std::string folder = startFolder;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    FileLock lock(folder + kCalcDatLockName);
    if (!lock.TryLock()) return false;
    return WriteIdleFlag(folder + "CALC.DAT");
}

}  // namespace wv
