// Contour records: picking, run selection, area selection and erasing, growth, archives.
#include "core/contour.h"
#include "golden.h"

#include <initializer_list>
#include <utility>

namespace wv {
namespace {

using test::Golden;
using test::Load;
using test::Rect;
using test::Stored;

using Points = std::initializer_list<std::pair<float, float>>;

// Appends a polyline the way the contour tracer does.
void AddLine(CContGroup& g, double level, Points pts) {
    const int i = g.GetCount();
    if (i >= g.GetCapacity()) g.Grow();
    g.SetPointCount(i, static_cast<int>(pts.size()));
    g.AllocPoints(i);
    g.SetLevel(i, level);
    int j = 0;
    for (auto [x, y] : pts) g.SetPoint(i, j++, CContPoint(x, y));
    g.SetCount(i + 1);
}

CContGroup MakeGroup(std::initializer_list<Points> lines) {
    CContGroup g;
    g.SetCapacity(10);
    g.SetGrowBy(10);
    g.AllocLines();
    double level = 1.0;
    for (Points p : lines) AddLine(g, level++, p);
    return g;
}

void SetLine(CContGroup& g, int i, int j, int drawn) {
    CContPoint p = g.GetPoint(i, j);
    p.m_nLine = static_cast<std::int16_t>(drawn);
    g.SetPoint(i, j, p);
}

std::vector<int> Selected(const CContGroup& g, int i) {
    std::vector<int> out;
    for (int j = 0; j < g.GetPointCount(i); ++j)
        if (g.GetPoint(i, j).m_nSelect) out.push_back(j);
    return out;
}

std::vector<int> Erased(const CContGroup& g, int i) {
    std::vector<int> out;
    for (int j = 0; j < g.GetPointCount(i); ++j)
        if (!g.GetPoint(i, j).m_nLine) out.push_back(j);
    return out;
}

// (line, segment) that HitTest gives; both start at 7, and the segment is left alone
// when nothing is found.
std::pair<int, int> Hit(const CContGroup& g, double x, double y, double tolerance) {
    std::pair<int, int> r{7, 7};
    g.HitTest(x, y, tolerance, &r.first, &r.second);
    return r;
}
using Picked = std::pair<int, int>;

TEST(ContGroup, HitTestTolerancesAndTies) {
    CContGroup g = MakeGroup({{{0, 0}, {10, 0}, {20, 0}}});
    // The segment passes 2 away, but both start points lie 5 away in x.
    EXPECT_EQ(Hit(g, 5.0, 2.0, 1.0), Picked(-1, 7));
    // Exactly 2 x tolerance from segment 1 is still found; farther is not.
    EXPECT_EQ(Hit(g, 12.0, 2.0, 1.0), Picked(0, 1));
    EXPECT_EQ(Hit(g, 12.0, 2.5, 1.0), Picked(-1, 7));
    // Beyond the end the distance is the one to the end point.
    EXPECT_EQ(Hit(g, 21.5, 0.0, 3.0), Picked(0, 1));
    // Erased segments are not picked.
    SetLine(g, 0, 1, 0);
    EXPECT_EQ(Hit(g, 12.0, 1.0, 1.0), Picked(-1, 7));
    // Of two segments at the same distance the later one is picked.
    CContGroup twins = MakeGroup({{{0, 0}, {10, 0}}, {{0, 0}, {10, 0}}});
    EXPECT_EQ(Hit(twins, 3.0, 1.0, 1.0), Picked(1, 0));
}

TEST(ContGroup, ToggleRunSelectStopsAtErasedSegments) {
    CContGroup g = MakeGroup({{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}, {8, 0}, {9, 0}}});
    SetLine(g, 0, 5, 0);
    g.ToggleRunSelect(0, 2);
    EXPECT_EQ(Selected(g, 0), (std::vector<int>{0, 1, 2, 3, 4}));
    g.ToggleRunSelect(0, 3);  // selected already: deselects the run
    EXPECT_TRUE(Selected(g, 0).empty());
    g.ToggleRunSelect(0, 7);  // the last point starts no segment
    EXPECT_EQ(Selected(g, 0), (std::vector<int>{6, 7, 8}));
    g.ToggleRunSelect(0, 42);  // outside: nothing
    g.ToggleRunSelect(3, 0);
    EXPECT_EQ(Selected(g, 0), (std::vector<int>{6, 7, 8}));

