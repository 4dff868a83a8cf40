// "PARAINI.DAT": each version the program wrote, and files that are not as they should be.
#include "core/cal_area.h"
#include "core/param_file.h"
#include "core/tyd_inf.h"
#include "core/zmn_inf.h"
#include "golden.h"

#include <fstream>
#include <functional>

namespace wv {
namespace {

struct Defaults {
    CTyd_Inf tyd;
    CZmn_Inf zmn;
    CCalArea area;

    ParamFileStatus Read(const std::string& path) { return ReadParamFile(path, tyd, zmn, area); }
};

std::string ReadText(const std::string& path) {
    std::string text;
    EXPECT_TRUE(ReadWholeFile(path, text, nullptr)) << path;
    return text;
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// The golden version-12 file with line n (1-based) replaced.
std::string V12WithLine(int n, const std::string& replacement) {
    std::string text = ReadText(test::GoldenPath("paraini_v12.dat"));
    std::size_t start = 0;
    for (int i = 1; i < n; ++i) start = text.find('\n', start) + 1;
    const std::size_t end = text.find('\r', start);
    return text.replace(start, end - start, replacement);
}

// Doubles are read through the number splitter, which adds up the decimals one by one:
// they come back to within rounding of what was written.
TEST(ParamFile, Version12GivesBackEveryValueAndWritesTheSameBytes) {
    Defaults d;
    ASSERT_EQ(d.Read(test::GoldenPath("paraini_v12.dat")), ParamFileStatus::Read);
    // One or two fields of each line; writing the values back below covers the rest.
    EXPECT_EQ(d.tyd.m_nDir16, 5);
    EXPECT_DOUBLE_EQ(d.tyd.m_dT0, 9.0);
    EXPECT_EQ(d.tyd.m_nDirDiv, 36);
    EXPECT_EQ(d.tyd.m_nFreqDiv, 5);
    EXPECT_DOUBLE_EQ(d.tyd.m_dSpreadLeft, 70.0);
    EXPECT_DOUBLE_EQ(d.area.GetOrigin().m_dX, -12345.678);
    EXPECT_EQ(d.area.GetMeshCountY(), 30);  // rows come first on their line
    EXPECT_EQ(d.area.GetMeshCountX(), 40);
    EXPECT_EQ(d.area.GetMeshSize(), 25.0);
    EXPECT_EQ(d.tyd.m_nOutDirSense, 1);
    EXPECT_DOUBLE_EQ(d.zmn.m_dRotation, -15.0);
    EXPECT_EQ(d.zmn.m_nPaperOrient, 1);
    EXPECT_EQ(d.zmn.m_nMarginLeft, -1);
    EXPECT_EQ(d.zmn.m_nFrameWidth, 270);
    EXPECT_EQ(d.zmn.m_nScaleStyle, 1);
    EXPECT_EQ(d.zmn.m_nLandColor, 5);
    EXPECT_DOUBLE_EQ(d.zmn.m_dDirTextSize, 1.75);
    EXPECT_EQ(d.zmn.m_bDrawLandGrid, 1);
    EXPECT_EQ(d.zmn.m_nDecimals, 3);
    // Not in the file.
    EXPECT_EQ(d.tyd.m_nCalcState, 0);
    EXPECT_EQ(d.zmn.m_nScale, 50000);

    EXPECT_EQ(FormatParamFile(d.tyd, d.zmn, d.area), ReadText(test::GoldenPath("paraini_v12.dat")));
}

TEST(ParamFile, WriteThenReadGivesBackTheValuesToSixDecimals) {
    Defaults d;
    d.tyd.m_dDirAngle = 1.0 / 3.0;
    d.zmn.m_nMarginLeft = -1;
    d.area.SetOrigin(1e7 + 0.1234564, -0.0000004);
    d.zmn.m_nDecimals = 0;
    ASSERT_TRUE(WriteParamFile("PARAINI.DAT", d.tyd, d.zmn, d.area, nullptr));
    Defaults e;
    ASSERT_EQ(e.Read("PARAINI.DAT"), ParamFileStatus::Read);
    EXPECT_DOUBLE_EQ(e.tyd.m_dDirAngle, 0.333333);
    EXPECT_EQ(e.zmn.m_nMarginLeft, -1);
    EXPECT_NEAR(e.area.GetOrigin().m_dX, 10000000.123456, 1e-9);
    EXPECT_EQ(e.area.GetOrigin().m_dY, 0.0);
    EXPECT_EQ(e.zmn.m_nDecimals, 0);
    // Everything else comes back as it was written.
    EXPECT_EQ(FormatParamFile(e.tyd, e.zmn, e.area), FormatParamFile(d.tyd, d.zmn, d.area));
}

TEST(ParamFile, Version9FileOfAnOlderProgram) {
    Defaults d;
    ASSERT_EQ(d.Read(test::GoldenPath("paraini_v9.dat")), ParamFileStatus::Read);
    EXPECT_EQ(d.tyd.m_nDirMode, 2);
    EXPECT_EQ(d.tyd.m_nFreqDiv, 9);
    EXPECT_DOUBLE_EQ(d.area.GetOrigin().m_dX, 100.0);  // line 7 follows line 5
    EXPECT_DOUBLE_EQ(d.area.GetOrigin().m_dY, 200.0);
    EXPECT_EQ(d.area.GetMeshCountY(), 20);
    EXPECT_EQ(d.tyd.m_bBreaking, 1);
    EXPECT_EQ(d.zmn.m_nPaperSize, 2);  // line 12 follows line 10
    EXPECT_EQ(d.zmn.m_nFrameWidth, 360);
    EXPECT_EQ(d.zmn.m_nLandColor, 4);
    EXPECT_DOUBLE_EQ(d.zmn.m_dDirTextSize, 2.0);
    EXPECT_EQ(d.zmn.m_bDrawLandGrid, 1);
    // What version 9 did not have keeps the constructors' values.
    EXPECT_EQ(d.tyd.m_dSpreadRight, 90.0);
    EXPECT_EQ(d.tyd.m_dSpreadLeft, 90.0);
    EXPECT_EQ(d.tyd.m_bFreeRotation, 0);
    EXPECT_EQ(d.zmn.m_dRotation, 0.0);
    EXPECT_EQ(d.zmn.m_nScaleStyle, 0);  // although line 15 has a second value
    EXPECT_EQ(d.zmn.m_bDrawContourValue, 1);
    EXPECT_EQ(d.zmn.m_dVectorMin, 0.0);
    EXPECT_EQ(d.zmn.m_dVectorMax, 10.0);
    EXPECT_EQ(d.zmn.m_nDecimals, 2);
}

TEST(ParamFile, Version7File) {
    Defaults d;
    ASSERT_EQ(d.Read(test::GoldenPath("paraini_v7.dat")), ParamFileStatus::Read);
    EXPECT_EQ(d.tyd.m_nDir16, 3);
    EXPECT_EQ(d.area.GetMeshSize(), 50.0);
    EXPECT_EQ(d.zmn.m_nFrameHeight, 277);
    EXPECT_DOUBLE_EQ(d.zmn.m_dContTextSize, 2.0);
    EXPECT_DOUBLE_EQ(d.zmn.m_dMapTextSize, 2.25);
    EXPECT_EQ(d.zmn.m_dDirTextSize, 2.5);  // the third size is not taken before version 9
    EXPECT_EQ(d.zmn.m_bDrawLandGrid, 0);
}

TEST(ParamFile, MissingFileLeavesTheDefaults) {
    Defaults d;
    d.tyd.m_dH0 = 4.0;
    EXPECT_EQ(d.Read("no-such-folder/PARAINI.DAT"), ParamFileStatus::Missing);
    EXPECT_EQ(d.tyd.m_dH0, 4.0);
    WriteText("empty.dat", "");
    EXPECT_EQ(d.Read("empty.dat"), ParamFileStatus::Short);
    EXPECT_EQ(d.tyd.m_dH0, 4.0);
    EXPECT_EQ(d.zmn, CZmn_Inf());
}

TEST(ParamFile, ShortFileTakesOnlyTheLinesItHas) {
    std::string text = ReadText(test::GoldenPath("paraini_v12.dat"));
    std::size_t pos = 0;
    for (int i = 0; i < 10; ++i) pos = text.find('\n', pos) + 1;  // lines 1 to 10
    WriteText("short.dat", text.substr(0, pos));
    Defaults d;
    EXPECT_EQ(d.Read("short.dat"), ParamFileStatus::Short);
    EXPECT_EQ(d.tyd.m_bBreaking, 1);             // line 10
    EXPECT_EQ(d.tyd.m_bFreeRotation, 0);         // line 11 is missing
    EXPECT_EQ(d.zmn, CZmn_Inf());                // so is everything after it

    // Cut in the middle of line 10: that line is not trusted.
    WriteText("cut.dat", text.substr(0, pos - 4));
    Defaults e;
    EXPECT_EQ(e.Read("cut.dat"), ParamFileStatus::Short);
    EXPECT_EQ(e.area.GetMeshSize(), 25.0);       // line 9
    EXPECT_EQ(e.tyd.m_nOutDirSense, 0);
    EXPECT_EQ(e.tyd.m_bBreaking, 0);
}

TEST(ParamFile, OddLines) {
    // A line longer than the program's 127-character buffer is cut there; the lines
    // after it are not shifted.
    Defaults d;
    WriteText("long.dat", V12WithLine(2, "1,5,123.5" + std::string(150, ' ') + "77"));
    ASSERT_EQ(d.Read("long.dat"), ParamFileStatus::Read);
    EXPECT_DOUBLE_EQ(d.tyd.m_dDirAngle, 123.5);
    EXPECT_DOUBLE_EQ(d.tyd.m_dH0, 3.5);
    EXPECT_EQ(d.zmn.m_nDecimals, 3);

    // A value missing from its line leaves its field alone instead of taking one from
    // an earlier line.
    Defaults e;
    WriteText("gap.dat", V12WithLine(13, "15,12"));
    ASSERT_EQ(e.Read("gap.dat"), ParamFileStatus::Read);
    EXPECT_EQ(e.zmn.m_nMarginBottom, 12);
    EXPECT_EQ(e.zmn.m_nMarginRight, 10);
    EXPECT_EQ(e.zmn.m_nMarginLeft, 10);

    // LF line ends read the same as CR LF.
    std::string text = ReadText(test::GoldenPath("paraini_v12.dat"));
    std::erase(text, '\r');
    WriteText("lf.dat", text);
    Defaults f;
    ASSERT_EQ(f.Read("lf.dat"), ParamFileStatus::Read);
    EXPECT_EQ(f.zmn.m_nDecimals, 3);
    EXPECT_EQ(f.area.GetMeshSize(), 25.0);
}

// A value that a calculation file could not hold keeps the field's previous value, as a
// missing value does; the other values of its line are taken. Otherwise every new
// calculation would be saved with it and refused when opened again.
TEST(ParamFile, ValuesACalculationCannotHoldKeepTheDefault) {
    struct Case {
        const char* what;
        int line;
        const char* text;
        std::function<bool(const Defaults&, const Defaults&)> expect;  // (read, before)
    } cases[] = {
        {"16-point direction 92", 2, "1,92,45.0",
         [](const Defaults& d, const Defaults& b) {
             return d.tyd.m_nDir16 == b.tyd.m_nDir16 && d.tyd.m_nDirMode == 1 && d.tyd.m_dDirAngle == 45.0;
         }},
        {"16-point direction -1", 2, "1,-1,45.0",
         [](const Defaults& d, const Defaults& b) { return d.tyd.m_nDir16 == b.tyd.m_nDir16; }},
        {"16-point direction 15 is the last", 2, "1,15,45.0",
         [](const Defaults& d, const Defaults&) { return d.tyd.m_nDir16 == 15; }},
        {"paper size 11", 12, "11,1",
         [](const Defaults& d, const Defaults& b) {
             return d.zmn.m_nPaperSize == b.zmn.m_nPaperSize && d.zmn.m_nPaperOrient == 1;
         }},
        {"paper size 10 is the last", 12, "10,1", [](const Defaults& d, const Defaults&) { return d.zmn.m_nPaperSize == 10; }},
        {"land colour 7", 16, "0,1,7",
         [](const Defaults& d, const Defaults& b) {
             return d.zmn.m_nLandColor == b.zmn.m_nLandColor && d.zmn.m_bFillLand == 1;
         }},
        {"land colour 6 is the last", 16, "0,1,6", [](const Defaults& d, const Defaults&) { return d.zmn.m_nLandColor == 6; }},
        {"negative mesh count", 8, "-1,40",
         [](const Defaults& d, const Defaults& b) {
             return d.area.GetMeshCountY() == b.area.GetMeshCountY() && d.area.GetMeshCountX() == 40;
         }},
        {"more nodes than can be numbered", 8, "100000,100000",
         [](const Defaults& d, const Defaults& b) {
             return d.area.GetMeshCountY() == b.area.GetMeshCountY() &&
                    d.area.GetMeshCountX() == b.area.GetMeshCountX();
         }},
    };
    for (const Case& c : cases) {
        Defaults before;
        Defaults d;
        WriteText("odd.dat", V12WithLine(c.line, c.text));
        ASSERT_EQ(d.Read("odd.dat"), ParamFileStatus::Read) << c.what;
        EXPECT_TRUE(c.expect(d, before)) << c.what;
    }
}

TEST(ParamFile, DefaultsFileInTheStartFolder) {
    const std::string folder = StartFolder();
    DeleteFileSilently(StartFolderFile(kParamFileName));
    g_tydInfDefault.Init();
    EXPECT_EQ(LoadDefaultsFile(), ParamFileStatus::Missing);
    EXPECT_EQ(g_tydInfDefault, CTyd_Inf());
    g_tydInfDefault.m_dH0 = 2.75;
    ASSERT_TRUE(SaveDefaultsFile());
    g_tydInfDefault.Init();
    EXPECT_EQ(LoadDefaultsFile(), ParamFileStatus::Read);
    EXPECT_EQ(g_tydInfDefault.m_dH0, 2.75);
    g_tydInfDefault.Init();
    EXPECT_EQ(folder, StartFolder());
}

}  // namespace
}  // namespace wv
