#include "platform/qt/qt_dc.h"

#include "platform/text.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QPrinter>
#include <QPrinterInfo>

#include <cmath>

namespace wv {

namespace {

QColor ToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

Qt::PenStyle ToQtStyle(int style) {
    switch (style) {
    case PS_DASH: return Qt::DashLine;
    case PS_DOT: return Qt::DotLine;
    case PS_DASHDOT: return Qt::DashDotLine;
    case PS_DASHDOTDOT: return Qt::DashDotDotLine;
    case PS_NULL: return Qt::NoPen;
    default: return Qt::SolidLine;
    }
}

PixelSurface SurfaceOf(QImage* image) {
    if (image->format() != QImage::Format_RGB32) *image = image->convertToFormat(QImage::Format_RGB32);
    return PixelSurface{reinterpret_cast<std::uint32_t*>(image->bits()), image->width(), image->height(),
                        static_cast<int>(image->bytesPerLine() / 4)};
}

// Start and sweep (degrees, counter-clockwise) of an arc given by its two radial points.
void ArcAngles(const QRectF& box, double x3, double y3, double x4, double y4, double* start,
               double* sweep) {
    const QPointF c = box.center();
    const double a0 = std::atan2(-(y3 - c.y()), x3 - c.x()) * 180.0 / 3.141592653589793;
    const double a1 = std::atan2(-(y4 - c.y()), x4 - c.x()) * 180.0 / 3.141592653589793;
    double s = std::fmod(a1 - a0 + 720.0, 360.0);
    if (s < 1e-9) s = 360.0;
    *start = a0;
    *sweep = s;
}

// CP932 bytes of the character that starts at i: two after a lead byte.
std::size_t Cp932CharLength(const std::string& s, std::size_t i) {
    const unsigned char b = static_cast<unsigned char>(s[i]);
    const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    return lead && i + 1 < s.size() ? 2 : 1;
}

}  // namespace

bool IsFixedPitchFace(const std::string& faceUtf8) {
    return faceUtf8 == "ＭＳ ゴシック" || faceUtf8 == "ＭＳ 明朝" || faceUtf8 == "MS Gothic" ||
           faceUtf8 == "MS Mincho";
}

bool UsePdfWhenNoPrinter(QPrinter& printer, const QString& pdfPath) {
    const bool pdf = printer.outputFormat() == QPrinter::PdfFormat || printer.printerName().isEmpty() ||
                     QPrinterInfo::availablePrinters().isEmpty();
    if (pdf) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
    }
    return pdf;
}

QString FamilyForFace(const std::string& faceUtf8) {
    const QString face = QString::fromStdString(faceUtf8);
    if (face.contains(QStringLiteral("明朝")) || face.contains(QStringLiteral("Mincho"), Qt::CaseInsensitive))
        return QStringLiteral("IPAexMincho");
    return QStringLiteral("IPAexGothic");
}

QFont QFontFromLogical(const CFont& font, double dpiScale) {
    QFont f(FamilyForFace(font.m_strFaceName));
    f.setStyleStrategy(QFont::NoAntialias);
    f.setWeight(font.m_nWeight >= 600 ? QFont::Bold : QFont::Normal);
    f.setItalic(font.m_bItalic != 0);
    f.setUnderline(font.m_bUnderline != 0);
    f.setStrikeOut(font.m_bStrikeOut != 0);
    int cell = std::abs(font.m_nHeight);
    if (cell == 0) cell = static_cast<int>(std::lround(16 * dpiScale));
    f.setPixelSize(cell);
    // GDI's positive height is the whole cell; Qt's pixel size is the em. Shrink the em
    // by the family's cell-to-em ratio.
    const QFontMetricsF fm(f);
    const double h = fm.ascent() + fm.descent();
    if (font.m_nHeight > 0 && h > 0.0) {
        const int px = static_cast<int>(std::lround(cell * cell / h));
        f.setPixelSize(px < 1 ? 1 : px);
    }
    return f;
}

CQtDC::CQtDC(QImage* image) : CPixelDC(SurfaceOf(image)), m_image(image) {}

CQtDC::CQtDC(QPrinter* printer, QPainter* painter)
    : CPixelDC(printer->width(), printer->height()), m_printer(printer), m_printPainter(painter) {}

CQtDC::~CQtDC() = default;

const QFont& CQtDC::FontFor(const CFont& logical) {
    if (!m_qfont || !(m_qfontFor == logical)) {
        m_qfont = std::make_unique<QFont>(QFontFromLogical(logical));
        m_qfontFor = logical;
    }
    return *m_qfont;
}

