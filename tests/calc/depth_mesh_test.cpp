// Mesh depths that can be worked out by hand.
#include "calc/calc_state.h"
#include "calc/depth_crossings.h"
#include "calc/depth_grid.h"
#include "calc/depth_mesh.h"
#include "calc_test_util.h"
#include "platform/text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <regex>
#include <sstream>

namespace wv {
namespace {

using test::Area;
using test::MPt;
using test::NodeDepth;

constexpr auto kStraight = DepthMeshOptions::Method::Straightforward;

class CalcDepthTest : public ::testing::TestWithParam<DepthMeshOptions::Method> {
protected:
    void SetUp() override {
        test::ResetTerrain();
        test::UseScratchStartFolder();
    }
    void TearDown() override { test::ResetTerrain(); }

    int Run(const Area& area, double tide, double scale = 1.0) {
        area.ApplyTo(doc);
        doc.m_info.m_dTide = tide;
        UpdatePointLineLinks(kLinksTerrain);
        DepthMeshOptions options;
        options.method = GetParam();
        options.threads = 3;
        return CalcMeshDepth(view, area.Frame(scale), options, &report);
    }

    // Two depth lines along the rows, at y = -5 (height h1) and y = yTop (h2), long enough
    // for every grid line through the area to cross both.
    void SlopeLines(const Area& a, double h1, double h2, double yTop = 45.0, double yBottom = -5.0) {
        test::Ln(MPt(a, -203.7, yBottom, 0.0), MPt(a, 241.3, yBottom, 0.0), kLineDepth, 0, h1);
        test::Ln(MPt(a, -203.7, yTop, 0.0), MPt(a, 241.3, yTop, 0.0), kLineDepth, 0, h2);
    }
    // Water 4 m deep everywhere between the lines: without a block every node would be sea.
    void FlatSea(const Area& a, double yTop, double yBottom = -5.0) { SlopeLines(a, -4.0, -4.0, yTop, yBottom); }
    void Block(const Area& a, double mx, double my) {
        const CPointD ref = a.World(mx, my);
        g_blocks.Add(ref.m_dX, ref.m_dY);
    }
    // The project of the phase tests: the slope, a ring round (12..28, 12..28), a block in it.
    void RingProject(const Area& a) {
        SlopeLines(a, -2.0, -12.0);
        test::Chain({MPt(a, 12, 12, -4), MPt(a, 28, 12, -4), MPt(a, 28, 28, -4), MPt(a, 12, 28, -4)}, kLineTerrain,
                    true);
        Block(a, 20, 20);
    }

    // The plane of SlopeLines(-2, -12) falls 0.2 per metre northwards: the node on row r
    // (y = 10 r) lies 3 + 2r below the tide level 0.
    void ExpectSlope(const Area& a, const std::string& tag = "") {
        for (int r = 0; r < a.rows; ++r)
            for (int c = 0; c < a.cols; ++c)
                EXPECT_NEAR(NodeDepth(doc, r, c), 3.0 + 2.0 * r, 1e-4) << tag << r << "," << c;
    }
    // Land exactly at the nodes where land(r, c) holds.
    void ExpectLand(const Area& a, const std::function<bool(int, int)>& land, const std::string& tag = "") {
        for (int r = 0; r < a.rows; ++r)
            for (int c = 0; c < a.cols; ++c)
                EXPECT_EQ(std::isnan(NodeDepth(doc, r, c)), land(r, c)) << tag << r << "," << c;
    }

