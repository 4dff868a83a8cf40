#include "frame_size.h"

#include "zmn_inf.h"

#include <climits>

namespace wv {

namespace {

struct Paper {
    int shortSide;
    int longSide;
};

constexpr Paper kPapers[] = {
    {841, 1189}, {594, 841}, {420, 594}, {297, 420}, {210, 297}, {148, 210},  // A0-A5
    {728, 1030}, {515, 728}, {364, 515}, {257, 364}, {182, 257},              // B1-B5
};

// Margins are typed freely: the sums are taken wide so no margin can wrap them round.
int Clamp(long long v) {
    if (v < 0) return 0;
    return v > INT_MAX ? INT_MAX : static_cast<int>(v);
}

}  // namespace

bool PaperSides(int paperSize, int& shortSide, int& longSide) {
    if (paperSize < 0 || paperSize >= static_cast<int>(sizeof kPapers / sizeof kPapers[0])) return false;
    shortSide = kPapers[paperSize].shortSide;
    longSide = kPapers[paperSize].longSide;
    return true;
}

void ComputeFrameSize(int paperSize, int orientation, int marginTop, int marginBottom,
                      int marginRight, int marginLeft, int& height, int& width) {
    int shortSide = 0, longSide = 0;
    if (PaperSides(paperSize, shortSide, longSide) && (orientation == 0 || orientation == 1)) {
        const long long vertical = static_cast<long long>(marginTop) + marginBottom + 10;
        const long long horizontal = static_cast<long long>(marginLeft) + marginRight;
        const int across = orientation == 0 ? longSide : shortSide;
        const int down = orientation == 0 ? shortSide : longSide;
        height = Clamp(down - vertical);
        width = Clamp(across - horizontal);
        return;
    }
    if (height < 0) height = 0;
    if (width < 0) width = 0;
}

void ApplyFrameSizeRule(CZmn_Inf& zmn) {
    ComputeFrameSize(zmn.m_nPaperSize, zmn.m_nPaperOrient, zmn.m_nMarginTop, zmn.m_nMarginBottom,
                     zmn.m_nMarginRight, zmn.m_nMarginLeft, zmn.m_nFrameHeight, zmn.m_nFrameWidth);
}

}  // namespace wv
