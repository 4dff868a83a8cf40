// The printer renderer on a recording surface: 10 device units per millimetre, plot y 0
// at device y 1000, so plot (x, y) mm lands on device (10x, 1000 - 10y). Expected calls
// are worked out by hand from the drawing rules.
#include "draw/plot_renderer.h"
#include "draw/plot_store.h"
#include "platform/recording_dc.h"
#include "platform/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace wv;

namespace {

PrintMapping TestMapping(int numColors = 256, int tech = DT_RASPRINTER) {
    PrintMapping m;
    m.m_dDevPerMmX = m.m_dDevPerMmY = 10.0;
    m.m_rcPrintClip = CRect{0, 0, 1000, 1000};
    m.m_nNumColors = numColors;
    m.m_nPrinterTech = tech;
    return m;
}

// A store read from plot records (the reader adds line type 0 and layer 0).
CPlotStore Store(const std::string& records) {
    CPlotStore s;
    EXPECT_EQ(s.ReadPlotText(0, records), 0);
    return s;
}

// The moves and lines of a recording, as "M x,y" and "L x,y".
std::vector<std::string> Path(const CRecordingDC& dc) {
    std::vector<std::string> out;
    for (const DcCall& c : dc.Calls())
        if (c.op == "MoveTo" || c.op == "LineTo")
            out.push_back(Sprintf("%c %lld,%lld", c.op == "MoveTo" ? 'M' : 'L', c.args[0], c.args[1]));
    return out;
}

std::vector<std::string> Ops(const CRecordingDC& dc, const std::string& op) {
    std::vector<std::string> out;
    for (const DcCall& c : dc.Calls())
        if (c.op == op) out.push_back(c.Describe(false));
    return out;
}

// A page with one dashed line type on layer 1 (black, width 0).
std::string DashedPage(const std::string& lt) { return lt + "\r\nLY1,0,7,1,A\r\n"; }

}  // namespace

TEST(PlotRendererLines, FittedDashesStartAndEndWithAFullDash) {
    struct Case {
        const char* lt;
        double length;
        std::vector<std::string> path;
    };
    const Case cases[] = {
        // dash 2, gap 1, 10 mm: k = (10 + 1) / (2 + 1) + 0.5 -> 4 dashes, pieces x 10/11
        {"LT200000,100000,1,0,D", 10.0,
         {"M 0,1000", "L 18,1000", "M 27,1000", "L 45,1000", "M 54,1000", "L 72,1000", "M 81,1000",
          "L 100,1000"}},
        // dash 3, gap 1, type 3 (dash gap dot gap), 20 mm: G 3, k 4, S 21, pieces x 20/21
        {"LT300000,100000,3,0,D", 20.0,
         {"M 0,1000", "L 28,1000", "M 38,1000", "L 47,1000", "M 57,1000", "L 85,1000", "M 95,1000",
          "L 104,1000", "M 114,1000", "L 142,1000", "M 152,1000", "L 161,1000", "M 171,1000",
          "L 200,1000"}},
        // type 4 (two dots), 20 mm: G 5, k 3, S 19, pieces x 20/19
        {"LT300000,100000,4,0,D", 20.0,
         {"M 0,1000", "L 31,1000", "M 42,1000", "L 52,1000", "M 63,1000", "L 73,1000", "M 84,1000",
          "L 115,1000", "M 126,1000", "L 136,1000", "M 147,1000", "L 157,1000", "M 168,1000",
          "L 200,1000"}},
        // foreign line types that cannot make a period are drawn solid, and end
        {"LT0,100000,1,0,D", 10.0, {"M 0,1000", "L 100,1000"}},
        {"LT200000,-100000,2,0,D", 10.0, {"M 0,1000", "L 100,1000"}},
        {"LT0,0,3,0,D", 10.0, {"M 0,1000", "L 100,1000"}},
        {"LT1,0,1,0,D", 10.0, {"M 0,1000", "L 100,1000"}},       // period under a device unit
        // type 0 and types above 4 are solid
        {"LT200000,100000,5,0,D", 10.0, {"M 0,1000", "L 100,1000"}},
    };
    for (const Case& c : cases) {
        CPlotStore s = Store(DashedPage(c.lt));
        PlotRenderer r(TestMapping());
        r.SetPage(s.GetPage(0));
        CRecordingDC dc;
        EXPECT_EQ(r.PrintPlotLine(0, 0, c.length, 0, 1, 1, dc), 0);
        EXPECT_EQ(Path(dc), c.path) << c.lt;
    }
}

