// The names a solver run goes by and the busy flag it leaves in the start folder.
//
// A run of the calculation <folder><title>.TYD reads <folder><title>.CAL and writes
// <folder><title>.KKA; while it runs, "CALC.DAT" in the start folder holds "1" and the
// title, and "0" otherwise. Every program that starts runs (this one and the batch
// program) reads that flag first.
#pragma once

#include "platform/file_lock.h"

#include <memory>
#include <string>

namespace wv {

struct CalcRunName {
    std::string folder;  // the document's folder, ending in '/' (empty for a bare name)
    std::string title;   // the file name up to its last '.'
};

// Folder and title of the run of a document: the title keeps every dot but the last.
CalcRunName CalcRunNameOf(const std::string& docPath);

enum class BusyFlag {
    Idle,        // no run goes on
    Busy,        // a solver run holds the flag; the running calculation's title comes with it
    Missing,     // the file cannot be opened
    Unwritable,  // where a run starts: the busy flag cannot be written there
};

// Whether the calculation of a document is being run now: by this process (its solver
// thread), or by another program according to "CALC.DAT". `title` receives the run's
// title when asked.
bool IsCalcRunGoingOn(const std::string& docPath, std::string* title = nullptr);

// Reads "CALC.DAT" in the start folder and changes nothing. A run holds "CALC.DAT.lock"
// from where it is decided on until after its idle flag, so while the lock is held the
// flag is busy whatever the file says (the run may be between its start and its first
// write); `runningTitle` then receives the first blank-delimited word of the record
// after the flag (UTF-8), as far as it goes. With no holder no run goes on: a busy,
// empty or unreadable flag was left by a run that died and reads idle. Where the lock
// cannot be used at all (a lock file of another user, a file system without locks) the
// flag's text decides, "1" busy.
BusyFlag ReadBusyFlag(std::string* runningTitle);

// The run of the start folder, decided on where a run starts: the calculate command, the
// batch program's Start and each of its entries. Taking it checks the flag and marks it
// busy under one held lock, and the lock stays held until the claim is released, so two
// programs that start at once never both go. The solver's run of this process shares
// the held lock (FileLock::TakeOrJoin); a run of any other process is refused.
class RunClaim {
public:
    RunClaim();
    ~RunClaim();  // Release()
    RunClaim(RunClaim&&) noexcept;
    RunClaim& operator=(RunClaim&&) noexcept;

    // Idle: the claim is this one's, and "CALC.DAT" says that `title` runs. Busy while
    // another run holds the lock (or, without a usable lock, the flag says so), Missing
    // when the flag file cannot be opened, Unwritable when the busy flag cannot be
    // written (`why`: the file and the system's reason); those change nothing. A flag
    // that no run holds, left by a run that died, is simply written over. On a claim
    // already taken, only the title changes (the batch's next entry).
    BusyFlag Take(const std::string& title, std::string* runningTitle, std::string* why);
    bool IsTaken() const { return m_taken; }
    // Lets go; the flag is written idle first where no run did so (a claim given up
    // before its run, a run that could not write it).
    void Release();

private:
    std::unique_ptr<FileLock> m_lock;  // none where the lock cannot be used
    std::string m_flagPath;
    std::string m_title;
    bool m_taken = false;
};

// Marks the start folder's "CALC.DAT" idle ("0" CR LF), as a starting program does, but
// only when no solver run holds its lock: a batch run of another program keeps its
// flag. True when the idle flag was written.
bool ResetCalcDatIfIdle(const std::string& startFolder);

}  // namespace wv
