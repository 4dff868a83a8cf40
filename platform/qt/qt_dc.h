// The drawing context on Qt: a view's window image, or a printer (a PDF file when no
// printer is set up).
//
// On an image (QImage, Format_RGB32) lines, outlines, fills, pixels and the XOR marks go
// through the Qt-free pixel rules of CPixelDC, so a mark drawn twice erases exactly and
// tests see the same pixels as the screen; QPainter, without antialiasing, adds text and
// pens wider than one pixel. On a printer everything goes through QPainter; XOR has no
// meaning on paper and draws as copy.
#pragma once

#include "platform/pixel_dc.h"

#include <memory>

class QImage;
class QPainter;
class QPrinter;
class QFont;
class QString;

namespace wv {

class CQtDC : public CPixelDC {
public:
    // The image is drawn into in place; it is converted to Format_RGB32 first when it
    // has another format. It must outlive the context.
    explicit CQtDC(QImage* image);
    // A printer with a painter already begun on it (the caller owns both and ends the
    // painter). NUMCOLORS is 256 for a colour printer and 2 for grey.
    CQtDC(QPrinter* printer, QPainter* painter);
    ~CQtDC() override;

    bool LineTo(int x, int y) override;
    bool Polyline(const CPoint* points, int count) override;
    bool Polygon(const CPoint* points, int count) override;
    bool Rectangle(int left, int top, int right, int bottom) override;
    bool Ellipse(int left, int top, int right, int bottom) override;
    bool Arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) override;
    bool Chord(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) override;
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color) override;
    using CDC::FillSolidRect;
    COLORREF SetPixel(int x, int y, COLORREF color) override;
    bool TextOut(int x, int y, const std::string& cp932) override;
    void DrawDragRect(const CRect& rect, CSize size, const CRect* last, CSize sizeLast) override;
    bool RectVisible(const CRect& rect) const override;
    int GetDeviceCaps(int index) const override;

    bool IsPrinter() const { return m_printer != nullptr; }

protected:
    void WidePolyline(const std::vector<long long>& devXY, bool close) override;

private:
    // Applies the pen, brush and viewport origin to a painter for one shape.
    void PreparePainter(QPainter& p, bool withBrush) const;
    template <class F> void Paint(F&& draw);

    // The Qt font of the logical font used last: texts are drawn a character at a time.
    const QFont& FontFor(const CFont& logical);
    std::unique_ptr<QFont> m_qfont;
    CFont m_qfontFor;

    QImage* m_image = nullptr;
    QPrinter* m_printer = nullptr;
    QPainter* m_printPainter = nullptr;
};

// Points the printer at a PDF file when no printer is set up (none installed, or none
// chosen). Returns true when the output is that PDF file.
bool UsePdfWhenNoPrinter(QPrinter& printer, const QString& pdfPath);

// The Qt font that stands for a logical font on a paint device: the Windows faces map to
// the installed IPAex families, and the pixel size is chosen so that ascent + descent
// equals the logical font's cell height.
QFont QFontFromLogical(const CFont& font, double dpiScale = 1.0);
// The family a Windows face name maps to ("ＭＳ ゴシック" -> "IPAexGothic").
QString FamilyForFace(const std::string& faceUtf8);
// Whether a Windows face is of fixed pitch ("ＭＳ ゴシック", "ＭＳ 明朝"; not the Ｐ
// faces): TextOut gives each character of such a face that face's cell.
bool IsFixedPitchFace(const std::string& faceUtf8);

}  // namespace wv
