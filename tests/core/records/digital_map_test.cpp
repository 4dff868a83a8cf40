// The calculation mesh: node look-ups, value means, ranges, area flags and its archive.
#include "core/digital_map.h"
#include "golden.h"

#include <cmath>
#include <set>
#include <utility>

namespace wv {
namespace {

using test::Golden;
using test::Load;
using test::Rect;
using test::Stored;

// A cols x rows mesh with the given land nodes; sea nodes are numbered row by row and
// sit at (column x spacing, row x spacing), with every map shown.
CDigitalMap MakeMesh(int cols, int rows, double spacing, const std::set<std::pair<int, int>>& land = {}) {
    CDigitalMap m;
    m.SetMeshCountX(cols);
    m.SetMeshCountY(rows);
    m.SetMeshSize(spacing);
    m.SetCount(cols * rows - static_cast<int>(land.size()));
    m.AllocValues();
    m.AllocDepthFlag();
    m.AllocHeightFlag();
    m.AllocDirFlag();
    m.AllocVectorFlag();
    m.AllocNodeIndex();
    int n = 0;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            if (land.count({r, c})) {
                m.SetNodeIndex(r, c, -1);
                continue;
            }
            CCalValue v;
            v.SetPos(float(c * spacing), float(r * spacing));
            v.SetDepth(float(n + 1));
            m.SetAt(n, v);
            m.SetDepthFlag(n, 1);
            m.SetHeightFlag(n, 1);
            m.SetDirFlag(n, 1);
            m.SetVectorFlag(n, 1);
            m.SetNodeIndex(r, c, n++);
        }
    return m;
}

void SetNode(CDigitalMap& m, int i, float depth, float hr, float er, float dir) {
    CCalValue v = m.GetAt(i);
    v.SetDepth(depth);
    v.SetHeightRatio(hr);
    v.SetEquivRatio(er);
    v.SetDirection(dir);
    m.SetAt(i, v);
}

TEST(CalValue, ValueKinds) {
    CCalValue v;
    v.SetHeightRatio(0.5f);
    v.SetEquivRatio(0.25f);
    EXPECT_DOUBLE_EQ(v.GetValue(0, 4.0), 2.0);   // significant wave height
    EXPECT_DOUBLE_EQ(v.GetValue(1, 4.0), 0.5);   // its ratio
    EXPECT_DOUBLE_EQ(v.GetValue(2, 4.0), 1.0);   // equivalent deep-water height
    EXPECT_DOUBLE_EQ(v.GetValue(3, 4.0), 0.25);  // its ratio
    EXPECT_DOUBLE_EQ(v.GetValue(9, 4.0), 0.25);
}

TEST(DigitalMap, AccessOutsideTheMeshIsHarmless) {
    CDigitalMap m = MakeMesh(3, 2, 10.0);
    EXPECT_EQ(m.GetNodeIndex(-1, 0), -1);
    EXPECT_EQ(m.GetNodeIndex(0, 3), -1);
    EXPECT_EQ(m.GetNodeIndex(2, 0), -1);
    EXPECT_EQ(m.GetNodeIndex(1, 2), 5);
    m.SetNodeIndex(0, 3, 0);  // ignored
    EXPECT_EQ(m.GetAt(6), CCalValue());
    EXPECT_EQ(m.GetAt(-1), CCalValue());
    m.SetAt(6, CCalValue());
    EXPECT_EQ(m.GetHeightFlag(6), 0);
    m.SetHeightFlag(-1, 2);
    // A count raised without reallocating does not reach past the arrays.
    m.SetCount(100);
    EXPECT_EQ(m.GetAt(50), CCalValue());
    m.SetVectorFlag(50, 1);
    EXPECT_EQ(m.GetVectorFlag(50), 0);
}

TEST(DigitalMap, FindNodeRoundsAtHalfASpacingPlusABitAndOnLandTakesTheNearestNeighbour) {
    CDigitalMap m = MakeMesh(3, 3, 10.0);
    EXPECT_EQ(m.FindNode(0.4995 * 10.0, 0.0), 1);  // column 1
    EXPECT_EQ(m.FindNode(0.498 * 10.0, 0.0), 0);   // column 0
    EXPECT_EQ(m.FindNode(20.0, 20.0), 8);
    EXPECT_EQ(m.FindNode(-100.0, 0.0), -1);

    // On land the nearest sea neighbour counts. Row 1 column 1 is land, and so is
    // everything around it but its left and right neighbours, which lie at the same
    // distance: the later one in the order wins.
    std::set<std::pair<int, int>> land = {{0, 0}, {0, 1}, {0, 2}, {1, 1}, {2, 0}, {2, 1}, {2, 2}};
    CDigitalMap island = MakeMesh(3, 3, 10.0, land);
    ASSERT_EQ(island.GetCount(), 2);
    EXPECT_EQ(island.FindNode(10.0, 10.0), island.GetNodeIndex(1, 2));
    // Off centre towards the left, the left neighbour is nearer.
    EXPECT_EQ(island.FindNode(8.0, 10.0), island.GetNodeIndex(1, 0));

    std::set<std::pair<int, int>> all;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) all.insert({r, c});
    CDigitalMap dry = MakeMesh(3, 3, 10.0, all);
    EXPECT_EQ(dry.FindNode(10.0, 10.0), -1);
}

