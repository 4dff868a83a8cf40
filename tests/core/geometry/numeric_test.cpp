#include "core/geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

using namespace wv;

TEST(GeomStrip, NewlinesBecomeTerminatorsAndTheLastByteIsZero) {
    char buf[8] = {'a', 'b', '\n', 'c', 'd', '\n', 'e', 'f'};
    StripNewlines(buf, sizeof buf);
    EXPECT_STREQ(buf, "ab");
    EXPECT_EQ(buf[3], 'c');
    EXPECT_EQ(buf[5], '\0');
    EXPECT_EQ(buf[7], '\0');

    char shortSize[] = "abc\ndef";
    StripNewlines(shortSize, 3);  // only the first three bytes are looked at
    EXPECT_STREQ(shortSize, "ab");
    EXPECT_EQ(shortSize[3], '\n');

    char untouched[] = "x\n";
    StripNewlines(untouched, 0);
    EXPECT_STREQ(untouched, "x\n");
}

namespace {
struct Parsed {
    int count;
    std::vector<double> d;
    std::vector<int> i;
};
Parsed Parse(const char* line, int capacity = 16) {
    Parsed p{0, std::vector<double>(capacity + 2, -777.0), std::vector<int>(capacity + 2, -777)};
    p.count = ParseNumberLine(line, p.d.data(), p.i.data(), capacity);
    return p;
}
}  // namespace

TEST(GeomParse, SeparatorsSignsAndDecimals) {
    Parsed p = Parse("1,,2");
    ASSERT_EQ(p.count, 2);
    EXPECT_EQ(p.d[0], 1.0);
    EXPECT_EQ(p.d[1], 2.0);
    EXPECT_EQ(p.d[2], 0.0);  // the slot after the last value is cleared

    p = Parse("12-3");
    ASSERT_EQ(p.count, 1);
    EXPECT_EQ(p.d[0], -123.0);
    EXPECT_EQ(p.i[0], -123);

    p = Parse("3.5 , -0.25\r\n");
    ASSERT_EQ(p.count, 2);
    EXPECT_DOUBLE_EQ(p.d[0], 3.5);
    EXPECT_DOUBLE_EQ(p.d[1], -0.25);
    EXPECT_EQ(p.i[0], 3);
    EXPECT_EQ(p.i[1], 0);

    // A minus sign or a point standing alone carries over to the next number.
    p = Parse("- 5 . 25");
    ASSERT_EQ(p.count, 2);
    EXPECT_EQ(p.d[0], -5.0);
    EXPECT_DOUBLE_EQ(p.d[1], 0.25);

    // Other characters are skipped without separating; CR and LF do not separate either.
    p = Parse("a1b2e3 1.2.3 4\r\n5");
    ASSERT_EQ(p.count, 3);
    EXPECT_EQ(p.d[0], 123.0);
    EXPECT_DOUBLE_EQ(p.d[1], 1.5);
    EXPECT_EQ(p.d[2], 45.0);

    EXPECT_EQ(Parse("").count, -1);
    EXPECT_EQ(ParseNumberLine(nullptr, nullptr, nullptr, 0), -1);
    EXPECT_EQ(Parse(" , \r\n").count, 0);
}

TEST(GeomParse, NeverWritesMoreThanTheArraysHoldNorIntoTheLine) {
    Parsed p = Parse("1 2 3 4 5", 3);
    EXPECT_EQ(p.count, 3);
    EXPECT_EQ(p.d[2], 3.0);
    EXPECT_EQ(p.d[3], -777.0);
    EXPECT_EQ(p.i[3], -777);

    // Exactly full: no room for the cleared slot, so none is written.
    p = Parse("1 2 3", 3);
    EXPECT_EQ(p.count, 3);
    EXPECT_EQ(p.d[3], -777.0);

    p = Parse("1 2 3", 0);
    EXPECT_EQ(p.count, 0);
    EXPECT_EQ(p.d[0], -777.0);

    std::string buffer("7 8");
    buffer.push_back('\0');
    buffer += "XYZ";
    const std::string before = buffer;
    double d[4];
    int i[4];
    EXPECT_EQ(ParseNumberLine(buffer.data(), d, i, 4), 2);
    EXPECT_EQ(buffer, before);
}

