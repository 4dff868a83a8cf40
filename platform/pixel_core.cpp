#include "platform/pixel_core.h"

#include <algorithm>
#include <cmath>

namespace wv {

namespace {

using i128 = __int128;

// On/off run lengths of the styled cosmetic pens, in pixels along the major axis.
bool PatternOn(int style, long long i) {
    static const int kDash[] = {18, 6};
    static const int kDot[] = {3, 3};
    static const int kDashDot[] = {9, 6, 3, 6};
    static const int kDashDotDot[] = {9, 3, 3, 3, 3, 3};
    const int* runs = nullptr;
    int n = 0;
    switch (style) {
    case PS_DASH: runs = kDash; n = 2; break;
    case PS_DOT: runs = kDot; n = 2; break;
    case PS_DASHDOT: runs = kDashDot; n = 4; break;
    case PS_DASHDOTDOT: runs = kDashDotDot; n = 6; break;
    default: return true;
    }
    int period = 0;
    for (int k = 0; k < n; ++k) period += runs[k];
    long long pos = i % period;
    for (int k = 0; k < n; ++k) {
        if (pos < runs[k]) return (k % 2) == 0;
        pos -= runs[k];
    }
    return true;
}

long long FloorDiv(i128 a, i128 b) {
    i128 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return static_cast<long long>(q);
}

struct Span {
    long long l = 1;
    long long r = 0;  // inclusive; empty when l > r
    bool Empty() const { return l > r; }
};

// Pixels of row y whose centres lie inside the ellipse of the box.
Span EllipseSpan(double cx, double cy, double a, double b, long long y) {
    Span s;
    if (a <= 0.0 || b <= 0.0) return s;
    const double v = (static_cast<double>(y) + 0.5 - cy) / b;
    if (v < -1.0 || v > 1.0) return s;
    const double w = a * std::sqrt(1.0 - v * v);
    s.l = static_cast<long long>(std::ceil(cx - w - 0.5));
    s.r = static_cast<long long>(std::floor(cx + w - 0.5));
    return s;
}

}  // namespace

void PixelPainter::Plot(long long x, long long y, COLORREF color, PixelOp op) {
    if (x < 0 || y < 0 || x >= m_s.width || y >= m_s.height || m_s.bits == nullptr) return;
    std::uint32_t& p = m_s.bits[static_cast<std::size_t>(y) * m_s.stride + static_cast<std::size_t>(x)];
    const std::uint32_t c = PixelFromColor(color) & 0x00FFFFFFu;
    if (op == PixelOp::Xor)
        p = 0xFF000000u | ((p & 0x00FFFFFFu) ^ c);
    else
        p = 0xFF000000u | c;
}

COLORREF PixelPainter::Get(long long x, long long y) const {
    if (x < 0 || y < 0 || x >= m_s.width || y >= m_s.height || m_s.bits == nullptr) return 0;
    return ColorFromPixel(m_s.bits[static_cast<std::size_t>(y) * m_s.stride + static_cast<std::size_t>(x)]);
}

void PixelPainter::Line(long long x0, long long y0, long long x1, long long y1, COLORREF color,
                        PixelOp op, int penStyle) {
    if (penStyle == PS_NULL) return;
    const long long dx = x1 - x0;
    const long long dy = y1 - y0;
    const long long adx = dx < 0 ? -dx : dx;
    const long long ady = dy < 0 ? -dy : dy;
    const long long n = std::max(adx, ady);
    if (n == 0) return;
    const int sx = dx < 0 ? -1 : 1;
    const int sy = dy < 0 ? -1 : 1;
    // Pixel i of the line is found directly (rounded, halves away from the start), so
    // only the steps that land on the surface's major-axis range are visited.
    const bool xMajor = adx >= ady;
    const long long major0 = xMajor ? x0 : y0;
    const int smaj = xMajor ? sx : sy;
    const long long limit = xMajor ? m_s.width : m_s.height;
    long long iLo = 0;
    long long iHi = n - 1;
    if (smaj > 0) {
        iLo = std::max(iLo, -major0);
        iHi = std::min(iHi, limit - 1 - major0);
    } else {
        iLo = std::max(iLo, major0 - (limit - 1));
        iHi = std::min(iHi, major0);
    }
    const long long amaj = xMajor ? adx : ady;
    const long long amin = xMajor ? ady : adx;
    for (long long i = iLo; i <= iHi; ++i) {
        if (!PatternOn(penStyle, i)) continue;
        const long long off = FloorDiv(static_cast<i128>(2) * i * amin + amaj, static_cast<i128>(2) * amaj);
        const long long x = xMajor ? x0 + sx * i : x0 + sx * off;
        const long long y = xMajor ? y0 + sy * off : y0 + sy * i;
        Plot(x, y, color, op);
    }
}

void PixelPainter::Polyline(const std::vector<long long>& xy, COLORREF color, PixelOp op,
                            int penStyle, bool close) {
    const std::size_t n = xy.size() / 2;
    if (n < 2) return;
    for (std::size_t k = 0; k + 1 < n; ++k)
        Line(xy[2 * k], xy[2 * k + 1], xy[2 * k + 2], xy[2 * k + 3], color, op, penStyle);
    if (close && (xy[0] != xy[2 * n - 2] || xy[1] != xy[2 * n - 1]))
        Line(xy[2 * n - 2], xy[2 * n - 1], xy[0], xy[1], color, op, penStyle);
}

void PixelPainter::RectOutline(long long left, long long top, long long right, long long bottom,
                               COLORREF color, PixelOp op, int penStyle) {
    if (right <= left || bottom <= top || penStyle == PS_NULL) return;
    const long long r = right - 1;
    const long long b = bottom - 1;
    if (r == left || b == top) {  // one row or one column: a single run
        FillRect(left, top, right, bottom, color, op);
        return;
    }
    // Clockwise from the top-left corner; each corner belongs to one side only.
    Line(left, top, r, top, color, op, penStyle);
    Line(r, top, r, b, color, op, penStyle);
    Line(r, b, left, b, color, op, penStyle);
    Line(left, b, left, top, color, op, penStyle);
}

void PixelPainter::FillRect(long long left, long long top, long long right, long long bottom,
                            COLORREF color, PixelOp op) {
    const long long l = std::max<long long>(left, 0);
    const long long t = std::max<long long>(top, 0);
    const long long r = std::min<long long>(right, m_s.width);
    const long long b = std::min<long long>(bottom, m_s.height);
    for (long long y = t; y < b; ++y)
        for (long long x = l; x < r; ++x) Plot(x, y, color, op);
}

// The ellipse of a bounding box and the arc between the rays through two points: its
// centre, half axes, start angle and counter-clockwise sweep as seen on the screen (y down).
struct EllipseFrame {
    static constexpr double kTwoPi = 6.283185307179586;
    double cx, cy, a, b, a0, a1, sweep;
    EllipseFrame(long long left, long long top, long long right, long long bottom, long long x3,
                 long long y3, long long x4, long long y4)
        : cx((static_cast<double>(left) + static_cast<double>(right)) / 2.0),
          cy((static_cast<double>(top) + static_cast<double>(bottom)) / 2.0),
          a((static_cast<double>(right) - static_cast<double>(left)) / 2.0),
          b((static_cast<double>(bottom) - static_cast<double>(top)) / 2.0),
          a0(std::atan2(-(static_cast<double>(y3) - cy), static_cast<double>(x3) - cx)),
          a1(std::atan2(-(static_cast<double>(y4) - cy), static_cast<double>(x4) - cx)),
          sweep(std::fmod(a1 - a0 + 2.0 * kTwoPi, kTwoPi)) {}
};

void PixelPainter::EllipseOutline(long long left, long long top, long long right, long long bottom,
                                  COLORREF color, PixelOp op, bool arc, long long x3, long long y3,
                                  long long x4, long long y4) {
    if (right <= left || bottom <= top) return;
    const EllipseFrame f(left, top, right, bottom, x3, y3, x4, y4);
    const double cx = f.cx, cy = f.cy, a = f.a, b = f.b, a0 = f.a0, sweep = f.sweep;
    const double twoPi = EllipseFrame::kTwoPi;
    const bool full = !arc || sweep < 1e-12;
    const long long yLo = std::max<long long>(top, -1);
    const long long yHi = std::min<long long>(bottom - 1, m_s.height);
    for (long long y = yLo; y <= yHi; ++y) {
        const Span s = EllipseSpan(cx, cy, a, b, y);
        if (s.Empty()) continue;
        const Span up = EllipseSpan(cx, cy, a, b, y - 1);
        const Span dn = EllipseSpan(cx, cy, a, b, y + 1);
        // Inner pixels have all four neighbours inside; the rest of the row is outline.
        long long il = std::max({s.l + 1, up.Empty() ? s.r + 1 : up.l, dn.Empty() ? s.r + 1 : dn.l});
        long long ir = std::min({s.r - 1, up.Empty() ? s.l - 1 : up.r, dn.Empty() ? s.l - 1 : dn.r});
        auto emit = [&](long long from, long long to) {
            from = std::max<long long>(from, 0);
            to = std::min<long long>(to, static_cast<long long>(m_s.width) - 1);
            for (long long x = from; x <= to; ++x) {
                if (!full) {
                    const double ang = std::atan2(-(static_cast<double>(y) + 0.5 - cy),
                                                  static_cast<double>(x) + 0.5 - cx);
                    const double rel = std::fmod(ang - a0 + 2.0 * twoPi, twoPi);
                    if (rel > sweep) continue;
                }
                Plot(x, y, color, op);
            }
        };
        if (il > ir) {
            emit(s.l, s.r);
        } else {
            emit(s.l, il - 1);
            emit(ir + 1, s.r);
        }
    }
}

void PixelPainter::FillEllipse(long long left, long long top, long long right, long long bottom,
                               COLORREF color, PixelOp op, bool chord, long long x3, long long y3,
                               long long x4, long long y4) {
    if (right <= left || bottom <= top) return;
    const EllipseFrame f(left, top, right, bottom, x3, y3, x4, y4);
    const double cx = f.cx, cy = f.cy, a = f.a, b = f.b, a0 = f.a0, a1 = f.a1, sweep = f.sweep;
    const bool full = !chord || sweep < 1e-12;
    // The chord's ends on the ellipse (screen y down) and a point in the middle of the arc.
    const double px0 = cx + a * std::cos(a0), py0 = cy - b * std::sin(a0);
    const double px1 = cx + a * std::cos(a1), py1 = cy - b * std::sin(a1);
    const double am = a0 + sweep / 2.0;
    const double mx = cx + a * std::cos(am), my = cy - b * std::sin(am);
    const double sideM = (px1 - px0) * (my - py0) - (py1 - py0) * (mx - px0);
    const long long yLo = std::max<long long>(top, 0);
    const long long yHi = std::min<long long>(bottom - 1, static_cast<long long>(m_s.height) - 1);
    for (long long y = yLo; y <= yHi; ++y) {
        const Span s = EllipseSpan(cx, cy, a, b, y);
        for (long long x = std::max<long long>(s.l, 0);
             x <= std::min<long long>(s.r, static_cast<long long>(m_s.width) - 1); ++x) {
            if (!full) {
                const double side = (px1 - px0) * (static_cast<double>(y) + 0.5 - py0) -
                                    (py1 - py0) * (static_cast<double>(x) + 0.5 - px0);
                if ((side < 0) != (sideM < 0)) continue;
            }
            Plot(x, y, color, op);
        }
    }
}

void PixelPainter::FillPolygon(const std::vector<long long>& xy, COLORREF color, PixelOp op) {
    const std::size_t n = xy.size() / 2;
    if (n < 3) return;
    long long yMin = xy[1], yMax = xy[1];
    for (std::size_t k = 1; k < n; ++k) {
        yMin = std::min(yMin, xy[2 * k + 1]);
        yMax = std::max(yMax, xy[2 * k + 1]);
    }
    yMin = std::max<long long>(yMin, 0);
    yMax = std::min<long long>(yMax, static_cast<long long>(m_s.height) - 1);
    std::vector<double> xs;
    for (long long y = yMin; y <= yMax; ++y) {
        const double py = static_cast<double>(y) + 0.5;
        xs.clear();
        for (std::size_t k = 0; k < n; ++k) {
            const double ax = static_cast<double>(xy[2 * k]), ay = static_cast<double>(xy[2 * k + 1]);
            const std::size_t m = (k + 1) % n;
            const double bx = static_cast<double>(xy[2 * m]), by = static_cast<double>(xy[2 * m + 1]);
            if ((ay <= py && by > py) || (by <= py && ay > py))
                xs.push_back(ax + (py - ay) / (by - ay) * (bx - ax));
        }
        std::sort(xs.begin(), xs.end());
        for (std::size_t k = 0; k + 1 < xs.size(); k += 2) {
            const double from = std::max(std::ceil(xs[k] - 0.5), -1.0);
            const double to = std::min(std::ceil(xs[k + 1] - 0.5) - 1.0, static_cast<double>(m_s.width));
            for (long long x = static_cast<long long>(from); x <= static_cast<long long>(to); ++x)
                Plot(x, y, color, op);
        }
    }
}

}  // namespace wv
