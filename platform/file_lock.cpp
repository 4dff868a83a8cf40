#include "platform/file_lock.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace wv {

namespace {

int OpenLockFile(const std::string& path) {
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// 0 locked, 1 held by someone else, -1 failed otherwise.
int TryFlock(int fd) {
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc == 0) return 0;
    return errno == EWOULDBLOCK ? 1 : -1;
}

}  // namespace

FileLock::FileLock(std::string path) : m_path(std::move(path)) {}

FileLock::~FileLock() { Unlock(); }

bool FileLock::TryLock() {
    if (m_fd >= 0) return true;
    const int fd = OpenLockFile(m_path);
    if (fd < 0) return false;
    if (TryFlock(fd) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

bool FileLock::TryLockFor(int waitMs) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        if (TryLock()) return true;
        if (std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void FileLock::Unlock() {
    if (m_fd < 0) return;
    // Closing the only descriptor of the open file releases the flock.
    ::close(m_fd);
    m_fd = -1;
}

bool FileLock::IsHeld(const std::string& path) {
    const int fd = OpenLockFile(path);
    if (fd < 0) return false;
    const bool held = TryFlock(fd) == 1;
    ::close(fd);
    return held;
}

}  // namespace wv
