// Small meshes for the contour tests: one value per node, used both as the depth and as
// the height ratio (with an offshore height of 1), triangulated as the program does.
#pragma once

#include "calc/calc_doc_data.h"
#include "calc/contour_run.h"
#include "core/calc_progress.h"
#include "tests/calcdoc/calcdoc_test_util.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace wv::contourtest {

using roadtest::TestDoc;

// Rows from the bottom (y = 0), NaN for land; nodes 10 m apart.
inline void MakeField(CTydViewData& view, int rows, int cols, const std::vector<double>& values) {
    CTydDocData& doc = view.GetDocument();
    roadtest::SetMesh(doc, rows, cols, values);
    CDigitalMap& mesh = doc.m_mesh;
    for (int i = 0; i < mesh.GetCount(); ++i) {
        CCalValue v = mesh.GetAt(i);
        v.SetHeightRatio(v.GetDepth());
        v.SetEquivRatio(v.GetDepth());
        mesh.SetAt(i, v);
    }
    mesh.SetWaveHeight(1.0);
    mesh.CalcResultRange();
    roadtest::Triangulate(view);
    for (int k = 0; k < 2; ++k) {
        doc.m_pTriMinValue[k] = doc.m_pTriMinDepth;
        doc.m_pTriMaxValue[k] = doc.m_pTriMaxDepth;
    }
}

// A polyline of the contour group as plain points.
struct Pt {
    float x, y;
    bool operator==(const Pt&) const = default;
};
inline std::vector<Pt> Line(const CTydDocData& doc, int i) {
    std::vector<Pt> out;
    for (int j = 0; j < doc.m_contGroup.GetPointCount(i); ++j) {
        const CPointF p = doc.m_contGroup.GetPoint(i, j).m_point;
        out.push_back({p.m_fX, p.m_fY});
    }
    return out;
}

// Parameters of one figure: the ladder and the extra levels.
inline void SetLevels(CContPara& para, double from, double to, double interval, std::vector<double> extra = {}) {
    para.SetFrom(from);
    para.SetTo(to);
    para.SetInterval(interval);
    para.FreeLevels();
    para.SetLevelCount(static_cast<int>(extra.size()));
    if (!extra.empty()) para.SetLevels(extra.data());
}

// Progress windows that nobody sees, for the length of a test.
struct QuietProgress {
    QuietProgress() {
        SetCalcProgressFactory([] { return std::unique_ptr<CCalcProgressDlg>(new CTestCalcProgressDlg()); });
    }
    ~QuietProgress() { SetCalcProgressFactory(nullptr); }
};

}  // namespace wv::contourtest
