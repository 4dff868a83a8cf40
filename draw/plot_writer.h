// Writer of the plot file "pdata000.plt": one figure as device-independent drawing
// records on a paper sheet, read back by the plot store for printing and by the external
// converters for DXF and BFO. Texts (title, names, VJ texts) are CP932 bytes, as they
// go into the file.
#pragma once

#include "platform/atomic_file.h"

#include <cstddef>
#include <string>

namespace wv {

// Name of the plot file; it always lies in the start folder.
inline constexpr char kPlotFileName[] = "pdata000.plt";

// One open plot file at a time per writer. Records go to a temporary file beside the
// target, which replaces the target only when ClosePlotFile completes it, so a failed
// figure never leaves a half-written plot file where the converters would find it.
// Every real is passed in millimetres (degrees) and written multiplied by 100000.
class CPlotWriter {
public:
    CPlotWriter() = default;
    // An unclosed file is abandoned: its temporary file is removed, the target untouched.
    ~CPlotWriter();
    CPlotWriter(const CPlotWriter&) = delete;
    CPlotWriter& operator=(const CPlotWriter&) = delete;

    // Opens `path` and writes the title line. 0, or -1 when the file cannot be created
    // (nothing is written then). A writer that is open abandons its earlier file first.
    int OpenPlotFile(const std::string& path, const std::string& title);
    bool IsOpen() const { return m_file.IsOpen(); }

    // Each writes one record and returns 0; outside an open file they write nothing.
    int WritePlotSC(int n, double a, double b, double c);
    int WritePlotEM(double x0, double y0, double x1, double y1);
    int WritePlotSZ(double width, double height);
    int WritePlotLT(double dash, double gap, int type, int flag, const std::string& name);
    int WritePlotLY(int lineType, int width, int color, int layerNo, const std::string& name);
    int WritePlotDL(double x1, double y1, double x2, double y2, int layer);
    int WritePlotLL(double x, double y, int pen, int close, int layer);
    int WritePlotAP(double x, double y, double size, int code, int layer);
    int WritePlotEL(double cx, double cy, double rx, double ry, double rotation, double start,
                    double end, int layer);
    int WritePlotGC(double sx, double sy, double cx, double cy, double ex, double ey, int direction,
                    int layer);
    int WritePlotAH(double tailX, double tailY, double tipX, double tipY, double headLength,
                    double headWidth, int style, int layer);
    // The angle comes after the text here but is written before the layer and the text.
    // Returns the text's length in bytes.
    int WritePlotVJ(double x, double y, double height, double width, const std::string& text,
                    double angle, int layer);

    // Completes the file and puts it in place. 0, or -1 when it could not be written (the
    // previous file at the path, if any, is kept; `err` receives why).
    int ClosePlotFile(std::string* err = nullptr);

private:
    void Record(const std::string& line);
    bool Flush();
    void Abandon();

    AtomicFile m_file;
    std::string m_buffer;
};

// A real as the file holds it: value x 100000 as a whole number ("%1.0lf"). A half is
// rounded away from zero, as the Windows runtime printed it; -0.000004 gives "-0".
std::string FormatPlotReal(double value);

}  // namespace wv
