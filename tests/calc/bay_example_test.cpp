// The example project's bay (examples/bay/BAY/BAY.TIK) over the area that fits it:
// origin (0, 200), 20 m mesh, 121 x 121 nodes.
//
// The project's sea bed follows one family of curves y = coast(x) + S round the bay, with
// depth lines at 2, 5, 10, 15, 20, 25 and 30 m on curves of the family; the coast points
// stand above the tide. So, by hand:
//   - south of the coast: land;
//   - between the coast and the 2 m line every grid line meets the dry coast on one side
//     and the 2 m line on the other: exactly 2.0 m;
//   - between the 10 m and the 15 m lines every bracket lies between those lines (or
//     soundings of the axis transect between them): 10 to 15 m;
//   - beyond the 30 m line: 30 m or a little deeper where the transect reaches.
// Nodes within 20 m (north-south) of a curve are left out: the lines are chords of the
// curves, 110 m long.
#include "calc_test_util.h"
#include "calcdoc/tyd_doc.h"
#include "platform/ui_service.h"
#include "project/tik_doc.h"

#include <gtest/gtest.h>

namespace wv {
namespace {

// The curve at offshore distance s (docs/project.md, "The example bay").
double CurveY(double x, double s) {
    const double u = x - 1200.0;
    const double bends = 14.0 * std::sin(x / 130.0) + 9.0 * std::sin(x / 57.0 + 1.0);
    return 400.0 + 0.0016 * u * u + bends * std::exp(-s / 300.0) + s;
}
double OffshoreOfDepth(double d) { return -1226.0 * std::log(1.0 - d / 40.0); }

TEST(CalcBayExample, SensibleMeshOverTheExampleProject) {
    test::ResetTerrain();
    test::UseScratchStartFolder();
    ScriptedUi ui;
    ScopedUi scoped(&ui);
    test::ScriptedProgress progress;
    CTikDoc project;
    ASSERT_TRUE(project.OnOpenDocument(std::string(WAVORA_SOURCE_DIR) + "/examples/bay/BAY/BAY.TIK"));

    CTydDoc doc;
    doc.m_calcArea.SetOrigin(0.0, 200.0);
    doc.m_calcArea.SetMeshSize(20.0);
    doc.m_calcArea.SetMeshCountX(121);
    doc.m_calcArea.SetMeshCountY(121);
    CTydViewData view(doc);
    CalcViewFrame frame;
    frame.originX = 1200.0;
    frame.originY = 1400.0;
    frame.scale = 0.5;
    ASSERT_EQ(doc.OnCalcDepth(view, frame), 0);
    EXPECT_EQ(doc.m_info.m_nCalcState, 1);
    ASSERT_EQ(doc.m_blkXY.GetCount(), 1);
    EXPECT_GT(doc.m_blkXY.GetPointCount(0), 10);  // the ring round the land

    const double s2 = OffshoreOfDepth(2.0), s10 = OffshoreOfDepth(10.0), s15 = OffshoreOfDepth(15.0),
                 s30 = OffshoreOfDepth(30.0);
    int land = 0, band2 = 0, band10 = 0, deep = 0;
    for (int r = 0; r < 121; ++r)
        for (int c = 0; c < 121; ++c) {
            const double x = 20.0 * c, y = 200.0 + 20.0 * r;
            const double d = test::NodeDepth(doc, r, c);
            if (y < CurveY(x, 0.0) - 20.0) {
                EXPECT_TRUE(std::isnan(d)) << x << "," << y;
                ++land;
            } else if (y > CurveY(x, 0.0) + 20.0 && y < CurveY(x, s2) - 20.0) {
                EXPECT_EQ(d, 2.0) << x << "," << y;
                ++band2;
            } else if (y > CurveY(x, s10) + 20.0 && y < CurveY(x, s15) - 20.0) {
                EXPECT_GE(d, 9.95) << x << "," << y;
                EXPECT_LE(d, 15.3) << x << "," << y;
                ++band10;
            } else if (y > CurveY(x, s30) + 20.0) {
                EXPECT_GE(d, 29.99) << x << "," << y;
                EXPECT_LT(d, 40.0) << x << "," << y;
                ++deep;
            }
        }
    // Every kind of node is there in numbers.
    EXPECT_GT(land, 3000);
    EXPECT_GT(band2, 50);
    EXPECT_GT(band10, 300);
    EXPECT_GT(deep, 100);
    EXPECT_NEAR(doc.m_mesh.GetMinDepth(), 2.0, 1e-6);
    EXPECT_GT(doc.m_nTriNodes, 2 * 8000);
    test::ResetTerrain();
}

}  // namespace
}  // namespace wv