TEST(DigitalMap, GetValueAtMeansTheCellsSeaNodesAndGivesNoValueOverLand) {
    CDigitalMap m = MakeMesh(2, 2, 10.0);
    m.SetWaveHeight(2.0);
    SetNode(m, 0, 5, 0.5f, 0.25f, 350);
    SetNode(m, 1, 5, 1.0f, -1.0f, 10);
    SetNode(m, 2, 5, 1.5f, 0.75f, 350);
    SetNode(m, 3, 5, 2.0f, 0.5f, 10);
    double value = 0, dir = 0;
    m.GetValueAt(5.0, 5.0, 1, &value, &dir);
    EXPECT_DOUBLE_EQ(value, 1.25);
    EXPECT_DOUBLE_EQ(dir, 0.0);  // 350 and 370 average 360, which wraps to 0
    m.GetValueAt(5.0, 5.0, 0, &value, &dir);
    EXPECT_DOUBLE_EQ(value, 2.5);
    // A negative equivalent ratio is no value and does not count.
    m.GetValueAt(5.0, 5.0, 3, &value, &dir);
    EXPECT_DOUBLE_EQ(value, 0.5);

    // Over land only, and far outside: no value and no direction.
    CDigitalMap dry = MakeMesh(3, 3, 10.0, {{0, 0}, {0, 1}, {1, 0}, {1, 1}});
    dry.GetValueAt(5.0, 5.0, 0, &value, &dir);
    EXPECT_EQ(value, 99999999.999);
    EXPECT_EQ(dir, 999.0);
    dry.GetValueAt(-50.0, 1e300, 0, &value, &dir);
    EXPECT_EQ(value, 99999999.999);
}

TEST(DigitalMap, GetValueAtAveragesDirectionsAcrossSouth) {
    CDigitalMap m = MakeMesh(2, 1, 10.0);
    double value = 0, dir = 0;
    const float pairs[][3] = {
        {170, 190, 180}, {179, 181, 180}, {180, 179, 179.5}, {100, 200, 150},
        {350, 10, 0},    {340, 0, 350},   {90, 100, 95},     {-10, 10, 0},
    };
    for (const auto& p : pairs) {
        SetNode(m, 0, 5, 1, 1, p[0]);
        SetNode(m, 1, 5, 1, 1, p[1]);
        m.GetValueAt(3.0, 0.0, 1, &value, &dir);
        EXPECT_NEAR(dir, p[2], 1e-4) << p[0] << " and " << p[1];
    }
}

