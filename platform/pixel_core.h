// The pixel rules of the drawing context, written once and without Qt, so that a mark
// XOR-drawn twice comes back bit for bit and tests can check pixels headless.
//
// Works on 32-bit pixels laid out as a QImage of Format_RGB32 (0xFFRRGGBB), in device
// coordinates. Every shape is clipped to the surface in 64-bit arithmetic before a pixel
// is touched, so coordinates anywhere in the int range cost no more than the surface size.
// Within one call each pixel is touched at most once: that is what makes XOR reversible.
#pragma once

#include "platform/dc.h"

#include <cstdint>
#include <vector>

namespace wv {

struct PixelSurface {
    std::uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;  // pixels per row
};

// A surface that owns its pixels (tests, headless rendering).
class PixelImage {
public:
    PixelImage(int width, int height, std::uint32_t fill = 0xFF000000u)
        : m_width(width), m_height(height),
          m_pixels(static_cast<std::size_t>(width > 0 ? width : 0) * (height > 0 ? height : 0), fill) {}
    PixelSurface Surface() { return {m_pixels.data(), m_width, m_height, m_width}; }
    std::uint32_t At(int x, int y) const { return m_pixels[static_cast<std::size_t>(y) * m_width + x]; }
    const std::vector<std::uint32_t>& Pixels() const { return m_pixels; }
    std::vector<std::uint32_t>& Pixels() { return m_pixels; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

private:
    int m_width;
    int m_height;
    std::vector<std::uint32_t> m_pixels;
};

inline std::uint32_t PixelFromColor(COLORREF c) {
    return 0xFF000000u | (static_cast<std::uint32_t>(GetRValue(c)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(c)) << 8) | static_cast<std::uint32_t>(GetBValue(c));
}
inline COLORREF ColorFromPixel(std::uint32_t p) {
    return RGB(static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
               static_cast<int>(p & 0xFF));
}

enum class PixelOp { Copy, Xor };

class PixelPainter {
public:
    explicit PixelPainter(PixelSurface s) : m_s(s) {}

    // Sets or XORs one pixel; outside the surface nothing happens.
    void Plot(long long x, long long y, COLORREF color, PixelOp op);
    COLORREF Get(long long x, long long y) const;
    // From (x0, y0) towards (x1, y1), the last pixel left out. A styled pen (PS_DASH,
    // PS_DOT, ...) leaves its gaps untouched; its pattern starts afresh on each segment.
    void Line(long long x0, long long y0, long long x1, long long y1, COLORREF color, PixelOp op,
              int penStyle = PS_SOLID);
    // Joined segments, each vertex drawn once, the last point left out; with `close` a
    // segment back to the first point, which is then not drawn again.
    void Polyline(const std::vector<long long>& xy, COLORREF color, PixelOp op, int penStyle,
                  bool close);
    // Outline of [left, right) x [top, bottom): each pixel once.
    void RectOutline(long long left, long long top, long long right, long long bottom,
                     COLORREF color, PixelOp op, int penStyle = PS_SOLID);
    // Interior of [left, right) x [top, bottom).
    void FillRect(long long left, long long top, long long right, long long bottom, COLORREF color,
                  PixelOp op = PixelOp::Copy);
    // Outline of the ellipse in the box, or with `arc` only the part counter-clockwise
    // from the radial through (x3, y3) to the one through (x4, y4) (equal radials: all).
    void EllipseOutline(long long left, long long top, long long right, long long bottom,
                        COLORREF color, PixelOp op, bool arc = false, long long x3 = 0,
                        long long y3 = 0, long long x4 = 0, long long y4 = 0);
    // Interior of the ellipse in the box; with `chord`, only the part cut off on the arc's
    // side by the line between the two radial ends.
    void FillEllipse(long long left, long long top, long long right, long long bottom,
                     COLORREF color, PixelOp op, bool chord = false, long long x3 = 0,
                     long long y3 = 0, long long x4 = 0, long long y4 = 0);
    // Interior of a polygon by the alternate (even-odd) rule, pixel centres inside.
    void FillPolygon(const std::vector<long long>& xy, COLORREF color, PixelOp op);

private:
    PixelSurface m_s;
};

}  // namespace wv
