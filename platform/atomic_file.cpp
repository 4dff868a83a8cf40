#include "platform/atomic_file.h"

#include "platform/file_calls.h"
#include "platform/files.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wv {

namespace {

constexpr char kTempTag[] = ".wvtmp-";
// The longest name a folder holds.
constexpr std::size_t kNameMax = 255;
// What a temporary name adds to the target's: ".", the tag, "<pid>-<8 hex>" with a pid
// of up to 10 digits, and a set member's "-<k>of<n>" with up to 5 digits each.
constexpr std::size_t kTempOverhead = 1 + sizeof kTempTag - 1 + 10 + 1 + 8 + 1 + 5 + 2 + 5;
// A longer name is cut and followed by "~" and 16 hex digits of its hash.
constexpr std::size_t kHashedNameBytes = kNameMax - kTempOverhead - 17;
constexpr int kMaxLinkHops = 40;
// What the file layer says of a file that is there but marked read-only for everyone.
constexpr char kReadOnlyText[] = "読み取り専用のファイルです";
constexpr char kNotAFileText[] = "ファイルではありません";

// The process's umask, read once: setting it to read it back would race with every
// other thread that creates a file meanwhile.
mode_t Umask() {
    static const mode_t mask = [] {
        if (FILE* f = std::fopen("/proc/self/status", "r")) {
            char line[256];
            while (std::fgets(line, sizeof line, f)) {
                unsigned value = 0;
                if (std::sscanf(line, "Umask: %o", &value) == 1) {
                    std::fclose(f);
                    return static_cast<mode_t>(value);
                }
            }
            std::fclose(f);
        }
        const mode_t m = ::umask(022);
        ::umask(m);
        return m;
    }();
    return mask;
}

std::string NewToken() {
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = [] {
        std::random_device rd;
        return rd();
    }();
    const unsigned value = seed ^ (counter.fetch_add(1) * 2654435761u) ^
                           static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(&counter));
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d-%08x", static_cast<int>(::getpid()), value);
    return buf;
}

// The file a path names once its symbolic links are followed; the path itself when it
// is no link or not there. Empty after too many links.
std::string FollowLinks(const std::string& path) {
    std::string p = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
        std::vector<char> buf(PATH_MAX + 1);
        const ssize_t n = ::readlink(p.c_str(), buf.data(), buf.size() - 1);
        if (n <= 0) return p;
        std::string link(buf.data(), static_cast<std::size_t>(n));
        p = link.front() == '/' ? link : FolderOf(p) + link;
    }
    return std::string();
}

// FNV-1a, 64 bits: two names that differ anywhere differ here but by a chance of 2^-64.
std::uint64_t NameHash(const std::string& name) {
    std::uint64_t h = 14695981039346656037ull;
    for (unsigned char c : name) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

bool AllDigits(const std::string& s, std::size_t from, std::size_t to, bool hex) {
    if (from >= to) return false;
    for (std::size_t i = from; i < to; ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (!(std::isdigit(c) || (hex && std::isxdigit(c)))) return false;
    }
    return true;
}

// One of our temporary files found beside a target.
struct TempEntry {
    std::string path;
    std::string token;  // "<pid>-<random>"
    int pid = 0;
    int member = 0;  // 1-based member of a set, 0 for a single file
    int members = 0;
};

// The rest of a temporary name after its target's prefix must be exactly our token,
// "<pid>-<8 hex>", and for a set member "-<k>of<n>": a name that only begins like it
// (another file's temporary name, a file named so by hand) is not ours.
bool ParseTempName(const std::string& name, const std::string& prefix, TempEntry* e) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return false;
    const std::string rest = name.substr(prefix.size());
    const std::size_t dash = rest.find('-');
    if (dash == std::string::npos || dash > 10 || !AllDigits(rest, 0, dash, false)) return false;
    const std::size_t tokenEnd = dash + 1 + 8;
    if (rest.size() < tokenEnd || !AllDigits(rest, dash + 1, tokenEnd, true)) return false;
    const long pid = std::strtol(rest.substr(0, dash).c_str(), nullptr, 10);
    if (pid <= 0 || pid > INT_MAX) return false;
    int member = 0, members = 0;
    if (rest.size() > tokenEnd) {
        const std::size_t of = rest.find("of", tokenEnd);
        if (rest[tokenEnd] != '-' || of == std::string::npos || of - tokenEnd - 1 > 5 ||
            rest.size() - of - 2 > 5 || !AllDigits(rest, tokenEnd + 1, of, false) ||
            !AllDigits(rest, of + 2, rest.size(), false))
            return false;
        member = std::atoi(rest.substr(tokenEnd + 1, of - tokenEnd - 1).c_str());
        members = std::atoi(rest.substr(of + 2).c_str());
        if (member < 1 || member > members) return false;
    }
    e->token = rest.substr(0, tokenEnd);
    e->pid = static_cast<int>(pid);
    e->member = member;
    e->members = members;
    return true;
}

