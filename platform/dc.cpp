#include "platform/dc.h"

namespace wv {

CFont CFont::Create(int height, int width, int escapement, int orientation, int weight, int italic,
                    int underline, int strikeOut, int charSet, int outPrecision, int clipPrecision,
                    int quality, int pitchAndFamily, const std::string& faceName) {
    CFont f;
    f.m_nHeight = height;
    f.m_nWidth = width;
    f.m_nEscapement = escapement;
    f.m_nOrientation = orientation;
    f.m_nWeight = weight;
    f.m_bItalic = italic;
    f.m_bUnderline = underline;
    f.m_bStrikeOut = strikeOut;
    f.m_nCharSet = charSet;
    f.m_nOutPrecision = outPrecision;
    f.m_nClipPrecision = clipPrecision;
    f.m_nQuality = quality;
    f.m_nPitchAndFamily = pitchAndFamily;
    f.m_strFaceName = faceName;
    return f;
}

CPen CDC::SelectObject(const CPen& pen) {
    CPen old = m_state.pen;
    m_state.pen = pen;
    return old;
}

CBrush CDC::SelectObject(const CBrush& brush) {
    CBrush old = m_state.brush;
    m_state.brush = brush;
    return old;
}

CFont CDC::SelectObject(const CFont& font) {
    CFont old = m_state.font;
    m_state.font = font;
    return old;
}

int CDC::SetROP2(int rop) {
    const int old = m_state.rop2;
    m_state.rop2 = rop;
    return old;
}

COLORREF CDC::SetTextColor(COLORREF color) {
    const COLORREF old = m_state.textColor;
    m_state.textColor = color;
    return old;
}

COLORREF CDC::SetBkColor(COLORREF color) {
    const COLORREF old = m_state.bkColor;
    m_state.bkColor = color;
    return old;
}

int CDC::SetBkMode(int mode) {
    const int old = m_state.bkMode;
    m_state.bkMode = mode;
    return old;
}

CPoint CDC::SetViewportOrg(int x, int y) {
    const CPoint old = m_state.viewportOrg;
    m_state.viewportOrg = CPoint{x, y};
    return old;
}

CPoint CDC::MoveTo(int x, int y) {
    const CPoint old = m_state.position;
    m_state.position = CPoint{x, y};
    return old;
}

}  // namespace wv