TEST(DigitalMap, Ranges) {
    CDigitalMap empty;
    empty.SetMinDepth(3);
    empty.SetMaxDepth(4);
    empty.CalcDepthRange();
    EXPECT_EQ(empty.GetMinDepth(), 0.0f);
    EXPECT_EQ(empty.GetMaxDepth(), 0.0f);

    CDigitalMap m = MakeMesh(3, 1, 10.0);
    SetNode(m, 0, 2.5f, 0.5f, -1.0f, 0);
    SetNode(m, 1, 7.0f, 1.5f, 0.25f, 0);
    SetNode(m, 2, 4.0f, 0.75f, -2.0f, 0);
    m.SetWaveHeight(2.0);
    m.CalcDepthRange();
    EXPECT_EQ(m.GetMinDepth(), 2.5f);
    EXPECT_EQ(m.GetMaxDepth(), 7.0f);
    m.CalcResultRange();
    EXPECT_EQ(m.GetMinValue(1), 0.5);
    EXPECT_EQ(m.GetMaxValue(1), 1.5);
    EXPECT_EQ(m.GetMinValue(0), 1.0);
    EXPECT_EQ(m.GetMaxValue(0), 3.0);
    EXPECT_EQ(m.GetMinValue(3), 0.25);  // the negative ratios are no values
    EXPECT_EQ(m.GetMaxValue(2), 0.5);

    SetNode(m, 1, 7.0f, 1.5f, -0.5f, 0);
    m.CalcResultRange();
    EXPECT_EQ(m.GetMinValue(3), 0.0);  // no value at all: 0 .. 0
    EXPECT_EQ(m.GetMaxValue(3), 0.0);
}

TEST(DigitalMap, AreaFlagsMarkRestoreAndErase) {
    CDigitalMap m = MakeMesh(3, 3, 10.0);
    m.SetHeightFlag(4, kFlagHidden);
    // The mesh lies at (1000, 2000), unturned; the square holds nodes (col 1-2, row 1-2).
    CPointList square = Rect(1005, 2005, 1025, 2025);
    EXPECT_TRUE(m.SelectFlagsInArea(CPointD(1000, 2000), 0.0, &square, CDigitalMap::kAreaHeight));
    EXPECT_EQ(m.GetHeightFlag(4), kFlagHidden);  // hidden nodes stay hidden
    for (int i : {5, 7, 8}) EXPECT_EQ(m.GetHeightFlag(i), kFlagMarked) << i;
    for (int i : {0, 1, 2, 3, 6}) EXPECT_EQ(m.GetHeightFlag(i), kFlagShown) << i;
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(m.GetDepthFlag(i), kFlagShown);  // the depth map is never touched
        EXPECT_EQ(m.GetVectorFlag(i), kFlagShown);
    }
    m.RestoreAreaFlags(CDigitalMap::kAreaHeight);
    EXPECT_EQ(m.GetHeightFlag(5), kFlagShown);
    EXPECT_EQ(m.GetHeightFlag(4), kFlagHidden);

    // Over the mesh turned by 90 degrees node (col c, row r) lies at
    // (1000 - 10 r, 2000 + 10 c): this strip holds columns 1 and 2 of row 0.
    CPointList strip = Rect(995, 2005, 1005, 2025);
    EXPECT_TRUE(m.SelectFlagsInArea(CPointD(1000, 2000), 90.0, &strip, CDigitalMap::kAreaDir));
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(m.GetDirFlag(i), (i == 1 || i == 2) ? kFlagMarked : kFlagShown) << i;
    m.EraseAreaFlags(CDigitalMap::kAreaDir);
    EXPECT_EQ(m.GetDirFlag(1), kFlagHidden);
    EXPECT_EQ(m.GetDirFlag(0), kFlagShown);

    CPointList far = Rect(0, 0, 10, 10);
    EXPECT_FALSE(m.SelectFlagsInArea(CPointD(1000, 2000), 0.0, &far, CDigitalMap::kAreaVector));
}

