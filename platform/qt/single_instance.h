// One running instance per program and user: a lock file named after the program in the
// user's runtime folder, held for the life of the object.
#pragma once

#include <memory>
#include <string>

class QLockFile;

namespace wv {

class SingleInstanceLock {
public:
    SingleInstanceLock();
    ~SingleInstanceLock();  // releases the lock
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // True when this process now holds "<programName>.lock" in $XDG_RUNTIME_DIR (the
    // temporary folder when that is not set). A lock left by a process that has died
    // is taken over; one held by a live process is not, however old it is.
    bool TryLock(const std::string& programName);
    bool IsLocked() const;
    // The lock file's path (empty before TryLock).
    const std::string& Path() const { return m_path; }

    // The folder that holds the lock files.
    static std::string LockFolder();

private:
    std::unique_ptr<QLockFile> m_lock;
    std::string m_path;
};

}  // namespace wv
