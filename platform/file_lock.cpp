#include "platform/file_lock.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace wv {

namespace {

// Someone who asks whether the lock is held keeps it for a few system calls. A holder
// waits that long, and a little more for a crowd of them; beyond it the lock counts as
// held, so a start is refused rather than hung.
constexpr std::chrono::milliseconds kAskersWait{500};

// The note an offering holder leaves in the lock file: its process and the descriptor
// that holds the lock there.
constexpr const char kOfferFormat[] = "wavora-run %lld %d\n";

int OpenLockFile(const std::string& path) {
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// 0 locked, otherwise the errno of the refusal.
int Flock(int fd, int how) {
    int rc;
    do {
        rc = ::flock(fd, how | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    return rc == 0 ? 0 : errno;
}

}  // namespace

FileLock::FileLock(std::string path) : m_path(std::move(path)) {}

FileLock::~FileLock() { Unlock(); }

LockTake FileLock::TryTake() {
    if (m_fd >= 0) return LockTake::Taken;
    const int fd = OpenLockFile(m_path);
    if (fd < 0) return LockTake::Unusable;
    const auto until = std::chrono::steady_clock::now() + kAskersWait;
    for (;;) {
        const int refused = Flock(fd, LOCK_EX);
        if (refused == 0) {
            m_fd = fd;
            return LockTake::Taken;
        }
        if (refused != EWOULDBLOCK) break;
        // A shared lock is granted beside askers only: then no holder has it.
        const int shared = Flock(fd, LOCK_SH);
        if (shared != 0) {
            ::close(fd);
            return shared == EWOULDBLOCK ? LockTake::Held : LockTake::Unusable;
        }
        Flock(fd, LOCK_UN);
        if (std::chrono::steady_clock::now() >= until) {
            ::close(fd);
            return LockTake::Held;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    ::close(fd);
    return LockTake::Unusable;
}

void FileLock::Unlock() {
    if (m_fd < 0) return;
    ClearOffer();
    // Closing the last descriptor of the open file releases the flock.
    ::close(m_fd);
    m_fd = -1;
}

bool FileLock::OfferToThisProcess() {
    if (m_fd < 0) return false;
    char note[64];
    const int length = std::snprintf(note, sizeof note, kOfferFormat, static_cast<long long>(::getpid()), m_fd);
    if (length <= 0 || ::ftruncate(m_fd, 0) != 0) return false;
    if (::pwrite(m_fd, note, static_cast<std::size_t>(length), 0) != length) return false;
    m_offered = true;
    return true;
}

void FileLock::ClearOffer() {
    if (!m_offered) return;
    // The note names a descriptor that is about to be closed: whatever gets its number
    // next must not pass for the holder.
    (void)!::ftruncate(m_fd, 0);
    m_offered = false;
}

int FileLock::JoinOffered() const {
    const int fd = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -1;
    char note[64] = {};
    const ssize_t n = ::pread(fd, note, sizeof note - 1, 0);
    struct stat lockFile {};
    const bool statted = ::fstat(fd, &lockFile) == 0;
    ::close(fd);
    long long pid = 0;
    int offered = -1;
    if (n <= 0 || !statted || std::sscanf(note, kOfferFormat, &pid, &offered) != 2) return -1;
    if (pid != static_cast<long long>(::getpid()) || offered < 0) return -1;
    // The descriptor must be this lock file's, and its open file must hold the lock: a
    // second exclusive lock through the same open file is granted, through any other
    // refused while the holder has it.
    struct stat held {};
    if (::fstat(offered, &held) != 0 || held.st_dev != lockFile.st_dev || held.st_ino != lockFile.st_ino) return -1;
    if (Flock(offered, LOCK_EX) != 0) return -1;
    return ::fcntl(offered, F_DUPFD_CLOEXEC, 0);
}

LockTake FileLock::TakeOrJoin() {
    const LockTake taken = TryTake();
    if (taken != LockTake::Held) return taken;
    const int fd = JoinOffered();
    if (fd < 0) return LockTake::Held;
    m_fd = fd;
    return LockTake::Taken;
}

LockState FileLock::Probe(const std::string& path) {
    const int fd = OpenLockFile(path);
    if (fd < 0) return LockState::Unusable;
    const int refused = Flock(fd, LOCK_SH);
    ::close(fd);
    if (refused == 0) return LockState::Free;
    return refused == EWOULDBLOCK ? LockState::Held : LockState::Unusable;
}

}  // namespace wv
