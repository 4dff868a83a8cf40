#include "platform/pixel_dc.h"

#include <algorithm>

namespace wv {

CPixelDC::CPixelDC(int width, int height)
    : m_painter(PixelSurface{nullptr, width, height, width}), m_nWidth(width), m_nHeight(height) {}

CPixelDC::CPixelDC(PixelSurface surface)
    : m_painter(surface), m_nWidth(surface.width), m_nHeight(surface.height) {}

std::vector<long long> CPixelDC::DevPoints(const CPoint* points, int count) const {
    std::vector<long long> xy;
    if (points == nullptr || count <= 0) return xy;
    xy.reserve(static_cast<std::size_t>(count) * 2);
    for (int i = 0; i < count; ++i) {
        xy.push_back(DevX(points[i].x));
        xy.push_back(DevY(points[i].y));
    }
    return xy;
}

void CPixelDC::WidePolyline(const std::vector<long long>& devXY, bool close) {
    m_painter.Polyline(devXY, m_state.pen.m_color, Op(), PS_SOLID, close);
}

bool CPixelDC::LineTo(int x, int y) {
    const CPoint from = m_state.position;
    m_state.position = CPoint{x, y};
    if (m_state.pen.m_nStyle == PS_NULL) return true;
    if (ThinPen())
        m_painter.Line(DevX(from.x), DevY(from.y), DevX(x), DevY(y), m_state.pen.m_color, Op(),
                       m_state.pen.m_nStyle);
    else
        WidePolyline({DevX(from.x), DevY(from.y), DevX(x), DevY(y)}, false);
    return true;
}

bool CPixelDC::Polyline(const CPoint* points, int count) {
    if (points == nullptr || count < 2) return false;
    if (m_state.pen.m_nStyle == PS_NULL) return true;
    const std::vector<long long> xy = DevPoints(points, count);
    if (ThinPen())
        m_painter.Polyline(xy, m_state.pen.m_color, Op(), m_state.pen.m_nStyle, false);
    else
        WidePolyline(xy, false);
    return true;
}

bool CPixelDC::Polygon(const CPoint* points, int count) {
    if (points == nullptr || count < 2) return false;
    const std::vector<long long> xy = DevPoints(points, count);
    if (m_state.brush.m_nStyle != BS_NULL) m_painter.FillPolygon(xy, m_state.brush.m_color, Op());
    if (m_state.pen.m_nStyle != PS_NULL) {
        if (ThinPen())
            m_painter.Polyline(xy, m_state.pen.m_color, Op(), m_state.pen.m_nStyle, true);
        else
            WidePolyline(xy, true);
    }
    return true;
}

bool CPixelDC::Rectangle(int left, int top, int right, int bottom) {
    long long l = DevX(left), t = DevY(top), r = DevX(right), b = DevY(bottom);
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    if (m_state.brush.m_nStyle != BS_NULL) {
        // The outline covers the border pixels; the brush fills what is inside it.
        const long long inset = m_state.pen.m_nStyle == PS_NULL ? 0 : 1;
        m_painter.FillRect(l + inset, t + inset, r - inset, b - inset, m_state.brush.m_color, Op());
    }
    if (m_state.pen.m_nStyle != PS_NULL) {
        if (ThinPen())
            m_painter.RectOutline(l, t, r, b, m_state.pen.m_color, Op(), m_state.pen.m_nStyle);
        else
            WidePolyline({l, t, r - 1, t, r - 1, b - 1, l, b - 1}, true);
    }
    return true;
}

bool CPixelDC::Ellipse(int left, int top, int right, int bottom) {
    long long l = DevX(left), t = DevY(top), r = DevX(right), b = DevY(bottom);
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    if (m_state.brush.m_nStyle != BS_NULL) m_painter.FillEllipse(l, t, r, b, m_state.brush.m_color, Op());
    if (m_state.pen.m_nStyle != PS_NULL)
        m_painter.EllipseOutline(l, t, r, b, m_state.pen.m_color, Op());
    return true;
}

bool CPixelDC::Arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) {
    long long l = DevX(left), t = DevY(top), r = DevX(right), b = DevY(bottom);
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    if (m_state.pen.m_nStyle != PS_NULL)
        m_painter.EllipseOutline(l, t, r, b, m_state.pen.m_color, Op(), true, DevX(x3), DevY(y3),
                                 DevX(x4), DevY(y4));
    return true;
}

