// Our drawing context in place of the Windows device context. It keeps the shape of the
// GDI calls the figure routines were written against, so each of them ports line by line:
// integer pixels with y down, a viewport origin that follows the scroll, COLORREF colours
// (0x00BBGGRR), pens, brushes and fonts selected into the context.
//
// Pens, brushes and fonts are plain values here. Selecting one returns the one it
// replaces, so "select, draw, select the old one back" keeps its form; the scoped guards
// at the end of this file do the restoring on every path.
//
// Backends: CQtDC (platform/qt/) on a window image or a printer, and CRecordingDC
// (platform/recording_dc.h) for tests. No Qt in this header.
#pragma once

#include <cstdint>
#include <string>

namespace wv {

using COLORREF = std::uint32_t;

constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) { return static_cast<int>(c & 0xFF); }
constexpr int GetGValue(COLORREF c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int GetBValue(COLORREF c) { return static_cast<int>((c >> 16) & 0xFF); }

// Pen styles.
enum { PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4, PS_NULL = 5 };
// Raster operations for pens (SetROP2). Only these two are drawn; others act as copy.
enum { R2_XORPEN = 7, R2_COPYPEN = 13 };
// Background modes.
enum { TRANSPARENT = 1, OPAQUE = 2 };
// Brush kinds.
enum { BS_SOLID = 0, BS_NULL = 1 };
// Font constants the figure routines pass.
enum { FW_NORMAL = 400, FW_BOLD = 700 };
enum { SHIFTJIS_CHARSET = 128, DEFAULT_CHARSET = 1 };
enum { OUT_CHARACTER_PRECIS = 2, CLIP_CHARACTER_PRECIS = 1 };
// GetDeviceCaps indices and TECHNOLOGY values.
enum {
    TECHNOLOGY = 2, HORZSIZE = 4, VERTSIZE = 6, HORZRES = 8, VERTRES = 10, BITSPIXEL = 12,
    NUMCOLORS = 24, LOGPIXELSX = 88, LOGPIXELSY = 90
};
enum { DT_PLOTTER = 0, DT_RASDISPLAY = 1, DT_RASPRINTER = 2 };

struct CPoint {
    int x = 0;
    int y = 0;
    bool operator==(const CPoint&) const = default;
};

struct CSize {
    int cx = 0;
    int cy = 0;
    bool operator==(const CSize&) const = default;
};

// Left/top inside, right/bottom outside, as in GDI.
struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    long long Width() const { return static_cast<long long>(right) - left; }
    long long Height() const { return static_cast<long long>(bottom) - top; }
    bool IsRectEmpty() const { return right <= left || bottom <= top; }
    void NormalizeRect() {
        if (left > right) { const int t = left; left = right; right = t; }
        if (top > bottom) { const int t = top; top = bottom; bottom = t; }
    }
    bool operator==(const CRect&) const = default;
};

class CPen {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) : m_nStyle(style), m_nWidth(width), m_color(color) {}
    bool operator==(const CPen&) const = default;

    int m_nStyle = PS_SOLID;
    int m_nWidth = 1;  // 0 or 1: one pixel
    COLORREF m_color = 0;
};

class CBrush {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color) : m_nStyle(BS_SOLID), m_color(color) {}
    // The stock hollow brush: shapes get their outline only.
    static CBrush Null() { CBrush b; b.m_nStyle = BS_NULL; return b; }
    bool operator==(const CBrush&) const = default;

    int m_nStyle = BS_SOLID;
    COLORREF m_color = RGB(255, 255, 255);
};

// A logical font as CreateFont takes it. The face name is UTF-8.
class CFont {
public:
    CFont() = default;
    bool operator==(const CFont&) const = default;

    // Cell height in pixels (ascent + descent), as a positive GDI height.
    int m_nHeight = 0;
    int m_nWidth = 0;
    int m_nEscapement = 0;  // tenths of a degree, counter-clockwise
    int m_nOrientation = 0;
    int m_nWeight = FW_NORMAL;
    int m_bItalic = 0;
    int m_bUnderline = 0;
    int m_bStrikeOut = 0;
    int m_nCharSet = DEFAULT_CHARSET;
    int m_nOutPrecision = 0;
    int m_nClipPrecision = 0;
    int m_nQuality = 0;
    int m_nPitchAndFamily = 0;
    std::string m_strFaceName;

    // CreateFont's argument order.
    static CFont Create(int height, int width, int escapement, int orientation, int weight,
                        int italic, int underline, int strikeOut, int charSet, int outPrecision,
                        int clipPrecision, int quality, int pitchAndFamily,
                        const std::string& faceName);
};

// Everything that is selected into a context. The recording backend stores a copy with
// each call; tests compare it before and after a routine.
struct DcState {
    CPen pen;
    CBrush brush;
    CFont font;
    int rop2 = R2_COPYPEN;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    CPoint viewportOrg;
    CPoint position;  // current position of MoveTo/LineTo
    bool operator==(const DcState&) const = default;
};

class CDC {
public:
    CDC() = default;
    virtual ~CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // Selection: each returns what it replaced.
    virtual CPen SelectObject(const CPen& pen);
    virtual CBrush SelectObject(const CBrush& brush);
    virtual CFont SelectObject(const CFont& font);
    virtual int SetROP2(int rop);
    virtual COLORREF SetTextColor(COLORREF color);
    virtual COLORREF SetBkColor(COLORREF color);
    virtual int SetBkMode(int mode);
    // Device point of logical (0, 0). A scroll view sets minus its scroll position.
    virtual CPoint SetViewportOrg(int x, int y);

