// The user's marks on the contours kept as (level, ordinal within the level, segment),
// and the triangulation edge under the mouse.
#include "calc/calc_state.h"
#include "contour_test_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace wv {
namespace {

using namespace contourtest;

// Flags of every point of the group: (label, line) per point, polyline by polyline.
std::vector<std::vector<std::pair<int, int>>> Flags(const CTydDocData& doc) {
    std::vector<std::vector<std::pair<int, int>>> out;
    for (int i = 0; i < doc.m_contGroup.GetCount(); ++i) {
        out.emplace_back();
        for (int j = 0; j < doc.m_contGroup.GetPointCount(i); ++j) {
            const CContPoint p = doc.m_contGroup.GetPoint(i, j);
            out.back().emplace_back(p.m_nLabel, p.m_nLine);
        }
    }
    return out;
}

void Mark(CTydDocData& doc, int i, int j, bool erase) {
    CContPoint p = doc.m_contGroup.GetPoint(i, j);
    if (erase) p.m_nLine = 0;
    else p.m_nLabel = 1;
    doc.m_contGroup.SetPoint(i, j, p);
}

class ContourLabels : public ::testing::Test {
protected:
    void SetUp() override {
        // Two peaks and a ridge: several polylines per level.
        std::vector<double> v;
        for (int r = 0; r < 9; ++r)
            for (int c = 0; c < 12; ++c)
                v.push_back(1.0 + 4.0 * std::exp(-0.2 * ((r - 3) * (r - 3) + (c - 3) * (c - 3))) +
                            3.5 * std::exp(-0.3 * ((r - 5) * (r - 5) + (c - 8) * (c - 8))) + 0.05 * c);
        MakeField(view, 9, 12, v);
        SetLevels(doc.m_contParaFig[1], 2.0, 4.0, 1.0, {2.5});
        ASSERT_EQ(MakeResultContours(view, 1), 0);
        ASSERT_GE(doc.m_contGroup.GetCount(), 5);
    }
    // The ordinal of polyline i within its level.
    int Ordinal(int i) const {
        int k = 0;
        while (i - k - 1 >= 0 && doc.m_contGroup.GetLevel(i - k - 1) == doc.m_contGroup.GetLevel(i)) ++k;
        return k;
    }

