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

TEST(CalcGridInterp, DryCrossingGivesOneSidedValueOnlyWhileNoBracket) {
    // Between a dry line (99.0) and a wet crossing: the wet height alone.
    Sums s = Apply({0.0, 10.0}, {-4.0, 99.0}, 3.0, 1.0);
    EXPECT_EQ(s.sum, -4.0);
    EXPECT_EQ(s.n, 1);
    // Once a bracket exists, one-sided values are ignored.
    Sums b{7.0, 0.5, 0};
    b = Apply({0.0, 10.0}, {-4.0, 99.0}, 3.0, 1.0, b);
    EXPECT_EQ(b.sum, 7.0);
    EXPECT_EQ(b.n, 0);
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

TEST(CalcGridInterp, InnerCrossingAtTheNodeIsAnExactHit) {
    Sums s{5.0, 2.0, 0};
    s = Apply({0.0, 5.0, 10.0}, {-1.0, -7.0, -3.0}, 5.0, 0.0, s);
    EXPECT_EQ(s.n, -1);
    EXPECT_EQ(s.sum, -7.0);
}

TEST(CalcGridInterp, CrossingAtEitherEndIsOneSidedNotAHit) {
    Sums first = Apply({0.0, 5.0}, {-1.0, -7.0}, 0.0, 0.0);
    EXPECT_EQ(first.n, 1);
    EXPECT_EQ(first.sum, -1.0);
    Sums last = Apply({0.0, 5.0}, {-1.0, -7.0}, 5.0, 0.0);
    EXPECT_EQ(last.n, 1);
    EXPECT_EQ(last.sum, -7.0);
    // A one-sided value above the tide level is not used.
    Sums dry = Apply({0.0, 5.0}, {2.0, -7.0}, -1.0, 0.5);
    EXPECT_EQ(dry.n, 0);
}

TEST(CalcGridInterp, CombSortOrdersTheIndexAndLeavesTheKeys) {
    const double keys[] = {3.0, 1.0, 2.0};
    int index[] = {0, 1, 2};
    SortCrossingIndex(3, keys, index);
    EXPECT_EQ(index[0], 1);
    EXPECT_EQ(index[1], 2);
    EXPECT_EQ(index[2], 0);
    int index2[] = {0, 1, 2};
    CombSortIndexByValue(keys, 99, index2, 3);
    EXPECT_EQ(std::memcmp(index, index2, sizeof index), 0);
    EXPECT_EQ(keys[0], 3.0);
}

TEST(CalcGridInterp, KeysWithinToleranceAreNotSwapped) {
    const double keys[] = {1.0 + 5e-11, 1.0};
    int index[] = {0, 1};
    SortCrossingIndex(2, keys, index);
    EXPECT_EQ(index[0], 0);
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
        const int k = count(rng);
        std::vector<double> p(k), v(k);
        for (int i = 0; i < k; ++i) {
            p[i] = slot(rng) * 1.5 + (coin(rng) == 0 ? jitter(rng) : 0.0);
            v[i] = coin(rng) == 0 ? 99.0 : height(rng);
        }
        SortedCrossings sorted;
        sorted.Assign(k, p.data(), v.data());
        for (int q = 0; q < 6; ++q) {
            const double x = coin(rng) < 3 ? slot(rng) * 1.5 + (coin(rng) == 0 ? jitter(rng) : 0.0)
                                           : std::uniform_real_distribution<double>(-2.0, 14.0)(rng);
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
