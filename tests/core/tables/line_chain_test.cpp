#include "core/line_chain.h"

#include "core/line.h"
#include "core/sokuten.h"

#include <gtest/gtest.h>

#include <set>

namespace wv {
namespace {

class RecordingView : public LineChainView {
public:
    explicit RecordingView(bool withMarks) {
        if (withMarks) marks.assign(g_lines.GetSlotCount(), 0);
        hasMarks = withMarks;
    }
    std::vector<int>* LineMarks() override { return hasMarks ? &marks : nullptr; }
    void DrawTerrainLine(int slot, int mode) override { drawn.push_back({slot, mode}); }
    void SetProjectModified() override { ++modified; }

    std::set<int> DrawnSlots() const {
        std::set<int> s;
        for (auto [slot, mode] : drawn) s.insert(slot);
        return s;
    }

    bool hasMarks;
    std::vector<int> marks;
    std::vector<std::pair<int, int>> drawn;
    int modified = 0;
};

class LineChain : public ::testing::Test {
protected:
    void SetUp() override {
        g_surveyPoints.RemoveAll();
        g_lines.RemoveAll();
    }
    void TearDown() override { SetUp(); }

    // Points at the given positions, slots 0, 1, 2, ...
    void Points(std::initializer_list<CPointD> pts) {
        for (const CPointD& p : pts) g_surveyPoints.Add(p.m_dX, p.m_dY, 0);
    }
    int Join(int a, int b, int kind = kLineTerrain) {
        const CPointD pa = g_surveyPoints.GetAt(a).GetPos(), pb = g_surveyPoints.GetAt(b).GetPos();
        return g_lines.Add(pa.m_dX, pa.m_dY, pb.m_dX, pb.m_dY, 0, kBoundaryValid, -3.0, kind, a, b);
    }
};

TEST_F(LineChain, LinksListLinesInSlotOrderAndAtMostEight) {
    Points({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}, {8, 0}, {9, 0}});
    for (int i = 1; i <= 9; ++i) Join(0, i, i == 2 ? kLineAuxiliary : kLineTerrain);
    UpdatePointLineLinks(kLinksAll);
    const CSokutenZokusei hub = g_surveyPoints.GetAt(0);
    EXPECT_EQ(hub.GetLineCount(), 8);
    EXPECT_EQ(hub.GetLine(0), 0);
    EXPECT_EQ(hub.GetLine(7), 7);
    EXPECT_EQ(g_surveyPoints.GetAt(9).GetLineCount(), 1);

    UpdatePointLineLinks(kLinksAuxiliary);
    EXPECT_EQ(g_surveyPoints.GetAt(0).GetLineCount(), 1);
    EXPECT_EQ(g_surveyPoints.GetAt(0).GetLine(0), 1);
    EXPECT_EQ(g_surveyPoints.GetAt(5).GetLineCount(), 0);
}

TEST_F(LineChain, HighlightTogglesTheWholeChain) {
    Points({{0, 0}, {1, 0}, {2, 0}, {3, 0}});
    const int ab = Join(0, 1), bc = Join(1, 2), cd = Join(2, 3);
    UpdatePointLineLinks(kLinksAll);
    RecordingView view(true);
    DrawLineChain(&view, bc);
    EXPECT_EQ(view.DrawnSlots(), (std::set<int>{ab, bc, cd}));
    for (int s : {ab, bc, cd}) EXPECT_EQ(view.marks[s], 1);
    for (auto [slot, mode] : view.drawn) EXPECT_EQ(mode, 1);

    view.drawn.clear();
    DrawLineChain(&view, bc);
    for (int s : {ab, bc, cd}) EXPECT_EQ(view.marks[s], 0);
    EXPECT_EQ(view.drawn.size(), 3u);

    // A single line whose ends have no other lines is its own chain.
    Points({{10, 10}, {11, 10}});
    const int lone = Join(4, 5);
    UpdatePointLineLinks(kLinksAll);
    view.marks.assign(g_lines.GetSlotCount(), 0);
    view.drawn.clear();
    DrawLineChain(&view, lone);
    EXPECT_EQ(view.DrawnSlots(), std::set<int>{lone});
}

TEST_F(LineChain, RingIsWalkedOnceAndCleared) {
    Points({{0, 0}, {1, 0}, {1, 1}, {0, 1}});
    const int a = Join(0, 1), b = Join(1, 2), c = Join(2, 3), d = Join(3, 0);
    UpdatePointLineLinks(kLinksAll);
    RecordingView view(false);
    ResetLineChain(&view, c);
    EXPECT_EQ(view.drawn.size(), 4u);
    EXPECT_EQ(view.DrawnSlots(), (std::set<int>{a, b, c, d}));
    EXPECT_EQ(view.modified, 1);
    for (int s : {a, b, c, d}) {
        EXPECT_EQ(g_lines.GetAt(s).GetKind(), kLineUndefined);
        EXPECT_EQ(g_lines.GetAt(s).GetHeightType(), kHeightFromPoints);
        EXPECT_EQ(g_lines.GetAt(s).GetDepth(), -3.0);  // other fields stay
    }
}

TEST_F(LineChain, JunctionStopsTheWalk) {
    Points({{0, 0}, {1, 0}, {2, 0}, {1, 1}, {3, 0}});
    const int ab = Join(0, 1), bc = Join(1, 2), bt = Join(1, 3), ce = Join(2, 4);
    UpdatePointLineLinks(kLinksAll);
    RecordingView view(true);
    DrawLineChain(&view, bc);
    EXPECT_EQ(view.DrawnSlots(), (std::set<int>{bc, ce}));
    EXPECT_EQ(view.marks[ab], 0);
    EXPECT_EQ(view.marks[bt], 0);
}

TEST_F(LineChain, FilteredLinksHideOtherKindsFromTheWalk) {
    // Two auxiliary lines meet at a point where a terrain line also ends.
    Points({{0, 0}, {1, 0}, {2, 0}, {1, -1}});
    const int a1 = Join(0, 1, kLineAuxiliary), a2 = Join(1, 2, kLineAuxiliary);
    Join(1, 3, kLineTerrain);
    RecordingView view(true);
    UpdatePointLineLinks(kLinksAll);
    DrawLineChain(&view, a1);
    EXPECT_EQ(view.DrawnSlots(), std::set<int>{a1});

    UpdatePointLineLinks(kLinksAuxiliary);
    view.marks.assign(g_lines.GetSlotCount(), 0);
    view.drawn.clear();
    DrawLineChain(&view, a1);
    EXPECT_EQ(view.DrawnSlots(), (std::set<int>{a1, a2}));
}

TEST_F(LineChain, WithoutMarkArrayNothingIsDrawn) {
    Points({{0, 0}, {1, 0}});
    const int a = Join(0, 1);
    UpdatePointLineLinks(kLinksAll);
    RecordingView view(false);
    DrawLineChain(&view, a);
    EXPECT_TRUE(view.drawn.empty());
    EXPECT_EQ(view.modified, 0);
}

}  // namespace
}  // namespace wv
