// The example bay calculated, drawn on an image (saved as PNG for review; set
// WAVORA_DRAW_REVIEW_PNG / WAVORA_DRAW_REVIEW_PDF to keep copies) and printed to a PDF on
// a JIS B4 sheet. A program of its own: the solver must run before the application
// object exists, as its window would otherwise need the GUI thread the test waits on.
#include "calc/cal_threads.h"
#include "calc/calc_state.h"
#include "calc/result_loader.h"
#include "calcdoc/wave_calc_command.h"
#include "draw/color_map.h"
#include "draw/digital_map_draw.h"
#include "draw/marks_draw.h"
#include "draw/terrain_draw.h"
#include "draw/view_geometry.h"
#include "platform/qt/qt_dc.h"
#include "project/tik_doc.h"
#include "tests/calcdoc/calcdoc_test_util.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

namespace wv {
namespace {

void EnsureApplication() {
    static int argc = 1;
    static char arg0[] = "draw_bay_tests";
    static char* argv[] = {arg0, nullptr};
    if (QApplication::instance() == nullptr) new QApplication(argc, argv);
}

class Bay : public roadtest::BayTest {
protected:
    // 25 x 25 nodes 100 m apart over the bay, waves from the north, calculated and loaded.
    void Calculate(CTydDoc& doc, CTydViewData& view) {
        DepthsOnBay(doc, view, "BAYFIG.TYD", 25, 100.0);
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
