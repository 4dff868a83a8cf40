// CTest runs every test case as its own process, several at once, from one folder per
// test program. Tests write working files ("CALC.DAT", side files, documents), so each
// process moves into a scratch folder of its own first, and removes it when all passed.
// A process that dies of a signal prints the signal and a backtrace first.
#include "support/crash_report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

// In the sanitizer build, leaks that system libraries keep for the life of the process
// (font configuration and the session bus, reached through Qt) are not ours to report.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libdbus-1.so\n";
}

int main(int argc, char** argv) {
    wv::testsupport::InstallCrashReport();
    testing::InitGoogleTest(&argc, argv);
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path base = fs::current_path(ec);
    std::string pattern = (base / "run-XXXXXX").string();
    const char* scratch = ::mkdtemp(pattern.data());
    if (scratch == nullptr || ::chdir(scratch) != 0) {
        std::perror("cannot make a scratch folder for the test");
        return 2;
    }
    const int result = RUN_ALL_TESTS();
    if (result == 0) {
        if (::chdir(base.c_str()) == 0) fs::remove_all(scratch, ec);
    }
    return result;
}
