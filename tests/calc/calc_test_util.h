// Terrain building and progress scripting for the calculation engine's tests.
#pragma once

#include "calc/calc_doc_data.h"
#include "calc/calc_view_frame.h"
#include "core/block.h"
#include "core/calc_progress.h"
#include "core/geometry.h"
#include "core/line.h"
#include "core/line_chain.h"
#include "core/sansyutu.h"
#include "core/sokuten.h"
#include "platform/files.h"

#include <cmath>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace wv::test {

// A calculation document without archives.
class TestDoc : public CTydDocData {
public:
    void Serialize(CArchive&) override {}
};

inline void ResetTerrain() {
    g_surveyPoints.RemoveAll();
    g_lines.RemoveAll();
    g_blocks.RemoveAll();
    g_calcPoints.Reset();
}

// A survey point with a height (on the tide datum).
inline int Pt(double x, double y, double height) {
    const int slot = g_surveyPoints.Add(x, y, 0);
    CSokutenZokusei rec = g_surveyPoints.GetAt(slot);
    rec.SetDepth(height);
    g_surveyPoints.SetAt(slot, rec);
    return slot;
}

inline int Ln(int a, int b, int kind, int heightType = kHeightFromPoints, double ownHeight = 0.0) {
    const CPointD pa = g_surveyPoints.GetAt(a).GetPos();
    const CPointD pb = g_surveyPoints.GetAt(b).GetPos();
    return g_lines.Add(pa.m_dX, pa.m_dY, pb.m_dX, pb.m_dY, 0, heightType, ownHeight, kind, a, b);
}

// A chain of lines through the points; closed when `close`.
inline std::vector<int> Chain(const std::vector<int>& pts, int kind, bool close = false,
                              int heightType = kHeightFromPoints, double ownHeight = 0.0) {
    std::vector<int> lines;
    for (std::size_t i = 1; i < pts.size(); ++i) lines.push_back(Ln(pts[i - 1], pts[i], kind, heightType, ownHeight));
    if (close) lines.push_back(Ln(pts.back(), pts.front(), kind, heightType, ownHeight));
    return lines;
}

// A calculation area whose mesh frame is the world turned by `angle` degrees about
// the origin; the view frame that goes with it.
struct Area {
    double x0 = 0.0, y0 = 0.0, m = 10.0;
    int cols = 5, rows = 5;
    double angle = 0.0;

    // World position of a point given in mesh-frame metres.
    CPointD World(double mx, double my) const {
        const double a = angle * 3.141592653589793 / 180.0;
        return CPointD(x0 + mx * std::cos(a) - my * std::sin(a), y0 + mx * std::sin(a) + my * std::cos(a));
    }
    void ApplyTo(CTydDocData& doc) const {
        doc.m_calcArea.SetOrigin(x0, y0);
        doc.m_calcArea.SetMeshSize(m);
        doc.m_calcArea.SetMeshCountX(cols);
        doc.m_calcArea.SetMeshCountY(rows);
    }
    CalcViewFrame Frame(double scale = 1.0) const {
        CalcViewFrame f;
        f.angle = angle;
        f.scale = scale;
        f.originX = x0;
        f.originY = y0;
        return f;
    }
};

// Survey point at mesh-frame metres of the area.
inline int MPt(const Area& a, double mx, double my, double height) {
    const CPointD w = a.World(mx, my);
    return Pt(w.m_dX, w.m_dY, height);
}

// Depth of the node at mesh row r, column c; NaN for land.
inline double NodeDepth(const CTydDocData& doc, int r, int c) {
    const int i = doc.m_mesh.GetNodeIndex(r, c);
    if (i < 0) return std::nan("");
    return doc.m_mesh.GetAt(i).GetDepth();
}

// What one progress window went through, kept after the window is gone.
struct ProgressLog {
    std::string caption;
    int pumps = 0;
    bool cancelled = false;
    bool destroyed = false;
};

// Installs progress windows that press Cancel at scripted pumps: the n-th window made
// cancels at its cancelAt[n]-th pump (-1 or missing: never).
class ScriptedProgress {
public:
    explicit ScriptedProgress(std::vector<int> cancelAt = {}) : m_cancelAt(std::move(cancelAt)) {
        SetCalcProgressFactory([this] {
            const int n = static_cast<int>(m_logs.size());
            m_logs.push_back(std::make_shared<ProgressLog>());
            const int at = n < static_cast<int>(m_cancelAt.size()) ? m_cancelAt[n] : -1;
            return std::unique_ptr<CCalcProgressDlg>(new Window(at, m_logs.back()));
        });
    }
    ~ScriptedProgress() { SetCalcProgressFactory(nullptr); }
    const std::vector<std::shared_ptr<ProgressLog>>& Logs() const { return m_logs; }

private:
    class Window : public CTestCalcProgressDlg {
    public:
        Window(int at, std::shared_ptr<ProgressLog> log) : CTestCalcProgressDlg(at), m_log(std::move(log)) {}
        void PumpMessages() override {
            CTestCalcProgressDlg::PumpMessages();
            m_log->pumps = PumpCount();
            m_log->cancelled = m_bCancel == 1;
            m_log->caption = GetWindowText();
        }
        void DestroyWindow() override {
            m_log->caption = GetWindowText();
            m_log->destroyed = true;
            CTestCalcProgressDlg::DestroyWindow();
        }

    private:
        std::shared_ptr<ProgressLog> m_log;
    };

    std::vector<int> m_cancelAt;
    std::vector<std::shared_ptr<ProgressLog>> m_logs;
};

// Points the start folder at the test's scratch folder.
inline void UseScratchStartFolder() {
    SetStartFolder(std::filesystem::current_path().string() + "/");
}

}  // namespace wv::test
