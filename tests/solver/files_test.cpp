// Record layouts of the result, status and timing files against golden lines written
// by hand (tests/data/solver/make_golden.sh), and the .CAL reader on hand-written input.
#include "platform/files.h"
#include "solver/cal_input.h"
#include "solver/result_files.h"
#include "solver/solver_constants.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

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
    const double theta = 0.5235983;
    const NodeRecord records[] = {
        // Node (3, 2) on a 10 x 20 mesh from (100, -50): H/H0 0.5 at 30 degrees.
        {(3 - 1) * 10.0 + 100.0, (2 - 1) * 20.0 - 50.0, 5.5, 0.5, -99.0, 0.9, 1.0, theta / kPi * 180.0,
         0.5 * std::cos(theta), 0.5 * std::sin(theta)},
        {.depth = -9999.0, .refraction = -99.0},  // land
        {999999.999, 0.25, 12.345, 1.23456, 0.87654, 1.79994, 0.98761, -45.12346, 0.87213, -0.00004},
    };
    std::string out;
    for (const NodeRecord& r : records) ASSERT_TRUE(AppendResultRecord(r, out));
    EXPECT_EQ(out, Golden("kka_records.golden"));
}

// Asterisks never reach the result file: a value that is not finite or too wide for its
// field refuses the whole record.
TEST(SolverResultFile, RefusesValuesThatDoNotFit) {
    const NodeRecord bad[] = {{.x = 1000000.0}, {.heightRatio = 10000.0}, {.directionDeg = std::nan("")},
                              {.vectorY = -HUGE_VAL}};
    for (const NodeRecord& r : bad) {
        std::string out = "kept";
        EXPECT_FALSE(AppendResultRecord(r, out)) << &r - bad;
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

// A result file of 24 MB holds every column's text in order, and a file opened again
// (replaced, as it has one name) starts empty.
TEST(SolverResultFile, ALargeFileHoldsEveryColumnInOrder) {
    const std::string path = "large_result.kka";
    std::string want;
    {
        ResultFile f;
        ASSERT_TRUE(f.Open(path));
        for (int column = 0; column < 230; ++column) {
            std::string text(104000, static_cast<char>('A' + column % 26));
            text.replace(0, 6, std::to_string(100000 + column));
            ASSERT_TRUE(f.Write(text));
            want += text;
        }
        ASSERT_TRUE(f.Close());
    }
    EXPECT_EQ(FileSize(path), static_cast<long long>(want.size()));
    EXPECT_TRUE(FileText(path) == want);
    ResultFile again;
    ASSERT_TRUE(again.Open(path));
    ASSERT_TRUE(again.Write("short\r\n"));
    ASSERT_TRUE(again.Close());
    EXPECT_EQ(FileText(path), "short\r\n");
    std::remove(path.c_str());
}

// Starting a result file anew never changes what else refers to it: a plain file is
// replaced by one with its permissions, and a file with a second name or reached through
// a link is cut down in place, so the other name sees the new results.
TEST(SolverResultFile, StartingAnewKeepsPermissionsAndOtherNames) {
    const std::string path = "anew_result.kka", other = "anew_other.kka", link = "anew_link.kka";
    auto write = [](const std::string& p, const std::string& text) {
        ResultFile f;
        ASSERT_TRUE(f.Open(p));
        ASSERT_TRUE(f.Write(text));
        ASSERT_TRUE(f.Close());
    };
    write(path, std::string(300000, 'o'));
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    write(path, "new\r\n");
    EXPECT_EQ(FileText(path), "new\r\n");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    ASSERT_EQ(::link(path.c_str(), other.c_str()), 0);
    write(path, "linked\r\n");
    EXPECT_EQ(FileText(other), "linked\r\n");
    ASSERT_EQ(::symlink(other.c_str(), link.c_str()), 0);
    write(link, "through\r\n");
    EXPECT_EQ(FileText(path), "through\r\n");
    struct stat ls {};
    ASSERT_EQ(::lstat(link.c_str(), &ls), 0);
    EXPECT_TRUE(S_ISLNK(ls.st_mode));
    for (const std::string& p : {path, other, link}) std::remove(p.c_str());
}

std::tm Time(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
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

    ASSERT_TRUE(WriteTimingFile("TIME.TMP", Time(2007, 3, 5, 9, 4, 5), Time(2000, 12, 31, 23, 59, 59)));
    EXPECT_EQ(FileText("TIME.TMP"), Golden("time_tmp.golden"));
    for (int month = 1; month <= 12; ++month) EXPECT_EQ(DateText(Time(2024, month, 1)).size(), 9u);
}

// A hand-written input: blanks inside fields, whole numbers without a point, an
// exponent, short lines, characters after the last field.
// A header that announces more depth records than the file has is refused by counting
// them, before storage for the depths is taken: 99999 x 99999 depths would be 80 GB.
TEST(SolverCalInput, MissingDepthsAreCountedBeforeStorageIsTaken) {
    std::string text = "    0\r\n    1\r\n    0\r\n    1\r\n    4\r\n 10.0\r\n"
                       "      90.0      90.0\r\n    2\r\n9999999999\r\n"
                       "      10.0      10.0\r\n       0.0       0.0\r\n"
                       "       8.0       1.5\r\n       0.0       0.0\r\n";
    for (int n = 0; n < 3; ++n) text += "     5.000\r\n";
    RequestDims dims{4, 2, 99999 + 10, 99999 + 10};
    CalInput in;
    std::string detail;
    EXPECT_FALSE(ReadCalInput(text, dims, in, detail));
    EXPECT_NE(detail.find("9999800001 個必要ですが 3 個"), std::string::npos) << detail;
    EXPECT_TRUE(in.depth.empty());
}

// A large mesh's depths are read in parts side by side: the same values, and a refusal
// names the first bad record in the file, whatever the parts.
TEST(SolverCalInput, LargeMeshesReadTheSameOnAnyThreadCount) {
    const std::string header = "    0\r\n    1\r\n    0\r\n    1\r\n    4\r\n 10.0\r\n"
                               "      90.0      90.0\r\n    2\r\n  600  300\r\n"
                               "      10.0      10.0\r\n       0.0       0.0\r\n"
                               "       8.0       1.5\r\n       0.0       0.0\r\n";
    std::vector<std::string> depths(600 * 300);
    for (std::size_t n = 0; n < depths.size(); ++n) {
        char field[16];
        std::snprintf(field, sizeof field, "%10.3f", 20.0 - 0.0001 * static_cast<double>(n));
        depths[n] = field;
    }
    auto text = [&](const std::vector<std::string>& d) {
        std::string t = header;
        for (const std::string& v : d) t += v + "\r\n";
        return t;
    };
    const RequestDims dims{4, 2, 610, 310};
    auto read = [&](const std::string& t, int threads, CalInput& in) {
        std::string detail;
        return ReadCalInput(t, dims, in, detail, threads) ? std::string() : detail;
    };
    CalInput one, many;
    ASSERT_EQ(read(text(depths), 1, one), "");
    ASSERT_EQ(read(text(depths), 8, many), "");
    EXPECT_EQ(one.depth, many.depth);
    EXPECT_EQ(many.depth.back(), 2.0);  // the last record, "     2.000"

    // Bad records in the second half and in the first: the first is named, line 13 + n + 1.
    std::vector<std::string> bad = depths;
    bad[170000] = "   1.0E+99";
    EXPECT_EQ(read(text(bad), 8, many), read(text(bad), 1, one));
    EXPECT_NE(read(text(bad), 8, many).find("170014行目"), std::string::npos) << read(text(bad), 8, many);
    bad[1000] = "      x.00";
    EXPECT_EQ(read(text(bad), 8, many), read(text(bad), 1, one));
    EXPECT_NE(read(text(bad), 8, many).find("1014行目"), std::string::npos) << read(text(bad), 8, many);
    EXPECT_TRUE(many.depth.empty());
}

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
