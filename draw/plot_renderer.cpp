#include "draw/plot_renderer.h"

#include "draw/primitives.h"

#include <algorithm>
#include <cmath>

namespace wv {

namespace {

constexpr double kPi = 3.141592653589793;

// Device values go to the context as ints, truncated toward zero as GDI took them. Far
// beyond any sheet they are held at a bound the context clips safely.
int Dev(double v) {
    constexpr double kBound = 1073741824.0;  // 2^30
    if (!(v > -kBound)) return -1073741824;
    if (!(v < kBound)) return 1073741824;
    return static_cast<int>(v);
}

// A pattern whose period is under one device unit shows as a solid line anyway, and one
// that would need more pieces than this on one segment would take minutes to walk: such
// segments are drawn solid.
constexpr double kMaxPiecesPerSegment = 1.0e5;
// Chords of one ellipse: about one per 0.1 mm of arc, but a foreign record with an absurd
// radius must not run for hours.
constexpr int kMaxChords = 100000;

struct PlotColor {
    int number;
    COLORREF color;
};
constexpr PlotColor kPlotColors[] = {
    {1, RGB(255, 0, 0)},      {2, RGB(255, 255, 0)},   {3, RGB(0, 255, 0)},
    {4, RGB(0, 255, 255)},    {5, RGB(0, 0, 255)},     {6, RGB(255, 0, 255)},
    {7, RGB(0, 0, 0)},        {8, RGB(128, 128, 128)}, {9, RGB(192, 192, 192)},
    {23, RGB(192, 128, 64)},  {30, RGB(255, 128, 0)},  {83, RGB(128, 192, 128)},
    {150, RGB(0, 128, 255)},  {190, RGB(128, 64, 255)}, {222, RGB(192, 0, 128)},
    {255, RGB(255, 255, 255)},
};

// The reader always puts a line type and a layer at index 0; a renderer used without a
// page falls back to the same defaults.
const CPlotLineType kDefaultLineType{1.0, 0.0, 0, 0, "CONTINUOUS"};
const CPlotLayer kDefaultLayer{0, 0, 7, 0, "0"};

}  // namespace

PrintMapping PrintMapping::FromDevice(const CDC& dc, double printFactor, double sheetOffsetX,
                                      double sheetOffsetY) {
    PrintMapping m;
    m.m_dDevPerMmX = dc.GetDeviceCaps(LOGPIXELSX) / 25.4 * printFactor;
    m.m_dDevPerMmY = dc.GetDeviceCaps(LOGPIXELSY) / 25.4 * printFactor;
    m.m_rcPrintClip = CRect{0, 0, dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES)};
    m.m_nNumColors = dc.GetDeviceCaps(NUMCOLORS);
    m.m_nPrinterTech = dc.GetDeviceCaps(TECHNOLOGY);
    m.m_dSheetOffsetX = sheetOffsetX;
    m.m_dSheetOffsetY = sheetOffsetY;
    return m;
}

COLORREF GetPlotColor(int number, const PrintMapping& mapping) {
    if (mapping.TwoColour()) return RGB(0, 0, 0);
    for (const PlotColor& c : kPlotColors)
        if (c.number == number) return c.color;
    return RGB(0, 0, 0);
}

int ClampLayerIndex(int index, int count) { return index >= 0 && index < count ? index : 0; }
int ClampLineTypeIndex(int index, int count) { return index >= 0 && index < count ? index : 0; }

const CPlotLayer& PlotRenderer::Layer(int layer) const {
    if (m_page == nullptr || m_page->m_layers.GetCount() == 0) return kDefaultLayer;
    return m_page->m_layers[ClampLayerIndex(layer, m_page->m_layers.GetCount())];
}

const CPlotLineType& PlotRenderer::LineType(int lineType) const {
    if (m_page == nullptr || m_page->m_lineTypes.GetCount() == 0) return kDefaultLineType;
    return m_page->m_lineTypes[ClampLineTypeIndex(lineType, m_page->m_lineTypes.GetCount())];
}

COLORREF PlotRenderer::LayerColor(int layer) const { return GetPlotColor(Layer(layer).m_nColor, m_map); }

