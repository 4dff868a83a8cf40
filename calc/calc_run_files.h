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
    Idle,        // first value 0
    Busy,        // first value not 0; the running calculation's title comes with it
    Missing,     // the file cannot be opened
    Unreadable,  // the file holds no number where the flag belongs
};

// Whether the calculation of a document is being run now: by this process (its solver
// thread), or by another program according to "CALC.DAT". `title` receives the run's
// title when asked.
bool IsCalcRunGoingOn(const std::string& docPath, std::string* title = nullptr);

// Reads "CALC.DAT" in the start folder. For a busy flag `runningTitle` receives the
// first blank-delimited word of the record after the flag (UTF-8), as far as it goes.
// While a solver run holds "CALC.DAT.lock" the flag is busy whatever the file says: the
// run may be between its start and its first write, or writing the file just now.
// A busy flag that no run holds was left by a run that died: it is reset to idle here
// (under the lock, read again first) and reads idle, so that the next run may go.
BusyFlag ReadBusyFlag(std::string* runningTitle);

// Marks the start folder's "CALC.DAT" idle ("0" CR LF), as a starting program does, but
// only when no solver run holds its lock: a batch run of another program keeps its
// flag. True when the idle flag was written.
bool ResetCalcDatIfIdle(const std::string& startFolder);

}  // namespace wv
