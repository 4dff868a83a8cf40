#include "platform/file_calls.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace wv {

namespace {

int CreateExclusive(const char* path, mode_t mode) {
    int fd;
    do {
        fd = ::open(path, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

ssize_t Write(int fd, const void* data, std::size_t size) { return ::write(fd, data, size); }
int Fsync(int fd) { return ::fsync(fd); }
int Rename(const char* from, const char* to) { return ::rename(from, to); }
int Unlink(const char* path) { return ::unlink(path); }
// A folder that cannot be opened for reading cannot be synced either, and a file system
// that has no sync for folders keeps its entries as it can: neither is a failed save.
int SyncFolder(const char* folder) {
    int fd;
    do {
        fd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return 0;
    int rc = ::fsync(fd);
    const int e = errno;
    ::close(fd);
    if (rc != 0 && e == EINVAL) rc = 0;
    errno = e;
    return rc;
}
void Closing(int) {}
void Moment(const char*) {}

constexpr FileCalls kSystem{CreateExclusive, Write, Fsync, Rename, Unlink, SyncFolder, Closing, Moment};

std::atomic<const FileCalls*> g_active{&kSystem};

}  // namespace

const FileCalls& SystemFileCalls() { return kSystem; }

const FileCalls& ActiveFileCalls() { return *g_active.load(std::memory_order_acquire); }

void UseFileCalls(const FileCalls* calls) { g_active.store(calls ? calls : &kSystem, std::memory_order_release); }

}  // namespace wv