TEST(PlotRendererLines, PatternRunsAcrossVerticesClosesAndEnds) {
    // dash 2, gap 1 over (0,0) -> (5,0) -> (5,5) and closed back to (0,0).
    CPlotStore s = Store(DashedPage("LT200000,100000,1,0,D") +
                         "LL0,0,0,0,1\r\nLL500000,0,1,0,1\r\nLL500000,500000,2,1,1\r\n");
    PlotRenderer r(TestMapping());
    CRecordingDC dc;
    ASSERT_EQ(r.PrintPlotData(dc, s), 0);
    const std::vector<std::string> expected = {
        // 5 mm: a dash of 2, a gap of 1, a dash of 2 that ends exactly at the corner
        "M 0,1000", "L 20,1000", "M 30,1000", "L 50,1000",
        // up 5 mm: the gap goes on first, then 2 drawn, 1 gap, 1 of the next dash
        "M 50,1000", "M 50,990", "L 50,970", "M 50,960", "L 50,950",
        // the closing diagonal of 7.07 mm: the rest of that dash, then on in the pattern
        "M 50,950", "L 42,957", "M 35,964", "L 21,978", "M 14,985", "L 0,1000"};
    EXPECT_EQ(Path(dc), expected);
    EXPECT_EQ(r.DashCount(), 0);  // the pattern ends with its polyline
}

TEST(PlotRendererLines, UnendedPolylineKeepsItsPatternForLaterSegments) {
    CPlotStore s = Store(DashedPage("LT200000,100000,1,0,D"));
    PlotRenderer r(TestMapping());
    r.SetPage(s.GetPage(0));
    CRecordingDC dc;
    r.PrintPlotVertex(0, 0, 0, 0, 1, 1, dc);
    r.PrintPlotVertex(3, 0, 1, 0, 1, 1, dc);  // 2 drawn, 1 gap: the next dash starts fresh
    EXPECT_EQ(r.DashCount(), 2);
    EXPECT_EQ(r.DashIndex(), 0);
    EXPECT_DOUBLE_EQ(r.DashLeft(), 2.0);
    dc.Clear();
    r.PrintPlotLine(0, 10, 1, 10, 0, 0, dc);  // solid layer, but the running pattern goes on
    EXPECT_EQ(Path(dc), (std::vector<std::string>{"M 0,900", "L 10,900"}));
    EXPECT_DOUBLE_EQ(r.DashLeft(), 1.0);
}

TEST(PlotRendererLines, ClippedAndDegenerateLines) {
    CPlotStore s = Store("");
    PlotRenderer r(TestMapping());
    r.SetPage(s.GetPage(0));
    struct Case {
        double x1, y1, x2, y2;
        int result;
        std::vector<std::string> path;
    };
    const Case cases[] = {
        {-20, 10, -10, 20, 0, {}},                    // wholly left of the printable area
        {110, 10, 120, 20, 0, {}},                    // right
        {10, 110, 20, 120, 0, {}},                    // above
        {10, -10, 20, -20, 0, {}},                    // below
        {-5, 10, 5, 10, 0, {"M -50,900", "L 50,900"}},  // crossing: drawn whole
        {10, 10, 10.0005, 10.0005, -1, {}},           // shorter than 0.001 mm both ways
    };
    for (const Case& c : cases) {
        CRecordingDC dc;
        EXPECT_EQ(r.PrintPlotLine(c.x1, c.y1, c.x2, c.y2, 0, 0, dc), c.result);
        EXPECT_EQ(Path(dc), c.path) << c.x1 << "," << c.y1;
        if (c.path.empty()) {
            EXPECT_EQ(dc.Count("SelectPen"), 0);
        }
    }
}

