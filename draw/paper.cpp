#include "draw/paper.h"

#include <algorithm>
#include <climits>

namespace wv {

namespace {

constexpr PaperSizeMm kPaper[kPaperSizeCount] = {
    {841, 1189}, {594, 841}, {420, 594}, {297, 420}, {210, 297}, {148, 210},  // A0-A5
    {728, 1030}, {515, 728}, {364, 515}, {257, 364}, {182, 257},              // B1-B5
};

// The title band above the frame.
constexpr int kTitleBandMm = 10;

}  // namespace

PaperSizeMm PaperSizeByIndex(int paperSize) {
    if (paperSize < 0 || paperSize >= kPaperSizeCount) return {0, 0};
    return kPaper[paperSize];
}

SheetMm PaperSheet(int paperSize, int orientation) {
    const PaperSizeMm p = PaperSizeByIndex(paperSize);
    return orientation == 0 ? SheetMm{p.longSide, p.shortSide} : SheetMm{p.shortSide, p.longSide};
}

SheetMm FrameFromPaper(int paperSize, int orientation, int marginTop, int marginBottom,
                       int marginLeft, int marginRight) {
    const SheetMm s = PaperSheet(paperSize, orientation);
    // Margins come from a dialog as ints; the sums are formed in 64 bits so that absurd
    // values give 0 (or a bounded size), not an overflow.
    const long long h = static_cast<long long>(s.height) -
                        (static_cast<long long>(marginTop) + marginBottom + kTitleBandMm);
    const long long w = static_cast<long long>(s.width) - (static_cast<long long>(marginLeft) + marginRight);
    return SheetMm{static_cast<int>(std::clamp(w, 0LL, static_cast<long long>(INT_MAX))),
                   static_cast<int>(std::clamp(h, 0LL, static_cast<long long>(INT_MAX)))};
}

}  // namespace wv
