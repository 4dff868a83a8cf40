#include "calc/grid_interp.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace wv {
namespace {

struct Sums {
    double sum = 0.0;
    double w = 0.0;
    int n = 0;
};

Sums Apply(const std::vector<double>& p, const std::vector<double>& v, double x, double L, Sums s = {}) {
    s.sum = InterpolateNodeOnLine(static_cast<int>(p.size()), p.data(), v.data(), x, s.sum, &s.w, &s.n, L);
    return s;
}

TEST(CalcGridInterp, LineWithoutCrossingsLeavesTheSums) {
    Sums s{3.0, 0.5, 2};
    s = Apply({}, {}, 4.0, 0.0, s);
    EXPECT_EQ(s.sum, 3.0);
    EXPECT_EQ(s.w, 0.5);
    EXPECT_EQ(s.n, 2);
}

TEST(CalcGridInterp, BracketInterpolatesLinearlyWithInverseDistanceWeight) {
    // Crossings in the order found, not sorted.
    const Sums s = Apply({10.0, 0.0}, {-6.0, -2.0}, 2.5, 0.0);
    EXPECT_DOUBLE_EQ(s.w, 1.0 / 2.5);
    EXPECT_DOUBLE_EQ(s.sum / s.w, -3.0);
    EXPECT_EQ(s.n, 0);
}

TEST(CalcGridInterp, FirstBracketDropsOneSidedValues) {
    Sums s{-9.0, 0.0, 1};  // an earlier line gave a one-sided -9
    s = Apply({0.0, 4.0}, {-2.0, -6.0}, 1.0, 0.0, s);
    EXPECT_DOUBLE_EQ(s.w, 1.0);
    EXPECT_DOUBLE_EQ(s.sum, -3.0);  // the one-sided value is gone
    EXPECT_EQ(s.n, 1);              // the count is left; the caller prefers the weights
}

TEST(CalcGridInterp, TwoBracketsWeighOneAndAQuarter) {
    Sums s;
    s = Apply({-1.0, 3.0}, {-1.0, -5.0}, 0.0, 0.0, s);  // nearer crossing 1.0 away: -2
    s = Apply({-4.0, 6.0}, {-4.0, -14.0}, 0.0, 0.0, s);  // nearer crossing 4.0 away: -8
    EXPECT_DOUBLE_EQ(s.w, 1.25);
    EXPECT_DOUBLE_EQ(s.sum, -2.0 * 1.0 + -8.0 * 0.25);
}

// Values that are not brackets: one-sided values, exact hits, and crossings above the
// tide level.
TEST(CalcGridInterp, OneSidedValuesAndExactHits) {
    struct Case {
        const char* what;
        std::vector<double> p, v;
        double x, L;
        Sums in;
        double sum;
        int n;
    } cases[] = {
        {"between a dry line (99.0) and a wet crossing: the wet height alone", {0.0, 10.0}, {-4.0, 99.0}, 3.0, 1.0,
         {}, -4.0, 1},
        {"once a bracket exists, one-sided values are ignored", {0.0, 10.0}, {-4.0, 99.0}, 3.0, 1.0, {7.0, 0.5, 0},
         7.0, 0},
        {"inner crossing at the node: an exact hit", {0.0, 5.0, 10.0}, {-1.0, -7.0, -3.0}, 5.0, 0.0, {5.0, 2.0, 0},
         -7.0, -1},
        {"first crossing at the node: one-sided, not a hit", {0.0, 5.0}, {-1.0, -7.0}, 0.0, 0.0, {}, -1.0, 1},
        {"last crossing at the node: one-sided, not a hit", {0.0, 5.0}, {-1.0, -7.0}, 5.0, 0.0, {}, -7.0, 1},
        {"a one-sided value above the tide level is not used", {0.0, 5.0}, {2.0, -7.0}, -1.0, 0.5, {}, 0.0, 0},
    };
    for (const Case& c : cases) {
        const Sums s = Apply(c.p, c.v, c.x, c.L, c.in);
        EXPECT_EQ(s.sum, c.sum) << c.what;
        EXPECT_EQ(s.n, c.n) << c.what;
    }
}

// Far from the view origin (2^20 and beyond) a tolerance of 1e-10 is below half a unit
// in the last place: p + 1e-10 == p, so a node exactly on the first crossing is neither
// "before" nor "after" it. It must still be an exact hit, both with one crossing (where
// a search from the second crossing runs off the end) and with more (where it brackets
// with zero distance to the node). Both methods give the same.
TEST(CalcGridInterp, NodeOnTheFirstCrossingFarFromTheOrigin) {
    const double far = 1065000.0;
    ASSERT_EQ(far + 1e-10, far);
    struct Case {
        const char* what;
        std::vector<double> p, v;
        double x;
        double sum;
        int n;
    } cases[] = {
        {"one crossing, node on it", {far}, {-3.0}, far, -3.0, -1},
        {"two crossings, node on the first", {far + 10.0, far}, {-5.0, -3.0}, far, -3.0, -1},
        {"three crossings, node on the first", {far + 10.0, far, far + 20.0}, {-5.0, -3.0, -4.0}, far, -3.0, -1},
        {"first two at the same place, node on them", {far, far + 10.0, far}, {-3.0, -5.0, -3.0}, far, -3.0, -1},
    };
    for (const Case& c : cases) {
        const int k = static_cast<int>(c.p.size());
        Sums s{7.0, 0.0, 1};
        s.sum = InterpolateNodeOnLine(k, c.p.data(), c.v.data(), c.x, s.sum, &s.w, &s.n, 0.0);
        EXPECT_EQ(s.sum, c.sum) << c.what;
        EXPECT_EQ(s.n, c.n) << c.what;
        EXPECT_EQ(s.w, 0.0) << c.what;

        SortedCrossings sorted;
        sorted.Assign(k, c.p.data(), c.v.data());
        Sums f{7.0, 0.0, 1};
        f.sum = sorted.Interpolate(c.x, f.sum, &f.w, &f.n, 0.0);
        EXPECT_EQ(f.sum, c.sum) << c.what << " (sorted once)";
        EXPECT_EQ(f.n, c.n) << c.what << " (sorted once)";
        EXPECT_EQ(f.w, 0.0) << c.what << " (sorted once)";
    }
}

// A node just past the first crossing by the rounded tolerance itself: p0 + 1e-10 == x
// while x - p0 is not below 1e-10. It is not a hit; it lies between the first two
// crossings, a bracket of non-zero width.
TEST(CalcGridInterp, NodeOneToleranceAfterTheFirstCrossingBrackets) {
    for (double p0 : {1.0, 3.0, 1000.0, 12345.678}) {
        const double x = p0 + 1e-10;
        if (!(x - p0 >= 1e-10)) continue;  // the rounding made it a hit: another case
        const std::vector<double> p{p0 + 4.0, p0};
        const std::vector<double> v{-8.0, -4.0};
        Sums s = Apply(p, v, x, 0.0);
        EXPECT_EQ(s.n, 0) << p0;
        EXPECT_GT(s.w, 0.0) << p0;
        EXPECT_NEAR(s.sum / s.w, -4.0, 1e-6) << p0;
        SortedCrossings sorted;
        sorted.Assign(2, p.data(), v.data());
        Sums f;
        f.sum = sorted.Interpolate(x, f.sum, &f.w, &f.n, 0.0);
        EXPECT_EQ(std::memcmp(&s.sum, &f.sum, sizeof s.sum), 0) << p0;
        EXPECT_EQ(std::memcmp(&s.w, &f.w, sizeof s.w), 0) << p0;
    }
}

TEST(CalcGridInterp, CombSortOrdersTheIndexAndLeavesTheKeys) {
    const double keys[] = {3.0, 1.0, 2.0};
    int index[] = {0, 1, 2};
    SortCrossingIndex(3, keys, index);
    EXPECT_EQ(std::vector<int>(index, index + 3), (std::vector<int>{1, 2, 0}));
    int index2[] = {0, 1, 2};
    CombSortIndexByValue(keys, 99, index2, 3);
    EXPECT_EQ(std::memcmp(index, index2, sizeof index), 0);
    EXPECT_EQ(keys[0], 3.0);
    // Keys within the tolerance are not swapped.
    const double close[] = {1.0 + 5e-11, 1.0};
    int closeIndex[] = {0, 1};
    SortCrossingIndex(2, close, closeIndex);
    EXPECT_EQ(closeIndex[0], 0);
}

// The sort-once line must give exactly what the per-node sort gives, also with
// crossings that coincide within the sort's tolerance, dry crossings and every state
// of the running sums.
TEST(CalcGridInterp, SortedLineMatchesPerNodeSortBitForBit) {
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> count(0, 12);
    std::uniform_int_distribution<int> slot(0, 8);
    std::uniform_real_distribution<double> jitter(-2e-10, 2e-10);
    std::uniform_real_distribution<double> height(-20.0, 5.0);
    std::uniform_int_distribution<int> coin(0, 5);
    for (int trial = 0; trial < 20000; ++trial) {
        // Every other trial far from the view origin, where the tolerance is below the
        // positions' resolution.
        const double base = trial % 2 ? 1065000.0 : 0.0;
        const int k = count(rng);
        std::vector<double> p(k), v(k);
        for (int i = 0; i < k; ++i) {
            p[i] = base + slot(rng) * 1.5 + (coin(rng) == 0 ? jitter(rng) : 0.0);
            v[i] = coin(rng) == 0 ? 99.0 : height(rng);
        }
        SortedCrossings sorted;
        sorted.Assign(k, p.data(), v.data());
        for (int q = 0; q < 6; ++q) {
            const double x = base + (coin(rng) < 3 ? slot(rng) * 1.5 + (coin(rng) == 0 ? jitter(rng) : 0.0)
                                                   : std::uniform_real_distribution<double>(-2.0, 14.0)(rng));
            const double L = coin(rng) == 0 ? -3.0 : 0.5;
            const double sum0 = coin(rng) < 2 ? 0.0 : height(rng);
            const double w0 = coin(rng) < 3 ? 0.0 : 0.7;
            const int n0 = coin(rng) < 3 ? 0 : 2;
            double w1 = w0, w2 = w0;
            int n1 = n0, n2 = n0;
            const double s1 = InterpolateNodeOnLine(k, p.data(), v.data(), x, sum0, &w1, &n1, L);
            const double s2 = sorted.Interpolate(x, sum0, &w2, &n2, L);
            ASSERT_EQ(std::memcmp(&s1, &s2, sizeof s1), 0) << "trial " << trial;
            ASSERT_EQ(std::memcmp(&w1, &w2, sizeof w1), 0) << "trial " << trial;
            ASSERT_EQ(n1, n2) << "trial " << trial;
        }
    }
}

}  // namespace
}  // namespace wv
