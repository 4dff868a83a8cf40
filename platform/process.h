// Starting another program and waiting for it (the updater).
#pragma once

#include <string>
#include <vector>

namespace wv {

// Runs `program` with the arguments `args` (args[0] is the name the program sees) in the
// folder `workDir` (empty: the current one) and waits for it. Returns its exit code, or
// -1 with *err set when it could not be started or did not exit normally.
int RunProgramAndWait(const std::string& program, const std::vector<std::string>& args,
                      const std::string& workDir, std::string* err);

}  // namespace wv