TEST(PlotRendererLines, PenWidthAndColourFromTheLayer) {
    CPlotStore s = Store("LY0,25,1,1,A\r\nLY0,13,5,2,B\r\nLY0,0,255,3,C\r\n");
    PlotRenderer r(TestMapping());
    r.SetPage(s.GetPage(0));
    const std::pair<int, std::string> cases[] = {
        {1, "SelectPen(0,3,0x0000FF)"},   // 0.25 mm x 10 + 0.5 -> 3; red
        {2, "SelectPen(0,1,0xFF0000)"},   // 0.13 mm -> 1; blue
        {3, "SelectPen(0,0,0xFFFFFF)"},   // the thinnest line; white
        {9, "SelectPen(0,0,0x000000)"},   // no such layer: layer 0
    };
    for (const auto& [layer, pen] : cases) {
        CRecordingDC dc;
        r.PrintPlotLine(0, 0, 10, 0, ClampLayerIndex(layer, 4), 0, dc);
        const auto pens = Ops(dc, "SelectPen");
        ASSERT_EQ(pens.size(), 2u);  // the layer's pen, then the old one back
        EXPECT_EQ(pens[0], pen) << layer;
        EXPECT_EQ(dc.GetState().rop2, R2_COPYPEN);
    }
}

TEST(PlotRendererColours, TableTwoColourRasterAndPlotter) {
    const std::pair<int, COLORREF> table[] = {
        {1, RGB(255, 0, 0)},     {2, RGB(255, 255, 0)},   {3, RGB(0, 255, 0)},    {4, RGB(0, 255, 255)},
        {5, RGB(0, 0, 255)},     {6, RGB(255, 0, 255)},   {7, RGB(0, 0, 0)},      {8, RGB(128, 128, 128)},
        {9, RGB(192, 192, 192)}, {23, RGB(192, 128, 64)}, {30, RGB(255, 128, 0)}, {83, RGB(128, 192, 128)},
        {150, RGB(0, 128, 255)}, {190, RGB(128, 64, 255)}, {222, RGB(192, 0, 128)},
        {255, RGB(255, 255, 255)}, {0, RGB(0, 0, 0)},     {42, RGB(0, 0, 0)},     {-1, RGB(0, 0, 0)},
    };
    const PrintMapping colour = TestMapping(256);
    const PrintMapping twoColour = TestMapping(2);
    const PrintMapping plotter = TestMapping(2, DT_PLOTTER);
    for (const auto& [number, rgb] : table) {
        EXPECT_EQ(GetPlotColor(number, colour), rgb) << number;
        EXPECT_EQ(GetPlotColor(number, twoColour), RGB(0, 0, 0)) << number;
        EXPECT_EQ(GetPlotColor(number, plotter), rgb) << number;
    }
}

