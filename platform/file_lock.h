// An exclusive advisory lock on a file (flock), shared between processes.
//
// Programs that take turns on one working file (the solver's busy flag "CALC.DAT")
// agree on a lock file beside it. The kernel drops a flock when its holder dies, so a
// crashed program never leaves the others locked out.
#pragma once

#include <string>

namespace wv {

// The lock beside the solver's busy flag "CALC.DAT", in the same folder. A solver run
// holds it from start to end, so a program starting meanwhile leaves the flag alone.
inline constexpr const char kCalcDatLockName[] = "CALC.DAT.lock";

class FileLock {
public:
    // Names the lock file; nothing is opened or locked yet.
    explicit FileLock(std::string path);
    ~FileLock();  // releases the lock when held
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Takes the lock without waiting, creating the lock file when needed. False when
    // another holder has it or the file cannot be opened.
    bool TryLock();
    // Tries for up to `waitMs` milliseconds: a holder that only probes the lock (a
    // reader of the busy flag) lets go again at once.
    bool TryLockFor(int waitMs);
    void Unlock();
    bool IsLocked() const { return m_fd >= 0; }
    const std::string& Path() const { return m_path; }

    // Whether some holder (another process, or another FileLock of this one) has the
    // lock now. A lock file that cannot be opened counts as not held.
    static bool IsHeld(const std::string& path);

private:
    std::string m_path;
    int m_fd = -1;
};

}  // namespace wv
