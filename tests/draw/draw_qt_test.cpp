// The figure routines on Qt: XOR marks on a window image, rotated Japanese text, and the
// example bay calculated, drawn on an image (saved as PNG for review) and printed to a
// PDF on a JIS B4 sheet.
#include "calc/cal_threads.h"
#include "calc/calc_state.h"
#include "calc/result_loader.h"
#include "calcdoc/wave_calc_command.h"
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
#include "project/tik_doc.h"
#include "tests/calcdoc/calcdoc_test_util.h"
#include "tests/draw/draw_test_util.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <regex>

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

// ---- the example bay -------------------------------------------------------------------

// The solver runs headless (its window would need the GUI thread this test waits on), so
// the application is made only after the results are in.
class Bay : public ::testing::Test {
protected:
    void SetUp() override {
        roadtest::UseScratchStartFolder();
        SetCalcProgressFactory([] { return std::unique_ptr<CCalcProgressDlg>(new CTestCalcProgressDlg()); });
        ASSERT_TRUE(project.OnOpenDocument(std::string(WAVORA_SOURCE_DIR) + "/examples/bay/BAY/BAY.TIK"));
    }
    void TearDown() override {
        SetCalcProgressFactory(nullptr);
        CCalThreads::CancelAndJoinAll();
        ResetTikData();
    }

    // 25 x 25 nodes 100 m apart over the bay, waves from the north, calculated and loaded.
    void Calculate(CTydDoc& doc, CTydViewData& view) {
        roadtest::OpenNew(doc, "BAYFIG.TYD");
        doc.m_calcArea.SetOrigin(0.0, 200.0);
        doc.m_calcArea.SetMeshSize(100.0);
        doc.m_calcArea.SetMeshCountX(25);
        doc.m_calcArea.SetMeshCountY(25);
        doc.m_info.m_nDirMode = 0;
        doc.m_info.m_nDir16 = 0;
        doc.m_info.m_dH0 = 2.0;
        doc.m_info.m_dT0 = 8.0;
        doc.m_info.m_nDirDiv = 36;
        doc.m_info.m_nFreqDiv = 5;
        frame = CalcViewFrame();
        frame.angle = CalcViewAngle(doc);
        frame.originX = 0.0;
        frame.originY = 200.0;
        ASSERT_EQ(doc.OnCalcDepth(view, frame), 0);
        CWaveCalcSlot slot;
        ASSERT_EQ(OnWaveCalc(doc, view, frame, slot), 0);
        slot.Wait();
        ASSERT_EQ(slot.GetExitCode(), 0);
        ASSERT_EQ(LoadCalcResults(doc, view, frame), kResultsLoaded);
    }

    // The calculation view's figure: colour map, land, terrain, marks and frames, with the
    // area's centre at the middle of a w x h client and `pxPerM` pixels per metre.
    static void DrawFigure(const CTydDoc& doc, CDC* dc, int w, int h, double pxPerM, double angle) {
        CCoordWnd coord;
        coord.SetOrigin(1200.0, 1400.0);
        coord.SetScale(pxPerM);
        coord.SetAngle(angle);
        DrawContext ctx;
        ctx.coord = &coord;
        ctx.doc = &doc;
        ctx.clientW = w;
        ctx.clientH = h;
        const int sx = 15000 - w / 2, sy = 15000 - h / 2;
        ctx.scrollX = sx;
        ctx.scrollY = sy;
        dc->FillSolidRect(0, 0, w, h, kBlack);
        DrawColorMap(ctx, dc, sx, sy);
        DrawLandFill(ctx, dc, sx, sy, 1);
        DrawTerrainLinesCalc(ctx, dc, sx, sy);
        DrawSurveyPointMarksCalc(ctx, dc, sx, sy);
        DrawCalcAreaOutline(ctx, dc, sx, sy);
        DrawBlocks(dc, coord, w, h, sx, sy);
        DrawVectorMap(ctx, dc, sx, sy, -1);
        for (int i = 0; i < CSansyutu::kCapacity; ++i) DrawCalcPoints(dc, coord, w, h, sx, sy, i, 0);
        DrawNorthMark(ctx, dc, sx, sy, 1);
        DrawIncidentMark(ctx, dc, sx, sy, 1);
        DrawDrawingFrame(ctx, dc, sx, sy);
    }

