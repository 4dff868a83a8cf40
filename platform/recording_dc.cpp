#include "platform/recording_dc.h"

#include "platform/text.h"

namespace wv {

namespace {

std::string Hex(COLORREF c) { return Sprintf("0x%06X", static_cast<unsigned>(c & 0xFFFFFF)); }

std::string PenText(const CPen& p) {
    return Sprintf("pen=%d/%d/", p.m_nStyle, p.m_nWidth) + Hex(p.m_color);
}

std::string BrushText(const CBrush& b) {
    return b.m_nStyle == BS_NULL ? std::string("brush=null") : "brush=" + Hex(b.m_color);
}

}  // namespace

bool DcCall::IsDrawing() const {
    if (op == "SetPixel") return true;
    return op != "MoveTo" && op.rfind("Select", 0) != 0 && op.rfind("Set", 0) != 0;
}

std::string DcCall::Describe(bool withState) const {
    std::string s = op + "(";
    if (op == "SelectPen") {
        s += Sprintf("%lld,%lld,", args[0], args[1]) + Hex(static_cast<COLORREF>(args[2]));
    } else if (op == "SelectBrush") {
        s += args[0] == BS_NULL ? std::string("null") : Hex(static_cast<COLORREF>(args[1]));
    } else if (op == "SelectFont") {
        s += Sprintf("h=%lld,esc=%lld", args[0], args[1]);
    } else if (op == "SetTextColor" || op == "SetBkColor") {
        s += Hex(static_cast<COLORREF>(args[0]));
    } else if (op == "FillSolidRect" || op == "SetPixel") {
        for (std::size_t i = 0; i + 1 < args.size(); ++i) s += Sprintf("%lld,", args[i]);
        s += Hex(static_cast<COLORREF>(args.back()));
    } else {
        for (std::size_t i = 0; i < args.size(); ++i) s += Sprintf(i ? ",%lld" : "%lld", args[i]);
        if (op == "TextOut") s += ",\"" + Cp932ToUtf8(text) + "\"";
    }
    s += ")";
    if (!withState) return s;
    const bool xorOp = state.rop2 == R2_XORPEN;
    if (op == "LineTo" || op == "Polyline" || op == "Arc") {
        s += " " + PenText(state.pen);
        if (xorOp) s += " xor";
    } else if (op == "Polygon" || op == "Rectangle" || op == "Ellipse" || op == "Chord") {
        s += " " + PenText(state.pen) + " " + BrushText(state.brush);
        if (xorOp) s += " xor";
    } else if (op == "TextOut") {
        s += Sprintf(" font=%d/%d color=", state.font.m_nHeight, state.font.m_nEscapement) +
             Hex(state.textColor) +
             (state.bkMode == OPAQUE ? " bk=" + Hex(state.bkColor) : std::string(" bk=none"));
    }
    return s;
}

void CRecordingDC::Record(const char* op, std::vector<long long> args, std::string text) {
    DcCall c;
    c.op = op;
    c.args = std::move(args);
    c.text = std::move(text);
    c.state = m_state;
    m_calls.push_back(std::move(c));
}

CPen CRecordingDC::SelectObject(const CPen& pen) {
    Record("SelectPen", {pen.m_nStyle, pen.m_nWidth, static_cast<long long>(pen.m_color)});
    return CPixelDC::SelectObject(pen);
}

CBrush CRecordingDC::SelectObject(const CBrush& brush) {
    Record("SelectBrush", {brush.m_nStyle, static_cast<long long>(brush.m_color)});
    return CPixelDC::SelectObject(brush);
}

CFont CRecordingDC::SelectObject(const CFont& font) {
    Record("SelectFont", {font.m_nHeight, font.m_nEscapement}, font.m_strFaceName);
    return CPixelDC::SelectObject(font);
}

int CRecordingDC::SetROP2(int rop) {
    Record("SetROP2", {rop});
    return CPixelDC::SetROP2(rop);
}

COLORREF CRecordingDC::SetTextColor(COLORREF color) {
    Record("SetTextColor", {static_cast<long long>(color)});
    return CPixelDC::SetTextColor(color);
}

COLORREF CRecordingDC::SetBkColor(COLORREF color) {
    Record("SetBkColor", {static_cast<long long>(color)});
    return CPixelDC::SetBkColor(color);
}

int CRecordingDC::SetBkMode(int mode) {
    Record("SetBkMode", {mode});
    return CPixelDC::SetBkMode(mode);
}

CPoint CRecordingDC::SetViewportOrg(int x, int y) {
    Record("SetViewportOrg", {x, y});
    return CPixelDC::SetViewportOrg(x, y);
}

CPoint CRecordingDC::MoveTo(int x, int y) {
    Record("MoveTo", {x, y});
    return CPixelDC::MoveTo(x, y);
}

bool CRecordingDC::LineTo(int x, int y) {
    Record("LineTo", {x, y});
    return CPixelDC::LineTo(x, y);
}

bool CRecordingDC::Polyline(const CPoint* points, int count) {
    std::vector<long long> a;
    for (int i = 0; points != nullptr && i < count; ++i) { a.push_back(points[i].x); a.push_back(points[i].y); }
    Record("Polyline", a);
    return CPixelDC::Polyline(points, count);
}

bool CRecordingDC::Polygon(const CPoint* points, int count) {
    std::vector<long long> a;
    for (int i = 0; points != nullptr && i < count; ++i) { a.push_back(points[i].x); a.push_back(points[i].y); }
    Record("Polygon", a);
    return CPixelDC::Polygon(points, count);
}

bool CRecordingDC::Rectangle(int left, int top, int right, int bottom) {
    Record("Rectangle", {left, top, right, bottom});
    return CPixelDC::Rectangle(left, top, right, bottom);
}

bool CRecordingDC::Ellipse(int left, int top, int right, int bottom) {
    Record("Ellipse", {left, top, right, bottom});
    return CPixelDC::Ellipse(left, top, right, bottom);
}

bool CRecordingDC::Arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) {
    Record("Arc", {left, top, right, bottom, x3, y3, x4, y4});
    return CPixelDC::Arc(left, top, right, bottom, x3, y3, x4, y4);
}

