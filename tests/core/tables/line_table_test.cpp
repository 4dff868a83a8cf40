#include "core/line.h"

#include <gtest/gtest.h>

#include <numeric>

namespace wv {
namespace {

TEST(LineTable, TheSmallerPointSlotBecomesTheStart) {
    CLine t;
    const int slot = t.Add(1, 2, 3, 4, 0, kBoundaryValid, -6.5, kLineDepth, 7, 3);
    const CLineZokusei r = t.GetAt(slot);
    EXPECT_EQ(r.GetStartIndex(), 3);
    EXPECT_EQ(r.GetEndIndex(), 7);
    EXPECT_EQ(r.GetStartPos(), CPointD(3, 4));
    EXPECT_EQ(r.GetEndPos(), CPointD(1, 2));
    EXPECT_EQ(r.GetHeightType(), kBoundaryValid);
    EXPECT_EQ(r.GetDepth(), -6.5);
    EXPECT_EQ(t.Exists(3, 7), -1);
    EXPECT_EQ(t.Exists(7, 3), 0);
}

TEST(LineTable, GrowsPastFiveThousandAndCountsOnlyLinesInUse) {
    CLine t;
    for (int i = 0; i < 5001; ++i) t.Add(0, 0, 1, 1, 0, 0, 0, kLineTerrain, i, i + 1);
    EXPECT_EQ(t.GetSlotCount(), 6000);
    EXPECT_EQ(t.GetCount(), 5001);
    EXPECT_TRUE(t.RemoveAt(10));
    EXPECT_FALSE(t.RemoveAt(10));
    EXPECT_FALSE(t.RemoveAt(5500));
    EXPECT_EQ(t.GetCount(), 5000);
    EXPECT_EQ(t.GetAt(10), CLineZokusei());
    // A line stored free is not counted.
    t.Add(0, 0, 1, 1, -1, 0, 0, 0, 1, 2);
    EXPECT_EQ(t.GetCount(), 5000);
}

TEST(LineTable, NearestLineTiesGoHigherAndOffTheSegmentTheNearerEndCounts) {
    CLine t;
    t.Add(-10, 1, 10, 1, 0, 0, 0, kLineTerrain, 0, 1);
    t.Add(-10, -1, 10, -1, 0, 0, 0, kLineTerrain, 2, 3);
    EXPECT_EQ(t.FindNearest(0, 0), 1);
    EXPECT_EQ(t.FindNearest(0, 0.5), 0);
    EXPECT_EQ(CLine().FindNearest(0, 0), -1);

    CLine ends;
    ends.Add(0, 0, 10, 0, 0, 0, 0, kLineTerrain, 0, 1);
    ends.Add(13, 5, 13, 5, 0, 0, 0, kLineTerrain, 2, 3);  // degenerate: a point
    // Past the end of line 0: 10.25 to its end point against 9.25 to the point line.
    EXPECT_EQ(ends.FindNearest(12.5, 2.0), 1);
    EXPECT_EQ(ends.FindNearest(12.5, 0.0), 0);
    EXPECT_EQ(ends.FindNearest(13, 4.9), 1);
}

TEST(LineTable, KindFilters) {
    CLine t;
    t.Add(0, 0, 10, 0, 0, 0, 0, kLineUndefined, 0, 1);
    t.Add(0, 1, 10, 1, 0, 0, 0, kLineTerrain, 2, 3);
    t.Add(0, 2, 10, 2, 0, 0, 0, kLineDepth, 4, 5);
    t.Add(0, 3, 10, 3, 0, 0, 0, kLineAuxiliary, 6, 7);
    EXPECT_EQ(t.FindNearestOfKind(5, -1, 0), 0);
    EXPECT_EQ(t.FindNearestOfKind(5, 1.1, 0), 2);
    EXPECT_EQ(t.FindNearestOfKind(5, -1, 1), 2);
    EXPECT_EQ(t.FindNearestOfKind(5, 5, 2), 1);
    EXPECT_EQ(t.FindNearestOfKind(5, -1, 3), 1);
    EXPECT_EQ(t.FindNearestOfKind(5, 1.9, 4), 3);
    EXPECT_EQ(t.FindNearestOfKind(5, -1, 5), 3);
    EXPECT_EQ(t.FindNearestOfKind(5, -1, 6), 0);
    EXPECT_EQ(t.FindNearestOfKind(5, 9, -1), 3);
}

TEST(LineTable, ImportKeepsExistingLinesAndDropsDuplicates) {
    CLine t;
    const int existing = t.Add(0, 0, 1, 0, 0, 0, 0, kLineTerrain, 3, 7);
    const int other = t.Add(0, 0, 1, 0, 0, 0, 0, kLineTerrain, 1, 2);
    // An import brings the same 3-7 line (from the other side), a new line twice, and
    // one more new line.
    const int dupOfExisting = t.AddFrom(other + 1, 1, 0, 0, 0, 1, 0, 0, kLineUndefined, 7, 3);
    const int fresh1 = t.AddFrom(dupOfExisting + 1, 0, 0, 1, 1, 1, 0, 0, 0, 3, 9);
    const int fresh2 = t.AddFrom(fresh1 + 1, 0, 0, 1, 1, 1, 0, 0, 0, 9, 3);
    const int fresh3 = t.AddFrom(fresh2 + 1, 0, 0, 1, 1, 1, 0, 0, 0, 4, 5);

    std::vector<int> a(t.GetSlotCount());
    std::iota(a.begin(), a.end(), 0);
    t.SortSlots(a);
    for (int i = 1; i < t.GetCount(); ++i) {
        const auto p = t.GetAt(a[i - 1]), q = t.GetAt(a[i]);
        EXPECT_TRUE(p.GetStartIndex() > q.GetStartIndex() ||
                    (p.GetStartIndex() == q.GetStartIndex() && p.GetEndIndex() >= q.GetEndIndex()));
    }
    EXPECT_LT(t.GetAt(a[t.GetCount()]).GetState(), 0);  // free slots come last

    t.RemoveDuplicates(a);
    EXPECT_EQ(t.GetCount(), 4);
    EXPECT_EQ(t.GetAt(existing).GetKind(), kLineTerrain);
    EXPECT_LT(t.GetAt(dupOfExisting).GetState(), 0);
    // Of two imported lines on the same points one stays, and it is no longer marked.
    EXPECT_EQ((t.GetAt(fresh1).GetState() >= 0) + (t.GetAt(fresh2).GetState() >= 0), 1);
    for (int s : {existing, other, fresh3}) EXPECT_EQ(t.GetAt(s).GetState(), 0);
}

}  // namespace
}  // namespace wv
