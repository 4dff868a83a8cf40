#include "solver/result_files.h"

#include "platform/atomic_file.h"
#include "platform/fixed_format.h"
#include "platform/text.h"

#include <cmath>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wv::solv {

namespace {

bool EField(double v, std::string& out) {
    if (!std::isfinite(v)) return false;
    const std::string f = FormatE(v, 10, 3);
    if (f.front() == '*') return false;
    out += f;
    return true;
}

constexpr const char* kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

}  // namespace

bool AppendResultRecord(const NodeRecord& r, std::string& out) {
    const std::size_t start = out.size();
    const bool ok = AppendF(r.x, 10, 3, out) && (out += ' ', AppendF(r.y, 10, 3, out)) &&
                    (out += ' ', AppendF(r.depth, 10, 3, out)) &&
                    (out += ' ', AppendF(r.heightRatio, 9, 4, out)) &&
                    (out += ' ', AppendF(r.refraction, 9, 4, out)) &&
                    (out += ' ', AppendF(r.maxHeightRatio, 9, 4, out)) &&
                    (out += ' ', AppendF(r.periodRatio, 9, 4, out)) &&
                    (out += ' ', AppendF(r.directionDeg, 9, 4, out)) &&
                    (out += ' ', AppendF(r.vectorX, 9, 4, out)) &&
                    (out += ' ', AppendF(r.vectorY, 9, 4, out));
    if (!ok) {
        out.resize(start);
        return false;
    }
    out += "\r\n";
    return true;
}

bool AppendDumpRecord(int i, int j, double sxx, double syy, double sxy, std::string& out) {
    std::string rec = FormatI(i, 5) + FormatI(j, 5) + std::string(12, ' ');
    const bool ok = EField(sxx, rec) && (rec += ' ', EField(syy, rec)) && (rec += ' ', EField(sxy, rec));
    if (!ok || rec.find('*') != std::string::npos) return false;
    out += rec;
    out += "\r\n";
    return true;
}

std::string DateText(const std::tm& t) {
    const int mon = (t.tm_mon >= 0 && t.tm_mon < 12) ? t.tm_mon : 0;
    return Sprintf("%02d-%s-%02d", t.tm_mday, kMonths[mon], ((t.tm_year + 1900) % 100 + 100) % 100);
}

std::string TimeText(const std::tm& t) { return Sprintf("%02d:%02d:%02d", t.tm_hour, t.tm_min, t.tm_sec); }

std::tm LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    return t;
}

bool WriteTimingFile(const std::string& path, const std::tm& start, const std::tm& end) {
    TextWriter w;
    w.Line(DateText(start));
    w.Line(TimeText(start));
    w.Line(DateText(end));
    w.Line(TimeText(end));
    return w.Save(path, nullptr);
}

namespace {

// A new empty file in place of the plain file at `path`, with its permissions, open for
// writing; -1 where the file is not one to replace or anything fails, and the caller
// truncates it instead. `old` keeps the replaced file open, so that its storage is
// given back when it is closed rather than inside the rename.
int ReplaceWithEmptyFile(const std::string& path, int& old) {
    old = -1;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink != 1) return -1;
    AtomicFile file;
    if (!file.Open(path, nullptr)) return -1;
    old = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    const int fd = file.CommitKeepingOpen(nullptr);
    if (fd < 0 && old >= 0) {
        ::close(old);
        old = -1;
    }
    return fd;
}

}  // namespace

ResultFile::~ResultFile() {
    if (m_file) std::fclose(m_file);
    Release();
}

void ResultFile::Release() {
    if (m_release.joinable()) m_release.join();
}

bool ResultFile::Open(const std::string& path) {
    if (m_file) std::fclose(m_file);
    m_file = nullptr;
    Release();
    m_failed = false;
    int old = -1;
    const int fd = ReplaceWithEmptyFile(path, old);
    if (old >= 0) {
        try {
            m_release = std::thread([old] { ::close(old); });
        } catch (const std::system_error&) {
            ::close(old);
        }
    }
    m_file = fd >= 0 ? ::fdopen(fd, "wb") : nullptr;
    if (fd >= 0 && !m_file) ::close(fd);
    if (!m_file) m_file = std::fopen(path.c_str(), "wb");
    return m_file != nullptr;
}

// Nothing is pushed to the disk while the run goes on: a durable write waits until the
// disk holds everything it was given before, so the status files at the run's end would
// wait for the results given to it (55 ms for the 100 MB of a 1000 x 1000 mesh). The
// system writes the results out in its own time.
bool ResultFile::Write(const std::string& text) {
    if (!m_file) return false;
    if (std::fwrite(text.data(), 1, text.size(), m_file) != text.size()) m_failed = true;
    return !m_failed;
}

bool ResultFile::Close() {
    if (m_file && std::fclose(m_file) != 0) m_failed = true;
    m_file = nullptr;
    Release();
    return !m_failed;
}

}  // namespace wv::solv
