#include "core/label_placement.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace wv;

namespace {
struct Label {
    double x, y, angle;
};
Label Screen(double x1, double y1, double x2, double y2, int n, double w, double h) {
    Label l{};
    GetLabelPosition(x1, y1, x2, y2, n, w, h, &l.x, &l.y, &l.angle);
    return l;
}
Label Sheet(double x1, double y1, double x2, double y2, double value, int mode, int count,
            double cw, double offset) {
    Label l{};
    EXPECT_EQ(CalcLabelPos(x1, y1, x2, y2, value, mode, count, cw, offset, &l.x, &l.y, &l.angle), 0);
    return l;
}
Label AtEnd(double x1, double y1, double x2, double y2, int atEnd, int count, double along,
            double across) {
    Label l{};
    EXPECT_EQ(CalcLabelOffset(x1, y1, x2, y2, atEnd, count, along, across, &l.x, &l.y, &l.angle), 0);
    return l;
}
constexpr double kTol = 1e-9;
}  // namespace

TEST(GeomLabelScreen, CentredShiftedTurnedAndDegenerate) {
    struct Case {
        const char* what;
        double x1, y1, x2, y2;
        int n;
        double w, h, x, y, angle;
    };
    const Case cases[] = {
        {"centred", 0, 0, 100, 0, 4, 10, 0, 30, 0, 0},
        {"above the segment on the screen", 0, 0, 100, 0, 4, 10, 5, 30, -5, 0},
        {"up the screen", 0, 0, 0, -100, 4, 10, 0, 0, -30, 90},
        {"text longer than the segment starts before P1", 0, 0, 10, 0, 4, 10, 0, -15, 0, 0},
        // A degenerate segment reads along +x, starting t/2 before P1.
        {"degenerate", 50, 50, 50, 50, 4, 10, 0, 30, 50, 0},
        {"degenerate, shifted", 50, 50, 50, 50, 4, 10, 5, 30, 45, 0},
        // 1e-10 is still no direction; just above it is.
        {"at the zero tolerance", 0, 0, 1e-10, -1e-10, 1, 1, 0, -0.5, 0, 0},
        {"just above the zero tolerance", 0, 0, 0, -2e-10, 1, 1, 0, 0, 0.5, 90},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Label l = Screen(c.x1, c.y1, c.x2, c.y2, c.n, c.w, c.h);
        EXPECT_NEAR(l.x, c.x, kTol);
        EXPECT_NEAR(l.y, c.y, kTol);
        if (c.angle == 0) EXPECT_EQ(l.angle, 0.0); else EXPECT_NEAR(l.angle, c.angle, kTol);
    }
}

TEST(GeomLabelSheet, WidthFromTheValueInModeOne) {
    // Centre offset u = (100 - n) / 2 for a character advance of 1.
    EXPECT_NEAR(Sheet(0, 0, 100, 0, 12.34, 1, 2, 1.0, 0).x, 47.0, kTol);   // n = 6
    EXPECT_NEAR(Sheet(0, 0, 100, 0, -12.34, 1, 2, 1.0, 0).x, 47.0, kTol);  // n = 6
    EXPECT_NEAR(Sheet(0, 0, 100, 0, 0.5, 1, 0, 1.0, 0).x, 49.0, kTol);     // n = 2
    EXPECT_NEAR(Sheet(0, 0, 100, 0, -0.5, 1, 0, 1.0, 0).x, 48.5, kTol);    // n = 3
    EXPECT_NEAR(Sheet(0, 0, 100, 0, 999.6, 1, -1, 1.0, 0).x, 48.5, kTol);  // n = -1 + (5 - 1) + 0
    EXPECT_NEAR(Sheet(0, 0, 100, 0, 12.34, 2, 5, 1.0, 0).x, 47.5, kTol);   // other modes: n = count
}

TEST(GeomLabelSheet, YUpOffsetIsToTheLeftAndTinySegmentsHaveNoDirection) {
    Label l = Sheet(0, 0, 100, 0, 0.0, 2, 4, 10, 1.5);
    EXPECT_NEAR(l.x, 30, kTol);
    EXPECT_NEAR(l.y, 1.5, kTol);
    EXPECT_NEAR(Sheet(0, 0, 0, 100, 0.0, 2, 4, 10, 0).angle, 90.0, kTol);
    EXPECT_EQ(Sheet(0, 0, 0.001, -0.001, 0.0, 2, 0, 1, 0).angle, 0.0);
    EXPECT_NEAR(Sheet(0, 0, 0, 0.002, 0.0, 2, 0, 1, 0).angle, 90.0, kTol);
}

TEST(GeomLabelSheet, OffsetLabelAtEitherEnd) {
    Label l = AtEnd(0, 0, 100, 0, 0, 3, 1.0, -1.0);
    EXPECT_NEAR(l.x, 1.0, kTol);
    EXPECT_NEAR(l.y, -1.0, kTol);
    l = AtEnd(0, 0, 100, 0, 1, 3, 1.0, -1.0);  // 4 x along back from p2
    EXPECT_NEAR(l.x, 96.0, kTol);
    EXPECT_NEAR(l.y, -1.0, kTol);
    l = AtEnd(10, 10, 10, 60, 1, 3, 2.0, 0.0);
    EXPECT_NEAR(l.x, 10.0, kTol);
    EXPECT_NEAR(l.y, 52.0, kTol);
    EXPECT_NEAR(l.angle, 90.0, kTol);
}

TEST(GeomLabel, ScreenAndSheetAreOneRuleMirroredInY) {
    for (double deg = 0; deg < 360; deg += 23) {
        const double r = deg * 3.141592653589793 / 180.0;
        const double x1 = 12, y1 = -7, x2 = x1 + 80 * std::cos(r), y2 = y1 + 80 * std::sin(r);
        const Label sheet = Sheet(x1, y1, x2, y2, 0.0, 2, 5, 3.0, 2.5);
        const Label screen = Screen(x1, -y1, x2, -y2, 5, 3.0, 2.5);
        EXPECT_NEAR(screen.x, sheet.x, 1e-9) << deg;
        EXPECT_NEAR(screen.y, -sheet.y, 1e-9) << deg;
        EXPECT_NEAR(screen.angle, sheet.angle, 1e-9) << deg;
    }
}