TEST(PlotRendererMarks, OutlinesAndInnerMarks) {
    CPlotStore s = Store("LY0,0,1,1,A\r\n");
    PlotRenderer r(TestMapping());
    r.SetPage(s.GetPage(0));
    {
        // Code 21, size 3: circles of radius 1.5 (94 chords) and 0.75 (47 chords) about (50, 50).
        CRecordingDC dc;
        EXPECT_EQ(r.PrintPlotMark(50, 50, 3.0, 21, 1, 0, dc), 0);
        const auto lines = Ops(dc, "LineTo");
        ASSERT_EQ(lines.size(), 94u + 47u);
        int outer = 0, inner = 0;
        for (const DcCall& c : dc.Calls()) {
            if (c.op != "LineTo") continue;
            const double d = std::hypot(c.args[0] - 500.0, c.args[1] - 500.0);
            if (std::fabs(d - 15.0) <= 1.5) ++outer;
            if (std::fabs(d - 7.5) <= 1.5) ++inner;
        }
        EXPECT_EQ(outer, 94);
        EXPECT_EQ(inner, 47);
    }
    {
        // Code 34, size 4: square (x +- 2, y +- 2) and a cross to its corners.
        CRecordingDC dc;
        EXPECT_EQ(r.PrintPlotMark(50, 50, 4.0, 34, 1, 0, dc), 0);
        EXPECT_EQ(Path(dc), (std::vector<std::string>{
                                "M 480,520", "L 520,520", "M 520,520", "L 520,480", "M 520,480",
                                "L 480,480", "M 480,480", "L 480,520", "M 480,520", "L 520,480",
                                "M 480,480", "L 520,520"}));
    }
    {
        // Code 47: the triangle stays, the unknown inner mark is refused.
        CRecordingDC dc;
        EXPECT_EQ(r.PrintPlotMark(50, 50, 4.0, 47, 1, 0, dc), -1);
        EXPECT_EQ(Ops(dc, "LineTo").size(), 3u);
    }
    for (int code : {50, 53, 99}) {
        CRecordingDC dc;
        EXPECT_EQ(r.PrintPlotMark(50, 50, 4.0, code, 1, 0, dc), -1) << code;
        EXPECT_TRUE(dc.Calls().empty()) << code;
    }
    {
        // Inner marks without an outline: a dot in the layer colour, bars of half-length r.
        CRecordingDC dc;
        r.PrintPlotMark(50, 50, 4.0, 2, 1, 0, dc);
        r.PrintPlotMark(50, 50, 4.0, 5, 1, 0, dc);
        r.PrintPlotMark(50, 50, 4.0, 6, 1, 0, dc);
        EXPECT_EQ(Ops(dc, "SetPixel"), (std::vector<std::string>{"SetPixel(500,500,0x0000FF)"}));
        EXPECT_EQ(Path(dc), (std::vector<std::string>{"M 500,480", "L 500,520", "M 480,500", "L 520,500"}));
    }
}

TEST(PlotRendererArcs, QuarterArcEndsAndEllipseRotation) {
    CPlotStore s = Store("");
    PlotRenderer r(TestMapping());
    r.SetPage(s.GetPage(0));
    {
        // Counter-clockwise from (60, 50) to (50, 60) about (50, 50): 157 chords.
        CRecordingDC dc;
        r.PrintArc3P(60, 50, 50, 50, 50, 60, 1, 0, 0, dc);
        const auto path = Path(dc);
        ASSERT_EQ(Ops(dc, "LineTo").size(), 157u);
        EXPECT_EQ(path.front(), "M 600,500");
        EXPECT_EQ(path.back(), "L 500,400");
    }
    {
        // Any other direction runs from the end point to the start point: three quarters.
        CRecordingDC dc;
        r.PrintArc3P(60, 50, 50, 50, 50, 60, 0, 0, 0, dc);
        const auto path = Path(dc);
        EXPECT_EQ(Ops(dc, "LineTo").size(), 471u);
        EXPECT_EQ(path.front(), "M 500,400");
        EXPECT_EQ(path.back(), "L 600,500");
    }
    {
        // Rotation and start are degrees: an ellipse of radii 10 and 5 turned by 90 degrees
        // starts at the top of its centre and its quarter ends to the left.
        CRecordingDC dc;
        r.PrintEllipseArc(50, 50, 10, 5, 90, 0, 90, 0, 0, dc);
        const auto path = Path(dc);
        EXPECT_EQ(path.front(), "M 500,400");
        EXPECT_EQ(path.back(), "L 450,500");
    }
    {
        // A start of 90 degrees on a circle begins at its top.
        CRecordingDC dc;
        r.PrintEllipseArc(50, 50, 10, 10, 0, 90, 180, 0, 0, dc);
        const auto path = Path(dc);
        EXPECT_EQ(path.front(), "M 500,400");
        EXPECT_EQ(path.back(), "L 400,500");
    }
}

