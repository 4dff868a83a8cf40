#include "platform/fixed_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

using namespace wv;

namespace {
// Consecutive fields of the given widths, `real` picking Fw.0 over Iw; reading stops at
// the first refused field.
std::vector<double> Fields(const char* line, std::initializer_list<int> widths, bool real) {
    FixedReader r(line);
    std::vector<double> out;
    for (int w : widths) {
        int i = -1;
        double d = -1;
        if (!(real ? r.ReadReal(w, d) : r.ReadInt(w, i))) break;
        out.push_back(real ? d : i);
    }
    return out;
}
using Dv = std::vector<double>;
}  // namespace

TEST(FixedRead, FieldsFollowFortranRules) {
    FixedReader r("   45  1.5    20.0   -20.0");
    int nd = 0;
    double smax = 0, lo = 0, hi = 0;
    ASSERT_TRUE(r.ReadInt(5, nd));
    ASSERT_TRUE(r.ReadReal(5, smax));
    ASSERT_TRUE(r.ReadReal(8, lo));
    ASSERT_TRUE(r.ReadReal(8, hi));
    EXPECT_EQ(nd, 45);
    EXPECT_EQ(smax, 1.5);
    EXPECT_EQ(lo, 20.0);
    EXPECT_EQ(hi, -20.0);

    EXPECT_EQ(Fields(" 1 2 ", {5}, false), Dv{12}) << "blanks inside a field are ignored";
    EXPECT_EQ(Fields("  7", {5, 5}, false), (Dv{7, 0})) << "a field past the end of a short line reads as blank";
    EXPECT_EQ(Fields("    3 trailing words", {5}, false), Dv{3});
    // Digits without a point are a whole number; E and D exponents both read.
    EXPECT_EQ(Fields("  12345   1.5E2  2.5d-1\r", {7, 8, 8}, true), (Dv{12345.0, 150.0, 0.25}));
}

TEST(FixedRead, NonNumbersAreRefused) {
    EXPECT_TRUE(Fields("  abc", {5}, false).empty());
    EXPECT_TRUE(Fields("  1.5", {5}, false).empty());
    EXPECT_TRUE(Fields("99999999999", {11}, false).empty());
    for (const char* text : {"     1.2.3", "       inf", "         -"}) EXPECT_TRUE(Fields(text, {10}, true).empty()) << text;
    EXPECT_TRUE(Fields("       1e5x", {11}, true).empty());
}

TEST(FixedWrite, FieldsOfTheResultRecords) {
    EXPECT_EQ(FormatF(-99.0, 9, 4), " -99.0000");
    EXPECT_EQ(FormatF(1.8, 9, 4), "   1.8000");
    EXPECT_EQ(FormatF(0.5 * std::cos(0.5235983), 9, 4), "   0.4330");
    EXPECT_EQ(FormatF(0.5 * std::sin(0.5235983), 9, 4), "   0.2500");
    EXPECT_EQ(FormatF(150.0, 10, 3), "   150.000");
    EXPECT_EQ(FormatF(999999.9994, 10, 3), "999999.999");
    EXPECT_EQ(FormatF(1000000.0, 10, 3), "**********");
    EXPECT_EQ(FormatF(-0.5, 6, 4), "-.5000") << "the leading 0 goes when the width is short";
    EXPECT_EQ(FormatF(-0.5, 5, 4), "*****");
    EXPECT_EQ(FormatF(NAN, 9, 4), "*********");
    EXPECT_EQ(FormatF(INFINITY, 9, 4), "*********");
    EXPECT_EQ(FormatI(12, 5), "   12");
    EXPECT_EQ(FormatI(123456, 5), "*****");
    EXPECT_EQ(FormatI(-1234, 5), "-1234");
}

TEST(FixedWrite, ExponentFields) {
    EXPECT_EQ(FormatE(1230.0, 10, 3), " 0.123E+04");
    EXPECT_EQ(FormatE(-0.00123, 10, 3), "-0.123E-02");
    EXPECT_EQ(FormatE(0.0, 10, 3), " 0.000E+00");
    EXPECT_EQ(FormatE(0.9996, 10, 3), " 0.100E+01") << "rounding carries into the exponent";
    EXPECT_EQ(FormatE(1.0, 10, 3), " 0.100E+01");
    EXPECT_EQ(FormatE(1e150, 10, 3), " 0.100+151");
    EXPECT_EQ(FormatE(NAN, 10, 3), "**********");
}

// The digits of an F field are printf's "%.*f" in the C locale, ties and all, for the
// magnitudes and decimals the result files use and far beyond them.
TEST(FixedWrite, FieldDigitsArePrintfsRounding) {
    std::mt19937_64 rng(20261209);
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-12, 40);
    auto printfDigits = [](double v, int d) {
        char buf[512];
        std::snprintf(buf, sizeof buf, "%.*f", d, v);
        return std::string(buf);
    };
    std::vector<double> values = {0.0, -0.0, 0.5, -0.5, 0.0625, 2.5, -2.5, 0.00005, -0.00005, 1e-300, -1e-300,
                                  999999.9995, 1.7976931348623157e308, -4.9e-324, 12345.6785, 0.12345};
    for (int n = 0; n < 200000; ++n) values.push_back(std::ldexp(mantissa(rng), exponent(rng)));
    // Exact binary ties at every decimal count: k / 2^j.
    for (int j = 1; j <= 12; ++j)
        for (int k = -40; k <= 40; k += 3) values.push_back(std::ldexp(static_cast<double>(k), -j));
    for (double v : values)
        for (int d : {0, 1, 3, 4, 7}) {
            const std::string want = printfDigits(v, d);
            std::string got = FormatF(v, 400, d);
            got.erase(0, got.find_first_not_of(' '));
            ASSERT_EQ(got, want) << v << " with " << d << " decimals";
            std::string appended = "x";
            ASSERT_TRUE(AppendF(v, 400, d, appended));
            ASSERT_EQ(appended, "x" + FormatF(v, 400, d));
        }
    std::string untouched = "keep";
    EXPECT_FALSE(AppendF(1000000.0, 10, 3, untouched));
    EXPECT_FALSE(AppendF(NAN, 10, 3, untouched));
    EXPECT_EQ(untouched, "keep") << "a field that does not fit appends nothing";
    EXPECT_EQ(FormatF(-0.0004, 6, 3), "-0.000") << "a negative value rounded to zero keeps its sign";
    EXPECT_EQ(FormatF(-0.0004, 5, 3), "-.000");
    EXPECT_EQ(FormatF(0.4, 4, 3), ".400");
}
