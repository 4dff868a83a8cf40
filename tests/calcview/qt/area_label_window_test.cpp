// The mesh count under the calculation area, on the real calculation window: a 5 m mesh
// of 264 x 254 nodes dragged out with the mouse, at every wave direction the view turns
// to, with free rotation and at two zooms. The label must show its characters as each
// one shows drawn by itself: no later drawing, and no neighbouring character's cell,
// may take pixels from a glyph or add any.
#include "tests/calcview/qt/bay_window.h"

#include "core/command_ids.h"
#include "platform/text.h"
#include "tests/support/label_pixels.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace wv {
namespace {

constexpr int kColumns = 264, kRows = 254;

class AreaLabel : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(bw.started);
        sv = bw.OpenCalc("BAY1.TYD");
        ASSERT_NE(sv, nullptr);
        view = sv->Controller();
        view->Doc().m_calcArea.SetMeshSize(5.0);
    }

    // Shows open sea at the given pixels per metre, far from the bay and from the drawing
    // frame around it (1:50000, 20 km wide), so that nothing else lies where the label
    // goes; then drags the area out in the calculation-area mode from (40, 30).
    void DragArea(double scale) {
        ViewState& s = view->State();
        s.coord.SetScale(scale);
        s.coord.SetOrigin(-40000.0, -40000.0);
        s.coord.SetOffset(kViewCentre, kViewCentre);
        s.CentreScroll();
        view->ApplyViewChange();
        ASSERT_TRUE(view->Execute(ids::ID_CALC_AREA));
        const double step = 5.0 * scale;
        const CPointI from{40, 30};
        const CPointI to{from.x + static_cast<int>(std::ceil((kColumns - 1) * step)),
                         from.y + static_cast<int>(std::ceil((kRows - 1) * step))};
        sv->OnLButtonDown(MK_LBUTTON, from);
        sv->OnMouseMove(MK_LBUTTON, {from.x + 2, from.y + 2});
        sv->OnMouseMove(MK_LBUTTON, to);
        sv->OnLButtonUp(0, to);
        ASSERT_EQ(view->Doc().m_calcArea.GetMeshCountX(), kColumns);
        ASSERT_EQ(view->Doc().m_calcArea.GetMeshCountY(), kRows);
    }

    // The label lies 20 pixels below the area's origin, 14 x 14.
    void ExpectLabelReads(const std::string& what) {
        const QImage img = sv->WindowImage();
        const CCalArea& a = view->Doc().m_calcArea;
        double ox = a.GetOrigin().m_dX, oy = a.GetOrigin().m_dY;
        view->State().coord.WorldToView(&ox, &oy);
        ox -= view->State().scrollX;
        oy -= view->State().scrollY;
        QRect cells;
        const QImage alone = test::TextDrawnAlone(Utf8ToCp932(Sprintf("メッシュ数：%d", kColumns * kRows)), ox,
                                                  oy + 20, 14, img.size(), &cells);
        ASSERT_TRUE(img.rect().contains(cells)) << what;
        EXPECT_EQ(test::DifferingPixels(img, alone, cells), 0)
            << what << ": the label on the window\n"
            << test::LitRows(img, cells) << "its characters drawn alone\n"
            << test::LitRows(alone, cells);
    }

    test::BayWindow bw;
    TydScrollView* sv = nullptr;
    CTydView* view = nullptr;
};

TEST_F(AreaLabel, MeshCountShowsEveryGlyphWholeAtEveryDirectionAndZoom) {
    CTydDoc& doc = view->Doc();
    for (const double scale : {0.24, 0.5}) {
        for (int dir = 0; dir < 16; ++dir) {
            doc.m_info.m_bFreeRotation = 0;
            doc.m_info.m_nDirMode = 0;
            doc.m_info.m_nDir16 = dir;
            DragArea(scale);
            ExpectLabelReads("direction " + std::to_string(dir) + ", scale " + std::to_string(scale));
        }
        for (const double angle : {30.0, -135.0}) {
            doc.m_info.m_bFreeRotation = 1;
            doc.m_zmn.m_dRotation = angle;
            DragArea(scale);
            ExpectLabelReads("free rotation " + std::to_string(angle) + ", scale " + std::to_string(scale));
        }
    }
}

}  // namespace
}  // namespace wv
