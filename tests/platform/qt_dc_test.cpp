// The drawing context on Qt: the window image (text, XOR marks, the same pixels as the
// Qt-free rules) and the printer writing a PDF.
#include "platform/qt/qt_dc.h"
#include "platform/text.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QFile>

#include <gtest/gtest.h>

#include <random>

namespace wv {
namespace {

class QtDcTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char arg0[] = "qt_dc_test";
        static char* argv[] = {arg0, nullptr};
        if (QGuiApplication::instance() == nullptr) s_app = new QGuiApplication(argc, argv);
    }
    static QGuiApplication* s_app;
};
QGuiApplication* QtDcTest::s_app = nullptr;

QRect InkBox(const QImage& img, QRgb background) {
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != background) box |= QRect(x, y, 1, 1);
    return box;
}

CFont Gothic(int height, int escapement) {
    return CFont::Create(height, 0, escapement, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET,
                         OUT_CHARACTER_PRECIS, CLIP_CHARACTER_PRECIS, 0, 0, "ＭＳ ゴシック");
}

TEST_F(QtDcTest, ImageTakesThePixelRulesOfTheQtFreeCore) {
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(Qt::black);
    CQtDC dc(&img);
    dc.SelectObject(CPen(PS_SOLID, 1, RGB(255, 0, 0)));
    dc.MoveTo(1, 1);
    dc.LineTo(11, 1);
    EXPECT_EQ(img.pixel(1, 1), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(10, 1), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(11, 1), qRgb(0, 0, 0));
    dc.FillSolidRect(5, 5, 2, 2, RGB(0, 0, 255));
    EXPECT_EQ(img.pixel(6, 6), qRgb(0, 0, 255));
}

TEST_F(QtDcTest, XorMarksDrawnTwiceLeaveTheImageBitIdentical) {
    QImage img(80, 60, QImage::Format_RGB32);
    std::mt19937 rng(3);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) img.setPixel(x, y, 0xFF000000u | (rng() & 0xFFFFFF));
    const QImage before = img.copy();
    CQtDC dc(&img);
    dc.SetViewportOrg(-7, -3);
    dc.SetROP2(R2_XORPEN);
    dc.SelectObject(CPen(PS_SOLID, 1, RGB(255, 0, 255)));
    dc.SelectObject(CBrush::Null());
    for (int pass = 0; pass < 2; ++pass) {
        dc.MoveTo(0, 0);
        dc.LineTo(70, 50);
        dc.Rectangle(10, 10, 60, 40);
        dc.Ellipse(20, 20, 28, 28);
        dc.Arc(20, 10, 44, 34, 20, 10, 20, 10);
        dc.DrawDragRect(CRect{12, 8, 50, 44}, CSize{1, 1}, nullptr, CSize{1, 1});
    }
    EXPECT_EQ(img, before);
}

// A Japanese character turned by 90 degrees stays inside its turned cell.
TEST_F(QtDcTest, RotatedJapaneseTextStaysInsideItsCell) {
    QImage img(120, 120, QImage::Format_RGB32);
    img.fill(Qt::black);
    CQtDC dc(&img);
    dc.SetTextColor(RGB(255, 255, 255));
    dc.SetBkMode(TRANSPARENT);
    dc.SelectObject(Gothic(32, 0));
    dc.TextOut(10, 10, Utf8ToCp932("波"));
    const QRect upright = InkBox(img, qRgb(0, 0, 0));
    ASSERT_FALSE(upright.isEmpty());
    EXPECT_TRUE(QRect(10, 10, 32, 32).contains(upright)) << upright.x() << "," << upright.y();

    img.fill(Qt::black);
    dc.SelectObject(Gothic(32, 900));  // 90 degrees counter-clockwise about the top-left
    dc.TextOut(50, 100, Utf8ToCp932("波"));
    const QRect turned = InkBox(img, qRgb(0, 0, 0));
    ASSERT_FALSE(turned.isEmpty());
    EXPECT_TRUE(QRect(50, 68, 32, 32).contains(turned)) << turned.x() << "," << turned.y();
}

TEST_F(QtDcTest, OpaqueTextPaintsItsCellBackground) {
    QImage img(60, 40, QImage::Format_RGB32);
    img.fill(Qt::white);
    CQtDC dc(&img);
    dc.SetTextColor(RGB(255, 255, 0));
    dc.SetBkColor(RGB(0, 0, 0));
    dc.SetBkMode(OPAQUE);
    dc.SelectObject(Gothic(20, 0));
    dc.TextOut(5, 5, "A");
    EXPECT_EQ(img.pixel(6, 6), qRgb(0, 0, 0));
    EXPECT_EQ(img.pixel(40, 30), qRgb(255, 255, 255));
}

