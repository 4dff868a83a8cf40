// The names a solver run goes by and the busy flag it leaves in the start folder.
//
// A run of the calculation <folder><title>.TYD reads <folder><title>.CAL and writes
// <folder><title>.KKA; while it runs, "CALC.DAT" in the start folder holds "1" and the
// title, and "0" otherwise. Every program that starts runs (this one and the batch
// program) reads that flag first.
#pragma once

#include <string>

namespace wv {

struct CalcRunName {
    std::string folder;  // the document's folder, ending in '/' (empty for a bare name)
    std::string title;   // the file name up to its last '.'
};

// Folder and title of the run of a document: the title keeps every dot but the last.
CalcRunName CalcRunNameOf(const std::string& docPath);

enum class BusyFlag {
    Idle,     // no run goes on
    Busy,     // a solver run holds the flag; the running calculation's title comes with it
    Missing,  // the file cannot be opened (or, where a run starts, not written idle)
};

// Whether the calculation of a document is being run now: by this process (its solver
// thread), or by another program according to "CALC.DAT". `title` receives the run's
// title when asked.
bool IsCalcRunGoingOn(const std::string& docPath, std::string* title = nullptr);

// Reads "CALC.DAT" in the start folder and changes nothing. A solver run holds
// "CALC.DAT.lock" from before it writes its busy flag until after its idle one, so while
// the lock is held the flag is busy whatever the file says (the run may be between its
// start and its first write, or writing the file just now); `runningTitle` then
// receives the first blank-delimited word of the record after the flag (UTF-8), as far
// as it goes. With no holder no run goes on: a busy, empty or unreadable flag was left by
// a run that died, reads idle, and is written idle where the next run starts.
BusyFlag ReadBusyFlag(std::string* runningTitle);

// Where a run starts (the calculate command, the batch program's Start and each of its
// entries): under the lock, a flag that is not idle and that no run holds, busy, empty
// or unreadable, was left by a run that died and is written idle before the run goes on.
// Busy while another run holds the lock. Missing when the file cannot be opened, or the
// idle flag cannot be written in its place (no run could write its own there either).
BusyFlag ClaimBusyFlagForRun(std::string* runningTitle);

// Marks the start folder's "CALC.DAT" idle ("0" CR LF), as a starting program does, but
// only when no solver run holds its lock: a batch run of another program keeps its
// flag. True when the idle flag was written.
bool ResetCalcDatIfIdle(const std::string& startFolder);

}  // namespace wv
