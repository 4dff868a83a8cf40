#include "draw/primitives.h"

#include "draw/view_geometry.h"

#include <cmath>
#include <optional>

namespace wv {

const char* const kFigureFontFace = "ＭＳ ゴシック";

bool IsCp932LeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

namespace {

bool IsCp932SingleByte(unsigned char b) { return b <= 0x7F || (b >= 0xA1 && b <= 0xDF); }

constexpr double kPiText = 3.141592653589793;

}  // namespace

std::size_t WalkPlotText(const std::string& text, double x, double y, double height, double width,
                         double angleDeg, int ySign, const std::function<void(const TextCell&)>& cell) {
    const double H = height, W = width, d = W - H;
    const double a = angleDeg * kPiText / 180.0;
    const double c = std::cos(a), s = std::sin(a);
    const double cu = std::cos(a + kPiText / 2.0), su = std::sin(a + kPiText / 2.0);
    const double ys = ySign < 0 ? -1.0 : 1.0;
    double X = x, Y = y;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        double fontH = H;
        double up = H;        // how far the cell's top lies above the pen line
        bool escaped = false;
        if (text[i] == '\\' && i + 1 < n) {
            const char e = text[i + 1];
            if (e == 'U' || e == 'u') { escaped = true; fontH = H / 2.0; up = H; }
            if (e == 'D' || e == 'd') { escaped = true; fontH = H / 2.0; up = H / 2.0; }
            if (escaped) {
                i += 2;
                if (i >= n) break;
            }
        }
        const unsigned char b = static_cast<unsigned char>(text[i]);
        const bool single = IsCp932SingleByte(b);
        const std::size_t len = single ? 1 : (i + 1 < n ? 2 : 1);
        const double inset = (single || escaped) ? d / 4.0 : d / 2.0;
        const double advance = (single || escaped) ? W / 2.0 : W;
        TextCell tc;
        tc.offset = i;
        tc.length = len;
        tc.fontHeight = fontH;
        tc.x = X + inset * c + up * cu;
        tc.y = Y + ys * (inset * s + up * su);
        cell(tc);
        X += advance * c;
        Y += ys * advance * s;
        i += len;
    }
    return i;
}

bool DrawLineD(double x1, double y1, double x2, double y2, CDC* pDC) {
    if (pDC == nullptr) return false;
    if (!ClipSegment(x1, y1, x2, y2, DeviceGuard(*pDC))) return true;
    pDC->MoveTo(static_cast<int>(x1), static_cast<int>(y1));
    return pDC->LineTo(static_cast<int>(x2), static_cast<int>(y2));
}

COLORREF ColorFromCode(int code) {
    switch (code) {
    case 1: return RGB(0, 0, 255);
    case 2: return RGB(255, 0, 0);
    case 3: return RGB(255, 0, 255);
    case 4: return RGB(0, 255, 0);
    case 5: return RGB(0, 255, 255);
    case 6: return RGB(255, 255, 0);
    case 7: return RGB(255, 255, 255);
    case 8: return RGB(192, 192, 192);
    default: return RGB(0, 0, 0);
    }
}

int DrawRotatedText(double x, double y, double height, double width, const std::string& text,
                    double angle, int colourCode, int opaque, CDC* pDC) {
    if (pDC == nullptr || text.empty()) return 0;
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(height) || !std::isfinite(width) ||
        !std::isfinite(angle))
        return 0;
    const GuardRect guard = DeviceGuard(*pDC);
    const CFont oldFont = pDC->GetCurrentFont();
    const int oldBkMode = pDC->GetBkMode();
    const COLORREF oldBkColor = pDC->GetBkColor();
    const COLORREF oldTextColor = pDC->GetTextColor();
    // Whole degrees, as the font's escapement is given; a huge angle must not overflow.
    const double wholeDeg = std::trunc(std::fmod(angle, 360.0));
    const int escapement = static_cast<int>(wholeDeg) * 10;
    std::optional<int> madeHeight;
    bool changed = false;
    const std::size_t used = WalkPlotText(
        text, x, y, height, width, angle, colourCode >= 0 ? -1 : 1, [&](const TextCell& tc) {
            const double hClamped = std::fmin(std::fmax(tc.fontHeight, -1e6), 1e6);
            const int h = static_cast<int>(hClamped);
            if (!madeHeight || *madeHeight != h) {
                pDC->SelectObject(CFont::Create(h, 0, escapement, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET,
                                                OUT_CHARACTER_PRECIS, CLIP_CHARACTER_PRECIS, 0, 0,
                                                kFigureFontFace));
                pDC->SetTextColor(colourCode >= 0 ? ColorFromCode(colourCode) : RGB(0, 0, 0));
                if (opaque == 1) {
                    pDC->SetBkMode(OPAQUE);
                    pDC->SetBkColor(RGB(0, 0, 0));
                } else {
                    pDC->SetBkMode(TRANSPARENT);
                }
                madeHeight = h;
                changed = true;
            }
            double cx = tc.x, cy = tc.y;
            if (!guard.Contains(cx, cy)) return;  // far off the device: nothing can show
            pDC->TextOut(static_cast<int>(cx), static_cast<int>(cy), text.substr(tc.offset, tc.length));
        });
    if (changed) {
        pDC->SelectObject(oldFont);
        pDC->SetBkMode(oldBkMode);
        if (opaque == 1) pDC->SetBkColor(oldBkColor);
        pDC->SetTextColor(oldTextColor);
    }
    return static_cast<int>(used);
}

}  // namespace wv