// "ＭＳ ゴシック" is of fixed pitch: a single-byte character is half as wide as the cell
// is high, a double-byte one as wide as high, and the callers set the next character at
// that width. Each character fills that cell and no more, its glyph inside it.
TEST_F(QtDcTest, FixedPitchFaceGivesEachCharacterTheFacesCell) {
    const QRgb white = qRgb(255, 255, 255);
    struct Case {
        const char* text;
        int width;
    };
    for (const Case c : {Case{"0", 7}, Case{"6", 7}, Case{"ﾒ", 7}, Case{"波", 14}, Case{"：", 14}}) {
        QImage img(60, 40, QImage::Format_RGB32);
        img.fill(white);
        CQtDC dc(&img);
        dc.SetTextColor(RGB(255, 255, 0));
        dc.SetBkColor(RGB(0, 0, 0));
        dc.SetBkMode(OPAQUE);
        dc.SelectObject(Gothic(14, 0));
        dc.TextOut(10, 10, Utf8ToCp932(c.text));
        const QRect cell(10, 10, c.width, 14);
        const QRect ink = InkBox(img, white);
        EXPECT_EQ(ink, cell) << c.text << ": painted " << ink.x() << "," << ink.y() << " " << ink.width() << "x"
                             << ink.height();
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                ASSERT_NE(img.pixel(x, y), white) << c.text << " at " << x << "," << y;
    }
    // Side by side, as the figures set them: the left digit keeps every pixel it has alone.
    QImage alone(60, 40, QImage::Format_RGB32), pair(60, 40, QImage::Format_RGB32);
    for (QImage* img : {&alone, &pair}) {
        img->fill(Qt::black);
        CQtDC dc(img);
        dc.SetTextColor(RGB(255, 255, 255));
        dc.SetBkColor(RGB(0, 0, 0));
        dc.SetBkMode(OPAQUE);
        dc.SelectObject(Gothic(14, 0));
        dc.TextOut(10, 10, "0");
        if (img == &pair) dc.TextOut(17, 10, "5");
    }
    EXPECT_EQ(pair.copy(10, 10, 7, 14), alone.copy(10, 10, 7, 14));
}

TEST_F(QtDcTest, PrinterWritesAPdfAndReportsItsColours) {
    QPrinter printer(QPrinter::HighResolution);
    // The test machine has no printer set up: the output becomes the PDF file.
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        EXPECT_TRUE(UsePdfWhenNoPrinter(printer, QStringLiteral("dc.pdf")));
    } else {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QStringLiteral("dc.pdf"));
    }
    EXPECT_EQ(printer.outputFileName(), QStringLiteral("dc.pdf"));
    printer.setPageSize(QPageSize(QPageSize::JisB4));
    printer.setColorMode(QPrinter::Color);
    QPainter painter;
    ASSERT_TRUE(painter.begin(&printer));
    {
        CQtDC dc(&printer, &painter);
        EXPECT_EQ(dc.GetDeviceCaps(NUMCOLORS), 256);
        EXPECT_EQ(dc.GetDeviceCaps(TECHNOLOGY), DT_RASPRINTER);
        EXPECT_GT(dc.GetDeviceCaps(LOGPIXELSX), 0);
        dc.SelectObject(CPen(PS_SOLID, 3, RGB(255, 0, 0)));
        dc.MoveTo(100, 100);
        dc.LineTo(2000, 1500);
        dc.SelectObject(Gothic(80, 0));
        dc.TextOut(200, 200, Utf8ToCp932("波高"));
    }
    painter.end();
    QFile f(QStringLiteral("dc.pdf"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(5) == "%PDF-");

    QPrinter grey(QPrinter::HighResolution);
    grey.setOutputFormat(QPrinter::PdfFormat);
    grey.setOutputFileName(QStringLiteral("grey.pdf"));
    grey.setColorMode(QPrinter::GrayScale);
    QPainter gp;
    ASSERT_TRUE(gp.begin(&grey));
    EXPECT_EQ(CQtDC(&grey, &gp).GetDeviceCaps(NUMCOLORS), 2);
    gp.end();
}

}  // namespace
}  // namespace wv
