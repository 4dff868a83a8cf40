// Contour tracing: the level list, single triangles, small meshes whose polylines were
// worked out by hand from the tracing rules, random meshes against the reference tracer,
// and the runs with their progress window, cancel and refusals.
#include "calc/calc_state.h"
#include "calc/contour_levels.h"
#include "calc/contour_trace.h"
#include "calc_test_util.h"
#include "contour_test_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <set>
#include <tuple>

namespace wv {
namespace {

using namespace contourtest;
const double kNaN = std::numeric_limits<double>::quiet_NaN();

// ---- level list ------------------------------------------------------------------------

struct LevelCase {
    const char* name;
    double from, to, interval;
    std::vector<double> extra;
    double lo, hi;
    std::vector<double> expected;
};

TEST(ContourLevels, LadderAndExtraLevels) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<LevelCase> cases = {
        {"ladder", 0, 4, 1, {}, 0, 10, {0, 1, 2, 3, 4}},
        {"from above to is swapped", 4, 0, 1, {}, 0, 10, {0, 1, 2, 3, 4}},
        {"ladder below the values skipped, above them ends", 0, 10, 1, {}, 1.5, 3.2, {2, 3}},
        {"extra on the ladder once, above to when in range", 0, 10, 1, {5.0, 12.5}, 0, 20,
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12.5}},
        {"extra above the values skipped", 0, 3, 1, {12.5}, 0, 12, {0, 1, 2, 3}},
        {"extra between rungs and below from", 2, 4, 1, {2.5, 1.0, 3.00005}, 0, 10, {2, 3, 4, 2.5, 1.0}},
        {"interval 0 traces only the extras", 0, 10, 0, {2.5, 30}, 0, 10, {2.5}},
        {"interval -1 traces only the extras", 0, 10, -1, {7}, 0, 10, {7}},
        {"interval too small to move the level", 1, 2, 1e-20, {1.5}, 0, 10, {1.5}},
        {"from not a number", kNaN, 5, 1, {3}, 0, 10, {3}},
        {"to infinite", 0, inf, 1, {3}, 0, 10, {3}},
        {"interval not a number", 0, 5, kNaN, {3}, 0, 10, {3}},
        {"extra not a number", 0, 1, 1, {kNaN}, 0, 10, {0, 1}},
        {"nothing in range", 20, 30, 1, {}, 0, 10, {}},
    };
    for (const LevelCase& c : cases) {
        CContPara para;
        SetLevels(para, c.from, c.to, c.interval, c.extra);
        const ContourLevelList list = BuildContourLevels(para, c.lo, c.hi);
        EXPECT_FALSE(list.tooMany) << c.name;
        EXPECT_EQ(list.levels, c.expected) << c.name;
    }
}

TEST(ContourLevels, LadderIsBuiltByRepeatedAddition) {
    CContPara para;
    SetLevels(para, 0.0, 1.0, 0.1);
    const ContourLevelList list = BuildContourLevels(para, 0.0, 2.0);
    double v = 0.0;
    ASSERT_EQ(list.levels.size(), 11u);
    for (double level : list.levels) {
        EXPECT_EQ(level, v);  // bit for bit, 0.30000000000000004 included
        v += 0.1;
    }
}

TEST(ContourLevels, TooManyLevelsAreRefused) {
    CContPara para;
    SetLevels(para, 0.0, 1e6, 1.0);
    EXPECT_TRUE(BuildContourLevels(para, 0.0, 1e6).tooMany);
    SetLevels(para, 0.0, 1e5 - 1, 1.0);  // exactly the limit
    EXPECT_FALSE(BuildContourLevels(para, 0.0, 1e6).tooMany);
    // A ladder starting far below the values would be walked for ever.
    SetLevels(para, -1e15, 5, 1.0);
    EXPECT_TRUE(BuildContourLevels(para, 0.0, 10.0).tooMany);
}

// ---- single triangles ------------------------------------------------------------------

// A 2 x 2 mesh with the lower-left corner on land is one triangle (UR, LR, UL).
struct TriangleCase {
    const char* name;
    double ur, lr, ul;
    int points, segments;
};