std::vector<TempEntry> TempsOf(const std::string& target) {
    std::vector<TempEntry> out;
    const std::string folder = FolderOf(target);
    const std::string prefix = TempNamePrefix(target);
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return out;
    while (const dirent* d = ::readdir(dir)) {
        TempEntry e;
        if (!ParseTempName(d->d_name, prefix, &e)) continue;
        e.path = folder + d->d_name;
        out.push_back(std::move(e));
    }
    ::closedir(dir);
    return out;
}

bool ProcessAlive(int pid) { return ::kill(pid, 0) == 0 || errno == EPERM; }

// A temporary file is left over when its writer is gone: the process that made it is
// dead (or is this one, which keeps no temporary file unlocked), and nobody holds its
// lock. The lock covers the pid taken over by another program.
bool IsLeftOver(const TempEntry& e) {
    if (e.pid != ::getpid() && ProcessAlive(e.pid)) return false;
    const int fd = ::open(e.path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return false;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
}

// After a rename: the folder's new entry must reach the disk too, or a crash could bring
// the old file back after the save was reported done. 0, or the errno of the failure.
int SyncFolder(const std::string& file) {
    const std::string folder = FolderOf(file);
    return ActiveFileCalls().syncFolder(folder.empty() ? "." : folder.c_str()) == 0 ? 0 : errno;
}

// Before `target` is saved, alone (member 0) or as member `member` of a set of
// `members`: the dead temporary files of single saves of it go, and for a set also those
// of sets of another shape (a mesh of another width gave another number of CSV files),
// which this set can never finish and whose contents this save replaces whole. Members
// of this set's own shape are RecoverInterruptedSet's.
void RemoveLeftOvers(const std::string& target, int member, int members) {
    for (const TempEntry& e : TempsOf(target)) {
        const bool otherShape = member > 0 && e.members > 0 && (e.members != members || e.member != member);
        if ((e.member == 0 || otherShape) && IsLeftOver(e)) ActiveFileCalls().unlink(e.path.c_str());
    }
}

// Checks the file a save would replace; fills its mode and owner when it is there.
bool CheckReplaceable(const std::string& target, bool* exists, struct stat* st, std::string* why) {
    *exists = false;
    if (::stat(target.c_str(), st) != 0) {
        if (errno == ENOENT) return true;
        if (why) *why = SystemErrorText(errno);
        return false;
    }
    *exists = true;
    if (!S_ISREG(st->st_mode)) {
        if (why) *why = S_ISDIR(st->st_mode) ? SystemErrorText(EISDIR) : kNotAFileText;
        return false;
    }
    if (::access(target.c_str(), W_OK) != 0) {
        if (why) *why = errno == EACCES ? std::string(kReadOnlyText) : SystemErrorText(errno);
        return false;
    }
    if ((st->st_mode & 0222) == 0) {
        if (why) *why = kReadOnlyText;
        return false;
    }
    return true;
}

}  // namespace

