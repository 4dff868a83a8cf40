// Printing a figure with Qt, offscreen: the page a PDF gets, the golden figure's frame on
// a 100 dpi image, grey printing, and the print preview.
#include "draw/plot_store.h"
#include "draw/plot_renderer.h"
#include "draw/qt/figure_printer.h"
#include "platform/files.h"
#include "platform/qt/qt_dc.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <string>

using namespace wv;

namespace {

class TestDoc : public CTydDocData {
public:
    void Serialize(CArchive&) override {}
};

class FigurePrinter : public testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char arg0[] = "figure_printer_test";
        static char* argv[] = {arg0, nullptr};
        if (QApplication::instance() == nullptr) new QApplication(argc, argv);
    }
    void SetUp() override {
        std::string text;
        ASSERT_TRUE(ReadWholeFile(std::string(WAVORA_TEST_DATA) + "/draw/golden_figure.plt", text, nullptr));
        ASSERT_EQ(m_store.ReadPlotText(0, text), 0);
        m_doc.m_zmn.m_nPaperSize = 4;  // A4 landscape, as the golden figure was drawn
        m_doc.m_zmn.m_nPaperOrient = 0;
        m_doc.m_zmn.m_bColorContour = 0;
        m_doc.m_zmn.m_bFillLand = 0;
    }
    PrintFigureRequest Request() { return PrintFigureRequest{m_doc, m_store, 0.0, 10.0, 10.0}; }

    TestDoc m_doc;
    CPlotStore m_store;
};

// The page size of a PDF in points, from its first MediaBox.
bool MediaBox(const std::string& path, double* w, double* h) {
    std::string pdf;
    if (!ReadWholeFile(path, pdf, nullptr)) return false;
    std::smatch m;
    static const std::regex box(R"(/MediaBox\s*\[\s*0\s+0\s+([0-9.]+)\s+([0-9.]+)\s*\])");
    if (!std::regex_search(pdf, m, box)) return false;
    *w = std::stod(m[1]);
    *h = std::stod(m[2]);
    return true;
}

bool IsBlack(QRgb p) { return qRed(p) < 64 && qGreen(p) < 64 && qBlue(p) < 64; }

}  // namespace

TEST_F(FigurePrinter, PdfPageIsTheSheetOfTheDrawingConditions) {
    struct Case {
        int paper, orient;
        double wMm, hMm;
    };
    // A3 landscape 420 x 297 mm; JIS B4 upright 257 x 364 mm (ISO B4 would be 250 x 353).
    for (Case c : {Case{3, 0, 420, 297}, Case{9, 1, 257, 364}}) {
        m_doc.m_zmn.m_nPaperSize = c.paper;
        m_doc.m_zmn.m_nPaperOrient = c.orient;
        std::string err;
        ASSERT_TRUE(PrintFigureToPdf("figure.pdf", Request(), &err)) << err;
        double w = 0, h = 0;
        ASSERT_TRUE(MediaBox("figure.pdf", &w, &h));
        EXPECT_NEAR(w, c.wMm / 25.4 * 72.0, 1.0) << c.paper;
        EXPECT_NEAR(h, c.hMm / 25.4 * 72.0, 1.0) << c.paper;
    }
    // Kept for a look when asked (the test's scratch folder goes when it passes).
    if (const char* keep = std::getenv("WAVORA_FIGURE_PDF")) {
        m_doc.m_zmn.m_nPaperSize = 4;
        m_doc.m_zmn.m_nPaperOrient = 0;
        std::string err;
        EXPECT_TRUE(PrintFigureToPdf(keep, Request(), &err)) << err;
    }
}

TEST_F(FigurePrinter, NothingToPrintLeavesNoFile) {
    CPlotStore empty;
    std::string err;
    EXPECT_FALSE(PrintFigureToPdf("none.pdf", PrintFigureRequest{m_doc, empty}, &err));
    EXPECT_FALSE(err.empty());
    EXPECT_FALSE(FileExists("none.pdf"));
}

