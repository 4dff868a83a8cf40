// The digital-map lattice and the values at the output points.
#include "calc/calc_state.h"
#include "calc/digital_lattice.h"
#include "core/sansyutu.h"
#include "core/tik_inf.h"
#include "tests/calcdoc/calcdoc_test_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <utility>

namespace wv {
namespace {

using roadtest::TestDoc;

// 5 x 5 sea nodes on a 10 m mesh, with node (row 2, column 3) on land.
class LatticeTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<double> depths(25, 4.0);
        depths[2 * 5 + 3] = std::nan("");
        roadtest::SetMesh(doc, 5, 5, depths);
    }

    // Rows and columns flagged in the wave-height map, as "r,c " in grid order.
    std::string Flagged() const {
        std::string s;
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 5; ++c) {
                const int n = doc.m_mesh.GetNodeIndex(r, c);
                if (n >= 0 && doc.m_mesh.GetHeightFlag(n) == kFlagShown) s += std::to_string(r) + std::to_string(c) + " ";
            }
        return s;
    }
    void Interval(float x, float y, double down, double across) {
        CZmnInterval& set = doc.m_zmn.m_interval[CZmn_Inf::kIntervalHeight];
        set.m_ptRef = CPointF(x, y);
        set.m_dStepDown = down;
        set.m_dStepAcross = across;
    }

    TestDoc doc;
};

TEST_F(LatticeTest, HeightMapFlagsTheLatticeThroughTheReference) {
    const std::string everySeaNode = "00 01 02 03 04 10 11 12 13 14 20 21 22 24 30 31 32 33 34 40 41 42 43 44 ";
    struct Case {
        const char* what;
        float x, y;
        double down, across;
        std::string flagged;
    } cases[] = {
        {"a row step of two meshes flags every second row, both sides", 20.0f, 20.0f, 20.0, 10.0,
         "00 01 02 03 04 20 21 22 24 40 41 42 43 44 "},
        // -35 m is row -3 (rounding up from just below the half); every second row from there.
        {"a reference off the mesh still anchors the lattice", -20.0f, -35.0f, 20.0, 30.0, "11 14 31 34 "},
        {"steps of zero or below flag only the reference lines", 10.0f, 30.0f, 0.0, -10.0, "31 "},
        // The unset interval of a new document: -1 m steps, reference far away.
        {"the unset interval shows nothing", kUnsetCoordF, kUnsetCoordF, -1.0, -1.0, ""},
        {"a step of one mesh from a reference far off the grid ends at once", kUnsetCoordF, -kUnsetCoordF, 10.0,
         10.0, everySeaNode},
    };
    for (const Case& k : cases) {
        Interval(k.x, k.y, k.down, k.across);
        SetDigitalMapNodes(doc, kLatticeHeight);
        EXPECT_EQ(Flagged(), k.flagged) << k.what;
    }
}

TEST_F(LatticeTest, EachMapTypeUsesItsOwnSetAndFlags) {
    doc.m_zmn.m_interval[CZmn_Inf::kIntervalDepth] = CZmnInterval{CPointF(0.0f, 0.0f), 40.0, 40.0};
    doc.m_zmn.m_interval[CZmn_Inf::kIntervalDir] = CZmnInterval{CPointF(40.0f, 40.0f), 10.0, 40.0};
    SetDigitalMapNodes(doc, kLatticeDepth);
    SetDigitalMapNodes(doc, kLatticeDir);
    int depthShown = 0, dirShown = 0;
    for (int i = 0; i < doc.m_mesh.GetCount(); ++i) {
        depthShown += doc.m_mesh.GetDepthFlag(i);
        dirShown += doc.m_mesh.GetDirFlag(i);
        EXPECT_EQ(doc.m_mesh.GetHeightFlag(i), 0);
    }
    EXPECT_EQ(depthShown, 4);  // the corners
    EXPECT_EQ(dirShown, 10);   // columns 0 and 4 on every row
}

// The lattice walks the mesh it flags: an area claiming 2^31 - 1 nodes in a row (or a
// column) over the 5 x 5 mesh holds nothing and flags every node of the mesh.
TEST_F(LatticeTest, TheLatticeWalksTheMeshNotTheArea) {
    Interval(0.0f, 0.0f, 10.0, 10.0);
    for (const auto& [cols, rows] : {std::pair{2147483647, 1}, std::pair{1, 2147483647}}) {
        doc.m_calcArea.SetMeshCountX(cols);
        doc.m_calcArea.SetMeshCountY(rows);
        roadtest::AddressSpaceRoom room(std::uint64_t{1} << 30);
        EXPECT_NO_THROW(SetDigitalMapNodes(doc, kLatticeHeight)) << cols << " x " << rows;
        EXPECT_EQ(Flagged().size(), 24u * 3) << Flagged();
    }
}

