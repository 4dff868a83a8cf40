#include "core/block.h"

#include <gtest/gtest.h>

namespace wv {
namespace {

TEST(BlockTable, EleventhBlockGrowsTheTableByTen) {
    CBlock t;
    for (int i = 0; i < 10; ++i) EXPECT_EQ(t.Add(i, 0), i + 1);
    EXPECT_EQ(t.GetCapacity(), 10);
    EXPECT_EQ(t.Add(10, 0), 11);
    EXPECT_EQ(t.GetCapacity(), 20);
    for (int i = 11; i < 21; ++i) t.Add(i, 0);
    EXPECT_EQ(t.GetCapacity(), 30);
    EXPECT_EQ(t.GetAt(20).GetPos(), CPointD(20, 0));
}

TEST(BlockTable, RemovingMovesTheLaterBlocksDown) {
    CBlock t;
    t.Add(1, 1);
    t.Add(2, 2);
    t.Add(3, 3);
    EXPECT_TRUE(t.RemoveAt(0));
    EXPECT_FALSE(t.RemoveAt(2));
    EXPECT_EQ(t.GetCount(), 2);
    EXPECT_EQ(t.GetAt(0).GetPos(), CPointD(2, 2));
    EXPECT_EQ(t.GetAt(1).GetPos(), CPointD(3, 3));
}

TEST(BlockTable, NearestBlockHasNoLimitAndTiesGoToTheLowerPosition) {
    CBlock t;
    EXPECT_EQ(t.FindNearest(0, 0), -1);
    t.Add(1e7, 1e7);
    EXPECT_EQ(t.FindNearest(0, 0), 0);
    t.Add(-5, 0);
    t.Add(5, 0);
    EXPECT_EQ(t.FindNearest(0, 0), 1);
}

TEST(BlockOutlines, EmptySetIsOneIntAndEmptyOutlinesHaveNoVertices) {
    CBlkXY empty;
    CArchive out;
    empty.Serialize(out, 12);
    EXPECT_EQ(out.Bytes(), std::vector<std::uint8_t>({0, 0, 0, 0}));

    CBlkXY b;
    b.SetCount(2);
    b.AllocOutlines();
    const CPointD ring[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 0}};
    b.SetPointCount(1, 4);
    b.AllocPoints(1);
    b.SetPoints(1, ring);
    EXPECT_EQ(b.GetPoints(0), nullptr);
    CArchive out2;
    b.Serialize(out2, 12);
    EXPECT_EQ(out2.Bytes().size(), 4u + 4 + 4 + 4 * 16);

    CBlkXY back;
    CArchive in(out2.Bytes());
    back.Serialize(in, 12);
    EXPECT_EQ(back.GetCount(), 2);
    EXPECT_EQ(back.GetPointCount(0), 0);
    EXPECT_EQ(back.GetPoints(0), nullptr);
    ASSERT_NE(back.GetPoints(1), nullptr);
    EXPECT_EQ(back.GetPoints(1)[2], CPointD(1, 1));

    back.FreeAll();
    EXPECT_EQ(back.GetCount(), 2);  // freeing keeps the count; the owner sets it to 0
    EXPECT_EQ(back.GetPoints(1), nullptr);
}

TEST(BlockOutlines, DamagedOutlineCountsAreRefusedWithNothingChanged) {
    CBlkXY b;
    b.SetCount(1);
    b.AllocOutlines();
    CArchive bad;
    bad << std::int32_t(1) << std::int32_t(1000) << 1.0 << 2.0;  // 1000 vertices announced, 1 there
    CArchive in(bad.Bytes());
    EXPECT_THROW(b.Serialize(in, 12), ArchiveError);
    EXPECT_EQ(b.GetCount(), 1);
}

}  // namespace
}  // namespace wv
