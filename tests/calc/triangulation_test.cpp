#include "calc/calc_state.h"
#include "calc/mesh_triangles.h"
#include "calc/parallel.h"
#include "calc/triangulate_kernel.h"
#include "calc_test_util.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

namespace wv {
namespace {

bool Always(int) { return true; }

// Node table from a land mask (rows bottom-up, 'x' land), numbered row by row.
std::vector<int> Table(const std::vector<std::string>& rowsBottomUp, int* count = nullptr) {
    std::vector<int> t;
    int n = 0;
    for (const std::string& row : rowsBottomUp)
        for (char ch : row) t.push_back(ch == 'x' ? -1 : n++);
    if (count) *count = n;
    return t;
}

TEST(CalcTriangulation, TwoByTwoAllSea) {
    MeshTriangulation tri;
    ASSERT_TRUE(TriangulateNodeTable(2, 2, Table({"..", ".."}), Always, tri));
    // LL 0, LR 1, UL 2, UR 3. Edges: left vertical, bottom, diagonal, top, right vertical.
    const std::vector<int> n1 = {0, 0, 0, 2, 1}, n2 = {2, 1, 3, 3, 3};
    EXPECT_EQ(tri.edgeNode1, n1);
    EXPECT_EQ(tri.edgeNode2, n2);
    ASSERT_EQ(tri.TriangleCount(), 2);
    EXPECT_EQ(tri.triNodes, (std::vector<int>{0, 2, 3, 0, 3, 1}));
    EXPECT_EQ(tri.triEdges, (std::vector<int>{0, 3, 2, 2, 4, 1}));
    // The diagonal runs 0 -> 3 in the second triangle's clockwise order, 3 -> 0 in the first.
    EXPECT_EQ(tri.edgePairs[2 * 2 + 0], 1);
    EXPECT_EQ(tri.edgePairs[2 * 2 + 1], 0);
    EXPECT_EQ(tri.edgePairs[2 * 0 + 1], -1);
}

TEST(CalcTriangulation, OneRowHasNoEdges) {
    MeshTriangulation tri;
    ASSERT_TRUE(TriangulateNodeTable(1, 4, Table({"...."}), Always, tri));
    EXPECT_EQ(tri.EdgeCount(), 0);
    EXPECT_EQ(tri.TriangleCount(), 0);
}

TEST(CalcTriangulation, LandAtLowerLeftGivesTheAntiDiagonalTriangle) {
    MeshTriangulation tri;
    ASSERT_TRUE(TriangulateNodeTable(2, 2, Table({"x.", ".."}), Always, tri));
    // LR 0, UL 1, UR 2: anti-diagonal UL-LR, top, right vertical.
    EXPECT_EQ(tri.edgeNode1, (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(tri.edgeNode2, (std::vector<int>{1, 2, 2}));
    EXPECT_EQ(tri.triNodes, (std::vector<int>{2, 0, 1}));  // UR, LR, UL
    EXPECT_EQ(tri.triEdges, (std::vector<int>{2, 0, 1}));
}

TEST(CalcTriangulation, CancelStopsEitherPass) {
    MeshTriangulation tri;
    int calls = 0;
    EXPECT_FALSE(TriangulateNodeTable(3, 3, Table({"...", "...", "..."}), [&](int) { return ++calls < 2; }, tri));
    calls = 0;
    EXPECT_FALSE(TriangulateNodeTable(3, 3, Table({"...", "...", "..."}), [&](int) { return ++calls < 4; }, tri));
}

// Invariants on meshes with land: clockwise triangles, edges that join the triangle's
// consecutive nodes, edge pairs that agree with the triangles, and the counts that the
// cells call for.
TEST(CalcTriangulation, RandomLandMeshesKeepTheInvariants) {
    std::mt19937 rng(7);
    ParallelRunner runner(3);
    for (int trial = 0; trial < 300; ++trial) {
        const int rows = 2 + rng() % 40, cols = 1 + rng() % 30;
        std::vector<std::string> mask(rows, std::string(cols, '.'));
        for (auto& r : mask)
            for (auto& ch : r) ch = (rng() % 4 == 0) ? 'x' : '.';
        int nodes = 0;
        const std::vector<int> table = Table(mask, &nodes);
        std::vector<int> nodeRow(nodes), nodeCol(nodes);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                if (table[r * cols + c] >= 0) {
                    nodeRow[table[r * cols + c]] = r;
                    nodeCol[table[r * cols + c]] = c;
                }
        MeshTriangulation tri;
        ASSERT_TRUE(TriangulateNodeTable(rows, cols, table, Always, tri));
        // Spread over threads, the tables come out the same.
        MeshTriangulation spread;
        ASSERT_TRUE(TriangulateNodeTable(rows, cols, table, Always, spread, &runner));
        ASSERT_EQ(std::tie(spread.edgeNode1, spread.edgeNode2, spread.triNodes, spread.triEdges, spread.edgePairs),
                  std::tie(tri.edgeNode1, tri.edgeNode2, tri.triNodes, tri.triEdges, tri.edgePairs));

        int expectTriangles = 0, expectEdges = 0;
        auto sea = [&](int r, int c) { return table[r * cols + c] >= 0; };
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) {
                if (r + 1 < rows && sea(r, c) && sea(r + 1, c)) ++expectEdges;
                if (c + 1 < cols && sea(r, c) && sea(r, c + 1)) ++expectEdges;
                if (r + 1 < rows && c + 1 < cols) {
                    const int corners = sea(r, c) + sea(r + 1, c) + sea(r, c + 1) + sea(r + 1, c + 1);
                    expectTriangles += corners == 4 ? 2 : corners == 3 ? 1 : 0;
                    if ((sea(r, c) && sea(r + 1, c + 1)) || (sea(r + 1, c) && sea(r, c + 1))) ++expectEdges;
                }
            }
        ASSERT_EQ(tri.TriangleCount(), expectTriangles);
        ASSERT_EQ(tri.EdgeCount(), expectEdges);

        std::vector<int> uses(tri.EdgeCount(), 0);
        for (int t = 0; t < tri.TriangleCount(); ++t) {
            const int* n = &tri.triNodes[3 * t];
            // Clockwise with y up: negative signed area.
            const double area2 = (nodeCol[n[1]] - nodeCol[n[0]]) * double(nodeRow[n[2]] - nodeRow[n[0]]) -
                                 (nodeRow[n[1]] - nodeRow[n[0]]) * double(nodeCol[n[2]] - nodeCol[n[0]]);
            ASSERT_LT(area2, 0.0);
            for (int u = 0; u < 3; ++u) {
                const int e = tri.triEdges[3 * t + u];
                const int a = n[u], b = n[(u + 1) % 3];
                ASSERT_EQ(tri.edgeNode1[e], std::min(a, b));
                ASSERT_EQ(tri.edgeNode2[e], std::max(a, b));
                ASSERT_EQ(tri.edgePairs[2 * e + (tri.edgeNode1[e] == a ? 0 : 1)], t);
                ++uses[e];
            }
        }
        for (int e = 0; e < tri.EdgeCount(); ++e) {
            const int sides = (tri.edgePairs[2 * e] >= 0) + (tri.edgePairs[2 * e + 1] >= 0);
            ASSERT_EQ(sides, uses[e]);
            ASSERT_LE(uses[e], 2);
        }
    }
}

class CalcMeshTrianglesTest : public ::testing::Test {
protected:
    void SetUp() override { test::ResetTerrain(); }
    // A mesh of rows x cols nodes at spacing 10 with the given land mask and depths
    // equal to 1 + node number.
    void Fill(const std::vector<std::string>& mask) {
        const int rows = static_cast<int>(mask.size()), cols = static_cast<int>(mask[0].size());
        int nodes = 0;
        const std::vector<int> table = Table(mask, &nodes);
        CDigitalMap& m = doc.m_mesh;
        m.SetMeshCountX(cols);
        m.SetMeshCountY(rows);
        m.AllocNodeIndex();
        m.SetCount(nodes);
        m.AllocValues();
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) {
                const int i = table[r * cols + c];
                m.SetNodeIndex(r, c, i);
                if (i < 0) continue;
                CCalValue v;
                v.SetPos(c * 10.0f, r * 10.0f);
                v.SetDepth(1.0f + i);
                m.SetAt(i, v);
            }
    }
    test::TestDoc doc;
    CTydViewData view{doc};
};

TEST_F(CalcMeshTrianglesTest, FillsTheDocumentTablesAndTheDepthRange) {
    test::ScriptedProgress progress;
    Fill({"x..", "...", "..."});
    ASSERT_EQ(BuildMeshTriangles(view, 1), 0);
    ASSERT_EQ(progress.Logs().size(), 1u);
    EXPECT_EQ(progress.Logs()[0]->caption, "水深入力中");
    EXPECT_TRUE(progress.Logs()[0]->destroyed);
    EXPECT_EQ(progress.Logs()[0]->pumps, 2 * 3 - 2);

    EXPECT_EQ(doc.m_nTriNodes, 7);
    EXPECT_EQ(doc.m_triLine.GetCount(), static_cast<int>(doc.m_pEdgePairs.size() / 2));
    for (int t = 0; t < doc.m_nTriNodes; ++t) {
        float lo = 1e9f, hi = -1e9f;
        for (int u = 0; u < 3; ++u) {
            const float d = 1.0f + doc.m_pTriNodeB[3 * t + u];
            lo = std::min(lo, d);
            hi = std::max(hi, d);
        }
        EXPECT_EQ(doc.m_pTriMinDepth[t], lo);
        EXPECT_EQ(doc.m_pTriMaxDepth[t], hi);
        EXPECT_EQ(doc.m_pTriMinValue[0][t], 0.0f);
        EXPECT_EQ(doc.m_pTriMaxValue[1][t], 0.0f);
    }
    EXPECT_EQ(doc.m_hcheckLines.GetMinDepth(), 1.0f);
    EXPECT_EQ(doc.m_hcheckLines.GetMaxDepth(), 8.0f);
}

TEST_F(CalcMeshTrianglesTest, NoTriangleOrCancelGivesMinusOne) {
    {
        test::ScriptedProgress progress;
        Fill({"...."});
        EXPECT_EQ(BuildMeshTriangles(view, 0), -1);
        EXPECT_EQ(progress.Logs()[0]->caption, "水深計算中");
        EXPECT_TRUE(progress.Logs()[0]->destroyed);
    }
    {
        // Sea nodes only along a column: edges but no triangle.
        ClearMeshData(doc, 0);
        test::ScriptedProgress progress;
        Fill({".x", ".x", ".x"});
        EXPECT_EQ(BuildMeshTriangles(view, 0), -1);
    }
    for (int at : {1, 2, 3, 4}) {
        ClearMeshData(doc, 0);
        test::ScriptedProgress progress({at});
        Fill({"...", "...", "..."});
        EXPECT_EQ(BuildMeshTriangles(view, 0), -1) << "cancel at pump " << at;
        EXPECT_TRUE(progress.Logs()[0]->cancelled);
        EXPECT_TRUE(progress.Logs()[0]->destroyed);
    }
}

}  // namespace
}  // namespace wv