    g.EraseSelectedRuns();
    EXPECT_TRUE(Selected(g, 0).empty());
    EXPECT_EQ(Erased(g, 0), (std::vector<int>{5, 6, 7, 8}));
}

TEST(ContGroup, AreaSelectionErasesOnlySegmentsWithBothEndsInside) {
    CContGroup g = MakeGroup({{{0, 0}, {10, 0}, {20, 0}, {30, 0}}});
    // The mesh lies at (100, 100): points 1 and 2 are inside.
    CPointList area = Rect(105, 95, 125, 105);
    EXPECT_TRUE(g.SelectPointsInArea(CPointD(100, 100), 0.0, &area));
    EXPECT_EQ(Selected(g, 0), (std::vector<int>{1, 2}));
    g.EraseSelectedSegments();
    EXPECT_EQ(Erased(g, 0), (std::vector<int>{1}));
    EXPECT_TRUE(Selected(g, 0).empty());

    // One end only: the segment stays and the selection is cleared.
    CContGroup h = MakeGroup({{{0, 0}, {10, 0}, {20, 0}, {30, 0}}});
    CPointList end = Rect(125, 95, 135, 105);
    EXPECT_TRUE(h.SelectPointsInArea(CPointD(100, 100), 0.0, &end));
    EXPECT_EQ(Selected(h, 0), (std::vector<int>{3}));
    h.EraseSelectedSegments();
    EXPECT_TRUE(Erased(h, 0).empty());
    EXPECT_TRUE(Selected(h, 0).empty());

    CPointList none = Rect(0, 0, 5, 5);
    EXPECT_FALSE(h.SelectPointsInArea(CPointD(100, 100), 0.0, &none));
    h.ToggleRunSelect(0, 0);
    h.ClearSelect();
    EXPECT_TRUE(Selected(h, 0).empty());
}

TEST(ContGroup, GrowsFromAZeroStep) {
    CContGroup g;  // what a reset leaves: no capacity, no step
    for (int i = 0; i < 250; ++i) AddLine(g, i, {{float(i), 0}, {float(i), 1}});
    ASSERT_EQ(g.GetCount(), 250);
    EXPECT_GT(g.GetCapacity(), 250);
    for (int i = 0; i < 250; ++i) {
        ASSERT_EQ(g.GetLevel(i), i);
        ASSERT_EQ(g.GetPoint(i, 1).m_point, CPointF(float(i), 1));
    }
}

TEST(ContGroup, GrowKeepsTheLinesInUse) {
    CContGroup g = MakeGroup({{{0, 0}, {1, 1}}});
    g.SetCapacity(5);
    g.SetGrowBy(5);
    g.SetLevel(1, 4.0);  // in use but without points
    g.SetLevel(3, 9.0);  // beyond the count
    g.SetCount(2);
    g.Grow();
    EXPECT_EQ(g.GetCapacity(), 10);
    EXPECT_EQ(g.GetPointCount(0), 2);
    EXPECT_EQ(g.GetPoint(0, 1).m_point, CPointF(1, 1));
    EXPECT_EQ(g.GetLevel(1), 0.0);
    g.SetCount(4);
    EXPECT_EQ(g.GetLevel(3), 0.0);
    // Getters answer for lines in use only; setters for any allocated line.
    g.SetCount(1);
    g.SetLevel(2, 3.0);
    EXPECT_EQ(g.GetLevel(2), 0.0);
    g.SetLevel(10, 3.0);  // beyond the capacity: ignored
    g.SetCount(11);
    EXPECT_EQ(g.GetLevel(10), 0.0);
}

TEST(ContPara, LevelsAndArchive) {
    CContPara p;
    p.SetDefined(1);
    p.SetFrom(0.5);
    p.SetTo(20.0);
    p.SetInterval(2.5);
    const double levels[] = {1.25, 3.75};
    p.SetLevels(levels);  // no count yet: nothing
    EXPECT_EQ(p.GetLevels(), nullptr);
    p.SetLevelCount(2);
    p.SetLevels(levels);
    p.SetColorFrom(-1.0);
    p.SetColorTo(25.0);
    EXPECT_EQ(Stored(p, 12), Golden("cont_para_v6.bin"));

    CContPara q;
    Load(q, Golden("cont_para_v6.bin"), 6);
    EXPECT_EQ(q, p);
    CContPara old;
    Load(old, Golden("cont_para_v5.bin"), 5);
    EXPECT_EQ(old.GetDefined(), 0);
    EXPECT_EQ(old.GetLevelCount(), 2);
    EXPECT_EQ(old.GetLevels()[1], 3.75);
    EXPECT_EQ(old.GetColorTo(), 25.0);

    for (int bad : {-1, 1000}) {
        auto bytes = Golden("cont_para_v6.bin");
        test::PutInt(bytes, 28, bad);
        CContPara r;
        CArchive ar(bytes);
        EXPECT_THROW(r.Serialize(ar, 6), ArchiveError) << bad;
        EXPECT_EQ(r, CContPara());
    }
}

TEST(ContHgtPos, Archive) {
    CContHgtPos h;
    h.SetCount(2);
    h.Alloc();
    h.SetLevel(0, 1.5);
    h.SetPointNo(0, 3);
    h.SetLevel(1, 2.5);
    h.SetLineNo(1, 1);
    h.SetLevel(2, 9.0);  // outside: ignored
    EXPECT_EQ(h.GetLevel(2), 0.0);
    EXPECT_EQ(Stored(h, 12), Golden("cont_hgt_pos.bin"));
    CContHgtPos r;
    Load(r, Golden("cont_hgt_pos.bin"), 12);
    EXPECT_EQ(r, h);

    auto bytes = Golden("cont_hgt_pos.bin");
    test::PutInt(bytes, 4 + 8 + 4, -1);  // a negative point index
    CArchive ar(bytes);
    EXPECT_THROW(r.Serialize(ar, 12), ArchiveError);
    EXPECT_EQ(r, h);
}

TEST(ContGroup, ArchiveKeepsTheCapacity) {
    CContGroup g;
    g.SetCapacity(300);
    g.SetGrowBy(100);
    g.AllocLines();
    AddLine(g, 1.0, {{0, 0}, {10, 0}, {10, 10}});
    AddLine(g, 2.0, {{5, 5}, {6, 7}});
    g.ToggleRunSelect(0, 0);  // flags are not stored
    SetLine(g, 1, 0, 0);
    EXPECT_EQ(Stored(g, 12), Golden("cont_group.bin"));

    CContGroup r = MakeGroup({{{1, 1}, {2, 2}}});
    Load(r, Golden("cont_group.bin"), 12);
    EXPECT_EQ(r.GetCount(), 2);
    EXPECT_EQ(r.GetCapacity(), 300);
    EXPECT_EQ(r.GetGrowBy(), 100);
    EXPECT_EQ(r.GetLevel(1), 2.0);
    EXPECT_EQ(r.GetPoint(0, 2).m_point, CPointF(10, 10));
    EXPECT_EQ(r.GetPoint(1, 0), CContPoint(5, 5));  // no label, not selected, drawn
    EXPECT_TRUE(Selected(r, 0).empty());
}

TEST(ContGroup, BadArchivesAreRefused) {
    const std::vector<std::pair<std::size_t, std::int32_t>> faults = {
        {0, 301},   // more lines in use than the capacity
        {0, -1},
        {4, -5},    // negative capacity
        {0, 100},   // more lines than the file holds
        {12, 1000}, // more points than the file holds
        {12, -2},
    };
    for (auto [offset, value] : faults) {
        auto bytes = Golden("cont_group.bin");
        test::PutInt(bytes, offset, value);
        CContGroup g = MakeGroup({{{1, 1}, {2, 2}}});
        CArchive ar(bytes);
        EXPECT_THROW(g.Serialize(ar, 12), ArchiveError) << offset << " = " << value;
        EXPECT_EQ(g.GetCount(), 1);
        EXPECT_EQ(g.GetPoint(0, 1).m_point, CPointF(2, 2));
    }
}

}  // namespace
}  // namespace wv