int PlotRenderer::PrintPlotData(CDC& dc, const CPlotStore& store, int page) {
    const CPlotPage* p = store.GetPage(page);
    if (p == nullptr) return -1;
    m_page = p;
    m_nDashCount = 0;
    ScopedBkMode bkMode(dc, TRANSPARENT);
    ScopedTextColor textColor(dc, RGB(0, 0, 0));
    ScopedPen pen(dc, CPen(PS_SOLID, 1, RGB(0, 0, 0)));
    const double ox = m_map.m_dSheetOffsetX;
    const double oy = m_map.m_dSheetOffsetY;
    const int layerCount = p->m_layers.GetCount();
    const int lineTypeCount = p->m_lineTypes.GetCount();
    for (int i = 0; i < p->m_order.GetCount(); ++i) {
        const CPlotOrder& o = p->m_order[i];
        if (o.m_nKind == kPlotLT || o.m_nKind == kPlotLY) continue;
        auto clamp = [&](int recordLayer, int* lt) {
            const int layer = ClampLayerIndex(recordLayer, layerCount);
            *lt = ClampLineTypeIndex(p->m_layers[layer].m_nLineType, lineTypeCount);
            return layer;
        };
        int lt = 0;
        switch (o.m_nKind) {
        case kPlotDL: {
            const CPlotLine& r = p->m_lines[o.m_nIndex];
            const int layer = clamp(r.m_nLayer, &lt);
            PrintPlotLine(r.m_dX1 + ox, r.m_dY1 + oy, r.m_dX2 + ox, r.m_dY2 + oy, layer, lt, dc);
            break;
        }
        case kPlotLL: {
            const CPlotVertex& r = p->m_vertices[o.m_nIndex];
            const int layer = clamp(r.m_nLayer, &lt);
            PrintPlotVertex(r.m_dX + ox, r.m_dY + oy, r.m_nPen, r.m_nClose, layer, lt, dc);
            break;
        }
        case kPlotAP: {
            const CPlotMark& r = p->m_marks[o.m_nIndex];
            const int layer = clamp(r.m_nLayer, &lt);
            PrintPlotMark(r.m_dX + ox, r.m_dY + oy, r.m_dSize, r.m_nCode, layer, lt, dc);
            break;
        }
        case kPlotEL: {
            const CPlotEllipse& r = p->m_ellipses[o.m_nIndex];
            const int layer = clamp(r.m_nLayer, &lt);
            PrintEllipseArc(r.m_dCX + ox, r.m_dCY + oy, r.m_dRX, r.m_dRY, r.m_dRotation, r.m_dStart,
                            r.m_dEnd, layer, lt, dc);
            break;
        }
        case kPlotGC: {
            const CPlotArc& r = p->m_arcs[o.m_nIndex];
            const int layer = clamp(r.m_nLayer, &lt);
            PrintArc3P(r.m_dSX + ox, r.m_dSY + oy, r.m_dCX + ox, r.m_dCY + oy, r.m_dEX + ox,
                       r.m_dEY + oy, r.m_nDirection, layer, lt, dc);
            break;
        }
        case kPlotAH: {
            const CPlotArrow& r = p->m_arrows[o.m_nIndex];
            const int layer = clamp(r.m_nLayer, &lt);
            PrintArrow(r.m_dTailX + ox, r.m_dTailY + oy, r.m_dTipX + ox, r.m_dTipY + oy,
                       r.m_dHeadLength, r.m_dHeadWidth, r.m_nStyle, layer, lt, dc);
            break;
        }
        case kPlotVJ: {
            const CPlotText& r = p->m_texts[o.m_nIndex];
            const int layer = ClampLayerIndex(r.m_nLayer, layerCount);
            PrintPlotText(r.m_dX + ox, r.m_dY + oy, r.m_dHeight, r.m_dWidth, r.m_strText, r.m_dAngle,
                          layer, dc);
            break;
        }
        default:
            break;
        }
    }
    ReleasePlotFont(dc);
    m_nDashCount = 0;
    return 0;
}

