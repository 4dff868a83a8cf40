#include "core/geometry.h"

#include <gtest/gtest.h>

#include <vector>

using namespace wv;

namespace {

// Counter-clockwise square (y up), closed.
const std::vector<CPointD> kSquareCcw = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}};

CPointList MakeList(const std::vector<CPointD>& pts) {
    CPointList list(pts.front());
    for (size_t i = 1; i < pts.size(); ++i) list.AddTail(pts[i]);
    return list;
}

std::vector<CPointD> Reversed(std::vector<CPointD> pts) { return {pts.rbegin(), pts.rend()}; }

bool Outside(double x, double y, const std::vector<CPointD>& pts, bool reverse) {
    std::vector<double> turned;
    for (const auto& p : pts) turned.push_back(30000.0 - p.m_dY);
    return IsOutsidePolygon(x, y, pts.data(), turned.data(), static_cast<int>(pts.size()) - 1,
                            reverse);
}

// Every vertex and the middle of every edge of the square.
std::vector<CPointD> BoundaryPoints() {
    return {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 0}, {10, 5}, {5, 10}, {0, 5}};
}

}  // namespace

TEST(GeomPolygon, OrientationOfClosedPolygons) {
    CPointList ccw = MakeList(kSquareCcw);
    CPointList cw = MakeList(Reversed(kSquareCcw));
    EXPECT_EQ(GetPolygonOrientation(&ccw), 1);
    EXPECT_EQ(GetPolygonOrientation(&cw), 0);
    // Lowest vertex in the middle of the list, and a concave outline.
    CPointList notch = MakeList({{0, 10}, {0, 0}, {4, 4}, {10, 0}, {10, 10}, {0, 10}});
    EXPECT_EQ(GetPolygonOrientation(&notch), 1);
    EXPECT_EQ(GetPolygonOrientation(nullptr), -1);
    CPointList empty({0, 0});
    empty.RemoveAll();
    EXPECT_EQ(GetPolygonOrientation(&empty), -1);
}

TEST(GeomPolygon, LocateNeedsAClockwiseWalkAndGivesTwoOnTheBoundary) {
    CPointList ccw = MakeList(kSquareCcw);
    EXPECT_EQ(LocatePointInPolygon(5, 5, 0, &ccw), 2);  // counter-clockwise walk
    EXPECT_EQ(LocatePointInPolygon(5, 5, 1, &ccw), 0);
    EXPECT_EQ(LocatePointInPolygon(15, 5, 0, &ccw), 1);
    EXPECT_EQ(LocatePointInPolygon(15, 5, 1, &ccw), 1);

    // With the orientation as reverse flag both senses work.
    for (const auto& pts : {kSquareCcw, Reversed(kSquareCcw)}) {
        CPointList list = MakeList(pts);
        const int sense = GetPolygonOrientation(&list);
        EXPECT_EQ(LocatePointInPolygon(3, 7, sense, &list), 0);
        EXPECT_EQ(LocatePointInPolygon(-3, 7, sense, &list), 1);
        EXPECT_EQ(LocatePointInPolygon(10.0001, 7, sense, &list), 1);
    }
    EXPECT_EQ(LocatePointInPolygon(5, 5, 0, nullptr), 2);
    CPointList empty({0, 0});
    empty.RemoveAll();
    EXPECT_EQ(LocatePointInPolygon(5, 5, 0, &empty), 2);

    // On the boundary: 2, whatever the edge and the sense.
    for (const auto& pts : {kSquareCcw, Reversed(kSquareCcw)}) {
        CPointList list = MakeList(pts);
        for (const auto& p : BoundaryPoints()) {
            for (int reverse : {0, 1}) {
                EXPECT_EQ(LocatePointInPolygon(p.m_dX, p.m_dY, reverse, &list), 2)
                    << p.m_dX << "," << p.m_dY << " reverse " << reverse;
            }
        }
    }
}

TEST(GeomPolygon, IsOutsideIgnoresSenseTreatsBoundaryAsInsideAndFollowsConcaveOutlines) {
    for (const auto& pts : {kSquareCcw, Reversed(kSquareCcw)}) {
        for (bool reverse : {false, true}) {
            EXPECT_FALSE(Outside(5, 5, pts, reverse));
            EXPECT_FALSE(Outside(9.9999, 0.0001, pts, reverse));
            EXPECT_TRUE(Outside(-0.0001, 5, pts, reverse));
            EXPECT_TRUE(Outside(50, 50, pts, reverse));
            for (const auto& p : BoundaryPoints()) {
                EXPECT_FALSE(Outside(p.m_dX, p.m_dY, pts, reverse))
                    << p.m_dX << "," << p.m_dY << " reverse " << reverse;
            }
        }
    }

    // A "U": the notch between the arms is outside.
    const std::vector<CPointD> u = {{0, 0}, {30, 0}, {30, 30}, {20, 30}, {20, 10},
                                    {10, 10}, {10, 30}, {0, 30}, {0, 0}};
    EXPECT_TRUE(Outside(15, 20, u, false));
    EXPECT_FALSE(Outside(5, 20, u, false));
    EXPECT_FALSE(Outside(25, 20, u, true));
    EXPECT_FALSE(Outside(15, 5, u, true));
}

TEST(GeomPolygon, SegmentCrossesPolygonRefusesCrossingsAndFoldsButAllowsClosing) {
    CPointList chain = MakeList({{0, 0}, {10, 0}, {10, 10}});
    EXPECT_EQ(SegmentCrossesPolygon(10, 10, 5, -5, &chain), 1);     // crosses edge 0-1
    EXPECT_EQ(SegmentCrossesPolygon(10, 10, 0, 10, &chain), 0);     // free
    EXPECT_EQ(SegmentCrossesPolygon(10, 10, 0, 0, &chain), 0);      // closes on the first point
    EXPECT_EQ(SegmentCrossesPolygon(10, 10, -5, -5, &chain), 1);    // through the first point, beyond
    EXPECT_EQ(SegmentCrossesPolygon(10, 10, 10, 0.0005, &chain), 1);  // back along the last edge
    EXPECT_EQ(SegmentCrossesPolygon(10, 10, 10, 0.002, &chain), 0);

    CPointList two = MakeList({{0, 0}, {10, 0}});
    EXPECT_EQ(SegmentCrossesPolygon(10, 0, 0.0009, -0.0009, &two), 1);
    EXPECT_EQ(SegmentCrossesPolygon(10, 0, 5, 5, &two), 0);

    CPointList one({0, 0});
    EXPECT_EQ(SegmentCrossesPolygon(0, 0, 5, 5, &one), 0);
    EXPECT_EQ(SegmentCrossesPolygon(0, 0, 5, 5, nullptr), 0);
}
