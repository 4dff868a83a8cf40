#include "platform/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <utility>
#include <vector>

using namespace wv;

TEST(Cp932, RoundTripsJapaneseAndHalfWidthKatakana) {
    const std::string texts[] = {"計算結果を読み込みました。ﾃﾞｰﾀﾌｧｲﾙに保存します。", "結果更新",
                                 "計算に必要な仮想ﾒﾓﾘｰが確保できません.", "ASCII only", "①②"};
    for (const auto& t : texts) EXPECT_EQ(Cp932ToUtf8(Utf8ToCp932(t)), t);
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
    const std::pair<const char*, double> cases[] = {
        {"  12.5abc", 12.5}, {"-3e2", -300.0}, {"+.5", 0.5}, {"5.", 5.0}, {"1e", 1.0},
        {"1e+", 1.0},        {"inf", 0.0},     {"nan", 0.0}, {"0x10", 0.0}, {"", 0.0}, {".", 0.0}};
    for (auto [text, value] : cases) EXPECT_EQ(WinAtof(text), value) << "[" << text << "]";
    std::size_t used = 0;
    WinAtof(" 7.25,8", &used);
    EXPECT_EQ(used, 5u);
}

// A result beyond the double range is decided by the number's size, not by the sign of
// its exponent: written out, 1e-324 has no exponent and 1e309 a negative one.
TEST(WinNumbers, AtofOutOfRangeByMagnitude) {
    const double inf = HUGE_VAL;
    const std::string tiny = "0." + std::string(323, '0') + "1";        // 1e-324
    const std::string big = "1" + std::string(310, '0') + "e-1";         // 1e309
    const std::string bigFraction = "0." + std::string(5, '0') + "1e320";  // 1e314
    const std::string tinyInteger = "1" + std::string(20, '0') + "e-400";  // 1e-380
    const std::pair<std::string, double> cases[] = {
        {tiny, 0.0},   {"-" + tiny, -0.0}, {big, inf},       {"-" + big, -inf}, {bigFraction, inf},
        {tinyInteger, 0.0}, {"1e999", inf}, {"-1e999", -inf}, {"1e-999", 0.0},
        {"1e99999999999999999999", inf}, {"1e-99999999999999999999", 0.0},
        {"0e99999", 0.0},
    };
    for (const auto& [text, value] : cases) {
        const double got = WinAtof(text);
        EXPECT_EQ(got, value) << "[" << text.substr(0, 40) << "...]";
        EXPECT_EQ(std::signbit(got), std::signbit(value)) << "[" << text.substr(0, 40) << "...]";
    }
}

TEST(WinNumbers, AtoiClampsAndDoubleToIntGivesIntMinOutOfRange) {
    EXPECT_EQ(WinAtoi(" 42x"), 42);
    EXPECT_EQ(WinAtoi("-17"), -17);
    EXPECT_EQ(WinAtoi("abc"), 0);
    EXPECT_EQ(WinAtoi("99999999999"), INT_MAX);
    EXPECT_EQ(WinAtoi("-99999999999"), INT_MIN);

    const std::pair<double, int> cases[] = {
        {2.9, 2},          {-2.9, -2},    {2147483647.0, INT_MAX}, {-2147483648.0, INT_MIN},
        {2147483648.0, INT_MIN}, {-1e20, INT_MIN}, {NAN, INT_MIN}, {INFINITY, INT_MIN}};
    for (auto [value, expected] : cases) EXPECT_EQ(DoubleToInt(value), expected) << value;
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

    auto lines = [](const char* text) {
        LineReader r(text);
        std::vector<std::string> out;
        for (std::string line; r.Next(line);) out.push_back(line);
        return out;
    };
    EXPECT_EQ(lines("a\r\nb\nc\r"), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_TRUE(lines("").empty());
    EXPECT_EQ(lines("\r\n\r\n"), (std::vector<std::string>{"", ""}));
}
