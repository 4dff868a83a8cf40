// The figure routines on Qt: XOR marks on a window image, rotated Japanese text, the
// mode cursors.
#include "draw/color_map.h"
#include "draw/contour_draw.h"
#include "draw/digital_map_draw.h"
#include "draw/marks_draw.h"
#include "draw/mode_prompt.h"
#include "draw/primitives.h"
#include "draw/qt/mode_cursor_qt.h"
#include "draw/terrain_draw.h"
#include "draw/view_geometry.h"
#include "platform/qt/qt_dc.h"
#include "platform/text.h"
#include "tests/draw/draw_test_util.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

#include <random>

namespace wv {
namespace {

void EnsureApplication() {
    static int argc = 1;
    static char arg0[] = "draw_qt_tests";
    static char* argv[] = {arg0, nullptr};
    if (QApplication::instance() == nullptr) new QApplication(argc, argv);
}

class DrawQt : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureApplication(); }
};

QImage RandomImage(int w, int h, unsigned seed) {
    QImage img(w, h, QImage::Format_RGB32);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, 0xFF000000u | (rng() & 0xFFFFFF));
    return img;
}

// Every routine that draws with XOR, twice, over random pixels: the image comes back bit
// for bit. The sizes keep the marks' painted texts under a pixel.
TEST_F(DrawQt, EveryXorRoutineDrawnTwiceLeavesTheImageAsItWas) {
    drawtest::Scene s;
    s.coord.SetScale(0.5);
    s.doc.m_zmn.m_nScale = 400;  // 0.2 px/mm
    s.doc.m_zmn.m_ptWaveMark = CPointD(0, 0);
    s.doc.m_zmn.m_ptNorthMark = CPointD(40, 40);
    s.doc.m_zmn.m_nFrameWidth = 300;
    s.doc.m_zmn.m_nFrameHeight = 200;
    s.calcPoints.Add(10, 10);
    auto unnamed = s.calcPoints.GetAt(0);
    unnamed.SetName("");
    s.calcPoints.SetAt(0, unnamed);
    s.doc.m_pCalcPoints.assign(10, CPointD::Unset());
    s.doc.m_pCalcPoints[0] = CPointD(-30, 20);
    s.points.Add(-20, -10, 0);
    s.ctx.clientW = 120;
    s.ctx.clientH = 90;
    QImage img = RandomImage(120, 90, 11);
    const QImage before = img.copy();
    CQtDC dc(&img);
    const int sx = 14940, sy = 14955;
    dc.SetViewportOrg(0, 0);
    CPointList poly(CPointD(-50, -30));
    poly.AddTail(CPointD(20, 35));
    poly.AddTail(CPointD(60, -20));
    int mode = 21;
    CRect drag{10, 10, 10, 10}, last;
    for (int pass = 0; pass < 2; ++pass) {
        DrawCalcPoints(&dc, s.coord, 120, 90, sx, sy, 0, 0, s.calcPoints);
        DrawAreaPolygon(&dc, s.coord, 120, 90, sx, sy, &poly, 5.0, -5.0, 0);
        DrawRotateGuide(&dc, s.coord, sx, sy, 0, CPointD(15030, 14990), s.points);
        DrawMeasureLine(&dc, s.coord, sx, sy, CPointD(-40, 0), CPointD(15010, 15040));
        DrawIncidentMark(s.ctx, &dc, sx, sy, 1);
        DrawNorthMark(s.ctx, &dc, sx, sy, 1);
        DrawCalcPointFrames(s.ctx, &dc, sx, sy, 0, 1);
        DrawDrawingFrame(s.ctx, &dc, sx, sy);
    }
    // The drag machine: each move erases the frame before it; the last one is taken
    // back by drawing it once more.
    DrawDragFrame(&dc, 70, 50, mode, drag, last);
    DrawDragFrame(&dc, 100, 80, mode, drag, last);
    DrawDragFrame(&dc, 40, 20, mode, drag, last);
    dc.DrawDragRect(last, CSize{1, 1}, nullptr, CSize{1, 1});
    EXPECT_EQ(img, before);
    // Scrolled through the viewport origin instead: the same.
    CQtDC scrolled(&img);
    scrolled.SetViewportOrg(-sx, -sy);
    for (int pass = 0; pass < 2; ++pass)
        DrawAreaPolygon(&scrolled, s.coord, 120, 90, sx, sy, &poly, 5.0, -5.0, 1);
    EXPECT_EQ(img, before);
}

QRect InkBox(const QImage& img) {
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) != 0) box |= QRect(x, y, 1, 1);
    return box;
}

TEST_F(DrawQt, RotatedJapaneseTextLeavesInkInsideItsCells) {
    QImage img(200, 200, QImage::Format_RGB32);
    img.fill(Qt::black);
    CQtDC dc(&img);
    const std::string text = Utf8ToCp932("波高");
    EXPECT_EQ(DrawRotatedText(20.0, 60.0, 30.0, 30.0, text, 0.0, 7, 0, &dc), 4);
    QRect box = InkBox(img);
    ASSERT_FALSE(box.isEmpty());
    EXPECT_TRUE(QRect(20, 30, 60, 30).contains(box));
    EXPECT_GT(box.width(), 40);  // two characters, not boxes of nothing

    // Turned 90 degrees: the text runs up the screen from (100, 180), its cells to the
    // left of the pen line.
    img.fill(Qt::black);
    DrawRotatedText(100.0, 180.0, 30.0, 30.0, text, 90.0, 7, 0, &dc);
    box = InkBox(img);
    ASSERT_FALSE(box.isEmpty());
    EXPECT_TRUE(QRect(70, 120, 30, 60).contains(box)) << box.x() << "," << box.y() << " " << box.width() << "x"
                                                      << box.height();
}

TEST_F(DrawQt, ModeCursorsAreOurOwnBitmaps) {
    QWidget w;
    SetModeCursor(&w, 10);
    EXPECT_EQ(w.cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(w.cursor().hotSpot(), QPoint(0, 0));
    SetModeCursor(&w, 11);
    EXPECT_EQ(w.cursor().hotSpot(), QPoint(1, 1));
}

}  // namespace
}  // namespace wv