template <class F> void CQtDC::Paint(F&& draw) {
    if (m_printer != nullptr) {
        m_printPainter->save();
        m_printPainter->setRenderHint(QPainter::Antialiasing, false);
        draw(*m_printPainter);
        m_printPainter->restore();
        return;
    }
    QPainter p(m_image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    if (m_state.rop2 == R2_XORPEN) p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    draw(p);
}

void CQtDC::PreparePainter(QPainter& p, bool withBrush) const {
    const CPen& pen = m_state.pen;
    if (pen.m_nStyle == PS_NULL) {
        p.setPen(Qt::NoPen);
    } else {
        QPen qp(ToQColor(pen.m_color));
        qp.setStyle(ToQtStyle(pen.m_nStyle));
        qp.setWidth(pen.m_nWidth <= 1 ? (m_printer != nullptr ? 0 : 1) : pen.m_nWidth);
        qp.setCapStyle(Qt::RoundCap);
        qp.setJoinStyle(Qt::RoundJoin);
        p.setPen(qp);
    }
    if (withBrush && m_state.brush.m_nStyle != BS_NULL)
        p.setBrush(ToQColor(m_state.brush.m_color));
    else
        p.setBrush(Qt::NoBrush);
    p.translate(m_state.viewportOrg.x, m_state.viewportOrg.y);
}

void CQtDC::WidePolyline(const std::vector<long long>& devXY, bool close) {
    // Device points: no viewport translation on top of them.
    QPolygonF poly;
    for (std::size_t i = 0; i + 1 < devXY.size(); i += 2)
        poly << QPointF(static_cast<double>(devXY[i]), static_cast<double>(devXY[i + 1]));
    Paint([&](QPainter& p) {
        PreparePainter(p, false);
        p.translate(-m_state.viewportOrg.x, -m_state.viewportOrg.y);
        if (close)
            p.drawPolygon(poly);
        else
            p.drawPolyline(poly);
    });
}

bool CQtDC::LineTo(int x, int y) {
    if (m_printer == nullptr) return CPixelDC::LineTo(x, y);
    const CPoint from = m_state.position;
    m_state.position = CPoint{x, y};
    Paint([&](QPainter& p) {
        PreparePainter(p, false);
        p.drawLine(QPointF(from.x, from.y), QPointF(x, y));
    });
    return true;
}

bool CQtDC::Polyline(const CPoint* points, int count) {
    if (m_printer == nullptr) return CPixelDC::Polyline(points, count);
    if (points == nullptr || count < 2) return false;
    QPolygonF poly;
    for (int i = 0; i < count; ++i) poly << QPointF(points[i].x, points[i].y);
    Paint([&](QPainter& p) { PreparePainter(p, false); p.drawPolyline(poly); });
    return true;
}

bool CQtDC::Polygon(const CPoint* points, int count) {
    if (m_printer == nullptr) return CPixelDC::Polygon(points, count);
    if (points == nullptr || count < 2) return false;
    QPolygonF poly;
    for (int i = 0; i < count; ++i) poly << QPointF(points[i].x, points[i].y);
    Paint([&](QPainter& p) { PreparePainter(p, true); p.drawPolygon(poly, Qt::OddEvenFill); });
    return true;
}

bool CQtDC::Rectangle(int left, int top, int right, int bottom) {
    if (m_printer == nullptr) return CPixelDC::Rectangle(left, top, right, bottom);
    Paint([&](QPainter& p) {
        PreparePainter(p, true);
        p.drawRect(QRectF(left, top, static_cast<double>(right) - left - 1, static_cast<double>(bottom) - top - 1));
    });
    return true;
}

bool CQtDC::Ellipse(int left, int top, int right, int bottom) {
    if (m_printer == nullptr) return CPixelDC::Ellipse(left, top, right, bottom);
    Paint([&](QPainter& p) {
        PreparePainter(p, true);
        p.drawEllipse(QRectF(left, top, static_cast<double>(right) - left, static_cast<double>(bottom) - top));
    });
    return true;
}

bool CQtDC::Arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) {
    if (m_printer == nullptr) return CPixelDC::Arc(left, top, right, bottom, x3, y3, x4, y4);
    const QRectF box(left, top, static_cast<double>(right) - left, static_cast<double>(bottom) - top);
    double start = 0, sweep = 0;
    ArcAngles(box, x3, y3, x4, y4, &start, &sweep);
    Paint([&](QPainter& p) {
        PreparePainter(p, false);
        p.drawArc(box, static_cast<int>(std::lround(start * 16)), static_cast<int>(std::lround(sweep * 16)));
    });
    return true;
}

bool CQtDC::Chord(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) {
    if (m_printer == nullptr) return CPixelDC::Chord(left, top, right, bottom, x3, y3, x4, y4);
    const QRectF box(left, top, static_cast<double>(right) - left, static_cast<double>(bottom) - top);
    double start = 0, sweep = 0;
    ArcAngles(box, x3, y3, x4, y4, &start, &sweep);
    Paint([&](QPainter& p) {
        PreparePainter(p, true);
        p.drawChord(box, static_cast<int>(std::lround(start * 16)), static_cast<int>(std::lround(sweep * 16)));
    });
    return true;
}

void CQtDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
    if (m_printer == nullptr) return CPixelDC::FillSolidRect(x, y, cx, cy, color);
    m_printPainter->save();
    m_printPainter->translate(m_state.viewportOrg.x, m_state.viewportOrg.y);
    m_printPainter->fillRect(QRectF(x, y, cx, cy), ToQColor(color));
    m_printPainter->restore();
}

COLORREF CQtDC::SetPixel(int x, int y, COLORREF color) {
    if (m_printer == nullptr) return CPixelDC::SetPixel(x, y, color);
    FillSolidRect(x, y, 1, 1, color);
    return color;
}

bool CQtDC::TextOut(int x, int y, const std::string& cp932) {
    if (cp932.empty()) return true;
    const QString text = QString::fromStdString(Cp932ToUtf8(cp932));
    const long long dx = DevX(x), dy = DevY(y);
    // Far off the device nothing can show; the painter's own coordinates stay small.
    const long long margin = 4LL * (std::abs(m_state.font.m_nHeight) + 16);
    if (dx < -margin || dy < -margin || dx > Width() + margin || dy > Height() + margin) return true;
    const QFont& font = FontFor(m_state.font);
    const COLORREF textColor = m_state.textColor;
    const bool opaque = m_state.bkMode == OPAQUE;
    const COLORREF bk = m_state.bkColor;
    const double angle = m_state.font.m_nEscapement / 10.0;
    const bool fixedPitch = IsFixedPitchFace(m_state.font.m_strFaceName);
    auto draw = [&](QPainter& p) {
        p.setFont(font);
        const QFontMetricsF fm(font, p.device());
        const double cellH = fm.ascent() + fm.descent();
        p.translate(static_cast<double>(dx), static_cast<double>(dy));
        p.rotate(-angle);
        p.setPen(ToQColor(textColor));
        if (!fixedPitch) {
            if (opaque) p.fillRect(QRectF(0, 0, fm.horizontalAdvance(text), cellH), ToQColor(bk));
            p.drawText(QPointF(0, fm.ascent()), text);
            return;
        }
        // The Windows face gives a single-byte character half the height and a double-byte
        // one the whole height, and the callers place their characters by those widths.
        // The substitute's half-width digits are wider: drawn as they are, the next
        // character's background covered their last column and a "0" read as "C". So
        // each character gets the face's cell, its glyph narrowed into it when wider.
        const double em = m_state.font.m_nHeight != 0 ? std::abs(m_state.font.m_nHeight) : cellH;
        double x = 0.0;
        for (std::size_t i = 0; i < cp932.size();) {
            const std::size_t n = Cp932CharLength(cp932, i);
            const QString ch = QString::fromStdString(Cp932ToUtf8(cp932.substr(i, n)));
            const double cellW = n == 1 ? em / 2.0 : em;
            if (opaque) p.fillRect(QRectF(x, 0, cellW, cellH), ToQColor(bk));
            const double advance = fm.horizontalAdvance(ch);
            p.save();
            p.translate(x, 0.0);
            if (advance > cellW && advance > 0.0) p.scale(cellW / advance, 1.0);
            p.drawText(QPointF(0, fm.ascent()), ch);
            p.restore();
            x += cellW;
            i += n;
        }
    };
    if (m_printer != nullptr) {
        m_printPainter->save();
        draw(*m_printPainter);
        m_printPainter->restore();
    } else {
        QPainter p(m_image);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        draw(p);
    }
    return true;
}

void CQtDC::DrawDragRect(const CRect& rect, CSize size, const CRect* last, CSize sizeLast) {
    if (m_printer == nullptr) CPixelDC::DrawDragRect(rect, size, last, sizeLast);
}

bool CQtDC::RectVisible(const CRect& rect) const { return CPixelDC::RectVisible(rect); }

int CQtDC::GetDeviceCaps(int index) const {
    if (m_printer == nullptr) return CPixelDC::GetDeviceCaps(index);
    switch (index) {
    case TECHNOLOGY: return DT_RASPRINTER;
    case HORZRES: return m_printer->width();
    case VERTRES: return m_printer->height();
    case HORZSIZE: return m_printer->widthMM();
    case VERTSIZE: return m_printer->heightMM();
    case LOGPIXELSX: return m_printer->logicalDpiX();
    case LOGPIXELSY: return m_printer->logicalDpiY();
    // Windows answers -1 for a true-colour printer, which the "at most two colours
    // prints black" rule would catch; a colour printer here reports a palette.
    case NUMCOLORS: return m_printer->colorMode() == QPrinter::Color ? 256 : 2;
    case BITSPIXEL: return m_printer->colorMode() == QPrinter::Color ? 24 : 1;
    default: return CPixelDC::GetDeviceCaps(index);
    }
}

}  // namespace wv