int PlotRenderer::PrintPlotLine(double x1, double y1, double x2, double y2, int layer, int lineType,
                                CDC& dc) {
    const double X1 = m_map.PlotToDevX(x1), Y1 = m_map.PlotToDevY(y1);
    const double X2 = m_map.PlotToDevX(x2), Y2 = m_map.PlotToDevY(y2);
    const CRect& clip = m_map.m_rcPrintClip;
    // Wholly beyond one edge of the printable area: nothing the device could show.
    if ((X1 < clip.left && X2 < clip.left) || (X1 > clip.right && X2 > clip.right) ||
        (Y1 < clip.top && Y2 < clip.top) || (Y1 > clip.bottom && Y2 > clip.bottom))
        return 0;
    if (std::fabs(x2 - x1) < 0.001 && std::fabs(y2 - y1) < 0.001) return -1;

    const CPlotLayer& ly = Layer(layer);
    ScopedRop2 rop(dc, R2_COPYPEN);
    // Widths from foreign layer records are held to what a sheet could show.
    const int width = std::min(Dev(ly.m_nWidth / 100.0 * m_map.m_dDevPerMmX + 0.5), 100000);
    ScopedPen pen(dc, CPen(PS_SOLID, width, GetPlotColor(ly.m_nColor, m_map)));
    if (m_nDashCount != 0)
        PrintLinePatterned(x1, y1, x2, y2, dc);
    else
        PrintLineFitted(x1, y1, x2, y2, lineType, dc);
    return 0;
}

void PlotRenderer::PrintLineFitted(double x1, double y1, double x2, double y2, int lineType, CDC& dc) {
    const double X1 = m_map.PlotToDevX(x1), Y1 = m_map.PlotToDevY(y1);
    const double X2 = m_map.PlotToDevX(x2), Y2 = m_map.PlotToDevY(y2);
    const CPlotLineType& t = LineType(lineType);
    const int type = t.m_nType;
    const int n = std::clamp(type, 2, 4);
    const double dash = t.m_dDash;
    const double gap = t.m_dGap;
    const double G = (2 * n - 3) * gap;  // the gap and dot pieces of one period
    const double L = std::hypot(x2 - x1, y2 - y1);
    // A line type that cannot make a period (foreign records with a zero dash or a
    // negative gap) would never end the walk: it is drawn solid.
    const bool patterned = lineType != 0 && type >= 1 && type <= 4 && dash > 0.0 && gap >= 0.0 &&
                           dash + G >= 1e-6 && (dash + G) * m_map.m_dDevPerMmX >= 1.0 &&
                           (L + G) / (dash + G) <= kMaxPiecesPerSegment;
    if (!patterned) {
        dc.MoveTo(Dev(X1), Dev(Y1));
        dc.LineTo(Dev(X2), Dev(Y2));
        return;
    }
    if (L <= 0.1) return;
    int k = static_cast<int>((L + G) / (dash + G) + 0.5);
    if (k < 2) k = 2;
    const double S = k * dash + (k - 1) * G;
    const double f = L / S;  // every piece stretched so the line starts and ends with a dash
    auto at = [&](double along) {
        const double q = along / L;
        return CPoint{Dev(X1 + (X2 - X1) * q), Dev(Y1 + (Y2 - Y1) * q)};
    };
    auto draw = [&](double from, double to) {
        const CPoint a = at(from), b = at(to);
        dc.MoveTo(a.x, a.y);
        dc.LineTo(b.x, b.y);
    };
    double p = 0.0;
    for (int i = 1; i <= k; ++i) {
        draw(p, p + dash * f);
        p += dash * f;
        if (i == k) break;
        p += gap * f;
        for (int d = 0; d < n - 2; ++d) {
            draw(p, p + gap * f);
            p += 2 * gap * f;
        }
    }
}

