// An advisory lock on a file (flock), shared between processes.
//
// Programs that take turns on one working file (the solver's busy flag "CALC.DAT")
// agree on a lock file beside it. The kernel drops a flock when its holder dies, so a
// crashed program never leaves the others locked out.
//
// A holder takes the lock exclusively; someone who only wants to know whether a holder
// is there asks with a shared lock for a moment, so that two who ask at once never see
// each other as a holder.
#pragma once

#include <string>

namespace wv {

// The lock beside the solver's busy flag "CALC.DAT", in the same folder. A solver run
// holds it from start to end, so a program starting meanwhile leaves the flag alone.
inline constexpr const char kCalcDatLockName[] = "CALC.DAT.lock";

enum class LockState {
    Free,      // no holder
    Held,      // a holder has it
    Unusable,  // the lock file cannot be opened for writing, or the file system has no locks
};

// What an attempt to take the lock came to.
enum class LockTake {
    Taken,     // it is this holder's now
    Held,      // another holder has it
    Unusable,  // as LockState::Unusable: nobody can hold it here
};

class FileLock {
public:
    // Names the lock file; nothing is opened or locked yet.
    explicit FileLock(std::string path);
    ~FileLock();  // releases the lock when held
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Takes the lock, creating the lock file when needed. Someone who only asks whether
    // the lock is held holds it for a moment; that is waited out, a holder is not.
    LockTake TryTake();
    bool TryLock() { return TryTake() == LockTake::Taken; }
    void Unlock();
    bool IsLocked() const { return m_fd >= 0; }
    const std::string& Path() const { return m_path; }

    // Lets a later TakeOrJoin of this process share the lock held here, so that the lock
    // taken where a run is decided on passes to the run without a moment between (the
    // solver library keeps a copy of this layer of its own, so the two meet only in the
    // lock file). False when the lock is not held or the file cannot take the note.
    bool OfferToThisProcess();
    // Takes the lock, or shares the one this process holds and offered. Held when another
    // holder has it.
    LockTake TakeOrJoin();

    // Whether some holder (another process, or another FileLock of this one) has the
    // lock now. Never taken for a holder: another process that asks at the same time.
    static LockState Probe(const std::string& path);
    static bool IsHeld(const std::string& path) { return Probe(path) == LockState::Held; }

private:
    int JoinOffered() const;
    void ClearOffer();

    std::string m_path;
    int m_fd = -1;
    bool m_offered = false;
};

}  // namespace wv