bool CPixelDC::Chord(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) {
    long long l = DevX(left), t = DevY(top), r = DevX(right), b = DevY(bottom);
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    if (m_state.brush.m_nStyle != BS_NULL)
        m_painter.FillEllipse(l, t, r, b, m_state.brush.m_color, Op(), true, DevX(x3), DevY(y3),
                              DevX(x4), DevY(y4));
    if (m_state.pen.m_nStyle != PS_NULL)
        m_painter.EllipseOutline(l, t, r, b, m_state.pen.m_color, Op(), true, DevX(x3), DevY(y3),
                                 DevX(x4), DevY(y4));
    return true;
}

void CPixelDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
    const long long l = DevX(x), t = DevY(y);
    m_painter.FillRect(l, t, l + cx, t + cy, color, PixelOp::Copy);
}

COLORREF CPixelDC::SetPixel(int x, int y, COLORREF color) {
    m_painter.Plot(DevX(x), DevY(y), color, PixelOp::Copy);
    return color;
}

bool CPixelDC::TextOut(int, int, const std::string&) { return true; }

void CPixelDC::DrawDragRect(const CRect& rect, CSize size, const CRect* last, CSize sizeLast) {
    // Device coordinates of both frames; XOR of the old one and the new one together
    // is the one-call erase-and-draw of the original.
    auto dev = [this](const CRect& r) {
        CRect d;
        d.left = static_cast<int>(std::clamp<long long>(DevX(r.left), -1, m_nWidth + 1LL));
        d.right = static_cast<int>(std::clamp<long long>(DevX(r.right), -1, m_nWidth + 1LL));
        d.top = static_cast<int>(std::clamp<long long>(DevY(r.top), -1, m_nHeight + 1LL));
        d.bottom = static_cast<int>(std::clamp<long long>(DevY(r.bottom), -1, m_nHeight + 1LL));
        return d;
    };
    // The band is measured from the unclamped edges: a frame edge off the surface
    // must not reappear at the clamped border.
    auto frame = [&](const CRect& r, CSize s) {
        CRect n = r;
        n.NormalizeRect();
        if (n.IsRectEmpty()) return;
        const CRect d = dev(n);
        const CRect outer = d;
        PixelPainter& p = m_painter;
        const long long L = DevX(n.left), T = DevY(n.top), R = DevX(n.right), B = DevY(n.bottom);
        const long long cx = std::max(s.cx, 0), cy = std::max(s.cy, 0);
        for (long long y = std::max<long long>(outer.top, 0); y < std::min<long long>(outer.bottom, m_nHeight); ++y) {
            const bool bandRow = y < T + cy || y >= B - cy;
            for (long long x = std::max<long long>(outer.left, 0); x < std::min<long long>(outer.right, m_nWidth); ++x) {
                const bool band = bandRow || x < L + cx || x >= R - cx;
                if (band && ((x + y) % 2 == 0)) p.Plot(x, y, RGB(255, 255, 255), PixelOp::Xor);
            }
        }
    };
    if (last != nullptr) frame(*last, sizeLast);
    frame(rect, size);
}

bool CPixelDC::RectVisible(const CRect& rect) const {
    CRect n = rect;
    n.NormalizeRect();
    if (n.IsRectEmpty()) return false;
    return DevX(n.right) > 0 && DevX(n.left) < m_nWidth && DevY(n.bottom) > 0 && DevY(n.top) < m_nHeight;
}

void CPixelDC::SetDeviceCaps(int index, int value) {
    for (auto& c : m_caps)
        if (c.first == index) { c.second = value; return; }
    m_caps.emplace_back(index, value);
}

int CPixelDC::GetDeviceCaps(int index) const {
    for (const auto& c : m_caps)
        if (c.first == index) return c.second;
    switch (index) {
    case TECHNOLOGY: return DT_RASDISPLAY;
    case HORZRES: return m_nWidth;
    case VERTRES: return m_nHeight;
    case HORZSIZE: return static_cast<int>(m_nWidth * 25.4 / 96.0);
    case VERTSIZE: return static_cast<int>(m_nHeight * 25.4 / 96.0);
    case BITSPIXEL: return 32;
    case NUMCOLORS: return -1;  // a true-colour display, as GDI reports it
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    default: return 0;
    }
}

}  // namespace wv