TEST(PlotRendererArrows, HeadShaftAndTailHead) {
    CPlotStore s = Store("");
    PlotRenderer r(TestMapping());
    r.SetPage(s.GetPage(0));
    const std::vector<std::string> head = {"M 80,490", "L 100,500", "M 80,510", "L 100,500"};
    CRecordingDC a, b, c;
    r.PrintArrow(0, 50, 10, 50, 2, 2, 5, 0, 0, a);
    EXPECT_EQ(Path(a), head);
    r.PrintArrow(0, 50, 10, 50, 2, 2, 10, 0, 0, b);
    std::vector<std::string> shaft = {"M 0,500", "L 100,500"};
    shaft.insert(shaft.end(), head.begin(), head.end());
    EXPECT_EQ(Path(b), shaft);
    r.PrintArrow(0, 50, 10, 50, 2, 2, 20, 0, 0, c);
    std::vector<std::string> both = {"M 20,490", "L 0,500", "M 20,510", "L 0,500"};
    both.insert(both.end(), shaft.begin(), shaft.end());
    EXPECT_EQ(Path(c), both);
}

TEST(PlotRendererText, CharacterWalk) {
    CPlotStore s = Store("LY0,0,1,1,A\r\n");
    struct Case {
        std::string text;  // UTF-8 unless raw
        bool raw;
        double height, width, angle;
        int consumed;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        // H full size; 0 half size on the baseline; single-byte cells advance W/2.
        {"H\\D0", false, 3, 3, 0, 4,
         {"SelectFont(h=30,esc=0)", "TextOut(100,870,\"H\")", "SelectFont(h=15,esc=0)",
          "TextOut(115,885,\"0\")"}},
        // y half size with its top level with the top of X.
        {"X\\Uy", false, 3, 3, 0, 4,
         {"SelectFont(h=30,esc=0)", "TextOut(100,870,\"X\")", "SelectFont(h=15,esc=0)",
          "TextOut(115,870,\"y\")"}},
        // Double-byte cells sit d/2 in and advance W; single-byte ones d/4 and W/2. One font.
        {"水A", false, 3, 4, 0, 3,
         {"SelectFont(h=30,esc=0)", "TextOut(105,870,\"水\")", "TextOut(142,870,\"A\")"}},
        // A 0x5C trail byte is part of its character, not an escape.
        {"\x83\x5c" "D0", true, 3, 3, 0, 4,
         {"SelectFont(h=30,esc=0)", "TextOut(100,870,\"ソ\")", "TextOut(130,870,\"D\")",
          "TextOut(145,870,\"0\")"}},
        // A lead byte cut off at the end takes its cell; nothing is read past the text.
        {"A\x83", true, 3, 3, 0, 2, {"SelectFont(h=30,esc=0)", "TextOut(100,870,\"A\")"}},
        // An escape with nothing after it ends the text.
        {"A\\U", false, 3, 3, 0, 3, {"SelectFont(h=30,esc=0)", "TextOut(100,870,\"A\")"}},
        // Turned by 90 degrees: the cell's top lies to the left, the pen moves up.
        {"AB", false, 3, 3, 90, 2,
         {"SelectFont(h=30,esc=900)", "TextOut(70,900,\"A\")", "TextOut(70,885,\"B\")"}},
    };
    for (const Case& c : cases) {
        PlotRenderer r(TestMapping());
        r.SetPage(s.GetPage(0));
        CRecordingDC dc;
        const std::string bytes = c.raw ? c.text : Utf8ToCp932(c.text);
        EXPECT_EQ(r.PrintPlotText(10, 10, c.height, c.width, bytes, c.angle, 1, dc), c.consumed) << c.text;
        std::vector<std::string> calls;
        for (const DcCall& call : dc.Calls())
            if (call.op == "SelectFont" || call.op == "TextOut") calls.push_back(call.Describe(false));
        EXPECT_EQ(calls, c.calls) << c.text;
        // The text colour is the layer's and goes back afterwards.
        for (const DcCall& call : dc.Calls()) {
            if (call.op == "TextOut") {
                EXPECT_EQ(call.state.textColor, RGB(255, 0, 0));
            }
        }
        EXPECT_EQ(dc.GetTextColor(), RGB(0, 0, 0));
    }
}

