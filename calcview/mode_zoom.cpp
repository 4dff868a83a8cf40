// Zoom and rotation modes: 10-12 and 20-22 (temporary zooms), 30-31 (turning the display
// about a survey point).
#include "calcview/tyd_view.h"

#include "calc/calc_state.h"
#include "draw/marks_draw.h"

namespace wv {

namespace {

class ZoomHandler : public ModeHandler {
public:
    bool Handles(int m) const override { return (m >= 10 && m <= 12) || (m >= 20 && m <= 22) || m == 30 || m == 31; }

    void LButtonDown(CTydView& v, CPointD w, CPoint c) override {
        ViewState& s = v.State();
        switch (s.mode) {
        case 10:
        case 20:
            BeginDrag(s, c.x, c.y);
            break;
        case 30:
            if (BeginRotate(s, w.m_dX, w.m_dY)) v.m_ptRotGuide = CPointD(kNoLastPoint, kNoLastPoint);
            break;
        case 31: {
            if (!EndRotate(s, v.m_ptMouse.m_dX, v.m_ptMouse.m_dY)) break;
            v.m_ptRotGuide = CPointD(kNoLastPoint, kNoLastPoint);
            CTydDoc& doc = v.Doc();
            doc.m_zmn.m_dRotation = v.Angle();
            doc.ClearMeshData(0);
            doc.ClearWaveResults(v);
            v.SetModified();
            break;
        }
        default:
            break;
        }
    }

    bool MouseMove(CTydView& v, CPoint) override {
        ViewState& s = v.State();
        if (s.mode != 31) return false;
        v.WithMarks([&](CDC& dc) {
            if (v.m_ptRotGuide.m_dX > -999999999.0 && v.m_ptRotGuide.m_dY > -999999999.0)
                DrawRotateGuide(&dc, s.coord, s.scrollX, s.scrollY, s.point1, v.m_ptRotGuide);
            DrawRotateGuide(&dc, s.coord, s.scrollX, s.scrollY, s.point1, v.m_ptMouse);
        });
        v.m_ptRotGuide = v.m_ptMouse;
        return true;
    }

    bool RButtonDown(CTydView& v) override {
        ViewState& s = v.State();
        if (s.mode != 10 && s.mode != 20) return false;
        s.mode = s.savedMode;
        s.savedMode = 0;
        return true;
    }
};

}  // namespace

std::unique_ptr<ModeHandler> MakeZoomHandler() { return std::make_unique<ZoomHandler>(); }

}  // namespace wv