void PlotRenderer::BeginLinePattern(int lineType) {
    if (lineType == 0) return;
    const CPlotLineType& t = LineType(lineType);
    if (t.m_nType < 1 || t.m_nType > 4) return;
    const int count = t.m_nType <= 2 ? 2 : (t.m_nType == 3 ? 4 : 6);
    // Without a dash that moves the walk on, the pattern would never end: such a line type
    // leaves the polyline solid, as an undashed type does.
    const double period = t.m_dDash + (count - 1) * t.m_dGap;
    if (!(t.m_dDash > 0.0) || t.m_dGap < 0.0 || period < 1e-6) return;
    m_nDashCount = count;
    m_dDash[0] = t.m_dDash;
    for (int i = 1; i < count; ++i) m_dDash[i] = t.m_dGap;
    m_nDashIndex = 0;
    m_dDashLeft = t.m_dDash;
    m_dDashPeriod = period;
}

void PlotRenderer::PrintLinePatterned(double x1, double y1, double x2, double y2, CDC& dc) {
    double L = std::hypot(x2 - x1, y2 - y1);
    double cx = m_map.PlotToDevX(x1), cy = m_map.PlotToDevY(y1);
    const double ex = m_map.PlotToDevX(x2), ey = m_map.PlotToDevY(y2);
    dc.MoveTo(Dev(cx), Dev(cy));
    if (m_dDashPeriod * m_map.m_dDevPerMmX < 1.0 || L / m_dDashPeriod > kMaxPiecesPerSegment) {
        dc.LineTo(Dev(ex), Dev(ey));
        return;
    }
    auto next = [&] {
        m_nDashIndex = (m_nDashIndex + 1) % m_nDashCount;
        m_dDashLeft = m_dDash[m_nDashIndex];
    };
    while (m_dDashLeft + 0.1 <= L) {
        const double q = m_dDashLeft / L;
        cx += (ex - cx) * q;
        cy += (ey - cy) * q;
        if (m_nDashIndex % 2 == 0)
            dc.LineTo(Dev(cx), Dev(cy));
        else
            dc.MoveTo(Dev(cx), Dev(cy));
        L -= m_dDashLeft;
        next();
    }
    m_dDashLeft -= L;
    if (m_nDashIndex % 2 == 0) dc.LineTo(Dev(ex), Dev(ey));
    if (m_dDashLeft < 0.1) next();
}

int PlotRenderer::PrintPlotVertex(double x, double y, int pen, int close, int layer, int lineType,
                                  CDC& dc) {
    if (pen == 0) {
        BeginLinePattern(lineType);
        m_ptPolyFirst[0] = x;
        m_ptPolyFirst[1] = y;
    } else if (pen == 1 || pen == 2) {
        PrintPlotLine(m_ptPolyLast[0], m_ptPolyLast[1], x, y, layer, lineType, dc);
        if (pen == 2) {
            if (close == 1) PrintPlotLine(x, y, m_ptPolyFirst[0], m_ptPolyFirst[1], layer, lineType, dc);
            m_nDashCount = 0;
        }
    }
    m_ptPolyLast[0] = x;
    m_ptPolyLast[1] = y;
    return 0;
}

int PlotRenderer::PrintPlotDot(double x, double y, int layer, CDC& dc) {
    dc.SetPixel(Dev(m_map.PlotToDevX(x)), Dev(m_map.PlotToDevY(y)), LayerColor(layer));
    return 0;
}

