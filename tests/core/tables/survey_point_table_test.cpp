#include "core/sokuten.h"

#include <gtest/gtest.h>

#include <numeric>

namespace wv {
namespace {

TEST(SurveyPointTable, FreshTableIsEmpty) {
    CSokuten t;
    EXPECT_EQ(t.GetCount(), 0);
    EXPECT_EQ(t.GetSlotCount(), 5000);
    EXPECT_EQ(t.FindNearest(0, 0), -1);
    EXPECT_EQ(t.HitTest(0, 0, 100.0), -1);
    EXPECT_EQ(t.GetAt(17).GetPos(), CPointD::Unset());
}

TEST(SurveyPointTable, GrowsByOneThousandPastFiveThousand) {
    CSokuten t;
    for (int i = 0; i < 5000; ++i) ASSERT_EQ(t.Add(i, 0, 0), i);
    EXPECT_EQ(t.GetSlotCount(), 5000);
    EXPECT_EQ(t.Add(1.0, 2.0, 0), 5000);
    EXPECT_EQ(t.GetSlotCount(), 6000);
    EXPECT_EQ(t.GetCount(), 5001);
    EXPECT_EQ(t.GetAt(5000).GetPos(), CPointD(1.0, 2.0));
    EXPECT_EQ(t.GetAt(4999).GetPos(), CPointD(4999, 0));
}

TEST(SurveyPointTable, FreedSlotIsReusedAndFreeingTwiceChangesNothing) {
    CSokuten t;
    for (int i = 0; i < 5; ++i) t.AddFromWithDepth(0, i, i, -2.5, 0);
    EXPECT_TRUE(t.RemoveAt(3));
    EXPECT_EQ(t.GetCount(), 4);
    EXPECT_EQ(t.GetAt(3).GetPos(), CPointD::Unset());
    EXPECT_EQ(t.GetAt(3).GetDepth(), -2.5);  // the height stays with the free slot
    // A second removal of the same slot, or of one never used, keeps the count honest.
    EXPECT_FALSE(t.RemoveAt(3));
    EXPECT_FALSE(t.RemoveAt(4000));
    EXPECT_FALSE(t.RemoveAt(-1));
    EXPECT_EQ(t.GetCount(), 4);

    EXPECT_EQ(t.AddFrom(4, 9, 9, 0), 5);  // a start past the hole skips it
    EXPECT_EQ(t.Add(7, 7, 0), 3);
    EXPECT_EQ(t.GetAt(3).GetDepth(), 0.0);  // a new point starts at height 0
    EXPECT_EQ(t.GetCount(), 6);
}

TEST(SurveyPointTable, SetAtKeepsTheCountEqualToThePointsInUse) {
    CSokuten t;
    t.Add(1, 1, 0);
    CSokutenZokusei freeRecord;
    t.SetAt(0, freeRecord);
    EXPECT_EQ(t.GetCount(), 0);
    CSokutenZokusei used;
    used.SetId(0);
    t.SetAt(10, used);
    t.SetAt(10, used);
    EXPECT_EQ(t.GetCount(), 1);
    EXPECT_FALSE(t.SetAt(5000, used));
}

TEST(SurveyPointTable, HitTestIsStrictAtTheToleranceTiesGoToTheLowestSlotFarPointsAreNeverNearest) {
    CSokuten t;
    t.Add(1.0, 0.0, 0);
    EXPECT_EQ(t.HitTest(0.0, 0.0, 1.0), -1);
    EXPECT_EQ(t.HitTest(0.001, 0.0, 1.0), 0);
    // Inside the square box but outside the circle.
    t.Add(10.9, 10.9, 0);
    EXPECT_EQ(t.HitTest(10.0, 10.0, 1.0), -1);

    CSokuten tie;
    tie.Add(5, 0, 0);
    tie.Add(-5, 0, 0);
    EXPECT_EQ(tie.HitTest(0, 0, 6.0), 0);
    EXPECT_EQ(tie.FindNearest(0, 0), 0);

    CSokuten far;
    far.Add(40000.0, 0.0, 0);
    EXPECT_EQ(far.FindNearest(0, 0), -1);
    far.Add(31622.0, 0.0, 0);
    EXPECT_EQ(far.FindNearest(0, 0), 1);
}

TEST(SurveyPointTable, AtMostEightLinks) {
    CSokutenZokusei p;
    for (int i = 0; i < 8; ++i) EXPECT_TRUE(p.AddLine(i));
    EXPECT_FALSE(p.AddLine(8));
    EXPECT_EQ(p.GetLineCount(), 8);
    EXPECT_EQ(p.GetLine(7), 7);
}

// The importers' duplicate search: sort once, then walk new points in ascending x with
// one start variable, inserting each new slot where FindNearSorted says.
TEST(SurveyPointTable, ImportMergesPointsWithinOneDecimetre) {
    CSokuten t;
    t.Add(10.0, 0.0, 0);
    t.Add(0.0, 0.0, 0);
    t.Add(20.0, 5.0, 0);
    t.RemoveAt(1);
    std::vector<int> a(t.GetSlotCount() + 10);
    std::iota(a.begin(), a.end(), 0);
    t.SortByX(a);
    EXPECT_EQ(a[0], 0);
    EXPECT_EQ(a[1], 2);  // the free slot sorts behind the points in use

    int start = 0, insert = -1;
    // 0.09 / 0.05 away: about 0.103 m, not the same point.
    EXPECT_EQ(t.FindNearSorted(start, insert, 10.09, 0.05, a), -1);
    EXPECT_EQ(insert, 1);
    const int added = t.AddFrom(0, 10.09, 0.05, 0);
    a.insert(a.begin() + insert, added);
    // 0.06 / 0.05 away: about 0.078 m, the existing point.
    EXPECT_EQ(t.FindNearSorted(start, insert, 10.16, 0.05, a), added);
    EXPECT_EQ(t.FindNearSorted(start, insert, 19.95, 5.0, a), 2);
    EXPECT_EQ(t.FindNearSorted(start, insert, 30.0, 0.0, a), -1);
    EXPECT_EQ(insert, 3);
}

}  // namespace
}  // namespace wv
