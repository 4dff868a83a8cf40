#include "solver/result_files.h"

#include "platform/fixed_format.h"
#include "platform/text.h"

#include <cmath>

#include <fcntl.h>

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

bool WriteBusyFlag(const std::string& path, const std::string& titleUtf8) {
    TextWriter w;
    w.Line("1");
    w.Line(Utf8ToCp932(titleUtf8));
    return w.Save(path, nullptr);
}

bool WriteIdleFlag(const std::string& path) {
    TextWriter w;
    w.Line("0");
    return w.Save(path, nullptr);
}

bool WriteTimingFile(const std::string& path, const std::tm& start, const std::tm& end) {
    TextWriter w;
    w.Line(DateText(start));
    w.Line(TimeText(start));
    w.Line(DateText(end));
    w.Line(TimeText(end));
    return w.Save(path, nullptr);
}

ResultFile::~ResultFile() {
    if (m_file) std::fclose(m_file);
}

bool ResultFile::Open(const std::string& path) {
    m_failed = false;
    m_unflushed = 0;
    m_writtenOut = 0;
    m_file = std::fopen(path.c_str(), "wb");
    return m_file != nullptr;
}

bool ResultFile::Write(const std::string& text) {
    if (!m_file) return false;
    if (std::fwrite(text.data(), 1, text.size(), m_file) != text.size()) m_failed = true;
    m_unflushed += text.size();
    // The status files after the run are written durably, and their flush waits for
    // every dirty page of the file system: the result file's, 100 MB for a 1000 x 1000
    // mesh. Starting its write-out as it grows leaves little for that wait.
    if (m_unflushed >= kWriteOutBytes && !m_failed) {
        if (std::fflush(m_file) != 0) m_failed = true;
#ifdef SYNC_FILE_RANGE_WRITE
        ::sync_file_range(::fileno(m_file), m_writtenOut, 0, SYNC_FILE_RANGE_WRITE);
#endif
        m_writtenOut += static_cast<long long>(m_unflushed);
        m_unflushed = 0;
    }
    return !m_failed;
}

bool ResultFile::Close() {
    if (!m_file) return !m_failed;
    if (std::fclose(m_file) != 0) m_failed = true;
    m_file = nullptr;
    return !m_failed;
}

}  // namespace wv::solv