std::string TempNamePrefix(const std::string& target) {
    const std::string name = FileNameOf(target);
    if (name.size() + kTempOverhead <= kNameMax) return "." + name + kTempTag;
    // Too long to be named whole: cut where a character begins (names are UTF-8), and
    // told from every other name by the hash of the whole one.
    std::size_t cut = kHashedNameBytes;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    char hash[20];
    std::snprintf(hash, sizeof hash, "~%016llx", static_cast<unsigned long long>(NameHash(name)));
    return "." + name.substr(0, cut) + hash + kTempTag;
}

std::string SystemErrorText(int errnum) {
    switch (errnum) {
        case ENOSPC: return "ディスクの空き容量が足りません";
        case EDQUOT: return "ディスクの使用量が上限に達しました";
        case EACCES:
        case EPERM: return "アクセスが許可されていません";
        case EROFS: return "読み取り専用のディスクです";
        case ENOENT: return "ファイルまたはフォルダが見つかりません";
        case ENOTDIR: return "フォルダが見つかりません";
        case EISDIR: return "同じ名前のフォルダがあります";
        case EEXIST: return "同じ名前のファイルがあります";
        case EIO: return "ディスクの読み書きに失敗しました";
        case EMFILE:
        case ENFILE: return "開いているファイルが多すぎます";
        case ENAMETOOLONG: return "ファイル名が長すぎます";
        case EBUSY:
        case ETXTBSY: return "ファイルが使用中です";
        case EXDEV: return "別のディスクへは移せません";
        case ELOOP: return "シンボリックリンクが多すぎます";
        case ENOMEM: return "メモリが足りません";
        case EFBIG: return "ファイルが大きすぎます";
        case EINVAL: return "ファイル名が正しくありません";
        default: {
            char buf[64];
            std::snprintf(buf, sizeof buf, "システムエラー %d", errnum);
            return buf;
        }
    }
}

bool MayReplaceFile(const std::string& path, std::string* err) {
    const std::string target = FollowLinks(path);
    if (target.empty()) {
        if (err) *err = path + ": " + SystemErrorText(ELOOP);
        return false;
    }
    bool exists = false;
    struct stat st {};
    std::string why;
    if (CheckReplaceable(target, &exists, &st, &why)) return true;
    if (err) *err = path + ": " + why;
    return false;
}

AtomicFile::~AtomicFile() { Abandon(); }

bool AtomicFile::Fail(int errnum, std::string* out) {
    Abandon();
    if (out) *out = m_given + ": " + SystemErrorText(errnum);
    return false;
}

bool AtomicFile::Open(const std::string& path, std::string* err) {
    Abandon();
    m_given = path;
    m_target = FollowLinks(path);
    if (m_target.empty()) return Fail(ELOOP, err);
    RemoveLeftOvers(m_target, 0, 0);
    return OpenAs(m_target, std::string(), err);
}

bool AtomicFile::OpenAs(const std::string& target, const std::string& setSuffix, std::string* err) {
    if (m_given.empty()) m_given = target;
    m_target = target;
    struct stat st {};
    std::string why;
    if (!CheckReplaceable(m_target, &m_exists, &st, &why)) {
        if (err) *err = m_given + ": " + why;
        return false;
    }
    m_mode = st.st_mode;
    m_uid = st.st_uid;
    m_gid = st.st_gid;
    const std::string stem = FolderOf(m_target) + TempNamePrefix(m_target);
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string temp = stem + (setSuffix.empty() ? NewToken() : setSuffix);
        const int fd = ActiveFileCalls().createExclusive(temp.c_str(), 0600);
        if (fd < 0) {
            if (errno == EEXIST && setSuffix.empty()) continue;
            const int e = errno;
            return Fail(e, err);
        }
        // Held until the file is in place or gone: a second program's clean-up tells a
        // live save from a dead one by it.
        ::flock(fd, LOCK_EX | LOCK_NB);
        m_fd = fd;
        m_temp = std::move(temp);
        m_writeErrno = 0;
        m_finished = false;
        ActiveFileCalls().moment("save.created");
        return true;
    }
    return Fail(EEXIST, err);
}

