// Marks and frames: 100 (the drawing frame), 109 (north mark), 110 (incident-direction
// mark), 17-19 (output-point data frames).
#include "calcview/tyd_view.h"

#include "draw/marks_draw.h"
#include "draw/terrain_draw.h"

namespace wv {

namespace {

class MarkHandler : public ModeHandler {
public:
    bool Handles(int m) const override { return m == 100 || m == 109 || m == 110 || (m >= 17 && m <= 19); }

    void LButtonDown(CTydView& v, CPointD w, CPoint) override {
        ViewState& s = v.State();
        CTydDoc& doc = v.Doc();
        const DrawContext ctx = v.Context();
        switch (s.mode) {
        case 100:
            v.WithMarks([&](CDC& dc) { DrawDrawingFrame(ctx, &dc, s.scrollX, s.scrollY); });
            doc.m_zmn.m_dCenterX = w.m_dX;
            doc.m_zmn.m_dCenterY = w.m_dY;
            v.WithMarks([&](CDC& dc) { DrawDrawingFrame(ctx, &dc, s.scrollX, s.scrollY); });
            v.SetModified();
            break;
        case 109:
            v.WithMarks([&](CDC& dc) { DrawNorthMark(ctx, &dc, s.scrollX, s.scrollY, 0); });
            doc.m_zmn.m_ptNorthMark = w;
            v.WithMarks([&](CDC& dc) { DrawNorthMark(ctx, &dc, s.scrollX, s.scrollY, 1); });
            v.SetModified();
            break;
        case 110:
            v.WithMarks([&](CDC& dc) { DrawIncidentMark(ctx, &dc, s.scrollX, s.scrollY, 0); });
            doc.m_zmn.m_ptWaveMark = w;
            v.WithMarks([&](CDC& dc) { DrawIncidentMark(ctx, &dc, s.scrollX, s.scrollY, 1); });
            v.SetModified();
            break;
        case 17: {
            CDC* dc = v.Host() ? v.Host()->BeginMarks() : nullptr;
            BeginMoveCalcPointFrame(s, ctx, dc, w.m_dX, w.m_dY);
            if (dc) v.Host()->EndMarks();
            break;
        }
        case 18: {
            CDC* dc = v.Host() ? v.Host()->BeginMarks() : nullptr;
            MoveCalcPointFrame(s, doc, ctx, dc, w.m_dX, w.m_dY);
            if (dc) v.Host()->EndMarks();
            break;
        }
        case 19: {
            CDC* dc = v.Host() ? v.Host()->BeginMarks() : nullptr;
            ResetCalcPointFrame(s, doc, ctx, dc, w.m_dX, w.m_dY);
            if (dc) v.Host()->EndMarks();
            break;
        }
        default:
            break;
        }
    }

    bool LButtonUp(CTydView&, CPoint) override { return true; }

    bool RButtonDown(CTydView& v) override {
        ViewState& s = v.State();
        if (s.mode != 18) return false;
        const DrawContext ctx = v.Context();
        const int i = s.selIndex;
        v.WithMarks([&](CDC& dc) {
            DrawCalcPoints(&dc, s.coord, s.clientW, s.clientH, s.scrollX, s.scrollY, i, 1);
            DrawCalcPointFrames(ctx, &dc, s.scrollX, s.scrollY, i, 1);
            DrawCalcPoints(&dc, s.coord, s.clientW, s.clientH, s.scrollX, s.scrollY, i, 2);
            DrawCalcPointFrames(ctx, &dc, s.scrollX, s.scrollY, i, 2);
        });
        s.selIndex = -1;
        s.mode = 17;
        return true;
    }
};

}  // namespace

std::unique_ptr<ModeHandler> MakeMarkHandler() { return std::make_unique<MarkHandler>(); }

}  // namespace wv