TEST_F(FigurePrinter, GoldenFigureFrameLandsOnTheMappedPixels) {
    // A4 landscape at 100 dpi: 1169 x 826 pixels; plot mm m lands on (m + 10) x 100 / 25.4
    // across and 826 - (m + 10) x 100 / 25.4 down (the sheet offsets are the margins).
    QImage image(1169, 826, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        CQtDC dc(&image);
        dc.SetDeviceCaps(LOGPIXELSX, 100);
        dc.SetDeviceCaps(LOGPIXELSY, 100);
        dc.SetDeviceCaps(NUMCOLORS, 256);
        dc.SetDeviceCaps(TECHNOLOGY, DT_RASPRINTER);
        ASSERT_EQ(PrintFigure(dc, Request()), 0);
    }
    // Frame: left x 39, right x 1129, bottom y 786 (0 mm), frame top y 77 (180 mm), top of
    // the title band y 38 (190 mm).
    for (int y : {100, 300, 700}) {
        EXPECT_TRUE(IsBlack(image.pixel(39, y))) << y;
        EXPECT_TRUE(IsBlack(image.pixel(1129, y))) << y;
        EXPECT_FALSE(IsBlack(image.pixel(41, y))) << y;
    }
    for (int x : {100, 600, 1100}) {
        EXPECT_TRUE(IsBlack(image.pixel(x, 786))) << x;
        EXPECT_TRUE(IsBlack(image.pixel(x, 77))) << x;
        EXPECT_TRUE(IsBlack(image.pixel(x, 38))) << x;
        EXPECT_FALSE(IsBlack(image.pixel(x, 30))) << x;  // the top margin
        EXPECT_FALSE(IsBlack(image.pixel(x, 800))) << x;  // the bottom margin
    }
    // The contour is blue, the title black ink inside the band.
    int blue = 0, titleInk = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qBlue(p) > 200 && qRed(p) < 60 && qGreen(p) < 60) ++blue;
            if (y > 39 && y < 76 && x > 50 && x < 250 && IsBlack(p)) ++titleInk;
        }
    EXPECT_GT(blue, 100);
    EXPECT_GT(titleInk, 50);
    if (const char* keep = std::getenv("WAVORA_FIGURE_PNG")) image.save(keep);
}

TEST_F(FigurePrinter, GreyPrintingHasNoColour) {
    // A colour map under the figure, printed on a two-colour device: no fills, black lines.
    m_doc.m_zmn.m_bColorContour = 1;
    m_doc.m_zmn.m_nScale = 1000;
    m_doc.m_zmn.m_nFrameWidth = 277;
    m_doc.m_zmn.m_nFrameHeight = 180;
    m_doc.m_info.m_nCalcState = 3;
    CDigitalMap& mesh = m_doc.m_mesh;
    mesh.SetMeshCountX(2), mesh.SetMeshCountY(2), mesh.SetMeshSize(100.0), mesh.SetCount(4);
    mesh.AllocValues(), mesh.AllocNodeIndex();
    for (int n = 0; n < 4; ++n) {
        CCalValue v;
        v.SetPos(static_cast<float>(n % 2 * 100), static_cast<float>(n / 2 * 100));
        v.SetHeightRatio(static_cast<float>(n));
        mesh.SetAt(n, v);
        mesh.SetNodeIndex(n / 2, n % 2, n);
    }
    for (int colours : {256, 2}) {
        QImage image(1169, 826, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            CQtDC dc(&image);
            dc.SetDeviceCaps(LOGPIXELSX, 100);
            dc.SetDeviceCaps(LOGPIXELSY, 100);
            dc.SetDeviceCaps(NUMCOLORS, colours);
            dc.SetDeviceCaps(TECHNOLOGY, DT_RASPRINTER);
            ASSERT_EQ(PrintFigure(dc, Request()), 0);
        }
        int coloured = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                if (qRed(p) != qGreen(p) || qGreen(p) != qBlue(p)) ++coloured;
            }
        if (colours == 2) {
            EXPECT_EQ(coloured, 0);
        } else {
            EXPECT_GT(coloured, 1000);
        }
    }
    // A grey printer reports two colours, so the rule above applies to it.
    QPrinter grey(QPrinter::HighResolution);
    grey.setOutputFormat(QPrinter::PdfFormat);
    grey.setOutputFileName("grey.pdf");
    grey.setColorMode(QPrinter::GrayScale);
    QPainter painter(&grey);
    CQtDC dc(&grey, &painter);
    EXPECT_TRUE(PrintMapping::FromDevice(dc, 1.0, 0, 0).TwoColour());
    painter.end();
}

TEST_F(FigurePrinter, PreviewRendersTheFigureAndLeavesTheStore) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    QPrintPreviewDialog* dialog = CreateFigurePreview(printer, Request(), nullptr);
    int painted = 0;
    QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, [&](QPrinter*) { ++painted; });
    auto* preview = dialog->findChild<QPrintPreviewWidget*>();
    ASSERT_NE(preview, nullptr);
    preview->updatePreview();
    QApplication::processEvents();
    EXPECT_GE(painted, 1);
    EXPECT_EQ(preview->pageCount(), 1);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_TRUE(m_store.HasData());  // rendering only reads the store
    if (const char* keep = std::getenv("WAVORA_PREVIEW_PNG")) {
        dialog->resize(1000, 750);
        dialog->show();
        for (int i = 0; i < 20; ++i) QApplication::processEvents();
        dialog->grab().save(keep);
    }
    delete dialog;
}