TEST(ContourTracing, SingleTriangleMasks) {
    const std::vector<TriangleCase> cases = {
        {"two edges crossed", 1, 3, 3, 2, 1},
        {"flat on the level", 2, 2, 2, 0, 0},
        {"lone node, others above", 2, 3, 3, 0, 0},
        {"lone node, others below", 1, 2, 1, 0, 0},
        {"node and the opposite edge", 2, 1, 3, 2, 1},
        {"node UL and the opposite edge", 1, 3, 2, 2, 1},
        {"node LR and the opposite edge", 3, 2, 1, 2, 1},
        {"two nodes on the level", 2, 2, 3, 2, 1},
        {"two nodes UR and UL", 2, 1, 2, 2, 1},
        {"two nodes LR and UL", 3, 2, 2, 2, 1},
        {"level outside the range", 1, 1.5, 1.9, 0, 0},
    };
    for (const TriangleCase& c : cases) {
        TestDoc doc;
        CTydViewData view(doc);
        MakeField(view, 2, 2, {kNaN, c.lr, c.ul, c.ur});
        ASSERT_EQ(doc.m_nTriNodes, 1) << c.name;
        doc.TraceDepthContour(2.0);
        EXPECT_EQ(doc.m_hcheckPoints.GetCount(), c.points) << c.name;
        EXPECT_EQ(doc.m_hcheckLines.GetCount(), c.segments) << c.name;
        EXPECT_EQ(doc.TraceResultContour(1, 2.0), c.segments > 0 ? 0 : -1) << c.name;
        EXPECT_EQ(doc.m_contGroup.GetCount(), c.segments) << c.name;
    }
}

TEST(ContourTracing, SharedEdgeOnTheLevelGivesOneSegment) {
    // LL and UR on the level: the diagonal lies on it, in both triangles.
    TestDoc doc;
    CTydViewData view(doc);
    MakeField(view, 2, 2, {2, 3, 1, 2});
    doc.TraceDepthContour(2.0);
    EXPECT_EQ(doc.m_hcheckPoints.GetCount(), 2);
    ASSERT_EQ(doc.m_hcheckLines.GetCount(), 1);
    EXPECT_EQ(doc.m_hcheckPoints.GetPoint(0), CPointF(0, 0));
    EXPECT_EQ(doc.m_hcheckPoints.GetPoint(1), CPointF(10, 10));
}

TEST(ContourTracing, LevelsBelowTheShoreAreNeverTraced) {
    TestDoc doc;
    CTydViewData view(doc);
    MakeField(view, 2, 2, {0.0, 1.0, 1.0, 0.00005});
    doc.TraceDepthContour(0.0);
    doc.TraceDepthContour(0.00005);
    EXPECT_EQ(doc.m_hcheckPoints.GetCount(), 0);
    EXPECT_EQ(doc.TraceResultContour(1, 0.0), -1);
    EXPECT_EQ(doc.m_contGroup.GetCount(), 0);
}

// ---- golden meshes, polylines worked out by hand ----------------------------------------

TEST(ContourGolden, LevelAcrossTheMeshIsOneOpenPolyline) {
    // 3 x 2 nodes, values rising in x. Level 1.5 cuts the first column of cells: the
    // crossings sort as (0,1) (0,4) (3,4); the first segment (triangle 0) has its open
    // end at (3,4), so the walk starts at the top.
    TestDoc doc;
    CTydViewData view(doc);
    MakeField(view, 2, 3, {1, 2, 3, 1, 2, 3});
    ASSERT_EQ(doc.TraceResultContour(1, 1.5), 0);
    ASSERT_EQ(doc.m_contGroup.GetCount(), 1);
    EXPECT_EQ(Line(doc, 0), (std::vector<Pt>{{5, 10}, {5, 5}, {5, 0}}));
    EXPECT_EQ(doc.m_contGroup.GetLevel(0), 1.5);
    const CContPoint p = doc.m_contGroup.GetPoint(0, 0);
    EXPECT_EQ(std::make_tuple(p.m_nLabel, p.m_nSelect, p.m_nLine), std::make_tuple(0, 0, 1));

    // The depth check keeps the entries in sorted order and the segments in triangle order.
    doc.TraceDepthContour(1.5);
    ASSERT_EQ(doc.m_hcheckPoints.GetCount(), 3);
    EXPECT_EQ(doc.m_hcheckPoints.GetPoint(0), CPointF(5, 0));
    EXPECT_EQ(doc.m_hcheckPoints.GetPoint(1), CPointF(5, 5));
    EXPECT_EQ(doc.m_hcheckPoints.GetPoint(2), CPointF(5, 10));
    EXPECT_EQ(doc.m_hcheckPoints.GetValue(2), 1.5f);
    ASSERT_EQ(doc.m_hcheckLines.GetCount(), 2);
    EXPECT_EQ(std::make_pair(doc.m_hcheckLines.GetStart(0), doc.m_hcheckLines.GetEnd(0)), std::make_pair(1, 2));
    EXPECT_EQ(std::make_pair(doc.m_hcheckLines.GetStart(1), doc.m_hcheckLines.GetEnd(1)), std::make_pair(0, 1));
}

