// The drawing context's own rules, headless: selections hand back what they replace, the
// pixel rules of lines and shapes, XOR reversibility, and coordinates far off the device.
#include "platform/dc.h"
#include "platform/pixel_core.h"
#include "platform/recording_dc.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

namespace wv {
namespace {

std::vector<std::uint32_t> RandomPixels(int n, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<std::uint32_t> v(static_cast<std::size_t>(n));
    for (auto& p : v) p = 0xFF000000u | (rng() & 0xFFFFFFu);
    return v;
}

int CountColor(const PixelImage& img, COLORREF c) {
    int n = 0;
    for (auto p : img.Pixels())
        if (p == PixelFromColor(c)) ++n;
    return n;
}

TEST(DcSelection, EachSelectionReturnsWhatItReplaced) {
    CRecordingDC dc;
    const DcState initial = dc.GetState();
    const CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    EXPECT_EQ(dc.SelectObject(red), CPen());
    EXPECT_EQ(dc.SelectObject(CPen()), red);
    EXPECT_EQ(dc.SelectObject(CBrush::Null()), CBrush());
    EXPECT_EQ(dc.SetROP2(R2_XORPEN), R2_COPYPEN);
    EXPECT_EQ(dc.SetROP2(R2_COPYPEN), R2_XORPEN);
    EXPECT_EQ(dc.SetTextColor(0x123456), RGB(0, 0, 0));
    EXPECT_EQ(dc.SetBkMode(TRANSPARENT), OPAQUE);
    EXPECT_EQ(dc.SetViewportOrg(-5, -7), (CPoint{0, 0}));
    EXPECT_EQ(dc.SetViewportOrg(0, 0), (CPoint{-5, -7}));
    dc.SelectObject(CBrush());
    dc.SetTextColor(RGB(0, 0, 0));
    dc.SetBkMode(OPAQUE);
    EXPECT_EQ(dc.GetState(), initial);
}

TEST(DcSelection, GuardsRestoreOnScopeExit) {
    CRecordingDC dc;
    const DcState initial = dc.GetState();
    {
        ScopedPen pen(dc, CPen(PS_DOT, 1, RGB(1, 2, 3)));
        ScopedBrush brush(dc, CBrush::Null());
        CFont f;
        f.m_nHeight = 14;
        ScopedFont font(dc, f);
        ScopedRop2 rop(dc, R2_XORPEN);
        ScopedTextColor tc(dc, RGB(9, 9, 9));
        ScopedBkColor bc(dc, RGB(8, 8, 8));
        ScopedBkMode bm(dc, TRANSPARENT);
        ScopedViewportOrg org(dc, -100, -200);
        EXPECT_EQ(dc.GetCurrentFont().m_nHeight, 14);
        EXPECT_EQ(dc.GetViewportOrg(), (CPoint{-100, -200}));
    }
    EXPECT_EQ(dc.GetState(), initial);
}

TEST(DcPixels, LineLeavesOutItsLastPixelAndPolylineDrawsVerticesOnce) {
    PixelImage img(20, 20);
    CRecordingDC dc(img.Surface());
    dc.SelectObject(CPen(PS_SOLID, 1, RGB(255, 255, 255)));
    dc.MoveTo(2, 3);
    dc.LineTo(8, 3);
    EXPECT_EQ(CountColor(img, RGB(255, 255, 255)), 6);
    EXPECT_EQ(img.At(2, 3), 0xFFFFFFFFu);
    EXPECT_EQ(img.At(8, 3), 0xFF000000u);

    // XOR: a vertex drawn twice would come out black again.
    PixelImage x(20, 20);
    CRecordingDC xdc(x.Surface());
    xdc.SelectObject(CPen(PS_SOLID, 1, RGB(255, 255, 255)));
    xdc.SetROP2(R2_XORPEN);
    const CPoint pts[] = {{1, 1}, {10, 1}, {10, 10}, {1, 10}};
    xdc.Polyline(pts, 4);
    EXPECT_EQ(x.At(10, 1), 0xFFFFFFFFu);
    EXPECT_EQ(x.At(10, 10), 0xFFFFFFFFu);
    EXPECT_EQ(x.At(1, 10), 0xFF000000u);  // the last point is not drawn
    EXPECT_EQ(CountColor(x, RGB(255, 255, 255)), 27);
}

TEST(DcPixels, RectangleExcludesRightAndBottomAndBrushFillsInside) {
    PixelImage img(20, 20);
    CRecordingDC dc(img.Surface());
    dc.SelectObject(CPen(PS_SOLID, 1, RGB(255, 0, 0)));
    dc.SelectObject(CBrush(RGB(0, 0, 255)));
    dc.Rectangle(2, 2, 7, 6);  // 5 x 4 pixels
    EXPECT_EQ(CountColor(img, RGB(255, 0, 0)), 14);
    EXPECT_EQ(CountColor(img, RGB(0, 0, 255)), 6);
    EXPECT_EQ(img.At(6, 5), PixelFromColor(RGB(255, 0, 0)));
    EXPECT_EQ(img.At(7, 5), 0xFF000000u);
    EXPECT_EQ(img.At(6, 6), 0xFF000000u);
}

TEST(DcPixels, DottedPenLeavesItsGapsUntouched) {
    PixelImage img(40, 3, 0xFF112233u);
    CRecordingDC dc(img.Surface());
    dc.SelectObject(CPen(PS_DOT, 1, RGB(255, 255, 255)));
    dc.MoveTo(0, 1);
    dc.LineTo(36, 1);
    int on = 0, gap = 0;
    for (int x = 0; x < 36; ++x) (img.At(x, 1) == 0xFFFFFFFFu ? on : gap) += 1;
    EXPECT_EQ(on, 18);
    EXPECT_EQ(gap, 18);
    EXPECT_EQ(img.At(4, 1), 0xFF112233u);
}

TEST(DcPixels, FillSolidRectAndSetPixelIgnoreTheRop) {
    PixelImage img(10, 10, 0xFF0000FFu);
    CRecordingDC dc(img.Surface());
    dc.SetROP2(R2_XORPEN);
    dc.FillSolidRect(1, 1, 3, 2, RGB(0, 255, 0));
    dc.SetPixel(5, 5, RGB(255, 0, 0));
    EXPECT_EQ(img.At(1, 1), 0xFF00FF00u);
    EXPECT_EQ(img.At(3, 2), 0xFF00FF00u);
    EXPECT_EQ(img.At(4, 2), 0xFF0000FFu);
    EXPECT_EQ(img.At(5, 5), 0xFFFF0000u);
}

TEST(DcPixels, XorIsDestinationRgbXorPenRgb) {
    PixelImage img(4, 4, 0xFF123456u);
    CRecordingDC dc(img.Surface());
    dc.SetROP2(R2_XORPEN);
    dc.SelectObject(CPen(PS_SOLID, 1, RGB(0xF0, 0x0F, 0xFF)));  // COLORREF 0xFF0FF0
    dc.MoveTo(0, 0);
    dc.LineTo(1, 0);
    EXPECT_EQ(img.At(0, 0), 0xFF000000u | (0x123456u ^ 0xF00FFFu));
}

// Every XOR shape drawn twice over random pixels leaves them bit for bit.
TEST(DcPixels, EveryXorShapeDrawnTwiceRestoresRandomPixels) {
    PixelImage img(64, 48);
    img.Pixels() = RandomPixels(64 * 48, 7);
    const auto before = img.Pixels();
    CRecordingDC dc(img.Surface());
    dc.SetROP2(R2_XORPEN);
    dc.SelectObject(CPen(PS_SOLID, 1, RGB(255, 255, 0)));
    dc.SelectObject(CBrush::Null());
    dc.SetViewportOrg(-3, 2);
    const CPoint poly[] = {{0, 0}, {30, 5}, {30, 5}, {5, 40}, {60, 44}, {0, 0}};
    const CRect drag{5, 5, 50, 30};
    const CRect drag2{8, 2, 40, 45};
    for (int pass = 0; pass < 2; ++pass) {
        dc.MoveTo(-10, -10);
        dc.LineTo(70, 33);
        dc.Polyline(poly, 6);
        dc.Polygon(poly, 5);
        dc.Rectangle(3, 4, 40, 30);
        dc.Rectangle(10, 10, 11, 20);
        dc.Ellipse(10, 10, 19, 19);
        dc.Ellipse(-20, -5, 90, 70);
        dc.Arc(5, 5, 45, 35, 5, 5, 5, 5);
        dc.Arc(5, 5, 45, 35, 45, 20, 5, 20);
        dc.DrawDragRect(drag, CSize{1, 1}, nullptr, CSize{1, 1});
        dc.DrawDragRect(drag2, CSize{2, 3}, &drag, CSize{1, 1});
        dc.DrawDragRect(drag2, CSize{2, 3}, nullptr, CSize{1, 1});
    }
    EXPECT_EQ(img.Pixels(), before);
}

TEST(DcPixels, DragRectWithLastErasesTheOldFrame) {
    PixelImage img(30, 30);
    CRecordingDC dc(img.Surface());
    const CRect a{2, 2, 20, 20};
    const CRect b{5, 5, 25, 28};
    dc.DrawDragRect(a, CSize{1, 1}, nullptr, CSize{1, 1});
    dc.DrawDragRect(b, CSize{1, 1}, &a, CSize{1, 1});
    PixelImage only(30, 30);
    CRecordingDC dc2(only.Surface());
    dc2.DrawDragRect(b, CSize{1, 1}, nullptr, CSize{1, 1});
    EXPECT_EQ(img.Pixels(), only.Pixels());
    // The checker is anchored at device (0, 0): (2, 2) is inverted, (3, 2) is not.
    EXPECT_EQ(only.At(6, 5), 0xFF000000u);
    EXPECT_EQ(only.At(5, 5), 0xFFFFFFFFu);
}

TEST(DcPixels, FullArcAndChordDiscs) {
    PixelImage img(20, 20);
    CRecordingDC dc(img.Surface());
    dc.SelectObject(CPen(PS_SOLID, 1, RGB(0, 255, 0)));
    dc.SelectObject(CBrush(RGB(0, 255, 0)));
    dc.Chord(3, 3, 7, 7, 3, 5, 3, 5);  // start = end: the whole disc
    EXPECT_EQ(img.At(4, 4), PixelFromColor(RGB(0, 255, 0)));
    EXPECT_EQ(img.At(5, 5), PixelFromColor(RGB(0, 255, 0)));
    EXPECT_EQ(img.At(7, 5), 0xFF000000u);
    EXPECT_GE(CountColor(img, RGB(0, 255, 0)), 12);
}

TEST(DcPixels, PolygonFillsByTheAlternateRule) {
    PixelImage img(30, 30);
    CRecordingDC dc(img.Surface());
    dc.SelectObject(CPen(PS_NULL, 1, 0));
    dc.SelectObject(CBrush(RGB(255, 255, 255)));
    // A square drawn twice around: the inner square is crossed twice and stays empty.
    const CPoint pts[] = {{0, 0}, {20, 0}, {20, 20}, {0, 20}, {0, 0},
                          {5, 5}, {15, 5}, {15, 15}, {5, 15}, {5, 5}};
    dc.Polygon(pts, 10);
    EXPECT_EQ(img.At(2, 2), 0xFFFFFFFFu);
    EXPECT_EQ(img.At(10, 10), 0xFF000000u);
}

// Coordinates at the ends of the int range: clipped before stepping, nothing wraps.
TEST(DcPixels, HugeCoordinatesAreClippedNotWrapped) {
    PixelImage img(50, 40);
    CRecordingDC dc(img.Surface());
    dc.SelectObject(CPen(PS_SOLID, 1, RGB(255, 255, 255)));
    dc.SetViewportOrg(-10, -10);
    dc.MoveTo(INT_MIN, 30);
    dc.LineTo(INT_MAX, 30);
    EXPECT_EQ(CountColor(img, RGB(255, 255, 255)), 50);
    dc.SelectObject(CBrush::Null());
    dc.Ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    dc.Rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    dc.FillSolidRect(INT_MAX - 5, INT_MAX - 5, 1000, 1000, RGB(1, 1, 1));
    dc.DrawDragRect(CRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, CSize{1, 1}, nullptr, CSize{1, 1});
    SUCCEED();
}

TEST(DcRecording, RecordsCallsWithTheStateInForce) {
    CRecordingDC dc(100, 100);
    dc.SelectObject(CPen(PS_SOLID, 1, RGB(255, 255, 0)));
    dc.SetROP2(R2_XORPEN);
    dc.MoveTo(1, 2);
    dc.LineTo(3, 4);
    dc.SelectObject(CBrush::Null());
    dc.Ellipse(0, 0, 8, 8);
    dc.FillSolidRect(1, 1, 2, 2, RGB(0x12, 0x34, 0x56));
    const std::vector<std::string> expected = {
        "LineTo(3,4) pen=0/1/0x00FFFF xor",
        "Ellipse(0,0,8,8) pen=0/1/0x00FFFF brush=null xor",
        "FillSolidRect(1,1,2,2,0x563412)",
    };
    EXPECT_EQ(dc.Log(), expected);
    EXPECT_EQ(dc.Count("SelectPen"), 1);
    EXPECT_EQ(dc.AllCalls().front(), "SelectPen(0,1,0x00FFFF)");
}

TEST(DcRecording, RectVisibleFollowsTheViewportOrigin) {
    CRecordingDC dc(100, 80);
    EXPECT_TRUE(dc.RectVisible(CRect{90, 70, 120, 90}));
    EXPECT_FALSE(dc.RectVisible(CRect{100, 0, 120, 10}));
    dc.SetViewportOrg(-50, 0);
    EXPECT_TRUE(dc.RectVisible(CRect{100, 0, 120, 10}));
    EXPECT_FALSE(dc.RectVisible(CRect{0, 0, 50, 10}));
    EXPECT_FALSE(dc.RectVisible(CRect{60, 10, 60, 20}));  // empty
    EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 100);
    EXPECT_EQ(dc.GetDeviceCaps(NUMCOLORS), -1);
}

}  // namespace
}  // namespace wv