bool AtomicFile::Write(const void* data, std::size_t size) {
    if (m_fd < 0 || m_writeErrno != 0) return false;
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t w = ActiveFileCalls().write(m_fd, p, size);
        if (w < 0) {
            if (errno == EINTR) continue;
            m_writeErrno = errno;
            return false;
        }
        p += w;
        size -= static_cast<std::size_t>(w);
    }
    return true;
}

bool AtomicFile::Finish(std::string* err) {
    if (m_fd < 0) return Fail(EBADF, err);
    if (m_finished) return true;
    if (m_writeErrno != 0) return Fail(m_writeErrno, err);
    ActiveFileCalls().moment("save.written");
    if (ActiveFileCalls().fsync(m_fd) != 0) {
        const int e = errno;
        return Fail(e, err);
    }
    if (m_exists) {
        // The file keeps who may read and write it; the owner only where the system
        // lets this user give it.
        if (m_uid != ::geteuid() || m_gid != ::getegid())
            if (::fchown(m_fd, m_uid, m_gid) != 0) (void)::fchown(m_fd, static_cast<uid_t>(-1), m_gid);
        ::fchmod(m_fd, static_cast<mode_t>(m_mode & 01777));
    } else {
        ::fchmod(m_fd, 0666 & ~Umask());
    }
    ActiveFileCalls().moment("save.synced");
    m_finished = true;
    return true;
}

