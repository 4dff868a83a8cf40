// A tablet on a pseudo-terminal: the test holds the master side and plays the device; the
// program opens the slave by the path in its settings. A small event loop stands in for the
// window's thread: the watcher posts into it and the test runs what was posted.
#pragma once

#include "platform/profile.h"
#include "platform/ui_service.h"
#include "project/digitizer_port.h"
#include "project/digitizer_reader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

namespace wv::test {

class PtyTablet {
public:
    PtyTablet() {
        int slave = -1;
        if (::openpty(&m_master, &slave, nullptr, nullptr, nullptr) != 0) return;
        m_path = ::ttyname(slave);
        // The program opens the slave by its path; a pty lives while its master is open.
        ::close(slave);
        ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    }
    ~PtyTablet() { CloseMaster(); }
    bool Ok() const { return m_master >= 0 && !m_path.empty(); }
    const std::string& Path() const { return m_path; }

    void Send(const std::string& bytes) {
        ASSERT_EQ(::write(m_master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    // What the program wrote, waiting up to `waitMs` for the first byte and then until
    // nothing more comes for a moment.
    std::string Received(int waitMs = 500) {
        std::string out;
        pollfd p{m_master, POLLIN, 0};
        int timeout = waitMs;
        while (::poll(&p, 1, timeout) > 0 && (p.revents & POLLIN)) {
            char buf[256];
            const ssize_t n = ::read(m_master, buf, sizeof buf);
            if (n <= 0) break;
            out.append(buf, static_cast<std::size_t>(n));
            timeout = 50;
        }
        return out;
    }
    void CloseMaster() {
        if (m_master >= 0) ::close(m_master);
        m_master = -1;
    }

private:
    int m_master = -1;
    std::string m_path;
};

// The window's thread, as far as the tests need one.
class TestLoop {
public:
    DigitizerPoster Poster() {
        return [this](std::function<void()> fn) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_calls.push_back(std::move(fn));
            m_cv.notify_all();
        };
    }
    // Runs posted calls until `done` holds; false when it still does not after 5 s (a
    // failure, never a speed limit: the calls normally come within a few hundred ms).
    bool RunUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!done()) {
            std::function<void()> fn;
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                if (!m_cv.wait_until(lock, deadline, [&] { return !m_calls.empty(); })) return done();
                fn = std::move(m_calls.front());
                m_calls.pop_front();
            }
            fn();
        }
        return true;
    }
    // Runs whatever arrives within `ms` (for checks that nothing happens).
    void RunFor(int ms) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        for (;;) {
            std::function<void()> fn;
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                if (!m_cv.wait_until(lock, deadline, [&] { return !m_calls.empty(); })) return;
                fn = std::move(m_calls.front());
                m_calls.pop_front();
            }
            fn();
        }
    }
    // Waits until the watcher has posted something, without running it.
    bool WaitPosted() {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_cv.wait_for(lock, std::chrono::seconds(5), [&] { return !m_calls.empty(); });
    }
    std::size_t Pending() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_calls.size();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<std::function<void()>> m_calls;
};

// The project view as the reader sees it.
class ViewDouble : public DigitizerHost {
public:
    void SetMouseMode(int mode) override { this->mode = mode; }
    void SetDocumentModified() override { ++modified; }
    void FitAllAndRedraw() override { ++redraws; }
    bool RunReadSetDialog(CDigiReadSetDlg& dlg) override {
        ++dialogs;
        return runDialog ? runDialog(dlg) : false;
    }
    void RunPortSettingsDialog() override { ++portDialogs; }

    int mode = 0;
    int modified = 0;
    int redraws = 0;
    int dialogs = 0;
    int portDialogs = 0;
    std::function<bool(CDigiReadSetDlg&)> runDialog;
};

}  // namespace wv::test
