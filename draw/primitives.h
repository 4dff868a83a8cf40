// The small drawing primitives both views and the figure code share: a line between two
// real points, the screen colour codes, and rotated text with half-size super- and
// subscripts. The character walk of the rotated text is also the printer's.
#pragma once

#include "platform/dc.h"

#include <functional>
#include <string>

namespace wv {

// One character cell of a text walk.
struct TextCell {
    std::size_t offset = 0;   // byte offset of the character in the text
    std::size_t length = 0;   // 1 or 2 bytes
    double fontHeight = 0.0;  // full height, or half after a \U or \D escape
    double x = 0.0;           // top-left corner of the cell, device units
    double y = 0.0;
};

// Walks a CP932 text the way plot texts are drawn: "\U" or "\u" makes the next character
// half height with its top at full height, "\D" or "\d" half height with its top at half
// height; a single-byte character advances half the width and sits d/4 into its cell, a
// double-byte one the full width and d/2 (d = width - height); an escaped character
// advances half the width. (x, y) is the pen position; the pen moves along the angle.
// `ySign` -1 for a device with y down ("up" is towards smaller y), +1 for y up. A byte
// that is neither single nor a lead byte is placed like a lead byte and takes two bytes
// (one at the end of the text). Calls `cell` for every character; returns the number of
// bytes consumed.
std::size_t WalkPlotText(const std::string& text, double x, double y, double height, double width,
                         double angleDeg, int ySign, const std::function<void(const TextCell&)>& cell);

// CP932 lead byte (first byte of a double-byte character).
bool IsCp932LeadByte(unsigned char b);

// MoveTo (x1, y1), LineTo (x2, y2), each truncated to an integer after clipping the
// segment, in double, to the device widened by the guard. Returns LineTo's result, or
// true when nothing remained to draw.
bool DrawLineD(double x1, double y1, double x2, double y2, CDC* pDC);

// Screen colour codes: 1 blue, 2 red, 3 magenta, 4 green, 5 cyan, 6 yellow, 7 white,
// 8 light grey, any other black.
COLORREF ColorFromCode(int code);

// Rotated text in "ＭＳ ゴシック" with the escapes of WalkPlotText. A colour code of 0 or
// more draws in ColorFromCode(code) with "up" towards smaller y; a negative code draws
// black with "up" towards larger y. opaque 1 writes on an opaque black background. The
// font is made for the first character and again whenever the needed height changes;
// everything selected is restored before returning. Returns the bytes consumed.
int DrawRotatedText(double x, double y, double height, double width, const std::string& text,
                    double angle, int colourCode, int opaque, CDC* pDC);

// The face the figure texts are drawn in (UTF-8).
extern const char* const kFigureFontFace;

}  // namespace wv
