#include "core/geometry.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace wv;

TEST(GeomTransform, WorldToScreenRotatesScalesAndItsInverseUndoesIt) {
    double x = 0, y = 0;
    // A quarter turn: world +x goes to -y of the turned frame.
    EXPECT_EQ(WorldToScreen(11.0, 5.0, 1.0, 5.0, 0.0, 1.0, 2.0, 100.0, 200.0, &x, &y), 0);
    EXPECT_DOUBLE_EQ(x, 100.0);
    EXPECT_DOUBLE_EQ(y, 180.0);

    for (double deg : {0.0, 17.0, 90.0, 200.0, -63.5}) {
        const double a = deg * kPi / 180.0;
        const double k = 3.25;
        double fx, fy, bx, by;
        WorldToScreen(1234.5, -678.25, 100.0, 50.0, std::cos(a), std::sin(a), k, 7.0, 9.0, &fx, &fy);
        WorldToScreen(fx, fy, 7.0, 9.0, std::cos(-a), std::sin(-a), 1.0 / k, 100.0, 50.0, &bx, &by);
        EXPECT_NEAR(bx, 1234.5, 1e-9) << deg;
        EXPECT_NEAR(by, -678.25, 1e-9) << deg;
    }
}

TEST(GeomTransform, DotAndCrossProducts) {
    EXPECT_DOUBLE_EQ(DotProduct(1, 1, 4, 5, 0, 0, 2, -1), 3 * 2 + 4 * -1);
    EXPECT_DOUBLE_EQ(CrossProduct(1, 1, 4, 5, 0, 0, 2, -1), 3 * -1 - 4 * 2);
}

TEST(GeomProject, FootToleranceEdges) {
    double fx = 0, fy = 0;
    EXPECT_EQ(ProjectPointOnSegment(0, 0, 1, 0, -5e-10, 3, &fx, &fy, 0), 0);
    EXPECT_EQ(ProjectPointOnSegment(0, 0, 1, 0, 1.0000000005, 3, &fx, &fy, 0), 0);
    EXPECT_EQ(ProjectPointOnSegment(0, 0, 1, 0, 1.000000001, 3, &fx, &fy, 0), 1);
    EXPECT_EQ(ProjectPointOnSegment(0, 0, 1, 0, -1e-9, 3, &fx, &fy, 0), 1);
    // The foot is written also off the segment.
    EXPECT_EQ(ProjectPointOnSegment(0, 0, 2, 2, 5, 3, &fx, &fy, 0), 1);
    EXPECT_DOUBLE_EQ(fx, 4.0);
    EXPECT_DOUBLE_EQ(fy, 4.0);
}

TEST(GeomProject, ModeOneGivesTheOvershootInSegmentLengths) {
    double fx = 0, fy = 0;
    EXPECT_EQ(ProjectPointOnSegment(0, 0, 2, 0, 3, 1, &fx, &fy, 1), 1);
    EXPECT_DOUBLE_EQ(fx, 0.5);
    EXPECT_DOUBLE_EQ(fy, 0.0);
    EXPECT_EQ(ProjectPointOnSegment(0, 0, 2, 0, -1, 1, &fx, &fy, 1), 1);
    EXPECT_DOUBLE_EQ(fx, 0.5);
    // On the segment mode 1 still gives the foot.
    EXPECT_EQ(ProjectPointOnSegment(0, 0, 2, 0, 1.5, 1, &fx, &fy, 1), 0);
    EXPECT_DOUBLE_EQ(fx, 1.5);
}

TEST(GeomProject, DegenerateSegmentWritesNothing) {
    double fx = -7, fy = -7;
    EXPECT_EQ(ProjectPointOnSegment(3, 3, 3 + 1e-6, 3, 5, 5, &fx, &fy, 0), -1);
    EXPECT_EQ(fx, -7);
    EXPECT_EQ(fy, -7);
}

TEST(GeomAngle, CounterClockwiseFromSecondToFirstDirection) {
    EXPECT_NEAR(AngleBetween(1, 1, 1, 2, 2, 1), kPi / 2, 1e-15);
    EXPECT_NEAR(AngleBetween(1, 1, 2, 1, 1, 2), 3 * kPi / 2, 1e-15);
    EXPECT_EQ(AngleBetween(0, 0, 3, 3, 1, 1), 0.0);
    EXPECT_NEAR(AngleBetween(0, 0, -1, 0, 1, 0), kPi, 1e-15);
    for (int i = 0; i < 36; ++i) {
        const double a = AngleBetween(0, 0, std::cos(i * 0.3), std::sin(i * 0.3), 1, 0.5);
        EXPECT_GE(a, 0.0);
        EXPECT_LT(a, kTwoPi);
    }
}

