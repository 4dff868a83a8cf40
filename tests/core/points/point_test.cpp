#include "core/point.h"

#include <gtest/gtest.h>

using namespace wv;

TEST(Points, DoublePointsTakeSixteenBytesAndRoundTrip) {
    CArchive out;
    CPointD a(12.5, -3.25), unset = CPointD::Unset();
    a.Serialize(out, 8);
    unset.Serialize(out, 1);  // the version never changes the layout
    ASSERT_EQ(out.Bytes().size(), 32u);
    CArchive in(out.Bytes());
    CPointD b, c;
    b.Serialize(in, 8);
    c.Serialize(in, 8);
    EXPECT_EQ(b, a);
    EXPECT_EQ(c.m_dX, 99999999.999);
    EXPECT_TRUE(in.AtEnd());
}

TEST(Points, PointListWalksBothWaysAndGuardsItsIndex) {
    CPointList list(CPointD(0, 0));
    list.AddTail(CPointD(1, 0));
    list.AddTail(CPointD(1, 1));
    list.AddTail(CPointD(0, 0));  // closed: the first point again
    EXPECT_EQ(list.GetCount(), 4);
    EXPECT_EQ(list.GetAt(2), CPointD(1, 1));
    EXPECT_EQ(list.GetAt(-1), CPointD(0, 0));
    EXPECT_EQ(list.GetAt(4), CPointD(0, 0));

    int n = 0;
    for (auto pos = list.GetHeadPosition(); pos != list.None();) {
        list.GetNext(pos);
        ++n;
    }
    EXPECT_EQ(n, 4);
    auto pos = list.GetTailPosition();
    EXPECT_EQ(list.GetPrev(pos), CPointD(0, 0));
    EXPECT_EQ(list.GetPrev(pos), CPointD(1, 1));
    EXPECT_EQ(list.GetPrev(pos), CPointD(1, 0));
    EXPECT_EQ(list.GetPrev(pos), CPointD(0, 0));
    EXPECT_TRUE(pos == list.None());
}