TEST(ContourGolden, RingAroundADeepNodeIsClosed) {
    // 3 x 3 nodes at 1, the centre at 3. Level 2: six crossings round the centre, all of
    // degree 2; the loop starts at the first end of segment 0, entry (0,4), and follows
    // segment 3 (the other one at (3,4)).
    TestDoc doc;
    CTydViewData view(doc);
    MakeField(view, 3, 3, {1, 1, 1, 1, 3, 1, 1, 1, 1});
    ASSERT_EQ(doc.TraceResultContour(1, 2.0), 0);
    ASSERT_EQ(doc.m_contGroup.GetCount(), 1);
    EXPECT_EQ(Line(doc, 0),
              (std::vector<Pt>{{5, 5}, {5, 10}, {10, 15}, {15, 15}, {15, 10}, {10, 5}, {5, 5}}));
}

TEST(ContourGolden, SaddleThroughANodeOfDegreeFour) {
    // The centre lies on the level, with four arms: to the bottom edge, to the right edge
    // through (1,5), to the left edge through (3,7), to the top edge. Open ends first, in
    // segment order; each arm stops at the centre (degree 4).
    TestDoc doc;
    CTydViewData view(doc);
    MakeField(view, 3, 3, {3, 1, 1, 3, 2, 3, 1, 1, 3});
    ASSERT_EQ(doc.TraceResultContour(1, 2.0), 0);
    ASSERT_EQ(doc.m_contGroup.GetCount(), 4);
    EXPECT_EQ(Line(doc, 0), (std::vector<Pt>{{5, 0}, {10, 10}}));
    EXPECT_EQ(Line(doc, 1), (std::vector<Pt>{{20, 5}, {15, 5}, {10, 10}}));
    EXPECT_EQ(Line(doc, 2), (std::vector<Pt>{{0, 15}, {5, 15}, {10, 10}}));
    EXPECT_EQ(Line(doc, 3), (std::vector<Pt>{{15, 20}, {10, 10}}));
}

// ---- random meshes ---------------------------------------------------------------------

// Everything a run leaves, for comparing runs.
struct Snapshot {
    std::vector<float> px, py, pv;
    std::vector<int> s1, s2;
    std::vector<std::tuple<double, std::vector<Pt>>> lines;
    int capacity = 0, growBy = 0;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const CTydDocData& doc) {
    Snapshot s;
    for (int i = 0; i < doc.m_hcheckPoints.GetCount(); ++i) {
        s.px.push_back(doc.m_hcheckPoints.GetPoint(i).m_fX);
        s.py.push_back(doc.m_hcheckPoints.GetPoint(i).m_fY);
        s.pv.push_back(doc.m_hcheckPoints.GetValue(i));
    }
    for (int i = 0; i < doc.m_hcheckLines.GetCount(); ++i) {
        s.s1.push_back(doc.m_hcheckLines.GetStart(i));
        s.s2.push_back(doc.m_hcheckLines.GetEnd(i));
    }
    for (int i = 0; i < doc.m_contGroup.GetCount(); ++i) s.lines.emplace_back(doc.m_contGroup.GetLevel(i), Line(doc, i));
    s.capacity = doc.m_contGroup.GetCapacity();
    s.growBy = doc.m_contGroup.GetGrowBy();
    return s;
}

