// The figure routines on the recording context: call sequences worked out by hand,
// state restored, marks that erase themselves, and coordinates a billion pixels away.
#include "draw/color_map.h"
#include "draw/contour_draw.h"
#include "draw/digital_map_draw.h"
#include "draw/marks_draw.h"
#include "draw/mode_prompt.h"
#include "draw/primitives.h"
#include "draw/terrain_draw.h"
#include "tests/draw/draw_test_util.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace wv {
namespace {

using drawtest::Only;
using drawtest::Scene;
using drawtest::Settled;

std::vector<std::string> Lines(const CRecordingDC& dc) { return Only(dc, "LineTo"); }

// ---- contours ------------------------------------------------------------------------

// A segment from mesh (0, 0) to (100, 0) at one pixel per metre, scrolled to client
// (10, 50) - (110, 50). Text 9 mm at 1/1000: 9 pixels, "12.50" centred on the segment
// and 4.5 pixels across it: start (48.75, 54.5), cells 4.5 wide with their tops at 45.5.
class ContourLabel : public ::testing::Test {
protected:
    void SetUp() override {
        s.doc.m_zmn.m_nScale = 1000;
        s.doc.m_zmn.m_dContTextSize = 9.0;
    }
    std::vector<std::string> Texts(COLORREF color) {
        std::vector<std::string> out;
        const int xs[] = {48, 53, 57, 62, 66};
        const char* chars[] = {"1", "2", ".", "5", "0"};
        for (int i = 0; i < 5; ++i)
            out.push_back("TextOut(" + std::to_string(xs[i]) + ",45,\"" + chars[i] + "\") font=9/0 color=" +
                          (color ? std::string("0xFFFFFF") : std::string("0x000000")) + " bk=0x000000");
        return out;
    }
    Scene s;
};

TEST_F(ContourLabel, PlacingBlacksOutTheSegmentThenWritesWhite) {
    CRecordingDC dc(200, 200);
    DrawContourValue(s.ctx, &dc, 14990, 14950, CPointF(0, 0), CPointF(100, 0), 12.5, 7, 1);
    std::vector<std::string> expected = {"LineTo(110,50) pen=0/1/0x000000"};
    for (const auto& t : Texts(1)) expected.push_back(t);
    EXPECT_EQ(dc.Log(), expected);
    EXPECT_EQ(dc.Calls()[1].op, "MoveTo");
    EXPECT_EQ(dc.Calls()[1].args, (std::vector<long long>{10, 50}));
}

TEST_F(ContourLabel, RemovingWritesBlackThenRedrawsTheSegmentWhite) {
    CRecordingDC dc(200, 200);
    // The points in the other order: the one with the smaller x comes first.
    DrawContourValue(s.ctx, &dc, 14990, 14950, CPointF(100, 0), CPointF(0, 0), 12.5, 0, 1);
    std::vector<std::string> expected = Texts(0);
    expected.push_back("LineTo(110,50) pen=0/1/0xFFFFFF");
    EXPECT_EQ(dc.Log(), expected);
}

TEST_F(ContourLabel, TinyTextIsLeftOutAndSoIsItsSegment) {
    s.doc.m_zmn.m_dContTextSize = 0.5;  // half a pixel
    CRecordingDC dc(200, 200);
    DrawContourValue(s.ctx, &dc, 14990, 14950, CPointF(0, 0), CPointF(100, 0), 12.5, 7, 0);
    EXPECT_TRUE(dc.Log().empty());
}

TEST_F(ContourLabel, ContoursDrawLinesThenLabelsAndMarkSelectedRuns) {
    CContGroup& g = s.doc.m_contGroup;
    g.SetCapacity(2);
    g.AllocLines();
    g.SetCount(2);
    g.SetPointCount(0, 3);
    g.AllocPoints(0);
    g.SetLevel(0, 12.5);
    CContPoint p0(0, 0), p1(100, 0), p2(100, 40);
    p1.m_nLabel = 1;  // the second segment carries the label
    p0.m_nSelect = 1;
    g.SetPoint(0, 0, p0);
    g.SetPoint(0, 1, p1);
    g.SetPoint(0, 2, p2);
    CRecordingDC dc(200, 200);
    DrawContours(s.ctx, &dc, 14990, 14950, -1);
    auto log = dc.Log();
    ASSERT_EQ(log.size(), 1u + 5u);
    EXPECT_EQ(log[0], "LineTo(110,50) pen=0/1/0xFFFFFF");  // nothing marked in mode 0

    s.ctx.savedMode = 107;  // the contour deletion mode saved behind a zoom
    CRecordingDC marked(200, 200);
    DrawContours(s.ctx, &marked, 14990, 14950, 0);
    EXPECT_EQ(marked.Log()[0], "LineTo(110,50) pen=0/1/0x00FFFF");
    s.ctx.savedMode = 108;  // both ends must be selected
    CRecordingDC both(200, 200);
    DrawContours(s.ctx, &both, 14990, 14950, 0);
    EXPECT_EQ(both.Log()[0], "LineTo(110,50) pen=0/1/0xFFFFFF");

    CRecordingDC none(200, 200);
    DrawContours(s.ctx, &none, 14990, 14950, 2);  // outside the group
    EXPECT_TRUE(none.Calls().empty());
}

// ---- marks ---------------------------------------------------------------------------

// Marks at world (0, 0), one pixel per millimetre (1/1000 at one pixel per metre),
// scrolled to client (100, 100).
class Marks : public ::testing::Test {
protected:
    void SetUp() override {
        s.doc.m_zmn.m_nScale = 1000;
        s.doc.m_zmn.m_ptWaveMark = CPointD(0, 0);
        s.doc.m_zmn.m_ptNorthMark = CPointD(0, 0);
        s.doc.m_info.m_dH0 = 1.5;
    }
    Scene s;
};

TEST_F(Marks, IncidentMarkFromTheNorthOfAnEastwardNorth) {
    s.tik.m_dNorth = 90.0;
    s.doc.m_info.m_nDirMode = 0;
    s.doc.m_info.m_nDir16 = 4;  // E: turned back onto the x axis
    CRecordingDC dc(200, 200);
    DrawIncidentMark(s.ctx, &dc, 14900, 14900, 1);
    const std::vector<std::string> lines = {
        "LineTo(100,100) pen=0/1/0xFF00FF xor",  // head from (103, 101) to the tip
        "LineTo(103,99) pen=0/1/0xFF00FF xor",   // and on to (103, 99)
        "LineTo(121,100) pen=0/1/0xFF00FF xor",  // shaft, 21 mm
    };
    EXPECT_EQ(Lines(dc), lines);
    EXPECT_EQ(dc.Calls()[2].args, (std::vector<long long>{103, 101}));
    const auto texts = Only(dc, "TextOut");
    ASSERT_EQ(texts.size(), 8u);  // "H0=1.50m"
    EXPECT_NE(texts[0].find("\"H\") font=3/0 color=0xFF00FF"), std::string::npos);
}

TEST_F(Marks, IncidentMarkClockwiseNinetyInItsOwnMode) {
    s.doc.m_info.m_nDirMode = 2;
    s.doc.m_info.m_dDirAngle = 90.0;
    s.ctx.mode = 110;
    CRecordingDC dc(200, 200);
    DrawIncidentMark(s.ctx, &dc, 14900, 14900, 1);
    const std::vector<std::string> lines = {
        "LineTo(100,100) pen=0/1/0x00FFFF xor",
        "LineTo(101,103) pen=0/1/0x00FFFF xor",
        "LineTo(100,121) pen=0/1/0x00FFFF xor",
    };
    EXPECT_EQ(Lines(dc), lines);
    for (const auto& c : dc.Calls())
        if (c.op == "TextOut") { EXPECT_EQ(c.state.textColor, 0x00FFFFu); }
}

TEST_F(Marks, NorthMarkUpWhenNorthIsTheYAxis) {
    s.tik.m_dNorth = 90.0;
    CRecordingDC dc(200, 200);
    DrawNorthMark(s.ctx, &dc, 14900, 14900, 1);
    const std::vector<std::string> expected = {
        "Arc(94,94,106,106,94,94,94,94) pen=0/1/0xFF00FF xor",  // r = 6 mm, a full circle
        "LineTo(112,100) pen=0/1/0xFF00FF xor",                 // cross bar
        "LineTo(100,74) pen=0/1/0xFF00FF xor",                  // axis to the tip, 26 mm up
        "LineTo(97,81) pen=0/1/0xFF00FF xor",
        "LineTo(103,85) pen=0/1/0xFF00FF xor",
    };
    auto log = dc.Log();
    ASSERT_EQ(log.size(), expected.size() + 1);
    log.pop_back();
    EXPECT_EQ(log, expected);
    EXPECT_EQ(Only(dc, "TextOut").size(), 1u);  // "N"
}

TEST_F(Marks, NorthMarkTurnsWithNorthAndDisplayAngle) {
    s.tik.m_dNorth = 0.0;  // north along +x: the tip to the right
    CRecordingDC dc(200, 200);
    DrawNorthMark(s.ctx, &dc, 14900, 14900, 0);
    EXPECT_EQ(Lines(dc)[1], "LineTo(126,100) pen=0/1/0xFF00FF xor");
    for (const auto& c : dc.Calls())
        if (c.op == "TextOut") { EXPECT_EQ(c.state.textColor, 0u); }  // erasing: black text
    // Turning the view by -90 degrees brings it back up.
    s.coord.SetAngle(-90.0);
    CRecordingDC turned(200, 200);
    DrawNorthMark(s.ctx, &turned, 14900, 14900, 1);
    EXPECT_EQ(Lines(turned)[1], "LineTo(100,74) pen=0/1/0xFF00FF xor");
}

TEST_F(Marks, UnplacedOrScrolledAwayMarksDrawNothing) {
    s.doc.m_zmn.m_ptWaveMark = CPointD::Unset();
    CRecordingDC dc(200, 200);
    DrawIncidentMark(s.ctx, &dc, 14900, 14900, 1);
    DrawNorthMark(s.ctx, &dc, 10000, 14900, 1);
    s.doc.m_zmn.m_nScale = 0;  // nothing sized in millimetres
    DrawNorthMark(s.ctx, &dc, 14900, 14900, 1);
    s.doc.m_zmn.m_nScale = 1000;
    s.coord.SetScale(std::nan(""));
    DrawNorthMark(s.ctx, &dc, 14900, 14900, 1);
    EXPECT_TRUE(dc.Calls().empty());
}

TEST(NorthMarkAngle, HugeNorthIsReducedAtOnce) {
    EXPECT_DOUBLE_EQ(NorthMarkAngle(90.0), 0.0);
    EXPECT_DOUBLE_EQ(NorthMarkAngle(0.0), 90.0);
    const double a = NorthMarkAngle(1e300);
    EXPECT_TRUE(a >= 0.0 && a < 360.0);
}

// The drawing frame at 1/50000 with 0.02 pixel per metre: one pixel per millimetre.
TEST(DrawingFrame, TitleBoxAtOneToFiftyThousand) {
    Scene s;
    s.coord.SetScale(0.02);
    s.ctx.clientW = 800;
    s.ctx.clientH = 600;
    CRecordingDC dc(800, 600);
    DrawDrawingFrame(s.ctx, &dc, 14700, 14800);
    const std::vector<std::string> expected = {
        "Rectangle(100,56,500,333) pen=0/1/0xFF00FF brush=null xor",  // 400 x 267 and the 10 mm band
        "LineTo(500,66) pen=0/1/0xFF00FF xor",                         // the band's lower edge
        "Rectangle(430,322,495,327) pen=0/1/0xFF00FF brush=null xor",  // n = 13: 70 mm to 5 mm in
    };
    EXPECT_EQ(dc.Log(), expected);
    s.doc.m_zmn.m_nScaleStyle = 1;
    s.ctx.mode = 100;
    CRecordingDC bar(800, 600);
    DrawDrawingFrame(s.ctx, &bar, 14700, 14800);
    EXPECT_EQ(bar.Log()[2], "Rectangle(450,322,490,326) pen=0/1/0x00FFFF brush=null xor");
}

TEST(CalcPointFrames, WidthFollowsTheDecimals) {
    Scene s;
    s.coord.SetScale(0.02);  // 1 px/mm at 1/50000
    s.calcPoints.Add(0, 0);
    s.doc.m_pCalcPoints.assign(10, CPointD::Unset());
    s.doc.m_pCalcPoints[0] = CPointD(0, 0);
    CRecordingDC dc(200, 200);
    DrawCalcPointFrames(s.ctx, &dc, 14900, 14900, 0, 0);  // 2 decimals: 45 x 9 mm
    DrawCalcPointFrames(s.ctx, &dc, 14900, 14900, 0, 2);
    s.doc.m_zmn.m_nDecimals = 0;                           // 39 mm
    DrawCalcPointFrames(s.ctx, &dc, 14900, 14900, 0, 1);
    DrawCalcPointFrames(s.ctx, &dc, 14900, 14900, 1, 1);   // slot not in use
    DrawCalcPointFrames(s.ctx, &dc, 14900, 14900, 12, 1);  // outside the table
    const std::vector<std::string> expected = {
        "Rectangle(100,91,145,100) pen=0/1/0x00FFFF brush=null xor",
        "Rectangle(100,91,145,100) pen=0/1/0xFF0000 brush=null xor",
        "Rectangle(100,91,139,100) pen=0/1/0x00FFFF brush=null xor",
    };
    EXPECT_EQ(dc.Log(), expected);
}

// ---- terrain -------------------------------------------------------------------------

// Six horizontal lines y = 0, 10, ... 50, x 0 .. 50, scrolled to client (10 + x, 100 - y).
class Terrain : public ::testing::Test {
protected:
    void SetUp() override {
        const struct { int kind; double depth; } kinds[] = {{0, 0}, {1, 0}, {2, 3.0}, {2, 0.0}, {3, 0}, {2, -1.0}};
        for (int i = 0; i < 6; ++i)
            s.lines.Add(0, 10.0 * i, 50, 10.0 * i, 0, 0, kinds[i].depth, kinds[i].kind, 2 * i, 2 * i + 1);
        s.ctx.clientW = 100;
        s.ctx.clientH = 120;
    }
    static std::string L(int i, const char* color) {
        return "LineTo(60," + std::to_string(100 - 10 * i) + ") pen=0/1/" + color;
    }
    Scene s;
};

TEST_F(Terrain, ColourTableByKind) {
    CRecordingDC dc(100, 120);
    DrawTerrainLinesCalc(s.ctx, &dc, 14990, 14900);
    const std::vector<std::string> expected = {
        L(0, "0x008000"),  // undefined: dark green
        L(1, "0xFFFFFF"),  // terrain line: white
        L(2, "0x0000FF"),  // depth line, depth > 0: red
        L(3, "0xFFFF00"),  // depth line, depth 0: cyan
        L(4, "0xFF0000"),  // auxiliary: blue
        L(5, "0xFFFF00"),  // depth line, depth < 0: cyan
    };
    EXPECT_EQ(dc.Log(), expected);
}

TEST_F(Terrain, FigureSwitchesOfTheCalculationView) {
    s.doc.m_zmn.m_bDrawLandGrid = 1;  // land cells replace the terrain lines
    CRecordingDC dc(100, 120);
    DrawTerrainLinesCalc(s.ctx, &dc, 14990, 14900);
    EXPECT_EQ(dc.Log().size(), 5u);
    for (const auto& l : dc.Log()) EXPECT_EQ(l.find("0xFFFFFF"), std::string::npos);
    s.doc.m_zmn.m_bDrawLandGrid = 0;
    s.doc.m_zmn.m_bDrawContour = 0;  // only the terrain lines
    CRecordingDC only(100, 120);
    DrawTerrainLinesCalc(s.ctx, &only, 14990, 14900);
    EXPECT_EQ(only.Log(), (std::vector<std::string>{L(1, "0xFFFFFF")}));
}

TEST_F(Terrain, SelectionHighlightsOnlyWhileItFitsTheTable) {
    std::vector<int> sel(static_cast<std::size_t>(s.lines.GetSlotCount()), 0);
    sel[2] = 1;
    s.ctx.lineSel = sel.data();
    s.ctx.lineSelCount = s.lines.GetSlotCount();
    CRecordingDC dc(100, 120);
    DrawTerrainLines(s.ctx, &dc, 14990, 14900);
    EXPECT_EQ(dc.Log()[2], L(2, "0x00FFFF"));
    s.ctx.lineSelCount = s.lines.GetSlotCount() - 1;  // lines added since
    CRecordingDC off(100, 120);
    DrawTerrainLines(s.ctx, &off, 14990, 14900);
    EXPECT_EQ(off.Log()[2], L(2, "0x0000FF"));
}

TEST_F(Terrain, SingleLineScrolledOrNot) {
    s.Scroll(14990, 14900);
    CRecordingDC dc(100, 120);
    DrawTerrainLine(s.ctx, &dc, 1, 1, 0);
    DrawTerrainLine(s.ctx, &dc, 1, 0, 1);
    DrawTerrainLine(s.ctx, &dc, -1, 0, 0);
    DrawTerrainLine(s.ctx, &dc, 4000, 0, 0);  // a free slot
    const std::vector<std::string> expected = {"LineTo(60,90) pen=0/1/0x00FFFF", "LineTo(15050,14990) pen=0/1/0xFFFFFF"};
    EXPECT_EQ(dc.Log(), expected);
}

TEST(OutputPoints, StyleThreeTakesBackTheRedMark) {
    CSansyutu pts;
    pts.Add(0, 0);
    pts.SetAt(0, [&] { auto r = pts.GetAt(0); r.SetName("1"); return r; }());
    CCoordWnd coord;
    PixelImage img(60, 60);
    std::mt19937 rng(5);
    for (auto& p : img.Pixels()) p = 0xFF000000u | (rng() & 0xFFFFFF);
    const auto before = img.Pixels();
    CRecordingDC dc(img.Surface());
    DrawCalcPoints(&dc, coord, 60, 60, 14970, 14970, 0, 2, pts);
    DrawCalcPoints(&dc, coord, 60, 60, 14970, 14970, 0, 3, pts);
    EXPECT_EQ(img.Pixels(), before);  // the circles are gone (the text is painted, not XOR)
    const std::vector<std::string> expected = {
        "Ellipse(26,26,34,34) pen=0/1/0x0000FF brush=null xor",
        "Ellipse(28,28,32,32) pen=0/1/0x0000FF brush=null xor",
        "TextOut(38,26,\"1\") font=8/0 color=0x0000FF bk=0x000000",
        "Ellipse(26,26,34,34) pen=0/1/0x0000FF brush=null xor",
        "Ellipse(28,28,32,32) pen=0/1/0x0000FF brush=null xor",
        "TextOut(38,26,\"1\") font=8/0 color=0x000000 bk=0x000000",
    };
    EXPECT_EQ(dc.Log(), expected);
}

// ---- digital maps and vectors --------------------------------------------------------

TEST(ShownDirection, RoundedBeforeItIsNormalised) {
    const struct { double dir, north, view; int mode, sense; double shown; } cases[] = {
        {0.0, 0.0, 0.0, 1, 0, 90.0},
        {90.04, 0.0, 0.0, 1, 0, 0.0},   // -0.04 would print "-0.0"
        {-269.96, 0.0, 0.0, 1, 0, 0.0}, // 359.96 would print "360.0"
        {30.0, 0.0, 0.0, 2, 0, 300.0},  // clockwise: negated
        {30.0, 0.0, 0.0, 0, 1, 300.0},
        {30.0, 0.0, 0.0, 0, 0, 60.0},
        {0.0, 1e300, 0.0, 1, 0, -1.0},  // a huge north: in range, and at once
    };
    for (const auto& c : cases) {
        const double d = ShownDirection(c.dir, c.north, c.view, c.mode, c.sense);
        if (c.shown >= 0.0) { EXPECT_DOUBLE_EQ(d, c.shown) << c.dir; }
        EXPECT_TRUE(d >= 0.0 && d < 360.0 && !std::signbit(d)) << c.dir;
    }
}

// One node at client (50, 50), 1 px/mm.
class Vectors : public ::testing::Test {
protected:
    void SetUp() override {
        s.SetMesh(1, 1, 10.0, {{1.0}});
        s.doc.m_zmn.m_nScale = 1000;
        s.doc.m_zmn.m_nValueType = 1;
        s.doc.m_mesh.SetVectorFlag(0, 1);
    }
    Scene s;
};

TEST_F(Vectors, FlatRangeDrawsTheShortestArrowAndNegativeValuesNone) {
    s.doc.m_zmn.m_dVectorLow[1] = 1.0;
    s.doc.m_zmn.m_dVectorHigh[1] = 1.0;
    s.doc.m_zmn.m_dVectorMin = 6.0;
    s.doc.m_zmn.m_dVectorMax = 10.0;
    CRecordingDC dc(100, 100);
    DrawVectorMap(s.ctx, &dc, 14950, 14950, -1);
    // L = 6 mm: shaft 6 px long through the node, direction 0 points down the screen.
    const std::vector<std::string> expected = {
        "LineTo(50,53) pen=0/1/0xFF00FF",
        "LineTo(49,51) pen=0/1/0xFF00FF",
        "LineTo(51,51) pen=0/1/0xFF00FF",
        "FillSolidRect(50,50,3,3,0xFF00FF)",
    };
    EXPECT_EQ(dc.Log(), expected);
    EXPECT_EQ(dc.Calls()[2].args, (std::vector<long long>{50, 47}));

    CCalValue v = s.doc.m_mesh.GetAt(0);
    v.SetHeightRatio(-1.0f);
    s.doc.m_mesh.SetAt(0, v);
    s.doc.m_zmn.m_dVectorLow[1] = -5.0;  // a range that would admit it
    CRecordingDC none(100, 100);
    DrawVectorMap(s.ctx, &none, 14950, 14950, -1);
    DrawVectorMap(s.ctx, &none, 14950, 14950, 0);
    EXPECT_TRUE(none.Log().empty());
}

TEST_F(Vectors, LowerEndWithZeroMinimumIsTooShortToDraw) {
    s.doc.m_zmn.m_dVectorLow[1] = 1.0;
    s.doc.m_zmn.m_dVectorHigh[1] = 2.0;
    CRecordingDC dc(100, 100);
    DrawVectorMap(s.ctx, &dc, 14950, 14950, -1);
    EXPECT_TRUE(dc.Log().empty());
}

TEST_F(Vectors, OneNodeTakesItsFlagColourAndNodeMarksNeedAZoom) {
    s.doc.m_mesh.SetHeightFlag(0, 0);
    s.doc.m_zmn.m_dMapTextSize = 0.5;  // under a pixel: dots only
    CRecordingDC dc(100, 100);
    DrawWaveHeightDigitalMap(s.ctx, &dc, 14950, 14950, -1);  // flag 0: not in the map
    DrawWaveHeightDigitalMap(s.ctx, &dc, 14950, 14950, 0);   // the one node: black
    s.doc.m_mesh.SetHeightFlag(0, 2);
    DrawWaveHeightDigitalMap(s.ctx, &dc, 14950, 14950, -1);  // selected: yellow
    DrawMeshNodeMarks(s.ctx, &dc, 14950, 14950, -1, 0, 0);   // 10 px a mesh: drawn
    s.coord.SetScale(0.4);                                   // 4 px: not for all nodes
    DrawMeshNodeMarks(s.ctx, &dc, 14950, 14950, -1, 0, 0);
    DrawMeshNodeMarks(s.ctx, &dc, 14950, 14950, 0, 1, 0);
    const std::vector<std::string> expected = {
        "FillSolidRect(50,50,3,3,0x000000)",
        "FillSolidRect(50,50,3,3,0x00FFFF)",
        "FillSolidRect(50,50,3,3,0x00FFFF)",
        "FillSolidRect(50,50,2,2,0x787800)",
    };
    EXPECT_EQ(dc.Log(), expected);
}

// ---- every routine --------------------------------------------------------------------

// A scene with something for every routine: a 4 x 4 mesh with land and a missing result,
// contours, depth-check lines, terrain, blocks, output points, marks, an area polygon.
void FillScene(Scene& s, double far) {
    const double land = std::nan("");
    s.SetMesh(4, 4, 10.0, {{0.5, 1.0, 1.5, 2.0}, {1.0, land, 2.0, -1.0}, {1.5, 2.0, 2.5, 3.0}, {2.0, 2.5, 3.0, 3.5}});
    s.doc.m_calcArea.SetOrigin(far, -far);
    s.doc.m_zmn.m_nScale = 1000;
    s.doc.m_zmn.m_nValueType = 1;
    s.doc.m_zmn.m_ptWaveMark = CPointD(far, far);
    s.doc.m_zmn.m_ptNorthMark = CPointD(-far, far);
    s.doc.m_zmn.m_dCenterX = far;
    s.doc.m_zmn.m_dVectorHigh[1] = 4.0;
    s.doc.m_info.m_dH0 = 2.0;
    for (int i = 0; i < s.doc.m_mesh.GetCount(); ++i) {
        s.doc.m_mesh.SetDepthFlag(i, 1);
        s.doc.m_mesh.SetHeightFlag(i, 1);
        s.doc.m_mesh.SetDirFlag(i, 2);
        s.doc.m_mesh.SetVectorFlag(i, 1);
    }
    CContGroup& g = s.doc.m_contGroup;
    g.SetCapacity(1);
    g.AllocLines();
    g.SetCount(1);
    g.SetPointCount(0, 3);
    g.AllocPoints(0);
    CContPoint a(0, 0), b(30, 30), c(30, -1e9f);
    b.m_nLabel = 1;
    g.SetPoint(0, 0, a);
    g.SetPoint(0, 1, b);
    g.SetPoint(0, 2, c);
    s.doc.m_hcheckPoints.SetCount(2);
    s.doc.m_hcheckPoints.Alloc();
    s.doc.m_hcheckPoints.SetPoint(1, CPointF(30, 10));
    s.doc.m_hcheckLines.SetCount(1);
    s.doc.m_hcheckLines.Alloc();
    s.doc.m_hcheckLines.SetEnd(0, 1);
    s.doc.m_blkXY.SetCount(1);
    s.doc.m_blkXY.AllocOutlines();
    s.doc.m_blkXY.SetPointCount(0, 5);
    s.doc.m_blkXY.AllocPoints(0);
    CPointD* ring = s.doc.m_blkXY.GetPoints(0);
    ring[0] = CPointD(-far, -far); ring[1] = CPointD(far, -far); ring[2] = CPointD(far, 50);
    ring[3] = CPointD(-far, 50); ring[4] = ring[0];
    s.points.Add(-far, 0, 0);
    s.points.Add(20, 20, 0);
    s.lines.Add(-far, 0, far, 10, 0, 0, 0, 1, 0, 1);
    s.lines.Add(0, -far, 0, far, 0, 0, 2.0, 2, 0, 1);
    s.blocks.Add(far, 5);
    s.blocks.Add(5, 5);
    s.calcPoints.Add(far, 0);
    s.calcPoints.Add(10, 10);
    s.doc.m_pCalcPoints.assign(10, CPointD(far, far));
    s.doc.m_pCalcPoints[1] = CPointD(10, 10);
    s.ctx.point1 = 0;
    s.ctx.point2 = 1;
    s.ctx.clientW = 200;
    s.ctx.clientH = 150;
}

std::vector<std::pair<const char*, std::function<void(Scene&, CDC*)>>> EveryRoutine() {
    const int sx = 14900, sy = 14900;
    return {
        {"ColorMap", [=](Scene& s, CDC* dc) { DrawColorMap(s.ctx, dc, sx, sy); }},
        {"HCheck", [=](Scene& s, CDC* dc) { DrawHCheck(s.ctx, dc, sx, sy); }},
        {"Contours", [=](Scene& s, CDC* dc) { DrawContours(s.ctx, dc, sx, sy, -1); }},
        {"ContourValue", [=](Scene& s, CDC* dc) { DrawContourValue(s.ctx, dc, sx, sy, CPointF(0, 0), CPointF(40, 5), 3.0, 7, 1); }},
        {"DepthMap", [=](Scene& s, CDC* dc) { DrawDepthDigitalMap(s.ctx, dc, sx, sy); }},
        {"HeightMap", [=](Scene& s, CDC* dc) { DrawWaveHeightDigitalMap(s.ctx, dc, sx, sy, -1); }},
        {"DirMap", [=](Scene& s, CDC* dc) { DrawWaveDirDigitalMap(s.ctx, dc, sx, sy, -1); }},
        {"Vectors", [=](Scene& s, CDC* dc) { DrawVectorMap(s.ctx, dc, sx, sy, -1); }},
        {"NodeMarks", [=](Scene& s, CDC* dc) { DrawMeshNodeMarks(s.ctx, dc, sx, sy, -1, 0, 1); }},
        {"NoResult", [=](Scene& s, CDC* dc) { DrawNoResultMarks(s.ctx, dc, sx, sy); }},
        {"TerrainLines", [=](Scene& s, CDC* dc) { DrawTerrainLines(s.ctx, dc, sx, sy); }},
        {"TerrainLinesCalc", [=](Scene& s, CDC* dc) { DrawTerrainLinesCalc(s.ctx, dc, sx, sy); }},
        {"TerrainLine", [=](Scene& s, CDC* dc) { DrawTerrainLine(s.ctx, dc, 0, 0, 0); }},
        {"PointMarks", [=](Scene& s, CDC* dc) { DrawSurveyPointMarks(s.ctx, dc, sx, sy); }},
        {"PointMarksCalc", [=](Scene& s, CDC* dc) { DrawSurveyPointMarksCalc(s.ctx, dc, sx, sy); }},
        {"PickedPoints", [=](Scene& s, CDC* dc) { DrawPickedPoints(s.ctx, dc, sx, sy); }},
        {"PickSigns", [=](Scene& s, CDC* dc) { DrawPickSigns(s.ctx, dc); }},
        {"Blocks", [=](Scene& s, CDC* dc) { DrawBlocks(dc, s.coord, 200, 150, sx, sy, s.blocks); }},
        {"CalcPoints", [=](Scene& s, CDC* dc) {
             DrawCalcPoints(dc, s.coord, 200, 150, sx, sy, 0, 0, s.calcPoints);
             DrawCalcPoints(dc, s.coord, 200, 150, sx, sy, 1, 2, s.calcPoints);
         }},
        {"AreaOutline", [=](Scene& s, CDC* dc) { DrawCalcAreaOutline(s.ctx, dc, sx, sy); }},
        {"LandCells", [=](Scene& s, CDC* dc) { DrawLandCells(s.ctx, dc, sx, sy); }},
        {"LandFillBlocks", [=](Scene& s, CDC* dc) { DrawLandFill(s.ctx, dc, sx, sy, 1); }},
        {"LandFillCells", [=](Scene& s, CDC* dc) {
             s.doc.m_zmn.m_bDrawLandGrid = 1;
             DrawLandFill(s.ctx, dc, sx, sy, 0);
             s.doc.m_zmn.m_bDrawLandGrid = 0;
         }},
        {"AreaPolygon", [=](Scene& s, CDC* dc) {
             CPointList poly(CPointD(-1e9, 0));
             poly.AddTail(CPointD(30, 30));
             poly.AddTail(CPointD(1e9, 1e9));
             DrawAreaPolygon(dc, s.coord, 200, 150, sx, sy, &poly, 40.0, 10.0, 0);
             ScopedViewportOrg org(*dc, -sx, -sy);  // the path form draws unscrolled
             DrawAreaPolygon(dc, s.coord, 200, 150, sx, sy, &poly, 40.0, 10.0, 1);
         }},
        {"RotateGuide", [=](Scene& s, CDC* dc) { DrawRotateGuide(dc, s.coord, sx, sy, 0, CPointD(15000, 15000), s.points); }},
        {"MeasureLine", [=](Scene& s, CDC* dc) { DrawMeasureLine(dc, s.coord, sx, sy, CPointD(-1e9, 0), CPointD(15050, 14950)); }},
        {"IncidentMark", [=](Scene& s, CDC* dc) { DrawIncidentMark(s.ctx, dc, sx, sy, 1); }},
        {"NorthMark", [=](Scene& s, CDC* dc) { DrawNorthMark(s.ctx, dc, sx, sy, 1); }},
        {"CalcPointFrames", [=](Scene& s, CDC* dc) {
             DrawCalcPointFrames(s.ctx, dc, sx, sy, 0, 0);
             DrawCalcPointFrames(s.ctx, dc, sx, sy, 1, 2);
         }},
        {"DrawingFrame", [=](Scene& s, CDC* dc) { DrawDrawingFrame(s.ctx, dc, sx, sy); }},
        {"DragFrame", [=](Scene&, CDC* dc) {
             int mode = 11;
             CRect drag{-2000000000, 10, -2000000000, 10}, last;
             DrawDragFrame(dc, 2000000000, 100, mode, drag, last);
             DrawDragFrame(dc, 30, 40, mode, drag, last);
         }},
    };
}

TEST(EveryRoutine, RestoresWhatItChanged) {
    Scene s;
    FillScene(s, 100.0);
    for (auto& [name, draw] : EveryRoutine()) {
        CRecordingDC dc(200, 150);
        dc.SelectObject(CPen(PS_DASH, 1, RGB(1, 2, 3)));
        dc.SelectObject(CBrush(RGB(4, 5, 6)));
        dc.SetTextColor(RGB(7, 8, 9));
        dc.SetBkColor(RGB(10, 11, 12));
        dc.SetBkMode(TRANSPARENT);
        dc.SetROP2(R2_XORPEN);
        const DcState before = Settled(dc);
        draw(s, &dc);
        EXPECT_EQ(Settled(dc), before) << name;
        EXPECT_GT(dc.Calls().size(), 5u) << name << " drew nothing to check";
    }
}

// Terrain, marks and the mesh a billion metres away at one pixel per metre: every
// coordinate that reaches the context lies within the guard, and nothing overflows.
TEST(EveryRoutine, CoordinatesOfABillionStayWithinTheGuard) {
    for (double far : {1e9, -1e9}) {
        Scene s;
        FillScene(s, far);
        PixelImage img(200, 150);
        for (auto& [name, draw] : EveryRoutine()) {
            CRecordingDC dc(img.Surface());
            draw(s, &dc);
            for (const auto& c : dc.Calls()) {
                if (!c.IsDrawing() && c.op != "MoveTo") continue;
                if (c.op == "DrawDragRect") continue;  // mouse points straight from the view
                // Device coordinates: the pairs moved by the viewport origin; sizes as they are.
                const bool sized = c.op == "FillSolidRect" || c.op == "SetPixel";
                for (std::size_t i = 0; i < c.args.size(); ++i) {
                    if (sized && i >= 2) break;
                    const long long v = c.args[i] + (i % 2 == 0 ? c.state.viewportOrg.x : c.state.viewportOrg.y);
                    EXPECT_TRUE(v >= -16384 - 200 && v <= 16384 + 400) << name << ": " << c.Describe(false);
                }
                if (c.op == "FillSolidRect") { EXPECT_TRUE(c.args[2] <= 40000 && c.args[3] <= 40000) << name; }
            }
        }
    }
}

}  // namespace
}  // namespace wv