bool CRecordingDC::Chord(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) {
    Record("Chord", {left, top, right, bottom, x3, y3, x4, y4});
    return CPixelDC::Chord(left, top, right, bottom, x3, y3, x4, y4);
}

void CRecordingDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
    Record("FillSolidRect", {x, y, cx, cy, static_cast<long long>(color)});
    CPixelDC::FillSolidRect(x, y, cx, cy, color);
}

COLORREF CRecordingDC::SetPixel(int x, int y, COLORREF color) {
    Record("SetPixel", {x, y, static_cast<long long>(color)});
    return CPixelDC::SetPixel(x, y, color);
}

bool CRecordingDC::TextOut(int x, int y, const std::string& cp932) {
    Record("TextOut", {x, y}, cp932);
    return CPixelDC::TextOut(x, y, cp932);
}

void CRecordingDC::DrawDragRect(const CRect& rect, CSize size, const CRect* last, CSize sizeLast) {
    std::vector<long long> a{rect.left, rect.top, rect.right, rect.bottom, size.cx, size.cy};
    if (last != nullptr) {
        for (long long v : {last->left, last->top, last->right, last->bottom}) a.push_back(v);
        a.push_back(sizeLast.cx);
        a.push_back(sizeLast.cy);
    }
    Record("DrawDragRect", a);
    CPixelDC::DrawDragRect(rect, size, last, sizeLast);
}

std::vector<std::string> CRecordingDC::Log() const {
    std::vector<std::string> out;
    for (const auto& c : m_calls)
        if (c.IsDrawing()) out.push_back(c.Describe(true));
    return out;
}

std::vector<std::string> CRecordingDC::AllCalls() const {
    std::vector<std::string> out;
    for (const auto& c : m_calls) out.push_back(c.Describe(false));
    return out;
}

int CRecordingDC::Count(const std::string& op) const {
    int n = 0;
    for (const auto& c : m_calls)
        if (c.op == op) ++n;
    return n;
}

}  // namespace wv
