#include "platform/process.h"

#include "platform/atomic_file.h"
#include "platform/dialog_texts.h"

#include <cerrno>
#include <cstring>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace wv {

int RunProgramAndWait(const std::string& program, const std::vector<std::string>& args,
                      const std::string& workDir, std::string* err) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    if (argv.empty()) argv.push_back(const_cast<char*>(program.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 29))
    if (!workDir.empty()) posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());
#endif
    // A program named without a folder is the one in the working folder, as the
    // Windows program found its updater there, never one on the search path.
    std::string path = program;
    if (path.find('/') == std::string::npos) path = (workDir.empty() ? std::string(".") : workDir) + "/" + path;
    pid_t pid = -1;
    const int rc = ::posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        if (err) *err = program + ": " + SystemErrorText(rc);
        return -1;
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            if (err) *err = program + ": " + SystemErrorText(errno);
            return -1;
        }
    }
    if (!WIFEXITED(status)) {
        if (err) *err = program + msg::kProgramNoExitCode;
        return -1;
    }
    return WEXITSTATUS(status);
}

}  // namespace wv