// A random mesh with land, plateaus of values that lie exactly on levels, and ramps.
std::vector<double> RandomValues(std::mt19937& rng, int rows, int cols) {
    std::vector<double> v(static_cast<std::size_t>(rows) * cols);
    const int style = rng() % 3;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            double x;
            if (style == 0) x = 0.5 * (rng() % 9);                        // many nodes on levels
            else if (style == 1) x = 4.0 + 3.0 * std::sin(0.7 * r) * std::cos(0.5 * c) + 0.25 * (rng() % 4);
            else x = 0.05 * r + 0.3 * c + 0.001 * (rng() % 100);
            v[static_cast<std::size_t>(r) * cols + c] = rng() % 7 == 0 ? kNaN : x;
        }
    return v;
}

// Where a point may lie at level L: a node on the level or a cut edge, at the position
// the interpolation gives in float. Returns the node set of the crossing, or empty.
std::set<int> CrossingAt(const CTydDocData& doc, CPointF p, double L) {
    const CDigitalMap& m = doc.m_mesh;
    for (int n = 0; n < m.GetCount(); ++n)
        if (std::fabs(m.GetAt(n).GetHeightRatio() - L) < 1e-7 && m.GetAt(n).GetPos() == p) return {n};
    for (int e = 0; e < doc.m_triLine.GetCount(); ++e) {
        const int a = doc.m_triLine.GetAt(e).GetNode1(), b = doc.m_triLine.GetAt(e).GetNode2();
        const double va = m.GetAt(a).GetHeightRatio(), vb = m.GetAt(b).GetHeightRatio();
        if (!((va < L && vb > L) || (va > L && vb < L))) continue;
        const CPointF pa = m.GetAt(a).GetPos(), pb = m.GetAt(b).GetPos();
        const float x = static_cast<float>(pa.m_fX + (double(pb.m_fX) - pa.m_fX) * (L - va) / (vb - va));
        const float y = static_cast<float>(pa.m_fY + (double(pb.m_fY) - pa.m_fY) * (L - va) / (vb - va));
        if (CPointF(x, y) == p) return {a, b};
    }
    return {};
}

bool ShareATriangle(const CTydDocData& doc, const std::set<int>& a, const std::set<int>& b) {
    for (int t = 0; t < doc.m_nTriNodes; ++t) {
        const std::set<int> tri(&doc.m_pTriNodeB[3 * t], &doc.m_pTriNodeB[3 * t] + 3);
        if (std::includes(tri.begin(), tri.end(), a.begin(), a.end()) &&
            std::includes(tri.begin(), tri.end(), b.begin(), b.end()))
            return true;
    }
    return false;
}

TEST(ContourRandom, FastEqualsReferenceAndThreadsDoNotMatter) {
    std::mt19937 rng(13);
    ScriptedUi ui;
    ScopedUi scoped(&ui);
    QuietProgress quiet;
    for (int trial = 0; trial < 60; ++trial) {
        const int rows = 2 + rng() % 14, cols = 2 + rng() % 14;
        const std::vector<double> values = RandomValues(rng, rows, cols);
        std::vector<Snapshot> runs;
        for (auto [method, threads] : {std::pair{ContourOptions::Method::Straightforward, 1},
                                       std::pair{ContourOptions::Method::Fast, 1},
                                       std::pair{ContourOptions::Method::Fast, 8}}) {
            TestDoc doc;
            CTydViewData view(doc);
            MakeField(view, rows, cols, values);
            if (doc.m_nTriNodes == 0) break;
            SetLevels(doc.m_contPara, 0.0, 9.0, 0.5, {1.25, 3.0, 20.0, 1.25});
            SetLevels(doc.m_contParaFig[1], 0.0, 9.0, 0.5, {1.25, 3.0, 20.0, 1.25});
            ContourOptions options;
            options.method = method;
            options.threads = threads;
            const int d = MakeDepthContours(view, options);
            const int r = MakeResultContours(view, 1, options);
            EXPECT_EQ(d, r);
            runs.push_back(Take(doc));
        }
        if (runs.size() < 3) continue;
        EXPECT_EQ(runs[0], runs[1]) << "trial " << trial;
        EXPECT_EQ(runs[0], runs[2]) << "trial " << trial;
    }
    EXPECT_TRUE(ui.Messages().empty());
}

