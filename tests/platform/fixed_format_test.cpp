#include "platform/fixed_format.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace wv;

TEST(FixedRead, IntegerAndRealFieldsFollowFortranRules) {
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
}

TEST(FixedRead, BlanksIgnoredShortLinesPaddedTrailingTextIgnored) {
    int a = -1, b = -1;
    FixedReader r1(" 1 2 ");
    ASSERT_TRUE(r1.ReadInt(5, a));
    EXPECT_EQ(a, 12) << "blanks inside a field are ignored";
    FixedReader r2("  7");
    ASSERT_TRUE(r2.ReadInt(5, a));
    ASSERT_TRUE(r2.ReadInt(5, b));
    EXPECT_EQ(a, 7);
    EXPECT_EQ(b, 0) << "a field past the end of a short line reads as blank";
    FixedReader r3("    3 trailing words");
    ASSERT_TRUE(r3.ReadInt(5, a));
    EXPECT_EQ(a, 3);
    double d = -1;
    FixedReader r4("  12345   1.5E2  2.5d-1\r");
    ASSERT_TRUE(r4.ReadReal(7, d));
    EXPECT_EQ(d, 12345.0) << "digits without a point are a whole number";
    ASSERT_TRUE(r4.ReadReal(8, d));
    EXPECT_EQ(d, 150.0);
    ASSERT_TRUE(r4.ReadReal(8, d));
    EXPECT_EQ(d, 0.25);
}

TEST(FixedRead, NonNumbersAreRefused) {
    int i;
    double d;
    EXPECT_FALSE(FixedReader("  abc").ReadInt(5, i));
    EXPECT_FALSE(FixedReader("  1.5").ReadInt(5, i));
    EXPECT_FALSE(FixedReader("     1.2.3").ReadReal(10, d));
    EXPECT_FALSE(FixedReader("       inf").ReadReal(10, d));
    EXPECT_FALSE(FixedReader("       1e5x").ReadReal(11, d));
    EXPECT_FALSE(FixedReader("         -").ReadReal(10, d));
    EXPECT_FALSE(FixedReader("99999999999").ReadInt(11, i));
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
