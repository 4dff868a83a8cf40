#include "core/coord_wnd.h"

#include "core/geometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

using namespace wv;

TEST(GeomCoordWnd, DefaultsPlaceTheWorldOriginOnTheOffset) {
    CCoordWnd c;
    double x = 0, y = 0;
    EXPECT_EQ(c.WorldToView(&x, &y), 0);
    EXPECT_DOUBLE_EQ(x, 15000.0);
    EXPECT_DOUBLE_EQ(y, 15000.0);
    x = 10;
    y = 20;
    c.WorldToView(&x, &y);
    EXPECT_DOUBLE_EQ(x, 15010.0);
    EXPECT_DOUBLE_EQ(y, 14980.0);
}

TEST(GeomCoordWnd, AngleScaleOriginAndOffset) {
    CCoordWnd c;
    c.SetOrigin(1000.0, 2000.0);
    c.SetOffset(100, 200);
    c.SetScale(2.0);
    c.SetAngle(90.0);
    // World east of the origin ends up below the offset on the screen (y down).
    double x = 1010.0, y = 2000.0;
    c.WorldToView(&x, &y);
    EXPECT_NEAR(x, 100.0, 1e-9);
    EXPECT_NEAR(y, 30000.0 - (200.0 - 20.0), 1e-9);
}

TEST(GeomCoordWnd, ViewToWorldUndoesWorldToViewAtAnyAngleAndScale) {
    CCoordWnd c;
    c.SetOrigin(-41234.567, 18765.432);
    c.SetOffset(12000, 9000);
    for (double angle : {0.0, 12.5, 45.0, 90.0, 137.25, 180.0, 270.0, -33.0, 359.999}) {
        for (double scale : {0.001, 0.37, 1.0, 4.0, 250.0}) {
            c.SetAngle(angle);
            c.SetScale(scale);
            for (auto [wx, wy] : {std::pair{-41234.567, 18765.432}, std::pair{-40000.0, 20000.5},
                                  std::pair{0.0, 0.0}}) {
                double x = wx, y = wy;
                c.WorldToView(&x, &y);
                c.ViewToWorld(&x, &y);
                const double tol = 1e-9 * (std::fabs(wx) + std::fabs(wy) + 30000.0 / scale);
                EXPECT_NEAR(x, wx, tol) << angle << " " << scale;
                EXPECT_NEAR(y, wy, tol) << angle << " " << scale;
            }
        }
    }
}

TEST(GeomCoordWnd, ExVariantsUseOnlyTheirArguments) {
    CCoordWnd c;
    c.SetOrigin(5.0, 6.0);
    c.SetOffset(700, 800);
    c.SetScale(3.0);
    c.SetAngle(30.0);
    const double a = 30.0 * kPi / 180.0;
    double x = 17.0, y = -4.0, ex = 17.0, ey = -4.0;
    c.WorldToView(&x, &y);
    CCoordWnd other;  // different members: must not matter
    other.WorldToViewEx(5.0, 6.0, 700, 800, std::cos(a), std::sin(a), 3.0, &ex, &ey);
    EXPECT_EQ(ex, x);
    EXPECT_EQ(ey, y);
    CCoordWnd::ViewToWorldEx(5.0, 6.0, 700, 800, std::cos(-a), std::sin(-a), 3.0, &ex, &ey);
    EXPECT_NEAR(ex, 17.0, 1e-12);
    EXPECT_NEAR(ey, -4.0, 1e-12);
}

TEST(GeomCoordWnd, ViewPointsTruncateTowardZero) {
    CCoordWnd c;
    int vx = 1, vy = 1;
    // Maps to the logical point (-0.7, 12.9).
    EXPECT_EQ(c.WorldToViewPoint(-15000.7, 14987.1, &vx, &vy), 0);
    EXPECT_EQ(vx, 0);
    EXPECT_EQ(vy, 12);
    // Far outside the int range: INT_MIN, as the 32-bit program got.
    c.WorldToViewPoint(1e12, -1e12, &vx, &vy);
    EXPECT_EQ(vx, INT_MIN);
    EXPECT_EQ(vy, INT_MIN);

    c.SetAngle(20.0);
    c.SetScale(0.5);
    double x, y, dx = 1234.0, dy = -567.0;
    EXPECT_EQ(c.ViewPointToWorld(1234, -567, &x, &y), 0);
    c.ViewToWorld(&dx, &dy);
    EXPECT_EQ(x, dx);
    EXPECT_EQ(y, dy);
    c.ViewPointToWorld(INT_MIN, INT_MIN, &x, &y);  // no overflow in the y turn
    EXPECT_TRUE(std::isfinite(x) && std::isfinite(y));
}

TEST(GeomCoordWnd, FitScale) {
    CCoordWnd c;
    // Equal x: the world width counts as 1.0.
    EXPECT_DOUBLE_EQ(c.FitScale({3, 0}, {3, 100}, {0, 0}, {500, 200}, false), 2.0 * 0.9);
    EXPECT_DOUBLE_EQ(c.GetScale(), 1.8);
    EXPECT_DOUBLE_EQ(c.FitScale({3, 0}, {3, 100}, {0, 0}, {500, 200}, true), 500.0);
    EXPECT_DOUBLE_EQ(c.FitScale({0, 0}, {1000, 400}, {600, 0}, {0, 300}, false), 0.6 * 0.9);
    EXPECT_DOUBLE_EQ(c.FitScale({0, 0}, {0.0009, 0.0009}, {0, 0}, {10, 20}, true), 20.0);
}