TEST(ContourRandom, PolylinesLieOnTheLevelAndUseEverySegmentOnce) {
    std::mt19937 rng(29);
    QuietProgress quiet;
    for (int trial = 0; trial < 25; ++trial) {
        const int rows = 2 + rng() % 9, cols = 2 + rng() % 9;
        TestDoc doc;
        CTydViewData view(doc);
        MakeField(view, rows, cols, RandomValues(rng, rows, cols));
        if (doc.m_nTriNodes == 0) continue;
        for (double L : {0.5, 1.0, 2.25, 4.0, 5.5}) {
            doc.m_hcheckPoints.Free();
            doc.m_hcheckPoints.SetCount(0);
            doc.m_hcheckLines.Free();
            doc.m_hcheckLines.SetCount(0);
            doc.m_contGroup.FreeLines();
            doc.m_contGroup.SetCount(0);
            doc.m_contGroup.SetCapacity(0);
            doc.TraceDepthContour(L);
            doc.TraceResultContour(1, L);
            // The same segments as the depth check, each once.
            std::multiset<std::pair<std::set<int>, std::set<int>>> loose, chained;
            std::vector<std::set<int>> at(doc.m_hcheckPoints.GetCount());
            for (int i = 0; i < doc.m_hcheckPoints.GetCount(); ++i) {
                at[i] = CrossingAt(doc, doc.m_hcheckPoints.GetPoint(i), L);
                ASSERT_FALSE(at[i].empty()) << "trial " << trial << " level " << L;
            }
            for (int s = 0; s < doc.m_hcheckLines.GetCount(); ++s) {
                const int a = doc.m_hcheckLines.GetStart(s), b = doc.m_hcheckLines.GetEnd(s);
                EXPECT_LE(a, b);
                loose.insert(std::minmax(at[a], at[b]));
            }
            for (int i = 0; i < doc.m_contGroup.GetCount(); ++i) {
                const std::vector<Pt> line = Line(doc, i);
                ASSERT_GE(line.size(), 2u);
                std::set<int> prev = CrossingAt(doc, CPointF(line[0].x, line[0].y), L);
                ASSERT_FALSE(prev.empty());
                for (std::size_t j = 1; j < line.size(); ++j) {
                    const std::set<int> cur = CrossingAt(doc, CPointF(line[j].x, line[j].y), L);
                    ASSERT_FALSE(cur.empty());
                    EXPECT_TRUE(ShareATriangle(doc, prev, cur));
                    chained.insert(std::minmax(prev, cur));
                    prev = cur;
                }
            }
            EXPECT_EQ(loose, chained) << "trial " << trial << " level " << L;
        }
    }
}

// ---- a fan of triangles round one node (a damaged file can hold one) --------------------

