#include "core/sansyutu.h"

#include <gtest/gtest.h>

namespace wv {
namespace {

TEST(OutputPointTable, FreshTableHasTenFreeNamedSlots) {
    CSansyutu t;
    EXPECT_EQ(t.GetSize(), 10);
    EXPECT_EQ(t.GetCount(), 0);
    EXPECT_EQ(t.GetAt(0).GetName(), "1");
    EXPECT_EQ(t.GetAt(9).GetName(), "10");
    EXPECT_EQ(t.FindNearest(0, 0), -1);
}

TEST(OutputPointTable, AddFillsFreeSlotsAndKeepsTheirNames) {
    CSansyutu t;
    for (int i = 0; i < 10; ++i) EXPECT_EQ(t.Add(i, i), i);
    EXPECT_EQ(t.Add(99, 99), -1);
    EXPECT_EQ(t.GetCount(), 10);
    t.RemoveAt(2);
    t.RemoveAt(2);   // already free: nothing
    t.RemoveAt(10);  // no such slot: nothing
    EXPECT_EQ(t.GetCount(), 9);
    EXPECT_EQ(t.GetAt(2).GetPos(), CPointD(2, 2));
    EXPECT_EQ(t.Add(50, 60), 2);
    EXPECT_EQ(t.GetAt(2).GetName(), "3");
    EXPECT_EQ(t.GetAt(2).GetPos(), CPointD(50, 60));
}

TEST(OutputPointTable, PickingIgnoresFreeSlots) {
    CSansyutu t;
    t.Add(10, 10);
    t.Add(0, 0);
    t.Add(-1, 0);
    t.RemoveAt(1);
    EXPECT_EQ(t.HitTest(0, 0, 2.0), 2);
    EXPECT_EQ(t.HitTest(0, 0, 1.0), -1);
    EXPECT_EQ(t.FindNearest(4, 4), 2);
    EXPECT_EQ(t.FindNearest(6, 6), 0);
}

}  // namespace
}  // namespace wv
