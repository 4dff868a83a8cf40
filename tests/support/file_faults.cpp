#include "support/file_faults.h"

#include "platform/file_calls.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace wv::faults {

namespace {

struct Fault {
    Op op;
    int remaining;  // calls to let through before this one fails
    int err;
    std::string part;
};

struct Kill {
    std::string name;
    int remaining;
};

struct State {
    std::mutex mutex;
    std::vector<Fault> faults;
    std::vector<Kill> kills;
    std::unordered_map<int, std::string> names;  // descriptors made by CreateExclusive
};

State& S() {
    static State* s = new State;  // outlives every static destructor that may save
    return *s;
}

// Set while any fault or kill waits: the calls then take the lock, otherwise not.
std::atomic<bool> g_armed{false};

int ErrnoByName(const std::string& name) {
    static const std::pair<const char*, int> kNames[] = {
        {"ENOSPC", ENOSPC}, {"EIO", EIO},       {"EACCES", EACCES}, {"EPERM", EPERM},
        {"EDQUOT", EDQUOT}, {"EROFS", EROFS},   {"EEXIST", EEXIST}, {"ENOENT", ENOENT},
        {"EINTR", EINTR},   {"EFBIG", EFBIG},   {"EXDEV", EXDEV},   {"EBUSY", EBUSY},
    };
    for (const auto& [n, e] : kNames)
        if (name == n) return e;
    const int e = std::atoi(name.c_str());
    return e > 0 ? e : EIO;
}

bool OpByName(const std::string& name, Op* op) {
    if (name == "create") *op = Op::Create;
    else if (name == "write") *op = Op::Write;
    else if (name == "fsync") *op = Op::Fsync;
    else if (name == "rename") *op = Op::Rename;
    else if (name == "syncfolder") *op = Op::SyncFolder;
    else return false;
    return true;
}

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> out;
    std::string cur;
    for (char c : s) {
        if (c == sep) {
            out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    out.push_back(cur);
    return out;
}

void Rearm(State& s) { g_armed = !s.faults.empty() || !s.kills.empty(); }

void LoadEnvironment(State& s) {
    if (const char* f = std::getenv("WAVORA_TEST_FAULTS")) {
        for (const std::string& item : Split(f, ';')) {
            const std::vector<std::string> p = Split(item, ':');
            Op op;
            if (p.size() < 3 || !OpByName(p[0], &op)) continue;
            const int nth = std::atoi(p[1].c_str());
            if (nth < 1) continue;
            s.faults.push_back({op, nth - 1, ErrnoByName(p[2]), p.size() > 3 ? p[3] : std::string()});
        }
    }
    if (const char* k = std::getenv("WAVORA_TEST_KILL_AT")) {
        for (const std::string& item : Split(k, ';')) {
            const std::vector<std::string> p = Split(item, ':');
            if (p.size() != 2 || p[0].empty()) continue;
            const int nth = std::atoi(p[1].c_str());
            if (nth >= 1) s.kills.push_back({p[0], nth - 1});
        }
    }
    Rearm(s);
}

// 0 to go on, else the errno the call fails with.
int Due(Op op, const std::string& a, const std::string& b = std::string()) {
    if (!g_armed) return 0;
    State& s = S();
    std::lock_guard<std::mutex> lock(s.mutex);
    for (std::size_t i = 0; i < s.faults.size(); ++i) {
        Fault& f = s.faults[i];
        if (f.op != op) continue;
        if (!f.part.empty() && a.find(f.part) == std::string::npos && b.find(f.part) == std::string::npos)
            continue;
        if (f.remaining-- > 0) continue;
        const int err = f.err;
        s.faults.erase(s.faults.begin() + static_cast<long>(i));
        Rearm(s);
        return err;
    }
    return 0;
}

std::string NameOf(int fd) {
    if (!g_armed) return std::string();
    State& s = S();
    std::lock_guard<std::mutex> lock(s.mutex);
    const auto it = s.names.find(fd);
    return it == s.names.end() ? std::string() : it->second;
}

// The calls of the file layer while a test's faults are in place.
int CreateExclusive(const char* path, mode_t mode) {
    if (const int err = Due(Op::Create, path)) {
        errno = err;
        return -1;
    }
    const int fd = SystemFileCalls().createExclusive(path, mode);
    if (fd >= 0) {
        State& s = S();
        std::lock_guard<std::mutex> lock(s.mutex);
        s.names[fd] = path;
    }
    return fd;
}

ssize_t Write(int fd, const void* data, std::size_t size) {
    if (const int err = Due(Op::Write, NameOf(fd))) {
        errno = err;
        return -1;
    }
    return SystemFileCalls().write(fd, data, size);
}

int Fsync(int fd) {
    if (const int err = Due(Op::Fsync, NameOf(fd))) {
        errno = err;
        return -1;
    }
    return SystemFileCalls().fsync(fd);
}

int Rename(const char* from, const char* to) {
    if (const int err = Due(Op::Rename, from, to)) {
        errno = err;
        return -1;
    }
    return SystemFileCalls().rename(from, to);
}

int Unlink(const char* path) { return SystemFileCalls().unlink(path); }

int SyncFolder(const char* folder) {
    if (const int err = Due(Op::SyncFolder, folder)) {
        errno = err;
        return -1;
    }
    return SystemFileCalls().syncFolder(folder);
}

void Closing(int fd) {
    State& s = S();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.names.erase(fd);
}

void Moment(const char* name) {
    if (!g_armed) return;
    State& s = S();
    bool die = false;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        for (Kill& k : s.kills) {
            if (k.name != name) continue;
            if (k.remaining-- > 0) continue;
            die = true;
            break;
        }
    }
    if (die) ::kill(::getpid(), SIGKILL);
}

constexpr FileCalls kFaultCalls{CreateExclusive, Write, Fsync, Rename, Unlink, SyncFolder, Closing, Moment};

// The table stays in place once a test has used it: descriptors made meanwhile keep
// their names for the faults that pick a file.
State& Installed() {
    UseFileCalls(&kFaultCalls);
    return S();
}

}  // namespace

void FailAt(Op op, int nth, int err, const std::string& part) {
    State& s = Installed();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.faults.push_back({op, nth < 1 ? 0 : nth - 1, err, part});
    Rearm(s);
}

void KillAt(const std::string& name, int nth) {
    State& s = Installed();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.kills.push_back({name, nth < 1 ? 0 : nth - 1});
    Rearm(s);
}

void Clear() {
    State& s = Installed();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.faults.clear();
    s.kills.clear();
    Rearm(s);
}

void ArmFromEnvironment() {
    State& s = Installed();
    std::lock_guard<std::mutex> lock(s.mutex);
    LoadEnvironment(s);
}

}  // namespace wv::faults
