// The shared mouse-interaction routines of both views, driven on a bare view state.
#include "draw/view_helpers.h"

#include "calcdoc/tyd_doc.h"
#include "platform/recording_dc.h"

#include <gtest/gtest.h>

#include <cmath>

namespace wv {
namespace {

ViewState Window(int w = 800, int h = 600) {
    ViewState v;
    v.clientW = w;
    v.clientH = h;
    v.coord.SetOrigin(1000.0, 2000.0);
    v.coord.SetScale(0.5);
    v.CentreScroll();
    return v;
}

// The view position of a world point and back, as a mouse would give it.
CPointD ToView(const ViewState& v, double x, double y) {
    v.coord.WorldToView(&x, &y);
    return CPointD(x, y);
}

CPointD WindowCentreWorld(const ViewState& v) {
    double x = v.scrollX + v.clientW / 2, y = v.scrollY + v.clientH / 2;
    v.coord.ViewToWorld(&x, &y);
    return CPointD(x, y);
}

TEST(ViewHelpersZoom, ClickZoomsAboutThePointWhichMovesToTheCentre) {
    ViewState v = Window();
    v.mode = 11;
    const CPointD m = ToView(v, 1100.0, 1900.0);
    ASSERT_TRUE(ZoomAtPoint(v, m.m_dX, m.m_dY));
    EXPECT_EQ(v.mode, 10);
    EXPECT_DOUBLE_EQ(v.coord.GetScale(), 0.6);
    const CPointD c = WindowCentreWorld(v);
    EXPECT_NEAR(c.m_dX, 1100.0, 1e-6);
    EXPECT_NEAR(c.m_dY, 1900.0, 1e-6);
    EXPECT_TRUE(v.TakeRedraw());
    for (int i = 0; i < 4; ++i) {
        v.mode = 11;
        ZoomAtPoint(v, v.scrollX + 400.0, v.scrollY + 300.0);
    }
    EXPECT_NEAR(v.coord.GetScale(), 0.5 * std::pow(1.2, 5), 1e-12);
}

TEST(ViewHelpersZoom, ModesAndSmallDrags) {
    struct Case { int mode; CRect drag; int modeAfter; double factor; };
    const Case cases[] = {
        {21, {}, 20, 0.8},
        {12, {100, 100, 109, 300}, 10, 1.2},  // 9 x 200: a click
        {12, {100, 100, 300, 109}, 10, 1.2},
        {22, {300, 100, 100, 105}, 20, 0.8},  // normalised before it is measured
    };
    for (const Case& c : cases) {
        ViewState v = Window();
        v.mode = c.mode;
        v.rcDrag = c.drag;
        ASSERT_TRUE(ZoomAtPoint(v, v.scrollX + 10.0, v.scrollY + 10.0)) << c.mode;
        EXPECT_EQ(v.mode, c.modeAfter);
        EXPECT_DOUBLE_EQ(v.coord.GetScale(), 0.5 * c.factor) << c.mode;
        EXPECT_EQ(v.rcDrag, CRect{});
    }
    for (int mode : {0, 10, 20, 30, 80, 82}) {
        ViewState v = Window();
        v.mode = mode;
        EXPECT_FALSE(ZoomAtPoint(v, 0.0, 0.0));
        EXPECT_EQ(v.mode, mode);
        EXPECT_FALSE(v.redraw);
    }
}

TEST(ViewHelpersZoom, RectangleInFitsItAndOutShrinksTheWindowIntoIt) {
    ViewState v = Window(800, 600);
    v.mode = 12;
    v.rcDrag = {300, 200, 500, 300};  // 200 x 100 view units about client (400, 250)
    CPointD centre(v.scrollX + 400.0, v.scrollY + 250.0);
    v.coord.ViewToWorld(&centre.m_dX, &centre.m_dY);
    ASSERT_TRUE(ZoomAtPoint(v, 0, 0));
    // 400 x 200 world metres into 800 x 600: the smaller ratio 2.0 less a tenth.
    EXPECT_NEAR(v.coord.GetScale(), 1.8, 1e-12);
    const CPointD c = WindowCentreWorld(v);
    EXPECT_NEAR(c.m_dX, centre.m_dX, 1e-6);
    EXPECT_NEAR(c.m_dY, centre.m_dY, 1e-6);
    EXPECT_EQ(v.mode, 10);

    ViewState o = Window(800, 600);
    o.mode = 22;
    o.rcDrag = {0, 0, 400, 200};  // the window's content shrinks into 400 x 200
    ASSERT_TRUE(ZoomAtPoint(o, 0, 0));
    EXPECT_NEAR(o.coord.GetScale(), 0.5 * 0.5, 1e-12);  // larger ratio: 400/1600
    EXPECT_EQ(o.mode, 20);
}

TEST(ViewHelpersZoom, EmptyWindowKeepsTheScale) {
    ViewState v = Window(0, 0);
    v.mode = 12;
    v.rcDrag = {0, 0, 100, 100};
    ASSERT_TRUE(ZoomAtPoint(v, 0, 0));
    EXPECT_DOUBLE_EQ(v.coord.GetScale(), 0.5);
    EXPECT_TRUE(std::isfinite(v.coord.GetScale()));
}

TEST(ViewHelpersDrag, PressMovesEachDragModeToItsPressedState) {
    const int table[][2] = {{10, 11}, {20, 21}, {80, 81}, {5, 6}, {44, 45}, {0, 0}, {30, 30}, {108, 108}};
    for (const auto& row : table) {
        ViewState v;
        v.mode = row[0];
        BeginDrag(v, 7, 9);
        EXPECT_EQ(v.mode, row[1]);
        EXPECT_EQ(v.rcDrag.left, 7);
        EXPECT_EQ(v.rcDrag.top, 9);
    }
}

TEST(ViewHelpersRotate, AngleNormalisation) {
    const double table[][2] = {
        {0.0, 0.0}, {0.04, 0.0}, {360.0, 0.0}, {370.0, -350.0}, {90.0, -270.0}, {-90.0, -90.0},
        {-410.0, -50.0},  // -350 turned by -60
        {-720.0, 0.0}, {1085.0, -355.0}, {-360.0, 0.0},
    };
    for (const auto& row : table) EXPECT_NEAR(NormaliseViewAngle(row[0]), row[1], 1e-9) << row[0];
}

TEST(ViewHelpersRotate, IncrementFromTheMouseAroundTheCentre) {
    CSokuten pts;
    const int slot = pts.Add(1000.0, 2000.0, 0);
    struct Case { double dx, dy; double angleBefore; double stored; };
    const Case cases[] = {
        {50.0, 0.0, 0.0, 0.0},      // right of the centre: no turn
        {0.0, -50.0, 0.0, -270.0},  // above it: 90
        {0.0, -50.0, -350.0, -260.0},
        {-50.0, 0.0, -350.0, -170.0},
        {0.0, 50.0, -350.0, -80.0},  // -350 - 90 = -440: -80, not 0
    };
    for (const Case& c : cases) {
        ViewState v = Window();
        v.coord.SetAngle(c.angleBefore);
        v.mode = 30;
        ASSERT_TRUE(BeginRotate(v, 1001.0, 2001.0, pts));
        EXPECT_EQ(v.mode, 31);
        EXPECT_EQ(v.point1, slot);
        EXPECT_EQ(v.last.m_dX, kNoLastPoint);
        const CPointD p = ToView(v, 1000.0, 2000.0);
        ASSERT_TRUE(EndRotate(v, p.m_dX + c.dx, p.m_dY + c.dy, pts));
        double a = 1.0;
        v.coord.GetAngle(&a);
        EXPECT_NEAR(a, c.stored, 1e-9) << c.dx << "," << c.dy << " from " << c.angleBefore;
        EXPECT_EQ(v.mode, 30);
        // The centre stays where it was on the screen only when the increment is applied
        // to the origin as well.
        const CPointD q = ToView(v, 1000.0, 2000.0);
        EXPECT_TRUE(std::isfinite(q.m_dX));
    }
}

TEST(ViewHelpersRotate, NoCentreChangesNothing) {
    CSokuten pts;
    ViewState v = Window();
    v.mode = 30;
    EXPECT_FALSE(BeginRotate(v, 0.0, 0.0, pts));
    EXPECT_EQ(v.mode, 30);
    EXPECT_EQ(v.point1, -1);
    v.point1 = 3;
    EXPECT_FALSE(EndRotate(v, 0.0, 0.0, pts));
}

TEST(ViewHelpersFit, EmptySingleAndManyPoints) {
    {
        CSokuten pts;
        CSansyutu calc;
        ViewState v = Window();
        FitAll(v, pts, calc);
        EXPECT_DOUBLE_EQ(v.coord.GetScale(), 1.0);
        double x, y;
        v.coord.GetOrigin(&x, &y);
        EXPECT_EQ(x, 15000.0);
        EXPECT_EQ(y, 15000.0);
        EXPECT_EQ(pts.GetExtentPt1().m_dX, 15000.0);
        EXPECT_EQ(v.scrollX, 15000 - 400);
        EXPECT_TRUE(v.redraw);
    }
    {
        CSokuten pts;
        CSansyutu calc;
        pts.Add(500.0, 700.0, 0);
        ViewState v = Window();
        FitAll(v, pts, calc);
        EXPECT_DOUBLE_EQ(v.coord.GetScale(), 1.0);
        const CPointD c = WindowCentreWorld(v);
        EXPECT_NEAR(c.m_dX, 500.0, 1e-6);
        EXPECT_NEAR(c.m_dY, 700.0, 1e-6);
    }
    {
        CSokuten pts;
        CSansyutu calc;
        pts.Add(0.0, 0.0, 0);
        calc.Add(1000.0, 500.0);  // output points count too
        ViewState v = Window(800, 600);
        FitAll(v, pts, calc);
        EXPECT_NEAR(v.coord.GetScale(), 0.8 * 0.9, 1e-12);
        const CPointD c = WindowCentreWorld(v);
        EXPECT_NEAR(c.m_dX, 500.0, 1e-6);
        EXPECT_NEAR(c.m_dY, 250.0, 1e-6);
        EXPECT_NEAR(pts.GetExtentPt2().m_dX, 1000.0, 1e-9);
    }
}

TEST(ViewHelpersFit, TurnedDisplayFitsTheTurnedExtentAndEmptyWindowKeepsScale) {
    CSokuten pts;
    CSansyutu calc;
    pts.Add(0.0, 0.0, 0);
    pts.Add(1000.0, 0.0, 0);
    ViewState v = Window(800, 800);
    v.coord.SetAngle(-90.0);  // the line stands upright: 1000 m of height, none of width
    FitAll(v, pts, calc);
    EXPECT_NEAR(v.coord.GetScale(), 0.8 * 0.9, 1e-9);

    ViewState e = Window(0, 0);
    FitAll(e, pts, calc);
    EXPECT_DOUBLE_EQ(e.coord.GetScale(), 0.5);
}

TEST(ViewHelpersArea, VerticesRepeatedOrCrossingAreRefused) {
    std::unique_ptr<CPointList> poly;
    CPointD rubber;
    ASSERT_TRUE(AddAreaVertex(rubber, 0.0, 0.0, poly));
    ASSERT_TRUE(poly);
    EXPECT_EQ(rubber, CPointD(0.0, 0.0));
    EXPECT_FALSE(AddAreaVertex(rubber, 0.0, 0.0, poly));
    EXPECT_TRUE(AddAreaVertex(rubber, 10.0, 0.0, poly));
    EXPECT_TRUE(AddAreaVertex(rubber, 10.0, 10.0, poly));
    EXPECT_TRUE(AddAreaVertex(rubber, 0.0, 10.0, poly));
    EXPECT_FALSE(AddAreaVertex(rubber, 5.0, -5.0, poly));  // crosses the first edge
    EXPECT_EQ(poly->GetCount(), 4);
}

TEST(ViewHelpersMeasure, DistanceAndModes) {
    ViewState v;
    BeginMeasure(v, 1.0, 2.0);
    EXPECT_EQ(v.mode, 33);
    EXPECT_EQ(v.last.m_dY, kNoLastPoint);
    double shown = 0.0;
    EXPECT_DOUBLE_EQ(ShowMeasuredDistance(v, 4.0, 6.0, [&](double d) { shown = d; }), 5.0);
    EXPECT_DOUBLE_EQ(shown, 5.0);
    EXPECT_EQ(v.mode, 32);
}

TEST(ViewHelpersChain, NoLineFoundChangesNothing) {
    CLine lines;
    ViewState v;
    v.mode = 40;
    EXPECT_FALSE(PickLineChain(v, nullptr, 0.0, 0.0, 0, lines));
    EXPECT_EQ(v.selIndex, -1);
    EXPECT_EQ(v.mode, 40);
}

TEST(ViewHelpersFrames, MoveAndResetAnOutputPointFrame) {
    CTydDoc doc;
    CSansyutu calc;
    calc.Add(100.0, 100.0);
    calc.Add(500.0, 500.0);
    doc.m_pCalcPoints.assign(CSansyutu::kCapacity, CPointD::Unset());
    doc.m_zmn.m_nScale = 1000;
    ViewState v = Window();
    DrawContext ctx = v.Context();
    ctx.doc = &doc;
    ctx.calcPoints = &calc;
    CRecordingDC dc(800, 600);
    ASSERT_TRUE(BeginMoveCalcPointFrame(v, ctx, &dc, 480.0, 490.0));
    EXPECT_EQ(v.selIndex, 1);
    EXPECT_EQ(v.mode, 18);
    ASSERT_TRUE(MoveCalcPointFrame(v, doc, ctx, &dc, 520.0, 530.0));
    EXPECT_EQ(doc.m_pCalcPoints[1], CPointD(520.0, 530.0));
    EXPECT_TRUE(doc.IsModified());
    doc.SetModifiedFlag(false);
    ASSERT_TRUE(ResetCalcPointFrame(v, doc, ctx, &dc, 480.0, 490.0));
    EXPECT_EQ(doc.m_pCalcPoints[1], CPointD::Unset());
    EXPECT_TRUE(doc.IsModified());

    CSansyutu none;
    ctx.calcPoints = &none;
    ViewState w = Window();
    w.mode = 17;
    EXPECT_FALSE(BeginMoveCalcPointFrame(w, ctx, &dc, 0.0, 0.0));
    EXPECT_EQ(w.mode, 17);
}

}  // namespace
}  // namespace wv
