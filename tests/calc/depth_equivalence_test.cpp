// The fast depth calculation against the straightforward one, bit for bit, on small
// random projects full of the awkward cases: ends exactly on grid lines, lines along
// grid lines, coincident points, dry and ignored lines, blocks inside and across the
// area, any rotation and zoom.
#include "calc/depth_mesh.h"
#include "calc_test_util.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <tuple>

namespace wv {
namespace {

struct Outcome {
    int result = 0;
    std::vector<int> nodeIndex;
    std::vector<float> depths;
    std::vector<std::vector<CPointD>> outlines;
    std::vector<int> triA, triB, pairs, edges;
    std::vector<int> issues;
};

Outcome RunOnce(const test::Area& area, double tide, double scale, DepthMeshOptions options) {
    test::TestDoc doc;
    area.ApplyTo(doc);
    doc.m_info.m_dTide = tide;
    CTydViewData view(doc);
    DepthMeshReport report;
    Outcome o;
    o.result = CalcMeshDepth(view, area.Frame(scale), options, &report);
    for (int r = 0; r < doc.m_mesh.GetMeshCountY(); ++r)
        for (int c = 0; c < doc.m_mesh.GetMeshCountX(); ++c) o.nodeIndex.push_back(doc.m_mesh.GetNodeIndex(r, c));
    for (int i = 0; i < doc.m_mesh.GetCount(); ++i) o.depths.push_back(doc.m_mesh.GetAt(i).GetDepth());
    for (int b = 0; b < doc.m_blkXY.GetCount(); ++b) {
        const CPointD* p = doc.m_blkXY.GetPoints(b);
        o.outlines.emplace_back(p, p + doc.m_blkXY.GetPointCount(b));
    }
    o.triA = doc.m_pTriNodeA;
    o.triB = doc.m_pTriNodeB;
    o.pairs = doc.m_pEdgePairs;
    for (int e = 0; e < doc.m_triLine.GetCount(); ++e) {
        o.edges.push_back(doc.m_triLine.GetAt(e).GetNode1());
        o.edges.push_back(doc.m_triLine.GetAt(e).GetNode2());
    }
    for (const BlockIssue& i : report.blockIssues) o.issues.push_back(i.block * 10 + static_cast<int>(i.status));
    return o;
}

// Bytes of two arrays of the same length equal (empty arrays have no data to compare).
template <class T>
bool SameBits(const std::vector<T>& a, const std::vector<T>& b) {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

void ExpectSame(const Outcome& a, const Outcome& b, int trial) {
    ASSERT_EQ(std::tie(a.result, a.nodeIndex, a.triA, a.triB, a.pairs, a.edges, a.issues),
              std::tie(b.result, b.nodeIndex, b.triA, b.triB, b.pairs, b.edges, b.issues)) << trial;
    ASSERT_TRUE(SameBits(a.depths, b.depths)) << trial;
    ASSERT_EQ(a.outlines.size(), b.outlines.size()) << trial;
    for (std::size_t k = 0; k < a.outlines.size(); ++k) ASSERT_TRUE(SameBits(a.outlines[k], b.outlines[k])) << trial;
}

// A random project over a random area.
void MakeProject(std::mt19937& rng, test::Area& area, double& tide, double& scale) {
    test::ResetTerrain();
    auto uni = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    area.cols = 2 + pick(11);
    area.rows = 2 + pick(11);
    area.m = uni(2.0, 25.0);
    area.x0 = uni(-5000.0, 5000.0);
    area.y0 = uni(-5000.0, 5000.0);
    area.angle = pick(4) == 0 ? 45.0 * pick(8) : uni(-180.0, 360.0);
    scale = pick(3) == 0 ? 1.0 : uni(0.05, 8.0);
    tide = pick(3) == 0 ? 0.0 : uni(-3.0, 2.0);
    const double W = area.cols * area.m, H = area.rows * area.m;

    std::vector<int> pts;
    const int npts = 6 + pick(40);
    for (int k = 0; k < npts; ++k) {
        double mx, my;
        switch (pick(4)) {
        case 0:  // on a node: its ends lie on grid lines of every family
            mx = pick(area.cols) * area.m;
            my = pick(area.rows) * area.m;
            break;
        case 1:  // where another point is
            if (!pts.empty()) {
                const CPointD p = g_surveyPoints.GetAt(pts[pick(static_cast<int>(pts.size()))]).GetPos();
                pts.push_back(test::Pt(p.m_dX, p.m_dY, uni(-20.0, 3.0)));
                continue;
            }
            [[fallthrough]];
        default:
            mx = uni(-0.5 * W, 1.5 * W);
            my = uni(-0.5 * H, 1.5 * H);
        }
        pts.push_back(test::MPt(area, mx, my, uni(-20.0, 3.0)));
    }
    const int nlines = 3 + pick(40);
    for (int k = 0; k < nlines; ++k) {
        const int a = pts[pick(npts)], b = pts[pick(npts)];
        if (a == b) continue;
        test::Ln(a, b, pick(4), pick(3), uni(-20.0, 1.0));
    }
    // Lines along a row or a column.
    for (int k = pick(3); k > 0; --k) {
        const int r = pick(area.rows), c0 = pick(area.cols), c1 = pick(area.cols);
        if (c0 == c1) continue;
        const bool col = pick(2) == 0;
        const int a = col ? test::MPt(area, r * area.m * 0 + c0 * area.m, pick(area.rows) * area.m, uni(-9, 0))
                          : test::MPt(area, c0 * area.m, r * area.m, uni(-9, 0));
        const int b = col ? test::MPt(area, c0 * area.m, pick(area.rows) * area.m, uni(-9, 0))
                          : test::MPt(area, c1 * area.m, r * area.m, uni(-9, 0));
        test::Ln(a, b, 1 + pick(3), pick(2), uni(-9.0, 0.0));
    }
    // Land: rings and open chains of terrain lines with blocks beside them.
    for (int k = pick(4); k > 0; --k) {
        const double cx = uni(-0.3 * W, 1.3 * W), cy = uni(-0.3 * H, 1.3 * H);
        const double rad = uni(0.1, 0.7) * std::max(W, H);
        const int n = 3 + pick(6);
        const bool ring = pick(2) == 0;
        std::vector<int> chain;
        for (int v = 0; v < n; ++v) {
            const double ang = v * 6.283185307179586 / n + uni(-0.2, 0.2);
            const double rr = ring ? rad : rad * (1.0 + 2.0 * v);
            chain.push_back(test::MPt(area, cx + rr * std::cos(ang), cy + rr * std::sin(ang), uni(-6.0, 3.0)));
        }
        test::Chain(chain, kLineTerrain, ring, pick(4) == 0 ? kBoundaryValid : kHeightFromPoints);
        const CPointD ref = area.World(cx + uni(-0.5, 0.5) * rad, cy + uni(-0.5, 0.5) * rad);
        g_blocks.Add(ref.m_dX, ref.m_dY);
    }
    if (pick(4) == 0) {
        const CPointD ref = area.World(uni(0, W), uni(0, H));
        g_blocks.Add(ref.m_dX, ref.m_dY);
    }
    UpdatePointLineLinks(kLinksTerrain);
}

TEST(CalcDepthEquivalence, FastMatchesStraightforwardBitForBit) {
    test::ScriptedProgress progress;
    std::mt19937 rng(20240607);
    int withSea = 0;
    for (int trial = 0; trial < 400; ++trial) {
        test::Area area;
        double tide = 0.0, scale = 1.0;
        MakeProject(rng, area, tide, scale);
        DepthMeshOptions straight;
        straight.method = DepthMeshOptions::Method::Straightforward;
        const Outcome ref = RunOnce(area, tide, scale, straight);
        for (int threads : {1, 4}) {
            DepthMeshOptions fast;
            fast.method = DepthMeshOptions::Method::Fast;
            fast.threads = threads;
            ExpectSame(ref, RunOnce(area, tide, scale, fast), trial);
            if (::testing::Test::HasFatalFailure()) return;
        }
        withSea += ref.result == 0;
    }
    // The random projects must exercise the whole calculation, not just empty meshes.
    EXPECT_GT(withSea, 100);
    test::ResetTerrain();
}

}  // namespace
}  // namespace wv
