// Record layouts of the result, status and timing files against golden lines written
// by hand (tests/data/solver/make_golden.sh), and the .CAL reader on hand-written input.
#include "platform/files.h"
#include "solver/cal_input.h"
#include "solver/result_files.h"
#include "solver/solver_constants.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace wv::solv {
namespace {

std::string Golden(const std::string& name) {
    std::string text, err;
    EXPECT_TRUE(ReadWholeFile(std::string(WAVORA_TEST_DATA) + "/solver/" + name, text, &err)) << err;
    return text;
}

std::string FileText(const std::string& path) {
    std::string text, err;
    EXPECT_TRUE(ReadWholeFile(path, text, &err)) << err;
    return text;
}

TEST(SolverResultFile, RecordsMatchGoldenLines) {
    std::string out;
    NodeRecord a;
    a.x = (3 - 1) * 10.0 + 100.0;
    a.y = (2 - 1) * 20.0 - 50.0;
    a.depth = 5.5;
    a.heightRatio = 0.5;
    a.refraction = -99.0;
    a.maxHeightRatio = 0.9;
    a.periodRatio = 1.0;
    const double theta = 0.5235983;
    a.directionDeg = theta / kPi * 180.0;
    a.vectorX = 0.5 * std::cos(theta);
    a.vectorY = 0.5 * std::sin(theta);
    ASSERT_TRUE(AppendResultRecord(a, out));
    NodeRecord land;
    land.depth = -9999.0;
    land.refraction = -99.0;
    ASSERT_TRUE(AppendResultRecord(land, out));
    NodeRecord c;
    c.x = 999999.999;
    c.y = 0.25;
    c.depth = 12.345;
    c.heightRatio = 1.23456;
    c.refraction = 0.87654;
    c.maxHeightRatio = 1.79994;
    c.periodRatio = 0.98761;
    c.directionDeg = -45.12346;
    c.vectorX = 0.87213;
    c.vectorY = -0.00004;
    ASSERT_TRUE(AppendResultRecord(c, out));
    EXPECT_EQ(out, Golden("kka_records.golden"));
}

// Asterisks never reach the result file: a value that is not finite or too wide for its
// field refuses the whole record.
TEST(SolverResultFile, RefusesValuesThatDoNotFit) {
    for (int field = 0; field < 4; ++field) {
        NodeRecord r;
        switch (field) {
        case 0: r.x = 1000000.0; break;
        case 1: r.heightRatio = 10000.0; break;
        case 2: r.directionDeg = std::nan(""); break;
        case 3: r.vectorY = -HUGE_VAL; break;
        }
        std::string out = "kept";
        EXPECT_FALSE(AppendResultRecord(r, out)) << field;
        EXPECT_EQ(out, "kept");
    }
    std::string out;
    EXPECT_FALSE(AppendDumpRecord(1, 1, std::nan(""), 0.0, 0.0, out));
    EXPECT_FALSE(AppendDumpRecord(100000, 1, 0.0, 0.0, 0.0, out));
    EXPECT_TRUE(out.empty());
}

TEST(SolverResultFile, DumpRecordMatchesGolden) {
    std::string out;
    ASSERT_TRUE(AppendDumpRecord(7, 12, 1230.0, -0.00123, 0.0, out));
    EXPECT_EQ(out, Golden("dump_record.golden"));
}

TEST(SolverStatusFiles, BusyIdleAndTimingMatchGolden) {
    const std::string busy = "busy_CALC.DAT";
    ASSERT_TRUE(WriteBusyFlag(busy, "BAY"));
    EXPECT_EQ(FileText(busy), Golden("calc_busy.golden"));
    ASSERT_TRUE(WriteBusyFlag(busy, ""));
    EXPECT_EQ(FileText(busy), Golden("calc_busy_empty_title.golden"));
    // The idle form replaces the longer busy form entirely.
    ASSERT_TRUE(WriteIdleFlag(busy));
    EXPECT_EQ(FileText(busy), Golden("calc_idle.golden"));

    std::tm start{};
    start.tm_mday = 5;
    start.tm_mon = 2;
    start.tm_year = 107;
    start.tm_hour = 9;
    start.tm_min = 4;
    start.tm_sec = 5;
    std::tm end{};
    end.tm_mday = 31;
    end.tm_mon = 11;
    end.tm_year = 100;
    end.tm_hour = 23;
    end.tm_min = 59;
    end.tm_sec = 59;
    ASSERT_TRUE(WriteTimingFile("TIME.TMP", start, end));
    EXPECT_EQ(FileText("TIME.TMP"), Golden("time_tmp.golden"));
    for (int mon = 0; mon < 12; ++mon) {
        std::tm t{};
        t.tm_mday = 1;
        t.tm_mon = mon;
        t.tm_year = 124;
        EXPECT_EQ(DateText(t).size(), 9u);
    }
}

// A hand-written input: blanks inside fields, whole numbers without a point, an
// exponent, short lines, characters after the last field.
TEST(SolverCalInput, ReadsFixedColumns) {
    const std::string text =
        "    0\r\n"
        "    1\r\n"
        "    0\n"
        "    1  trailing words\r\n"
        "    4\r\n"
        " 10  \r\n"
        "      90.0        90\r\n"
        "    2\r\n"
        "    2    3\r\n"
        "     1 0.0  2.5E+01\r\n"
        "\r\n"
        "     8.000     1.500\r\n"
        "    1.5E+1     123.0\r\n"
        "    10.000\r\n"
        "    -1.000\r\n"
        "       2 5\r\n"
        "     3.250xx\r\n"
        "\r\n"
        "     0.000\r\n";
    RequestDims dims{4, 2, 12, 13};
    CalInput in;
    std::string detail;
    ASSERT_TRUE(ReadCalInput(text, dims, in, detail)) << detail;
    EXPECT_EQ(in.breaking, 1);
    EXPECT_EQ(in.dumpSwitch, 1);
    EXPECT_EQ(in.smax, 10.0);
    EXPECT_EQ(in.rangeAboveDeg, 90.0);
    EXPECT_EQ(in.nx, 2);
    EXPECT_EQ(in.ny, 3);
    EXPECT_EQ(in.dx, 10.0);  // "1 0.0": blanks inside a field are ignored
    EXPECT_EQ(in.dy, 25.0);
    EXPECT_EQ(in.x0, 0.0);   // an all-blank line reads as zeros
    EXPECT_EQ(in.theta0Deg, 15.0);
    EXPECT_EQ(in.Depth(1, 1), 10.0);
    EXPECT_EQ(in.Depth(1, 2), -1.0);
    EXPECT_EQ(in.Depth(1, 3), 25.0);
    EXPECT_EQ(in.Depth(2, 1), 3.25);
    EXPECT_EQ(in.Depth(2, 2), 0.0);
}

}  // namespace
}  // namespace wv::solv