TEST(ContourTracing, MoreThan32SegmentEndsAtACrossing) {
    // Node 0 in the middle on the level, 40 rim nodes alternately below and above: 40
    // segments meet at node 0. Only 32 are recorded there, yet each segment makes one
    // polyline from its open rim end to the centre.
    constexpr int kRim = 40;
    TestDoc doc;
    CDigitalMap& m = doc.m_mesh;
    m.SetCount(kRim + 1);
    m.AllocValues();
    for (int i = 0; i <= kRim; ++i) {
        CCalValue v;
        const double a = 2 * 3.141592653589793 * i / kRim;
        v.SetPos(i == 0 ? 0.0f : static_cast<float>(10 * std::cos(a)), i == 0 ? 0.0f : static_cast<float>(10 * std::sin(a)));
        const float value = i == 0 ? 2.0f : (i % 2 ? 1.0f : 3.0f);
        v.SetDepth(value);
        v.SetHeightRatio(value);
        m.SetAt(i, v);
    }
    m.SetWaveHeight(1.0);
    doc.m_triLine.SetCount(2 * kRim);
    doc.m_triLine.Alloc();
    for (int i = 1; i <= kRim; ++i) {
        doc.m_triLine.SetAt(i - 1, CTriLineZokusei(0, i));                               // spoke
        doc.m_triLine.SetAt(kRim + i - 1, CTriLineZokusei(std::min(i, i % kRim + 1), std::max(i, i % kRim + 1)));
    }
    doc.m_nTriNodes = kRim;
    for (int i = 1; i <= kRim; ++i) {
        const int j = i % kRim + 1;
        doc.m_pTriNodeB.insert(doc.m_pTriNodeB.end(), {0, j, i});
        doc.m_pTriNodeA.insert(doc.m_pTriNodeA.end(), {j - 1, kRim + i - 1, i - 1});
        doc.m_pTriMinDepth.push_back(1.0f);
        doc.m_pTriMaxDepth.push_back(3.0f);
    }
    doc.m_pTriMinValue[0] = doc.m_pTriMinDepth;
    doc.m_pTriMaxValue[0] = doc.m_pTriMaxDepth;

    ASSERT_EQ(TraceResultContourReference(doc, 1, 2.0), 0);
    const Snapshot reference = Take(doc);
    doc.m_contGroup.FreeLines();
    doc.m_contGroup.SetCount(0);
    doc.m_contGroup.SetCapacity(0);
    ASSERT_EQ(doc.TraceResultContour(1, 2.0), 0);
    EXPECT_EQ(Take(doc), reference);
    ASSERT_EQ(doc.m_contGroup.GetCount(), kRim);
    for (int i = 0; i < kRim; ++i) {
        const std::vector<Pt> line = Line(doc, i);
        ASSERT_EQ(line.size(), 2u);
        EXPECT_EQ(line[1], (Pt{0, 0}));
    }
}

TEST(ContourTracing, DamagedTablesAreSkipped) {
    // A triangle naming a node the mesh lacks, and a count above the tables, as a damaged
    // document could hold them: only the sound triangle is cut.
    for (bool reference : {false, true}) {
        TestDoc doc;
        CTydViewData view(doc);
        MakeField(view, 2, 2, {1, 3, 3, 1});
        ASSERT_EQ(doc.m_nTriNodes, 2);
        doc.m_pTriNodeB[0] = 999;
        doc.m_nTriNodes = 7;
        if (reference) {
            TraceDepthContourReference(doc, 2.0);
            EXPECT_EQ(TraceResultContourReference(doc, 1, 2.0), 0);
        } else {
            doc.TraceDepthContour(2.0);
            EXPECT_EQ(doc.TraceResultContour(1, 2.0), 0);
        }
        EXPECT_EQ(doc.m_hcheckLines.GetCount(), 1);
        EXPECT_EQ(doc.m_contGroup.GetCount(), 1);
    }
}

// ---- runs ------------------------------------------------------------------------------

class ContourRun : public ::testing::Test {
protected:
    void SetUp() override {
        // Depth rising to the right, 11 x 6 nodes 10 m apart, 0.5 .. 10.5.
        std::vector<double> v;
        for (int r = 0; r < 6; ++r)
            for (int c = 0; c < 11; ++c) v.push_back(0.5 + c + 0.01 * r);
        QuietProgress quiet;
        MakeField(view, 6, 11, v);
    }
    int Levels(const CTydDocData& d) const {
        std::set<float> s;
        for (int i = 0; i < d.m_hcheckPoints.GetCount(); ++i) s.insert(d.m_hcheckPoints.GetValue(i));
        return static_cast<int>(s.size());
    }

    ScriptedUi ui;
    ScopedUi scoped{&ui};
    TestDoc doc;
    CTydViewData view{doc};
};

