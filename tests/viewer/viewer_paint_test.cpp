// The viewer's picture in pixels, drawn through the Qt drawing context on an image:
// which records join into lines, colours by type, and the XOR marks.

#include "platform/qt/qt_dc.h"
#include "viewer/record_painter.h"
#include "viewer/view_logic.h"
#include "viewer_test_support.h"

#include <QGuiApplication>
#include <QImage>

namespace wv {
namespace {

using test::Join;
using test::OpenText;
using test::Rec;

QRgb Pixel(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFF; }

// A view of 200 x 200 pixels over 35.0-35.2 N, 139.0-139.2 E, about 909 px per degree.
struct PaintFixture : ::testing::Test {
    CReliefscopeDoc doc;
    ReliefscopeGeometry geo;
    QImage image{200, 200, QImage::Format_RGB32};

    void Open(const std::vector<std::string>& lines)
    {
        std::vector<std::string> all = {Rec('L', "00001", 35.0, 139.0, 99), Rec('L', "00002", 35.2, 139.2, 98)};
        all.insert(all.end(), lines.begin(), lines.end());
        ASSERT_TRUE(OpenText(doc, Join(all)));
        geo.SetDataBox(doc.DataBox());
        geo.SetClientSize(200, 200);
        geo.Fit();
    }
    void Render()
    {
        CQtDC dc(&image);
        RenderView(dc, doc, geo);
    }
    // The pixel halfway between two positions.
    QRgb Mid(double lat1, double lon1, double lat2, double lon2)
    {
        const PixelPoint p = geo.ToPixel((lat1 + lat2) / 2, (lon1 + lon2) / 2);
        return Pixel(image, p.x - geo.ScrollX(), p.y - geo.ScrollY());
    }
};

constexpr QRgb kCyan = 0x00FFFF;
constexpr QRgb kRed = 0xFF0000;
constexpr QRgb kBlack = 0x000000;

TEST_F(PaintFixture, OtherRecordsAndContinuationsKeepALineWhole)
{
    // A horizontal depth line: point, 'X' record, point, continuation, point; then a
    // line of another number that must not be joined to it.
    Open({
        Rec('N', "00001", 35.05, 139.05, 1),
        "X a record of another kind",
        Rec('N', "00002", 35.05, 139.08, 1),
        Rec('N', "00000", 35.05, 139.08, 2),
        Rec('N', "00001", 35.05, 139.11, 2),
        Rec('N', "00002", 35.15, 139.15, 3),
        Rec('N', "00003", 35.15, 139.18, 3),
    });
    Render();
    EXPECT_EQ(Mid(35.05, 139.05, 35.05, 139.08), kCyan);  // across the 'X' record
    EXPECT_EQ(Mid(35.05, 139.08, 35.05, 139.11), kCyan);  // across the continuation
    EXPECT_EQ(Mid(35.05, 139.11, 35.15, 139.15), kBlack); // another line: not joined
    EXPECT_EQ(Mid(35.15, 139.15, 35.15, 139.18), kCyan);
}

TEST_F(PaintFixture, LowTideLinesOnlyWithTheSwitch)
{
    Open({Rec('M', "00001", 35.1, 139.05, 1), Rec('M', "00002", 35.1, 139.15, 1)});
    Render();
    EXPECT_EQ(Mid(35.1, 139.05, 35.1, 139.15), kBlack);
    doc.SetLowTide(true);
    Render();
    EXPECT_EQ(Mid(35.1, 139.05, 35.1, 139.15), kRed);
}

TEST_F(PaintFixture, TheAreaMarkAndRubberBandsEraseWhenDrawnTwice)
{
    Open({Rec('N', "00001", 35.1, 139.0, 1), Rec('N', "00002", 35.1, 139.2, 1)});
    doc.SetArea({35.05, 139.05, 35.15, 139.15});
    Render();
    const PixelPoint corner = geo.ToPixel(35.05, 139.05);
    EXPECT_EQ(Pixel(image, corner.x, corner.y), 0x00FF00u);
    // Where the area's edge crosses the cyan line, XOR gives cyan ^ green = blue.
    const PixelPoint cross = geo.ToPixel(35.1, 139.05);
    EXPECT_EQ(Pixel(image, cross.x, cross.y), 0x0000FFu);

    const QImage before = image;
    {
        CQtDC dc(&image);
        XorAreaRect(dc, doc, geo);
        XorRubberBandRect(dc, {20, 30, 120, 90}, true);
        XorRubberBandRect(dc, {40, 50, 60, 70}, false);
    }
    EXPECT_EQ(Pixel(image, corner.x, corner.y), kBlack);
    EXPECT_EQ(Pixel(image, 70, 60), 0x00FF00u);  // inside the filled band
    {
        CQtDC dc(&image);
        XorRubberBandRect(dc, {40, 50, 60, 70}, false);
        XorRubberBandRect(dc, {20, 30, 120, 90}, true);
        XorAreaRect(dc, doc, geo);
    }
    EXPECT_EQ(image, before);
}

TEST_F(PaintFixture, AnAreaFarOutsideAfterZoomingDrawsNothingAndDoesNotWrap)
{
    Open({Rec('N', "00001", 35.1, 139.0, 1), Rec('N', "00002", 35.1, 139.2, 1)});
    doc.SetArea({-60.0, -170.0, 80.0, 170.0});  // kept from a file on the other side of the world
    geo.SetState(35.1, 139.1, 1e9);
    Render();
    for (int y = 0; y < 200; y += 7) {
        for (int x = 0; x < 200; x += 7) {
            ASSERT_EQ(Pixel(image, x, y), kBlack) << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace wv

