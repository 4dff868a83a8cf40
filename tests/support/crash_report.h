// A test process that dies of a signal says so in the log: the signal and a backtrace of
// the thread it hit go to stderr, then (when gdb is installed) gdb's backtrace of every
// thread, before the default action ends the process (so CTest still sees the crash).
// Only async-signal-safe calls inside the handler.
#pragma once

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <execinfo.h>
#include <initializer_list>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace wv::testsupport {

namespace detail {

// Whether gdb is asked for every thread's stack (WAVORA_CRASH_GDB=0: not).
inline bool& UseGdb() {
    static bool use = true;
    return use;
}

inline void WriteText(const char* s) { (void)!::write(STDERR_FILENO, s, std::strlen(s)); }

inline void WriteNumber(long n) {
    char buf[24];
    int i = sizeof buf;
    const bool negative = n < 0;
    unsigned long u = negative ? 0UL - static_cast<unsigned long>(n) : static_cast<unsigned long>(n);
    do {
        buf[--i] = static_cast<char>('0' + u % 10);
        u /= 10;
    } while (u != 0 && i > 1);
    if (negative) buf[--i] = '-';
    (void)!::write(STDERR_FILENO, buf + i, sizeof buf - static_cast<unsigned>(i));
}

inline void OnFatalSignal(int sig) {
    WriteText("\n*** the test process got signal ");
    WriteNumber(sig);
    WriteText(" (");
    WriteText(sigabbrev_np(sig) ? sigabbrev_np(sig) : "?");
    WriteText(") in thread ");
    WriteNumber(static_cast<long>(::gettid()));
    WriteText("; backtrace:\n");
    void* frames[128];
    const int n = ::backtrace(frames, 128);
    ::backtrace_symbols_fd(frames, n, STDERR_FILENO);
    WriteText("*** end of backtrace\n");
    // With gdb at hand, every thread's stack with function names and lines.
    char pid[24];
    {
        long p = static_cast<long>(::getpid());
        int i = sizeof pid - 1;
        pid[i] = 0;
        do {
            pid[--i] = static_cast<char>('0' + p % 10);
            p /= 10;
        } while (p != 0 && i > 0);
        std::memmove(pid, pid + i, sizeof pid - static_cast<unsigned>(i));
    }
    const pid_t child = UseGdb() ? ::fork() : -1;
    if (child == 0) {
        ::dup2(STDERR_FILENO, STDOUT_FILENO);
        ::execlp("gdb", "gdb", "-batch", "-nx", "-q", "-p", pid, "-ex", "thread apply all bt",
                 static_cast<char*>(nullptr));
        ::_exit(127);
    }
    if (child > 0) {
        ::prctl(PR_SET_PTRACER, child);
        int status = 0;
        ::waitpid(child, &status, 0);
    }
    // The default action, so the process still ends by this signal.
    ::signal(sig, SIG_DFL);
    ::raise(sig);
}

}  // namespace detail

// Installs the report for the signals a fault ends a process with, each where no other
// handler has it: the sanitizer build's runtime takes SEGV, BUS and FPE before main and
// reports them itself, with more detail, so those stay its own. The handler runs on a
// stack of its own (the one already set up, where there is one), so a stack overflow is
// reported too.
inline void InstallCrashReport() {
    const char* gdb = std::getenv("WAVORA_CRASH_GDB");
    detail::UseGdb() = !(gdb && gdb[0] == '0');
    // The sanitizer's runtime unmaps whatever alternate stack it finds when a thread ends,
    // so one already set up (its own) is kept, not replaced.
    stack_t current{};
    if (::sigaltstack(nullptr, &current) != 0 || (current.ss_flags & SS_DISABLE) != 0) {
        static char altStack[1 << 16];
        stack_t ss{};
        ss.ss_sp = altStack;
        ss.ss_size = sizeof altStack;
        ::sigaltstack(&ss, nullptr);
    }
    // backtrace() loads libgcc on first use, which is not safe inside a handler.
    void* warm[1];
    ::backtrace(warm, 1);
    struct sigaction sa {};
    sa.sa_handler = &detail::OnFatalSignal;
    sa.sa_flags = SA_ONSTACK | SA_RESETHAND;
    sigemptyset(&sa.sa_mask);
    for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) {
        struct sigaction old {};
        if (::sigaction(sig, nullptr, &old) == 0 && old.sa_handler != SIG_DFL &&
            old.sa_handler != &detail::OnFatalSignal)
            continue;
        ::sigaction(sig, &sa, nullptr);
    }
}

}  // namespace wv::testsupport
