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