TEST_F(ContourRun, ProgressWindowAndLevels) {
    test::ScriptedProgress progress;
    SetLevels(doc.m_contPara, 0.0, 20.0, 2.0, {5.0});
    ASSERT_EQ(MakeDepthContours(view), 0);
    SetLevels(doc.m_contParaFig[1], 0.0, 20.0, 2.0);
    ASSERT_EQ(MakeResultContours(view, 1), 0);
    ASSERT_EQ(progress.Logs().size(), 2u);
    // Levels 2, 4, 6, 8, 10 and the extra 5 (0 lies below the values).
    EXPECT_EQ(progress.Logs()[0]->caption, "水深図作成中");
    EXPECT_EQ(progress.Logs()[0]->pumps, 6);
    EXPECT_TRUE(progress.Logs()[0]->destroyed);
    EXPECT_EQ(Levels(doc), 6);
    EXPECT_EQ(progress.Logs()[1]->caption, "ｺﾝﾀﾃﾞｰﾀ作成中");
    EXPECT_EQ(doc.m_contGroup.GetCount(), 5);
    EXPECT_EQ(doc.m_contGroup.GetCapacity(), 500);  // 100 per level, as the file keeps it
    EXPECT_EQ(doc.m_contGroup.GetGrowBy(), 500);
}

TEST_F(ContourRun, RefusalsKeepTheEarlierContours) {
    test::ScriptedProgress progress;
    SetLevels(doc.m_contPara, 1.0, 3.0, 1.0);
    SetLevels(doc.m_contParaFig[1], 1.0, 3.0, 1.0);
    ASSERT_EQ(MakeDepthContours(view), 0);
    ASSERT_EQ(MakeResultContours(view, 1), 0);
    const Snapshot before = Take(doc);

    SetLevels(doc.m_contPara, 50.0, 60.0, 1.0);  // no level in range
    SetLevels(doc.m_contParaFig[1], 50.0, 60.0, 1.0);
    EXPECT_EQ(MakeDepthContours(view), -1);
    EXPECT_EQ(MakeResultContours(view, 1), -1);
    EXPECT_TRUE(ui.Messages().empty());
    SetLevels(doc.m_contPara, 0.0, 10.0, 0.00001);  // a million levels
    EXPECT_EQ(MakeDepthContours(view), -1);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_NE(ui.Messages()[0].text.find("100000"), std::string::npos);
    EXPECT_EQ(Take(doc), before);
    for (const auto& log : progress.Logs()) EXPECT_TRUE(log->destroyed);

    // Interval 0 or below: only the extra levels, without a message.
    SetLevels(doc.m_contPara, 0.0, 10.0, 0.0, {3.25});
    ASSERT_EQ(MakeDepthContours(view), 0);
    EXPECT_EQ(Levels(doc), 1);
    SetLevels(doc.m_contPara, 0.0, 10.0, -1.0, {3.25, 4.25});
    ASSERT_EQ(MakeDepthContours(view), 0);
    EXPECT_EQ(Levels(doc), 2);
    EXPECT_EQ(ui.Messages().size(), 1u);

    // Without a triangulation: -1 before any window.
    const std::size_t windows = progress.Logs().size();
    ClearMeshData(doc, 0);
    EXPECT_EQ(MakeDepthContours(view), -1);
    EXPECT_EQ(MakeResultContours(view, 1), -1);
    EXPECT_EQ(progress.Logs().size(), windows);
}

TEST_F(ContourRun, CancelAtALevelEmptiesTheFigure) {
    for (auto method : {ContourOptions::Method::Straightforward, ContourOptions::Method::Fast}) {
        ContourOptions options;
        options.method = method;
        options.threads = 4;
        SetLevels(doc.m_contPara, 1.0, 9.0, 1.0);
        SetLevels(doc.m_contParaFig[1], 1.0, 9.0, 1.0);
        {
            test::ScriptedProgress progress;
            ASSERT_EQ(MakeDepthContours(view, options), 0);
            ASSERT_EQ(MakeResultContours(view, 1, options), 0);
        }
        ASSERT_GT(doc.m_hcheckPoints.GetCount(), 0);
        ASSERT_GT(doc.m_contGroup.GetCount(), 0);
        ui.PushAnswer(IDOK);
        ui.PushAnswer(IDOK);
        test::ScriptedProgress progress({3, 5});
        EXPECT_EQ(MakeDepthContours(view, options), -1);
        EXPECT_EQ(MakeResultContours(view, 1, options), -1);
        EXPECT_EQ(progress.Logs()[0]->pumps, 3);
        EXPECT_EQ(progress.Logs()[1]->pumps, 5);
        EXPECT_TRUE(progress.Logs()[0]->destroyed && progress.Logs()[1]->destroyed);
        EXPECT_EQ(doc.m_hcheckPoints.GetCount(), 0);
        EXPECT_EQ(doc.m_hcheckLines.GetCount(), 0);
        EXPECT_EQ(doc.m_contGroup.GetCount(), 0);
        EXPECT_EQ(doc.m_contGroup.GetCapacity(), 0);

        // A single level traced into the group a cancel left behind is kept.
        EXPECT_EQ(doc.TraceResultContour(1, 4.5), 0);
        EXPECT_EQ(doc.m_contGroup.GetCount(), 1);
        EXPECT_GE(doc.m_contGroup.GetCapacity(), 1);
    }
}