TEST(PlotRendererPage, DrawsInFileOrderOneFontPerRunAndRestoresTheContext) {
    CPlotStore s = Store(
        "LY0,25,1,1,A\r\n"
        "VJ100000,100000,300000,300000,0,1,AB\r\n"
        "DL0,0,1000000,0,1\r\n"
        "VJ100000,200000,300000,300000,0,1,CD\r\n"   // same size: the font is kept
        "AP5000000,5000000,200000,2,77\r\n"          // layer 77: layer 0, black
        "VJ100000,300000,300000,300000,4500000,1,E\r\n");  // new angle: a new font
    PlotRenderer r(TestMapping());
    CRecordingDC dc;
    dc.SetDeviceCaps(NUMCOLORS, 256);
    const DcState before = dc.GetState();
    ASSERT_EQ(r.PrintPlotData(dc, s), 0);
    std::vector<std::string> drawn;
    for (const DcCall& c : dc.Calls())
        if (c.op == "TextOut" || c.op == "LineTo" || c.op == "SetPixel" || c.op == "SelectFont")
            drawn.push_back(c.op);
    EXPECT_EQ(drawn, (std::vector<std::string>{"SelectFont", "TextOut", "TextOut", "LineTo", "TextOut",
                                               "TextOut", "SetPixel", "SelectFont", "TextOut",
                                               "SelectFont"}));
    EXPECT_EQ(Ops(dc, "SetPixel"), (std::vector<std::string>{"SetPixel(500,500,0x000000)"}));
    DcState after = dc.GetState();
    after.position = before.position;
    EXPECT_EQ(after, before);
    // Rendering is read-only: the same store draws the same calls again.
    CRecordingDC again;
    ASSERT_EQ(r.PrintPlotData(again, s), 0);
    EXPECT_EQ(again.AllCalls(), dc.AllCalls());
    CPlotStore empty;
    EXPECT_EQ(r.PrintPlotData(again, empty), -1);
}

TEST(PlotRendererPage, AbsurdForeignRecordsEndWithinBounds) {
    // Radii, sizes and coordinates far beyond any sheet, negative layers and pens: every
    // record is drawn or skipped, the walk ends, and the context's state comes back.
    CPlotStore s = Store(
        "LT1,0,1,0,D\r\nLY1,99999999999,1,1,A\r\n"
        "EL0,0,99999999999999999999999,5,0,0,36000000,1\r\n"
        "GC100000,0,0,0,100000,0,-3,-1\r\n"
        "AP0,0,-500000,21,1\r\n"
        "DL-99999999999999999999,0,99999999999999999999,1,1\r\n"
        "LL0,0,0,0,1\r\nLL99999999999999999999,5,7,1,1\r\nLL1,1,2,1,1\r\n"
        "VJ0,0,99999999999999999999,1,99999999999999999,1,A\\U\r\n"
        "AH0,0,0,0,100000,100000,25,1\r\n");
    PlotRenderer r(TestMapping());
    CRecordingDC dc;
    const DcState before = dc.GetState();
    ASSERT_EQ(r.PrintPlotData(dc, s), 0);
    for (const DcCall& c : dc.Calls())
        for (long long a : c.args) EXPECT_LE(std::llabs(a), 1LL << 32) << c.op;
    DcState after = dc.GetState();
    after.position = before.position;
    EXPECT_EQ(after, before);
}