    test::TestDoc doc;
    CTydViewData view{doc};
    DepthMeshReport report;
    test::ScriptedProgress progress;
};

// Heights -2 at y = -5 and -12 at y = 45: a plane.
TEST_P(CalcDepthTest, PlaneSlopeBetweenTwoDepthLines) {
    Area a;
    SlopeLines(a, -2.0, -12.0);
    ASSERT_EQ(Run(a, 0.0), 0);
    EXPECT_EQ(doc.m_mesh.GetCount(), 25);
    EXPECT_EQ(doc.m_mesh.GetBaseLevel(), 0.0);
    EXPECT_EQ(doc.m_mesh.GetMeshSize(), 10.0);
    ExpectSlope(a);
    EXPECT_NEAR(doc.m_mesh.GetMinDepth(), 3.0, 1e-4);
    EXPECT_NEAR(doc.m_mesh.GetMaxDepth(), 11.0, 1e-4);
    // Sea nodes numbered row by row from the origin row.
    EXPECT_EQ(doc.m_mesh.GetNodeIndex(0, 2), 2);
    EXPECT_EQ(doc.m_mesh.GetNodeIndex(1, 0), 5);
    const CCalValue node = doc.m_mesh.GetAt(7);
    EXPECT_EQ(node.GetPos(), CPointF(20.0f, 10.0f));
    // Triangulated: 16 cells, two triangles each.
    EXPECT_EQ(doc.m_nTriNodes, 32);
}

// The same plane and the same depths in any rotation and zoom of the area: every family
// of grid lines brackets every node.
TEST_P(CalcDepthTest, RotatedAreasGiveTheSameDepths) {
    for (double angle : {30.0, 45.0, 90.0, 137.0, 180.0, -60.0, 270.0, 333.3}) {
        test::ResetTerrain();
        Area a;
        a.x0 = 1234.5;
        a.y0 = -678.9;
        a.angle = angle;
        SlopeLines(a, -2.0, -12.0);
        ASSERT_EQ(Run(a, 0.0, angle > 100.0 ? 2.5 : 0.4), 0) << angle;
        ExpectSlope(a, std::to_string(angle) + ": ");
    }
}

// Two terrain lines across the rows, each falling from -2 at y = -5 to -12 at y = 45: a
// crossing part way along a line takes the height in proportion to the distance.
TEST_P(CalcDepthTest, TerrainLineHeightsVaryLinearlyAlongTheLine) {
    Area a;
    for (double x : {-5.0, 45.0}) test::Ln(MPt(a, x, -5.0, -2.0), MPt(a, x, 45.0, -12.0), kLineTerrain);
    ASSERT_EQ(Run(a, 0.0), 0);
    ExpectSlope(a);
}

// Halfway and a quarter of the way from the start of a terrain line rising from 0 to 10.
TEST(CalcCrossings, TerrainLineHeightInProportionToTheDistance) {
    DepthLine line;
    line.kind = kLineTerrain;
    line.startHeight = 0.0;
    line.endHeight = 10.0;
    for (double y : {5.0, 2.5}) {
        GridLineCrossings out;
        AddLineCrossings(line, 0.0, 0.0, 10.0, 10.0, y, out);
        ASSERT_EQ(out.Count(), 1) << y;
        EXPECT_DOUBLE_EQ(out.pos[0], y);
        EXPECT_DOUBLE_EQ(out.val[0], y);
    }
}

TEST(CalcCrossings, EndsOnTheGridLineAndNarrowLines) {
    DepthLine depth;
    depth.kind = kLineDepth;
    depth.depth = -7.0;
    depth.startHeight = -1.0;
    depth.endHeight = -2.0;
    // Lying along the grid line: one crossing at each end, with the points' heights.
    GridLineCrossings along;
    AddLineCrossings(depth, 0.0, 3.0, 8.0, 3.0, 3.0, along);
    EXPECT_EQ(along.pos, (std::vector<double>{0.0, 8.0}));
    EXPECT_EQ(along.val, (std::vector<double>{-1.0, -2.0}));
    // Crossing inside: the line's own height.
    GridLineCrossings inner;
    AddLineCrossings(depth, 0.0, 0.0, 8.0, 6.0, 3.0, inner);
    EXPECT_EQ(inner.val, (std::vector<double>{-7.0}));
    // Nearly perpendicular (0.5 spread along the line): still crossed.
    GridLineCrossings steep;
    AddLineCrossings(depth, 4.0, 0.0, 4.5, 6.0, 3.0, steep);
    ASSERT_EQ(steep.Count(), 1);
    EXPECT_NEAR(steep.pos[0], 4.25, 1e-12);
    // A boundary line gives the dry height.
    DepthLine boundary;
    boundary.kind = kLineAuxiliary;
    boundary.heightType = kBoundaryValid;
    GridLineCrossings dry;
    AddLineCrossings(boundary, 0.0, 0.0, 8.0, 6.0, 3.0, dry);
    EXPECT_EQ(dry.val, (std::vector<double>{99.0}));
}

TEST(CalcCrossings, WhichLinesTakePart) {
    test::ResetTerrain();
    const int p = test::Pt(0, 0, 0), q = test::Pt(10, 0, 0);
    test::Ln(p, q, kLineUndefined);
    const int t0 = test::Ln(p, q, kLineTerrain, kHeightFromPoints);
    test::Ln(p, q, kLineTerrain, kBoundaryInvalid);
    const int t1 = test::Ln(p, q, kLineTerrain, kBoundaryValid);
    const int d = test::Ln(p, q, kLineDepth);
    const int x = test::Ln(p, q, kLineAuxiliary, kBoundaryInvalid);
    const std::vector<DepthLine> lines = CollectDepthLines(g_lines, g_surveyPoints);
    std::vector<int> slots;
    for (const DepthLine& l : lines) slots.push_back(l.slot);
    EXPECT_EQ(slots, (std::vector<int>{t0, t1, d, x}));
    test::ResetTerrain();
}

// A boundary line (height type 1) at y = 22 between the two depth lines: the nodes
// below it see only the lower line, those above only the upper one.
TEST_P(CalcDepthTest, BoundaryLineStopsInterpolation) {
    Area a;
    SlopeLines(a, -2.0, -12.0);
    test::Ln(MPt(a, -203.7, 22.0, 5.0), MPt(a, 241.3, 22.0, 5.0), kLineTerrain, kBoundaryValid);
    ASSERT_EQ(Run(a, 0.0), 0);
    for (int c = 0; c < 5; ++c) {
        for (int r = 0; r < 3; ++r) EXPECT_NEAR(NodeDepth(doc, r, c), 2.0, 1e-9) << r << "," << c;
        for (int r = 3; r < 5; ++r) EXPECT_NEAR(NodeDepth(doc, r, c), 12.0, 1e-9) << r << "," << c;
    }
}

// A short depth line through the origin node: nodes on one of its eight grid lines
// take its height, the others have no value and become land.
TEST_P(CalcDepthTest, NodesThatNoLineReachesAreLand) {
    Area a;
    test::Ln(MPt(a, -1.0, 1.3, 0.0), MPt(a, 1.0, -1.3, 0.0), kLineDepth, 0, -3.0);
    ASSERT_EQ(Run(a, 0.0), 0);
    EXPECT_NEAR(NodeDepth(doc, 0, 0), 3.0, 1e-6);
    EXPECT_NEAR(NodeDepth(doc, 4, 4), 3.0, 1e-6);  // the 45-degree line
    EXPECT_NEAR(NodeDepth(doc, 0, 4), 3.0, 1e-6);  // the origin row
    EXPECT_TRUE(std::isnan(NodeDepth(doc, 3, 4)));
    EXPECT_TRUE(std::isnan(NodeDepth(doc, 1, 3)));
}

// Depth lines at y = -10 (height -16) and along row 4 (height -6, its end points too):
// node heights -14 + 2r, all crossings wet for tide levels from -6 up.
TEST_P(CalcDepthTest, TideLevelIsTheDatumAndShallowNodesAreLand) {
    Area a;
    test::Ln(MPt(a, -203.7, -10.0, 0.0), MPt(a, 241.3, -10.0, 0.0), kLineDepth, 0, -16.0);
    test::Ln(MPt(a, -203.7, 40.0, -6.0), MPt(a, 241.3, 40.0, -6.0), kLineDepth, 0, -6.0);
    ASSERT_EQ(Run(a, -5.0), 0);
    EXPECT_EQ(doc.m_mesh.GetBaseLevel(), -5.0);
    for (int c = 0; c < 5; ++c) {
        for (int r = 0; r < 5; ++r) EXPECT_NEAR(NodeDepth(doc, r, c), 9.0 - 2.0 * r, 1e-4) << r << "," << c;
    }
    // At the tide level the top row is land.
    ASSERT_EQ(Run(a, -6.0), 0);
    for (int c = 0; c < 5; ++c) {
        EXPECT_TRUE(std::isnan(NodeDepth(doc, 4, c))) << c;
        EXPECT_NEAR(NodeDepth(doc, 0, c), 8.0, 1e-4) << c;
    }
    EXPECT_EQ(doc.m_mesh.GetCount(), 20);
}

TEST_P(CalcDepthTest, NoSeaNodeClearsEverythingSilently) {
    Area a;
    SlopeLines(a, 5.0, 1.0);  // all above the tide
    doc.m_info.m_nCalcState = kCalcResults;
    EXPECT_EQ(Run(a, 0.0), -1);
    EXPECT_EQ(doc.m_mesh.GetCount(), 0);
    EXPECT_EQ(doc.m_nTriNodes, 0);
    EXPECT_EQ(doc.m_info.m_nCalcState, kCalcNoMesh);
    ASSERT_FALSE(progress.Logs().empty());
    EXPECT_TRUE(progress.Logs()[0]->destroyed);
}

// A ring of terrain lines round (20..30, 20..30) with a block inside: the four nodes
// inside are land, the rest sea; the outline comes back in world coordinates, closed.
TEST_P(CalcDepthTest, BlockInsideARingIsLand) {
    for (double angle : {0.0, 38.0}) {
        test::ResetTerrain();
        Area a;
        a.cols = a.rows = 7;
        a.angle = angle;
        FlatSea(a, 65.0);
        const std::vector<int> ring = {MPt(a, 12, 12, -4), MPt(a, 38, 12, -4), MPt(a, 38, 38, -4), MPt(a, 12, 38, -4)};
        test::Chain(ring, kLineTerrain, true);
        Block(a, 25, 27);
        ASSERT_EQ(Run(a, 0.0), 0);
        for (int r = 0; r < 7; ++r)
            for (int c = 0; c < 7; ++c) {
                const bool inside = r >= 2 && r <= 3 && c >= 2 && c <= 3;
                EXPECT_EQ(std::isnan(NodeDepth(doc, r, c)), inside) << angle << ": " << r << "," << c;
                if (!inside) {
                    EXPECT_NEAR(NodeDepth(doc, r, c), 4.0, 1e-9);
                }
            }
        ASSERT_EQ(doc.m_blkXY.GetCount(), 1);
        ASSERT_EQ(doc.m_blkXY.GetPointCount(0), 5);
        const CPointD* v = doc.m_blkXY.GetPoints(0);
        EXPECT_NEAR(v[0].m_dX, v[4].m_dX, 1e-9);
        EXPECT_NEAR(v[0].m_dY, v[4].m_dY, 1e-9);
        for (int k = 0; k < 4; ++k) {
            bool matched = false;
            for (int s : ring) {
                const CPointD p = g_surveyPoints.GetAt(s).GetPos();
                matched |= std::hypot(p.m_dX - v[k].m_dX, p.m_dY - v[k].m_dY) < 1e-6;
            }
            EXPECT_TRUE(matched) << k;
        }
    }
}

// A single terrain line across the area at y = 25 with the block on its north side:
// rows 3 and 4 are land, the top border row included.
TEST_P(CalcDepthTest, BlockBesideALineAcrossTheAreaTakesTheBorder) {
    Area a;
    FlatSea(a, 45.0);
    test::Chain({MPt(a, -30, 25, 1), MPt(a, 20, 25, 1), MPt(a, 70, 25, 1)}, kLineTerrain);
    Block(a, 15, 35);
    ASSERT_EQ(Run(a, 0.0), 0);
    ExpectLand(a, [](int r, int) { return r >= 3; });
    EXPECT_TRUE(report.blockIssues.empty());
    // Outline: entry, the inner point, exit, exit pushed out, the two corners on the
    // north side, entry pushed out, entry again.
    EXPECT_EQ(doc.m_blkXY.GetPointCount(0), 8);
}

// A U open to the south, entering and leaving through the south side: with the block
// inside the U only its inside is land; with the block outside, everything but the
// inside of the U, the border walk going all the way round.
TEST_P(CalcDepthTest, OpenChainThroughOneSideClosesOnTheBlocksSide) {
    for (bool inside : {true, false}) {
        test::ResetTerrain();
        Area a;
        a.cols = a.rows = 7;
        FlatSea(a, 75.0, -15.0);
        test::Chain({MPt(a, 15, -20, 1), MPt(a, 15, 35, 1), MPt(a, 45, 35, 1), MPt(a, 45, -20, 1)}, kLineTerrain);
        Block(a, 30, inside ? 10 : 50);
        ASSERT_EQ(Run(a, 0.0), 0) << inside;
        const char* tag = inside ? "inside: " : "outside: ";
        ExpectLand(a, [&](int r, int c) { return (r <= 3 && c >= 2 && c <= 4) == inside; }, tag);
    }
}

// A reference point lying on the shore line itself counts as lying on its left: the
// shore runs east, so the north side is land.
TEST_P(CalcDepthTest, ReferencePointOnTheLineTakesItsLeftSide) {
    Area a;
    FlatSea(a, 45.0);
    test::Chain({MPt(a, -30, 25, 1), MPt(a, 20, 25, 1), MPt(a, 70, 25, 1)}, kLineTerrain);
    Block(a, 15, 25);
    ASSERT_EQ(Run(a, 0.0), 0);
    ExpectLand(a, [](int r, int) { return r >= 3; });
}

// A closed ring that reaches beyond the area is the outline as it is; the nodes inside
// it within the area become land.
TEST_P(CalcDepthTest, RingPartlyOutsideTheAreaIsStillTheOutline) {
    Area a;
    a.cols = a.rows = 7;
    FlatSea(a, 65.0);
    test::Chain({MPt(a, -12, 12, -4), MPt(a, 38, 12, -4), MPt(a, 38, 38, -4), MPt(a, -12, 38, -4)}, kLineTerrain, true);
    Block(a, 25, 27);
    ASSERT_EQ(Run(a, 0.0), 0);
    EXPECT_EQ(doc.m_blkXY.GetPointCount(0), 5);
    ExpectLand(a, [](int r, int c) { return r >= 2 && r <= 3 && c <= 3; });
}

TEST_P(CalcDepthTest, BlockWithoutTerrainLinesMarksNothing) {
    Area a;
    SlopeLines(a, -2.0, -12.0);
    g_blocks.Add(20.0, 20.0);
    ASSERT_EQ(Run(a, 0.0), 0);
    EXPECT_EQ(doc.m_mesh.GetCount(), 25);
    ASSERT_EQ(doc.m_blkXY.GetCount(), 1);
    EXPECT_EQ(doc.m_blkXY.GetPointCount(0), 0);
    EXPECT_TRUE(report.blockIssues.empty());
}

// A terrain line that ends inside the area cannot be closed along the border: the
// block is skipped and reported, and the calculation goes on.
TEST_P(CalcDepthTest, ChainEndingInsideTheAreaIsReported) {
    Area a;
    SlopeLines(a, -2.0, -12.0);
    test::Chain({MPt(a, -30, 25, 1), MPt(a, 20, 25, 1)}, kLineTerrain);
    g_blocks.Add(0.0, 35.0);
    ASSERT_EQ(Run(a, 0.0), 0);
    EXPECT_EQ(doc.m_mesh.GetCount(), 25);
    ASSERT_EQ(report.blockIssues.size(), 1u);
    EXPECT_EQ(report.blockIssues[0].block, 0);
    EXPECT_EQ(report.blockIssues[0].status, OutlineStatus::EndInside);
}

// Links that do not match the lines (a point that lost a link, as a point with more than
// eight lines does) can send the walk round a ring for ever: it stops and the block is
// reported.
TEST_P(CalcDepthTest, WalkThatGoesRoundInCirclesStops) {
    Area a;
    SlopeLines(a, -2.0, -12.0);
    const int t = MPt(a, 10, -20, -4);
    const std::vector<int> ring = {MPt(a, 10, 10, -4), MPt(a, 30, 10, -4), MPt(a, 30, 30, -4), MPt(a, 10, 30, -4)};
    const int tail = test::Ln(t, ring[0], kLineTerrain);
    const std::vector<int> lines = test::Chain(ring, kLineTerrain, true);
    Block(a, 5, -5);
    a.ApplyTo(doc);
    UpdatePointLineLinks(kLinksTerrain);
    CSokutenZokusei p0 = g_surveyPoints.GetAt(ring[0]);
    p0.ClearLines();
    p0.AddLine(lines[0]);
    p0.AddLine(lines[3]);
    g_surveyPoints.SetAt(ring[0], p0);
    ASSERT_NE(tail, lines[0]);
    DepthMeshOptions options;
    options.method = GetParam();
    ASSERT_EQ(CalcMeshDepth(view, a.Frame(), options, &report), 0);
    ASSERT_EQ(report.blockIssues.size(), 1u);
    EXPECT_EQ(report.blockIssues[0].status, OutlineStatus::WalkLoops);
    EXPECT_EQ(doc.m_mesh.GetCount(), 25);
}

// A point where nine terrain lines meet keeps eight links; whatever the walk makes of
// it, the calculation ends.
TEST_P(CalcDepthTest, PointWithManyLinesEnds) {
    Area a;
    SlopeLines(a, -2.0, -12.0);
    const int hub = MPt(a, 20, 20, 1);
    std::vector<int> spokes;
    for (int k = 0; k < 9; ++k) {
        const double ang = k * 40.0 * 3.141592653589793 / 180.0;
        spokes.push_back(MPt(a, 20 + 15 * std::cos(ang), 20 + 15 * std::sin(ang), 1));
        test::Ln(hub, spokes.back(), kLineTerrain);
    }
    test::Chain(spokes, kLineTerrain, true);
    g_blocks.Add(22.0, 21.0);
    g_blocks.Add(5.0, 5.0);
    EXPECT_GE(Run(a, 0.0), -1);
}

TEST_P(CalcDepthTest, JunctionTakesTheSharpestLeftTurn) {
    // From the west along y = 20 to a junction at (20, 20); branches go north (the
    // sharper left turn) and north-east. The block lies north of the west line, so the
    // outline turns north and the land is the north-west quarter, the nodes on the
    // terrain lines included. The terrain is wet everywhere, so without the block every
    // node would be sea.
    Area a;
    a.cols = a.rows = 7;
    FlatSea(a, 95.0);
    const int w = MPt(a, -20, 20, -4), j = MPt(a, 20, 20, -4);
    const int ne = MPt(a, 80, 80, -4), n = MPt(a, 20, 80, -4);
    test::Ln(w, j, kLineTerrain);
    test::Ln(j, ne, kLineTerrain);
    test::Ln(j, n, kLineTerrain);
    Block(a, 0, 25);
    ASSERT_EQ(Run(a, 0.0), 0);
    ExpectLand(a, [](int r, int c) { return r >= 2 && c <= 2; });
}

// The timing log: one line per mark, CP932 and CR LF, in the start folder.
TEST_P(CalcDepthTest, TimingLogInTheStartFolder) {
    Area a;
    RingProject(a);
    ASSERT_EQ(Run(a, 0.0), 0);
    std::ifstream in(StartFolderFile("timecheck"), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    // The seconds depend on the clock; the rest is fixed.
    const std::string text = std::regex_replace(Cp932ToUtf8(ss.str()), std::regex("\\[[0-9]+秒\\]"), "[s秒]");
    const std::string expected =
        "[s秒],5\r\n[s秒],1\r\nY:  5,X:  5\r\n[s秒],1,5000\r\ncalcheck1[s秒]\r\n"
        "cal_end[s秒]\r\ncal_end[s秒]\r\ncal_endend[s秒]\r\n";
    EXPECT_EQ(text, expected);
}

// Cancel from the progress window in each phase: -1, and neither mesh nor outlines
// remain. Pumps of the first window: 5 rows of the block, 80 grid lines, 5 node rows, the
// depth step, 5 mesh rows; the triangulation's window pumps once per row pair and pass.
TEST_P(CalcDepthTest, CancelInEveryPhaseLeavesNoMesh) {
    struct Case {
        const char* phase;
        std::vector<int> cancelAt;
    };
    const Case cases[] = {{"blocks", {3}},      {"crossings", {50}}, {"nodes", {88}},
                          {"depths", {91}},     {"mesh", {93}},      {"triangles", {-1, 2}},
                          {"triangles 2", {-1, 6}}};
    for (const Case& k : cases) {
        test::ResetTerrain();
        Area a;
        RingProject(a);
        doc.m_info.m_nCalcState = kCalcResults;
        test::ScriptedProgress scripted(k.cancelAt);
        EXPECT_EQ(Run(a, 0.0), -1) << k.phase;
        EXPECT_EQ(doc.m_mesh.GetCount(), 0) << k.phase;
        EXPECT_EQ(doc.m_mesh.GetMeshCountX(), 0) << k.phase;
        EXPECT_EQ(doc.m_nTriNodes, 0) << k.phase;
        EXPECT_EQ(doc.m_triLine.GetCount(), 0) << k.phase;
        EXPECT_EQ(doc.m_blkXY.GetCount(), 0) << k.phase;
        EXPECT_EQ(doc.m_info.m_nCalcState, kCalcNoMesh) << k.phase;
        const std::size_t window = k.cancelAt.size() - 1;
        ASSERT_GT(scripted.Logs().size(), window) << k.phase;
        EXPECT_TRUE(scripted.Logs()[window]->cancelled) << k.phase;
        EXPECT_EQ(scripted.Logs()[window]->pumps, k.cancelAt.back()) << k.phase;
        for (const auto& log : scripted.Logs()) EXPECT_TRUE(log->destroyed) << k.phase;
    }
    // Without a cancel the same project pumps 96 and 8 times.
    test::ResetTerrain();
    Area a;
    RingProject(a);
    test::ScriptedProgress scripted;
    ASSERT_EQ(Run(a, 0.0), 0);
    ASSERT_EQ(scripted.Logs().size(), 2u);
    EXPECT_EQ(scripted.Logs()[0]->pumps, 96);
    EXPECT_EQ(scripted.Logs()[0]->caption, "水深計算中");
    EXPECT_EQ(scripted.Logs()[1]->pumps, 8);
    EXPECT_EQ(scripted.Logs()[1]->caption, "水深計算中");
}

// A view frame that puts the mesh far from the view origin (x' = 1,065,000 at node row 2,
// column 0), where a position plus 1e-10 rounds back to itself. The depth line passes
// exactly through that node: its depth is the line's, not a neighbour's, and not land.
TEST_P(CalcDepthTest, NodeOnALineFarFromTheViewOrigin) {
    Area a;
    test::Ln(test::Pt(0.0, 20.0, -3.0), test::Pt(-50.0, 47.0, -3.0), kLineDepth, 0, -3.0);
    a.ApplyTo(doc);
    doc.m_info.m_dTide = 0.0;
    UpdatePointLineLinks(kLinksTerrain);
    CalcViewFrame frame;
    frame.angle = 0.0;
    frame.scale = 100.0;
    frame.originX = -10500.0;
    frame.originY = 0.0;
    frame.offsetX = 15000;
    frame.offsetY = 15000;
    DepthMeshOptions options;
    options.method = GetParam();
    options.threads = 3;
    ASSERT_EQ(CalcMeshDepth(view, frame, options, &report), 0);
    EXPECT_EQ(NodeDepth(doc, 2, 0), 3.0);
}

// The least water that still makes a sea node: 0.0001 m. A node a tenth above that edge
// is sea, one a tenth below is land, so the edge cannot move by more than 10 %.
TEST_P(CalcDepthTest, ShallowestSeaNodeEdge) {
    struct Case {
        double height;
        bool land;
    } cases[] = {{-0.00011, false}, {-0.00009, true}, {-0.001, false}, {-0.00001, true}};
    for (const Case& c : cases) {
        test::ResetTerrain();
        Area a;
        // A plane at the case's height: every node takes it.
        test::Ln(MPt(a, -203.7, -5.0, 0.0), MPt(a, 241.3, -5.0, 0.0), kLineDepth, 0, c.height);
        test::Ln(MPt(a, -203.7, 45.0, 0.0), MPt(a, 241.3, 45.0, 0.0), kLineDepth, 0, c.height);
        const int result = Run(a, 0.0);
        if (c.land) {
            EXPECT_EQ(result, -1) << c.height;  // no sea node at all
            continue;
        }
        ASSERT_EQ(result, 0) << c.height;
        EXPECT_NEAR(NodeDepth(doc, 2, 2), -c.height, 1e-8) << c.height;  // stored as float
    }
}

INSTANTIATE_TEST_SUITE_P(Methods, CalcDepthTest,
                         ::testing::Values(DepthMeshOptions::Method::Straightforward,
                                           DepthMeshOptions::Method::Fast),
                         [](const auto& info) {
                             return info.param == kStraight ? std::string("Straightforward")
                                                            : std::string("Fast");
                         });

// Every node lies on its line of each family, at its position along it.
TEST(CalcDepthGrid, EightFamiliesPassThroughTheNodes) {
    for (double angle : {0.0, 17.0, -75.0, 200.0}) {
        for (double scale : {0.3, 1.0, 7.0}) {
            DepthArea area;
            area.x0 = 500.0;
            area.y0 = -120.0;
            area.meshSize = 7.5;
            area.cols = 6;
            area.rows = 4;
            CalcViewFrame view;
            view.angle = angle;
            view.scale = scale;
            view.originX = 480.0;
            view.originY = -100.0;
            view.offsetX = 15000;
            view.offsetY = 14000;
            const DepthGrid grid(area, view);
            EXPECT_EQ(grid.TotalLines(), 9 * (4 + 6) - 10);
            for (int i = 0; i < area.rows; ++i)
                for (int j = 0; j < area.cols; ++j) {
                    const CPointD w = grid.MeshToWorld(j * area.meshSize, (area.rows - 1 - i) * area.meshSize);
                    for (int fam = 0; fam < DepthGrid::kFamilies; ++fam) {
                        double x = w.m_dX, y = w.m_dY;
                        grid.ToFrame(DepthGrid::FrameOf(fam), x, y);
                        const int k = grid.NodeLine(fam, i, j);
                        ASSERT_GE(k, 0);
                        ASSERT_LT(k, grid.LineCount(fam));
                        const double across = DepthGrid::IsVertical(fam) ? x : y;
                        const double along = DepthGrid::IsVertical(fam) ? y : x;
                        ASSERT_NEAR(grid.LineCoord(fam, k), across, 1e-7) << fam;
                        ASSERT_NEAR(grid.NodePos(fam, i, j), along, 1e-7) << fam;
                    }
                }
        }
    }
}

}  // namespace
}  // namespace wv
