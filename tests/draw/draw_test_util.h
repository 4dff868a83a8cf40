// A small calculation and view for the figure tests: the coordinate helper at its
// defaults (world (0, 0) at view (15000, 15000)), a scale, a scroll and a client size.
#pragma once

#include "calc/calc_doc_data.h"
#include "draw/draw_context.h"
#include "platform/recording_dc.h"

#include <cmath>
#include <vector>

namespace wv::drawtest {

// A calculation document without archives.
class SceneDoc : public CTydDocData {
public:
    void Serialize(CArchive&) override {}
};

struct Scene {
    SceneDoc doc;
    CCoordWnd coord;
    CTik_Inf tik;
    CSokuten points;
    CLine lines;
    CBlock blocks;
    CSansyutu calcPoints;
    DrawContext ctx;

    Scene() {
        ctx.coord = &coord;
        ctx.doc = &doc;
        ctx.tikInf = &tik;
        ctx.surveyPoints = &points;
        ctx.lines = &lines;
        ctx.blocks = &blocks;
        ctx.calcPoints = &calcPoints;
        ctx.clientW = 200;
        ctx.clientH = 200;
    }
    void Scroll(int sx, int sy) { ctx.scrollX = sx; ctx.scrollY = sy; }

    // A rows x cols mesh of the given spacing; values[r][c] is the height ratio (NaN:
    // land, no node). Depth 5 m everywhere, direction 0.
    void SetMesh(int rows, int cols, double spacing, const std::vector<std::vector<double>>& values) {
        CDigitalMap& m = doc.m_mesh;
        int n = 0;
        for (const auto& row : values)
            for (double v : row) n += std::isnan(v) ? 0 : 1;
        m.SetMeshCountX(cols);
        m.SetMeshCountY(rows);
        m.SetMeshSize(spacing);
        m.SetCount(n);
        m.AllocValues();
        m.AllocNodeIndex();
        m.AllocDepthFlag();
        m.AllocHeightFlag();
        m.AllocDirFlag();
        m.AllocVectorFlag();
        m.SetWaveHeight(1.0);
        int i = 0;
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) {
                const double v = values[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
                if (std::isnan(v)) continue;
                CCalValue cv;
                cv.SetPos(static_cast<float>(c * spacing), static_cast<float>(r * spacing));
                cv.SetDepth(5.0f);
                cv.SetHeightRatio(static_cast<float>(v));
                cv.SetEquivRatio(static_cast<float>(v));
                m.SetAt(i, cv);
                m.SetNodeIndex(r, c, i);
                ++i;
            }
        doc.m_calcArea.SetMeshSize(spacing);
        doc.m_calcArea.SetMeshCountX(cols);
        doc.m_calcArea.SetMeshCountY(rows);
        doc.m_info.m_nCalcState = 3;
    }
};

// The state a routine must leave behind (the current position may move).
inline DcState Settled(const CDC& dc) {
    DcState s = dc.GetState();
    s.position = CPoint{};
    return s;
}

// Only the calls of one name, described with their state.
inline std::vector<std::string> Only(const CRecordingDC& dc, const std::string& op) {
    std::vector<std::string> out;
    for (const auto& c : dc.Calls())
        if (c.op == op) out.push_back(c.Describe(true));
    return out;
}

}  // namespace wv::drawtest
