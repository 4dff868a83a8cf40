// Every GUI test process gets an X server of its own: an Xvfb started when the tests
// begin and stopped when they end, so tests that run at the same time never share a
// display (a popup's grab or a window's activation would reach into the other test).
// A watchdog ends a test that hangs (a modal window nobody answers) with SIGABRT, so
// the log shows where it was stuck.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <fcntl.h>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <pthread.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

class XvfbEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        // WAVORA_GUI_DISPLAY=:0 runs the suite on that display instead (to watch it).
        if (const char* given = std::getenv("WAVORA_GUI_DISPLAY"); given && *given) {
            ::setenv("DISPLAY", given, 1);
        } else {
            StartServer();
        }
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
        // No desktop theme: Qt's own dialogs and the Fusion look everywhere.
        ::unsetenv("QT_QPA_PLATFORMTHEME");
        ::setenv("QT_STYLE_OVERRIDE", "Fusion", 1);
    }
    void TearDown() override {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            int status = 0;
            ::waitpid(m_pid, &status, 0);
            m_pid = -1;
        }
    }

private:
    void StartServer() {
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        m_pid = ::fork();
        ASSERT_GE(m_pid, 0);
        if (m_pid == 0) {
            // The server goes with the test process, also when that crashes.
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            ::close(fds[0]);
            // Its chatter (display numbers tried while others are taken) goes to a file.
            const int log = ::open("xvfb.log", O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            if (log >= 0) ::dup2(log, STDERR_FILENO);
            const std::string fd = std::to_string(fds[1]);
            // WAVORA_GUI_SCREEN=WxHxD: a screen of another size (a test program's own).
            const char* size = std::getenv("WAVORA_GUI_SCREEN");
            if (!size || !*size) size = "1280x1024x24";
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", size, "-nolisten", "tcp",
                     "-noreset", static_cast<char*>(nullptr));
            std::perror("Xvfb");
            ::_exit(127);
        }
        ::close(fds[1]);
        std::string number;
        char c = 0;
        while (::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        ::close(fds[0]);
        if (number.empty()) {
            std::string log;
            if (FILE* f = std::fopen("xvfb.log", "r")) {
                char buf[512];
                while (std::fgets(buf, sizeof buf, f)) log += buf;
                std::fclose(f);
            }
            FAIL() << "Xvfb did not start (scripts/install-deps.sh installs it, package xvfb):\n" << log;
        }
        ::setenv("DISPLAY", (":" + number).c_str(), 1);
    }

    pid_t m_pid = -1;
};

// Ends a test that runs longer than WAVORA_GUI_WATCHDOG seconds (default 240): the main
// thread gets SIGABRT, whose report shows its backtrace.
class Watchdog : public ::testing::EmptyTestEventListener {
public:
    Watchdog() : m_main(::pthread_self()) {
        const char* s = std::getenv("WAVORA_GUI_WATCHDOG");
        m_limit = std::chrono::seconds(s && std::atoi(s) > 0 ? std::atoi(s) : 240);
        m_thread = std::thread([this] { Run(); });
    }
    ~Watchdog() override {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_quit = true;
        }
        m_cv.notify_all();
        m_thread.join();
    }
    void OnTestStart(const ::testing::TestInfo& info) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_name = std::string(info.test_suite_name()) + "." + info.name();
        m_deadline = std::chrono::steady_clock::now() + m_limit;
        m_running = true;
        m_cv.notify_all();
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_running = false;
    }

private:
    void Run() {
        std::unique_lock<std::mutex> lock(m_mutex);
        while (!m_quit) {
            if (!m_running) {
                m_cv.wait(lock);
                continue;
            }
            if (m_cv.wait_until(lock, m_deadline) == std::cv_status::timeout && m_running && !m_quit &&
                std::chrono::steady_clock::now() >= m_deadline) {
                std::fprintf(stderr, "\n*** %s is still running after %lld s: stopped by the watchdog\n",
                             m_name.c_str(), static_cast<long long>(m_limit.count()));
                std::fflush(stderr);
                ::pthread_kill(m_main, SIGABRT);
                return;
            }
        }
    }

    pthread_t m_main;
    std::chrono::seconds m_limit{240};
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::chrono::steady_clock::time_point m_deadline{};
    std::string m_name;
    bool m_running = false;
    bool m_quit = false;
};

struct Registration {
    Registration() {
        ::testing::AddGlobalTestEnvironment(new XvfbEnvironment);
        ::testing::UnitTest::GetInstance()->listeners().Append(new Watchdog);
    }
} g_registration;

}  // namespace