TEST(GeomParse, IntegerOutOfRangeIsIntMin) {
    Parsed p = Parse("99999999999 -3000000000 2147483647 -2147483648");
    ASSERT_EQ(p.count, 4);
    EXPECT_EQ(p.d[0], 99999999999.0);
    EXPECT_EQ(p.i[0], INT_MIN);
    EXPECT_EQ(p.i[1], INT_MIN);
    EXPECT_EQ(p.i[2], INT_MAX);
    EXPECT_EQ(p.i[3], INT_MIN);
}

TEST(GeomRound, HalfAwayFromZeroWithTheRelativeGuard) {
    // value, decimals, rounded; the last four are genuine values below the half, which
    // the guard must not push over it.
    const double cases[][3] = {
        {-2.5, 0, -3.0},       {2.5, 0, 3.0},     {0.0, 3, 0.0},     {1.005, 2, 1.01},
        {-1.005, 2, -1.01},    {2.675, 2, 2.68},  {1.2345, 3, 1.235}, {0.0005, 3, 0.001},
        {-45678.1235, 3, -45678.124}, {2.6749, 2, 2.67}, {0.0004, 3, 0.0}, {12.3449999, 2, 12.34},
        {7.0, 1, 7.0}};
    for (const auto& c : cases) EXPECT_EQ(RoundDecimal(c[0], c[1]), c[2]) << c[0] << " to " << c[1];
}

TEST(GeomRound, NonFiniteValuesPassThrough) {
    // Infinity, NaN and a value whose scaling overflows have no digits to round.
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(RoundDecimal(inf, 3), inf);
    EXPECT_EQ(RoundDecimal(-inf, 1), -inf);
    EXPECT_TRUE(std::isnan(RoundDecimal(std::nan(""), 3)));
    EXPECT_EQ(RoundDecimal(1.5e308, 3), 1.5e308);
}

TEST(GeomPairs, CombSortOrdersAndDropsRepeats) {
    int a[] = {3, 1, 3, 1};
    int b[] = {1, 2, 1, 1};
    int n = 4;
    CombSortPairs(a, b, &n);
    ASSERT_EQ(n, 3);
    const std::vector<std::pair<int, int>> sorted = {{a[0], b[0]}, {a[1], b[1]}, {a[2], b[2]}};
    EXPECT_EQ(sorted, (std::vector<std::pair<int, int>>{{1, 1}, {1, 2}, {3, 1}}));

    int one = 1, a1[] = {5}, b1[] = {6};
    CombSortPairs(a1, b1, &one);
    EXPECT_EQ(one, 1);
    EXPECT_EQ(a1[0], 5);
}

TEST(GeomPairs, SortAndSearchAgreeWithTheStandardLibrary) {
    std::mt19937 rng(7);
    for (int size : {2, 13, 14, 15, 40, 257}) {  // 13-15 meet the 9 and 10 gaps
        std::vector<int> a(size), b(size);
        std::vector<std::pair<int, int>> ref;
        for (int k = 0; k < size; ++k) {
            a[k] = static_cast<int>(rng() % 12) - 3;
            b[k] = static_cast<int>(rng() % 5);
            ref.emplace_back(a[k], b[k]);
        }
        std::sort(ref.begin(), ref.end());
        ref.erase(std::unique(ref.begin(), ref.end()), ref.end());

        int n = size;
        CombSortPairs(a.data(), b.data(), &n);
        ASSERT_EQ(n, static_cast<int>(ref.size())) << size;
        for (int k = 0; k < n; ++k) {
            EXPECT_EQ(std::make_pair(a[k], b[k]), ref[k]) << size << " @" << k;
            EXPECT_EQ(FindPair(ref[k].first, ref[k].second, a.data(), b.data(), n), k);
        }
    }
}

TEST(GeomPairs, FindPairEdges) {
    const int a[] = {4}, b[] = {2};
    EXPECT_EQ(FindPair(4, 2, a, b, 1), 0);
    EXPECT_EQ(FindPair(9, 9, a, b, 1), 0);  // absent: the last probe
    EXPECT_EQ(FindPair(4, 2, a, b, 0), -1);
    const int a2[] = {1, 1, 2, 5}, b2[] = {0, 3, 1, 1};
    const int probe = FindPair(3, 0, a2, b2, 4);  // absent pairs still end inside the arrays
    EXPECT_GE(probe, 0);
    EXPECT_LT(probe, 4);
}
