// The two forms of the busy flag "CALC.DAT" that tells the programs of one start folder
// whether a solver run goes on: "1" and the running calculation's title (CP932), or "0".
// The solver writes them, and so does a program where it decides on a run, under the
// flag's lock.
#pragma once

#include <string>

namespace wv {

// `err` receives the file and the system's reason when the file cannot be written.
bool WriteBusyFlag(const std::string& path, const std::string& titleUtf8, std::string* err = nullptr);
bool WriteIdleFlag(const std::string& path, std::string* err = nullptr);

}  // namespace wv
