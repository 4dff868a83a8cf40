// A drawing context that records every call with the state in force, for tests: the
// figure routines are checked against call sequences written by hand from their rules.
// Given pixels, it also draws them (everything but text), so the same run can be checked
// pixel by pixel.
#pragma once

#include "platform/pixel_dc.h"

#include <string>
#include <vector>

namespace wv {

struct DcCall {
    std::string op;               // the call's name: "LineTo", "SelectPen", "TextOut", ...
    std::vector<long long> args;  // its integer arguments in order
    std::string text;             // TextOut: the CP932 bytes
    DcState state;                // the state in force when the call was made

    bool IsDrawing() const;
    // "LineTo(3,4)"; with the state: "LineTo(3,4) pen=0/1/0x00FFFF xor", see the .cpp.
    std::string Describe(bool withState) const;
};

class CRecordingDC : public CPixelDC {
public:
    explicit CRecordingDC(int width = 1000, int height = 1000) : CPixelDC(width, height) {}
    explicit CRecordingDC(PixelSurface surface) : CPixelDC(surface) {}

    CPen SelectObject(const CPen& pen) override;
    CBrush SelectObject(const CBrush& brush) override;
    CFont SelectObject(const CFont& font) override;
    int SetROP2(int rop) override;
    COLORREF SetTextColor(COLORREF color) override;
    COLORREF SetBkColor(COLORREF color) override;
    int SetBkMode(int mode) override;
    CPoint SetViewportOrg(int x, int y) override;

    CPoint MoveTo(int x, int y) override;
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
    bool TextOut(int x, int y, const std::string& cp932) override;
    void DrawDragRect(const CRect& rect, CSize size, const CRect* last, CSize sizeLast) override;

    const std::vector<DcCall>& Calls() const { return m_calls; }
    void Clear() { m_calls.clear(); }
    // The drawing calls (no selections, no MoveTo) described with their state.
    std::vector<std::string> Log() const;
    // Every call, described without state.
    std::vector<std::string> AllCalls() const;
    // How many calls of this name were made.
    int Count(const std::string& op) const;

private:
    void Record(const char* op, std::vector<long long> args, std::string text = {});

    std::vector<DcCall> m_calls;
};

}  // namespace wv
