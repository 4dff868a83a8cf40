// The crash report: a process that dies of a fault says which signal and where, and
// still ends by that signal. (Outside an anonymous namespace, so that the backtrace can
// name the test's own frames.)
#include "support/crash_report.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <initializer_list>

[[gnu::noinline]] void DieOf(int sig) {
    // A process in which no other handler has the fault signals: in the sanitizer build its
    // runtime has taken SEGV before main, and the report leaves it there.
    for (int s : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) ::signal(s, SIG_DFL);
    wv::testsupport::InstallCrashReport();
    ::raise(sig);
    std::abort();
}

TEST(CrashReportDeathTest, NamesTheSignalAndTheStack) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    ::setenv("WAVORA_CRASH_GDB", "0", 1);
    EXPECT_EXIT(DieOf(SIGSEGV), ::testing::KilledBySignal(SIGSEGV),
                "got signal 11 \\(SEGV\\).*backtrace:\n.*DieOf.*NamesTheSignalAndTheStack.*end of backtrace");
    EXPECT_EXIT(DieOf(SIGABRT), ::testing::KilledBySignal(SIGABRT), "got signal 6 \\(ABRT\\)");
}

namespace {
void OtherHandler(int) {}
}  // namespace

TEST(CrashReport, LeavesASignalThatAnotherHandlerHas) {
    struct sigaction other {}, before {}, after {};
    other.sa_handler = &OtherHandler;
    sigemptyset(&other.sa_mask);
    ASSERT_EQ(::sigaction(SIGFPE, &other, &before), 0);
    wv::testsupport::InstallCrashReport();
    ::sigaction(SIGFPE, &before, &after);
    EXPECT_EQ(after.sa_handler, &OtherHandler);
}