    CalcViewFrame frame;
    ScriptedUi ui;
    ScopedUi scoped{&ui};
    CTikDoc project;
};

TEST_F(Bay, ColourMapTerrainLandAndMarksOnAnImageAndOnAJisB4Sheet) {
    CTydDoc doc;
    CTydViewData view(doc);
    Calculate(doc, view);
    if (HasFailure()) return;
    EnsureApplication();
    const double angle = frame.angle;
    doc.m_zmn.m_nScale = 5000;
    doc.m_zmn.m_nValueType = 1;
    doc.m_zmn.m_ptNorthMark = CPointD(250.0, 2450.0);
    doc.m_zmn.m_ptWaveMark = CPointD(2050.0, 2450.0);
    doc.m_zmn.m_dCenterX = 1200.0;
    doc.m_zmn.m_dCenterY = 1400.0;
    doc.m_zmn.m_dVectorLow[1] = 0.0;
    doc.m_zmn.m_dVectorHigh[1] = 1.5;
    doc.m_zmn.m_dVectorMin = 1.0;
    doc.m_zmn.m_dVectorMax = 8.0;
    for (int i = 0; i < doc.m_mesh.GetCount(); ++i) {
        const CPointF p = doc.m_mesh.GetAt(i).GetPos();
        const int c = static_cast<int>(p.m_fX / 100.0f + 0.5f), r = static_cast<int>(p.m_fY / 100.0f + 0.5f);
        doc.m_mesh.SetVectorFlag(i, (r % 3 == 0 && c % 3 == 0) ? 1 : 0);
    }

    QImage img(900, 800, QImage::Format_RGB32);
    {
        CQtDC dc(&img);
        DrawFigure(doc, &dc, 900, 800, 0.3, angle);
    }
    ASSERT_TRUE(img.save(QStringLiteral("bay_figure.png")));
    if (const char* copy = std::getenv("WAVORA_DRAW_REVIEW_PNG")) img.save(QString::fromLocal8Bit(copy));

    // Where the data says: the deep mouth of the bay (north) is in the colour ramp, the
    // land block at the south is tan, the strips outside the mesh are black.
    auto at = [&](double wx, double wy) {
        const int x = static_cast<int>(450 + (wx - 1200.0) * 0.3), y = static_cast<int>(400 - (wy - 1400.0) * 0.3);
        return img.pixel(x, y) & 0xFFFFFF;
    };
    EXPECT_EQ(at(1200.0, 250.0), 0xD2B48Cu);  // land: tan (R 0xD2, G 0xB4, B 0x8C)
    const QRgb sea = at(1200.0, 2300.0);
    EXPECT_NE(sea, 0xD2B48Cu);
    EXPECT_NE(sea, 0x000000u);
    EXPECT_EQ(img.pixel(5, 5) & 0xFFFFFF, 0u);  // outside the mesh

    // The same figure on a JIS B4 sheet, portrait, written as PDF.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QStringLiteral("bay_b4.pdf"));
    printer.setPageSize(QPageSize(QPageSize::JisB4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
    printer.setResolution(150);
    QPainter painter;
    ASSERT_TRUE(painter.begin(&printer));
    {
        CQtDC dc(&printer, &painter);
        const int w = dc.GetDeviceCaps(HORZRES), h = dc.GetDeviceCaps(VERTRES);
        EXPECT_NEAR(w, 257.0 / 25.4 * 150.0, 3.0);
        EXPECT_NEAR(h, 364.0 / 25.4 * 150.0, 3.0);
        DrawFigure(doc, &dc, w, h, w / 2600.0, angle);
    }
    painter.end();
    if (const char* copy = std::getenv("WAVORA_DRAW_REVIEW_PDF")) QFile::copy(QStringLiteral("bay_b4.pdf"), QString::fromLocal8Bit(copy));
    QFile f(QStringLiteral("bay_b4.pdf"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const std::string pdf = f.readAll().toStdString();
    std::smatch m;
    ASSERT_TRUE(std::regex_search(pdf, m, std::regex(R"(/MediaBox \[0 0 ([0-9.]+) ([0-9.]+)\])")));
    EXPECT_NEAR(std::stod(m[1]), 257.0 / 25.4 * 72.0, 1.0);
    EXPECT_NEAR(std::stod(m[2]), 364.0 / 25.4 * 72.0, 1.0);
}

}  // namespace
}  // namespace wv
