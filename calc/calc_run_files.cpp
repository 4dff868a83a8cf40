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
    const bool locked = FileLock::IsHeld(StartFolderFile(kCalcDatLockName));
    std::string text;
    if (!ReadWholeFile(StartFolderFile("CALC.DAT"), text, nullptr))
        return locked ? BusyFlag::Busy : BusyFlag::Missing;

    // The flag is read as a formatted integer: blanks and line ends before it are
    // skipped, a sign and digits make it.
    std::size_t pos = 0;
    while (pos < text.size() && IsSpace(text[pos])) ++pos;
    std::size_t consumed = 0;
    const int flag = WinAtoi(std::string_view(text).substr(pos), &consumed);
    if (consumed == 0) return locked ? BusyFlag::Busy : BusyFlag::Unreadable;
    pos += consumed;
    if (flag == 0) return locked ? BusyFlag::Busy : BusyFlag::Idle;

    while (pos < text.size() && IsSpace(text[pos])) ++pos;
    std::size_t end = pos;
    while (end < text.size() && !IsSpace(text[end]) && end - pos < kMaxTitleBytes) ++end;
    if (runningTitle) *runningTitle = Cp932ToUtf8(std::string_view(text).substr(pos, end - pos));
    return BusyFlag::Busy;
}

bool ResetCalcDatIfIdle(const std::string& startFolder) {
    std::string folder = startFolder;
    if (!folder.empty() && folder.back() != '/') folder += '/';
    FileLock lock(folder + kCalcDatLockName);
    if (!lock.TryLock()) return false;
    return AtomicWriteFile(folder + "CALC.DAT", std::string("0\r\n"), nullptr);
}

}  // namespace wv