int PlotRenderer::PrintPlotMark(double x, double y, double size, int code, int layer, int lineType,
                                CDC& dc) {
    const double r = size / 2.0;
    const int outline = code / 10;
    const int inner = code % 10;
    double p = r, q = r;
    switch (outline) {
    case 0:
        break;
    case 1:
        PrintArc3P(x - r, y, x, y, x - r, y, 1, layer, lineType, dc);
        break;
    case 2:
        PrintArc3P(x - r, y, x, y, x - r, y, 1, layer, lineType, dc);
        PrintArc3P(x - r / 2, y, x, y, x - r / 2, y, 1, layer, lineType, dc);
        p = q = r / 2;
        break;
    case 3:
        PrintPlotLine(x - r, y - r, x + r, y - r, layer, lineType, dc);
        PrintPlotLine(x + r, y - r, x + r, y + r, layer, lineType, dc);
        PrintPlotLine(x + r, y + r, x - r, y + r, layer, lineType, dc);
        PrintPlotLine(x - r, y + r, x - r, y - r, layer, lineType, dc);
        p = r;
        q = r * std::sqrt(2.0);
        break;
    case 4: {
        const double a = r * std::sqrt(3.0) / 2.0;
        PrintPlotLine(x - a, y - r / 2, x, y + r, layer, lineType, dc);
        PrintPlotLine(x, y + r, x + a, y - r / 2, layer, lineType, dc);
        PrintPlotLine(x + a, y - r / 2, x - a, y - r / 2, layer, lineType, dc);
        p = r / 2;
        q = std::sqrt((r - a) * (r - a) + (r / 2) * (r / 2));
        break;
    }
    default:
        return -1;
    }
    switch (inner) {
    case 0:
    case 1:
        break;
    case 2:
        PrintPlotDot(x, y, layer, dc);
        break;
    case 3:
        PrintPlotLine(x - p, y, x + p, y, layer, lineType, dc);
        PrintPlotLine(x, y + p, x, y - p, layer, lineType, dc);
        break;
    case 4: {
        const double c = q / std::sqrt(2.0);
        PrintPlotLine(x - c, y - c, x + c, y + c, layer, lineType, dc);
        PrintPlotLine(x - c, y + c, x + c, y - c, layer, lineType, dc);
        break;
    }
    case 5:
        PrintPlotLine(x, y + p, x, y - p, layer, lineType, dc);
        break;
    case 6:
        PrintPlotLine(x - p, y, x + p, y, layer, lineType, dc);
        break;
    default:
        return -1;
    }
    return 0;
}

int PlotRenderer::PrintArc3P(double sx, double sy, double cx, double cy, double ex, double ey,
                             int direction, int layer, int lineType, CDC& dc) {
    if (direction != 1) {
        std::swap(sx, ex);
        std::swap(sy, ey);
    }
    const double r1 = std::hypot(sx - cx, sy - cy);
    const double r2 = std::hypot(ex - cx, ey - cy);
    auto angleOf = [&](double px, double py) {
        if (std::fabs(px - cx) <= 0.001 && std::fabs(py - cy) <= 0.001) return 0.0;
        double a = std::atan2(py - cy, px - cx) * 180.0 / kPi;
        if (a < 0.0) a += 360.0;
        if (a >= 360.0) a -= 360.0;
        return a;
    };
    double a1 = angleOf(sx, sy);
    double a2 = angleOf(ex, ey);
    if (a1 >= a2) a2 += 360.0;
    if (std::fabs(sx - ex) <= 0.000001 && std::fabs(sy - ey) <= 0.000001) {
        a1 = 0.0;
        a2 = 360.0;
    }
    return PrintCircleArc(cx, cy, (r1 + r2) / 2.0, a1, a2, layer, lineType, dc);
}

int PlotRenderer::PrintCircleArc(double cx, double cy, double r, double start, double end, int layer,
                                 int lineType, CDC& dc) {
    return PrintEllipseArc(cx, cy, r, r, 0.0, start, end, layer, lineType, dc);
}

int PlotRenderer::PrintEllipseArc(double cx, double cy, double rx, double ry, double rotation,
                                  double start, double end, int layer, int lineType, CDC& dc) {
    if (end < start) end += 360.0;
    const double sweep = end - start;
    const double delta = sweep * kPi / 180.0;
    const bool full = std::fabs(sweep) > 359.999999 && std::fabs(sweep) < 360.000001;
    const double chords = rx * std::fabs(delta) * 10.0;
    int n = 8;
    if (chords >= kMaxChords)
        n = kMaxChords;
    else if (chords > 8.0)
        n = static_cast<int>(chords);
    // Start and rotation are degrees: both are turned into radians before cos and sin.
    const double s0 = start * kPi / 180.0;
    const double rot = rotation * kPi / 180.0;
    const double cr = std::cos(rot), sr = std::sin(rot);
    const int last = full ? n - 1 : n;
    for (int i = 0; i <= last; ++i) {
        const double t = s0 + i * delta / n;
        const double u = rx * std::cos(t), v = ry * std::sin(t);
        const int pen = i == 0 ? 0 : (i == last ? 2 : 1);
        PrintPlotVertex(cx + u * cr - v * sr, cy + u * sr + v * cr, pen, full ? 1 : 0, layer, lineType, dc);
    }
    return 0;
}

