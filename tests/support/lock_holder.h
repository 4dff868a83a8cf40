// Another process that holds a lock while a test looks on: a forked child takes the
// lock, reports, and keeps it until the test lets it go (or the test ends).
#pragma once

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <string>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace wv::testsupport {

class LockHolder {
public:
    // Forks a child that runs `take` (true when it got the lock), reports the result and
    // waits for Release. `take` runs in the child: keep it to system calls where threads
    // may exist in the parent.
    // `end`, when given, runs in the child when it is let go, before its locks go (a
    // run's last words); a killed child never gets to it.
    explicit LockHolder(const std::function<bool()>& take, const std::function<void()>& end = {}) {
        int up[2], down[2];
        if (::pipe(up) != 0 || ::pipe(down) != 0) return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(up[0]);
            ::close(down[1]);
            const char ok = take() ? '1' : '0';
            (void)!::write(up[1], &ok, 1);
            char c;
            (void)!::read(down[0], &c, 1);
            if (end) end();
            ::_exit(0);
        }
        ::close(up[1]);
        ::close(down[0]);
        m_release = down[1];
        char c = '0';
        m_held = m_pid > 0 && ::read(up[0], &c, 1) == 1 && c == '1';
        ::close(up[0]);
    }
    ~LockHolder() { Release(); }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    bool Held() const { return m_held; }
    pid_t Pid() const { return m_pid; }

    // Lets the child end; its locks go with it.
    void Release() {
        if (m_release >= 0) {
            ::close(m_release);
            m_release = -1;
        }
        if (m_pid > 0) {
            int status = 0;
            ::waitpid(m_pid, &status, 0);
            m_pid = -1;
        }
        m_held = false;
    }

    // Ends the child by SIGKILL, as a crash or `kill -9` ends a program: nothing of its
    // own runs any more; the kernel drops its locks.
    void Kill() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            int status = 0;
            ::waitpid(m_pid, &status, 0);
            m_pid = -1;
        }
        Release();
    }

private:
    pid_t m_pid = -1;
    int m_release = -1;
    bool m_held = false;
};

// A child that holds an flock on `path` (the lock primitive's own protocol).
inline std::function<bool()> FlockOn(const std::string& path) {
    return [path] {
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        return fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    };
}

// Writes `bytes` as the whole of `path` with system calls only (for a forked child).
inline bool WriteWithSyscalls(const std::string& path, const std::string& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    const bool ok = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    return ::close(fd) == 0 && ok;
}

// A child that does with the busy flag of `folder` (ending in '/') what a solver run of
// another program does: it takes "CALC.DAT.lock", then marks "CALC.DAT" busy with
// `title`. Give RunEnd as the holder's `end` for a run that ends as runs do.
inline std::function<bool()> RunStarted(const std::string& folder, const std::string& title) {
    return [folder, title] {
        const int fd = ::open((folder + "CALC.DAT.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) return false;
        return WriteWithSyscalls(folder + "CALC.DAT", "1\r\n" + title + "\r\n");
    };
}

// The end of that run: "0" written while the lock is still held.
inline std::function<void()> RunEnd(const std::string& folder) {
    return [folder] { WriteWithSyscalls(folder + "CALC.DAT", "0\r\n"); };
}

}  // namespace wv::testsupport
