// Depth-check contour records and the triangulation edge table.
#include "core/hcheck.h"
#include "core/tri_line.h"
#include "golden.h"

namespace wv {
namespace {

using test::Golden;
using test::Load;
using test::Stored;

TEST(HCheck, PointsAndLinesExtendForTheNextLevelAndStayInRange) {
    CHCheckPoint p;
    p.Extend(0);
    EXPECT_EQ(p.GetCount(), 0);
    p.Extend(5);
    ASSERT_EQ(p.GetCount(), 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(p.GetPoint(i), CPointF());
    p.SetPoint(4, CPointF(1, 2));
    p.SetValue(4, 3.5f);
    p.Extend(2);
    EXPECT_EQ(p.GetCount(), 7);
    EXPECT_EQ(p.GetPoint(4), CPointF(1, 2));
    EXPECT_EQ(p.GetValue(4), 3.5f);
    EXPECT_EQ(p.GetPoint(6), CPointF());
    EXPECT_EQ(p.GetPoint(7), CPointF());  // outside
    p.SetValue(-1, 1.0f);
    EXPECT_EQ(p.GetValue(-1), 0.0f);

    CHCheckLine l;
    l.Extend(3);
    l.SetStart(2, 7);
    l.SetEnd(2, 8);
    l.Extend(1);
    EXPECT_EQ(l.GetCount(), 4);
    EXPECT_EQ(l.GetStart(2), 7);
    EXPECT_EQ(l.GetEnd(2), 8);
    EXPECT_EQ(l.GetEnd(3), 0);
    // A count raised by hand does not reach past the arrays.
    l.SetCount(50);
    EXPECT_EQ(l.GetStart(40), 0);
    l.SetStart(40, 1);
}

TEST(HCheck, Archives) {
    CHCheckPoint p;
    p.SetCount(3);
    p.Alloc();
    const float pts[3][3] = {{1.0f, 2.0f, 5.0f}, {3.5f, 4.5f, 5.0f}, {7.25f, 8.0f, 10.0f}};
    for (int i = 0; i < 3; ++i) {
        p.SetPoint(i, CPointF(pts[i][0], pts[i][1]));
        p.SetValue(i, pts[i][2]);
    }
    EXPECT_EQ(Stored(p, 12), Golden("hcheck_point.bin"));
    CHCheckPoint q;
    Load(q, Golden("hcheck_point.bin"), 12);
    EXPECT_EQ(q, p);

    CHCheckLine l;
    l.SetCount(4);
    l.Alloc();
    const int seg[4][2] = {{0, 1}, {1, 2}, {0, 2}, {2, 2}};
    for (int i = 0; i < 4; ++i) {
        l.SetStart(i, seg[i][0]);
        l.SetEnd(i, seg[i][1]);
    }
    l.SetMinDepth(1.0f);
    const auto bytes = Stored(l, 12);
    EXPECT_EQ(bytes.size(), 36u);  // 4 + 4 x 8: the depth range is not stored
    EXPECT_EQ(bytes, Golden("hcheck_line.bin"));
    CHCheckLine m;
    m.SetMaxDepth(9.0f);
    Load(m, Golden("hcheck_line.bin"), 12);
    EXPECT_EQ(m.GetCount(), 4);
    EXPECT_EQ(m.GetEnd(1), 2);
    EXPECT_EQ(m.GetMaxDepth(), 9.0f);  // left for the reader to set

    EXPECT_NO_THROW(m.CheckPointIndices(3));
    EXPECT_THROW(m.CheckPointIndices(2), ArchiveError);
}

// A count that is negative or larger than the file can hold is refused, and the record
// keeps what it had.
template <class T>
void ExpectRefused(const char* name, int count) {
    auto bytes = Golden(name);
    test::PutInt(bytes, 0, count);
    T r;
    CArchive ar(bytes);
    EXPECT_THROW(r.Serialize(ar, 12), ArchiveError) << name << ": " << count;
    EXPECT_EQ(r, T());
}

TEST(HCheck, BadCountsAreRefused) {
    for (int bad : {-1, 4, 1 << 30}) ExpectRefused<CHCheckPoint>("hcheck_point.bin", bad);
    for (int bad : {-1, 5, 1 << 30}) ExpectRefused<CHCheckLine>("hcheck_line.bin", bad);
    for (int bad : {-1, 4, 1 << 30}) ExpectRefused<CTriLine>("tri_line.bin", bad);
}

TEST(TriLine, EdgesAndArchive) {
    CTriLine t;
    t.SetCount(3);
    t.Alloc();
    t.SetAt(0, CTriLineZokusei(0, 1));
    t.SetAt(1, CTriLineZokusei(1, 4));
    t.SetAt(2, CTriLineZokusei(3, 2));
    t.SetAt(3, CTriLineZokusei(9, 9));  // outside: ignored
    EXPECT_EQ(t.GetAt(3), CTriLineZokusei());
    EXPECT_EQ(t.GetAt(3).GetNode1(), 0);
    EXPECT_EQ(Stored(t, 12), Golden("tri_line.bin"));

    CTriLine r;
    Load(r, Golden("tri_line.bin"), 12);
    EXPECT_EQ(r, t);
    EXPECT_EQ(r.GetAt(1).GetNode2(), 4);
    EXPECT_NO_THROW(r.CheckNodeIndices(5));
    EXPECT_THROW(r.CheckNodeIndices(4), ArchiveError);
}

}  // namespace
}  // namespace wv
