#include "core/param_file.h"

#include "core/cal_area.h"
#include "core/geometry.h"
#include "core/tyd_inf.h"
#include "core/zmn_inf.h"
#include "platform/files.h"
#include "platform/text.h"

#include <functional>
#include <vector>

namespace wv {

namespace {

// The program read each line into a 128-byte buffer.
constexpr std::size_t kLineLimit = 127;

// The numbers of one line, each as a double and as an int. A line of 127 characters
// holds at most 64 numbers; one slot more takes the splitter's trailing zero.
struct NumberLine {
    static constexpr int kCapacity = 128;
    double d[kCapacity] = {};
    int i[kCapacity] = {};
    int n = 0;

    explicit NumberLine(const std::string& text) {
        n = ParseNumberLine(text.c_str(), d, i, kCapacity);
        if (n < 0) n = 0;
    }
    // Each store happens only when the line holds a value at that position.
    void Int(int pos, int& field) const { if (pos < n) field = i[pos]; }
    // An index into a table of `entries`: a value outside it keeps the field, as a
    // missing one does, since a calculation file could not hold it.
    void Index(int pos, int& field, int entries) const {
        if (pos < n && i[pos] >= 0 && i[pos] < entries) field = i[pos];
    }
    void Double(int pos, double& field) const { if (pos < n) field = d[pos]; }
};

// Every line of the file, each cut where the program's buffer cut it.
std::vector<std::string> SplitLines(std::string text) {
    LineReader reader(std::move(text));
    std::vector<std::string> lines;
    std::string line;
    while (reader.Next(line)) {
        if (line.size() > kLineLimit) line.resize(kLineLimit);
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

ParamFileStatus ReadParamFile(const std::string& path, CTyd_Inf& tydOut, CZmn_Inf& zmnOut,
                              CCalArea& areaOut) {
    std::string text;
    if (!ReadWholeFile(path, text, nullptr)) return ParamFileStatus::Missing;
    const bool endsWithNewline = !text.empty() && text.back() == '\n';
    std::vector<std::string> lines = SplitLines(std::move(text));
    if (lines.empty()) return ParamFileStatus::Short;
    const int v = WinAtoi(lines[0]);

    CTyd_Inf tyd(tydOut);
    CZmn_Inf zmn(zmnOut);
    CCalArea area(areaOut);

    // One step per line the version has, in file order.
    using Step = std::function<void(const NumberLine&, const std::string&)>;
    std::vector<Step> steps;
    steps.push_back([&](const NumberLine& l, const std::string&) {
        l.Int(0, tyd.m_nDirMode);
        l.Index(1, tyd.m_nDir16, kDir16Count);
        l.Double(2, tyd.m_dDirAngle);
    });
    steps.push_back([&](const NumberLine& l, const std::string&) {
        l.Double(0, tyd.m_dH0);
        l.Double(1, tyd.m_dT0);
    });
    // Division counts below 1 keep their field: the solver divides by both, and a
    // calculation file refuses them.
    auto division = [](const NumberLine& l, int index, int& field) {
        int n = field;
        l.Int(index, n);
        if (n >= 1) field = n;
    };
    steps.push_back([&](const NumberLine& l, const std::string&) {
        l.Double(0, tyd.m_dTide);
        division(l, 1, tyd.m_nDirDiv);
    });
    steps.push_back([&](const NumberLine& l, const std::string&) {
        l.Double(0, tyd.m_dSmax);
        division(l, 1, tyd.m_nFreqDiv);
    });
    if (v > 9) {
        steps.push_back([&](const NumberLine& l, const std::string&) {
            l.Double(0, tyd.m_dSpreadRight);
            l.Double(1, tyd.m_dSpreadLeft);
        });
    }
    steps.push_back([&](const NumberLine& l, const std::string&) {
        CPointD o = area.GetOrigin();
        l.Double(0, o.m_dX);
        l.Double(1, o.m_dY);
        area.SetOrigin(o.m_dX, o.m_dY);
    });
    steps.push_back([&](const NumberLine& l, const std::string&) {
        int ny = area.GetMeshCountY(), nx = area.GetMeshCountX();
        l.Int(0, ny);  // rows first
        l.Int(1, nx);
        // A negative count keeps its field; counts that together are too many nodes for
        // a calculation file keep both.
        if (ny < 0) ny = area.GetMeshCountY();
        if (nx < 0) nx = area.GetMeshCountX();
        if (!MeshCountsFit(nx, ny)) return;
        area.SetMeshCountY(ny);
        area.SetMeshCountX(nx);
    });
    steps.push_back([&](const NumberLine&, const std::string& s) { area.SetMeshSize(WinAtof(s)); });
    steps.push_back([&](const NumberLine& l, const std::string&) {
        l.Int(0, tyd.m_nOutDirSense);
        l.Int(1, tyd.m_bBreaking);
    });
    if (v > 9) {
        steps.push_back([&](const NumberLine& l, const std::string&) {
            l.Int(0, tyd.m_bFreeRotation);
            l.Double(1, zmn.m_dRotation);
        });
    }
    steps.push_back([&](const NumberLine& l, const std::string&) {
        l.Index(0, zmn.m_nPaperSize, kPaperSizeCount);
        l.Int(1, zmn.m_nPaperOrient);
    });
    steps.push_back([&](const NumberLine& l, const std::string&) {
        l.Int(0, zmn.m_nMarginTop);
        l.Int(1, zmn.m_nMarginBottom);
        l.Int(2, zmn.m_nMarginRight);
        l.Int(3, zmn.m_nMarginLeft);
    });
    steps.push_back([&](const NumberLine& l, const std::string&) {
        l.Int(0, zmn.m_nFrameHeight);
        l.Int(1, zmn.m_nFrameWidth);
    });
    steps.push_back([&](const NumberLine& l, const std::string&) {
        l.Int(0, zmn.m_bDrawFileName);
        if (v > 11) l.Int(1, zmn.m_nScaleStyle);
    });
    steps.push_back([&](const NumberLine& l, const std::string&) {
        l.Int(0, zmn.m_bDrawContour);
        l.Int(1, zmn.m_bFillLand);
        l.Index(2, zmn.m_nLandColor, kLandColorCount);
    });
    steps.push_back([&](const NumberLine& l, const std::string&) {
        l.Double(0, zmn.m_dContTextSize);
        l.Double(1, zmn.m_dMapTextSize);
        if (v > 8) l.Double(2, zmn.m_dDirTextSize);
    });
    if (v > 7)
        steps.push_back([&](const NumberLine&, const std::string& s) { zmn.m_bDrawLandGrid = WinAtoi(s); });
    if (v > 10) {
        steps.push_back([&](const NumberLine& l, const std::string&) {
            l.Int(0, zmn.m_bDrawContourValue);
            l.Double(1, zmn.m_dVectorMin);
            l.Double(2, zmn.m_dVectorMax);
            l.Int(3, zmn.m_nDecimals);
        });
    }

    // A file that stops short of its version takes the lines it has; the fields of the
    // missing lines keep their values. Its last line, when it has no line end, was cut
    // off while being written and is not trusted either.
    const bool isShort = lines.size() - 1 < steps.size();
    if (isShort && !endsWithNewline) lines.pop_back();
    const std::size_t available = lines.empty() ? 0 : lines.size() - 1;
    for (std::size_t k = 0; k < steps.size() && k < available; ++k) {
        const std::string& s = lines[k + 1];
        steps[k](NumberLine(s), s);
    }

    tydOut = tyd;
    zmnOut = zmn;
    areaOut = area;
    return isShort ? ParamFileStatus::Short : ParamFileStatus::Read;
}

std::string FormatParamFile(const CTyd_Inf& t, const CZmn_Inf& z, const CCalArea& a) {
    TextWriter w;
    const CPointD o = a.GetOrigin();
    w.Line(Sprintf("%d", kParamFileVersion));
    w.Line(Sprintf("%d,%d,%f", t.m_nDirMode, t.m_nDir16, t.m_dDirAngle));
    w.Line(Sprintf("%f,%f", t.m_dH0, t.m_dT0));
    w.Line(Sprintf("%f,%d", t.m_dTide, t.m_nDirDiv));
    w.Line(Sprintf("%f,%d", t.m_dSmax, t.m_nFreqDiv));
    w.Line(Sprintf("%f,%f", t.m_dSpreadRight, t.m_dSpreadLeft));
    w.Line(Sprintf("%f,%f", o.m_dX, o.m_dY));
    w.Line(Sprintf("%d,%d", a.GetMeshCountY(), a.GetMeshCountX()));
    w.Line(Sprintf("%f", a.GetMeshSize()));
    w.Line(Sprintf("%d,%d", t.m_nOutDirSense, t.m_bBreaking));
    w.Line(Sprintf("%d,%f", t.m_bFreeRotation, z.m_dRotation));
    w.Line(Sprintf("%d,%d", z.m_nPaperSize, z.m_nPaperOrient));
    w.Line(Sprintf("%d,%d,%d,%d", z.m_nMarginTop, z.m_nMarginBottom, z.m_nMarginRight, z.m_nMarginLeft));
    w.Line(Sprintf("%d,%d", z.m_nFrameHeight, z.m_nFrameWidth));
    w.Line(Sprintf("%d,%d", z.m_bDrawFileName, z.m_nScaleStyle));
    w.Line(Sprintf("%d,%d,%d", z.m_bDrawContour, z.m_bFillLand, z.m_nLandColor));
    w.Line(Sprintf("%f,%f,%f", z.m_dContTextSize, z.m_dMapTextSize, z.m_dDirTextSize));
    w.Line(Sprintf("%d", z.m_bDrawLandGrid));
    w.Line(Sprintf("%d,%f,%f,%d", z.m_bDrawContourValue, z.m_dVectorMin, z.m_dVectorMax, z.m_nDecimals));
    return w.Text();
}

bool WriteParamFile(const std::string& path, const CTyd_Inf& tyd, const CZmn_Inf& zmn,
                    const CCalArea& area, std::string* err) {
    return AtomicWriteFile(path, FormatParamFile(tyd, zmn, area), err);
}

ParamFileStatus LoadDefaultsFile() {
    return ReadParamFile(StartFolderFile(kParamFileName), g_tydInfDefault, g_zmnInfDefault,
                         g_calcAreaDefault);
}

bool SaveDefaultsFile() {
    return WriteParamFile(StartFolderFile(kParamFileName), g_tydInfDefault, g_zmnInfDefault,
                          g_calcAreaDefault, nullptr);
}

}  // namespace wv
