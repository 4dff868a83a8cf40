#include "draw/plot_writer.h"

#include "platform/text.h"

#include <cmath>
#include <cstdio>

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
    m_file.Abandon();
    m_buffer.clear();
}

int CPlotWriter::OpenPlotFile(const std::string& path, const std::string& title) {
    Abandon();
    if (!m_file.Open(path, nullptr)) return -1;
    Record(WithoutLineEnds(title));
    return 0;
}

void CPlotWriter::Record(const std::string& line) {
    if (!m_file.IsOpen()) return;
    m_buffer += line;
    m_buffer += "\r\n";
    if (m_buffer.size() >= kFlushSize) Flush();
}

bool CPlotWriter::Flush() {
    // A failed write is remembered by the file and reported when it is closed.
    const bool ok = m_file.Write(m_buffer);
    m_buffer.clear();
    return ok;
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
    if (!m_file.IsOpen()) {
        if (err) *err = "作図ファイルが開かれていません";
        return -1;
    }
    Flush();
    const bool ok = m_file.Commit(err);
    m_buffer.clear();
    return ok ? 0 : -1;
}

}  // namespace wv