TEST_F(ContourRun, SingleLevelsAfterAResetAreStored) {
    // What the reset of the results leaves: no polylines, capacity 0, step 0.
    doc.m_contGroup.FreeLines();
    doc.m_contGroup.SetCount(0);
    doc.m_contGroup.SetCapacity(0);
    doc.m_contGroup.SetGrowBy(0);
    for (double L : {2.5, 3.5, 4.5}) EXPECT_EQ(doc.TraceResultContour(1, L), 0);
    EXPECT_EQ(doc.m_contGroup.GetCount(), 3);
    EXPECT_GE(doc.m_contGroup.GetCapacity(), 3);
    EXPECT_EQ(doc.m_contGroup.GetLevel(2), 4.5);
}

TEST(ContourCapacity, GroupGrowsByItsStepWhenFull) {
    // 101 separate peaks in a 3-row mesh: 101 rings at one level, capacity 100.
    std::vector<double> v(3 * 203, 1.0);
    for (int c = 1; c < 203; c += 2) v[203 + c] = 3.0;
    QuietProgress quiet;
    TestDoc doc;
    CTydViewData view(doc);
    MakeField(view, 3, 203, v);
    SetLevels(doc.m_contParaFig[1], 2.0, 2.0, 1.0);
    ASSERT_EQ(MakeResultContours(view, 1), 0);
    EXPECT_EQ(doc.m_contGroup.GetCount(), 101);
    EXPECT_EQ(doc.m_contGroup.GetCapacity(), 200);
    for (int i = 0; i < 101; ++i) {
        const std::vector<Pt> ring = Line(doc, i);
        ASSERT_EQ(ring.size(), 7u);
        EXPECT_EQ(ring.front(), ring.back());
        EXPECT_EQ(ring.front().x, 20.0f * i + 5.0f);  // rings in the order of their first segment
    }
}

TEST(ContourDepth, PointIndicesContinueAcrossLevels) {
    QuietProgress quiet;
    TestDoc doc;
    CTydViewData view(doc);
    MakeField(view, 3, 3, {1, 1, 1, 1, 3, 1, 1, 1, 1});
    doc.TraceDepthContour(2.0);
    const int p = doc.m_hcheckPoints.GetCount();
    const int s = doc.m_hcheckLines.GetCount();
    ASSERT_EQ(p, 6);
    ASSERT_EQ(s, 6);
    doc.TraceDepthContour(1.5);
    ASSERT_EQ(doc.m_hcheckPoints.GetCount(), 12);
    ASSERT_EQ(doc.m_hcheckLines.GetCount(), 12);
    for (int j = s; j < 12; ++j) {
        EXPECT_GE(doc.m_hcheckLines.GetStart(j), p);
        EXPECT_LE(doc.m_hcheckLines.GetStart(j), doc.m_hcheckLines.GetEnd(j));
        EXPECT_EQ(doc.m_hcheckPoints.GetValue(doc.m_hcheckLines.GetEnd(j)), 1.5f);
    }
    for (int j = 0; j < s; ++j) EXPECT_LT(doc.m_hcheckLines.GetEnd(j), p);
}

}  // namespace
}  // namespace wv
