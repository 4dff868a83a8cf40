// Line, colour codes and rotated text with the plot texts' character walk.
#include "draw/primitives.h"
#include "platform/recording_dc.h"
#include "platform/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace wv {
namespace {

TEST(ColorFromCode, TableOfScreenColourCodes) {
    const struct { int code; COLORREF c; } cases[] = {
        {1, 0xFF0000}, {2, 0x0000FF}, {3, 0xFF00FF}, {4, 0x00FF00}, {5, 0xFFFF00},
        {6, 0x00FFFF}, {7, 0xFFFFFF}, {8, 0xC0C0C0}, {0, 0x000000}, {9, 0x000000}, {-3, 0x000000},
    };
    for (const auto& t : cases) EXPECT_EQ(ColorFromCode(t.code), t.c) << t.code;
}

struct Cell {
    std::size_t offset, length;
    double h, x, y;
};

std::vector<Cell> Walk(const std::string& text, double H, double W, double angle, int ySign,
                       std::size_t* used = nullptr) {
    std::vector<Cell> cells;
    const std::size_t n = WalkPlotText(text, 100.0, 200.0, H, W, angle, ySign, [&](const TextCell& c) {
        cells.push_back({c.offset, c.length, c.fontHeight, c.x, c.y});
    });
    if (used) *used = n;
    return cells;
}

TEST(WalkPlotText, SubscriptSuperscriptAndDoubleByteCells) {
    // "H\D0": H full size, 0 half size with its top at half height; each advances W/2.
    // H = 10, W = 14, d = 4: single-byte cells sit d/4 = 1 in.
    auto c = Walk("H\\D0", 10, 14, 0.0, -1);
    ASSERT_EQ(c.size(), 2u);
    EXPECT_DOUBLE_EQ(c[0].x, 101.0);
    EXPECT_DOUBLE_EQ(c[0].y, 190.0);
    EXPECT_DOUBLE_EQ(c[0].h, 10.0);
    EXPECT_DOUBLE_EQ(c[1].x, 108.0);
    EXPECT_DOUBLE_EQ(c[1].y, 195.0);
    EXPECT_DOUBLE_EQ(c[1].h, 5.0);
    EXPECT_EQ(c[1].offset, 3u);

    // "X\Uy": y half size, its top level with the top of X.
    c = Walk("X\\Uy", 10, 10, 0.0, -1);
    ASSERT_EQ(c.size(), 2u);
    EXPECT_DOUBLE_EQ(c[1].y, 190.0);
    EXPECT_DOUBLE_EQ(c[1].h, 5.0);
    EXPECT_DOUBLE_EQ(c[1].x, 105.0);

    // Double-byte characters advance the whole width and sit d/2 in.
    const std::string nami = Utf8ToCp932("波高");
    std::size_t used = 0;
    c = Walk(nami + "m", 10, 14, 0.0, -1, &used);
    ASSERT_EQ(c.size(), 3u);
    EXPECT_DOUBLE_EQ(c[0].x, 102.0);
    EXPECT_DOUBLE_EQ(c[1].x, 116.0);
    EXPECT_DOUBLE_EQ(c[2].x, 129.0);
    EXPECT_EQ(c[1].length, 2u);
    EXPECT_EQ(used, 5u);

    // A 0x5C trail byte belongs to its character and is no escape.
    const std::string so = "\x83\x5C" "D";  // "ソD"
    c = Walk(so, 10, 10, 0.0, -1);
    ASSERT_EQ(c.size(), 2u);
    EXPECT_DOUBLE_EQ(c[1].h, 10.0);

    // A lead byte at the very end takes the one byte there is.
    c = Walk("A\x81", 10, 10, 0.0, -1, &used);
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[1].length, 1u);
    EXPECT_EQ(used, 2u);
}

TEST(WalkPlotText, UpFollowsTheDeviceSense) {
    // y up: the cell's top lies at larger y; turned 90 degrees the pen moves along y.
    auto c = Walk("AB", 10, 10, 0.0, 1);
    EXPECT_DOUBLE_EQ(c[0].y, 210.0);
    c = Walk("AB", 10, 10, 90.0, -1);
    EXPECT_NEAR(c[1].y - c[0].y, -5.0, 1e-9);
    EXPECT_NEAR(c[1].x - c[0].x, 0.0, 1e-9);
}

TEST(DrawRotatedText, EmptyTextDrawsNothing) {
    CRecordingDC dc;
    EXPECT_EQ(DrawRotatedText(10, 10, 12, 12, "", 0, 7, 1, &dc), 0);
    EXPECT_TRUE(dc.Calls().empty());
}

TEST(DrawRotatedText, SubscriptMakesASecondFontAndEverythingIsRestored) {
    CRecordingDC dc;
    const DcState before = dc.GetState();
    EXPECT_EQ(DrawRotatedText(10.0, 40.0, 12.0, 12.0, "A\\Dx", 30.0, 6, 1, &dc), 4);
    std::vector<std::string> fonts;
    for (const auto& c : dc.Calls())
        if (c.op == "SelectFont") fonts.push_back(c.Describe(false));
    // Two fonts made (full and half height, escapement 300), then the old one back.
    const std::vector<std::string> expected = {"SelectFont(h=12,esc=300)", "SelectFont(h=6,esc=300)",
                                               "SelectFont(h=0,esc=0)"};
    EXPECT_EQ(fonts, expected);
    EXPECT_EQ(dc.Count("TextOut"), 2);
    EXPECT_EQ(dc.Calls()[0].text, "ＭＳ ゴシック");
    EXPECT_EQ(dc.GetState(), before);
    for (const auto& c : dc.Calls())
        if (c.op == "TextOut") {
            EXPECT_EQ(c.state.textColor, 0x00FFFFu);
            EXPECT_EQ(c.state.bkMode, OPAQUE);
            EXPECT_EQ(c.state.bkColor, 0u);
        }
}

TEST(DrawRotatedText, NegativeCodeDrawsBlackUpwardsAndTransparent) {
    CRecordingDC dc;
    DrawRotatedText(10.0, 40.0, 10.0, 10.0, "A", 0.0, -1, 0, &dc);
    const std::vector<std::string> expected = {"TextOut(10,50,\"A\") font=10/0 color=0x000000 bk=none"};
    EXPECT_EQ(dc.Log(), expected);
}

TEST(DrawLineD, TruncatesAndClipsFarEnds) {
    CRecordingDC dc(100, 100);
    DrawLineD(1.9, 2.7, -3.2, 40.99, &dc);
    EXPECT_EQ(dc.AllCalls(), (std::vector<std::string>{"MoveTo(1,2)", "LineTo(-3,40)"}));
    dc.Clear();
    // Across the window from a billion pixels away: clipped to the guard, never wrapped.
    DrawLineD(-1e9, 50.0, 1e9, 50.0, &dc);
    ASSERT_EQ(dc.Calls().size(), 2u);
    EXPECT_EQ(dc.Calls()[0].args[0], -16384);
    EXPECT_EQ(dc.Calls()[1].args[0], 100 + 16384);
    dc.Clear();
    DrawLineD(-1e9, -1e9, -2e9, -1e9, &dc);  // wholly outside: nothing
    DrawLineD(0.0, std::nan(""), 10, 10, &dc);
    EXPECT_TRUE(dc.Calls().empty());
}

}  // namespace
}  // namespace wv
