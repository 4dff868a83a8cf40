// A complete drawing context over a pixel surface, without Qt and without text: the
// pixel rules of every shape in one place. The recording context draws through it when
// it is given pixels, and the Qt context inherits it for the window image, adding text
// and wide pens.
#pragma once

#include "platform/dc.h"
#include "platform/pixel_core.h"

#include <vector>

namespace wv {

class CPixelDC : public CDC {
public:
    // A device of the given size without pixels: shapes are only clipped and measured.
    CPixelDC(int width, int height);
    explicit CPixelDC(PixelSurface surface);

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
    // No glyphs here: the call is accepted and draws nothing.
    bool TextOut(int x, int y, const std::string& cp932) override;
    void DrawDragRect(const CRect& rect, CSize size, const CRect* last, CSize sizeLast) override;
    bool RectVisible(const CRect& rect) const override;
    int GetDeviceCaps(int index) const override;

    // Values GetDeviceCaps answers instead of the display's.
    void SetDeviceCaps(int index, int value);
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }

protected:
    PixelOp Op() const { return m_state.rop2 == R2_XORPEN ? PixelOp::Xor : PixelOp::Copy; }
    long long DevX(int x) const { return static_cast<long long>(x) + m_state.viewportOrg.x; }
    long long DevY(int y) const { return static_cast<long long>(y) + m_state.viewportOrg.y; }
    bool ThinPen() const { return m_state.pen.m_nWidth <= 1; }
    // Pens wider than one pixel. The pixel context draws them one pixel wide; the Qt
    // context draws them with its painter. Points are logical.
    virtual void WidePolyline(const std::vector<long long>& devXY, bool close);

    PixelPainter m_painter;
    int m_nWidth;
    int m_nHeight;

private:
    std::vector<long long> DevPoints(const CPoint* points, int count) const;
    std::vector<std::pair<int, int>> m_caps;
};

}  // namespace wv