    QuietProgress quiet;
    TestDoc doc;
    CTydViewData view{doc};
};

TEST_F(ContourLabels, CollectRetraceApplyRestoresEveryMark) {
    const int lines = doc.m_contGroup.GetCount();
    for (int i = 0; i < lines; ++i) {
        const int n = doc.m_contGroup.GetPointCount(i);
        Mark(doc, i, (i * 7) % (n - 1), false);
        if (n > 2) Mark(doc, i, n - 2, true);
        if (i % 3 == 0) Mark(doc, i, 0, true);
    }
    const auto marked = Flags(doc);
    doc.CollectContHgtPos(1);
    doc.CollectContHgtPosB(1);
    EXPECT_EQ(doc.m_labelPos[1].GetCount(), lines);
    for (int e = 0; e < doc.m_labelPos[1].GetCount(); ++e) {
        EXPECT_EQ(doc.m_labelPos[1].GetLineNo(e), Ordinal(e));
        EXPECT_EQ(doc.m_labelPos[1].GetLevel(e), doc.m_contGroup.GetLevel(e));
    }

    ASSERT_EQ(MakeResultContours(view, 1), 0);
    EXPECT_NE(Flags(doc), marked);
    doc.ApplyContHgtPos(1);
    doc.ApplyContHgtPosB(1);
    EXPECT_EQ(Flags(doc), marked);
    // Other figures' sets are left alone.
    EXPECT_EQ(doc.m_labelPos[0].GetCount(), 0);
}

TEST_F(ContourLabels, CollectOnAnEmptyGroupKeepsTheSet) {
    Mark(doc, 0, 0, false);
    doc.CollectContHgtPos(1);
    ASSERT_EQ(doc.m_labelPos[1].GetCount(), 1);
    doc.m_contGroup.FreeLines();
    doc.m_contGroup.SetCount(0);
    doc.CollectContHgtPos(1);
    doc.CollectContHgtPosB(1);
    EXPECT_EQ(doc.m_labelPos[1].GetCount(), 1);
    EXPECT_EQ(doc.m_labelPos2[1].GetCount(), 0);
    // A group without marks empties the set.
    ASSERT_EQ(MakeResultContours(view, 1), 0);
    doc.CollectContHgtPos(1);
    EXPECT_EQ(doc.m_labelPos[1].GetCount(), 0);
}

TEST_F(ContourLabels, EntriesOutsideTheirLevelMarkNothing) {
    // Count the polylines of the first level.
    const double first = doc.m_contGroup.GetLevel(0);
    int ofFirst = 0;
    while (ofFirst < doc.m_contGroup.GetCount() && doc.m_contGroup.GetLevel(ofFirst) == first) ++ofFirst;
    ASSERT_LT(ofFirst, doc.m_contGroup.GetCount());
    const auto clean = Flags(doc);

    struct Entry {
        double level;
        int ordinal, point;
    };
    const std::vector<Entry> bad = {
        {first, ofFirst, 0},        // one past the polylines of its level: not the next level's first
        {first, ofFirst + 50, 0},   // far beyond the group
        {first, 0, 100000},         // beyond the points
        {first, 0, doc.m_contGroup.GetPointCount(0) - 1},  // the last point starts no segment
        {first, 0, -1},
        {first, -1, 0},
        {first + 0.00011, 0, 0},    // no level there
        {std::nan(""), 0, 0},
    };
    for (const Entry& e : bad) {
        CContHgtPos& set = doc.m_labelPos[1];
        set.Free();
        set.SetCount(1);
        set.Alloc();
        set.SetLevel(0, e.level);
        set.SetLineNo(0, e.ordinal);
        set.SetPointNo(0, e.point);
        doc.ApplyContHgtPos(1);
        EXPECT_EQ(Flags(doc), clean) << e.level << " " << e.ordinal << " " << e.point;
    }

    // Within the level's tolerance the entry does mark.
    CContHgtPos& set = doc.m_labelPos[1];
    set.SetLevel(0, first + 0.00009);
    set.SetLineNo(0, ofFirst - 1);
    set.SetPointNo(0, 0);
    doc.ApplyContHgtPos(1);
    EXPECT_EQ(doc.m_contGroup.GetPoint(ofFirst - 1, 0).m_nLabel, 1);
}

// An extra level within the tolerance of a ladder level, traced apart from it.
class NearLevels : public ContourLabels {
protected:
    void SetUp() override {
        ContourLabels::SetUp();
        SetLevels(doc.m_contParaFig[1], 2.0, 4.0, 1.0, {2.99995});
        Trace();
    }
    void Trace() {
        ASSERT_EQ(MakeResultContours(view, 1), 0);
        onLadder = First(3.0);
        extra = First(2.99995);
        ASSERT_GE(onLadder, 0);
        ASSERT_GE(extra, 0);
        // Level 4 lies between them, so they are two runs.
        ASSERT_GT(extra, onLadder + 1);
        ASSERT_NE(doc.m_contGroup.GetLevel(extra - 1), 3.0);
        ASSERT_GE(doc.m_contGroup.GetPointCount(onLadder), 3);
        ASSERT_GE(doc.m_contGroup.GetPointCount(extra), 3);
    }
    int First(double level) const {
        for (int i = 0; i < doc.m_contGroup.GetCount(); ++i)
            if (doc.m_contGroup.GetLevel(i) == level) return i;
        return -1;
    }
    void Entry(CContHgtPos& set, double level, int ordinal, int point) {
        set.Free();
        set.SetCount(1);
        set.Alloc();
        set.SetLevel(0, level);
        set.SetLineNo(0, ordinal);
        set.SetPointNo(0, point);
    }
    // The polyline and segment of every mark of one kind.
    std::vector<std::pair<int, int>> Marks(bool erased) const {
        std::vector<std::pair<int, int>> out;
        for (int i = 0; i < doc.m_contGroup.GetCount(); ++i)
            for (int j = 0; j < doc.m_contGroup.GetPointCount(i); ++j) {
                const CContPoint p = doc.m_contGroup.GetPoint(i, j);
                if (erased ? p.m_nLine == 0 : p.m_nLabel == 1) out.emplace_back(i, j);
            }
        return out;
    }
    using Marked = std::vector<std::pair<int, int>>;
    int onLadder = -1, extra = -1;
};

TEST_F(NearLevels, EachMarkComesBackOnItsOwnLineOnly) {
    Mark(doc, onLadder, 0, false);
    Mark(doc, extra, 1, true);
    doc.CollectContHgtPos(1);
    doc.CollectContHgtPosB(1);
    ASSERT_EQ(doc.m_labelPos[1].GetCount(), 1);
    ASSERT_EQ(doc.m_labelPos2[1].GetCount(), 1);
    Trace();
    doc.ApplyContHgtPos(1);
    doc.ApplyContHgtPosB(1);
    EXPECT_EQ(Marks(false), (Marked{{onLadder, 0}}));
    EXPECT_EQ(Marks(true), (Marked{{extra, 1}}));
    // And so again after the next collect: no stray mark is ever stored.
    doc.CollectContHgtPos(1);
    doc.CollectContHgtPosB(1);
    EXPECT_EQ(doc.m_labelPos[1].GetCount(), 1);
    EXPECT_EQ(doc.m_labelPos2[1].GetCount(), 1);
}

TEST_F(NearLevels, AnEntryOffBothLevelsGoesToTheCloser) {
    const struct {
        double level;
        bool toLadder;
    } cases[] = {{3.00003, true}, {2.99998, true}, {2.99997, false}, {2.9999, false}};
    for (const auto& c : cases) {
        Trace();
        Entry(doc.m_labelPos[1], c.level, 0, 1);
        doc.ApplyContHgtPos(1);
        EXPECT_EQ(Marks(false), (Marked{{c.toLadder ? onLadder : extra, 1}})) << c.level;
    }
    // Beyond the tolerance of both: nothing.
    Trace();
    Entry(doc.m_labelPos[1], 3.00011, 0, 1);
    doc.ApplyContHgtPos(1);
    EXPECT_TRUE(Marks(false).empty());
}

// ---- picking ---------------------------------------------------------------------------

TEST(ContourPick, NearestEdgeAndTieRule) {
    QuietProgress quiet;
    TestDoc doc;
    CTydViewData view(doc);
    MakeField(view, 3, 3, {1, 1, 1, 1, 3, 1, 1, 1, 1});
    ASSERT_EQ(doc.m_triLine.GetCount(), 16);
    EXPECT_EQ(doc.PickTriLine(100, 100), -1);
    EXPECT_EQ(doc.PickTriLine(15, -20.5), -1);
    EXPECT_EQ(doc.PickTriLine(15, 0.5), 4);
    EXPECT_EQ(doc.PickTriLine(4.8, 15.1), 9);  // the diagonal (3, 7), from (0, 10) to (10, 20)
    EXPECT_EQ(doc.PickTriLine(10.3, 4.9), 3);  // the vertical (1, 4)
    // On the centre node six edges are at distance 0 with the same tie value (the node's
    // x): each one met later takes over, so the last of them in edge order wins, every time.
    EXPECT_EQ(doc.PickTriLine(10, 10), 13);
    EXPECT_EQ(doc.PickTriLine(10, 10), 13);
    // On a corner node: edges 0 (0,3), 1 (0,1) and 2 (0,4) meet there; 2 is the last.
    EXPECT_EQ(doc.PickTriLine(0, 0), 2);
    // The mesh size comes from the calculation area.
    doc.m_calcArea.SetMeshSize(1.0);
    EXPECT_EQ(doc.PickTriLine(15, -2.5), -1);
    EXPECT_EQ(doc.PickTriLine(15, -1.5), 4);
}

}  // namespace
}  // namespace wv
