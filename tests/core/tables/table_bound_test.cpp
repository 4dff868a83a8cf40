// The largest terrain tables: growth stops at the slot count that a project file may
// hold, a table grown that far saves and loads again, and a full table refuses a record
// without changing anything.
#include "core/block.h"
#include "core/line.h"
#include "core/sokuten.h"
#include "core/table_limits.h"

#include <gtest/gtest.h>

namespace wv {
namespace {

// 5000 slots grown 4190 times by 1000: the first slot count the growth reaches past
// 4 Mi slots (4,194,304), and the last one it may reach.
constexpr int kBound = 4'195'000;

// Grows until the table refuses, but never more often than the steps to the bound and a
// few beyond: a table without a bound must not grow for ever.
template <class Table>
int GrowUntilRefused(Table& t) {
    const int steps = (kBound - 5000) / 1000 + 3;
    for (int i = 0; i < steps; ++i)
        if (!t.Grow()) break;
    return t.GetSlotCount();
}

TEST(TableBound, IsTheLastSlotCountTheGrowthReaches) {
    EXPECT_EQ(kMaxTableSlots, kBound);
    EXPECT_EQ((kMaxTableSlots - CSokuten::kInitialSlots) % CSokuten::kInitialGrow, 0);
    EXPECT_EQ((kMaxTableSlots - CLine::kInitialSlots) % CLine::kInitialGrow, 0);
    EXPECT_EQ((kMaxTableSlots - CBlock::kInitialCapacity) % CBlock::kInitialGrow, 0);
}

TEST(TableBound, SurveyPointsGrowToTheBoundAndTheGrownTableLoadsAgain) {
    CSokuten t;
    EXPECT_EQ(GrowUntilRefused(t), kBound);
    EXPECT_FALSE(t.Grow());
    EXPECT_EQ(t.GetSlotCount(), kBound);

    // Points at both ends of the grown table.
    CSokutenZokusei first, last;
    first.SetPos(1.0, 2.0);
    first.SetId(0);
    last.SetPos(-3.0, 4.5);
    last.SetId(0);
    last.SetDepth(-7.25);
    ASSERT_TRUE(t.SetAt(0, first));
    ASSERT_TRUE(t.SetAt(kBound - 1, last));

    CArchive out;
    t.Serialize(out, 8);
    CArchive in(out.Bytes());
    CSokuten back;
    ASSERT_NO_THROW(back.Serialize(in, 8));
    EXPECT_EQ(back.GetSlotCount(), kBound);
    EXPECT_EQ(back.GetCount(), 2);
    EXPECT_EQ(back.GetAt(kBound - 1), last);
    EXPECT_EQ(back.GetAt(0), first);
}

TEST(TableBound, AFullSurveyPointTableRefusesAPointAndChangesNothing) {
    CSokuten t;
    int last = -1;
    for (int i = 0; i < kBound; ++i) last = t.AddFrom(last + 1, i, 0.5, 0);
    ASSERT_EQ(last, kBound - 1);
    ASSERT_EQ(t.GetCount(), kBound);
    ASSERT_EQ(t.GetSlotCount(), kBound);

    EXPECT_EQ(t.Add(1.0, 1.0, 0), -1);
    EXPECT_EQ(t.AddFrom(last + 1, 1.0, 1.0, 0), -1);
    EXPECT_EQ(t.AddFromWithDepth(17, 1.0, 1.0, 2.0, 0), -1);
    EXPECT_EQ(t.GetCount(), kBound);
    EXPECT_EQ(t.GetSlotCount(), kBound);
    EXPECT_EQ(t.GetAt(kBound - 1).GetPos(), CPointD(kBound - 1, 0.5));

    // A freed slot takes the next point.
    EXPECT_TRUE(t.RemoveAt(1234));
    EXPECT_EQ(t.Add(9.0, 9.0, 0), 1234);
    EXPECT_EQ(t.Add(9.0, 9.0, 0), -1);
}

TEST(TableBound, LinesGrowToTheBoundAndAFullTableRefusesALine) {
    CLine t;
    int last = -1;
    for (int i = 0; i < kBound; ++i) last = t.AddFrom(last + 1, 0, 0, 1, 1, 0, 0, 0.0, 0, 0, 1);
    ASSERT_EQ(last, kBound - 1);
    EXPECT_EQ(t.GetSlotCount(), kBound);
    EXPECT_FALSE(t.Grow());
    EXPECT_EQ(t.Add(0, 0, 1, 1, 0, 0, 0.0, 0, 2, 3), -1);
    EXPECT_EQ(t.GetCount(), kBound);
    EXPECT_EQ(t.GetSlotCount(), kBound);
}

TEST(TableBound, AFullBlockTableRefusesABlock) {
    CBlock t;
    for (int i = 0; i < kBound; ++i) ASSERT_EQ(t.Add(i, 0), i + 1);
    EXPECT_EQ(t.GetCapacity(), kBound);
    EXPECT_EQ(t.Add(1.0, 2.0), -1);
    EXPECT_FALSE(t.Grow());
    EXPECT_EQ(t.GetCount(), kBound);
    EXPECT_EQ(t.GetCapacity(), kBound);
    EXPECT_EQ(t.GetAt(kBound - 1).GetPos(), CPointD(kBound - 1, 0));
}

}  // namespace
}  // namespace wv