TEST(GeomIntersect, ResultCodesAndPointOutsideTheSegments) {
    double px = 9, py = 9;
    EXPECT_EQ(IntersectLines(0, 0, 2, 2, 0, 2, 2, 0, &px, &py), 0);
    EXPECT_DOUBLE_EQ(px, 1.0);
    EXPECT_DOUBLE_EQ(py, 1.0);
    EXPECT_EQ(IntersectLines(0, 0, 1, 0, 2, -1, 2, 1, &px, &py), 1);
    EXPECT_EQ(IntersectLines(0, 0, 4, 0, 2, 1, 2, 2, &px, &py), 2);
    EXPECT_EQ(IntersectLines(0, 0, 1, 0, 2, 1, 2, 2, &px, &py), 3);
    EXPECT_DOUBLE_EQ(px, 2.0);
    EXPECT_DOUBLE_EQ(py, 0.0);
    // Ends touching count as on the segment.
    EXPECT_EQ(IntersectLines(0, 0, 1, 0, 1, 0, 1, 5, &px, &py), 0);
}

TEST(GeomIntersect, ParallelGivesMinusOneAndZeroPoint) {
    double px = 9, py = 9;
    EXPECT_EQ(IntersectLines(0, 0, 1, 0, 0, 1, 1, 1, &px, &py), -1);
    EXPECT_EQ(px, 0.0);
    EXPECT_EQ(py, 0.0);
    EXPECT_EQ(IntersectLines(0, 0, 1, 0, 0, 1, 1, 1 + 5e-11, &px, &py), -1);
    EXPECT_NE(IntersectLines(0, 0, 1, 0, 0, 1, 1, 1 + 1e-9, &px, &py), -1);
}

namespace {
struct Seg {
    double x1, y1, x2, y2;
};
int Clip(Seg& s) { return ClipSegmentToRect(&s.x1, &s.y1, &s.x2, &s.y2, {0, 0}, {10, 10}); }
void ExpectSeg(const Seg& s, double x1, double y1, double x2, double y2) {
    EXPECT_NEAR(s.x1, x1, 1e-12);
    EXPECT_NEAR(s.y1, y1, 1e-12);
    EXPECT_NEAR(s.x2, x2, 1e-12);
    EXPECT_NEAR(s.y2, y2, 1e-12);
}
}  // namespace

TEST(GeomClip, InsideMissingEnteringLeavingAndCrossing) {
    Seg s{0, 0, 10, 5};  // the border counts as inside
    EXPECT_EQ(Clip(s), 0);
    ExpectSeg(s, 0, 0, 10, 5);

    s = {-5, 20, 20, 15};
    EXPECT_EQ(Clip(s), -1);
    ExpectSeg(s, -5, 20, 20, 15);

    s = {-5, 5, 5, 5};
    EXPECT_EQ(Clip(s), 1);
    ExpectSeg(s, 0, 5, 5, 5);

    s = {5, 5, 5, 15};
    EXPECT_EQ(Clip(s), 2);
    ExpectSeg(s, 5, 5, 5, 10);

    s = {-5, 5, 15, 5};
    EXPECT_EQ(Clip(s), 3);
    ExpectSeg(s, 0, 5, 10, 5);

    // The crossing nearer the old start becomes the start, whatever order the borders
    // found them in.
    s = {15, 5, -5, 5};
    EXPECT_EQ(Clip(s), 3);
    ExpectSeg(s, 10, 5, 0, 5);

    s = {-1, 0, 11, 0};  // along the bottom border
    EXPECT_EQ(Clip(s), 3);
    ExpectSeg(s, 0, 0, 10, 0);
}

TEST(GeomClip, SegmentThroughACornerKeepsItsVisiblePart) {
    Seg s{-1, -1, 11, 11};  // through two opposite corners
    EXPECT_EQ(Clip(s), 3);
    ExpectSeg(s, 0, 0, 10, 10);

    s = {-1, 11, 11, -1};
    EXPECT_EQ(Clip(s), 3);
    ExpectSeg(s, 0, 10, 10, 0);

    s = {5, 5, 11, 11};  // from inside out through a corner
    EXPECT_EQ(Clip(s), 2);
    ExpectSeg(s, 5, 5, 10, 10);

    s = {-1, -1, 5, 5};  // from outside in through a corner
    EXPECT_EQ(Clip(s), 1);
    ExpectSeg(s, 0, 0, 5, 5);

    s = {-1, 1, 1, -1};  // touching a corner only: the visible part is that point
    EXPECT_EQ(Clip(s), 3);
    ExpectSeg(s, 0, 0, 0, 0);
}

TEST(GeomClip, CornerCrossingAtWorldCoordinateMagnitudes) {
    const CPointD lo(-41234.5, 17890.25), hi(-40234.5, 18390.25);
    double x1 = lo.m_dX - 100, y1 = lo.m_dY - 50, x2 = hi.m_dX + 100, y2 = hi.m_dY + 50;
    EXPECT_EQ(ClipSegmentToRect(&x1, &y1, &x2, &y2, lo, hi), 3);
    EXPECT_NEAR(x1, lo.m_dX, 1e-6);
    EXPECT_NEAR(y1, lo.m_dY, 1e-6);
    EXPECT_NEAR(x2, hi.m_dX, 1e-6);
    EXPECT_NEAR(y2, hi.m_dY, 1e-6);
}