// The golden mesh: 3 columns x 2 rows, five sea nodes, one land node at row 0 column 2.
void ExpectGoldenMesh(const CDigitalMap& m, unsigned version) {
    EXPECT_EQ(m.GetCount(), 5);
    EXPECT_EQ(m.GetMeshCountX(), 3);
    EXPECT_EQ(m.GetMeshCountY(), 2);
    EXPECT_EQ(m.GetMeshSize(), 10.0);
    EXPECT_EQ(m.GetAt(2).GetDepth(), 8.25f);
    EXPECT_EQ(m.GetAt(2).GetHeightRatio(), 1.25f);
    EXPECT_EQ(m.GetAt(1).GetEquivRatio(), -1.0f);
    EXPECT_EQ(m.GetAt(3).GetDirection(), 190.0f);
    EXPECT_EQ(m.GetAt(4).GetPos(), CPointF());  // positions are not stored
    const int depth[] = {1, 1, 0, 2, 1}, height[] = {1, 0, 1, 1, 2}, dir[] = {0, 1, 1, 1, 1},
              vec[] = {2, 1, 1, 0, 1};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(m.GetDepthFlag(i), version > 7 ? depth[i] : 0) << i;
        EXPECT_EQ(m.GetHeightFlag(i), height[i]) << i;
        EXPECT_EQ(m.GetDirFlag(i), version > 8 ? dir[i] : 0) << i;
        EXPECT_EQ(m.GetVectorFlag(i), vec[i]) << i;
    }
    EXPECT_EQ(m.GetNodeIndex(0, 2), -1);
    EXPECT_EQ(m.GetNodeIndex(1, 0), 2);
    EXPECT_EQ(m.GetNodeIndex(1, 2), 4);
    EXPECT_EQ(m.GetBaseLevel(), 1.5);
    EXPECT_EQ(m.GetWaveHeight(), 3.25);
}

TEST(DigitalMap, ArchiveOfEachVersion) {
    for (unsigned v : {7u, 8u, 12u}) {
        CDigitalMap m = MakeMesh(4, 4, 5.0);
        Load(m, Golden("digital_map_v" + std::to_string(v) + ".bin"), v);
        ExpectGoldenMesh(m, v);
        if (v == 12) {
            EXPECT_EQ(Stored(m, 1), Golden("digital_map_v12.bin"));
        }
    }
    // A version-9 file already has every flag array.
    CDigitalMap m;
    Load(m, Golden("digital_map_v12.bin"), 9);
    ExpectGoldenMesh(m, 9);
}

TEST(DigitalMap, BadArchivesAreRefusedAndChangeNothing) {
    const std::vector<std::pair<std::size_t, std::int32_t>> faults = {
        {0, -1},           // negative node count
        {0, 1000},         // more nodes than the file holds
        {4, -3},           // negative column count
        {4, 1 << 20},      // a node-index table larger than the file
        {140 + 4, 5},      // a node index equal to the node count
        {140 + 8, -2},     // a node index below -1
    };
    for (auto [offset, value] : faults) {
        auto bytes = Golden("digital_map_v12.bin");
        ASSERT_EQ(bytes.size(), 180u);
        test::PutInt(bytes, offset, value);
        CDigitalMap m = MakeMesh(2, 2, 1.0);
        CArchive ar(bytes);
        EXPECT_THROW(m.Serialize(ar, 12), ArchiveError) << offset << " = " << value;
        EXPECT_EQ(m.GetCount(), 4);
        EXPECT_EQ(m.GetMeshSize(), 1.0);
        EXPECT_EQ(m.GetNodeIndex(1, 1), 3);
        EXPECT_EQ(m.GetAt(3).GetDepth(), 4.0f);
    }
}

}  // namespace
}  // namespace wv
