// A bay: the shore runs along y = 300 and round a bay reaching north to y = 650 between
// x = 300 and 700; the land north of it is one block. Depth lines offshore at
// y = -100 (height -10), y = 100 (-5), y = 200 (-4), and across the bay at y = 450 (-3).
// The shore points stand 1 m above the tide (0), so the shore stops interpolation.
//
// By hand (depth = 0 - height):
//   y = 0        halfway between -10 and -5 on every line through it      7.5
//   y = 100/200  on a depth line                                          5 / 4
//   bay, y = 300 between the lines at 200 and 450, 100/250 of the way      3.6
//   bay, y = 400 150/250 of the way                                       3.2
//   bay, y = 500 and 600: only the line at 450 below, the shore above      3.0
#include "calc_test_util.h"
#include "calcdoc/tyd_doc.h"
#include "platform/ui_service.h"

#include <gtest/gtest.h>

namespace wv {
namespace {

using test::Area;
using test::MPt;
using test::NodeDepth;

class CalcBayTest : public ::testing::TestWithParam<double> {
protected:
    void SetUp() override {
        test::ResetTerrain();
        test::UseScratchStartFolder();
        a.m = 100.0;
        a.cols = 11;
        a.rows = 9;
        a.x0 = 30000.0;
        a.y0 = -12000.0;
        a.angle = GetParam();
        const std::vector<int> shore = {MPt(a, -100, 300, 1), MPt(a, 300, 300, 1), MPt(a, 300, 650, 1),
                                        MPt(a, 700, 650, 1), MPt(a, 700, 300, 1), MPt(a, 1100, 300, 1)};
        test::Chain(shore, kLineTerrain);
        for (const auto& [y, h] : {std::pair{-100.0, -10.0}, {100.0, -5.0}, {200.0, -4.0}})
            test::Ln(MPt(a, -2003.7, y, h), MPt(a, 3001.3, y, h), kLineDepth, 0, h);
        test::Ln(MPt(a, 300, 450, -3), MPt(a, 700, 450, -3), kLineDepth, 0, -3.0);
        const CPointD ref = a.World(100, 700);
        g_blocks.Add(ref.m_dX, ref.m_dY);
        a.ApplyTo(doc);
    }
    void TearDown() override { test::ResetTerrain(); }

    Area a;
    CTydDoc doc;
    CTydViewData view{doc};
    ScriptedUi ui;
    ScopedUi scopedUi{&ui};
    test::ScriptedProgress progress;
};

TEST_P(CalcBayTest, SensibleMeshWithHandValues) {
    CalcViewFrame frame = a.Frame(0.37);
    frame.originX = a.x0 + 250.0;
    frame.originY = a.y0 - 80.0;
    ASSERT_EQ(doc.OnCalcDepth(view, frame), 0);
    EXPECT_EQ(doc.m_info.m_nCalcState, 1);

    auto sea = [](int r, int c) {
        if (r <= 2) return true;
        return r <= 6 && c >= 4 && c <= 6;  // inside the bay, off its shores
    };
    int expected = 0;
    for (int r = 0; r < a.rows; ++r)
        for (int c = 0; c < a.cols; ++c) {
            expected += sea(r, c);
            EXPECT_EQ(!std::isnan(NodeDepth(doc, r, c)), sea(r, c)) << r << "," << c;
        }
    EXPECT_EQ(doc.m_mesh.GetCount(), expected);

    for (int c = 0; c < a.cols; ++c) {
        EXPECT_NEAR(NodeDepth(doc, 0, c), 7.5, 1e-4) << c;
        EXPECT_NEAR(NodeDepth(doc, 1, c), 5.0, 1e-4) << c;
        EXPECT_NEAR(NodeDepth(doc, 2, c), 4.0, 1e-4) << c;
    }
    for (int c = 4; c <= 6; ++c) {
        EXPECT_NEAR(NodeDepth(doc, 3, c), 3.6, 1e-4) << c;
        EXPECT_NEAR(NodeDepth(doc, 4, c), 3.2, 1e-4) << c;
        EXPECT_NEAR(NodeDepth(doc, 5, c), 3.0, 1e-4) << c;
        EXPECT_NEAR(NodeDepth(doc, 6, c), 3.0, 1e-4) << c;
    }
    EXPECT_NEAR(doc.m_mesh.GetMinDepth(), 3.0, 1e-4);
    EXPECT_NEAR(doc.m_mesh.GetMaxDepth(), 7.5, 1e-4);
    EXPECT_NEAR(doc.m_hcheckLines.GetMinDepth(), 3.0, 1e-4);

    // One outline: the shore inside the area, closed along the north border.
    ASSERT_EQ(doc.m_blkXY.GetCount(), 1);
    EXPECT_GT(doc.m_blkXY.GetPointCount(0), 8);
    // Triangles: 20 full cells offshore, and the bay.
    EXPECT_GT(doc.m_nTriNodes, 40);
}

INSTANTIATE_TEST_SUITE_P(Rotations, CalcBayTest, ::testing::Values(0.0, 23.0, -140.0));

}  // namespace
}  // namespace wv