// Output-point values: every node's wave comes from the mesh's top (direction 0), with
// height ratio 0.5 on an offshore height of 2 m.
class CalcPointTest : public LatticeTest {
protected:
    void SetUp() override {
        LatticeTest::SetUp();
        g_calcPoints.Reset();
        g_tikInf.Init();
        g_tikInf.m_dNorth = 90.0;
        doc.m_calcArea.SetOrigin(1000.0, 2000.0);
        for (int i = 0; i < doc.m_mesh.GetCount(); ++i) {
            CCalValue v = doc.m_mesh.GetAt(i);
            v.SetHeightRatio(0.5f);
            v.SetDirection(30.0f);
            doc.m_mesh.SetAt(i, v);
        }
        doc.m_mesh.SetWaveHeight(2.0);
        doc.m_info.m_nCalcState = kCalcResults;
        g_calcPoints.Add(1005.0, 2005.0);       // slot 0, inside the mesh
        g_calcPoints.Add(900.0, 2000.0);        // slot 1, off the mesh
        const int unused = g_calcPoints.Add(1015.0, 2015.0);
        g_calcPoints.RemoveAt(unused);          // slot 2, not in use
    }
    void TearDown() override {
        g_calcPoints.Reset();
        g_tikInf.Init();
    }

    CTydViewData view{doc};
};

TEST_F(CalcPointTest, ValuesAndDirectionsAtThePointsInUse) {
    UpdateCalcPointResults(view, 0.0);
    EXPECT_DOUBLE_EQ(view.m_pCalcPtValue[0], 1.0);  // value type 0: 2 m x 0.5
    // 30 degrees in the mesh, north along the mesh's y: 90 - 30 - 90 = -30.
    EXPECT_FLOAT_EQ(view.m_pCalcPtDir[0], 330.0f);
    EXPECT_EQ(view.m_pCalcPtValue[1], kNoValue);
    EXPECT_EQ(view.m_pCalcPtDir[1], 999.0f);
    EXPECT_EQ(view.m_pCalcPtValue[2], kNoValue);
    EXPECT_EQ(view.m_pCalcPtDir[9], 999.0f);

    // Clockwise output: asked for in 16-point mode, implied by a clockwise angle.
    doc.m_info.m_nOutDirSense = 1;
    UpdateCalcPointResults(view, 0.0);
    EXPECT_FLOAT_EQ(view.m_pCalcPtDir[0], 30.0f);
    doc.m_info.m_nDirMode = 1;
    UpdateCalcPointResults(view, 0.0);
    EXPECT_FLOAT_EQ(view.m_pCalcPtDir[0], 330.0f);
    doc.m_info.m_nDirMode = 2;
    UpdateCalcPointResults(view, 0.0);
    EXPECT_FLOAT_EQ(view.m_pCalcPtDir[0], 30.0f);
}

TEST_F(CalcPointTest, TurnedViewFindsThePointInTheTurnedMesh) {
    // The mesh turned by 90 degrees: the world point 15 m west and 5 m north of the
    // origin lies at mesh (5, 15); north then lies along the mesh's -x.
    g_calcPoints.SetAt(0, [] {
        CSansyutuZokusei p = g_calcPoints.GetAt(0);
        p.SetPos(985.0, 2005.0);
        return p;
    }());
    doc.m_zmn.m_nValueType = 1;
    UpdateCalcPointResults(view, 90.0);
    EXPECT_DOUBLE_EQ(view.m_pCalcPtValue[0], 0.5);
    EXPECT_FLOAT_EQ(view.m_pCalcPtDir[0], 60.0f);  // 90 - 30 - (90 - 90)
}

TEST_F(CalcPointTest, NothingBeforeTheResultsAreLoaded) {
    doc.m_info.m_nCalcState = kCalcStarted;
    view.m_pCalcPtValue[0] = 3.0;
    UpdateCalcPointResults(view, 0.0);
    EXPECT_EQ(view.m_pCalcPtValue, std::vector<double>(10, kNoValue));
    EXPECT_EQ(view.m_pCalcPtDir, std::vector<float>(10, 999.0f));
}

}  // namespace
}  // namespace wv