bool AtomicFile::Commit(std::string* err) {
    const int fd = CommitKeepingOpen(err);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

int AtomicFile::CommitKeepingOpen(std::string* err) {
    if (!Finish(err)) return -1;
    if (ActiveFileCalls().rename(m_temp.c_str(), m_target.c_str()) != 0) {
        const int e = errno;
        Fail(e, err);
        return -1;
    }
    m_temp.clear();
    ActiveFileCalls().moment("save.renamed");
    // The new file is in place, but not surely on the disk: the save is not reported
    // done, so the document stays modified and the user saves again.
    if (const int e = SyncFolder(m_target)) {
        Fail(e, err);
        return -1;
    }
    ActiveFileCalls().closing(m_fd);
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

void AtomicFile::Abandon() {
    if (m_fd >= 0) {
        ActiveFileCalls().closing(m_fd);
        ::close(m_fd);
    }
    m_fd = -1;
    if (!m_temp.empty()) ActiveFileCalls().unlink(m_temp.c_str());
    m_temp.clear();
    m_finished = false;
    m_writeErrno = 0;
}

AtomicFileSet::AtomicFileSet(std::vector<std::string> paths) : m_paths(std::move(paths)) {}

AtomicFileSet::~AtomicFileSet() { Abandon(); }

bool AtomicFileSet::Open(std::string* err) {
    Abandon();
    // A killed save's member left out of place would go in over this save's at the next
    // open: when it cannot go in now, nothing is saved.
    if (const SetRecovery r = RecoverInterruptedSet(m_paths); r.failed > 0) {
        if (err) *err = r.error;
        return false;
    }
    // Every member is checked before any temporary file is made: a refusal changes
    // nothing.
    std::vector<std::string> targets;
    for (const std::string& p : m_paths) {
        if (!MayReplaceFile(p, err)) return false;
        targets.push_back(FollowLinks(p));
    }
    const int n = static_cast<int>(targets.size());
    for (int i = 0; i < n; ++i) RemoveLeftOvers(targets[static_cast<std::size_t>(i)], i + 1, n);
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string token = NewToken();
        bool clash = false;
        m_files.clear();
        for (std::size_t i = 0; i < m_paths.size(); ++i) {
            auto f = std::make_unique<AtomicFile>();
            f->m_given = m_paths[i];
            const std::string suffix =
                token + "-" + std::to_string(i + 1) + "of" + std::to_string(m_paths.size());
            std::string e;
            if (!f->OpenAs(targets[i], suffix, &e)) {
                clash = FileExists(FolderOf(targets[i]) + TempNamePrefix(targets[i]) + suffix);
                m_files.clear();
                if (clash) break;
                if (err) *err = e;
                return false;
            }
            m_files.push_back(std::move(f));
        }
        if (!clash) return true;
    }
    if (err) *err = m_paths.front() + ": " + SystemErrorText(EEXIST);
    return false;
}

bool AtomicFileSet::Commit(std::string* err) {
    if (m_files.size() != m_paths.size()) {
        if (err) *err = m_paths.empty() ? std::string() : m_paths.front() + ": " + SystemErrorText(EBADF);
        return false;
    }
    for (auto& f : m_files)
        if (!f->Finish(err)) {
            Abandon();
            return false;
        }
    std::string unsynced;
    for (std::size_t i = 0; i < m_files.size(); ++i) {
        AtomicFile& f = *m_files[i];
        if (ActiveFileCalls().rename(f.m_temp.c_str(), f.m_target.c_str()) != 0) {
            const int e = errno;
            if (i == 0) {
                Abandon();
            } else {
                // Part of the set is in place: the rest stays complete beside it for the
                // next open to put in place, rather than a mixed set for good.
                for (std::size_t k = i; k < m_files.size(); ++k) {
                    ActiveFileCalls().closing(m_files[k]->m_fd);
                    ::close(m_files[k]->m_fd);
                    m_files[k]->m_fd = -1;
                    m_files[k]->m_temp.clear();
                }
                m_files.clear();
            }
            if (err) *err = m_paths[i] + ": " + SystemErrorText(e);
            return false;
        }
        f.m_temp.clear();
        ActiveFileCalls().moment("save.renamed");
        // The rest of the set still goes into place, so the set on disk is one save's;
        // the save is reported undone, as a single file's is.
        if (const int e = SyncFolder(f.m_target); e != 0 && unsynced.empty())
            unsynced = m_paths[i] + ": " + SystemErrorText(e);
        if (i == 0) ActiveFileCalls().moment("set.first-in-place");
    }
    for (auto& f : m_files) {
        ActiveFileCalls().closing(f->m_fd);
        ::close(f->m_fd);
        f->m_fd = -1;
    }
    m_files.clear();
    if (unsynced.empty()) return true;
    if (err) *err = unsynced;
    return false;
}

void AtomicFileSet::Abandon() {
    // The last member first: a kill half way leaves the first, which marks a save that
    // never reached its renames.
    for (auto it = m_files.rbegin(); it != m_files.rend(); ++it) (*it)->Abandon();
    m_files.clear();
}

SetRecovery RecoverInterruptedSet(const std::vector<std::string>& paths) {
    SetRecovery result;
    const int n = static_cast<int>(paths.size());
    std::vector<std::string> targets;
    for (const std::string& p : paths) {
        targets.push_back(FollowLinks(p));
        if (targets.back().empty()) return result;
    }
    // Members by token, then by member number.
    std::map<std::string, std::map<int, TempEntry>> sets;
    for (int i = 0; i < n; ++i)
        for (TempEntry& e : TempsOf(targets[static_cast<std::size_t>(i)])) {
            // Only this set's own members: a temporary name names its file exactly, so
            // member k of a set of n beside the k-th file was made by a save of this set.
            if (e.members == n && e.member == i + 1) sets[e.token][e.member] = std::move(e);
        }

    for (auto& [token, members] : sets) {
        bool alive = false;
        for (const auto& [k, e] : members) alive = alive || !IsLeftOver(e);
        if (alive) continue;
        if (members.count(1)) {
            // The first member never went into place: the old set is whole.
            for (auto it = members.rbegin(); it != members.rend(); ++it) {
                ActiveFileCalls().unlink(it->second.path.c_str());
                ++result.removed;
            }
            continue;
        }
        // The first member is in place: every member was complete and on the disk
        // before it went, so the rest follow.
        for (const auto& [k, e] : members) {
            const std::string& target = targets[static_cast<std::size_t>(k - 1)];
            if (ActiveFileCalls().rename(e.path.c_str(), target.c_str()) == 0) {
                // Not synced is no reason to stop here: the next save of the set syncs.
                SyncFolder(target);
                ++result.completed;
            } else if (result.failed++ == 0) {
                result.error = paths[static_cast<std::size_t>(k - 1)] + ": " + SystemErrorText(errno);
            }
        }
    }
    return result;
}

}  // namespace wv
