// The march against physics: what must hold over uniform depth, on a plane beach, over
// straight parallel contours and over a symmetric shoal, with and without breaking.
#include "solver/solver_constants.h"
#include "solver_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace wv::solvtest {
namespace {

tools::CalCase MakeCase(int nx, int ny) {
    return {.breaking = 0, .nd = 45, .nf = 7, .nx = nx, .ny = ny, .dx = 10.0, .dy = 10.0, .period = 8.0, .height = 1.0};
}

// Energy of the offshore spectrum that the solver's constants give: 0.257 H^2 / 4.12
// and H = 4 sqrt(m0), i.e. H / H0 = 4 sqrt(0.257 / 4.12).
const double kOffshoreRatio = 4.0 * std::sqrt(0.257 / 4.12);

TEST(SolverUniformDepth, KeepsHeightPeriodAndDirectionForAnyRange) {
    struct Case {
        double theta0, below, above;
        int breaking;
    };
    for (const Case& c : {Case{0, 90, 90, 0}, Case{0, 90, 90, 1}, Case{10, 45, 45, 0}, Case{-15, 20, 60, 1},
                          Case{0, 10, 10, 0}, Case{25, 5, 5, 0}}) {
        tools::CalCase s = MakeCase(12, 9);
        s.theta0Deg = c.theta0;
        s.rangeBelowDeg = c.below;
        s.rangeAboveDeg = c.above;
        s.breaking = c.breaking;
        const MarchRun run = RunMarch(s, [](int, int) { return 12.0; });
        ASSERT_EQ(run.status, solv::ColumnStatus::Ok);
        const double dir0 = run.spectrum.meanDirection;
        for (const ColumnRows& col : run.columns) {
            for (int j = 0; j < s.ny; ++j) {
                // kOffshoreRatio is 0.9990: the height is kept to a tenth of a per cent.
                EXPECT_NEAR(col.height[j] / s.height, kOffshoreRatio, 1e-6) << c.theta0 << " " << c.below;
                EXPECT_NEAR(col.period[j] / s.period, 1.0, 1e-6);
                EXPECT_NEAR(col.direction[j], dir0, 1e-6);
            }
        }
    }
}

// Without the lateral mirror the rows 1 and NY lose energy to the outside, even over a
// uniform depth, and the height falls off towards both edges.
TEST(SolverUniformDepth, OpenLateralBoundaryLeaks) {
    tools::CalCase s = MakeCase(30, 21);
    s.lateralOption = 1;
    const MarchRun run = RunMarch(s, [](int, int) { return 12.0; });
    ASSERT_EQ(run.status, solv::ColumnStatus::Ok);
    const ColumnRows& last = run.columns.back();
    EXPECT_LT(last.height[10], 0.95 * kOffshoreRatio * s.height);
    for (int j = 0; j < 10; ++j) {
        EXPECT_LT(last.height[j], last.height[j + 1]);
        EXPECT_NEAR(last.height[j], last.height[20 - j], 1e-6);
    }
    EXPECT_LT(last.height[0], 0.95 * last.height[10]);
}

// Depth varying along x only: the x-flux sum of Cg cos(theta) E over bins and components
// is what the march carries from face to face, whatever the refraction does.
TEST(SolverPlaneBeach, EnergyFluxIsConservedWithoutBreaking) {
    tools::CalCase s = MakeCase(60, 5);
    s.theta0Deg = 25.0;
    s.nf = 4;
    auto depth = [](int i, int) { return 18.0 - 0.25 * (i - 1); };
    const MarchRun run = RunMarch(s, depth, 1, true);
    ASSERT_EQ(run.status, solv::ColumnStatus::Ok);
    const double dtheta = solv::kPi / s.nd;
    std::vector<double> flux;
    for (int i = 1; i <= s.nx; ++i) {
        // The east face of column i.
        const double hFace = i == s.nx ? depth(i, 1) : 0.5 * (depth(i, 1) + depth(i + 1, 1));
        double f = 0.0;
        for (int k = 0; k < s.nf; ++k) {
            const double cg = TheoryGroupVelocity(hFace, 1.0 / run.spectrum.freq[k]);
            for (int m = 1; m <= s.nd; ++m) {
                const double theta = (m - 0.5) * dtheta - solv::kHalfPlane;
                f += cg * std::cos(theta) * run.columns[i - 1].energy[(k * s.ny + 2) * s.nd + (m - 1)];
            }
        }
        flux.push_back(f);
    }
    for (double f : flux) EXPECT_NEAR(f / flux.front(), 1.0, 2e-4);
    // ... while the height itself changes noticeably (shoaling and refraction).
    EXPECT_GT(std::fabs(run.columns.back().height[2] / run.columns.front().height[2] - 1.0), 0.02);
}

// A narrow single-component sea of 10 s over a slope from 25 m to 2.9 m.
tools::CalCase NarrowSea(double theta0Deg) {
    tools::CalCase s = MakeCase(80, 5);
    s.nf = 1;
    s.smax = 400.0;
    s.period = 10.0;
    s.theta0Deg = theta0Deg;
    return s;
}
double SlopeDepth(int i, int) { return 25.0 - 0.28 * (i - 1); }

// Normal incidence: H grows as sqrt(Cg0 / Cg).
TEST(SolverPlaneBeach, ShoalingFollowsTheDispersionRelation) {
    const tools::CalCase s = NarrowSea(0.0);
    auto depth = SlopeDepth;
    const MarchRun run = RunMarch(s, depth);
    ASSERT_EQ(run.status, solv::ColumnStatus::Ok);
    const double T = 1.0 / run.spectrum.freq[0];
    const double cg0 = TheoryGroupVelocity(depth(1, 1), T);
    double maxRatio = 0.0;
    for (int i = 1; i <= s.nx; ++i) {
        const double expected = std::sqrt(cg0 / TheoryGroupVelocity(depth(i, 1), T));
        const double got = run.columns[i - 1].height[2] / run.columns[0].height[2];
        EXPECT_NEAR(got, expected, 0.015 * expected) << i;
        maxRatio = std::max(maxRatio, got);
    }
    EXPECT_GT(maxRatio, 1.15);
}

// Straight parallel contours: the mean direction follows sin(theta) / c = const. The
// first-order upwinding in direction lags a little behind the rays.
TEST(SolverPlaneBeach, RefractionFollowsSnellsLaw) {
    tools::CalCase s = NarrowSea(35.0);
    s.rangeBelowDeg = s.rangeAboveDeg = 30.0;
    auto depth = SlopeDepth;
    const MarchRun run = RunMarch(s, depth);
    ASSERT_EQ(run.status, solv::ColumnStatus::Ok);
    const double T = 1.0 / run.spectrum.freq[0];
    const double c0 = TheoryWavelength(depth(1, 1), T) / T;
    const double theta0 = run.columns[0].direction[2];
    double turned = 0.0;
    for (int i = 1; i <= s.nx; ++i) {
        const double c = TheoryWavelength(depth(i, 1), T) / T;
        const double snell = std::asin(std::sin(theta0) * c / c0);
        const double got = run.columns[i - 1].direction[2];
        EXPECT_NEAR(got, snell, 0.06 * (theta0 - snell) + 1e-3) << i;
        turned = theta0 - got;
    }
    EXPECT_GT(turned * 180 / M_PI, 10.0);
}

// A shoal on the centre line and waves along it: the field is its own mirror image.
TEST(SolverShoal, MirrorSymmetry) {
    for (int nd : {44, 45}) {
        tools::CalCase s = MakeCase(50, 31);
        s.nd = nd;
        s.nf = 3;
        auto depth = [](int i, int j) {
            const double x = (i - 20) * 10.0, y = (j - 16) * 10.0;
            return 15.0 - 9.0 * std::exp(-(x * x + y * y) / (2 * 60.0 * 60.0));
        };
        const MarchRun run = RunMarch(s, depth);
        ASSERT_EQ(run.status, solv::ColumnStatus::Ok);
        double focus = 0.0;
        for (const ColumnRows& col : run.columns) {
            for (int j = 0; j < s.ny; ++j) {
                EXPECT_NEAR(col.height[j], col.height[s.ny - 1 - j], 1e-5);
                EXPECT_NEAR(col.direction[j], -col.direction[s.ny - 1 - j], 1e-6);
            }
            focus = std::max(focus, col.height[15] / col.height[0]);
        }
        EXPECT_GT(focus, 1.1);  // the shoal focuses the waves behind it
    }
}

// Goda's breaker height with coefficient 0.17 on the beach slope.
double GodaBreakerHeight(double h, double T, double slope) {
    const double l0 = 1.56 * T * T;
    return 0.17 * l0 * (1.0 - std::exp(-1.5 * M_PI * h / l0 * (1.0 + 15.0 * std::pow(slope, 4.0 / 3.0))));
}

TEST(SolverPlaneBeach, BreakingCapsHeightNearGodasBreakerHeight) {
    tools::CalCase s = MakeCase(95, 5);
    s.height = 2.5;
    s.period = 9.0;
    s.breaking = 1;
    const double slope = 0.02;
    auto depth = [&](int i, int) { return 20.0 - slope * 10.0 * (i - 1); };  // 20 m to 1.2 m
    const MarchRun broken = RunMarch(s, depth);
    s.breaking = 0;
    const MarchRun unbroken = RunMarch(s, depth);
    ASSERT_EQ(broken.status, solv::ColumnStatus::Ok);
    ASSERT_EQ(unbroken.status, solv::ColumnStatus::Ok);
    int surf = 0;
    for (int i = 1; i <= s.nx; ++i) {
        const double h = depth(i, 1);
        const double hb = GodaBreakerHeight(h, s.period, slope);
        const double got = broken.columns[i - 1].height[2];
        const double free = unbroken.columns[i - 1].height[2];
        EXPECT_LE(got, free * (1 + 1e-9));
        if (h > 10.0) {  // far outside the surf zone
            EXPECT_NEAR(got, free, 1e-3 * free) << "depth " << h;
        }
        // The last column sees half the slope (its east face repeats its own depth).
        if (i == s.nx) continue;
        if (free > hb) {
            EXPECT_LE(got, 1.1 * hb) << "depth " << h;
        }
        if (h < 2.5) {
            ++surf;
            // In the inner surf zone the significant height rides on the breaker height.
            EXPECT_NEAR(got / hb, 1.0, 0.1) << "depth " << h;
            EXPECT_LT(got, 0.7 * free);
        }
        // The maximum height is the breaker height, never above 1.8 H.
        EXPECT_LE(broken.columns[i - 1].breakHeight[2], 1.8 * got + 1e-12);
    }
    EXPECT_GT(surf, 5);
}

// A flat of a hundredth of a millimetre under waves of a metre: the breaking shares of
// the Rayleigh distribution both vanish in double precision, and their ratio used to be
// 0/0.
TEST(SolverPlaneBeach, BreakingOnAVanishingDepthStaysFinite) {
    tools::CalCase s = MakeCase(6, 5);
    s.breaking = 1;
    s.height = 1.0;
    const MarchRun run = RunMarch(s, [](int, int) { return 1e-5; });
    ASSERT_EQ(run.status, solv::ColumnStatus::Ok);
    for (const ColumnRows& col : run.columns)
        for (int j = 0; j < s.ny; ++j) {
            ASSERT_TRUE(std::isfinite(col.height[j]));
            ASSERT_TRUE(std::isfinite(col.breakHeight[j]));
        }
}

// Where the depth falls inwards along a mesh edge the mirrored outside row used to feed
// the edge row's grazing bins more than they pass on, and the height grew without bound.
TEST(SolverLateralBoundary, DepthFallingInwardsStaysBounded) {
    for (double fall : {0.01, 0.2}) {
        tools::CalCase s = MakeCase(400, 24);
        s.nf = 3;
        auto depth = [&](int, int j) { return std::max(3.0, 20.0 - fall * 10.0 * (j - 1)); };
        const MarchRun run = RunMarch(s, depth, 4);
        ASSERT_EQ(run.status, solv::ColumnStatus::Ok);
        double top = 0.0;
        for (const ColumnRows& col : run.columns)
            for (double h : col.height) top = std::max(top, h);
        // The x-flux of the incident waves caps the height of a trapped sea at about
        // sqrt(ny Cg0 / (Cg cos(88 deg)))... far below the thousands it used to reach.
        EXPECT_LT(top / s.height, 5.0) << fall;
        EXPECT_TRUE(std::isfinite(top));
    }
}

}  // namespace
}  // namespace wv::solvtest