    const CPen& GetCurrentPen() const { return m_state.pen; }
    const CBrush& GetCurrentBrush() const { return m_state.brush; }
    const CFont& GetCurrentFont() const { return m_state.font; }
    int GetROP2() const { return m_state.rop2; }
    COLORREF GetTextColor() const { return m_state.textColor; }
    COLORREF GetBkColor() const { return m_state.bkColor; }
    int GetBkMode() const { return m_state.bkMode; }
    CPoint GetViewportOrg() const { return m_state.viewportOrg; }
    CPoint GetCurrentPosition() const { return m_state.position; }
    const DcState& GetState() const { return m_state; }

    // Lines with the current pen and ROP. LineTo does not draw its last pixel; the
    // current position moves to it. Returns the previous position / TRUE.
    virtual CPoint MoveTo(int x, int y);
    virtual bool LineTo(int x, int y) = 0;
    // Joined segments; no pixel is drawn twice at a vertex, the last point is not drawn.
    virtual bool Polyline(const CPoint* points, int count) = 0;
    // Closed outline with the pen, filled with the brush (alternate rule).
    virtual bool Polygon(const CPoint* points, int count) = 0;
    // Shapes inside the box (left/top inside, right/bottom outside), outlined with the
    // pen and filled with the brush. Arc and Chord run counter-clockwise from the radial
    // through (x3, y3) to the one through (x4, y4); equal radials give the whole ellipse.
    virtual bool Rectangle(int left, int top, int right, int bottom) = 0;
    virtual bool Ellipse(int left, int top, int right, int bottom) = 0;
    virtual bool Arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) = 0;
    virtual bool Chord(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) = 0;
    // Plain colour, not affected by the ROP, the pen or the brush.
    virtual void FillSolidRect(int x, int y, int cx, int cy, COLORREF color) = 0;
    void FillSolidRect(const CRect& rc, COLORREF color) {
        FillSolidRect(rc.left, rc.top, static_cast<int>(rc.Width()), static_cast<int>(rc.Height()), color);
    }
    virtual COLORREF SetPixel(int x, int y, COLORREF color) = 0;
    // One character (one or two CP932 bytes) with the current font, its cell's top-left
    // corner at (x, y); the cell turns about that corner with the font's escapement.
    virtual bool TextOut(int x, int y, const std::string& cp932) = 0;
    // The drag frame: a halftone checker, anchored at device (0, 0), XORed over the
    // frame of `rect` (thickness `size`); with a last rectangle, that frame is erased in
    // the same call. Drawing the same frame twice leaves the pixels as they were.
    virtual void DrawDragRect(const CRect& rect, CSize size, const CRect* last, CSize sizeLast) = 0;
    // Whether any part of a logical rectangle lies on the device.
    virtual bool RectVisible(const CRect& rect) const = 0;
    virtual int GetDeviceCaps(int index) const = 0;

protected:
    DcState m_state;
};

// Scoped selections: select on construction, select the old value back on destruction.
template <class T>
class ScopedSelect {
public:
    ScopedSelect(CDC& dc, const T& value) : m_dc(dc), m_old(dc.SelectObject(value)) {}
    ~ScopedSelect() { m_dc.SelectObject(m_old); }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
    const T& Old() const { return m_old; }

private:
    CDC& m_dc;
    T m_old;
};
using ScopedPen = ScopedSelect<CPen>;
using ScopedBrush = ScopedSelect<CBrush>;
using ScopedFont = ScopedSelect<CFont>;

class ScopedRop2 {
public:
    ScopedRop2(CDC& dc, int rop) : m_dc(dc), m_old(dc.SetROP2(rop)) {}
    ~ScopedRop2() { m_dc.SetROP2(m_old); }
    ScopedRop2(const ScopedRop2&) = delete;
    ScopedRop2& operator=(const ScopedRop2&) = delete;

private:
    CDC& m_dc;
    int m_old;
};

class ScopedTextColor {
public:
    ScopedTextColor(CDC& dc, COLORREF c) : m_dc(dc), m_old(dc.SetTextColor(c)) {}
    ~ScopedTextColor() { m_dc.SetTextColor(m_old); }
    ScopedTextColor(const ScopedTextColor&) = delete;
    ScopedTextColor& operator=(const ScopedTextColor&) = delete;

private:
    CDC& m_dc;
    COLORREF m_old;
};

class ScopedBkColor {
public:
    ScopedBkColor(CDC& dc, COLORREF c) : m_dc(dc), m_old(dc.SetBkColor(c)) {}
    ~ScopedBkColor() { m_dc.SetBkColor(m_old); }
    ScopedBkColor(const ScopedBkColor&) = delete;
    ScopedBkColor& operator=(const ScopedBkColor&) = delete;

private:
    CDC& m_dc;
    COLORREF m_old;
};

class ScopedBkMode {
public:
    ScopedBkMode(CDC& dc, int mode) : m_dc(dc), m_old(dc.SetBkMode(mode)) {}
    ~ScopedBkMode() { m_dc.SetBkMode(m_old); }
    ScopedBkMode(const ScopedBkMode&) = delete;
    ScopedBkMode& operator=(const ScopedBkMode&) = delete;

private:
    CDC& m_dc;
    int m_old;
};

class ScopedViewportOrg {
public:
    ScopedViewportOrg(CDC& dc, int x, int y) : m_dc(dc), m_old(dc.SetViewportOrg(x, y)) {}
    ~ScopedViewportOrg() { m_dc.SetViewportOrg(m_old.x, m_old.y); }
    ScopedViewportOrg(const ScopedViewportOrg&) = delete;
    ScopedViewportOrg& operator=(const ScopedViewportOrg&) = delete;

private:
    CDC& m_dc;
    CPoint m_old;
};

}  // namespace wv
