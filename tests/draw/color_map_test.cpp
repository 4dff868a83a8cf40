// The colour ramp and the screen colour map, the map checked call by call on a 3 x 3 mesh
// worked out by hand.
#include "draw/color_map.h"
#include "tests/draw/draw_test_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace wv {
namespace {

const double kB[5] = {0.0, 1.0, 2.0, 3.0, 4.0};

TEST(GetRampColor, SegmentsEdgesAndOutOfRange) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct { double v; int white; COLORREF c; } cases[] = {
        {0.0, 0, RGB(0, 0, 255)},            // B0: blue
        {0.5, 0, RGB(0, 127, 255)},          // blue to cyan, t truncated
        {1.0, 0, RGB(0, 255, 255)},          // B1: cyan
        {0.99995, 0, RGB(0, 255, 255)},      // within 0.0001 below B1: upper segment, t clamps to 0
        {1.5, 0, RGB(0, 255, 128)},          // cyan to green
        {2.5, 0, RGB(127, 255, 0)},          // green to yellow
        {3.5, 0, RGB(255, 128, 0)},          // yellow to red
        {4.0, 0, RGB(255, 0, 0)},            // B4: pure red
        {4.0000001, 0, RGB(0, 0, 0)},        // just above: out of range
        {-0.1, 1, RGB(255, 255, 255)},       // below, white switch
        {nan, 0, RGB(0, 0, 0)},              // not a number: out of range
        {nan, 1, RGB(255, 255, 255)},
    };
    for (const auto& t : cases) EXPECT_EQ(GetRampColor(t.v, kB, t.white), t.c) << t.v;
}

