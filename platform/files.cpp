#include "files.h"

#include "atomic_file.h"
#include "large_memory.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace wv {

std::string SideFileName(const std::string& docPath, const std::string& ext) {
    const auto slash = docPath.find_last_of('/');
    const auto dot = docPath.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
    return docPath.substr(0, dot + 1) + ext;
}

bool DeleteFileSilently(const std::string& path) {
    if (::unlink(path.c_str()) == 0) return true;
    return errno == ENOENT;
}

bool FileExists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::int64_t FileSize(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return static_cast<std::int64_t>(st.st_size);
}

template <class Buffer>
static bool ReadWholeFileImpl(const std::string& path, Buffer& out, std::string* err) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        if (err) *err = path + ": " + SystemErrorText(errno);
        return false;
    }
    out.clear();
    // A file of known size is read into storage taken once (a 1000 x 1000 mesh's input is
    // 12 MB, which growing by doubling would copy and fault in twice over).
    struct stat sb;
    if (::fstat(::fileno(f), &sb) == 0 && S_ISREG(sb.st_mode) && sb.st_size > 0)
        ReserveLarge(out, static_cast<std::size_t>(sb.st_size));
    char chunk[65536];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) out.insert(out.end(), chunk, chunk + n);
    // The system's reason, in the user's language (a folder opens but does not read).
    const int readErrno = std::ferror(f) != 0 ? (errno != 0 ? errno : EIO) : 0;
    std::fclose(f);
    if (readErrno != 0) {
        if (err) *err = path + ": " + SystemErrorText(readErrno);
        return false;
    }
    return true;
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& out, std::string* err) {
    return ReadWholeFileImpl(path, out, err);
}

bool ReadWholeFile(const std::string& path, std::string& out, std::string* err) {
    return ReadWholeFileImpl(path, out, err);
}

bool AtomicWriteFile(const std::string& path, const void* data, std::size_t size, std::string* err) {
    AtomicFile file;
    if (!file.Open(path, err)) return false;
    file.Write(data, size);  // a failed write is what Commit reports
    return file.Commit(err);
}

bool AtomicWriteFile(const std::string& path, const std::string& data, std::string* err) {
    return AtomicWriteFile(path, data.data(), data.size(), err);
}

bool HasExtensionNoCase(const std::string& path, const std::string& ext) {
    std::string want = (!ext.empty() && ext[0] == '.') ? ext.substr(1) : ext;
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
    const std::string have = path.substr(dot + 1);
    if (have.size() != want.size()) return false;
    for (std::size_t i = 0; i < have.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(have[i]) != lower(want[i])) return false;
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string FileNameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FileTitleOf(const std::string& path) {
    std::string name = FileNameOf(path);
    const auto dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

namespace {
std::mutex g_startMutex;
std::string g_startFolder;
}  // namespace

std::string CurrentFolder() {
    char buf[4096];
    if (!::getcwd(buf, sizeof buf)) return "./";
    std::string s(buf);
    if (s.empty() || s.back() != '/') s += '/';
    return s;
}

const std::string& StartFolder() {
    std::lock_guard<std::mutex> lock(g_startMutex);
    if (g_startFolder.empty()) g_startFolder = CurrentFolder();
    return g_startFolder;
}

void SetStartFolder(const std::string& folder) {
    std::lock_guard<std::mutex> lock(g_startMutex);
    g_startFolder = folder;
    if (g_startFolder.empty()) g_startFolder = CurrentFolder();
    if (g_startFolder.back() != '/') g_startFolder += '/';
}

std::string StartFolderFile(const std::string& name) { return StartFolder() + name; }

namespace {
std::mutex g_callerMutex;
std::string g_callerFolder;
constexpr char kCallerVariable[] = "WAVORA_CALLER_FOLDER";
}  // namespace

void TakeCallerFolder() {
    std::lock_guard<std::mutex> lock(g_callerMutex);
    const char* given = std::getenv(kCallerVariable);
    // Only an absolute folder can say where a relative name lies.
    g_callerFolder = given && given[0] == '/' ? given : CurrentFolder();
    if (g_callerFolder.back() != '/') g_callerFolder += '/';
    ::unsetenv(kCallerVariable);
}

const std::string& CallerFolder() {
    std::lock_guard<std::mutex> lock(g_callerMutex);
    if (g_callerFolder.empty()) g_callerFolder = CurrentFolder();
    return g_callerFolder;
}

std::string AbsoluteFromCaller(const std::string& path) {
    if (path.empty() || path[0] == '/') return path;
    std::string out = CallerFolder();
    // ".." stays: the folder it leads to depends on the links on the way, as it did for
    // the name given.
    std::size_t pos = 0;
    while (pos <= path.size()) {
        std::size_t slash = path.find('/', pos);
        if (slash == std::string::npos) slash = path.size();
        const std::string part = path.substr(pos, slash - pos);
        if (!part.empty() && part != ".") out += part + (slash < path.size() ? "/" : "");
        pos = slash + 1;
    }
    return out;
}

}  // namespace wv
