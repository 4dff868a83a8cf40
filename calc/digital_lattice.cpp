#include "calc/digital_lattice.h"

#include "calc/calc_doc_data.h"
#include "calc/calc_state.h"
#include "calc/mesh_orientation.h"
#include "core/geometry.h"
#include "core/sansyutu.h"
#include "core/tik_inf.h"
#include "platform/text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace wv {

namespace {

// The display-interval set of a map type.
int IntervalSetOf(int type) {
    switch (type) {
        case kLatticeHeight: return CZmn_Inf::kIntervalHeight;
        case kLatticeVector: return CZmn_Inf::kIntervalVector;
        case kLatticeDepth: return CZmn_Inf::kIntervalDepth;
        default: return CZmn_Inf::kIntervalDir;
    }
}

// A length in metres as a whole number of mesh spacings, rounding up from just below
// the half (the interval dialog asks for whole multiples, typed with some slack).
int InSpacings(double metres, double spacing) { return DoubleToInt(std::floor(metres / spacing + 0.501)); }

// The lattice lines through `ref` with step `step` that lie on a grid of `count` lines:
// ref, ref +- step, ref +- 2 step, ... A step of 0 or below gives the reference line
// alone (it would otherwise never leave it).
std::vector<int> LatticeLines(int ref, int step, int count) {
    std::vector<int> lines;
    if (step <= 0) {
        if (ref >= 0 && ref < count) lines.push_back(ref);
        return lines;
    }
    // The first lattice line at or above 0, found at once rather than by walking from a
    // reference far off the grid.
    long long first = static_cast<long long>(ref) % step;
    if (first < 0) first += step;
    for (long long k = first; k < count; k += step) lines.push_back(static_cast<int>(k));
    return lines;
}

void SetFlag(CDigitalMap& mesh, int type, int node, std::int16_t flag) {
    switch (type) {
        case kLatticeHeight: mesh.SetHeightFlag(node, flag); break;
        case kLatticeVector: mesh.SetVectorFlag(node, flag); break;
        case kLatticeDepth: mesh.SetDepthFlag(node, flag); break;
        default: mesh.SetDirFlag(node, flag); break;
    }
}

}  // namespace

void SetDigitalMapNodes(CTydDocData& doc, int type) {
    // The lattice is laid over the mesh whose flags it sets. A mesh that belongs to its
    // area has the area's node counts; the area alone can claim counts that no mesh
    // holds (a calculation opened without its side archive keeps its area), and walking
    // those would take minutes and gigabytes to flag nothing. The steps stay in the
    // area's spacing, which the mesh's matches.
    CDigitalMap& mesh = doc.m_mesh;
    const int cols = mesh.GetMeshCountX();
    const int rows = mesh.GetMeshCountY();
    const double size = doc.m_calcArea.GetMeshSize();

    for (int i = 0; i < mesh.GetCount(); ++i) SetFlag(mesh, type, i, kFlagHidden);

    const CZmnInterval& set = doc.m_zmn.m_interval[IntervalSetOf(type)];
    const int r0 = InSpacings(set.m_ptRef.m_fY, size);
    const int c0 = InSpacings(set.m_ptRef.m_fX, size);
    const int dr = InSpacings(set.m_dStepDown, size);
    const int dc = InSpacings(set.m_dStepAcross, size);

    const std::vector<int> columns = LatticeLines(c0, dc, cols);
    for (int r : LatticeLines(r0, dr, rows)) {
        for (int c : columns) {
            const int node = mesh.GetNodeIndex(r, c);
            if (node >= 0) SetFlag(mesh, type, node, kFlagShown);
        }
    }
}

void UpdateCalcPointResults(CTydViewData& view, double viewAngle) {
    CTydDocData& doc = view.GetDocument();
    view.ResetCalcPointValues();
    if (doc.m_info.m_nCalcState != kCalcResults) return;

    const double theta = viewAngle;
    const double rad = theta * 3.141592653589793 / 180.0;
    const double c = std::cos(rad);
    const double s = std::sin(rad);
    const CPointD origin = doc.m_calcArea.GetOrigin();
    const int kind = doc.m_zmn.m_nValueType;
    // Output directions count from north, counter-clockwise unless the conditions ask
    // for clockwise (or give the incident direction clockwise themselves).
    const bool clockwise = (doc.m_info.m_nDirMode == 0 && doc.m_info.m_nOutDirSense == 1) ||
                           doc.m_info.m_nDirMode == 2;

    for (std::size_t slot = 0; slot < std::min(view.m_pCalcPtValue.size(), static_cast<std::size_t>(std::max(0, g_calcPoints.GetSize()))); ++slot) {
        const CSansyutuZokusei point = g_calcPoints.GetAt(static_cast<int>(slot));
        if (point.GetUse() == 0) continue;
        const CPointD p = point.GetPos();
        double x = 0.0, y = 0.0;
        WorldToScreen(p.m_dX, p.m_dY, origin.m_dX, origin.m_dY, c, s, 1.0, 0.0, 0.0, &x, &y);
        double value = kNoValue, dir = kNoDirection;
        doc.m_mesh.GetValueAt(x, y, kind, &value, &dir);
        if (dir < 990.0) {
            dir = 90.0 - dir - (g_tikInf.m_dNorth - theta);
            if (clockwise) dir = -dir;
            dir = NormalizeDegrees(dir);
        }
        view.m_pCalcPtValue[slot] = value;
        view.m_pCalcPtDir[slot] = static_cast<float>(dir);
    }
}

}  // namespace wv
