#include "platform/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>

using namespace wv;

TEST(Cp932, RoundTripsJapaneseAndHalfWidthKatakana) {
    const std::string texts[] = {"計算結果を読み込みました。ﾃﾞｰﾀﾌｧｲﾙに保存します。", "結果更新",
                                 "計算に必要な仮想ﾒﾓﾘｰが確保できません.", "ASCII only", "①②"};
    for (const auto& t : texts) {
        const std::string sjis = Utf8ToCp932(t);
        EXPECT_EQ(Cp932ToUtf8(sjis), t);
    }
    // Half-width katakana are single bytes 0xA1-0xDF in the file.
    EXPECT_EQ(Utf8ToCp932("ﾃﾞｰﾀ"), "\xC3\xDE\xB0\xC0");
    // Microsoft's table: the wave dash of CP932 (0x8160) is U+FF5E.
    EXPECT_EQ(Cp932ToUtf8("\x81\x60"), "～");
}

TEST(Cp932, BadBytesDoNotStopTheConversion) {
    const std::string out = Cp932ToUtf8(std::string("a\x81", 2) + "b");
    EXPECT_EQ(out.front(), 'a');
    EXPECT_EQ(Utf8ToCp932("a\xF0\x9F\x98\x80" "b"), "a?b");
}

TEST(WinNumbers, AtofFollowsTheWindowsRuntime) {
    EXPECT_DOUBLE_EQ(WinAtof("  12.5abc"), 12.5);
    EXPECT_DOUBLE_EQ(WinAtof("-3e2"), -300.0);
    EXPECT_DOUBLE_EQ(WinAtof("+.5"), 0.5);
    EXPECT_DOUBLE_EQ(WinAtof("5."), 5.0);
    EXPECT_DOUBLE_EQ(WinAtof("1e"), 1.0);
    EXPECT_DOUBLE_EQ(WinAtof("1e+"), 1.0);
    EXPECT_EQ(WinAtof("inf"), 0.0);
    EXPECT_EQ(WinAtof("nan"), 0.0);
    EXPECT_EQ(WinAtof("0x10"), 0.0);
    EXPECT_EQ(WinAtof(""), 0.0);
    EXPECT_EQ(WinAtof("."), 0.0);
    std::size_t used = 0;
    WinAtof(" 7.25,8", &used);
    EXPECT_EQ(used, 5u);
}

TEST(WinNumbers, AtoiClampsAndStopsAtTheFirstNonDigit) {
    EXPECT_EQ(WinAtoi(" 42x"), 42);
    EXPECT_EQ(WinAtoi("-17"), -17);
    EXPECT_EQ(WinAtoi("abc"), 0);
    EXPECT_EQ(WinAtoi("99999999999"), INT_MAX);
    EXPECT_EQ(WinAtoi("-99999999999"), INT_MIN);
}

TEST(WinNumbers, DoubleToIntGivesIntMinOutOfRange) {
    EXPECT_EQ(DoubleToInt(2.9), 2);
    EXPECT_EQ(DoubleToInt(-2.9), -2);
    EXPECT_EQ(DoubleToInt(2147483647.0), INT_MAX);
    EXPECT_EQ(DoubleToInt(-2147483648.0), INT_MIN);
    EXPECT_EQ(DoubleToInt(2147483648.0), INT_MIN);
    EXPECT_EQ(DoubleToInt(-1e20), INT_MIN);
    EXPECT_EQ(DoubleToInt(NAN), INT_MIN);
    EXPECT_EQ(DoubleToInt(INFINITY), INT_MIN);
}

TEST(WinNumbers, FormattingIgnoresTheProcessLocale) {
    // A locale with a decimal comma must not leak into the files.
    const char* loc = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(Sprintf("%.3f", 1.5), "1.500");
    EXPECT_EQ(WinAtof("1.5"), 1.5);
    if (loc) std::setlocale(LC_NUMERIC, "C");
}

TEST(TextFiles, WriterUsesCrLfAndReaderAcceptsBoth) {
    TextWriter w;
    w.Line("1");
    w.Line("title");
    EXPECT_EQ(w.Text(), "1\r\ntitle\r\n");

    LineReader r("a\r\nb\nc\r");
    std::string line;
    ASSERT_TRUE(r.Next(line));
    EXPECT_EQ(line, "a");
    ASSERT_TRUE(r.Next(line));
    EXPECT_EQ(line, "b");
    ASSERT_TRUE(r.Next(line));
    EXPECT_EQ(line, "c");
    EXPECT_FALSE(r.Next(line));

    LineReader empty("");
    EXPECT_FALSE(empty.Next(line));
    LineReader blankLines("\r\n\r\n");
    ASSERT_TRUE(blankLines.Next(line));
    EXPECT_EQ(line, "");
    ASSERT_TRUE(blankLines.Next(line));
    EXPECT_FALSE(blankLines.Next(line));
}