int PlotRenderer::PrintArrow(double tailX, double tailY, double tipX, double tipY, double headLength,
                             double headWidth, int style, int layer, int lineType, CDC& dc) {
    const double len = std::hypot(tipX - tailX, tipY - tailY);
    const double ux = len > 0.0 ? (tipX - tailX) / len : 0.0;
    const double uy = len > 0.0 ? (tipY - tailY) / len : 0.0;
    const double nx = -uy, ny = ux;
    const double hw = headWidth / 2.0;
    if (style >= 20) {
        const double bx = tailX + headLength * ux, by = tailY + headLength * uy;
        PrintPlotLine(bx + hw * nx, by + hw * ny, tailX, tailY, layer, lineType, dc);
        PrintPlotLine(bx - hw * nx, by - hw * ny, tailX, tailY, layer, lineType, dc);
    }
    if (style > 9) PrintPlotLine(tailX, tailY, tipX, tipY, layer, lineType, dc);
    const double bx = tipX - headLength * ux, by = tipY - headLength * uy;
    PrintPlotLine(bx + hw * nx, by + hw * ny, tipX, tipY, layer, lineType, dc);
    PrintPlotLine(bx - hw * nx, by - hw * ny, tipX, tipY, layer, lineType, dc);
    return 0;
}

int PlotRenderer::PrintPlotText(double x, double y, double height, double width,
                                const std::string& text, double angle, int layer, CDC& dc) {
    return PrintTextChars(m_map.PlotToDevX(x), m_map.PlotToDevY(y), m_map.PlotToDevLen(height),
                          m_map.PlotToDevLen(width), text, angle, layer, dc);
}

void PlotRenderer::SelectPlotFont(CDC& dc, double height, double angle) {
    if (height == m_dPlotFontHeight && angle == m_dPlotFontAngle) return;
    // A text size or angle from a foreign record can be anything: no device draws a font
    // larger than this, and an escapement is the same a whole turn on.
    const int h = Dev(std::clamp(height, -1.0e6, 1.0e6));
    const int escapement = std::isfinite(angle) ? static_cast<int>(std::fmod(angle, 360.0)) * 10 : 0;
    const CFont font = CFont::Create(h, 0, escapement, 0, FW_NORMAL, 0, 0, 0,
                                     SHIFTJIS_CHARSET, OUT_CHARACTER_PRECIS, CLIP_CHARACTER_PRECIS,
                                     0, 0, kPlotFontFace);
    const CFont old = dc.SelectObject(font);
    // The font that was selected before the first plot font is the one to go back to.
    if (!m_bPlotFontSelected) m_oldPlotFont = old;
    m_bPlotFontSelected = true;
    m_dPlotFontHeight = height;
    m_dPlotFontAngle = angle;
}

void PlotRenderer::ReleasePlotFont(CDC& dc) {
    if (m_bPlotFontSelected) dc.SelectObject(m_oldPlotFont);
    m_bPlotFontSelected = false;
    m_dPlotFontHeight = -1.0;
    m_dPlotFontAngle = -9999.0;
}

int PlotRenderer::PrintTextChars(double x, double y, double height, double width,
                                 const std::string& text, double angle, int layer, CDC& dc) {
    ScopedTextColor color(dc, LayerColor(layer));
    // The device's y axis points down: "up" in the text is towards smaller y.
    const std::size_t used = WalkPlotText(text, x, y, height, width, angle, -1, [&](const TextCell& cell) {
        SelectPlotFont(dc, cell.fontHeight, angle);
        const unsigned char b = static_cast<unsigned char>(text[cell.offset]);
        const bool singleByte = b <= 0x7F || (b >= 0xA1 && b <= 0xDF);
        // A double-byte character cut off at the end of a text (its trail byte missing)
        // takes its cell but has nothing that could be shown.
        if (cell.length == 1 && !singleByte) return;
        dc.TextOut(Dev(cell.x), Dev(cell.y), text.substr(cell.offset, cell.length));
    });
    return static_cast<int>(used);
}

}  // namespace wv
