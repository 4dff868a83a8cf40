#include "platform/file_faults.h"

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
std::once_flag g_envOnce;

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

void LoadEnvironment() {
    State& s = S();
    std::lock_guard<std::mutex> lock(s.mutex);
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
    if (!s.faults.empty() || !s.kills.empty()) g_armed = true;
}

void Armed() { std::call_once(g_envOnce, LoadEnvironment); }

void Rearm(State& s) { g_armed = !s.faults.empty() || !s.kills.empty(); }

// 0 to go on, else the errno the call fails with.
int Due(Op op, const std::string& a, const std::string& b = std::string()) {
    Armed();
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

}  // namespace

int CreateExclusive(const char* path, mode_t mode) {
    if (const int err = Due(Op::Create, path)) {
        errno = err;
        return -1;
    }
    int fd;
    do {
        fd = ::open(path, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
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
    return ::write(fd, data, size);
}

int Fsync(int fd) {
    if (const int err = Due(Op::Fsync, NameOf(fd))) {
        errno = err;
        return -1;
    }
    return ::fsync(fd);
}

int Rename(const char* from, const char* to) {
    if (const int err = Due(Op::Rename, from, to)) {
        errno = err;
        return -1;
    }
    return ::rename(from, to);
}

void Forget(int fd) {
    State& s = S();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.names.erase(fd);
}

void FailAt(Op op, int nth, int err, const std::string& part) {
    Armed();
    State& s = S();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.faults.push_back({op, nth < 1 ? 0 : nth - 1, err, part});
    Rearm(s);
}

void KillAt(const std::string& name, int nth) {
    Armed();
    State& s = S();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.kills.push_back({name, nth < 1 ? 0 : nth - 1});
    Rearm(s);
}

void Clear() {
    Armed();
    State& s = S();
    std::lock_guard<std::mutex> lock(s.mutex);
    s.faults.clear();
    s.kills.clear();
    Rearm(s);
}

void Point(const char* name) {
    Armed();
    if (!g_armed) return;
    State& s = S();
    bool die = false;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        for (std::size_t i = 0; i < s.kills.size(); ++i) {
            Kill& k = s.kills[i];
            if (k.name != name) continue;
            if (k.remaining-- > 0) continue;
            die = true;
            break;
        }
    }
    if (die) ::kill(::getpid(), SIGKILL);
}

}  // namespace wv::faults