TEST(GetRampColor, FlatRangeGivesTheTopColourInsteadOfDividingByZero) {
    double b[5];
    MakeRampBreakpoints(2.0, 2.0, b);
    EXPECT_EQ(GetRampColor(2.0, b, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetRampColor(2.1, b, 1), RGB(255, 255, 255));
}

// A 3 x 3 mesh, 12 m apart, at half a pixel per metre: s = 6 px, so A = 6, F = 2,
// G = 4 and sub-points 6 m apart. Height ratios by row (row 0 at the bottom):
//   row 2:  2.0   3.0   none (-1)
//   row 1:  1.0   land  3.0
//   row 0:  0.0   1.0   2.0
// Scrolled so that mesh point (x, y) lands at client (10 + x/2, 20 - y/2).
class ColorMap3x3 : public ::testing::Test {
protected:
    void SetUp() override {
        const double land = std::nan("");
        s.SetMesh(3, 3, 12.0, {{0.0, 1.0, 2.0}, {1.0, land, 3.0}, {2.0, 3.0, -1.0}});
        s.doc.m_zmn.m_nValueType = 1;
        s.doc.m_contParaFig[1].SetColorFrom(0.0);
        s.doc.m_contParaFig[1].SetColorTo(4.0);
        s.coord.SetScale(0.5);
        s.ctx.clientW = 60;
        s.ctx.clientH = 40;
    }
    drawtest::Scene s;
};

TEST_F(ColorMap3x3, EveryCornerCaseCallByCall) {
    CRecordingDC dc(60, 40);
    DrawColorMap(s.ctx, &dc, 14990, 14980);
    const std::vector<std::string> expected = {
        "FillSolidRect(10,8,12,12,0x8CB4D2)",  // land backdrop of the mesh rectangle
        "FillSolidRect(18,4,8,8,0x2D52A0)",    // pass 1: the node without a result
        "FillSolidRect(20,12,4,4,0x00FFFF)",   // pass 2: (1, 2), its only neighbour (2, 2) has none
        "FillSolidRect(14,6,4,4,0x00FFFF)",    // pass 2: (2, 1) in the last row
        // cell (0, 0): corner 3 is land; the triangle from corner 1
        "FillSolidRect(8,15,4,4,0xFF7F00)",
        "FillSolidRect(11,15,4,4,0xFFFF00)",
        "FillSolidRect(8,18,4,4,0xFF0000)",
        "FillSolidRect(11,18,4,4,0xFF7F00)",
        // cell (0, 1): corner 1 is land; the triangle from corner 3
        "FillSolidRect(17,15,4,4,0x00FF00)",
        "FillSolidRect(17,18,4,4,0x80FF00)",
        "FillSolidRect(14,18,4,4,0xFFFF00)",
        // cell (0, 2), last column: the edge up from corner 0
        "FillSolidRect(20,18,4,4,0x00FF00)",
        "FillSolidRect(20,15,4,4,0x00FF7F)",
        // cell (1, 0): corner 2 is land; the triangle from corner 0
        "FillSolidRect(8,12,4,4,0xFFFF00)",
        "FillSolidRect(8,9,4,4,0x80FF00)",
        "FillSolidRect(11,9,4,4,0x00FF00)",
        // cell (1, 1): only corners 1 and 2: the diagonal between them
        "FillSolidRect(14,6,4,4,0x00FFFF)",
        "FillSolidRect(17,9,4,4,0x00FFFF)",
        // cell (2, 0), last row: the edge from corner 0 to corner 2
        "FillSolidRect(8,6,4,4,0x00FF00)",
        "FillSolidRect(11,6,4,4,0x00FF7F)",
        // black strips: left, top, right, bottom
        "FillSolidRect(0,0,10,40,0x000000)",
        "FillSolidRect(0,0,60,8,0x000000)",
        "FillSolidRect(22,0,38,40,0x000000)",
        "FillSolidRect(0,20,60,20,0x000000)",
    };
    EXPECT_EQ(dc.Log(), expected);
    EXPECT_EQ(dc.Calls().size(), expected.size());  // no pen, brush or ROP
}

TEST_F(ColorMap3x3, SmallMeshesAreOneSquarePerNode) {
    s.coord.SetScale(0.25);  // s = 3: A = 4, F = 1
    s.ctx.landFill = 0;
    CRecordingDC dc(60, 40);
    DrawColorMap(s.ctx, &dc, 14990, 14980);
    const auto log = dc.Log();
    ASSERT_EQ(log.size(), 8u + 4u);  // eight sea nodes, four strips
    EXPECT_EQ(log[0], "FillSolidRect(8,18,4,4,0xFF0000)");       // (0, 0), value 0
    EXPECT_EQ(log[7], "FillSolidRect(14,12,4,4,0x2D52A0)");      // (2, 2), no result
}

TEST_F(ColorMap3x3, RangeLeftAtZeroTakesTheMeshRangeAndNoSeaNodeDrawsNothing) {
    s.doc.m_contParaFig[1].SetColorFrom(0.0);
    s.doc.m_contParaFig[1].SetColorTo(0.0);
    s.doc.m_mesh.SetMinHeightRatio(0.0f);
    s.doc.m_mesh.SetMaxHeightRatio(3.0f);
    s.coord.SetScale(0.25);
    CRecordingDC dc(60, 40);
    DrawColorMap(s.ctx, &dc, 14990, 14980);
    // Value 3.0 is now the top of the range: red.
    EXPECT_EQ(dc.Log()[1 + 6], "FillSolidRect(11,12,4,4,0x0000FF)");  // (2, 1)
    CRecordingDC none(60, 40);
    s.doc.m_mesh.SetCount(0);
    DrawColorMap(s.ctx, &none, 14990, 14980);
    EXPECT_TRUE(none.Calls().empty());
}

TEST_F(ColorMap3x3, NothingWhileTheCalculationHasNoResults) {
    // After the depth mesh and after a run until its results are read in, every ratio is
    // 0 and the colour range unset: a flat range of zeros, once painted all red.
    CCalValue v;
    for (int i = 0; i < s.doc.m_mesh.GetCount(); ++i) {
        v = s.doc.m_mesh.GetAt(i);
        v.SetHeightRatio(0.0f);
        v.SetEquivRatio(0.0f);
        s.doc.m_mesh.SetAt(i, v);
    }
    s.doc.m_mesh.SetMinHeightRatio(0.0f);
    s.doc.m_mesh.SetMaxHeightRatio(0.0f);
    s.doc.m_contParaFig[1].SetColorFrom(0.0);
    s.doc.m_contParaFig[1].SetColorTo(0.0);
    for (int state : {1, 2}) {
        s.doc.m_info.m_nCalcState = state;
        CRecordingDC dc(60, 40);
        DrawColorMap(s.ctx, &dc, 14990, 14980);
        EXPECT_TRUE(dc.Calls().empty()) << "state " << state << ": " << (dc.Log().empty() ? "" : dc.Log()[0]);
    }
    // Loaded, the same mesh is a figure again.
    s.doc.m_info.m_nCalcState = 3;
    CRecordingDC loaded(60, 40);
    DrawColorMap(s.ctx, &loaded, 14990, 14980);
    EXPECT_FALSE(loaded.Calls().empty());
}

}  // namespace
}  // namespace wv
