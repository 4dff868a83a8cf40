#include "draw/plot_writer.h"

#include "platform/text.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace wv {

namespace {

// Records are collected and written in blocks of this size: a large contour figure then
// costs few system calls and little memory.
constexpr std::size_t kFlushSize = 1 << 20;

// A line end inside a text would split its record in two on reading.
std::string WithoutLineEnds(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

}  // namespace

std::string FormatPlotReal(double value) {
    // The Windows runtime rounded an exact half away from zero where glibc rounds it to
    // even; rounding first keeps the files byte-identical. std::round keeps the sign of a
    // value that rounds to zero, which prints as "-0" as it did there.
    return Sprintf("%1.0f", std::round(value * 100000.0));
}

CPlotWriter::~CPlotWriter() { Abandon(); }

void CPlotWriter::Abandon() {
    if (m_fd >= 0) {
        ::close(m_fd);
        ::unlink(m_strTemp.c_str());
    }
    m_fd = -1;
    m_buffer.clear();
    m_bFailed = false;
    m_nErrno = 0;
}

int CPlotWriter::OpenPlotFile(const std::string& path, const std::string& title) {
    Abandon();
    std::vector<char> name(path.begin(), path.end());
    const char suffix[] = ".XXXXXX";
    name.insert(name.end(), suffix, suffix + sizeof suffix);
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return -1;
    m_fd = fd;
    m_strPath = path;
    m_strTemp = name.data();
    Record(WithoutLineEnds(title));
    return 0;
}

void CPlotWriter::Record(const std::string& line) {
    if (m_fd < 0) return;
    m_buffer += line;
    m_buffer += "\r\n";
    if (m_buffer.size() >= kFlushSize) Flush();
}

bool CPlotWriter::Flush() {
    const char* p = m_buffer.data();
    std::size_t left = m_buffer.size();
    while (left > 0 && !m_bFailed) {
        const ssize_t w = ::write(m_fd, p, left);
        if (w < 0) {
            if (errno == EINTR) continue;
            m_bFailed = true;
            m_nErrno = errno;
            break;
        }
        p += w;
        left -= static_cast<std::size_t>(w);
    }
    m_buffer.clear();
    return !m_bFailed;
}

int CPlotWriter::WritePlotSC(int n, double a, double b, double c) {
    Record(Sprintf("SC%d,", n) + FormatPlotReal(a) + "," + FormatPlotReal(b) + "," +
           FormatPlotReal(c));
    return 0;
}

int CPlotWriter::WritePlotEM(double x0, double y0, double x1, double y1) {
    Record("EM" + FormatPlotReal(x0) + "," + FormatPlotReal(y0) + "," + FormatPlotReal(x1) + "," +
           FormatPlotReal(y1));
    return 0;
}

int CPlotWriter::WritePlotSZ(double width, double height) {
    Record("SZ" + FormatPlotReal(width) + "," + FormatPlotReal(height));
    return 0;
}

int CPlotWriter::WritePlotLT(double dash, double gap, int type, int flag, const std::string& name) {
    Record("LT" + FormatPlotReal(dash) + "," + FormatPlotReal(gap) + Sprintf(",%d,%d,", type, flag) +
           WithoutLineEnds(name));
    return 0;
}

int CPlotWriter::WritePlotLY(int lineType, int width, int color, int layerNo,
                             const std::string& name) {
    Record(Sprintf("LY%d,%d,%d,%d,", lineType, width, color, layerNo) + WithoutLineEnds(name));
    return 0;
}

int CPlotWriter::WritePlotDL(double x1, double y1, double x2, double y2, int layer) {
    Record("DL" + FormatPlotReal(x1) + "," + FormatPlotReal(y1) + "," + FormatPlotReal(x2) + "," +
           FormatPlotReal(y2) + Sprintf(",%d", layer));
    return 0;
}

int CPlotWriter::WritePlotLL(double x, double y, int pen, int close, int layer) {
    Record("LL" + FormatPlotReal(x) + "," + FormatPlotReal(y) + Sprintf(",%d,%d,%d", pen, close, layer));
    return 0;
}

int CPlotWriter::WritePlotAP(double x, double y, double size, int code, int layer) {
    Record("AP" + FormatPlotReal(x) + "," + FormatPlotReal(y) + "," + FormatPlotReal(size) +
           Sprintf(",%d,%d", code, layer));
    return 0;
}

int CPlotWriter::WritePlotEL(double cx, double cy, double rx, double ry, double rotation,
                             double start, double end, int layer) {
    Record("EL" + FormatPlotReal(cx) + "," + FormatPlotReal(cy) + "," + FormatPlotReal(rx) + "," +
           FormatPlotReal(ry) + "," + FormatPlotReal(rotation) + "," + FormatPlotReal(start) + "," +
           FormatPlotReal(end) + Sprintf(",%d", layer));
    return 0;
}

int CPlotWriter::WritePlotGC(double sx, double sy, double cx, double cy, double ex, double ey,
                             int direction, int layer) {
    Record("GC" + FormatPlotReal(sx) + "," + FormatPlotReal(sy) + "," + FormatPlotReal(cx) + "," +
           FormatPlotReal(cy) + "," + FormatPlotReal(ex) + "," + FormatPlotReal(ey) +
           Sprintf(",%d,%d", direction, layer));
    return 0;
}

int CPlotWriter::WritePlotAH(double tailX, double tailY, double tipX, double tipY,
                             double headLength, double headWidth, int style, int layer) {
    Record("AH" + FormatPlotReal(tailX) + "," + FormatPlotReal(tailY) + "," + FormatPlotReal(tipX) +
           "," + FormatPlotReal(tipY) + "," + FormatPlotReal(headLength) + "," +
           FormatPlotReal(headWidth) + Sprintf(",%d,%d", style, layer));
    return 0;
}

int CPlotWriter::WritePlotVJ(double x, double y, double height, double width,
                             const std::string& text, double angle, int layer) {
    Record("VJ" + FormatPlotReal(x) + "," + FormatPlotReal(y) + "," + FormatPlotReal(height) + "," +
           FormatPlotReal(width) + "," + FormatPlotReal(angle) + Sprintf(",%d,", layer) +
           WithoutLineEnds(text));
    return static_cast<int>(text.size());
}

int CPlotWriter::ClosePlotFile(std::string* err) {
    if (m_fd < 0) {
        if (err) *err = "no plot file is open";
        return -1;
    }
    Flush();
    bool ok = !m_bFailed;
    int e = m_nErrno;
    if (ok && ::fsync(m_fd) != 0) ok = false, e = errno;
    if (ok) {
        // mkstemp creates the file 0600; the plot file gets the usual permissions.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(m_fd, 0666 & ~mask);
    }
    if (::close(m_fd) != 0 && ok) ok = false, e = errno;
    m_fd = -1;
    if (ok && ::rename(m_strTemp.c_str(), m_strPath.c_str()) != 0) ok = false, e = errno;
    if (!ok) {
        ::unlink(m_strTemp.c_str());
        if (err) *err = m_strPath + ": " + std::strerror(e);
    }
    m_buffer.clear();
    m_bFailed = false;
    m_nErrno = 0;
    return ok ? 0 : -1;
}

}  // namespace wv
