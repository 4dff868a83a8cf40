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
    // A segment shorter than the length tolerance has no foot and writes nothing.
    fx = fy = -7;
    EXPECT_EQ(ProjectPointOnSegment(3, 3, 3 + 1e-6, 3, 5, 5, &fx, &fy, 0), -1);
    EXPECT_EQ(fx, -7);
    EXPECT_EQ(fy, -7);
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

    // Parallel: -1 and the point (0, 0), within the parallel tolerance of 1e-10.
    EXPECT_EQ(IntersectLines(0, 0, 1, 0, 0, 1, 1, 1, &px, &py), -1);
    EXPECT_EQ(px, 0.0);
    EXPECT_EQ(py, 0.0);
    EXPECT_EQ(IntersectLines(0, 0, 1, 0, 0, 1, 1, 1 + 5e-11, &px, &py), -1);
    EXPECT_NE(IntersectLines(0, 0, 1, 0, 0, 1, 1, 1 + 1e-9, &px, &py), -1);
}

TEST(GeomClip, InsideMissingEnteringLeavingCrossingAndCorners) {
    struct Case {
        const char* what;
        double in[4];
        int code;
        double out[4];
    };
    const Case cases[] = {
        {"inside (the border counts as inside)", {0, 0, 10, 5}, 0, {0, 0, 10, 5}},
        {"missing", {-5, 20, 20, 15}, -1, {-5, 20, 20, 15}},
        {"entering", {-5, 5, 5, 5}, 1, {0, 5, 5, 5}},
        {"leaving", {5, 5, 5, 15}, 2, {5, 5, 5, 10}},
        {"crossing", {-5, 5, 15, 5}, 3, {0, 5, 10, 5}},
        // The crossing nearer the old start becomes the start, whatever order the borders
        // found them in.
        {"crossing backwards", {15, 5, -5, 5}, 3, {10, 5, 0, 5}},
        {"along the bottom border", {-1, 0, 11, 0}, 3, {0, 0, 10, 0}},
        {"through two opposite corners", {-1, -1, 11, 11}, 3, {0, 0, 10, 10}},
        {"through the other two corners", {-1, 11, 11, -1}, 3, {0, 10, 10, 0}},
        {"inside out through a corner", {5, 5, 11, 11}, 2, {5, 5, 10, 10}},
        {"outside in through a corner", {-1, -1, 5, 5}, 1, {0, 0, 5, 5}},
        {"touching a corner only: the visible part is that point", {-1, 1, 1, -1}, 3, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        double s[4] = {c.in[0], c.in[1], c.in[2], c.in[3]};
        EXPECT_EQ(ClipSegmentToRect(&s[0], &s[1], &s[2], &s[3], {0, 0}, {10, 10}), c.code);
        for (int k = 0; k < 4; ++k) EXPECT_NEAR(s[k], c.out[k], 1e-12) << k;
    }
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
